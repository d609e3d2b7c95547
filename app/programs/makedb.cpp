// makedb.cpp - vorenta-makedb: creates the sample database.
//
//   vorenta-makedb [database file [script]]
//
// The file defaults to DATA/vorenta.data under the working directory, the script to the
// sample database of the source tree.
#include <cstdio>

#include "app/SampleDatabase.h"
#include "platform/rtl/Exceptions.h"

int main(int argc, char** argv) {
  const String Path = Utf8ToString(argc > 1 ? argv[1] : "DATA/vorenta.data");
  const String Script = Utf8ToString(argc > 2 ? argv[2] : VORENTA_SAMPLE_SQL);
  try {
    CreateDatabaseFile(Path, ReadTextFile(Script));
  } catch (const Exception& E) {
    std::fprintf(stderr, "vorenta-makedb: %s\n", StringToUtf8(E.Message()).c_str());
    return 1;
  }
  std::printf("%s created\n", StringToUtf8(Path).c_str());
  return 0;
}
