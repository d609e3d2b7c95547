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

TvqrComboBox::TvqrComboBox(TComponent* AOwner) : TComboBox(AOwner) {
  SetBorderStyle(bsNone);
  SetItemHeight(13);   // the line height of the tool bar's font
  SetWidth(100);
}

int TvqrComboBox::DropDownHeight() {
  if (DropDownCount() > 0 && Items()->Count() > 0)
    return ItemHeight() * MinWord(DropDownCount(), Items()->Count()) + 2;
  return ItemHeight() + 2;
}

TPoint TvqrComboBox::DropDownSize() { return {FListWidth > 0 ? FListWidth : Width(), DropDownHeight()}; }

bool TvqrComboBox::IsHighlighted() const {
  return ComponentState().Contains(csDesigning) || DroppedDown() || Focused() || FMouseInControl;
}

int TvqrComboBox::ButtonState() const {
  if (!IsHighlighted()) return 0;
  return DroppedDown() ? 2 : 1;
}

// The text sits inside the frame, left of the button.
void TvqrComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  TRect R = Rect(3, 3, std::max(3, AWidth - FButtonWidth - 5), std::max(3, AHeight - 3));
  Perform(EM_SETRECT, 0, LPARAM(&R));
}

void TvqrComboBox::DropDown() {
  TComboBox::DropDown();
  Invalidate();
}

void TvqrComboBox::CloseUp() {
  Invalidate();
  TComboBox::CloseUp();
}

void TvqrComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = Message.Msg == CM_MOUSEENTER;
      if (IsEnabledInTree() && !Focused() && !DroppedDown()) Invalidate();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
  }
  TComboBox::Dispatch(Message);
}

void TvqrComboBox::PaintWindow(HDC DC) {
  TCustomEdit::PaintWindow(DC);   // the text; the frame and the button are ours
  TCanvas* C = DC;
  if (!IsEnabledInTree()) {
    PaintDisabled(C);
    return;
  }
  PaintFrame(C, IsHighlighted());
  PaintDropButton(C, ButtonState());
}

void TvqrComboBox::PaintFrame(TCanvas* C, bool Highlighted) {
  TRect R = Rect(0, 0, Width(), Height());
  FillFrame(C, R, Highlighted ? clHighlight : clBtnFace);
  InflateRect(R, -1, -1);
  FillFrame(C, R, clWindow);
  InflateRect(R, -1, -1);
  R.Right -= FButtonWidth + 2;
  FillFrame(C, R, clWindow);
}

// The downward triangle of the button: lines of 5, 3 and 1 pixels.
static void PaintArrow(TCanvas* C, int X, int Y, TColor Color) {
  for (int I = 0; I < 3; ++I) FillColorRect(C, Rect(X + I, Y + I, X + 5 - I, Y + I + 1), Color);
}

void TvqrComboBox::PaintDropButton(TCanvas* C, int State) {
  const int W = Width(), H = Height();
  const TRect Button = Rect(W - FButtonWidth - 3, 1, W - 1, H - 1);
  const int ArrowX = FButtonWidth / 2 + W - FButtonWidth - 4, ArrowY = (H - 4) / 2 + 1;
  const int SeparatorX = W - FButtonWidth - 4;
  TColor Fill = clBtnFace, Separator = clWindow, Arrow = clBtnText;
  if (State == 1) Fill = MixColors(clHighlight, clWindow, 30), Separator = clHighlight;
  if (State == 2) Fill = MixColors(clHighlight, clWindow, 50), Separator = clHighlight, Arrow = clCaptionText;
  FillColorRect(C, Button, Fill);
  if (State == 0) FillFrame(C, Button, clWindow);
  FillColorRect(C, Rect(SeparatorX, 1, SeparatorX + 1, H - 1), Separator);
  PaintArrow(C, ArrowX, ArrowY, Arrow);
}

void TvqrComboBox::PaintDisabled(TCanvas* C) {
  const int W = Width(), H = Height();
  FillColorRect(C, ClientRect(), clBtnFace);
  FillFrame(C, Rect(0, 0, W, H), clBtnShadow);
  PaintArrow(C, FButtonWidth / 2 + W - FButtonWidth - 4, (H - 4) / 2 + 1, clGrayText);
}

// --- helpers ----------------------------------------------------------------------------------

TColor MixColors(TColor Color1, TColor Color2, int Weight) {
  const TColorRef A = ColorToRGB(Color1), B = ColorToRGB(Color2);
  const int Scale = Weight < 100 ? 100 : 1000;
  auto Mix = [&](int C1, int C2) { return (C2 * (Scale - Weight) + C1 * Weight + Scale / 2) / Scale; };
  return TColor(RGB(Mix(GetRValue(A), GetRValue(B)), Mix(GetGValue(A), GetGValue(B)),
                    Mix(GetBValue(A), GetBValue(B))));
}

void FillColorRect(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void FillFrame(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FrameRect(R);
}

int MinWord(int A, int B) {
  return static_cast<unsigned short>(A) < static_cast<unsigned short>(B) ? A : B;
}
