// BlobStream.cpp - TBlobStream: loading a field's bytes and storing them back.
#include "platform/db/BlobStream.h"

#include <cstring>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

namespace {

bool IsMemo(TFieldType Type) { return Type == ftMemo || Type == ftFmtMemo; }

std::string FieldBytes(const TField* Field) {
  if (Field->IsNull()) return {};
  if (IsMemo(Field->DataType())) return StringToUtf8(Field->AsString());
  if (Field->DataType() == ftWideMemo) {
    const String Text = Field->AsString();
    return std::string(reinterpret_cast<const char*>(Text.data()), Text.size() * sizeof(Char));
  }
  return static_cast<const TBlobField*>(Field)->AsBytes();
}

}  // namespace

TBlobStream::TBlobStream(TField* Field, TBlobStreamMode Mode) : FField(Field), FMode(Mode) {
  TDataSet* DataSet = Field->DataSet();
  if (!Field->IsBlob())
    DatabaseError(u"Field '" + Field->DisplayName() + u"' is not a blob field", DataSet);
  if (Mode != bmRead) {
    if (!DataSet || (DataSet->State() != dsEdit && DataSet->State() != dsInsert))
      DatabaseError(DBText::NotEditing, DataSet);
    if (Field->ReadOnly()) DatabaseError(FieldReadOnlyText(Field->DisplayName()), DataSet);
  }
  if (Mode == bmWrite) {
    FLoaded = true;
    Store();
    return;
  }
  const std::string Bytes = FieldBytes(Field);
  TMemoryStream::Write(Bytes.data(), static_cast<Int64>(Bytes.size()));
  SetPosition(0);
  FLoaded = true;
}

Int64 TBlobStream::Write(const void* Buffer, Int64 Count) {
  if (FLoaded && FMode == bmRead) return 0;
  const Int64 Written = TMemoryStream::Write(Buffer, Count);
  Store();
  return Written;
}

void TBlobStream::SetSize(Int64 NewSize) {
  if (FLoaded && FMode == bmRead) return;
  TMemoryStream::SetSize(NewSize);
  if (FLoaded) Store();
}

void TBlobStream::Store() {
  const char* Data = static_cast<const char*>(Memory());
  const auto Length = static_cast<std::size_t>(Size());
  if (Length == 0) return FField->Clear();
  const std::string Bytes(Data, Length);
  if (IsMemo(FField->DataType())) return FField->SetAsString(Utf8ToString(Bytes));
  if (FField->DataType() == ftWideMemo) {
    String Text(Length / sizeof(Char), u'\0');
    std::memcpy(Text.data(), Data, Text.size() * sizeof(Char));
    return FField->SetAsString(Text);
  }
  static_cast<TBlobField*>(FField)->SetAsBytes(Bytes);
}
