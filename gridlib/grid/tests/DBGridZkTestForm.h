// DBGridZkTestForm.h - the "ITEMS" fixture as an array dataset and a data grid over it on a
// shown form, for the data grid's tests.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Variants.h"

// Saves the control's picture as Name in the folder VORENTA_SHOTS names, when it is set, for
// looking at what a test painted.
inline void SaveShot(TWinControl* Control, const std::string& Name) {
  if (const char* Dir = std::getenv("VORENTA_SHOTS"))
    SaveControlToPng(Control, Utf8ToString(std::string(Dir) + "/" + Name));
}

// ID; NAME with Cyrillic, a quote, a tab, "" and Null; PRICE currency; QTY; FLAG; NOTE memo.
inline void FillItems(TArrayDataSet* Set, int Rows) {
  Set->FieldDefs()->Add(u"ID", ftInteger);
  Set->FieldDefs()->Add(u"NAME", ftWideString, 30);
  Set->FieldDefs()->Add(u"PRICE", ftCurrency);
  Set->FieldDefs()->Add(u"QTY", ftInteger);
  Set->FieldDefs()->Add(u"FLAG", ftBoolean);
  Set->FieldDefs()->Add(u"NOTE", ftWideMemo);
  const Variant Names[] = {String(u"Краска"), String(u"O'Neil"), String(u"a\tb"), String(u""),
                           Null()};
  for (int I = 1; I <= Rows; ++I)
    Set->AddRow({I, Names[(I - 1) % 5], 10.5 * I, I * 2, I % 2 == 0, String(u"memo")});
}

// A lookup field Name on Set, owned by Owner: Set's Keys found as List's ListKeys give Result.
template <class TFieldClass = TWideStringField>
inline TField* AddLookupField(TDataSet* Set, TComponent* Owner, const String& Name,
                              const String& Keys, TDataSet* List, const String& ListKeys,
                              const String& Result) {
  TField* F = new TFieldClass(Owner);
  F->SetFieldName(Name);
  F->SetFieldKind(fkLookup);
  F->SetKeyFields(Keys);
  F->SetLookupDataSet(List);
  F->SetLookupKeyFields(ListKeys);
  F->SetLookupResultField(Result);
  F->SetDataSet(Set);
  return F;
}

inline // Pixels of a cell's inside (one pixel in from each edge), row by row.
std::vector<TColorRef> CellInside(TDBGridZk* G, int ACol, int ARow) {
  TBitmap B;
  RenderControl(G, B);
  const TRect Insets = G->NonClientInsets();
  const TRect R = G->CellScreenRect(ACol, ARow);
  std::vector<TColorRef> Out;
  for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
    for (int X = R.Left + 1; X < R.Right - 1; ++X)
      Out.push_back(B.PixelRGB(Insets.Left + X, Insets.Top + Y));
  return Out;
}

struct TDBGridOnForm {
  TForm* Form = nullptr;
  TDBGridZk* Grid = nullptr;
  TArrayDataSet* Set = nullptr;
  TDataSource* Source = nullptr;

  explicit TDBGridOnForm(int Rows = 10, int Width = 520, int Height = 260) {
    DBGridZkModuleInitialize();
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(40, 40, Width + 40, Height + 60);
    Set = new TArrayDataSet(Form);
    FillItems(Set, Rows);
    Source = new TDataSource(Form);
    Source->SetDataSet(Set);
    Grid = new TDBGridZk(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, Width, Height);
    Form->Show();
    Grid->HandleNeeded();
    Set->Open();
    Grid->SetDataSource(Source);
  }
  ~TDBGridOnForm() {
    delete Form;
    DBGridZkModuleFinalize();
  }
  TDBGridOnForm(const TDBGridOnForm&) = delete;
  TDBGridOnForm& operator=(const TDBGridOnForm&) = delete;
};
