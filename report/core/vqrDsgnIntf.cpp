// vqrDsgnIntf.cpp - the object and export-filter registries.
#include "report/core/vqrDsgnIntf.h"

#include <memory>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TvqrObjectItem) {}
REGISTER_CLASS(TvqrObjectCollection) {}
REGISTER_CLASS(TvqrExportFilterItem) {}
REGISTER_CLASS(TvqrExportFilterCollection) {}

namespace {

std::unique_ptr<TvqrObjectCollection>& ObjectRegistrySlot() {
  static std::unique_ptr<TvqrObjectCollection> Slot;
  return Slot;
}

std::unique_ptr<TvqrExportFilterCollection>& ExportFilterRegistrySlot() {
  static std::unique_ptr<TvqrExportFilterCollection> Slot;
  return Slot;
}

// Classes of units that may not be linked in (databases, dialog controls) are known by name.
bool ClassDescendsFrom(TClass C, const char16_t* Name) {
  for (; C; C = C->Parent())
    if (SameText(C->Name(), Name)) return true;
  return false;
}

TvqrObjectCategories DefaultCategory(TClass C) {
  if (ClassDescendsFrom(C, u"TvqrDataSet") || ClassDescendsFrom(C, u"TvqrCustomDatabase"))
    return {ctData};
  if (ClassDescendsFrom(C, u"TvqrDialogControl") || ClassDescendsFrom(C, u"TvqrDialogComponent"))
    return {ctDialog};
  return {ctReport};
}

}  // namespace

// --- Object registry --------------------------------------------------------------------------

TvqrObjectCollection::TvqrObjectCollection() : TCollection(TvqrObjectItem::ClassInfo()) {}

TvqrObjectItem* TvqrObjectCollection::Items(int Index) const {
  return static_cast<TvqrObjectItem*>(TCollection::Items(Index));
}

void TvqrObjectCollection::RegisterObject1(TClass ClassRef, TBitmap* ButtonBmp,
                                           const String& ButtonHint, const String& CategoryName,
                                           Word Flags, int ImageIndex,
                                           TvqrObjectCategories Category) {
  for (int I = 0; I < Count(); ++I)
    if (ClassRef && Items(I)->ClassRef == ClassRef && Items(I)->Flags == Flags) return;
  if (ClassRef) RegisterClass(ClassRef);
  auto* Item = static_cast<TvqrObjectItem*>(Add());
  Item->ClassRef = ClassRef;
  Item->ButtonBmp = ButtonBmp;
  Item->ButtonImageIndex = ImageIndex;
  Item->ButtonHint = ButtonHint;
  Item->CategoryName = CategoryName;
  Item->Flags = Flags;
  Item->Category = ClassRef && Category.Empty() ? DefaultCategory(ClassRef) : Category;
}

void TvqrObjectCollection::RegisterObject(TClass ClassRef, TBitmap* ButtonBmp,
                                          const String& CategoryName) {
  RegisterObject1(ClassRef, ButtonBmp, {}, CategoryName, 0, -1, {});
}

void TvqrObjectCollection::RegisterCategory(const String& CategoryName, TBitmap* ButtonBmp,
                                            const String& ButtonHint, int ImageIndex) {
  RegisterObject1(nullptr, ButtonBmp, ButtonHint, CategoryName, 0, ImageIndex, {});
}

void TvqrObjectCollection::Unregister(TClass ClassRef) {
  for (int I = Count() - 1; I >= 0; --I)
    if (Items(I)->ClassRef == ClassRef) Delete(I);
}

int TvqrObjectCollection::ImageIndexOf(TClass ClassRef) const {
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->ClassRef == ClassRef) return Items(I)->ButtonImageIndex;
  return -1;
}

// --- Export-filter registry -------------------------------------------------------------------

TvqrExportFilterCollection::TvqrExportFilterCollection()
    : TCollection(TvqrExportFilterItem::ClassInfo()) {}

TvqrExportFilterItem* TvqrExportFilterCollection::Items(int Index) const {
  return static_cast<TvqrExportFilterItem*>(TCollection::Items(Index));
}

void TvqrExportFilterCollection::Register(TvqrCustomExportFilter* Filter) {
  if (!Filter) return;
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->Filter == Filter) return;
  static_cast<TvqrExportFilterItem*>(Add())->Filter = Filter;
}

void TvqrExportFilterCollection::Unregister(TvqrCustomExportFilter* Filter) {
  for (int I = Count() - 1; I >= 0; --I)
    if (Items(I)->Filter == Filter) Delete(I);
}

// --- Accessors --------------------------------------------------------------------------------

TvqrObjectCollection* ObjectRegistry() {
  auto& Slot = ObjectRegistrySlot();
  if (!Slot) Slot = std::make_unique<TvqrObjectCollection>();
  return Slot.get();
}

TvqrExportFilterCollection* ExportFilterRegistry() {
  auto& Slot = ExportFilterRegistrySlot();
  if (!Slot) Slot = std::make_unique<TvqrExportFilterCollection>();
  return Slot.get();
}

void vqrFreeRegistries() {
  ObjectRegistrySlot().reset();
  ExportFilterRegistrySlot().reset();
}
