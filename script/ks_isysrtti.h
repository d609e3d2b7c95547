// ks_isysrtti.h - the system library every script receives first: type names, constants,
// index helpers, exception variables, conversion, formatting, date, string, maths and other
// functions, and the Variant type codes.
#pragma once

#include "script/ks_iinterpreter.h"

class TksSysFunctions : public TksRTTIModule {
public:
  explicit TksSysFunctions(TksScript* AScript);

  // Hook for tests and for the host: shows a message (ShowMessage). By default the text is
  // written to the standard error stream.
  static std::function<void(const String&)>& OnShowMessage();
};
