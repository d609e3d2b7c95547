// DBGridZkImpExpImport.cpp - the import base: which records and columns receive the values read,
// overwriting, inserting or appending, and the error guard of every assignment.
#include "gridlib/grid/DBGridZkImpExp.h"

#include "gridlib/grid/DBGridZkImpExp_p.h"
#include "gridlib/toolkit/GridLibraryStrings.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Dialogs.h"
#include "platform/db/Fields.h"

using namespace impexp;

namespace {

// After an import ended early: the record being filled is posted with the values it got, or
// cancelled when the dataset refuses it.
void KeepPendingRecord(TDataSet* D) {
  if (D->State() != dsEdit && D->State() != dsInsert) return;
  try {
    D->Post();
  } catch (const Exception&) {
    D->Cancel();   // the refusal ends here: the import's own error is the one reported
  }
}

}  // namespace

void TDBGridZkImport::ImportFromFile(const String& FileName, bool IsImportAll) {
  TFileStream File(FileName, fmOpenRead);
  ImportFromStream(&File, IsImportAll);
}

void TDBGridZkImport::InsertImportedRecords(bool AppendMode) {
  TDataSet* D = FDBGridZk->DataSet();
  while (!Eos) {
    if (AppendMode) D->Append();
    else D->Insert();
    ImportRecord(FImpCols);
    D->Post();
    if (!AppendMode) D->Next();
  }
}

void TDBGridZkImport::ImportBySelection(TDBGridZkSelectionType Kind, bool InsertMode,
                                        bool& AppendMode) {
  TDataSet* D = FDBGridZk->DataSet();
  FImpCols = SelectionColumns(FDBGridZk, Kind, true);
  ReadPrefix();
  if (InsertMode) return InsertImportedRecords(AppendMode);
  switch (Kind) {
    case gstRecordBookmarks: {
      TBookmarkListZk* Rows = FDBGridZk->Selection()->Rows();
      for (int I = 0; I < Rows->Count(); ++I) {
        D->GotoBookmark(*Rows->Items(I));
        ImportRecord(FImpCols);
      }
      break;
    }
    case gstRectangle: WalkRectangle(FDBGridZk, [&] { ImportRecord(FImpCols); }); break;
    case gstColumns: case gstAll:
      for (D->First(); !D->Eof(); D->Next()) ImportRecord(FImpCols);
      break;
    case gstNon:
      // Back to the record the import started on; an empty table has none and goes on to
      // appending.
      if (!D->IsEmpty()) {
        FDBGridZk->RestoreBookmark();
        for (; !D->Eof() && !Eos; D->Next()) ImportRecord(FImpCols);
      }
      if (FDBGridZk->AllowedOperations().Contains(alopAppendZk)) {
        if (D->State() == dsEdit) D->Post();
        AppendMode = true;
        InsertImportedRecords(true);
      }
      break;
  }
}

void TDBGridZkImport::ImportFromStream(TStream* AStream, bool IsImportAll) {
  FStream = AStream;
  Eos = false;
  FData = ReadRestOfStream(AStream);
  FPos = 0;
  CheckInput();
  TDataSet* D = FDBGridZk->DataSet();
  if (!D || !D->Active()) return;
  TDBGridZkSelectionType Kind = FDBGridZk->Selection()->SelectionType();
  if (IsImportAll) {
    FDBGridZk->Selection()->Clear();
    D->First();
    if (!FDBGridZk->VisibleColumns().empty()) FDBGridZk->SetCol(FDBGridZk->IndicatorOffset());
    Kind = gstNon;
  }
  bool AppendMode = D->Eof();
  const bool InsertMode = D->State() == dsInsert;
  // The grid's own saved position brings the current record back to its screen row.
  if (!InsertMode) FDBGridZk->SaveBookmark();
  {
    TControlsDisabled Hold(D);
    try {
      ImportBySelection(Kind, InsertMode, AppendMode);
    } catch (...) {
      KeepPendingRecord(D);
      if (!InsertMode) FDBGridZk->RestoreBookmark();
      throw;
    }
    if (!InsertMode) FDBGridZk->RestoreBookmark();
  }
  FinishReading();
}

void TDBGridZkImport::ImportRecord(const TColumnsZkList& Columns) {
  for (TColumnZk* Column : Columns) ImportCell(Column);
}

void TDBGridZkImport::AssignImportedValue(TField* Field, const std::function<void()>& Assign) {
  TDataSet* D = Field->DataSet();
  if (!D || !D->CanModify()) return;
  D->Edit();
  if (D->State() != dsEdit && D->State() != dsInsert) return;
  try {
    Assign();
  } catch (const EAbort&) {
    throw;
  } catch (const Exception& E) {
    if (FIgnoreAll) return;
    const String Text = GridLibraryString(SErrorInsertingValue) + u"\n" + E.Message() + u"\n\n" +
                        GridLibraryString(SIgnoreError);
    switch (MessageDlg(Text, mtError, TMsgDlgButtons{mbYes, mbNo, mbAll}, 0)) {
      case mrYes: return;
      case mrAll: FIgnoreAll = true; return;
      default: Abort();
    }
  }
}
