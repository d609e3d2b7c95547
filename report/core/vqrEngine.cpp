// vqrEngine.cpp - the band engine's run loop: start and end of a run, the band tree of each
// page, passes, report pages, the record walk with master/detail nesting, groups and
// data-band columns. Band output and page flow are in vqrEngineOutput.cpp.
#include "report/core/vqrEngine.h"

#include "report/core/vqrDialogPage.h"

#include <algorithm>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

namespace {

std::function<TDateTime()>& Clock() {
  static std::function<TDateTime()> C;
  return C;
}

String Res(const String& Key) { return StringTable()->Get(Key); }

TvqrDataBand* AsData(TvqrComponent* C) { return dynamic_cast<TvqrDataBand*>(C); }

void ProcessMessages(TvqrReport* R) {
  // The report's progress hook lets the message loop run while it reports progress.
  (void)R;
}

}  // namespace

// =============================================================================================
// Header list

void TvqrHeaderList::AddItem(TvqrBand* ABand, Extended ALeft, bool AInKeepList) {
  FItems.push_back({ABand, ALeft, AInKeepList});
}

void TvqrHeaderList::RemoveItem(TvqrBand* ABand) {
  auto It = std::find_if(FItems.begin(), FItems.end(),
                         [ABand](const TvqrHeaderListItem& I) { return I.Band == ABand; });
  if (It != FItems.end()) FItems.erase(It);
}

// =============================================================================================
// Engine

TvqrEngine::TvqrEngine(TvqrReport* AReport)
    : TvqrCustomEngine(AReport),
      FExpressionCache(std::make_unique<TvqrExpressionCache>(AReport ? AReport->Script() : nullptr)),
      FDrawText(std::make_unique<TvqrDrawText>()),
      FAggregates(std::make_unique<TvqrAggregateList>(AReport)) {}

TvqrEngine::~TvqrEngine() = default;

void TvqrEngine::SetClockForTests(std::function<TDateTime()> C) { Clock() = std::move(C); }

TvqrPreviewPages* TvqrEngine::Store() const {
  auto* P = dynamic_cast<TvqrPreviewPages*>(PreviewPages());
  if (!P && Report()) P = dynamic_cast<TvqrPreviewPages*>(Report()->PreviewPages());
  return P;
}

Variant TvqrEngine::GetAggregateValue(const String& Name, const String& Expression,
                                      TvqrBand* Band, int Flags) {
  return FAggregates->GetValue(FCurBand, CurVColumn, Name, Expression, Band, Flags);
}

// --- Start and end ---------------------------------------------------------------------------

bool TvqrEngine::Initialize() {
  TvqrReport* R = Report();
  FPrevFooterHeight = 0;
  TvqrPreviewPages* S = Store();
  S->Initialize();
  S->AddPageAction = apAdd;
  TDateTime Now = Clock() ? Clock()() : ::Now();
  StartDate = static_cast<TDateTime>(static_cast<Int64>(Now));
  StartTime = Now - StartDate;
  Running = true;
  FKeeping = false;
  CurVColumn = 0;
  FAggregates->Clear();
  for (int I = 0; I < R->PagesCount(); ++I) {
    FPage = dynamic_cast<TvqrReportPage*>(R->Pages(I));
    if (!FPage) continue;
    BuildBandTree(false);
    BuildBandTree(true);
  }
  for (int I = 0; I < R->PagesCount(); ++I) {
    auto* Page = dynamic_cast<TvqrReportPage*>(R->Pages(I));
    if (!Page) continue;
    if (R->DataSet() && R->DataSet() == Page->DataSet()) {
      R->Errors()->Add(u"Cannot use the same dataset for Report.DataSet and Page.DataSet");
      break;
    }
    for (TvqrComponent* C : Page->SubBands()) {
      TvqrDataBand* D = AsData(C);
      if (!D || !D->DataSet()) continue;
      if (R->DataSet() && D->DataSet() == R->DataSet()) {
        R->Errors()->Add(u"Cannot use the same dataset for Report.DataSet and Band.DataSet");
        break;
      }
      if (Page->DataSet() && D->DataSet() == Page->DataSet()) {
        R->Errors()->Add(u"Cannot use the same dataset for Page.DataSet and Band.DataSet");
        break;
      }
    }
  }
  return R->Errors()->Count() == 0;
}

void TvqrEngine::Finalize() {
  struct TEnd {
    TvqrEngine* E;
    ~TEnd() {
      if (TvqrPreviewPages* S = E->Store()) S->Finish();
      E->Running = false;
    }
  } End{this};
  Report()->DataSets()->Finalize();
}

void TvqrEngine::BuildBandTree(bool Vertical) {
  TvqrReport* R = Report();
  FPage->AlignChildren();
  std::vector<TvqrComponent*>& List = Vertical ? FPage->VSubBands() : FPage->SubBands();
  List.clear();
  std::vector<TvqrBand*> B;
  for (TvqrComponent* C : FPage->Objects()) {
    auto* Band = dynamic_cast<TvqrBand*>(C);
    if (!Band || Band->Vertical() != Vertical) continue;
    Band->SubBands().clear();
    Band->Header = Band->Footer = Band->Group = nullptr;
    Band->HasVBands = false;
    if (TvqrDataBand* D = AsData(Band); D && !D->DataSet() && D->RowCount() > 0) {
      D->SetDataSet(D->VirtualDataSet());
      D->VirtualDataSet()->Initialize();
    }
    if (!Vertical && !dynamic_cast<TvqrOverlay*>(Band)) CaptureVerticalObjects(Band);
    int Ordinal = Band->BandOrdinal();
    if (Ordinal >= 4 && Ordinal <= 13) B.push_back(Band);
  }
  // Bands at one position keep their object order: both take part.
  std::stable_sort(B.begin(), B.end(), [Vertical](TvqrBand* X, TvqrBand* Y) {
    Extended A = Vertical ? X->Left() : X->Top(), C = Vertical ? Y->Left() : Y->Top();
    return Round(A * 100) < Round(C * 100);
  });
  auto IsGH = [](TvqrBand* X) { return dynamic_cast<TvqrGroupHeader*>(X) != nullptr; };
  auto IsGF = [](TvqrBand* X) { return dynamic_cast<TvqrGroupFooter*>(X) != nullptr; };
  auto Remove = [&B](TvqrBand* X) { B.erase(std::remove(B.begin(), B.end(), X), B.end()); };
  auto Error = [R](const String& Key, TvqrBand* X) { R->Errors()->Add(Res(Key) + u" " + X->Name()); };

  // Groups: a run of group headers nests; the next data band belongs to the outermost.
  for (size_t I = 0; I < B.size(); ++I) {
    if (!IsGH(B[I])) continue;
    TvqrBand* H = B[I];
    H->SubBands().push_back(H);
    size_t J = I + 1;
    for (; J < B.size() && IsGH(B[J]); ++J) H->SubBands().push_back(B[J]);
    TvqrDataBand* D = nullptr;
    for (size_t K = J; K < B.size() && !D; ++K) D = AsData(B[K]);
    if (D)
      D->Group = H;
    else
      Error(u"enUnconnGroup", H);
    I = J - 1;
  }
  std::vector<TvqrBand*> Footers;
  for (TvqrBand* X : B)
    if (IsGF(X)) Footers.push_back(X);
  for (TvqrBand* F : Footers) {
    auto At = std::find(B.begin(), B.end(), F);
    for (auto It = std::make_reverse_iterator(At); It != B.rend(); ++It)
      if (IsGH(*It) && !(*It)->Footer) {
        (*It)->Footer = F;
        TvqrBand* H = *It;
        Remove(F);
        Remove(H);
        break;
      }
  }
  for (TvqrBand* X : std::vector<TvqrBand*>(B))
    if (IsGH(X)) Remove(X);
  for (TvqrBand* X : std::vector<TvqrBand*>(B))
    if (IsGF(X)) {
      Error(u"enUnconnGFooter", X);
      Remove(X);
    }
  // Headers and footers stand right before and after their data band.
  for (size_t I = 0; I < B.size(); ++I) {
    if (!AsData(B[I])) continue;
    TvqrBand* D = B[I];
    if (I + 1 < B.size() && dynamic_cast<TvqrFooter*>(B[I + 1])) {
      D->Footer = B[I + 1];
      B.erase(B.begin() + static_cast<std::ptrdiff_t>(I + 1));
    }
    if (I > 0 && dynamic_cast<TvqrHeader*>(B[I - 1])) {
      D->Header = B[I - 1];
      B.erase(B.begin() + static_cast<std::ptrdiff_t>(I - 1));
      --I;
    }
  }
  for (TvqrBand* X : std::vector<TvqrBand*>(B))
    if (dynamic_cast<TvqrHeader*>(X) || dynamic_cast<TvqrFooter*>(X)) {
      Error(u"enUnconnHeader", X);
      Remove(X);
    }
  // Master/detail levels by band ordinal.
  std::function<void(TvqrBand*, size_t)> Details = [&](TvqrBand* M, size_t From) {
    int Level = M->BandOrdinal();
    for (size_t K = From; K < B.size();) {
      TvqrBand* X = B[K];
      int O = X->BandOrdinal();
      if (O <= Level) break;
      if (O != Level + 1) {
        ++K;
        continue;
      }
      B.erase(B.begin() + static_cast<std::ptrdiff_t>(K));
      if (AsData(X) && AsData(X)->DataSet()) M->SubBands().push_back(X);
      if (!dynamic_cast<TvqrDataBand6*>(X)) Details(X, K);
    }
  };
  for (size_t I = 0; I < B.size();) {
    if (!dynamic_cast<TvqrMasterData*>(B[I])) {
      ++I;
      continue;
    }
    TvqrBand* M = B[I];
    B.erase(B.begin() + static_cast<std::ptrdiff_t>(I));
    if (AsData(M)->DataSet()) List.push_back(M);
    Details(M, I);
  }
  for (TvqrBand* X : B) Error(u"enBandPos", X);
}

bool TvqrEngine::Run() {
  TvqrReport* R = Report();
  if (!Initialize()) {
    Finalize();
    return false;
  }
  bool Result = false;
  struct TStop {
    TvqrEngine* E;
    ~TStop() {
      try {
        vqrDoNotifyEvent(E->Report(), E->Report(), E->Report()->OnStopReport, true);
      } catch (const Exception&) {
        // The run's own result and errors stand; the stop event's failure adds nothing.
      }
      E->Finalize();
    }
  } Stop{this};
  R->DataSets()->Initialize();
  vqrDoNotifyEvent(R, R, R->OnStartReport, true);
  if (!RunDialogs()) return false;
  TvqrPreviewPages* S = Store();
  for (int I = 0; I < R->PagesCount(); ++I) {
    FPage = dynamic_cast<TvqrReportPage*>(R->Pages(I));
    if (!FPage) continue;
    S->AddSourcePage(FPage);
    FAggregates->AddItems(FPage);
  }
  FinalPass = !DoublePass();
  TotalPages = 0;
  S->BeginPass();
  RunReportPass();
  if (DoublePass()) {
    TotalPages = S->Count();
    S->CurPage = S->Count() - 1;
    S->ClearFirstPassPages();
    FAggregates->ClearValues();
    FinalPass = true;
    RunReportPass();
  }
  Result = true;
  return Result;
}

bool TvqrEngine::RunDialogs() {
  TvqrReport* R = Report();
  if (Trim(R->OnRunDialogs).empty()) return vqrRunDialogPages(R);
  Variant Params = VarArrayOf({Variant(true)});
  vqrDoParamEvent(R, R->OnRunDialogs, Params, true);
  return VarSameValue(Params[0], Variant(true));
}

void TvqrEngine::RunReportPass() {
  TvqrReport* R = Report();
  FFirstReportPage = true;
  auto RunPages = [&] {
    for (int I = 0; I < R->PagesCount(); ++I) {
      FPage = dynamic_cast<TvqrReportPage*>(R->Pages(I));
      if (!FPage) continue;
      if (!FPage->IsSubReport() && FPage->Visible()) RunReportPage(FPage);
      if (R->Terminated()) return;
      FFirstReportPage = false;
    }
  };
  if (TvqrDataSet* DS = R->DataSet()) {
    DS->First();
    while (!DS->Eof() && !R->Terminated()) {
      RunPages();
      DS->Next();
    }
  } else {
    RunPages();
  }
}

void TvqrEngine::RunReportPage(TvqrReportPage* Page) {
  TvqrReport* R = Report();
  FPage = Page;
  if (Page->IsSubReport()) {
    RunDataBands(Page);
    return;
  }
  FIsFirstBand = true;
  vqrDoNotifyEvent(R, Page, Page->OnBeforePrint(), false);
  if (TvqrDataSet* DS = Page->DataSet()) {
    DS->First();
    while (!DS->Eof() && !R->Terminated()) {
      RunPage();
      DS->Next();
    }
  } else {
    for (int I = 0; I < Page->PageCount() && !R->Terminated(); ++I) RunPage();
  }
  vqrDoNotifyEvent(R, Page, Page->OnAfterPrint(), false);
}

void TvqrEngine::RunPage() {
  TvqrReport* R = Report();
  if (!HasDetailRecords(FPage, R->EngineOptions()->PrintIfEmpty())) return;
  BeginReportPage();
  ShowPageObjects();
  if (R->OnManualBuild())
    R->OnManualBuild()(FPage);
  else if (!Trim(FPage->OnManualBuild()).empty())
    vqrDoNotifyEvent(R, FPage, FPage->OnManualBuild(), false);
  else
    RunDataBands(FPage);
  FIsLastPage = true;
  EndPage();
  FIsLastPage = false;
}

// Views placed on the page itself print once, where they stand, through a borrowed null band.
void TvqrEngine::ShowPageObjects() {
  std::vector<TvqrComponent*> Views;
  for (TvqrComponent* C : FPage->Objects())
    if (dynamic_cast<TvqrView*>(C)) Views.push_back(C);
  if (Views.empty()) return;
  Extended SavedY = CurY;
  TvqrNullBand Holder(nullptr);
  Holder.SetBounds(0, 0, PageWidth(), PageHeight());
  Holder.SetParent(FPage);  // the views evaluate in their report
  struct TGiveBack {
    std::vector<TvqrComponent*>& Views;
    TvqrReportPage* Page;
    TvqrNullBand& Holder;
    ~TGiveBack() {
      for (TvqrComponent* V : Views) V->SetParent(Page);
      Holder.SetParent(nullptr);
    }
  } GiveBack{Views, FPage, Holder};
  for (TvqrComponent* V : Views) V->SetParent(&Holder);
  Holder.AlignChildren();
  ShowBand(&Holder);
  CurY = SavedY;
}

void TvqrEngine::BeginReportPage() {
  TvqrPreviewPages* S = Store();
  FHeaderList.Clear();
  TvqrBand* Title = PageBand(TvqrReportTitle::ClassInfo());
  TvqrBand* PageHeader = PageBand(TvqrPageHeader::ClassInfo());
  if (FPage->TitleBeforeHeader()) {
    FHeaderList.AddItem(Title, 0, false);
    FHeaderList.AddItem(PageHeader, 0, false);
  } else {
    FHeaderList.AddItem(PageHeader, 0, false);
    FHeaderList.AddItem(Title, 0, false);
  }
  SetPageHeight(FPage->PaperHeight() * vq01cm - FPage->TopMargin() * vq01cm -
                FPage->BottomMargin() * vq01cm);
  SetPageWidth(FPage->PaperWidth() * vq01cm - FPage->LeftMargin() * vq01cm -
               FPage->RightMargin() * vq01cm);
  CurX = 0;
  CurY = 0;
  CurColumn = 1;
  FPageCurX = 0;
  FIsFirstPage = true;
  FIsLastPage = false;
  if (S->Outline()) S->Outline()->LevelRoot();
  if (FPage->ResetPageNumbers()) S->ResetLogicalPageNumber();
  if (S->Count() > 0 && FPage->PrintOnPreviousPage()) {
    S->CurPage = S->Count() - 1;
    CurY = S->GetLastY(0);
    FHeaderList.RemoveItem(Title);
    ShowBand(TvqrReportTitle::ClassInfo());
  } else {
    OpenPage();
  }
  if (FFirstReportPage) S->FirstPage = S->CurPage;
  FFirstColumnY = CurY;
  ShowBand(TvqrColumnHeader::ClassInfo());
  if (TvqrBand* CH = PageBand(TvqrColumnHeader::ClassInfo())) FHeaderList.AddItem(CH, 0, false);
  FHeaderList.RemoveItem(Title);
  AddPageOutline();
}

void TvqrEngine::AddPageOutline() {
  if (Trim(FPage->OutlineText()).empty()) return;
  TvqrPreviewPages* S = Store();
  if (!S->Outline()) return;
  S->Outline()->LevelRoot();
  Report()->SetCurObject(FPage->Name());
  S->Outline()->AddItem(VarToStr(vqrCalc(Report(), FPage->OutlineText())), 0);
}

bool TvqrEngine::HasDetailRecords(TvqrComponent* Owner, bool Force) {
  if (Force) return true;
  auto* Page = dynamic_cast<TvqrReportPage*>(Owner);
  std::vector<TvqrComponent*> Subs;
  if (Page)
    Subs = Page->SubBands();
  else if (auto* B = dynamic_cast<TvqrBand*>(Owner))
    Subs.assign(B->SubBands().begin(), B->SubBands().end());
  bool Result = Subs.empty() && !Page;
  for (TvqrComponent* C : Subs) {
    TvqrDataBand* S = AsData(C);
    if (!S || !S->DataSet()) continue;
    vqrDoNotifyEvent(Report(), S, S->OnMasterDetail(), false);
    S->DataSet()->First();
    while (!S->DataSet()->Eof()) {
      if (HasDetailRecords(S, S->PrintIfDetailEmpty())) return true;
      S->DataSet()->Next();
    }
  }
  return Result;
}

void TvqrEngine::ClearSuppress(TvqrBand* Band) {
  for (TvqrComponent* C : Band->Objects())
    if (auto* M = dynamic_cast<TvqrCustomMemoView*>(C)) M->LastValue = Null();
}

void TvqrEngine::AddHeader(TvqrBand* Band) {
  bool Reprints = (dynamic_cast<TvqrHeader*>(Band) &&
                   static_cast<TvqrHeader*>(Band)->ReprintOnNewPage()) ||
                  (dynamic_cast<TvqrGroupHeader*>(Band) &&
                   static_cast<TvqrGroupHeader*>(Band)->ReprintOnNewPage());
  if (Reprints)
    FHeaderList.AddItem(Band, FPageCurX, FKeeping && !dynamic_cast<TvqrHeader*>(Band));
}

void TvqrEngine::AddBandOutline(TvqrBand* Band) {
  if (Band->OutlineText().empty() || !Band->Visible()) return;
  TvqrPreviewPages* S = Store();
  if (!S->Outline()) return;
  Report()->SetCurObject(Band->Name());
  Extended H = Band->Stretched() ? Band->StretchedHeight : Band->Height();
  S->Outline()->AddItem(VarToStr(vqrCalc(Report(), Band->OutlineText())),
                        static_cast<int>(Round(CurY - H)));
}

void TvqrEngine::RunDataBands(TvqrComponent* Owner) {
  TvqrReport* R = Report();
  ProcessMessages(R);
  if (R->Terminated()) return;
  Extended Y0 = CurY;
  int A = 0, F = 0;
  std::vector<TvqrComponent*> Subs;
  if (auto* Page = dynamic_cast<TvqrReportPage*>(Owner))
    Subs = Page->SubBands();
  else if (auto* B = dynamic_cast<TvqrBand*>(Owner))
    Subs.assign(B->SubBands().begin(), B->SubBands().end());
  TvqrPreviewPages* S = Store();
  for (TvqrComponent* C : Subs) {
    TvqrDataBand* D = AsData(C);
    if (!D || !D->DataSet()) continue;
    TvqrDataSet* DS = D->DataSet();
    DS->First();
    D->LineN = 1;
    D->LineThrough = 1;
    D->SetCurColumn(1);
    ClearSuppress(D);
    bool First = true;
    while (!DS->Eof()) {
      if (HasDetailRecords(D, D->PrintIfDetailEmpty())) {
        if (First) {
          if (D->KeepHeader() && D->Header && !FIsFirstBand) {
            FKeepHeader = true;
            BeginKeepBlock(D, 0);
          }
          if (D->Header) {
            AddHeader(D->Header);
            ShowBand(D->Header);
          }
          if (D->KeepTogether()) BeginKeepBlock(D, 0);
        } else if (!D->Group && D->KeepTogether()) {
          BeginKeepBlock(D, 0);
        }
        if (D->Group) {
          if (First)
            ShowGroupHeaders(D, D->Group, true, 0);
          else
            CheckGroupBreak(D, D->Group, Y0, A);
        }
        if (D->KeepFooter()) F = S->GetCurPosition();
        if (D->Columns() > 1 && D->CurColumn() == 1) A = S->GetCurPosition();
        Y0 = CurY;
        CurLine = D->LineN;
        CurLineThrough = D->LineThrough;
        ShowBand(D);
        for (int I = 0; I < NotifyList()->Count(); ++I)
          if (auto* Obj = dynamic_cast<TvqrComponent*>(static_cast<TObject*>(NotifyList()->Items(I))))
            Obj->OnNotify(D);
        if (First && D->KeepHeader() && D->Header) EndKeepBlock(D);
        FHBandNamesTree.push_back({D->Name(), D->LineThrough});
        ++D->LineN;
        ++D->LineThrough;
        NextDataColumn(D, A, Y0);
        AddBandOutline(D);
        RunDataBands(D);
        FHBandNamesTree.pop_back();
        if (!D->OutlineText().empty() && S->Outline()) S->Outline()->LevelUp();
        FIsFirstBand = false;
        if (D->FooterAfterEach() && D->Footer) ShowBand(D->Footer);
        First = false;
      }
      if (!D->Group && D->KeepTogether()) EndKeepBlock(D);
      DS->Next();
      if ((D->RowCount() != 0 && D->RowCount() < D->LineN) || R->Terminated()) break;
    }
    D->SetCurColumn(D->Columns() > 0 ? D->Columns() : 1);
    NextDataColumn(D, A, Y0);
    if (!First) {
      if (D->Group) ShowGroupFooters(D->Group, 0, D);
      if (!D->FooterAfterEach()) {
        if (D->KeepFooter()) BeginKeepBlock(D, F);
        FKeepFooter = true;
        if (D->Footer) ShowBand(D->Footer);
        if (D->KeepFooter()) EndKeepBlock(D);
        FKeepFooter = false;
      }
      if (D->Header) FHeaderList.RemoveItem(D->Header);
      if (D->Group && D->KeepTogether()) EndKeepBlock(D);
    }
    if (R->Terminated()) return;
    FIsFirstBand = false;
  }
}

// --- Groups ------------------------------------------------------------------------------------

void TvqrEngine::ShowGroupHeaders(TvqrDataBand* D, TvqrBand* H, bool IsFirst, int From) {
  std::vector<TvqrBand*>& Levels = H->SubBands();
  for (size_t I = static_cast<size_t>(From); I < Levels.size(); ++I) {
    TvqrBand* G = Levels[I];
    if (IsFirst) {
      G->LineN = 1;
      G->LineThrough = 1;
      ClearSuppress(G);
    } else {
      ++G->LineN;
      if (I + 1 < Levels.size()) Levels[I + 1]->LineN = 0;
      ++G->LineThrough;
    }
  }
  ApplyDrillDown(D, H);
  for (size_t I = static_cast<size_t>(From); I < Levels.size(); ++I) {
    auto* G = dynamic_cast<TvqrGroupHeader*>(Levels[I]);
    if (!G) continue;
    CurLine = G->LineN;
    CurLineThrough = G->LineThrough;
    Report()->SetCurObject(G->Name());
    G->LastValue = vqrCalc(Report(), G->Condition());
    if (G->KeepTogether()) BeginKeepBlock(G, 0);
    ShowBand(G);
    AddBandOutline(G);
    AddHeader(G);
  }
}

void TvqrEngine::CheckGroupBreak(TvqrDataBand* D, TvqrBand* H, Extended& Y0, int& A) {
  ApplyDrillDown(D, H);
  std::vector<TvqrBand*>& Levels = H->SubBands();
  for (size_t I = 0; I < Levels.size(); ++I) {
    auto* G = dynamic_cast<TvqrGroupHeader*>(Levels[I]);
    if (!G) continue;
    Report()->SetCurObject(G->Name());
    Variant V = vqrCalc(Report(), G->Condition());
    if (VarSameValue(V, G->LastValue)) continue;
    D->SetCurColumn(D->Columns() > 0 ? D->Columns() : 1);
    NextDataColumn(D, A, Y0);
    // The footers see the last record of the old group; a data source that cannot go back
    // leaves them the current record.
    bool WentBack = true;
    try {
      D->DataSet()->Prior();
    } catch (const Exception&) {
      WentBack = false;  // a forward-only source: the footer reads the current record
    }
    ShowGroupFooters(H, static_cast<int>(I), D);
    if (WentBack) D->DataSet()->Next();
    ShowGroupHeaders(D, H, false, static_cast<int>(I));
    D->LineN = 1;
    ClearSuppress(D);
    Y0 = CurY;
    return;
  }
}

void TvqrEngine::ShowGroupFooters(TvqrBand* H, int From, TvqrDataBand* D) {
  std::vector<TvqrBand*>& Levels = H->SubBands();
  TvqrPreviewPages* S = Store();
  for (int I = static_cast<int>(Levels.size()) - 1; I >= From; --I) {
    auto* G = dynamic_cast<TvqrGroupHeader*>(Levels[static_cast<size_t>(I)]);
    if (!G) continue;
    if (TvqrBand* F = G->Footer) {
      auto* GF = dynamic_cast<TvqrGroupFooter*>(F);
      if (GF && GF->HideIfSingleDataRecord() && D->LineN < 3)
        FAggregates->Reset(F);
      else
        ShowBand(F);
    }
    if (!G->OutlineText().empty() && S->Outline()) S->Outline()->LevelUp();
    FHeaderList.RemoveItem(G);
    if (G->KeepTogether()) EndKeepBlock(G);
  }
}

void TvqrEngine::ApplyDrillDown(TvqrDataBand* D, TvqrBand* H) {
  TvqrReport* R = Report();
  std::vector<TvqrBand*>& Levels = H->SubBands();
  for (size_t I = 0; I < Levels.size(); ++I) {
    auto* G = dynamic_cast<TvqrGroupHeader*>(Levels[I]);
    if (!G || !G->DrillDown()) continue;
    String Name;
    for (const auto& [Band, N] : FHBandNamesTree) Name += Band + u"." + IntToStr(N) + u".";
    Name += G->Name() + u"." + IntToStr(G->LineThrough);
    G->SetDrillName(Name);
    bool Visible = R->DrillState()->IndexOf(Name) >= 0;
    if (G->ExpandDrillDown()) Visible = !Visible;
    auto* Outer = dynamic_cast<TvqrGroupHeader*>(H);
    if (G->Child() && !(Outer && Outer->ShowChildIfDrillDown())) G->Child()->SetVisible(Visible);
    for (size_t K = I + 1; K < Levels.size(); ++K) {
      Levels[K]->SetVisible(Visible);
      if (Levels[K]->Footer) Levels[K]->Footer->SetVisible(Visible);
    }
    D->SetVisible(Visible);
    if (!G->ShowFooterIfDrillDown() && G->Footer) G->Footer->SetVisible(Visible);
    if (!Visible) break;
  }
}

void TvqrEngine::NextDataColumn(TvqrDataBand* D, int A, Extended Y0) {
  if (D->Columns() < 2) return;
  if (CurY > D->MaxY) D->MaxY = CurY;
  if (D->CurColumn() < D->Columns()) {
    CurY = Y0;
  } else if (D->MaxY <= PageHeight() - FooterHeight() || FPage->EndlessHeight()) {
    CurY = D->MaxY;
  } else if (FKeeping) {
    NewColumn();
  } else {
    TvqrPreviewPages* S = Store();
    S->CutObjects(A);
    NewColumn();
    S->PasteObjects(CurX, CurY);
    CurY += D->MaxY - Y0;
  }
  if (D->Visible()) D->SetCurColumn(D->CurColumn() + 1);
}

// =============================================================================================
// Module

void vqrEngineModuleInitialize() {
  TvqrReport::SetEngineFactory([](TvqrReport* R) -> TvqrCustomEngine* { return new TvqrEngine(R); });
  TvqrReport::SetPreviewPagesFactory(
      [](TvqrReport* R) -> TvqrCustomPreviewPages* { return new TvqrPreviewPages(R); });
  TvqrReport::SetPrepareScriptHook([](TvqrReport* R) { vqrPrepareScript(R); });
}
