// vqrEngineTest.cpp - the band engine end to end over in-memory data: band tree errors,
// groups and their totals, line counters, page flow with page footers, splitting, and the
// expression machinery it runs on.
#include "report/core/vqrEngine.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Timer.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/graphics/FontService.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrVariables.h"
#include "script/ks_iinterpreter.h"

namespace {

struct Row {
  String Group;
  String Name;
  int Amount;
};

// A report over one in-memory table (GRP, NAME, AMT) with one A4 page.
class EngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    vqrModuleInitialize();
    vqrEngineModuleInitialize();
    PreviousMetrics = SetFontMetricsForTests(&Metrics);
    TvqrEngine::SetClockForTests([] { return 46000.5; });
    Owner = std::make_unique<TComponent>(nullptr);
    Table = new TArrayDataSet(Owner.get());
    Table->FieldDefs()->Add(u"GRP", ftString, 20);
    Table->FieldDefs()->Add(u"NAME", ftString, 40);
    Table->FieldDefs()->Add(u"AMT", ftInteger);
    Report = std::make_unique<TvqrReport>(nullptr);
    Report->EngineOptions()->SetDestroyForms(false);
    Adapter = new TvqrDBDataset(Report.get());
    Adapter->SetName(u"ds");
    Adapter->SetUserName(u"ds");
    Adapter->SetDataSet(Table);
    Report->DataSets()->Add(Adapter);
    Page = new TvqrReportPage(Report.get());
    Page->SetName(u"Page1");
    Page->SetPaperSize(9);
    Page->SetLeftMargin(10);
    Page->SetRightMargin(10);
    Page->SetTopMargin(10);
    Page->SetBottomMargin(10);
  }
  void TearDown() override {
    Report.reset();
    Owner.reset();
    TvqrEngine::SetClockForTests(nullptr);
    SetFontMetricsForTests(PreviousMetrics);
    vqrModuleFinalize();
  }

  void Fill(const std::vector<Row>& Rows) {
    for (const Row& R : Rows) Table->AddRow({R.Group, R.Name, R.Amount});
    Table->Open();
  }
  template <class B>
  B* Band(const String& Name, Extended Top, Extended Height) {
    auto* Result = new B(Page);
    Result->SetName(Name);
    Result->SetBounds(0, Top, 700, Height);
    return Result;
  }
  TvqrMemoView* Memo(TvqrBand* Band, const String& Name, const String& Text, Extended Left = 0,
                     Extended Width = 300) {
    auto* M = new TvqrMemoView(Band);
    M->SetName(Name);
    M->SetBounds(Left, 0, Width, Band->Height());
    M->SetText(Text);
    return M;
  }
  TvqrPreviewPages* Store() { return static_cast<TvqrPreviewPages*>(Report->PreviewPages()); }

  // 30 data rows between a page header and a page footer: two pages.
  bool PrepareThirtyRowsOnTwoPages() {
    Fill(std::vector<Row>(30, Row{u"A", u"r", 1}));
    Band<TvqrPageHeader>(u"PageHeader1", 0, 40);
    Band<TvqrMasterData>(u"MasterData1", 80, 40)->SetDataSet(Adapter);
    Band<TvqrPageFooter>(u"PageFooter1", 300, 30);
    return Prepare();
  }

  // The texts of one output page, in output order.
  std::vector<String> Texts(int PageIndex) {
    std::vector<String> Out;
    std::function<void(TvqrXMLItem*)> Walk = [&](TvqrXMLItem* Item) {
      for (int I = 0; I < Item->Count(); ++I) {
        TvqrXMLItem* Child = Item->Items(I);
        if (Child->PropExists(u"u")) Out.push_back(Child->Prop(u"u"));
        Walk(Child);
      }
    };
    TvqrXMLItem* PageItem = Store()->PagesItem()->Items(PageIndex);
    if (!PageItem->Loaded()) Store()->XMLDocument()->LoadItem(PageItem);
    Walk(PageItem);
    return Out;
  }
  bool Prepare() { return Report->PrepareReport(true); }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TFixedFontMetrics Metrics{50, 100, 50};
  IFontMetrics* PreviousMetrics = nullptr;
  std::unique_ptr<TComponent> Owner;
  TArrayDataSet* Table = nullptr;
  std::unique_ptr<TvqrReport> Report;
  TvqrDBDataset* Adapter = nullptr;
  TvqrReportPage* Page = nullptr;
};

TEST_F(EngineTest, PlainNamesResolveWithoutCompiling) {
  Fill({{u"A", u"x", 5}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 100, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[Page#] [page#] [ds.\"AMT\"] [Date]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"1 1 5 09.12.2025"}));
  EXPECT_EQ(vqrExpressionCache(Report.get())->Count(), 0);
}

TEST_F(EngineTest, GroupsFootersSeeTheOldGroupAndLinesRestart) {
  Fill({{u"A", u"a1", 10}, {u"A", u"a2", 20}, {u"B", u"b1", 1}, {u"B", u"b2", 2},
        {u"", u"p1", 100}, {u"", u"p2", 200}, {u"", u"p3", 300}});
  auto* Header = Band<TvqrGroupHeader>(u"GroupHeader1", 40, 20);
  Header->SetCondition(u"ds.\"GRP\"");
  Memo(Header, u"Memo1", u"<[ds.\"GRP\"]>");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo2", u"[Line]/[Line#] [ds.\"NAME\"]");
  auto* Footer = Band<TvqrGroupFooter>(u"GroupFooter1", 120, 20);
  Memo(Footer, u"Memo3", u"[ds.\"GRP\"]: [SUM(<ds.\"AMT\">,MasterData1)]");
  auto* Summary = Band<TvqrReportSummary>(u"ReportSummary1", 200, 20);
  Memo(Summary, u"Memo4", u"Total [SUM(<ds.\"AMT\">,MasterData1) #n%2,0n]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0),
            (std::vector<String>{u"<A>", u"1/1 a1", u"2/2 a2", u"A: 30", u"<B>", u"1/3 b1",
                                 u"2/4 b2", u"B: 3", u"<>", u"1/5 p1", u"2/6 p2", u"3/7 p3",
                                 u": 600", u"Total 633"}));
}

// ShowReport's deferred run falls due while the next run pumps messages before its bands
// start: it is refused, so it cannot reload the template under the running totals.
TEST_F(EngineTest, ADeferredRunFallingDueDuringARunIsRefused) {
  InitControls();
  Report->EngineOptions()->SetDestroyForms(true);
  Fill({{u"A", u"a1", 10}, {u"A", u"a2", 20}, {u"B", u"b1", 1}});
  auto* Header = Band<TvqrGroupHeader>(u"GroupHeader1", 40, 20);
  Header->SetCondition(u"ds.\"GRP\"");
  Band<TvqrMasterData>(u"MasterData1", 80, 20)->SetDataSet(Adapter);
  auto* Footer = Band<TvqrGroupFooter>(u"GroupFooter1", 120, 20);
  Memo(Footer, u"Memo1", u"[ds.\"GRP\"]: [SUM(<ds.\"AMT\">,MasterData1)]");
  UseTestClock(true);
  Report->ShowReport(true);
  AdvanceTestClock(60);
  const bool Prepared = Prepare();
  UseTestClock(false);
  ASSERT_TRUE(Prepared) << ToUtf8(Report->Errors()->Text());
  EXPECT_FALSE(Report->Timer()->Enabled());
  EXPECT_EQ(Store()->Count(), 1);
  EXPECT_EQ(Texts(0), (std::vector<String>{u"A: 30", u"B: 1"}));
}

TEST_F(EngineTest, BandTreeErrorsStopTheRun) {
  Fill({{u"A", u"a", 1}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Band<TvqrFooter>(u"Footer1", 5, 20);               // after no data band
  Band<TvqrGroupFooter>(u"GroupFooter1", 200, 20);   // no group header
  Band<TvqrDetailData>(u"DetailData1", 10, 20);      // above any master
  EXPECT_FALSE(Prepare());
  TStrings* E = Report->Errors();
  EXPECT_GE(E->IndexOf(StringTable()->Get(u"enUnconnHeader") + u" Footer1"), 0) << ToUtf8(E->Text());
  EXPECT_GE(E->IndexOf(StringTable()->Get(u"enUnconnGFooter") + u" GroupFooter1"), 0);
  EXPECT_GE(E->IndexOf(StringTable()->Get(u"enBandPos") + u" DetailData1"), 0);
  EXPECT_EQ(Store()->Count(), 0);
}

TEST_F(EngineTest, TwoBandsAtOneTopBothPrint) {
  Fill({{u"A", u"a", 1}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"data");
  auto* Footer = Band<TvqrFooter>(u"Footer1", 120, 20);
  Memo(Footer, u"Memo2", u"footer");
  auto* Other = Band<TvqrMasterData>(u"MasterData2", 80, 20);
  Other->SetDataSet(Adapter);
  Memo(Other, u"Memo3", u"second");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  // The footer follows the second band, so it is that band's footer.
  EXPECT_EQ(Texts(0), (std::vector<String>{u"data", u"second", u"footer"}));
}

TEST_F(EngineTest, PagesBreakWithPageFootersAndPageTotals) {
  std::vector<Row> Rows;
  for (int I = 1; I <= 60; ++I) Rows.push_back({u"A", u"r" + IntToStr(I), 1});
  Fill(Rows);
  auto* Header = Band<TvqrPageHeader>(u"PageHeader1", 0, 40);
  Memo(Header, u"Memo1", u"Head");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 40);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo2", u"[ds.\"NAME\"]");
  auto* Footer = Band<TvqrPageFooter>(u"PageFooter1", 300, 30);
  Footer->SetPrintOnFirstPage(false);
  Memo(Footer, u"Memo3", u"стр. [<Page#>] из [TotalPages#] sum [SUM(<ds.\"AMT\">,MasterData1)]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  // Printable height 1047 px: 40 header + 30 footer leave 24 rows of 40.
  ASSERT_EQ(Store()->Count(), 3);
  std::vector<String> P1 = Texts(0), P2 = Texts(1), P3 = Texts(2);
  EXPECT_EQ(P1.front(), u"Head");
  EXPECT_EQ(P1.back(), u"r24");  // no footer on page 1
  EXPECT_EQ(P2.back(), u"стр. 2 из [TotalPages#] sum 48");  // page 1 was not reset
  EXPECT_EQ(P3.back(), u"стр. 3 из [TotalPages#] sum 12");
  EXPECT_EQ(P3[P3.size() - 2], u"r60");
}

TEST_F(EngineTest, ATallTextSplitsOverPages) {
  Fill({{u"A", u"a", 1}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Data->SetAllowSplit(true);
  String Long;
  for (int I = 1; I <= 170; ++I) Long += u"line " + IntToStr(I) + u"\r\n";
  TvqrMemoView* M = Memo(Data, u"Memo1", Long);
  M->SetStretchMode(smActualHeight);
  Data->SetStretched(true);
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  // 170 lines of 15.28 px need 2.5 pages of 1047 px.
  ASSERT_EQ(Store()->Count(), 3);
  EXPECT_EQ(Texts(0).front().substr(0, 6), u"line 1");
  EXPECT_NE(Texts(2).front().find(u"line 170"), String::npos);
}

TEST_F(EngineTest, VariableThatReachesItselfIsAnExpressionError) {
  Fill({{u"A", u"a", 1}});
  Report->Variables()->SetVariables(u"Loop", String(u"<Loop> + 1"));
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[Loop]");
  EXPECT_FALSE(Prepare());
  // One line, under the object's name, however deep the expression went before it stopped.
  ASSERT_EQ(Report->Errors()->Count(), 1) << ToUtf8(Report->Errors()->Text());
  const String Line = Report->Errors()->Strings(0);
  EXPECT_EQ(Line.rfind(u"Memo1: ", 0), 0u) << ToUtf8(Line);
  EXPECT_EQ(Line.find(u"Memo1: ", 1), String::npos) << ToUtf8(Line);
  EXPECT_NE(Line.find(u"refers to itself"), String::npos) << ToUtf8(Line);
}

// An expression that fails names its object in Errors, and the run stops.
TEST_F(EngineTest, ExpressionErrorsNameTheirObject) {
  Fill({{u"A", u"a", 1}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  Memo(Data, u"Memo7", u"[1 +* 2]", 300, 100);
  EXPECT_FALSE(Prepare());
  const String Errors = Report->Errors()->Text();
  EXPECT_EQ(Errors.rfind(u"Memo7: ", 0), 0u) << ToUtf8(Errors);
  EXPECT_EQ(Report->Errors()->Count(), 1) << ToUtf8(Errors);
}

// A page footer without PrintOnLastPage is left off the last page, but stays on the page that
// the report summary fills and overflows.
TEST_F(EngineTest, PageFooterOnTheLastPageAndOnThePageTheSummaryOverflows) {
  struct Case {
    int Rows;
    int Pages;
    std::vector<bool> Footers;
  } const Cases[] = {{10, 1, {false}}, {24, 2, {true, false}}, {30, 2, {true, false}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Rows);
    TearDown();
    SetUp();
    std::vector<Row> Rows;
    for (int I = 1; I <= C.Rows; ++I) Rows.push_back({u"A", u"r" + IntToStr(I), 1});
    Fill(Rows);
    Memo(Band<TvqrPageHeader>(u"PageHeader1", 0, 40), u"Memo1", u"Head");
    auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 40);
    Data->SetDataSet(Adapter);
    Memo(Data, u"Memo2", u"[ds.\"NAME\"]");
    auto* Footer = Band<TvqrPageFooter>(u"PageFooter1", 300, 30);
    Footer->SetPrintOnLastPage(false);
    Memo(Footer, u"Memo3", u"foot [Page#]");
    Memo(Band<TvqrReportSummary>(u"ReportSummary1", 200, 40), u"Memo4",
         u"Total [SUM(<ds.\"AMT\">,MasterData1)]");
    ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
    ASSERT_EQ(Store()->Count(), C.Pages);
    for (int P = 0; P < C.Pages; ++P) {
      std::vector<String> T = Texts(P);
      const bool HasFooter = std::find(T.begin(), T.end(), u"foot " + IntToStr(P + 1)) != T.end();
      EXPECT_EQ(HasFooter, C.Footers[static_cast<size_t>(P)]) << "page " << P + 1;
    }
    std::vector<String> Last = Texts(C.Pages - 1);
    EXPECT_NE(std::find(Last.begin(), Last.end(), u"Total " + IntToStr(C.Rows)), Last.end());
  }
}

// A single line taller than the whole page cannot be split; it prints clipped on its page
// instead of adding empty pages for ever.
TEST_F(EngineTest, ALineTallerThanThePagePrintsClipped) {
  Fill({{u"A", u"a", 1}, {u"A", u"b", 2}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Data->SetAllowSplit(true);
  Data->SetStretched(true);
  TvqrMemoView* M = Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  M->SetParentFont(false);
  M->Font()->SetSize(1000);  // one line of about 1,400 px on a printable height of 1,047
  M->SetStretchMode(smActualHeight);
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  ASSERT_LE(Store()->Count(), 3);
  std::vector<String> All;
  for (int P = 0; P < Store()->Count(); ++P)
    for (const String& T : Texts(P)) All.push_back(T);
  EXPECT_NE(std::find(All.begin(), All.end(), u"a"), All.end());
  EXPECT_NE(std::find(All.begin(), All.end(), u"b"), All.end());
}

// Pointing at and clicking prepared objects: page and anchor links move the preview, a link to
// a local program is refused, and a drill-down group header opens and closes its group.
TEST_F(EngineTest, ObjectOverFollowsLinksAndTogglesDrillDown) {
  std::vector<Row> Rows;
  for (int I = 1; I <= 60; ++I) Rows.push_back({u"A", u"r" + IntToStr(I), 1});
  Fill(Rows);
  TvqrMemoView* Link = Memo(Band<TvqrPageHeader>(u"PageHeader1", 0, 40), u"Memo1", u"Head");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 40);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo2", u"[ds.\"NAME\"]");
  Report->SetOnBeforePrint([&](TvqrReportComponent* C) {
    if (C == Data && VarToStr(Adapter->Value(u"NAME")) == u"r30") Store()->AddAnchor(u"middle");
  });
  std::vector<String> Opened;
  SetOpenURLHandler([&](const String& URL) { Opened.push_back(URL); });
  struct Case {
    const char16_t* URL;
    int Page;  // the page the preview moves to, 0 for none
    bool Opens;
  } const Cases[] = {{u"@3", 3, false},          {u"#middle", 2, false}, {u"@x", 0, false},
                     {u"file:///bin/sh", 0, false}, {u"https://example.org", 0, true}};
  const int X = static_cast<int>(10 * vq01cm) + 50, Y = static_cast<int>(10 * vq01cm) + 10;
  for (const Case& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.URL));
    Link->SetURL(C.URL);
    ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
    ASSERT_EQ(Store()->Count(), 3);
    int Moved = 0;
    Store()->SetOnNavigate([&](int PageNo, int) { Moved = PageNo; });
    Opened.clear();
    int Cursor = 0;
    Store()->ObjectOver(0, X, Y, 0, 0, 1, 0, 0, false, Cursor, false);
    EXPECT_EQ(Cursor, crHandPoint);
    EXPECT_EQ(Moved, 0);  // pointing alone follows nothing
    Store()->ObjectOver(0, X, Y, 0, 0, 1, 0, 0, true, Cursor, false);
    EXPECT_EQ(Moved, C.Page);
    EXPECT_EQ(Opened.size(), C.Opens ? 1u : 0u);
  }
  SetOpenURLHandler(nullptr);

  TearDown();
  SetUp();
  Fill({{u"A", u"a1", 1}, {u"B", u"b1", 2}});
  auto* Group = Band<TvqrGroupHeader>(u"GroupHeader1", 40, 20);
  Group->SetCondition(u"ds.\"GRP\"");
  Group->SetDrillDown(true);
  Memo(Group, u"Memo1", u"[ds.\"GRP\"]");
  auto* Rows2 = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Rows2->SetDataSet(Adapter);
  Memo(Rows2, u"Memo2", u"[ds.\"NAME\"]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  int Cursor = 0;
  Store()->ObjectOver(0, X, Y, 0, 0, 1, 0, 0, true, Cursor, false);  // on the first group's header
  EXPECT_EQ(Cursor, crHandPoint);
  ASSERT_EQ(Report->DrillState()->Count(), 1);
  Store()->ObjectOver(0, X, Y, 0, 0, 1, 0, 0, true, Cursor, false);
  EXPECT_EQ(Report->DrillState()->Count(), 0);
}

TEST_F(EngineTest, DataValuesHoldingBracketsPrintLiterally) {
  Fill({{u"A", u"[1+1] <Page#>", 1}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"[1+1] <Page#>"}));
}

TEST_F(EngineTest, CommandsAreRefusedWhileTheReportRuns) {
  Fill({{u"A", u"a", 1}, {u"A", u"b", 2}});
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  std::vector<bool> Inner;
  Report->SetOnBeforePrint([&](TvqrReportComponent* C) {
    if (C != Data) return;
    Inner.push_back(Report->PrepareReport(true));
    Inner.push_back(Report->Print());
    Inner.push_back(Report->Export(nullptr));
  });
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Inner, (std::vector<bool>(6, false)));
  EXPECT_EQ(Texts(0), (std::vector<String>{u"a", u"b"}));
}

// Records the calls an export filter receives.
class TRecordingFilter : public TvqrCustomExportFilter {
public:
  TRecordingFilter() : TvqrCustomExportFilter(NoRegisterTag{}) { SetShowDialog(false); }
  int ShowModal() override { Calls.push_back(u"ShowModal"); return ModalResult; }
  bool Start() override { Calls.push_back(u"Start"); return StartResult; }
  void StartPage(TvqrReportPage*, int I) override { Calls.push_back(u"StartPage " + IntToStr(I)); }
  void ExportObject(TvqrComponent* Obj) override { Calls.push_back(Obj->Name()); }
  void FinishPage(TvqrReportPage*, int I) override { Calls.push_back(u"FinishPage " + IntToStr(I)); }
  void Finish() override { Calls.push_back(u"Finish"); }
  std::vector<String> Calls;
  int ModalResult = 1;
  bool StartResult = true;
};

TEST_F(EngineTest, ExportDriverCallsTheFilterInOrder) {
  ASSERT_TRUE(PrepareThirtyRowsOnTwoPages());
  ASSERT_EQ(Store()->Count(), 2);

  TRecordingFilter F;
  F.SuppressPageHeadersFooters = true;
  EXPECT_TRUE(Report->Export(&F));
  std::vector<String> Expected = {u"Start", u"StartPage 0", u"_pagebackground", u"PageHeader1"};
  for (int I = 0; I < 24; ++I) Expected.push_back(u"MasterData1");
  Expected.insert(Expected.end(), {u"FinishPage 0", u"StartPage 1", u"_pagebackground"});
  for (int I = 0; I < 6; ++I) Expected.push_back(u"MasterData1");
  Expected.insert(Expected.end(), {u"PageFooter1", u"FinishPage 1", u"Finish"});
  EXPECT_EQ(F.Calls, Expected);

  TRecordingFilter Declines;
  Declines.StartResult = false;
  EXPECT_TRUE(Report->Export(&Declines));
  EXPECT_EQ(Declines.Calls, (std::vector<String>{u"Start"}));

  TRecordingFilter Cancelled;
  Cancelled.SetShowDialog(true);
  Cancelled.ModalResult = 2;
  EXPECT_FALSE(Report->Export(&Cancelled));
  EXPECT_EQ(Cancelled.Calls, (std::vector<String>{u"ShowModal"}));

  TRecordingFilter One;
  One.CurPage = true;
  EXPECT_TRUE(Report->Export(&One));
  EXPECT_EQ(std::count(One.Calls.begin(), One.Calls.end(), String(u"StartPage 0")), 1);
  EXPECT_EQ(std::count(One.Calls.begin(), One.Calls.end(), String(u"StartPage 1")), 0);
}

// Progress pumps messages, and a preview repainting meanwhile may drop every cached page: the
// page a filter receives must be fetched after that, never one freed under it.
TEST_F(EngineTest, ExportedPagesOutliveTheProgressPump) {
  ASSERT_TRUE(PrepareThirtyRowsOnTwoPages());
  ASSERT_EQ(Store()->Count(), 2);

  struct TCountingFilter : TRecordingFilter {
    void StartPage(TvqrReportPage* Page, int I) override {
      Calls.push_back(u"StartPage " + IntToStr(I) + u": " + IntToStr(static_cast<int>(Page->Objects().size())));
    }
  } F;
  F.SetShowProgress(true);
  Report->SetOnProgress([&](TvqrReport*, TvqrProgressType, int) { Store()->ClearPageCache(); });
  EXPECT_TRUE(Report->Export(&F));
  Report->SetOnProgress(nullptr);
  EXPECT_EQ(std::count(F.Calls.begin(), F.Calls.end(), String(u"StartPage 0: 26")), 1);
  EXPECT_EQ(std::count(F.Calls.begin(), F.Calls.end(), String(u"StartPage 1: 8")), 1);
}

TEST_F(EngineTest, AForwardOnlySourceLeavesGroupFootersTheCurrentRecord) {
  Fill({{u"A", u"a1", 1}, {u"A", u"a2", 2}, {u"B", u"b1", 3}});
  struct TForwardOnly : TvqrDBDataset {
    using TvqrDBDataset::TvqrDBDataset;
    void Prior() override { throw EDatabaseError(u"Operation not allowed on a unidirectional dataset"); }
  };
  auto* Forward = new TForwardOnly(Report.get());
  Forward->SetName(u"fw");
  Forward->SetUserName(u"fw");
  Forward->SetDataSet(Table);
  Report->DataSets()->Add(Forward);
  auto* Header = Band<TvqrGroupHeader>(u"GroupHeader1", 40, 20);
  Header->SetCondition(u"fw.\"GRP\"");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Forward);
  Memo(Data, u"Memo1", u"[fw.\"NAME\"]");
  auto* Footer = Band<TvqrGroupFooter>(u"GroupFooter1", 120, 20);
  Memo(Footer, u"Memo2", u"end [fw.\"NAME\"]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"a1", u"a2", u"end b1", u"b1", u"end b1"}));
}

TEST_F(EngineTest, VerticalBandsPrintAColumnPerRecord) {
  Fill({{u"A", u"r1", 1}, {u"B", u"r2", 2}});
  auto* Cols = new TArrayDataSet(Owner.get());
  Cols->FieldDefs()->Add(u"COL", ftInteger);
  for (int I = 1; I <= 4; ++I) Cols->AddRow({I * 10});
  Cols->Open();
  auto* Across = new TvqrDBDataset(Owner.get());
  Across->SetName(u"vs");
  Across->SetUserName(u"vs");
  Across->SetDataSet(Cols);
  Report->DataSets()->Add(Across);
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]", 0, 100);
  Memo(Data, u"Memo2", u"[ds.\"AMT\"]:[vs.\"COL\"]", 100, 50);
  auto* Column = new TvqrMasterData(Page);
  Column->SetName(u"MasterData2");
  Column->SetVertical(true);
  Column->SetBounds(100, 0, 50, 600);
  Column->SetDataSet(Across);
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"r1", u"1:10", u"1:20", u"1:30", u"1:40", u"r2",
                                           u"2:10", u"2:20", u"2:30", u"2:40"}));

  // Columns that do not fit across the page continue on the next page.
  Cols->Close();
  for (int I = 5; I <= 20; ++I) Cols->AddRow({I * 10});
  Cols->Open();
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  ASSERT_EQ(Store()->Count(), 2);
  std::vector<String> P1 = Texts(0), P2 = Texts(1);
  EXPECT_EQ(std::count(P1.begin(), P1.end(), String(u"1:10")), 1);
  EXPECT_EQ(std::count(P2.begin(), P2.end(), String(u"1:200")), 1);
  EXPECT_EQ(P1.size() + P2.size(), 42u);
}

TEST_F(EngineTest, AKeptGroupMovesWholeAndPageFooterTotalsStayRight) {
  std::vector<Row> Rows;
  for (int I = 1; I <= 20; ++I) Rows.push_back({u"A", u"a" + IntToStr(I), 1});
  for (int I = 1; I <= 10; ++I) Rows.push_back({u"B", u"b" + IntToStr(I), 100});
  Fill(Rows);
  auto* Header = Band<TvqrGroupHeader>(u"GroupHeader1", 40, 20);
  Header->SetCondition(u"ds.\"GRP\"");
  Header->SetKeepTogether(true);
  Memo(Header, u"Memo1", u"<[ds.\"GRP\"]>");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 40);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo2", u"[ds.\"NAME\"]");
  auto* Footer = Band<TvqrPageFooter>(u"PageFooter1", 300, 30);
  Memo(Footer, u"Memo3", u"sum [SUM(<ds.\"AMT\">,MasterData1)]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  ASSERT_EQ(Store()->Count(), 2);
  std::vector<String> P1 = Texts(0), P2 = Texts(1);
  EXPECT_EQ(P1.back(), u"sum 20");
  EXPECT_EQ(P1[P1.size() - 2], u"a20");
  EXPECT_EQ(P2.front(), u"<B>");
  EXPECT_EQ(P2.back(), u"sum 1000");
}

TEST_F(EngineTest, ViewsOnThePageItselfPrintOnceWhereTheyStand) {
  Fill({{u"A", u"a", 1}});
  auto* Stamp = new TvqrMemoView(Page);
  Stamp->SetName(u"Stamp");
  Stamp->SetBounds(500, 900, 100, 20);
  Stamp->SetText(u"stamp [ds.\"NAME\"]");
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"stamp a", u"a"}));
  TvqrReportPage* Built = Store()->Page(0);
  auto* Printed = dynamic_cast<TvqrMemoView*>(Built->Objects()[0]->Objects()[0]);
  ASSERT_NE(Printed, nullptr);
  EXPECT_DOUBLE_EQ(double(Printed->AbsTop()), 900.0);
  EXPECT_EQ(Stamp->Parent(), Page);
}

TEST_F(EngineTest, ASubreportRunsItsPageInsideTheBand) {
  Fill({{u"A", u"a1", 1}, {u"A", u"a2", 2}});
  auto* Title = Band<TvqrReportTitle>(u"ReportTitle1", 0, 40);
  Memo(Title, u"Memo1", u"title");
  auto* Sub = new TvqrSubreport(Title);
  Sub->SetName(u"Subreport1");
  Sub->SetBounds(0, 20, 300, 20);
  auto* Inner = new TvqrReportPage(Report.get());
  Inner->SetName(u"Page2");
  Inner->SetPaperSize(9);
  Sub->SetPage(Inner);
  auto* Data = new TvqrMasterData(Inner);
  Data->SetName(u"MasterData2");
  Data->SetBounds(0, 10, 300, 20);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo2", u"inner [ds.\"NAME\"]");
  auto* After = Band<TvqrPageFooter>(u"PageFooter1", 300, 20);
  Memo(After, u"Memo3", u"foot");
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  EXPECT_EQ(Texts(0), (std::vector<String>{u"title", u"inner a1", u"inner a2", u"foot"}));
}

TEST_F(EngineTest, WithAFileCachePagesFromTheThirdOnLeaveMemory) {
  std::vector<Row> Rows;
  for (int I = 1; I <= 120; ++I) Rows.push_back({u"A", u"r" + IntToStr(I), 1});
  Fill(Rows);
  auto* Data = Band<TvqrMasterData>(u"MasterData1", 80, 40);
  Data->SetDataSet(Adapter);
  Memo(Data, u"Memo1", u"[ds.\"NAME\"]");
  Report->EngineOptions()->SetUseFileCache(true);
  Report->EngineOptions()->SetMaxMemSize(0);
  ASSERT_TRUE(Prepare()) << ToUtf8(Report->Errors()->Text());
  ASSERT_EQ(Store()->Count(), 5);
  TvqrXMLItem* Pages = Store()->PagesItem();
  EXPECT_TRUE(Pages->Items(0)->Loaded());
  EXPECT_TRUE(Pages->Items(1)->Loaded());
  EXPECT_FALSE(Pages->Items(2)->Loaded());
  EXPECT_TRUE(Pages->Items(4)->Loaded());  // the last page, being filled, stays
  // Unloaded pages come back for rebuilding and saving.
  EXPECT_EQ(Texts(2).front(), u"r53");
  TMemoryStream Saved;
  Store()->SaveToStream(&Saved);
  TvqrPreviewPages Loaded(nullptr);
  Saved.SetPosition(0);
  Loaded.LoadFromStream(&Saved);
  EXPECT_EQ(Loaded.Count(), 5);
}

TEST(ExpressionCache, WrapsForEachLanguage) {
  EXPECT_EQ(TvqrExpressionCache::WrapExpression(u"PascalScript", u"vq3f0", u"1+2"),
            u"function vq3f0: Variant; begin Result := 1+2 end; begin end.");
  EXPECT_EQ(TvqrExpressionCache::WrapExpression(u"D++Ividaz", u"vq3f1", u"x"),
            u"Variant vq3f1() { return x; } {}");
  EXPECT_EQ(TvqrExpressionCache::WrapExpression(u"Cobol", u"vq3f1", u"x"), u"");
}

TEST(ExpressionCache, NumbersFunctionsAndReusesAFailedNumber) {
  TksScript Main;
  Main.SetExtendedCharset(true);
  Main.AddRTTI();
  TvqrExpressionCache Cache(&Main);
  String Error;
  EXPECT_EQ(Cache.Calc(u"1+2", Error, &Main).AsInteger(), 3);
  EXPECT_TRUE(Error.empty());
  Cache.Calc(u"1+", Error, &Main);
  EXPECT_FALSE(Error.empty());
  EXPECT_EQ(Cache.Count(), 1);
  EXPECT_EQ(Cache.Calc(u"2*3", Error, &Main).AsInteger(), 6);
  EXPECT_TRUE(Error.empty()) << ToUtf8(Error);
  EXPECT_NE(Cache.Script()->FindLocal(u"vq3f1"), nullptr);
  EXPECT_EQ(Cache.Calc(u"1 + 2", Error, &Main).AsInteger(), 3);
  EXPECT_EQ(Cache.Count(), 3);
  Cache.Calc(u"1+2", Error, &Main);
  EXPECT_EQ(Cache.Count(), 3);
}

}  // namespace
