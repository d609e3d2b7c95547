// DBGridZkImpExp.cpp - the export base (which records and columns, totals of sum and count
// footers), RunGridExporter/RunGridImporter, and the unit's start.
#include "gridlib/grid/DBGridZkImpExp.h"

#include <cmath>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkImpExp_p.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Clipboard.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SysUtils.h"

unsigned VCLDBIFClipboardFormat = 0, CsvClipboardFormat = 0, RtfClipboardFormat = 0;

// --- shared helpers -------------------------------------------------------------------------------

namespace impexp {

TColumnsZkList VisibleColumnRange(TCustomDBGridZk* Grid, int First, int Last) {
  const TColumnsZkList& V = Grid->VisibleColumns();
  TColumnsZkList Out;
  for (int I = std::max(First, 0); I <= Last && I < static_cast<int>(V.size()); ++I)
    Out.push_back(V[static_cast<std::size_t>(I)]);
  return Out;
}

TColumnsZkList SelectionColumns(TCustomDBGridZk* Grid, TDBGridZkSelectionType Kind, bool Tail) {
  const int Count = static_cast<int>(Grid->VisibleColumns().size());
  switch (Kind) {
    case gstRecordBookmarks: case gstAll: return Grid->VisibleColumns();
    case gstRectangle:
      return VisibleColumnRange(Grid, Grid->Selection()->Rect()->LeftCol(),
                                Grid->Selection()->Rect()->RightCol());
    case gstColumns: {
      TDBGridZkSelectionCols* S = Grid->Selection()->Columns();
      return TColumnsZkList(S->begin(), S->end());
    }
    case gstNon: break;
  }
  const int I = Grid->SelectedIndex();
  return VisibleColumnRange(Grid, I, Tail ? Count - 1 : I);
}

TBookmark SavePosition(TDataSet* D) {
  if (!D->Active() || D->IsEmpty() || !D->BookmarkAvailable()) return {};
  return D->GetBookmark();
}

void RestorePosition(TDataSet* D, const TBookmark& B) {
  if (D->State() == dsEdit || D->State() == dsInsert) D->Post();
  if (!B.empty() && D->BookmarkValid(B)) D->GotoBookmark(B);
}

}  // namespace impexp

using namespace impexp;

// --- export base ----------------------------------------------------------------------------------

TDBGridZkExport::TDBGridZkExport() : FColCellParamsZk(std::make_unique<TColCellParamsZk>()) {}
TDBGridZkExport::~TDBGridZkExport() = default;

void TDBGridZkExport::SetExportColumns(const TColumnsZkList& Cols) {
  FExpCols = Cols;
  // A column's font, colour and alignment do not change between records: read them once.
  FLooks.clear();
  for (TColumnZk* C : Cols) {
    FLooks.push_back({std::make_unique<TFont>(), C->Color(), C->Alignment()});
    FLooks.back().Font->Assign(C->Font());
  }
}

void TDBGridZkExport::SetUpColumns(const TColumnsZkList& Cols, bool WithTitle) {
  SetExportColumns(Cols);
  FooterValues.assign(static_cast<std::size_t>(FDBGridZk->FooterRowCount()) * Cols.size(), 0);
  WritePrefix();
  if (WithTitle && FDBGridZk->Options().Contains(dgTitles)) WriteTitle(FExpCols);
}

void TDBGridZkExport::WriteFooters() {
  for (int R = 0; R < FDBGridZk->FooterRowCount(); ++R) WriteFooter(FExpCols, R);
}

void TDBGridZkExport::ExportToStream(TStream* AStream, bool IsExportAll) {
  FStream = AStream;
  TDataSet* D = FDBGridZk->DataSet();
  if (!D) return;
  const TDBGridZkSelectionType Kind =
      IsExportAll ? gstAll : FDBGridZk->Selection()->SelectionType();
  TBookmark Saved;
  {
    TControlsDisabled Hold(D);
    Saved = SavePosition(D);
    try {
      switch (Kind) {
        case gstRecordBookmarks: {
          SetUpColumns(SelectionColumns(FDBGridZk, Kind, false), true);
          TBookmarkListZk* Rows = FDBGridZk->Selection()->Rows();
          for (int I = 0; I < Rows->Count(); ++I) {
            D->GotoBookmark(*Rows->Items(I));
            CalcFooterValues();
            WriteRecord(FExpCols);
          }
          WriteFooters();
          break;
        }
        case gstRectangle:
          SetUpColumns(SelectionColumns(FDBGridZk, Kind, false), true);
          WalkRectangle(FDBGridZk, [&] {
            WriteRecord(FExpCols);
            CalcFooterValues();
          });
          WriteFooters();
          break;
        case gstColumns: case gstAll:
          SetUpColumns(SelectionColumns(FDBGridZk, Kind, false), true);
          for (D->First(); !D->Eof(); D->Next()) {
            WriteRecord(FExpCols);
            CalcFooterValues();
          }
          WriteFooters();
          break;
        case gstNon:
          // The current cell alone, also in a detail dataset under a master: a copy that put
          // nothing on the clipboard would look like success.
          SetExportColumns(SelectionColumns(FDBGridZk, gstNon, false));
          WritePrefix();
          if (!D->IsEmpty()) WriteRecord(FExpCols);
          break;
      }
    } catch (...) {
      RestorePosition(D, Saved);
      throw;
    }
    RestorePosition(D, Saved);
  }
  WriteSuffix();
}

void TDBGridZkExport::ExportToFile(const String& FileName, bool IsExportAll) {
  TFileStream File(FileName, fmCreate);
  ExportToStream(&File, IsExportAll);
}

void TDBGridZkExport::WriteRecord(const TColumnsZkList& Columns) {
  TColCellParamsZk* P = FColCellParamsZk.get();
  const bool Cached = Columns == FExpCols && FLooks.size() == Columns.size();
  for (std::size_t I = 0; I < Columns.size(); ++I) {
    TColumnZk* Column = Columns[I];
    P->Row = -1;
    P->Col = -1;
    P->State = TGridDrawState();
    P->Font()->Assign(Cached ? FLooks[I].Font.get() : Column->Font());
    P->Background = Cached ? FLooks[I].Color : Column->Color();
    P->Alignment = Cached ? FLooks[I].Alignment : Column->Alignment();
    P->ImageIndex = Column->GetImageIndex();
    P->Text = Column->DisplayText();
    // As painted: a column without check boxes has no state to read (that would format the
    // field's text a second time).
    P->CheckboxState = Column->Checkboxes() ? Column->CheckboxState() : cbUnchecked;
    TColor Background = P->Background;
    if (FDBGridZk->OnGetCellParams())
      FDBGridZk->OnGetCellParams()(FDBGridZk, Column, P->Font(), Background, TGridDrawState());
    if (Column->OnGetCellParams()) Column->OnGetCellParams()(Column, false, P);
    P->Background = Background;
    WriteDataCell(Column, P);
  }
}

TField* TDBGridZkExport::FooterField(TColumnZk* Column, int FooterNo) {
  TColumnFooterZk* F = Column->UsedFooter(FooterNo);
  const String Name = F->FieldName().empty() ? Column->FieldName() : F->FieldName();
  TDataSet* D = FDBGridZk->DataSet();
  return D && !Name.empty() ? D->FindField(Name) : nullptr;
}

void TDBGridZkExport::CalcFooterValues() {
  const std::size_t Cols = FExpCols.size();
  for (int R = 0; R < FDBGridZk->FooterRowCount(); ++R)
    for (std::size_t C = 0; C < Cols; ++C) {
      TColumnZk* Column = FExpCols[C];
      TField* Field = FooterField(Column, R);
      if (!Field) continue;
      Int64& Total = FooterValues[C + static_cast<std::size_t>(R) * Cols];
      switch (Column->UsedFooter(R)->ValueType()) {
        case fvtSum:
          if (!Field->IsNull())
            Total = static_cast<Int64>(std::nearbyint(
                static_cast<long double>(Field->AsFloat()) * Currency::Scale + Total));
          break;
        case fvtCount: Total += Currency::Scale; break;
        default: break;
      }
    }
}

String TDBGridZkExport::FormatFooterTotal(int FooterNo, int ColIndex) {
  TColumnZk* Column = FExpCols[static_cast<std::size_t>(ColIndex)];
  const Int64 Raw = FooterValues[static_cast<std::size_t>(ColIndex) +
                                 static_cast<std::size_t>(FooterNo) * FExpCols.size()];
  const Currency Value = Currency::FromRaw(Raw);
  if (Column->UsedFooter(FooterNo)->ValueType() == fvtCount) return FloatToStr(Value.ToExtended());
  TField* Field = FooterField(Column, FooterNo);
  if (!Field) return String();
  auto* Num = dynamic_cast<TNumericField*>(Field);
  const String Format = Num ? Num->DisplayFormat() : String();
  switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
      if (!Format.empty()) return FormatFloat(Format, Value.ToExtended());
      return IntToStr(static_cast<Int64>(std::nearbyint(Value.ToExtended())));
    case ftFloat: case ftCurrency: {
      if (!Format.empty()) return FormatFloat(Format, Value.ToExtended());
      auto* F = dynamic_cast<TFloatField*>(Field);
      const bool IsCurrency = F && F->currency();
      return FloatToStrF(Value.ToExtended(), IsCurrency ? ffCurrency : ffGeneral,
                         F ? F->Precision() : 15, IsCurrency ? FormatSettings.CurrencyDecimals : 0);
    }
    case ftBCD: case ftFMTBcd: {
      if (!Format.empty()) return FormatCurr(Format, Value);
      auto* B = dynamic_cast<TBCDField*>(Field);
      const bool IsCurrency = B && B->currency();
      return CurrToStrF(Value, IsCurrency ? ffCurrency : ffGeneral,
                        IsCurrency ? FormatSettings.CurrencyDecimals : 0);
    }
    default: return String();
  }
}

void TDBGridZkExport::WriteFooter(const TColumnsZkList& Columns, int FooterNo) {
  TFont Font;
  for (std::size_t I = 0; I < Columns.size(); ++I) {
    TColumnZk* Column = Columns[I];
    TColumnFooterZk* F = Column->UsedFooter(FooterNo);
    Font.Assign(F->Font());
    TColor Background = F->Color();
    TAlignment Alignment = F->Alignment();
    String Text = F->ValueType() == fvtSum || F->ValueType() == fvtCount
                      ? FormatFooterTotal(FooterNo, static_cast<int>(I))
                      : FDBGridZk->GetFooterText(Column, FooterNo);
    if (FDBGridZk->OnGetFooterParams())
      FDBGridZk->OnGetFooterParams()(FDBGridZk, Column->Index(), FooterNo, Column, &Font,
                                     Background, Alignment, TGridDrawState(), Text);
    WriteFooterCell(static_cast<int>(I), FooterNo, Text, Alignment, Background, &Font, Column);
  }
}

// --- runners and the unit's start ------------------------------------------------------------------

void RunGridExporter(TDBGridZkExportClass ExportClass, TCustomDBGridZk* Grid, TStream* Stream,
                     bool ForWholeGrid) {
  std::unique_ptr<TDBGridZkExport> E = ExportClass();
  E->SetDBGridZk(Grid);
  E->ExportToStream(Stream, ForWholeGrid);
}

void RunGridImporter(TDBGridZkImportClass ImportClass, TCustomDBGridZk* Grid, TStream* Stream,
                     bool ForWholeGrid) {
  std::unique_ptr<TDBGridZkImport> I = ImportClass();
  I->SetDBGridZk(Grid);
  I->ImportFromStream(Stream, ForWholeGrid);
}

void DBGridZkImpExpInitialize() {
  VCLDBIFClipboardFormat = RegisterClipboardFormat(u"VCLDBIF");
  CsvClipboardFormat = RegisterClipboardFormat(u"Csv");
  RtfClipboardFormat = RegisterClipboardFormat(u"Rich Text Format");
  TDBGridZkRoutines& R = DBGridZkRoutines();
  R.CopyGridSelectionToClipboard = CopyGridSelectionToClipboard;
  R.PasteClipboardIntoGrid = PasteClipboardIntoGrid;
  R.CutGridSelection = CutGridSelection;
  R.DeleteGridSelection = DeleteGridSelection;
}
