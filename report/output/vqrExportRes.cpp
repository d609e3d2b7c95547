// vqrExportRes.cpp - the export filters' string table, compiled in from
// resources/report/export-strings-ru.xml (a table document in the string table's format).
#include "report/output/vqrExportRes.h"

#include <string>

#include "platform/rtl/Resources.h"
#include "report/core/vqrRes.h"

void RegisterExportStrings() {
  StringTable()->AddXML(std::string(LoadResource("report/export-strings-ru.xml")));
}
