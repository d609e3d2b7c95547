// AppReports.h - what the data module asks of the report engine.
//
// The data module owns four reports (by name: "vqrRepColor", "vqrRepOrd", "vqrRepColorPrice",
// "vqrRepLKMPrice") and the dataset adapters they read ("vqrDBDSColorRec", ...). The report
// engine implements this interface; until it is attached the report commands do nothing but
// choose their datasets, and tests attach a recorder.
#pragma once

#include "platform/rtl/Types.h"

class TDataSet;

class IAppReports {
public:
  virtual ~IAppReports() = default;
  // Points a report dataset adapter at a dataset.
  virtual void SetAdapterDataSet(const String& Adapter, TDataSet* DataSet) = 0;
  virtual void PrepareReport(const String& Report, bool ClearLastReport) = 0;
  virtual void ShowReport(const String& Report, bool Modal) = 0;
  virtual void Print(const String& Report) = 0;
  // Exports the prepared report through the PDF filter into DefaultPath/FileName; false when
  // the file could not be written.
  virtual bool ExportPdf(const String& Report, const String& DefaultPath,
                         const String& FileName) = 0;
};
