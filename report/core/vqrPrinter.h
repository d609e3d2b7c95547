// vqrPrinter.h - the printer layer of the report engine: printers, the current printer, their
// papers, bins and printable areas, and the canvas a printed page is drawn on.
//
// TvqrPrinter stands for one queue of the print server; its document is recorded as PDF and
// sent to the queue at EndDoc (or copied to FileName). Where the bin, duplex or copy count
// changes between pages, the document is cut into consecutive jobs. Without any queue the
// list holds one TvqrVirtualPrinter (600 dpi, A4, 5 mm margins, every table paper), so layout
// and preview work the same everywhere.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Strings.h"
#include "platform/graphics/Canvas.h"
#include "report/core/vqrClassBase.h"
#include "report/core/vqrPaperSizes.h"

class TvqrCustomPrinter;
class TvqrReport;

// Draws on the printer's current page; keeps font sizes in points at the printer's
// vertical resolution whenever the canvas changes.
class TvqrPrinterCanvas : public TCanvas {
public:
  explicit TvqrPrinterCanvas(TvqrCustomPrinter* Printer) : FPrinter(Printer) {}
  TvqrCustomPrinter* Printer() const { return FPrinter; }
  void SyncFontResolution();

protected:
  void Changing() override;

private:
  TvqrCustomPrinter* FPrinter;
};

class TvqrCustomPrinter : public TObject {
public:
  TvqrCustomPrinter(const String& AName, const String& APort);
  ~TvqrCustomPrinter() override;

  virtual void Init() = 0;
  virtual void Abort() = 0;
  virtual void BeginDoc() = 0;
  virtual void BeginPage() = 0;
  virtual void BeginRAWDoc() = 0;
  virtual void EndDoc() = 0;
  virtual void EndPage() = 0;
  virtual void EndRAWDoc() = 0;
  virtual void WriteRAWDoc(const std::string& Buf) = 0;
  virtual void SetViewParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                             TPrinterOrientation AOrientation) = 0;
  virtual void SetPrintParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                              TPrinterOrientation AOrientation, int ABin, TvqrDuplexMode ADuplex,
                              int ACopies) = 0;
  virtual void PropertiesDlg() = 0;

  int BinIndex(int ABin) const;
  int PaperIndex(int APaper) const;
  // The code of the named bin (case-insensitive), else the first item's (7).
  int BinNameToNumber(const String& ABin) const;
  // The code of the named paper (case-insensitive), else 256.
  int PaperNameToNumber(const String& APaper) const;

  int Bin() const { return FBin; }
  int Duplex() const { return FDuplex; }
  TStringList* Bins() const { return FBins.get(); }
  TvqrPrinterCanvas* Canvas() const { return FCanvas.get(); }
  TPrinterOrientation DefOrientation() const { return FDefOrientation; }
  int DefPaper() const { return FDefPaper; }
  Extended DefPaperHeight() const { return FDefPaperHeight; }
  Extended DefPaperWidth() const { return FDefPaperWidth; }
  int DefDuplex() const { return FDefDuplex; }
  int DefBin() const { return FDefBin; }
  TPoint DPI() const { return FDPI; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  bool Initialized() const { return FInitialized; }
  const String& Name() const { return FName; }
  const String& Port() const { return FPort; }
  int Paper() const { return FPaper; }
  TStringList* Papers() const { return FPapers.get(); }
  Extended PaperHeight() const { return FPaperHeight; }
  Extended PaperWidth() const { return FPaperWidth; }
  Extended LeftMargin() const { return FLeftMargin; }
  Extended TopMargin() const { return FTopMargin; }
  Extended RightMargin() const { return FRightMargin; }
  Extended BottomMargin() const { return FBottomMargin; }
  TPrinterOrientation Orientation() const { return FOrientation; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }

protected:
  int FBin = -1, FDuplex = -1;
  std::unique_ptr<TStringList> FBins;
  std::unique_ptr<TvqrPrinterCanvas> FCanvas;
  TPrinterOrientation FDefOrientation = poPortrait;
  int FDefPaper = 0;
  Extended FDefPaperHeight = 0, FDefPaperWidth = 0;
  int FDefDuplex = 0, FDefBin = 0;
  TPoint FDPI;
  String FFileName;
  bool FInitialized = false;
  String FName, FPort;
  int FPaper = 0;
  std::unique_ptr<TStringList> FPapers;
  Extended FPaperHeight = 0, FPaperWidth = 0;
  Extended FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
  TPrinterOrientation FOrientation = poPortrait;
  bool FPrinting = false;
  String FTitle;
};

class TvqrVirtualPrinter : public TvqrCustomPrinter {
public:
  using TvqrCustomPrinter::TvqrCustomPrinter;
  void Init() override;
  void Abort() override {}
  void BeginDoc() override {}
  void BeginPage() override {}
  void BeginRAWDoc() override {}
  void EndDoc() override {}
  void EndPage() override {}
  void EndRAWDoc() override {}
  void WriteRAWDoc(const std::string&) override {}
  void SetViewParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                     TPrinterOrientation AOrientation) override;
  void SetPrintParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                      TPrinterOrientation AOrientation, int ABin, TvqrDuplexMode ADuplex,
                      int ACopies) override;
  void PropertiesDlg() override {}
};

// A queue of the print server.
class TvqrPrinter : public TvqrCustomPrinter {
public:
  TvqrPrinter(const String& AName, const String& APort);
  ~TvqrPrinter() override;
  void Init() override;
  void Abort() override;
  void BeginDoc() override;
  void BeginPage() override;
  void BeginRAWDoc() override;
  void EndDoc() override;
  void EndPage() override;
  void EndRAWDoc() override;
  void WriteRAWDoc(const std::string& Buf) override;
  void SetViewParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                     TPrinterOrientation AOrientation) override;
  void SetPrintParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                      TPrinterOrientation AOrientation, int ABin, TvqrDuplexMode ADuplex,
                      int ACopies) override;
  void PropertiesDlg() override;

  // The `media-source` and `sides` keywords the properties dialog offers.
  std::vector<std::string> SourceKeywords() const;
  std::vector<std::string> SidesKeywords() const;
  // The jobs EndDoc submitted for the last document (their ids on the server).
  const std::vector<int>& LastJobs() const { return FLastJobs; }

private:
  struct Impl;
  bool ApplyMedia(int APaperSize, TPrinterOrientation AOrientation);
  void ResetOverrides();
  std::unique_ptr<Impl> FImpl;
  std::vector<int> FLastJobs;
};

class TvqrPrinters : public TObject {
public:
  TvqrPrinters();
  ~TvqrPrinters() override;

  void Clear();
  void FillPrinters();
  // Clears and lists the server's queues again (the virtual printer when none).
  void Refresh();
  int IndexOf(const String& AName) const;

  bool HasPhysicalPrinters() const { return FHasPhysicalPrinters; }
  TStringList* Printers() const { return FPrinters.get(); }
  int PrinterIndex() const { return FPrinterIndex; }
  // -1 selects the server's default queue; the printer chosen is initialised.
  void SetPrinterIndex(int Value);
  TvqrCustomPrinter* Printer() const;
  int Count() const { return static_cast<int>(FPrinterList.size()); }
  TvqrCustomPrinter* Items(int Index) const { return FPrinterList.at(Index).get(); }

  // --- for tests: these printers (owned) as the installed ones, the first current
  void SetPrintersForTests(std::vector<TvqrCustomPrinter*> Printers);

private:
  void AddVirtualPrinter();
  String DefaultPrinterName() const;

  bool FHasPhysicalPrinters = false;
  std::unique_ptr<TStringList> FPrinters;
  int FPrinterIndex = -1;
  std::vector<std::unique_ptr<TvqrCustomPrinter>> FPrinterList;
  String FDefaultName;
};

// The process-wide printer list, created on first use.
TvqrPrinters* PrinterList();
// Frees the list (the output module's end).
void FreePrinterList();

// The properties dialog of a queue, shown by PropertiesDlg: from the offered sources and sides
// it returns the chosen bin code and duplex value (1 simplex, 2 long edge, 3 short edge), or
// false when cancelled. Installed by the output module.
using TvqrPrinterPropertiesHook =
    std::function<bool(TvqrPrinter* Printer, int& Bin, int& Duplex)>;
void SetPrinterPropertiesHook(TvqrPrinterPropertiesHook Hook);

// The print dialog for a report (TvqrPrintDialog): true on OK with Duplex read back.
// Installed by the output module; without it the print run takes the options as they are.
using TvqrPrintDialogHook = std::function<bool(TvqrReport* Report, TvqrDuplexMode& Duplex)>;
void SetPrintDialogHook(TvqrPrintDialogHook Hook);
const TvqrPrintDialogHook& PrintDialogHook();
