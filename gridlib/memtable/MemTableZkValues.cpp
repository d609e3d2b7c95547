// MemTableZkValues.cpp - the memory table's field values: which record buffer a field reads
// and writes in each state, the value hooks, aggregates and blob streams.
#include "gridlib/memtable/MemTableZk.h"

#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk_p.h"
#include "platform/db/BlobStream.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Variants.h"

// Instant read wins for reads only. In dsCalcFields, dsFilter, dsOldValue and dsCurValue the
// framework's own buffers win over instant read: a calculated field computed for a row read
// in instant read must land in the calculation buffer being filled.
bool TCustomMemTableZk::StateRecBuf(TRecBuf*& RecBuf, bool ForWrite) const {
  RecBuf = nullptr;
  TRecordBuffer Buffer = 0;
  const TDataSetState S = State();
  const bool OwnBuffer = S == dsCalcFields || S == dsFilter || S == dsOldValue || S == dsCurValue;
  if (!ForWrite && !OwnBuffer && !FInstantBuffers.empty()) {
    RecBuf = &RecBufOf(FInstantBuffers.back());
    return true;
  }
  auto* Self = const_cast<TCustomMemTableZk*>(this);
  switch (S) {
    case dsBrowse:
      if (!IsEmpty()) Buffer = ActiveBuffer();
      break;
    case dsEdit: case dsInsert: case dsNewValue:
      Buffer = ActiveBuffer();
      break;
    case dsCalcFields:
      Buffer = CalcBuffer();
      break;
    case dsFilter:
      Buffer = TempBuffer();
      break;
    case dsOldValue: case dsCurValue: {
      Self->UpdateCursorPos();
      if (FRecordPos < 0 || FRecordPos >= ViewCount()) break;
      if (S == dsCurValue && GetBookmarkFlag(ActiveBuffer()) != bfCurrent) break;
      TMemoryRecordZk* Rec = ViewRecord(FRecordPos);
      if (S == dsOldValue && !Rec->OldData()) break;
      Buffer = TempBuffer();
      TRecBuf& B = RecBufOf(Buffer);
      B.SetLength(FieldCount());
      B.MemRec = Rec;
      B.UseMemRec = true;
      B.RecordNumber = FRecordPos;
      break;
    }
    default:
      break;
  }
  if (Buffer <= 0) return false;
  RecBuf = &RecBufOf(Buffer);
  return true;
}

bool TCustomMemTableZk::GetFieldData(TField* Field, Variant* Value) const {
  TRecBuf* B = nullptr;
  if (!StateRecBuf(B, false)) return false;
  Variant V;
  if (Field->FieldKind() == fkAggregate) {
    V = GetAggregateValue(Field);
  } else {
    V = State() == dsOldValue ? B->GetOldValue(Field) : B->GetValue(Field);
    if (V.IsArray()) V = BlobBytesToText(VarArrayToBytes(V));  // binary data reach fields as text
    if (FOnGetFieldValue) FOnGetFieldValue(const_cast<TCustomMemTableZk*>(this), Field, V);
  }
  if (V.IsNull() || V.IsEmpty()) return false;
  if (Value) *Value = V;
  return true;
}

void TCustomMemTableZk::SetFieldData(TField* Field, const Variant* Value) {
  const TDataSetState S = State();
  if (S != dsEdit && S != dsInsert && S != dsSetKey && S != dsCalcFields && S != dsFilter &&
      S != dsNewValue && S != dsInternalCalc)
    DatabaseError(DBText::NotEditing, this);
  TRecBuf* B = nullptr;
  if (!StateRecBuf(B, true)) return;
  Field->Validate(Value);
  Variant V = Value ? *Value : Variant::MakeNull();
  if (FOnSetFieldValue) FOnSetFieldValue(this, Field, V);
  B->SetValue(this, Field, V);
  if (S != dsCalcFields && S != dsFilter && S != dsNewValue && S != dsInternalCalc)
    DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(Field));
}

Variant TCustomMemTableZk::GetAggregateValue(TField* Field) const {
  TRecBuf* B = nullptr;
  if (!FRecordsView->Aggregates()->Active() || !StateRecBuf(B, false)) return Variant::MakeNull();
  auto* A = static_cast<TMTAggregateZk*>(static_cast<TAggregateField*>(Field)->Handle());
  return A ? A->Value() : Variant::MakeNull();
}

// The framework's blob stream: the bytes are exactly those of every other dataset, and each
// write is stored into the field at once (so nothing waits for the stream to be freed).
TStream* TCustomMemTableZk::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  return new TBlobStream(Field, Mode);
}
