// DBGridZkColumnButtonsTest.cpp - cells with buttons: the column's ButtonStyle gives the
// editor's style and main button, up/down buttons step by Increment, the ellipsis button and
// an edit button's shortcut fire their events, a number cell drops down the calculator (also
// by itself when typing), a press on a painted cell button opens the editor with its list.
#include <gtest/gtest.h>

#include <vector>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

// The ITEMS grid with its editor open on column Index.
struct TButtonGrid {
  TDBGridOnForm F{5};
  TDBGridInplaceEdit* Edit = nullptr;

  TColumnZk* Column(int Index) { return F.Grid->Columns()->Items(Index); }
  void Open(int Index) {
    TDBGridZk* G = F.Grid;
    G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
    G->SetFocus();
    G->MoveCol(Index, 0, false);
    G->ShowCellEditor();
    Application->ProcessMessages();
    Edit = G->DBInplaceEdit();
    ASSERT_TRUE(Edit && Edit->EditorVisible());
  }
  void Key(Word K, TShiftState Shift = {}) { SimulateKeyPress(K, Shift, 0, Edit); }
  void Type(const String& S) {
    for (Char C : S) Edit->Perform(WM_CHAR, C, 0);
  }
  // A click on the upper (or lower) half of an editor button.
  void ClickButton(TControl* B, bool Lower = false) {
    const TPoint P = B->ClientToScreen({B->Width() / 2, Lower ? B->Height() - 2 : 1});
    SimulateMouseDown(mbLeft, P);
    SimulateMouseUp(mbLeft, P);
    Application->ProcessMessages();
  }
};

TEST(DBGridColumnButtons, ButtonStyleGivesTheEditStyleAndTheMainButton) {
  struct Row {
    TColumnButtonStyleZk Style;
    int Column;   // 1 NAME, 2 PRICE
    TEditStyle Edit;
    bool MainShown;
    TEditButtonStyleZk Button;
  } Rows[] = {
      {cbsAuto, 1, esSimple, false, ebsDropDownZk},
      {cbsEllipsis, 1, esEllipsis, true, ebsEllipsisZk},
      {cbsNone, 2, esSimple, false, ebsDropDownZk},
      {cbsUpDown, 2, esUpDown, true, ebsUpDownZk},
      {cbsDropDown, 2, esDropDown, true, ebsDropDownZk},
      {cbsAltUpDown, 2, esAltUpDown, true, ebsAltUpDownZk},
      {cbsAltDropDown, 2, esAltDropDown, true, ebsAltDropDownZk},
  };
  for (const Row& R : Rows) {
    TButtonGrid T;
    T.Column(R.Column)->SetButtonStyle(R.Style);
    T.Open(R.Column);
    SCOPED_TRACE(int(R.Style));
    EXPECT_EQ(ColumnEditStyle(T.Column(R.Column)), R.Edit);
    EXPECT_EQ(T.Edit->EditStyle(), R.Edit);
    ASSERT_NE(T.Edit->MainButton(), nullptr);
    EXPECT_EQ(T.Edit->MainButton()->Visible(), R.MainShown);
    if (R.MainShown) {
      EXPECT_EQ(T.Edit->MainButton()->Style(), R.Button);
      EXPECT_EQ(T.Edit->MainButton()->Left() + T.Edit->MainButton()->Width(),
                T.Edit->ClientWidth());
      EXPECT_LE(T.Edit->EditTextRect().Right, T.Edit->MainButton()->Left())
          << "the text stays left of the buttons";
    }
    EXPECT_EQ(T.Column(R.Column)->EditButtonsWidth(), R.MainShown ? T.Edit->ButtonsWidth() : 0);
  }
}

TEST(DBGridColumnButtons, UpDownButtonStepsByIncrementAndAltDropDownOfADateIsTheCalendar) {
  TButtonGrid T;
  TColumnZk* Qty = T.Column(3);
  Qty->SetButtonStyle(cbsUpDown);
  Qty->SetIncrement(5);
  T.Open(3);
  ASSERT_EQ(T.F.Set->FieldByName(u"QTY")->AsInteger(), 2);
  T.ClickButton(T.Edit->MainButton());
  EXPECT_EQ(T.F.Set->FieldByName(u"QTY")->AsInteger(), 7);
  EXPECT_EQ(T.Edit->Text(), u"7");
  T.ClickButton(T.Edit->MainButton(), true);
  T.ClickButton(T.Edit->MainButton(), true);
  EXPECT_EQ(T.F.Set->FieldByName(u"QTY")->AsInteger(), -3);
  T.F.Set->Post();
  EXPECT_EQ(T.F.Set->FieldByName(u"QTY")->AsInteger(), -3);
}

TEST(DBGridColumnButtons, EllipsisAndEditButtonsFireTheirEventsByClickAndByKey) {
  TButtonGrid T;
  TColumnZk* Name = T.Column(1);
  Name->SetButtonStyle(cbsEllipsis);
  TEditButtonZk* Extra = Name->EditButtons()->Add();
  Extra->SetStyle(ebsPlusZk);
  Extra->SetShortCut(TShortCut(scCtrl) | TShortCut(u'P'));
  int GridClicks = 0, ColumnClicks = 0, ExtraClicks = 0;
  T.F.Grid->SetOnEditButtonClick([&](TObject*) { ++GridClicks; });
  Name->SetOnEditButtonClick([&](TObject*, bool&) { ++ColumnClicks; });
  Extra->SetOnClick([&](TObject*, bool& Handled) {
    ++ExtraClicks;
    Handled = true;
  });
  T.Open(1);
  ASSERT_EQ(T.Edit->EditButtonControls().size(), 2u);
  TEditButtonControlZk* Plus = T.Edit->EditButtonControls()[1].EditButtonControl;
  EXPECT_TRUE(Plus->Visible());
  EXPECT_GT(Plus->Left(), T.Edit->MainButton()->Left()) << "edit buttons follow the main one";
  EXPECT_EQ(Plus->Left() + Plus->Width(), T.Edit->ClientWidth());
  T.ClickButton(T.Edit->MainButton());
  EXPECT_EQ(GridClicks, 1);
  EXPECT_EQ(ColumnClicks, 1);
  T.Key(VK_RETURN, {ssCtrl});
  EXPECT_EQ(GridClicks, 2);
  T.ClickButton(Plus);
  T.Key(u'P', {ssCtrl});
  EXPECT_EQ(ExtraClicks, 2);
  EXPECT_EQ(GridClicks, 2) << "an edit button is not the grid's button";
  Extra->SetVisible(false);
  EXPECT_EQ(Name->EditButtonsWidth(), T.Edit->MainButton()->Width());
}

TEST(DBGridColumnButtons, NumberCellCalculatorTakesTheResultAndEscKeepsTheText) {
  TButtonGrid T;
  TColumnZk* Price = T.Column(2);
  Price->SetButtonStyle(cbsDropDown);
  T.Open(2);
  ASSERT_TRUE(T.Edit->IsCalculatorStyle());
  T.Key(VK_DOWN, {ssAlt});
  ASSERT_TRUE(T.Edit->ListVisible());
  ASSERT_NE(T.Edit->Calculator(), nullptr);
  EXPECT_TRUE(IsWindowVisible(T.Edit->Calculator()));
  EXPECT_EQ(T.Edit->MainButton()->AlwaysDown(), true);
  T.Type(u"C6*7=");
  T.Key(VK_RETURN);
  EXPECT_FALSE(T.Edit->ListVisible());
  EXPECT_EQ(T.Edit->Text(), u"42");
  T.F.Set->CheckBrowseMode();
  EXPECT_DOUBLE_EQ(T.F.Set->FieldByName(u"PRICE")->AsFloat(), 42.0);
  // Esc closes it without taking its value.
  T.F.Grid->ShowCellEditor();
  T.Key(VK_DOWN, {ssAlt});
  T.Type(u"9");
  T.Key(VK_ESCAPE);
  EXPECT_FALSE(T.Edit->ListVisible());
  EXPECT_EQ(T.Edit->Text(), u"42");
}

TEST(DBGridColumnButtons, AutoDropDownOpensTheCalculatorWithTheFirstTypedCharacter) {
  TButtonGrid T;
  TColumnZk* Price = T.Column(2);
  Price->SetButtonStyle(cbsDropDown);
  T.F.Grid->ColumnDefValues()->SetAutoDropDown(true);
  EXPECT_TRUE(Price->AutoDropDown()) << "the grid's default until the column sets its own";
  T.Open(2);
  T.Type(u"5");
  ASSERT_TRUE(T.Edit->ListVisible());
  EXPECT_EQ(T.Edit->Calculator()->DisplayText(), u"5") << "the character went to the calculator";
  Price->SetAutoDropDown(false);
  T.Key(VK_ESCAPE);
  T.Type(u"5");
  EXPECT_FALSE(T.Edit->ListVisible());
}

TEST(DBGridColumnButtons, CellsPaintTheirButtonsAndAPressOnOneOpensTheEditorsList) {
  TButtonGrid T;
  TDBGridZk* G = T.F.Grid;
  TColumnZk* Price = T.Column(2);
  Price->SetButtonStyle(cbsDropDown);
  Price->SetAlwaysShowEditButton(true);
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->Invalidate();
  Application->ProcessMessages();
  // A row that is not current shows the button see-through, different from the plain column.
  const TRect Cell = G->CellRect(3, 3);
  const int W = Price->EditButtonsWidth();
  ASSERT_GT(W, 0);
  TBitmap Shot(G->Width(), G->Height());
  G->PaintTo(Shot.Canvas(), 0, 0);
  int Marked = 0;
  for (int X = Cell.Right - W; X < Cell.Right; ++X)
    for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
      if (Shot.Canvas()->Pixels(X, Y) != Shot.Canvas()->Pixels(Cell.Right - W - 3, Cell.Top + 1))
        ++Marked;
  EXPECT_GT(Marked, 4) << "the button's arrow shows in the cell";
  G->SetEditButtonsShowOptions({sebShowOnlyForCurRowZk});
  EXPECT_FALSE(G->EditButtonsVisibleInCell(Price, false));
  EXPECT_TRUE(G->EditButtonsVisibleInCell(Price, true));
  EXPECT_EQ(G->EditButtonAtPos(Price, Cell, {Cell.Right - 2, Cell.Top + 2}), 0);
  EXPECT_EQ(G->EditButtonAtPos(Price, Cell, {Cell.Right - W - 2, Cell.Top + 2}), -1);
  // A press on the button of another row's cell moves there, opens the editor and its list.
  G->SetFocus();
  const TPoint P = G->ClientToScreen({Cell.Right - W / 2, Cell.Top + 3});
  SimulateMouseDown(mbLeft, P);
  SimulateMouseUp(mbLeft, P);
  Application->ProcessMessages();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(G->SelectedIndex(), 2);
  EXPECT_TRUE(Edit->ListVisible()) << "the press reached the editor's button";
  EXPECT_EQ(T.F.Set->FieldByName(u"ID")->AsInteger(), 3);
}

TEST(DBGridColumnButtons, DoubleClickStepsACheckBoxOnlyWithDblClickNextVal) {
  TButtonGrid T;
  TDBGridZk* G = T.F.Grid;
  TColumnZk* Flag = T.Column(4);
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  G->MoveCol(4, 0, false);
  const bool Before = T.F.Set->FieldByName(u"FLAG")->AsBoolean();
  const TRect Cell = G->CellRect(5, 1);
  const TPoint P = G->ClientToScreen({(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2});
  auto DoubleClick = [&] {
    G->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2));
    SimulateMouseUp(mbLeft, P);
    Application->ProcessMessages();
  };
  DoubleClick();
  EXPECT_EQ(T.F.Set->FieldByName(u"FLAG")->AsBoolean(), Before);
  Flag->SetDblClickNextVal(true);
  DoubleClick();
  EXPECT_EQ(T.F.Set->FieldByName(u"FLAG")->AsBoolean(), !Before);
}

}  // namespace

// With hot tracking the edit button under the mouse is drawn hot: the main button is 0, added
// buttons follow, the cell's text is no button.
TEST(DBGridColumnButtons, TheButtonUnderTheMouseIsHot) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetFlat(true);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghHotTrack});
  TColumnZk* Price = G->Columns()->Items(2);
  Price->SetButtonStyle(cbsDropDown);
  Price->SetAlwaysShowEditButton(true);
  Price->EditButtons()->Add()->SetVisible(true);
  const TRect Cell = G->CellRect(3, 3);
  const int W = Price->EditButtonsWidth();
  const int Main = Cell.Right - W + 3, Added = Cell.Right - 3, Text = Cell.Left + 5;
  const int Y = Cell.Top + 3;
  auto ButtonPixels = [&] {
    TBitmap Shot(G->Width(), G->Height());
    G->PaintTo(Shot.Canvas(), 0, 0);
    std::vector<TColor> P;
    for (int X = Cell.Right - W; X < Cell.Right; ++X)
      for (int Y2 = Cell.Top; Y2 < Cell.Bottom; ++Y2) P.push_back(Shot.Canvas()->Pixels(X, Y2));
    return P;
  };
  SimulateMouseMove(G->ClientToScreen({Text, Y}));
  EXPECT_EQ(G->HotTrackEditButton(), -1);
  const std::vector<TColor> Cold = ButtonPixels();
  struct {
    int X, Button;
  } const Cases[] = {{Main, 0}, {Added, 1}, {Text, -1}};
  for (const auto& C : Cases) {
    SimulateMouseMove(G->ClientToScreen({Text + 1, Y}));
    SimulateMouseMove(G->ClientToScreen({C.X, Y}));
    EXPECT_EQ(G->HotTrackEditButton(), C.Button) << C.X;
    EXPECT_EQ(ButtonPixels() != Cold, C.Button >= 0) << C.X;
  }
}
