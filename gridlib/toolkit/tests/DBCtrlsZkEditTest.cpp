// DBCtrlsZkEditTest.cpp - the field data link and the data-aware edit: the editing cycle with
// its order, failing posts, data-independent posting, MaxLength from the field, the MRU list,
// the in-place contract with a holder shaped like the grid.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include <string>
#include <vector>

#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "platform/db/DataSet.h"

namespace {

using DataLinkTest = EditorTest;

TEST_F(DataLinkTest, StartsDataIndependentAndFollowsDisabledControls) {
  TFieldDataLinkZk Link;
  EXPECT_TRUE(Link.DataIndepended());
  EXPECT_TRUE(Link.Active());
  EXPECT_TRUE(VarIsNull(Link.DataIndependentValue));
  Link.SetFieldName(u"NAME");
  EXPECT_FALSE(Link.DataIndepended());
  EXPECT_FALSE(Link.Active());   // bound, but no source yet
  Data->Open();
  Link.SetDataSource(Source);
  ASSERT_EQ(Link.FieldsCount(), 1);
  int Changes = 0;
  Link.OnDataChange = [&](TObject*) { ++Changes; };
  Data->DisableControls();
  EXPECT_EQ(Link.FieldsCount(), 0);
  Data->EnableControls();
  EXPECT_EQ(Link.FieldsCount(), 1);
  Data->Edit();
  Data->FieldByName(u"PRICE")->SetValue(Variant(2.0));   // another field: no reload
  const int Before = Changes;
  Data->FieldByName(u"NAME")->SetValue(Variant(u"Сиена"));
  EXPECT_GT(Changes, Before);
  Link.SetDataSource(nullptr);
  Link.SetFieldName(u"");
  EXPECT_TRUE(Link.DataIndepended());
  EXPECT_TRUE(VarIsNull(Link.DataIndependentValue));
}

TEST_F(DataLinkTest, SeveralFieldsTakeArraysAndNull) {
  Data->Open();
  TFieldDataLinkZk Link;
  Link.SetMultiFields(true);
  Link.SetDataSource(Source);
  Link.SetFieldName(u"NAME;NOTE;QTY");
  ASSERT_EQ(Link.FieldsCount(), 3);
  Data->Edit();
  Link.SetValue(VarArrayOf({Variant(u"А"), Variant(u"Б"), Variant(9)}));
  EXPECT_EQ(Data->FieldByName(u"NOTE")->AsString(), u"Б");
  EXPECT_EQ(Data->FieldByName(u"QTY")->AsInteger(), 9);
  Link.SetValue(Null());
  EXPECT_TRUE(Data->FieldByName(u"NAME")->IsNull());
  EXPECT_TRUE(Data->FieldByName(u"QTY")->IsNull());
}

TEST_F(DataLinkTest, ReadOnlyDataIndependentLinkDoesNotEdit) {
  TFieldDataLinkZk Link;
  Link.SetReadOnly(true);
  int Notices = 0;
  Link.OnEditingChange = [&](TObject*) { ++Notices; };
  EXPECT_FALSE(Link.Edit());
  EXPECT_EQ(Notices, 0);
}

TEST_F(DataLinkTest, UnknownFieldRaisesThePrefixedError) {
  Data->Open();
  auto* E = Place<TDBEditZk>(10);
  E->SetName(u"NameEdit");
  E->SetDataSource(Source);
  try {
    E->SetDataField(u"NOPE");
    FAIL() << "no error";
  } catch (const EDatabaseError& Err) {
    EXPECT_EQ(Err.Message(), u"NameEdit: Field 'NOPE' not found");
  }
}

class DBEditTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Name = Place<TDBEditZk>(10);
    Name->SetDataSource(Source);
    Name->SetDataField(u"NAME");
    Show();
  }
  TDBEditZk* Name = nullptr;
};

// Logs the mask validation into the editing cycle's log.
class TLoggedEdit : public TDBEditZk {
public:
  using TDBEditZk::TDBEditZk;
  std::vector<std::string>* Log = nullptr;
  void ValidateEdit() override {
    if (Log) Log->push_back("validate");
    TDBEditZk::ValidateEdit();
  }
};

TEST_F(DBEditTest, LeavingValidatesThenFiresOnExitThenWritesTheRecord) {
  std::vector<std::string> Log;
  auto* Note = Place<TLoggedEdit>(40);
  Note->SetDataSource(Source);
  Note->SetDataField(u"NOTE");
  Note->SetEditMask(u"cccccccccc;1; ");
  Note->Log = &Log;
  Note->SetOnExit([&](TObject*) { Log.push_back("exit"); });
  Note->SetOnUpdateData([&](TObject*, bool&) { Log.push_back("update"); });
  Note->SetFocus();
  SimulateKeyPress(VK_HOME);
  SimulateTyping(u"тёмная");
  Log.clear();
  SimulateKeyPress(VK_TAB, {}, u'\t');
  ASSERT_GE(Log.size(), 3u);
  EXPECT_EQ(Log[0], "validate");
  EXPECT_EQ(Log[1], "exit");
  EXPECT_EQ(Log.back(), "update");
}

TEST_F(DBEditTest, EditingCycleOrderAndPost) {
  std::vector<std::string> Log;
  Name->SetOnExit([&](TObject*) { Log.push_back("exit"); });
  Name->SetOnUpdateData([&](TObject*, bool&) {
    Log.push_back("update:" + ToUtf8(Name->Text()));
  });
  Name->SetFocus();
  EXPECT_EQ(Data->State(), dsBrowse);
  EXPECT_EQ(Name->Text(), u"Охра");
  SimulateKeyPress(VK_END);
  SimulateTyping(u"ная");
  EXPECT_EQ(Data->State(), dsEdit);
  SimulateKeyPress(VK_TAB, {}, u'\t');
  EXPECT_EQ(Log, (std::vector<std::string>{"exit", "update:Охраная"}));
  EXPECT_EQ(Data->FieldByName(u"NAME")->AsString(), u"Охраная");
  EXPECT_TRUE(Other->Focused());
}

TEST_F(DBEditTest, FailingPostKeepsTheFocusAndSelectsAll) {
  Name->SetOnUpdateData([](TObject*, bool&) { throw Exception(u"нельзя"); });
  Name->SetFocus();
  SimulateTyping(u"Х");
  EXPECT_THROW(SimulateKeyPress(VK_TAB, {}, u'\t'), Exception);
  EXPECT_TRUE(Name->Focused());
  EXPECT_EQ(Name->SelLength(), int(Name->Text().size()));
}

TEST_F(DBEditTest, UnboundPostsEditTextAndBoundPostsText) {
  auto* Free = Place<TDBEditZk>(40);
  Free->SetEditMask(u"!99/99/9999;1; ");
  Free->SetFocus();
  SimulateKeyPress(VK_HOME);
  SimulateTyping(u"3112");
  Other->SetFocus();
  EXPECT_EQ(VarToStr(Free->DataLink()->DataIndependentValue), u"31.12.    ");
  Name->SetEditMask(u"!>LLLL;1;_");
  Name->SetFocus();
  SimulateKeyPress(VK_HOME);
  SimulateTyping(u"ab");
  Other->SetFocus();
  EXPECT_EQ(Data->FieldByName(u"NAME")->AsString(), u"ABра");   // the mask converts typed letters
}

TEST_F(DBEditTest, MaxLengthFollowsTheBoundStringField) {
  EXPECT_EQ(Name->MaxLength(), 20);
  Name->SetDataField(u"NOTE");
  EXPECT_EQ(Name->MaxLength(), 30);
  Name->SetMaxLength(5);   // set by the program: kept
  Name->SetDataField(u"NAME");
  EXPECT_EQ(Name->MaxLength(), 5);
}

TEST_F(DBEditTest, TextFromCodePostsAndBadInputResetsIt) {
  auto* Qty = Place<TDBEditZk>(40);
  Qty->SetDataSource(Source);
  Qty->SetDataField(u"QTY");
  Qty->SetText(u"12");
  EXPECT_EQ(Data->FieldByName(u"QTY")->AsInteger(), 12);
  EXPECT_THROW(Qty->SetText(u"двенадцать"), Exception);
  EXPECT_EQ(Qty->Text(), u"12");
}

TEST_F(DBEditTest, ClosedDatasetShowsNothingAndStaysReadOnly) {
  Data->Close();
  EXPECT_EQ(Name->Text(), u"");
  Name->SetFocus();
  SimulateTyping(u"abc");
  EXPECT_EQ(Name->Text(), u"");
}

TEST_F(DBEditTest, MRUListOpensFiltersAndAccepts) {
  TMRUListZk* MRU = Name->MRUList();
  MRU->SetActive(true);
  MRU->Items()->Add(u"Сиена жжёная");
  MRU->Items()->Add(u"Охра золотая");
  Name->SetFocus();
  SimulateKeyPress('A', {ssCtrl});
  SimulateKeyPress(VK_BACK, {}, u'\b');
  SimulateTyping(u"с");
  ASSERT_TRUE(MRU->DroppedDown());
  auto* List = static_cast<TMRUListboxZk*>(Name->MRUListControl());
  ASSERT_EQ(List->Items()->Count(), 1);
  EXPECT_EQ(List->Items()->Strings(0), u"Сиена жжёная");
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_FALSE(MRU->DroppedDown());
  EXPECT_EQ(Name->Text(), u"Сиена жжёная");
  Other->SetFocus();
  EXPECT_EQ(MRU->Items()->Strings(MRU->Items()->Count() - 1), u"Сиена жжёная");
}

// A holder shaped like the data grid: it may veto editing, swallows Tab, zeroes Left at the
// caret start, and hands out its last press once.
class FakeHolder : public TCustomControl, public IInplaceEditHolderZk {
public:
  explicit FakeHolder(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_GETDLGCODE) M.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
    else TCustomControl::Dispatch(M);
  }
  bool CanModify = true;
  TPoint DownPos;
  int DownTime = 0;
  std::vector<std::string> Log;

  bool InplaceEditCanModify(TControl*) override { return CanModify; }
  void GetMouseDownInfo(TPoint& Pos, int& Time) override {
    Pos = DownPos;
    Time = DownTime;
    DownTime = 0;
  }
  void InplaceEditWndProc(TControl*, TMessage& M) override {
    if (M.Msg == WM_KEYDOWN) Log.push_back("wndproc");
  }
  void InplaceEditKeyDown(TControl* C, Word& Key, TShiftState) override {
    Log.push_back("keydown");
    if (Key == VK_LEFT && static_cast<TCustomEdit*>(C)->SelStart() == 0) Key = 0;
  }
  void InplaceEditKeyPress(TControl*, Char& Key) override {
    Log.push_back("keypress");
    if (Key == u'\t') Key = 0;
  }
  void InplaceEditKeyUp(TControl*, Word&, TShiftState) override { Log.push_back("keyup"); }
};

TEST_F(DBEditTest, InPlaceHolderGoesFirstAndMayVeto) {
  auto* Holder = new FakeHolder(Form);
  Holder->SetParent(Form);
  Holder->SetBounds(10, 60, 300, 100);
  auto* Cell = new TDBEditZk(Form);
  Cell->SetParent(Holder);
  Cell->SetBorderStyle(bsNone);
  Cell->SetDataSource(Source);
  Cell->SetDataField(u"NOTE");
  EXPECT_THROW(Cell->SetInplaceEditHolder(Other), Exception);
  EXPECT_FALSE(Cell->InplaceMode());
  Cell->SetInplaceEditHolder(Holder);
  Cell->Move(Rect(2, 2, 100, 20));
  EXPECT_TRUE(Cell->Visible());
  Cell->SetFocus();
  ASSERT_TRUE(Cell->Focused());
  Holder->CanModify = false;
  Data->Edit();
  Cell->UpdateReadOnlyState();
  SimulateTyping(u"x");
  EXPECT_EQ(Data->FieldByName(u"NOTE")->AsString(), u"светлая");
  Holder->CanModify = true;
  Holder->Log.clear();
  SimulateKeyPress(VK_HOME);
  SimulateKeyPress(VK_LEFT);   // zeroed by the holder
  SimulateKeyPress(VK_TAB, {}, u'\t');
  EXPECT_EQ(Holder->Log, (std::vector<std::string>{"wndproc", "keydown", "keyup", "wndproc",
                                                  "keydown", "keyup", "wndproc", "keydown",
                                                  "keypress", "keyup"}));
  EXPECT_TRUE(Cell->Focused());   // Tab swallowed
  Cell->Move(Rect(0, 0, 0, 0));
  EXPECT_FALSE(Cell->Visible());
}

TEST_F(DBEditTest, InPlacePressAfterTheHoldersBecomesADoubleClick) {
  auto* Holder = new FakeHolder(Form);
  Holder->SetParent(Form);
  Holder->SetBounds(10, 60, 300, 100);
  auto* Cell = new TDBEditZk(Form);
  Cell->SetParent(Holder);
  Cell->SetInplaceEditHolder(Holder);
  Cell->Move(Rect(2, 2, 100, 20));
  int DoubleClicks = 0;
  Cell->SetOnDblClick([&](TObject*) { ++DoubleClicks; });
  Holder->DownPos = Cell->ClientToScreen({5, 5});
  Holder->DownTime = int(GetTickCount());
  AdvanceTestClock(100);
  SimulateClick(Cell, {5, 5});
  EXPECT_EQ(DoubleClicks, 1);
  AdvanceTestClock(2000);
  SimulateClick(Cell, {5, 5});   // the holder's time was read once
  EXPECT_EQ(DoubleClicks, 1);
}

}  // namespace
