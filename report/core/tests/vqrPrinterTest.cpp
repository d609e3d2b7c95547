// vqrPrinterTest.cpp - the printer layer without a print server: the virtual printer, the
// paper table, and the print run against a recording printer (page lists, order, odd and even
// pages, collation with duplex, bins, paper changes, the dialog and an invalid printer).
#include "report/core/vqrPrinter.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinterJob.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

namespace {

// Writes every call of the print path into a log; "valid" decides Initialized.
class TRecordingPrinter : public TvqrVirtualPrinter {
public:
  TRecordingPrinter(std::vector<std::string>& Log, bool Valid = true)
      : TvqrVirtualPrinter(u"recorder", String()), FLog(Log), FValid(Valid) {}
  void Init() override {
    TvqrVirtualPrinter::Init();
    FInitialized = FValid;
  }
  void SetPrintParams(int Paper, Extended W, Extended H, TPrinterOrientation O, int Bin,
                      TvqrDuplexMode Duplex, int Copies) override {
    TvqrVirtualPrinter::SetPrintParams(Paper, W, H, O, Bin, Duplex, Copies);
    FLog.push_back("params " + std::to_string(Paper) + (O == poLandscape ? " L" : " P") +
                   " bin " + std::to_string(Bin) + " dup " + std::to_string(int(Duplex)) +
                   " x" + std::to_string(Copies));
  }
  void BeginDoc() override { FLog.push_back("begin"); }
  void BeginPage() override { FLog.push_back("sheet"); }
  void EndDoc() override { FLog.push_back("end"); }
  void Abort() override { FLog.push_back("abort"); }

private:
  std::vector<std::string>& FLog;
  bool FValid;
};

struct PrintFixture {
  // Setup shapes the portrait source page before the store copies it.
  explicit PrintFixture(int Pages, bool Valid = true,
                        const std::function<void(TvqrReportPage&)>& Setup = {}) {
    vqrModuleInitialize();
    PrinterList()->SetPrintersForTests({new TRecordingPrinter(Log, Valid)});
    SetErrorBoxHandler([this](const String&, const String& Text) { Errors.push_back(Text); });
    Report = std::make_unique<TvqrReport>(nullptr);
    Report->PrintOptions()->SetShowDialog(false);
    Report->SetOnProgress([this](TvqrReport*, TvqrProgressType T, int Progress) {
      if (T == ptPrinting) Log.push_back("page " + std::to_string(Progress));
    });
    Report->SetOnPrintPage([this](TvqrReportPage*, int Copy) { Copies.push_back(Copy); });
    First = std::make_unique<TvqrReportPage>(nullptr);
    First->SetName(u"Page1");
    if (Setup) Setup(*First);
    Landscape = std::make_unique<TvqrReportPage>(nullptr);
    Landscape->SetName(u"Page2");
    Landscape->SetOrientation(poLandscape);
    Store()->AddSourcePage(First.get());
    Store()->AddSourcePage(Landscape.get());
    for (int I = 0; I < Pages; ++I) AddPage(First.get());
  }
  ~PrintFixture() {
    Report.reset();
    SetErrorBoxHandler(nullptr);
    FreePrinterList();
    vqrModuleFinalize();
  }
  TvqrPreviewPages* Store() { return static_cast<TvqrPreviewPages*>(Report->PreviewPages()); }
  void AddPage(TvqrReportPage* Source) {
    Store()->AddPageAction = apAdd;
    Store()->AddPage(Source);
  }
  // The log without the parameter lines.
  std::vector<std::string> Pages() const {
    std::vector<std::string> Result;
    for (const std::string& S : Log)
      if (S.rfind("page", 0) == 0 || S == "sheet") Result.push_back(S);
    return Result;
  }

  std::vector<std::string> Log;
  std::vector<int> Copies;
  std::vector<String> Errors;
  std::unique_ptr<TvqrReport> Report;
  std::unique_ptr<TvqrReportPage> First, Landscape;
};

TEST(vqrPrinterList, WithoutQueuesTheVirtualPrinterStandsIn) {
  vqrModuleInitialize();
  PrinterList()->SetPrintersForTests({});
  TvqrPrinters* L = PrinterList();
  EXPECT_FALSE(L->HasPhysicalPrinters());
  EXPECT_EQ(L->Printers()->Count(), 0);
  EXPECT_EQ(L->PrinterIndex(), 0);
  TvqrCustomPrinter* P = L->Printer();
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Name(), StringTable()->Get(u"prVirtual"));
  EXPECT_TRUE(P->Initialized());
  EXPECT_EQ(P->DPI().X, 600);
  EXPECT_EQ(P->DPI().Y, 600);
  EXPECT_EQ(P->DefPaper(), 9);
  EXPECT_EQ(P->DefPaperWidth(), 210);
  EXPECT_EQ(P->DefPaperHeight(), 297);
  ASSERT_EQ(P->Papers()->Count(), 67);
  EXPECT_EQ(P->PaperIndex(256), 0);
  EXPECT_EQ(P->PaperIndex(9), 9);
  P->SetViewParams(9, 0, 0, poLandscape);
  EXPECT_EQ(P->PaperWidth(), 297);
  EXPECT_EQ(P->PaperHeight(), 210);
  EXPECT_EQ(P->LeftMargin(), 5);
  EXPECT_EQ(P->BottomMargin(), 5);
  P->SetViewParams(256, 150, 100, poLandscape);
  EXPECT_EQ(P->Paper(), 256);
  EXPECT_EQ(P->PaperWidth(), 150);
  EXPECT_EQ(P->BinNameToNumber(u"no such bin"), 7);
  EXPECT_EQ(P->BinNameToNumber(AnsiUpperCase(StringTable()->Get(u"prDefault"))), 7);
  EXPECT_EQ(P->PaperNameToNumber(u"no such paper"), 256);
  EXPECT_THROW(L->SetPrinterIndex(3), EListError);
  FreePrinterList();
  vqrModuleFinalize();
}

TEST(vqrPrinterList, PaperTableLookupsAndFitCounts) {
  struct Case { int Code; bool Found; Extended W, H; };
  for (const Case& C : {Case{9, true, 210, 297}, Case{35, true, 176, 125}, Case{48, false, 0, 0},
                        Case{256, false, 0, 0}, Case{68, true, 322, 445}}) {
    Extended W = 0, H = 0;
    EXPECT_EQ(LookupPaperSize(C.Code, W, H), C.Found) << C.Code;
    EXPECT_DOUBLE_EQ(double(W), double(C.W)) << C.Code;
    EXPECT_DOUBLE_EQ(double(H), double(C.H)) << C.Code;
  }
  // A3 over A4: 420 / 297 leaves 123 mm, a second piece; 300 / 297 leaves 3 mm, rounded to 1.
  EXPECT_EQ(vqrFitCount(420, 297), 2);
  EXPECT_EQ(vqrFitCount(300, 297), 1);
  EXPECT_EQ(vqrFitCount(210, 297), 1);
  EXPECT_EQ(vqrFitCount(100, 0), 1);
}

TEST(vqrPrint, NoPrinterShowsTheMessageAndReturnsFalse) {
  PrintFixture F(2);
  PrinterList()->SetPrintersForTests({});
  EXPECT_FALSE(F.Report->Print());
  ASSERT_EQ(F.Errors.size(), 1u);
  EXPECT_EQ(F.Errors[0], StringTable()->Get(u"clNoPrinters"));
}

TEST(vqrPrint, AnInvalidPrinterPrintsNothingAndReturnsFalse) {
  PrintFixture F(2, false);
  bool After = false;
  F.Report->SetOnAfterPrintReport([&](TObject*) { After = true; });
  EXPECT_FALSE(F.Report->Print());
  ASSERT_EQ(F.Errors.size(), 1u);
  EXPECT_EQ(F.Errors[0], u"Printer selected is not valid");
  EXPECT_TRUE(F.Pages().empty());
  EXPECT_TRUE(After);
}

TEST(vqrPrint, PageListsOrderAndOddEvenPages) {
  struct Case { const char16_t* Numbers; bool Reverse; TvqrPrintPages Which; std::vector<int> Pages; };
  const Case Cases[] = {
      {u"2,4-5,11", false, ppAll, {2, 4, 5}},
      {u"2,4-5", true, ppAll, {5, 4, 2}},
      {u"", false, ppOdd, {1, 3, 5, 7, 9}},
      {u"", true, ppEven, {10, 8, 6, 4, 2}},
      {u"8-", false, ppAll, {8, 9, 10}},
  };
  for (const Case& C : Cases) {
    PrintFixture F(10);
    F.Report->PrintOptions()->SetPageNumbers(C.Numbers);
    F.Report->PrintOptions()->SetReverse(C.Reverse);
    F.Report->PrintOptions()->SetPrintPages(C.Which);
    EXPECT_TRUE(F.Report->Print());
    std::vector<std::string> Expected;
    for (int P : C.Pages) {
      Expected.push_back("sheet");
      Expected.push_back("page " + std::to_string(P));
    }
    EXPECT_EQ(F.Pages(), Expected) << StringToUtf8(C.Numbers);
    EXPECT_EQ(F.Log.back(), "end");
    EXPECT_EQ(F.Report->PrintOptions()->PageNumbers(), C.Numbers);
  }
}

TEST(vqrPrint, CollatedEvenPagesInVerticalDuplexStartEachCopyOnANewSheet) {
  PrintFixture F(3);
  F.Report->PrintOptions()->SetPrintPages(ppEven);
  F.Report->PrintOptions()->SetCopies(2);
  F.Report->PrintOptions()->SetDuplex(dmVertical);
  EXPECT_TRUE(F.Report->Print());
  EXPECT_EQ(F.Pages(), (std::vector<std::string>{"sheet", "page 2", "sheet", "sheet", "page 2", "sheet"}));
  EXPECT_EQ(F.Copies, (std::vector<int>{1, 2}));
  EXPECT_EQ(F.Log.front(), "params 9 P bin 7 dup 1 x1");
}

TEST(vqrPrint, UncollatedCopiesGoToThePrinterAndBinsAndPaperChangesSendNewParameters) {
  PrintFixture F(0, true, [](TvqrReportPage& P) {
    P.SetBin(1);
    P.SetBinOtherPages(2);
  });
  F.AddPage(F.First.get());
  F.AddPage(F.First.get());
  F.AddPage(F.First.get());
  F.AddPage(F.Landscape.get());
  F.Report->PrintOptions()->SetCollate(false);
  F.Report->PrintOptions()->SetCopies(3);
  EXPECT_TRUE(F.Report->Print());
  std::vector<std::string> Params;
  for (const std::string& S : F.Log)
    if (S.rfind("params", 0) == 0) Params.push_back(S);
  EXPECT_EQ(Params, (std::vector<std::string>{"params 9 P bin 1 dup 0 x3", "params 9 P bin 2 dup 0 x3",
                                              "params 9 L bin 7 dup 0 x3"}));
  EXPECT_EQ(F.Copies, (std::vector<int>{1, 1, 1, 1}));
}

TEST(vqrPrint, ACancelledDialogPrintsNothingAndKeepsTheOptions) {
  PrintFixture F(2);
  F.Report->PrintOptions()->SetShowDialog(true);
  SetPrintDialogHook([](TvqrReport* R, TvqrDuplexMode& Duplex) {
    R->PrintOptions()->SetCopies(5);
    Duplex = dmHorizontal;
    return false;
  });
  EXPECT_FALSE(F.Report->Print());
  EXPECT_TRUE(F.Pages().empty());
  EXPECT_EQ(F.Report->PrintOptions()->Copies(), 1);
  SetPrintDialogHook([](TvqrReport* R, TvqrDuplexMode& Duplex) {
    R->PrintOptions()->SetPageNumbers(u"2");
    Duplex = dmHorizontal;
    return true;
  });
  EXPECT_TRUE(F.Report->Print());
  // Two-sided: the copy ends on a sheet of its own.
  EXPECT_EQ(F.Pages(), (std::vector<std::string>{"sheet", "page 2", "sheet"}));
  EXPECT_EQ(F.Log.front(), "params 9 P bin 7 dup 2 x1");
  EXPECT_EQ(F.Report->PrintOptions()->PageNumbers(), u"");
  SetPrintDialogHook(nullptr);
}

TEST(vqrPrint, ScaleAndJoinModesUseTheSheet) {
  {
    PrintFixture F(2);
    F.Report->PrintOptions()->SetPrintMode(pmScale);
    F.Report->PrintOptions()->SetPrintOnSheet(11);  // A5
    EXPECT_TRUE(F.Report->Print());
    EXPECT_EQ(F.Log.front(), "params 11 P bin 7 dup 0 x1");
    EXPECT_EQ(F.Pages().size(), 4u);
  }
  {
    // Four A5 pages, two copies each, two to an A4 sheet turned to landscape.
    PrintFixture F(0, true, [](TvqrReportPage& P) { P.SetPaperSize(11); });
    for (int I = 0; I < 4; ++I) F.AddPage(F.First.get());
    F.Report->PrintOptions()->SetPrintMode(pmJoin);
    F.Report->PrintOptions()->SetPrintOnSheet(9);
    F.Report->PrintOptions()->SetCopies(2);
    F.Report->PrintOptions()->SetCollate(false);
    EXPECT_TRUE(F.Report->Print());
    EXPECT_EQ(F.Log.front(), "params 9 L bin 7 dup 0 x1");
    int Sheets = 0;
    for (const std::string& S : F.Log) Sheets += S == "sheet";
    EXPECT_EQ(Sheets, 4);
  }
}

TEST(vqrPrint, SplitModeCutsALargePageIntoSheets) {
  PrintFixture F(0, true, [](TvqrReportPage& P) { P.SetPaperSize(8); });  // A3 over A4 sheets
  F.AddPage(F.First.get());
  F.Report->PrintOptions()->SetPrintMode(pmSplit);
  F.Report->PrintOptions()->SetPrintOnSheet(9);
  EXPECT_TRUE(F.Report->Print());
  int Sheets = 0;
  for (const std::string& S : F.Log) Sheets += S == "sheet";
  // Landscape A4 pieces 297 mm across; down, the 5 mm margins of both edges overlap, so
  // 420 mm need three pieces of 200 mm.
  EXPECT_EQ(Sheets, 3);
  EXPECT_EQ(F.Log.front(), "params 9 L bin 7 dup 0 x1");
}

}  // namespace
