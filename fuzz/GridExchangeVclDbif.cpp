// GridExchangeVclDbif.cpp - fuzz target: a "VCLDBIF" block (as another program may put on the
// clipboard) pasted into a data grid. The first byte picks how the paste starts.
#include "fuzz/FuzzTarget.h"
#include "fuzz/GridExchangeFuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static TExchangeFuzzHost Host;
  if (Size == 0) return 0;
  return FuzzRun([&] {
    Host.Run(NewGridImporter<TDBGridZkImportAsVCLDBIF>, FuzzBytes(Data + 1, Size - 1), Data[0]);
  });
}
