// ComponentText.cpp - fuzz target: a component stream in its text form, converted to the
// binary form, back to text, and read into a component.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterClass(TComponent::ClassInfo());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TStringStream Text{FuzzBytes(Data, Size)};
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    TMemoryStream Again;
    ObjectBinaryToText(&Binary, &Again);
    Binary.SetPosition(0);
    TComponent Root(nullptr);
    ReadComponentFromStream(&Binary, &Root);
  });
}
