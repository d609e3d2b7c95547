// DataSetTest.cpp - the dataset framework on the array dataset: event orders of the editing
// sequences, the rules the application relies on, calculated and lookup fields, disabled
// controls, master/detail re-runs, bookmarks, Locate and Lookup.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Streams.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

using Log = std::vector<std::string>;

std::string Name(TDataSetState State) {
  static const char* Names[] = {"Inactive", "Browse", "Edit", "Insert"};
  return State <= dsInsert ? Names[State] : "Other";
}

// A link that records what reaches it.
class TRecordingLink : public TDataLink {
public:
  explicit TRecordingLink(Log& L) : FLog(L) {}
  Log& FLog;

protected:
  void ActiveChanged() override { FLog.push_back(Active() ? "link:active" : "link:inactive"); }
  void EditingChanged() override { FLog.push_back(Editing() ? "link:editing" : "link:browsing"); }
  void DataSetChanged() override { FLog.push_back("link:datasetchanged"); }
  void DataSetScrolled(int) override { FLog.push_back("link:scrolled"); }
  void RecordChanged(TField* Field) override {
    FLog.push_back(Field ? "link:field " + ToUtf8(Field->FieldName()) : "link:record");
  }
  void DataEvent(TDataEvent Event, std::intptr_t Info) override {
    if (Event == deDisabledStateChange) FLog.push_back(Info ? "link:enabled" : "link:disabled");
    TDataLink::DataEvent(Event, Info);
  }
};

class DataSetTest : public ::testing::Test {
protected:
  void SetUp() override {
    Owner = std::make_unique<TComponent>(nullptr);
    Colors = new TArrayDataSet(Owner.get());
    Colors->FieldDefs()->Add(u"ID", ftAutoInc);
    Colors->FieldDefs()->Add(u"NAME", ftWideString, 20);
    Colors->FieldDefs()->Add(u"PRICE", ftFloat);
    Colors->AddRow({1, u"Белый", 10.5});
    Colors->AddRow({2, u"Черный", 20.0});
    Colors->AddRow({3, u"Синий", 30.25});
    Source = new TDataSource(Owner.get());
    Source->SetDataSet(Colors);
  }

  void Hook(TDataSet* DS) {
    auto Add = [this](const char* Text) { return [this, Text](TDataSet*) { L.push_back(Text); }; };
    DS->SetBeforeInsert(Add("BeforeInsert"));
    DS->SetAfterInsert(Add("AfterInsert"));
    DS->SetOnNewRecord(Add("OnNewRecord"));
    DS->SetBeforeEdit(Add("BeforeEdit"));
    DS->SetAfterEdit(Add("AfterEdit"));
    DS->SetBeforePost(Add("BeforePost"));
    DS->SetAfterPost(Add("AfterPost"));
    DS->SetBeforeCancel(Add("BeforeCancel"));
    DS->SetAfterCancel(Add("AfterCancel"));
    DS->SetBeforeDelete(Add("BeforeDelete"));
    DS->SetAfterDelete(Add("AfterDelete"));
    DS->SetBeforeScroll(Add("BeforeScroll"));
    DS->SetAfterScroll(Add("AfterScroll"));
    Source->SetOnStateChange([this](TObject*) { L.push_back("State:" + Name(Colors->State())); });
  }

  std::unique_ptr<TComponent> Owner;
  TArrayDataSet* Colors = nullptr;
  TDataSource* Source = nullptr;
  Log L;
};

TEST_F(DataSetTest, EventOrdersOfTheEditingSequences) {
  Colors->Open();
  Hook(Colors);
  struct Case {
    const char* Name;
    std::function<void()> Action;
    Log Expected;
  } Cases[] = {
      {"append+post",
       [&] { Colors->Append(); Colors->FieldByName(u"NAME")->SetAsString(u"Зелёный"); Colors->Post(); },
       {"BeforeInsert", "BeforeScroll", "State:Insert", "OnNewRecord", "AfterInsert", "AfterScroll",
        "BeforePost", "State:Browse", "AfterPost"}},
      {"edit+cancel",
       [&] { Colors->Edit(); Colors->Cancel(); },
       {"BeforeEdit", "State:Edit", "AfterEdit", "BeforeCancel", "State:Browse", "AfterCancel"}},
      {"insert+cancel",
       [&] { Colors->Insert(); Colors->Cancel(); },
       {"BeforeInsert", "BeforeScroll", "State:Insert", "OnNewRecord", "AfterInsert", "AfterScroll",
        "BeforeCancel", "BeforeScroll", "State:Browse", "AfterCancel", "AfterScroll"}},
      {"delete",
       [&] { Colors->Delete(); },
       {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}},
  };
  for (auto& C : Cases) {
    L.clear();
    C.Action();
    EXPECT_EQ(C.Expected, L) << C.Name;
  }
}

TEST_F(DataSetTest, NewRowKeyIsReadableRightAfterPost) {
  Colors->Open();
  Colors->Append();
  EXPECT_TRUE(Colors->FieldByName(u"ID")->IsNull());
  Colors->FieldByName(u"NAME")->SetAsString(u"Красный");
  Colors->Post();
  EXPECT_EQ(4, Colors->FieldByName(u"ID")->AsInteger());
  EXPECT_EQ(u"Красный", Colors->FieldByName(u"NAME")->AsString());
  EXPECT_EQ(4, Colors->RecordCount());
}

TEST_F(DataSetTest, MovingTheCursorPostsAModifiedRecordAndClosingDiscardsIt) {
  Colors->Open();
  Colors->Edit();
  Colors->FieldByName(u"PRICE")->SetAsFloat(99);
  Colors->Next();
  EXPECT_EQ(dsBrowse, Colors->State());
  EXPECT_EQ(99.0, Colors->Row(0)[2].AsDouble());

  Colors->Edit();
  Colors->FieldByName(u"PRICE")->SetAsFloat(77);
  Colors->Close();
  EXPECT_EQ(20.0, Colors->Row(1)[2].AsDouble());
}

TEST_F(DataSetTest, OnChangeFiresOnEveryWriteAlsoForAnEqualValue) {
  Colors->Open();
  int Changes = 0;
  Colors->FieldByName(u"NAME")->SetOnChange([&](TField*) { ++Changes; });
  Colors->Edit();
  Colors->FieldByName(u"NAME")->SetAsString(u"Белый");
  Colors->FieldByName(u"NAME")->SetAsString(u"Белый");
  EXPECT_EQ(2, Changes);
  EXPECT_TRUE(Colors->Modified());
}

TEST_F(DataSetTest, OnValidateSeesTheNewValueAndCanRefuseIt) {
  Colors->Open();
  TField* Price = Colors->FieldByName(u"PRICE");
  Price->SetOnValidate([](TField* F) {
    if (F->AsFloat() < 0) throw EDatabaseError(u"negative");
  });
  Colors->Edit();
  EXPECT_THROW(Price->SetAsFloat(-1), EDatabaseError);
  EXPECT_EQ(10.5, Price->AsFloat());
  Price->SetAsFloat(5);
  EXPECT_EQ(5.0, Price->AsFloat());
}

TEST_F(DataSetTest, PostErrorEventDecidesFailAbortRetry) {
  Colors->Open();
  int Attempts = 0;
  Colors->SetBeforePost([&](TDataSet*) {});
  TField* Name = Colors->FieldByName(u"NAME");
  Name->SetRequired(true);
  Colors->Append();
  // Retry after the handler fills the missing value.
  Colors->SetOnPostError([&](TDataSet*, EDatabaseError&, TDataAction& Action) {
    ++Attempts;
    Name->SetAsString(u"Охра");
    Action = daRetry;
  });
  Colors->Post();
  EXPECT_EQ(1, Attempts);
  EXPECT_EQ(dsBrowse, Colors->State());

  Colors->Append();
  Colors->SetOnPostError([](TDataSet*, EDatabaseError&, TDataAction& Action) { Action = daAbort; });
  EXPECT_THROW(Colors->Post(), EAbort);
  EXPECT_EQ(dsInsert, Colors->State());
  Colors->SetOnPostError(nullptr);
  try {
    Colors->Post();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Field 'NAME' must have a value", E.Message());
  }
}

TEST_F(DataSetTest, CalculatedAndLookupFields) {
  auto* Stock = new TArrayDataSet(Owner.get());
  Stock->FieldDefs()->Add(u"COLOR_ID", ftInteger);
  Stock->FieldDefs()->Add(u"AM", ftFloat);
  Stock->AddRow({2, 3.0});
  Stock->AddRow({3, 4.0});
  for (auto* F : {static_cast<TField*>(new TIntegerField(Owner.get())),
                  static_cast<TField*>(new TFloatField(Owner.get()))}) {
    F->SetFieldName(F->DataType() == ftInteger ? u"COLOR_ID" : u"AM");
    F->SetDataSet(Stock);
  }
  auto* Name = new TWideStringField(Owner.get());
  Name->SetFieldName(u"lvNAME");
  Name->SetFieldKind(fkLookup);
  Name->SetKeyFields(u"COLOR_ID");
  Name->SetLookupDataSet(Colors);
  Name->SetLookupKeyFields(u"ID");
  Name->SetLookupResultField(u"NAME");
  Name->SetDataSet(Stock);
  auto* Sum = new TFloatField(Owner.get());
  Sum->SetFieldName(u"cvSUM");
  Sum->SetFieldKind(fkCalculated);
  Sum->SetDataSet(Stock);
  int Calcs = 0;
  Stock->SetOnCalcFields([&](TDataSet* DS) {
    ++Calcs;
    DS->FieldByName(u"cvSUM")->SetAsFloat(DS->FieldByName(u"AM")->AsFloat() * 2);
  });
  Colors->Open();
  Stock->Open();
  EXPECT_EQ(u"Черный", Name->AsString());
  EXPECT_EQ(6.0, Sum->AsFloat());
  Stock->Next();
  EXPECT_EQ(u"Синий", Name->AsString());

  // Editing a data field recalculates; writing the lookup field writes its key.
  Stock->Edit();
  Stock->FieldByName(u"AM")->SetAsFloat(10);
  EXPECT_EQ(20.0, Sum->AsFloat());
  Name->SetAsString(u"Белый");
  EXPECT_EQ(1, Stock->FieldByName(u"COLOR_ID")->AsInteger());
  EXPECT_EQ(u"Белый", Name->AsString());
  Stock->Post();
  EXPECT_GT(Calcs, 0);
  EXPECT_EQ(1, Stock->Row(1)[0].AsInteger());

  // No match gives Null, also through the cache.
  Name->SetLookupCache(true);
  Stock->Edit();
  Stock->FieldByName(u"COLOR_ID")->SetAsInteger(42);
  EXPECT_TRUE(Name->IsNull());
  Stock->Cancel();
  EXPECT_EQ(u"Белый", Name->AsString());
  // The lookup left the lookup dataset's cursor where it was.
  EXPECT_EQ(1, Colors->RecNo());
}

TEST_F(DataSetTest, DisableControlsHoldsEventsAndReplaysOneChange) {
  Colors->Open();
  TRecordingLink Link(L);
  Link.SetDataSource(Source);
  L.clear();
  Colors->DisableControls();
  Colors->DisableControls();
  EXPECT_TRUE(Colors->ControlsDisabled());
  Colors->Next();
  Colors->Edit();
  Colors->FieldByName(u"NAME")->SetAsString(u"Х");
  Colors->Post();
  Colors->EnableControls();
  EXPECT_EQ(Log{"link:disabled"}, L);
  Colors->EnableControls();
  EXPECT_EQ((Log{"link:disabled", "link:enabled", "link:datasetchanged"}), L);
  EXPECT_FALSE(Colors->ControlsDisabled());

  // A state change while disabled is replayed as a state change.
  L.clear();
  Colors->DisableControls();
  Colors->Edit();
  Colors->EnableControls();
  EXPECT_EQ((Log{"link:disabled", "link:enabled", "link:editing", "link:datasetchanged"}), L);
}

TEST_F(DataSetTest, LinkSeesFieldChangesButNotItsOwnWhileUpdating) {
  Colors->Open();
  struct TWriter : TRecordingLink {
    using TRecordingLink::TRecordingLink;
    void UpdateData() override { DataSet()->FieldByName(u"NAME")->SetAsString(u"Y"); }
  } Writer(L);
  Writer.SetDataSource(Source);
  Colors->Edit();
  L.clear();
  Colors->FieldByName(u"PRICE")->SetAsFloat(1);
  EXPECT_EQ(Log{"link:field PRICE"}, L);
  L.clear();
  Colors->UpdateRecord();
  EXPECT_EQ(Log{}, L);
  EXPECT_EQ(u"Y", Colors->FieldByName(u"NAME")->AsString());
}

TEST_F(DataSetTest, BufferWindowFollowsTheLinkAndScrolls) {
  for (int I = 4; I <= 10; ++I) Colors->AddRow({I, Variant(u"N" + IntToStr(I)), 1.0});
  TRecordingLink Grid(L);
  Grid.SetBufferCount(4);
  Grid.SetDataSource(Source);
  Colors->Open();
  EXPECT_EQ(4, Grid.RecordCount());
  EXPECT_EQ(0, Grid.ActiveRecord());
  EXPECT_EQ(3, Colors->MoveBy(3));
  EXPECT_EQ(3, Grid.ActiveRecord());
  Colors->Next();
  EXPECT_EQ(3, Grid.ActiveRecord());
  EXPECT_EQ(5, Colors->RecNo());
  // Switching the link's active record changes what the fields report.
  Grid.SetActiveRecord(0);
  EXPECT_EQ(u"Черный", Colors->FieldByName(u"NAME")->AsString());
  Grid.SetActiveRecord(3);
  EXPECT_EQ(5, Colors->MoveBy(100));
  EXPECT_TRUE(Colors->Eof());
  EXPECT_EQ(10, Colors->FieldByName(u"ID")->AsInteger());
  Colors->First();
  EXPECT_TRUE(Colors->Bof());
  EXPECT_EQ(0, Colors->MoveBy(-1));
}

// Sizes the record window from InternalOpen, before its cursor can be read.
class TEarlyWindowDataSet : public TArrayDataSet {
public:
  using TArrayDataSet::TArrayDataSet;
  int EarlyBufferCount = 1;

protected:
  void InternalOpen() override {
    SetBufferCount(EarlyBufferCount);
    TArrayDataSet::InternalOpen();
  }
};

TEST_F(DataSetTest, FirstRecordIsCurrentRightAfterOpenWhateverSizedTheWindow) {
  struct Case { int Early, LinkBuffers, Records; } Cases[] = {
      {1, 0, 1}, {4, 0, 3}, {1, 4, 3}, {4, 4, 3}, {2, 1, 1}};
  for (const Case& C : Cases) {
    SCOPED_TRACE("early " + std::to_string(C.Early) + ", link " + std::to_string(C.LinkBuffers));
    auto* Set = new TEarlyWindowDataSet(Owner.get());
    Set->EarlyBufferCount = C.Early;
    Set->FieldDefs()->Add(u"ID", ftInteger);
    Set->FieldDefs()->Add(u"NAME", ftWideString, 20);
    for (int I = 1; I <= 3; ++I) Set->AddRow({I, Variant(u"N" + IntToStr(I))});
    auto* Src = new TDataSource(Owner.get());
    Src->SetDataSet(Set);
    TRecordingLink Grid(L);
    if (C.LinkBuffers) {
      Grid.SetBufferCount(C.LinkBuffers);
      Grid.SetDataSource(Src);
    }
    int Scrolls = 0;
    Set->SetAfterScroll([&Scrolls](TDataSet*) { ++Scrolls; });
    for (int Round = 0; Round < 2; ++Round) {  // and again after closing
      Set->Open();
      EXPECT_FALSE(Set->IsEmpty());
      EXPECT_TRUE(Set->Bof());
      EXPECT_EQ(u"N1", Set->FieldByName(u"NAME")->AsString());
      EXPECT_EQ(1, Set->RecNo());
      EXPECT_EQ(C.LinkBuffers ? C.Records : 0, Grid.RecordCount());
      Set->Next();
      EXPECT_EQ(u"N2", Set->FieldByName(u"NAME")->AsString());
      Set->Close();
    }
    EXPECT_EQ(4, Scrolls);  // one on each open, one for each Next
    Grid.SetDataSource(nullptr);
    delete Src;
    delete Set;
  }
}

TEST_F(DataSetTest, BookmarksSurviveInsertsAndDeletes) {
  Colors->Open();
  Colors->Last();
  TBookmark Third = Colors->GetBookmark();
  Colors->First();
  TBookmark First = Colors->GetBookmark();
  Colors->Insert();
  Colors->FieldByName(u"NAME")->SetAsString(u"Новый");
  Colors->Post();
  EXPECT_EQ(u"Новый", Colors->FieldByName(u"NAME")->AsString());
  EXPECT_EQ(1, Colors->RecNo());
  Colors->GotoBookmark(Third);
  EXPECT_EQ(u"Синий", Colors->FieldByName(u"NAME")->AsString());
  EXPECT_EQ(-1, Colors->CompareBookmarks(First, Third));
  EXPECT_EQ(1, Colors->CompareBookmarks(Third, TBookmark{}));
  EXPECT_EQ(0, Colors->CompareBookmarks({}, {}));
  Colors->GotoBookmark(First);
  Colors->Delete();
  EXPECT_FALSE(Colors->BookmarkValid(First));
  EXPECT_EQ(u"Черный", Colors->FieldByName(u"NAME")->AsString());  // the next row
  Colors->Last();
  Colors->Delete();
  EXPECT_EQ(u"Черный", Colors->FieldByName(u"NAME")->AsString());  // the prior at the end
  EXPECT_THROW(Colors->GotoBookmark(Third), EDatabaseError);
}

TEST_F(DataSetTest, LocateAndLookup) {
  Colors->Open();
  int Scrolls = 0;
  Colors->SetAfterScroll([&](TDataSet*) { ++Scrolls; });
  struct Case {
    const char16_t* Fields;
    Variant Values;
    TLocateOptions Options;
    int FoundId;  // 0: not found, cursor stays
  } Cases[] = {
      {u"ID", 2, {}, 2},
      {u"NAME", u"синий", {}, 0},
      {u"NAME", u"синий", {loCaseInsensitive}, 3},
      {u"NAME", u"Чер", {loPartialKey}, 2},
      {u"NAME;PRICE", VarArrayOf({u"Белый", 10.5}), {}, 1},
      {u"NAME;PRICE", VarArrayOf({u"Белый", 11}), {}, 0},
      {u"ID", 99, {}, 0},
  };
  for (const auto& C : Cases) {
    Colors->First();
    Colors->Next();
    Scrolls = 0;
    bool Found = Colors->Locate(C.Fields, C.Values, C.Options);
    EXPECT_EQ(C.FoundId != 0, Found) << ToUtf8(C.Fields);
    EXPECT_EQ(C.FoundId ? C.FoundId : 2, Colors->FieldByName(u"ID")->AsInteger()) << ToUtf8(C.Fields);
    EXPECT_EQ(Found ? 1 : 0, Scrolls);
  }
  Colors->First();
  EXPECT_EQ(u"Синий", Colors->Lookup(u"ID", 3, u"NAME").AsString());
  EXPECT_TRUE(Colors->Lookup(u"ID", 7, u"NAME").IsNull());
  Variant Both = Colors->Lookup(u"ID", 2, u"NAME;PRICE");
  EXPECT_EQ(20.0, Both[1].AsDouble());
  EXPECT_EQ(1, Colors->RecNo());
  EXPECT_THROW(Colors->Locate(u"NOPE", 1, {}), EDatabaseError);
}

TEST_F(DataSetTest, FiltersByExpressionAndEvent) {
  Colors->Open();
  Colors->SetFilter(u"PRICE > 15");
  Colors->SetFilteredValue(true);
  EXPECT_EQ(2, Colors->RecordCount());
  EXPECT_EQ(u"Черный", Colors->FieldByName(u"NAME")->AsString());
  Colors->SetOnFilterRecordValue([](TDataSet* DS, bool& Accept) {
    Accept = DS->FieldByName(u"ID")->AsInteger() != 2;
  });
  EXPECT_EQ(1, Colors->RecordCount());
  EXPECT_EQ(u"Синий", Colors->FieldByName(u"NAME")->AsString());
  Colors->SetFilteredValue(false);
  EXPECT_EQ(3, Colors->RecordCount());
}

TEST_F(DataSetTest, DetailReRunsOnlyWhenTheMastersLinkedValuesChange) {
  auto* Lines = new TArrayDataSet(Owner.get());
  Lines->FieldDefs()->Add(u"COLOR_ID", ftInteger);
  Lines->FieldDefs()->Add(u"AM", ftFloat);
  Lines->AddRow({1, 1.0});
  Lines->AddRow({2, 2.0});
  Lines->AddRow({2, 3.0});
  Lines->Params()->CreateParam(ftInteger, u"COLOR_ID", ptInput);
  auto* Master = new TArrayDataSet(Owner.get());
  Master->FieldDefs()->Add(u"COLOR_ID", ftInteger);
  Master->FieldDefs()->Add(u"NOTE", ftWideString, 10);
  Master->AddRow({1, u"a"});
  Master->AddRow({2, u"b"});
  Master->AddRow({2, u"c"});
  auto* MasterSource = new TDataSource(Owner.get());
  MasterSource->SetDataSet(Master);
  Lines->SetMasterSource(MasterSource);
  Master->Open();
  Lines->Open();
  EXPECT_EQ(1, Lines->RunCount());
  EXPECT_EQ(1, Lines->RecordCount());
  Master->Next();
  EXPECT_EQ(2, Lines->RunCount());
  EXPECT_EQ(2, Lines->RecordCount());
  Master->Next();  // same key: no re-run
  EXPECT_EQ(2, Lines->RunCount());
  Master->Edit();
  Master->FieldByName(u"NOTE")->SetAsString(u"z");
  Master->Post();  // a master post re-runs nothing
  EXPECT_EQ(2, Lines->RunCount());
  Lines->Last();
  // A refresh: reopened and located back to the same key with controls disabled.
  Master->DisableControls();
  Master->Close();
  Master->Open();
  Master->Locate(u"NOTE", u"z", {});
  Master->EnableControls();
  EXPECT_EQ(2, Lines->RunCount());
  Master->First();
  EXPECT_EQ(3, Lines->RunCount());
  EXPECT_EQ(1, Lines->FieldByName(u"COLOR_ID")->AsInteger());
}

TEST_F(DataSetTest, FieldTextsFormatsAndConversions) {
  Colors->Open();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  auto* Price = static_cast<TFloatField*>(Colors->FieldByName(u"PRICE"));
  Price->SetDisplayFormat(u"0.00");
  EXPECT_EQ(u"10,50", Price->DisplayText());
  EXPECT_EQ(u"10,50", Price->Text());  // no EditFormat: the display format edits too
  Colors->Edit();
  Price->SetText(u"12,25");
  EXPECT_EQ(12.25, Price->AsFloat());
  EXPECT_THROW(Price->SetText(u"abc"), EConvertError);
  Price->SetText(u"");
  EXPECT_TRUE(Price->IsNull());
  EXPECT_EQ(0.0, Price->AsFloat());
  TField* Name = Colors->FieldByName(u"NAME");
  Name->SetAsString(u"123456789012345678901234");
  EXPECT_EQ(20u, Name->AsString().size());
  Name->SetOnGetText([](TField*, String& Text, bool Display) { Text = Display ? u"D" : u"E"; });
  EXPECT_EQ(u"D", Name->DisplayText());
  EXPECT_EQ(u"E", Name->Text());
  Colors->Cancel();
  try {
    Colors->FieldByName(u"MISSING");
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Field 'MISSING' not found", E.Message());
  }
  Colors->SetName(u"Colors");
  try {
    Colors->FieldByName(u"MISSING");
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Colors: Field 'MISSING' not found", E.Message());
  }
}

TEST_F(DataSetTest, ClosedAndReadOnlyDataSetsRefuse) {
  EXPECT_THROW(Colors->Next(), EDatabaseError);
  Colors->SetReadOnly(true);
  Colors->Open();
  try {
    Colors->Edit();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Cannot modify a read-only dataset", E.Message());
  }
  EXPECT_THROW(Colors->FieldByName(u"NAME")->SetAsString(u"x"), EDatabaseError);
}

TEST_F(DataSetTest, OwnerFreesDataSetFieldsAndSources) {
  auto* Persistent = new TIntegerField(Owner.get());
  Persistent->SetFieldName(u"ID");
  Persistent->SetDataSet(Colors);
  Colors->Open();
  EXPECT_EQ(1, Colors->FieldCount());
  delete Colors;
  EXPECT_EQ(nullptr, Persistent->DataSet());
  EXPECT_EQ(nullptr, Source->DataSet());
}

}  // namespace

namespace {

TEST(BlobStreams, ReadAndWriteTheFieldsBytes) {
  TArrayDataSet Set(nullptr);
  Set.FieldDefs()->Add(u"DATA", ftBlob);
  Set.FieldDefs()->Add(u"NOTE", ftMemo);
  Set.FieldDefs()->Add(u"NAME", ftWideString, 10);
  Set.AddRow({Variant(String{u'\x00', u'\xFF', u'A'}), Variant(u"Ёж")});
  Set.Open();
  auto ReadAll = [&Set](const char16_t* Name) {
    std::unique_ptr<TStream> S(Set.CreateBlobStream(Set.FieldByName(Name), bmRead));
    std::string Bytes(static_cast<size_t>(S->Size()), '\0');
    S->ReadBuffer(Bytes.data(), S->Size());
    return Bytes;
  };
  EXPECT_EQ(std::string("\0\xFF" "A", 3), ReadAll(u"DATA"));
  EXPECT_EQ("Ёж", ReadAll(u"NOTE"));  // a memo's text as UTF-8
  EXPECT_THROW(Set.CreateBlobStream(Set.FieldByName(u"DATA"), bmWrite), EDatabaseError);
  EXPECT_THROW(Set.CreateBlobStream(Set.FieldByName(u"NAME"), bmRead), EDatabaseError);

  Set.Edit();
  {
    std::unique_ptr<TStream> S(Set.CreateBlobStream(Set.FieldByName(u"DATA"), bmWrite));
    S->WriteBuffer("\x01\x02", 2);
    EXPECT_EQ(std::string("\x01\x02"), static_cast<TBlobField*>(Set.FieldByName(u"DATA"))->AsBytes());
    std::unique_ptr<TStream> Note(Set.CreateBlobStream(Set.FieldByName(u"NOTE"), bmReadWrite));
    Note->Seek(0, soEnd);
    Note->WriteBuffer("!", 1);
  }
  Set.Post();
  EXPECT_EQ(std::string("\x01\x02"), ReadAll(u"DATA"));
  EXPECT_EQ(u"Ёж!", Set.FieldByName(u"NOTE")->AsString());
}

}  // namespace

TEST_F(DataSetTest, ReadOnlyFieldRefusesWritesWithItsMessage) {
  Colors->Open();
  TField* Name = Colors->FieldByName(u"NAME");
  Name->SetReadOnly(true);
  Colors->Edit();
  Colors->FieldByName(u"PRICE")->SetAsFloat(11);  // the other fields stay writable
  try {
    Name->SetAsString(u"X");
    ADD_FAILURE() << "a read-only field was written";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Field 'NAME' cannot be modified", E.Message());
  }
  EXPECT_THROW(Name->Clear(), EDatabaseError);
  Colors->Post();
  EXPECT_EQ(u"Белый", Name->AsString());
  EXPECT_EQ(11.0, Colors->FieldByName(u"PRICE")->AsFloat());
}

TEST_F(DataSetTest, SwitchingBetweenOpenDataSetsDeactivatesAndReactivatesTheLinks) {
  auto* Other = new TArrayDataSet(Owner.get());
  Other->FieldDefs()->Add(u"CODE", ftInteger);
  Other->AddRow({7});
  Other->Open();
  Colors->Open();
  TRecordingLink Link(L);
  Link.SetDataSource(Source);
  L.clear();
  Source->SetDataSet(Other);
  ASSERT_GE(L.size(), 2u);
  EXPECT_EQ(Log(L.begin(), L.begin() + 2), (Log{"link:inactive", "link:active"}));
  EXPECT_EQ(Link.DataSet(), Other);
  Link.SetDataSource(nullptr);
}
