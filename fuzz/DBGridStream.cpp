// DBGridStream.cpp - fuzz target: a data grid's form-stream text (its options, settings
// objects, the "Columns" collection with titles and footers) read into a data grid, which then
// lays out and computes its footers.
#include "fuzz/FuzzTarget.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/classes/Filer.h"
#include "platform/controls/Forms.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitControls();
  DBGridZkModuleInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TStringStream Text{FuzzBytes(Data, Size)};
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    TDBGridZk Grid(nullptr);
    ReadComponentFromStream(&Binary, &Grid);
    Grid.LayoutChanged();
    for (int I = 0; I < Grid.Columns()->Count(); ++I) {
      TColumnZk* C = Grid.Columns()->Items(I);
      for (int F = 0; F < Grid.FooterRowCount() && F < 8; ++F) (void)Grid.GetFooterText(C, F);
      (void)C->Title()->LeafCaption();
    }
  });
}
