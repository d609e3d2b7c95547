// DBGridZkDrawTest.cpp - the grid's drawing layer: the colour arithmetic of selection and hot
// tracking, shortened texts, the single-line writer's placement, and half-transparent buttons.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

TEST(DBGridZkDraw, LightenAndApproachColours) {
  struct TCase { TColor A, Glass; bool Ungray; int Channel; };
  const TCase Cases[] = {
      {RGB(255, 255, 255), RGB(0, 0, 0), false, 186},
      {RGB(255, 255, 255), RGB(0, 0, 0), true, 202},
      {RGB(0, 0, 0), RGB(0, 0, 0), false, 135},
      {RGB(0, 0, 0), RGB(0, 0, 0), true, 138},
      {RGB(255, 255, 255), RGB(255, 255, 255), true, 255},   // 265.5 clamped
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(LightenColor(C.A, C.Glass, C.Ungray), RGB(C.Channel, C.Channel, C.Channel))
        << C.A << " / " << C.Glass << " ungray " << C.Ungray;
  EXPECT_EQ(LightenColor(RGB(255, 0, 0), RGB(0, 0, 0), false), RGB(186, 135, 135))
      << "each channel on its own";

  EXPECT_EQ(ApproachColor(RGB(10, 20, 30), RGB(200, 100, 0), 0), RGB(10, 20, 30));
  EXPECT_EQ(ApproachColor(RGB(0, 0, 0), RGB(255, 255, 255), 85.33333333333333), RGB(85, 85, 85));
  EXPECT_EQ(ApproachColor(RGB(255, 0, 100), RGB(0, 255, 0), 170.66666666666666),
            RGB(85, 170, 34))
      << "truncated toward zero in both directions";
  EXPECT_EQ(ApproachColor(RGB(0, 255, 0), RGB(147, 84, 255), 85), RGB(49, 198, 85))
      << "a step that lands on a whole value keeps it";
}

TEST(DBGridZkDraw, EllipsisDropsTwoCharactersFirstThenOneMore) {
  TBitmap B;
  B.SetSize(10, 10);
  TCanvas* C = B.Canvas();
  const String Text = u"abcdef";
  EXPECT_EQ(EllipsisText(Text, C, C->TextWidth(Text)), Text);
  EXPECT_EQ(EllipsisText(Text, C, C->TextWidth(u"abcd...")), u"abcd...");
  EXPECT_EQ(EllipsisText(Text, C, C->TextWidth(u"abc...")), u"abc...");
  EXPECT_EQ(EllipsisText(Text, C, 0), u"...") << "nothing fits: the dots alone";
}

// The darkest column inside a row band of a bitmap, left or right.
int InkEdge(TBitmap& B, const TRect& R, bool Rightmost) {
  int Found = -1;
  for (int X = R.Left; X < R.Right; ++X)
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      if (GetRValue(B.PixelRGB(X, Y)) < 128) {
        if (Found < 0 || Rightmost) Found = X;
        break;
      }
  return Found;
}

TEST(DBGridZkDraw, SingleLineWriterPlacesByAlignment) {
  TBitmap B;
  B.SetSize(200, 30);
  TCanvas* C = B.Canvas();
  C->Font()->SetColor(clBlack);
  C->Brush()->SetColor(clWhite);
  const TRect R = Rect(20, 2, 180, 28);
  const int W = C->TextWidth(u"HHHH");
  struct TCase { TAlignment Align; int From, To; };
  const TCase Cases[] = {{taLeftJustify, 20 + 2, 20 + 2 + W},
                         {taRightJustify, 180 - 3 - W, 180 - 3},
                         {taCenter, 100 - W / 2, 100 - W / 2 + W}};
  for (const TCase& Case : Cases) {
    C->FillRect(Rect(0, 0, 200, 30));
    WriteTextToCell(C, R, true, 2, 2, u"HHHH", Case.Align, tlCenter, false, false, 0, 0, false);
    const int L = InkEdge(B, R, false), Rt = InkEdge(B, R, true);
    EXPECT_GE(L, Case.From) << Case.Align;
    EXPECT_LE(Rt, Case.To) << Case.Align;
    EXPECT_LE(L, Case.From + 2) << Case.Align << ": the ink starts where the text is placed";
  }
}

TEST(DBGridZkDraw, TransparentButtonsBlendWithTheCellColour) {
  TDBGridOnForm F(2);
  TDBGridZk* G = F.Grid;
  TBitmap B;
  B.SetSize(60, 30);
  const TRect Cell = Rect(0, 0, 60, 30), Button = Rect(30, 4, 50, 26);
  auto FacePixel = [&](int Transparency) {
    B.Canvas()->Brush()->SetColor(clBlack);
    B.Canvas()->FillRect(Cell);
    G->DrawCellButton(nullptr, B.Canvas(), ebsEllipsisZk, Button, Cell, false, false, false,
                      true, clBlack, nullptr, Transparency);
    return B.PixelRGB(33, 15);
  };
  const TColorRef Opaque = FacePixel(0);
  ASSERT_GT(GetGValue(Opaque), 100) << "the face is light";
  for (const auto& [T, Alpha] : {std::pair{30, 178}, std::pair{80, 51}}) {
    const int Expected = GetGValue(Opaque) * Alpha / 255;
    EXPECT_NEAR(GetGValue(FacePixel(T)), Expected, 2) << T << " % transparent";
  }
  EXPECT_EQ(B.PixelRGB(10, 15), RGB(0, 0, 0)) << "the cell outside the button is kept";
}

}  // namespace

namespace {

// Records 2 and 3 selected, record 2 current: the current cell takes the highlight colour, the
// other selected cells the lightened one; without focus the shadow colour and its lightening.
TEST(DBGridZkDraw, SelectedCellsTakeTheStyleColours) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  auto* Other = new TEdit(F.Form);
  Other->SetParent(F.Form);
  Other->SetBounds(10, 280, 80, 20);
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect, dgAlwaysShowSelection});
  F.Set->SetRecNo(3);
  G->SelectedRows()->SetCurrentRowSelected(true);
  F.Set->SetRecNo(2);
  G->SelectedRows()->SetCurrentRowSelected(true);
  G->SetCol(2);
  auto Pixel = [&](int ACol, int ARow) {
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    const TRect R = G->CellScreenRect(ACol, ARow);
    return B.PixelRGB(Insets.Left + R.Right - 3, Insets.Top + R.Top + 3);
  };
  struct TCase { const char* Name; bool Focused; int Col, Row; TColor Expected; };
  const TCase Cases[] = {
      {"focused, current cell", true, 2, 2, clHighlight},
      {"focused, same row", true, 3, 2, LightenColor(clWindow, clHighlight, true)},
      {"focused, other selected row", true, 2, 3, LightenColor(clWindow, clHighlight, true)},
      {"focused, not selected", true, 2, 4, clWindow},
      {"unfocused, current cell", false, 2, 2, clBtnShadow},
      {"unfocused, other selected row", false, 2, 3, LightenColor(clWindow, clBtnShadow, false)},
  };
  for (const TCase& C : Cases) {
    if (C.Focused) G->SetFocus();
    else Other->SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(G->Focused(), C.Focused) << C.Name;
    EXPECT_EQ(Pixel(C.Col, C.Row), ColorToRGB(C.Expected)) << C.Name;
  }
}

}  // namespace

namespace {

// With themes switched on, raised titles and indicator cells get the shaded face instead of the
// classic edges.
TEST(DBGridZkDraw, ThemedFixedCellsAreShadedFaces) {
  struct TThemes {
    TThemes() { SetThemesActive(true); }
    ~TThemes() { SetThemesActive(false); }
  } Themes;
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->Columns()->Items(1)->Title()->SetCaption(u"Товар|Название");
  G->Columns()->Items(2)->Title()->SetCaption(u"Товар|Цена");
  G->SetUseMultiTitle(true);
  TBitmap B;
  RenderControl(G, B);
  SaveShot(G, "dbgrid-themed.png");
  const TRect Insets = G->NonClientInsets();
  const TRect T = G->CellScreenRect(3, 0);
  const int X = Insets.Left + T.Left + 4;
  const TColorRef Top = B.PixelRGB(X, Insets.Top + T.Top + 1);
  const TColorRef Low = B.PixelRGB(X, Insets.Top + T.Bottom - 3);
  EXPECT_GT(GetGValue(Top), GetGValue(Low)) << "light at the top, the face colour below";
  EXPECT_EQ(Top, B.PixelRGB(X + 20, Insets.Top + T.Top + 1)) << "the face runs across the cell";
}

}  // namespace
