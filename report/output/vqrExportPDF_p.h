// vqrExportPDF_p.h - helpers shared by the PDF export's own sources only.
#pragma once

#include <string>

#include "platform/rtl/Types.h"

namespace vqrpdf {

// A number with two decimals and "." (FloatToFixedText).
std::string Num(Extended X);
inline std::string Dec(long long X) { return std::to_string(X); }
inline std::string ObjectHeaderText(int N) { return std::to_string(N) + " 0 obj"; }
inline std::string ObjectRefText(int N) { return std::to_string(N) + " 0 R"; }

}  // namespace vqrpdf
