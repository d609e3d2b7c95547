// DM_MAIN.h - the data module TDM: the connection, every query, command, data source and
// persistent field of the application, their rules, and the business operations.
//
// The components, their SQL texts and field definitions are data: the module reads its text
// form (resource "forms/DM_MAIN.dfm") through the component-stream reader when it is created,
// and then finds its components by name. The rules of its fields (changes that post, the base
// choice, the order line totals, the calculated fields) are wired here. Everything the windows
// hold (the quantity, the active recipe tab, the search panel, the dialogs' inputs) comes in as
// arguments, so every operation runs and is tested without windows; the message boxes go
// through AppDialogs.h and the reports through IAppReports.
//
// The implementation is split by concern: DM_MAIN.cpp (creation, connection, field rules,
// refresh), DM_MAINCatalogue.cpp (costing, base choice, search and filter), DM_MAINOrders.cpp,
// DM_MAINPriceList.cpp, DM_MAINReports.cpp; DM_MAIN_p.h holds the helpers they share.
#pragma once

#include <functional>

#include "app/CatalogueFilter.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Variant.h"

class IAppReports;
class TADOCommand;
class TADOConnection;
class TADOQuery;
class TDataSet;
class TDataSource;
class TField;

// The calculation mode of the recipe costing.
enum class TCalcMode { BaseMass = 1, WholeVolume = 2 };

// The inputs of the price-list product dialog.
struct TPriceItemInput {
  String Name;
  Variant GroupKey;     // the group combo box's key
  String GroupText;     // the group combo box's displayed text
  String PriceText;
  String Remark;
};

// What the product dialog shows when it is activated.
struct TPriceItemView {
  String Name;
  Integer GroupKey = 0;
  String PriceText;
  String Remark;
  bool NameAndGroupEnabled = true;
};

class TDM : public TComponent {
  VORENTA_CLASS(TDM, TComponent)
public:
  // Reads the form, then connects: the failure box is shown and creation goes on with the
  // connection closed. No dataset is open afterwards.
  explicit TDM(TComponent* AOwner);
  ~TDM() override;

  // --- the components of the form (found by name after reading it) --------------------------
  TADOConnection* Connection = nullptr;
  TADOQuery *Color = nullptr, *ColorFind = nullptr, *RepColor = nullptr;
  TADOQuery *ColorRec1 = nullptr, *ColorRec2 = nullptr, *ColorRecA1 = nullptr,
            *ColorRecA2 = nullptr;
  TADOQuery *ColorCost1 = nullptr, *ColorCost2 = nullptr, *ColorCostA1 = nullptr,
            *ColorCostA2 = nullptr;
  TADOQuery *QColorPrice = nullptr, *QColorPriceA = nullptr;
  TADOQuery *luCOLOR_TP = nullptr, *luLKM = nullptr, *luLKM_TP = nullptr, *luColor = nullptr,
            *luLKMRecAll = nullptr, *luLKMRecBase = nullptr, *luLKMRecBaseA1 = nullptr,
            *luLKMRecBaseA2 = nullptr, *luLKMBase = nullptr, *luLKM3 = nullptr, *LKM_TP = nullptr;
  TADOQuery *LKMRec = nullptr, *IsLKMRec = nullptr;
  TADOQuery *Ord = nullptr, *QOrd = nullptr, *OrdTop = nullptr, *OrdRec = nullptr,
            *OrdRec3 = nullptr, *OrdRecSums = nullptr, *OrdTopSums = nullptr, *OrdSums = nullptr,
            *ROrdRec = nullptr;
  TADOCommand *CLkmRecSet = nullptr, *CLkmRecSetA1 = nullptr, *CLkmRecSetA2 = nullptr;
  TADOCommand *CColorCostDelRecs = nullptr, *CColorCostAppendRecs = nullptr,
              *CColorCostUpdatePrice = nullptr, *CColorCostDelRecsA = nullptr,
              *CColorCostAppendRecsA = nullptr, *CColorCostUpdatePriceA = nullptr;
  TADOCommand *COrdRecColorDel = nullptr, *COrdRecDel = nullptr, *COrdTopDel = nullptr,
              *CRecalcOrdPrice = nullptr;
  TDataSource *DSColor = nullptr, *DSColorRec = nullptr, *DSColorRecA = nullptr,
              *DSColorCost = nullptr, *DSColorCostA = nullptr, *DSluCOLOR_TP = nullptr,
              *DSluLKMBase = nullptr, *DSLKMRec = nullptr, *DSOrd = nullptr, *DSOrdTop = nullptr,
              *DSOrdRec = nullptr, *DSOrdRec3 = nullptr, *DSOrdTopSums = nullptr,
              *DSOrdSums = nullptr, *DSLKM_TP = nullptr;

  // --- state the windows set -----------------------------------------------------------------
  // 0 main recipe, 1 alternative (the active recipe tab when "Внести в заказ" is pressed).
  int RecipeKind = 0;
  // While true, a change of an order line's amount or price posts it and updates the totals.
  bool OrderLineAutoRecalc = true;
  // 0 none, 1 edit the current product, 2 add a product.
  int MaterialDialogMode = 0;
  // The working directory at start-up: the PDF folder "Report" lies under it.
  String StartDirectory;
  // The report engine; none until one is attached (the report commands then only choose their
  // datasets).
  IAppReports* Reports = nullptr;
  // Told the current catalogue colour's swatch (Null when it has none) after every move of the
  // catalogue's cursor (only the catalogue's: the price report's query walks other colours).
  std::function<void(const Variant& Colour)> OnColourSwatch;

  // --- refresh -------------------------------------------------------------------------------
  // Reopens every dataset the windows show, keeping the current colour, order and product.
  void RefreshAllData();
  // Reopens the catalogue keeping the current colour.
  void ReopenCatalogue();

  // --- recipe costing and base choice --------------------------------------------------------
  // Re-runs the eight recipe and cost queries with Quantity (Null for an empty editor).
  void Calculate(const Variant& Quantity);
  // Points the four recipe data sources at the queries of Mode; nothing is recalculated.
  void SetCalcMode(TCalcMode Mode);
  TCalcMode CalcMode() const;

  // --- catalogue search and filter -----------------------------------------------------------
  // Replaces the catalogue's query by the colours meeting Condition (all when empty) and
  // returns to the colour that was current. When the new query cannot be opened, the previous
  // one is restored and the error raised.
  void SetCatalogueFilter(const TSqlCondition& Condition);
  // The filter button: applies the panel's condition.
  void FilterCatalogue(const TCataloguePanel& Panel);
  // Narrows the catalogue by type and price and finds the colours matching the code; returns
  // the number of hits (the catalogue is on the first hit when there is one). Shows
  // "Не задано условие поиска" for an empty code text.
  int SearchCatalogue(const TCataloguePanel& Panel);
  int RunColourSearch(const TSqlCondition& NameCondition, const TSqlCondition& Rest);
  void LocateFoundColour();
  // The navigator's "Перейти далее": the next hit, wrapping round.
  void NextFoundColour();
  // The cancel button: the whole table.
  void CancelCatalogueFilter();

  // --- orders --------------------------------------------------------------------------------
  void CreateOrder();
  // "Внести в заказ": checks the quantity (the notice when it is not above 0); true when the
  // put-into-order dialog may be shown.
  bool CanPutIntoOrder(const Variant& Quantity);
  // The dialog's "Ok": kind 1 new order, 2 the existing order OrderKey; true when the dialog
  // closes with OK.
  bool OrderDialogOk(int Kind, const Variant& OrderKey);
  void AddColourToOrder(int Kind, Integer OrderId);
  void UpdateOrderColourTotals();
  void RecalculateOrderPrices();
  // Each asks its question first; true when something was deleted.
  bool DeleteOrderColour();
  bool DeleteOrder();
  bool DeleteExtraPayment();

  // --- price list ----------------------------------------------------------------------------
  // The product dialog's activation in the current MaterialDialogMode.
  TPriceItemView PriceItemDialogView() const;
  // "Внести": true when the dialog closes. The price text is checked before anything changes.
  bool ApplyPriceItemDialog(const TPriceItemInput& Input);
  // "Отмена": mode 0 and any pending change of the price list dropped.
  void CancelPriceItemDialog();
  // Asks "Удалить материал ?"; true when the product was deleted.
  bool DeletePriceItem();
  void RecalculateCatalogPrices();

  // --- reports -------------------------------------------------------------------------------
  void PreviewRecipe(TCalcMode Mode, int Recipe);
  void PreviewOrder();
  void PrintOrder();
  // Each returns the file written, or "" when the export failed (the failure is shown).
  String ExportOrderPdf();
  void PreviewColourPriceList();
  String ExportColourPriceListPdf();
  void PreviewMaterialPriceList();
  String ExportMaterialPriceListPdf();

private:
  // Gives every quantity parameter of the eight costing queries the value Quantity.
  void SetQuantityParams(const Variant& Quantity, bool Reopen);
  void ReadForm();
  void FindComponents();
  void Connect();
  void WireRules();
  void WireCalculatedFields();
  void WireOrderNumbering();
  void AutoPost(TDataSet* DataSet, const char16_t* FieldName,
                std::function<void()> After = nullptr);
  void OnBaseChange(TADOCommand* Command, TADOQuery* RecA, TADOQuery* RecB, TADOQuery* Price,
                    const char16_t* PriceField, TField* BaseField);
  void ReopenOrderTotals();
  void PrepareOrderReport();
  String ExportPdf(const String& Report, const String& FileName);
};

extern TDM* DM;

// Opens a closed query; reopens an open one and returns to the record number it was on (the
// last row when it now has fewer).
void ReopenKeepPosition(TDataSet* Query);
// Reopens DataSet and locates the row whose ID was current (the first row when it is gone).
void ReopenKeepKey(TDataSet* DataSet);
// True in edit or insert state.
bool IsDataSetEditing(TDataSet* Query);

// Makes TDM and the classes its form holds findable by name.
void RegisterAppClasses();
