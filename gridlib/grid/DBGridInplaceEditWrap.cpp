// DBGridInplaceEditWrap.cpp - the cell editor's multi-line mode: a wrapping column whose row
// shows more than one line is edited in rows broken at the text rectangle's right edge and at
// line breaks; Ctrl+Enter breaks the line, Up and Down move between the rows.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <algorithm>

#include "platform/controls/WinApi.h"

// In the in-row panel the column's own line count decides, elsewhere the current row's height.
bool TDBGridInplaceEdit::WrapsByColumn() const {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !C->WordWrap()) return false;
  if (G->RowPanel()->Active()) return C->InRowLineHeight() > 1;
  return C->CurLineWordWrap(G->RowHeight(G->Row()));
}

void TDBGridInplaceEdit::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  FTopRow = 0;
  FRows.clear();
  if (HandleAllocated()) Perform(EM_SCROLLCARET, 0, 0);
}

const std::vector<TEditRow>& TDBGridInplaceEdit::Rows() {
  const String& Text = WindowText();
  const int Width = EditRect().Width();
  if (FRowsWidth == Width && FRowsText == Text && !FRows.empty()) return FRows;
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  FRows = LayoutEditRows(C, Text, Width, true);
  FRowsText = Text;
  FRowsWidth = Width;
  return FRows;
}

int TDBGridInplaceEdit::RowHeight() { return std::max(1, FontHeight()); }

int TDBGridInplaceEdit::VisibleRows() { return std::max(1, EditRect().Height() / RowHeight()); }

TPoint TDBGridInplaceEdit::PosFromChar(int Index) {
  if (!FWordWrap) return TInplaceEdit::PosFromChar(Index);
  const auto& R = Rows();
  const int Row = EditRowOf(R, Index);
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  const TRect E = EditRect();
  return {E.Left + EditRowCharX(C, WindowText(), R[size_t(Row)], Index),
          E.Top + (Row - FTopRow) * RowHeight()};
}

int TDBGridInplaceEdit::CharFromPos(TPoint P) {
  if (!FWordWrap) return TInplaceEdit::CharFromPos(P);
  const auto& R = Rows();
  const TRect E = EditRect();
  const int Below = (P.Y - E.Top) / RowHeight() - (P.Y < E.Top ? 1 : 0);
  const int Row = std::clamp(FTopRow + Below, 0, int(R.size()) - 1);
  TCanvas* C = EditCanvas();
  C->Font()->Assign(Font());
  return EditRowCharAt(C, WindowText(), R[size_t(Row)], size_t(Row) + 1 == R.size(),
                       P.X - E.Left);
}

// The caret's row stays among the rows shown.
void TDBGridInplaceEdit::UpdateCaret() {
  if (!FWordWrap) return TInplaceEdit::UpdateCaret();
  const int Row = EditRowOf(Rows(), Engine().Caret());
  if (Row < FTopRow) FTopRow = Row;
  else if (Row >= FTopRow + VisibleRows()) FTopRow = Row - VisibleRows() + 1;
  if (GetCaretState().Owner != this) return;
  const TPoint P = PosFromChar(Engine().Caret());
  ::SetCaretPos(P.X, P.Y);
}

bool TDBGridInplaceEdit::RowKeyLeavesText(Word Key) {
  const int Length = int(WindowText().size());
  if (SelStart() == 0 && SelLength() == Length && Length > 0) return true;
  const auto& R = Rows();
  const int Row = EditRowOf(R, Engine().Caret());
  return Key == VK_UP ? Row == 0 : Row == int(R.size()) - 1;
}

// Up and Down keep the caret's x on the row they go to; Home and End go to the row's ends.
void TDBGridInplaceEdit::EditKeyDown(Word Key, TShiftState Shift) {
  const bool Select = Shift.Contains(ssShift), Ctrl = Shift.Contains(ssCtrl);
  if (!FWordWrap || (Ctrl && (Key == VK_HOME || Key == VK_END)))
    return TInplaceEdit::EditKeyDown(Key, Shift);
  const auto& R = Rows();
  const int Row = EditRowOf(R, Engine().Caret());
  const TEditRow& W = R[size_t(Row)];
  switch (Key) {
    case VK_UP:
    case VK_DOWN: {
      const int To = std::clamp(Row + (Key == VK_UP ? -1 : 1), 0, int(R.size()) - 1);
      const TPoint Here = PosFromChar(Engine().Caret());
      Engine().MoveCaret(CharFromPos({Here.X, EditRect().Top + (To - FTopRow) * RowHeight()}),
                         Select);
      break;
    }
    case VK_HOME: Engine().MoveCaret(W.Start, Select); break;
    case VK_END: Engine().MoveCaret(W.Start + W.Length, Select); break;
    default: return TInplaceEdit::EditKeyDown(Key, Shift);
  }
  SelectionChanged();
}

// Ctrl+Enter's line feed breaks the line.
void TDBGridInplaceEdit::EditChar(Char C) {
  if (!FWordWrap || C != u'\n') return TInplaceEdit::EditChar(C);
  if (ReadOnly()) return;
  if (Engine().ReplaceSel(u"\r\n")) TextChanged(true);
  else MessageBeep(0);
}

void TDBGridInplaceEdit::PaintRows(TCanvas* ACanvas) {
  ACanvas->Font()->Assign(Font());
  ACanvas->Brush()->SetColor(Color());
  ACanvas->FillRect(ClientRect());
  const TRect E = EditRect();
  const auto& R = Rows();
  const int H = RowHeight();
  const bool ShowSelection = SelLength() > 0 && (Focused() || !HideSelection());
  const int SelFrom = ShowSelection ? SelStart() : 0;
  const int SelTo = ShowSelection ? SelStart() + SelLength() : 0;
  const TColor TextColor = IsEnabledInTree() ? Font()->Color() : clGrayText;
  ACanvas->SaveDC();
  ACanvas->IntersectClipRect(E);
  for (int Row = FTopRow; Row < int(R.size()); ++Row) {
    const int Y = E.Top + (Row - FTopRow) * H;
    if (Y >= E.Bottom) break;
    PaintEditRow(ACanvas, WindowText(), R[size_t(Row)], {E.Left, Y}, H, SelFrom, SelTo, TextColor);
  }
  ACanvas->RestoreDC(-1);
  ACanvas->Brush()->SetStyle(bsSolid);
}
