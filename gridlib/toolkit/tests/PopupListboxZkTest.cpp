// PopupListboxZkTest.cpp - the popup list box: rows, the grip message, type-ahead and hot
// tracking.
#include <gtest/gtest.h>

#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"

namespace {

// An item drawn without its focus rectangle.
class TNoFocusItem : public TPopupListboxItemZk {
public:
  bool CanShowFocus(TPopupListboxZk*, int) override { return false; }
};

// Pixels of the left column of item Index that are not the highlight colour (the focus
// rectangle's dots over a selected item).
int FocusDotsAt(TPopupListboxZk* List, int Index) {
  TBitmap Shot;
  RenderControl(List, Shot);
  const TRect R = List->ItemRect(Index);
  const int Frame = List->BorderWidth();
  int Dots = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    if (Shot.PixelRGB(Frame + R.Left, Frame + Y) != ColorToRGB(clHighlight)) ++Dots;
  return Dots;
}

// An item that stays open on release and records what reached it.
class TStickyItem : public TPopupListboxItemZk {
public:
  bool CloseOnExecute(TPopupListboxZk*, int) override { return false; }
  void MouseDown(TPopupListboxZk*, int ItemIndex, TPoint, TMouseButton, TShiftState) override {
    Pressed = ItemIndex;
  }
  void KeyPress(TPopupListboxZk*, int, bool&, TShiftState, Char& Key) override {
    if (Key == u'!') Key = 0;
  }
  int Pressed = -1;
};

class PopupListbox : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    List = new TPopupListboxZk(Application);
    for (const char16_t* S : {u"Apple", u"abacus", u"Abbey", u"banana", u"Berry"})
      List->Items()->Add(S);
    List->SetBounds(0, 0, 150, 100);
    List->HandleNeeded();
  }
  void TearDown() override {
    List->Link().Close();
    delete List;
    UseTestClock(false);
  }
  TPopupListboxZk* List = nullptr;
};

TEST_F(PopupListbox, HeightSnapsToWholeRows) {
  const int Border = List->Height() - List->ClientHeight();
  EXPECT_EQ(List->ClientHeight() % List->ItemHeight(), 0);
  List->SetSizeGripResized(false);
  List->SetRowCount(0);
  EXPECT_EQ(List->RowCount(), 1);
  EXPECT_EQ(List->Height(), Border + List->ItemHeight());
  EXPECT_TRUE(List->SizeGripResized());
  List->SetBounds(0, 0, 150, Border + 3 * List->ItemHeight() + 5);
  EXPECT_EQ(List->RowCount(), 3);
  EXPECT_EQ(List->ClientHeight(), 3 * List->ItemHeight());
  EXPECT_FALSE(List->CanFocus());
}

TEST_F(PopupListbox, GripMessageMovesTheGripAndItFollowsTheSize) {
  List->Perform(WM_SIZEGRIPCHANGEPOSITION, sgcpToTop, 0);
  EXPECT_EQ(List->SizeGrip()->Position(), sgpTopRight);
  List->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(List->SizeGrip()->Left(), List->ClientWidth() - List->SizeGrip()->Width());
  EXPECT_EQ(List->SizeGrip()->Top(), 0);
}

TEST_F(PopupListbox, TypeAheadSearchesThePrefixTypedWithinTwoSeconds) {
  SimulateTyping(u"ab", List);
  EXPECT_EQ(List->ItemIndex(), 1);   // "abacus", ignoring case
  SimulateTyping(u"b", List);
  EXPECT_EQ(List->ItemIndex(), 2);   // "Abbey"
  AdvanceTestClock(2001);
  SimulateTyping(u"b", List);
  EXPECT_EQ(List->SearchText(), u"b");
  EXPECT_EQ(List->ItemIndex(), 3);
  SimulateKeyPress(VK_BACK, {}, 8, List);
  EXPECT_EQ(List->SearchText(), u"");
  SimulateTyping(String(40, u'x'), List);
  EXPECT_EQ(List->SearchText().size(), 32u);   // further characters are dropped
}

TEST_F(PopupListbox, MouseMoveSelectsTheItemUnderIt) {
  List->Link().Open({100, 100});
  const TRect R = List->ItemRect(3);
  SimulateMouseMove(List->ClientToScreen({R.Left + 5, R.Top + 2}));
  EXPECT_EQ(List->ItemIndex(), 3);
  SimulateMouseMove(List->ClientToScreen({R.Left + 5, R.Top - 2}));
  EXPECT_EQ(List->ItemIndex(), 2);
}

TEST_F(PopupListbox, WheelScrollsOneRowPerStep) {
  List->SetRowCount(2);
  List->Link().Open({100, 100});
  const TPoint P = List->ClientToScreen({5, 5});
  SimulateMouseWheel(-2 * WHEEL_DELTA, P);
  EXPECT_EQ(List->TopIndex(), 2);
  SimulateMouseWheel(WHEEL_DELTA, P);
  EXPECT_EQ(List->TopIndex(), 1);
}

TEST_F(PopupListbox, ItemObjectsTakeTheMouseAndKeysFirst) {
  TStickyItem Sticky;
  List->Items()->SetObjects(1, &Sticky);
  List->Items()->SetObjects(2, DefaultPopupListboxItem());
  List->Link().Open({100, 100});
  SimulateClick(List, {5, List->ItemRect(1).Top + 2});
  EXPECT_EQ(Sticky.Pressed, -1);   // only with UseItemObjects
  EXPECT_TRUE(List->IsMouseUpCloseListbox());
  List->SetUseItemObjects(true);
  bool CloseSeen = true;
  List->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, int, int) {
    CloseSeen = List->IsMouseUpCloseListbox();
  });
  SimulateClick(List, {5, List->ItemRect(1).Top + 2});
  EXPECT_EQ(Sticky.Pressed, 1);
  EXPECT_FALSE(CloseSeen);
  SimulateClick(List, {5, List->ItemRect(2).Top + 2});
  EXPECT_TRUE(CloseSeen);
  List->SetItemIndex(1);
  SimulateTyping(u"!", List);   // consumed by the item: no search
  EXPECT_EQ(List->SearchText(), u"");
}

TEST_F(PopupListbox, ExtItemsSwitchToTheVirtualStyle) {
  TStringList Ext;
  Ext.Add(u"one");
  Ext.Add(u"two");
  List->SetExtItems(&Ext);
  EXPECT_EQ(List->Style(), lbVirtualOwnerDraw);
  EXPECT_EQ(List->ItemCount(), 2);
  EXPECT_EQ(List->ItemText(1), u"two");
  SimulateTyping(u"t", List);
  EXPECT_EQ(List->ItemIndex(), 1);
  List->SetExtItems(nullptr);
  EXPECT_EQ(List->Style(), lbOwnerDrawFixed);
  EXPECT_EQ(List->ItemText(0), u"Apple");
}

TEST_F(PopupListbox, ImageListDrawsTheImageOfEachItemInAColumn) {
  TCustomImageList Images(8, 8);
  TBitmap Red(8, 8);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(Rect(0, 0, 8, 8));
  Images.Add(&Red, nullptr);
  List->SetImageList(&Images);
  List->SetOnGetImageIndex([](TObject*, int ItemIndex, int& ImageIndex) {
    if (ItemIndex > 0) ImageIndex = -1;   // only the first item has an image
  });
  TBitmap Shot;
  RenderControl(List, Shot);
  const int Frame = (List->Height() - List->ClientHeight()) / 2;
  const int Middle = Frame + (Images.Width() + 4) / 2;
  const int Row0 = Frame + List->ItemHeight() / 2;
  const int Row1 = Row0 + List->ItemHeight();
  EXPECT_EQ(Shot.PixelRGB(Middle, Row0), ColorToRGB(clRed));
  EXPECT_NE(Shot.PixelRGB(Middle, Row1), ColorToRGB(clRed));
}

TEST_F(PopupListbox, RaisedFrameFollowsCtl3D) {
  // More rows than fit: the list shows its scroll bar.
  for (const char16_t* S : {u"Cherry", u"Date", u"Fig", u"Grape", u"Lime"}) List->Items()->Add(S);
  ASSERT_TRUE(List->Ctl3D());
  EXPECT_EQ(List->BorderWidth(), 2);
  EXPECT_EQ(List->Height() - List->ClientHeight(), 4);
  EXPECT_EQ(List->WindowExStyle() & WS_EX_CLIENTEDGE, 0u);
  TBitmap Shot;
  RenderControl(List, Shot);
  const int Bottom = List->Height() - 1;
  EXPECT_NE(Shot.PixelRGB(0, Bottom), ColorToRGB(clWindow));   // both edges drawn
  EXPECT_NE(Shot.PixelRGB(1, Bottom - 1), ColorToRGB(clWindow));
  EXPECT_NE(Shot.PixelRGB(0, Bottom), Shot.PixelRGB(1, Bottom - 1));
  // The list's own scroll bar lies inside the frame.
  const int Bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(List->ClientWidth(), List->Width() - 4 - Bar);

  const int Rows = List->RowCount();
  List->SetCtl3D(false);
  EXPECT_EQ(List->BorderWidth(), 0);
  EXPECT_EQ(List->RowCount(), Rows);
  EXPECT_NE(List->WindowStyle() & WS_BORDER, 0u);
  EXPECT_EQ(List->Height() - List->ClientHeight(), 2);
  RenderControl(List, Shot);
  EXPECT_EQ(Shot.PixelRGB(0, List->Height() - 1), ColorToRGB(clWindowFrame));
  EXPECT_EQ(List->ClientHeight(), Rows * List->ItemHeight());
}

TEST_F(PopupListbox, TextHeightFollowsTheFont) {
  const int Small = List->GetTextHeight();
  EXPECT_GT(Small, 0);
  List->Font()->SetSize(List->Font()->Size() * 2);
  EXPECT_GT(List->GetTextHeight(), Small);
}

TEST_F(PopupListbox, SelectedItemLooksFocusedUnlessItsObjectSaysNo) {
  List->SetItemIndex(1);
  EXPECT_FALSE(List->Focused());
  EXPECT_GT(FocusDotsAt(List, 1), 0);
  TNoFocusItem NoFocus;
  List->Items()->SetObjects(1, &NoFocus);
  List->SetUseItemObjects(true);
  EXPECT_EQ(FocusDotsAt(List, 1), 0);
  List->Items()->SetObjects(1, DefaultPopupListboxItem());
  EXPECT_GT(FocusDotsAt(List, 1), 0);
}

}  // namespace
