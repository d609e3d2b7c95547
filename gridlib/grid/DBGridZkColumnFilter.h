// DBGridZkColumnFilter.h - TSTColumnFilterZk, the filter condition every grid column owns
// (TColumnZk::STFilter): the parsed record, the text the user typed, list settings that let
// the filter be typed in display values and compared in key values, and the check marks of
// the values offered in the filter drop-down.
#pragma once

#include <memory>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkFilterUtils.h"
#include "gridlib/toolkit/FieldValueListZk.h"
#include "platform/classes/Object.h"

class TColumnZk;
class TCustomDBGridZk;
class TDataSet;
class TDataSource;
class TFilterListLinkZk;
class TStrings;

class TSTColumnFilterZk : public TPersistent {
  VORENTA_CLASS(TSTColumnFilterZk, TPersistent)
public:
  explicit TSTColumnFilterZk(TColumnZk* AColumn = nullptr);
  ~TSTColumnFilterZk() override;
  // Copies DataField, Visible, KeyField, ListField and ListSource; not the condition.
  void Assign(TPersistent* Source) override;

  TColumnZk* Column() const { return FColumn; }
  TCustomDBGridZk* Grid() const;

  const String& DataField() const { return FDataField; }
  void SetDataField(const String& Value) { FDataField = Value; }
  const String& KeyCommaText() const { return FKeyCommaText; }
  void SetKeyCommaText(const String& Value) { FKeyCommaText = Value; }
  const String& KeyField() const { return FKeyField; }
  void SetKeyField(const String& Value) { FKeyField = Value; }
  const String& ListField() const { return FListField; }
  void SetListField(const String& Value) { FListField = Value; }
  TDataSource* ListSource() const;
  void SetListSource(TDataSource* Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int DropDownListWidth() const { return FDropDownListWidth; }
  void SetDropDownListWidth(int Value) { FDropDownListWidth = Value; }
  int DropDownListRows() const { return FDropDownListRows; }
  void SetDropDownListRows(int Value) { FDropDownListRows = Value; }

  // A copy of the record; setting it regenerates ExpressionStr from it.
  TSTFilterExpressionZk Expression() const { return FExpression; }
  void SetExpression(const TSTFilterExpressionZk& Value);
  // The record alone, text untouched (a condition switched off for a moment).
  void SetExpressionQuietly(const TSTFilterExpressionZk& Value) { FExpression = Value; }
  // The text as entered; setting it parses it (errors keep the previous text and record) and
  // repaints the grid.
  const String& ExpressionStr() const { return FExpressionStr; }
  void SetExpressionStr(const String& Value);
  // Key values Null, condition and text empty.
  void Clear();
  bool IsEmpty() const { return FExpression.ExpressionType == botNon || FExpression.Operator1 == foNon; }

  TStrings* List() const { return FList.get(); }
  TStrings* Keys() const { return FKeys.get(); }
  const Variant& KeyValues() const { return FKeyValues; }
  std::vector<bool>& ListValuesCheckingState() { return FListValuesCheckingState; }
  int PopupListboxDownIndex = -1;
  // The column's OnFillSTFilterListValues.
  TDBGridZkFillSTFilterListValuesEvent OnFillSTFilterListValues;
  bool InFilterListBox = false;
  bool EnterNotClearData = false;

  // --- virtual operations, in this order
  virtual void FilterExpressionToText(String& Text);
  virtual bool HasFilterButton() { return true; }
  virtual void ApplyExpressionText(const String& Text);
  virtual void PickToKeyValues(TSTFilterExpressionZk& Expression);
  virtual String GetFilterFieldName();
  virtual Variant GetOperand1();
  virtual Variant GetOperand2();

  String CurrentDataField();
  String CurrentKeyField();
  String CurrentListField();
  TDataSet* CurrentListDataSet();

  // An operand as the reader takes it back: array elements joined by ",", keys shown as their
  // list values, quoted (quotes doubled) where the bare text would read otherwise.
  String GetOperandAsString(TSTFilterOperatorZk Operator, const Variant& V);
  // The text of one operand value in the display text: floats bare, dates in the short date
  // form, anything else quoted with its quotes doubled.
  static String OperandDisplayText(const Variant& V);
  void SetKeyListValues(const String& AText, const Variant& KeyVals);
  void SetKeysFromListValues(TStrings* ss);
  // Ticks the data items of Items whose texts are the condition's selected values.
  void UpdateListCheckingState(TStrings* Items);
  // The column's cached list of distinct values (TColumnZk::GetCurrentFieldValueList).
  IMemTableDataFieldValueListZk* CurrentFieldValueList();
  void DropFieldValueList() { FFieldValueList.reset(); }

private:
  void ListLinkActiveChange();
  Variant KeyToDisplay(const Variant& Key);
  Variant DisplayToKey(const Variant& Display);
  String ConditionDisplayText(TSTFilterOperatorZk Operator, const Variant& Operand);
  void ConvertSetOperandToKeys(TSTFilterOperatorZk Operator, Variant& Operand);

  TColumnZk* FColumn;
  String FDataField, FKeyCommaText, FKeyField, FListField;
  std::unique_ptr<TStrings> FKeys, FList, FPopupFilterItems;
  Variant FKeyValues = Variant::MakeNull();
  std::unique_ptr<TFilterListLinkZk> FListLink;
  bool FVisible = true;
  int FDropDownListWidth = 0;
  int FDropDownListRows = 15;
  TSTFilterExpressionZk FExpression;
  String FExpressionStr;
  std::vector<bool> FListValuesCheckingState;
  std::unique_ptr<IMemTableDataFieldValueListZk> FFieldValueList;
};

// The checked data items of Items as the column's filter text: ='abc' for one, in ('a','b')
// for several (quotes doubled), empty for none; applied and shown in a visible filter editor.
void CheckedValuesToFilter(TSTColumnFilterZk* Filter, TStrings* Items);

// Set by the filter row's unit when it starts: whether an item object of a filter list is a
// value (a data item) rather than a command; reloading a visible filter editor of the grid;
// applying the grid's filter when its settings ask for instant application.
extern bool (*IsFilterListDataItem)(TObject* ItemObject);
extern void (*FilterEditorChangedHook)(TCustomDBGridZk* Grid);
extern void (*FilterInstantApplyHook)(TSTColumnFilterZk* Filter);
