// vqrCtrls.cpp - the scroll window, the zoom combo box and the colour helpers.
#include "report/output/vqrCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ScrollBars.h"
#include "platform/graphics/Colors.h"

REGISTER_CLASS(TvqrScrollWin) {}
REGISTER_CLASS(TvqrComboBox) {}

// --- scroll window ----------------------------------------------------------------------------

TvqrScrollWin::TvqrScrollWin(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TvqrScrollWin::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
}

void TvqrScrollWin::UpdateBar(int Bar, int Range, int Page, int Position) {
  if (!HandleAllocated()) return;
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  Info.nMin = 0;
  Info.nMax = Range >= Page ? Range : 0;
  Info.nPage = static_cast<unsigned>(std::max(0, Page));
  Info.nPos = Position;
  Info.nTrackPos = Position;
  SetScrollInfo(Handle(), Bar, Info, true);
}

void TvqrScrollWin::SetHorzPage(int Value) {
  FHorzPage = Value;
  SetHorzRange(FHorzRange);
}

void TvqrScrollWin::SetHorzRange(int Value) {
  FHorzRange = Value;
  UpdateBar(SB_HORZ, FHorzRange, FHorzPage, FHorzPosition);
}

void TvqrScrollWin::SetHorzPosition(int Value) {
  Value = std::max(0, std::min(Value, FHorzRange - FHorzPage));
  if (Value == FHorzPosition) return;
  FHorzPosition = Value;
  if (HandleAllocated()) SetScrollPos(Handle(), SB_HORZ, Value, true);
  HorzPositionChanged();
}

void TvqrScrollWin::SetVertPage(int Value) {
  FVertPage = Value;
  SetVertRange(FVertRange);
}

void TvqrScrollWin::SetVertRange(int Value) {
  FVertRange = Value;
  UpdateBar(SB_VERT, FVertRange, FVertPage, FVertPosition);
}

void TvqrScrollWin::SetVertPosition(int Value) {
  Value = std::max(0, std::min(Value, FVertRange - FVertPage));
  if (Value == FVertPosition) return;
  FVertPosition = Value;
  if (HandleAllocated()) SetScrollPos(Handle(), SB_VERT, Value, true);
  VertPositionChanged();
}

void TvqrScrollWin::Scroll(int Bar, unsigned Code) {
  const bool Vert = Bar == SB_VERT;
  const int Pos = Vert ? FVertPosition : FHorzPosition;
  int Thumb = Pos;
  SCROLLINFO Info;
  Info.fMask = SIF_TRACKPOS;
  // The live tracking position, not the 16-bit one of the message.
  if (HandleAllocated() && GetScrollInfo(Handle(), Bar, Info)) Thumb = Info.nTrackPos;
  const auto Next = ScrollCodePos(Code, Pos, FSmallChange, FLargeChange, Thumb, 0,
                                  Vert ? FVertRange : FHorzRange);
  if (!Next) return;
  if (Vert) SetVertPosition(*Next);
  else SetHorzPosition(*Next);
}

void TvqrScrollWin::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(Message.WParam)); return;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(Message.WParam)); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TvqrScrollWin::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// --- combo box --------------------------------------------------------------------------------

TvqrComboBox::TvqrComboBox(TComponent* AOwner) : TComboBox(AOwner) { SetWidth(100); }

int TvqrComboBox::DropDownHeight() const {
  if (DropDownCount() > 0 && Items()->Count() > 0)
    return FItemHeight * MinWord(DropDownCount(), Items()->Count()) + 2;
  return FItemHeight + 2;
}

// --- helpers ----------------------------------------------------------------------------------

TColor MixColors(TColor Color1, TColor Color2, int Weight) {
  const TColorRef A = ColorToRGB(Color1), B = ColorToRGB(Color2);
  const int Scale = Weight < 100 ? 100 : 1000;
  auto Mix = [&](int C1, int C2) { return (C2 * (Scale - Weight) + C1 * Weight + Scale / 2) / Scale; };
  return TColor(RGB(Mix(GetRValue(A), GetRValue(B)), Mix(GetGValue(A), GetGValue(B)),
                    Mix(GetBValue(A), GetBValue(B))));
}

int MinWord(int A, int B) {
  return static_cast<unsigned short>(A) < static_cast<unsigned short>(B) ? A : B;
}
