// GridsZk_p.h - shared by the GridsZk unit's own sources only: the error texts, the line
// cache and small helpers of the split files.
#pragma once

#include <vector>

#include "gridlib/grid/GridsZk.h"

// The texts of the grid's errors (ORDER GRIDERRORS: as RaiseGridError's kinds).
enum TGridErrorZk {
  geTooLarge, geTooManyDeleted, geIndexOutOfRange, geFixedColTooBig, geFixedRowTooBig,
  geContraColNegative, geContraRowNegative
};
[[noreturn]] void RaiseGridError(TGridErrorZk Kind);

// One batch of grid lines of one colour: two points per line.
struct TGridLinesZk {
  TColor Color = clBlack;
  std::vector<TPoint> Points;
};

// The lines of one paint area gathered by colour and drawn with one PolyPolyline per colour.
// Clear keeps the batches' storage, so a paint allocates nothing once the grid has painted.
class TGridLinesCacheZk {
public:
  TGridLinesZk& GetGridLines(TColor Color);
  void AddLine(TColor Color, int X1, int Y1, int X2, int Y2);
  void Clear();
  void Draw(TCustomGridZk* Grid, TCanvas* Canvas);
  int BatchCount() const { return FUsed; }

private:
  std::vector<TGridLinesZk> FBatches;   // the first FUsed are in use
  int FUsed = 0;
  std::vector<int> FStrokes;
};

// The timer that drives auto-scroll while selecting or moving.
constexpr unsigned GridScrollTimerId = 1;
constexpr unsigned GridScrollTimerInterval = 60;
