// MemTableTestUtil.h - small fixtures for the engine's tests: a container with a structure
// made from (name, type) pairs, records added from value lists.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

struct TFieldSpec {
  const char16_t* Name;
  TFieldType Type;
  int Size = 0;
};

inline std::unique_ptr<TMemTableDataZk> MakeContainer(const std::vector<TFieldSpec>& Fields) {
  auto Data = std::make_unique<TMemTableDataZk>(nullptr);
  TMTDataStructZk* Struct = Data->DataStruct();
  for (const TFieldSpec& F : Fields) {
    TMTDataFieldZk* Def = Struct->CreateField(MTDataFieldClassForType(F.Type));
    Def->AssignDataType(F.Type);
    Def->SetFieldName(F.Name);
    Def->SetName(Struct->CreateUniqueName(Def, F.Name));
    if (F.Size > 0) Def->SetSize(F.Size);
  }
  return Data;
}

inline TMemoryRecordZk* AddRec(TMemTableDataZk* Data, const std::vector<Variant>& Values) {
  TRecordsListZk* List = Data->RecordsList();
  TMemoryRecordZk* Rec = List->NewRecord();
  for (std::size_t I = 0; I < Values.size(); ++I)
    Rec->SetDataValue(static_cast<int>(I), dvvValueZk, Values[I]);
  try {
    List->AddRecord(Rec);
  } catch (...) {
    if (!Rec->Attached()) Rec->Cancel();  // refused: the record is still ours
    throw;
  }
  return Rec;
}

inline void SetValue(TMemoryRecordZk* Rec, int Field, const Variant& Value) {
  Rec->Edit();
  Rec->SetDataValue(Field, dvvValueZk, Value);
  Rec->Post();
}
