// BenchSample.h - a generated sample database in a temporary folder, with the data module open
// on it, for the benchmarks that run the application's own code. Freed, it takes the folder with
// it. The benchmark target defines VORENTA_SAMPLE_SQL, the sample database's script.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/AppDialogs.h"
#include "app/AppReports.h"
#include "app/DM_MAIN.h"
#include "app/SampleDatabase.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"
#include "report/core/vqrClass.h"

class TBenchSample {
public:
  // The sample with Colours generated colours in temp/FolderName, which becomes the working
  // folder; message boxes are answered silently.
  TBenchSample(const std::string& FolderName, int Colours)
      : Dir(std::filesystem::temp_directory_path() / FolderName) {
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    std::filesystem::current_path(Dir);
    CreateDatabaseFile(u"DATA/vorenta.data",
                       GeneratedCatalogueScript(ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL)),
                                                Colours));
    SetAppBoxHandler([](TAppBoxKind, const String&, const String&) { return true; });
    Module = std::make_unique<TDM>(nullptr);
    Module->RefreshAllData();
  }
  ~TBenchSample() {
    Reports.reset();
    Module.reset();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(Dir);
  }

  // The application's reports over the module, with the colour price list's query reopened as
  // its preview command does; the report is not prepared yet.
  TvqrReport* ColourPriceList() {
    Reports = std::make_unique<TAppReports>(Module.get());
    Module->Reports = nullptr;
    Module->PreviewColourPriceList();
    return Reports->Report(u"vqrRepColorPrice");
  }

  std::filesystem::path Dir;
  std::unique_ptr<TDM> Module;
  std::unique_ptr<TAppReports> Reports;
};
