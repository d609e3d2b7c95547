// MemTableDataZkStreamTest.cpp - the stored data format: the bytes of record values, round
// trips (binary and text form), bad input and mutated streams.
#include "gridlib/memtable/MemTableDataZk.h"

#include <gtest/gtest.h>

#include <random>

#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/tests/MemTableTestUtil.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"

namespace {

std::string Hex(const std::string& Bytes) {
  static const char* D = "0123456789ABCDEF";
  std::string S;
  for (unsigned char C : Bytes) {
    if (!S.empty()) S += ' ';
    S += D[C >> 4];
    S += D[C & 15];
  }
  return S;
}

std::string StreamBytes(TMemoryStream& S) {
  return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.Size()));
}

// The "Data" bytes of a container's records.
std::string DataBytes(TMemTableDataZk* Data) {
  TMemoryStream S;
  TWriter W(&S);
  Data->RecordsList()->WriteData(&W);
  return StreamBytes(S);
}

struct TRegistered {
  TRegistered() { RegisterMemTableDataClasses(); }
};
const TRegistered Registered;

TEST(StoredFormat, GoldenRecordBytes) {
  auto Data = MakeContainer({{u"A", ftInteger}, {u"B", ftInteger}, {u"C", ftString}});
  AddRec(Data.get(), {5, Null(), u"ab"});
  EXPECT_EQ(Hex(DataBytes(Data.get())), "01 01 02 05 0D 06 02 61 62 00 00");
}

TEST(StoredFormat, ValueEncodings) {
  struct TCase {
    TFieldType Type;
    Variant Value;
    std::string Bytes;  // the value alone
  };
  const String Ascii255(255, u'x'), Ascii256(256, u'x');
  const TCase Cases[] = {
      {ftInteger, 300, "03 2C 01"},
      {ftInteger, -129, "03 7F FF"},
      {ftLargeint, 5000000000LL, "13 00 F2 05 2A 01 00 00 00"},
      {ftWideString, u"", "12 00 00 00 00"},
      {ftWideString, u"жёл", "12 03 00 00 00 36 04 51 04 3B 04"},
      {ftWideString, u"aж", "14 03 00 00 00 61 D0 B6"},
      {ftBoolean, true, "09"},
      {ftCurrency, Currency(1.5), "10 98 3A 00 00 00 00 00 00"},
      {ftFloat, 1.0, "05 00 00 00 00 00 00 00 80 FF 3F"},
      {ftInteger, Null(), "0D"},
  };
  for (const TCase& C : Cases) {
    auto Data = MakeContainer({{u"F", C.Type}});
    AddRec(Data.get(), {C.Value});
    EXPECT_EQ(Hex(DataBytes(Data.get())), "01 01 " + C.Bytes + " 00 00") << StringToUtf8(VarToStr(C.Value));
  }
  auto Strings = MakeContainer({{u"F", ftString, 300}});
  AddRec(Strings.get(), {Ascii255});
  AddRec(Strings.get(), {Ascii256});
  const std::string Bytes = DataBytes(Strings.get());
  EXPECT_EQ(Hex(Bytes.substr(2, 2)), "06 FF");
  EXPECT_EQ(Hex(Bytes.substr(2 + 2 + 255 + 2, 5)), "0C 00 01 00 00");
}

TEST(StoredFormat, UnwritableValues) {
  auto Data = MakeContainer({{u"V", ftVariant}, {u"B", ftBlob}});
  TMemoryRecordZk* R = AddRec(Data.get(), {1, Null()});
  R->SetDataValue(0, dvvValueZk, Variant());
  try {
    DataBytes(Data.get());
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"\"TMemoryRecordZk.WriteData\" - Invalid variant type - varEmpty");
  }
  R->SetDataValue(0, dvvValueZk, 1);
  R->SetDataValue(1, dvvValueZk, VarArrayFromBytes("ab"));
  EXPECT_THROW(DataBytes(Data.get()), EWriteError);
}

// A container with every kind of value, its counter moved on.
std::unique_ptr<TMemTableDataZk> FullContainer() {
  auto Data = MakeContainer({{u"ID", ftAutoInc},        {u"NAME", ftString, 40}, {u"WIDE", ftWideString, 10},
                             {u"SMALL", ftSmallint},    {u"BIG", ftLargeint},    {u"PRICE", ftFloat},
                             {u"MONEY", ftCurrency},    {u"DT", ftDateTime},     {u"OK", ftBoolean},
                             {u"ANY", ftVariant},       {u"TS", ftTimeStamp},    {u"BYTE", ftByte}});
  TMTDataStructZk* S = Data->DataStruct();
  S->DataFields(1)->SetDisplayLabel(u"Имя");
  static_cast<TMTStringDataFieldZk*>(S->DataFields(1))->SetFixedChar(true);
  static_cast<TMTNumericDataFieldZk*>(S->DataFields(5))->SetMaxValue(99.5);
  S->DataFields(8)->SetRequired(true);
  S->DataFields(3)->SetVisible(false);
  AddRec(Data.get(), {Null(), u"Краска", u"ab", 3, 5000000000LL, 2.25, Currency(10.5),
                      Variant::FromDateTime(45000.5), true, u"text", Variant::FromDateTime(45000), 7});
  AddRec(Data.get(), {Null(), Null(), Null(), Null(), Null(), Null(), Null(), Null(), Null(), 2.5, Null(), Null()});
  AddRec(Data.get(), {Null(), String(300, u'z'), u"", -32768, -1, -0.0, Currency(-1), Variant::FromDateTime(0),
                      false, false, Null(), 255});
  return Data;
}

void ExpectSameContainers(TMemTableDataZk* A, TMemTableDataZk* B) {
  ASSERT_EQ(A->DataStruct()->Count(), B->DataStruct()->Count());
  for (int I = 0; I < A->DataStruct()->Count(); ++I) {
    TMTDataFieldZk* FA = A->DataStruct()->DataFields(I);
    TMTDataFieldZk* FB = B->DataStruct()->DataFields(I);
    EXPECT_EQ(FA->ClassName(), FB->ClassName());
    EXPECT_EQ(FA->FieldName(), FB->FieldName());
    EXPECT_EQ(FA->Name(), FB->Name());
    EXPECT_EQ(FA->DataType(), FB->DataType());
    EXPECT_EQ(FA->Size(), FB->Size());
    EXPECT_EQ(FA->DisplayLabel(), FB->DisplayLabel());
    EXPECT_EQ(FA->Required(), FB->Required());
    EXPECT_EQ(FA->Visible(), FB->Visible()) << I;
  }
  ASSERT_EQ(A->RecordsList()->Count(), B->RecordsList()->Count());
  for (int R = 0; R < A->RecordsList()->Count(); ++R)
    for (int I = 0; I < A->DataStruct()->Count(); ++I) {
      const Variant VA = A->RecordsList()->Items(R)->GetDataValue(I, dvvValueZk);
      const Variant VB = B->RecordsList()->Items(R)->GetDataValue(I, dvvValueZk);
      EXPECT_EQ(VA.VType(), VB.VType()) << R << ":" << I;
      EXPECT_TRUE(VarEquals(VA, VB)) << R << ":" << I << " " << StringToUtf8(VarToStr(VA));
      EXPECT_EQ(B->RecordsList()->Items(R)->UpdateStatus(), usUnmodified);
    }
  EXPECT_EQ(A->AutoIncrement()->CurValue(), B->AutoIncrement()->CurValue());
}

TEST(StoredFormat, RoundTripsBinaryAndText) {
  auto Data = FullContainer();
  TMemoryStream Binary;
  Data->SaveDataToStream(&Binary);
  Binary.SetPosition(0);
  auto Back = MakeContainer({{u"OLD", ftInteger}});
  AddRec(Back.get(), {1});
  Back->LoadDataFromStream(&Binary);
  ExpectSameContainers(Data.get(), Back.get());
  EXPECT_EQ(Back->AutoIncrement()->CurValue(), -4);

  Binary.SetPosition(0);
  TMemoryStream Text, Again;
  ObjectBinaryToText(&Binary, &Text);
  Text.SetPosition(0);
  ObjectTextToBinary(&Text, &Again);
  EXPECT_EQ(StreamBytes(Again), StreamBytes(Binary));
  Again.SetPosition(0);
  auto FromText = MakeContainer({});
  FromText->LoadDataFromStream(&Again);
  ExpectSameContainers(Data.get(), FromText.get());
}

TEST(StoredFormat, EmptyListAndFreshCounterWriteNothingExtra) {
  auto Data = MakeContainer({{u"A", ftInteger}});
  TMemoryStream S;
  Data->SaveDataToStream(&S);
  const std::string Bytes = StreamBytes(S);
  EXPECT_EQ(Bytes.find("AutoIncCurValue"), std::string::npos);
  EXPECT_EQ(Bytes.find("\x04" "Data"), std::string::npos);
  S.SetPosition(0);
  auto Back = MakeContainer({});
  Back->LoadDataFromStream(&S);
  EXPECT_EQ(Back->DataStruct()->Count(), 1);
  EXPECT_EQ(Back->RecordsList()->Count(), 0);
}

// --- bad input ---------------------------------------------------------------------------------

// Writes a container entry by hand, so that each case can forge one part.
struct TForge {
  TMemoryStream S;
  TWriter W{&S};
  TForge() { W.WriteSignature(); }
  void Begin(const String& Class, const String& Name) {
    W.WriteStr(Class);
    W.WriteStr(Name);
  }
  void End() { W.WriteListEnd(); }
  void Field(const String& Class, const String& Name, const String& FieldName,
             const std::function<void()>& MoreProps = nullptr) {
    Begin(Class, Name);
    W.WriteStr(u"FieldName");
    W.WriteString(FieldName);
    if (MoreProps) MoreProps();
    End();
    End();
  }
  // The container with two fields (N integer, S string) and the given Data records.
  void Standard(const std::function<void()>& Records, const std::function<void()>& Extra = nullptr) {
    Begin(u"TMemTableDataZk", u"MemTableData");
    End();
    Begin(u"TMTDataStructZk", u"DataStruct");
    End();
    Field(u"TMTNumericDataFieldZk", u"N", u"N", [this] {
      W.WriteStr(u"NumericDataType");
      W.WriteIdent(u"fdtIntegerZk");
    });
    Field(u"TMTStringDataFieldZk", u"S", u"S");
    if (Extra) Extra();
    End();
    Begin(u"TRecordsListZk", u"RecordsList");
    if (Records) {
      W.WriteStr(u"Data");
      W.WriteListBegin();
      Records();
      W.WriteListEnd();
    }
    End();
    End();
    End();
  }
  void Record(std::initializer_list<Variant> Values) {
    W.WriteListBegin();
    for (const Variant& V : Values) V.IsNull() ? W.WriteValue(vaNil) : W.WriteVariant(V);
    W.WriteListEnd();
  }
};

TEST(StoredFormat, BadInputIsAReadErrorAndKeepsTheContainerConsistent) {
  struct TCase {
    const char* Name;
    std::function<void(TForge&)> Forge;
    const char16_t* Message;  // a part of the error text
    int Records;              // records kept
  };
  const TCase Cases[] = {
      {"value short", [](TForge& F) { F.Standard([&] { F.Record({1, u"a"}); F.Record({2}); F.Record({3, u"c"}); }); },
       u"record 1: field S: value missing", 1},
      {"last value short", [](TForge& F) { F.Standard([&] { F.Record({1, u"a"}); F.Record({2}); }); },
       u"record 1: field S: value missing", 1},
      {"value long", [](TForge& F) { F.Standard([&] { F.Record({1, u"a", 3}); }); },
       u"record 0: more values than fields", 0},
      {"refused value", [](TForge& F) { F.Standard([&] { F.Record({1, u"a"}); F.Record({u"abc", u"b"}); }); },
       u"record 1: field N: ", 1},
      {"list as value", [](TForge& F) { F.Standard([&] { F.Record({VarArrayOf({1}), u"a"}); }); },
       u"record 0: field N: Invalid property value", 0},
      {"unknown class", [](TForge& F) { F.Standard(nullptr, [&] { F.Field(u"TNoSuchFieldZk", u"X", u"X"); }); },
       u"Class TNoSuchFieldZk not found", 0},
      {"foreign class", [](TForge& F) { F.Standard(nullptr, [&] { F.Field(u"TRecordsListZk", u"X", u"X"); }); },
       u"Unexpected entry of class TRecordsListZk in TMTDataStructZk", 0},
      {"base definition class", [](TForge& F) { F.Standard(nullptr, [&] { F.Field(u"TMTDataFieldZk", u"X", u"X"); }); },
       u"Unexpected entry of class TMTDataFieldZk", 0},
      {"empty field name", [](TForge& F) { F.Standard(nullptr, [&] { F.Field(u"TMTStringDataFieldZk", u"X", u""); }); },
       u"Field definition X: Field name missing", 0},
      {"duplicate field name", [](TForge& F) { F.Standard(nullptr, [&] { F.Field(u"TMTStringDataFieldZk", u"X", u"n"); }); },
       u"Duplicate field name 'n'", 0},
      {"size of a fixed-size class",
       [](TForge& F) {
         F.Standard(nullptr, [&] {
           F.Field(u"TMTNumericDataFieldZk", u"X", u"X", [&] {
             F.W.WriteStr(u"Size");
             F.W.WriteInteger(4);
           });
         });
       },
       u"Property Size does not exist", 0},
      {"subtype outside its enumeration",
       [](TForge& F) {
         F.Standard(nullptr, [&] {
           F.Field(u"TMTNumericDataFieldZk", u"X", u"X", [&] {
             F.W.WriteStr(u"NumericDataType");
             F.W.WriteInteger(99);
           });
         });
       },
       u"Invalid property value", 0},
      {"data without structure",
       [](TForge& F) {
         F.Begin(u"TMemTableDataZk", u"MemTableData");
         F.End();
         F.Begin(u"TRecordsListZk", u"RecordsList");
         F.W.WriteStr(u"Data");
         F.W.WriteListBegin();
         F.Record({1});
         F.W.WriteListEnd();
         F.End();
         F.End();
         F.End();
       },
       u"records without a field structure", 0},
      {"binary value overrun",
       [](TForge& F) {
         F.Standard([&] {
           F.W.WriteListBegin();
           F.W.WriteValue(vaBinary);
           const unsigned char Block[] = {12, 0, 0, 0, 6, 1, 'X', 0xFF, 0xFF, 0, 0, 1, 2, 3, 4, 5};
           F.S.WriteBuffer(Block, sizeof Block);
           F.W.WriteListEnd();
         });
       },
       u"binary value overruns its block", 0},
      {"non-integer counter",
       [](TForge& F) {
         F.Begin(u"TMemTableDataZk", u"MemTableData");
         F.W.WriteStr(u"AutoIncCurValue");
         F.W.WriteString(u"12");
         F.End();
         F.End();
       },
       u"Error reading AutoIncCurValue: Invalid property value", 0},
      {"unexpected child",
       [](TForge& F) {
         F.Begin(u"TMemTableDataZk", u"MemTableData");
         F.End();
         F.Field(u"TMTStringDataFieldZk", u"X", u"X");
         F.End();
       },
       u"Unexpected entry of class TMTStringDataFieldZk in TMemTableDataZk", 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TForge F;
    C.Forge(F);
    F.S.SetPosition(0);
    auto Data = MakeContainer({{u"OLD", ftInteger}});
    TRecordsViewZk View(nullptr);
    View.SetMemTableData(Data.get());
    TMTIndexZk* Index = Data->RecordsList()->Indexes()->Add();
    Index->SetFields(u"OLD");
    Index->SetActive(true);
    AddRec(Data.get(), {1});
    try {
      Data->LoadDataFromStream(&F.S);
      ADD_FAILURE() << "read without error";
    } catch (const EReadError& E) {
      EXPECT_NE(E.Message().find(C.Message), String::npos) << StringToUtf8(E.Message());
      EXPECT_NE(E.Message().find(u" at offset "), String::npos) << StringToUtf8(E.Message());
    }
    EXPECT_EQ(Data->RecordsList()->Count(), C.Records);
    EXPECT_EQ(View.Count(), C.Records);
    EXPECT_EQ(Data->Name(), u"");
  }
}

// Every cut of a golden stream, and a few thousand mutations of it, either read or raise
// EReadError; whatever was read is consistent.
TEST(StoredFormat, MutatedStreamsReadOrRaiseReadError) {
  auto Golden = FullContainer();
  TMemoryStream G;
  Golden->SaveDataToStream(&G);
  const std::string Bytes = StreamBytes(G);
  auto Attempt = [](const std::string& Input) {
    TMemoryStream In;
    In.WriteBuffer(Input.data(), static_cast<Int64>(Input.size()));
    In.SetPosition(0);
    auto Data = MakeContainer({});
    TRecordsViewZk View(nullptr);
    View.SetMemTableData(Data.get());
    try {
      Data->LoadDataFromStream(&In);
    } catch (const EReadError&) {
      // the expected answer to damaged input
    } catch (const Exception& E) {
      ADD_FAILURE() << "not a read error: " << StringToUtf8(E.Message());
    } catch (const std::exception& E) {
      ADD_FAILURE() << "not a project exception: " << E.what();
    }
    EXPECT_EQ(View.Count(), Data->RecordsList()->Count());
    for (int R = 0; R < Data->RecordsList()->Count(); ++R)
      EXPECT_EQ(Data->RecordsList()->Items(R)->ValueCount(), Data->DataStruct()->Count());
  };
  for (std::size_t Cut = 0; Cut < Bytes.size(); ++Cut) Attempt(Bytes.substr(0, Cut));
  std::mt19937 Random(25);
  for (int I = 0; I < 3000; ++I) {
    std::string M = Bytes;
    const int Changes = 1 + static_cast<int>(Random() % 4);
    for (int C = 0; C < Changes; ++C) M[Random() % M.size()] = static_cast<char>(Random() % 256);
    Attempt(M);
  }
}

}  // namespace
