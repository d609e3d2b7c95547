// GridExchangeFuzzHost.h - what the grid exchange fuzz targets share: a data grid over a small
// dataset (an integer, a text and a number column), reset before every input, and message boxes
// answered with Yes, so a failing assignment is skipped instead of waiting for a user.
#pragma once

#include <memory>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkImpExp.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/Variants.h"

class TYesAnswerer : public TTestDialogAnswerer {
public:
  TModalResult MessageBox(const TMessageBoxRequest&) override { return mrYes; }
};

struct TExchangeFuzzHost {
  TArrayDataSet* Set = nullptr;
  TDataSource* Source = nullptr;
  TDBGridZk* Grid = nullptr;

  TExchangeFuzzHost() {
    InitControls();
    DBGridZkModuleInitialize();
    DBGridZkImpExpInitialize();
    SetDialogService(std::make_unique<TYesAnswerer>());
    Set = new TArrayDataSet(nullptr);
    Set->FieldDefs()->Add(u"ID", ftInteger);
    Set->FieldDefs()->Add(u"NAME", ftWideString, 20);
    Set->FieldDefs()->Add(u"PRICE", ftFloat);
    Source = new TDataSource(nullptr);
    Source->SetDataSet(Set);
    Grid = new TDBGridZk(nullptr);
    Grid->SetAllowedOperations(Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
    Set->Open();
    Grid->SetDataSource(Source);
  }

  // Three records; Mode's low bits pick the start: the first record, the whole grid, or a
  // record being inserted.
  void Run(TDBGridZkImportClass Importer, std::string_view Bytes, unsigned Mode) {
    if (Set->State() != dsBrowse) Set->Cancel();
    Set->ClearRows();
    for (int I = 1; I <= 3; ++I) Set->AddRow({I, String(u"r"), 1.5 * I});
    Set->First();
    if ((Mode & 3) == 2) Set->Insert();
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    S.SetPosition(0);
    RunGridImporter(Importer, Grid, &S, (Mode & 3) == 1);
  }
};
