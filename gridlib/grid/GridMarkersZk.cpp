// GridMarkersZk.cpp - the drag box and the column-move marker windows.
#include "gridlib/grid/GridMarkersZk.h"

#include "platform/controls/DropDownWindow.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

// --- TGridDragWinZk -------------------------------------------------------------------------------

TGridDragWinZk::TGridDragWinZk(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(cl3DDkShadow);
  SetParentColor(false);
  SetBorderWidth(0);
  SetVisible(false);
}

void TGridDragWinZk::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  SetDropDownParams(Params);
  Params.Style = WS_POPUP;
  Params.WindowClass.style |= CS_SAVEBITS;
  // Layered unless fully opaque without a colour key (a frame change re-reads these).
  if (FAlphaBlendValue != 255 || FTransparentColorValue != 0) Params.ExStyle |= WS_EX_LAYERED;
}

void TGridDragWinZk::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateLayeredAttributes();
}

void TGridDragWinZk::UpdateLayeredAttributes() {
  if (!HandleAllocated()) return;
  const unsigned ExStyle = unsigned(GetWindowLong(this, GWL_EXSTYLE));
  if (FAlphaBlendValue == 255 && FTransparentColorValue == 0) {
    SetWindowLong(this, GWL_EXSTYLE, long(ExStyle & ~unsigned(WS_EX_LAYERED)));
    RedrawWindow(this, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    return;
  }
  if (!(ExStyle & WS_EX_LAYERED)) SetWindowLong(this, GWL_EXSTYLE, long(ExStyle | WS_EX_LAYERED));
  unsigned Flags = 0;
  if (FAlphaBlendValue != 255) Flags |= LWA_ALPHA;
  if (FTransparentColorValue != 0) Flags |= LWA_COLORKEY;
  SetLayeredWindowAttributes(this, ColorToRGB(FTransparentColorValue), FAlphaBlendValue, Flags);
}

void TGridDragWinZk::SetAlphaBlendValue(Byte Value) {
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  UpdateLayeredAttributes();
}

void TGridDragWinZk::SetTransparentColorValue(TColor Value) {
  if (Value == FTransparentColorValue) return;
  FTransparentColorValue = Value;
  UpdateLayeredAttributes();
}

void TGridDragWinZk::StartShow(TControl* Control, TPoint Pos, int AWidth, int AHeight) {
  const TPoint P = Control->ClientToScreen(Pos);
  SetBounds(P.X, P.Y, AWidth, AHeight);
  SetVisible(true);
  SetWindowPos(this, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TGridDragWinZk::MoveToFor(TControl* Control, TPoint NewPos) {
  MoveToFor(Control, NewPos, Width(), Height());
}

void TGridDragWinZk::MoveToFor(TControl* Control, TPoint NewPos, int NewWidth, int NewHeight) {
  const TPoint P = Control->ClientToScreen(NewPos);
  SetBounds(P.X, P.Y, NewWidth, NewHeight);
}

void TGridDragWinZk::TemporaryHide() { SetBounds(Left(), Top(), 0, 0); }

// --- TGridMoveLineZk ------------------------------------------------------------------------------

namespace {

struct TPieceSpec {
  const char16_t* Name;
  TRect Bounds;   // left, top, width, height
  TAnchors Anchors;
};

// ORDER PIECES: the seven vertical pieces, then the seven horizontal ones.
const TPieceSpec Pieces[14] = {
    {u"sHigh7", {0, 0, 7, 1}, {akLeft, akTop}},
    {u"sHigh5", {1, 1, 5, 1}, {akLeft, akTop}},
    {u"sHigh3", {2, 2, 3, 1}, {akLeft, akTop}},
    {u"sLine", {3, 3, 1, 1}, {akLeft, akTop, akBottom}},
    {u"sLow3", {2, 4, 3, 1}, {akLeft, akBottom}},
    {u"sLow5", {1, 5, 5, 1}, {akLeft, akBottom}},
    {u"sLow7", {0, 6, 7, 1}, {akLeft, akBottom}},
    {u"hLeft7", {0, 0, 1, 7}, {akLeft, akTop}},
    {u"hLeft5", {1, 1, 1, 5}, {akLeft, akTop}},
    {u"hLeft3", {2, 2, 1, 3}, {akLeft, akTop}},
    {u"hLine", {3, 3, 1, 1}, {akLeft, akTop, akRight}},
    {u"hRight3", {4, 2, 1, 3}, {akTop, akRight}},
    {u"hRight5", {5, 1, 1, 5}, {akTop, akRight}},
    {u"hRight7", {6, 0, 1, 7}, {akTop, akRight}},
};

}  // namespace

TGridMoveLineZk::TGridMoveLineZk(TComponent* AOwner) : TGridDragWinZk(AOwner) {
  SetBounds(0, 0, 7, 7);
  SetColor(clWhite);
  FAlphaBlendValue = 255;
  FTransparentColorValue = clWhite;
  for (int I = 0; I < 14; ++I) {
    auto* S = new TShape(this);
    S->SetName(Pieces[I].Name);
    const TRect& B = Pieces[I].Bounds;
    S->SetBounds(B.Left, B.Top, B.Right, B.Bottom);
    S->Pen()->SetColor(clRed);
    S->Brush()->SetColor(clRed);
    S->SetParent(this);
    S->SetAnchors(Pieces[I].Anchors);
    FPieces[I] = S;
  }
  UpdateOrientationData();
}

TShape* TGridMoveLineZk::Piece(const String& Name) const {
  for (TShape* S : FPieces)
    if (S->Name() == Name) return S;
  return nullptr;
}

void TGridMoveLineZk::UpdateOrientationData() {
  for (int I = 0; I < 14; ++I) FPieces[I]->SetVisible((I < 7) == FIsVert);
}

void TGridMoveLineZk::StartShow(TControl* Control, TPoint Pos, bool AIsVert, int Size) {
  FIsVert = AIsVert;
  // The pieces are laid out afresh on a 7 x 7 window, so their anchors stretch them from there
  // whatever size and orientation the last showing left.
  SetBounds(Left(), Top(), 7, 7);
  for (int I = 0; I < 14; ++I) {
    const TRect& B = Pieces[I].Bounds;
    FPieces[I]->SetBounds(B.Left, B.Top, B.Right, B.Bottom);
  }
  UpdateOrientationData();
  const TPoint At{Pos.X - 3, Pos.Y - 4};
  if (FIsVert) TGridDragWinZk::StartShow(Control, At, 7, Size + 8);
  else TGridDragWinZk::StartShow(Control, At, Size + 8, 7);
}

void TGridMoveLineZk::MoveToFor(TControl* Control, TPoint NewPos) {
  TGridDragWinZk::MoveToFor(Control, {NewPos.X - 3, NewPos.Y - 4});
}

// --- the process-wide windows ---------------------------------------------------------------------

namespace {

// Keeps a process-wide window and forgets it when its owner frees it.
template <class T>
class TMarkerHolder : public TComponent {
public:
  TMarkerHolder() : TComponent(nullptr) {}
  T* Get() {
    if (!FWindow) {
      FWindow = new T(Application);
      FWindow->FreeNotification(this);
    }
    return FWindow;
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWindow) FWindow = nullptr;
  }

private:
  T* FWindow = nullptr;
};

}  // namespace

TGridDragBoxZk* GridDragBoxWindow() {
  static auto* Holder = new TMarkerHolder<TGridDragBoxZk>;
  return Holder->Get();
}

TGridMoveLineZk* GridMoveLineWindow() {
  static auto* Holder = new TMarkerHolder<TGridMoveLineZk>;
  return Holder->Get();
}

REGISTER_CLASS(TGridDragWinZk) {}
REGISTER_CLASS(TGridDragBoxZk) {}
REGISTER_CLASS(TGridMoveLineZk) {}
