// DBGridZkCellButtons.cpp - the edit buttons a data cell paints when its column always shows
// them (AlwaysShowEditButton, narrowed by EditButtonsShowOptions), and which of them lies under
// a point. Away from the current cell the buttons are painted see-through, so the column's
// text stays the thing to read.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>
#include <cmath>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/WinDraw.h"

void TCustomDBGridZk::SetEditButtonsShowOptions(TEditButtonsShowOptionsZk Value) {
  if (Value == FEditButtonsShowOptions) return;
  FEditButtonsShowOptions = Value;
  Invalidate();
}

int TCustomDBGridZk::InplaceEditorButtonWidth() const {
  return Flat() ? FlatEditButtonDefaultWidth() : GetSystemMetrics(SM_CXVSCROLL);
}

int TCustomDBGridZk::InplaceEditorButtonHeight() const {
  const int W = InplaceEditorButtonWidth();
  const int RowH = FStdDefaultRowHeight > 0 ? FStdDefaultRowHeight : DefaultRowHeight();
  return RowH <= int(std::lround(1.5 * W)) ? RowH : ButtonHeightForWidth(W, Flat());
}

bool TCustomDBGridZk::EditButtonsVisibleInCell(TColumnZk* Column, bool CurrentRow) {
  if (!Column || !Column->AlwaysShowEditButton()) return false;
  const TEditButtonsShowOptionsZk O = FEditButtonsShowOptions;
  const bool CurrentCell = CurrentRow && ColumnAtGridCol(Col()) == Column;
  if (O.Contains(sebShowOnlyForCurCellZk) && !CurrentCell) return false;
  if (O.Contains(sebShowOnlyForCurRowZk) && !CurrentRow) return false;
  if (O.Contains(sebShowOnlyWhenGridActiveZk) &&
      !(Focused() || (InplaceEditor() && InplaceEditor()->Focused())))
    return false;
  if (O.Contains(sebShowOnlyWhenDataEditingZk) &&
      !(DataSet() && (DataSet()->State() == dsEdit || DataSet()->State() == dsInsert)))
    return false;
  return true;
}

void TCustomDBGridZk::PaintCellEditButtons(TColumnZk* Column, TRect& R, TGridDrawState State,
                                           bool CurrentRow) {
  const int Total = Column->EditButtonsWidth();
  if (Total <= 0) return;
  const TRect Content = R;
  R.Right -= Total;
  TCanvas* C = Canvas();
  const bool IsFlat = Flat();
  const int FlatExtra = IsFlat && !ThemesActive() ? 1 : 0;
  const int W = InplaceEditorButtonWidth(), H = InplaceEditorButtonHeight();
  int T = 0;
  if (ComponentState().Contains(csDesigning)) T = 30;
  else if (!(State.Contains(gdFocused) || (FOptionsZk.Contains(dghRowHighlight) && CurrentRow)))
    T = State.Contains(gdHotTrack) ? 30 : 80;
  const TColor Back = Column->Color();
  const bool Enabled = FDataLink->Active();
  // The button under the mouse in the hot cell is drawn hot.
  const int HotButton = State.Contains(gdHotTrack) ? FHotTrackEditButton : -1;
  int X = R.Right;
  const TEditStyle Main = ColumnEditStyle(Column);
  if (Main != esSimple) {
    DrawCellButton(Column, C, MainEditButtonStyle(Main), Rect(X, R.Top, X + W + FlatExtra, R.Top + H),
                   Content, false, HotButton == 0, IsFlat, Enabled, Back, nullptr, T);
    X += W + FlatExtra;
  }
  for (int I = 0; I < Column->EditButtons()->Count(); ++I) {
    TEditButtonZk* B = Column->EditButtons()->Items(I);
    if (!B->Visible()) continue;
    const int BW = (B->Width() > 0 ? B->Width() : W) + FlatExtra;
    DrawCellButton(Column, C, B->Style(), Rect(X, R.Top, X + BW, R.Top + H), Content, false,
                   HotButton == I + 1, IsFlat, Enabled && B->Enabled(), Back, B->Glyph(), T);
    X += BW;
  }
  if (H < R.Height()) {
    C->Brush()->SetColor(Back);
    C->FillRect(Rect(R.Right, R.Top + H, Content.Right, Content.Bottom));
  }
}

int TCustomDBGridZk::EditButtonAtPos(TColumnZk* Column, const TRect& Cell, TPoint P) const {
  const int Total = Column ? Column->EditButtonsWidth() : 0;
  if (Total <= 0 || P.Y < Cell.Top || P.Y >= Cell.Top + InplaceEditorButtonHeight() ||
      P.X < Cell.Right - Total || P.X >= Cell.Right)
    return -1;
  const int FlatExtra = Flat() ? 1 : 0;
  const int W = InplaceEditorButtonWidth();
  int X = Cell.Right - Total;
  if (ColumnEditStyle(Column) != esSimple) {
    X += W + FlatExtra;
    if (P.X < X) return 0;
  }
  for (int I = 0; I < Column->EditButtons()->Count(); ++I) {
    TEditButtonZk* B = Column->EditButtons()->Items(I);
    if (!B->Visible()) continue;
    X += (B->Width() > 0 ? B->Width() : W) + FlatExtra;
    if (P.X < X) return I + 1;
  }
  return -1;
}
