// DBGridZkGrouping.cpp - the grouping settings and levels: active levels, reconciling them
// after a change of the level collection, keys of view rows, fonts and colours.
#include "gridlib/grid/DBGridZkGrouping.h"

#include <optional>

#include "gridlib/toolkit/MemTableIntfZk.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

// --- TGridDataGroupLevelZk ----------------------------------------------------------------------

TGridDataGroupLevelZk::TGridDataGroupLevelZk(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()) {
  FFont->SetOnChange([this](TObject* Sender) { FontChanged(Sender); });
}

TGridDataGroupLevelZk::~TGridDataGroupLevelZk() = default;

TGridDataGroupsZk* TGridDataGroupLevelZk::DataGroups() const {
  auto* Levels = dynamic_cast<TGridDataGroupLevelsZk*>(Collection());
  return Levels ? Levels->DataGroups() : nullptr;
}

IGridDataGroupsHostZk* TGridDataGroupLevelZk::Host() const {
  TGridDataGroupsZk* Groups = DataGroups();
  return Groups ? Groups->Host() : nullptr;
}

TColor TGridDataGroupLevelZk::Color() const {
  TGridDataGroupsZk* Groups = DataGroups();
  return FParentColor && Groups ? Groups->Color() : FColor;
}

void TGridDataGroupLevelZk::SetColor(TColor Value) {
  if (!FParentColor && Value == FColor) return;
  FColor = Value;
  FParentColor = false;
  LevelChanged();
}

void TGridDataGroupLevelZk::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  LevelChanged();
}

TFont* TGridDataGroupLevelZk::Font() const {
  TGridDataGroupsZk* Groups = DataGroups();
  if (FParentFont && Groups) {
    FCopyingParentFont = true;
    FFont->Assign(Groups->Font());
    FCopyingParentFont = false;
  }
  return FFont.get();
}

void TGridDataGroupLevelZk::SetFont(TFont* Value) {
  FFont->Assign(Value);
  FParentFont = false;
}

void TGridDataGroupLevelZk::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  LevelChanged();
}

void TGridDataGroupLevelZk::FontChanged(TObject*) {
  if (FCopyingParentFont) return;
  FParentFont = false;
  LevelChanged();
}

void TGridDataGroupLevelZk::SetColumn(TPersistent* Value) {
  if (Value == FColumn) return;
  FColumn = Value;
  Changed(false);
}

void TGridDataGroupLevelZk::SetRowHeight(int Value) {
  if (Value == FRowHeight) return;
  FRowHeight = Value;
  LevelChanged();
}

void TGridDataGroupLevelZk::SetRowLines(int Value) {
  if (Value == FRowLines) return;
  FRowLines = Value;
  LevelChanged();
}

void TGridDataGroupLevelZk::SetSortOrder(TSortOrderZk Value) {
  if (Value == FSortOrder) return;
  FSortOrder = Value;
  if (auto* Levels = dynamic_cast<TGridDataGroupLevelsZk*>(Collection()))
    Levels->SortOrderChanged(this);
}

void TGridDataGroupLevelZk::SetActiveLevelExpanded(bool Expanded) {
  TGridDataGroupsZk* Groups = DataGroups();
  const int Index = Groups ? Groups->IndexOfActiveLevel(this) : -1;
  if (Index < 0) return;
  if (Expanded)
    Groups->GroupDataTree()->ExpandLevel(Index + 1);
  else
    Groups->GroupDataTree()->CollapseLevel(Index + 1);
}

void TGridDataGroupLevelZk::CollapseNodes() { SetActiveLevelExpanded(false); }
void TGridDataGroupLevelZk::ExtractNodes() { SetActiveLevelExpanded(true); }

void TGridDataGroupLevelZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TGridDataGroupLevelZk*>(Source);
  if (!S) return TCollectionItem::Assign(Source);
  FColor = S->FColor;
  FParentColor = S->FParentColor;
  FCopyingParentFont = true;
  FFont->Assign(S->FFont.get());
  FCopyingParentFont = false;
  FParentFont = S->FParentFont;
  FRowHeight = S->FRowHeight;
  FRowLines = S->FRowLines;
  FSortOrder = S->FSortOrder;
  FOnGetKeyValue = S->FOnGetKeyValue;
  FOnGetTitleText = S->FOnGetTitleText;
  SetColumn(S->FColumn);
}

void TGridDataGroupLevelZk::LevelChanged() {
  if (IGridDataGroupsHostZk* H = Host()) H->GroupingInvalidate();
}

String TGridDataGroupLevelZk::GetGroupRowText(TGroupDataTreeNodeZk*) { return String(); }

// The handler is a plain notification raised in place of reading the field; it can change
// nothing the caller sees, so the value stays as passed.
void TGridDataGroupLevelZk::GetKeyValue(Variant& KeyValue) {
  if (FOnGetKeyValue) return FOnGetKeyValue(this);
  IGridDataGroupsHostZk* H = Host();
  TField* Field = H && FColumn ? H->GroupingColumnField(FColumn) : nullptr;
  if (Field && Field->DataSet() && Field->DataSet()->Active()) KeyValue = Field->Value();
}

// --- TGridDataGroupLevelsZk ---------------------------------------------------------------------

TGridDataGroupLevelsZk::TGridDataGroupLevelsZk(TGridDataGroupsZk* DataGroups, TClass ItemClass)
    : TCollection(ItemClass ? ItemClass : TGridDataGroupLevelZk::ClassInfo()),
      FDataGroups(DataGroups) {}

TComponent* TGridDataGroupLevelsZk::Grid() const {
  return FDataGroups ? FDataGroups->Grid() : nullptr;
}

TPersistent* TGridDataGroupLevelsZk::GetOwner() const { return FDataGroups; }

void TGridDataGroupLevelsZk::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (FDataGroups) FDataGroups->GroupLevelsChanged();
}

int TGridDataGroupLevelsZk::SortOrderChanged(TGridDataGroupLevelZk* Level) {
  if (!FDataGroups) return -1;
  const int Index = FDataGroups->IndexOfActiveLevel(Level);
  if (Index >= 0) FDataGroups->ResortLevel(Index, Level->SortOrder());
  return Index;
}

// --- TGridDataGroupsZk --------------------------------------------------------------------------

TGridDataGroupsZk::TGridDataGroupsZk(TComponent* AGrid, IGridDataGroupsHostZk* AHost,
                                     TClass LevelClass)
    : FFont(std::make_unique<TFont>()),
      FGrid(AGrid),
      FHost(AHost),
      FGroupDataTree(std::make_unique<TGridGroupDataTreeZk>(this)),
      FGroupLevels(std::make_unique<TGridDataGroupLevelsZk>(this, LevelClass)) {
  FFont->SetOnChange([this](TObject* Sender) { FontChanged(Sender); });
}

// The levels are cut loose first: freeing them reconciles nothing with a tree going away.
TGridDataGroupsZk::~TGridDataGroupsZk() {
  FGroupLevels->FDataGroups = nullptr;
  FGroupLevels.reset();
}

void TGridDataGroupsZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TGridDataGroupsZk*>(Source);
  if (!S) return TPersistent::Assign(Source);
  SetActive(S->FActive);
  FGroupLevels->Assign(S->FGroupLevels.get());
  SetGroupPanelVisible(S->FGroupPanelVisible);
}

void TGridDataGroupsZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  ActiveChanged();
}

void TGridDataGroupsZk::SetGroupPanelVisible(bool Value) {
  if (Value == FGroupPanelVisible) return;
  FGroupPanelVisible = Value;
  if (FHost) FHost->GroupingPanelChanged();
}

TColor TGridDataGroupsZk::Color() const {
  return FParentColor && FHost ? FHost->GroupingGridColor() : FColor;
}

void TGridDataGroupsZk::SetColor(TColor Value) {
  if (!FParentColor && Value == FColor) return;
  FColor = Value;
  FParentColor = false;
  AppearanceChanged();
}

void TGridDataGroupsZk::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  AppearanceChanged();
}

TFont* TGridDataGroupsZk::Font() const {
  TFont* GridFont = FHost ? FHost->GroupingGridFont() : nullptr;
  if (FParentFont && GridFont) {
    FCopyingParentFont = true;
    FFont->Assign(GridFont);
    FCopyingParentFont = false;
  }
  return FFont.get();
}

void TGridDataGroupsZk::SetFont(TFont* Value) {
  FFont->Assign(Value);
  FParentFont = false;
}

void TGridDataGroupsZk::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  AppearanceChanged();
}

void TGridDataGroupsZk::FontChanged(TObject*) {
  if (FCopyingParentFont) return;
  FParentFont = false;
  AppearanceChanged();
}

int TGridDataGroupsZk::IndexOfActiveLevel(const TGridDataGroupLevelZk* Level) const {
  for (size_t I = 0; I < FActiveGroupLevels.size(); ++I)
    if (FActiveGroupLevels[I] == Level) return static_cast<int>(I);
  return -1;
}

Variant TGridDataGroupsZk::GetKeyValueForViewRecNo(int ViewRecNo) {
  IMemTableZk* Table = FHost ? FHost->GroupingMemTable() : nullptr;
  struct TLeave {
    IMemTableZk* Table = nullptr;
    ~TLeave() {
      if (Table) Table->InstantReadLeave();
    }
  } Leave;
  if (Table && Table->GetInstantReadCurRow() != ViewRecNo) {
    Table->InstantReadEnter(ViewRecNo);
    Leave.Table = Table;
  }
  const int N = ActiveGroupLevelsCount();
  Variant Key = VarArrayCreate(0, N, varVariant);
  for (int I = 0; I < N; ++I) {
    Variant Value;
    FActiveGroupLevels[I]->GetKeyValue(Value);
    Key[I] = Value;
  }
  Key[N] = ViewRecNo;
  return Key;
}

void TGridDataGroupsZk::GroupLevelsChanged() {
  int K = 0;
  bool AllMatch = true;
  for (int I = 0; I < FGroupLevels->Count(); ++I) {
    TGridDataGroupLevelZk* Level = FGroupLevels->Items(I);
    if (!Level->Column()) continue;
    if (K < ActiveGroupLevelsCount() && FActiveGroupLevels[K] == Level &&
        FActiveGroupColumns[K] == Level->Column()) {
      ++K;
    } else {
      AllMatch = false;
      break;
    }
  }
  if (AllMatch && K == ActiveGroupLevelsCount()) return;
  FGroupDataTree->DeleteRecordNodesUpToLevel(K + 1);
  RebuildActiveGroupLevels();
  if (FActive) GroupStructureChanged();
}

void TGridDataGroupsZk::ActiveChanged() {}
void TGridDataGroupsZk::GroupStructureChanged() {}

void TGridDataGroupsZk::AppearanceChanged() {
  if (FHost) FHost->GroupingInvalidate();
}

void TGridDataGroupsZk::RebuildActiveGroupLevels() {
  FActiveGroupLevels.clear();
  FActiveGroupColumns.clear();
  for (int I = 0; I < FGroupLevels->Count(); ++I) {
    TGridDataGroupLevelZk* Level = FGroupLevels->Items(I);
    if (!Level->Column()) continue;
    FActiveGroupLevels.push_back(Level);
    FActiveGroupColumns.push_back(Level->Column());
  }
}

void TGridDataGroupsZk::ResortLevel(int LevelIndex, TSortOrderZk SortOrder) {
  FGroupDataTree->ResortLevel(LevelIndex, SortOrder);
}

bool TGridDataGroupsZk::IsGroupingWorks() { return FActive; }

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TGridDataGroupLevelZk) {
  using L = TGridDataGroupLevelZk;
  Class.Property("Color", &L::Color, &L::SetColor).Stored(&L::IsColorStored)
      .Property("Font", &L::Font, &L::SetFont).Stored(&L::IsFontStored)
      .Property("ParentColor", &L::ParentColor, &L::SetParentColor, true)
      .Property("ParentFont", &L::ParentFont, &L::SetParentFont, true)
      .Property("RowHeight", &L::RowHeight, &L::SetRowHeight, 0)
      .Property("RowLines", &L::RowLines, &L::SetRowLines, 0)
      .Property("SortOrder", &L::SortOrder, &L::SetSortOrder, soAscZk)
      .Property("OnGetKeyValue", &L::OnGetKeyValue, &L::SetOnGetKeyValue)
      .Property("OnGetTitleText", &L::OnGetTitleText, &L::SetOnGetTitleText);
}

REGISTER_CLASS(TGridDataGroupLevelsZk) {}

REGISTER_CLASS(TGridDataGroupsZk) {
  using G = TGridDataGroupsZk;
  Class.Property("Active", &G::Active, &G::SetActive, false)
      .Property("Color", &G::Color, &G::SetColor).Stored(&G::IsColorStored)
      .Property("DefaultStateExpanded", &G::DefaultStateExpanded, &G::SetDefaultStateExpanded,
                false)
      .Property("Font", &G::Font, &G::SetFont).Stored(&G::IsFontStored)
      .Property("GroupLevels", &G::GroupLevels, &G::SetGroupLevels)
      .Property("GroupPanelVisible", &G::GroupPanelVisible, &G::SetGroupPanelVisible, false)
      .Property("ParentColor", &G::ParentColor, &G::SetParentColor, true)
      .Property("ParentFont", &G::ParentFont, &G::SetParentFont, true);
}
