// MemTableDataZkTest.cpp - the container, structure, counter, records and change log.
#include "gridlib/memtable/MemTableDataZk.h"

#include <gtest/gtest.h>

#include "gridlib/memtable/tests/MemTableTestUtil.h"

namespace {

String RaisedText(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const Exception& E) {
    return E.Message();
  }
  return u"(nothing raised)";
}

TEST(AutoIncrementZk, Sequences) {
  TAutoIncrementZk A;
  EXPECT_EQ(A.Promote(), -1);
  EXPECT_EQ(A.Promote(), -2);
  TAutoIncrementZk B;
  B.SetStep(1);
  B.SetInitValue(10);
  EXPECT_EQ(B.Promote(), 10);
  B.SetInitValue(20);  // CurValue (11) has moved on: it stays
  EXPECT_EQ(B.CurValue(), 11);
}

TEST(MemTableDataZk, AutoIncrementFieldsShareOneValuePerRecord) {
  auto Data = MakeContainer({{u"ID", ftAutoInc}, {u"N", ftInteger}, {u"ID2", ftInteger}});
  Data->DataStruct()->DataFields(2)->SetAutoIncrement(true);
  TMemoryRecordZk* R1 = AddRec(Data.get(), {});
  TMemoryRecordZk* R2 = AddRec(Data.get(), {});
  EXPECT_EQ(R1->GetDataValue(0, dvvValueZk).AsInteger(), -1);
  EXPECT_EQ(R1->GetDataValue(2, dvvValueZk).AsInteger(), -1);
  EXPECT_TRUE(R1->GetDataValue(1, dvvValueZk).IsNull());
  EXPECT_EQ(R2->GetDataValue(0, dvvValueZk).AsInteger(), -2);
  EXPECT_FALSE(Data->IsEmpty());
  EXPECT_EQ(R1->HashCode(), 1u);
  EXPECT_EQ(R2->HashCode(), 2u);
}

TEST(MTDataStructZk, NamesAndLookups) {
  auto Data = MakeContainer({{u"name", ftString}, {u"Цвет", ftString}});
  TMTDataStructZk* S = Data->DataStruct();
  EXPECT_EQ(S->FieldIndex(u"NAME"), 0);
  EXPECT_EQ(S->FieldIndex(u"ЦВЕТ"), -1);  // FieldIndex folds ASCII letters only
  EXPECT_EQ(S->FindField(u"ЦВЕТ"), S->DataFields(1));
  EXPECT_EQ(RaisedText([&] {
              std::vector<int> I;
              S->FieldsIndex(u"name;nope", I);
            }),
            u"DataStruct: Field 'nope' not found");
  EXPECT_EQ(RaisedText([&] { S->DataFields(1)->SetFieldName(u"NAME"); }),
            u"Duplicate field name 'NAME'");
  EXPECT_EQ(RaisedText([&] { S->DataFields(1)->SetFieldName(u""); }), u"Field name missing");
  EXPECT_EQ(RaisedText([&] { S->DataFields(0)->SetSize(5); }), u"(nothing raised)");
  auto Num = MakeContainer({{u"N", ftInteger}});
  EXPECT_EQ(RaisedText([&] { Num->DataStruct()->DataFields(0)->SetSize(5); }), u"Invalid field size");
  EXPECT_EQ(RaisedText([&] { Num->DataStruct()->DataFields(0)->AssignDataType(ftString); }),
            u"Can not assign DataType from Field");
}

TEST(MTDataStructZk, CreateUniqueName) {
  struct TCase {
    const char16_t* FieldName;
    const char16_t* Expected;
  };
  // Each row adds a string field to the same structure, in order.
  const TCase Cases[] = {
      {u"My Field", u"MyField"},  {u"MyField", u"MyField2"}, {u"1ab", u"MTStringDataFieldZk1ab"},
      {u"Цена", u"MTStringDataFieldZk"}, {u"Цена_1", u"_1"},  {u"", u"MTStringDataFieldZk2"},
  };
  auto Data = MakeContainer({});
  TMTDataStructZk* S = Data->DataStruct();
  for (const TCase& C : Cases) {
    TMTDataFieldZk* F = S->CreateField(TMTStringDataFieldZk::ClassInfo());
    const String Name = S->CreateUniqueName(F, C.FieldName);
    EXPECT_EQ(Name, C.Expected) << StringToUtf8(C.FieldName);
    F->SetName(Name);
  }
}

TEST(MTDataStructZk, AssignRefusedWithRecords) {
  auto Data = MakeContainer({{u"N", ftInteger}});
  auto Other = MakeContainer({{u"A", ftString}, {u"B", ftFloat}});
  AddRec(Data.get(), {1});
  EXPECT_EQ(RaisedText([&] { Data->DataStruct()->Assign(Other->DataStruct()); }),
            u"Can not assign struct for not empty list of records");
  auto Empty = MakeContainer({});
  Empty->DataStruct()->Assign(Other->DataStruct());
  ASSERT_EQ(Empty->DataStruct()->Count(), 2);
  EXPECT_EQ(Empty->DataStruct()->DataFields(1)->DataType(), ftFloat);
}

TEST(MemoryRecordZk, ValueAccess) {
  auto Data = MakeContainer({{u"I", ftInteger}, {u"S", ftString}, {u"V", ftVariant}});
  TMemoryRecordZk* R = AddRec(Data.get(), {u"42", Null(), 2.5});
  EXPECT_EQ(R->GetDataValue(0, dvvValueZk).VType(), varInteger);
  EXPECT_EQ(R->GetDataValue(0, dvvValueZk).AsInteger(), 42);
  EXPECT_TRUE(R->GetDataValue(1, dvvValueZk).IsNull());
  EXPECT_EQ(R->GetDataValue(2, dvvValueZk).VType(), varDouble);
  Variant Two = R->GetDataValues(u"I;S", dvvValueZk);
  EXPECT_EQ(Two.ArrayLowBound(), 0);
  EXPECT_EQ(Two.ArrayHighBound(), 1);
  EXPECT_EQ(RaisedText([&] { R->GetDataValues(u"nope", dvvValueZk); }), u"List index out of bounds (-1)");
  EXPECT_EQ(RaisedText([&] { R->GetDataValue(0, dvvOldValueZk); }),
            u"TMemoryRecordZk.GetDataValues: Old values is not accessible.");
  EXPECT_EQ(RaisedText([&] { R->GetDataValue(0, dvvEditValueZk); }),
            u"TMemoryRecordZk.GetDataValues: Edit values is not accessible.");
  EXPECT_EQ(RaisedText([&] { R->Cancel(); }), u"Dataset not in edit or insert mode");
}

// A builder takes values in any order (a load copies fields in the table's field order, not
// the structure's), set again or not at all, and converts them as SetDataValue does: a text
// of another string kind takes the field's kind.
TEST(MemoryRecordZk, BuilderTakesValuesInAnyOrder) {
  auto Data = MakeContainer({{u"I", ftInteger}, {u"S", ftWideString}, {u"V", ftVariant}});
  TRecordsListZk* List = Data->RecordsList();
  TRecordValuesBuilderZk Builder(List);
  struct TStep { int Index; Variant Value; };
  const std::vector<std::vector<TStep>> Records = {
      {{0, u"1"}, {1, u"a"}, {2, VarArrayFromBytes("x")}},
      {{2, 2.5}, {0, 2}},
      {{1, u"b"}, {1, u"c"}, {0, 3}, {2, u"v"}},
      {{1, Variant::MakeNull()}},
  };
  auto Ole = [](const char16_t* Text) {
    Variant V(Text);
    V.SetStringType(varOleStr);
    return V;
  };
  const Variant Want[][3] = {{1, Ole(u"a"), VarArrayFromBytes("x")},
                             {2, Variant::MakeNull(), 2.5},
                             {3, Ole(u"c"), u"v"},
                             {Variant::MakeNull(), Variant::MakeNull(), Variant::MakeNull()}};
  for (std::size_t R = 0; R < Records.size(); ++R) {
    for (const TStep& S : Records[R]) Builder.SetValue(S.Index, S.Value);
    TMemoryRecordZk* Rec = Builder.NewRecord();
    List->FetchRecord(Rec);
    for (int I = 0; I < 3; ++I) {
      const Variant Got = Rec->GetDataValue(I, dvvValueZk);
      SCOPED_TRACE("record " + std::to_string(R) + " value " + std::to_string(I));
      EXPECT_EQ(Got.VType(), Want[R][I].VType());
      EXPECT_TRUE(VarEquals(Got, Want[R][I]) || (Got.IsNull() && Want[R][I].IsNull()));
    }
  }
  Builder.SetValue(2, VarArrayFromBytes("left"));  // never made into a record: freed with the builder
}

// Records made from built values hold them right behind themselves: converted as
// SetDataValue converts, and kept whole through edits that outgrow the room, cancels,
// posts with old values, reverts and refreshes.
TEST(MemoryRecordZk, BuiltRecordsThroughTheEditCycle) {
  auto Data = MakeContainer({{u"I", ftInteger}, {u"S", ftWideString}, {u"V", ftVariant}});
  TRecordsListZk* List = Data->RecordsList();
  List->SetCachedUpdates(true);
  TRecordValuesBuilderZk Builder(List);
  Builder.SetValue(0, u"42");
  Builder.SetValue(1, u"short");
  Builder.SetValue(2, VarArrayFromBytes("box"));
  TMemoryRecordZk* R = Builder.NewRecord();
  List->FetchRecord(R);
  TMemoryRecordZk* Plain = List->NewRecord();  // the same values the usual way
  Plain->SetDataValue(0, dvvValueZk, u"42");
  EXPECT_EQ(R->GetDataValue(0, dvvValueZk).VType(), Plain->GetDataValue(0, dvvValueZk).VType());
  Plain->Cancel();
  EXPECT_EQ(RaisedText([&] { Builder.SetValue(3, 1); }), u"List index out of bounds (3)");

  auto Expect = [&](int I, const String& S, const char* Step) {
    SCOPED_TRACE(Step);
    EXPECT_EQ(R->GetDataValue(0, dvvValueZk).AsInteger(), I);
    EXPECT_EQ(R->GetDataValue(1, dvvValueZk).AsString(), S);
    EXPECT_TRUE(VarEquals(R->GetDataValue(2, dvvValueZk), VarArrayFromBytes("box")));
  };
  const String Long(200, u'ж');
  Expect(42, u"short", "built");
  R->Edit();
  R->SetDataValue(1, dvvValueZk, Long);
  R->Cancel();
  Expect(42, u"short", "cancelled");
  SetValue(R, 1, Long);
  Expect(42, Long, "posted");
  EXPECT_EQ(R->GetDataValue(1, dvvOldValueZk).AsString(), u"short");
  List->RevertRecord(List->IndexOf(R));
  Expect(42, u"short", "reverted");
  TMemoryRecordZk* Other = Builder.NewRecord();  // the builder started again from Nulls
  EXPECT_TRUE(Other->GetDataValue(0, dvvValueZk).IsNull());
  Other->SetDataValue(0, dvvValueZk, 7);
  Other->SetDataValue(1, dvvValueZk, Long);
  Other->SetDataValue(2, dvvValueZk, VarArrayFromBytes("box"));
  R->RefreshRecord(Other);
  Expect(7, Long, "refreshed");
  Other->Cancel();
}

// A record keeps no pointer to values in its room; values that moved out leave their address
// in the room, which must hold it even for a record of one small value (a heap-made record is
// exactly as long as asked for: memory checkers see any overrun).
TEST(MemoryRecordZk, ValuesMovedOutOfASmallRoom) {
  auto Data = MakeContainer({{u"V", ftVariant}});
  TRecordsListZk* List = Data->RecordsList();
  const String Long(100, u'ж');
  for (int Step = 0; Step < 2; ++Step) {
    SCOPED_TRACE(Step);
    TRecordValuesBuilderZk Builder(List);
    Builder.SetValue(0, 1);
    TMemoryRecordZk* R = Builder.NewRecord();
    List->FetchRecord(R);
    if (Step == 1) R->Edit();
    R->SetDataValue(0, dvvValueZk, Long);
    EXPECT_EQ(R->GetDataValue(0, dvvValueZk).AsString(), Long);
    EXPECT_EQ(R->ValueCount(), 1);
    if (Step == 1) {
      R->Cancel();  // the saved values come back on the heap block's place
      EXPECT_EQ(R->GetDataValue(0, dvvValueZk).AsInteger(), 1);
    }
  }
  EXPECT_EQ(List->Count(), 2);
  List->Clear();
}

// Each row: a sequence of operations on record 0 of three, in cached mode; then the status,
// the log (with its empty entries) and the old value of field 0.
TEST(RecordsListZk, CachedStatusSequences) {
  struct TCase {
    const char* Ops;  // e: edit+post (value + 1), d: delete, r: revert, c: cancel, m: merge
    TUpdateStatus Status;
    const char* Log;  // one letter per entry: r = the record, - = empty
    int Value;
    int OldValue;  // -1: no old values
    int Count;
  };
  const TCase Cases[] = {
      {"e", usModified, "r", 11, 10, 3},       {"ee", usModified, "r", 12, 10, 3},
      {"er", usUnmodified, "r", 10, -1, 3},    {"ec", usUnmodified, "", 10, -1, 3},
      {"em", usUnmodified, "", 11, -1, 3},     {"d", usDeleted, "r", 10, -1, 3},
      {"dr", usUnmodified, "r", 10, -1, 3},    {"dm", usUnmodified, "", 10, -1, 2},
      // An edited record keeps its original values when deleted: cancelling restores them.
      {"ed", usDeleted, "r", 11, 10, 3},       {"edc", usUnmodified, "", 10, -1, 3},
      {"edr", usModified, "r", 11, 10, 3},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Ops);
    auto Data = MakeContainer({{u"N", ftInteger}});
    for (int V : {10, 20, 30}) AddRec(Data.get(), {V});
    TRecordsListZk* List = Data->RecordsList();
    List->SetCachedUpdates(true);
    TMemoryRecordZk* R = List->Items(0);
    for (const char* Op = Case.Ops; *Op; ++Op) {
      switch (*Op) {
        case 'e': SetValue(R, 0, R->GetDataValue(0, dvvValueZk).AsInteger() + 1); break;
        case 'd': List->DeleteRecord(List->IndexOf(R)); break;
        case 'r': List->RevertRecord(List->IndexOf(R)); break;
        case 'c': List->CancelUpdates(); break;
        case 'm': List->MergeChangeLog(); break;
      }
    }
    ASSERT_EQ(List->Count(), Case.Count);
    if (Case.Count < 3) continue;
    EXPECT_EQ(R->UpdateStatus(), Case.Status);
    std::string Log;
    for (TMemoryRecordZk* E : List->DeltaList()) Log += E == R ? 'r' : E ? '?' : '-';
    EXPECT_EQ(Log, Case.Log);
    EXPECT_EQ(R->GetDataValue(0, dvvValueZk).AsInteger(), Case.Value);
    if (Case.OldValue < 0)
      EXPECT_EQ(R->OldData(), nullptr);
    else
      EXPECT_EQ(R->GetDataValue(0, dvvOldValueZk).AsInteger(), Case.OldValue);
  }
}

TEST(RecordsListZk, InsertedRecordsInCachedMode) {
  auto Data = MakeContainer({{u"N", ftInteger}});
  TRecordsListZk* List = Data->RecordsList();
  List->SetCachedUpdates(true);
  AddRec(Data.get(), {1});
  AddRec(Data.get(), {2});
  List->DeleteRecord(0);
  EXPECT_EQ(List->Count(), 1);
  ASSERT_EQ(List->DeltaList().size(), 2u);
  EXPECT_EQ(List->DeltaList()[0], nullptr);
  EXPECT_TRUE(List->HasCachedChanges());
  List->SetCachedUpdates(false);
  List->SetCachedUpdates(true);
  SetValue(List->Items(0), 0, 5);
  List->DeleteRecord(0);
  EXPECT_EQ(List->Count(), 0);
  auto Twice = MakeContainer({{u"N", ftInteger}});
  AddRec(Twice.get(), {1});
  Twice->RecordsList()->SetCachedUpdates(true);
  Twice->RecordsList()->DeleteRecord(0);
  EXPECT_EQ(RaisedText([&] { Twice->RecordsList()->DeleteRecord(0); }), u"Can not MarkDel Deleted record");
}

// CancelUpdates with a modified record that has no old values: it counts as unmodified, the
// walk goes on, the log is cleared and the list event is raised.
TEST(RecordsListZk, CancelUpdatesWithModifiedRecordWithoutOldValuesFinishes) {
  auto Data = MakeContainer({{u"N", ftInteger}});
  for (int V : {1, 2, 3}) AddRec(Data.get(), {V});
  TRecordsListZk* List = Data->RecordsList();
  List->SetCachedUpdates(true);
  SetValue(List->Items(0), 0, 100);
  List->Items(1)->SetUpdateStatus(usModified);  // a status set from outside, no old values
  AddRec(Data.get(), {4});
  int ListChanged = 0;
  TRecordsListNotificatorZk Observer(nullptr);
  Observer.SetOnDataEvent([&](TMemoryRecordZk*, int, TRecordsListNotification A) {
    if (A == rlnListChangedZk) ++ListChanged;
  });
  Observer.SetDataObject(Data.get());
  ListChanged = 0;
  List->CancelUpdates();
  EXPECT_EQ(List->Count(), 3);
  EXPECT_EQ(List->Items(0)->GetDataValue(0, dvvValueZk).AsInteger(), 1);
  EXPECT_EQ(List->Items(1)->UpdateStatus(), usUnmodified);
  EXPECT_TRUE(List->DeltaList().empty());
  EXPECT_EQ(ListChanged, 1);
}

// Outside cached mode every change goes through the apply-updates handlers; values they set
// come back, and an exception leaves the change in place and reaches the caller.
TEST(RecordsListZk, ApplyRecordChangeHandlers) {
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}});
  TRecordsListNotificatorZk Handler(nullptr);
  Handler.SetDataObject(Data.get());
  std::vector<TUpdateStatus> Seen;
  Handler.SetOnApplyUpdates([&](TMemTableDataZk* Shadow) {
    TMemoryRecordZk* R = Shadow->RecordsList()->Items(0);
    Seen.push_back(R->UpdateStatus());
    if (R->UpdateStatus() == usInserted) R->SetDataValue(0, dvvValueZk, 77);
    if (R->UpdateStatus() == usModified) {
      EXPECT_EQ(R->GetDataValue(1, dvvOldValueZk).AsString(), u"a");
      if (R->GetDataValue(1, dvvValueZk).AsString() == u"bad") throw Exception(u"refused");
    }
  });
  TMemoryRecordZk* Rec = AddRec(Data.get(), {Null(), u"a"});
  EXPECT_EQ(Rec->GetDataValue(0, dvvValueZk).AsInteger(), 77);
  EXPECT_EQ(Rec->UpdateStatus(), usUnmodified);
  Rec->Edit();
  Rec->SetDataValue(1, dvvValueZk, u"bad");
  EXPECT_EQ(RaisedText([&] { Rec->Post(); }), u"refused");
  EXPECT_EQ(Rec->GetDataValue(1, dvvValueZk).AsString(), u"bad");
  EXPECT_EQ(Rec->EditState(), resEditZk);
  Rec->Cancel();
  Data->RecordsList()->DeleteRecord(0);
  EXPECT_EQ(Data->RecordsList()->Count(), 0);
  EXPECT_EQ(Seen, (std::vector<TUpdateStatus>{usInserted, usModified, usDeleted}));
}

TEST(RecordsListZk, AttachChecks) {
  auto Data = MakeContainer({{u"N", ftInteger}});
  auto Other = MakeContainer({{u"N", ftInteger}});
  TMemoryRecordZk* Foreign = Other->RecordsList()->NewRecord();
  EXPECT_EQ(RaisedText([&] { Data->RecordsList()->AddRecord(Foreign); }), u"Record.RecordsList is not the same.");
  Foreign->Cancel();
  TMemoryRecordZk* R = AddRec(Data.get(), {1});
  EXPECT_EQ(RaisedText([&] { Data->RecordsList()->AddRecord(R); }),
            u"The record already attached to RecordsList.");
}

TEST(MemTableDataZk, RestructMode) {
  auto Data = MakeContainer({{u"N", ftInteger}});
  TMTDataStructZk* Copy = Data->BeginRestruct();
  EXPECT_EQ(Copy->Count(), 1);
  EXPECT_EQ(RaisedText([&] { Data->BeginRestruct(); }), u"MemTableData already in RestructMode.");
  Data->CommitRestruct();
  EXPECT_FALSE(Data->RestructMode());
}

}  // namespace
