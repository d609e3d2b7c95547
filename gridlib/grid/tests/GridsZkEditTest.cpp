// GridsZkEditTest.cpp - the cell editor: Enter's selection toggle, Right at the text's end,
// refused characters, the double click from the grid's press, Shift+Insert when changes are
// refused, and the text going back to the grid.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/controls/Clipboard.h"

namespace {

class TReadOnlyGrid : public TTestGrid {
public:
  using TTestGrid::TTestGrid;
  int EditorTextLimit() override { return -1; }
};

template <class TGrid = TTestGrid>
struct TEditFixture {
  TForm* Form;
  TGrid* Grid;
  explicit TEditFixture(TGridOptions Extra) {
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(50, 50, 400, 200);
    Grid = new TGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 320, 120);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing} + Extra);
    Form->Show();
    Grid->SetFocus();
  }
  ~TEditFixture() { delete Form; }
  TInplaceEdit* OpenEditor() {
    Grid->SetEditorMode(true);
    return Grid->InplaceEditor();
  }
  TPoint At(int X, int Y) const { return Grid->ClientToScreen({X, Y}); }
};

int SelStart(TInplaceEdit* E) { return E->SelStart(); }
int SelLength(TInplaceEdit* E) { return E->SelLength(); }

TEST(GridEditor, EnterTogglesBetweenAllSelectedAndTheCaretAtTheEnd) {
  // Without the editor always shown, Enter belongs to the grid: it closes the editor.
  TEditFixture<> F({goAlwaysShowEditor});
  TInplaceEdit* E = F.OpenEditor();
  ASSERT_NE(E, nullptr);
  ASSERT_TRUE(E->Visible());
  E->SelectAll();
  ASSERT_EQ(SelLength(E), 3);
  SimulateKeyPress(VK_RETURN, {}, u'\r', E);
  EXPECT_EQ(SelLength(E), 0);
  EXPECT_EQ(SelStart(E), 3);
  SimulateKeyPress(VK_RETURN, {}, u'\r', E);
  EXPECT_EQ(SelStart(E), 0);
  EXPECT_EQ(SelLength(E), 3);
}

TEST(GridEditor, RightAtTheEndMovesOnOnlyWithTheEditorAlwaysShown) {
  for (bool Always : {true, false}) {
    SCOPED_TRACE(Always);
    TEditFixture<> F(Always ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
    TInplaceEdit* E = F.OpenEditor();
    ASSERT_NE(E, nullptr);
    E->SetFocus();
    E->SetSelStart(3);
    SimulateKeyPress(VK_RIGHT, {}, 0, E);
    EXPECT_EQ(F.Grid->Col(), Always ? 2 : 1);
  }
}

TEST(GridEditor, RefusedCharacterBeepsAndIsNotInserted) {
  TEditFixture<> F({});
  F.Grid->RefuseChars = true;
  TInplaceEdit* E = F.OpenEditor();
  E->SetFocus();
  E->SetSelStart(3);
  const int Beeps = MessageBeepCount();
  SimulateTyping(u"x", E);
  EXPECT_EQ(E->Text(), u"abc");
  EXPECT_EQ(MessageBeepCount(), Beeps + 1);
  SimulateTyping(u"y", E);
  EXPECT_EQ(E->Text(), u"abcy");
  ASSERT_FALSE(F.Grid->Taken.empty());
  EXPECT_EQ(F.Grid->Taken.back(), u"abcy") << "every change goes to the grid";
}

TEST(GridEditor, SecondQuickClickInTheEditorIsADoubleClick) {
  UseTestClock(true);
  {
    TEditFixture<> F({});
    int DoubleClicks = 0;
    F.Grid->SetOnDblClick([&](TObject*) { ++DoubleClicks; });
    // A press on the current cell opens the editor; the next press lands in the editor.
    SimulateMouseDown(mbLeft, F.At(100, 35));
    SimulateMouseUp(mbLeft, F.At(100, 35));
    ASSERT_NE(F.Grid->InplaceEditor(), nullptr);
    ASSERT_TRUE(F.Grid->InplaceEditor()->Visible());
    AdvanceTestClock(700);   // past the system's own double-click time
    SimulateMouseDown(mbLeft, F.At(100, 35));
    SimulateMouseUp(mbLeft, F.At(100, 35));
    EXPECT_EQ(DoubleClicks, 0);
    F.Grid->InplaceEditor()->SetClickTime(GetMessageTime());
    AdvanceTestClock(100);
    SimulateMouseDown(mbLeft, F.At(120, 35));
    SimulateMouseUp(mbLeft, F.At(120, 35));
    EXPECT_EQ(DoubleClicks, 1);
  }
  UseTestClock(false);
}

TEST(GridEditor, ShiftInsertDoesNothingWhenTheGridRefusesChanges) {
  TEditFixture<TReadOnlyGrid> F({});
  TInplaceEdit* E = F.OpenEditor();
  ASSERT_NE(E, nullptr);
  SetClipboardForTests(true);
  Clipboard()->SetAsText(u"zzz");
  E->SetFocus();
  SimulateKeyPress(VK_INSERT, {ssShift}, 0, E);
  E->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), u"abc");
  SetClipboardForTests(false);
}

}  // namespace
