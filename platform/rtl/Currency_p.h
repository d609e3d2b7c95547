// Currency_p.h - what the run-time library's own sources share about Currency's rounding.
// Not part of the interface.
#pragma once

namespace currency_detail {

// Numerator / Denominator rounded to nearest, halves to even.
__int128 DivideRoundingEven(__int128 Numerator, __int128 Denominator);

}  // namespace currency_detail
