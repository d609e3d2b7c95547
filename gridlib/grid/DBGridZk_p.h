// DBGridZk_p.h - what the data grid unit's own sources share.
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "platform/graphics/Picture.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SysUtils.h"

// Whether the unit's start ran (the shared objects exist).
bool DBGridZkModuleStarted();

// Gives the grid's vertical bar (or its external bar) the range, page and position in SI.
void ApplyVertScrollInfo(TCustomDBGridZk* Grid, SCROLLINFO SI);

// While the grid is being designed, points the column's drop-down grid at the lookup list of
// Field (its lookup dataset, key fields and result field); nothing at run time or without a
// field.
void BindDesignTimeDataList(TColumnZk* Column, TField* Field);

// The picture a graphic field holds. A field that is not a blob, an empty one, or bytes holding
// no known picture leave Picture without a graphic (painting and measuring must not raise).
void LoadFieldPicture(TField* Field, TPicture& Picture);

// The memory table's fields show view row RowNum while the scope lasts, however it ends.
class TMemTableRowRead {
public:
  TMemTableRowRead(IMemTableZk* Table, int RowNum) : FTable(Table) { FTable->InstantReadEnter(RowNum); }
  ~TMemTableRowRead() { FTable->InstantReadLeave(); }
  TMemTableRowRead(const TMemTableRowRead&) = delete;
  TMemTableRowRead& operator=(const TMemTableRowRead&) = delete;

private:
  IMemTableZk* FTable;
};
