// vqrExportXLS.h - TvqrXLSExport, the spreadsheet export filter.
//
// It feeds every exported object into the export matrix and, in Finish, turns the matrix into
// rows, columns, named cell styles, merged ranges, frames, values and pictures of a new
// workbook of the spreadsheet stand-in, saves it as .xlsx and releases it (or leaves it shown).
// Two paths: the fast one groups row heights, styles, frames, merges and number formats into
// address lists; the cell-by-cell one sets every object's range on its own.
// The two paths live in vqrExportXLSPaths.cpp, the dialog in vqrExportXLSDialog.cpp.
#pragma once

#include <functional>
#include <memory>

#include "report/core/vqrClassAbstract.h"

class TvqrIEMatrix;
class TvqrIEMObject;
class TvqrExcel;
class TvqrExportProgress;

class TvqrXLSExport : public TvqrCustomExportFilter {
  VORENTA_CLASS(TvqrXLSExport, TvqrCustomExportFilter)
public:
  explicit TvqrXLSExport(TComponent* AOwner);
  explicit TvqrXLSExport(NoRegisterTag Tag);
  ~TvqrXLSExport() override;

  String GetDescription() override;
  int ShowModal() override;
  bool Start() override;
  void ExportObject(TvqrComponent* Obj) override;
  void FinishPage(TvqrReportPage* Page, int Index) override;
  void StartPage(TvqrReportPage* Page, int Index) override;
  // Raises when the workbook cannot be saved (the export then reports the reason); the
  // matrix and the workbook are released in every case.
  void Finish() override;

  // --- published ----------------------------------------------------------------------------
  bool ExportPictures() const { return FExportPictures; }
  void SetExportPictures(bool Value) { FExportPictures = Value; }
  bool ExportStyles() const { return FExportStyles; }
  void SetExportStyles(bool Value) { FExportStyles = Value; }
  bool MergeCells() const { return FMergeCells; }
  void SetMergeCells(bool Value) { FMergeCells = Value; }
  bool OpenExcelAfterExport() const { return FOpenExcelAfterExport; }
  void SetOpenExcelAfterExport(bool Value) { FOpenExcelAfterExport = Value; }
  bool Wysiwyg() const { return FWysiwyg; }
  void SetWysiwyg(bool Value) { FWysiwyg = Value; }
  bool AsText() const { return FAsText; }
  void SetAsText(bool Value) { FAsText = Value; }
  bool Background() const { return FBackground; }
  void SetBackground(bool Value) { FBackground = Value; }
  bool FastExport() const { return FFastExport; }
  void SetFastExport(bool Value) { FFastExport = Value; }
  bool PageBreaks() const { return FpageBreaks; }
  void SetPageBreaks(bool Value) { FpageBreaks = Value; }
  bool EmptyLines() const { return FEmptyLines; }
  void SetEmptyLines(bool Value) { FEmptyLines = Value; }
  bool ExportEMF() const { return FExportEMF; }
  void SetExportEMF(bool Value) { FExportEMF = Value; }
  bool SuppressHeadersFooters() const { return SuppressPageHeadersFooters; }
  void SetSuppressHeadersFooters(bool Value) { SuppressPageHeadersFooters = Value; }

  // --- for tests ----------------------------------------------------------------------------
  // Called with the wrapper after the sheet is filled and before it is saved.
  using TBeforeSaveHook = std::function<void(TvqrExcel* Excel)>;
  static void SetBeforeSaveHookForTests(TBeforeSaveHook Hook);

  // "%2.2n" -> "# ##0,00" with the locale's decimal separator; "" for an unknown kind.
  static String ExcelNumberFormat(const String& FormatStr);

private:
  void Init();
  void PageSetup();
  void BreakTest(int y, int& Page);
  void ExportFast();
  void ExportCellByCell();
  void ApplyStyles(bool Fast);
  void VisitObjects(
      const std::function<void(TvqrIEMObject* O, int x, int y, int dx, int dy)>& Visit);
  void PastePicture(TvqrIEMObject* Obj, int x, int y, int dx, int dy, int& Picture, bool Fast);
  void StartProgress(int Max, const String& Message);
  bool Cancelled() const;

  std::unique_ptr<TvqrExcel> FExcel;
  bool FExportPictures = true;
  bool FExportStyles = true;
  bool FFirstPage = false;
  std::unique_ptr<TvqrIEMatrix> FMatrix;
  bool FMergeCells = true;
  bool FOpenExcelAfterExport = false;
  Extended FPageBottom = 0, FPageLeft = 0, FPageRight = 0, FPageTop = 0;
  TPrinterOrientation FPageOrientation = poPortrait;
  std::unique_ptr<TvqrExportProgress> FProgress;
  bool FWysiwyg = true;
  bool FAsText = false;
  bool FBackground = true;
  bool FFastExport = true;
  bool FpageBreaks = true;
  bool FEmptyLines = true;
  bool FExportEMF = true;
};

// Registers the filter class for form streaming.
void RegisterXLSExportClasses();
