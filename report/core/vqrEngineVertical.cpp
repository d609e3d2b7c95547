// vqrEngineVertical.cpp - vertical bands: the objects of a horizontal band that lie inside a
// vertical band's extent are printed once per record of the vertical data, side by side, and
// the widened row runs over as many pages as its columns need.
#include "report/core/vqrEngine.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrPreviewPages.h"

void TvqrEngine::CaptureVerticalObjects(TvqrBand* Band) {
  for (TvqrComponent* C : FPage->Objects()) {
    auto* V = dynamic_cast<TvqrBand*>(C);
    if (!V || !V->Vertical()) continue;
    // Objects captured by an earlier run (without a template reload) still belong to Band.
    for (TvqrComponent* O : V->Objects())
      if (O->OriginalBand() == Band) Band->HasVBands = true;
    for (TvqrComponent* O : std::vector<TvqrComponent*>(Band->Objects())) {
      if (O->Left() < V->Left() - 0.0001L ||
          V->Left() + V->Width() + 0.0001L < O->Left() + O->Width())
        continue;
      O->SetParent(V);
      O->SetOriginalBand(Band);
      O->SetLeft(O->Left() - V->Left());
      Band->HasVBands = true;
    }
  }
}

void TvqrEngine::BuildVMasterBand(TvqrBand* B) {
  TvqrPreviewPages* S = Store();
  FVMasterBand = B;
  B->OriginalObjectsCount = static_cast<int>(B->Objects().size());
  B->SetAllowSplit(false);
  int SavedPage = S->CurPage;
  FVHeaderList.clear();
  FVPageList = {0};
  CurVColumn = 0;
  RunVDataBands(FPage->VSubBands());
  FVPageList.push_back(static_cast<int>(B->Objects().size()));
  S->CurPage = SavedPage;
}

void TvqrEngine::RunVDataBands(std::vector<TvqrComponent*> List) {
  TvqrReport* R = Report();
  for (TvqrComponent* C : List) {
    auto* D = dynamic_cast<TvqrDataBand*>(C);
    if (!D || !D->DataSet()) continue;
    TvqrDataSet* DS = D->DataSet();
    DS->First();
    D->LineN = 1;
    D->LineThrough = 1;
    D->SetCurColumn(1);
    CurLine = 1;
    CurLineThrough = 1;
    ClearSuppress(D);
    bool First = true;
    Extended Y0 = 0;
    int A = 0;
    while (!DS->Eof()) {
      if (First && D->Header) {
        ShowBand(D->Header);
        if (auto* H = dynamic_cast<TvqrHeader*>(D->Header); H && H->ReprintOnNewPage())
          FVHeaderList.push_back(D->Header);
      }
      if (D->Group) {
        if (First)
          ShowGroupHeaders(D, D->Group, true, 0);
        else
          CheckGroupBreak(D, D->Group, Y0, A);
      }
      CurLine = D->LineN;
      CurLineThrough = D->LineThrough;
      ShowBand(D);
      ++D->LineN;
      ++D->LineThrough;
      RunVDataBands(std::vector<TvqrComponent*>(D->SubBands().begin(), D->SubBands().end()));
      if (D->FooterAfterEach() && D->Footer) ShowBand(D->Footer);
      First = false;
      DS->Next();
      if ((D->RowCount() != 0 && D->RowCount() < D->LineN) || R->Terminated()) break;
    }
    if (!First) {
      if (D->Group) ShowGroupFooters(D->Group, 0, D);
      if (D->Header)
        FVHeaderList.erase(std::remove(FVHeaderList.begin(), FVHeaderList.end(), D->Header),
                           FVHeaderList.end());
      if (!D->FooterAfterEach() && D->Footer) ShowBand(D->Footer);
    }
    if (R->Terminated()) return;
  }
}

void TvqrEngine::OutputVBand(TvqrBand* B) {
  TvqrReport* R = Report();
  TvqrPreviewPages* S = Store();
  const bool Data = dynamic_cast<TvqrDataBand*>(B) != nullptr;
  const bool Footer = dynamic_cast<TvqrFooter*>(B) || dynamic_cast<TvqrGroupFooter*>(B);
  if (Data) ++CurVColumn;
  FCurBand = Footer ? B : FVMasterBand;
  R->SetCurObject(B->Name());
  B->BeforePrint();
  vqrDoBeforePrint(R, B);
  if (B->Visible() && FVMasterBand) {
    if (CurX + B->Width() > PageWidth()) {
      if (FPage->EndlessWidth()) {
        SetPageWidth(PageWidth() + B->Width());
      } else {
        if (S->CurPage < S->Count() - 1)
          ++S->CurPage;
        else
          S->AddPage(FPage);
        CurX = 0;
        FVPageList.push_back(static_cast<int>(FVMasterBand->Objects().size()));
        for (TvqrBand* H : std::vector<TvqrBand*>(FVHeaderList)) ShowBand(H);
      }
    }
    for (TvqrComponent* C : std::vector<TvqrComponent*>(B->Objects())) {
      auto* O = dynamic_cast<TvqrReportComponent*>(C);
      if (!O || O->OriginalBand() != FVMasterBand) continue;
      R->SetCurObject(O->Name());
      O->BeforePrint();
      vqrDoBeforePrint(R, O);
      O->GetData();
      vqrDoNotifyEvent(R, O, O->OnAfterData(), false);
      auto* Copy = dynamic_cast<TvqrComponent*>(O->ClassType()->CreateComponent(FVMasterBand));
      if (Copy) {
        Copy->Assign(O);
        Copy->SetAliasName(O->AliasName());
        Copy->SetOriginalComponent(O->OriginalComponent());
        Copy->SetLeft(O->Left() + CurX);
      }
      O->AfterPrint();
    }
    CurX += B->Width();
  }
  R->SetCurObject(B->Name());
  vqrDoAfterPrint(R, B);
  B->AfterPrint();
  if (Data && FVMasterBand) FAggregates->AddValue(FVMasterBand, CurVColumn);
  if (Footer) FAggregates->Reset(B);
}

void TvqrEngine::OutputVMasterBand(TvqrBand* M, Extended SavedX) {
  TvqrPreviewPages* S = Store();
  std::vector<TvqrComponent*> All(M->Objects().begin(), M->Objects().end());
  const int SavedPage = S->CurPage;
  const Extended SavedY = CurY;
  S->AddPageAction = apWriteOver;
  for (TvqrComponent* C : All) C->SetParent(nullptr);
  for (size_t Seg = 0; Seg + 1 < FVPageList.size(); ++Seg) {
    for (int I = FVPageList[Seg]; I < FVPageList[Seg + 1] && I < static_cast<int>(All.size()); ++I)
      All[static_cast<size_t>(I)]->SetParent(M);
    S->AddObject(M);
    for (TvqrComponent* C : std::vector<TvqrComponent*>(M->Objects())) C->SetParent(nullptr);
    if (Seg + 2 < FVPageList.size()) {
      FDontShowHeaders = true;
      NewPage();
      FDontShowHeaders = false;
      M->SetTop(CurY);
    }
  }
  for (TvqrComponent* C : All) C->SetParent(M);
  S->CurPage = SavedPage;
  CurY = SavedY;
  CurX = SavedX;
  S->AddPageAction = apAdd;
}
