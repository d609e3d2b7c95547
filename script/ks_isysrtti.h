// ks_isysrtti.h - the system library every script receives first: type names, constants,
// index helpers, exception variables, conversion, formatting, date, string, maths and other
// functions, and the Variant type codes.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "script/ks_iinterpreter.h"

// Late-bound automation is not available: CreateOleObject raises it.
VORENTA_DECLARE_EXCEPTION(EOleError, Exception);

class TksSysFunctions : public TksRTTIModule {
public:
  explicit TksSysFunctions(TksScript* AScript);

  // Hook for the host: shows a message (ShowMessage). By default nothing is shown; the
  // window-system bindings (scriptui) show the platform's message box instead.
  static std::function<void(const String&)>& OnShowMessage();
};
