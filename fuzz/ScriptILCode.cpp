// ScriptILCode.cpp - fuzz target: a saved program tree loaded with SetILCode and run, bounded.
#include "fuzz/ScriptFuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TksScript Script;
    PrepareFuzzScript(Script, u"PascalScript");
    if (Script.SetILCode(FuzzBytes(Data, Size))) RunFuzzScript(Script);
  });
}
