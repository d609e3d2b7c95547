// ReportXML.cpp - fuzz target: a report XML document read whole, written, and read again.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Streams.h"
#include "report/core/vqrXML.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TStringStream In{FuzzBytes(Data, Size)};
    TvqrXMLDocument Doc;
    Doc.LoadFromStream(&In);
    TStringStream Out{std::string_view()};
    Doc.SaveToStream(&Out);
    Out.SetPosition(0);
    TvqrXMLDocument Again;
    Again.LoadFromStream(&Out);
  });
}
