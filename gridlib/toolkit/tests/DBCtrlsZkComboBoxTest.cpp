// DBCtrlsZkComboBoxTest.cpp - the combo box: locating and completing, stepping, key-based
// values, the Backspace that only widens the completed tail, the list and its width.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"

namespace {

class ComboTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Free = Place<TDBComboBoxZk>(10);
    Free->Items()->SetText(u"Охра\r\nОливковый\r\nУмбра");
    Keyed = Place<TDBComboBoxZk>(40);
    Keyed->Items()->SetText(u"С любой части поля\r\nПоля целиком\r\nС начала поля\r\nЛишний");
    Keyed->KeyItems()->SetText(u"ANY\r\nWHOLE\r\nSTART");
    Show();
  }
  TDBComboBoxZk* Free = nullptr;
  TDBComboBoxZk* Keyed = nullptr;
};

TEST_F(ComboTest, FreeTextCompletesAndSelectsTheTail) {
  Free->SetFocus();
  SimulateTyping(u"о");
  EXPECT_EQ(Free->Text(), u"Охра");
  EXPECT_EQ(Free->ItemIndex(), 0);
  EXPECT_EQ(Free->SelText(), u"хра");
  SimulateTyping(u"л");
  EXPECT_EQ(Free->Text(), u"Оливковый");
  EXPECT_EQ(Free->SelText(), u"ивковый");
  SimulateTyping(u"ю");   // nothing starts so: plain text, no item
  EXPECT_EQ(Free->Text(), u"Олю");
  EXPECT_EQ(Free->ItemIndex(), -1);
  SimulateTyping(u".");   // a dot never completes
  EXPECT_EQ(Free->Text(), u"Олю.");
}

TEST_F(ComboTest, KeyBasedTypingPicksItemsAndBackspaceOnlyWidens) {
  EXPECT_EQ(Keyed->ItemsCount(), 3);   // KeyItems shorter than Items
  Keyed->SetFocus();
  SimulateTyping(u"п");
  EXPECT_EQ(Keyed->Text(), u"Поля целиком");
  EXPECT_EQ(VarToStr(Keyed->Value()), u"WHOLE");
  EXPECT_EQ(Keyed->SelText(), u"оля целиком");
  SimulateKeyPress(VK_BACK, {}, u'\b');
  EXPECT_EQ(VarToStr(Keyed->Value()), u"WHOLE");
  EXPECT_EQ(Keyed->SelText(), u"Поля целиком");
  SimulateTyping(u"л");   // "Лишний" has no key: not selectable
  EXPECT_EQ(VarToStr(Keyed->Value()), u"WHOLE");
  Keyed->SetValue(Variant(u"NONE"));
  EXPECT_EQ(Keyed->Text(), u"");
  EXPECT_EQ(VarToStr(Keyed->Value()), u"NONE");
}

TEST_F(ComboTest, SteppingTable) {
  struct Row {
    int From;
    bool Prior;
    int To;
  };
  for (Row R : {Row{-1, true, 2}, Row{0, true, 0}, Row{2, false, 2}, Row{-1, false, 0},
                Row{1, false, 2}}) {
    Keyed->SetItemIndex(R.From);
    Keyed->SelectNextValue(R.Prior);
    EXPECT_EQ(Keyed->ItemIndex(), R.To) << R.From << R.Prior;
  }
}

TEST_F(ComboTest, ListClosesWithoutChangeOnEscAndTakesOnReturn) {
  Keyed->SetItemIndex(0);
  Keyed->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Keyed->ListVisible());
  EXPECT_EQ(Keyed->PopupListbox()->Width(), Keyed->Width());
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  EXPECT_FALSE(Keyed->ListVisible());
  EXPECT_EQ(Keyed->ItemIndex(), 0);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(Keyed->ItemIndex(), 1);
  Keyed->DropDownBox()->SetWidth(-1);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  EXPECT_GE(Keyed->PopupListbox()->Width(), Keyed->Width());
  Other->SetFocus();   // focus loss closes without change
  EXPECT_FALSE(Keyed->ListVisible());
  EXPECT_EQ(Keyed->ItemIndex(), 1);
}

// A press on the main button that drops the list and is dragged onto a row becomes a press on
// that row; releasing there takes it.
TEST_F(ComboTest, APressDraggedFromTheButtonOntoARowTakesIt) {
  Keyed->SetItemIndex(0);
  Keyed->SetFocus();
  TControl* Button = Keyed->EditButtonControlList()[0].EditButtonControl;
  SimulateMouseDown(mbLeft, Button->ClientToScreen({Button->Width() / 2, Button->Height() / 2}));
  ASSERT_TRUE(Keyed->ListVisible());
  TPopupListboxZk* List = Keyed->PopupListbox();
  const TRect Row = List->ItemRect(2);
  const TPoint OnRow = List->ClientToScreen({Row.Left + 5, (Row.Top + Row.Bottom) / 2});
  SimulateMouseMove(OnRow, {ssLeft});
  EXPECT_EQ(List->ItemIndex(), 2);
  SimulateMouseUp(mbLeft, OnRow);
  EXPECT_FALSE(Keyed->ListVisible());
  EXPECT_EQ(Keyed->ItemIndex(), 2);
}

TEST_F(ComboTest, BoundKeyBasedPostsTheKey) {
  auto* Note = Place<TDBComboBoxZk>(70);
  Note->Items()->SetText(u"Светлая\r\nТёмная");
  Note->KeyItems()->SetText(u"светлая\r\nтёмная");
  Note->SetDataSource(Source);
  Note->SetDataField(u"NOTE");
  EXPECT_EQ(Note->Text(), u"Светлая");
  Note->SetItemIndex(1);
  EXPECT_EQ(Data->FieldByName(u"NOTE")->AsString(), u"тёмная");
}

}  // namespace
