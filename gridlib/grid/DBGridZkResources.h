// DBGridZkResources.h - the grid unit's process-wide pictures: the indicator and sort-marker
// image lists built from the unit's bitmap resources, and the three pointers it registers with
// the screen (column selection over a title, row selection over the indicator).
#pragma once

#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

class TBitmap;
class TImageList;

// Indicator images (6 x 11): current row, edit caret, insert star, two multi-selection marks,
// the current row of a multi-selection and the same over the search highlight colour.
enum : int {
  giiArrowZk, giiEditZk, giiInsertZk, giiMultiDotZk, giiMultiArrowZk, giiSelectedArrowZk,
  giiSearchArrowZk
};
// Sort-marker images (10 x 9): down, up, the drop-down sign, and the lighter down and up.
enum : int { gsiDownZk, gsiUpZk, gsiDropDownZk, gsiLightDownZk, gsiLightUpZk };

// The registered pointers (numbers for Screen->Cursors and a control's Cursor).
enum : TCursor { crColumnSelectZk = 0x4B31, crRowSelectZk, crRowSelectRtlZk };

// Reads bitmap resource Name ("DBSMDOWNZK") of the grid unit into Bitmap; raises EResNotFound.
void LoadGridBitmap(const char* Name, TBitmap* Bitmap);

// Built at unit start and freed at unit end; nullptr outside.
void BuildGridImageLists();
void FreeGridImageLists();
TImageList* GridIndicatorImages();
TImageList* GridSortMarkerImages();
// (Re)builds indicator image 6: the hollow arrow over the search highlight colour.
void BuildSearchArrowImage();

// Loads the three pointers and registers them with the screen; raises EOutOfResources "Cannot
// load cursor resource" (registering none) when one cannot be read.
void LoadGridCursors();
void FreeGridCursors();
