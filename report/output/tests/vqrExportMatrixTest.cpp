// vqrExportMatrixTest.cpp - the export matrix over small hand-made pages.
#include "report/output/vqrExportMatrix.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrUnicodeUtils.h"

namespace {

struct TBox {
  Extended L, T, W, H;
};

TvqrMemoView* Memo(std::vector<std::unique_ptr<TvqrView>>& Keep, TBox B, const char16_t* Text = u"") {
  auto* M = new TvqrMemoView(nullptr);
  M->SetBounds(B.L, B.T, B.W, B.H);
  M->SetText(Text);
  Keep.emplace_back(M);
  return M;
}

std::vector<Extended> Positions(const TvqrIEMatrix& M, bool Rows) {
  std::vector<Extended> Out;
  for (int I = 0; I < (Rows ? M.Height() : M.Width()); ++I)
    Out.push_back(Rows ? M.GetCellYPos(I) : M.GetCellXPos(I));
  return Out;
}

struct TPlacement {
  int x, y, dx, dy;
  friend bool operator==(const TPlacement&, const TPlacement&) = default;
};

// The lines of an object's text joined by "|".
String TextOf(const TvqrIEMObject* O) {
  String Out;
  for (int I = 0; I < O->Memo->Count(); ++I) Out += (I ? u"|" : u"") + O->Memo->Strings(I);
  return Out;
}

TPlacement PosOf(const TvqrIEMatrix& M, int I) {
  TPlacement P{};
  M.GetObjectPos(I, P.x, P.y, P.dx, P.dy);
  return P;
}

}  // namespace

TEST(VqrExportMatrix, ColumnAndRowPositions) {
  struct {
    const char* Name;
    Extended Inaccuracy, MaxCellHeight;
    std::vector<TBox> Boxes;
    std::vector<Extended> X, Y;
    TPlacement First;
  } const Cases[] = {
      {"side by side", 0, 0, {{0, 0, 100, 10}, {100, 0, 100, 10}}, {0, 100, 200}, {0, 10}, {0, 0, 1, 1}},
      {"0.3 apart merge to the higher", 0.5, 0, {{10, 0, 50, 10}, {10.3L, 20, 50, 10}},
       {10.3L, 60.3L}, {0, 10, 20, 30}, {0, 0, 1, 1}},
      {"0.5 apart stay", 0.5, 0, {{10, 0, 50, 10}, {10.5L, 20, 50, 10}},
       {10, 10.5L, 60, 60.5L}, {0, 10, 20, 30}, {0, 0, 2, 1}},
      {"tall row split", 0, 30, {{0, 0, 10, 100}}, {0, 10}, {0, 30, 60, 90, 100}, {0, 0, 1, 4}},
  };
  for (const auto& C : Cases) {
    std::vector<std::unique_ptr<TvqrView>> Keep;
    TvqrIEMatrix M;
    M.ShowProgress = false;
    M.Inaccuracy = C.Inaccuracy;
    M.MaxCellHeight = C.MaxCellHeight;
    for (const TBox& B : C.Boxes) M.AddObject(Memo(Keep, B, u"x"));
    M.AddPage(poPortrait, 794, 1123, 10, 10, 10, 10, false, 0);
    M.Prepare();
    EXPECT_EQ(Positions(M, false), C.X) << C.Name;
    EXPECT_EQ(Positions(M, true), C.Y) << C.Name;
    EXPECT_EQ(PosOf(M, 0), C.First) << C.Name;
  }
}

TEST(VqrExportMatrix, LinesAndRectanglesBecomeFramedCells) {
  std::vector<std::unique_ptr<TvqrView>> Keep;
  TvqrIEMatrix M;
  M.ShowProgress = false;
  TvqrLineView Line(nullptr);
  Line.SetBounds(0, 50, 100, 0);
  M.AddObject(&Line);
  ASSERT_EQ(M.GetObjectsCount(), 1);
  TvqrIEMObject* L = M.GetObjectById(0);
  EXPECT_TRUE(L->IsText);
  EXPECT_EQ(L->Height, 1);
  EXPECT_EQ(L->Style->FrameTyp, TvqrFrameTypes{ftTop});
  EXPECT_EQ(L->Style->Font->Name(), u"Arial");
  EXPECT_EQ(L->Style->Font->Size(), 1);

  TvqrShapeView Empty(nullptr);
  Empty.SetBounds(0, 100, 80, 40);
  M.AddObject(&Empty);
  ASSERT_EQ(M.GetObjectsCount(), 5);
  const TvqrFrameTypes Edges[] = {{ftTop}, {ftLeft}, {ftTop}, {ftLeft}};
  for (int I = 0; I < 4; ++I) EXPECT_EQ(M.GetObjectById(1 + I)->Style->FrameTyp, Edges[I]);
  EXPECT_EQ(M.GetObjectById(4)->Left, 80);  // the right edge

  TvqrShapeView Filled(nullptr);
  Filled.SetBounds(0, 200, 80, 40);
  Filled.SetColor(clYellow);
  M.AddObject(&Filled);
  ASSERT_EQ(M.GetObjectsCount(), 6);
  TvqrIEMObject* R = M.GetObjectById(5);
  EXPECT_EQ(R->Style->Color, clYellow);
  EXPECT_EQ(R->Style->FrameTyp, (TvqrFrameTypes{ftLeft, ftRight, ftTop, ftBottom}));
  EXPECT_EQ(R->Width, 80);
}

TEST(VqrExportMatrix, DropShadowAddsTwoStrips) {
  std::vector<std::unique_ptr<TvqrView>> Keep;
  TvqrMemoView* T = Memo(Keep, {0, 0, 100, 50}, u"Тень");
  T->Frame()->SetDropShadow(true);
  T->Frame()->SetShadowColor(clGray);
  TvqrIEMatrix M;
  M.AddObject(T);
  ASSERT_EQ(M.GetObjectsCount(), 3);
  EXPECT_EQ(M.GetObjectById(0)->Width, 96);
  EXPECT_EQ(TextOf(M.GetObjectById(0)), u"Тень");
  EXPECT_TRUE(T->Frame()->DropShadow());
  EXPECT_EQ(T->Width(), 100);
  const TBox Strips[] = {{96, 4, 4, 46}, {4, 46, 96, 4}};
  for (int I = 0; I < 2; ++I) {
    TvqrIEMObject* S = M.GetObjectById(1 + I);
    EXPECT_EQ(S->Name, u"Shadow");
    EXPECT_EQ(S->Style->Color, clGray);
    EXPECT_EQ(S->Left, Strips[I].L);
    EXPECT_EQ(S->Top, Strips[I].T);
    EXPECT_EQ(S->Width, Strips[I].W);
    EXPECT_EQ(S->Height, Strips[I].H);
  }
}

TEST(VqrExportMatrix, OverlapCutsPiecesAndTheTextGoesToTheFirst) {
  std::vector<std::unique_ptr<TvqrView>> Keep;
  TvqrMemoView* Big = Memo(Keep, {0, 0, 300, 300}, u"A");
  Big->Frame()->SetTyp({ftLeft, ftRight, ftTop, ftBottom});
  Memo(Keep, {100, 100, 100, 100}, u"B");
  TvqrIEMatrix M;
  M.ShowProgress = false;
  for (auto& V : Keep) M.AddObject(V.get());
  M.AddPage(poPortrait, 794, 1123, 0, 0, 0, 0, false, 0);
  M.Prepare();
  EXPECT_EQ(TextOf(M.GetObject(1, 1)), u"B");
  EXPECT_EQ(PosOf(M, 1), (TPlacement{1, 1, 1, 1}));
  // Row-major pieces of the big object: the top row, then the left, right and bottom parts.
  ASSERT_EQ(M.GetObjectsCount(), 6);
  const struct {
    TPlacement At;
    const char16_t* Text;
    TvqrFrameTypes Frames;
  } Pieces[] = {{{0, 0, 3, 1}, u"A", {ftLeft, ftRight, ftTop}},
                {{0, 1, 1, 2}, u"", {ftLeft, ftBottom}},
                {{2, 1, 1, 2}, u"", {ftRight, ftBottom}},
                {{1, 2, 1, 1}, u"", {ftBottom}}};
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(PosOf(M, 2 + I), Pieces[I].At) << I;
    TvqrIEMObject* P = M.GetObjectById(2 + I);
    EXPECT_EQ(TextOf(P), Pieces[I].Text) << I;
    EXPECT_EQ(P->Style->FrameTyp, Pieces[I].Frames) << I;
    EXPECT_EQ(P->Parent, M.GetObjectById(0));
  }
  EXPECT_EQ(TextOf(M.GetObjectById(0)), u"");
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_NE(M.GetCell(x, y), 0);
}

TEST(VqrExportMatrix, TransparentTextTakesTheFillBelow) {
  struct {
    TColor FontColor;
    TColor Expected;
  } const Cases[] = {{clBlack, clRed}, {clRed, clNone}};
  for (const auto& C : Cases) {
    std::vector<std::unique_ptr<TvqrView>> Keep;
    Memo(Keep, {0, 0, 100, 100})->SetColor(clRed);
    TvqrMemoView* Top = Memo(Keep, {0, 0, 100, 100}, u"T");
    Top->Font()->SetColor(C.FontColor);
    TvqrIEMatrix M;
    M.ShowProgress = false;
    for (auto& V : Keep) M.AddObject(V.get());
    M.Prepare();
    EXPECT_EQ(M.GetStyle(0, 0)->Color, C.Expected);
    EXPECT_EQ(TextOf(M.GetObject(0, 0)), u"T");
  }
}

TEST(VqrExportMatrix, StylesAreSharedUnlessTheyDiffer) {
  struct {
    const char* Name;
    const char16_t* Thousands;
    const char16_t* Decimal;
    int Styles;
  } const Cases[] = {{"thousands separator alone", u".", u",", 1},
                     {"decimal separator", u" ", u".", 2}};
  for (const auto& C : Cases) {
    std::vector<std::unique_ptr<TvqrView>> Keep;
    for (int I = 0; I < 2; ++I) {
      TvqrMemoView* V = Memo(Keep, {0, I * 20.0L, 50, 20}, u"1");
      V->DisplayFormat()->SetKind(fkNumeric);
      V->DisplayFormat()->SetFormatStr(u"%2.2n");
      V->DisplayFormat()->SetThousandSeparator(I ? C.Thousands : u" ");
      V->DisplayFormat()->SetDecimalSeparator(I ? C.Decimal : u",");
    }
    TvqrIEMatrix M;
    for (auto& V : Keep) M.AddObject(V.get());
    EXPECT_EQ(M.GetStylesCount(), C.Styles) << C.Name;
  }
}

TEST(VqrExportMatrix, PicturesAreDrawnAtTheirSize) {
  TvqrPictureView P(nullptr);
  P.SetBounds(10, 20, 50, 30);
  TBitmap Red(50, 30);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(TRect{0, 0, 50, 30});
  P.Picture()->SetGraphic(&Red);
  for (bool Emf : {false, true}) {
    TvqrIEMatrix M;
    M.EMFPictures = Emf;
    M.AddObject(&P);
    TvqrIEMObject* O = M.GetObjectById(0);
    EXPECT_FALSE(O->IsText);
    EXPECT_EQ(O->Left, 10);
    EXPECT_EQ(O->Width, 50);
    if (Emf) {
      EXPECT_EQ(O->Metafile->Width(), 50);
      EXPECT_FALSE(O->Metafile->Empty());
      EXPECT_EQ(O->Image, nullptr);
    } else {
      ASSERT_NE(O->Image, nullptr);
      EXPECT_EQ(O->Image->Width(), 51);
      EXPECT_EQ(O->Image->Height(), 31);
      EXPECT_EQ(O->Image->PixelRGB(25, 15), ColorToRGB(clRed));
    }
  }
  TvqrIEMatrix NoImages;
  NoImages.Images = false;
  NoImages.AddObject(&P);
  EXPECT_TRUE(NoImages.GetObjectById(0)->IsText);
  EXPECT_EQ(NoImages.GetObjectById(0)->Image, nullptr);
}

TEST(VqrExportMatrix, ContinuousRemovesEmptyRowsAndKeepsBreaksOnTheirRows) {
  std::vector<std::unique_ptr<TvqrView>> Keep;
  TvqrIEMatrix M;
  M.ShowProgress = false;
  M.EmptyLines = false;
  M.AddObject(Memo(Keep, {0, 0, 100, 20}, u"1"));
  M.AddObject(Memo(Keep, {0, 60, 100, 20}, u"2"));
  M.AddPage(poPortrait, 794, 1123, 10, 10, 10, 10, false, 0);
  M.AddObject(Memo(Keep, {0, 0, 100, 20}, u"3"));
  M.AddPage(poPortrait, 794, 1123, 10, 10, 10, 10, false, 1);
  M.Prepare();
  EXPECT_EQ(Positions(M, true), (std::vector<Extended>{0, 20, 40, 60}));
  EXPECT_EQ(TextOf(M.GetObject(0, 2)), u"3");
  // The first page ends where the third object's row begins.
  EXPECT_EQ(M.GetPageBreak(0), M.GetCellYPos(2));
  EXPECT_EQ(M.GetPageBreak(1), 60);
  EXPECT_EQ(M.GetPageBreak(2), 0);
  EXPECT_EQ(M.GetCell(0, 3), -1);
  EXPECT_EQ(M.GetCell(-1, 0), -1);
  M.DeleteMatrixLine(9);
  EXPECT_EQ(M.Height(), 4);
}

TEST(VqrExportMatrix, MirroredMarginsSwapOnTheSecondPage) {
  TvqrIEMatrix M;
  for (int I = 0; I < 2; ++I) M.AddPage(poLandscape, 1123, 794, 25, 10, 5, 12, true, I);
  EXPECT_EQ(M.GetPageLMargin(0), 25);
  EXPECT_FALSE(M.GetPageMirrorMargin(0));
  EXPECT_EQ(M.GetPageLMargin(1), 5);
  EXPECT_EQ(M.GetPageRMargin(1), 25);
  EXPECT_TRUE(M.GetPageMirrorMargin(1));
  EXPECT_EQ(M.GetPageOrientation(1), poLandscape);
  EXPECT_EQ(M.GetPageOrientation(5), poPortrait);
}

TEST(VqrExportMatrix, FontCharsetIsTheFontsOwn) {
  TvqrIEMatrix M;
  TFont F;
  F.SetName(u"Arial");
  EXPECT_EQ(M.GetFontCharset(&F), 204);  // the Cyrillic code page is covered
}
