// DBGridZkResources.cpp - the grid unit's bitmap resources made into its two image lists and
// its three pointers; built once at unit start, freed at unit end.
#include "gridlib/grid/DBGridZkResources.h"

#include <memory>
#include <string>

#include "platform/controls/BitmapCursor.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"

namespace {

constexpr TColor Teal = 0x808000;        // RGB(0, 128, 128)
constexpr TColor NearTeal = 0x7F7F00;    // RGB(0, 127, 127)
constexpr TColor SearchBackColor = clYellow;

std::unique_ptr<TImageList> GIndicatorImages;
std::unique_ptr<TImageList> GSortMarkerImages;

struct TGridCursorResource {
  TCursor Cursor;
  const char* Name;
  int HotX, HotY;
};
constexpr TGridCursorResource GridCursors[] = {
    {crColumnSelectZk, "DOWNCURZK", 7, 13},
    {crRowSelectZk, "RIGHTCURZK", 14, 7},
    {crRowSelectRtlZk, "LEFTCURZK", 1, 7},
};

void AddResource(TImageList* List, const char* Name, TColor Transparent) {
  TBitmap B;
  LoadGridBitmap(Name, &B);
  List->AddMasked(&B, Transparent);
}

}  // namespace

void LoadGridBitmap(const char* Name, TBitmap* Bitmap) {
  Bitmap->LoadFromBytes(LoadResource(std::string("dbgrid/") + Name + ".bmp"));
}

TImageList* GridIndicatorImages() { return GIndicatorImages.get(); }
TImageList* GridSortMarkerImages() { return GSortMarkerImages.get(); }

void BuildGridImageLists() {
  GIndicatorImages = std::make_unique<TImageList>(6, 11);
  for (const char* Name : {"DBGARROWZK", "DBEDITZK", "DBINSERTZK", "DBMULTIDOTZK", "DBMULTIARROWZK"})
    AddResource(GIndicatorImages.get(), Name, clWhite);
  AddResource(GIndicatorImages.get(), "DBGARROWZKW", Teal);
  BuildSearchArrowImage();

  GSortMarkerImages = std::make_unique<TImageList>(10, 9);
  AddResource(GSortMarkerImages.get(), "DBSMDOWNZK", clFuchsia);
  AddResource(GSortMarkerImages.get(), "DBSMUPZK", clFuchsia);
  AddResource(GSortMarkerImages.get(), "DROPDOWNZK", clWhite);
  AddResource(GSortMarkerImages.get(), "DBSMDOWNZK_1", clFuchsia);
  AddResource(GSortMarkerImages.get(), "DBSMUPZK_1", clFuchsia);
}

// The white block of the hollow arrow turns the search colour; the arrow stays a hole.
void BuildSearchArrowImage() {
  if (!GIndicatorImages) return;
  TBitmap B;
  LoadGridBitmap("DBGARROWZKW", &B);
  TImageList Temp(B.Width(), B.Height());
  // The hole's teal must stay apart from the background, or it would vanish with it.
  Temp.SetBkColor(SearchBackColor == Teal ? NearTeal : SearchBackColor);
  Temp.AddMasked(&B, clWhite);
  Temp.GetBitmap(0, &B);
  if (GIndicatorImages->Count() == 7) GIndicatorImages->Delete(giiSearchArrowZk);
  GIndicatorImages->AddMasked(&B, Teal);
}

void FreeGridImageLists() {
  GIndicatorImages.reset();
  GSortMarkerImages.reset();
}

void LoadGridCursors() {
  void* Handles[std::size(GridCursors)] = {};
  for (std::size_t I = 0; I < std::size(GridCursors); ++I) {
    TBitmap B;
    const auto& R = GridCursors[I];
    try {
      LoadGridBitmap(R.Name, &B);
      Handles[I] = CreateBitmapCursor(B, clFuchsia, R.HotX, R.HotY);
    } catch (const Exception&) {
      // A missing or unreadable picture is reported as the unit's own error below.
    }
    if (!Handles[I]) {
      for (void* H : Handles) DestroyBitmapCursor(H);
      throw EOutOfResources(u"Cannot load cursor resource");
    }
  }
  for (std::size_t I = 0; I < std::size(GridCursors); ++I)
    Screen->SetCursors(GridCursors[I].Cursor, Handles[I]);
}

void FreeGridCursors() {
  if (!Screen) return;
  for (const auto& R : GridCursors) {
    DestroyBitmapCursor(Screen->Cursors(R.Cursor));
    Screen->SetCursors(R.Cursor, nullptr);
  }
}
