// DBGridZkModule.cpp - the data grid unit's start and end: the column storage interceptors,
// class registrations, the shared paint style, policy object and sort-marker font, the three
// pointers and the two image lists.
#include "gridlib/grid/DBGridZkModule.h"

#include <memory>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkInterceptors.h"
#include "gridlib/grid/DBGridZkFeatures.h"
#include "gridlib/grid/DBGridZkFilterList.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkFindDlgs.h"
#include "gridlib/grid/DBGridZkSimpleFilterDlg.h"
#include "gridlib/grid/DBGridZkImpExp.h"
#include "gridlib/grid/DBGridZkResources.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/ToolkitModule.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmap.h"

namespace {
int GStarts = 0;
std::unique_ptr<TDBGridZkStyle> GStyle;
std::unique_ptr<TDBGridZkCenter> GCenter;
std::unique_ptr<TFont> GSortMarkerFont;
}  // namespace

TDBGridZkStyle* DBGridZkStyle() { return GStyle.get(); }
TDBGridZkCenter* DBGridZkCenter() { return GCenter.get(); }
TFont* GridSortMarkerFont() { return GSortMarkerFont.get(); }
bool DBGridZkModuleStarted() { return GStarts > 0; }

void DBGridZkModuleInitialize() {
  if (GStarts++ > 0) return;
  ToolkitModuleInitialize();
  RegisterDBGridZkInterceptors();
  GStyle = std::make_unique<TDBGridZkStyle>();
  GCenter = std::make_unique<TDBGridZkCenter>();
  GSortMarkerFont = std::make_unique<TFont>();
  {
    // The sort index is one pixel shorter than the marker beside it.
    TBitmap Marker;
    LoadGridBitmap("DBSMDOWNZK", &Marker);
    GSortMarkerFont->SetHeight(1 - Marker.Height());
  }
  GSortMarkerFont->SetName(u"Arial");
  InitControls();
  LoadGridCursors();
  BuildGridImageLists();
  RegisterGridsClasses();
  RegisterDBSumLstClasses();
  RegisterDBGridZkClasses();
  RegisterDBGridInplaceEditClasses();
  RegisterDBLookupZkClasses();
  DBGridZkFeaturesInitialize();
  DBGridZkFindDlgsInitialize();
  DBGridZkFilterRowInitialize();
  DBGridZkFilterListInitialize();
  DBGridZkImpExpInitialize();
}

void DBGridZkModuleFinalize() {
  if (GStarts == 0 || --GStarts > 0) return;
  DBGridZkFilterListFinalize();
  DBGridZkSimpleFilterDlgFinalize();
  DBGridZkFindDlgsFinalize();
  DBGridZkFeaturesFinalize();
  FreeGridCursors();
  FreeGridImageLists();
  GSortMarkerFont.reset();
  FreeIndicatorTitleMenus();
  GCenter.reset();
  GStyle.reset();
  ToolkitModuleFinalize();
}

int DBGridZkModuleStarts() { return GStarts; }
