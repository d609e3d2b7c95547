// ClassUtils_p.h - small helpers shared by the class library's own sources only.
#pragma once

#include <initializer_list>

#include "platform/rtl/Types.h"

namespace classes_detail {

// Case-blind comparison of ASCII letters, as names of components, classes and properties are
// compared; other characters compare as they are.
bool SameName(std::u16string_view A, std::u16string_view B);

// Replaces each %s and %d of Pattern, in order, by the next of Args ("%%" gives "%").
String FormatMsg(std::u16string_view Pattern, std::initializer_list<String> Args);

String IntToText(Int64 Value);

// A letter or underscore, then letters, digits and underscores (ASCII only).
bool IsValidIdent(std::u16string_view Name);

}  // namespace classes_detail
