// vorenta.cpp - the program entry. Until the windows exist it opens the database through the
// data module, prints a short summary of the catalogue, orders and price list, and ends.
#include <cstdio>

#include "app/AppDialogs.h"
#include "app/DM_MAIN.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

bool PrintBox(TAppBoxKind Kind, const String& Text, const String& Caption) {
  std::fprintf(stderr, "[%s] %s\n", StringToUtf8(Caption).c_str(), StringToUtf8(Text).c_str());
  return Kind == TAppBoxKind::Question ? false : true;
}

void PrintCount(const char* What, TDataSet* DataSet) {
  std::printf("%-12s %d\n", What, DataSet->RecordCount());
}

}  // namespace

int main() {
  SetAppBoxHandler(PrintBox);
  try {
    TDM Module(nullptr);
    DM = &Module;
    Module.StartDirectory = GetCurrentDir();
    Module.RefreshAllData();
    std::printf("V o r e n t a\n");
    PrintCount("Colours:", Module.Color);
    PrintCount("Orders:", Module.Ord);
    PrintCount("Products:", Module.LKMRec);
  } catch (const Exception& E) {
    ShowAppError(E.Message());
    return 1;
  }
  return 0;
}
