// DBLookupZk.h - the lookup combo box TDBLookupComboboxZk: a data-aware edit that chooses a
// key value from a list dataset and shows the list field's text of that key, dropping down a
// TPopupDataGridZk under the edit. The list is given by ListSource, KeyField and ListField, or
// taken from a lookup field named by DataField. Without any binding it is a plain edit.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"

class TCustomDBLookupComboboxZk;

VORENTA_ENUM(TDBLookupComboboxZkStyle, csDropDownListZk, csDropDownZk);

// The combo box's field data link: several fields, and a data-independent value that may be
// the free text of the drop-down style instead of a key.
class TDataSourceLinkZk : public TFieldDataLinkZk {
public:
  explicit TDataSourceLinkZk(TCustomDBLookupComboboxZk* Combo);
  bool DataIndependentValueAsText() const { return FDataIndependentValueAsText; }
  void SetDataIndependentValueAsText(bool Value) { FDataIndependentValueAsText = Value; }

protected:
  void LayoutChanged() override;

private:
  TCustomDBLookupComboboxZk* FCombo;
  bool FDataIndependentValueAsText = false;
};

// The link to the list dataset.
class TListSourceLinkZk : public TDataLink {
public:
  explicit TListSourceLinkZk(TCustomDBLookupComboboxZk* Combo);

protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void DataSetChanged() override;
  // Moving through the list changes no text: the search index stays.
  void DataSetScrolled(int) override {}
  void RecordChanged(TField* Field) override;

private:
  TCustomDBLookupComboboxZk* FCombo;
};

// The list field's texts with their record numbers, for typing into a list that
// can number its records: a prefix search walks strings instead of the dataset, and a longer
// prefix starts where the shorter one was found. Any change of the list's data drops it; a
// list that stamps its data (DataVersion) is read again once the stamp moved.
class TLookupTextIndexZk {
public:
  void Invalidate() { FValid = false; FLastProbe.clear(); }
  // The record number of the first text equal to Str (or starting with it when Partial); 0 when
  // none. Builds the index from DataSet's Field on first use.
  int Find(TDataSet* DataSet, TField* Field, const String& Str, bool Partial);
  // Reads the texts ahead when the list hands out its stored values (it is never walked here).
  void Prepare(TDataSet* DataSet, TField* Field);
  bool IsCurrent(TDataSet* DataSet) const;

private:
  void Build(TDataSet* DataSet, TField* Field);
  bool ReadStored(TDataSet* DataSet, TField* Field);
  void Validate(TDataSet* DataSet);
  std::u16string_view TextAt(std::size_t I) const;
  std::vector<Variant> FTexts;   // record I + 1's text: a string, or Null for none
  bool FValid = false;
  int FCount = 0;
  unsigned FVersion = 0;  // the list's DataVersion when built
  String FLastProbe;
  std::size_t FLastIndex = 0;
};

class TCustomDBLookupComboboxZk : public TCustomDBEditZk, public IDropDownBoxOwnerZk {
  VORENTA_CLASS(TCustomDBLookupComboboxZk, TCustomDBEditZk)
public:
  explicit TCustomDBLookupComboboxZk(TComponent* AOwner);
  ~TCustomDBLookupComboboxZk() override;

  // --- binding
  String GetDataField() const override { return FDataFieldName; }
  void SetDataField(const String& Value) override;
  void SetDataSource(TDataSource* Value) override;
  TField* Field() const { return FDataFields.empty() ? nullptr : FDataFields[0]; }
  const String& MasterFieldNames() const { return FMasterFieldNames; }
  bool LookupMode() const { return FLookupMode; }
  String KeyField() const { return FLookupMode ? String() : FKeyFieldName; }
  void SetKeyField(const String& Value);
  const String& ListField() const { return FListFieldName; }
  void SetListField(const String& Value);
  int ListFieldIndex() const { return FListFieldIndex; }
  void SetListFieldIndex(int Value);
  TDataSource* ListSource() const { return FLookupMode ? nullptr : FListSource; }
  void SetListSource(TDataSource* Value);
  const std::vector<TField*>& ListFields() const { return FListFields; }
  TField* ListFieldObj() const { return FListField; }
  bool ListActive() const { return FListActive; }
  TDataSet* ListDataSet() const { return FListLink->DataSet(); }
  bool KeyTextIndependent() const { return FKeyTextIndependent; }

  // --- the key and the look
  const Variant& KeyValue() const { return FKeyValue; }
  void SetKeyValueProp(const Variant& Value) { SetKeyValue(Value); }
  TDBLookupComboboxZkStyle Style() const { return FStyle; }
  void SetStyle(TDBLookupComboboxZkStyle Value);
  TLookupComboboxDropDownBoxZk* DropDownBox() const { return FDropDownBox.get(); }
  void SetDropDownBox(TLookupComboboxDropDownBoxZk* Value) { FDropDownBox->Assign(Value); }
  TPopupDataGridZk* DataList() const { return FDataList; }
  bool ListVisible() const { return FListVisible; }
  // Puts the data-independent link's free text back (the edit's text when nothing binds it).
  void ClearDataProps();

  // --- events
  const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent Value) { FOnDropDown = std::move(Value); }
  const TCloseUpEventZk& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TCloseUpEventZk Value) { FOnCloseUp = std::move(Value); }
  const TNotifyEvent& OnKeyValueChanged() const { return FOnKeyValueChanged; }
  void SetOnKeyValueChanged(TNotifyEvent Value) { FOnKeyValueChanged = std::move(Value); }
  const TNotInListEventZk& OnNotInList() const { return FOnNotInList; }
  void SetOnNotInList(TNotInListEventZk Value) { FOnNotInList = std::move(Value); }

  // --- IDropDownBoxOwnerZk
  void DropDownBoxFreeNotification(TComponent* AComponent) override;
  TCustomDBGridZk* GetDropDownGrid() override { return FDataList; }
  TDBLookupGridZkOptions GetDropDownGridOptions() override { return FDataList->Options(); }
  void SetDropDownGridOptions(TDBLookupGridZkOptions Value) override { FDataList->SetOptions(Value); }

  // --- the combo box's own operations, in this order
  virtual bool CanEditKey(bool Edit);
  virtual bool ValidKeyValue(const String& KeyFields, const Variant& Value);
  virtual int GetDefaultListWidth();
  virtual bool LocateStr(const String& Str, bool Partial);
  virtual bool LocateKeyIn(TDataSource* Source);
  virtual bool IsDropDownListSource();
  virtual void KeyValueChanged();
  virtual void ListDataSetChanged();
  virtual void AutoCompleteText(const String& Str);
  virtual void SetKeyValue(const Variant& Value);
  virtual void SpecRowChanged();
  virtual void UpdateDataFields();
  virtual void UpdateListFields();
  virtual void UpdateListSource();
  virtual bool LocateKey();
  virtual void SelectAll();

  // --- the edit's operations taken over
  TFieldDataLinkZk* CreateDataLink() override;
  TEditButtonZk* CreateEditButton() override;
  bool ButtonsEnabled() override;
  TAlignment DefaultAlignment() override;
  Variant GetVariantValue() override;
  bool IsValidChar(Char Key) override;
  void ActiveChanged() override;
  void ButtonDownDropDown(bool LowerPart) override;
  void SetFocused(bool Value) override;
  void DataChanged() override;
  void InternalSetText(const String& AText) override;
  void InternalSetValue(const Variant& AValue) override;
  void UpdateData() override;
  void DropDown() override;
  void CloseUp(bool Accept) override;
  String GetDisplayTextForPaintCopy() override;
  void EditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) override;
  void UpdateReadOnlyState() override;

  void SelectNextValue(bool IsPrior);
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

protected:
  friend class TDataSourceLinkZk;
  friend class TListSourceLinkZk;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EditPaste() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

  TDataSourceLinkZk* SourceLink() const { return static_cast<TDataSourceLinkZk*>(FDataLink.get()); }
  TDataSource* EffectiveListSource() const;
  TDataSource* MainListSource() const;
  void UpdateKeyTextIndependent();
  void UpdateEditReadOnly();
  void InternalSetKeyValue(const Variant& Value);
  void SetTextInternal(const String& Text);
  String GetListFieldText() const;
  // The list's text for the current key by the text rule; Found tells whether a text was found.
  bool ApplyTextRule(bool InDataChanged);
  Variant ListRowKey() const;
  void CheckNotCircular();
  void CheckListSettable();
  bool WheelStep(bool Prior);
  // Typed texts are searched through the text index: a sequenced list of plain texts.
  bool UsesTextIndex() const;
  void PrepareTextIndex();
  bool LocateListText(const String& Str, bool Partial);
  void TypedInDropDownStyle(Char Typed);
  void RelocateWholeText();

  String FDataFieldName;
  TFieldsArrZk FDataFields;
  TFieldsArrZk FMasterFields;
  String FMasterFieldNames;
  bool FDataFieldsUpdating = false;
  bool FLookupMode = false;
  std::unique_ptr<TDataSource> FLookupSource;
  String FKeyFieldName;
  TFieldsArrZk FKeyFields;
  String FListFieldName;
  std::vector<TField*> FListFields;
  int FListFieldIndex = 0;
  TField* FListField = nullptr;
  TDataSource* FListSource = nullptr;
  std::unique_ptr<TListSourceLinkZk> FListLink;
  bool FListActive = false;
  Variant FKeyValue;
  bool FKeyTextIndependent = true;
  int FLockUpdateKeyTextIndependent = 0;
  TPopupDataGridZk* FDataList = nullptr;
  std::unique_ptr<TLookupComboboxDropDownBoxZk> FDropDownBox;
  bool FListVisible = false;
  bool FListColumnMothed = false;
  bool FInternalTextSetting = false;
  bool FTextBeenChanged = false;
  TLookupTextIndexZk FTextIndex;
  TDBLookupComboboxZkStyle FStyle = csDropDownListZk;
  TNotifyEvent FOnDropDown;
  TCloseUpEventZk FOnCloseUp;
  TNotifyEvent FOnKeyValueChanged;
  TNotInListEventZk FOnNotInList;
};

class TDBLookupComboboxZk : public TCustomDBLookupComboboxZk {
  VORENTA_CLASS(TDBLookupComboboxZk, TCustomDBLookupComboboxZk)
public:
  explicit TDBLookupComboboxZk(TComponent* AOwner) : TCustomDBLookupComboboxZk(AOwner) {}
  const TButtonClickEventZk& OnButtonClick() const { return TCustomDBEditZk::OnButtonClick(); }
  void SetOnButtonClick(TButtonClickEventZk Value);
  const TButtonDownEventZk& OnButtonDown() const { return TCustomDBEditZk::OnButtonDown(); }
  void SetOnButtonDown(TButtonDownEventZk Value);
};

void RegisterDBLookupZkClasses();
