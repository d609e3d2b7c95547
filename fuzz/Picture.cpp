// Picture.cpp - fuzz target: picture bytes of any kind (BMP, PNG, JPEG, icon) read through
// TPicture, drawn to a bitmap and written back.
#include "fuzz/FuzzTarget.h"
#include "platform/graphics/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TPicture Picture;
    Picture.LoadFromBytes(FuzzBytes(Data, Size));
    if (!Picture.Graphic()) return;
    (void)Picture.Graphic()->SaveToBytes();
    TPicture Copy;
    Copy.Assign(&Picture);
    (void)Copy.Bitmap();
  });
}
