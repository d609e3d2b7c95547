// ReportPicture.cpp - fuzz target: bytes of a blob field read by the report's picture object,
// which recognises the format (after an optional database graphic header) and decodes it,
// then draws it on the recording canvas.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Streams.h"
#include "platform/graphics/Metafile.h"
#include "report/core/vqrClass.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TvqrPictureView View(nullptr);
    View.SetBounds(0, 0, 64, 48);
    TMemoryStream In;
    In.WriteBuffer(Data, static_cast<Int64>(Size));
    View.LoadPictureFromStream(&In, true);
    TMetafile M;
    TMetafileCanvas Canvas(&M);
    View.Draw(&Canvas, 1, 1, 0, 0);
  });
}
