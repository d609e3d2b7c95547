// ScriptJScript.cpp - fuzz target: a JScript program compiled and run for a bounded time.
#include "fuzz/ScriptFuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzScript(u"JScript", Data, Size);
}
