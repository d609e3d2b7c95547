// makereports.cpp - vorenta-makereports: turns the hand-written report layouts into the
// application's report templates.
//
//   vorenta-makereports <layout folder> <template folder>
//
// Each layout (app/programs/reportlayouts/<report>.xml) holds the pages, bands and text
// objects; the dataset list is a binary property, so this program fills it with the adapters
// the report reads and saves the template (app/resources/reports/<report>.xml) in the
// report engine's own indented format, under the Russian format settings the application's
// tests pin.
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDBSet.h"

namespace {

struct TReportSpec {
  const char16_t* Name;
  std::vector<const char16_t*> Adapters;
};

const TReportSpec Reports[] = {
    {u"vqrRepColor", {u"vqrDBDSColor", u"vqrDBDSColorRec"}},
    {u"vqrRepOrd", {u"vqrDBDSOrd", u"vqrDBDSROrdRec"}},
    {u"vqrRepColorPrice", {u"vqrDBDColorPrice"}},
    {u"vqrRepLKMPrice", {u"vqrDBDLkmPrice"}},
};

void MakeTemplate(const TReportSpec& Spec, const String& LayoutDir, const String& OutDir) {
  // The adapters exist first: names in the layout resolve to them while it loads.
  std::vector<std::unique_ptr<TvqrDBDataset>> Adapters;
  for (const char16_t* Name : Spec.Adapters) {
    Adapters.push_back(std::make_unique<TvqrDBDataset>(nullptr));
    Adapters.back()->SetName(Name);
  }
  TvqrReport Report(nullptr);
  Report.SetName(Spec.Name);
  if (!Report.LoadFromFile(LayoutDir + u"/" + Spec.Name + u".xml", true))
    throw Exception(String(u"No layout for ") + Spec.Name);
  if (Report.Errors()->Count() > 0) throw Exception(Report.Errors()->Text());
  for (auto& Adapter : Adapters) Report.DataSets()->Add(Adapter.get());
  Report.SaveToFile(OutDir + u"/" + Spec.Name + u".xml");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vorenta-makereports <layout folder> <template folder>\n");
    return 2;
  }
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  vqrModuleInitialize();
  int Result = 0;
  for (const TReportSpec& Spec : Reports) {
    try {
      MakeTemplate(Spec, Utf8ToString(argv[1]), Utf8ToString(argv[2]));
      std::printf("%s written\n", StringToUtf8(Spec.Name).c_str());
    } catch (const Exception& E) {
      std::fprintf(stderr, "vorenta-makereports: %s: %s\n", StringToUtf8(Spec.Name).c_str(),
                   StringToUtf8(E.Message()).c_str());
      Result = 1;
    }
  }
  vqrModuleFinalize();
  return Result;
}
