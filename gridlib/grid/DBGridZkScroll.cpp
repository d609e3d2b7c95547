// DBGridZkScroll.cpp - scrolling by pixels: the scroll-bar settings' SmoothStep, the base grid's
// pixel-scrolling queries answered from them, and which of the window's bars the base grid runs;
// and the screen position kept across a dataset operation.
//
// Sideways the grid scrolls by pixels unless the horizontal settings say otherwise. Vertically
// only a memory table's whole view can scroll by pixels (extended scrolling with SmoothStep):
// the base grid then owns the window's vertical bar; otherwise the data grid sets that bar
// itself (from the dataset cursor or the view's rows).
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridZk_p.h"
#include "platform/db/DataSet.h"

// --- the settings ---------------------------------------------------------------------------------

// Sideways the default is by pixels; set here so no grid reacts while being built.
THorzDBGridZkScrollBar::THorzDBGridZkScrollBar(TCustomDBGridZk* Grid)
    : TDBGridZkScrollBar(Grid, sbHorizontal) {
  FSmoothStep = true;
}

void TDBGridZkScrollBar::SetSmoothStep(bool Value) {
  if (Value == FSmoothStep) return;
  FSmoothStep = Value;
  Changed();
}

void TDBGridZkScrollBar::Changed() {}

void THorzDBGridZkScrollBar::Changed() {
  if (FGrid) FGrid->SmoothStepChanged(sbHorizontal);
}

void TVertDBGridZkScrollBar::Changed() {
  if (FGrid) FGrid->SmoothStepChanged(sbVertical);
}

// --- the grid -------------------------------------------------------------------------------------

bool TCustomDBGridZk::VertSmoothScroll() {
  return FVertScrollBar ? FVertScrollBar->SmoothStep() : TCustomGridZk::VertSmoothScroll();
}

// A cell-scrolled axis starts at a whole cell: the pixels of the first cell scrolled out go.
void TCustomDBGridZk::SmoothStepChanged(TScrollBarKind Kind) {
  const bool Horz = Kind == sbHorizontal;
  const bool Smooth = Horz ? HorzSmoothScroll() : VertSmoothScroll();
  const int Offset = Horz ? FDataOffset.cx : FDataOffset.cy;
  if (!Smooth && Offset != 0) Horz ? ScrollPixelsBy(-Offset, 0) : ScrollPixelsBy(0, -Offset);
  if (Horz) RecalcHorzDataSize();
  else RecalcVertDataSize();
  UpdateScrollBarRanges();
  if (!Horz && HandleAllocated()) LayoutChanged();
}

// The horizontal bar shows unless the columns fit the width or the settings hide it or hand it
// to an external bar; the vertical bar is the base grid's only while it scrolls by pixels.
void TCustomDBGridZk::UpdateScrollStyle() {
  const bool Horz = (!FAutoFitColWidths || ComponentState().Contains(csDesigning)) &&
                    FHorzScrollBar->Visible() && !FHorzScrollBar->ExtScrollBar();
  const bool Vert = FVertScrollBar->Visible() && ExtendedScrolling() && FVertScrollBar->SmoothStep();
  const TScrollStyle Style = Horz ? (Vert ? ssBoth : ssHorizontal) : (Vert ? ssVertical : ssNone);
  if (Style == ScrollBars()) return;
  SetScrollBars(Style);
  if (HandleAllocated()) UpdateScrollBar();
}

// --- the screen position across a dataset operation ------------------------------------------------

// Over a buffer the middle row's record is kept with the current record's distance from it:
// going back to the middle record centres it again, and the distance puts the current record
// on its old row.
void TCustomDBGridZk::SaveBookmark() {
  FLockedBookmark.clear();
  FLookedOffset = 0;
  TDataSet* D = FDataLink->Active() ? DataSet() : nullptr;
  if (!D || D->IsEmpty() || !D->BookmarkAvailable()) return;
  if (UsesMemTable()) {
    FLockedBookmark = D->GetBookmark();
    return;
  }
  const int N = FDataLink->RecordCount();
  if (N < 1) return;
  FLookedOffset = FDataLink->ActiveRecord() - (N - 1) / 2;
  MoveBy(-FLookedOffset);
  FLockedBookmark = D->GetBookmark();
  MoveBy(FLookedOffset);
}

void TCustomDBGridZk::RestoreBookmark() {
  TDataSet* D = FDataLink->Active() ? DataSet() : nullptr;
  if (!D || FLockedBookmark.empty() || !D->BookmarkValid(FLockedBookmark)) return;
  D->GotoBookmark(FLockedBookmark);
  if (!UsesMemTable() && FLookedOffset != 0) MoveBy(FLookedOffset);
}
