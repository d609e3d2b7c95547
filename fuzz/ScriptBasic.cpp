// ScriptBasic.cpp - fuzz target: a BasicScript program compiled and run for a bounded time.
#include "fuzz/ScriptFuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzScript(u"BasicScript", Data, Size);
}
