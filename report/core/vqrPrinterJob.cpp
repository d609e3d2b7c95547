// vqrPrinterJob.cpp - the print run over the printer layer.
#include "report/core/vqrPrinterJob.h"

#include <cmath>
#include <functional>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/printing/CupsQueue.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrExpression.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

int vqrFitCount(double A, double B) {
  if (B <= 0) return 1;
  const double T = std::trunc(A / B);
  if (std::fabs(T * B - A) >= 11) return static_cast<int>(T) + 1;
  return static_cast<int>(Round(A / B));
}

namespace {

void PumpMessages() {
  if (Application) Application->ProcessMessages();
}

// A layout of pieces over a sheet; Turned: the sheet lies in landscape.
struct TLayout {
  int Across = 1, Down = 1;
  bool Turned = false;
};

TLayout FitLayout(double A, double B, double SheetW, double SheetH) {
  TLayout Plain{vqrFitCount(A, SheetW), vqrFitCount(B, SheetH), false};
  TLayout Turned{vqrFitCount(A, SheetH), vqrFitCount(B, SheetW), true};
  return Turned.Across * Turned.Down < Plain.Across * Plain.Down ? Turned : Plain;
}

class TPrintRun {
public:
  TPrintRun(TvqrPreviewPages* Store, TvqrCustomPrinter* Printer, TvqrDuplexMode Duplex)
      : S(*Store), R(Store->Report()), P(*Printer), O(*R->PrintOptions()), FJobDuplex(Duplex) {}

  void Run();

private:
  int PositionCount() const { return FHasList ? static_cast<int>(FList.size()) : S.Count(); }
  // The page index at a position of the job, or -1 when it is skipped.
  int PageAt(int Position, bool ApplyOddEven = true) const;
  using TSheetPrint = std::function<void(int Index, TvqrReportPage* Page, int Bin,
                                          TvqrDuplexMode Duplex)>;
  void ForEachSheet(int CopyOfCollate, const TSheetPrint& Print);
  void OnePerSheet(int CopyOfCollate);
  void Split(int CopyOfCollate);
  void Join();
  bool PrepareSheet(int Index, TvqrReportPage*& Page, int& Bin, TvqrDuplexMode& Duplex,
                    int CopyOfCollate);
  void BeginDocOnce() {
    if (FBegun) return;
    P.BeginDoc();
    FBegun = true;
  }
  void AfterPage(int Index, TvqrReportPage* Page, int Bin, TvqrDuplexMode Duplex);
  int CopyCount() const { return O.Collate() ? 1 : FCopies; }
  double DpiX() const { return P.DPI().X; }
  double DpiY() const { return P.DPI().Y; }

  TvqrPreviewPages& S;
  TvqrReport* R;
  TvqrCustomPrinter& P;
  TvqrPrintOptions& O;
  TvqrDuplexMode FJobDuplex;
  std::vector<int> FList;
  bool FHasList = false;
  int FCopies = 1;
  bool FBegun = false, FPrinted = false, FStop = false;
  int FPrevPaper = 0, FPrevW = 0, FPrevH = 0, FPrevBin = 0;
  TPrinterOrientation FPrevOrientation = poPortrait;
  TvqrDuplexMode FPrevDuplex = dmNone;
  int FParity = 0;
  double FSheetW = 0, FSheetH = 0;

  friend bool ::vqrPrintPreparedPages(TvqrPreviewPages*);
};

int TPrintRun::PageAt(int Position, bool ApplyOddEven) const {
  int Index = Position;
  if (FHasList) {
    const int Entry = FList[Position];
    if (Entry < 1 || Entry > S.Count()) return -1;
    Index = Entry - 1;
  } else if (Index >= S.Count()) {
    return -1;
  }
  if (ApplyOddEven) {
    const int Number = Index + 1;
    if (O.PrintPages() == ppOdd && Number % 2 == 0) return -1;
    if (O.PrintPages() == ppEven && Number % 2 == 1) return -1;
  }
  return Index;
}

// Steps 1 to 3 of every sheet: cancellation, the page, its copy number, bin and duplex.
bool TPrintRun::PrepareSheet(int Index, TvqrReportPage*& Page, int& Bin, TvqrDuplexMode& Duplex,
                             int CopyOfCollate) {
  if (R->Terminated()) {
    P.Abort();
    FBegun = false;
    FStop = true;
    return false;
  }
  Page = S.Page(Index);
  if (!Page) return false;
  S.CopyNo = O.Collate() ? CopyOfCollate : 1;
  if (R->OnPrintPage()) R->OnPrintPage()(Page, S.CopyNo);
  Bin = Index == 0 ? Page->Bin() : Page->BinOtherPages();
  Duplex = FJobDuplex != dmNone ? FJobDuplex : Page->Duplex();
  if (Duplex != FPrevDuplex) FParity = 0;
  if (Duplex == dmVertical || Duplex == dmHorizontal) FParity ^= 1;
  return true;
}

void TPrintRun::AfterPage(int Index, TvqrReportPage* Page, int Bin, TvqrDuplexMode Duplex) {
  // The page is read before messages are pumped: a preview repainting meanwhile may drop it
  // from the page cache.
  FPrevPaper = Page->PaperSize();
  FPrevW = static_cast<int>(Round(Page->PaperWidth()));
  FPrevH = static_cast<int>(Round(Page->PaperHeight()));
  FPrevBin = Bin;
  FPrevOrientation = Page->Orientation();
  FPrevDuplex = Duplex;
  R->InternalOnProgress(ptPrinting, Index + 1);
  P.EndPage();
  PumpMessages();
  FPrinted = true;
  S.ClearPageCache();
}

// Walks the pages to print in print order; Print gets each page that is ready for its sheet,
// with the bin and duplex mode the sheet takes.
void TPrintRun::ForEachSheet(int CopyOfCollate, const TSheetPrint& Print) {
  const int N = PositionCount();
  for (int K = 0; K < N && !FStop; ++K) {
    const int Index = PageAt(O.Reverse() ? N - 1 - K : K);
    if (Index < 0) continue;
    TvqrReportPage* Page = nullptr;
    int Bin = 7;
    TvqrDuplexMode Duplex = dmNone;
    if (PrepareSheet(Index, Page, Bin, Duplex, CopyOfCollate)) Print(Index, Page, Bin, Duplex);
  }
}

void TPrintRun::OnePerSheet(int CopyOfCollate) {
  ForEachSheet(CopyOfCollate, [this](int Index, TvqrReportPage* Page, int Bin,
                                     TvqrDuplexMode Duplex) {
    double KX = 1, KY = 1;
    if (O.PrintMode() == pmScale) {
      if (!FPrinted || Bin != FPrevBin || Page->Orientation() != FPrevOrientation ||
          Duplex != FPrevDuplex) {
        P.SetPrintParams(O.PrintOnSheet(), FSheetW, FSheetH, Page->Orientation(), Bin, Duplex,
                         CopyCount());
        FSheetW = P.PaperWidth();
        FSheetH = P.PaperHeight();
      }
      if (Page->PaperWidth() > 0 && Page->PaperHeight() > 0) {
        KX = FSheetW / Page->PaperWidth();
        KY = FSheetH / Page->PaperHeight();
      }
      S.PrintScale = std::min(KX, KY);
    } else if (!FPrinted || Page->PaperSize() != FPrevPaper ||
               Round(Page->PaperWidth()) != FPrevW || Round(Page->PaperHeight()) != FPrevH ||
               Bin != FPrevBin || Page->Orientation() != FPrevOrientation ||
               Duplex != FPrevDuplex) {
      P.SetPrintParams(Page->PaperSize(), Page->PaperWidth(), Page->PaperHeight(),
                       Page->Orientation(), Bin, Duplex, CopyCount());
    }
    BeginDocOnce();
    P.BeginPage();
    S.DrawPage(Index, P.Canvas(), DpiX() / 96 * KX, DpiY() / 96 * KY,
               -P.LeftMargin() * DpiX() / 25.4, -P.TopMargin() * DpiY() / 25.4);
    AfterPage(Index, Page, Bin, Duplex);
  });
}

// Each page cut into sheets. The overlap of neighbouring pieces: across, the splicing line
// with the left and right unprintable margins; down, with the top and bottom ones.
void TPrintRun::Split(int CopyOfCollate) {
  ForEachSheet(CopyOfCollate, [this](int Index, TvqrReportPage* Page, int Bin,
                                     TvqrDuplexMode Duplex) {
    const double PW = Page->PaperWidth(), PH = Page->PaperHeight();
    if (PW <= 0 || PH <= 0) return;
    TLayout L = FitLayout(PW, PH, FSheetW, FSheetH);
    const double Line = O.SplicingLine();
    double SW = L.Turned ? FSheetH : FSheetW, SH = L.Turned ? FSheetW : FSheetH;
    if (L.Across > 1) SW -= Line + P.LeftMargin() + P.RightMargin();
    if (L.Down > 1) SH -= Line + P.TopMargin() + P.BottomMargin();
    if (SW > 0 && SH > 0) {
      const TLayout Again = FitLayout(PW, PH, L.Turned ? SH : SW, L.Turned ? SW : SH);
      L.Across = Again.Turned == L.Turned ? Again.Across : Again.Down;
      L.Down = Again.Turned == L.Turned ? Again.Down : Again.Across;
    }
    const TPrinterOrientation Orientation = L.Turned ? poLandscape : poPortrait;
    if (!FPrinted || Orientation != FPrevOrientation)
      P.SetPrintParams(O.PrintOnSheet(), FSheetW, FSheetH, Orientation, Bin, Duplex, CopyCount());
    BeginDocOnce();
    const double Lp = P.LeftMargin() * DpiX() / 25.4, Tp = P.TopMargin() * DpiY() / 25.4;
    const double Rp = P.RightMargin() * DpiX() / 25.4, Bp = P.BottomMargin() * DpiY() / 25.4;
    const double Sx = Line * DpiX() / 25.4, Sy = Line * DpiY() / 25.4;
    const double Wx = P.PaperWidth() * DpiX() / 25.4, Hy = P.PaperHeight() * DpiY() / 25.4;
    for (int Row = 0; Row < L.Down && !FStop; ++Row)
      for (int Col = 0; Col < L.Across && !FStop; ++Col) {
        P.BeginPage();
        TCanvas* C = P.Canvas();
        const TCanvasState Saved = C->SaveDC();
        C->IntersectClipRect(Rect(static_cast<int>(Round(Lp + (Col > 0 ? Sx : 0))),
                                  static_cast<int>(Round(Tp + (Row > 0 ? Sy : 0))),
                                  static_cast<int>(Round(PW * vq01cm * DpiX() / 96 - Rp - 1)),
                                  static_cast<int>(Round(PH * vq01cm * DpiY() / 96 - Bp - 1))));
        const double X = Col == 0 ? -Lp : -Col * (Wx - Lp - Rp - Sx);
        const double Y = Row == 0 ? -Tp : -Row * (Hy - Tp - Bp - Sy);
        S.DrawPage(Index, C, DpiX() / 96, DpiY() / 96, X, Y);
        C->RestoreDC(Saved);
        P.EndPage();
      }
    R->InternalOnProgress(ptPrinting, Index + 1);
    PumpMessages();
    FPrinted = true;
    FPrevOrientation = Orientation;
    FPrevDuplex = Duplex;
    FPrevBin = Bin;
    S.ClearPageCache();
  });
}

// Several pages on one sheet; the copies of a page sit next to each other.
void TPrintRun::Join() {
  const int N = PositionCount();
  int K = 0;
  auto NextIndex = [&]() {
    while (K < N) {
      const int Index = PageAt(K++, false);
      if (Index >= 0) return Index;
    }
    return -1;
  };
  int Index = NextIndex();
  if (Index < 0) return;
  TvqrReportPage* First = S.Page(Index);
  if (!First || First->PaperWidth() <= 0 || First->PaperHeight() <= 0) return;
  const double PW = First->PaperWidth(), PH = First->PaperHeight();
  TLayout L = FitLayout(FSheetW, FSheetH, PW, PH);
  if (L.Turned) std::swap(L.Across, L.Down);
  const int FirstBin = First->Bin();
  P.SetPrintParams(O.PrintOnSheet(), FSheetW, FSheetH, L.Turned ? poLandscape : poPortrait,
                   FirstBin, FJobDuplex, 1);
  BeginDocOnce();
  const double StepX = PW * DpiX() / 25.4, StepY = PH * DpiY() / 25.4;
  const double X0 = -P.LeftMargin() * DpiX() / 25.4, Y0 = -P.TopMargin() * DpiY() / 25.4;
  int Copy = 1;
  int Position = 0;
  while (Index >= 0 && !FStop) {
    P.BeginPage();
    for (int Row = 0; Row < L.Down && Index >= 0; ++Row)
      for (int Col = 0; Col < L.Across && Index >= 0; ++Col) {
        S.CopyNo = Copy;
        S.DrawPage(Index, P.Canvas(), DpiX() / 96, DpiY() / 96, X0 + Col * StepX, Y0 + Row * StepY);
        Position = K;
        if (++Copy > FCopies) {
          Copy = 1;
          Index = NextIndex();
        }
      }
    P.EndPage();
    FPrinted = true;
    S.ClearPageCache();
    R->InternalOnProgress(ptPrinting, Position);
    PumpMessages();
    if (R->Terminated()) {
      P.Abort();
      FBegun = false;
      FStop = true;
    }
  }
}

void TPrintRun::Run() {
  R->SetTerminated(false);
  R->InternalOnProgressStart(ptPrinting);
  P.SetTitle(!R->ReportOptions()->Name().empty() ? R->ReportOptions()->Name() : R->FileName());
  FCopies = std::max(1, O.Copies());
  TStringList Pages;
  ParsePageRanges(O.PageNumbers(), &Pages, S.Count());
  FHasList = Pages.Count() > 0;
  for (int I = 0; I < Pages.Count(); ++I) FList.push_back(StrToIntDef(Pages.Strings(I), 0));
  auto RunMode = [&](int Copy) {
    switch (O.PrintMode()) {
      case pmSplit: Split(Copy); break;
      case pmJoin: Join(); break;
      default: OnePerSheet(Copy); break;
    }
  };
  if (O.Collate()) {
    for (int Copy = 1; Copy <= FCopies && !FStop; ++Copy) {
      RunMode(Copy);
      if (FParity == 1 && FBegun && !FStop) {
        // The next copy starts on a new sheet.
        P.BeginPage();
        P.EndPage();
        FParity = 0;
      }
      if (R->Terminated()) break;
    }
  } else {
    RunMode(1);
  }
  if (FBegun && FPrinted) P.EndDoc();
  R->InternalOnProgressStop(ptPrinting);
}

// Restores the print options taken at the start and ends the print state, however the run ends.
struct TRestore {
  TvqrPreviewPages& S;
  TvqrPrintOptions Saved;
  TvqrPrintOptions* Options;
  ~TRestore() {
    Options->Assign(&Saved);
    S.CopyNo = 0;
    S.PrintScale = 1;
  }
};

}  // namespace

bool vqrPrintPreparedPages(TvqrPreviewPages* Store) {
  TvqrReport* R = Store->Report();
  if (!R) return false;
  if (!PrinterList()->HasPhysicalPrinters()) {
    ShowErrorBox(StringTable()->Get(u"clNoPrinters"));
    return false;
  }
  Store->PrintScale = 1;
  TRestore Restore{*Store, {}, R->PrintOptions()};
  Restore.Saved.Assign(R->PrintOptions());
  TvqrDuplexMode Duplex = R->PrintOptions()->Duplex();
  R->SelectPrinter();
  if (R->PrintOptions()->ShowDialog() && PrintDialogHook()) {
    if (!PrintDialogHook()(R, Duplex)) return false;
    R->PrintOptions()->SetDuplex(Duplex);
  }
  TvqrCustomPrinter* Printer = PrinterList()->Printer();
  if (!Printer) return false;
  Printer->SetFileName(R->PrintOptions()->PrnOutFileName().empty() ? Printer->FileName()
                                                                   : R->PrintOptions()->PrnOutFileName());
  TPrintRun Run(Store, Printer, Duplex);
  if (R->PrintOptions()->PrintMode() != pmDefault) {
    if (R->PrintOptions()->PrintOnSheet() == vqrCustomPaperCode)
      Printer->SetViewParams(vqrCustomPaperCode, Printer->PaperWidth(), Printer->PaperHeight(),
                             poPortrait);
    else
      Printer->SetViewParams(R->PrintOptions()->PrintOnSheet(), 0, 0, poPortrait);
    Run.FSheetW = Printer->PaperWidth();
    Run.FSheetH = Printer->PaperHeight();
  }
  if (R->OnPrintReport()) R->OnPrintReport()(R);
  vqrDoNotifyEvent(R, R, R->OnReportPrint, !R->EngineOptions()->DestroyForms());
  if (TvqrCustomPreview* Preview = R->Preview()) Preview->Lock();
  bool Result = true;
  if (!Printer->Initialized()) {
    ShowErrorBox(u"Printer selected is not valid");
    Result = false;
  } else {
    Store->ClearPageCache();
    try {
      Run.Run();
    } catch (const EPrinterError& E) {
      // The server refused the job or the print file could not be written: nothing was
      // printed; the printer is back at its information state.
      Printer->Abort();
      R->InternalOnProgressStop(ptPrinting);
      ShowErrorBox(E.Message());
      Result = false;
    }
  }
  if (R->OnAfterPrintReport()) R->OnAfterPrintReport()(R);
  return Result;
}

void TvqrReport::SelectPrinter() {
  const int Index = PrinterList()->IndexOf(PrintOptions()->Printer());
  if (Index >= 0 && Index != PrinterList()->PrinterIndex()) PrinterList()->SetPrinterIndex(Index);
}
