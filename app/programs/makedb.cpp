// makedb.cpp - vorenta-makedb: creates the sample database.
//
//   vorenta-makedb [--colours N] [database file [script]]
//
// The file defaults to DATA/vorenta.data under the working directory, the script to the
// sample database of the source tree. With --colours the catalogue is replaced by N generated
// colours (for measuring the program on a large catalogue).
#include <cstdio>
#include <cstring>

#include "app/SampleDatabase.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

int main(int argc, char** argv) {
  int First = 1;
  int Colours = 0;
  try {
    if (argc > 2 && std::strcmp(argv[1], "--colours") == 0) {
      Colours = StrToInt(Utf8ToString(argv[2]));
      if (Colours < 1) throw EConvertError(u"The number of colours must be at least 1");
      First = 3;
    }
    const String Path = Utf8ToString(argc > First ? argv[First] : "DATA/vorenta.data");
    const String Script = Utf8ToString(argc > First + 1 ? argv[First + 1] : VORENTA_SAMPLE_SQL);
    std::string Sql = ReadTextFile(Script);
    if (Colours > 0) Sql = GeneratedCatalogueScript(Sql, Colours);
    CreateDatabaseFile(Path, Sql);
    std::printf("%s created\n", StringToUtf8(Path).c_str());
  } catch (const Exception& E) {
    std::fprintf(stderr, "vorenta-makedb: %s\n", StringToUtf8(E.Message()).c_str());
    return 1;
  }
  return 0;
}
