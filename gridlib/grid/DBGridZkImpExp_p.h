// DBGridZkImpExp_p.h - what the exchange unit's own sources share: the columns a selection
// names, the grid's position kept across a walk, and the dataset's controls held disabled.
#pragma once

#include "gridlib/grid/DBGridZkImpExp.h"
#include "platform/db/DataSet.h"

namespace impexp {

// The visible columns from the visible index First to Last (both clamped).
TColumnsZkList VisibleColumnRange(TCustomDBGridZk* Grid, int First, int Last);
// The columns a selection kind exports or receives: the visible ones for records and all,
// the rectangle's visible ones, the selected ones; for gstNon the visible columns from the
// selected one to the last (Tail) or the selected one alone.
TColumnsZkList SelectionColumns(TCustomDBGridZk* Grid, TDBGridZkSelectionType Kind, bool Tail);

// The dataset's current bookmark, or none on an empty or inactive dataset.
TBookmark SavePosition(TDataSet* D);
// Back to a saved bookmark the dataset still knows; a pending edit is posted.
void RestorePosition(TDataSet* D, const TBookmark& B);

// Controls disabled for the lifetime of the guard.
class TControlsDisabled {
public:
  explicit TControlsDisabled(TDataSet* D) : FDataSet(D) { FDataSet->DisableControls(); }
  ~TControlsDisabled() { FDataSet->EnableControls(); }
  TControlsDisabled(const TControlsDisabled&) = delete;
  TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
  TDataSet* FDataSet;
};

// Walks from the rectangle's top row to its bottom row (or the end), calling Fn per record.
template <class F> void WalkRectangle(TCustomDBGridZk* Grid, F&& Fn) {
  TDataSet* D = Grid->DataSet();
  TDBGridZkSelectionRect* R = Grid->Selection()->Rect();
  const TBookmarkRef Bottom = R->BottomRow();
  D->GotoBookmark(*R->TopRow());
  while (true) {
    Fn();
    if (D->CompareBookmarks(D->GetBookmark(), *Bottom) == 0) break;
    D->Next();
    if (D->Eof()) break;
  }
}

}  // namespace impexp
