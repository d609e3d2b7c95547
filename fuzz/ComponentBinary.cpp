// ComponentBinary.cpp - fuzz target: a binary component stream converted to its text form and
// read into a component.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterClass(TComponent::ClassInfo());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    {
      TStringStream Binary{FuzzBytes(Data, Size)};
      TMemoryStream Text;
      ObjectBinaryToText(&Binary, &Text);
    }
    TStringStream Binary{FuzzBytes(Data, Size)};
    TComponent Root(nullptr);
    ReadComponentFromStream(&Binary, &Root);
  });
}
