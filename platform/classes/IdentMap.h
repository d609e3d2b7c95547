// IdentMap.h - names for integer values ("clBtnFace" for a colour, "RUSSIAN_CHARSET" for a
// character set): the tables that conversions and component streams look them up in.
#pragma once

#include <span>

#include "platform/rtl/Types.h"

struct TIdentMapEntry {
  Int64 Value;
  const char16_t* Name;
};

// The name of Value in Map (the first entry that has it); false when none has.
bool IntToIdent(Int64 Value, String& Ident, std::span<const TIdentMapEntry> Map);
// The value of the entry named Ident, names compared without regard to case; false when none.
bool IdentToInt(const String& Ident, Int64& Value, std::span<const TIdentMapEntry> Map);
