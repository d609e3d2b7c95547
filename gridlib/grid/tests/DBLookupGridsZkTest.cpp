// DBLookupGridsZkTest.cpp - the lookup grid and its popup form: keys and the special row,
// type-ahead on the test clock, two-field keys written into the data record, sizing, the
// scroll bar of a list that cannot number its records, hover and release in the popup.
#include "gridlib/grid/DBLookupGridsZk.h"

#include <gtest/gtest.h>

#include <set>

#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// A list that cannot number its records.
class TUnsequencedDataSet : public TArrayDataSet {
public:
  using TArrayDataSet::TArrayDataSet;
  bool IsSequenced() const override { return false; }
};

void FillList(TArrayDataSet* Set, int Rows) {
  Set->FieldDefs()->Add(u"ID", ftInteger);
  Set->FieldDefs()->Add(u"NAME", ftWideString, 40);
  const String Names[] = {u"Краска", u"Кисть", u"Лак", u"Грунт", u"Эмаль"};
  for (int I = 1; I <= Rows; ++I)
    Set->AddRow({I, Variant(Names[(I - 1) % 5] + (I > 5 ? IntToStr(I) : String()))});
}

struct TLookupFixture {
  TForm* Form;
  TArrayDataSet* List;
  TDataSource* Source;
  TDBLookupGridZk* Grid;

  explicit TLookupFixture(int Rows = 5, TArrayDataSet* Custom = nullptr) {
    DBGridZkModuleInitialize();
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(40, 40, 400, 400);
    List = Custom ? Custom : new TArrayDataSet(Form);
    FillList(List, Rows);
    List->Open();
    Source = new TDataSource(Form);
    Source->SetDataSet(List);
    Grid = new TDBLookupGridZk(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 200, 150);
    Form->Show();
    Grid->HandleNeeded();
    Grid->SetListSource(Source);
    Grid->SetKeyField(u"ID");
    Grid->SetListField(u"NAME");
  }
  ~TLookupFixture() {
    delete Form;
    DBGridZkModuleFinalize();
  }
  TLookupFixture(const TLookupFixture&) = delete;
  TLookupFixture& operator=(const TLookupFixture&) = delete;

  void Key(Word K) {
    Grid->Perform(WM_KEYDOWN, K, 0);
  }
};

int KeyInt(const Variant& V) { return VarIsNull(V) ? 0 : V.AsInteger(); }

TEST(DBLookupGrid, KeysAndTheSpecialRow) {
  // Start key (0 = Null), special row shown (its value -1), key, expected key.
  struct Case { int Start; bool Spec; Word Key; int Expected; };
  const Case Cases[] = {
      {0, false, VK_DOWN, 1},   // no key: the first record
      {2, false, VK_DOWN, 3},  {2, false, VK_UP, 1},
      {1, false, VK_UP, 1},     // Up on the first record stays there
      {1, true, VK_UP, -1},     // ... or chooses the special row
      {-1, true, VK_DOWN, 1},   // Down from the special row: the first record
      {-1, true, VK_UP, -1},
      {2, false, VK_END, 5},   {4, false, VK_HOME, 1},
      {1, false, VK_NEXT, 5},   // a page is the visible rows (more than the list)
      {9, false, VK_DOWN, 1},   // a key the list lacks: the first record
  };
  for (const Case& C : Cases) {
    TLookupFixture F;
    F.Grid->SpecRow()->SetValue(-1);
    F.Grid->SpecRow()->SetCellsText(u"(нет)");
    F.Grid->SpecRow()->SetVisible(C.Spec);
    F.Grid->SpecRow()->SetShowIfNotInKeyList(false);
    F.Grid->SetKeyValue(C.Start == 0 ? Null() : Variant(C.Start));
    F.Key(C.Key);
    EXPECT_EQ(KeyInt(F.Grid->KeyValue()), C.Expected)
        << "start " << C.Start << " key " << C.Key << " spec " << C.Spec;
    if (C.Expected == -1) {
      EXPECT_TRUE(F.Grid->SpecRow()->Selected());
      EXPECT_EQ(F.Grid->SelectedItem(), u"(нет)");
    }
  }
}

TEST(DBLookupGrid, KeyNotInListSelectsTheSpecialRowAndStaysAtTheFirstRecord) {
  TLookupFixture F;
  F.Grid->SpecRow()->SetValue(-1);
  F.Grid->SpecRow()->SetVisible(true);
  F.Grid->SpecRow()->SetCellsText(u"(нет)");
  F.Grid->SetKeyValue(42);
  EXPECT_TRUE(F.Grid->SpecRow()->Selected());
  EXPECT_EQ(F.Grid->SelectedItem(), u"(нет)");
  EXPECT_EQ(F.List->FieldByName(u"ID")->AsInteger(), 1);
  EXPECT_FALSE(F.Grid->KeyRowVisible());
  // The selected special row is framed by a focus rectangle along its left edge.
  auto LeftEdgeColours = [&] {
    TBitmap Shot(F.Grid->Width(), F.Grid->Height());
    F.Grid->PaintTo(Shot.Canvas(), 0, 0);
    const TRect Cell = F.Grid->CellRect(0, F.Grid->SpecRowGridRow());
    const int Border = (F.Grid->Width() - F.Grid->ClientWidth()) / 2;   // PaintTo takes the frame
    std::set<TColor> Seen;
    for (int Y = Cell.Top + 1; Y < Cell.Bottom - 1; ++Y)
      Seen.insert(Shot.Canvas()->Pixels(Cell.Left + Border, Y + Border));
    return Seen.size();
  };
  EXPECT_GT(LeftEdgeColours(), 1u) << "dotted focus line";
  F.Grid->SetKeyValue(3);
  EXPECT_FALSE(F.Grid->SpecRow()->Selected());
  EXPECT_EQ(F.Grid->SelectedItem(), u"Лак");
  EXPECT_TRUE(F.Grid->KeyRowVisible());
  EXPECT_EQ(LeftEdgeColours(), 1u) << "no frame on a row that is not selected";
}

// The list moved by a program (or the grid's own search) while the key stays: the grid's
// current cell goes back to the key's row, the list stays where it was moved, and a search in
// progress ends unless it moved the list itself.
TEST(DBLookupGrid, CurrentCellFollowsTheKeysRowWhenTheListMoves) {
  TLookupFixture F;
  F.Grid->SetKeyValue(3);
  const int KeyRow = F.Grid->TopDataOffset() + 2;
  EXPECT_EQ(F.Grid->Row(), KeyRow);
  F.List->Next();
  EXPECT_EQ(F.List->FieldByName(u"ID")->AsInteger(), 4);
  EXPECT_EQ(F.Grid->Row(), KeyRow);
  EXPECT_TRUE(F.Grid->KeyRowVisible());
  F.List->First();
  EXPECT_EQ(F.Grid->Row(), KeyRow);

  F.Grid->StartInplaceSearch(u"Эм", -1, ltdAllZk);   // finds record 5 and keeps searching
  EXPECT_EQ(F.List->FieldByName(u"ID")->AsInteger(), 5);
  EXPECT_TRUE(F.Grid->InplaceSearching());
  EXPECT_EQ(F.Grid->Row(), KeyRow);
  F.List->Prior();
  EXPECT_FALSE(F.Grid->InplaceSearching());
  EXPECT_EQ(F.Grid->Row(), KeyRow);

  F.Grid->SetKeyValue(Null());   // no key: the grid keeps to the list's record
  F.List->Last();
  EXPECT_EQ(F.Grid->Row(), F.Grid->TopDataOffset() + 4);
  EXPECT_FALSE(F.Grid->KeyRowVisible());
}

TEST(DBLookupGrid, TypeAheadOnTheTestClock) {
  Cardinal Clock = 100000;
  SetTickCountForTests([&Clock] { return Clock; });
  TLookupFixture F(40);
  auto Type = [&F](Char C) { F.Grid->Perform(WM_CHAR, C, 0); };
  Type(u'к');
  EXPECT_EQ(KeyInt(F.Grid->KeyValue()), 1) << "Краска";
  Clock += 1500;
  Type(u'и');
  EXPECT_EQ(KeyInt(F.Grid->KeyValue()), 2) << "Кисть";
  EXPECT_EQ(F.Grid->SearchText(), u"ки");
  Type(u'q');   // no match: the prefix and key stay
  EXPECT_EQ(F.Grid->SearchText(), u"ки");
  Clock += 2001;
  Type(u'л');   // after the pause a new prefix
  EXPECT_EQ(KeyInt(F.Grid->KeyValue()), 3);
  EXPECT_EQ(F.Grid->SearchText(), u"л");
  // A prefix never grows past 32 characters.
  F.List->Append();
  F.List->FieldByName(u"ID")->SetAsInteger(99);
  F.List->FieldByName(u"NAME")->SetAsString(String(33, u'я'));
  F.List->Post();
  Clock += 3000;
  for (int I = 0; I < 32; ++I) Type(u'я');
  EXPECT_EQ(F.Grid->SearchText().size(), 32u);
  Type(u'я');
  EXPECT_EQ(F.Grid->SearchText().size(), 32u) << "the 33rd character is ignored";
  F.Grid->Perform(WM_CHAR, VK_BACK, 0);
  EXPECT_TRUE(F.Grid->SearchText().empty());
  SetTickCountForTests(nullptr);
}

TEST(DBLookupGrid, TwoFieldKeysOfALookupFieldReachTheDataRecord) {
  TLookupFixture F;
  auto* Pairs = new TArrayDataSet(F.Form);
  Pairs->FieldDefs()->Add(u"A", ftInteger);
  Pairs->FieldDefs()->Add(u"B", ftInteger);
  Pairs->FieldDefs()->Add(u"TXT", ftWideString, 20);
  Pairs->AddRow({1, 1, String(u"один-один")});
  Pairs->AddRow({1, 2, String(u"один-два")});
  Pairs->AddRow({2, 1, String(u"два-один")});
  Pairs->Open();
  auto* Data = new TArrayDataSet(F.Form);
  for (const char16_t* N : {u"KA", u"KB"}) {
    Data->FieldDefs()->Add(N, ftInteger);
    auto* Fld = new TIntegerField(F.Form);
    Fld->SetFieldName(N);
    Fld->SetDataSet(Data);
  }
  AddLookupField(Data, F.Form, u"lvTXT", u"KA;KB", Pairs, u"A;B", u"TXT");
  Data->AddRow({1, 2});
  Data->Open();
  auto* DataSource = new TDataSource(F.Form);
  DataSource->SetDataSet(Data);
  auto* G = new TDBLookupGridZk(F.Form);
  G->SetParent(F.Form);
  G->SetBounds(10, 200, 200, 120);
  G->HandleNeeded();
  G->SetDataSource(DataSource);
  G->SetDataField(u"lvTXT");
  ASSERT_TRUE(G->LookupMode());
  EXPECT_EQ(G->KeyField(), u"") << "reads empty in lookup mode";
  EXPECT_EQ(G->ListSource(), nullptr);
  ASSERT_TRUE(VarIsArray(G->KeyValue()));
  EXPECT_EQ(G->SelectedItem(), u"один-два");
  EXPECT_THROW(G->SetKeyField(u"A"), EDatabaseError);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Data->State(), dsEdit);
  EXPECT_EQ(Data->FieldByName(u"KA")->AsInteger(), 2);
  EXPECT_EQ(Data->FieldByName(u"KB")->AsInteger(), 1);
  EXPECT_EQ(G->SelectedItem(), u"два-один");
}

// Over a memory table every record of the list is a grid row: the chosen key's row is brought
// to the middle, keys step through the records, the bar covers the whole list, the wheel moves
// the rows shown, and a click takes the record under the mouse wherever the list was scrolled.
TEST(DBLookupGrid, AMemoryTableListIsShownRowByRow) {
  DBGridZkModuleInitialize();
  InitControls();
  auto* Form = new TForm(Application);
  Form->SetBounds(40, 40, 400, 400);
  auto* Table = new TMemTableZk(Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->FieldDefs()->Add(u"NAME", ftWideString, 20);
  Table->CreateDataSet();
  Table->DisableControls();
  for (int I = 1; I <= 1000; ++I) Table->AppendRecord({Variant(I), Variant(u"Колер " + IntToStr(I))});
  Table->First();
  Table->EnableControls();
  auto* Source = new TDataSource(Form);
  Source->SetDataSet(Table);
  auto* G = new TDBLookupGridZk(Form);
  G->SetParent(Form);
  G->SetBounds(10, 10, 200, 150);
  Form->Show();
  G->HandleNeeded();
  G->SetListSource(Source);
  G->SetKeyField(u"ID");
  G->SetListField(u"NAME");
  ASSERT_TRUE(G->UsesMemTableRows());
  const int Offset = G->TopDataOffset(), Half = G->RowCount() / 2;

  G->SetKeyValue(500);
  EXPECT_EQ(Table->RecNo(), 500);
  EXPECT_TRUE(G->KeyRowVisible());
  EXPECT_EQ(G->Row(), Offset + 499);
  EXPECT_EQ(G->TopRow(), Offset + 499 - Half) << "the key's row in the middle";
  EXPECT_EQ(G->RecordIndex(), 499);
  EXPECT_EQ(G->RecordCountShown(), 1000);

  struct Step { Word Key; int Expected; };
  for (const Step S : {Step{VK_DOWN, 501}, Step{VK_UP, 500}, Step{VK_UP, 499},
                       Step{VK_NEXT, 499 + G->RowCount()}, Step{VK_END, 1000}, Step{VK_HOME, 1}}) {
    G->Perform(WM_KEYDOWN, S.Key, 0);
    EXPECT_EQ(KeyInt(G->KeyValue()), S.Expected) << "key " << S.Key;
    EXPECT_TRUE(G->KeyRowVisible()) << "key " << S.Key;
  }

  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(G, SB_VERT, SI));
  EXPECT_EQ(SI.nMax - SI.nMin + 1, 1000) << "the bar spans the list";

  G->SetKeyValue(300);
  const int Top = G->TopRow();
  G->Perform(CM_MOUSEWHEEL, WPARAM(-WHEEL_DELTA) << 16, 0);
  EXPECT_EQ(G->TopRow(), Top + 1) << "the wheel moves the rows shown";
  EXPECT_EQ(KeyInt(G->KeyValue()), 300) << "... and not the key";

  const TRect Third = G->CellRect(0, G->TopRow() + 2);
  G->SelectRowAt(Third.Left + 5, Third.Top + 2);
  EXPECT_EQ(KeyInt(G->KeyValue()), G->TopRow() - Offset + 3) << "the row under the mouse";
  delete Form;
  DBGridZkModuleFinalize();
}

TEST(DBLookupGrid, UnknownListFieldIsADatabaseError) {
  TLookupFixture F;
  try {
    F.Grid->SetListField(u"NAME;NOPE");
    FAIL() << "no error";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Field 'NAME;NOPE' not found");
  }
  EXPECT_FALSE(F.Grid->ListActive());
}

TEST(DBLookupGrid, RowCountClampsAndHeightsSnapToWholeRows) {
  TLookupFixture F;
  F.Grid->SetRowCount(0);
  EXPECT_EQ(F.Grid->RowCount(), 1);
  F.Grid->SetRowCount(500);
  EXPECT_EQ(F.Grid->RowCount(), 100);
  F.Grid->SetRowCount(3);
  const int H3 = F.Grid->Height();
  F.Grid->SetRowCount(4);
  const int Row = F.Grid->Height() - H3;
  ASSERT_GT(Row, 0);
  F.Grid->SetHeight(H3 + Row / 2 + Row);   // between five and six rows... of four-plus-half
  EXPECT_EQ(F.Grid->RowCount(), 4);
  EXPECT_EQ(F.Grid->Height(), H3 + Row);
  // The special row adds its own row height.
  F.Grid->SpecRow()->SetVisible(true);
  F.Grid->SetRowCount(4);
  EXPECT_EQ(F.Grid->Height(), H3 + 2 * Row);
}

TEST(DBLookupGrid, UnsequencedListScrollBarTakesFivePositions) {
  auto* Form = new TForm(Application);
  auto* Set = new TUnsequencedDataSet(Form);
  TLookupFixture F(30, Set);
  F.Grid->SetRowCount(5);
  auto Pos = [&F] {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(F.Grid, SB_VERT, SI);
    return std::make_pair(SI.nMax, SI.nPos);
  };
  F.List->First();
  EXPECT_EQ(Pos(), std::make_pair(4, 0));
  F.List->MoveBy(10);
  EXPECT_EQ(Pos(), std::make_pair(4, 2));
  F.List->Last();
  EXPECT_EQ(Pos(), std::make_pair(4, 4));
  F.Grid->Perform(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(F.List->FieldByName(u"ID")->AsInteger(), 1);
  delete Form;
}

// --- the popup form ---------------------------------------------------------------------------

struct TPopupFixture : TLookupFixture {
  TPopupDataGridZk* Popup;
  int UserChanges = 0;
  std::vector<int> CloseUps;   // 1 accepted, 0 not

  TPopupFixture() : TLookupFixture(20) {
    Popup = new TPopupDataGridZk(Form);
    Popup->SetListSource(Source);
    Popup->SetKeyField(u"ID");
    Popup->SetListField(u"NAME;ID");
    Popup->SetShowTitles(true);
    Popup->SetRowCount(6);
    Popup->SetWidth(180);
    Popup->SetOnUserKeyValueChange([this](TObject*) { ++UserChanges; });
    Popup->SetOnMouseCloseUp([this](TObject*, bool Accept) { CloseUps.push_back(Accept); });
    Popup->Link().Open({300, 100});
    Application->ProcessMessages();
  }
  // The client point of the middle of data row R (0-based).
  TPoint RowPoint(int R) {
    const TRect Cell = Popup->CellRect(0, Popup->TopDataOffset() + R);
    return {(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2};
  }
  void Mouse(unsigned Msg, TPoint P, WPARAM Keys = 0) {
    Popup->Perform(Msg, Keys, MAKELPARAM(P.X, P.Y));
  }
};

TEST(DBLookupPopupGrid, HoverFollowsTheMouseAndOnlyTheUserFiresTheChangeEvent) {
  TPopupFixture F;
  EXPECT_FALSE(F.Popup->CanFocus());
  F.Popup->SetKeyValue(2);
  EXPECT_EQ(F.UserChanges, 0) << "a program's key fires nothing";
  F.Mouse(WM_MOUSEMOVE, F.RowPoint(3));
  EXPECT_EQ(KeyInt(F.Popup->KeyValue()), 4);
  EXPECT_EQ(F.UserChanges, 1);
  F.Popup->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(KeyInt(F.Popup->KeyValue()), 5);
  EXPECT_EQ(F.UserChanges, 2);
}

TEST(DBLookupPopupGrid, ReleaseOverTitlesKeepsItOpenOutsideClosesUnaccepted) {
  TPopupFixture F;
  const TPoint Title{20, 3};
  F.Mouse(WM_LBUTTONDOWN, F.RowPoint(1), MK_LBUTTON);
  F.Mouse(WM_LBUTTONUP, Title);
  EXPECT_TRUE(F.CloseUps.empty()) << "a release over the titles closes nothing";
  F.Mouse(WM_LBUTTONDOWN, F.RowPoint(1), MK_LBUTTON);
  F.Mouse(WM_LBUTTONUP, {F.Popup->Width() + 30, 10});
  ASSERT_EQ(F.CloseUps.size(), 1u);
  EXPECT_EQ(F.CloseUps[0], 0) << "outside: not accepted";
  F.Mouse(WM_LBUTTONDOWN, F.RowPoint(2), MK_LBUTTON);
  F.Mouse(WM_LBUTTONUP, F.RowPoint(2));
  ASSERT_EQ(F.CloseUps.size(), 2u);
  EXPECT_EQ(F.CloseUps[1], 1);
  EXPECT_EQ(KeyInt(F.Popup->KeyValue()), 3);
}

// The grid's deferred layout and the drop-down's grip message are two messages: a popup grid
// lays out on the one and moves its grip on the other.
TEST(DBLookupPopupGrid, DeferredLayoutAndGripMessagesAreDistinct) {
  ASSERT_NE(WM_GRID_DEFERLAYOUT, WM_DROPDOWN_SIZEGRIP);
  TPopupFixture F;
  F.Popup->SizeGrip()->SetPosition(sgpBottomRight);
  const int Layouts = F.Popup->LayoutCount();
  F.Popup->DeferLayoutChanged();
  PostMessage(F.Popup, WM_DROPDOWN_SIZEGRIP, sgcpToTop, 0);
  Application->ProcessMessages();
  EXPECT_GT(F.Popup->LayoutCount(), Layouts);
  EXPECT_EQ(F.Popup->SizeGrip()->Position(), sgpTopRight);
}

TEST(DBLookupPopupGrid, SizeNeverBelowOneScrollBarSquare) {
  TPopupFixture F;
  F.Popup->SetBounds(F.Popup->Left(), F.Popup->Top(), 2, 2);
  EXPECT_GE(F.Popup->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_GE(F.Popup->Height(), GetSystemMetrics(SM_CYVSCROLL));
  EXPECT_TRUE(F.Popup->SizeGripResized());
}

}  // namespace
