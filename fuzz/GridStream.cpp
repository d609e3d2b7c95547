// GridStream.cpp - fuzz target: a grid's form-stream text (its counts and the "ColWidths" and
// "RowHeights" lists) read into a base grid.
#include "fuzz/FuzzTarget.h"
#include "gridlib/grid/GridsZk.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"

namespace {

class TFuzzGrid : public TCustomGridZk {
  VORENTA_CLASS(TFuzzGrid, TCustomGridZk)
public:
  using TCustomGridZk::TCustomGridZk;
  void PaintCell(int, int, const TRect&, TGridDrawState) override {}
};

}  // namespace

REGISTER_CLASS(TFuzzGrid) {}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitControls();
  RegisterClass(TFuzzGrid::ClassInfo());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TStringStream Text{FuzzBytes(Data, Size)};
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    TFuzzGrid Grid(nullptr);
    ReadComponentFromStream(&Binary, &Grid);
    // The layout of whatever was read must hold together.
    (void)Grid.MouseCoord(10, 10);
    (void)Grid.CellsBoxRect(0, 0, Grid.ColCount() - 1, Grid.RowCount() - 1);
  });
}
