// DBGridZk.cpp - the data-aware grid: construction and destruction, option sets, properties,
// component notifications, streaming of the columns and the detail child, registration.
#include "gridlib/grid/DBGridZk.h"

#include <map>

#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/DBGridZkResources.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"

TDBGridOptions DefaultDBGridOptions() {
  return {dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
          dgConfirmDelete, dgCancelOnExit};
}

TDBGridZkOptions DefaultDBGridZkOptions() {
  return {dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind, dghColumnResize,
          dghColumnMove, dghExtendVertLines};
}

TColCellParamsZk::TColCellParamsZk() : FFont(std::make_unique<TFont>()) {}
TColCellParamsZk::~TColCellParamsZk() = default;

// --- construction ---------------------------------------------------------------------------------

TCustomDBGridZk::TCustomDBGridZk(TComponent* AOwner) : TCustomGridZk(AOwner) {
  FStyle = DBGridZkStyle();
  if (FStyle) FStyle->AddChangeNotification(this);
  FCenter = DBGridZkCenter();
  TCustomGridZk::SetDefaultDrawing(false);
  FGridRowPanel = std::make_unique<TGridRowPanelZk>(this);
  FOptions = DefaultDBGridOptions();
  SetVirtualView(true);
  SetScrollBars(ssHorizontal);
  TCustomGridZk::SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                             goColSizing, goColMoving, goEditing, goTabs, goExtendVertLines});
  FColumnDefValues.reset(CreateColumnDefValues());
  FColumns.reset(CreateColumns());
  FDataLink = std::make_unique<TGridDataLinkZk>(this);
  FDataGrouping = std::make_unique<TDBGridZkDataGroupsZk>(this);
  SetColor(clWindow);
  SetParentColor(false);
  FTitleFont = std::make_unique<TFont>();
  FTitleFont->Assign(Font());
  FTitleFont->SetOnChange([this](TObject* S) { TitleFontChanged(S); });
  SetSaveCellExtents(false);
  FSumList = std::make_unique<TDBGridZkSumList>(this);
  FSumList->SetSumListChanged([this](TObject*) { InvalidateFooter(); });
  FSumList->SetOnRecalcAll([this](TObject* S) {
    if (FOnSumListRecalcAll) FOnSumListRecalcAll(S);
  });
  FSumList->SetOnAfterRecalcAll([this](TObject* S) {
    if (FOnSumListAfterRecalcAll) FOnSumListAfterRecalcAll(S);
  });
  FHorzScrollBar.reset(CreateScrollBar(sbHorizontal));
  FVertScrollBar.reset(CreateScrollBar(sbVertical));
  FOptionsZk = DefaultDBGridZkOptions();
  FBookmarks = std::make_unique<TBookmarkListZk>(this);
  FSelection = std::make_unique<TDBGridZkSelection>(this);
  FAllowedOperations = {alopInsertZk, alopUpdateZk, alopDeleteZk, alopAppendZk};
  FFooterFont = std::make_unique<TFont>();
  FFooterFont->Assign(Font());
  FFooterFont->SetOnChange([this](TObject* Sender) { FooterFontChanged(Sender); });
  FAllowedSelections = {gstRecordBookmarksAS, gstRectangleAS, gstColumnsAS, gstAllAS};
  FColCellParamsZk = std::make_unique<TColCellParamsZk>();
  FIndicatorTitle = std::make_unique<TDBGridZkIndicatorTitle>(this);
  FRowDetailPanel = std::make_unique<TRowDetailPanelZk>(this);
  FRowDetailControl = new TRowDetailPanelControlZk(this);
  FRowDetailControl->SetName(u"RowDetailData");
  FRowDetailControl->SetVisible(false);
  FRowDetailControl->SetParent(this);
  FRowDetailControl->SetBounds(0, 0, 0, 0);
  SetCounts(2, 2);
  CalcRowHeights();
  FRecNoTextWidth = CalcIndicatorColWidth();
}

TCustomDBGridZk::~TCustomDBGridZk() {
  Destroying();
  if (FStyle) FStyle->RemoveChangeNotification(this);
  SetDataSource(nullptr);
  FDataLink->RefreshMemTable();
  FSelection->Clear();
  SetCenter(nullptr);
  FBookmarks.reset();
  FSumList.reset();
  FColumns.reset();
  FVisibleColumns.clear();
  FSortMarkedColumns.clear();
  FDataLink.reset();
}

void TCustomDBGridZk::CreateNew(TComponent*, int) {}

TColumnDefValuesZk* TCustomDBGridZk::CreateColumnDefValues() {
  return new TDBGridZkColumnDefValuesZk(this);
}
TDBGridColumnsZk* TCustomDBGridZk::CreateColumns() {
  return new TDBGridColumnsZk(this, TDBGridColumnZk::ClassInfo());
}
TDBGridZkScrollBar* TCustomDBGridZk::CreateScrollBar(TScrollBarKind Kind) {
  if (Kind == sbHorizontal) return new THorzDBGridZkScrollBar(this);
  return new TVertDBGridZkScrollBar(this);
}

// --- data source ----------------------------------------------------------------------------------

TDataSource* TCustomDBGridZk::DataSource() const { return FDataLink ? FDataLink->DataSource() : nullptr; }
TDataSet* TCustomDBGridZk::DataSet() const { return FDataLink ? FDataLink->DataSet() : nullptr; }

void TCustomDBGridZk::SetDataSource(TDataSource* Value) {
  if (!FDataLink || Value == FDataLink->DataSource()) return;
  FSelection->Clear();
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  LinkActive(FDataLink->Active());
  if (FSumList) FSumList->SetDataSet(Value ? Value->DataSet() : nullptr);
}

TField* TCustomDBGridZk::SelectedField() const {
  const int I = SelectedIndex();
  if (I < 0 || I >= static_cast<int>(FVisibleColumns.size())) return nullptr;
  return FVisibleColumns[I]->Field();
}

int TCustomDBGridZk::SelectedIndex() const { return Col() - FIndicatorOffset; }

// --- option sets ----------------------------------------------------------------------------------

void TCustomDBGridZk::ApplyBaseOptions() {
  TGridOptions O;
  if (FOptionsZk.Contains(dghExtendVertLines)) O << goExtendVertLines;
  if (FRowSizingAllowed) O << goRowSizing;
  if (FOptions.Contains(dgEditing)) O << goEditing;
  if (FOptions.Contains(dgAlwaysShowEditor)) O << goAlwaysShowEditor;
  if (FOptions.Contains(dgColLines)) O = O + TGridOptions{goFixedVertLine, goVertLine};
  if (FOptions.Contains(dgRowLines)) O = O + TGridOptions{goFixedHorzLine, goHorzLine};
  if (FOptions.Contains(dgTabs)) O << goTabs;
  if (FOptions.Contains(dgRowSelect)) O << goRowSelect;
  if (FOptionsZk.Contains(dghColumnResize)) O << goColSizing;
  if (FOptionsZk.Contains(dghColumnMove)) O << goColMoving;
  TCustomGridZk::SetOptions(O);
}

void TCustomDBGridZk::SetOptions(TDBGridOptions Value) {
  if (Value.Contains(dgRowSelect)) Value = Value - TDBGridOptions{dgEditing, dgAlwaysShowEditor};
  if (Value == FOptions) return;
  if (FOptions.Contains(dgMultiSelect) && !Value.Contains(dgMultiSelect)) FSelection->Clear();
  if (!ComponentState().Contains(csLoading)) SyncColumnResizeOptions(Value, FOptionsZk);
  const TDBGridOptions Layout{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines,
                              dgRowLines, dgRowSelect, dgAlwaysShowSelection};
  const bool Relayout = (((Value - FOptions) + (FOptions - Value)) * Layout) != TDBGridOptions{};
  const bool Resize = FOptions.Contains(dgColumnResize);
  FOptions = Value;
  // The column-resize member follows the extended pair, which Sync may have changed.
  if (ComponentState().Contains(csLoading) || Resize == FOptions.Contains(dgColumnResize))
    ApplyBaseOptions();
  else
    ApplyBaseOptions();
  if (Relayout) LayoutChanged();
}

void TCustomDBGridZk::SetOptionsZk(TDBGridZkOptions Value) {
  if (Value == FOptionsZk) return;
  if (FOptionsZk.Contains(dghMultiSortMarking) && !Value.Contains(dghMultiSortMarking)) {
    for (size_t I = 1; I < FSortMarkedColumns.size(); ++I)
      FSortMarkedColumns[I]->Title()->SetSortMarker(smNoneZk);
  }
  if (!ComponentState().Contains(csLoading)) SyncColumnResizeOptions(FOptions, Value);
  const bool RowHeights = Value.Contains(dghAutoFitRowHeight) != FOptionsZk.Contains(dghAutoFitRowHeight);
  // Sync may have added both extended resize members again (its step 4).
  const TDBGridZkOptions Pair{dghColumnResize, dghColumnMove};
  if (FOptionsZk.Contains(dghColumnResize) && FOptionsZk.Contains(dghColumnMove) &&
      FOptions.Contains(dgColumnResize) && !((Value * Pair) == Pair) && FOptions.Contains(dgColumnResize)) {
    // dgColumnResize was removed by Sync when the pair broke; keep Value as given.
  }
  FOptionsZk = Value;
  ApplyBaseOptions();
  if (RowHeights) UpdateAllDataRowHeights();
  LayoutChanged();
}

void TCustomDBGridZk::SyncColumnResizeOptions(TDBGridOptions NewOptions,
                                              TDBGridZkOptions NewOptionsZk) {
  const TDBGridZkOptions Pair{dghColumnResize, dghColumnMove};
  const bool On = NewOptions.Contains(dgColumnResize), Was = FOptions.Contains(dgColumnResize);
  if (On && !Was) {
    FOptionsZk = FOptionsZk + Pair;
  } else if (!On && Was) {
    FOptionsZk = FOptionsZk - Pair;
  } else {
    const bool NewPair = (NewOptionsZk * Pair) == Pair, CurPair = (FOptionsZk * Pair) == Pair;
    if (NewPair && !CurPair) FOptions << dgColumnResize;
    else if (!NewPair && CurPair) FOptions >> dgColumnResize;
  }
  if (NewOptions == FOptions && FOptions.Contains(dgColumnResize) && NewOptionsZk == FOptionsZk)
    FOptionsZk = FOptionsZk + Pair;
}

void TCustomDBGridZk::SetAllowedSelections(TDBGridZkAllowedSelections Value) {
  FAllowedSelections = Value;
  const TDBGridZkSelectionType T = FSelection->SelectionType();
  if (T != gstNon && !Value.Contains(static_cast<TDBGridZkAllowedSelection>(T))) FSelection->Clear();
}

// --- properties -----------------------------------------------------------------------------------

#define VORENTA_LAYOUT_SETTER(Name, Field)          \
  void TCustomDBGridZk::Set##Name(int Value) {      \
    if (Value == Field) return;                     \
    Field = Value;                                  \
    LayoutChanged();                                \
  }
VORENTA_LAYOUT_SETTER(TitleHeight, FTitleHeight)
VORENTA_LAYOUT_SETTER(TitleLines, FTitleLines)
VORENTA_LAYOUT_SETTER(VTitleMargin, FVTitleMargin)
VORENTA_LAYOUT_SETTER(MinAutoFitWidth, FMinAutoFitWidth)
#undef VORENTA_LAYOUT_SETTER

void TCustomDBGridZk::SetUseMultiTitle(bool Value) {
  FUseMultiTitle = Value;
  LayoutChanged();
}

void TCustomDBGridZk::SetRowHeight(int Value) {
  Value = std::max(0, Value);
  if (Value == FNewRowHeight) return;
  FNewRowHeight = Value;
  LayoutChanged();
  UpdateAllDataRowHeights();
}

void TCustomDBGridZk::SetRowLines(int Value) {
  Value = std::max(0, Value);
  if (Value == FRowLines) return;
  FRowLines = Value;
  LayoutChanged();
  UpdateAllDataRowHeights();
}

void TCustomDBGridZk::SetRowSizingAllowed(bool Value) {
  if (Value == FRowSizingAllowed) return;
  FRowSizingAllowed = Value;
  ApplyBaseOptions();
}

void TCustomDBGridZk::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomDBGridZk::SetDrawMemoText(bool Value) {
  if (Value == FDrawMemoText) return;
  FDrawMemoText = Value;
  Invalidate();
}

void TCustomDBGridZk::SetDrawGraphicData(bool Value) {
  if (Value == FDrawGraphicData) return;
  FDrawGraphicData = Value;
  Invalidate();
}

void TCustomDBGridZk::SetTryUseMemTableInt(bool Value) {
  if (Value == FTryUseMemTableInt) return;
  FTryUseMemTableInt = Value;
  FDataLink->RefreshMemTable();
  LayoutChanged();
}

void TCustomDBGridZk::SetContraColCountZk(int Value) {
  if (Value == ContraColCount()) return;
  SetContraCounts(std::max(0, Value), ContraRowCount());
  LayoutChanged();
}

void TCustomDBGridZk::SetEvenRowColor(TColor Value) {
  const bool Changed = !FEvenRowColorSet || FEvenRowColor != Value;
  FEvenRowColor = Value;
  FEvenRowColorSet = true;
  if (Changed) Invalidate();
}

void TCustomDBGridZk::SetOddRowColor(TColor Value) {
  const bool Changed = !FOddRowColorSet || FOddRowColor != Value;
  FOddRowColor = Value;
  FOddRowColorSet = true;
  if (Changed) Invalidate();
}

void TCustomDBGridZk::SetFooterRowCount(int Value) {
  // Like a negative count, one past any screen is ignored: each footer row is a grid row.
  if (Value < 0 || Value > MaxFooterRowCount || Value == FFooterRowCount) return;
  FFooterRowCount = Value;
  FDataLink->RefreshMemTable();
  LayoutChanged();
}

void TCustomDBGridZk::SetFrozenCols(int Value) {
  if (Value < 0 || Value == FFrozenCols) return;
  FFrozenCols = Value;
  LayoutChanged();
}

void TCustomDBGridZk::SetAutoFitColWidths(bool Value) {
  if (Value == FAutoFitColWidths) return;
  FAutoFitColWidths = Value;
  if (ComponentState().Contains(csDesigning)) return;
  if (Value) {
    if (!ComponentState().Contains(csLoading))
      for (int I = 0; I < FColumns->Count(); ++I) FColumns->Items(I)->SetInitWidth(FColumns->Items(I)->Width());
    SetScrollBars(ssNone);
    SetLeftCol(FixedCols());
  } else {
    FColumns->BeginUpdate();
    for (int I = 0; I < FColumns->Count(); ++I) {
      TColumnZk* C = FColumns->Items(I);
      if (C->InitWidth() > 0) C->SetWidth(C->InitWidth());
    }
    FColumns->EndUpdate();
    SetScrollBars(ssHorizontal);
  }
  LayoutChanged();
}

void TCustomDBGridZk::TitleFontChanged(TObject*) {
  if (!ComponentState().Contains(csLoading) && !FSelfChangingFonts) SetParentFont(false);
  if (FOptions.Contains(dgTitles)) LayoutChanged();
}

bool TCustomDBGridZk::IndicatorShown() const {
  return FOptions.Contains(dgIndicator) || FOptionsZk.Contains(dghShowRecNo);
}
bool TCustomDBGridZk::IndicatorColVisible() { return IndicatorShown(); }

// --- columns by name ------------------------------------------------------------------------------

TColumnZk* TCustomDBGridZk::FindColumnByName(const String& FieldName) const {
  for (int I = 0; I < FColumns->Count(); ++I)
    if (AnsiSameText(FColumns->Items(I)->FieldName(), FieldName)) return FColumns->Items(I);
  return nullptr;
}

TColumnZk* TCustomDBGridZk::ColumnByFieldName(const String& FieldName) const {
  if (TColumnZk* C = FindColumnByName(FieldName)) return C;
  throw EInvalidGridOperationZk(Format(u"Имя поля '%s' не найдено", {FieldName}));
}

TColumnZk* TCustomDBGridZk::ColumnAtGridCol(int ACol) const {
  const int I = GridColToColumnIndex(ACol);
  if (I < 0 || I >= static_cast<int>(FVisibleColumns.size())) return nullptr;
  return FVisibleColumns[I];
}

// --- life cycle -----------------------------------------------------------------------------------

void TCustomDBGridZk::Loaded() {
  TCustomGridZk::Loaded();
  for (int I = 0; I < FDataGrouping->GroupLevels()->Count(); ++I)
    static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->GroupLevels()->Items(I))
        ->ResolveLoadedColumnName();
  SyncColumnResizeOptions(FOptions, FOptionsZk);
  ApplyBaseOptions();
  if (FColumns->Count() > 0 && FAutoFitColWidths) {
    FColumns->BeginUpdate();
    for (int I = 0; I < FColumns->Count(); ++I) FColumns->Items(I)->SetInitWidth(FColumns->Items(I)->Width());
    FColumns->EndUpdate();
    SetScrollBars(ssNone);
  }
  FSortMarkedColumns.clear();
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    const int N = C->Title()->SortIndex();
    if (N <= 0) continue;
    if (static_cast<int>(FSortMarkedColumns.size()) < N) FSortMarkedColumns.resize(N, nullptr);
    FSortMarkedColumns[N - 1] = C;
  }
  std::erase(FSortMarkedColumns, nullptr);
  if (DataSource()) {
    FSumList->SetDataSet(DataSource()->DataSet());
    FSumList->OwnerLoaded();
  }
  LayoutChanged();
}

void TCustomDBGridZk::CreateWnd() {
  ++FUpdateLock;
  try {
    TCustomGridZk::CreateWnd();
  } catch (...) {
    --FUpdateLock;
    throw;
  }
  --FUpdateLock;
  LayoutChanged();
}

void TCustomDBGridZk::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGridZk::Notification(AComponent, Operation);
  if (Operation != opRemove || !FDataLink) return;
  if (AComponent == DataSource()) {
    SetDataSource(nullptr);
    return;
  }
  ColumnMenuFreed(AComponent);
  if (FVertScrollBar && AComponent == FVertScrollBar->ExtScrollBar())
    FVertScrollBar->SetExtScrollBar(nullptr);
  else if (FHorzScrollBar && AComponent == FHorzScrollBar->ExtScrollBar())
    FHorzScrollBar->SetExtScrollBar(nullptr);
  if (auto* F = dynamic_cast<TField*>(AComponent)) {
    bool Unbound = false;
    BeginLayout();
    for (int I = 0; I < FColumns->Count(); ++I)
      if (FColumns->Items(I)->Field() == F) {
        FColumns->Items(I)->SetField(nullptr);
        Unbound = true;
      }
    // The layout lock is dropped without recalculating: one recalculation follows below.
    --FLayoutLock;
    if (Unbound && DataSet() && !DataSet()->ControlsDisabled())
      LayoutChanged();
    else if (Unbound)
      DeferLayoutChanged();
    return;
  }
  if (dynamic_cast<TDataSet*>(AComponent)) {
    FDataLink->RefreshMemTable();
    LayoutChanged();
  }
}

// --- streaming ------------------------------------------------------------------------------------

void TCustomDBGridZk::DefineProperties(TFiler* Filer) {
  TCustomGridZk::DefineProperties(Filer);
  // Columns built from the dataset are never written.
  const bool Write = FColumns->Count() > 0 && !FColumns->State();
  Filer->DefineProperty(
      u"Columns", [this](TReader* R) { ReadColumns(R); }, [this](TWriter* W) { WriteColumns(W); },
      Write);
  // Design-time information of a form designer: read and skipped.
  Filer->DefineProperty(
      u"DesignInfoCollection",
      [](TReader* R) {
        TDBGridColumnsZk Scratch;
        R->ReadCollection(&Scratch);
      },
      nullptr, false);
}

void TCustomDBGridZk::ReadColumns(TReader* Reader) {
  FColumns->Clear();
  Reader->ReadCollection(FColumns.get());
}

void TCustomDBGridZk::WriteColumns(TWriter* Writer) { Writer->WriteCollection(FColumns.get()); }

void TCustomDBGridZk::GetChildren(const TGetChildProc& Proc, TComponent*) {
  if (FRowDetailControl) Proc(FRowDetailControl);
}

void TCustomDBGridZk::ReadState(TReader* Reader) {
  const TCreateComponentEvent Saved = Reader->OnCreateComponent();
  Reader->SetOnCreateComponent(
      [this, Saved](TReader* R, TClass ComponentClass, TComponent*& Component) {
        if (ComponentClass && ComponentClass->InheritsFrom(TRowDetailPanelControlZk::ClassInfo())) {
          Component = FRowDetailControl;
          return;
        }
        if (Saved) Saved(R, ComponentClass, Component);
      });
  try {
    TCustomGridZk::ReadState(Reader);
  } catch (...) {
    Reader->SetOnCreateComponent(Saved);
    throw;
  }
  Reader->SetOnCreateComponent(Saved);
}

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TDBGridZkScrollBar) {
  Class.Property("Tracking", &TDBGridZkScrollBar::Tracking, &TDBGridZkScrollBar::SetTracking, false)
      .Property("Visible", &TDBGridZkScrollBar::Visible, &TDBGridZkScrollBar::SetVisible, true)
      .Property("VisibleMode", &TDBGridZkScrollBar::VisibleMode,
                &TDBGridZkScrollBar::SetVisibleMode, sbAutoShowZk);
}
REGISTER_CLASS(THorzDBGridZkScrollBar) {
  Class.Property("SmoothStep", &TDBGridZkScrollBar::SmoothStep, &TDBGridZkScrollBar::SetSmoothStep, true);
}
REGISTER_CLASS(TVertDBGridZkScrollBar) {
  Class.Property("SmoothStep", &TDBGridZkScrollBar::SmoothStep, &TDBGridZkScrollBar::SetSmoothStep, false);
}
REGISTER_CLASS(TDBGridZkIndicatorTitle) {
  Class.Property("ShowDropDownSign", &TDBGridZkIndicatorTitle::ShowDropDownSign,
                 &TDBGridZkIndicatorTitle::SetShowDropDownSign, false)
      .Property("TitleButton", &TDBGridZkIndicatorTitle::TitleButton,
                &TDBGridZkIndicatorTitle::SetTitleButton, false);
}
REGISTER_CLASS(TRowDetailPanelZk) {
  Class.Property("Active", &TRowDetailPanelZk::Active, &TRowDetailPanelZk::SetActive, false)
      .Property("Width", &TRowDetailPanelZk::Width, &TRowDetailPanelZk::SetWidth, 0)
      .Property("Height", &TRowDetailPanelZk::Height, &TRowDetailPanelZk::SetHeight, 120)
      .Property("ActiveControl", &TRowDetailPanelZk::ActiveControl,
                &TRowDetailPanelZk::SetActiveControl)
      .Property("BorderStyle", &TRowDetailPanelZk::BorderStyle, &TRowDetailPanelZk::SetBorderStyle,
                bsSingle)
      .Property("Color", &TRowDetailPanelZk::Color, &TRowDetailPanelZk::SetColor)
      .Stored(&TRowDetailPanelZk::IsColorStored)
      .Property("ParentColor", &TRowDetailPanelZk::ParentColor, &TRowDetailPanelZk::SetParentColor,
                false);
}
REGISTER_CLASS(TRowDetailPanelControlZk) {}
REGISTER_CLASS(TGridRowPanelZk) {
  using P = TGridRowPanelZk;
  Class.Property("Active", &P::Active, &P::SetActive, false)
      .Property("NavKeysNavigationType", &P::NavKeysNavigationType, &P::SetNavKeysNavigationType,
                rpntRowToRowZk)
      .Property("TabNavigationType", &P::TabNavigationType, &P::SetTabNavigationType,
                rpntUpToDownPriorityZk);
}
REGISTER_CLASS(TDBGridZkStyle) {}

REGISTER_CLASS(TCustomDBGridZk) {
  using G = TCustomDBGridZk;
  Class.Property("ColCount", &G::ColCount, &G::SetColCount, 5).Stored(&G::NeverStored)
      .Property("RowCount", &G::RowCount, &G::SetRowCount, 5).Stored(&G::NeverStored)
      .Property("FixedCols", &G::FixedCols, &G::SetFixedCols, 1).Stored(&G::NeverStored)
      .Property("FixedRows", &G::FixedRows, &G::SetFixedRows, 1).Stored(&G::NeverStored)
      .Property("DefaultRowHeight", &G::DefaultRowHeight, &G::SetDefaultRowHeight, 24)
      .Stored(&G::NeverStored)
      .Property("ScrollBars", &G::ScrollBars, &G::SetScrollBars, ssBoth).Stored(&G::NeverStored)
      .Property("Options", &G::Options, &G::SetOptions, DefaultDBGridOptions());
}

REGISTER_CLASS(TDBGridZk) {
  using G = TDBGridZk;
  Class.Property("AllowedOperations", &G::AllowedOperations, &G::SetAllowedOperations,
                 TDBGridZkAllowedOperations{alopInsertZk, alopUpdateZk, alopDeleteZk, alopAppendZk})
      .Property("AllowedSelections", &G::AllowedSelections, &G::SetAllowedSelections,
                TDBGridZkAllowedSelections{gstRecordBookmarksAS, gstRectangleAS, gstColumnsAS,
                                           gstAllAS})
      .Property("AutoFitColWidths", &G::AutoFitColWidths, &G::SetAutoFitColWidths, false)
      .Property("ColumnDefValues", &G::ColumnDefValues, &G::SetColumnDefValues)
      .Property("ContraColCount", &G::ContraColCountZk, &G::SetContraColCountZk, 0)
      .Property("DataSource", &G::DataSource, &G::SetDataSource)
      .Property("DrawGraphicData", &G::DrawGraphicData, &G::SetDrawGraphicData, false)
      .Property("DrawMemoText", &G::DrawMemoText, &G::SetDrawMemoText, false)
      .Property("EditButtonsShowOptions", &G::EditButtonsShowOptions,
                &G::SetEditButtonsShowOptions, TEditButtonsShowOptionsZk{})
      .Property("EvenRowColor", &G::EvenRowColor, &G::SetEvenRowColor)
      .Stored(&G::IsEvenRowColorStored)
      .Property("FooterColor", &G::FooterColor, &G::SetFooterColor, clWindow)
      .Property("FooterFont", &G::FooterFont, &G::SetFooterFont)
      .Property("FooterRowCount", &G::FooterRowCount, &G::SetFooterRowCount, 0)
      .Property("FrozenCols", &G::FrozenCols, &G::SetFrozenCols, 0)
      .Property("HorzScrollBar", &G::HorzScrollBar, &G::SetHorzScrollBar)
      .Property("IndicatorTitle", &G::IndicatorTitle, &G::SetIndicatorTitle)
      .Property("MinAutoFitWidth", &G::MinAutoFitWidth, &G::SetMinAutoFitWidth, 0)
      .Property("OddRowColor", &G::OddRowColor, &G::SetOddRowColor)
      .Stored(&G::IsOddRowColorStored)
      .Property("OptionsZk", &G::OptionsZk, &G::SetOptionsZk, DefaultDBGridZkOptions())
      .Property("ReadOnly", &G::ReadOnly, &G::SetReadOnly, false)
      .Property("RowDetailPanel", &G::RowDetailPanel, &G::SetRowDetailPanel)
      .Property("RowHeight", static_cast<int (G::*)() const>(&G::RowHeight),
                static_cast<void (G::*)(int)>(&G::SetRowHeight), 0)
      .Property("RowLines", &G::RowLines, &G::SetRowLines, 0)
      .Property("RowPanel", &G::RowPanel, &G::SetRowPanel)
      .Property("DataGrouping", &G::DataGrouping, &G::SetDataGrouping)
      .Property("RowSizingAllowed", &G::RowSizingAllowed, &G::SetRowSizingAllowed, false)
      .Property("SortLocal", &G::SortLocal, &G::SetSortLocal, false)
      .Property("STFilter", &G::STFilter, &G::SetSTFilter)
      .Property("SumList", &G::SumList, &G::SetSumList)
      .Property("TitleFont", &G::TitleFont, &G::SetTitleFont)
      .Property("TitleHeight", &G::TitleHeight, &G::SetTitleHeight, 0)
      .Property("TitleImages", &G::TitleImages, &G::SetTitleImages)
      .Property("TitleLines", &G::TitleLines, &G::SetTitleLines, 0)
      .Property("UseMultiTitle", &G::UseMultiTitle, &G::SetUseMultiTitle, false)
      .Property("VertScrollBar", &G::VertScrollBar, &G::SetVertScrollBar)
      .Property("VTitleMargin", &G::VTitleMargin, &G::SetVTitleMargin, 10)
      .Property("OnAdvDrawDataCell", &G::OnAdvDrawDataCell, &G::SetOnAdvDrawDataCell)
      .Property("OnCheckRowHaveDetailPanel", &G::OnCheckRowHaveDetailPanel,
                &G::SetOnCheckRowHaveDetailPanel)
      .Property("OnColEnter", &G::OnColEnter, &G::SetOnColEnter)
      .Property("OnColExit", &G::OnColExit, &G::SetOnColExit)
      .Property("OnColumnMoved", &G::OnColumnMoved, &G::SetOnColumnMoved)
      .Property("OnColWidthsChanged", &G::OnColWidthsChanged, &G::SetOnColWidthsChanged)
      .Property("OnDrawColumnCell", &G::OnDrawColumnCell, &G::SetOnDrawColumnCell)
      .Property("OnDrawDataCell", &G::OnDrawDataCell, &G::SetOnDrawDataCell)
      .Property("OnDrawFooterCell", &G::OnDrawFooterCell, &G::SetOnDrawFooterCell)
      .Property("OnGetBtnParams", &G::OnGetBtnParams, &G::SetOnGetBtnParams)
      .Property("OnGetCellParams", &G::OnGetCellParams, &G::SetOnGetCellParams)
      .Property("OnGetFooterParams", &G::OnGetFooterParams, &G::SetOnGetFooterParams)
      .Property("OnRowDetailPanelHide", &G::OnRowDetailPanelHide, &G::SetOnRowDetailPanelHide)
      .Property("OnRowDetailPanelShow", &G::OnRowDetailPanelShow, &G::SetOnRowDetailPanelShow)
      .Property("OnSumListAfterRecalcAll", &G::OnSumListAfterRecalcAll,
                &G::SetOnSumListAfterRecalcAll)
      .Property("OnSumListRecalcAll", &G::OnSumListRecalcAll, &G::SetOnSumListRecalcAll)
      .Property("OnTitleClick", &G::OnTitleClick, &G::SetOnTitleClick)
      .Property("EditActions", &G::EditActions, &G::SetEditActions, TDBGridZkEditActions{})
      .Property("OnSortMarkingChanged", &G::OnSortMarkingChanged, &G::SetOnSortMarkingChanged)
      .Property("OnSelectionChanged", &G::OnSelectionChanged, &G::SetOnSelectionChanged)
      .Property("OnEditButtonClick", &G::OnEditButtonClick, &G::SetOnEditButtonClick)
      .Property("OnCellClick", &G::OnCellClick, &G::SetOnCellClick)
      .Property("OnTitleBtnClick", &G::OnTitleBtnClick, &G::SetOnTitleBtnClick);
}

void RegisterDBGridZkClasses() {
  RegisterClasses({TDBGridZk::ClassInfo(), TDBGridColumnZk::ClassInfo(), TColumnZk::ClassInfo(),
                   TDBGridColumnsZk::ClassInfo(), TColumnTitleZk::ClassInfo(),
                   TColumnFooterZk::ClassInfo(), TColumnFootersZk::ClassInfo(),
                   TRowDetailPanelControlZk::ClassInfo(), TDBGridZkSumList::ClassInfo()});
}

// --- settings objects -----------------------------------------------------------------------------

TDBGridZkScrollBar::TDBGridZkScrollBar(TCustomDBGridZk* Grid, TScrollBarKind Kind)
    : FGrid(Grid), FKind(Kind) {}

void TDBGridZkScrollBar::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TDBGridZkScrollBar*>(Source);
  if (!S) return TPersistent::Assign(Source);
  FTracking = S->FTracking;
  SetVisibleMode(S->FVisibleMode);
}

void TDBGridZkScrollBar::SetVisible(bool Value) {
  SetVisibleMode(Value ? sbAutoShowZk : sbNeverShowZk);
}

void TDBGridZkScrollBar::SetVisibleMode(TScrollBarVisibleModeZk Value) {
  if (Value == FVisibleMode) return;
  FVisibleMode = Value;
  if (FGrid) FGrid->LayoutChanged();
}

namespace {
// The settings object each external bar serves: a bar mirrors one grid bar only.
std::map<const TScrollBar*, const TDBGridZkScrollBar*>& AttachedBars() {
  static std::map<const TScrollBar*, const TDBGridZkScrollBar*> Map;
  return Map;
}
}  // namespace

TDBGridZkScrollBar::~TDBGridZkScrollBar() {
  if (FExtScrollBar) AttachedBars().erase(FExtScrollBar);
}

void TDBGridZkScrollBar::SetExtScrollBar(TScrollBar* Value) {
  if (Value == FExtScrollBar) return;
  if (Value && AttachedBars().count(Value))
    throw Exception(u"Possible " + Value->Name() + u" already attached to the other control.");
  if (FExtScrollBar) AttachedBars().erase(FExtScrollBar);
  FExtScrollBar = Value;
  if (Value) {
    AttachedBars()[Value] = this;
    if (FGrid) Value->FreeNotification(FGrid);
  }
  if (FGrid) FGrid->LayoutChanged();
}

void TDBGridZkIndicatorTitle::SetShowDropDownSign(bool Value) {
  if (Value == FShowDropDownSign) return;
  FShowDropDownSign = Value;
  if (FGrid) FGrid->Invalidate();
}

// --- pointer ---------------------------------------------------------------------------------------

// The selection pointer for a client point: rows over the indicator, a column over the lowest
// pixels of its title; crDefault elsewhere or when nothing can be selected there.
TCursor TCustomDBGridZk::SelectionCursorAt(int X, int Y) {
  if (!FDataLink->Active() || !FOptions.Contains(dgMultiSelect) || FGridState != gsNormal ||
      FDBGridZkState != dgsNormal || StartDataRowMove(X, Y, true))
    return crDefault;
  const TGridCoord K = MouseCoord(X, Y);
  if (K.X < 0 || K.Y < 0) return crDefault;
  if (K.X < FIndicatorOffset && K.Y >= FTitleOffset && K.Y < RowCount() &&
      !DataSet()->IsEmpty() && SelectionTypeAllowed(gstRecordBookmarks))
    return UseRightToLeftAlignment() ? crRowSelectRtlZk : crRowSelectZk;
  constexpr int ColumnSelectBand = 7;
  if (K.X >= FIndicatorOffset && K.Y == FTitleOffset - 1 && FOptions.Contains(dgTitles) &&
      !FOptions.Contains(dgRowSelect) && SelectionTypeAllowed(gstColumns) && ColumnAtGridCol(K.X)) {
    const TRect R = CellScreenRect(K.X, K.Y);
    if (Y >= R.Bottom - std::min(ColumnSelectBand, R.Height())) return crColumnSelectZk;
  }
  return crDefault;
}

void TCustomDBGridZk::WMSetCursorZk(TMessage& Message) {
  TWMSetCursor M{Message};
  TCursor Shape = crDefault;
  if (M.HitTest() == HTCLIENT) {
    TPoint P;
    GetCursorPos(P);
    P = ScreenToClient(P);
    Shape = SelectionCursorAt(P.X, P.Y);
  }
  if (Shape == crDefault) {
    TCustomGridZk::Dispatch(Message);
    return;
  }
  // The pointer for this answer only; a sizing edge under the mouse still wins in the base grid.
  const TCursor Kept = Cursor();
  SetCursor(Shape);
  TCustomGridZk::Dispatch(Message);
  SetCursor(Kept);
}
