// vqrEngineOutput.cpp - the band engine's output: evaluating and stretching a band, shifting
// the objects below a stretched one, placing the band on the page, page and column breaks
// with headers and footers, keep-together blocks, and splitting a band across pages.
#include "report/core/vqrEngine.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/rtl/SysUtils.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrUtils.h"

namespace {

std::vector<TvqrReportComponent*> ReportObjects(TvqrBand* B) {
  std::vector<TvqrReportComponent*> Result;
  for (TvqrComponent* C : B->Objects())
    if (auto* R = dynamic_cast<TvqrReportComponent*>(C)) Result.push_back(R);
  return Result;
}

}  // namespace

TvqrBand* TvqrEngine::PageBand(TClass Class) const {
  return FPage ? dynamic_cast<TvqrBand*>(FPage->FindBand(Class)) : nullptr;
}

// --- Heights -----------------------------------------------------------------------------------

Extended TvqrEngine::PageHeight() const {
  if (FPage && FPage->EndlessHeight())
    return const_cast<TvqrEngine*>(this)->FooterHeight() + CurY;
  return TvqrCustomEngine::PageHeight();
}

Extended TvqrEngine::HeaderHeight() {
  Extended H = 0;
  for (TClass C : {TvqrColumnHeader::ClassInfo(), TvqrPageHeader::ClassInfo()}) {
    int Guard = 0;
    for (TvqrBand* B = PageBand(C); B && Guard < 64; B = B->Child(), ++Guard) H += B->Height();
  }
  return H;
}

Extended TvqrEngine::FooterHeight() {
  Extended H = 0;
  if (TvqrBand* B = PageBand(TvqrColumnFooter::ClassInfo())) H += B->Height();
  if (TvqrBand* B = PageBand(TvqrPageFooter::ClassInfo())) H += B->Height();
  return H;
}

Extended TvqrEngine::FreeSpace() {
  if (FPage && FPage->EndlessHeight()) return 1000000;
  if (FPrevFooterHeight != 0) return PageHeight() - FPrevFooterHeight - CurY;
  return PageHeight() - FooterHeight() - CurY;
}

void TvqrEngine::BreakAllKeep() {
  FKeepCurY = 0;
  FKeeping = false;
  FKeepBand = nullptr;
  FAggregates->EndKeep();
  FKeepHeader = false;
}

// --- ShowBand ----------------------------------------------------------------------------------

void TvqrEngine::ShowBand(TClass BandClass) { ShowBand(PageBand(BandClass)); }

void TvqrEngine::ShowBand(TvqrBand* Band) {
  if (!Band) return;
  if (Band->KeepChild()) BeginKeepBlock(Band, 0);
  OutputBand(Band);
  if (Band->Child() && (Band->Visible() || Band->PrintChildIfInvisible())) ShowBand(Band->Child());
  if (Band->KeepChild()) EndKeepBlock(Band);
  if (dynamic_cast<TvqrDataBand*>(Band)) FAggregates->AddValue(Band, 0);
}

void TvqrEngine::OutputBand(TvqrBand* B) {
  const bool VMaster = B->HasVBands && !dynamic_cast<TvqrPageHeader*>(B);
  Extended SavedX = CurX;
  std::vector<int> SavedPageList;
  TvqrBand* SavedMaster = nullptr;
  if (VMaster) {
    Report()->SetCurObject(B->Name());
    B->BeforePrint();
    vqrDoBeforePrint(Report(), B);
    BuildVMasterBand(B);
    CurX = 0;
    CurLine = B->LineN;
    CurLineThrough = B->LineThrough;
    Store()->AddPageAction = apAdd;
    SavedPageList = FVPageList;
    SavedMaster = FVMasterBand;
  }
  if (B->Vertical()) {
    OutputVBand(B);
    return;
  }
  auto* D = dynamic_cast<TvqrDataBand*>(B);
  const bool MultiColumn = D && D->Columns() > 1;
  const bool GroupOrData = D || dynamic_cast<TvqrGroupHeader*>(B);
  if (!FCallFromAddPage && B->Visible() && B->StartNewPage() && (!GroupOrData || B->LineN != 1)) {
    FStartNewPageBand = B;
    if (auto* G = dynamic_cast<TvqrGroupHeader*>(B); G && G->ResetPageNumbers())
      Store()->ResetLogicalPageNumber();
    NewPage();
    FStartNewPageBand = nullptr;
  }
  PrepareBand(B);
  B->StretchedHeight = B->Height();
  if (B->Visible()) {
    struct TFinish {
      TvqrEngine* E;
      TvqrBand* B;
      ~TFinish() { E->FinishBand(B); }
    } Finish{this, B};
    const bool Plain = !MultiColumn && !dynamic_cast<TvqrOverlay*>(B) &&
                       !dynamic_cast<TvqrNullBand*>(B);
    if (Plain && FreeSpace() < B->Height()) {
      if ((B->AllowSplit() && !FKeeping) || B->Height() > PageHeight() - FooterHeight()) {
        if (!B->AllowSplit() && B->LineThrough > 1 && !B->StartNewPage()) {
          FCurBand = B;
          NewColumn();
        }
        if (FKeepBand == B) EndKeepBlock(B);
        SplitBand(B);
        FAggregates->Reset(B);
        return;
      }
      if (!FKeeping) RecalcSuppressed(B);
      if (!(dynamic_cast<TvqrChild*>(B) && FCallFromPHeader)) NewColumn();
    }
    if (!dynamic_cast<TvqrNullBand*>(B)) {
      if (MultiColumn)
        B->SetLeft(B->Left() + CurX);
      else
        B->SetLeft(CurX);
      B->SetTop(CurY);
    }
    if (VMaster) {
      FVPageList = SavedPageList;
      FVMasterBand = SavedMaster;
      B->SetLeft(0);
      OutputVMasterBand(B, SavedX);
    } else if (!FCallFromAddPage || !Store()->BandExists(B)) {
      Store()->AddObject(B);
    }
    CurY += B->Height();
  }
  FAggregates->Reset(B);
  if (B->Visible()) PrintSubreports(B);
}

// Subreports on a band run their pages from the band's end, each starting there; the run
// continues where the furthest of them ended (later page, then later column, then lower).
void TvqrEngine::PrintSubreports(TvqrBand* B) {
  std::vector<TvqrSubreport*> Subs;
  for (TvqrComponent* C : B->Objects())
    if (auto* S = dynamic_cast<TvqrSubreport*>(C);
        S && S->Visible() && !S->PrintOnParent() && S->Page() && S->Page() != FPage)
      Subs.push_back(S);
  if (Subs.empty()) return;
  TvqrPreviewPages* Store = this->Store();
  const int EndPage = Store->CurPage, EndColumn = CurColumn;
  const Extended EndX = CurX, EndY = CurY, EndPageCurX = FPageCurX;
  int FarPage = EndPage, FarColumn = EndColumn;
  Extended FarY = EndY;
  TvqrReportPage* Owner = FPage;
  // The subreport's bands are ordinary output even when the band itself is a page-start
  // reprint (a report title).
  const bool SavedFromAddPage = FCallFromAddPage;
  FCallFromAddPage = false;
  for (TvqrSubreport* S : Subs) {
    Store->CurPage = EndPage;
    CurColumn = EndColumn;
    FPageCurX = EndPageCurX + S->Left();
    CurX = EndX + S->Left();
    CurY = EndY - B->StretchedHeight + S->Top();
    RunDataBands(S->Page());
    FPage = Owner;
    if (Store->CurPage > FarPage || (Store->CurPage == FarPage && CurColumn > FarColumn) ||
        (Store->CurPage == FarPage && CurColumn == FarColumn && CurY > FarY)) {
      FarPage = Store->CurPage;
      FarColumn = CurColumn;
      FarY = CurY;
    }
  }
  Store->CurPage = FarPage;
  CurColumn = FarColumn;
  CurX = EndPageCurX;
  TStrings* Positions = FPage->ColumnPositions();
  if (CurColumn >= 2 && CurColumn - 1 < Positions->Count())
    CurX += ParseFloatText(Positions->Strings(CurColumn - 1)) * vq01cm;
  CurY = FarY;
  FPageCurX = EndPageCurX;
  FCallFromAddPage = SavedFromAddPage;
}

void TvqrEngine::PrepareBand(TvqrBand* B) {
  TvqrReport* R = Report();
  FCurBand = B;
  BuildShiftTree(B);
  const bool IsVMaster = B == FVMasterBand;
  if (!IsVMaster) {
    R->SetCurObject(B->Name());
    B->BeforePrint();
    vqrDoBeforePrint(R, B);
  }
  bool Stretched = false;
  std::vector<TvqrReportComponent*> Objects = ReportObjects(B);
  for (size_t Index = 0; Index < Objects.size(); ++Index) {
    TvqrReportComponent* O = Objects[Index];
    if (IsVMaster && B->OriginalObjectsCount >= 0 &&
        static_cast<int>(Index) >= B->OriginalObjectsCount)
      continue;
    R->SetCurObject(O->Name());
    O->BeforePrint();
    if (B->Visible()) {
      vqrDoBeforePrint(R, O);
      if (O->Visible()) {
        O->GetData();
        vqrDoNotifyEvent(R, O, O->OnAfterData(), false);
      }
    }
    auto* S = dynamic_cast<TvqrStretcheable*>(O);
    if (B->Visible() && O->Visible() && S && S->StretchMode() != smDontStretch) {
      Extended H = S->CalcHeight();
      if (H <= S->Height()) {
        S->SetShiftAmount(0);
      } else {
        S->SetShiftAmount(H - S->Height());
        S->SetHeight(H);
        Stretched = true;
      }
    }
  }
  if (!B->Visible()) return;
  if (Stretched) ShiftObjects(B, 0);
  Extended Bottom = 0;
  for (TvqrComponent* O : B->Objects()) Bottom = std::max(Bottom, O->Top() + O->Height());
  if (B->Stretched()) B->SetHeight(Bottom);
  R->SetCurObject(B->Name());
  vqrDoNotifyEvent(R, B, B->OnAfterCalcHeight(), false);
  for (TvqrComponent* O : B->Objects())
    if (auto* S = dynamic_cast<TvqrStretcheable*>(O); S && S->StretchMode() == smMaxHeight)
      S->SetHeight(Bottom - S->Top());
}

void TvqrEngine::BuildShiftTree(TvqrBand* B) {
  if (!B->ShiftChildren().empty()) return;
  std::vector<TvqrReportComponent*> L = ReportObjects(B);
  std::stable_sort(L.begin(), L.end(), [](TvqrReportComponent* X, TvqrReportComponent* Y) {
    return Round(X->Top() * 100) < Round(Y->Top() * 100);
  });
  for (TvqrReportComponent* O : L) O->ShiftChildren().clear();
  // Each object shifts the nearest objects below it that nothing else separates; the band
  // itself stands for its top edge (objects with nothing above them).
  struct TEntry {
    TvqrReportComponent* Obj;
    TvqrRectArea R;
  };
  std::vector<TEntry> E;
  E.push_back({nullptr, TvqrRectArea(B->AbsLeft(), B->AbsTop() - 2, B->AbsLeft() + B->Width(),
                                     B->AbsTop() - 1)});
  for (TvqrReportComponent* O : L) E.push_back({O, TvqrRectArea(O)});
  for (size_t I = 0; I < E.size(); ++I)
    for (size_t J = I + 1; J < E.size(); ++J) {
      const TvqrRectArea& Ri = E[I].R;
      const TvqrRectArea& Rj = E[J].R;
      if (Ri.InterceptsY(Rj) || Ri.Y >= Rj.Y || !Ri.InterceptsX(Rj)) continue;
      auto X = Ri.InterceptX(Rj);
      bool Separated = false;
      for (size_t K = J - 1; K > I && !Separated; --K) {
        const TvqrRectArea& Rk = E[K].R;
        if (!Rk.InterceptsY(Ri) && !Rk.InterceptsY(Rj) && X && X->InterceptsX(Rk)) Separated = true;
      }
      if (Separated) continue;
      auto& Children = E[I].Obj ? E[I].Obj->ShiftChildren() : B->ShiftChildren();
      Children.push_back(E[J].Obj);
    }
}

void TvqrEngine::ShiftObjects(TvqrReportComponent* P, Extended D) {
  auto* Band = dynamic_cast<TvqrBand*>(P);
  for (TvqrReportComponent* K : P->ShiftChildren()) {
    auto* V = dynamic_cast<TvqrView*>(K);
    TvqrShiftMode Mode = V ? V->ShiftMode() : smAlways;
    Extended Passed = 0;
    if (Mode == smAlways) {
      K->SetTop(K->Top() + D);
      Passed = D + K->ShiftAmount();
    } else if (Mode == smDontShift) {
      Passed = D + K->ShiftAmount();
    } else if (Band) {
      Passed = K->ShiftAmount();
    } else {
      Extended E = P->Top() + P->Height();
      if (K->Top() >= E) {
        Passed = K->ShiftAmount();
      } else {
        Passed = E - K->Top() + K->ShiftAmount();
        K->SetTop(E);
      }
    }
    ShiftObjects(K, Passed);
    K->SetShiftAmount(0);
  }
}

void TvqrEngine::FinishBand(TvqrBand* B) {
  TvqrReport* R = Report();
  if (B->Visible())
    for (TvqrReportComponent* O : ReportObjects(B)) {
      R->SetCurObject(O->Name());
      vqrDoAfterPrint(R, O);
    }
  std::vector<TvqrReportComponent*> Objects = ReportObjects(B);
  for (size_t I = 0; I < Objects.size(); ++I)
    if (B != FVMasterBand || B->OriginalObjectsCount < 0 ||
        static_cast<int>(I) < B->OriginalObjectsCount)
      Objects[I]->AfterPrint();
  R->SetCurObject(B->Name());
  vqrDoAfterPrint(R, B);
  B->AfterPrint();
  if (B->OriginalObjectsCount != -1) {
    while (static_cast<int>(B->Objects().size()) > B->OriginalObjectsCount)
      delete B->Objects().back();
    B->OriginalObjectsCount = -1;
  }
  if (B == FVMasterBand) FVMasterBand = nullptr;
}

// --- Keep-together -----------------------------------------------------------------------------

void TvqrEngine::BeginKeepBlock(TvqrBand* B, int P) {
  if (FKeeping || FIsFirstBand) return;
  TvqrPreviewPages* S = Store();
  FKeepCurY = CurY;
  FKeeping = true;
  FKeepBand = B;
  FKeepPosition = P != 0 ? P : S->GetCurPosition();
  FKeepOutline = S->Outline() ? S->Outline()->GetCurPosition() : nullptr;
  FKeepAnchor = S->GetAnchorCurPosition();
  FAggregates->StartKeep();
}

void TvqrEngine::EndKeepBlock(TvqrBand* B) {
  if (B != FKeepBand) return;
  FKeepCurY = 0;
  FKeeping = false;
  FKeepBand = nullptr;
  FAggregates->EndKeep();
  FKeepHeader = false;
}

// --- Pages and columns -------------------------------------------------------------------------

void TvqrEngine::NewPage() {
  TvqrPreviewPages* S = Store();
  if (FKeeping && FKeepBand &&
      CurY - FKeepCurY + FKeepBand->Height() > PageHeight() - FooterHeight()) {
    FKeeping = false;
    FAggregates->EndKeep();
  }
  if (FKeeping) {
    if (FKeepFooter) FAggregates->DeleteValue(FKeepBand);
    S->CutObjects(FKeepPosition);
    CurY = S->GetLastY(0);
  }
  FLastBandOnPage = FCurBand;
  EndPage();
  OpenPage();
  FLastBandOnPage = nullptr;
  if (FKeeping) {
    FAggregates->EndKeep();
    S->PasteObjects(0, CurY);
    if (S->Outline()) S->Outline()->ShiftItems(FKeepOutline, static_cast<int>(Round(CurY)));
    S->ShiftAnchors(FKeepAnchor, static_cast<int>(Round(CurY)));
    CurY = S->GetLastY(0);
    if (FKeepFooter) FAggregates->AddValue(FKeepBand, 0);
  }
  FKeeping = false;
  FKeepHeader = false;
  FKeepCurY = 0;
  AddPageOutline();
}

void TvqrEngine::OpenPage() {
  TvqrPreviewPages* S = Store();
  FPrevFooterHeight = 0;
  S->AddPage(FPage);
  CurY = 0;
  if (auto* O = dynamic_cast<TvqrOverlay*>(PageBand(TvqrOverlay::ClassInfo())); O && !O->PrintOnTop())
    ShowBand(O);
  CurY = 0;
  FFirstColumnY = 0;
  Extended SavedX = CurX;
  for (int I = 0; I < FHeaderList.Count(); ++I) {
    TvqrHeaderListItem Item = FHeaderList.HeaderItemAt(I);
    TvqrBand* B = Item.Band;
    if (!B || B == FStartNewPageBand) continue;
    if (auto* PH = dynamic_cast<TvqrPageHeader*>(B); PH && FIsFirstPage && !PH->PrintOnFirstPage()) {
      if (PH->PrintChildIfInvisible() && PH->Child()) ShowBand(PH->Child());
      continue;
    }
    bool IsHeader = dynamic_cast<TvqrHeader*>(B) != nullptr;
    if ((IsHeader && FKeepHeader) || (Item.IsInKeepList && !FKeepFooter)) continue;
    if ((IsHeader || dynamic_cast<TvqrGroupHeader*>(B)) && FDontShowHeaders) continue;
    if (IsHeader && B == FLastBandOnPage) continue;
    CurX = Item.Left;
    bool SavedOverflow = B->Overflow();
    int SavedLine = CurLine, SavedThrough = CurLineThrough;
    bool SavedFromAdd = FCallFromAddPage, SavedFromPH = FCallFromPHeader;
    B->SetOverflow(true);
    CurLine = B->LineN;
    CurLineThrough = B->LineThrough;
    FCallFromAddPage = true;
    FCallFromPHeader = dynamic_cast<TvqrPageHeader*>(B) != nullptr;
    const bool Title = dynamic_cast<TvqrReportTitle*>(B) != nullptr;
    if (Title) FHeaderList.HeaderItemAt(I).Band = nullptr;
    ShowBand(B);
    if (dynamic_cast<TvqrPageHeader*>(B)) FFirstColumnY = B->StretchedHeight;
    if (Title) FIsFirstBand = false;
    FCallFromAddPage = SavedFromAdd;
    FCallFromPHeader = SavedFromPH;
    B->SetOverflow(SavedOverflow);
    CurLine = SavedLine;
    CurLineThrough = SavedThrough;
  }
  CurX = SavedX;
}

void TvqrEngine::NewColumn() {
  if (CurColumn >= std::max(1, FPage->Columns())) {
    NewPage();
    return;
  }
  TvqrPreviewPages* S = Store();
  if (FKeeping) {
    if (FKeepFooter) FAggregates->DeleteValue(FKeepBand);
    S->CutObjects(FKeepPosition);
    CurY = S->GetLastY(0);
  }
  FLastBandOnPage = FCurBand;
  OutputColumnFooter();
  StartColumn();
  FLastBandOnPage = nullptr;
  if (FKeeping) {
    FAggregates->EndKeep();
    S->PasteObjects(CurX, CurY);
    if (S->Outline()) S->Outline()->ShiftItems(FKeepOutline, static_cast<int>(Round(CurY)));
    S->ShiftAnchors(FKeepAnchor, static_cast<int>(Round(CurY)));
    CurY = S->GetLastY(CurX);
    if (FKeepFooter) FAggregates->AddValue(FKeepBand, 0);
  }
  FKeeping = false;
  FKeepHeader = false;
}

void TvqrEngine::OutputColumnFooter() {
  TvqrBand* F = PageBand(TvqrColumnFooter::ClassInfo());
  if (!F) return;
  struct TFinish {
    TvqrEngine* E;
    TvqrBand* B;
    ~TFinish() { E->FinishBand(B); }
  };
  {
    PrepareBand(F);
    TFinish Finish{this, F};
    if (F->Visible()) {
      F->SetLeft(CurX - FPageCurX);
      F->SetTop(CurY);
      Store()->AddObject(F);
      CurY += F->Height();
    }
  }
  FAggregates->Reset(F);
}

void TvqrEngine::StartColumn() {
  ++CurColumn;
  Extended X = 0;
  TStrings* Positions = FPage->ColumnPositions();
  if (CurColumn - 1 < Positions->Count())
    X = ParseFloatText(Positions->Strings(CurColumn - 1)) * vq01cm;
  CurY = FFirstColumnY;
  for (int I = 0; I < FHeaderList.Count(); ++I) {
    TvqrHeaderListItem Item = FHeaderList.HeaderItemAt(I);
    TvqrBand* B = Item.Band;
    if (!B || dynamic_cast<TvqrPageHeader*>(B) || B == FLastBandOnPage || Item.IsInKeepList ||
        FKeepHeader)
      continue;
    CurX = Item.Left + X;
    int Guard = 0;
    for (TvqrBand* P = B; P && Guard < 64 && (P == B || P->Visible() || P->PrintChildIfInvisible());
         P = P->Child(), ++Guard) {
      P->SetOverflow(true);
      PrepareBand(P);
      if (P->Visible()) {
        P->SetLeft(CurX);
        P->SetTop(CurY);
        Store()->AddObject(P);
        CurY += P->Height();
      }
      FinishBand(P);
      P->SetOverflow(false);
    }
  }
  CurX = FPageCurX + X;
}

void TvqrEngine::EndPage() {
  if (!FCallFromEndPage) OutputColumnFooter();
  if (!FIsLastPage) {
    CurX = FPageCurX;
    CurColumn = 1;
  }
  if (FIsLastPage && !FCallFromEndPage) {
    FCallFromEndPage = true;
    struct TReset {
      bool& Flag;
      ~TReset() { Flag = false; }
    } Reset{FCallFromEndPage};
    ShowBand(TvqrReportSummary::ClassInfo());
  }
  if (TvqrBand* Footer = PageBand(TvqrPageFooter::ClassInfo())) {
    CurY = PageHeight() - Footer->Height();
    auto* PF = static_cast<TvqrPageFooter*>(Footer);
    FPrevFooterHeight =
        FIsLastPage && PF->PrintOnLastPage() && !FCallFromEndPage ? Footer->Height() : 0;
    OutputPageBand(Footer);
  }
  if (auto* O = dynamic_cast<TvqrOverlay*>(PageBand(TvqrOverlay::ClassInfo())); O && O->PrintOnTop()) {
    CurY = 0;
    OutputPageBand(O);
  }
  FIsFirstPage = false;
}

void TvqrEngine::OutputPageBand(TvqrBand* F) {
  if (!F) return;
  PrepareBand(F);
  bool Suppressed = false;
  if (F->Visible()) {
    F->SetLeft(0);
    F->SetTop(CurY);
    auto* PF = dynamic_cast<TvqrPageFooter*>(F);
    Suppressed = PF && ((FIsFirstPage && !PF->PrintOnFirstPage()) ||
                        (FIsLastPage && !PF->PrintOnLastPage() && !FCallFromEndPage));
    if (!Suppressed) {
      if (!Store()->BandExists(F)) Store()->AddObject(F);
      CurY += F->Height();
    }
  }
  FinishBand(F);
  if (!Suppressed) FAggregates->Reset(F);
}

void TvqrEngine::RecalcSuppressed(TvqrBand* B) {
  bool Any = false;
  for (TvqrComponent* C : B->Objects())
    if (auto* M = dynamic_cast<TvqrCustomMemoView*>(C); M && M->SuppressRepeated()) {
      M->ResetSuppress();
      Any = true;
    }
  if (!Any || B->HasVBands) return;
  FinishBand(B);
  CurLine = B->LineN;
  CurLineThrough = B->LineThrough;
  SecondScriptCall = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } Reset{SecondScriptCall};
  PrepareBand(B);
}

// --- Splitting ---------------------------------------------------------------------------------

void TvqrEngine::PushDownBelow(TvqrReportComponent* O, Extended X,
                               std::vector<TvqrReportComponent*>& ToPrint,
                               std::vector<TvqrReportComponent*>& Pushed) {
  for (TvqrReportComponent* P : ToPrint) {
    if (P == O || std::find(Pushed.begin(), Pushed.end(), P) != Pushed.end()) continue;
    if (P->Top() >= O->Top() + O->Height() && O->Left() + O->Width() - P->Left() > 0.0001L &&
        P->Left() + P->Width() - O->Left() > 0.0001L) {
      P->SetTop(P->Top() + X);
      Pushed.push_back(P);
    }
  }
}

void TvqrEngine::SplitBand(TvqrBand* B) {
  struct TState {
    Extended SavedHeight = 0, SavedTop = 0;
  };
  std::vector<TvqrReportComponent*> ToPrint, All = ReportObjects(B), Pushed;
  std::map<TvqrReportComponent*, TState> State;
  for (TvqrReportComponent* O : All) {
    if (!dynamic_cast<TvqrSubreport*>(O)) ToPrint.push_back(O);
    if (auto* S = dynamic_cast<TvqrStretcheable*>(O)) {
      S->InitPart();
      State[O].SavedHeight = S->Height();
    }
  }
  // The band's list is rebuilt part by part; the objects stay owned by the band.
  std::vector<TvqrComponent*> Original(B->Objects().begin(), B->Objects().end());
  for (TvqrComponent* C : Original) C->SetParent(nullptr);
  struct TRestore {
    TvqrBand* B;
    std::vector<TvqrComponent*>& Original;
    ~TRestore() {
      for (TvqrComponent* C : std::vector<TvqrComponent*>(B->Objects())) C->SetParent(nullptr);
      for (TvqrComponent* C : Original) C->SetParent(B);
    }
  } Restore{B, Original};
  const size_t N0 = ToPrint.size();
  Extended Q = FreeSpace();
  TvqrReport* R = Report();
  int Rounds = 0;
  while (!ToPrint.empty()) {
    Pushed.clear();
    if (R->Terminated()) break;
    bool Partly = false;
    bool EmptyPage = FreeSpace() >= PageHeight() - FooterHeight() - HeaderHeight() - 0.0001L;
    for (size_t I = 0; I < ToPrint.size();) {
      TvqrReportComponent* O = ToPrint[I];
      Extended U = 0, S = O->Height();
      bool More = false;
      auto* St = dynamic_cast<TvqrStretcheable*>(O);
      if (St) {
        State[O].SavedTop = O->Top();
        O->SetHeight(Q - O->Top());
        if (O->Top() < Q) U = St->DrawPart();
        S = State[O].SavedHeight;
        More = St->HasNextDataPart();
      }
      if (Q >= O->Top() + S && !More) {
        O->SetHeight(S);
        O->SetParent(B);
        ToPrint.erase(ToPrint.begin() + static_cast<std::ptrdiff_t>(I));
        continue;
      }
      if (St) {
        if (O->Top() < Q) PushDownBelow(O, U, ToPrint, Pushed);
        if (std::abs(U - O->Height()) < 0.0001L && !EmptyPage) {
          O->SetTop(Q);
          O->SetHeight(State[O].SavedHeight);
        } else if (std::abs(U - O->Height()) < 0.0001L) {
          // Nothing of it fits even on an empty page (a line taller than the page): it is
          // printed whole and clipped by the page, so the split cannot add pages forever.
          if (auto* M = dynamic_cast<TvqrCustomMemoView*>(O)) M->SetText(M->PartMemo);
          O->SetHeight(State[O].SavedHeight);
          O->SetParent(B);
          State[O].SavedHeight = 0;
        } else {
          O->SetParent(B);
          State[O].SavedHeight = State[O].SavedHeight - O->Height() + U;
          Partly = true;
        }
      } else if (O->Height() <= PageHeight() - FooterHeight()) {
        if (O->Top() < Q) {
          PushDownBelow(O, Q - O->Top(), ToPrint, Pushed);
          O->SetTop(Q);
        }
      } else {
        O->SetParent(B);
        ToPrint.erase(ToPrint.begin() + static_cast<std::ptrdiff_t>(I));
        continue;
      }
      ++I;
    }
    // A stretchable object with nothing left to print is done.
    ToPrint.erase(std::remove_if(ToPrint.begin(), ToPrint.end(),
                                 [&](TvqrReportComponent* O) {
                                   return dynamic_cast<TvqrStretcheable*>(O) &&
                                          O->Parent() == B && State[O].SavedHeight <= 0.0001L;
                                 }),
                  ToPrint.end());
    B->SetHeight(0);
    Extended Bottom = 0;
    for (TvqrComponent* O : B->Objects()) Bottom = std::max(Bottom, O->Top() + O->Height());
    B->SetHeight(Bottom);
    if (ToPrint.empty())
      for (TvqrComponent* O : B->Objects()) {
        if (auto* V = dynamic_cast<TvqrView*>(O); V && V->Align() == baBottom)
          O->SetTop(B->Height() - O->Height());
        if (auto* S = dynamic_cast<TvqrStretcheable*>(O); S && S->StretchMode() == smMaxHeight)
          S->SetHeight(B->Height() - S->Top());
      }
    B->SetLeft(CurX);
    B->SetTop(CurY);
    Store()->AddObject(B);
    CurY += B->Height();
    FCurBand = B;
    for (TvqrComponent* C : std::vector<TvqrComponent*>(B->Objects())) C->SetParent(nullptr);
    if (!ToPrint.empty()) {
      NewColumn();
      for (TvqrReportComponent* O : ToPrint) {
        O->SetTop(O->Top() - Q);
        if (auto* S = dynamic_cast<TvqrStretcheable*>(O)) {
          if (!Partly && ToPrint.size() == N0) O->SetTop(State[O].SavedTop);
          S->SetHeight(State[O].SavedHeight);
        }
        if (O->Top() < 0) O->SetTop(0);
      }
    }
    Q = FreeSpace();
    if (++Rounds > 100000) break;
  }
}
