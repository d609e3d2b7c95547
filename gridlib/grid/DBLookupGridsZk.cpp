// DBLookupGridsZk.cpp - the lookup grid: binding of the data and the list, the key, the special
// row, keys, mouse, type-ahead, scroll bar and sizing. The popup form is DBLookupGridsZkPopup.cpp.
#include "gridlib/grid/DBLookupGridsZk.h"

#include <algorithm>
#include <climits>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr unsigned SearchResetMs = 2000;
constexpr std::size_t MaxSearchLength = 32;
constexpr unsigned TrackTimerId = 3;

[[noreturn]] void RaiseDatabaseError(const String& Text) { throw EDatabaseError(Text); }

bool IsSearchableField(const TField* F) {
  if (!F) return false;
  const TFieldKind Kind = F->FieldKind();
  const TFieldType Type = F->DataType();
  return (Kind == fkData || Kind == fkInternalCalc) && (Type == ftString || Type == ftWideString);
}

}  // namespace

String JoinFieldNames(const TFieldsArrZk& Fields) {
  String S;
  for (TField* F : Fields) {
    if (!S.empty()) S += u';';
    S += F->FieldName();
  }
  return S;
}

void ResolveLookupListFields(TDataSet* List, const TComponent* Owner, const String& KeyFieldName,
                             const String& ListFieldName, TField* LookupResult,
                             int ListFieldIndex, TFieldsArrZk& KeyFields,
                             std::vector<TField*>& ListFields, TField*& ListField) {
  FieldsArrayByNames(List, Owner, KeyFieldName, KeyFields);
  ListFields.clear();
  ListField = nullptr;
  CollectFieldsByNames(&ListFields, List, Owner, ListFieldName);
  if (LookupResult) {
    if (std::find(ListFields.begin(), ListFields.end(), LookupResult) == ListFields.end())
      ListFields.insert(ListFields.begin(), LookupResult);
    ListField = LookupResult;
    return;
  }
  if (ListFields.empty()) ListFields.assign(KeyFields.begin(), KeyFields.end());
  const int N = static_cast<int>(ListFields.size());
  if (N > 0) ListField = ListFields[ListFieldIndex >= 0 && ListFieldIndex < N ? ListFieldIndex : 0];
}

// --- special-row cells of the columns -------------------------------------------------------------

TGridColumnSpecCellZk::TGridColumnSpecCellZk(TColumnZk* Column)
    : FColumn(Column), FFont(std::make_unique<TFont>()) {
  FFont->SetOnChange([this](TObject*) {
    if (!FFontSetting) FFontAssigned = true;
  });
}

TGridColumnSpecCellZk::~TGridColumnSpecCellZk() = default;

TSpecRowZk* TGridColumnSpecCellZk::GridSpecRow() const {
  auto* Grid = FColumn ? dynamic_cast<TDBLookupGridZk*>(FColumn->Grid()) : nullptr;
  return Grid ? Grid->SpecRow() : nullptr;
}

String TGridColumnSpecCellZk::Text() const {
  if (FTextAssigned) return FText;
  TSpecRowZk* Row = GridSpecRow();
  return Row && FColumn ? Row->GetCellsTextItem(FColumn->Index()) : String();
}

void TGridColumnSpecCellZk::SetText(const String& Value) {
  if (Value == Text()) return;
  FText = Value;
  FTextAssigned = true;
}

TColor TGridColumnSpecCellZk::Color() const {
  if (FColorAssigned) return FColor;
  TSpecRowZk* Row = GridSpecRow();
  return Row ? Row->Color() : clWindow;
}

void TGridColumnSpecCellZk::SetColor(TColor Value) {
  if (Value == Color()) return;
  FColor = Value;
  FColorAssigned = true;
}

TFont* TGridColumnSpecCellZk::Font() const {
  if (!FFontAssigned) {
    if (TSpecRowZk* Row = GridSpecRow()) {
      auto* Self = const_cast<TGridColumnSpecCellZk*>(this);
      Self->FFontSetting = true;
      FFont->Assign(Row->Font());
      Self->FFontSetting = false;
    }
  }
  return FFont.get();
}

void TGridColumnSpecCellZk::SetFont(TFont* Value) { FFont->Assign(Value); }

void TGridColumnSpecCellZk::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TGridColumnSpecCellZk*>(Source);
  if (!Other) {
    TPersistent::Assign(Source);
    return;
  }
  SetText(Other->Text());
  SetColor(Other->Color());
  if (Other->FFontAssigned) SetFont(Other->FFont.get());
}

// --- columns --------------------------------------------------------------------------------------

TDBLookupGridColumnZk::TDBLookupGridColumnZk(TCollection* ACollection)
    : TColumnZk(ACollection), FSpecCell(std::make_unique<TGridColumnSpecCellZk>(this)) {}

TDBLookupGridColumnZk::~TDBLookupGridColumnZk() = default;

TDBLookupGridZk* TDBLookupGridColumnZk::LookupGrid() const {
  return dynamic_cast<TDBLookupGridZk*>(Grid());
}

namespace {

// The special row's cell texts in the order the columns take after a move From -> To.
String ReorderSpecRowCells(TSpecRowZk* Row, int From, int To, int Count) {
  std::vector<String> Cells;
  for (int I = 0; I < Count; ++I) Cells.push_back(Row->GetCellsTextItem(I));
  if (From < 0 || From >= Count || To < 0 || To >= Count) return Row->CellsText();
  const String Moved = Cells[From];
  Cells.erase(Cells.begin() + From);
  Cells.insert(Cells.begin() + To, Moved);
  String S;
  for (int I = 0; I < Count; ++I) {
    if (I > 0) S += u';';
    S += Cells[I];
  }
  return S;
}

}  // namespace

void TDBLookupGridColumnZk::SetIndex(int Value) {
  TDBLookupGridZk* G = LookupGrid();
  const int Old = Index();
  if (!G || !G->ListActive() || Value == Old || Value < 0 || !Collection() ||
      Value >= Collection()->Count()) {
    TColumnZk::SetIndex(Value);
    return;
  }
  const int Count = Collection()->Count();
  TSpecRowZk* Row = G->SpecRow();
  if (Stored()) {
    Row->SetCellsText(ReorderSpecRowCells(Row, Old, Value, Count));
    TColumnZk::SetIndex(Value);
    return;
  }
  // An automatic column: the list field order follows, the list field stays the same field.
  G->BeginUpdate();
  try {
    int ListIndex = G->FListFieldIndex;
    if (ListIndex == Old) ListIndex = Value;
    else if (Old < ListIndex && Value >= ListIndex) --ListIndex;
    else if (Old > ListIndex && Value <= ListIndex) ++ListIndex;
    Row->SetCellsText(ReorderSpecRowCells(Row, Old, Value, Count));
    SetStored(true);
    TColumnZk::SetIndex(Value);
    SetStored(false);
    String Names;
    for (int I = 0; I < Count; ++I) {
      if (I > 0) Names += u';';
      Names += static_cast<TColumnZk*>(Collection()->Items(I))->FieldName();
    }
    G->FListFieldIndex = ListIndex;
    G->FListFieldName = Names;
    G->UpdateListFields();
  } catch (...) {
    G->EndUpdate();
    throw;
  }
  G->EndUpdate();
}

// --- the data link --------------------------------------------------------------------------------

void TLookupGridDataLinkZk::ActiveChanged() { FGrid->UpdateDataFields(); }
void TLookupGridDataLinkZk::LayoutChanged() { FGrid->UpdateDataFields(); }
void TLookupGridDataLinkZk::RecordChanged(TField* Field) { FGrid->UpdateKeyValueFromData(Field); }
void TLookupGridDataLinkZk::FocusControl(TField*& Field) {
  if (Field && Field == FGrid->Field() && FGrid->CanFocus()) {
    Field = nullptr;
    FGrid->SetFocus();
  }
}

// --- construction ---------------------------------------------------------------------------------

Cardinal& TDBLookupGridZk::SearchTickCount() {
  static Cardinal Stamp = 0;
  return Stamp;
}

TDBLookupGridZk::TDBLookupGridZk(TComponent* AOwner) : TCustomDBGridZk(AOwner) {
  // The base constructor made its own column classes; the lookup grid uses its own.
  FColumnDefValues.reset(CreateColumnDefValues());
  FColumns.reset(CreateColumns());
  TControlStyle Style = ControlStyle();
  Style << csReplicatable;
  SetControlStyle(Style);
  SetParentColor(false);
  FLookupSource = std::make_unique<TDataSource>(nullptr);
  FLookupDataLink = std::make_unique<TLookupGridDataLinkZk>(this);
  FKeyValue = Null();
  FSpecRow = std::make_unique<TSpecRowZk>(this);
  FSpecRow->SetOnChanged([this](TObject*) { SpecRowChanged(); });
  TCustomDBGridZk::SetOptions({dgColLines, dgRowSelect});
  SetOptionsZk(OptionsZk() + TDBGridZkOptions{dghTraceColSizing});
  FLookupOptions = {dlgColLinesZk};
  VertScrollBar()->SetTracking(true);
  HorzScrollBar()->SetTracking(true);
  SetFlat(true);
  SetDrawMemoText(true);
  SetTabStop(false);
  SetVTitleMargin(5);
}

TDBLookupGridZk::~TDBLookupGridZk() {
  Destroying();
  FSpecRow->SetOnChanged(nullptr);
  FLookupDataLink->SetDataSource(nullptr);
  FLookupDataLink.reset();
  SetListSource(nullptr);
}

TDBGridColumnsZk* TDBLookupGridZk::CreateColumns() {
  return new TDBGridColumnsZk(this, TDBLookupGridColumnZk::ClassInfo());
}

TColumnDefValuesZk* TDBLookupGridZk::CreateColumnDefValues() {
  return new TDBLookupGridColumnDefValuesZk(this);
}

// --- binding the data -----------------------------------------------------------------------------

TDataSource* TDBLookupGridZk::DataSource() const { return FLookupDataLink->DataSource(); }

void TDBLookupGridZk::SetDataSource(TDataSource* Value) {
  if (Value == DataSource()) return;
  FLookupDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  UpdateDataFields();
}

void TDBLookupGridZk::SetDataField(const String& Value) {
  if (Value == FDataFieldName) return;
  FDataFieldName = Value;
  UpdateDataFields();
}

TDataSet* TDBLookupGridZk::ListDataSet() const { return TCustomDBGridZk::DataSet(); }

void TDBLookupGridZk::CheckNotCircular() {
  TDataSet* List = ListDataSet();
  if (List && FLookupDataLink->DataSource() && List->IsLinkedTo(FLookupDataLink->DataSource()))
    RaiseDatabaseError(u"Circular datalinks are not allowed");
}

void TDBLookupGridZk::UpdateDataFields() {
  FMasterFieldNames.clear();
  FDataFields.clear();
  FMasterFields.clear();
  TDataSet* Data = FLookupDataLink->DataSet();
  if (FLookupDataLink->Active() && Data && !FDataFieldName.empty()) {
    CheckNotCircular();
    FieldsArrayByNames(Data, this, FDataFieldName, FDataFields);
    if (FDataFields.size() == 1 && FDataFields[0]->Lookup())
      FieldsArrayByNames(Data, this, FDataFields[0]->KeyFields(), FMasterFields);
    else
      FMasterFields = FDataFields;
    FMasterFieldNames = JoinFieldNames(FMasterFields);
  }
  SetLookupMode(FDataFields.size() == 1 && FDataFields[0]->Lookup());
  UpdateKeyValueFromData(nullptr);
}

void TDBLookupGridZk::SetLookupMode(bool Value) {
  if (Value == FLookupMode) {
    if (Value) FLookupSource->SetDataSet(FDataFields[0]->LookupDataSet());
    return;
  }
  if (Value) {
    TField* F = FDataFields[0];
    FLookupSource->SetDataSet(F->LookupDataSet());
    FKeyFieldName = F->LookupKeyFields();
    FLookupMode = true;
    TCustomDBGridZk::SetDataSource(FLookupSource.get());
  } else {
    TCustomDBGridZk::SetDataSource(nullptr);
    FKeyFieldName.clear();
    FLookupSource->SetDataSet(nullptr);
    FLookupMode = false;
    FMasterFields = FDataFields;
  }
  UpdateListFields();
}

void TDBLookupGridZk::UpdateKeyValueFromData(TField* AField) {
  if (AField && std::find(FMasterFields.begin(), FMasterFields.end(), AField) ==
                    FMasterFields.end())
    return;
  if (FMasterFields.empty()) SetKeyValue(Null());
  else SetKeyValue(FLookupDataLink->DataSet()->FieldValues(FMasterFieldNames));
}

// --- binding the list -----------------------------------------------------------------------------

TDataSource* TDBLookupGridZk::ListSource() const {
  return FLookupMode ? nullptr : TCustomDBGridZk::DataSource();
}

void TDBLookupGridZk::CheckListSettable() {
  if (FLookupMode) RaiseDatabaseError(u"Property already defined by lookup field");
  if (TCustomDBGridZk::DataLink()->DataSourceFixed())
    RaiseDatabaseError(u"Operation not allowed in a DBCtrlGrid");
}

void TDBLookupGridZk::SetListSource(TDataSource* Value) {
  if (Value == TCustomDBGridZk::DataSource() && !FLookupMode) return;
  if (ComponentState().Contains(csDestroying)) {
    TCustomDBGridZk::SetDataSource(nullptr);
    return;
  }
  CheckListSettable();
  TCustomDBGridZk::SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TDBLookupGridZk::SetKeyField(const String& Value) {
  if (Value == FKeyFieldName) return;
  CheckListSettable();
  FKeyFieldName = Value;
  UpdateListFields();
  UpdateColWidthsAndHeight();
}

void TDBLookupGridZk::SetListField(const String& Value) {
  if (Value == FListFieldName) return;
  FListFieldName = Value;
  UpdateListFields();
  UpdateColWidthsAndHeight();
}

void TDBLookupGridZk::SetListFieldIndex(int Value) {
  if (Value == FListFieldIndex) return;
  FListFieldIndex = Value;
  UpdateListFields();
}

void TDBLookupGridZk::ResolveListFields() {
  TDataSet* List = ListDataSet();
  CheckNotCircular();
  TField* Result = FLookupMode ? List->FindField(FDataFields[0]->LookupResultField()) : nullptr;
  try {
    ResolveLookupListFields(List, this, FKeyFieldName, FListFieldName, Result, FListFieldIndex,
                            FKeyFields, FListFields, FListField);
  } catch (const EDatabaseError&) {
    FListFields.clear();
    FListField = nullptr;
    RaiseDatabaseError(u"Field '" + FListFieldName + u"' not found");
  }
}

void TDBLookupGridZk::UpdateListFields() {
  FListActive = false;
  FListField = nullptr;
  FListFields.clear();
  try {
    if (FLookupMode) FKeyFieldName = FDataFields[0]->LookupKeyFields();
    if (TCustomDBGridZk::DataLink()->Active() && !FKeyFieldName.empty()) {
      ResolveListFields();
      FListActive = true;
    }
  } catch (...) {
    if (FListActive) KeyValueChanged();
    else ListLinkDataChanged();
    throw;
  }
  // The grid rebuilds its automatic columns from the list fields.
  TCustomDBGridZk::LayoutChanged();
  if (FListActive) KeyValueChanged();
  else ListLinkDataChanged();
}

// --- the key --------------------------------------------------------------------------------------

Variant TDBLookupGridZk::RowKey() {
  TDataSet* List = ListDataSet();
  if (!List || FKeyFieldName.empty()) return Null();
  return List->FieldValues(FKeyFieldName);
}

void TDBLookupGridZk::SetKeyValue(const Variant& Value) {
  if (VariantsEqual(FKeyValue, Value)) return;
  FKeyValue = Value;
  KeyValueChanged();
}

void TDBLookupGridZk::KeyValueChanged() {
  bool Located = false, Tried = false;
  if (FSpecRow->Visible()) {
    FSpecRow->SetSelected(VariantsEqual(FKeyValue, FSpecRow->Value()));
    if (!FSpecRow->Selected() && !FLockPosition && FSpecRow->ShowIfNotInKeyList()) {
      Tried = true;
      Located = LocateKey();
      if (Located) ListLinkDataChanged();
      else FSpecRow->SetSelected(true);
    }
  } else {
    FSpecRow->SetSelected(false);
  }
  if (FListActive && !FLockPosition) {
    if (!Tried) Located = LocateKey();
    if (Located || FSpecRow->Selected()) ListLinkDataChanged();
    else ListDataSet()->First();
  }
  if (FSpecRow->Visible() && FSpecRow->Selected())
    FSelectedItem = FSpecRow->GetCellsTextItem(FListFieldIndex);
  else if (FListField)
    FSelectedItem = FListField->DisplayText();
  else
    FSelectedItem.clear();
  UpdateCurrentRow();
  if (HandleAllocated()) Invalidate();
}

bool TDBLookupGridZk::ValidKeyValue(const String&, const Variant&) { return true; }

bool TDBLookupGridZk::LocateKey() {
  TDataSet* List = ListDataSet();
  if (VarIsNull(FKeyValue) || !List || !List->Active() || !ValidKeyValue(FKeyFieldName, FKeyValue))
    return false;
  try {
    const Variant Saved = FKeyValue;
    if (!List->Locate(FKeyFieldName, FKeyValue, {})) return false;
    FKeyValue = Saved;
    // Every record is a row here: the found one is shown in the middle.
    if (InMemoryMode() && HandleAllocated())
      SafeMoveTop(TopDataOffset() + CurrentDataRow() - FRowCount / 2, false);
    return true;
  } catch (const Exception&) {
    // A key the list cannot compare (another type, an array of another length) is not there.
    return false;
  }
}

void TDBLookupGridZk::SelectKeyValue(const Variant& Value) {
  if (FMasterFields.empty()) {
    SetKeyValue(Value);
  } else if (FLookupDataLink->Edit()) {
    AssignKeyFieldValues(FLookupDataLink->DataSet(), FMasterFieldNames, Value);
  }
  UpdateCurrentRow();
  Invalidate();
  Click();
}

void TDBLookupGridZk::SelectCurrentRecord() {
  FLockPosition = true;
  try {
    const Variant Key = RowKey();
    if (!VariantsEqual(Key, FKeyValue)) SelectKeyValue(Key);
  } catch (...) {
    FLockPosition = false;
    throw;
  }
  FLockPosition = false;
}

void TDBLookupGridZk::SelectSpecRow() {
  FLockPosition = true;
  try {
    if (!VariantsEqual(FSpecRow->Value(), FKeyValue)) SelectKeyValue(FSpecRow->Value());
    FSpecRow->SetSelected(true);
  } catch (...) {
    FLockPosition = false;
    throw;
  }
  FLockPosition = false;
  Invalidate();
}

int TDBLookupGridZk::FindKeyRowIndex() {
  if (VarIsNull(FKeyValue) || !FListActive) return -1;
  if (InMemoryMode()) {
    // The list stands on the key's record when it holds it (KeyValueChanged located it).
    const int Row = CurrentDataRow();
    return Row >= 0 && VariantsEqual(RowKey(), FKeyValue) ? Row : -1;
  }
  TGridDataLinkZk* L = TCustomDBGridZk::DataLink();
  const int Saved = L->ActiveRecord();
  int Found = -1;
  try {
    for (int I = 0; I < L->RecordCount() && Found < 0; ++I) {
      L->SetActiveRecord(I);
      if (VariantsEqual(RowKey(), FKeyValue)) Found = I;
    }
  } catch (...) {
    L->SetActiveRecord(Saved);
    throw;
  }
  L->SetActiveRecord(Saved);
  return Found;
}

void TDBLookupGridZk::UpdateCurrentRow() {
  if (!FLocatingText) StopInplaceSearch();
  FKeyRowVisible = false;
  if (!FListActive || !HandleAllocated() || ComponentState().Contains(csLoading)) return;
  const int KeyRow = FindKeyRowIndex();
  if (KeyRow < 0) return;
  FKeyRowVisible = true;
  MoveCurrentCellToRow(TopDataOffset() + KeyRow);
}

// The key's row becomes the grid's current row, in the current column; the list stays where it
// is (the grid's own move would move the list too).
void TDBLookupGridZk::MoveCurrentCellToRow(int GridRow) {
  if (GridRow == Row() || GridRow >= TCustomGridZk::RowCount() || FUpdatingRows) return;
  if (!TCustomDBGridZk::Options().Contains(dgAlwaysShowEditor)) HideCellEditor();
  FUpdatingRows = true;
  try {
    SetCurrentCell(std::max(Col(), FixedCols()), GridRow, true, false, false);
  } catch (...) {
    FUpdatingRows = false;
    throw;
  }
  FUpdatingRows = false;
  InvalidateEditor();
}

bool TDBLookupGridZk::LocateText(TCustomDBGridZk* AGrid, const String& FieldName, const String& Text,
                                 TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                                 TLocateTextMatchingZk Matching,
                                 TLocateTextTreeFindRangeZk TreeFindRange) {
  // The list moves under the grid's own search: that search goes on.
  const bool Saved = FLocatingText;
  FLocatingText = true;
  try {
    const bool Found =
        TCustomDBGridZk::LocateText(AGrid, FieldName, Text, Options, Direction, Matching, TreeFindRange);
    FLocatingText = Saved;
    return Found;
  } catch (...) {
    FLocatingText = Saved;
    throw;
  }
}

bool TDBLookupGridZk::CanModifyLookup() {
  if (!FListActive || FReadOnly) return false;
  if (!FLookupDataLink->DataSource()) return true;
  if (FMasterFields.empty()) return false;
  for (TField* F : FMasterFields)
    if (!F->CanModify()) return false;
  return true;
}

void TDBLookupGridZk::ListLinkDataChanged() {
  TDataSet* List = ListDataSet();
  if (FListActive && List) {
    FRecordIndex = CurrentRecordIndex();
    FRecordCount = InMemoryMode() ? List->RecordCount() : TCustomDBGridZk::DataLink()->RecordCount();
    FKeySelected = !(VarIsNull(FKeyValue) && List->Bof());
  } else {
    FRecordIndex = 0;
    FRecordCount = 0;
    FKeySelected = false;
  }
  if (HandleAllocated()) {
    UpdateScrollBar();
    Invalidate();
  }
}

void TDBLookupGridZk::SpecRowChanged() {
  if (ComponentState().Contains(csLoading)) return;
  LayoutChanged();
  ApplyRowCount();
  Invalidate();
}

// --- the data grid's reactions --------------------------------------------------------------------

void TDBLookupGridZk::LinkActive(bool Value) {
  if (ComponentState().Contains(csDestroying)) return;
  UpdateListFields();
  TCustomDBGridZk::LinkActive(Value);
  UpdateColWidthsAndHeight();
}

void TDBLookupGridZk::DataChanged() {
  TCustomDBGridZk::DataChanged();
  ListLinkDataChanged();
  UpdateCurrentRow();
}

void TDBLookupGridZk::Scroll(int Distance) {
  BeginUpdate();
  try {
    TCustomDBGridZk::Scroll(Distance);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  ListLinkDataChanged();
  UpdateCurrentRow();
}

void TDBLookupGridZk::LayoutChanged() {
  if (LayoutLock() > 0 || FUpdateLock > 0) return;
  BeginLayout();
  FLayoutLock--;   // one layout pass, not a second one from EndLayout
  TCustomDBGridZk::LayoutChanged();
  const int Spec = SpecRowGridRow();
  if (Spec >= 0 && Spec < TCustomGridZk::RowCount()) SetRowHeight(Spec, GetSpecRowHeight() -
                                                          (TCustomDBGridZk::Options().Contains(dgRowLines) ? GridLineWidth() : 0));
}

int TDBLookupGridZk::FilterRowCount() {
  return TCustomDBGridZk::FilterRowCount() + (FSpecRow && FSpecRow->Visible() ? 1 : 0);
}

int TDBLookupGridZk::SpecRowGridRow() const {
  return FSpecRow && FSpecRow->Visible() ? TopDataOffset() - 1 : -1;
}

int TDBLookupGridZk::CurrentRecordIndex() const {
  return InMemoryMode() ? std::max(0, CurrentDataRow())
                        : TCustomDBGridZk::DataLink()->ActiveRecord();
}

void TDBLookupGridZk::UpdateRowCount() {
  if (InMemoryMode()) {
    TCustomDBGridZk::UpdateRowCount();
    ListLinkDataChanged();
    return;
  }
  if (FUpdatingRows) return;
  FUpdatingRows = true;
  try {
    int Rows = 1;
    TGridDataLinkZk* L = TCustomDBGridZk::DataLink();
    if (L->Active()) {
      L->SetBufferCount(FRowCount);
      Rows = std::max(1, L->RecordCount());
    }
    const int Total = TopDataOffset() + Rows;
    if (TCustomGridZk::RowCount() != Total) TCustomGridZk::SetRowCount(Total);
    if (TopRow() != TopDataOffset() && Total > TopDataOffset()) SetTopRow(TopDataOffset());
  } catch (...) {
    FUpdatingRows = false;
    throw;
  }
  FUpdatingRows = false;
  ListLinkDataChanged();
}

bool TDBLookupGridZk::CellDrawn3D(int ACol, int ARow, TGridDrawState State) {
  if (ARow == SpecRowGridRow()) return false;
  return TCustomDBGridZk::CellDrawn3D(ACol, ARow, State);
}

// Rows are drawn selected by their key, not by the grid's current cell.
bool TDBLookupGridZk::IsCellSelected(int, int, TGridDrawState) { return false; }

void TDBLookupGridZk::DoGetCellParams(TColumnZk* Column, TFont* AFont, TColor& Background,
                                      TGridDrawState State) {
  if (!VarIsNull(FKeyValue) && FListActive && FUpdateLock == 0 &&
      VariantsEqual(RowKey(), FKeyValue)) {
    Background = clHighlight;
    AFont->SetColor(clHighlightText);
  }
  TCustomDBGridZk::DoGetCellParams(Column, AFont, Background, State);
}

void TDBLookupGridZk::GetDataSetFields(std::vector<TField*>& List) {
  List.assign(FListFields.begin(), FListFields.end());
}

void TDBLookupGridZk::BuildFieldMap() { TCustomDBGridZk::BuildFieldMap(); }

void TDBLookupGridZk::PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (ARow == SpecRowGridRow() && ACol >= IndicatorOffset()) {
    DrawSpecRowCell(ACol, ARect);
    return;
  }
  TCustomDBGridZk::PaintCell(ACol, ARow, ARect, AState);
}

void TDBLookupGridZk::DrawSpecRowCell(int ACol, const TRect& ARect) {
  TCanvas* C = Canvas();
  TColumnZk* Col = ColumnAtGridCol(ACol);
  auto* LCol = dynamic_cast<TDBLookupGridColumnZk*>(Col);
  C->Font()->Assign(LCol ? LCol->SpecCell()->Font() : FSpecRow->Font());
  TColor Back = LCol ? LCol->SpecCell()->Color() : FSpecRow->Color();
  if (FSpecRow->Selected()) {
    Back = clHighlight;
    C->Font()->SetColor(clHighlightText);
  }
  C->Brush()->SetColor(Back);
  C->FillRect(ARect);
  TAlignment Align = Col ? Col->Alignment() : taLeftJustify;
  if (UseRightToLeftAlignment()) {
    if (Align == taLeftJustify) Align = taRightJustify;
    else if (Align == taRightJustify) Align = taLeftJustify;
  }
  DrawCellText(ARect, LCol ? LCol->SpecCell()->Text() : String(), Align, false);
  C->Font()->SetColor(clWindowText);
  C->Brush()->SetColor(clWindow);
  // A selected special row is framed whole: drawn once, with its last cell.
  if (FSpecRow->Selected() && ACol == ColCount() - 1)
    DrawFocusRect(C, Rect(0, ARect.Top, ARect.Right, ARect.Bottom));
}

// A user's resize of a column with AutoFitColWidths: the grid takes the columns' width.
void TDBLookupGridZk::ColumnWidthsChanged() {
  TCustomDBGridZk::ColumnWidthsChanged();
  if (!FLGAutoFitColWidths || FUpdatingWidths || GridState() != dgsColSizing) return;
  FInternalWidthSetting = true;
  int Sum = 0;
  for (int I = IndicatorOffset(); I < ColCount(); ++I)
    Sum += ColWidth(I) + (TCustomDBGridZk::Options().Contains(dgColLines) ? GridLineWidth() : 0);
  SetClientWidth(Sum);
  for (TColumnZk* C : VisibleColumns()) C->SetInitWidth(C->Width());
  FInternalWidthSetting = false;
}

void TDBLookupGridZk::FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs, TGridMetrics& Metrics) {
  TCustomDBGridZk::FindSizingLine(X, Y, State, Index, SizingPos, SizingOfs, Metrics);
  const int Spec = SpecRowGridRow();
  if (Spec >= 0 && MouseCoord(X, Y).Y == Spec) State = gsNormal;
}

// --- sizing ---------------------------------------------------------------------------------------

int TDBLookupGridZk::GetBorderSize() {
  return HandleAllocated() ? Height() - ClientHeight() : 0;
}

int TDBLookupGridZk::GetDataRowHeight() {
  return StdDefaultRowHeight() +
         (TCustomDBGridZk::Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

int TDBLookupGridZk::GetSpecRowHeight() { return GetDataRowHeight(); }

int TDBLookupGridZk::TitleHeightPx() const {
  return TCustomDBGridZk::Options().Contains(dgTitles) ? TitleRowHeight() : 0;
}

int TDBLookupGridZk::GetColumnsWidthToFit() {
  int Sum = 0;
  const int Line = TCustomDBGridZk::Options().Contains(dgColLines) ? GridLineWidth() : 0;
  for (TColumnZk* C : VisibleColumns())
    Sum += FLGAutoFitColWidths && C->InitWidth() > 0 ? C->InitWidth() : C->Width();
  return Sum + Line * Columns()->Count();
}

void TDBLookupGridZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!FInternalHeightSetting) {
    FSpecRowHeight = FSpecRow && FSpecRow->Visible() ? GetSpecRowHeight() : 0;
    const int RowH = std::max(1, GetDataRowHeight());
    const int Rows = std::max(
        1, (AHeight - GetBorderSize() - TitleHeightPx() - FSpecRowHeight) / RowH);
    FRowCount = Rows;
    AHeight = TitleHeightPx() + GetBorderSize() + Rows * RowH + FSpecRowHeight +
              (TCustomDBGridZk::Options().Contains(dgRowLines) ? GridLineWidth() : 0);
  }
  TCustomDBGridZk::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLGAutoFitColWidths && !FInternalWidthSetting && HandleAllocated()) {
    FUpdatingWidths = true;
    FitColumnsToClient();
    FUpdatingWidths = false;
  }
  UpdateRowCount();
}

void TDBLookupGridZk::SetRowCount(int Value) {
  Value = std::clamp(Value, 1, 100);
  FRowCount = Value;
  FSpecRowHeight = FSpecRow && FSpecRow->Visible() ? GetSpecRowHeight() : 0;
  const int Line = TCustomDBGridZk::Options().Contains(dgRowLines) ? GridLineWidth() : 0;
  const int H = TitleHeightPx() + Line + Value * (StdDefaultRowHeight() + Line) +
                GetBorderSize() + FSpecRowHeight;
  FInternalHeightSetting = true;
  try {
    TCustomDBGridZk::SetBounds(Left(), Top(), Width(), H);
  } catch (...) {
    FInternalHeightSetting = false;
    throw;
  }
  FInternalHeightSetting = false;
  UpdateRowCount();
}

void TDBLookupGridZk::SetShowTitles(bool Value) {
  if (Value == ShowTitles()) return;
  TDBGridOptions O = TCustomDBGridZk::Options();
  if (Value) O << dgTitles;
  else O >> dgTitles;
  TCustomDBGridZk::SetOptions(O);
  ApplyRowCount();
}

void TDBLookupGridZk::SetUseMultiTitle(bool Value) {
  TCustomDBGridZk::SetUseMultiTitle(Value);
  ApplyRowCount();
}

void TDBLookupGridZk::SetAutoFitColWidths(bool Value) {
  if (Value == FLGAutoFitColWidths) return;
  FLGAutoFitColWidths = Value;
  ApplyScrollBarsStyle();
  ApplyRowCount();
  UpdateScrollBar();
  UpdateColWidthsAndHeight();
}

// The data grid's column fitting switched as its AutoFitColWidths does, but without touching
// the scroll bars' style: each fit here switches fitting on and off again, and every style
// change would make the window anew.
void TDBLookupGridZk::SwitchColumnFitting(bool Value) {
  if (Value == FAutoFitColWidths) return;
  FAutoFitColWidths = Value;
  if (ComponentState().Contains(csDesigning)) return;
  TDBGridColumnsZk* Cols = Columns();
  if (Value) {
    if (!ComponentState().Contains(csLoading))
      for (int I = 0; I < Cols->Count(); ++I) Cols->Items(I)->SetInitWidth(Cols->Items(I)->Width());
    SetLeftCol(FixedCols());
  } else {
    Cols->BeginUpdate();
    for (int I = 0; I < Cols->Count(); ++I)
      if (Cols->Items(I)->InitWidth() > 0) Cols->Items(I)->SetWidth(Cols->Items(I)->InitWidth());
    Cols->EndUpdate();
  }
  LayoutChanged();
}

// The columns fitted into the client width once: the widths the fitting layout gave them become
// their widths and initial widths, so they stay when fitting is switched off again.
void TDBLookupGridZk::FitColumnsToClient() {
  SwitchColumnFitting(true);
  const auto& Visible = VisibleColumns();
  for (int I = 0; I < int(Visible.size()) && IndicatorOffset() + I < ColCount(); ++I)
    Visible[I]->SetInitWidth(SubExtraWidth(Visible[I], ColWidth(IndicatorOffset() + I)));
  SwitchColumnFitting(false);
}

// A new bar style makes a new window. A hidden popup takes it when it is shown next: its owner
// switches fitting off at every close-up and back on at the next drop-down, and two new windows
// per drop-down would cost more than the rest of it. The horizontal bar's visibility waits too,
// as the data grid's layout derives the style from it.
void TDBLookupGridZk::ApplyScrollBarsStyle() {
  if (FPopup && HandleAllocated() && !Visible()) return;
  HorzScrollBar()->SetVisible(!FLGAutoFitColWidths);
  SetScrollBars(FLGAutoFitColWidths ? ssNone : ssHorizontal);
}

void TDBLookupGridZk::UpdateColWidthsAndHeight() {
  if (FUpdatingWidths) return;
  FUpdatingWidths = true;
  try {
    if (FLGAutoFitColWidths && HandleAllocated()) {
      FitColumnsToClient();
    }
    ApplyRowCount();
  } catch (...) {
    FUpdatingWidths = false;
    throw;
  }
  FUpdatingWidths = false;
}

void TDBLookupGridZk::SetOptions(TDBLookupGridZkOptions Value) {
  FLookupOptions = Value;
  TDBGridOptions O = TCustomDBGridZk::Options();
  auto Map = [&O, &Value](TDBLookupGridZkOption From, TDBGridOption To) {
    if (Value.Contains(From)) O << To;
    else O >> To;
  };
  Map(dlgColumnResizeZk, dgColumnResize);
  Map(dlgColLinesZk, dgColLines);
  Map(dlgRowLinesZk, dgRowLines);
  TCustomDBGridZk::SetOptions(O);
  TDBGridZkOptions Z = OptionsZk();
  if (Value.Contains(dlgAutoSortMarkingZk)) Z << dghAutoSortMarking;
  else Z >> dghAutoSortMarking;
  if (Value.Contains(dlgMultiSortMarkingZk)) Z << dghMultiSortMarking;
  else Z >> dghMultiSortMarking;
  SetOptionsZk(Z);
  ApplyRowCount();
}

TRect TDBLookupGridZk::DataRect() {
  const int FirstRow = FSpecRow->Visible() ? SpecRowGridRow() : TopRow();
  int LastRow = TopRow() + FRowCount - 1;
  if (FooterRowCount() > 0) LastRow -= FooterRowCount();
  const TRect A = CellRect(IndicatorOffset(), FirstRow);
  const TRect B = CellRect(ColCount() - 1, std::max(FirstRow, LastRow));
  return Rect(A.Left, A.Top, std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom));
}

void TDBLookupGridZk::CreateWnd() {
  TCustomDBGridZk::CreateWnd();
  ApplyRowCount();
}

void TDBLookupGridZk::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomDBGridZk::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FLookupDataLink && AComponent == FLookupDataLink->DataSource()) SetDataSource(nullptr);
}

// --- the vertical scroll bar ----------------------------------------------------------------------

void TDBLookupGridZk::UpdateScrollBar() {
  if (InMemoryMode()) return TCustomDBGridZk::UpdateScrollBar();
  if (!HandleAllocated()) return;
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SI.nMin = 0;
  SI.nMax = 2;
  SI.nPage = 0;
  SI.nPos = 0;
  TDataSet* List = ListDataSet();
  TGridDataLinkZk* L = TCustomDBGridZk::DataLink();
  if (FListActive && List && List->Active()) {
    if (List->IsSequenced()) {
      SI.nPage = static_cast<unsigned>(std::max(0, L->RecordCount()));
      SI.nMax = std::max(0, List->RecordCount() - 1);
      SI.nPos = List->State() == dsBrowse || List->State() == dsEdit
                    ? std::max(0, List->RecNo() - L->ActiveRecord() - 1)
                    : 0;
    } else if (L->RecordCount() != List->RecordCount()) {
      SI.nMax = 4;
      SI.nPos = List->Bof() ? 0 : List->Eof() ? 4 : 2;
    } else {
      SI.nMax = 0;
    }
  }
  SCROLLINFO Old;
  Old.fMask = SIF_ALL;
  GetScrollInfo(this, SB_VERT, Old);
  if (Old.nMin != SI.nMin || Old.nMax != SI.nMax || Old.nPage != SI.nPage || Old.nPos != SI.nPos)
    SetScrollInfo(this, SB_VERT, SI, true);
}

// --- keys -----------------------------------------------------------------------------------------

void TDBLookupGridZk::KeyDown(Word& Key, TShiftState Shift) {
  if (!CanModifyLookup()) {
    TCustomDBGridZk::KeyDown(Key, Shift);
    return;
  }
  const bool HorzBar = TCustomGridZk::ScrollBars() == ssHorizontal ||
                       TCustomGridZk::ScrollBars() == ssBoth;
  int Delta = 0;
  switch (Key) {
    case VK_PRIOR: Delta = -FRowCount; break;
    case VK_NEXT: Delta = FRowCount; break;
    case VK_END: Delta = INT_MAX; break;
    case VK_HOME: Delta = -INT_MAX; break;
    case VK_UP: Delta = -1; break;
    case VK_DOWN: Delta = 1; break;
    case VK_LEFT: if (!HorzBar) Delta = -1; break;
    case VK_RIGHT: if (!HorzBar) Delta = 1; break;
    default: break;
  }
  if (Delta == 0) {
    TCustomDBGridZk::KeyDown(Key, Shift);
    return;
  }
  FSearchText.clear();
  TDataSet* List = ListDataSet();
  const bool Spec = FSpecRow->Visible();
  const bool AtStart = List->Bof() || (List->IsSequenced() && List->RecNo() <= 1);
  if (Delta < 0 && Spec && (AtStart || FSpecRow->Selected())) {
    SelectSpecRow();
    List->First();
    Key = 0;
    return;
  }
  if ((Delta > 0 && FSpecRow->Selected()) || Delta == -INT_MAX) {
    List->First();
  } else if (Delta == INT_MAX) {
    List->Last();
  } else {
    // Over a memory table the list stands on the key's record already; otherwise it goes to
    // the key's row first when that is shown.
    const int Row = InMemoryMode() ? CurrentRecordIndex() : FindKeyRowIndex();
    if (Row >= 0) {
      List->MoveBy(Row - CurrentRecordIndex());
      const int Moved = List->MoveBy(Delta);
      if (Delta < 0 && Moved == 0 && Spec && !FSpecRow->Selected()) {
        SelectSpecRow();
        Key = 0;
        return;
      }
    } else {
      KeyValueChanged();
    }
  }
  SelectCurrentRecord();
  Key = 0;
}

void TDBLookupGridZk::KeyPress(Char& Key) {
  if (Key >= 32 || Key == VK_BACK || Key == VK_ESCAPE) {
    ProcessSearchKey(Key);
    Key = 0;
    return;
  }
  TCustomDBGridZk::KeyPress(Key);
}

void TDBLookupGridZk::ProcessSearchKey(Char Key) {
  if (!IsSearchableField(FListField)) return;
  if (Key == VK_BACK || Key == VK_ESCAPE) {
    FSearchText.clear();
    return;
  }
  if (Key < 32 || !CanModifyLookup()) return;
  const Cardinal Now = GetTickCount();
  if (Now - SearchTickCount() > SearchResetMs) FSearchText.clear();
  SearchTickCount() = Now;
  if (FSearchText.size() >= MaxSearchLength) return;
  const String Candidate = FSearchText + Key;
  TDataSet* List = ListDataSet();
  try {
    if (List->Locate(FListField->FieldName(), Variant(Candidate),
                     {loCaseInsensitive, loPartialKey})) {
      SelectKeyValue(RowKey());
      FSearchText = Candidate;
    }
  } catch (const Exception&) {
    // A list that cannot search by text keeps the typed prefix, as if found.
    FSearchText = Candidate;
  }
}

// --- mouse ----------------------------------------------------------------------------------------

bool TDBLookupGridZk::InDataRows(int Y) const {
  const int Row = MouseCoord(0, Y).Y;
  return Row >= TopDataOffset() || (Row >= 0 && Row == SpecRowGridRow());
}

void TDBLookupGridZk::SelectRowAt(int X, int Y) {
  const TGridCoord Cell = MouseCoord(std::max(X, 0), std::max(Y, 0));
  const int Spec = SpecRowGridRow();
  if (Spec >= 0 && Y >= 0 && Cell.Y == Spec) {
    SelectSpecRow();
    return;
  }
  if (Y < CellRect(IndicatorOffset(), TopDataOffset()).Top) return;
  Y = std::min(Y, ClientHeight() - 1);
  const int Row = MouseCoord(std::max(X, 0), Y).Y;
  const int Records = InMemoryMode() ? ListDataSet()->RecordCount()
                                     : TCustomDBGridZk::DataLink()->RecordCount();
  if (Row < TopDataOffset() || Row - TopDataOffset() >= Records) return;
  ListDataSet()->MoveBy(Row - TopDataOffset() - CurrentRecordIndex());
  SelectCurrentRecord();
}

void TDBLookupGridZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!InDataRows(Y) || !FListActive) {
    TCustomDBGridZk::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (OnMouseDown()) OnMouseDown()(this, Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FSearchText.clear();
  if (!FPopup) {
    if (CanFocus() && !Focused()) SetFocus();
    if (!Focused()) return;
  }
  if (!CanModifyLookup()) return;
  const int Row = MouseCoord(X, Y).Y;
  const bool OnKeyRow = Row >= TopDataOffset() && FKeyRowVisible &&
                        Row - TopDataOffset() == FindKeyRowIndex();
  if (Shift.Contains(ssDouble) && OnKeyRow) {
    DblClick();
    return;
  }
  SetMouseCapture(true);
  FLookupTracking = true;
  FMousePos = {X, Y};
  SelectRowAt(X, Y);
}

void TDBLookupGridZk::MouseMove(TShiftState Shift, int X, int Y) {
  if (!FLookupTracking) {
    TCustomDBGridZk::MouseMove(Shift, X, Y);
    return;
  }
  FMousePos = {X, Y};
  SelectRowAt(X, Y);
  TrackStep();
  if (OnMouseMove()) OnMouseMove()(this, Shift, X, Y);
}

void TDBLookupGridZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FLookupTracking) {
    TCustomDBGridZk::MouseUp(Button, Shift, X, Y);
    return;
  }
  FLookupTracking = false;
  KillTimer(this, TrackTimerId);
  SetMouseCapture(false);
  SelectRowAt(X, Y);
  if (OnMouseUp()) OnMouseUp()(this, Button, Shift, X, Y);
}

// While the pointer is above or below the client area the list steps, faster farther away.
void TDBLookupGridZk::TrackStep() {
  if (!HandleAllocated()) return;
  const int Y = FMousePos.Y;
  int Direction = 0, Distance = 0;
  if (Y < 0) {
    Direction = -1;
    Distance = -Y;
  } else if (Y >= ClientHeight()) {
    Direction = 1;
    Distance = Y - ClientHeight() + 1;
  }
  if (Direction == 0) {
    KillTimer(this, TrackTimerId);
    return;
  }
  TDataSet* List = ListDataSet();
  const bool AtStart = List->Bof() || (List->IsSequenced() && List->RecNo() <= 1);
  if (Direction < 0 && FSpecRow->Visible() && AtStart) {
    SelectSpecRow();
  } else if (List->MoveBy(Direction) != 0) {
    SelectCurrentRecord();
  }
  SetTimer(this, TrackTimerId, unsigned(std::max(0, 200 - 15 * Distance)));
}

// Over a memory table the wheel scrolls the rows as in any data grid; otherwise it pages the list.
bool TDBLookupGridZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (InMemoryMode()) {
    TCustomDBGridZk::DoMouseWheelDown(Shift, MousePos);
    return true;
  }
  if (TDataSet* List = ListDataSet())
    List->MoveBy(FRecordCount - FRecordIndex);
  return true;
}

bool TDBLookupGridZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (InMemoryMode()) {
    TCustomDBGridZk::DoMouseWheelUp(Shift, MousePos);
    return true;
  }
  if (TDataSet* List = ListDataSet()) List->MoveBy(-(FRecordIndex + 1));
  return true;
}

// --- messages -------------------------------------------------------------------------------------

void TDBLookupGridZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_SETFOCUS:
      FSearchText.clear();
      TCustomDBGridZk::Dispatch(Message);
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TCustomDBGridZk::Dispatch(Message);
      Invalidate();
      return;
    case WM_TIMER:
      if (Message.WParam == TrackTimerId) {
        if (FLookupTracking) TrackStep();
        else KillTimer(this, TrackTimerId);
        return;
      }
      break;
    case WM_VSCROLL: {
      FSearchText.clear();
      if (InMemoryMode()) break;   // the data grid's bar over the whole list
      TDataSet* List = ListDataSet();
      if (!FListActive || !List) return;
      const int Count = FRecordCount, Index = FRecordIndex;
      switch (Message.WParam & 0xFFFF) {
        case SB_LINEUP: List->MoveBy(-(Index + 1)); break;
        case SB_LINEDOWN: List->MoveBy(Count - Index); break;
        case SB_PAGEUP: List->MoveBy(1 - Count - Index); break;
        case SB_PAGEDOWN: List->MoveBy(2 * Count - 2 - Index); break;
        case SB_THUMBPOSITION: {
          SCROLLINFO SI;
          SI.fMask = SIF_TRACKPOS;
          GetScrollInfo(this, SB_VERT, SI);
          if (List->IsSequenced()) {
            const int First = List->RecNo() - Index - 1;
            if (SI.nTrackPos < First) List->MoveBy(SI.nTrackPos - First);
            else if (SI.nTrackPos > First) List->MoveBy(Count + SI.nTrackPos - First - 1);
          } else {
            switch (SI.nTrackPos) {
              case 0: List->First(); break;
              case 1: List->MoveBy(1 - Count - Index); break;
              case 3: List->MoveBy(2 * Count - 2 - Index); break;
              case 4: List->Last(); break;
              default: break;
            }
          }
          break;
        }
        case SB_TOP: List->First(); break;
        case SB_BOTTOM: List->Last(); break;
        default: break;
      }
      return;
    }
    default: break;
  }
  TCustomDBGridZk::Dispatch(Message);
}

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TGridColumnSpecCellZk) {
  using S = TGridColumnSpecCellZk;
  Class.Property("Text", &S::Text, &S::SetText).Stored(&S::IsTextStored)
      .Property("Color", &S::Color, &S::SetColor).Stored(&S::IsColorStored)
      .Property("Font", &S::Font, &S::SetFont).Stored(&S::IsFontStored);
}

REGISTER_CLASS(TDBLookupGridColumnZk) {
  Class.Property("SpecCell", &TDBLookupGridColumnZk::SpecCell, &TDBLookupGridColumnZk::SetSpecCell);
}

REGISTER_CLASS(TDBLookupGridColumnDefValuesZk) {}

REGISTER_CLASS(TDBLookupGridZk) {
  using G = TDBLookupGridZk;
  Class.Property("AutoFitColWidths", &G::AutoFitColWidths, &G::SetAutoFitColWidths, false)
      .Property("DataField", &G::DataField, &G::SetDataField)
      .Property("DataSource", &G::DataSource, &G::SetDataSource)
      .Property("KeyField", &G::KeyField, &G::SetKeyField)
      .Property("ListField", &G::ListField, &G::SetListField)
      .Property("ListFieldIndex", &G::ListFieldIndex, &G::SetListFieldIndex, 0)
      .Property("ListSource", &G::ListSource, &G::SetListSource)
      .Property("Options", &G::Options, &G::SetOptions, TDBLookupGridZkOptions{dlgColLinesZk})
      .Property("ReadOnly", &G::ReadOnly, &G::SetReadOnly, false)
      .Property("RowCount", &G::RowCount, &G::SetRowCount, 7)
      .Property("ShowTitles", &G::ShowTitles, &G::SetShowTitles, false)
      .Property("SpecRow", &G::SpecRow, &G::SetSpecRow);
}
