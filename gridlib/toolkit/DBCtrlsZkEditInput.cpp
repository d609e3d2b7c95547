// DBCtrlsZkEditInput.cpp - the data-aware edit's keys and messages: the in-place routing to the
// holder, the key steps, the MRU routing, focus loss and cancel mode, and the edit window's
// default handling.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

bool IsKeyMessage(unsigned Msg) {
  return Msg == WM_KEYDOWN || Msg == WM_CHAR || Msg == WM_SYSKEYDOWN;
}

bool IsMouseButtonMessage(unsigned Msg) {
  return Msg >= WM_LBUTTONDOWN && Msg <= WM_MBUTTONDBLCLK;
}

bool AltHeld(const TMessage& M) {
  return M.Msg == WM_SYSKEYDOWN || (M.LParam & KF_ALTDOWN_LPARAM) != 0 ||
         GetKeyState(VK_MENU) < 0;
}

bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }

}  // namespace

// --- the window procedure -------------------------------------------------------------------------

void TCustomDBEditZk::WndProc(TMessage& Message) {
  if (FInplaceMode && FIntfInplaceEditHolder) {
    FIntfInplaceEditHolder->InplaceEditWndProc(this, Message);
    if (Message.Result != 0) return;
    if (Message.Msg == WM_SETFOCUS) {
      TCustomForm* Form = GetParentForm();
      if (Form && !Form->SetFocusedControl(FInplaceEditHolder)) return;
      Dispatch(Message);
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN) {
      TPoint DownPos;
      int DownTime = 0;
      FIntfInplaceEditHolder->GetMouseDownInfo(DownPos, DownTime);
      const TPoint Here =
          ClientToScreen({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      if (DownTime != 0 && IsDoubleClickAt(DownPos, Here, int(GetMessageTime()) - DownTime))
        Message.Msg = WM_LBUTTONDBLCLK;
    }
  }
  if (MRUDroppedDown()) {
    if (IsKeyMessage(Message.Msg) && RouteKeyToMRUList(Message)) return;
    if (Message.Msg == CM_MOUSEWHEEL && FMRUListControl) {
      if (FMRUListControl->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
        Message.Result = 1;
        return;
      }
    }
  }
  TCustomMaskEdit::WndProc(Message);
}

bool TCustomDBEditZk::RouteKeyToMRUList(TMessage& Message) {
  const Word Code = Word(Message.WParam);
  if (Message.Msg != WM_CHAR) {
    const bool Paging = Code == VK_PRIOR || Code == VK_NEXT || Code == VK_UP || Code == VK_DOWN;
    const bool Ends = Code == VK_HOME || Code == VK_END;
    if ((Paging && !AltHeld(Message)) || (Ends && CtrlHeld())) {
      FMRUListControl->Perform(Message.Msg, Message.WParam, Message.LParam);
      return true;
    }
  }
  if (Code == VK_RETURN || Code == VK_ESCAPE) {
    FMRUList->CloseUp(Code == VK_RETURN);
    return true;
  }
  return false;
}

void TCustomDBEditZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR: CharMessage(Message); return;
    case WM_GETDLGCODE: GetDlgCodeMessage(Message); return;
    case CM_WANTSPECIALKEY: WantSpecialKeyMessage(Message); return;
    case CM_ENTER: CMEnterMessage(Message); return;
    case CM_EXIT: CMExitMessage(Message); return;
    case WM_SETFOCUS: WMSetFocusMessage(Message); return;
    case WM_KILLFOCUS: WMKillFocusMessage(Message); return;
    case CM_CANCELMODE: CMCancelModeMessage(Message); return;
    case CM_HINTSHOW: HintShowMessage(Message); return;
    case CM_MOUSEWHEEL: MouseWheelMessage(Message); return;
    case CM_GETDATALINK: Message.Result = LRESULT(FDataLink.get()); return;
    case WM_EDIT_IMAGECHANGED: RecreateWnd(); return;
    // Posted after a drop-down closed, as a marker a host may look for; nothing to do here.
    case WM_DROPDOWN_CLOSED: return;
    case CM_SYSCOLORCHANGE:
      TCustomMaskEdit::Dispatch(Message);
      ResetEditButtonBitmapCache();
      return;
    case WM_CUT:
    case WM_PASTE:
    case WM_UNDO:
      if (!FReadOnly) FDataLink->Edit();
      TCustomMaskEdit::Dispatch(Message);
      return;
    case WM_LBUTTONDOWN:
      TCustomMaskEdit::Dispatch(Message);
      if (MouseCapture() && GetFocus() != this) ReleaseCapture();
      return;
    case WM_SETCURSOR: {
      TPoint P;
      GetCursorPos(P);
      if (IsOverButtonsOrImage(ScreenToClient(P))) {
        SetCurrentCursor(crArrow);
        Message.Result = 1;
        return;
      }
      TCustomMaskEdit::Dispatch(Message);
      return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseAboveControl = Message.Msg == CM_MOUSEENTER;
      TCustomMaskEdit::Dispatch(Message);
      UpdateBorderActive();
      return;
    case WM_SIZE:
      TCustomMaskEdit::Dispatch(Message);
      LayoutEditButtons();
      UpdateEditRect();
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
      TCustomMaskEdit::Dispatch(Message);
      UpdateEditButtonsState();
      return;
    case CM_PARENTSHOWHINTCHANGED:
      TCustomMaskEdit::Dispatch(Message);
      if (ParentShowHint() && Parent()) FShowHint = Parent()->ShowHint();
      UpdateHintProcessing();
      return;
    case CM_SHOWINGCHANGED:
      if (FInplaceMode) return;
      TCustomMaskEdit::Dispatch(Message);
      return;
    default: TCustomMaskEdit::Dispatch(Message);
  }
}

void TCustomDBEditZk::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_CHAR) {
    const Char C = Char(Message.WParam);
    if ((C == VK_RETURN && !FWantReturns) || (C == VK_TAB && !FWantTabs) || C == 10)
      Message.WParam = 0;
  }
  if (IsMouseButtonMessage(Message.Msg) && !MouseCapture() &&
      IsOverButtonsOrImage({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}))
    return;
  const int ChangesBefore = UserChangeCount();
  TCustomMaskEdit::DefaultHandler(Message);
  if (UserChangeCount() != ChangesBefore) UpdateMRUListState();
}

void TCustomDBEditZk::CharMessage(TMessage& Message) {
  FCompleteKeyPress = String(1, Char(Message.WParam));
  try {
    TCustomMaskEdit::Dispatch(Message);
  } catch (...) {
    FCompleteKeyPress.clear();
    throw;
  }
  FCompleteKeyPress.clear();
}

void TCustomDBEditZk::GetDlgCodeMessage(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTCHARS;
  if (FWantTabs) Message.Result |= DLGC_WANTTAB;
  if (FWantReturns) Message.Result |= DLGC_WANTALLKEYS;
  if (FInplaceMode && FInplaceEditHolder &&
      (FInplaceEditHolder->Perform(WM_GETDLGCODE) & DLGC_WANTTAB))
    Message.Result |= DLGC_WANTTAB;
}

void TCustomDBEditZk::WantSpecialKeyMessage(TMessage& Message) {
  const Word Key = Word(Message.WParam);
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && MRUDroppedDown() && FMRUListControl &&
      static_cast<TCustomListBox*>(FMRUListControl)->ItemIndex() >= 0) {
    Message.Result = 1;
    return;
  }
  TCustomMaskEdit::Dispatch(Message);
  if (Message.Result) return;
  if ((Key == VK_ESCAPE && Modified()) || (Key == VK_RETURN && FInplaceMode)) Message.Result = 1;
}

// --- keys -----------------------------------------------------------------------------------------

TEditButtonZk* TCustomDBEditZk::FindButtonByShortCut(TShortCut ShortCut, int& Index) {
  if (ShortCut == 0) return nullptr;
  if (FEditButton->ShortCut() == ShortCut) {
    Index = 0;
    return FEditButton.get();
  }
  for (int I = 0; I < FEditButtons->Count(); ++I)
    if (FEditButtons->Items(I)->ShortCut() == ShortCut) {
      Index = I + 1;
      return FEditButtons->Items(I);
    }
  return nullptr;
}

void TCustomDBEditZk::KeyDown(Word& Key, TShiftState Shift) {
  if (FInplaceMode && FIntfInplaceEditHolder) {
    FIntfInplaceEditHolder->InplaceEditKeyDown(this, Key, Shift);
    if (Key == 0) return;
  }
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == 0) return;
  int Index = -1;
  if (FindButtonByShortCut(::ShortCut(Key, Shift), Index) &&
      Index < int(FEditButtonControlList.size())) {
    TEditButtonControlZk* Control = FEditButtonControlList[std::size_t(Index)].EditButtonControl;
    bool AutoRepeat = false, Handled = false;
    EditButtonDown(Control, false, AutoRepeat, Handled);
    Control->Click();
    Key = 0;
    return;
  }
  if (Key == 'A' && Shift == TShiftState{ssCtrl}) {
    SelectAll();
    Key = 0;
    return;
  }
  const bool EditKey = Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift)) ||
                       (Key == VK_RETURN && FWantReturns) || (Key == VK_TAB && FWantTabs);
  if (EditKey && !FReadOnly) FDataLink->Edit();
}

void TCustomDBEditZk::KeyUp(Word& Key, TShiftState Shift) {
  if (FInplaceMode && FIntfInplaceEditHolder) {
    FIntfInplaceEditHolder->InplaceEditKeyUp(this, Key, Shift);
    if (Key == 0) return;
  }
  TCustomMaskEdit::KeyUp(Key, Shift);
}

void TCustomDBEditZk::KeyPress(Char& Key) {
  if (FInplaceMode && FIntfInplaceEditHolder) {
    FIntfInplaceEditHolder->InplaceEditKeyPress(this, Key);
    if (Key == 0) return;
  }
  TCustomMaskEdit::KeyPress(Key);
  if (Key == 0) return;
  if (!FDataLink->DataIndepended() && Field() && Key > 31 && !IsValidChar(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE) {
    FDataLink->Reset();
    SelectAll();
    Key = 0;
    return;
  }
  if ((Key == VK_BACK || Key == 22 || Key == 24 || Key >= 32) && !FReadOnly) FDataLink->Edit();
  if (Key == VK_BACK && Text().empty() && FMRUList->Active() && Showing() && !FDroppedDown)
    FMRUList->DropDown();
}

// --- focus and cancel mode ------------------------------------------------------------------------

void TCustomDBEditZk::WMSetFocusMessage(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  UpdateBorderActive();
  Invalidate();
}

void TCustomDBEditZk::WMKillFocusMessage(TMessage& Message) {
  if (ComponentState().Contains(csDestroying)) {
    TCustomMaskEdit::Dispatch(Message);
    return;
  }
  const HWND NewFocus = reinterpret_cast<HWND>(Message.WParam);
  if (MRUDroppedDown() && NewFocus != FMRUListControl) FMRUList->CloseUp(false);
  TCustomMaskEdit::Dispatch(Message);
  UpdateBorderActive();
  Invalidate();
  if (HWND Capture = GetCapture(); Capture && Capture != this && IsChild(this, Capture))
    Capture->Perform(WM_CANCELMODE);
  for (const TEditButtonControlLineRec& Rec : FEditButtonControlList)
    if (Rec.EditButtonControl && Rec.EditButtonControl->MouseCapture())
      Rec.EditButtonControl->Perform(WM_CANCELMODE);
}

bool TCustomDBEditZk::ControlWithin(const TControl* Sender, const TControl* Window) {
  for (const TControl* C = Sender; C && Window; C = C->Parent())
    if (C == Window) return true;
  return false;
}

void TCustomDBEditZk::CMCancelModeMessage(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  for (const TEditButtonControlLineRec& Rec : FEditButtonControlList)
    if (Rec.EditButtonControl && Rec.EditButtonControl->MouseCapture())
      Rec.EditButtonControl->Perform(WM_CANCELMODE);
  auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
  if (MRUDroppedDown() && !IsOwnOrChildControl(Sender) && !ControlWithin(Sender, FMRUListControl))
    FMRUList->CloseUp(false);
}

void TCustomDBEditZk::MouseWheelMessage(TMessage& Message) { TCustomMaskEdit::Dispatch(Message); }

void TCustomDBEditZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // Presses on the button strip or the image do not move the caret.
  if (!MouseCapture() && IsOverButtonsOrImage({X, Y})) {
    TWinControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
}

bool TCustomDBEditZk::IsOverButtonsOrImage(TPoint P) {
  return (FButtonWidth > 0 && GetEditButtonsRect().Contains(P)) ||
         (FImageWidth > 0 && GetImageRect().Contains(P));
}
