// ScriptXML.cpp - fuzz target: the script engine's XML reader, and writing back what it read.
#include "fuzz/FuzzTarget.h"
#include "script/ks_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TksXMLDocument Doc;
    Doc.LoadFromString(FuzzBytes(Data, Size));
    std::string Saved = Doc.SaveToString();
    TksXMLDocument Again;
    Again.LoadFromString(Saved);
  });
}
