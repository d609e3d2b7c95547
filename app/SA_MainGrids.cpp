// SA_MainGrids.cpp - the main window's data grids: their common settings on the first
// activation, striped rows, bold base-material lines, colour swatch cells, and the order
// colour's recipe lines shown under it while "+Р" is down.
#include "app/SA_Main.h"

#include "app/DM_MAIN.h"
#include "app/Uf_data.h"
#include "gridlib/grid/DBGridZk.h"
#include "platform/controls/ComCtrls.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Graphics.h"
#include "platform/sqlite/ADODB.h"

namespace {

// Whether the row being painted has Field equal to 1 (a null is not).
bool FieldIsOne(TDBGridZk* Grid, const char16_t* Field) {
  TDataSet* Set = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
  TField* F = Set ? Set->FindField(Field) : nullptr;
  return F && !F->IsNull() && F->AsInteger() == 1;
}

// Fills a swatch column's cell with the row's COLOR; a row without one keeps the grid's drawing.
void PaintSwatch(TDBGridZk* Grid, const TRect& Rect, TColumnZk* Column) {
  if (Column->FieldName() != u"COLOR") return;
  TField* Colour = Column->Field();
  if (!Colour || Colour->IsNull()) return;
  TCanvas* Canvas = Grid->Canvas();
  Canvas->Brush()->SetColor(TColor(Colour->AsInteger()));
  Canvas->Font()->SetColor(clWhite);
  Canvas->FillRect(Rect);
}

}  // namespace

void TSAMAIN::WireGrids() {
  // Rows striped by the painted row's record number (the first is odd); a cell the grid shows
  // as the focused selection keeps its highlight so its text stays readable.
  auto Stripe = [this](TDBGridZk* Grid, TColor& Background) {
    if (Background == clHighlight) return;
    TDataSet* Set = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    if (!Set || !Set->Active()) return;
    Background = Set->RecNo() % 2 != 0 ? RowColorOdd : RowColorEven;
  };
  for (TDBGridZk* Grid : {DBGridZkColor, DBGridZkOrd, DBGridZkOrdTop, DBGridZkOrdRec3,
                          DBGridZkLKMRec})
    Grid->SetOnGetCellParams([Grid, Stripe](TObject*, TColumnZk*, TFont*, TColor& Background,
                                            TGridDrawState) { Stripe(Grid, Background); });
  // Recipe and order lines: the base material's line in bold.
  const std::pair<TDBGridZk*, const char16_t*> BoldBy[] = {
      {DBGridZkColorRec, u"LKM_TP_ID"}, {DBGridZkColorRecA, u"LKM_TP_ID"},
      {DBGridZkOrdRec, u"lvLKM_TP_ID"}};
  for (auto [Grid, Field] : BoldBy)
    Grid->SetOnGetCellParams([Grid = Grid, Field = Field, Stripe](
                                 TObject*, TColumnZk*, TFont* Font, TColor& Background,
                                 TGridDrawState) {
      Stripe(Grid, Background);
      if (FieldIsOne(Grid, Field)) Font->SetStyle(Font->Style() << fsBold);
    });
  for (TDBGridZk* Grid : {DBGridZkColor, DBGridZkOrdTop})
    Grid->SetOnDrawColumnCell([Grid](TObject*, const TRect& Rect, int, TColumnZk* Column,
                                     TGridDrawState) { PaintSwatch(Grid, Rect, Column); });
  ToolButtonRecipe->SetOnClick([this](TObject*) { ShowOrderRecipe(); });
}

// The order colour's recipe lines open under it while "+Р" is down, also after every move.
void TSAMAIN::ShowOrderRecipe() {
  DBGridZkOrdTop->RowDetailPanel()->SetVisible(ToolButtonRecipe->Down());
}

void TSAMAIN::SetupGrids() {
  for (TDBGridZk* Grid : {DBGridZkColor, DBGridZkColorRec, DBGridZkColorRecA}) {
    StyleDataGrid(Grid);
    SetDataGridReadOnly(Grid, true);
  }
  StyleDataGrid(DBGridZkOrdTop);
  const TDBGridZkAllowedOperations OnlyEditing = {alopUpdateZk};
  DBGridZkOrdRec->SetAllowedOperations(OnlyEditing);
  StyleDataGrid(DBGridZkOrdRec);
  DBGridZkOrdRec->SetAllowedOperations(OnlyEditing);
  for (int I = 0; I < DBGridZkOrdRec->Columns()->Count(); ++I) {
    TColumnZk* Column = DBGridZkOrdRec->Columns()->Items(I);
    if (Column->FieldName() == u"AM0") Column->Title()->SetCaption(u"Количество, кг| расчетное ");
    if (Column->FieldName() == u"AM") Column->Title()->SetCaption(u"Количество, кг| фактич. ");
  }
  StyleDataGrid(DBGridZkLKMRec);
  DBGridZkLKMRec->SetAllowedOperations(OnlyEditing);
  StyleDataGrid(DBGridZkOrdRec3);
  const TDataSetNotifyEvent Previous = DM->OrdTop->AfterScroll();
  DM->OrdTop->SetAfterScroll([this, Previous](TDataSet* Set) {
    if (Previous) Previous(Set);
    ShowOrderRecipe();
  });
  if (DBGridZkColor->CanFocus()) DBGridZkColor->SetFocus();
}
