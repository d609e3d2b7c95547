// DBGridZkStyle.cpp - the paint-style object all grids share: its settings with their change
// notifications, and the selection, focus and hot-track colours of data and fixed cells.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkDraw.h"
#include "platform/graphics/WinDraw.h"

namespace {

// Lightened colours need a true-colour display; a palette display keeps the system colours.
bool TrueColor(TCustomDBGridZk* Grid) { return GetDeviceCaps(Grid->Canvas(), NUMCOLORS) == -1; }

}  // namespace

TDBGridZkStyle::TDBGridZkStyle() = default;

// Every grid still attached goes back to the process's style, or to none while that one is
// freed: the process's style is still what DBGridZkStyle() answers during its destruction, so
// handing a grid "back" to it would attach the grid again and never end.
TDBGridZkStyle::~TDBGridZkStyle() {
  const bool ProcessStyle = this == DBGridZkStyle();
  while (!FGrids.empty()) {
    TCustomDBGridZk* Grid = FGrids.back();
    FGrids.pop_back();
    if (Grid->FStyle != this) continue;
    if (ProcessStyle) Grid->FStyle = nullptr;
    else Grid->SetStyle(nullptr);
  }
}

void TDBGridZkStyle::SetLuminateSelection(bool Value) {
  if (Value == FLuminateSelection) return;
  FLuminateSelection = Value;
  Changed();
}

void TDBGridZkStyle::SetIsDrawFocusRect(bool Value) {
  if (Value == FIsDrawFocusRect) return;
  FIsDrawFocusRect = Value;
  Changed();
}

void TDBGridZkStyle::SetInTitleFitlerButtonStyle(TEditButtonStyleZk Value) {
  if (Value == FInTitleFitlerButtonStyle) return;
  FInTitleFitlerButtonStyle = Value;
  Changed();
}

void TDBGridZkStyle::Changed() {
  const std::vector<TCustomDBGridZk*> Grids = FGrids;
  for (TCustomDBGridZk* Grid : Grids)
    if (GridInChangeNotification(Grid)) Grid->LayoutChanged();
}

void TDBGridZkStyle::AddChangeNotification(TCustomDBGridZk* Grid) {
  if (Grid && !GridInChangeNotification(Grid)) FGrids.push_back(Grid);
}

void TDBGridZkStyle::RemoveChangeNotification(TCustomDBGridZk* Grid) {
  FGrids.erase(std::remove(FGrids.begin(), FGrids.end(), Grid), FGrids.end());
}

bool TDBGridZkStyle::GridInChangeNotification(TCustomDBGridZk* Grid) const {
  return std::find(FGrids.begin(), FGrids.end(), Grid) != FGrids.end();
}

void TCustomDBGridZk::SetStyle(TDBGridZkStyle* Value) {
  if (Value == FStyle && Value) return;
  if (FStyle) FStyle->RemoveChangeNotification(this);
  FStyle = Value ? Value : DBGridZkStyle();
  if (FStyle) FStyle->AddChangeNotification(this);
  else if (!(ComponentState().Contains(csDestroying))) LayoutChanged();
}

// --- data cells -----------------------------------------------------------------------------------

bool TDBGridZkStyle::GetDataCellHighlight(TCustomDBGridZk* Grid, int ACol, int ARow,
                                          int DataCol, int, const String&,
                                          TGridDrawState AState, bool, TColor& AColor,
                                          TFont* AFont) {
  TCustomDBGridZk& G = *Grid;
  const TDBGridOptions O = G.FOptions;
  const TDBGridZkOptions Z = G.FOptionsZk;
  const bool RowSelect = O.Contains(dgRowSelect);
  const bool CurrentRow = ARow == G.Row();
  const bool TrueColour = TrueColor(Grid);
  const TColor Own = AColor;
  const TGridCoord Hot = G.FHotTrackCell;
  const bool HotRow = Z.Contains(dghHotTrack) && ARow == Hot.Y;
  // In the in-row panel the hot column is the one under the mouse inside the master cell.
  const bool HotColumn = G.FGridRowPanel->Active() ? AState.Contains(gdHotTrack) : ACol == Hot.X;
  // Surfaces are true colour: the device shows every lightened colour as computed.
  auto Lighten = [](TColor C, TColor Glass, bool Ungray) { return LightenColor(C, Glass, Ungray); };
  bool Selected = G.FDataLink->Active() && G.FSelection->SelectionType() != gstNon &&
                  G.FSelection->DataCellSelected(DataCol, G.DataSet()->GetBookmark());
  bool FocusHl = false;
  if (!Selected) {
    FocusHl = G.Focused() && Z.Contains(dghHighlightFocus);
    if (Z.Contains(dghRowHighlight) && CurrentRow && G.FSelection->SelectionType() == gstNon &&
        DataCol != G.SelectedIndex() && (O.Contains(dgAlwaysShowSelection) || FocusHl)) {
      FocusHl = true;
      AState = AState + TGridDrawState{gdSelected};
    }
    Selected = (AState.Contains(gdSelected) || (CurrentRow && RowSelect)) &&
               (O.Contains(dgAlwaysShowSelection) || FocusHl) &&
               (G.FUpdateLock == 0 || RowSelect);
  }
  if (!Selected) {
    // The cell under the mouse is lightened; with row highlight its whole row, the rest of
    // the row two thirds of the way back to its own colour.
    if (TrueColour && HotRow && G.CanHotTrackCell(ACol, ARow) && Hot.X >= G.FIndicatorOffset) {
      if (Z.Contains(dghRowHighlight) || RowSelect) {
        AColor = Lighten(AColor, clHighlight, true);
        if (!(HotColumn && !RowSelect)) AColor = ApproachColor(AColor, Own, 170.66666666666666);
      } else if (HotColumn) {
        AColor = Lighten(AColor, clHighlight, true);
      }
    }
    return false;
  }
  auto HotBlend = [&](TColor C) {
    return ApproachColor(C, LightenColor(C, clHighlight, true), 170.66666666666666);
  };
  if (G.GridActive()) {
    if (CurrentRow && (DataCol == G.SelectedIndex() || RowSelect)) {
      AColor = clHighlight;
      AFont->SetColor(clHighlightText);
    } else if (FLuminateSelection && TrueColour) {
      AColor = Lighten(AColor, clHighlight, true);
      if (Z.Contains(dghHotTrack) && Z.Contains(dghRowHighlight) &&
          ((ACol == Hot.X && ACol != G.Col()) || RowSelect) && ARow == Hot.Y)
        AColor = ApproachColor(AColor, clHighlight, 85.33333333333333);
    }
    return true;
  }
  if (CurrentRow && (ACol == G.Col() || RowSelect) &&
      (O.Contains(dgAlwaysShowSelection) || FocusHl)) {
    AColor = clBtnShadow;
    AFont->SetColor(clHighlightText);
    if (HotRow && (ACol == Hot.X || RowSelect)) AColor = HotBlend(AColor);
  } else if (TrueColour) {
    AColor = Lighten(AColor, clBtnShadow, false);
    if (HotRow && (ACol == Hot.X || RowSelect)) AColor = HotBlend(AColor);
  } else {
    AColor = clBtnFace;
  }
  return true;
}

// --- fixed cells ----------------------------------------------------------------------------------

bool TDBGridZkStyle::GetFixedCellHighlight(TCustomDBGridZk* Grid, int, int, int, int,
                                           TCellAreaTypeZk CellArea, TGridDrawState,
                                           bool Selected, TColor& AColor, TFont* AFont) {
  if (!Selected) return false;
  const bool FooterLikeFixed =
      CellArea == catFooter && Grid->FooterColor() == Grid->FixedColor();
  if (CellArea != catFooter && CellArea != catData) {
    // Indicator, title and filter cells.
    AColor = RGB(64, 64, 64);
    AFont->SetColor(clWhite);
  } else if (FooterLikeFixed) {
    AColor = RGB(64, 64, 64);
    AFont->SetColor(clWhite);
  } else if (Grid->GridActive()) {
    if (FLuminateSelection && TrueColor(Grid)) {
      AColor = LightenColor(AColor, clHighlight, true);
    } else {
      AColor = clHighlight;
      AFont->SetColor(clHighlightText);
    }
  } else {
    AColor = TrueColor(Grid) ? LightenColor(AColor, clBtnShadow, false) : clBtnFace;
  }
  return true;
}
