// vqrPreview.cpp - the page list, the page canvas and the preview control.
#include "report/output/vqrPreview.h"

#include <algorithm>
#include <cmath>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TreeView.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrPreviewForm.h"
#include "report/output/vqrPreviewPageSettings.h"
#include "report/output/vqrSearchDialog.h"

REGISTER_CLASS(TvqrPreviewWorkspace) {}
REGISTER_CLASS(TvqrPreview) {}

namespace {

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }

}  // namespace

TvqrSearchState& vqrSearch() {
  static TvqrSearchState State;
  return State;
}

// --- page list --------------------------------------------------------------------------------

void TvqrPageList::AddPage(int AWidth, int AHeight, Extended Zoom) {
  FItems.push_back({RoundInt(AHeight * Zoom), RoundInt(AWidth * Zoom), 0, 0});
}

void TvqrPageList::CalcBounds(int ClientWidth) {
  FMaxWidth = 0;
  int Y = 10;
  size_t I = 0;
  while (I < FItems.size()) {
    int X = 0, H = 0;
    size_t J = I;
    for (; J < FItems.size(); ++J) {
      TvqrPageItem& Item = FItems[J];
      if (X > 0 && X + Item.Width > ClientWidth) break;
      Item.OffsetX = X;
      Item.OffsetY = Y;
      X += Item.Width + 10;
      H = std::max(H, Item.Height);
    }
    FMaxWidth = std::max(FMaxWidth, X);
    const int Shift = std::max(0, (ClientWidth - X + 10) / 2) + 10;
    for (size_t K = I; K < J; ++K) FItems[K].OffsetX += Shift;
    I = J;
    Y += H + 10;
  }
}

int TvqrPageList::FindPage(int OffsetY, int OffsetX) const {
  int Lo = 0, Hi = Count() - 1;
  while (Hi >= Lo) {
    const int Mid = (Lo + Hi) / 2;
    const int Tolerance = OffsetX != 0 ? 0 : RoundInt(FItems[Mid].Height / 5.0L);
    if (FItems[Mid].OffsetY > OffsetY + Tolerance) Hi = Mid - 1;
    else Lo = Mid + 1;
  }
  if (OffsetX == 0) return Hi;
  for (int I = std::max(0, Hi - 20); I <= std::min(Count() - 1, Hi + 20); ++I) {
    const TvqrPageItem& P = FItems[I];
    if (OffsetX >= P.OffsetX && OffsetX < P.OffsetX + P.Width && OffsetY >= P.OffsetY &&
        OffsetY < P.OffsetY + P.Height)
      return I;
  }
  return Hi;
}

TRect TvqrPageList::GetPageBounds(int Index, int ClientWidth, Extended Scale, bool RTL) const {
  if (Index >= 0 && Index < Count()) {
    const TvqrPageItem& P = FItems[Index];
    const int Left = RTL ? ClientWidth - P.Width - P.OffsetX : P.OffsetX;
    return Rect(Left, P.OffsetY, Left + P.Width, P.OffsetY + P.Height);
  }
  const Extended W = Scale * 794;
  const int Left = ClientWidth >= W ? RoundInt((ClientWidth - W) / 2) : 10;
  const int Top = RoundInt(Scale * 10);
  return Rect(Left, Top, Left + RoundInt(Scale * 794), Top + RoundInt(Scale * 1123));
}

TPoint TvqrPageList::GetMaxBounds() const {
  if (FItems.empty()) return {0, 0};
  return {FMaxWidth, FItems.back().OffsetY + FItems.back().Height};
}

// --- page canvas ------------------------------------------------------------------------------

TvqrPreviewWorkspace::TvqrPreviewWorkspace(TComponent* AOwner) : TvqrScrollWin(AOwner) {
  SetLargeChange(300);
  SetSmallChange(8);
}

TvqrPreviewWorkspace::~TvqrPreviewWorkspace() = default;

void TvqrPreviewWorkspace::Dispatch(TMessage& Message) {
  TvqrScrollWin::Dispatch(Message);
  if (Message.Msg == WM_SIZE) {
    SetHorzPage(ClientWidth());
    SetVertPage(ClientHeight());
  }
}

int TvqrPreviewWorkspace::UsableWidth() const {
  return Width() - GetSystemMetrics(SM_CXVSCROLL) - 26;
}

void TvqrPreviewWorkspace::HorzPositionChanged() {
  const int D = FOffset.X - HorzPosition();
  FOffset.X = HorzPosition();
  if (HandleAllocated()) ScrollWindowEx(Handle(), D, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void TvqrPreviewWorkspace::VertPositionChanged() {
  const int D = FOffset.Y - VertPosition();
  FOffset.Y = VertPosition();
  if (HandleAllocated()) ScrollWindowEx(Handle(), 0, D, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  if (IsThumbnail || !Preview) return;
  FDisableUpdate = true;
  Preview->SetPageNo(FPageList.FindPage(FOffset.Y, 0) + 1);
  FDisableUpdate = false;
}

void TvqrPreviewWorkspace::SetPosition(int PageN, int Top) {
  if (!PreviewPages || PageN < 1 || PageN > PreviewPages->Count()) return;
  TvqrReportPage* Page = PreviewPages->Page(PageN - 1);
  if (!Page) return;
  const int Inside = Top == 0 ? 0 : RoundInt((Top + Page->TopMargin() * vq01cm) * Zoom);
  SetVertPosition(FPageList.GetPageBounds(PageN - 1, ClientWidth(), Zoom, RTLLanguage).Top - 10 + Inside);
}

int TvqrPreviewWorkspace::GetTopPosition() {
  if (!PreviewPages || !Preview) return 0;
  const int Index = Preview->PageNo() - 1;
  TvqrReportPage* Page = Index >= 0 && Index < PreviewPages->Count() ? PreviewPages->Page(Index) : nullptr;
  if (!Page) return 0;
  const TRect B = FPageList.GetPageBounds(Index, ClientWidth(), Zoom, RTLLanguage);
  return RoundInt((VertPosition() - B.Top + 10) / Zoom - Page->TopMargin() * vq01cm);
}

void TvqrPreviewWorkspace::ScrollToPage(int APageNo) {
  if (FDisableUpdate) return;
  SetVertPosition(FPageList.GetPageBounds(APageNo - 1, ClientWidth(), Zoom, RTLLanguage).Top - 10);
}

void TvqrPreviewWorkspace::UpdateScrollRanges() {
  const TPoint Max = FPageList.GetMaxBounds();
  SetHorzRange(Max.X + 10);
  SetVertRange(Max.Y + 10);
}

void TvqrPreviewWorkspace::DrawPages(bool FrameOnly) {
  if (!Visible()) return;
  TCanvas* C = Canvas();
  if (!C->HandleAllocated()) {
    Invalidate();
    return;
  }
  const TRect Client = ClientRect();
  if (Locked || FPageList.Count() == 0 || !PreviewPages) {
    C->Brush()->SetColor(BackColor);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Client);
    return;
  }
  const int First = FPageList.FindPage(FOffset.Y, 0);
  const int From = std::max(0, First - 40), To = std::min(FPageList.Count() - 1, First + 40);
  auto Bounds = [&](int I) {
    TRect R = FPageList.GetPageBounds(I, ClientWidth(), Zoom, RTLLanguage);
    OffsetRect(R, -FOffset.X, -FOffset.Y);
    return R;
  };
  auto Shown = [&](const TRect& R) { return R.Top <= ClientHeight() && R.Bottom >= 0 && C->RectVisible(R); };
  const TCanvasState Saved = C->SaveDC();
  for (int I = From; I <= To; ++I)
    if (const TRect R = Bounds(I); Shown(R)) C->ExcludeClipRect(R);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(BackColor);
  C->FillRect(Client);
  C->RestoreDC(Saved);

  const TRect Active = Bounds(PageNo - 1);
  C->Pen()->SetColor(ActiveFrameColor);
  C->Pen()->SetWidth(2);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetStyle(psSolid);
  C->Polyline({{Active.Left - 1, Active.Top - 1}, {Active.Right + 1, Active.Top - 1},
               {Active.Right + 1, Active.Bottom + 1}, {Active.Left - 1, Active.Bottom + 1},
               {Active.Left - 1, Active.Top - 2}});
  if (FrameOnly) return;
  const TvqrSearchState& Search = vqrSearch();
  for (int I = From; I <= To; ++I) {
    const TRect R = Bounds(I);
    if (!Shown(R)) continue;
    C->Pen()->SetColor(FrameColor);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetColor(clWhite);
    C->Brush()->SetStyle(bsSolid);
    C->Rectangle(R);
    PreviewPages->DrawPage(I, C, Zoom, Zoom, R.Left, R.Top);
    if (IsThumbnail) {
      C->Font()->SetName(u"Arial");
      C->Font()->SetSize(8);
      C->Font()->SetStyle({});
      C->Font()->SetColor(clWhite);
      C->Brush()->SetColor(BackColor);
      C->Brush()->SetStyle(bsSolid);
      C->TextOut(R.Left + 1, R.Top + 1, u" " + IntToStr(I + 1) + u" ");
    }
    if (Search.SearchFound && I == FLastFoundPage) {
      const TRect F = Rect(RoundInt(Search.FoundRect.Left * Zoom), RoundInt(Search.FoundRect.Top * Zoom),
                           RoundInt(Search.FoundRect.Right * Zoom), RoundInt(Search.FoundRect.Bottom * Zoom));
      C->Pen()->SetColor(clWhite);
      C->Pen()->SetWidth(1);
      C->Pen()->SetMode(pmXor);
      for (int Y = F.Top; Y <= F.Bottom; ++Y) {
        C->MoveTo(R.Left + F.Left - 1, R.Top + Y);
        C->LineTo(R.Left + F.Right + 1, R.Top + Y);
      }
      C->Pen()->SetMode(pmCopy);
    }
  }
}

void TvqrPreviewWorkspace::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TvqrScrollWin::MouseDown(Button, Shift, X, Y);
  if (CanFocus() && !IsThumbnail) SetFocus();
  if (FPageList.Count() > 0 && !Locked && Button == mbLeft) {
    FDown = true;
    FLastPoint = {X, Y};
  }
}

void TvqrPreviewWorkspace::MouseMove(TShiftState Shift, int X, int Y) {
  TvqrScrollWin::MouseMove(Shift, X, Y);
  if (FPageList.Count() == 0 || Locked || IsThumbnail || !PreviewPages) return;
  if (FDown) {
    SetHorzPosition(HorzPosition() - (X - FLastPoint.X));
    SetVertPosition(VertPosition() - (Y - FLastPoint.Y));
    FLastPoint = {X, Y};
    return;
  }
  const int Index = FPageList.FindPage(FOffset.Y + Y, FOffset.X + X);
  const TRect B = FPageList.GetPageBounds(Index, ClientWidth(), Zoom, RTLLanguage);
  int Cursor = FDefaultCursor;
  PreviewPages->ObjectOver(Index, X, Y, mbLeft, 0, Zoom, B.Left - FOffset.X, B.Top - FOffset.Y, false,
                           Cursor, false);
  SetCursor(static_cast<TCursor>(Cursor));
}

void TvqrPreviewWorkspace::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TvqrScrollWin::MouseUp(Button, Shift, X, Y);
  if (!IsThumbnail && Preview && Preview->OnClick()) Preview->OnClick()(Preview);
  if (FPageList.Count() == 0 || Locked || !Preview) return;
  FDown = false;
  const int XP = RTLLanguage ? ClientWidth() - (FOffset.X + X) : FOffset.X + X;
  const int Index = FPageList.FindPage(FOffset.Y + Y, XP);
  FDisableUpdate = true;
  Preview->SetPageNo(Index + 1);
  FDisableUpdate = false;
  if (IsThumbnail || Button == mbRight || !PreviewPages) return;
  const TRect B = FPageList.GetPageBounds(Index, ClientWidth(), Zoom, RTLLanguage);
  int Cursor = FDefaultCursor;
  const Cardinal Now = GetTickCount();
  const bool Double = Now - FTimeOffset <= GetDoubleClickTime();
  FTimeOffset = Double ? 0 : Now;
  PreviewPages->ObjectOver(Index, X, Y, static_cast<int>(Button), static_cast<Word>(Shift.Bits()), Zoom,
                           B.Left - FOffset.X, B.Top - FOffset.Y, true, Cursor, Double);
}

void TvqrPreviewWorkspace::DblClick() {
  TvqrScrollWin::DblClick();
  if (!IsThumbnail && Preview && Preview->OnDblClick()) Preview->OnDblClick()(Preview);
}

void TvqrPreviewWorkspace::FindNext() {
  TvqrSearchState& S = vqrSearch();
  S.SearchFound = false;
  if (!PreviewPages) return;
  const String Wanted = S.SearchCaseSensitive ? S.SearchText : AnsiUpperCase(S.SearchText);
  while (FLastFoundPage < PreviewPages->Count()) {
    if (!FEMFImage || FEMFImagePage != FLastFoundPage) {
      FEMFImage = std::make_unique<TMetafile>();
      {
        TMetafileCanvas Recorder(FEMFImage.get());
        PreviewPages->DrawPage(FLastFoundPage, &Recorder, 1, 1, 0, 0);
      }
      FEMFImagePage = FLastFoundPage;
    }
    S.RecordCounter = 0;
    for (const TMetaTextRecord& Record : FEMFImage->TextRecords()) {
      const String Text = S.SearchCaseSensitive ? Record.Text : AnsiUpperCase(Record.Text);
      if (Text.find(Wanted) != String::npos && S.RecordCounter > S.LastFoundRecord) {
        S.SearchFound = true;
        S.FoundRect = Record.Bounds;
        S.LastFoundRecord = S.RecordCounter;
        break;
      }
      ++S.RecordCounter;
    }
    if (S.SearchFound) {
      const TRect F = Rect(RoundInt(S.FoundRect.Left * Zoom), RoundInt(S.FoundRect.Top * Zoom),
                           RoundInt(S.FoundRect.Right * Zoom), RoundInt(S.FoundRect.Bottom * Zoom));
      const TRect P = FPageList.GetPageBounds(FLastFoundPage, ClientWidth(), Zoom, RTLLanguage);
      if (P.Top + F.Top < FOffset.Y || P.Top + F.Bottom > FOffset.Y + ClientHeight())
        SetVertPosition(P.Top + F.Bottom - ClientHeight() + 20);
      if (P.Left + F.Left < FOffset.X || P.Left + F.Right > FOffset.X + ClientWidth())
        SetHorzPosition(P.Left + F.Right - ClientWidth() + 20);
      Invalidate();
      return;
    }
    S.LastFoundRecord = -1;
    ++FLastFoundPage;
  }
  Application->MessageBox(StringTable()->Get(u"clStrNotFound"), StringTable()->Get(u"mbInfo"),
                          MB_ICONINFORMATION);
}

// --- the preview control ----------------------------------------------------------------------

TvqrPreview::TvqrPreview(TComponent* AOwner) : TCustomControl(AOwner) {
  FOutlinePopup = new TPopupMenu(this);
  FOutlinePopup->SetImages(StringTable()->PreviewButtonImages());
  auto AddItem = [this](const char16_t* Key, int Image, TNotifyEvent Click) {
    auto* Item = new TMenuItem(FOutlinePopup);
    Item->SetCaption(StringTable()->Get(Key));
    Item->SetImageIndex(Image);
    Item->SetOnClick(std::move(Click));
    FOutlinePopup->Items()->Add(Item);
  };
  AddItem(u"601", 13, [this](TObject*) { CollapseOutline(); });
  AddItem(u"600", 14, [this](TObject*) { ExpandOutline(); });

  OutlineTree = new TTreeView(this);
  OutlineTree->SetParent(this);
  OutlineTree->SetAlign(alLeft);
  OutlineTree->SetVisible(false);
  OutlineTree->SetHideSelection(false);
  OutlineTree->SetPopupMenu(FOutlinePopup);
  OutlineTree->SetOnClick([this](TObject*) {
    if (TTreeNode* Node = OutlineTree->Selected()) {
      SetPosition(Node->ImageIndex(), Node->StateIndex());
      if (CanFocus()) SetFocus();
    }
  });

  Thumbnail = new TvqrPreviewWorkspace(this);
  Thumbnail->SetParent(this);
  Thumbnail->SetAlign(alLeft);
  Thumbnail->SetVisible(false);
  Thumbnail->Zoom = 0.1;
  Thumbnail->IsThumbnail = true;
  Thumbnail->Preview = this;

  Splitter = new TSplitter(this);
  Splitter->SetParent(this);
  Splitter->SetAlign(alLeft);
  Splitter->SetWidth(4);
  Splitter->SetVisible(false);
  Splitter->SetOnMoved([this](TObject*) { SetOutlineWidth(OutlineTree->Visible() ? OutlineTree->Width() : Thumbnail->Width()); });

  Workspace = new TvqrPreviewWorkspace(this);
  Workspace->SetParent(this);
  Workspace->SetAlign(alClient);
  Workspace->Preview = this;

  FMessagePanel = new TPanel(this);
  FMessagePanel->SetParent(this);
  FMessagePanel->SetVisible(false);
  FMessagePanel->SetBounds(0, 0, 0, 0);
  FMessageLabel = new TLabel(this);
  FMessageLabel->SetParent(FMessagePanel);
  FMessageLabel->SetAutoSize(false);
  FMessageLabel->SetAlignment(taCenter);
  FMessageLabel->SetBounds(4, 20, 255, 20);
  FCancelButton = new TButton(this);
  FCancelButton->SetParent(FMessagePanel);
  FCancelButton->SetBounds(92, 44, 75, 25);
  FCancelButton->SetCaption(StringTable()->Get(u"clCancel"));
  FCancelButton->SetVisible(false);
  FCancelButton->SetOnClick([this](TObject*) { CancelButtonClick(); });
  SetBounds(0, 0, 100, 100);
}

TvqrPreview::~TvqrPreview() {
  if (Report && Report->Preview() == this) Report->SetPreview(nullptr);
}

TvqrPreviewForm* TvqrPreview::Form() const { return dynamic_cast<TvqrPreviewForm*>(Owner()); }

bool TvqrPreview::HasButton(int Button) const {
  return Report && Report->PreviewOptions()->Buttons().Contains(static_cast<TvqrPreviewButton>(Button));
}

int TvqrPreview::PageCount() const { return PreviewPages ? PreviewPages->Count() : 0; }

int TvqrPreview::LayoutWidth(TvqrPreviewWorkspace* W) const {
  return W->Width() - GetSystemMetrics(SM_CXVSCROLL) - 26;
}

void TvqrPreview::Init() {
  Workspace->PreviewPages = PreviewPages;
  Thumbnail->PreviewPages = PreviewPages;
  vqrSearch().SearchFound = false;
  Workspace->FLastFoundPage = 0;
  vqrSearch().LastFoundRecord = -1;
  FAllowF3 = false;
  Workspace->SetDoubleBuffered(true);
  if (Report) {
    TvqrPreviewOptions* O = Report->PreviewOptions();
    SetOutlineWidth(O->OutlineWidth());
    SetOutlineVisible(O->OutlineVisible());
    SetThumbnailVisible(O->ThumbnailVisible());
    FZoomMode = O->ZoomMode();
    FZoom = O->Zoom();
  }
  RebuildLayout();
  FillOutlineTree();
  First();
}

void TvqrPreview::Lock() {
  FLocked = true;
  Workspace->Locked = true;
  Thumbnail->Locked = true;
}

void TvqrPreview::Unlock() {
  HideMessage();
  FLocked = false;
  Workspace->Locked = false;
  Thumbnail->Locked = false;
  RebuildLayout();
  Workspace->Invalidate();
  Thumbnail->Invalidate();
}

void TvqrPreview::SetPageNo(int Value) {
  Value = std::min(std::max(Value, 1), PageCount());
  const bool Changed = Value != FPageNo;
  FPageNo = Value;
  Workspace->PageNo = Value;
  Thumbnail->PageNo = Value;
  if (Changed) {
    Workspace->DrawPages(true);
    Thumbnail->DrawPages(true);
  }
  Workspace->ScrollToPage(Value);
  Thumbnail->ScrollToPage(Value);
  NotifyPageChanged();
}

void TvqrPreview::SetPosition(int PageN, int Top) {
  PageN = std::min(std::max(PageN, 1), PageCount());
  Workspace->SetPosition(PageN, Top);
}

void TvqrPreview::SetZoom(Extended Value) {
  FZoom = Value < 0.25 ? 0.25 : Value;
  FZoomMode = zmDefault;
  RebuildLayout();
}

void TvqrPreview::SetZoomMode(TvqrZoomMode Value) {
  FZoomMode = Value;
  RebuildLayout();
}

void TvqrPreview::MouseWheelScroll(int Delta, bool Horz, bool ZoomIt) {
  if (Delta == 0) return;
  const int Sign = Delta > 0 ? 1 : -1;
  if (ZoomIt) {
    Extended Z = FZoom + Sign * 0.1L;
    if (Z < 0.3) Z = 0.3;
    SetZoom(Z);
  } else if (Horz) {
    Workspace->SetHorzPosition(Workspace->HorzPosition() - Sign * 20);
  } else {
    Workspace->SetVertPosition(Workspace->VertPosition() - Sign * 20);
  }
}

bool TvqrPreview::OutlineVisible() const { return OutlineTree->Visible(); }
bool TvqrPreview::ThumbnailVisible() const { return Thumbnail->Visible(); }
int TvqrPreview::OutlineWidth() const { return OutlineTree->Width(); }

void TvqrPreview::SetOutlineWidth(int Value) {
  OutlineTree->SetWidth(Value);
  Thumbnail->SetWidth(Value);
}

void TvqrPreview::SetOutlineVisible(bool Value) {
  const bool Changed = OutlineTree->Visible() != Value;
  if (Value) Thumbnail->SetVisible(false);
  OutlineTree->SetVisible(Value);
  Splitter->SetVisible(OutlineTree->Visible() || Thumbnail->Visible());
  if (Splitter->Visible()) Splitter->SetLeft(OutlineWidth() + 1);
  if (TvqrPreviewForm* F = Form()) {
    F->OutlineB->SetDown(Value);
    if (Value) F->ThumbB->SetDown(false);
  }
  if (Changed) RebuildLayout();
}

void TvqrPreview::SetThumbnailVisible(bool Value) {
  const bool Changed = Thumbnail->Visible() != Value;
  if (Value) OutlineTree->SetVisible(false);
  Thumbnail->SetVisible(Value);
  Splitter->SetVisible(OutlineTree->Visible() || Thumbnail->Visible());
  if (Splitter->Visible()) Splitter->SetLeft(OutlineWidth() + 1);
  if (Value) {
    Thumbnail->SetHorzPosition(Thumbnail->HorzPosition());
    Thumbnail->SetVertPosition(Thumbnail->VertPosition());
  }
  if (TvqrPreviewForm* F = Form()) {
    F->ThumbB->SetDown(Value);
    if (Value) F->OutlineB->SetDown(false);
  }
  if (Changed) RebuildLayout();
}

void TvqrPreview::RebuildLayout() {
  if (FLocked || !PreviewPages || PageCount() == 0) return;
  FAllowF3 = false;
  Workspace->FEMFImagePage = -1;
  const TPoint Size = PreviewPages->PageSize(std::max(0, FPageNo - 1));
  if (Size.Y == 0 || Size.X == 0) return;
  const int VScroll = GetSystemMetrics(SM_CXVSCROLL);
  if (FZoomMode == zmWholePage) {
    if (ClientHeight() > 0 && ClientWidth() > 0 &&
        Extended(Size.Y) / ClientHeight() >= Extended(Size.X) / ClientWidth())
      FZoom = Extended(Workspace->Height() - 26) / Size.Y;
    else
      FZoom = Extended(Workspace->Width() - VScroll - 26) / Size.X;
    SetPosition(FPageNo, 0);
  } else if (FZoomMode == zmPageWidth) {
    FZoom = Extended(Workspace->Width() - VScroll - 26) / Size.X;
  }
  if (FZoom <= 0) FZoom = 0.25;
  Workspace->Zoom = FZoom;
  Thumbnail->Zoom = 0.1;
  Workspace->ClearPageList();
  Thumbnail->ClearPageList();
  for (int I = 0; I < PageCount(); ++I) {
    const TPoint S = PreviewPages->PageSize(I);
    Workspace->AddPage(S.X, S.Y);
    if (!FRunning) Thumbnail->AddPage(S.X, S.Y);
  }
  Workspace->CalcPageBounds(LayoutWidth(Workspace));
  if (!FRunning) Thumbnail->CalcPageBounds(LayoutWidth(Thumbnail));
  Workspace->UpdateScrollRanges();
  Thumbnail->UpdateScrollRanges();
  Workspace->SetHorzPosition(Workspace->HorzPosition());
  Workspace->SetVertPosition(Workspace->VertPosition());
  if (!FRefreshing) {
    Workspace->Invalidate();
    Thumbnail->Invalidate();
  }
  if (TvqrPreviewForm* F = Form()) F->ShowZoomPercent();
}

void TvqrPreview::ShowMessage(const String& S) {
  FMessagePanel->SetBounds((Width() - 260) / 2, (Height() - 75) / 3, 260, 75);
  FMessageLabel->SetCaption(S);
  FMessagePanel->SetVisible(true);
  FMessagePanel->BringToFront();
  FMessagePanel->Update();
}

void TvqrPreview::HideMessage() {
  FMessagePanel->SetVisible(false);
  FCancelButton->SetVisible(false);
}

namespace {

// Unlocks the preview when the command ends, also by an exception.
struct TUnlockAfter {
  TvqrPreview* P;
  ~TUnlockAfter() { P->Unlock(); }
};

}  // namespace

void TvqrPreview::Print() {
  if (FRunning || !PreviewPages) return;
  PreviewPages->CurPreviewPage = FPageNo;
  TUnlockAfter U{this};
  PreviewPages->Print();
}

void TvqrPreview::Export(TvqrCustomExportFilter* Filter) {
  if (FRunning || !PreviewPages) return;
  PreviewPages->CurPreviewPage = FPageNo;
  TUnlockAfter U{this};
  PreviewPages->Export(Filter);
}

static String VT3Filter() { return StringTable()->Get(u"clVT3files") + u" (*.vt3)|*.vt3"; }

void TvqrPreview::SaveToFile() {
  if (FRunning) return;
  TSaveDialog Dialog(Application);
  Dialog.SetFilter(VT3Filter());
  Dialog.SetOptions(Dialog.Options() + TOpenOptions{ofNoChangeDir});
  if (!Dialog.Execute()) return;
  Workspace->Repaint();
  SaveToFile(ChangeFileExt(Dialog.FileName(), u".vt3"));
}

void TvqrPreview::SaveToFile(const String& FileName) {
  if (FRunning || !PreviewPages) return;
  Lock();
  ShowMessage(StringTable()->Get(u"clSaving"));
  TUnlockAfter U{this};
  PreviewPages->SaveToFile(FileName);
}

void TvqrPreview::LoadFromFile() {
  if (FRunning) return;
  TOpenDialog Dialog(nullptr);
  Dialog.SetFilter(VT3Filter());
  Dialog.SetOptions(TOpenOptions{ofHideReadOnly, ofNoChangeDir});
  if (!Dialog.Execute()) return;
  Workspace->Repaint();
  LoadFromFile(Dialog.FileName());
}

void TvqrPreview::LoadFromFile(const String& FileName) {
  if (FRunning || !PreviewPages) return;
  Lock();
  ShowMessage(StringTable()->Get(u"clLoading"));
  struct TAfter {
    TvqrPreview* P;
    ~TAfter() {
      P->Unlock();
      P->SetPageNo(1);
      P->FillOutlineTree();
    }
  } After{this};
  PreviewPages->LoadFromFile(FileName, false);
}

void TvqrPreview::Clear() {
  if (FRunning || !PreviewPages) return;
  Lock();
  {
    TUnlockAfter U{this};
    PreviewPages->Clear();
  }
  Workspace->ClearPageList();
  Thumbnail->ClearPageList();
  FillOutlineTree();
  SetPageNo(1);
  Workspace->SetHorzRange(0);
  Workspace->SetVertRange(0);
  if (Thumbnail->Visible()) {
    Thumbnail->SetHorzRange(0);
    Thumbnail->SetVertRange(0);
  }
}

void TvqrPreview::AddPage() {
  if (FRunning || !PreviewPages) return;
  PreviewPages->AddEmptyPage(FPageNo - 1);
  RebuildLayout();
  SetPageNo(FPageNo);
}

void TvqrPreview::DeletePage() {
  if (FRunning || !PreviewPages || PageCount() == 0) return;
  PreviewPages->DeletePage(FPageNo - 1);
  if (FPageNo >= PageCount()) SetPageNo(FPageNo - 1);
  RebuildLayout();
  NotifyPageChanged();
}

void TvqrPreview::PageSetupDlg() {
  if (FRunning || !PreviewPages || !Report) return;
  TvqrReportPage* Page = PreviewPages->Page(FPageNo - 1);
  if (!Page) return;
  std::unique_ptr<TvqrPageSettingsForm> Dialog(new TvqrPageSettingsForm(Application));
  Dialog->Page = Page;
  Dialog->Report = Report;
  if (Dialog->ShowModal() != mrOk) return;
  if (Dialog->NeedRebuild()) {
    for (int I = 0; I < Report->PagesCount(); ++I)
      if (auto* P = dynamic_cast<TvqrReportPage*>(Report->Pages(I))) {
        P->SetOrientation(Page->Orientation());
        P->SetPaperWidth(Page->PaperWidth());
        P->SetPaperHeight(Page->PaperHeight());
        P->SetPaperSize(Page->PaperSize());
        P->SetLeftMargin(Page->LeftMargin());
        P->SetTopMargin(Page->TopMargin());
        P->SetRightMargin(Page->RightMargin());
        P->SetBottomMargin(Page->BottomMargin());
      }
    Report->PrepareReport(true);
  } else {
    Lock();
    TUnlockAfter U{this};
    PreviewPages->ModifyPage(FPageNo - 1, Page);
  }
}

void TvqrPreview::Edit() {
  // No designer is registered in this program: DesignPreviewPage reports no change.
  if (!PreviewPages || !Report || !PreviewPages->Page(FPageNo - 1)) return;
  try {
    if (Report->DesignPreviewPage()) {
      Lock();
      TUnlockAfter U{this};
      PreviewPages->ModifyPage(FPageNo - 1, PreviewPages->Page(FPageNo - 1));
    }
  } catch (const Exception&) {
  }
}

void TvqrPreview::Find() {
  std::unique_ptr<TvqrSearchDialog> Dialog(new TvqrSearchDialog(Application));
  if (Dialog->ShowModal() == mrOk) {
    TvqrSearchState& S = vqrSearch();
    S.SearchText = Dialog->TextE->Text();
    S.SearchCaseSensitive = Dialog->CaseCB->Checked();
    Workspace->FLastFoundPage = Dialog->TopCB->Checked() ? 0 : FPageNo - 1;
    S.LastFoundRecord = -1;
    Workspace->FindNext();
  }
  FAllowF3 = true;
}

void TvqrPreview::FindNext() {
  if (FAllowF3) Workspace->FindNext();
}

bool TvqrPreview::FindText(const String& SearchString, bool FromTop, bool IsCaseSensitive) {
  TvqrSearchState& S = vqrSearch();
  S.SearchText = SearchString;
  S.SearchCaseSensitive = IsCaseSensitive;
  Workspace->FLastFoundPage = FromTop ? 0 : FPageNo - 1;
  S.LastFoundRecord = -1;
  Workspace->FindNext();
  FAllowF3 = true;
  return S.SearchFound;
}

bool TvqrPreview::FindTextFound() const { return vqrSearch().SearchFound; }

void TvqrPreview::FindTextClear() {
  vqrSearch().LastFoundRecord = -1;
  Workspace->FLastFoundPage = 0;
  vqrSearch().SearchFound = false;
  Invalidate();
  Workspace->Invalidate();
}

void TvqrPreview::Cancel() {
  if (FRunning) CancelButtonClick();
}

void TvqrPreview::CancelButtonClick() {
  if (Report) Report->SetTerminated(true);
}

void TvqrPreview::NotifyPageChanged() {
  if (OnPageChanged) OnPageChanged(this, FPageNo);
}

void TvqrPreview::FillOutlineTree() {
  TTreeNodes* Items = OutlineTree->Items();
  Items->BeginUpdate();
  Items->Clear();
  TvqrCustomOutline* Outline = PreviewPages ? PreviewPages->Outline() : nullptr;
  if (Outline) {
    Outline->LevelRoot();
    std::function<void(TTreeNode*, int)> Fill = [&](TTreeNode* Parent, int Depth) {
      if (Depth > 64) return;
      const int N = Outline->Count();
      for (int I = 0; I < N; ++I) {
        String Text;
        int Page = 0, Top = 0;
        Outline->GetItem(I, Text, Page, Top);
        TTreeNode* Node = Items->AddChild(Parent, Text);
        Node->SetImageIndex(Page + 1);
        Node->SetStateIndex(Top);
        Outline->LevelDown(I);
        Fill(Node, Depth + 1);
        Outline->LevelUp();
      }
    };
    Fill(nullptr, 0);
  }
  if (Report && Report->PreviewOptions()->OutlineExpand()) OutlineTree->FullExpand();
  Items->EndUpdate();
  OutlineTree->SetTopItem(Items->GetFirstNode());
}

void TvqrPreview::CollapseOutline() {
  OutlineTree->FullCollapse();
  if (Workspace->CanFocus()) Workspace->SetFocus();
}

void TvqrPreview::ExpandOutline() {
  OutlineTree->FullExpand();
  OutlineTree->SetTopItem(OutlineTree->Items()->GetFirstNode());
  if (Workspace->CanFocus()) Workspace->SetFocus();
}

void TvqrPreview::InternalOnProgressStart(TvqrReport*, TvqrProgressType, int) {
  if (FRefreshing) return;
  Clear();
  if (Report) Report->DrillState()->Clear();
  FRunning = true;
  if (TvqrPreviewForm* F = Form()) F->UpdateButtonStates();
}

void TvqrPreview::InternalOnProgress(TvqrReport*, TvqrProgressType, int Progress) {
  if (FRefreshing) {
    NotifyPageChanged();
    return;
  }
  const bool Final = Report && Report->Engine() && Report->Engine()->FinalPass;
  if (Final && Progress < 50 && PreviewPages && Progress < PageCount()) {
    const TPoint Size = PreviewPages->PageSize(Progress);
    Workspace->AddPage(Size.X, Size.Y);
    Workspace->CalcPageBounds(LayoutWidth(Workspace));
  }
  if (Progress == 0) {
    SetPageNo(1);
    if (Final) RebuildLayout();
    if (TvqrPreviewForm* F = Form()) F->CancelB->SetCaption(StringTable()->Get(u"clCancel"));
    FTick = GetTickCount();
  } else if (Progress == 1) {
    const Cardinal Elapsed = GetTickCount() - FTick;
    FTick = Elapsed < 5 ? 50 : Elapsed < 10 ? 20 : 5;
    SetPageNo(1);
    if (Final) RebuildLayout();
  } else if (FTick > 0 && Progress % FTick == 0) {
    NotifyPageChanged();
    if (Final) Workspace->UpdateScrollRanges();
  }
  Application->ProcessMessages();
}

void TvqrPreview::InternalOnProgressStop(TvqrReport*, TvqrProgressType, int) {
  if (FRefreshing) return;
  FRunning = false;
  NotifyPageChanged();
  Workspace->UpdateScrollRanges();
  Thumbnail->UpdateScrollRanges();
  RebuildLayout();
  FillOutlineTree();
  if (TvqrPreviewForm* F = Form()) {
    F->CancelB->SetCaption(StringTable()->Get(u"clClose"));
    F->StatusBar->Panel(1)->SetText(String());
    F->UpdateButtonStates();
  }
}

void TvqrPreview::RefreshReport() {
  if (!Report) return;
  const TPoint Offset = Workspace->Offset();
  const int OldPage = FPageNo;
  Lock();
  FRefreshing = true;
  try {
    Report->PrepareReport(true);
    FLocked = false;
    Thumbnail->Locked = false;
    FPageNo = OldPage > PageCount() ? 1 : OldPage;
    RebuildLayout();
    FillOutlineTree();
  } catch (...) {
    FRefreshing = false;
    throw;
  }
  FRefreshing = false;
  Workspace->SetOffset(Offset);
  Workspace->Locked = false;
  Workspace->Invalidate();
  Thumbnail->Invalidate();
  if (PageCount() < OldPage) SetPageNo(1);
}

void TvqrPreview::Resize() {
  TCustomControl::Resize();
  if (PreviewPages) RebuildLayout();
}

void TvqrPreview::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && Report && AComponent == Report) {
    Clear();
    Report = nullptr;
    PreviewPages = nullptr;
    Workspace->PreviewPages = nullptr;
    Thumbnail->PreviewPages = nullptr;
  }
}

void TvqrPreview::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TvqrPreview::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool Ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_UP: Workspace->SetVertPosition(Workspace->VertPosition() - 8); break;
    case VK_DOWN: Workspace->SetVertPosition(Workspace->VertPosition() + 8); break;
    case VK_LEFT: Workspace->SetHorzPosition(Workspace->HorzPosition() - 8); break;
    case VK_RIGHT: Workspace->SetHorzPosition(Workspace->HorzPosition() + 8); break;
    case VK_PRIOR:
      if (Ctrl) Prior();
      else Workspace->SetVertPosition(Workspace->VertPosition() - 300);
      break;
    case VK_NEXT:
      if (Ctrl) Next();
      else Workspace->SetVertPosition(Workspace->VertPosition() + 300);
      break;
    case VK_HOME: First(); break;
    case VK_END: Last(); break;
    case VK_F3:
      if (HasButton(pbFind)) FindNext();
      break;
    case 'P':
      if (Ctrl && HasButton(pbPrint)) Print();
      break;
    case 'S':
      if (Ctrl && HasButton(pbSave)) SaveToFile();
      break;
    case 'F':
      if (Ctrl && HasButton(pbFind)) Find();
      break;
    case 'O':
      if (Ctrl && HasButton(pbLoad)) LoadFromFile();
      break;
    default: break;
  }
}
