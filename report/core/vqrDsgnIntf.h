// vqrDsgnIntf.h - the report engine's process-wide registries: report object classes with
// their palette data, and every live export filter.
//
// Each registry is created on first use by its accessor and freed by vqrFreeRegistries (the
// module's end). Export filters register themselves when created and leave when freed, so
// the export-filter registry holds exactly the live filters, in creation order (the order of
// the preview's export menu).
#pragma once

#include "platform/classes/Collection.h"
#include "platform/classes/TypeInfo.h"

class TBitmap;
class TvqrCustomExportFilter;

VORENTA_ENUM(TvqrObjectCategory, ctData, ctReport, ctDialog, ctDMP);
VORENTA_SET(TvqrObjectCategories, TvqrObjectCategory);

// A report object class (or, without a class, a palette category) and its palette data.
class TvqrObjectItem : public TCollectionItem {
  VORENTA_CLASS(TvqrObjectItem, TCollectionItem)
public:
  explicit TvqrObjectItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

  TClass ClassRef = nullptr;
  TBitmap* ButtonBmp = nullptr;  // not owned
  int ButtonImageIndex = -1;
  String ButtonHint;
  String CategoryName;
  Word Flags = 0;
  TvqrObjectCategories Category;
};

class TvqrObjectCollection : public TCollection {
  VORENTA_CLASS(TvqrObjectCollection, TCollection)
public:
  TvqrObjectCollection();

  TvqrObjectItem* Items(int Index) const;
  // Appends an entry unless one with the same class and Flags exists; a class is also made
  // findable by name. A class given with an empty Category gets [ctData] for data sources
  // and databases, [ctDialog] for dialog controls and components, else [ctReport].
  void RegisterObject1(TClass ClassRef, TBitmap* ButtonBmp, const String& ButtonHint = {},
                       const String& CategoryName = {}, Word Flags = 0, int ImageIndex = -1,
                       TvqrObjectCategories Category = {});
  void RegisterObject(TClass ClassRef, TBitmap* ButtonBmp, const String& CategoryName = {});
  void RegisterCategory(const String& CategoryName, TBitmap* ButtonBmp,
                        const String& ButtonHint = {}, int ImageIndex = -1);
  // Removes every entry of the class.
  void Unregister(TClass ClassRef);
  // The image index registered for the class, or -1 when it is not registered.
  int ImageIndexOf(TClass ClassRef) const;
};

class TvqrExportFilterItem : public TCollectionItem {
  VORENTA_CLASS(TvqrExportFilterItem, TCollectionItem)
public:
  explicit TvqrExportFilterItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

  TvqrCustomExportFilter* Filter = nullptr;  // not owned
};

class TvqrExportFilterCollection : public TCollection {
  VORENTA_CLASS(TvqrExportFilterCollection, TCollection)
public:
  TvqrExportFilterCollection();

  TvqrExportFilterItem* Items(int Index) const;
  // Ignores nullptr and a filter already present.
  void Register(TvqrCustomExportFilter* Filter);
  // Removes every entry holding the filter.
  void Unregister(TvqrCustomExportFilter* Filter);
};

TvqrObjectCollection* ObjectRegistry();
TvqrExportFilterCollection* ExportFilterRegistry();
// Frees both registries (the next accessor call makes a new, empty one).
void vqrFreeRegistries();
