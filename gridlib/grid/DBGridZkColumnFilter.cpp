// DBGridZkColumnFilter.cpp - a column's filter condition: parsing its text, its display and
// operand texts, the key and display values of a list dataset, and the check marks of the
// filter drop-down.
#include "gridlib/grid/DBGridZkColumnFilter.h"

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/toolkit/MemTableIntfZk.h"
#include "platform/classes/Strings.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

bool (*IsFilterListDataItem)(TObject* ItemObject) = nullptr;
void (*FilterEditorChangedHook)(TCustomDBGridZk* Grid) = nullptr;
void (*FilterInstantApplyHook)(TSTColumnFilterZk* Filter) = nullptr;

// The link to the list dataset; its activation rebuilds the key and display lists.
class TFilterListLinkZk : public TDataLink {
public:
  explicit TFilterListLinkZk(std::function<void()> OnActive) : FOnActive(std::move(OnActive)) {}

protected:
  void ActiveChanged() override { FOnActive(); }

private:
  std::function<void()> FOnActive;
};

void TSTColumnFilterDeleterZk::operator()(TSTColumnFilterZk* Filter) const { delete Filter; }

TSTColumnFilterZk* TColumnZk::STFilter() const {
  if (!FSTFilter) FSTFilter.reset(new TSTColumnFilterZk(const_cast<TColumnZk*>(this)));
  return FSTFilter.get();
}
void TColumnZk::SetSTFilter(TSTColumnFilterZk* Value) { STFilter()->Assign(Value); }

IMemTableDataFieldValueListZk* TColumnZk::GetCurrentFieldValueList() {
  return STFilter()->CurrentFieldValueList();
}
const TDBGridZkFillSTFilterListValuesEvent& TColumnZk::OnFillSTFilterListValues() const {
  return STFilter()->OnFillSTFilterListValues;
}
void TColumnZk::SetOnFillSTFilterListValues(TDBGridZkFillSTFilterListValuesEvent Value) {
  STFilter()->OnFillSTFilterListValues = std::move(Value);
}

namespace {

std::vector<Variant> Elements(const Variant& V) {
  std::vector<Variant> Out;
  if (!VarIsArray(V)) {
    Out.push_back(V);
    return Out;
  }
  for (int I = VarArrayLowBound(V, 1); I <= VarArrayHighBound(V, 1); ++I)
    Out.push_back(VarArrayGet(V, I));
  return Out;
}

Variant MapElements(const Variant& V, const std::function<Variant(const Variant&)>& Fn) {
  if (!VarIsArray(V)) return Fn(V);
  Variant Out = V;
  for (int I = VarArrayLowBound(V, 1); I <= VarArrayHighBound(V, 1); ++I)
    VarArrayPut(Out, Fn(VarArrayGet(V, I)), I);
  return Out;
}

String QuoteDoubled(const String& S) { return QuotedStr(S); }

bool EndsWithWord(const String& Upper, const String& Word) {
  return Upper.size() >= Word.size() &&
         Upper.compare(Upper.size() - Word.size(), Word.size(), Word) == 0;
}

}  // namespace

// --- life cycle -----------------------------------------------------------------------------------

TSTColumnFilterZk::TSTColumnFilterZk(TColumnZk* AColumn)
    : FColumn(AColumn),
      FKeys(std::make_unique<TStringList>()),
      FList(std::make_unique<TStringList>()),
      FPopupFilterItems(std::make_unique<TStringList>()),
      FListLink(std::make_unique<TFilterListLinkZk>([this] { ListLinkActiveChange(); })) {
  ClearColumnFilterExpression(FExpression);
}

TSTColumnFilterZk::~TSTColumnFilterZk() {
  // The value list may hold a link to the list source: it goes first.
  FFieldValueList.reset();
  FListLink.reset();
}

void TSTColumnFilterZk::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSTColumnFilterZk*>(Source)) {
    FDataField = S->FDataField;
    SetVisible(S->FVisible);
    FKeyField = S->FKeyField;
    FListField = S->FListField;
    SetListSource(S->ListSource());
    return;
  }
  TPersistent::Assign(Source);
}

TCustomDBGridZk* TSTColumnFilterZk::Grid() const { return FColumn ? FColumn->Grid() : nullptr; }

TDataSource* TSTColumnFilterZk::ListSource() const { return FListLink->DataSource(); }
void TSTColumnFilterZk::SetListSource(TDataSource* Value) { FListLink->SetDataSource(Value); }

void TSTColumnFilterZk::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FColumn) FColumn->ColumnChanged(false);
}

// --- condition and text ---------------------------------------------------------------------------

void TSTColumnFilterZk::SetExpression(const TSTFilterExpressionZk& Value) {
  FExpression = Value;
  FilterExpressionToText(FExpressionStr);
}

void TSTColumnFilterZk::SetExpressionStr(const String& Value) {
  ApplyExpressionText(Value);
  if (TCustomDBGridZk* G = Grid()) {
    G->Invalidate();
    if (FilterEditorChangedHook) FilterEditorChangedHook(G);
  }
}

void TSTColumnFilterZk::Clear() {
  FKeyValues = Null();
  SetExpressionStr(u"");
}

void TSTColumnFilterZk::ApplyExpressionText(const String& Text) {
  // Parsed into a copy: a text that does not parse leaves the condition and text as they were.
  TSTFilterExpressionZk Expr = FExpression;
  if (FColumn && FColumn->Field()) Expr.ExpressionType = FieldTypeToOperandType(FColumn->Field()->DataType());
  if (FColumn && FColumn->KeyList()->Count() > 0 && FColumn->PickList()->Count() > 0)
    Expr.ExpressionType = botString;
  TSTFilterDefaultOperatorZk Default = fdoAuto;
  TCustomDBGridZk* G = Grid();
  if (G && G->Center()) Default = G->Center()->GetSTFilterDefaultOperator(G, FColumn, Expr);
  ParseColumnFilterExpression(Text, Expr, Default);
  PickToKeyValues(Expr);
  if (!CurrentKeyField().empty() && CurrentListDataSet() && !CurrentListField().empty()) {
    ConvertSetOperandToKeys(Expr.Operator1, Expr.Operand1);
    if (Expr.Operator2 != foNon) ConvertSetOperandToKeys(Expr.Operator2, Expr.Operand2);
  }
  FExpression = Expr;
  FExpressionStr = Text;
}

void TSTColumnFilterZk::ConvertSetOperandToKeys(TSTFilterOperatorZk Operator, Variant& Operand) {
  if (Operator < foEqual || Operator > foNotIn) return;
  Operand = MapElements(Operand, [this](const Variant& V) { return DisplayToKey(V); });
}

void TSTColumnFilterZk::PickToKeyValues(TSTFilterExpressionZk& Expression) {
  if (!FColumn || FColumn->KeyList()->Count() == 0 || FColumn->PickList()->Count() == 0) return;
  TStrings* Pick = FColumn->PickList();
  TStrings* Keys = FColumn->KeyList();
  auto ToKey = [&](const Variant& V) -> Variant {
    const int I = Pick->IndexOf(VarToStr(V));
    return I >= 0 && I < Keys->Count() ? Variant(Keys->Strings(I)) : V;
  };
  if (Expression.Operator1 >= foEqual && Expression.Operator1 <= foNotIn)
    Expression.Operand1 = MapElements(Expression.Operand1, ToKey);
  if (Expression.Operator2 >= foEqual && Expression.Operator2 <= foNotIn)
    Expression.Operand2 = MapElements(Expression.Operand2, ToKey);
}

String TSTColumnFilterZk::OperandDisplayText(const Variant& V) {
  if (VarType(V) == varDouble) return FloatToStr(V.AsDouble());
  if (VarType(V) == varDate) return DateToStr(VarToDateTime(V));
  // Quotes inside are doubled, so the text reads back as the same value.
  return QuoteDoubled(VarToStr(V));
}

String TSTColumnFilterZk::ConditionDisplayText(TSTFilterOperatorZk Operator, const Variant& Operand) {
  if (Operator == foNull) return u"=" + FilterOperatorDisplayText(foNull);
  if (Operator == foNotNull) return u"<>" + FilterOperatorDisplayText(foNotNull);
  if (Operator == foIn || Operator == foNotIn) {
    String S = FilterOperatorDisplayText(Operator) + u" (";
    for (const Variant& E : Elements(Operand)) S += OperandDisplayText(E) + u",";
    S.back() = u')';
    return S;
  }
  return FilterOperatorDisplayText(Operator) + u" " + OperandDisplayText(Operand);
}

void TSTColumnFilterZk::FilterExpressionToText(String& Text) {
  Text.clear();
  if (IsEmpty()) return;
  if (ListSource()) {
    // A list filter shows its values only: 'a','b'.
    if (!VarIsArray(FExpression.Operand1)) {
      Text = VarToStr(FExpression.Operand1);
      return;
    }
    for (const Variant& E : Elements(FExpression.Operand1)) Text += QuoteDoubled(VarToStr(E)) + u",";
    if (!Text.empty()) Text.pop_back();
    return;
  }
  Text = ConditionDisplayText(FExpression.Operator1, FExpression.Operand1);
  if (FExpression.Relation != foNon && FExpression.Operator2 != foNon)
    Text += u" " + FilterOperatorDisplayText(FExpression.Relation) + u" " +
            ConditionDisplayText(FExpression.Operator2, FExpression.Operand2);
}

// --- the field and the list dataset ---------------------------------------------------------------

namespace {
TField* LookupFieldOf(TSTColumnFilterZk* Filter) {
  TCustomDBGridZk* G = Filter->Grid();
  TColumnZk* C = Filter->Column();
  if (!G || !C || !G->DataLink()->Active() || !G->DataSet()) return nullptr;
  TField* F = G->DataSet()->FindField(C->FieldName());
  return F && F->Lookup() ? F : nullptr;
}
}  // namespace

String TSTColumnFilterZk::CurrentDataField() {
  if (!FDataField.empty()) return FDataField;
  if (TField* F = LookupFieldOf(this)) return F->KeyFields();
  return FColumn ? FColumn->FieldName() : String();
}
String TSTColumnFilterZk::CurrentKeyField() {
  if (!FKeyField.empty()) return FKeyField;
  TField* F = LookupFieldOf(this);
  return F ? F->LookupKeyFields() : String();
}
String TSTColumnFilterZk::CurrentListField() {
  if (!FListField.empty()) return FListField;
  TField* F = LookupFieldOf(this);
  return F ? F->LookupResultField() : String();
}
TDataSet* TSTColumnFilterZk::CurrentListDataSet() {
  if (ListSource()) return ListSource()->DataSet();
  TField* F = LookupFieldOf(this);
  return F ? F->LookupDataSet() : nullptr;
}

String TSTColumnFilterZk::GetFilterFieldName() { return CurrentDataField(); }
Variant TSTColumnFilterZk::GetOperand1() {
  return CurrentKeyField().empty() ? FExpression.Operand1 : FKeyValues;
}
Variant TSTColumnFilterZk::GetOperand2() { return FExpression.Operand2; }

Variant TSTColumnFilterZk::KeyToDisplay(const Variant& Key) {
  TDataSet* D = CurrentListDataSet();
  if (!D || !D->Active()) return Null();
  return D->Lookup(CurrentKeyField(), Key, CurrentListField());
}

Variant TSTColumnFilterZk::DisplayToKey(const Variant& Display) {
  TDataSet* D = CurrentListDataSet();
  if (!D || !D->Active()) return Null();
  return D->Lookup(CurrentListField(), Display, CurrentKeyField());
}

String TSTColumnFilterZk::GetOperandAsString(TSTFilterOperatorZk Operator, const Variant& V) {
  const bool ByList =
      !CurrentKeyField().empty() && CurrentListDataSet() && !CurrentListField().empty();
  String Out;
  for (const Variant& E : Elements(V)) {
    const String Text = VarToStr(ByList ? KeyToDisplay(E) : E);
    const String Upper = AnsiUpperCase(Text);
    const bool Quote =
        ((Operator == foIn || Operator == foNotIn) && Text.find(u',') != String::npos) ||
        (!Text.empty() && (Text.front() == u' ' || Text.front() == u'\'' || Text.back() == u' ')) ||
        EndsWithWord(Upper, u" OR") || EndsWithWord(Upper, u" AND") || Upper == u"OR" ||
        Upper == u"AND";
    if (!Out.empty()) Out += u",";
    Out += Quote ? QuoteDoubled(Text) : Text;
  }
  return Out;
}

void TSTColumnFilterZk::SetKeyListValues(const String& AText, const Variant& KeyVals) {
  SetExpressionStr(u"");
  if (VarIsNull(KeyVals)) {
    FKeyValues = Null();
    return;
  }
  TSTFilterExpressionZk Expr = FExpression;
  Expr.ExpressionType = botString;
  Expr.Operator1 = foIn;
  Expr.Operand1 = Variant(AText);
  SetExpression(Expr);
  FKeyValues = KeyVals;
}

void TSTColumnFilterZk::SetKeysFromListValues(TStrings* ss) {
  TDataSet* D = FListLink->DataSet();
  if (!FListLink->Active() || !D || FListField.empty()) return;
  const String KeyName = FKeyField.empty() ? FListField : FKeyField;
  std::vector<Variant> Keys;
  String Text;
  for (int I = 0; I < ss->Count(); ++I) {
    Keys.push_back(Variant(VarToStr(D->Lookup(FListField, Variant(ss->Strings(I)), KeyName))));
    // Quotes inside are doubled, so the text reads back as the same values.
    Text += (I ? u"," : u"") + QuoteDoubled(ss->Strings(I));
  }
  SetKeyListValues(Text, Keys.empty() ? Null() : VarArrayOf(Keys));
}

void TSTColumnFilterZk::ListLinkActiveChange() {
  FFieldValueList.reset();
  if (FListLink->Active() && !FListField.empty() && !FKeyField.empty()) {
    TDataSet* D = FListLink->DataSet();
    FList->Clear();
    FKeys->Clear();
    D->DisableControls();
    try {
      D->First();
      while (!D->Eof()) {
        FList->Add(D->FieldByName(FListField)->Text());
        FKeys->Add(D->FieldByName(FKeyField)->Text());
        D->Next();
      }
      D->First();
    } catch (...) {
      D->EnableControls();
      throw;
    }
    D->EnableControls();
  }
}

// The list source's values when the filter has one, else the grid's memory table's.
IMemTableDataFieldValueListZk* TSTColumnFilterZk::CurrentFieldValueList() {
  if (FFieldValueList) return FFieldValueList.get();
  TCustomDBGridZk* G = Grid();
  if (!FColumn || !G) return nullptr;
  if (ListSource() && ListSource()->DataSet() && ListSource()->DataSet()->Active() &&
      G->DataLink()->Active()) {
    const String Name = FListField.empty() ? FColumn->FieldName() : FListField;
    if (ListSource()->DataSet()->FindField(Name)) {
      auto List = std::make_unique<TDatasetFieldValueListZk>();
      List->SetFieldName(Name);
      List->SetDataSource(ListSource());
      FFieldValueList = std::move(List);
    }
  } else if (auto* Table = dynamic_cast<IMemTableZk*>(G->DataSet())) {
    FFieldValueList = Table->GetFieldValueList(FColumn->FieldName());
  }
  return FFieldValueList.get();
}

// --- check marks of the filter list ---------------------------------------------------------------

void TSTColumnFilterZk::UpdateListCheckingState(TStrings* Items) {
  FListValuesCheckingState.assign(Items->Count(), false);
  std::vector<Variant> Selected;
  if (FExpression.Operator1 == foIn) {
    Selected = Elements(FExpression.Operand1);
  } else if (FExpression.Operator1 == foEqual) {
    Selected.push_back(FExpression.Operand1);
    if (FExpression.Relation == foOR && FExpression.Operator2 == foEqual)
      Selected.push_back(FExpression.Operand2);
  }
  if (Selected.empty()) return;
  if (!CurrentKeyField().empty() && CurrentListDataSet() && !CurrentListField().empty())
    for (Variant& V : Selected) V = KeyToDisplay(V);
  for (int I = 0; I < Items->Count(); ++I) {
    if (!IsFilterListDataItem || !IsFilterListDataItem(Items->Objects(I))) continue;
    for (const Variant& V : Selected)
      if (VarToStr(V) == Items->Strings(I)) FListValuesCheckingState[I] = true;
  }
}

void CheckedValuesToFilter(TSTColumnFilterZk* Filter, TStrings* Items) {
  std::vector<String> Values;
  auto& Checks = Filter->ListValuesCheckingState();
  for (int I = 0; I < Items->Count() && I < static_cast<int>(Checks.size()); ++I)
    if (Checks[I] && IsFilterListDataItem && IsFilterListDataItem(Items->Objects(I)))
      Values.push_back(QuotedStr(Items->Strings(I)));
  String Text;
  if (Values.size() == 1) {
    Text = u"=" + Values[0];
  } else if (!Values.empty()) {
    for (const String& V : Values) Text += (Text.empty() ? u"" : u",") + V;
    Text = u"in (" + Text + u")";
  }
  Filter->ApplyExpressionText(Text);
  if (TCustomDBGridZk* G = Filter->Grid())
    if (FilterEditorChangedHook) FilterEditorChangedHook(G);
  if (FilterInstantApplyHook) FilterInstantApplyHook(Filter);
}

REGISTER_CLASS(TSTColumnFilterZk) {
  using C = TSTColumnFilterZk;
  Class.Property("DataField", &C::DataField, &C::SetDataField)
      .Property("DropDownListRows", &C::DropDownListRows, &C::SetDropDownListRows, 15)
      .Property("DropDownListWidth", &C::DropDownListWidth, &C::SetDropDownListWidth, 0)
      .Property("KeyCommaText", &C::KeyCommaText, &C::SetKeyCommaText)
      .Property("KeyField", &C::KeyField, &C::SetKeyField)
      .Property("ListField", &C::ListField, &C::SetListField)
      .Property("ListSource", &C::ListSource, &C::SetListSource)
      .Property("Visible", &C::Visible, &C::SetVisible, true);
}
