// Edit.cpp - TCustomEdit: the edit window's messages, keys, mouse selection, caret and painting.
#include "platform/controls/StdCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TCustomEdit) {
  Class.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
      .Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
      .Property("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize, true)
      .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal)
      .Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true)
      .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
      .Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
      .Property("OnChange", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange);
}
REGISTER_CLASS(TEdit) {}

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBorderStyle(bsSingle);
  TWinControl::SetAutoSize(true);   // the height follows the font once the window is made
  SetCursor(crIBeam);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  static const unsigned AlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= ES_AUTOHSCROLL | AlignStyles[FAlignment];
  if (FMultiLine) Params.Style |= ES_MULTILINE;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FEngine.CharCase() == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FEngine.CharCase() == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
}

// --- properties -----------------------------------------------------------------------------------

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FEngine.CharCase() == Value) return;
  String Before = FEngine.Text();
  FEngine.SetCharCase(Value);
  if (FEngine.Text() != Before) TextChanged(false);
}

void TCustomEdit::SetHideSelection(bool Value) {
  FHideSelection = Value;
  Invalidate();
}

void TCustomEdit::SetMaxLength(int Value) { Perform(EM_LIMITTEXT, WPARAM(std::max(Value, 0))); }

void TCustomEdit::SetPasswordChar(Char Value) { Perform(EM_SETPASSWORDCHAR, Value); }

void TCustomEdit::SetReadOnly(bool Value) { Perform(EM_SETREADONLY, Value ? 1 : 0); }

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  FScrollX = 0;
  Invalidate();
}

void TCustomEdit::SetSelStart(int Value) { Perform(EM_SETSEL, WPARAM(Value), LPARAM(Value)); }

void TCustomEdit::SetSelLength(int Value) {
  const int Start = SelStart();
  Perform(EM_SETSEL, WPARAM(Start), LPARAM(Start + std::max(Value, 0)));
}

void TCustomEdit::SetSelText(const String& Value) {
  Perform(EM_REPLACESEL, 0, LPARAM(&Value));
}

void TCustomEdit::Clear() { SetText(String()); }

String TCustomEdit::GetText() const { return FEngine.Text(); }

void TCustomEdit::SetWindowText(const String& Value) {
  FEngine.SetText(Value);
  FScrollX = 0;
  TextChanged(false);
}

// --- change notices ---------------------------------------------------------------------------

void TCustomEdit::Change() {
  if (FOnChange) FOnChange(this);
}

void TCustomEdit::TextChanged(bool User) {
  if (User) ++FUserChanges;
  SelectionChanged();
  // The native edit tells its parent, which reflects the notice back as CN_COMMAND.
  Perform(CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), LPARAM(this));
}

void TCustomEdit::SelectionChanged() {
  UpdateCaret();
  Invalidate();
}

// --- messages ----------------------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) Change();
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
      if (FMultiLine) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_SETFOCUS:
      TWinControl::Dispatch(Message);
      if (Focused()) {
        CreateCaret(this, 1, FontHeight());
        UpdateCaret();
        ShowCaret(this);
        Invalidate();
      }
      return;
    case WM_KILLFOCUS:
      TWinControl::Dispatch(Message);
      if (GetCaretState().Owner == this) DestroyCaret();
      FSelecting = false;
      Invalidate();
      return;
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      if (!FHasEditRect) FScrollX = 0;
      UpdateCaret();
      return;
    case WM_LBUTTONDBLCLK:
      TWinControl::Dispatch(Message);
      FEngine.SelectWordAt(CharFromPos({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}));
      FSelecting = false;
      SelectionChanged();
      return;
    case WM_LBUTTONUP:
      FSelecting = false;
      TWinControl::Dispatch(Message);
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

// The native edit window: text, selection and the edit messages.
void TCustomEdit::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT:
      if (Message.LParam) *reinterpret_cast<String*>(Message.LParam) = WindowText();
      Message.Result = LRESULT(WindowText().size());
      return;
    case WM_SETTEXT:
      SetWindowText(Message.LParam ? *reinterpret_cast<const String*>(Message.LParam) : String());
      Message.Result = 1;
      return;
    case WM_KEYDOWN:
      EditKeyDown(Word(Message.WParam), KeyDataToShiftState(Message.LParam) + KeyboardStateToShiftState());
      return;
    case WM_CHAR:
      EditChar(Char(Message.WParam));
      return;
    case WM_CUT: EditCut(); return;
    case WM_COPY: EditCopy(); return;
    case WM_PASTE: EditPaste(); return;
    case WM_CLEAR: EditClear(); return;
    case WM_UNDO:
    case EM_UNDO:
      Message.Result = !FReadOnly && FEngine.Undo();
      if (Message.Result) TextChanged(true);
      return;
    case EM_CANUNDO: Message.Result = FEngine.CanUndo(); return;
    case EM_EMPTYUNDOBUFFER: FEngine.EmptyUndoBuffer(); return;
    case EM_GETSEL: {
      const int Start = FEngine.SelStart(), End = FEngine.SelEnd();
      if (Message.WParam) *reinterpret_cast<int*>(Message.WParam) = Start;
      if (Message.LParam) *reinterpret_cast<int*>(Message.LParam) = End;
      Message.Result = MAKELPARAM(Start, End);
      return;
    }
    case EM_SETSEL:
      FEngine.SetSel(int(std::intptr_t(Message.WParam)), int(Message.LParam));
      SelectionChanged();
      return;
    case EM_REPLACESEL: {
      const String* S = reinterpret_cast<const String*>(Message.LParam);
      if (FEngine.ReplaceSel(S ? *S : String(), Message.WParam != 0)) TextChanged(false);
      return;
    }
    case EM_GETMODIFY: Message.Result = FEngine.Modified(); return;
    case EM_SETMODIFY: FEngine.SetModified(Message.WParam != 0); return;
    case EM_LIMITTEXT: FEngine.SetMaxLength(int(Message.WParam)); return;
    case EM_GETLIMITTEXT:
      Message.Result = FEngine.MaxLength() ? FEngine.MaxLength() : 0x7FFFFFFE;
      return;
    case EM_SETREADONLY:
      FReadOnly = Message.WParam != 0;
      Message.Result = 1;
      Invalidate();
      return;
    case EM_SETPASSWORDCHAR:
      FPasswordChar = Char(Message.WParam);
      Invalidate();
      return;
    case EM_GETPASSWORDCHAR: Message.Result = FPasswordChar; return;
    case EM_SETMARGINS:
      if (Message.WParam & EC_LEFTMARGIN) FLeftMargin = LOWORD(Message.LParam);
      if (Message.WParam & EC_RIGHTMARGIN) FRightMargin = HIWORD(Message.LParam);
      SelectionChanged();
      return;
    case EM_GETMARGINS: Message.Result = MAKELPARAM(FLeftMargin, FRightMargin); return;
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = EditRect();
      return;
    case EM_SETRECT:
    case EM_SETRECTNP:
      // The formatting rectangle only counts for multi-line edits, as in the native window:
      // the memo, or an edit created with ES_MULTILINE (editors with buttons, the grid's cell
      // editor), which keeps its single line otherwise.
      if (FMultiLine || (WindowStyle() & ES_MULTILINE)) {
        FHasEditRect = Message.LParam != 0;
        if (FHasEditRect) FEditRect = *reinterpret_cast<const TRect*>(Message.LParam);
        FScrollX = 0;
        SelectionChanged();
      }
      return;
    case EM_SCROLLCARET: UpdateCaret(); Invalidate(); return;
    case EM_CHARFROMPOS:
      Message.Result = CharFromPos({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      return;
    case EM_POSFROMCHAR: {
      TPoint P = PosFromChar(int(Message.WParam));
      Message.Result = MAKELPARAM(P.X, P.Y);
      return;
    }
    case EM_GETLINECOUNT: Message.Result = 1; return;
    default:
      TWinControl::DefaultHandler(Message);
  }
}

// --- keys ----------------------------------------------------------------------------------------

void TCustomEdit::EditKeyDown(Word Key, TShiftState Shift) {
  const bool S = Shift.Contains(ssShift), C = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_LEFT: FEngine.KeyLeft(S, C); break;
    case VK_RIGHT: FEngine.KeyRight(S, C); break;
    case VK_HOME: FEngine.KeyHome(S); break;
    case VK_END: FEngine.KeyEnd(S); break;
    case VK_DELETE:
      if (S) {
        Perform(WM_CUT);
        return;
      }
      if (!FReadOnly && FEngine.DeleteForward(C)) TextChanged(true);
      return;
    case VK_INSERT:
      if (C) Perform(WM_COPY);
      else if (S) Perform(WM_PASTE);
      return;
    default: return;
  }
  SelectionChanged();
}

void TCustomEdit::EditChar(Char C) {
  switch (C) {
    case 1: SelectAll(); return;               // Ctrl+A
    case 3: Perform(WM_COPY); return;          // Ctrl+C
    case 22: Perform(WM_PASTE); return;        // Ctrl+V
    case 24: Perform(WM_CUT); return;          // Ctrl+X
    case 26: Perform(WM_UNDO); return;         // Ctrl+Z
    case VK_BACK:
      if (!FReadOnly && FEngine.DeleteBackward(KeyboardStateToShiftState().Contains(ssCtrl)))
        TextChanged(true);
      return;
    default: break;
  }
  if (C < u' ' || FReadOnly) return;
  if (FEngine.TypeChar(C)) TextChanged(true);
  else MessageBeep(0);
}

// --- clipboard -----------------------------------------------------------------------------------

void TCustomEdit::EditCopy() {
  if (FPasswordChar || FEngine.SelLength() == 0) return;
  SetClipboardText(FEngine.SelText());
}

void TCustomEdit::EditCut() {
  if (FPasswordChar) return;
  EditCopy();
  EditClear();
}

void TCustomEdit::EditPaste() {
  if (FReadOnly) return;
  String S = ClipboardText();
  if (!FMultiLine) {
    // A single line takes the clipboard text up to its first line break.
    size_t Break = S.find_first_of(u"\r\n");
    if (Break != String::npos) S.resize(Break);
  }
  if (FEngine.ReplaceSel(S)) TextChanged(true);
}

void TCustomEdit::EditClear() {
  if (FReadOnly || FEngine.SelLength() == 0) return;
  if (FEngine.ReplaceSel(String())) TextChanged(true);
}

// --- focus and mouse --------------------------------------------------------------------------

void TCustomEdit::DoEnter() {
  // A press of the left button selects by itself; AutoSelect waits for keyboard entry.
  if (FAutoSelect && !ControlState().Contains(csLButtonDown)) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    FEngine.MoveCaret(CharFromPos({X, Y}), Shift.Contains(ssShift));
    FSelecting = true;
    SelectionChanged();
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSelecting && Shift.Contains(ssLeft)) {
    FEngine.MoveCaret(CharFromPos({X, Y}), true);
    SelectionChanged();
  }
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TWinControl::SetAutoSize(Value);
  UpdateHeight();
}

// Only an edit with a single border sizes itself (a borderless one is usually an in-place
// editor, sized by its owner).
bool TCustomEdit::FollowsFont() const { return AutoSize() && BorderStyle() == bsSingle; }

void TCustomEdit::UpdateHeight() {
  if (FollowsFont()) {
    SetControlStyle(ControlStyle() + TControlStyle{csFixedHeight});
    AdjustHeight();
  } else {
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
  }
}

void TCustomEdit::AdjustHeight() {
  FCanvas->Font()->Assign(Font());
  const int Border = GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? 8 : 6);
  SetHeight(FCanvas->TextMetrics().tmHeight + Border);
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (FollowsFont()) AdjustHeight();
}

void TCustomEdit::FontChanged() {
  TWinControl::FontChanged();
  if (FollowsFont()) AdjustHeight();
  if (GetCaretState().Owner == this) {
    CreateCaret(this, 1, FontHeight());
    ShowCaret(this);
  }
  SelectionChanged();
}

// --- geometry ----------------------------------------------------------------------------------

TRect TCustomEdit::DefaultEditRect() const {
  TRect R = ClientRect();
  R.Left += FLeftMargin;
  R.Right -= FRightMargin;
  R.Top += 1;
  if (R.Right < R.Left) R.Right = R.Left;
  return R;
}

TRect TCustomEdit::EditRect() const { return FHasEditRect ? FEditRect : DefaultEditRect(); }

int TCustomEdit::FontHeight() {
  FCanvas->Font()->Assign(Font());
  return FCanvas->TextHeight(u"Wg");
}

String TCustomEdit::DisplayText() const {
  if (FPasswordChar) return String(WindowText().size(), FPasswordChar);
  return WindowText();
}

// X of character Index in client coordinates (before scrolling is applied: FScrollX subtracted).
int TCustomEdit::TextOffset(int Index) {
  FCanvas->Font()->Assign(Font());
  const String Text = DisplayText();
  Index = std::clamp(Index, 0, int(Text.size()));
  const int Width = FCanvas->TextWidth(Text);
  const int Prefix = Index == 0 ? 0 : FCanvas->TextWidth(Text.substr(0, Index));
  const TRect R = EditRect();
  int Start = R.Left;
  if (Width < R.Width()) {
    if (FAlignment == taCenter) Start = R.Left + (R.Width() - Width) / 2;
    else if (FAlignment == taRightJustify) Start = R.Right - Width - 1;
  }
  return Start + Prefix;
}

int TCustomEdit::CharFromPos(TPoint P) {
  const int Start = TextOffset(0);   // assigns the font too
  return CharIndexAtX(FCanvas.get(), DisplayText(), P.X + FScrollX - Start);
}

TPoint TCustomEdit::PosFromChar(int Index) { return {TextOffset(Index) - FScrollX, EditRect().Top}; }

void TCustomEdit::UpdateCaret() {
  // Scroll sideways so the caret stays inside the formatting rectangle.
  const TRect R = EditRect();
  const int X = TextOffset(FEngine.Caret());
  if (X - FScrollX > R.Right - 1) FScrollX = X - R.Right + 1;
  if (X - FScrollX < R.Left) FScrollX = X - R.Left;
  if (FScrollX < 0) FScrollX = 0;
  if (GetCaretState().Owner == this) SetCaretPos(X - FScrollX, R.Top);
}

// --- painting ------------------------------------------------------------------------------------

void TCustomEdit::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color());
  TCanvas* C = FCanvas.get();
  const bool Enabled = IsEnabledInTree();
  C->FillRect(ClientRect());
  const TRect R = EditRect();
  C->SaveDC();
  C->IntersectClipRect(R);
  const String Text = DisplayText();
  const int Y = R.Top;
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(Enabled ? Font()->Color() : clGrayText);
  C->TextOut(TextOffset(0) - FScrollX, Y, Text);
  const bool ShowSelection = FEngine.SelLength() > 0 && (Focused() || !FHideSelection);
  if (ShowSelection) {
    const int X1 = TextOffset(FEngine.SelStart()) - FScrollX;
    const int X2 = TextOffset(FEngine.SelEnd()) - FScrollX;
    const TRect Sel = Rect(X1, Y, X2, Y + C->TextHeight(u"Wg"));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clHighlight);
    C->FillRect(Sel);
    C->Font()->SetColor(clHighlightText);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(X1, Y, Text.substr(FEngine.SelStart(), FEngine.SelLength()));
  }
  C->RestoreDC(-1);
}
