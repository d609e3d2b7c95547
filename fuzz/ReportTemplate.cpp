// ReportTemplate.cpp - fuzz target: a report template read into a report through the
// serializer, and saved again.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Streams.h"
#include "report/core/vqrClass.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterReportClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TvqrReport Report(nullptr);
    TStringStream In{FuzzBytes(Data, Size)};
    Report.LoadFromStream(&In);
    TStringStream Out{std::string_view()};
    Report.SaveToStream(&Out);
  });
}
