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

namespace {

TDrawButtonControlStyleZk DrawStyleOf(TEditButtonStyleZk S) {
  switch (S) {
    case ebsEllipsisZk: return bcsEllipsisZk;
    case ebsUpDownZk:
    case ebsGlyphZk: return bcsUpDownZk;
    case ebsPlusZk: return bcsPlusZk;
    case ebsMinusZk: return bcsMinusZk;
    case ebsAltDropDownZk: return bcsAltDropDownZk;
    case ebsAltUpDownZk: return bcsAltUpDownZk;
    default: return bcsDropDownZk;
  }
}

TEditButtonStyleZk ButtonStyleOf(TEditStyle S) {
  switch (S) {
    case esEllipsis: return ebsEllipsisZk;
    case esUpDown: return ebsUpDownZk;
    case esAltUpDown: return ebsAltUpDownZk;
    case esAltDropDown:
    case esAltCalendar: return ebsAltDropDownZk;
    default: return ebsDropDownZk;
  }
}

// One button face onto Canvas (a flat button gets a one-pixel frame in the cell's colour on
// its left).
void PaintFace(TCanvas* Canvas, TEditButtonStyleZk Style, TRect R, bool Flat, bool Enabled,
               TColor Color, TBitmap* Glyph) {
  if (Flat && !ThemesActive()) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    ++R.Left;
  }
  if (Style != ebsGlyphZk) {
    PaintEditButtonCached(Canvas, R, Color, cbUnchecked, Enabled, false, Flat, 0, DrawStyleOf(Style));
    return;
  }
  if (!Flat || ThemesActive()) {
    DrawEdge(Canvas, R, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    InflateRect(R, -2, -2);
  } else {
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
    InflateRect(R, -1, -1);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(R);
  }
  if (Glyph && !Glyph->Empty())
    Canvas->Draw(R.Left + (R.Width() - Glyph->Width()) / 2,
                 R.Top + (R.Height() - Glyph->Height()) / 2, Glyph);
}

// The button inside Cell, blended over the cell's colour by Transparency percent (0 opaque).
void PaintCellButton(TCanvas* Canvas, TEditButtonStyleZk Style, const TRect& Button,
                     const TRect& Cell, bool Flat, bool Enabled, TColor Color, TBitmap* Glyph,
                     int Transparency) {
  TRect Shown = Button;
  Shown.Bottom = std::min(Shown.Bottom, Cell.Bottom);
  Shown.Right = std::min(Shown.Right, Cell.Right);
  if (Shown.Width() <= 0 || Shown.Height() <= 0) return;
  if (Transparency <= 0) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Shown);
    PaintFace(Canvas, Style, Button, Flat, Enabled, Color, Glyph);
    return;
  }
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(Shown);
  TBitmap Face(Button.Width(), Button.Height());
  PaintFace(Face.Canvas(), Style, Rect(0, 0, Button.Width(), Button.Height()), Flat, Enabled,
            Color, Glyph);
  const int Alpha = int(std::trunc((100 - Transparency) * 2.55));
  AlphaBlend(Canvas, Shown, Face, Rect(0, 0, Shown.Width(), Shown.Height()), Alpha);
}

}  // namespace

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
  const bool CurrentCell = CurrentRow && Columns()->Items(SelectedIndex()) == Column;
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
  int X = R.Right;
  const TEditStyle Main = ColumnEditStyle(Column);
  if (Main != esSimple) {
    PaintCellButton(C, ButtonStyleOf(Main), Rect(X, R.Top, X + W + FlatExtra, R.Top + H), Content,
                    IsFlat, Enabled, Back, nullptr, T);
    X += W + FlatExtra;
  }
  for (int I = 0; I < Column->EditButtons()->Count(); ++I) {
    TEditButtonZk* B = Column->EditButtons()->Items(I);
    if (!B->Visible()) continue;
    const int BW = (B->Width() > 0 ? B->Width() : W) + FlatExtra;
    PaintCellButton(C, B->Style(), Rect(X, R.Top, X + BW, R.Top + H), Content, IsFlat,
                    Enabled && B->Enabled(), Back, B->Glyph(), T);
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
