// ReportXMLPartial.cpp - fuzz target: a report XML document loaded partially (items marked
// ld="0" stay in the stream), written with its unloaded items copied from the stream, then
// each such item loaded and moved to the swap file.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Streams.h"
#include "report/core/vqrXML.h"

namespace {

void LoadAndUnload(TvqrXMLDocument& Doc, TvqrXMLItem* Item) {
  Doc.LoadItem(Item);
  for (int i = 0; i < Item->Count(); ++i) LoadAndUnload(Doc, Item->Items(i));
  Doc.UnloadItem(Item);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TvqrXMLDocument Doc;
    Doc.LoadFromStream(new TStringStream{FuzzBytes(Data, Size)}, true);  // the document owns it
    TStringStream Out{std::string_view()};
    Doc.SaveToStream(&Out);
    for (int i = 0; i < Doc.Root()->Count(); ++i) LoadAndUnload(Doc, Doc.Root()->Items(i));
    Doc.SaveToStream(&Out);
  });
}
