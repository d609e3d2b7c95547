// FuzzTarget.h - what every fuzz target shares: the entry point and the one rule it checks.
//
// A target feeds the bytes it is given to one parser of outside data. The project's Exception
// (and its descendants) is the parser's ordinary answer to bad input and is absorbed here;
// anything else (another exception, a crash, a sanitizer report, a hang) is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

// The input as bytes.
inline std::string_view FuzzBytes(const std::uint8_t* Data, std::size_t Size) {
  return {reinterpret_cast<const char*>(Data), Size};
}

// The input as text: UTF-8, with malformed sequences replaced.
inline String FuzzText(const std::uint8_t* Data, std::size_t Size) {
  return Utf8ToString(FuzzBytes(Data, Size));
}

// Runs Body; the project's exceptions are the expected answer to bad input.
template <class TBody>
int FuzzRun(TBody&& Body) {
  try {
    Body();
  } catch (const Exception&) {
    // Bad input rejected with the project's own error: what a parser must do.
  }
  return 0;
}
