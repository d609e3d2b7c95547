// Guid.h - new globally unique identifiers in their usual text form.
#pragma once

#include "platform/rtl/Types.h"

// 16 random bytes (version 4) as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
String CreateGUID();
