// vqrPreviewPagesDraw.cpp - prepared pages to a canvas, to the mouse and to an export filter:
// DrawPage, ObjectOver and Export. Printing is the printer layer's run (vqrPrinterJob).
#include "report/core/vqrPreviewPages.h"

#include "platform/controls/Controls.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrPrinterJob.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

namespace {

TvqrOpenURLHandler& URLHandler() {
  static TvqrOpenURLHandler Handler;
  return Handler;
}

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }

// Swaps a page's left and right margins for a mirrored (odd-indexed) page, and back.
class TMirror {
public:
  TMirror(TvqrReportPage* Page, int Index) : FPage(Page) {
    FSwap = Page->MirrorMargins() && (Index % 2) == 1;
    if (FSwap) Swap();
  }
  ~TMirror() {
    if (FSwap) Swap();
  }

private:
  void Swap() {
    Extended L = FPage->LeftMargin();
    FPage->SetLeftMargin(FPage->RightMargin());
    FPage->SetRightMargin(L);
  }
  TvqrReportPage* FPage;
  bool FSwap;
};

// The report's click events: the object's script procedure, then the host event.
void DoPreviewClick(TvqrReport* R, TvqrView* View, int Button, Word Shift, bool& Modified,
                    bool DBClick) {
  if (PreviewClickScriptHook())
    PreviewClickScriptHook()(R, View, Button, Shift, Modified, DBClick);
  const auto& Event = DBClick ? R->OnDblClickObject() : R->OnClickObject();
  if (Event)
    Event(View, static_cast<TMouseButton>(Button), TShiftState::FromBits(Shift), Modified);
}

}  // namespace

TvqrPreviewClickHook& PreviewClickScriptHook() {
  static TvqrPreviewClickHook Hook;
  return Hook;
}

void SetOpenURLHandler(TvqrOpenURLHandler Handler) { URLHandler() = std::move(Handler); }

bool IsOpenableURL(const String& URL) {
  String Lower = LowerCase(Trim(URL));
  for (const String& Scheme : {String(u"http://"), String(u"https://"), String(u"mailto:")})
    if (Lower.size() > Scheme.size() && Lower.compare(0, Scheme.size(), Scheme) == 0) return true;
  return false;
}

// --- DrawPage ----------------------------------------------------------------------------------

void TvqrPreviewPages::DrawPage(int Index, TCanvas* Canvas, Extended ScaleX, Extended ScaleY,
                                Extended OffsetX, Extended OffsetY) {
  TvqrReportPage* APage = Index >= 0 && Index < Count() ? Page(Index) : nullptr;
  if (!APage || !Canvas) return;
  TMirror Mirror(APage, Index);
  const bool Printer = Canvas->Kind() == ckPrinter;
  const bool Recording = Canvas->Kind() == ckMetafile;
  TClipRegion SavedClip = Canvas->GetClipRegion();
  if (!Printer)
    Canvas->IntersectClipRect(Rect(RoundInt(OffsetX), RoundInt(OffsetY),
                                   RoundInt(APage->PaperWidth() * vq01cm * ScaleX + OffsetX - 1),
                                   RoundInt(APage->PaperHeight() * vq01cm * ScaleY + OffsetY - 1)));
  APage->SetIsPrinting(Printer);
  APage->Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  OffsetX += APage->LeftMargin() * vq01cm * ScaleX;
  OffsetY += APage->TopMargin() * vq01cm * ScaleY;
  const int Total = Count();
  for (TvqrComponent* Obj : APage->AllObjects()) {
    auto* View = dynamic_cast<TvqrView*>(Obj);
    if (!View) continue;
    if (Printer && !View->Printable()) continue;
    TRect R = Rect(RoundInt(View->AbsLeft() * ScaleX + OffsetX) - 20,
                   RoundInt(View->AbsTop() * ScaleY + OffsetY) - 20,
                   RoundInt((View->AbsLeft() + View->Width()) * ScaleX + OffsetX) + 20,
                   RoundInt((View->AbsTop() + View->Height()) * ScaleY + OffsetY) + 20);
    if (!Recording && !Canvas->RectVisible(R)) continue;
    View->SetIsPrinting(Printer);
    if (auto* Memo = dynamic_cast<TvqrCustomMemoView*>(View)) {
      Memo->TotalPages = Total;
      Memo->CopyNo = CopyNo;
      Memo->PrintScale = PrintScale;
    }
    View->Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    View->SetIsPrinting(false);
  }
  APage->SetIsPrinting(false);
  Canvas->SelectClipRegion(SavedClip);
}

// --- ObjectOver --------------------------------------------------------------------------------

void TvqrPreviewPages::ObjectOver(int Index, int X, int Y, int Button, Word Shift,
                                  Extended Scale, Extended OffsetX, Extended OffsetY, bool Click,
                                  int& Cursor, bool DBClick) {
  if (Index < 0 || Index >= Count() || (Engine() && Engine()->Running)) return;
  TvqrReportPage* APage = Page(Index);
  TvqrReport* R = Report();
  if (!APage) return;
  bool Mirrored = APage->MirrorMargins() && Index % 2 == 1;
  OffsetX += Scale * (Mirrored ? APage->RightMargin() : APage->LeftMargin()) * vq01cm;
  OffsetY += APage->TopMargin() * vq01cm * Scale;
  if (R) {
    R->SetProgressMessage(String(), false);
    R->SetProgressMessage(String(), true);
  }
  TvqrCustomPreview* Preview = R ? R->Preview() : nullptr;
  const bool ReportHints = Preview && Preview->UseReportHints;
  auto Under = [&](TvqrComponent* C) {
    TRect Box = Rect(RoundInt(C->AbsLeft() * Scale) + RoundInt(OffsetX),
                     RoundInt(C->AbsTop() * Scale) + RoundInt(OffsetY),
                     RoundInt((C->AbsLeft() + C->Width()) * Scale) + RoundInt(OffsetX),
                     RoundInt((C->AbsTop() + C->Height()) * Scale) + RoundInt(OffsetY));
    return X >= Box.Left && X < Box.Right && Y >= Box.Top && Y < Box.Bottom;
  };
  TvqrGroupHeader* Drill = nullptr;
  std::vector<TvqrComponent*> All = APage->AllObjects();
  for (auto It = All.rbegin(); It != All.rend(); ++It) {
    TvqrComponent* Obj = *It;
    if (auto* G = dynamic_cast<TvqrGroupHeader*>(Obj); G && G->DrillDown() && Under(G)) Drill = G;
    auto* View = dynamic_cast<TvqrView*>(Obj);
    if (!View || !Under(View)) continue;
    if (auto* G = dynamic_cast<TvqrGroupHeader*>(View->Parent()); G && G->DrillDown()) Drill = G;
    if (View->Cursor() != 0) Cursor = View->Cursor();
    if (!View->URL().empty()) {
      if (R) R->SetProgressMessage(View->URL(), false);
      if (View->Cursor() == 0) Cursor = crHandPoint;
    }
    if (!View->Hint().empty() && View->ShowHint() && ReportHints && R)
      R->SetProgressMessage(View->Hint(), true);
    if (!Click || Drill) {
      if (R && R->OnMouseOverObject()) R->OnMouseOverObject()(View);
    } else {
      OpenViewURL(View->URL());
      bool Modified = false;
      if (R) DoPreviewClick(R, View, Button, Shift, Modified, DBClick);
      if (Modified) ModifyPage(Index, APage);
    }
    break;
  }
  if (Drill) {
    Cursor = crHandPoint;
    if (Click && Button == 0 && R) {
      int At = R->DrillState()->IndexOf(Drill->DrillName());
      if (At < 0)
        R->DrillState()->Add(Drill->DrillName());
      else
        R->DrillState()->Delete(At);
      if (Preview) Preview->RefreshReport();
    }
  }
}

void TvqrPreviewPages::OpenViewURL(const String& URL) {
  if (URL.empty()) return;
  if (URL[0] == u'@') {
    // A page number; "@" with no number does nothing.
    int PageNo = StrToIntDef(URL.substr(1, 255), 0);
    if (PageNo >= 1 && PageNo <= Count()) CurPreviewPage = PageNo;
    if (PageNo >= 1) NavigateTo(PageNo, 0);
    return;
  }
  if (URL[0] == u'#') {
    if (TvqrXMLItem* Anchor = FindAnchor(URL.substr(1)))
      NavigateTo(StrToIntDef(Anchor->Prop(u"page"), 0) + 1, StrToIntDef(Anchor->Prop(u"top"), 0));
    return;
  }
  // Only web and mail links open; a link computed from data never starts a local file.
  if (IsOpenableURL(URL) && URLHandler()) URLHandler()(URL);
}

void TvqrPreviewPages::NavigateTo(int PageNo, int Top) {
  if (PageNo < 1 || PageNo > Count()) return;
  CurPreviewPage = PageNo;
  if (FOnNavigate) FOnNavigate(PageNo, Top);
}

// --- Print and Export --------------------------------------------------------------------------

bool TvqrPreviewPages::Print() { return vqrPrintPreparedPages(this); }

void TvqrPreviewPages::ExportPage(TvqrCustomExportFilter* Filter, int I) {
  TvqrReport* R = Report();
  // Progress pumps messages, and a preview repainting meanwhile may drop pages from the
  // cache: the page is fetched after it, so nothing pumps while the page is in use.
  if (Filter->ShowProgress() && R) R->InternalOnProgress(ptExporting, I + 1);
  TvqrReportPage* APage = Page(I);
  if (!APage) return;
  Filter->StartPage(APage, I);
  struct TFinish {
    TvqrCustomExportFilter* F;
    TvqrReportPage* P;
    int I;
    // A failing FinishPage (a full disk) propagates to the driver's error path.
    ~TFinish() noexcept(false) { F->FinishPage(P, I); }
  };
  {
    TFinish Finish{Filter, APage, I};
    bool Mirrored = APage->MirrorMargins() && I % 2 == 1;
    Extended LeftMargin = Mirrored ? APage->RightMargin() : APage->LeftMargin();
    APage->SetLeft(LeftMargin * vq01cm);
    APage->SetTop(APage->TopMargin() * vq01cm);
    {
      TvqrPictureView Background(nullptr);
      Background.SetName(u"_pagebackground");
      Background.SetColor(APage->Color());
      Background.Frame()->Assign(APage->Frame());
      Background.Picture()->Assign(APage->BackPicture());
      Background.SetStretched(true);
      Background.SetKeepAspectRatio(false);
      Background.SetBounds(APage->Left(), APage->Top(),
                           APage->Width() - (APage->LeftMargin() + APage->RightMargin()) * vq01cm,
                           APage->Height() - (APage->TopMargin() + APage->BottomMargin()) * vq01cm);
      Filter->ExportObject(&Background);
    }
    const int Total = Count();
    const int Last = Total - 1;
    for (TvqrComponent* Child : APage->Objects()) {
      if (Filter->SuppressPageHeadersFooters &&
          ((vqrAs<TvqrPageHeader>(Child) && I != 0) ||
           (vqrAs<TvqrPageFooter>(Child) && I != Last)))
        continue;
      PrepareForExport(Child, Total);
      Filter->ExportObject(Child);
      for (TvqrComponent* Grand : Child->Objects()) {
        PrepareForExport(Grand, Total);
        Filter->ExportObject(Grand);
      }
    }
  }
  if (R && R->Preview()) {
    APage->SetLeft(0);
    APage->SetTop(0);
  } else {
    ClearPageCache();
  }
}

void TvqrPreviewPages::PrepareForExport(TvqrComponent* Obj, int TotalPages) {
  auto* Memo = vqrAs<TvqrCustomMemoView>(Obj);
  if (!Memo) return;
  if (Memo->Highlight()->Active()) Memo->SetFont(Memo->Highlight()->Font());
  Memo->TotalPages = TotalPages;
  Memo->CopyNo = 1;
  Memo->ExtractMacros();  // a filter reads the text, so "[TotalPages#]" is filled in first
  if (FOnPrepareMemo) FOnPrepareMemo(Memo);
}

bool TvqrPreviewPages::Export(TvqrCustomExportFilter* Filter) {
  CopyNo = 0;
  if (!Filter) return false;
  TvqrReport* R = Report();
  Filter->Report = R;
  if (Filter->ShowDialog() && Filter->ShowModal() != 1) return false;
  TvqrCustomPreview* Preview = R ? R->Preview() : nullptr;
  if (Filter->CurPage) Filter->PageNumbers = Preview ? IntToStr(CurPreviewPage) : String(u"1");
  if (R) R->SetTerminated(false);
  TStringList PageList;
  ParsePageRanges(Filter->PageNumbers, &PageList, Count());
  try {
    if (Filter->OnBeginExport()) Filter->OnBeginExport()(Filter);
    if (!Filter->Start()) return true;
    struct TEnd {
      TvqrPreviewPages* Self;
      TvqrCustomExportFilter* F;
      TvqrReport* R;
      TvqrCustomPreview* Preview;
      // A failing Finish (a full disk) reaches the error path below; while unwinding a filter
      // must not throw (it drops what it wrote instead).
      ~TEnd() noexcept(false) {
        if (Preview) {
          if (R) R->SetProgressMessage(String(), false);
          Preview->Unlock();
          Preview->RefreshReport();
        }
        if (F->ShowProgress() && R) R->InternalOnProgressStop(ptExporting);
        F->Finish();
      }
    } End{this, Filter, R, Preview};
    if (Preview) {
      Preview->Lock();
      Preview->RefreshReport();
    }
    if (Filter->ShowProgress() && R) R->InternalOnProgressStart(ptExporting);
    int Exported = 0;
    for (int I = 0; I < Count(); ++I) {
      if (PageList.Count() > 0 && PageList.IndexOf(IntToStr(I + 1)) < 0) continue;
      ExportPage(Filter, I);
      ++Exported;
      if (R && R->Terminated()) break;
    }
    // A page list that selects no page gives no document: readers refuse a file of no pages.
    if (Exported == 0) throw Exception(u"Нет страниц для экспорта");
  } catch (const Exception& E) {
    if (R) {
      R->Errors()->SetText(E.Message());
      ReportError(R, StringTable()->Get(u"clErrors") + u"\r\n" + E.Message());
    }
    return false;
  }
  return true;
}
