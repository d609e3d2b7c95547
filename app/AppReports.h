// AppReports.h - what the data module asks of the report engine.
//
// The data module owns four reports (by name: "vqrRepColor", "vqrRepOrd", "vqrRepColorPrice",
// "vqrRepLKMPrice") and the dataset adapters they read ("vqrDBDSColorRec", ...). The report
// engine implements this interface; until it is attached the report commands do nothing but
// choose their datasets, and tests attach a recorder.
#pragma once

#include <vector>

#include "platform/rtl/Types.h"

class TDataSet;

// What an export to PDF came to: the file written (the user may have chosen another name in the
// save dialog), a dialog the user cancelled, or a failure the report engine reported.
struct TPdfExportResult {
  enum TStatus { psWritten, psCancelled, psFailed };
  TStatus Status = psFailed;
  String Path;   // the file written
};

class IAppReports {
public:
  virtual ~IAppReports() = default;
  // Points a report dataset adapter at a dataset.
  virtual void SetAdapterDataSet(const String& Adapter, TDataSet* DataSet) = 0;
  virtual void PrepareReport(const String& Report, bool ClearLastReport) = 0;
  // ClearLastReport empties the prepared pages first (the report prepares them again).
  virtual void ShowReport(const String& Report, bool ClearLastReport) = 0;
  virtual void Print(const String& Report) = 0;
  // Exports the prepared report through the PDF filter, proposing DefaultPath/FileName in its
  // dialogs.
  virtual TPdfExportResult ExportPdf(const String& Report, const String& DefaultPath,
                                     const String& FileName) = 0;
};

// --- The report engine's implementation ----------------------------------------------------

class TDM;
class TvqrReport;
class TvqrDBDataset;
class TvqrCustomExportFilter;

// The data module's four reports and eight dataset adapters over its queries. The adapters and
// reports are owned by the data module; report errors go to the application's error box.
class TAppReports : public IAppReports {
public:
  // Creates the adapters (bound by name to the module's datasets), then loads the templates.
  explicit TAppReports(TDM* Module);
  ~TAppReports() override;
  TAppReports(const TAppReports&) = delete;
  TAppReports& operator=(const TAppReports&) = delete;

  void SetAdapterDataSet(const String& Adapter, TDataSet* DataSet) override;
  void PrepareReport(const String& Report, bool ClearLastReport) override;
  void ShowReport(const String& Report, bool ClearLastReport) override;
  void Print(const String& Report) override;
  // Through the data module's filter "vqrPDFExport1" (options dialog, then save dialog).
  TPdfExportResult ExportPdf(const String& Report, const String& DefaultPath,
                             const String& FileName) override;

  TvqrReport* Report(const String& Name) const;
  TvqrDBDataset* Adapter(const String& Name) const;
  // The PDF filter ExportPdf uses (the data module's "vqrPDFExport1" unless replaced; a
  // replacement stays the caller's); nullptr leaves ExportPdf failing.
  void SetPdfExportFilter(TvqrCustomExportFilter* Filter) { FPdfFilter = Filter; }
  TvqrCustomExportFilter* PdfExportFilter() const { return FPdfFilter; }

private:
  TDM* FModule;
  std::vector<TvqrReport*> FReports;
  std::vector<TvqrDBDataset*> FAdapters;
  TvqrCustomExportFilter* FPdfFilter = nullptr;
};
