// ClassUtils_p.h - small helpers shared by the class library's own sources only.
#pragma once

#include "platform/rtl/Types.h"

namespace classes_detail {

// A letter or underscore, then letters, digits and underscores (ASCII only).
bool IsValidIdent(std::u16string_view Name);

}  // namespace classes_detail
