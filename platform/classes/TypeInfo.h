// TypeInfo.h - type information of enumerations and sets, and the kinds of published properties.
//
// An enumeration declared with VORENTA_ENUM gets, besides the plain enum, a TEnumInfo with its
// type name and value names, found by overload resolution on EnumInfoOf(E*); VORENTA_SET names
// a set type the same way through SetInfoOf. The type registry (TypeRegistry.h) reads these
// when a property of such a type is registered, so a property of an enumeration that lacks
// them does not compile.
#pragma once

#include <string_view>
#include <vector>

#include "platform/classes/Sets.h"
#include "platform/rtl/Types.h"

// ORDER TYPEKIND: the kinds of published properties.
enum TTypeKind {
  tkUnknown,
  tkInteger,      // int, 32 bits
  tkChar,         // one UTF-16 character (Char)
  tkEnumeration,  // a VORENTA_ENUM enumeration, or bool as the enumeration "Boolean"
  tkFloat,        // float, double, long double, Currency (TFloatType says which)
  tkString,       // String
  tkSet,          // TSet<E> named with VORENTA_SET
  tkClass,        // pointer to a TObject descendant
  tkMethod,       // an event: std::function held in an On... property
  tkVariant,      // Variant
  tkInt64         // Int64
};

// ORDER FLOATTYPE: how a tkFloat property keeps its value (and so how it is streamed). Scoped,
// since the field types use the names ftSingle and ftExtended too.
enum class TFloatType {
  ftSingle,    // float
  ftDouble,    // double (TDateTime too, marked as a date on its property)
  ftExtended,  // long double
  ftComp,      // not used by our properties; kept for the ordinals
  ftCurr       // Currency
};

// The type name and value names of an enumeration; ordinals run from 0 to Count() - 1.
class TEnumInfo {
public:
  // Names is the comma-separated list of value names, as the macros stringify it.
  TEnumInfo(const char* TypeName, const char* Names);
  TEnumInfo(const TEnumInfo&) = delete;
  TEnumInfo& operator=(const TEnumInfo&) = delete;

  const String& Name() const { return FName; }
  int Count() const { return static_cast<int>(FValueNames.size()); }
  // The name of an ordinal; the ordinal as digits when it is out of range.
  String ValueName(int Ordinal) const;
  // The ordinal of a value name (case ignored), or -1.
  int IndexOf(std::u16string_view ValueName) const;

private:
  String FName;
  std::vector<String> FValueNames;
  bool FNamesDifferInText = true;  // no two names are equal but for case
};

// The type name of a set and the enumeration of its elements.
class TSetInfo {
public:
  TSetInfo(const char* TypeName, const TEnumInfo* ElementType);
  TSetInfo(const TSetInfo&) = delete;
  TSetInfo& operator=(const TSetInfo&) = delete;

  const String& Name() const { return FName; }
  const TEnumInfo* ElementType() const { return FElementType; }

private:
  String FName;
  const TEnumInfo* FElementType;
};

// Boolean is an enumeration of False and True for streaming and the type registry.
const TEnumInfo* EnumInfoOf(bool*);

// Declares a plain enum whose values are the listed identifiers (ordinals 0, 1, ...) together
// with its type information.
#define VORENTA_ENUM(Name, ...)  \
  enum Name { __VA_ARGS__ };     \
  VORENTA_ENUM_NAMES(Name, __VA_ARGS__)

// Type information for an enum declared elsewhere; list every value, in ordinal order.
#define VORENTA_ENUM_NAMES(Name, ...)                             \
  inline const TEnumInfo* EnumInfoOf(Name*) {                     \
    static const TEnumInfo Info(#Name, #__VA_ARGS__);             \
    return &Info;                                                 \
  }

// Names the set type TSet<Enum> Name.
#define VORENTA_SET(Name, Enum)                                                  \
  using Name = TSet<Enum>;                                                       \
  inline const TSetInfo* SetInfoOf(TSet<Enum>*) {                                \
    static const TSetInfo Info(#Name, EnumInfoOf(static_cast<Enum*>(nullptr)));  \
    return &Info;                                                                \
  }
