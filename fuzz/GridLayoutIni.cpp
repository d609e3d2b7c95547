// GridLayoutIni.cpp - fuzz target: a stored grid layout (an ini text with one value per column
// and the grid's value) restored, every part of it, into a data grid of four columns, which
// then lays out and saves its layout again.
#include "fuzz/FuzzTarget.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/classes/IniFiles.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Forms.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitControls();
  DBGridZkModuleInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TStringList Lines;
    Lines.SetText(FuzzText(Data, Size));
    TMemIniFile Ini(u"");
    Ini.SetStrings(&Lines);
    TDBGridZk Grid(nullptr);
    Grid.SetName(u"Grid1");
    for (const char16_t* Name : {u"ID", u"NAME", u"", u"NAME"})
      Grid.Columns()->Add()->SetFieldName(Name);
    const TDBGridZkRestoreParams All{grpColIndexZk,     grpColWidthsZk,     grpSortMarkerZk,
                                     grpColVisibleZk,   grpRowHeightZk,     grpDropDownRowsZk,
                                     grpDropDownWidthZk, grpRowPanelColPlacementZk};
    Grid.RestoreGridLayout(&Ini, u"Grids", All);
    Grid.SetAutoFitColWidths(true);
    Grid.RestoreGridLayout(&Ini, u"Grids", All);
    Grid.LayoutChanged();
    Grid.SaveGridLayout(&Ini, u"Saved");
  });
}
