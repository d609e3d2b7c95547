// DBConsts.cpp - the framework's error helpers and the texts that take a name.
#include "platform/db/DBConsts.h"

#include "platform/classes/Component.h"
#include "platform/rtl/SysUtils.h"

const char16_t* FieldTypeName(TFieldType Type) {
  static std::vector<String> Names = [] {
    std::vector<String> Result;
    const TEnumInfo* Info = EnumInfoOf(static_cast<TFieldType*>(nullptr));
    for (int I = 0; I < Info->Count(); ++I) Result.push_back(Info->ValueName(I));
    return Result;
  }();
  int Index = static_cast<int>(Type);
  return Index >= 0 && Index < static_cast<int>(Names.size()) ? Names[Index].c_str() : u"";
}

bool IsNumberFieldType(TFieldType Type) {
  switch (Type) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD:
    case ftFMTBcd:
      return true;
    default:
      return false;
  }
}

void DatabaseError(const String& Message, const TComponent* Component) {
  if (Component && !Component->Name().empty())
    throw EDatabaseError(Component->Name() + u": " + Message);
  throw EDatabaseError(Message);
}

String ExtractFieldName(const String& Fields, std::size_t& Pos) {
  std::size_t End = Pos;
  while (End < Fields.size() && Fields[End] != u';') ++End;
  String Result = Trim(Fields.substr(Pos < Fields.size() ? Pos : Fields.size(),
                                     End > Pos ? End - Pos : 0));
  Pos = End < Fields.size() ? End + 1 : End;
  return Result;
}

String FieldNotFoundText(const String& Name) { return u"Field '" + Name + u"' not found"; }
String FieldRequiredText(const String& DisplayName) {
  return u"Field '" + DisplayName + u"' must have a value";
}
String FieldReadOnlyText(const String& DisplayName) {
  return u"Field '" + DisplayName + u"' cannot be modified";
}
String DuplicateFieldText(const String& Name) { return u"Duplicate field name '" + Name + u"'"; }
String ParamNotFoundText(const String& Name) { return u"Parameter '" + Name + u"' not found"; }
String InvalidFieldValueText(const String& Value, const String& DisplayName) {
  return u"'" + Value + u"' is not a valid value for field '" + DisplayName + u"'";
}
String FieldRangeText(const String& Value, const String& DisplayName, const String& Min,
                      const String& Max) {
  return Value + u" is not a valid value for field '" + DisplayName +
         u"'. The allowed range is " + Min + u" to " + Max;
}
String FieldTypeMismatchText(const String& Name, TFieldType Expected, TFieldType Actual) {
  String E = FieldTypeName(Expected), A = FieldTypeName(Actual);
  return u"Type mismatch for field '" + Name + u"', expecting: " + E.substr(2) +
         u" actual: " + A.substr(2);
}
String LookupInfoText(const String& DisplayName) {
  return u"Lookup information for field '" + DisplayName + u"' is incomplete";
}
