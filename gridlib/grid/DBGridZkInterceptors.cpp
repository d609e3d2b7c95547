// DBGridZkInterceptors.cpp - the storage interceptors of the data grid's columns and their
// registration.
#include "gridlib/grid/DBGridZkInterceptors.h"

#include <memory>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"

TColumnZk* TColumnZkPropertyInterceptor::Column() const {
  return dynamic_cast<TColumnZk*>(Target());
}

int TColumnZkPropertyInterceptor::Width() const {
  TColumnZk* C = Column();
  return C ? C->Width() : 0;
}

void TColumnZkPropertyInterceptor::SetWidth(int Value) {
  TColumnZk* C = Column();
  if (!C) return;
  // An auto-fitting grid spreads its width from the base widths: the stored width is one.
  if (C->Grid() && C->Grid()->AutoFitColWidths()) C->SetInitWidth(Value);
  else C->SetWidth(Value);
}

TDBGridColumnsZk* TColumnsZkPropertyInterceptor::Columns() const {
  return dynamic_cast<TDBGridColumnsZk*>(Target());
}

String TColumnsZkPropertyInterceptor::ColumnsIndex() const {
  String Result;
  if (TDBGridColumnsZk* Cols = Columns())
    for (int I = 0; I < Cols->Count(); ++I) {
      if (I > 0) Result += u',';
      Result += u'"' + Cols->Items(I)->FieldName() + u'"';
    }
  return Result;
}

void TColumnsZkPropertyInterceptor::SetColumnsIndex(const String& Value) {
  FColumnsIndex = Value;
  TDBGridColumnsZk* Cols = Columns();
  if (!Cols) return;
  TStringList Names;
  Names.SetCommaText(Value);
  Cols->BeginUpdate();
  try {
    for (int I = 0; I < Names.Count() && I < Cols->Count(); ++I)
      for (int J = 0; J < Cols->Count(); ++J)
        if (CompareTextCaseSensitive(Cols->Items(J)->FieldName(), Names.Strings(I)) == 0) {
          Cols->Items(J)->SetIndex(I);
          break;
        }
  } catch (...) {
    Cols->EndUpdate();
    throw;
  }
  Cols->EndUpdate();
}

void RegisterDBGridZkInterceptors() {
  AddStorageInterceptorEntry(TColumnZk::ClassInfo(), TColumnZkPropertyInterceptor::ClassInfo());
  AddStorageInterceptorEntry(TDBGridColumnsZk::ClassInfo(),
                             TColumnsZkPropertyInterceptor::ClassInfo());
}

REGISTER_CLASS(TColumnZkPropertyInterceptor) {
  Class.Property("Width", &TColumnZkPropertyInterceptor::Width,
                 &TColumnZkPropertyInterceptor::SetWidth);
}

REGISTER_CLASS(TColumnsZkPropertyInterceptor) {
  Class.Property("ColumnsIndex", &TColumnsZkPropertyInterceptor::ColumnsIndex,
                 &TColumnsZkPropertyInterceptor::SetColumnsIndex);
}
