// Memo.cpp - TCustomMemo: the multi-line edit's rows (line breaks and word wrap), its Lines,
// keys by lines, scrolling with its scroll bars, and painting.
#include "platform/controls/StdCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/EditRows.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCustomMemo) {
  Class.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true)
      .Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone)
      .Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true)
      .Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false);
}
REGISTER_CLASS(TMemo) {}

namespace {

const String kCrLf = u"\r\n";

// The length of the line break at Pos: 2 for CR LF, 1 for a lone CR or LF, else 0.
int BreakAt(const String& Text, size_t Pos) {
  if (Pos >= Text.size()) return 0;
  if (Text[Pos] == u'\r') return Pos + 1 < Text.size() && Text[Pos + 1] == u'\n' ? 2 : 1;
  return Text[Pos] == u'\n' ? 1 : 0;
}

// The text's lines as (start, length) pairs, a last empty line after a final break included.
std::vector<std::pair<int, int>> SplitLines(const String& Text) {
  std::vector<std::pair<int, int>> Lines;
  size_t Start = 0;
  for (size_t I = 0; I < Text.size();) {
    if (const int B = BreakAt(Text, I)) {
      Lines.emplace_back(int(Start), int(I - Start));
      I += size_t(B);
      Start = I;
    } else {
      ++I;
    }
  }
  Lines.emplace_back(int(Start), int(Text.size() - Start));
  return Lines;
}

// Memo.Lines: the memo's text seen as a list of lines. A final empty line (after the last
// break, or of an empty text) is not a string of the list.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}

  int Count() const override {
    const auto Lines = SplitLines(FMemo->Text());
    return int(Lines.size()) - (Lines.back().second == 0 ? 1 : 0);
  }
  String Get(int Index) const override {
    CheckIndex(Index, Count());
    const auto [Start, Length] = SplitLines(FMemo->Text())[size_t(Index)];
    return FMemo->Text().substr(size_t(Start), size_t(Length));
  }
  void Put(int Index, const String& S) override {
    CheckIndex(Index, Count());
    const auto [Start, Length] = SplitLines(FMemo->Text())[size_t(Index)];
    Replace(Start, Start + Length, S);
  }
  // Before line Index the string and a break; at the end after a last line without a break,
  // a break and the string.
  void Insert(int Index, const String& S) override {
    CheckIndex(Index, Count() + 1);
    const auto Lines = SplitLines(FMemo->Text());
    if (Index < int(Lines.size()) && (Index < Count() || Lines.back().second == 0)) {
      Replace(Lines[size_t(Index)].first, Lines[size_t(Index)].first, S + kCrLf);
      return;
    }
    const int End = int(FMemo->Text().size());
    Replace(End, End, kCrLf + S);
  }
  void Delete(int Index) override {
    CheckIndex(Index, Count());
    const String Text = FMemo->Text();
    const auto [Start, Length] = SplitLines(Text)[size_t(Index)];
    int End = Start + Length;
    End += BreakAt(Text, size_t(End));
    int From = Start;
    // The last line goes with the break before it.
    if (End == int(Text.size()) && Index > 0 && BreakAt(Text, size_t(Start) - 1) && End == Start + Length)
      From = Start - (Start >= 2 && BreakAt(Text, size_t(Start) - 2) == 2 ? 2 : 1);
    Replace(From, End, String());
  }
  void Clear() override { FMemo->SetText(String()); }
  // The text as given, its lone CR and LF made CR LF.
  void SetText(const String& Value) override {
    String Text;
    for (size_t I = 0; I < Value.size();) {
      if (const int B = BreakAt(Value, I)) {
        Text += kCrLf;
        I += size_t(B);
      } else {
        Text += Value[I++];
      }
    }
    FMemo->SetText(Text);
  }

private:
  void CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit)
      throw EStringListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  }
  // A program change of the text: the selection is kept where it can be.
  void Replace(int From, int To, const String& S) {
    FMemo->Perform(EM_SETSEL, WPARAM(From), LPARAM(To));
    FMemo->Perform(EM_REPLACESEL, 0, LPARAM(&S));
  }

  TCustomMemo* FMemo;
};

}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetAutoSize(false);   // a memo's height is its own
  SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
  SetMultiLine(true);
  SetAutoSelect(false);
  SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~unsigned(ES_AUTOHSCROLL);
  Params.Style |= ES_AUTOVSCROLL;
  if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL;
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  FScrollX = 0;
  UpdateNonClient();
  SelectionChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  if (HandleAllocated()) {
    ShowScrollBar(this, SB_VERT, Value == ssVertical || Value == ssBoth);
    ShowScrollBar(this, SB_HORZ, Value == ssHorizontal || Value == ssBoth);
  }
  UpdateNonClient();
  SelectionChanged();
}

// --- rows ------------------------------------------------------------------------------------

const std::vector<TCustomMemo::TRow>& TCustomMemo::Rows() {
  const String& Text = WindowText();
  const int Width = EditRect().Width();
  if (FRowsWidth == Width && FRowsWrap == FWordWrap && FRowsText == Text && !FRows.empty())
    return FRows;
  FRows.clear();
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  for (const TEditRow& R : LayoutEditRows(C, Text, Width, FWordWrap))
    FRows.push_back({R.Start, R.Length, R.BreakLength});
  FRowsText = Text;
  FRowsWidth = Width;
  FRowsWrap = FWordWrap;
  return FRows;
}

void TCustomMemo::FontChanged() {
  FRows.clear();
  TCustomEdit::FontChanged();
}

int TCustomMemo::RowOf(int Index) {
  const auto& R = Rows();
  for (size_t I = 0; I < R.size(); ++I)
    if (Index <= R[I].Start + R[I].Length) return int(I);
  return int(R.size()) - 1;
}

int TCustomMemo::RowHeight() { return std::max(1, FontHeight()); }

int TCustomMemo::VisibleRows() { return std::max(1, EditRect().Height() / RowHeight()); }

TPoint TCustomMemo::CaretPos() {
  const int Caret = Engine().Caret();
  const auto Lines = SplitLines(WindowText());
  int Line = 0;
  while (Line + 1 < int(Lines.size()) && Lines[size_t(Line) + 1].first <= Caret) ++Line;
  return {Caret - Lines[size_t(Line)].first, Line};
}

void TCustomMemo::SetCaretPos(TPoint Value) {
  const auto Lines = SplitLines(WindowText());
  const auto& [Start, Length] = Lines[size_t(std::clamp(Value.Y, 0, int(Lines.size()) - 1))];
  const int Pos = Start + std::clamp(Value.X, 0, Length);
  Perform(EM_SETSEL, WPARAM(Pos), LPARAM(Pos));
}

// --- positions -------------------------------------------------------------------------------

TPoint TCustomMemo::PosFromChar(int Index) {
  const auto& R = Rows();
  const int Row = RowOf(Index);
  const TRow& W = R[size_t(Row)];
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  const int Prefix = EditRowCharX(C, WindowText(), {W.Start, W.Length, W.BreakLength}, Index);
  const TRect E = EditRect();
  return {E.Left + Prefix - FScrollX, E.Top + (Row - FTopRow) * RowHeight()};
}

int TCustomMemo::CharFromPos(TPoint P) {
  const auto& R = Rows();
  const TRect E = EditRect();
  const int Row = std::clamp(FTopRow + (P.Y - E.Top) / RowHeight() - (P.Y < E.Top ? 1 : 0), 0, int(R.size()) - 1);
  const TRow& W = R[size_t(Row)];
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  return EditRowCharAt(C, WindowText(), {W.Start, W.Length, W.BreakLength},
                       size_t(Row) + 1 == R.size(), P.X - E.Left + FScrollX);
}

// --- caret and scrolling ---------------------------------------------------------------------

void TCustomMemo::UpdateCaret() {
  const int Row = RowOf(Engine().Caret());
  if (Row < FTopRow) FTopRow = Row;
  else if (Row >= FTopRow + VisibleRows()) FTopRow = Row - VisibleRows() + 1;
  if (!FWordWrap) {
    const TRect E = EditRect();
    const int X = PosFromChar(Engine().Caret()).X + FScrollX - E.Left;
    if (X - FScrollX > E.Width() - 1) FScrollX = X - E.Width() + E.Width() / 4;
    if (X < FScrollX) FScrollX = std::max(0, X - E.Width() / 4);
  }
  UpdateScrollBars();
  if (GetCaretState().Owner == this) {
    const TPoint P = PosFromChar(Engine().Caret());
    ::SetCaretPos(P.X, P.Y);
  }
}

void TCustomMemo::ScrollToRow(int Row) {
  FTopRow = std::clamp(Row, 0, std::max(0, int(Rows().size()) - 1));
  UpdateScrollBars();
  if (GetCaretState().Owner == this) {
    const TPoint P = PosFromChar(Engine().Caret());
    ::SetCaretPos(P.X, P.Y);
  }
  Invalidate();
}

void TCustomMemo::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    SCROLLINFO Info;
    Info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    Info.nMax = int(Rows().size()) - 1;
    Info.nPage = unsigned(VisibleRows());
    Info.nPos = FTopRow;
    SetScrollInfo(this, SB_VERT, Info, true);
  }
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
    TCanvas* C = EditCanvas();
    C->Font()->Assign(Font());
    int Widest = 0;
    for (const TRow& R : Rows())
      Widest = std::max(Widest, C->TextWidth(WindowText().substr(size_t(R.Start), size_t(R.Length))));
    SCROLLINFO Info;
    Info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    Info.nMax = FWordWrap ? 0 : Widest;
    Info.nPage = unsigned(EditRect().Width());
    Info.nPos = FScrollX;
    SetScrollInfo(this, SB_HORZ, Info, true);
  }
}

void TCustomMemo::ScrollMessage(TMessage& Message, bool Vertical) {
  const int Code = LOWORD(Message.WParam);
  const int Line = Vertical ? 1 : 8;
  const int Page = Vertical ? std::max(1, VisibleRows() - 1) : std::max(8, EditRect().Width() - 8);
  const std::optional<int> NewPos = ScrollCodePos(Code, Vertical ? FTopRow : FScrollX, Line, Page,
                                                  HIWORD(Message.WParam), 0, 1 << 20);
  if (!NewPos) return;
  const int Pos = *NewPos;
  if (Vertical) {
    ScrollToRow(std::min(Pos, std::max(0, int(Rows().size()) - VisibleRows())));
    return;
  }
  if (FWordWrap) return;
  FScrollX = std::max(0, Pos);
  UpdateScrollBars();
  Invalidate();
}

// --- messages and keys -----------------------------------------------------------------------

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TCustomEdit::Dispatch(Message);
      if (FWantTabs) Message.Result |= DLGC_WANTTAB;
      else Message.Result &= ~LRESULT(DLGC_WANTTAB);
      if (!FWantReturns) Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
      return;
    case WM_MOUSEWHEEL: {
      const int Delta = short(HIWORD(Message.WParam));
      ScrollToRow(std::min(FTopRow - Delta / WHEEL_DELTA * 3, std::max(0, int(Rows().size()) - VisibleRows())));
      Message.Result = 1;
      return;
    }
    default: TCustomEdit::Dispatch(Message);
  }
}

void TCustomMemo::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: ScrollMessage(Message, true); return;
    case WM_HSCROLL: ScrollMessage(Message, false); return;
    case EM_GETLINECOUNT: Message.Result = LRESULT(Rows().size()); return;
    case EM_GETFIRSTVISIBLELINE: Message.Result = FTopRow; return;
    case EM_LINEFROMCHAR:
      Message.Result = RowOf(std::intptr_t(Message.WParam) < 0 ? Engine().Caret() : int(Message.WParam));
      return;
    case EM_LINEINDEX: {
      const int Row = std::intptr_t(Message.WParam) < 0 ? RowOf(Engine().Caret()) : int(Message.WParam);
      Message.Result = Row < int(Rows().size()) ? Rows()[size_t(Row)].Start : -1;
      return;
    }
    case EM_LINELENGTH: {
      const int Index = int(std::intptr_t(Message.WParam));
      Message.Result = Index < 0 ? 0 : Rows()[size_t(RowOf(Index))].Length;
      return;
    }
    case EM_LINESCROLL: ScrollToRow(FTopRow + int(Message.LParam)); return;
    default: TCustomEdit::DefaultHandler(Message);
  }
}

void TCustomMemo::KeyPress(Char& Key) {
  TCustomEdit::KeyPress(Key);
  if ((Key == u'\r' && !FWantReturns) || (Key == u'\t' && !FWantTabs)) Key = 0;
}

void TCustomMemo::EditKeyDown(Word Key, TShiftState Shift) {
  const bool S = Shift.Contains(ssShift), C = Shift.Contains(ssCtrl);
  const auto& R = Rows();
  const int Row = RowOf(Engine().Caret());
  auto ToRow = [&](int Target) {
    Target = std::clamp(Target, 0, int(R.size()) - 1);
    const TPoint Here = PosFromChar(Engine().Caret());
    if (FGoalX < 0) FGoalX = Here.X;
    const int Y = EditRect().Top + (Target - FTopRow) * RowHeight();
    Engine().MoveCaret(CharFromPos({FGoalX, Y}), S);
  };
  const int GoalX = FGoalX;
  switch (Key) {
    case VK_UP: ToRow(Row - 1); break;
    case VK_DOWN: ToRow(Row + 1); break;
    case VK_PRIOR: ToRow(Row - std::max(1, VisibleRows() - 1)); break;
    case VK_NEXT: ToRow(Row + std::max(1, VisibleRows() - 1)); break;
    case VK_HOME:
      Engine().MoveCaret(C ? 0 : R[size_t(Row)].Start, S);
      break;
    case VK_END:
      Engine().MoveCaret(C ? int(WindowText().size()) : R[size_t(Row)].Start + R[size_t(Row)].Length, S);
      break;
    default:
      FGoalX = -1;
      TCustomEdit::EditKeyDown(Key, Shift);
      return;
  }
  if (Key == VK_HOME || Key == VK_END) FGoalX = -1;
  else FGoalX = GoalX < 0 ? FGoalX : GoalX;
  SelectionChanged();
}

void TCustomMemo::EditChar(Char C) {
  FGoalX = -1;
  if (C == u'\r' || C == u'\n' || C == u'\t') {
    // Return (and Ctrl+Return's line feed) breaks the line; Tab reached here only when wanted.
    if (ReadOnly()) return;
    if (Engine().ReplaceSel(C == u'\t' ? String(1, C) : kCrLf)) TextChanged(true);
    else MessageBeep(0);
    return;
  }
  TCustomEdit::EditChar(C);
}

// --- painting --------------------------------------------------------------------------------

void TCustomMemo::PaintWindow(HDC DC) {
  TCanvas* C = EditCanvas();
  TCanvasPaintScope Scope(C, DC, Font(), Color());
  const bool Enabled = IsEnabledInTree();
  C->FillRect(ClientRect());
  const TRect E = EditRect();
  C->SaveDC();
  C->IntersectClipRect(E);
  const String& Text = WindowText();
  const auto& R = Rows();
  const int H = RowHeight();
  const bool ShowSelection = Engine().SelLength() > 0 && (Focused() || !HideSelection());
  const int SelStart = ShowSelection ? Engine().SelStart() : 0;
  const int SelEnd = ShowSelection ? Engine().SelEnd() : 0;
  const TColor TextColor = Enabled ? Font()->Color() : clGrayText;
  for (int Row = FTopRow; Row < int(R.size()); ++Row) {
    const int Y = E.Top + (Row - FTopRow) * H;
    if (Y >= E.Bottom) break;
    const TRow& W = R[size_t(Row)];
    PaintEditRow(C, Text, {W.Start, W.Length, W.BreakLength}, {E.Left - FScrollX, Y}, H, SelStart,
                 SelEnd, TextColor);
  }
  C->RestoreDC(-1);
}
