// DBLookupGridsZkPopup.cpp - the lookup grid as a drop-down: a popup tool window that never
// takes the focus, with a size grip, hover selection and a close-up request on release.
#include "gridlib/grid/DBLookupGridsZk.h"

#include <algorithm>

#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

TPopupDataGridZk::TPopupDataGridZk(TComponent* AOwner)
    : TDBLookupGridZk(AOwner), FLink(this), FSizeGrip(new TSizeGripZk(this)) {
  SetVisible(false);
  TControlStyle Style = ControlStyle();
  Style << csNoDesignVisible << csReplicatable;
  SetControlStyle(Style);
  FPopup = true;
  FSizeGrip->SetTriangleWindow(true);
  FSizeGrip->SetParent(this);
  SetShowHint(true);
}

TPopupDataGridZk::~TPopupDataGridZk() { FLink.Close(); }

void TPopupDataGridZk::CreateParams(TCreateParams& Params) {
  TDBLookupGridZk::CreateParams(Params);
  SetDropDownParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_SAVEBITS | CS_HREDRAW;
}

void TPopupDataGridZk::PaintNonClient(HDC DC) {
  TDBLookupGridZk::PaintNonClient(DC);
  if (!Ctl3D()) return;
  TRect R = Rect(0, 0, Width(), Height());
  DrawEdge(DC, R, BDR_RAISEDOUTER, BF_RECT);
}

// The grip goes back into its corner after every size change; a window never shrinks below
// one scroll-bar square.
void TPopupDataGridZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, GetSystemMetrics(SM_CXVSCROLL));
  AHeight = std::max(AHeight, GetSystemMetrics(SM_CYVSCROLL));
  const bool Sized = AWidth != Width() || AHeight != Height();
  TDBLookupGridZk::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FSizeGrip) FSizeGrip->UpdatePosition();
  if (Sized) FSizeGripResized = true;
}

void TPopupDataGridZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZEGRIPCHANGEPOSITION:
      FSizeGrip->ChangePosition(TSizeGripChangePosition(Message.WParam & 0xFF));
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case CM_VISIBLECHANGED:   // the bar style put off while hidden
      if (Message.WParam) ApplyScrollBarsStyle();
      break;
    case WM_NCCALCSIZE:   // the raised frame is one pixel inside the window
      if (Ctl3D())
        if (auto* R = reinterpret_cast<TRect*>(Message.LParam)) InflateRect(*R, -1, -1);
      TDBLookupGridZk::Dispatch(Message);
      return;
    default: break;
  }
  TDBLookupGridZk::Dispatch(Message);
}

void TPopupDataGridZk::KeyDown(Word& Key, TShiftState Shift) {
  FUserKeyValueChanged = true;
  try {
    TDBLookupGridZk::KeyDown(Key, Shift);
  } catch (...) {
    FUserKeyValueChanged = false;
    throw;
  }
  FUserKeyValueChanged = false;
}

void TPopupDataGridZk::KeyValueChanged() {
  TDBLookupGridZk::KeyValueChanged();
  if (FUserKeyValueChanged && FOnUserKeyValueChange) FOnUserKeyValueChange(this);
}

void TPopupDataGridZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FUserKeyValueChanged = true;
  FKeySelection = true;
  try {
    TDBLookupGridZk::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    FUserKeyValueChanged = false;
    throw;
  }
  FUserKeyValueChanged = false;
}

void TPopupDataGridZk::MouseMove(TShiftState Shift, int X, int Y) {
  FUserKeyValueChanged = true;
  try {
    TDBLookupGridZk::MouseMove(Shift, X, Y);
    const bool Buttons = Shift.Contains(ssLeft) || Shift.Contains(ssRight) ||
                         Shift.Contains(ssMiddle);
    if (!Buttons && !ReadOnly() && FListActive && InDataRows(Y)) SelectRowAt(X, Y);
  } catch (...) {
    FUserKeyValueChanged = false;
    throw;
  }
  FUserKeyValueChanged = false;
}

void TPopupDataGridZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TDBGridZkState Before = GridState();
  const bool Tracking = FLookupTracking;
  TDBLookupGridZk::MouseUp(Button, Shift, X, Y);
  if (Before != dgsNormal || !FKeySelection || !Tracking || !FOnMouseCloseUp) return;
  FKeySelection = false;
  if (!Rect(0, 0, Width(), Height()).Contains({X, Y})) {
    FOnMouseCloseUp(this, false);
    return;
  }
  const TRect Data = DataRect();
  const int Row = MouseCoord(X, Y).Y;
  const bool OnSpec = Row >= 0 && Row == SpecRowGridRow();
  const bool OnData = Row >= TopDataOffset() && Data.Contains({X, Y});
  if (OnSpec || OnData) FOnMouseCloseUp(this, true);
}

REGISTER_CLASS(TPopupDataGridZk) {}

void RegisterDBLookupGridsZkClasses() {
  RegisterClasses({TDBLookupGridZk::ClassInfo(), TPopupDataGridZk::ClassInfo(),
                   TDBLookupGridColumnZk::ClassInfo(), TGridColumnSpecCellZk::ClassInfo(),
                   TDBLookupGridColumnDefValuesZk::ClassInfo()});
}
