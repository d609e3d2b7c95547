// ks_imessages.cpp - defaults of the script engine's message texts.
#include "script/ks_imessages.h"

#include <utility>

String SLangNotFound = u"Language '%s' not found";
String SInvalidLanguage = u"Invalid language definition";
String SIdRedeclared = u"Identifier redeclared: ";
String SUnknownType = u"Unknown type: ";
String SIncompatibleTypes = u"Incompatible types";
String SIdUndeclared = u"Undeclared identifier: ";
String SClassRequired = u"Class type required";
String SIndexRequired = u"Index required";
String SStringError = u"Strings doesn't have properties or methods";
String SClassError = u"Class %s does not have a default property";
String SArrayRequired = u"Array type required";
String SVarRequired = u"Variable required";
String SNotEnoughParams = u"Not enough actual parameters";
String STooManyParams = u"Too many actual parameters";
String SLeftCantAssigned = u"Left side cannot be assigned to";
String SForError = u"For loop variable must be numeric variable";
String SEventError = u"Event handler must be a procedure";

bool SetScriptMessage(const String& Key, const String& Text) {
  static const std::pair<const char16_t*, String*> Table[] = {
      {u"SLangNotFound", &SLangNotFound},         {u"SInvalidLanguage", &SInvalidLanguage},
      {u"SIdRedeclared", &SIdRedeclared},         {u"SUnknownType", &SUnknownType},
      {u"SIncompatibleTypes", &SIncompatibleTypes}, {u"SIdUndeclared", &SIdUndeclared},
      {u"SClassRequired", &SClassRequired},       {u"SIndexRequired", &SIndexRequired},
      {u"SStringError", &SStringError},           {u"SClassError", &SClassError},
      {u"SArrayRequired", &SArrayRequired},       {u"SVarRequired", &SVarRequired},
      {u"SNotEnoughParams", &SNotEnoughParams},   {u"STooManyParams", &STooManyParams},
      {u"SLeftCantAssigned", &SLeftCantAssigned}, {u"SForError", &SForError},
      {u"SEventError", &SEventError}};
  for (auto& [Name, Var] : Table)
    if (Key == Name) {
      *Var = Text;
      return true;
    }
  return false;
}
