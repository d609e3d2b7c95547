// DM_MAINCatalogue.cpp - the data module's recipe costing and catalogue search and filter.
#include "app/DM_MAIN.h"

#include "app/AppDialogs.h"
#include "platform/classes/Strings.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

const char16_t kCatalogueOrder[] = u" ORDER BY IND, NM COLLATE RU, ID";

void SetParams(TADOQuery* Query, std::initializer_list<const char16_t*> Names,
               const Variant& Value) {
  for (const char16_t* Name : Names) Query->Parameters()->ParamByName(Name)->SetValue(Value);
}

void BindCondition(TADOQuery* Query, const TSqlCondition& Condition) {
  for (const auto& [Name, Value] : Condition.Params)
    Query->Parameters()->ParamByName(Name)->SetValue(Value);
}

struct TSavedQuery {
  String Sql;
  std::vector<std::pair<String, Variant>> Params;
};

TSavedQuery SaveQuery(TADOQuery* Query) {
  TSavedQuery Saved{Query->SQL()->Text(), {}};
  for (int I = 0; I < Query->Parameters()->Count(); ++I) {
    TParam* Param = Query->Parameters()->Items(I);
    Saved.Params.emplace_back(Param->Name(), Param->Value());
  }
  return Saved;
}

void RestoreQuery(TADOQuery* Query, const TSavedQuery& Saved) {
  Query->Close();
  Query->SQL()->SetText(Saved.Sql);
  for (const auto& [Name, Value] : Saved.Params)
    Query->Parameters()->ParamByName(Name)->SetValue(Value);
}

}  // namespace

// ===== recipe costing =========================================================================

void TDM::Calculate(const Variant& Quantity) { SetQuantityParams(Quantity, true); }

void TDM::SetQuantityParams(const Variant& Quantity, bool Reopen) {
  struct TStep {
    TADOQuery* Query;
    std::initializer_list<const char16_t*> Params;
  };
  const TStep Steps[] = {
      {ColorRec1, {u"X11", u"X12", u"X2"}}, {ColorCost1, {u"X1", u"X2"}},
      {ColorRecA1, {u"X11", u"X12", u"X2"}}, {ColorCostA1, {u"X1", u"X2"}},
      {ColorRec2, {u"X"}}, {ColorCost2, {u"X"}}, {ColorRecA2, {u"X"}}, {ColorCostA2, {u"X"}}};
  for (const TStep& Step : Steps) {
    if (Reopen) Step.Query->Close();
    SetParams(Step.Query, Step.Params, Quantity);
    if (Reopen) Step.Query->Open();
  }
}

void TDM::SetCalcMode(TCalcMode Mode) {
  const bool Base = Mode == TCalcMode::BaseMass;
  DSColorRec->SetDataSet(Base ? ColorRec1 : ColorRec2);
  DSColorCost->SetDataSet(Base ? ColorCost1 : ColorCost2);
  DSColorRecA->SetDataSet(Base ? ColorRecA1 : ColorRecA2);
  DSColorCostA->SetDataSet(Base ? ColorCostA1 : ColorCostA2);
}

TCalcMode TDM::CalcMode() const {
  return DSColorRec->DataSet() == ColorRec1 ? TCalcMode::BaseMass : TCalcMode::WholeVolume;
}

// ===== search and filter ======================================================================

void TDM::SetCatalogueFilter(const TSqlCondition& Condition) {
  const Variant Id = Color->Active() && !Color->IsEmpty()
                         ? Variant(Color->FieldByName(u"ID")->AsInteger()) : Variant(0);
  const bool WasActive = Color->Active();
  const TSavedQuery Previous = SaveQuery(Color);
  Color->Close();
  Color->SQL()->SetText(u"SELECT * FROM DS_COLOR " +
                        (Condition.Empty() ? String() : u"WHERE " + Condition.Text) +
                        kCatalogueOrder);
  BindCondition(Color, Condition);
  try {
    Color->Open();
  } catch (const Exception&) {
    RestoreQuery(Color, Previous);
    if (WasActive) {
      Color->Open();
      Color->Locate(u"ID", Id, TLocateOptions());
    }
    throw;
  }
  Color->Locate(u"ID", Id, TLocateOptions());
}

void TDM::FilterCatalogue(const TCataloguePanel& Panel) {
  SetCatalogueFilter(FilterCondition(Panel));
}

int TDM::SearchCatalogue(const TCataloguePanel& Panel) {
  if (Trim(Panel.CodeText).empty()) {
    ShowNotice(u"Не задано условие поиска", u"П о и с к");
    return 0;
  }
  const TSqlCondition Name = CodeCondition(Panel);
  if (Trim(Name.Text).empty()) return 0;
  const TSqlCondition Rest = RestCondition(Panel);
  SetCatalogueFilter(Rest);
  const int Count = RunColourSearch(Name, Rest);
  if (Count > 0) LocateFoundColour();
  return Count;
}

int TDM::RunColourSearch(const TSqlCondition& NameCondition, const TSqlCondition& Rest) {
  if (NameCondition.Empty()) return ColorFind->Active() ? ColorFind->RecordCount() : 0;
  TSqlCondition Whole = NameCondition;
  Whole.AndWith(Rest);
  ColorFind->Close();
  ColorFind->SQL()->SetText(u"SELECT ID, NM FROM DS_COLOR WHERE " + Whole.Text +
                            kCatalogueOrder);
  BindCondition(ColorFind, Whole);
  ColorFind->Open();
  return ColorFind->RecordCount();
}

void TDM::LocateFoundColour() {
  Color->Locate(u"ID", ColorFind->FieldByName(u"ID")->Value(), TLocateOptions());
}

void TDM::NextFoundColour() {
  ColorFind->Next();
  if (ColorFind->Eof()) ColorFind->First();
  LocateFoundColour();
}

void TDM::CancelCatalogueFilter() { SetCatalogueFilter(TSqlCondition()); }
