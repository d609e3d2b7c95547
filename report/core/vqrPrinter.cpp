// vqrPrinter.cpp - printers, the printer list and the printer canvas.
#include "report/core/vqrPrinter.h"

#include <cstdint>
#include <fstream>

#include "platform/printing/CupsQueue.h"
#include "platform/printing/PrintDocument.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

namespace {

TObject* CodeObject(int Code) {
  return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Code));
}

int ObjectCode(TObject* O) { return static_cast<int>(reinterpret_cast<std::intptr_t>(O)); }

int IndexOfCode(const TStringList* List, int Code) {
  for (int I = 0; I < List->Count(); ++I)
    if (ObjectCode(List->Objects(I)) == Code) return I;
  return -1;
}

int CodeOfName(const TStringList* List, const String& Name, int Otherwise) {
  for (int I = 0; I < List->Count(); ++I)
    if (AnsiSameText(List->Strings(I), Name)) return ObjectCode(List->Objects(I));
  return Otherwise;
}

TvqrPrinterPropertiesHook& PropertiesHook() {
  static TvqrPrinterPropertiesHook Hook;
  return Hook;
}

TvqrPrintDialogHook& DialogHook() {
  static TvqrPrintDialogHook Hook;
  return Hook;
}

std::unique_ptr<TvqrPrinters>& ListInstance() {
  static std::unique_ptr<TvqrPrinters> List;
  return List;
}

// A readable paper name from a PWG media name: "iso_a4_210x297mm" gives "A4",
// "na_letter_8.5x11in" gives "Letter".
String PaperDisplayName(const std::string& Pwg) {
  const std::string Base = MediaBaseName(Pwg);
  const size_t First = Base.find('_'), Last = Base.rfind('_');
  std::string Name = First != std::string::npos && Last > First
                         ? Base.substr(First + 1, Last - First - 1)
                         : Base;
  if (!Name.empty()) Name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(Name[0])));
  return Utf8ToString(Name);
}

String SizeName(const TvqrPaperSize& P) {
  return FormatFloatText(P.Width / 10.0L) + u" x " + FormatFloatText(P.Height / 10.0L) + u" mm";
}

}  // namespace

// --- canvas -----------------------------------------------------------------------------------

void TvqrPrinterCanvas::SyncFontResolution() {
  const int Dpi = FPrinter->DPI().Y;
  if (Dpi > 0 && Font()->PixelsPerInch() != Dpi) {
    const int Size = Font()->Size();
    Font()->SetPixelsPerInch(Dpi);
    Font()->SetSize(Size);
  }
}

void TvqrPrinterCanvas::Changing() {
  TCanvas::Changing();
  SyncFontResolution();
}

// --- the common printer -----------------------------------------------------------------------

TvqrCustomPrinter::TvqrCustomPrinter(const String& AName, const String& APort)
    : FBins(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TvqrPrinterCanvas>(this)),
      FName(AName),
      FPort(APort),
      FPapers(std::make_unique<TStringList>()) {
  FBins->AddObject(StringTable()->Get(u"prDefault"), CodeObject(7));
  FPapers->AddObject(StringTable()->Get(u"prCustom"), CodeObject(vqrCustomPaperCode));
}

TvqrCustomPrinter::~TvqrCustomPrinter() = default;

int TvqrCustomPrinter::BinIndex(int ABin) const { return IndexOfCode(FBins.get(), ABin); }

int TvqrCustomPrinter::PaperIndex(int APaper) const { return IndexOfCode(FPapers.get(), APaper); }

int TvqrCustomPrinter::BinNameToNumber(const String& ABin) const {
  return CodeOfName(FBins.get(), ABin, ObjectCode(FBins->Objects(0)));
}

int TvqrCustomPrinter::PaperNameToNumber(const String& APaper) const {
  return CodeOfName(FPapers.get(), APaper, vqrCustomPaperCode);
}

// --- the virtual printer ----------------------------------------------------------------------

void TvqrVirtualPrinter::Init() {
  if (FInitialized) return;
  FDPI = {600, 600};
  FDefPaper = 9;
  FDefOrientation = poPortrait;
  FDefPaperWidth = 210;
  FDefPaperHeight = 297;
  int Count = 0;
  const TvqrPaperSize* Rows = vqrPaperSizes(Count);
  // Each paper is named by its size, so that a paper picked by name in the dialogs comes
  // back as its own code (papers of one size are one paper for layout: the first code wins).
  for (int I = 0; I < Count; ++I) FPapers->AddObject(SizeName(Rows[I]), CodeObject(Rows[I].Code));
  FBin = -1;
  FDuplex = -1;
  FInitialized = true;
}

void TvqrVirtualPrinter::SetViewParams(int APaperSize, Extended APaperWidth,
                                       Extended APaperHeight, TPrinterOrientation AOrientation) {
  Extended W = 0, H = 0;
  if (APaperSize != vqrCustomPaperCode && LookupPaperSize(APaperSize, W, H)) {
    if (AOrientation == poLandscape) std::swap(W, H);
    FPaperWidth = W;
    FPaperHeight = H;
    FPaper = APaperSize;
  } else {
    FPaper = vqrCustomPaperCode;
    FPaperWidth = APaperWidth;
    FPaperHeight = APaperHeight;
  }
  FOrientation = AOrientation;
  FLeftMargin = FTopMargin = FRightMargin = FBottomMargin = 5;
}

void TvqrVirtualPrinter::SetPrintParams(int APaperSize, Extended APaperWidth,
                                        Extended APaperHeight, TPrinterOrientation AOrientation,
                                        int ABin, TvqrDuplexMode, int) {
  SetViewParams(APaperSize, APaperWidth, APaperHeight, AOrientation);
  FBin = ABin;
}

// --- a queue of the print server --------------------------------------------------------------

struct TvqrPrinter::Impl {
  std::unique_ptr<TPrintQueue> Queue;
  std::vector<TQueuePaper> Papers;
  std::vector<TQueueBin> Bins;
  TJobOptions Pending;   // for the next page
  TJobOptions Current;   // of the pages recorded so far
  std::unique_ptr<TPrintDocument> Document;
  // Finished parts of the document, one job each.
  std::vector<std::pair<TJobOptions, std::string>> Parts;
  std::string Raw;

  const TQueuePaper* PaperByCode(int Code) const {
    for (const TQueuePaper& P : Papers)
      if (P.Code == Code) return &P;
    return nullptr;
  }

  void FinishPart() {
    if (!Document) return;
    if (Document->PageCount() > 0) Parts.emplace_back(Current, Document->Finish());
    Document.reset();
  }
};

namespace {

bool SameJob(const TJobOptions& A, const TJobOptions& B) {
  return A.MediaSource == B.MediaSource && A.Sides == B.Sides && A.Copies == B.Copies;
}

}  // namespace

TvqrPrinter::TvqrPrinter(const String& AName, const String& APort)
    : TvqrCustomPrinter(AName, APort), FImpl(std::make_unique<Impl>()) {}

TvqrPrinter::~TvqrPrinter() = default;

void TvqrPrinter::Init() {
  if (FInitialized) return;
  try {
    FImpl->Queue = std::make_unique<TPrintQueue>(FName);
  } catch (const EPrinterError&) {
    return;  // the queue is gone: the printer stays uninitialised
  }
  TPrintQueue& Q = *FImpl->Queue;
  int X = 0, Y = 0;
  Q.Resolution(X, Y);
  FDPI = X > 0 && Y > 0 ? TPoint{X, Y} : TPoint{600, 600};
  FImpl->Papers = BuildPaperList(Q.Media());
  for (const TQueuePaper& P : FImpl->Papers)
    if (P.Code != vqrCustomPaperCode)
      FPapers->AddObject(PaperDisplayName(P.Media.Name), CodeObject(P.Code));
  FImpl->Bins = BuildBinList(Q.MediaSources());
  for (const TQueueBin& B : FImpl->Bins)
    if (B.Code != 7) FBins->AddObject(Utf8ToString(B.Keyword), CodeObject(B.Code));

  TMediaSize Default;
  int DefCode = 9;
  if (Q.DefaultMedia(Default)) {
    const int Code = PwgPaperCode(Default.Name);
    if (Code > 0) DefCode = Code;
    else
      for (const TQueuePaper& P : FImpl->Papers)
        if (MediaBaseName(P.Media.Name) == MediaBaseName(Default.Name)) DefCode = P.Code;
  } else if (!FImpl->Papers.empty()) {
    DefCode = FImpl->Papers.front().Code;
  }
  if (!ApplyMedia(DefCode, poPortrait)) {
    FImpl->Queue.reset();
    return;
  }
  const int DefSource = MediaSourceBinCode(Q.DefaultMediaSource());
  FDefBin = DefSource > 0 ? DefSource : 7;
  const int DefSides = SidesDuplex(Q.DefaultSides());
  FDefDuplex = DefSides > 0 ? DefSides : 1;
  FDefPaper = FPaper;
  FDefPaperWidth = FPaperWidth;
  FDefPaperHeight = FPaperHeight;
  FDefOrientation = poPortrait;
  FOrientation = poPortrait;
  FBin = -1;
  FDuplex = -1;
  FInitialized = true;
}

// The queue's medium of a paper code: size and margins in whole millimetres, turned for
// landscape. False (nothing changed) when the queue has no such paper.
bool TvqrPrinter::ApplyMedia(int APaperSize, TPrinterOrientation AOrientation) {
  TMediaSize Media;
  if (const TQueuePaper* P = FImpl->PaperByCode(APaperSize)) Media = P->Media;
  else if (!FImpl->Queue || PaperCodePwg(APaperSize).empty() ||
           !FImpl->Queue->MediaByName(PaperCodePwg(APaperSize), Media))
    return false;
  const TPaperMillimetres M = MediaMillimetres(Media);
  if (AOrientation == poLandscape) {
    FPaperWidth = M.Height;
    FPaperHeight = M.Width;
    FLeftMargin = M.Top;
    FTopMargin = M.Left;
    FRightMargin = M.Bottom;
    FBottomMargin = M.Right;
  } else {
    FPaperWidth = M.Width;
    FPaperHeight = M.Height;
    FLeftMargin = M.Left;
    FTopMargin = M.Top;
    FRightMargin = M.Right;
    FBottomMargin = M.Bottom;
  }
  FPaper = APaperSize;
  FOrientation = AOrientation;
  FImpl->Pending.Media = MediaBaseName(Media.Name);
  return true;
}

void TvqrPrinter::SetViewParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                                TPrinterOrientation AOrientation) {
  if (APaperSize != vqrCustomPaperCode) {
    ApplyMedia(APaperSize, AOrientation);
    return;
  }
  // A custom size keeps the margins and resolution of A4 in that orientation.
  ApplyMedia(9, AOrientation);
  FPaperHeight = APaperHeight;
  FPaperWidth = APaperWidth;
  FPaper = vqrCustomPaperCode;
  FOrientation = AOrientation;
}

void TvqrPrinter::SetPrintParams(int APaperSize, Extended APaperWidth, Extended APaperHeight,
                                 TPrinterOrientation AOrientation, int ABin,
                                 TvqrDuplexMode ADuplex, int ACopies) {
  SetViewParams(APaperSize, APaperWidth, APaperHeight, AOrientation);
  TJobOptions& O = FImpl->Pending;
  if (APaperSize == vqrCustomPaperCode) {
    // Portrait sense: the shorter side across.
    const Extended W = AOrientation == poLandscape ? APaperHeight : APaperWidth;
    const Extended H = AOrientation == poLandscape ? APaperWidth : APaperHeight;
    O.Media = "custom_" + std::to_string(Round(W)) + "x" + std::to_string(Round(H)) + "mm";
  }
  int Bin = FBin != -1 ? FBin : ABin;
  if (Bin == 7) Bin = FDefBin;
  O.MediaSource = BinKeyword(FImpl->Bins, Bin);
  int Duplex = ADuplex == dmNone ? FDefDuplex : static_cast<int>(ADuplex) + 1;
  if (Duplex == 4) Duplex = 1;
  if (FDuplex != -1) Duplex = FDuplex;
  O.Sides = SidesKeyword(Duplex);
  O.Copies = ACopies;
}

void TvqrPrinter::BeginDoc() {
  FPrinting = true;
  FLastJobs.clear();
  FImpl->Parts.clear();
  FImpl->Document.reset();
}

void TvqrPrinter::BeginPage() {
  Impl& D = *FImpl;
  // A bin, duplex or copy change cannot be said inside one job: the document goes on as the
  // next job. A print-to-file document stays whole.
  if (D.Document && FFileName.empty() && !SameJob(D.Current, D.Pending)) D.FinishPart();
  if (!D.Document) {
    D.Document = std::make_unique<TPrintDocument>(FDPI.Y);
    D.Current = D.Pending;
  }
  D.Document->BeginPage(FCanvas.get(), FPaperWidth, FPaperHeight, FLeftMargin, FTopMargin);
  FCanvas->SyncFontResolution();
}

void TvqrPrinter::EndPage() {
  if (FImpl->Document) FImpl->Document->EndPage(FCanvas.get());
}

void TvqrPrinter::ResetOverrides() {
  FPrinting = false;
  FBin = -1;
  FDuplex = -1;
  FImpl->Document.reset();
  FImpl->Parts.clear();
}

void TvqrPrinter::EndDoc() {
  Impl& D = *FImpl;
  FCanvas->ReleaseDevice();
  D.FinishPart();
  auto Parts = std::move(D.Parts);
  ResetOverrides();
  if (Parts.empty()) return;
  if (!FFileName.empty()) {
    std::ofstream File(StringToUtf8(FFileName), std::ios::binary | std::ios::trunc);
    File.write(Parts.front().second.data(), static_cast<std::streamsize>(Parts.front().second.size()));
    if (!File.good()) throw EPrinterError(u"Cannot write the print file " + FFileName);
    return;
  }
  if (!D.Queue) throw EPrinterError(u"Printer selected is not valid");
  const String JobTitle = FTitle.empty() ? String(u"Quillerant Document") : FTitle;
  try {
    for (const auto& [Options, Pdf] : Parts) FLastJobs.push_back(D.Queue->PrintPdf(JobTitle, Pdf, Options));
  } catch (const EPrinterError&) {
    // The document goes whole or not at all: the parts already queued are withdrawn.
    for (int Job : FLastJobs) {
      try {
        D.Queue->CancelJob(Job);
      } catch (const EPrinterError&) {
      }
    }
    FLastJobs.clear();
    throw;
  }
}

void TvqrPrinter::Abort() {
  FCanvas->ReleaseDevice();
  ResetOverrides();
}

void TvqrPrinter::BeginRAWDoc() { FImpl->Raw.clear(); }

void TvqrPrinter::WriteRAWDoc(const std::string& Buf) { FImpl->Raw += Buf; }

void TvqrPrinter::EndRAWDoc() {
  if (!FImpl->Queue) return;
  FLastJobs.assign(1, FImpl->Queue->PrintDocument(FTitle, FImpl->Raw, TJobOptions{}, "application/vnd.cups-raw"));
  FImpl->Raw.clear();
}

std::vector<std::string> TvqrPrinter::SourceKeywords() const {
  std::vector<std::string> Result;
  for (const TQueueBin& B : FImpl->Bins) Result.push_back(B.Keyword);
  return Result;
}

std::vector<std::string> TvqrPrinter::SidesKeywords() const {
  return FImpl->Queue ? FImpl->Queue->Sides() : std::vector<std::string>{};
}

void TvqrPrinter::PropertiesDlg() {
  if (!PropertiesHook() || !FInitialized) return;
  int Bin = FBin != -1 ? FBin : FDefBin, Duplex = FDuplex != -1 ? FDuplex : FDefDuplex;
  const int OldDuplex = Duplex;
  if (!PropertiesHook()(this, Bin, Duplex)) return;
  FBin = Bin;
  if (Duplex != OldDuplex) FDuplex = Duplex;
}

// --- the list ---------------------------------------------------------------------------------

TvqrPrinters::TvqrPrinters() : FPrinters(std::make_unique<TStringList>()) { Refresh(); }

TvqrPrinters::~TvqrPrinters() = default;

void TvqrPrinters::Clear() {
  FPrinterList.clear();
  FPrinters->Clear();
  FPrinterIndex = -1;
}

void TvqrPrinters::FillPrinters() {
  Clear();
  const std::vector<TPrintDestination> Dests = PrintDestinations();
  FDefaultName.clear();
  for (const TPrintDestination& D : Dests) {
    FPrinterList.push_back(std::make_unique<TvqrPrinter>(D.Name, D.DeviceUri));
    FPrinters->Add(D.Name);
    if (D.IsDefault && FDefaultName.empty()) FDefaultName = D.Name;
  }
}

void TvqrPrinters::AddVirtualPrinter() {
  FPrinterList.push_back(std::make_unique<TvqrVirtualPrinter>(StringTable()->Get(u"prVirtual"), String()));
  FHasPhysicalPrinters = false;
  SetPrinterIndex(0);
}

void TvqrPrinters::Refresh() {
  FillPrinters();
  if (FPrinterList.empty()) return AddVirtualPrinter();
  FHasPhysicalPrinters = true;
  SetPrinterIndex(IndexOf(DefaultPrinterName()));
  if (FPrinterIndex == -1) SetPrinterIndex(0);
}

String TvqrPrinters::DefaultPrinterName() const { return FDefaultName; }

int TvqrPrinters::IndexOf(const String& AName) const {
  for (int I = 0; I < static_cast<int>(FPrinterList.size()); ++I)
    if (AnsiSameText(FPrinterList[I]->Name(), AName)) return I;
  return -1;
}

void TvqrPrinters::SetPrinterIndex(int Value) {
  if (Value == -1) Value = IndexOf(DefaultPrinterName());
  else if (Value < -1 || Value >= static_cast<int>(FPrinterList.size()))
    throw EListError(u"List index out of bounds (" + IntToStr(Value) + u")");
  FPrinterIndex = Value;
  if (Value != -1) FPrinterList[Value]->Init();
}

TvqrCustomPrinter* TvqrPrinters::Printer() const {
  return FPrinterIndex == -1 ? nullptr : FPrinterList[FPrinterIndex].get();
}

void TvqrPrinters::SetPrintersForTests(std::vector<TvqrCustomPrinter*> Printers) {
  Clear();
  for (TvqrCustomPrinter* P : Printers) {
    FPrinterList.emplace_back(P);
    FPrinters->Add(P->Name());
  }
  FDefaultName.clear();
  FHasPhysicalPrinters = !FPrinterList.empty();
  if (FPrinterList.empty()) AddVirtualPrinter();
  else SetPrinterIndex(0);
}

TvqrPrinters* PrinterList() {
  auto& List = ListInstance();
  if (!List) List = std::make_unique<TvqrPrinters>();
  return List.get();
}

void FreePrinterList() { ListInstance().reset(); }

void SetPrinterPropertiesHook(TvqrPrinterPropertiesHook Hook) { PropertiesHook() = std::move(Hook); }

void SetPrintDialogHook(TvqrPrintDialogHook Hook) { DialogHook() = std::move(Hook); }

const TvqrPrintDialogHook& PrintDialogHook() { return DialogHook(); }
