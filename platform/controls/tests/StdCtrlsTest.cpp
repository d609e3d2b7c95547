// StdCtrlsTest.cpp - the standard controls driven through the input routines and messages,
// headless: the masked edit on a form, the edit's selection, undo, limits and clipboard, the
// dialog buttons, check and radio buttons, list box, menus, and a picture of a small form.
#include "platform/controls/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/BalloonHint.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    ResetKeyboardState();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Code = new TMaskEdit(Form);
    Code->SetParent(Form);
    Code->SetEditMask(u"l 99-99;1;_");
    Code->SetCharCase(ecUpperCase);
    Code->SetMaxLength(7);
    Code->SetAlignment(taCenter);
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetTop(30);
    Ok = new TButton(Form);
    Ok->SetParent(Form);
    Ok->SetTop(60);
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel = new TButton(Form);
    Cancel->SetParent(Form);
    Cancel->SetBounds(100, 60, 75, 25);
    Cancel->SetCancel(true);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }
  void Type(const String& Text) { SimulateTyping(Text); }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TForm* Form = nullptr;
  TMaskEdit* Code = nullptr;
  TEdit* Edit = nullptr;
  TButton *Ok = nullptr, *Cancel = nullptr;
};

// --- the masked edit ----------------------------------------------------------------------------

TEST_F(StdCtrlsTest, CodeMaskStartsBlankAndTakesCyrillicLetters) {
  EXPECT_EQ(ToUtf8(Code->Text()), "    -  ");
  EXPECT_EQ(ToUtf8(Code->EditText()), "_ __-__");
  Code->SetFocus();
  int Changes = 0;
  Code->SetOnChange([&](TObject*) { ++Changes; });
  Type(u"к1-3");
  EXPECT_EQ(ToUtf8(Code->EditText()), "К 1_-3_");
  EXPECT_EQ(ToUtf8(Code->Text()), "К 1 -3 ");
  EXPECT_EQ(Code->SelStart(), 6);
  EXPECT_EQ(Code->SelLength(), 1);
  EXPECT_TRUE(Code->Modified());
  EXPECT_EQ(Changes, 3);   // the "-" only moved the caret
}

TEST_F(StdCtrlsTest, MaskedBackspaceAndDeleteKeepLiterals) {
  Code->SetText(u"К 12-34");
  Code->SetFocus();
  SimulateKeyPress(VK_END);
  SimulateKeyPress(VK_BACK);
  SimulateKeyPress(VK_BACK);
  EXPECT_EQ(ToUtf8(Code->EditText()), "К 12-__");
  SimulateKeyPress(VK_BACK);   // over the dash onto the digit before it
  EXPECT_EQ(ToUtf8(Code->EditText()), "К 1_-__");
  SimulateKeyPress(VK_HOME);
  SimulateKeyPress(VK_DELETE);
  EXPECT_EQ(ToUtf8(Code->EditText()), "_ 1_-__");
  EXPECT_EQ(ToUtf8(Code->Text()), "  1 -  ");
}

TEST_F(StdCtrlsTest, EscapeResetsToTheTextOfEntry) {
  Edit->SetFocus();   // the form focused the code field when shown
  Code->SetText(u"К 12-34");
  Code->SetFocus();
  Type(u"б9");   // entry selected all: the first key blanks it
  EXPECT_EQ(ToUtf8(Code->Text()), "Б 9 -  ");
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(ToUtf8(Code->Text()), "К 12-34");
  EXPECT_FALSE(Code->Modified());
}

// A handler that empties the edit on Esc wins: the program's write clears Modified, so the
// mask's own Reset leaves the empty text alone.
TEST_F(StdCtrlsTest, EscapeAfterTheProgramEmptiedTheEditKeepsItEmpty) {
  Code->SetOnKeyDown([this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_ESCAPE) Code->SetText(u"");
  });
  Code->SetFocus();
  Type(u"к12");
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(ToUtf8(Code->EditText()), "_ __-__");
}

TEST_F(StdCtrlsTest, ValidationOfRequiredPositions) {
  Code->SetEditMask(u"L00;1;_");
  Ok->SetDefault(false);   // else Return belongs to the default button
  Code->SetFocus();
  Type(u"ж1");
  try {
    SimulateKeyPress(VK_RETURN);
    FAIL() << "no validation error";
  } catch (const EDBEditError& E) {
    EXPECT_EQ(ToUtf8(E.Message()), "Invalid input value. Use escape key to abandon changes");
  }
  EXPECT_EQ(Code->SelStart(), 2);   // the caret on the missing digit
  Type(u"5");
  EXPECT_NO_THROW(Code->ValidateEdit());
  EXPECT_EQ(ToUtf8(Code->Text()), "Ж15");
}

TEST_F(StdCtrlsTest, MaskedClipboard) {
  Code->SetFocus();
  SetClipboardText(u"д 45-67");
  Code->PasteFromClipboard();
  EXPECT_EQ(ToUtf8(Code->EditText()), "Д 45-67");
  Code->SelectAll();
  Code->CutToClipboard();
  EXPECT_EQ(ToUtf8(ClipboardText()), "Д 45-67");
  EXPECT_EQ(ToUtf8(Code->EditText()), "_ __-__");
}

// The edits cut, copy and paste through Clipboard(), so its in-memory stand-in sees them too.
TEST_F(StdCtrlsTest, EditClipboardIsTheApplicationClipboard) {
  SetClipboardForTests(true);
  Edit->SetFocus();
  Type(u"Белила");
  Edit->SelectAll();
  Edit->CopyToClipboard();
  EXPECT_EQ(ToUtf8(Clipboard()->AsText()), "Белила");
  Clipboard()->SetAsText(u"Охра\r\nвторая строка");
  Edit->SelectAll();
  Edit->PasteFromClipboard();
  EXPECT_EQ(ToUtf8(Edit->Text()), "Охра");
  Code->SetFocus();
  Clipboard()->SetAsText(u"ж 12-34");
  Code->PasteFromClipboard();
  EXPECT_EQ(ToUtf8(Code->EditText()), "Ж 12-34");
  SetClipboardForTests(false);
}

// --- the plain edit -----------------------------------------------------------------------------

TEST_F(StdCtrlsTest, EditTypingSelectionUndoAndLimit) {
  Edit->SetMaxLength(5);
  Edit->SetFocus();
  int Changes = 0;
  Edit->SetOnChange([&](TObject*) { ++Changes; });
  Type(u"abcdefg");
  EXPECT_EQ(ToUtf8(Edit->Text()), "abcde");
  SimulateKeyPress(VK_LEFT, {ssShift});
  SimulateKeyPress(VK_LEFT, {ssShift});
  EXPECT_EQ(ToUtf8(Edit->SelText()), "de");
  Type(u"X");
  EXPECT_EQ(ToUtf8(Edit->Text()), "abcX");
  SimulateKeyPress('Z', {ssCtrl}, 26);
  EXPECT_EQ(ToUtf8(Edit->Text()), "abcde");
  EXPECT_EQ(Changes, 7);   // five typed, one replaced, one undone
  EXPECT_EQ(Edit->UserChangeCount(), 7);
  Edit->SetText(u"set");
  EXPECT_EQ(Changes, 8);
  EXPECT_EQ(Edit->UserChangeCount(), 7);
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(StdCtrlsTest, ReadOnlyEditKeepsItsTextAndShowsTheCaret) {
  Edit->SetText(u"fixed");
  Edit->SetReadOnly(true);
  Edit->SetFocus();
  Type(u"x");
  SimulateKeyPress(VK_BACK);
  SimulateKeyPress(VK_DELETE);
  EXPECT_EQ(ToUtf8(Edit->Text()), "fixed");
  TCaretState Caret = GetCaretState();
  EXPECT_EQ(Caret.Owner, Edit);
  EXPECT_EQ(Caret.HideCount, 0);
}

TEST_F(StdCtrlsTest, EditHeightFollowsItsFontUnlessAutoSizeIsOff) {
  const int Normal = Edit->Height();
  Edit->SetHeight(50);   // as a stored form may give it
  Edit->HandleNeeded();
  Edit->RecreateWnd();
  EXPECT_EQ(Edit->Height(), Normal);
  Edit->Font()->SetSize(Edit->Font()->Size() * 2);
  const int Big = Edit->Height();
  EXPECT_GT(Big, Normal + 5);
  Edit->SetCtl3D(false);   // a flat border takes two pixels less
  Edit->Font()->SetSize(Edit->Font()->Size() / 2);
  EXPECT_EQ(Edit->Height(), Normal - 2);
  Edit->SetBorderStyle(bsNone);   // an in-place editor's: sized by its owner
  Edit->SetHeight(50);
  Edit->Font()->SetSize(20);
  EXPECT_EQ(Edit->Height(), 50);
  Edit->SetBorderStyle(bsSingle);
  Edit->SetAutoSize(false);
  Edit->SetHeight(50);
  Edit->Font()->SetSize(20);
  EXPECT_EQ(Edit->Height(), 50);
  // A memo keeps the height it is given.
  auto* Memo = new TMemo(Form);
  Memo->SetParent(Form);
  Memo->SetBounds(0, 100, 100, 80);
  Memo->Font()->SetSize(20);
  EXPECT_EQ(Memo->Height(), 80);
  EXPECT_FALSE(Memo->AutoSize());
}

TEST_F(StdCtrlsTest, AutoSizeIsReadFromAStoredForm) {
  const String Text =
      u"object Stored: TPanel\n"
      u"  AutoSize = False\n"
      u"  object Caption: TLabel\n"
      u"    Width = 200\n"
      u"    AutoSize = False\n"
      u"  end\n"
      u"  object Name: TEdit\n"
      u"    Height = 40\n"
      u"    AutoSize = False\n"
      u"  end\n"
      u"end\n";
  RegisterStdCtrlsClasses();
  RegisterExtCtrlsClasses();
  std::unique_ptr<TComponent> Panel(TextToComponent(Text));
  auto* Label = static_cast<TLabel*>(Panel->FindComponent(u"Caption"));
  auto* Name = static_cast<TEdit*>(Panel->FindComponent(u"Name"));
  ASSERT_TRUE(Label && Name);
  EXPECT_FALSE(Label->AutoSize());
  EXPECT_EQ(Label->Width(), 200);
  EXPECT_FALSE(Name->AutoSize());
  Name->HandleNeeded();
  EXPECT_EQ(Name->Height(), 40);
  EXPECT_NE(StringToUtf8(ComponentToText(Panel.get())).find("AutoSize = False"), std::string::npos);
}

// A form as a program keeps it: its controls and handlers come from a stored form.
class TStoredForm : public TForm {
  VORENTA_CLASS(TStoredForm, TForm)
public:
  explicit TStoredForm(TComponent* AOwner) : TForm(AOwner) {}
  void OkClick(TObject*) { ++Clicks; }
  void NameKeyPress(TObject*, Char& Key) { Key = AnsiUpperCase(String(1, Key))[0]; }
  int Clicks = 0;
};

}  // namespace

REGISTER_CLASS(TStoredForm) {
  Class.Method("OkClick", &TStoredForm::OkClick).Method("NameKeyPress", &TStoredForm::NameKeyPress);
}

namespace {

TEST_F(StdCtrlsTest, AFormIsReadWithItsCaptionsTextsFontsAndHandlers) {
  RegisterStdCtrlsClasses();
  RegisterExtCtrlsClasses();
  const String Text =
      u"object StoredForm: TStoredForm\n"
      u"  Caption = 'Заказ'\n"
      u"  ClientWidth = 300\n"
      u"  ClientHeight = 120\n"
      u"  Color = clBtnFace\n"
      u"  KeyPreview = True\n"
      u"  OldCreateOrder = False\n"
      u"  PixelsPerInch = 96\n"
      u"  TextHeight = 13\n"
      u"  object NameLabel: TLabel\n"
      u"    Left = 8\n"
      u"    Top = 8\n"
      u"    Caption = 'Наименование'\n"
      u"  end\n"
      u"  object Name: TEdit\n"
      u"    Left = 8\n"
      u"    Top = 24\n"
      u"    Width = 200\n"
      u"    Text = 'Белила'\n"
      u"    Anchors = [akLeft, akTop, akRight]\n"
      u"    OnKeyPress = NameKeyPress\n"
      u"  end\n"
      u"  object Ok: TButton\n"
      u"    Left = 216\n"
      u"    Top = 88\n"
      u"    Caption = 'Ok'\n"
      u"    Default = True\n"
      u"    ParentFont = False\n"
      u"    Font.Charset = RUSSIAN_CHARSET\n"
      u"    Font.Color = clMaroon\n"
      u"    Font.Style = [fsBold]\n"
      u"    OnClick = OkClick\n"
      u"  end\n"
      u"end\n";
  auto* Stored = new TStoredForm(Application);
  TextToComponent(Text, Stored);
  auto* NameEdit = static_cast<TEdit*>(Stored->FindComponent(u"Name"));
  auto* Label = static_cast<TLabel*>(Stored->FindComponent(u"NameLabel"));
  auto* OkButton = static_cast<TButton*>(Stored->FindComponent(u"Ok"));
  ASSERT_TRUE(NameEdit && Label && OkButton);
  EXPECT_EQ(Stored->Caption(), u"Заказ");
  EXPECT_EQ(Stored->ClientWidth(), 300);
  EXPECT_EQ(Stored->ClientHeight(), 120);
  EXPECT_TRUE(Stored->KeyPreview());
  EXPECT_EQ(Stored->StoredTextHeight(), 13);
  EXPECT_EQ(Stored->PixelsPerInch(), 96);
  EXPECT_EQ(Label->Caption(), u"Наименование");
  EXPECT_EQ(NameEdit->Text(), u"Белила");
  EXPECT_TRUE(NameEdit->Anchors().Contains(akRight));
  EXPECT_TRUE(OkButton->Font()->Style().Contains(fsBold));
  EXPECT_EQ(OkButton->Font()->Color(), clMaroon);
  EXPECT_EQ(OkButton->Font()->Charset(), 204);
  EXPECT_EQ(Stored->Color(), clBtnFace);
  EXPECT_FALSE(Label->Font()->Style().Contains(fsBold));
  Stored->Show();
  OkButton->Click();
  EXPECT_EQ(Stored->Clicks, 1);
  NameEdit->SetFocus();
  NameEdit->SelectAll();
  SimulateTyping(u"охра");
  EXPECT_EQ(NameEdit->Text(), u"ОХРА");
  // And written back as it was read.
  const std::string Written = StringToUtf8(ComponentToText(Stored));
  for (const char* Piece : {"Caption = 'Наименование'", "OnClick = OkClick", "OnKeyPress = NameKeyPress",
                            "Anchors = [akLeft, akTop, akRight]", "Font.Style = [fsBold]",
                            "Font.Color = clMaroon", "Font.Charset = RUSSIAN_CHARSET", "Color = clBtnFace",
                            "PixelsPerInch = 96", "TextHeight = "})
    EXPECT_NE(Written.find(Piece), std::string::npos) << Piece << "\n" << Written;
  delete Stored;
  // A colour name that does not exist is an error, not black.
  EXPECT_ANY_THROW(delete TextToComponent(u"object P: TPanel\n  Color = clNoSuchColour\nend\n"));
}

TEST_F(StdCtrlsTest, EditMessages) {
  Edit->SetText(u"hello world");
  Edit->Perform(EM_SETSEL, 6, -1);
  int Start = 0, End = 0;
  Edit->Perform(EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  EXPECT_EQ(Start, 6);
  EXPECT_EQ(End, 11);
  String Word = u"there";
  Edit->Perform(EM_REPLACESEL, 1, LPARAM(&Word));
  EXPECT_EQ(ToUtf8(Edit->Text()), "hello there");
  EXPECT_EQ(Edit->Perform(EM_CANUNDO), 1);
  Edit->Perform(EM_SETSEL, 0x7FFFFFFF, -1);
  EXPECT_EQ(Edit->SelStart(), 11);
  EXPECT_EQ(Edit->SelLength(), 0);
  Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 3));
  EXPECT_EQ(Edit->Perform(EM_GETMARGINS), MAKELPARAM(4, 3));
  EXPECT_EQ(Edit->EditRect().Left, 4);
}

// --- buttons ---------------------------------------------------------------------------------

TEST_F(StdCtrlsTest, ReturnClicksTheDefaultButtonAndEscTheCancelButton) {
  std::vector<std::string> Clicks;
  Ok->SetOnClick([&](TObject*) { Clicks.push_back("ok"); });
  Cancel->SetOnClick([&](TObject*) { Clicks.push_back("cancel"); });
  Edit->SetFocus();
  SimulateKeyPress(VK_RETURN);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  SimulateKeyPress(VK_ESCAPE);
  // A focused button is the one Return clicks.
  Cancel->SetFocus();
  SimulateKeyPress(VK_RETURN);
  const std::vector<std::string> Expected{"ok", "cancel", "cancel"};
  EXPECT_EQ(Clicks, Expected);
}

TEST_F(StdCtrlsTest, CheckBoxAndRadioButtons) {
  auto* Box = new TCheckBox(Form);
  Box->SetParent(Form);
  Box->SetTop(100);
  int Clicks = 0;
  Box->SetOnClick([&](TObject*) { ++Clicks; });
  Box->SetFocus();
  SimulateKeyPress(VK_SPACE);
  EXPECT_TRUE(Box->Checked());
  SimulateClick(Box, {5, 5});
  EXPECT_FALSE(Box->Checked());
  Box->SetChecked(true);       // from code: clicks too
  Box->Perform(BM_SETCHECK, BST_UNCHECKED);   // the window's state: no click
  EXPECT_FALSE(Box->Checked());
  EXPECT_EQ(Clicks, 3);
  Box->SetAllowGrayed(true);
  Box->SetFocus();
  SimulateKeyPress(VK_SPACE);
  EXPECT_EQ(Box->State(), cbGrayed);

  auto* R1 = new TRadioButton(Form);
  auto* R2 = new TRadioButton(Form);
  R1->SetParent(Form);
  R2->SetParent(Form);
  R1->SetChecked(true);
  SimulateClick(R2, {5, 5});
  EXPECT_FALSE(R1->Checked());
  EXPECT_TRUE(R2->Checked());
}

// --- list box ----------------------------------------------------------------------------------

TEST_F(StdCtrlsTest, ListBoxKeysAndTypeAhead) {
  auto* List = new TListBox(Form);
  List->SetParent(Form);
  List->SetBounds(200, 100, 120, 50);   // three rows of 16
  for (const char16_t* S : {u"Белый", u"Бежевый", u"Красный", u"Синий", u"Серый", u"Чёрный"})
    List->Items()->Add(S);
  int Clicks = 0;
  List->SetOnClick([&](TObject*) { ++Clicks; });
  List->SetFocus();
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(List->ItemIndex(), 0);
  SimulateKeyPress(VK_END);
  EXPECT_EQ(List->ItemIndex(), 5);
  EXPECT_EQ(List->TopIndex(), 6 - List->VisibleRows());
  Type(u"се");
  EXPECT_EQ(ToUtf8(List->ItemText(List->ItemIndex())), "Серый");
  AdvanceTestClock(2500);   // the typed prefix is forgotten
  Type(u"к");
  EXPECT_EQ(ToUtf8(List->ItemText(List->ItemIndex())), "Красный");
  EXPECT_EQ(Clicks, 5);   // Down, End, "с", "се", "к"
  EXPECT_EQ(List->ItemAtPos({5, 20}, true), List->TopIndex() + 1);
}

// An owner-drawn combo box paints its face and its dropped rows through OnDrawItem, each on
// the canvas it hands out, at its own item height; typing selects like a fixed list.
TEST_F(StdCtrlsTest, OwnerDrawnComboBoxPaintsFaceAndListThroughItsHandler) {
  auto* Combo = new TComboBox(Form);
  Combo->SetParent(Form);
  Combo->SetBounds(200, 100, 150, 22);
  Combo->SetStyle(csOwnerDrawFixed);
  Combo->SetItemHeight(34);
  for (const char16_t* S : {u"Белый", u"Красный", u"Синий"}) Combo->Items()->Add(S);
  Combo->SetItemIndex(1);
  std::vector<std::pair<int, bool>> Drawn;   // index, drawn on the face
  Combo->SetOnDrawItem([&](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
    ASSERT_NE(Combo->Canvas(), nullptr);
    Combo->Canvas()->FillRect(R);
    Drawn.emplace_back(Index, State.Contains(odComboBoxEdit));
  });
  TBitmap Picture(150, 22);
  Combo->PaintTo(Picture.Canvas(), 0, 0);
  ASSERT_EQ(Drawn.size(), 1u);
  EXPECT_EQ(Drawn[0], std::make_pair(1, true));
  EXPECT_EQ(Combo->Canvas(), nullptr);

  Drawn.clear();
  Combo->SetFocus();
  Combo->SetDroppedDown(true);
  Combo->Perform(WM_PAINT);
  auto* List = dynamic_cast<TCustomListBox*>(Combo->Components(0));
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(List->ItemHeight(), 34);
  EXPECT_EQ(List->Height(), 3 * 34 + 2);
  EXPECT_EQ(List->VisibleRows(), 3);   // every row shows, no scroll bar
  EXPECT_EQ(List->ClientWidth(), 150 - 2);
  TBitmap Rows(150, List->Height());
  List->PaintTo(Rows.Canvas(), 0, 0);
  EXPECT_NE(std::find(Drawn.begin(), Drawn.end(), std::make_pair(2, false)), Drawn.end());
  Combo->SetDroppedDown(false);
  Type(u"с");
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_EQ(ToUtf8(Combo->Text()), "Синий");
}

// --- pages and tool buttons --------------------------------------------------------------------

TEST_F(StdCtrlsTest, PageControlChangesPagesByTabsAndVeto) {
  auto* Pages = new TPageControl(Form);
  Pages->SetParent(Form);
  Pages->SetBounds(10, 100, 300, 150);
  std::vector<std::string> Log;
  TTabSheet* Sheets[3];
  const char16_t* Captions[] = {u"Каталог", u"Заказы", u"Прайс"};
  for (int I = 0; I < 3; ++I) {
    Sheets[I] = new TTabSheet(Form);
    Sheets[I]->SetCaption(Captions[I]);
    Sheets[I]->SetPageControl(Pages);
    Sheets[I]->SetOnShow([&Log, I](TObject*) { Log.push_back("show " + std::to_string(I)); });
  }
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  EXPECT_TRUE(Sheets[0]->Visible());
  bool Allow = false;
  Pages->SetOnChanging([&](TObject*, bool& A) { A = Allow; });
  Pages->SetOnChange([&](TObject*) { Log.push_back("change"); });
  const TRect Tab = Pages->TabRect(2);
  SimulateClick(Pages, {Tab.Left + 3, Tab.Top + 3});
  EXPECT_EQ(Pages->ActivePageIndex(), 0);   // refused
  Allow = true;
  SimulateClick(Pages, {Tab.Left + 3, Tab.Top + 3});
  EXPECT_EQ(Pages->ActivePageIndex(), 2);
  EXPECT_FALSE(Sheets[0]->Visible());
  Sheets[1]->SetTabVisible(false);
  Pages->SelectNextPage(true);   // wraps round and skips the hidden tab
  EXPECT_EQ(Pages->ActivePageIndex(), 0);
  const std::vector<std::string> Expected{"show 2", "change", "show 0", "change"};
  EXPECT_EQ(Log, Expected);
  delete Sheets[2];
  EXPECT_EQ(Pages->PageCount(), 2);
}

TEST_F(StdCtrlsTest, GroupedButtonsStayDownOneAtATime) {
  auto* Bar = new TToolBar(Form);
  Bar->SetParent(Form);
  TToolButton* B[2];
  for (auto*& Button : B) {
    Button = new TToolButton(Form);
    Button->SetParent(Bar);
    Button->SetStyle(tbsCheck);
    Button->SetGrouped(true);
  }
  Bar->Realign();
  EXPECT_EQ(B[1]->Left(), B[0]->Left() + Bar->ButtonWidth());
  SimulateClick(B[0], {3, 3});
  SimulateClick(B[1], {3, 3});
  EXPECT_FALSE(B[0]->Down());
  EXPECT_TRUE(B[1]->Down());
  SimulateClick(B[1], {3, 3});   // the last one down stays down
  EXPECT_TRUE(B[1]->Down());

  auto* S1 = new TSpeedButton(Form);
  auto* S2 = new TSpeedButton(Form);
  for (TSpeedButton* S : {S1, S2}) {
    S->SetParent(Form);
    S->SetGroupIndex(1);
    S->SetAllowAllUp(true);
  }
  S1->SetBounds(200, 250, 23, 22);   // clear of the windowed controls
  S2->SetBounds(230, 250, 23, 22);
  int Clicks = 0;
  S1->SetOnClick([&](TObject*) { ++Clicks; });
  SimulateClick(S1, {3, 3});
  S2->SetDown(true);
  EXPECT_FALSE(S1->Down());
  S2->SetDown(false);   // AllowAllUp lets the last one up
  EXPECT_FALSE(S2->Down());
  EXPECT_EQ(Clicks, 1);
}

TEST_F(StdCtrlsTest, BalloonHintPointsAtTheControlAndHidesByTimer) {
  auto* Balloon = new TBalloonHint(Form);
  Balloon->SetTitle(u"Код");
  Balloon->SetDescription(u"Буква и четыре цифры");
  Balloon->SetHideAfter(1000);
  Balloon->ShowHint(Edit);
  ASSERT_TRUE(Balloon->ShowingHint());
  const TPoint Tip = Edit->ClientToScreen({Edit->Width() / 2, Edit->Height()});
  EXPECT_EQ(Balloon->Window()->Top(), Tip.Y);
  AdvanceTestClock(999);
  Application->ProcessMessages();
  EXPECT_TRUE(Balloon->ShowingHint());
  AdvanceTestClock(1);
  Application->ProcessMessages();
  EXPECT_FALSE(Balloon->ShowingHint());
}

// --- menus -------------------------------------------------------------------------------------

TEST(Menus, ShortCutTexts) {
  struct Row {
    TShortCut ShortCut;
    const char* Text;
  } Rows[] = {
      {ShortCut('N', {ssCtrl}), "Ctrl+N"}, {ShortCut(VK_DELETE, {ssCtrl}), "Ctrl+Del"},
      {ShortCut(VK_DOWN, {ssAlt}), "Alt+Down"}, {VK_F5, "F5"},
      {ShortCut('R', {ssShift, ssCtrl}), "Shift+Ctrl+R"}, {VK_RETURN, "Enter"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Text);
    EXPECT_EQ(ToUtf8(ShortCutToText(R.ShortCut)), R.Text);
    EXPECT_EQ(TextToShortCut(Utf8ToString(R.Text)), R.ShortCut);
  }
  EXPECT_EQ(TextToShortCut(u"ctrl+del"), ShortCut(VK_DELETE, {ssCtrl}));
  EXPECT_EQ(TextToShortCut(u"Ctrl+Nope"), 0);
}

TEST_F(StdCtrlsTest, PopupMenuShortcutsAndChoice) {
  auto* Menu = new TPopupMenu(Form);
  std::vector<std::string> Log;
  auto AddItem = [&](const char16_t* Caption, TShortCut Key) {
    auto* Item = new TMenuItem(Form);
    Item->SetCaption(Caption);
    Item->SetShortCut(Key);
    Item->SetOnClick([&Log, Item](TObject*) { Log.push_back(ToUtf8(Item->Caption())); });
    Menu->Items()->Add(Item);
    return Item;
  };
  AddItem(u"Создать заказ", TextToShortCut(u"Ctrl+N"));
  TMenuItem* Del = AddItem(u"Удалить заказ", TextToShortCut(u"Ctrl+Del"));
  AddItem(u"-", 0);
  Edit->SetPopupMenu(Menu);
  Edit->SetFocus();
  SimulateKeyPress('N', {ssCtrl});   // the popup menu's shortcut, not a character
  EXPECT_EQ(ToUtf8(Edit->Text()), "");
  Del->SetEnabled(false);
  TPopupMenu::SetChooser([Del](TPopupMenu*, TPoint) { return Del; });
  Menu->Popup(10, 10);   // a disabled item does nothing
  TPopupMenu::SetChooser([&](TPopupMenu* M, TPoint) { return M->Items()->Items(0); });
  Menu->Popup(10, 10);
  TPopupMenu::SetChooser(nullptr);
  const std::vector<std::string> Expected{"Создать заказ", "Создать заказ"};
  EXPECT_EQ(Log, Expected);
  delete Menu;   // its items stay with their owner until the form goes
}

// --- a picture of a small form ------------------------------------------------------------------

TEST_F(StdCtrlsTest, SmallFormRendersToPng) {
  Form->SetCaption(u"Стандартные элементы");
  auto* Lbl = new TLabel(Form);
  Lbl->SetParent(Form);
  Lbl->SetCaption(u"Наименование:");
  Lbl->SetLeft(200);
  Lbl->SetTop(8);
  Code->SetText(u"К 12-34");
  Edit->SetText(u"Белила");
  Edit->SetBounds(200, 28, 150, 21);
  Ok->SetCaption(u"Ok");
  Cancel->SetCaption(u"Отмена");
  auto* Box = new TCheckBox(Form);
  Box->SetParent(Form);
  Box->SetCaption(u"Наименование");
  Box->SetBounds(8, 100, 150, 17);
  Box->SetChecked(true);
  auto* Group = new TGroupBox(Form);
  Group->SetParent(Form);
  Group->SetCaption(u" Расчет состава ");
  Group->SetBounds(8, 125, 180, 70);
  auto* R1 = new TRadioButton(Form);
  R1->SetParent(Group);
  R1->SetCaption(u"Масса базы");
  R1->SetBounds(8, 20, 150, 17);
  auto* R2 = new TRadioButton(Form);
  R2->SetParent(Group);
  R2->SetCaption(u"Весь объем");
  R2->SetBounds(8, 42, 150, 17);
  R2->SetChecked(true);
  auto* List = new TListBox(Form);
  List->SetParent(Form);
  List->SetBounds(200, 60, 150, 70);
  for (const char16_t* S : {u"Интерьерная", u"Наружная", u"Универсальная"}) List->Items()->Add(S);
  List->SetItemIndex(1);
  auto* Combo = new TComboBox(Form);
  Combo->SetParent(Form);
  Combo->SetBounds(200, 140, 150, 21);
  Combo->Items()->Add(u"Синий");
  Combo->SetItemIndex(0);
  auto* Panel = new TPanel(Form);
  Panel->SetParent(Form);
  Panel->SetCaption(u" Образец цвета ");
  Panel->SetBounds(200, 170, 150, 40);
  auto* Swatch = new TShape(Form);
  Swatch->SetParent(Form);
  Swatch->SetBounds(8, 205, 180, 30);
  Swatch->Brush()->SetColor(TColor(15856093));
  Swatch->Pen()->SetColor(TColor(5528823));
  Edit->SetFocus();
  Edit->SelectAll();

  const std::filesystem::path File = std::filesystem::temp_directory_path() / "stdctrls-form.png";
  SaveControlToPng(Form, Utf8ToString(File.string()));
  EXPECT_TRUE(std::filesystem::exists(File));
  EXPECT_GT(std::filesystem::file_size(File), 1000u);
}

}  // namespace

// Sheets read from a form text under a page control are its pages, the first one active.
TEST_F(StdCtrlsTest, PageControlReadFromAFormHasItsSheets) {
  RegisterComCtrlsClasses();
  TForm Read(nullptr);
  TextToComponent(u"object F: TForm\n  object Pages: TPageControl\n"
                  u"    object One: TTabSheet\n      Caption = 'Один'\n    end\n"
                  u"    object Two: TTabSheet\n      Caption = 'Два'\n    end\n  end\nend\n",
                  &Read);
  auto* Pages = static_cast<TPageControl*>(Read.FindComponent(u"Pages"));
  ASSERT_EQ(Pages->PageCount(), 2);
  EXPECT_EQ(Pages->ActivePage(), Read.FindComponent(u"One"));
  EXPECT_EQ(static_cast<TTabSheet*>(Read.FindComponent(u"Two"))->PageIndex(), 1);
}
