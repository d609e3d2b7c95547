// HintWindow.cpp - the hint window: measures and draws the hint text on the info colours.
#include "platform/controls/HintWindow.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(THintWindow) {}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  if (Screen) Font()->Assign(Screen->HintFont());
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& Hint, void*) {
  TRect R = Rect(0, 0, MaxWidth, 0);
  Canvas()->Font()->Assign(Font());
  DrawText(Canvas(), Hint, R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  R.Right += 6;
  R.Bottom += 2;
  return R;
}

void THintWindow::ActivateHint(const TRect& R, const String& Hint) {
  SetCaption(Hint);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  HandleNeeded();
  SetWindowPos(this, HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(const TRect& R, const String& Hint, void*) { ActivateHint(R, Hint); }

void THintWindow::ReleaseHandle() {
  if (Visible()) SetVisible(false);
}

void THintWindow::Paint() {
  TRect R = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(R);
  Canvas()->Pen()->SetColor(clBlack);
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Rectangle(R);
  InflateRect(R, -2, -1);
  Canvas()->Font()->Assign(Font());
  DrawText(Canvas(), Caption(), R, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
