// DBLookupGridsZk.h - the lookup grid TDBLookupGridZk (a list grid that chooses one key value
// from a list dataset, with an optional special first row and type-ahead) and its drop-down
// form TPopupDataGridZk (a borderless popup that never takes the focus, with a size grip and
// hover selection), used by the lookup combo box and the data grid's lookup cells.
//
// The lookup grid is a data grid whose own data source is the list source; a second data link
// binds it to the data record that receives the chosen key. Rows are read through the list
// link's buffered window, or, over a memory table, every record of the list is a row.
#pragma once

#include <memory>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/DropDownWindow.h"

class TDBLookupGridZk;
class TSizeGripZk;

// The fields' names joined with ';'.
String JoinFieldNames(const TFieldsArrZk& Fields);
// The list side of a lookup control: KeyFields from KeyFieldName; ListFields from ListFieldName
// (an unknown name raises the field-not-found database error); a lookup field's result field
// (LookupResult, nullptr outside lookup mode) goes first and is the list field; otherwise an
// empty list shows the key fields and the list field is ListFields[ListFieldIndex], or the first.
void ResolveLookupListFields(TDataSet* List, const TComponent* Owner, const String& KeyFieldName,
                             const String& ListFieldName, TField* LookupResult,
                             int ListFieldIndex, TFieldsArrZk& KeyFields,
                             std::vector<TField*>& ListFields, TField*& ListField);

// The cell of a column in the special row: text, colour and font, each following the grid's
// special row until assigned.
class TGridColumnSpecCellZk : public TPersistent {
  VORENTA_CLASS(TGridColumnSpecCellZk, TPersistent)
public:
  explicit TGridColumnSpecCellZk(TColumnZk* Column = nullptr);
  ~TGridColumnSpecCellZk() override;
  void Assign(TPersistent* Source) override;
  String Text() const;
  void SetText(const String& Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool IsTextStored() const { return FTextAssigned; }
  bool IsColorStored() const { return FColorAssigned; }
  bool IsFontStored() const { return FFontAssigned; }

private:
  TSpecRowZk* GridSpecRow() const;
  TColumnZk* FColumn;
  String FText;
  TColor FColor = clWindow;
  std::unique_ptr<TFont> FFont;
  bool FTextAssigned = false, FColorAssigned = false, FFontAssigned = false;
  bool FFontSetting = false;
};

class TDBLookupGridColumnZk : public TColumnZk {
  VORENTA_CLASS(TDBLookupGridColumnZk, TColumnZk)
public:
  explicit TDBLookupGridColumnZk(TCollection* ACollection);
  ~TDBLookupGridColumnZk() override;
  TGridColumnSpecCellZk* SpecCell() const { return FSpecCell.get(); }
  void SetSpecCell(TGridColumnSpecCellZk* Value) { FSpecCell->Assign(Value); }
  TDBLookupGridZk* LookupGrid() const;
  // Moving an automatic column makes the list field order follow it.
  void SetIndex(int Value) override;

private:
  std::unique_ptr<TGridColumnSpecCellZk> FSpecCell;
};

class TDBLookupGridColumnDefValuesZk : public TColumnDefValuesZk {
  VORENTA_CLASS(TDBLookupGridColumnDefValuesZk, TColumnDefValuesZk)
public:
  explicit TDBLookupGridColumnDefValuesZk(TCustomDBGridZk* Grid = nullptr)
      : TColumnDefValuesZk(Grid) {}
};

// The link to the data record that receives the chosen key.
class TLookupGridDataLinkZk : public TDataLink {
public:
  explicit TLookupGridDataLinkZk(TDBLookupGridZk* Grid) : FGrid(Grid) {}

protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void FocusControl(TField*& Field) override;

private:
  TDBLookupGridZk* FGrid;
};

class TDBLookupGridZk : public TCustomDBGridZk {
  VORENTA_CLASS(TDBLookupGridZk, TCustomDBGridZk)
public:
  explicit TDBLookupGridZk(TComponent* AOwner);
  ~TDBLookupGridZk() override;

  // --- binding
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  const String& DataField() const { return FDataFieldName; }
  void SetDataField(const String& Value);
  TField* Field() const { return FDataFields.empty() ? nullptr : FDataFields[0]; }
  const String& MasterFieldNames() const { return FMasterFieldNames; }
  bool LookupMode() const { return FLookupMode; }
  // The list: the grid's own data source (nullptr in lookup mode).
  TDataSource* ListSource() const;
  void SetListSource(TDataSource* Value);
  String KeyField() const { return FLookupMode ? String() : FKeyFieldName; }
  void SetKeyField(const String& Value);
  const String& ListField() const { return FListFieldName; }
  void SetListField(const String& Value);
  int ListFieldIndex() const { return FListFieldIndex; }
  void SetListFieldIndex(int Value);
  const std::vector<TField*>& ListFields() const { return FListFields; }
  TField* ListFieldObj() const { return FListField; }
  bool ListActive() const { return FListActive; }
  TDataSet* ListDataSet() const;

  // --- the key
  const Variant& KeyValue() const { return FKeyValue; }
  void SetKeyValue(const Variant& Value);
  const String& SelectedItem() const { return FSelectedItem; }
  const String& SearchText() const { return FSearchText; }
  void SetSearchText(const String& Value) { FSearchText = Value; }
  bool KeyRowVisible() const { return FKeyRowVisible; }

  // --- look
  TSpecRowZk* SpecRow() const { return FSpecRow.get(); }
  void SetSpecRow(TSpecRowZk* Value) { FSpecRow->Assign(Value); }
  bool SpecRowVisible() const { return FSpecRow->Visible(); }
  // Visible data rows (1..100).
  int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  TDBLookupGridZkOptions Options() const { return FLookupOptions; }
  void SetOptions(TDBLookupGridZkOptions Value);
  bool ShowTitles() const { return TCustomDBGridZk::Options().Contains(dgTitles); }
  void SetShowTitles(bool Value);
  void SetUseMultiTitle(bool Value);
  bool AutoFitColWidths() const { return FLGAutoFitColWidths; }
  void SetAutoFitColWidths(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool Popup() const { return FPopup; }

  // --- operations
  TRect DataRect();
  int GetColumnsWidthToFit();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Selects the row (or special row) under the client point, as the mouse does.
  void SelectRowAt(int X, int Y);
  // The special row's grid row (-1 while hidden).
  int SpecRowGridRow() const;
  int RecordIndex() const { return FRecordIndex; }
  // The list is a memory table whose records are all rows of the grid (the data grid's row
  // model): the grid's own bar, wheel and row numbers apply instead of the link's window.
  bool InMemoryMode() const { return UsesMemTableRows(); }
  int RecordCountShown() const { return FRecordCount; }

  void Dispatch(TMessage& Message) override;

  // --- the lookup grid's own operations, in this order
  virtual bool CanModifyLookup();
  virtual bool ValidKeyValue(const String& KeyFields, const Variant& Value);
  virtual int GetBorderSize();
  virtual int GetSpecRowHeight();
  virtual int GetDataRowHeight();
  virtual void KeyValueChanged();
  virtual void ListLinkDataChanged();
  virtual void ProcessSearchKey(Char Key);
  virtual void SelectKeyValue(const Variant& Value);
  virtual void SpecRowChanged();
  virtual void UpdateColWidthsAndHeight();
  virtual void UpdateDataFields();
  virtual void UpdateListFields();
  virtual bool LocateKey();

  // --- the data grid's operations taken over
  void LinkActive(bool Value) override;
  void DataChanged() override;
  void Scroll(int Distance) override;
  void LayoutChanged() override;
  void UpdateRowCount() override;
  void UpdateScrollBar() override;
  int FilterRowCount() override;
  bool CellDrawn3D(int ACol, int ARow, TGridDrawState State) override;
  bool IsCellSelected(int ACol, int ARow, TGridDrawState State) override;
  void DoGetCellParams(TColumnZk* Column, TFont* AFont, TColor& Background,
                       TGridDrawState State) override;
  void GetDataSetFields(std::vector<TField*>& List) override;
  void BuildFieldMap() override;
  void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void ColumnWidthsChanged() override;
  void FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                      int& SizingOfs, TGridMetrics& Metrics) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  TDBGridColumnsZk* CreateColumns() override;
  TColumnDefValuesZk* CreateColumnDefValues() override;
  bool LocateText(TCustomDBGridZk* AGrid, const String& FieldName, const String& Text,
                  TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                  TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange) override;

  // ---- for tests ----
  // The time stamp of the last type-ahead character (one for the whole program).
  static Cardinal& SearchTickCount();

protected:
  friend class TLookupGridDataLinkZk;
  friend class TDBLookupGridColumnZk;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  void UpdateKeyValueFromData(TField* AField);
  void SetLookupMode(bool Value);
  void SelectCurrentRecord();
  void SelectSpecRow();
  void UpdateCurrentRow();
  void MoveCurrentCellToRow(int GridRow);
  int FindKeyRowIndex();
  // The list's current record among the rows: its view row, or its place in the link's window.
  int CurrentRecordIndex() const;
  Variant RowKey();
  void DrawSpecRowCell(int ACol, const TRect& ARect);
  void CheckNotCircular();
  void CheckListSettable();
  void ResolveListFields();
  void TrackStep();
  bool InDataRows(int Y) const;
  void ApplyRowCount() { SetRowCount(FRowCount); }
  // The scroll-bar style AutoFitColWidths asks for (no horizontal bar while fitting).
  void ApplyScrollBarsStyle();
  void SwitchColumnFitting(bool Value);
  void FitColumnsToClient();
  int TitleHeightPx() const;

  std::unique_ptr<TLookupGridDataLinkZk> FLookupDataLink;
  std::unique_ptr<TDataSource> FLookupSource;
  String FDataFieldName;
  TFieldsArrZk FDataFields;
  TFieldsArrZk FMasterFields;
  String FMasterFieldNames;
  bool FLookupMode = false;
  String FKeyFieldName;
  TFieldsArrZk FKeyFields;
  String FListFieldName;
  std::vector<TField*> FListFields;
  int FListFieldIndex = 0;
  TField* FListField = nullptr;
  bool FListActive = false;
  Variant FKeyValue;
  String FSelectedItem;
  String FSearchText;
  std::unique_ptr<TSpecRowZk> FSpecRow;
  int FSpecRowHeight = 0;
  int FRowCount = 7;
  int FRecordIndex = 0, FRecordCount = 0;
  bool FKeySelected = false, FKeyRowVisible = false;
  TDBLookupGridZkOptions FLookupOptions;
  bool FLGAutoFitColWidths = false;
  bool FInternalWidthSetting = false, FInternalHeightSetting = false;
  bool FLockPosition = false;
  bool FLocatingText = false;   // the data grid's own search is moving the list
  bool FPopup = false;
  bool FReadOnly = false;
  bool FLookupTracking = false;
  bool FUpdatingWidths = false, FRecalcHeight = false;
  TPoint FMousePos;
};

// The drop-down form: a popup tool window that is never activated and never focused.
class TPopupDataGridZk : public TDBLookupGridZk {
  VORENTA_CLASS(TPopupDataGridZk, TDBLookupGridZk)
public:
  explicit TPopupDataGridZk(TComponent* AOwner);
  ~TPopupDataGridZk() override;

  TDropDownLink& Link() { return FLink; }
  TSizeGripZk* SizeGrip() const { return FSizeGrip; }
  bool SizeGripResized() const { return FSizeGripResized; }
  void SetSizeGripResized(bool Value) { FSizeGripResized = Value; }
  const TCloseUpEventZk& OnMouseCloseUp() const { return FOnMouseCloseUp; }
  void SetOnMouseCloseUp(TCloseUpEventZk Value) { FOnMouseCloseUp = std::move(Value); }
  const TNotifyEvent& OnUserKeyValueChange() const { return FOnUserKeyValueChange; }
  void SetOnUserKeyValueChange(TNotifyEvent Value) { FOnUserKeyValueChange = std::move(Value); }

  bool CanFocus() const override { return false; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;
  void KeyValueChanged() override;
  // The owner forwards its navigation keys here.
  void KeyDown(Word& Key, TShiftState Shift) override;
  using TDBLookupGridZk::KeyUp;

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void PaintNonClient(HDC DC) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  TDropDownLink FLink;
  TSizeGripZk* FSizeGrip;
  bool FSizeGripResized = false;
  bool FUserKeyValueChanged = false;
  bool FKeySelection = false;
  TCloseUpEventZk FOnMouseCloseUp;
  TNotifyEvent FOnUserKeyValueChange;
};

void RegisterDBLookupGridsZkClasses();
