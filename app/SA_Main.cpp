// SA_Main.cpp - the main window's creation, first activation, the catalogue tab, the search
// panel and the edit actions.
#include "app/SA_Main.h"

#include "app/ABOUT.h"
#include "app/AppForms.h"
#include "app/DM_MAIN.h"
#include "app/SA_Find.h"
#include "app/SA_OrdAdd.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/db/Fields.h"
#include "platform/dbctrls/DBCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/sqlite/ADODB.h"

TSAMAIN* SAMAIN = nullptr;

REGISTER_CLASS(TSAMAIN) {}

namespace {
constexpr TColor kHoverCaption = TColor(16711680);   // blue
}  // namespace

TSAMAIN::TSAMAIN(TComponent* AOwner) : TForm(AOwner) {
  SAMAIN = this;
  ReadAppForm(this, "forms/SA_Main.dfm");
  FindComponents();
  LoadBanner(ImageTop);
  FirstActivate = true;
  StartDirectory = GetCurrentDir();
  SetOnActivate([this](TObject*) { FormActivate(); });
  WireCatalogue();
  WireSearchPanel();
  WireOrders();
  WirePriceList();
  WireActions();
  WireGrids();
  // Hover: the captions of these buttons turn blue under the mouse.
  for (TControl* Button : std::initializer_list<TControl*>{bbtnCalc, BtnSearch, BtnFilter,
                                                           BtnCancelFilter, bbtnOrd,
                                                           BtnRecalcCatalog, BtnPriceReports2}) {
    Button->SetOnMouseEnter([Button](TObject*) { Button->Font()->SetColor(kHoverCaption); });
    Button->SetOnMouseLeave([Button](TObject*) { Button->Font()->SetColor(clBlack); });
  }
}

TSAMAIN::~TSAMAIN() {
  // Freeing the pages shows the next one: nothing may reach the data module any more.
  for (TTabSheet* Sheet : {TabSheetCatalog, TabSheetOrders, TabSheetPrice}) Sheet->SetOnShow(nullptr);
  if (DM && SAMAIN == this) {
    DM->OnColourSwatch = nullptr;
    DM->OrdTop->SetAfterScroll(nullptr);
  }
  if (SAMAIN == this) SAMAIN = nullptr;
}

void TSAMAIN::FindComponents() {
  VORENTA_FORM_FIND(this, ImageTop);
  VORENTA_FORM_FIND(this, PageControl1);
  VORENTA_FORM_FIND(this, TabSheetCatalog);
  VORENTA_FORM_FIND(this, TabSheetOrders);
  VORENTA_FORM_FIND(this, TabSheetPrice);
  VORENTA_FORM_FIND(this, Panel2);
  VORENTA_FORM_FIND(this, PanelOrdRec3);
  VORENTA_FORM_FIND(this, DBNavigatorColor);
  VORENTA_FORM_FIND(this, DBNavigatorOrd);
  VORENTA_FORM_FIND(this, DBNavigatorOrdTop);
  VORENTA_FORM_FIND(this, DBNavigatorLKMRec);
  VORENTA_FORM_FIND(this, ToolButtonColorRefresh);
  VORENTA_FORM_FIND(this, ToolButtonColorRecipe);
  VORENTA_FORM_FIND(this, ToolButtonOrdRefresh);
  VORENTA_FORM_FIND(this, ToolButtonOrdCreate);
  VORENTA_FORM_FIND(this, ToolButtonOrdDelete);
  VORENTA_FORM_FIND(this, ToolButtonOrdReprice);
  VORENTA_FORM_FIND(this, ToolButtonRecipe);
  VORENTA_FORM_FIND(this, ToolButtonOrdPreview);
  VORENTA_FORM_FIND(this, ToolButtonOrdPrint);
  VORENTA_FORM_FIND(this, ToolButtonOrdExport);
  VORENTA_FORM_FIND(this, ToolButtonLKMRefresh);
  VORENTA_FORM_FIND(this, ToolButtonLKMAdd);
  VORENTA_FORM_FIND(this, ToolButtonLKMEdit);
  VORENTA_FORM_FIND(this, ToolButtonLKMDelete);
  VORENTA_FORM_FIND(this, BtnPriceReports1);
  VORENTA_FORM_FIND(this, BtnPriceReports2);
  VORENTA_FORM_FIND(this, BtnRecalcCatalog);
  VORENTA_FORM_FIND(this, BtnExit1);
  VORENTA_FORM_FIND(this, BtnExit2);
  VORENTA_FORM_FIND(this, BtnExit3);
  VORENTA_FORM_FIND(this, ShapeFlt1);
  VORENTA_FORM_FIND(this, ShapeFlt2);
  VORENTA_FORM_FIND(this, ShapeFlt3);
  VORENTA_FORM_FIND(this, CheckBoxNM);
  VORENTA_FORM_FIND(this, CheckBoxColorTP);
  VORENTA_FORM_FIND(this, CheckBoxPrice);
  VORENTA_FORM_FIND(this, MaskEditNM);
  VORENTA_FORM_FIND(this, BtnClearNM);
  VORENTA_FORM_FIND(this, BtnSearch);
  VORENTA_FORM_FIND(this, BtnFilter);
  VORENTA_FORM_FIND(this, BtnCancelFilter);
  VORENTA_FORM_FIND(this, ShapeColor);
  VORENTA_FORM_FIND(this, DBNumberEditZkPrice1);
  VORENTA_FORM_FIND(this, DBNumberEditZkPrice2);
  VORENTA_FORM_FIND(this, DBEditZkColorNM);
  VORENTA_FORM_FIND(this, DBEditZkColorTP);
  VORENTA_FORM_FIND(this, DBNumberEditZkX);
  VORENTA_FORM_FIND(this, DBLookupComboboxZkColorTP);
  VORENTA_FORM_FIND(this, DBLookupComboboxZkBase);
  VORENTA_FORM_FIND(this, DBLookupComboboxZkBaseA1);
  VORENTA_FORM_FIND(this, DBLookupComboboxZkBaseA2);
  VORENTA_FORM_FIND(this, DBEditZkOrdNUM);
  VORENTA_FORM_FIND(this, DBEditZkOrdComment);
  VORENTA_FORM_FIND(this, DBDateTimeEditZkOrdDT);
  VORENTA_FORM_FIND(this, DBNumberEditZkOrdSAM);
  VORENTA_FORM_FIND(this, DBNumberEditZkOrdSCOST);
  VORENTA_FORM_FIND(this, DBNumberEditZkOrdTotal);
  VORENTA_FORM_FIND(this, bbtnCalc);
  VORENTA_FORM_FIND(this, bbtnOrd);
  VORENTA_FORM_FIND(this, BtnRecipePreview);
  VORENTA_FORM_FIND(this, rbtnCh1);
  VORENTA_FORM_FIND(this, rbtnCh2);
  VORENTA_FORM_FIND(this, PageControlRecipe);
  VORENTA_FORM_FIND(this, DBGridZkColor);
  VORENTA_FORM_FIND(this, DBGridZkColorRec);
  VORENTA_FORM_FIND(this, DBGridZkColorRecA);
  VORENTA_FORM_FIND(this, DBGridZkOrd);
  VORENTA_FORM_FIND(this, DBGridZkOrdTop);
  VORENTA_FORM_FIND(this, DBGridZkOrdRec);
  VORENTA_FORM_FIND(this, DBGridZkOrdRec3);
  VORENTA_FORM_FIND(this, DBGridZkLKMRec);
  VORENTA_FORM_FIND(this, PopupMenuColor);
  VORENTA_FORM_FIND(this, PopupMenuOrd);
  VORENTA_FORM_FIND(this, PopupMenuOrdTop);
  VORENTA_FORM_FIND(this, PopupMenuOrdRec3);
  VORENTA_FORM_FIND(this, PopupMenuLKMRec);
  VORENTA_FORM_FIND(this, PopupMenuPrice);
  VORENTA_FORM_FIND(this, MenuColorInterior);
  VORENTA_FORM_FIND(this, MenuColorExterior);
  VORENTA_FORM_FIND(this, MenuColorUniversal);
  VORENTA_FORM_FIND(this, MenuColorNone);
  VORENTA_FORM_FIND(this, MenuOrdCreate);
  VORENTA_FORM_FIND(this, MenuOrdDelete);
  VORENTA_FORM_FIND(this, MenuOrdReprice);
  VORENTA_FORM_FIND(this, MenuOrdTopDelete);
  VORENTA_FORM_FIND(this, MenuOrdTopReprice);
  VORENTA_FORM_FIND(this, MenuOrdRec3Delete);
  VORENTA_FORM_FIND(this, MenuLKMAdd);
  VORENTA_FORM_FIND(this, MenuLKMEdit);
  VORENTA_FORM_FIND(this, MenuLKMDelete);
  VORENTA_FORM_FIND(this, MenuPriceColor);
  VORENTA_FORM_FIND(this, MenuPriceColorPdf);
  VORENTA_FORM_FIND(this, MenuPriceLKM);
  VORENTA_FORM_FIND(this, MenuPriceLKMPdf);
}

// ===== activation =============================================================================

void TSAMAIN::FormActivate() {
  if (!FirstActivate) return;
  FirstActivate = false;
  SetupMainWindow();
  // The activation comes from showing the window, outside the message loop: a database that
  // cannot be read is told by the exception display and the window stays up, empty.
  try {
    DM->RefreshAllData();
  } catch (const Exception& E) {
    Application->HandleException(this, E);
  }
}

void TSAMAIN::SetupMainWindow() {
  RowColorEven = clWhite;
  RowColorOdd = TColor(14279129);
  FindNameCondition.clear();
  PageControl1->SetActivePage(TabSheetCatalog);
  DM->OnColourSwatch = [this](const Variant& Colour) { ShowSwatch(Colour); };
  SetupGrids();
}

void TSAMAIN::ShowSwatch(const Variant& Colour) {
  ShapeColor->Brush()->SetColor(Colour.IsNull() || Colour.IsEmpty() ? clBtnFace
                                                                     : TColor(Colour.AsInteger()));
}

// ===== catalogue ==============================================================================

void TSAMAIN::WireCatalogue() {
  TabSheetCatalog->SetOnShow([](TObject*) {
    if (!DM) return;
    for (TDataSet* Query : {static_cast<TDataSet*>(DM->luLKM), static_cast<TDataSet*>(DM->ColorRec1),
                            static_cast<TDataSet*>(DM->ColorRec2)}) {
      Query->Close();
      Query->Open();
    }
  });
  const std::pair<TMenuItem*, int> Types[] = {
      {MenuColorInterior, 1}, {MenuColorExterior, 2}, {MenuColorUniversal, 3}, {MenuColorNone, 0}};
  for (auto [Item, Type] : Types)
    Item->SetOnClick([this, Type = Type](TObject*) { SetColourType(Type); });
  for (TControl* Refresh : std::initializer_list<TControl*>{
           ToolButtonColorRefresh, ToolButtonOrdRefresh, ToolButtonLKMRefresh})
    Refresh->SetOnClick([](TObject*) { DM->RefreshAllData(); });
  for (TButton* Exit : {BtnExit1, BtnExit2, BtnExit3})
    Exit->SetOnClick([this](TObject*) { Close(); });
  bbtnCalc->SetOnClick([this](TObject*) { Calculate(); });
  DBNumberEditZkX->SetValue(Variant(0.0));
  DBNumberEditZkX->SetOnExit([this](TObject*) { Calculate(); });
  rbtnCh1->SetOnClick([](TObject*) { DM->SetCalcMode(TCalcMode::BaseMass); });
  rbtnCh2->SetOnClick([](TObject*) { DM->SetCalcMode(TCalcMode::WholeVolume); });
  bbtnOrd->SetOnClick([this](TObject*) { PutIntoOrder(); });
  // A base chosen from the list moves on to " Расчитать" and calculates; leaving the box posts
  // the colour's pending change and keeps the colour in edit.
  for (TDBLookupComboboxZk* Base :
       {DBLookupComboboxZkBase, DBLookupComboboxZkBaseA1, DBLookupComboboxZkBaseA2}) {
    Base->SetOnCloseUp([this](TObject*, bool) {
      bbtnCalc->SetFocus();
      Calculate();
    });
    Base->SetOnExit([](TObject*) {
      if (!DM->Color->Active()) return;
      if (IsDataSetEditing(DM->Color)) DM->Color->Post();
      DM->Color->Edit();
    });
  }
  auto PreviewRecipe = [this](TObject*) {
    DM->PreviewRecipe(rbtnCh1->Checked() ? TCalcMode::BaseMass : TCalcMode::WholeVolume,
                      PageControlRecipe->ActivePageIndex());
  };
  BtnRecipePreview->SetOnClick(PreviewRecipe);
  ToolButtonColorRecipe->SetOnClick(PreviewRecipe);
}

void TSAMAIN::SetColourType(int Type) {
  DM->Color->Edit();
  DM->Color->FieldByName(u"COLOR_TP_ID")->SetAsInteger(Type);
  DM->Color->Post();
}

Variant TSAMAIN::Quantity() const { return DBNumberEditZkX->Value(); }

void TSAMAIN::Calculate() { DM->Calculate(Quantity()); }

void TSAMAIN::PutIntoOrder() {
  DM->RecipeKind = PageControlRecipe->ActivePageIndex() == 1 ? 1 : 0;
  if (!DM->CanPutIntoOrder(Quantity())) return;
  const TModalResult Result = SAOrdAdd->ShowModal();
  PageControl1->SetActivePage(Result == mrOk ? TabSheetOrders : TabSheetCatalog);
}

// ===== search panel ===========================================================================

void TSAMAIN::WireSearchPanel() {
  MaskEditNM->SetAlignment(taCenter);
  auto Criterion = [](TCheckBox* Box, TWinControl* Editor, TShape* Frame) {
    Box->SetOnClick([=](TObject*) {
      Editor->SetEnabled(Box->Checked());
      if (Box->Checked()) {
        Editor->SetFocus();
        return;
      }
      Editor->SetText(String());
      Frame->Pen()->SetColor(kCriterionUnused);
    });
  };
  Criterion(CheckBoxNM, MaskEditNM, ShapeFlt1);
  CheckBoxColorTP->SetOnClick([this](TObject*) {
    const bool On = CheckBoxColorTP->Checked();
    DBLookupComboboxZkColorTP->SetEnabled(On);
    if (On) {
      DBLookupComboboxZkColorTP->SetFocus();
      return;
    }
    DBLookupComboboxZkColorTP->SetKeyValueProp(Null());
    ShapeFlt2->Pen()->SetColor(kCriterionUnused);
  });
  CheckBoxPrice->SetOnClick([this](TObject*) {
    const bool On = CheckBoxPrice->Checked();
    for (TDBNumberEditZk* Bound : {DBNumberEditZkPrice1, DBNumberEditZkPrice2}) {
      if (!On) Bound->SetText(String());
      Bound->SetEnabled(On);
    }
    if (On)
      DBNumberEditZkPrice1->SetFocus();
    else
      ShapeFlt3->Pen()->SetColor(kCriterionUnused);
  });
  for (TDBNumberEditZk* Bound : {DBNumberEditZkPrice1, DBNumberEditZkPrice2})
    OnEscape(Bound, [Bound] { Bound->SetText(String()); });
  // Return in "от" goes on to "до", in "до" to the filter button.
  auto OnReturn = [](TWinControl* Control, TWinControl* Next) {
    Control->SetOnKeyPress([Next](TObject*, Char& Key) {
      if (Key != u'\r') return;
      Key = 0;
      Next->SetFocus();
    });
  };
  OnReturn(DBNumberEditZkPrice1, DBNumberEditZkPrice2);
  OnReturn(DBNumberEditZkPrice2, BtnFilter);
  BtnClearNM->SetOnClick([this](TObject*) { MaskEditNM->SetText(String()); });
  OnEscape(MaskEditNM, [this] { MaskEditNM->SetText(String()); });
  OnReturn(MaskEditNM, BtnSearch);
  BtnSearch->SetOnClick([this](TObject*) { Search(); });
  BtnFilter->SetOnClick([this](TObject*) { Filter(); });
  BtnCancelFilter->SetOnClick([this](TObject*) { CancelFilter(); });
}

TCataloguePanel TSAMAIN::SearchPanel() const {
  TCataloguePanel Panel;
  Panel.CodeChecked = CheckBoxNM->Checked();
  Panel.CodeText = MaskEditNM->Text();
  Panel.TypeChecked = CheckBoxColorTP->Checked();
  Panel.TypeKey = DBLookupComboboxZkColorTP->KeyValue();
  Panel.PriceChecked = CheckBoxPrice->Checked();
  Panel.PriceFromText = DBNumberEditZkPrice1->Text();
  Panel.PriceFromValue = DBNumberEditZkPrice1->Value();
  Panel.PriceToText = DBNumberEditZkPrice2->Text();
  Panel.PriceToValue = DBNumberEditZkPrice2->Value();
  return Panel;
}

void TSAMAIN::MarkUsedCriteria(const TCataloguePanel& Panel) {
  if (!CodeCondition(Panel).Empty()) ShapeFlt1->Pen()->SetColor(kCriterionUsed);
  if (!TypeCondition(Panel).Empty()) ShapeFlt2->Pen()->SetColor(kCriterionUsed);
  if (!PriceCondition(Panel).Empty()) ShapeFlt3->Pen()->SetColor(kCriterionUsed);
}

void TSAMAIN::Filter() {
  const TCataloguePanel Panel = SearchPanel();
  MarkUsedCriteria(Panel);
  DM->FilterCatalogue(Panel);
}

void TSAMAIN::Search() {
  const TCataloguePanel Panel = SearchPanel();
  FindNameCondition = CodeCondition(Panel).Text;
  const int Hits = DM->SearchCatalogue(Panel);
  if (Hits <= 1) return;
  SAFind->SetTop(Top() + ImageTop->Height() + 35);
  SAFind->SetLeft(Left() + Panel2->Left() + 10);
  SAFind->ShowModal();
}

void TSAMAIN::CancelFilter() {
  for (TCheckBox* Box : {CheckBoxNM, CheckBoxColorTP, CheckBoxPrice}) Box->SetChecked(false);
  MaskEditNM->SetEnabled(false);
  MaskEditNM->SetText(String());
  DBLookupComboboxZkColorTP->SetKeyValueProp(Null());
  DBLookupComboboxZkColorTP->SetEnabled(false);
  for (TDBNumberEditZk* Bound : {DBNumberEditZkPrice1, DBNumberEditZkPrice2}) {
    Bound->SetText(String());
    Bound->SetEnabled(false);
  }
  for (TShape* Frame : {ShapeFlt1, ShapeFlt2, ShapeFlt3})
    Frame->Pen()->SetColor(kCriterionUnused);
  DM->CancelCatalogueFilter();
}

// ===== edit actions ===========================================================================

// Ctrl+C and Ctrl+V copy and paste in the focused edit; with any other control focused the
// actions are disabled, so the keys reach that control (the grid copies its selection).
void TSAMAIN::WireActions() {
  ActionList1 = new TActionList(this);
  auto FocusedEdit = [] { return dynamic_cast<TCustomEdit*>(Screen->ActiveControl()); };
  auto MakeAction = [&](const char16_t* Caption, const char16_t* Key, auto Act) {
    auto* Action = new TAction(this);
    Action->SetActionList(ActionList1);
    Action->SetCaption(Caption);
    Action->SetShortCut(TextToShortCut(Key));
    Action->SetOnUpdate([Action, FocusedEdit](TObject*) { Action->SetEnabled(FocusedEdit()); });
    Action->SetOnExecute([FocusedEdit, Act](TObject*) {
      if (TCustomEdit* Edit = FocusedEdit()) Act(Edit);
    });
    return Action;
  };
  EditCopy1 = MakeAction(u"Копировать", u"Ctrl+C", [](TCustomEdit* E) { E->CopyToClipboard(); });
  EditPaste1 =
      MakeAction(u"Вставить", u"Ctrl+V", [](TCustomEdit* E) { E->PasteFromClipboard(); });
}
