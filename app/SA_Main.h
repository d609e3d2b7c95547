// SA_Main.h - TSAMAIN, the main window: the catalogue with its search panel and recipe costing,
// the orders and the price list, on three tabs.
//
// The controls come from the form text (resource "forms/SA_Main.dfm"), found by name; the
// handlers are wired here and call the data module's operations. The window's first activation
// sets the grids up and opens every dataset; later activations do nothing.
//
// The implementation is split: SA_Main.cpp (creation, activation, catalogue and search panel),
// SA_MainOrders.cpp (orders, price list, report commands), SA_MainGrids.cpp (the grids'
// settings and display rules).
#pragma once

#include "app/CatalogueFilter.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/Variant.h"

class TBitBtn;
class TButton;
class TCheckBox;
class TDBNavigator;
class TGroupBox;
class TImage;
class TLabel;
class TMaskEdit;
class TMenuItem;
class TPageControl;
class TPanel;
class TPopupMenu;
class TRadioButton;
class TShape;
class TSplitter;
class TTabSheet;
class TToolBar;
class TToolButton;
class TActionList;
class TAction;
class TDBEditZk;
class TDBNumberEditZk;
class TDBDateTimeEditZk;
class TDBGridZk;
class TDBLookupComboboxZk;
class TColumnZk;

class TSAMAIN : public TForm {
  VORENTA_CLASS(TSAMAIN, TForm)
public:
  explicit TSAMAIN(TComponent* AOwner);
  ~TSAMAIN() override;

  // --- state
  bool FirstActivate = true;
  String StartDirectory;                 // the working directory at creation
  TColor RowColorEven = clWhite;
  TColor RowColorOdd = TColor(14279129);
  String FindNameCondition;              // the code condition of the last search

  // --- the form's components
  TImage* ImageTop = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabSheetCatalog = nullptr, *TabSheetOrders = nullptr, *TabSheetPrice = nullptr;
  TPanel *Panel2 = nullptr, *PanelOrdRec3 = nullptr;
  TDBNavigator *DBNavigatorColor = nullptr, *DBNavigatorOrd = nullptr,
               *DBNavigatorOrdTop = nullptr, *DBNavigatorLKMRec = nullptr;
  TToolButton *ToolButtonColorRefresh = nullptr, *ToolButtonColorRecipe = nullptr,
              *ToolButtonOrdRefresh = nullptr, *ToolButtonOrdCreate = nullptr,
              *ToolButtonOrdDelete = nullptr, *ToolButtonOrdReprice = nullptr,
              *ToolButtonRecipe = nullptr, *ToolButtonOrdPreview = nullptr,
              *ToolButtonOrdPrint = nullptr, *ToolButtonOrdExport = nullptr,
              *ToolButtonLKMRefresh = nullptr, *ToolButtonLKMAdd = nullptr,
              *ToolButtonLKMEdit = nullptr, *ToolButtonLKMDelete = nullptr;
  TButton *BtnPriceReports1 = nullptr, *BtnPriceReports2 = nullptr, *BtnRecalcCatalog = nullptr,
          *BtnExit1 = nullptr, *BtnExit2 = nullptr, *BtnExit3 = nullptr;
  // search panel
  TShape *ShapeFlt1 = nullptr, *ShapeFlt2 = nullptr, *ShapeFlt3 = nullptr;
  TCheckBox *CheckBoxNM = nullptr, *CheckBoxColorTP = nullptr, *CheckBoxPrice = nullptr;
  TMaskEdit* MaskEditNM = nullptr;
  TButton *BtnClearNM = nullptr, *BtnSearch = nullptr, *BtnFilter = nullptr,
          *BtnCancelFilter = nullptr;
  TDBNumberEditZk *DBNumberEditZkPrice1 = nullptr, *DBNumberEditZkPrice2 = nullptr;
  TDBLookupComboboxZk* DBLookupComboboxZkColorTP = nullptr;
  // swatch and costing
  TShape* ShapeColor = nullptr;
  TDBEditZk *DBEditZkColorNM = nullptr, *DBEditZkColorTP = nullptr;
  TDBNumberEditZk* DBNumberEditZkX = nullptr;
  // the base material of the main recipe and of the two alternative ones
  TDBLookupComboboxZk *DBLookupComboboxZkBase = nullptr, *DBLookupComboboxZkBaseA1 = nullptr,
                      *DBLookupComboboxZkBaseA2 = nullptr;
  // order panel
  TDBEditZk *DBEditZkOrdNUM = nullptr, *DBEditZkOrdComment = nullptr;
  TDBDateTimeEditZk* DBDateTimeEditZkOrdDT = nullptr;
  TDBNumberEditZk *DBNumberEditZkOrdSAM = nullptr, *DBNumberEditZkOrdSCOST = nullptr,
                  *DBNumberEditZkOrdTotal = nullptr;
  TBitBtn *bbtnCalc = nullptr, *bbtnOrd = nullptr, *BtnRecipePreview = nullptr;
  TRadioButton *rbtnCh1 = nullptr, *rbtnCh2 = nullptr;
  TPageControl* PageControlRecipe = nullptr;
  // grids
  TDBGridZk *DBGridZkColor = nullptr, *DBGridZkColorRec = nullptr, *DBGridZkColorRecA = nullptr,
            *DBGridZkOrd = nullptr, *DBGridZkOrdTop = nullptr, *DBGridZkOrdRec = nullptr,
            *DBGridZkOrdRec3 = nullptr, *DBGridZkLKMRec = nullptr;
  // menus
  TPopupMenu *PopupMenuColor = nullptr, *PopupMenuOrd = nullptr, *PopupMenuOrdTop = nullptr,
             *PopupMenuOrdRec3 = nullptr, *PopupMenuLKMRec = nullptr, *PopupMenuPrice = nullptr;
  TMenuItem *MenuColorInterior = nullptr, *MenuColorExterior = nullptr,
            *MenuColorUniversal = nullptr, *MenuColorNone = nullptr;
  TMenuItem *MenuOrdCreate = nullptr, *MenuOrdDelete = nullptr, *MenuOrdReprice = nullptr,
            *MenuOrdTopDelete = nullptr, *MenuOrdTopReprice = nullptr,
            *MenuOrdRec3Delete = nullptr;
  TMenuItem *MenuLKMAdd = nullptr, *MenuLKMEdit = nullptr, *MenuLKMDelete = nullptr;
  TMenuItem *MenuPriceColor = nullptr, *MenuPriceColorPdf = nullptr, *MenuPriceLKM = nullptr,
            *MenuPriceLKMPdf = nullptr;
  // the standard copy and paste actions, made here (they act on a focused edit only)
  TActionList* ActionList1 = nullptr;
  TAction *EditCopy1 = nullptr, *EditPaste1 = nullptr;

  // --- operations of the window
  void SetupMainWindow();
  // The quantity editor's value (Null while empty).
  Variant Quantity() const;
  // What the search panel holds.
  TCataloguePanel SearchPanel() const;
  // Sets the three frames' outlines for the pieces a filter used.
  void MarkUsedCriteria(const TCataloguePanel& Panel);
  void Calculate();
  void PutIntoOrder();
  void Search();
  void Filter();
  void CancelFilter();
  void ShowPriceItemDialog(int Mode);
  void PopupPriceReports();

private:
  void FindComponents();
  void WireCatalogue();
  void WireSearchPanel();
  void WireOrders();
  void WirePriceList();
  void WireActions();
  void WireGrids();
  void SetupGrids();
  void ShowOrderRecipe();
  void FormActivate();
  void SetColourType(int Type);
  void ShowSwatch(const Variant& Colour);
};

extern TSAMAIN* SAMAIN;

// The search criterion frame's outline: silver while unused, this red once a filter used it.
constexpr TColor kCriterionUnused = TColor(12632256);
constexpr TColor kCriterionUsed = TColor(5528823);
