// GridsZkEdit.cpp - TInplaceEdit, the text editor the grid places over its current cell, and
// the grid's side of editing: when the editor exists, shows and moves, and where its text goes.
#include "gridlib/grid/GridsZk.h"

#include "gridlib/grid/GridsZk_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

// --- TInplaceEdit ---------------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetDoubleBuffered(false);
  SetMultiLine(true);
  SetVisible(false);
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
}

void TInplaceEdit::Deselect() { Perform(EM_SETSEL, 0x7FFFFFFF, -1); }

void TInplaceEdit::Invalidate() {
  if (!HandleAllocated()) return;
  ::ValidateRect(this, nullptr);
  ::InvalidateRect(this, nullptr, true);
  if (!FGrid || !FGrid->HandleAllocated()) return;
  TRect R = ClientRect();
  OffsetRect(R, Left(), Top());
  ::ValidateRect(FGrid, &R);
  ::InvalidateRect(FGrid, &R, false);
}

void TInplaceEdit::Hide() {
  if (!HandleAllocated() || !Visible()) return;
  Invalidate();
  const bool HadFocus = Focused();
  SetWindowPos(this, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
  if (HadFocus && FGrid && FGrid->CanFocus()) ::SetFocus(FGrid);
}

bool TInplaceEdit::PosEqual(const TRect& R) const { return BoundsRect() == R; }

bool TInplaceEdit::EditorVisible() const { return HandleAllocated() && Visible(); }

void TInplaceEdit::SetFocus() {
  if (EditorVisible() && CanFocus()) TCustomMaskEdit::SetFocus();
}

void TInplaceEdit::PlaceEditor(const TRect& Loc, bool Redraw) {
  if (Loc.IsEmpty()) {
    Hide();
    return;
  }
  HandleNeeded();
  Redraw = Redraw || !Visible();
  Invalidate();
  SetWindowPos(this, HWND_TOP, Loc.Left, Loc.Top, Loc.Width(), Loc.Height(),
               SWP_SHOWWINDOW | SWP_NOREDRAW);
  EditorBoundsChanged();
  if (Redraw) Invalidate();
  if (FGrid && FGrid->Focused()) SetFocus();
}

void TInplaceEdit::EditorBoundsChanged() {
  TRect R = Rect(2, 2, Width() - 2, Height());
  Perform(EM_SETRECTNP, 0, LPARAM(&R));
  Perform(EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::ReloadContents() {
  SetText(u"");
  SetEditMask(FGrid->CellEditMask(FGrid->Col(), FGrid->Row()));
  SetText(FGrid->CellEditText(FGrid->Col(), FGrid->Row()));
  SetMaxLength(FGrid->EditorTextLimit());
}

bool TInplaceEdit::EditCanModify() { return FGrid && FGrid->EditorMayModify(); }

void TInplaceEdit::SendToGrid(Word& Key, TShiftState Shift) {
  FGrid->KeyDown(Key, Shift);
  Key = 0;
}

// The caret stands at the text's left edge: nothing or everything selected from the start.
bool TInplaceEdit::CaretAtLeft() {
  int Start = 0, End = 0;
  Perform(EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  const TCaretState Caret = GetCaretState();
  const int CaretPos = Caret.Owner == this ? CharFromPos(Caret.Rect.TopLeft()) : End;
  return CaretPos == 0 && Start == 0 && (End == 0 || End == int(EditText().size()));
}

bool TInplaceEdit::CaretAtRight() {
  int Start = 0, End = 0;
  Perform(EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  const int Length = int(EditText().size());
  const TCaretState Caret = GetCaretState();
  const int CaretPos = Caret.Owner == this ? CharFromPos(Caret.Rect.TopLeft()) : End;
  return CaretPos == Length && (Start == 0 || Start == End) && End == Length;
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!FGrid) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    return;
  }
  const bool Ctrl = Shift.Contains(ssCtrl);
  const bool Always = FGrid->Options().Contains(goAlwaysShowEditor);
  switch (Key) {
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) SendToGrid(Key, Shift);
      break;
    case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN:
      SendToGrid(Key, Shift);
      break;
    case VK_LEFT: case VK_HOME:
      if (Always && (Ctrl || CaretAtLeft())) SendToGrid(Key, Shift);
      break;
    case VK_RIGHT: case VK_END:
      if (Always && (Ctrl || CaretAtRight())) SendToGrid(Key, Shift);
      break;
    case VK_INSERT:
      if (Shift.Empty()) SendToGrid(Key, Shift);
      else if (Shift == TShiftState{ssShift} && !FGrid->EditorMayModify()) Key = 0;
      break;
    case VK_DELETE:
      if (Ctrl) SendToGrid(Key, Shift);
      else if (!FGrid->EditorMayModify()) Key = 0;
      break;
    case VK_F2:
      if (FGrid->OnKeyDown()) FGrid->OnKeyDown()(FGrid, Key, Shift);
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    default: break;
  }
  if (Key == 0) return;
  if (FGrid->OnKeyDown()) FGrid->OnKeyDown()(FGrid, Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (FGrid) FGrid->KeyUp(Key, Shift);
}

void TInplaceEdit::KeyPress(Char& Key) {
  if (!FGrid) {
    TCustomMaskEdit::KeyPress(Key);
    return;
  }
  FGrid->KeyPress(Key);
  if (Key >= 32 && !FGrid->EditorAcceptsChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  switch (Key) {
    case u'\r': {
      int Start = 0, End = 0;
      Perform(EM_GETSEL, WPARAM(&Start), LPARAM(&End));
      if (Start == 0 && End == int(EditText().size())) Deselect();
      else SelectAll();
      Key = 0;
      break;
    }
    case u'\t': case 27: Key = 0; break;
    default:
      if ((Key == 8 || Key == 22 || Key == 24 || Key >= 32) && !FGrid->EditorMayModify()) Key = 0;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::DblClick() {
  if (FGrid) FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return FGrid ? FGrid->DoMouseWheel(Shift, WheelDelta, MousePos)
               : TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED: return;   // the grid shows and hides the window itself
    case WM_GETDLGCODE:
      TCustomMaskEdit::Dispatch(Message);
      if (FGrid && FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
      if (FGrid && FGrid->EditorMayModify()) TCustomMaskEdit::Dispatch(Message);
      return;
    case CN_COMMAND:
      TCustomMaskEdit::Dispatch(Message);
      if (FGrid && HIWORD(Message.WParam) == EN_CHANGE)
        FGrid->Perform(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), LPARAM(static_cast<TWinControl*>(this)));
      return;
    default: TCustomMaskEdit::Dispatch(Message);
  }
}

void TInplaceEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS) {
    TCustomForm* Form = ::GetParentForm(this);
    if (Form && FGrid && !Form->SetFocusedControl(FGrid)) return;
  }
  if (Message.Msg == WM_LBUTTONDOWN) {
    if (unsigned(GetMessageTime() - FClickTime) < GetDoubleClickTime()) Message.Msg = WM_LBUTTONDBLCLK;
    FClickTime = 0;
  }
  TCustomMaskEdit::WndProc(Message);
}

// --- the grid's side ------------------------------------------------------------------------------

bool TCustomGridZk::EditorAcceptsChar(Char) { return true; }
bool TCustomGridZk::EditorMayModify() { return FCanEditModify; }

bool TCustomGridZk::EditorMayShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
         HandleAllocated() && (FOptions.Contains(goAlwaysShowEditor) || GridIsActive());
}

TInplaceEdit* TCustomGridZk::MakeEditor() { return new TInplaceEdit(this); }
int TCustomGridZk::EditorTextLimit() { return 0; }
String TCustomGridZk::CellEditMask(int, int) { return {}; }
String TCustomGridZk::CellEditText(int, int) { return {}; }
void TCustomGridZk::TakeEditText(int, int, const String&) {}

bool TCustomGridZk::EnsureEditor() {
  if (FInplaceEdit) return false;
  FInplaceEdit = MakeEditor();
  FInplaceEdit->AttachGrid(this);
  FInplaceEdit->Font()->Assign(Font());
  FInplaceEdit->SetParent(this);
  return true;
}

namespace {

void LoadEditor(TCustomGridZk* Grid, TInplaceEdit* Edit, int& Col, int& Row, bool& CanModify) {
  Col = Grid->Col();
  Row = Grid->Row();
  Edit->ReloadContents();
  // The edit keeps no negative length: the grid's own answer says whether text may change.
  CanModify = Grid->EditorTextLimit() != -1;
  Edit->SelectAll();
}

}  // namespace

void TCustomGridZk::RefreshEditor() {
  if (!EditorMayShow()) return;
  if (EnsureEditor()) {
    LoadEditor(this, FInplaceEdit, FInplaceCol, FInplaceRow, FCanEditModify);
  } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
    StoreAndHideEditor();
    LoadEditor(this, FInplaceEdit, FInplaceCol, FInplaceRow, FCanEditModify);
  }
  if (EditorMayShow()) {
    FInplaceEdit->Move(EditorCellRect(FCurrent.X, FCurrent.Y));
  }
}

TRect TCustomGridZk::EditorCellRect(int ACol, int ARow) { return CellRect(ACol, ARow); }

void TCustomGridZk::UpdateEditorPos() {
  if (FEditorMode && FInplaceEdit) {
    FInplaceEdit->UpdateLoc(EditorCellRect(FCurrent.X, FCurrent.Y));
  }
  if (!HandleAllocated()) return;
  TPoint P;
  GetCursorPos(P);
  P = ScreenToClient(P);
  UpdateHotTrackCell(P.X, P.Y);
}

void TCustomGridZk::StoreEditorText() {
  if (FInplaceCol != -1 && FInplaceRow != -1 && FInplaceEdit)
    TakeEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGridZk::StoreAndHideEditor() {
  if (!FInplaceEdit) return;
  try {
    StoreEditorText();
  } catch (...) {
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->Hide();
    throw;
  }
  FInplaceCol = FInplaceRow = -1;
  FInplaceEdit->Hide();
}

void TCustomGridZk::CloseEditor() {
  FEditorMode = false;
  StoreAndHideEditor();
}

void TCustomGridZk::OpenEditor() {
  FEditorMode = true;
  RefreshEditor();
}

void TCustomGridZk::OpenEditorWithChar(Char Ch) {
  OpenEditor();
  if (FInplaceEdit) PostMessage(FInplaceEdit, WM_CHAR, Ch, 0);
}

void TCustomGridZk::ReloadEditor() {
  FInplaceCol = FInplaceRow = -1;
  RefreshEditor();
}

void TCustomGridZk::SetEditorMode(bool Value) {
  if (Value) {
    OpenEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
  } else {
    CloseEditor();
  }
}
