// GridExchangeText.cpp - fuzz target: tab-separated text pasted into a data grid, as ANSI text
// or (when the first byte's bit 2 is set) as UTF-16 text. The first byte's low bits pick how the
// paste starts.
#include "fuzz/FuzzTarget.h"
#include "fuzz/GridExchangeFuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static TExchangeFuzzHost Host;
  if (Size == 0) return 0;
  return FuzzRun([&] {
    const bool Wide = Data[0] & 4;
    Host.Run(Wide ? NewGridImporter<TDBGridZkImportAsUnicodeText>
                  : NewGridImporter<TDBGridZkImportAsText>,
             FuzzBytes(Data + 1, Size - 1), Data[0]);
  });
}
