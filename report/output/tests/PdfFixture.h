// PdfFixture.h - a 3-page prepared report built directly (no database) for the PDF export's
// tests, the pinned fonts, and the external readers (qpdf, poppler's tools) run on its files.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/CommandOutput.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrPreviewPages.h"
#include "report/output/vqrExportPDF.h"

// Points fontconfig at a configuration listing only the Liberation and DejaVu folders; runs
// before the first font is resolved.
void PinFontsForTests();

std::string ReadFileBytes(const std::string& Path);

// A report whose prepared-page store holds three A4 pages:
//   1: a bold serif header, Cyrillic and Latin memos, a framed filled memo, an underlined one;
//   2: a memo rotated 90, a line with arrows, a rectangle, an ellipse, a picture;
//   3: a memo in a font first used there ("Courier New").
class TPdfFixture {
public:
  TPdfFixture();
  ~TPdfFixture();
  TvqrReport* Report() const { return FReport.get(); }
  // A filter without dialogs writing into Path.
  std::unique_ptr<TvqrPDFExport> Filter(const std::string& Path) const;

  TvqrReportPage* Page = nullptr;

private:
  std::unique_ptr<TvqrReport> FReport;
};

// A one-page report holding only View (owned by the page's band), for operator checks.
class TSingleViewReport {
public:
  TSingleViewReport();
  ~TSingleViewReport();
  template <class V>
  V* Add() {
    auto* View = new V(Band);
    View->SetName(u"View" + IntToStr(++FCount));
    return View;
  }
  // Stores the page (once) and returns the uncompressed content stream of the exported page.
  std::string Content();
  TvqrReport* Report() const { return FReport.get(); }

  TvqrReportPage* Page = nullptr;
  TvqrBand* Band = nullptr;

private:
  std::unique_ptr<TvqrReport> FReport;
  int FCount = 0;
  bool FStored = false;
};
