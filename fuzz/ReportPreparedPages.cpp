// ReportPreparedPages.cpp - fuzz target: a prepared-report file (.vt3) loaded into the page
// store, every page rebuilt and measured, the outline walked, and the store saved again.
#include "fuzz/FuzzTarget.h"

#include "platform/classes/Streams.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrPreviewPages.h"

namespace {

void WalkOutline(TvqrCustomOutline* Outline, int Depth) {
  if (Depth > 64) return;
  for (int I = 0; I < Outline->Count(); ++I) {
    String Text;
    int Page = 0, Top = 0;
    Outline->GetItem(I, Text, Page, Top);
    Outline->LevelDown(I);
    WalkOutline(Outline, Depth + 1);
    Outline->LevelUp();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const bool Started = (vqrModuleInitialize(), true);
  (void)Started;
  return FuzzRun([&] {
    TvqrPreviewPages Store(nullptr);
    TMemoryStream In;
    In.WriteBuffer(Data, static_cast<Int64>(Size));
    In.SetPosition(0);
    Store.LoadFromStream(&In);
    for (int I = 0; I < Store.Count() && I < 50; ++I) {
      Store.PageSize(I);
      Store.Page(I);
      Store.CurPage = I;
      Store.GetLogicalPageNo();
      Store.GetLogicalTotalPages();
    }
    Store.Outline()->LevelRoot();
    WalkOutline(Store.Outline(), 0);
    TMemoryStream Out;
    Store.SaveToStream(&Out);
  });
}
