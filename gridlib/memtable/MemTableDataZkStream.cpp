// MemTableDataZkStream.cpp - the stored data format: the container's entry in a component
// stream ("MemTableData" with "DataStruct" and "RecordsList"), the bytes of every record, and
// the registration of the stream classes.
//
// The stored data is outside input (hand-edited form text, forged files): every failure is
// an EReadError naming the property, record, field and offset. Records read before the
// failure stay; the structure accepts only field definition classes, checked before an
// entry's component is created.
#include "gridlib/memtable/MemTableDataZk.h"

#include <cstring>

#include "gridlib/memtable/MTIndexZk.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

REGISTER_CLASS(TMemoryRecordZk) {}
REGISTER_CLASS(TRecordsListZk) {}
REGISTER_CLASS(TRecordsListNotificatorZk) {}
REGISTER_CLASS(TAutoIncrementZk) {
  Class.Property("InitValue", &TAutoIncrementZk::InitValue, &TAutoIncrementZk::SetInitValue, -1)
      .Property("Step", &TAutoIncrementZk::Step, &TAutoIncrementZk::SetStep, -1);
}
REGISTER_CLASS(TMemTableDataZk) {}
REGISTER_CLASS(TMemTableDataShadowZk) {}

void RegisterMemTableDataClasses() {
  RegisterClasses({TMemTableDataZk::ClassInfo(), TMTDataStructZk::ClassInfo(),
                   TRecordsListZk::ClassInfo(), TMTDataFieldZk::ClassInfo(),
                   TMTStringDataFieldZk::ClassInfo(), TMTNumericDataFieldZk::ClassInfo(),
                   TMTDateTimeDataFieldZk::ClassInfo(), TMTBlobDataFieldZk::ClassInfo(),
                   TMTBooleanDataFieldZk::ClassInfo(), TMTInterfaceDataFieldZk::ClassInfo(),
                   TMTVariantDataFieldZk::ClassInfo(), TMTRefObjectFieldZk::ClassInfo(),
                   TMTSQLTimeStampDataFieldZk::ClassInfo()});
}

namespace {

const char16_t kEmptyNotWritable[] = u"\"TMemoryRecordZk.WriteData\" - Invalid variant type - varEmpty";

// One field value: Null as vaNil, the scalars as the writer writes them; Empty, arrays and
// object references cannot be stored.
void WriteFieldValue(TWriter* Writer, const Variant& V) {
  if (V.IsNull()) return Writer->WriteValue(vaNil);
  if (V.IsEmpty()) throw Exception(kEmptyNotWritable);
  if (V.IsArray() || V.IsHandle() || V.VType() == varUInt64) throw EWriteError(u"Stream write error");
  Writer->WriteVariant(V);
}

bool IsScalarValueTag(TValueType Tag) {
  switch (Tag) {
    case vaNil: case vaFalse: case vaTrue: case vaInt8: case vaInt16: case vaInt32: case vaInt64:
    case vaExtended: case vaDouble: case vaSingle: case vaCurrency: case vaDate: case vaString:
    case vaLString: case vaWString: case vaUTF8String:
      return true;
    default:
      return false;
  }
}

// A vaBinary block (a custom variant that streamed itself): its lengths are checked, but no
// custom variant type exists here to take the data.
[[noreturn]] void RefuseBinaryValue(TReader* Reader, const String& Where) {
  TStream* S = Reader->Stream();
  S->Seek(1, soCurrent);
  std::int32_t Length = 0;
  if (S->Read(&Length, 4) != 4 || Length < 0 || Length > S->Size() - S->Position())
    Reader->ReadError(Where + u"binary value overruns the stream");
  const Int64 End = S->Position() + Length;
  String ClassName = Reader->ReadString();
  std::int32_t DataLength = 0;
  if (S->Position() + 4 > End || S->Read(&DataLength, 4) != 4 || DataLength < 0 ||
      DataLength > End - S->Position())
    Reader->ReadError(Where + u"binary value overruns its block");
  Reader->ReadError(Where + u"values of type " + ClassName + u" are not supported");
}

// Reads entries of the container's own stream classes into the existing structure and
// records list, and refuses any other entry before it is created.
class TContainerReadGuard {
public:
  TContainerReadGuard(TReader* Reader, TMemTableDataZk* Data)
      : FReader(Reader), FOld(Reader->OnCreateComponent()) {
    Reader->SetOnCreateComponent([Data](TReader* R, TClass Class, TComponent*& Component) {
      TComponent* Parent = R->Parent();
      if (Parent == Data && Class->InheritsFrom(TMTDataStructZk::ClassInfo()))
        Component = Data->DataStruct();
      else if (Parent == Data && Class->InheritsFrom(TRecordsListZk::ClassInfo()))
        Component = Data->RecordsList();
      else if (Parent == Data->DataStruct() && Class->InheritsFrom(TMTDataFieldZk::ClassInfo()) &&
               Class != TMTDataFieldZk::ClassInfo())
        return;
      else
        R->ReadError(u"Unexpected entry of class " + Class->Name() + u" in " +
                     (Parent ? Parent->ClassName() : String(u"the stream")));
    });
  }
  ~TContainerReadGuard() { FReader->SetOnCreateComponent(FOld); }
  TContainerReadGuard(const TContainerReadGuard&) = delete;
  TContainerReadGuard& operator=(const TContainerReadGuard&) = delete;

private:
  TReader* FReader;
  TCreateComponentEvent FOld;
};

}  // namespace

// --- the container ---------------------------------------------------------------------------------

void TMemTableDataZk::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      u"AutoIncCurValue",
      [this](TReader* Reader) { FAutoIncrement->SetCurValue(Reader->ReadInteger()); },
      [this](TWriter* Writer) { Writer->WriteInteger(FAutoIncrement->CurValue()); },
      FAutoIncrement->CurValue() != FAutoIncrement->InitValue());
}

void TMemTableDataZk::ReadState(TReader* Reader) {
  DestroyTable();
  TContainerReadGuard Guard(Reader, this);
  TComponent::ReadState(Reader);
}

void TMemTableDataZk::SaveDataToStream(TStream* Stream) {
  TWriter Writer(Stream);
  Writer.WriteRootComponent(this);
}

void TMemTableDataZk::LoadDataFromStream(TStream* Stream) {
  const String OldName = Name();
  TReader Reader(Stream);
  try {
    Reader.ReadRootComponent(this);
  } catch (...) {
    ChangeName(OldName);
    // Definitions read but refused (bad name, bad property) are owned by the structure
    // without being part of it: they go.
    for (int I = FDataStruct->ComponentCount() - 1; I >= 0; --I) {
      auto* F = dynamic_cast<TMTDataFieldZk*>(FDataStruct->Components(I));
      if (F && F->DataStruct() != FDataStruct) delete F;
    }
    throw;
  }
  ChangeName(OldName);
}

// --- the structure and its definitions -----------------------------------------------------------

TComponent* TMTDataStructZk::GetChildOwner() { return this; }

void TMTDataFieldZk::ReadState(TReader* Reader) {
  auto* Struct = dynamic_cast<TMTDataStructZk*>(Reader->Parent());
  TComponent::ReadState(Reader);
  const String Where = u"Field definition " + Name() + u": ";
  if (!Struct) Reader->ReadError(Where + u"not inside a structure");
  if (FFieldName.empty()) Reader->ReadError(Where + u"Field name missing");
  if (Struct->FindField(FFieldName))
    Reader->ReadError(Where + Format(u"Duplicate field name '%s'", {FFieldName}));
  SetDataStruct(Struct);
}

// --- the records ----------------------------------------------------------------------------------

void TRecordsListZk::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      u"Data", [this](TReader* Reader) { ReadData(Reader); },
      [this](TWriter* Writer) { WriteData(Writer); }, Count() > 0);
}

void TRecordsListZk::WriteData(TWriter* Writer) const {
  Writer->WriteListBegin();
  FRecList.ForEach([Writer](TMemoryRecordZk* Rec) {
    Writer->WriteListBegin();
    for (int I = 0; I < Rec->ValueCount(); ++I) WriteFieldValue(Writer, Rec->ValueAt(I).ToVariant());
    Writer->WriteListEnd();
  });
  Writer->WriteListEnd();
}

void TRecordsListZk::ReadData(TReader* Reader) {
  Clear();
  if (RecValCount() == 0) Reader->ReadError(u"records without a field structure");
  Reader->ReadListBegin();
  for (int RecNo = 0; !Reader->EndOfList(); ++RecNo) ReadRecord(Reader, RecNo);
  Reader->ReadListEnd();
}

void TRecordsListZk::ReadRecord(TReader* Reader, int RecNo) {
  const String RecordText = u"record " + IntToStr(RecNo) + u": ";
  if (Reader->NextValue() != vaList) Reader->ReadError(RecordText + u"list of values expected");
  Reader->ReadListBegin();
  std::unique_ptr<TMemoryRecordZk> Rec(NewRecord());
  TMTDataStructZk* Struct = DataStruct();
  for (int I = 0; I < Struct->Count(); ++I) {
    TMTDataFieldZk* Field = Struct->DataFields(I);
    const String Where = RecordText + u"field " + Field->FieldName() + u": ";
    const TValueType Tag = Reader->NextValue();
    if (Tag == vaNull) Reader->ReadError(Where + u"value missing");
    if (Tag == vaBinary) RefuseBinaryValue(Reader, Where);
    if (!IsScalarValueTag(Tag)) Reader->ReadError(Where + u"Invalid property value");
    Variant V = Reader->ReadVariant();
    if (V.IsEmpty()) continue;  // vaNil: the record's value stays Null
    try {
      Rec->SetDataValue(I, dvvValueZk, V);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& E) {
      Reader->ReadError(Where + E.Message());
    }
  }
  if (!Reader->EndOfList()) Reader->ReadError(RecordText + u"more values than fields");
  Reader->ReadListEnd();
  try {
    FetchRecord(Rec.get());
  } catch (const Exception& E) {
    if (Rec->Attached()) Rec.release();  // the list owns it now
    if (dynamic_cast<const EReadError*>(&E)) throw;
    Reader->ReadError(RecordText + E.Message());
  }
  Rec.release();
}
