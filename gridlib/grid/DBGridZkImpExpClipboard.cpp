// DBGridZkImpExpClipboard.cpp - the grid's Copy, Paste, Cut and Delete: the selection on the
// clipboard in five formats, the preferred format read back into the grid, and the selected
// records deleted or cells cleared.
#include "gridlib/grid/DBGridZkImpExp.h"

#include "gridlib/grid/DBGridZkImpExp_p.h"
#include "gridlib/toolkit/GridLibraryStrings.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Dialogs.h"
#include "platform/db/DBConsts.h"
#include "platform/db/Fields.h"

using namespace impexp;

namespace {

// The clipboard held open for the lifetime of the guard.
class TClipboardOpen {
public:
  TClipboardOpen() { Clipboard()->Open(); }
  ~TClipboardOpen() { Clipboard()->Close(); }
  TClipboardOpen(const TClipboardOpen&) = delete;
  TClipboardOpen& operator=(const TClipboardOpen&) = delete;
};

TDataSet* GridDataSet(TCustomDBGridZk* Grid) {
  return Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
}

}  // namespace

void PutStreamOnClipboard(unsigned Format, TStream* Stream) {
  TClipboardOpen Open;
  Stream->SetPosition(0);
  Clipboard()->SetData(Format, ReadRestOfStream(Stream));
}

void ReadClipboardFormatToStream(unsigned Format, TStream* Stream) {
  TClipboardOpen Open;
  const std::string Bytes = Clipboard()->GetData(Format);
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void CopyGridSelectionToClipboard(TCustomDBGridZk* Grid, bool ForWholeGrid) {
  TDataSet* D = GridDataSet(Grid);
  if (!D) return;
  struct TFormat {
    TDBGridZkExportClass Exporter;
    int Terminator;   // zero bytes appended
    unsigned Format;
  };
  const TFormat Formats[] = {
      {NewGridExporter<TDBGridZkExportAsText>, 1, CF_TEXT},
      {NewGridExporter<TDBGridZkExportAsUnicodeText>, 2, CF_UNICODETEXT},
      {NewGridExporter<TDBGridZkExportAsCSV>, 1, CsvClipboardFormat},
      {NewGridExporter<TDBGridZkExportAsRTF>, 1, RtfClipboardFormat},
      {NewGridExporter<TDBGridZkExportAsVCLDBIF>, 0, VCLDBIFClipboardFormat}};
  TClipboardOpen Open;
  TControlsDisabled Hold(D);
  TMemoryStreamZk Stream;
  Stream.SetHalfMemoryDelta(65536);
  for (const TFormat& F : Formats) {
    RunGridExporter(F.Exporter, Grid, &Stream, ForWholeGrid);
    const char Zero[2] = {0, 0};
    if (F.Terminator) Stream.WriteBuffer(Zero, F.Terminator);
    PutStreamOnClipboard(F.Format, &Stream);
    Stream.SetSize(0);
  }
}

void PasteClipboardIntoGrid(TCustomDBGridZk* Grid, bool ForWholeGrid) {
  const std::pair<unsigned, TDBGridZkImportClass> Preferred[] = {
      {VCLDBIFClipboardFormat, NewGridImporter<TDBGridZkImportAsVCLDBIF>},
      {CF_UNICODETEXT, NewGridImporter<TDBGridZkImportAsUnicodeText>},
      {CF_TEXT, NewGridImporter<TDBGridZkImportAsText>}};
  TClipboardOpen Open;
  for (const auto& [Format, Importer] : Preferred) {
    if (!Clipboard()->HasFormat(Format)) continue;
    TMemoryStreamZk Stream;
    ReadClipboardFormatToStream(Format, &Stream);
    Stream.SetPosition(0);
    RunGridImporter(Importer, Grid, &Stream, ForWholeGrid);
    return;
  }
}

void CutGridSelection(TCustomDBGridZk* Grid, bool ForWholeGrid) {
  CopyGridSelectionToClipboard(Grid, ForWholeGrid);
  DeleteGridSelection(Grid, ForWholeGrid);
}

// --- delete ---------------------------------------------------------------------------------------

namespace {

// Deleting every record or clearing whole columns asks like deleting several records or
// clearing a rectangle: nothing is lost without the question the option promises.
bool ConfirmGridDelete(TCustomDBGridZk* Grid, TDBGridZkSelectionType Kind) {
  if (!Grid->Options().Contains(dgConfirmDelete)) return true;
  String Question;
  switch (Kind) {
    case gstRecordBookmarks:
      Question = Grid->Selection()->Rows()->Count() < 2 ? DBText::DeleteRecordQuestion
                                                        : DBText::DeleteMultipleRecordsQuestion;
      break;
    case gstAll: Question = DBText::DeleteMultipleRecordsQuestion; break;
    default: Question = GridLibraryString(SClearSelectedCells); break;
  }
  return MessageDlg(Question, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}, 0) != mrCancel;
}

void ClearFieldForEdit(TField* Field) {
  if (!Field->CanModify()) return;
  TDataSet* D = Field->DataSet();
  D->Edit();
  if (D->State() == dsEdit || D->State() == dsInsert) Field->Clear();
}

void ClearSelectedCells(const TColumnsZkList& Columns) {
  for (TColumnZk* Column : Columns) {
    if (!Column->CanModify(false)) continue;
    TField* Field = Column->Field();
    if (Field->Lookup()) {
      TFieldsArrZk Keys;
      FieldsArrayByNames(Field->DataSet(), nullptr, Field->KeyFields(), Keys);
      for (TField* Key : Keys) ClearFieldForEdit(Key);
    } else {
      ClearFieldForEdit(Field);
    }
  }
}

}  // namespace

void DeleteGridSelection(TCustomDBGridZk* Grid, bool ForWholeGrid) {
  const TDBGridZkSelectionType Kind = ForWholeGrid ? gstAll : Grid->Selection()->SelectionType();
  TDataSet* D = GridDataSet(Grid);
  if (Kind == gstNon || !D) return;
  if (!ConfirmGridDelete(Grid, Kind)) return;
  const TBookmark Saved = SavePosition(D);
  TControlsDisabled Hold(D);
  switch (Kind) {
    case gstRecordBookmarks:
      // Last first: where bookmarks are row numbers, deleting a row renumbers the rows after it.
      Grid->Selection()->Rows()->Delete();
      Grid->Selection()->Clear();
      break;
    case gstRectangle: {
      const TColumnsZkList Cols = SelectionColumns(Grid, gstRectangle, false);
      WalkRectangle(Grid, [&] { ClearSelectedCells(Cols); });
      RestorePosition(D, Saved);
      break;
    }
    case gstColumns: {
      const TColumnsZkList Cols = SelectionColumns(Grid, gstColumns, false);
      for (D->First(); !D->Eof(); D->Next()) ClearSelectedCells(Cols);
      RestorePosition(D, Saved);
      break;
    }
    case gstAll:
      D->First();
      while (!D->Eof() && !D->IsEmpty()) D->Delete();
      break;
    case gstNon: break;
  }
}
