// GridLibraryStrings.h - the grid library's user-visible Russian texts: menu captions, column
// filter list entries, the simple filter dialog's operators, import errors and questions. Each
// has its number in the program's string table and is read at the moment it is shown.
#pragma once

#include "platform/rtl/Types.h"

enum TGridLibraryStringId : int {
  SClearSelectedCells = 65043,
  SInvalidTextFormat = 65044,
  SInvalidVclDbifFormat = 65045,
  SErrorInsertingValue = 65046,   // followed by the error's own text
  SIgnoreError = 65047,
  SFieldNameNotFound = 65048,     // format: %s is the field name
  SVisibleColumns = 65049,
  SCut = 65050,
  SCopy = 65051,
  SPaste = 65052,
  SDelete = 65053,
  SSelectAll = 65054,
  SFilterBlanks = 65055,
  SFilterNonBlanks = 65024,
  SFilterAll = 65025,
  SFilterClear = 65026,
  SFilterSortDescending = 65027,
  SFilterSortAscending = 65028,
  SFilterApply = 65029,
  SFilterCustom = 65030,
  // The simple filter dialog's operator list, in its order.
  SOpEqual = 65031,
  SOpNotEqual = 65032,
  SOpGreater = 65033,
  SOpGreaterOrEqual = 65034,
  SOpLess = 65035,
  SOpLessOrEqual = 65036,
  SOpBeginsWith = 65037,
  SOpNotBeginsWith = 65038,
  SOpEndsWith = 65039,
  SOpNotEndsWith = 65008,
  SOpContains = 65009,
  SOpNotContains = 65010,
  SOpLike = 65011,
  SOpNotLike = 65012,
  SOpInList = 65013,
  SOpNotInList = 65014,
  SOpBlanks = 65015,
  SOpNonBlanks = 65016,
  SGroupPanelHint = 65017
};

// The text of Id; an id not in the table raises EResNotFound.
String GridLibraryString(int Id);
