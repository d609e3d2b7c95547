// IdentMap.cpp - looking integer values and their names up in a table.
#include "platform/classes/IdentMap.h"

#include "platform/rtl/SysUtils.h"

bool IntToIdent(Int64 Value, String& Ident, std::span<const TIdentMapEntry> Map) {
  for (const TIdentMapEntry& Entry : Map)
    if (Entry.Value == Value) {
      Ident = Entry.Name;
      return true;
    }
  return false;
}

bool IdentToInt(const String& Ident, Int64& Value, std::span<const TIdentMapEntry> Map) {
  for (const TIdentMapEntry& Entry : Map)
    if (SameText(Ident, Entry.Name)) {
      Value = Entry.Value;
      return true;
    }
  return false;
}
