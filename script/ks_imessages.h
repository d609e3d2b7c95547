// ks_imessages.h - the script engine's seventeen message texts.
//
// Each is a process-wide string set to its default at start-up; a host may replace any of them
// by key (the report engine installs its translations this way).
#pragma once

#include "platform/rtl/Types.h"

extern String SLangNotFound;
extern String SInvalidLanguage;
extern String SIdRedeclared;
extern String SUnknownType;
extern String SIncompatibleTypes;
extern String SIdUndeclared;
extern String SClassRequired;
extern String SIndexRequired;
extern String SStringError;
extern String SClassError;
extern String SArrayRequired;
extern String SVarRequired;
extern String SNotEnoughParams;
extern String STooManyParams;
extern String SLeftCantAssigned;
extern String SForError;
extern String SEventError;

// Replaces the text of Key (for example "SIdUndeclared"); false when the key is unknown.
bool SetScriptMessage(const String& Key, const String& Text);
