// PopupMonthCalendarZk.cpp - the drop-down month calendar: closing through the owner, the
// bordered window and the painted month view.
#include "gridlib/toolkit/PopupMonthCalendarZk.h"

#include <algorithm>

#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TPopupMonthCalendarZk) {}

TPopupMonthCalendarZk::TPopupMonthCalendarZk(TComponent* AOwner) : TDropDownWindow(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetParentCtl3D(false);
  SetCtl3D(true);
  SetColor(clWindow);
  SetAutoSize(true);
  Link()->SetOnOutsideClick([this](HWND, TPoint) {
    if (dynamic_cast<ICloseUpOwnerZk*>(Owner())) RequestCloseUp(false);
    else CloseUp(false);   // nobody would close it otherwise
    return true;
  });
}

void TPopupMonthCalendarZk::SetDate(TDateTime Value) {
  if (FModel.SetDate(Value)) Invalidate();
}

void TPopupMonthCalendarZk::RequestCloseUp(bool Accept) {
  if (auto* CloseUpOwner = dynamic_cast<ICloseUpOwnerZk*>(Owner())) CloseUpOwner->CloseUp(Accept);
}

void TPopupMonthCalendarZk::CreateParams(TCreateParams& Params) {
  TDropDownWindow::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | (Params.ExStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE));
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TPopupMonthCalendarZk::CreateWnd() {
  TDropDownWindow::CreateWnd();
  AdjustSize();
}

int TPopupMonthCalendarZk::LineHeight() {
  return std::max(Canvas()->TextHeight(u"0"), 1) + 2;
}

bool TPopupMonthCalendarZk::CanAutoSize(int& NewWidth, int& NewHeight) {
  const int Line = LineHeight();
  const TSize Min = TMonthCalendarModelZk::MinSize(Line, Canvas()->TextWidth(u"00") + 8);
  NewWidth = Min.cx + 2 * FBorderWidth;
  NewHeight = Min.cy + 2 * FBorderWidth;
  return true;
}

void TPopupMonthCalendarZk::Resize() {
  UpdateLayout();
  TDropDownWindow::Resize();
}

void TPopupMonthCalendarZk::UpdateLayout() {
  TRect R = ClientRect();
  R = Rect(R.Left + FBorderWidth, R.Top + FBorderWidth, R.Right - FBorderWidth,
           R.Bottom - FBorderWidth);
  FModel.SetLayout(R, LineHeight());
}

void TPopupMonthCalendarZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        RequestCloseUp(Message.WParam == VK_RETURN);
        Message.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE:
      TDropDownWindow::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
      return;
    case WM_DEFERREDCLOSEUP:
      RequestCloseUp(false);
      return;
    case CM_CTL3DCHANGED:
      TDropDownWindow::Dispatch(Message);
      FBorderWidth = Ctl3D() ? 2 : 0;
      if (HandleAllocated()) RecreateWnd();
      AdjustSize();
      return;
  }
  TDropDownWindow::Dispatch(Message);
}

void TPopupMonthCalendarZk::KeyDown(Word& Key, TShiftState Shift) {
  TDropDownWindow::KeyDown(Key, Shift);
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    const bool Accept = Key == VK_RETURN;
    Key = 0;
    RequestCloseUp(Accept);
    return;
  }
  if (Key != 0 && FModel.KeyDown(Key, Shift.Contains(ssCtrl))) {
    Key = 0;
    Invalidate();
  }
}

void TPopupMonthCalendarZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDropDownWindow::MouseDown(Button, Shift, X, Y);
  if (!ClientRect().Contains({X, Y})) {
    RequestCloseUp(false);
  } else if (Button == mbLeft) {
    UpdateLayout();
    FModel.Press({X, Y});
    Invalidate();
  }
  FDownViewType = mcvMonth;   // the only view there is
}

void TPopupMonthCalendarZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDropDownWindow::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !ClientRect().Contains({X, Y})) return;
  UpdateLayout();
  if (MonthCalendarReleaseAccepts(FModel.HitTest({X, Y}).Code, FDownViewType)) RequestCloseUp(true);
}

bool TPopupMonthCalendarZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TDropDownWindow::DoMouseWheelDown(Shift, MousePos)) {
    FModel.Wheel(true);
    Invalidate();
  }
  return true;
}

bool TPopupMonthCalendarZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TDropDownWindow::DoMouseWheelUp(Shift, MousePos)) {
    FModel.Wheel(false);
    Invalidate();
  }
  return true;
}

void TPopupMonthCalendarZk::Paint() {
  UpdateLayout();
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
  if (FBorderWidth > 0) {
    TRect R = ClientRect();
    DrawEdge(C, R, BDR_RAISEDOUTER, BF_RECT);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    DrawEdge(C, R, BDR_RAISEDINNER, BF_RECT);
  }
  // The title: month and year between the two arrow buttons.
  const TRect Title = FModel.TitleRect();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Title);
  C->Font()->SetColor(clBtnText);
  const String Caption = FormatSettings.LongMonthNames[FModel.ShownMonth() - 1] + u" " +
                         IntToStr(FModel.ShownYear());
  C->TextOut(Title.Left + (Title.Width() - C->TextWidth(Caption)) / 2,
             Title.Top + (Title.Height() - C->TextHeight(Caption)) / 2, Caption);
  for (const auto& [Button, Arrow] : {std::pair{FModel.PrevButtonRect(), u"<"},
                                      std::pair{FModel.NextButtonRect(), u">"}}) {
    TRect B = Button;
    DrawEdge(C, B, EDGE_RAISED, BF_RECT);
    C->TextOut(B.Left + (B.Width() - C->TextWidth(Arrow)) / 2,
               B.Top + (B.Height() - C->TextHeight(Arrow)) / 2, Arrow);
  }
  // The weekday line, from the week's first day.
  C->Brush()->SetColor(Color());
  C->Font()->SetColor(clGrayText);
  for (int Col = 0; Col < TMonthCalendarModelZk::Cols; ++Col) {
    const TRect Cell = FModel.CellRect(0, Col);
    const TRect Line = FModel.WeekdayRect();
    const String& Name =
        FormatSettings.ShortDayNames[(FModel.FirstDayOfWeek() - 1 + Col) % 7];
    C->TextOut(Cell.Left + (Cell.Width() - C->TextWidth(Name)) / 2,
               Line.Top + (Line.Height() - C->TextHeight(Name)) / 2, Name);
  }
  PaintDays();
}

void TPopupMonthCalendarZk::PaintDays() {
  TCanvas* C = Canvas();
  for (int Row = 0; Row < TMonthCalendarModelZk::Rows; ++Row)
    for (int Col = 0; Col < TMonthCalendarModelZk::Cols; ++Col) {
      const TRect Cell = FModel.CellRect(Row, Col);
      const TDateTime Day = FModel.DayAt(Row, Col);
      const bool Selected = Day == FModel.Date();
      C->Brush()->SetColor(Selected ? clHighlight : Color());
      C->FillRect(Cell);
      C->Font()->SetColor(Selected                    ? clHighlightText
                          : FModel.InShownMonth(Day) ? clWindowText
                                                     : clGrayText);
      const String Text = IntToStr(DayOf(Day));
      C->TextOut(Cell.Left + (Cell.Width() - C->TextWidth(Text)) / 2,
                 Cell.Top + (Cell.Height() - C->TextHeight(Text)) / 2, Text);
    }
}
