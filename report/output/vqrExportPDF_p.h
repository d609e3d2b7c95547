// vqrExportPDF_p.h - helpers shared by the PDF export's own sources only.
#pragma once

#include <string>

#include "platform/rtl/Types.h"

namespace vqrpdf {

// A number with two decimals and "." (FloatToFixedText).
std::string Num(Extended X);

// X rounded to a whole number, halves to even (nearbyint in the default rounding mode), for
// |X| below 2^62: adding and taking away 1.5 * 2^63 leaves no bits below the units. Cheaper
// than nearbyint, which saves and restores the floating-point environment on each call.
inline Extended RoundHalfEven(Extended X) {
  constexpr Extended Shift = 0x1.8p63L;
  return (X + Shift) - Shift;
}
// The same as an int; going through double (exact for a whole number) avoids the x87
// control-word switches of a direct long double to int conversion.
inline int RoundToInt(Extended X) { return static_cast<int>(static_cast<double>(RoundHalfEven(X))); }
inline std::string Dec(long long X) { return std::to_string(X); }
inline std::string ObjectHeaderText(int N) { return std::to_string(N) + " 0 obj"; }
inline std::string ObjectRefText(int N) { return std::to_string(N) + " 0 R"; }

}  // namespace vqrpdf
