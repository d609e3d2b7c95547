// vqrClass_p.h - helpers shared by the report core's own sources (the vqrClass unit and the
// component utilities); not part of its API.
#pragma once

#include "platform/rtl/Types.h"

class TObject;
class TvqrComponent;
class TvqrReport;

namespace vqrclass_detail {

// The string-table text of Key (the key itself when the table lacks it).
String ResText(const String& Key);
// True when Obj's class is ClassName or descends from it (classes of units that may not be
// linked in are recognised by name).
bool InheritsFromName(const TObject* Obj, const String& ClassName);

}  // namespace vqrclass_detail
