// DBGridZkGrouping.h - the row grouping engine: grouping settings, grouping levels and the
// group data tree the data grid shows as group rows with their records below.
//
// The tree is built over a table implementing IMemTableZk: every row of the table's current
// view becomes a record node under the group nodes of its key values, one group level per
// active grouping level. The grid draws and navigates the flat list of the nodes the user can
// see, which the tree keeps. The grid reaches the engine through the settings object and
// answers the engine's questions through IGridDataGroupsHostZk.
#pragma once

#include <memory>
#include <vector>

#include "gridlib/memtable/MemTreeZk.h"
#include "platform/classes/Collection.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/Variant.h"

class IMemTableZk;
class TComponent;
class TDataSet;
class TField;
class TGridDataGroupsZk;
class TGridDataGroupLevelZk;
class TGroupDataTreeNodeZk;

VORENTA_ENUM(TSortOrderZk, soAscZk, soDescZk);

enum TGroupDataTreeNodeTypeZk { dntDataSetRecordZk, dntDataGroupZk };

// What the engine asks of the grid that shows the groups.
class IGridDataGroupsHostZk {
public:
  virtual ~IGridDataGroupsHostZk() = default;
  // The grid's dataset as a memory table, or nullptr.
  virtual IMemTableZk* GroupingMemTable() = 0;
  // The grid's dataset (its state tells an insert), or nullptr.
  virtual TDataSet* GroupingDataSet() = 0;
  virtual bool GroupingLinkActive() = 0;
  // The field of a grouping column, or nullptr.
  virtual TField* GroupingColumnField(TPersistent* Column) = 0;
  virtual TColor GroupingGridColor() = 0;
  virtual TFont* GroupingGridFont() = 0;
  virtual void GroupingInvalidate() = 0;
  // The flat list of visible rows changed: re-count the rows and repaint.
  virtual void GroupingFlatListChanged() = 0;
  virtual void GroupingInvalidateRow(int FlatIndex) = 0;
  virtual int GroupingGroupRowHeight(TGroupDataTreeNodeZk* Node) = 0;
  // The height of the data row of the current (instant-read) record.
  virtual int GroupingDataRowHeight() = 0;
  virtual void GroupingUpdateAllRowHeights() = 0;
  virtual void GroupingPanelChanged() = 0;
};

// --- the tree ---------------------------------------------------------------------------------------

class TGroupDataTreeNodeZk : public TBaseTreeNodeZk {
public:
  explicit TGroupDataTreeNodeZk(TTreeListZk* AOwner) : TBaseTreeNodeZk(AOwner) {}

  TGridDataGroupLevelZk* DataGroup() const { return FDataGroup; }
  void SetDataGroup(TGridDataGroupLevelZk* Value) { FDataGroup = Value; }
  int DataSetRecordViewNo() const { return FDataSetRecordViewNo; }
  void SetDataSetRecordViewNo(int Value) { FDataSetRecordViewNo = Value; }
  const Variant& FullKey() const { return FFullKey; }
  void SetFullKey(const Variant& Value) { FFullKey = Value; }
  TGroupDataTreeNodeTypeZk NodeType() const { return FNodeType; }
  void SetNodeType(TGroupDataTreeNodeTypeZk Value) { FNodeType = Value; }
  // A group node's key value; a record node's view row number.
  const Variant& KeyValue() const { return FKeyValue; }
  void SetKeyValue(const Variant& Value) { FKeyValue = Value; }
  // Reading a stale height recomputes it first.
  int RowHeight();
  void SetRowHeight(int Value);
  bool RowHeightNeedUpdate() const { return FRowHeightNeedUpdate; }
  void RowDataChanged() { FRowHeightNeedUpdate = true; }
  void UpdateRowHeight();
  TGroupDataTreeNodeZk* Items(int Index) const {
    return static_cast<TGroupDataTreeNodeZk*>(GetItem(Index));
  }
  TGroupDataTreeNodeZk* ParentNode() const { return static_cast<TGroupDataTreeNodeZk*>(Parent()); }
  // Re-numbers a record node to view row RecNo (number, key value and the key's last element).
  void SetRecordViewNo(int RecNo);

private:
  TGridDataGroupLevelZk* FDataGroup = nullptr;
  int FDataSetRecordViewNo = 0;
  Variant FFullKey;
  TGroupDataTreeNodeTypeZk FNodeType = dntDataSetRecordZk;
  Variant FKeyValue;
  int FRowHeight = 0;
  bool FRowHeightNeedUpdate = true;
};

class TGridGroupDataTreeZk : public TTreeListZk {
public:
  explicit TGridGroupDataTreeZk(TGridDataGroupsZk* AGridDataGroups);

  TGridDataGroupsZk* GridDataGroups() const { return FGridDataGroups; }
  int FlatVisibleCount() const { return static_cast<int>(FFlatVisibleList.size()); }
  TGroupDataTreeNodeZk* FlatVisibleItem(int Index) const { return FFlatVisibleList[Index]; }
  int UpdateCount() const { return FUpdateCount; }
  TGroupDataTreeNodeZk* RootNode() const { return static_cast<TGroupDataTreeNodeZk*>(Root()); }

  void ExpandedChanged(TBaseTreeNodeZk* Node) override;

  TGroupDataTreeNodeZk* AddRecordNodeForKey(const Variant& AKey);
  TGroupDataTreeNodeZk* GetNodeToInsertForKey1(TGroupDataTreeNodeZk* ParentNode,
                                                const Variant& Key1, TSortOrderZk SortOrder,
                                                TNodeAttachModeZk& InsertMode);
  TGroupDataTreeNodeZk* GetNodeByRecordViewNo(int RecordViewNo) const;
  int IndexOfVisibleNode(const TGroupDataTreeNodeZk* Node) const;
  int IndexOfVisibleRecordViewNo(int RecordViewNo) const;
  void RebuildDataTree(IMemTableZk* AIntMemTable);
  void RebuildDataTreeEx(IMemTableZk* AIntMemTable);
  void RebuildFlatVisibleList();
  void RecordChanged(int RecNum);
  void RecordDeleted(int RecNum);
  void RecordInserted(int RecNum);
  // Deletes a record node and then each ancestor it leaves empty.
  void DeleteRecordNode(TGroupDataTreeNodeZk* RecNode);
  void DeleteRecordNodes();
  void DeleteEmptyNodes();
  void DeleteRecordNodesUpToLevel(int Level);
  void UpdateRecordNodePosInTree(TGroupDataTreeNodeZk* RecNode);
  void ExpandNodePathToView(TGroupDataTreeNodeZk* Node);
  void UpdateAllDataRowHeights();
  void ResortLevel(int LevelIndex, TSortOrderZk SortOrder);
  int CompareNodes(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2, TSortOrderZk SortOrder);
  TGroupDataTreeNodeZk* GetFirstNodeAtLevel(int Level) const;
  TGroupDataTreeNodeZk* GetNextNodeAtLevel(TGroupDataTreeNodeZk* Node, int Level) const;
  void CollapseLevel(int Level);
  void ExpandLevel(int Level);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { --FUpdateCount; }
  // Writes the inserting key values into the fields of the new record's grouping columns.
  void SetDataSetkeyValue();

  // Depth-first walk, collapsed nodes included.
  TGroupDataTreeNodeZk* FirstNode() const;
  TGroupDataTreeNodeZk* NextNode(TGroupDataTreeNodeZk* Node) const;

private:
  TGroupDataTreeNodeZk* MakeGroupNode(TGridDataGroupLevelZk* Level, const Variant& Key);
  void AttachAt(TGroupDataTreeNodeZk* Node, TGroupDataTreeNodeZk* Parent,
                TGroupDataTreeNodeZk* Place, TNodeAttachModeZk Mode);
  TGroupDataTreeNodeZk* AddRecordNode(const Variant& Key, int ViewRecNo);
  void ShiftRecordNumbers(int FromRecNo, int Delta);
  void RebuildRecords(IMemTableZk* AIntMemTable, bool KeepGroups);
  void NotifyFlatListChanged();

  TGridDataGroupsZk* FGridDataGroups;
  std::vector<TGroupDataTreeNodeZk*> FFlatVisibleList;
  int FUpdateCount = 0;
};

// --- levels -----------------------------------------------------------------------------------------

class TGridDataGroupLevelZk : public TCollectionItem {
  VORENTA_CLASS(TGridDataGroupLevelZk, TCollectionItem)
public:
  explicit TGridDataGroupLevelZk(TCollection* Collection);
  ~TGridDataGroupLevelZk() override;

  TGridDataGroupsZk* DataGroups() const;
  TColor Color() const;
  void SetColor(TColor Value);
  TPersistent* Column() const { return FColumn; }
  void SetColumn(TPersistent* Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  int RowHeight() const { return FRowHeight; }
  void SetRowHeight(int Value);
  int RowLines() const { return FRowLines; }
  void SetRowLines(int Value);
  TSortOrderZk SortOrder() const { return FSortOrder; }
  void SetSortOrder(TSortOrderZk Value);
  const TRect& GroupPanelRect() const { return FGroupPanelRect; }
  void SetGroupPanelRect(const TRect& Value) { FGroupPanelRect = Value; }
  TNotifyEvent OnGetKeyValue() const { return FOnGetKeyValue; }
  void SetOnGetKeyValue(const TNotifyEvent& Value) { FOnGetKeyValue = Value; }
  TNotifyEvent OnGetTitleText() const { return FOnGetTitleText; }
  void SetOnGetTitleText(const TNotifyEvent& Value) { FOnGetTitleText = Value; }
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }

  // Collapses / expands every group node of this level; nothing when the level is inactive.
  void CollapseNodes();
  void ExtractNodes();
  void Assign(TPersistent* Source) override;

  // --- virtual operations
  virtual void LevelChanged();
  virtual String GetGroupRowText(TGroupDataTreeNodeZk* GroupDataTreeNode);
  // The column field's value for the current record; KeyValue stays as passed without one.
  virtual void GetKeyValue(Variant& KeyValue);

protected:
  IGridDataGroupsHostZk* Host() const;

private:
  void FontChanged(TObject* Sender);
  void SetActiveLevelExpanded(bool Expanded);

  TColor FColor = clWindow;
  TPersistent* FColumn = nullptr;
  std::unique_ptr<TFont> FFont;
  TRect FGroupPanelRect{};
  TNotifyEvent FOnGetKeyValue, FOnGetTitleText;
  bool FParentColor = true, FParentFont = true;
  mutable bool FCopyingParentFont = false;
  int FRowHeight = 0, FRowLines = 0;
  TSortOrderZk FSortOrder = soAscZk;
};

class TGridDataGroupLevelsZk : public TCollection {
  VORENTA_CLASS(TGridDataGroupLevelsZk, TCollection)
public:
  explicit TGridDataGroupLevelsZk(TGridDataGroupsZk* DataGroups = nullptr,
                                  TClass ItemClass = nullptr);
  TGridDataGroupLevelZk* Add() { return static_cast<TGridDataGroupLevelZk*>(TCollection::Add()); }
  TGridDataGroupLevelZk* Items(int Index) const {
    return static_cast<TGridDataGroupLevelZk*>(TCollection::Items(Index));
  }
  TGridDataGroupsZk* DataGroups() const { return FDataGroups; }
  TComponent* Grid() const;
  TPersistent* GetOwner() const override;
  // Re-sorts an active level's groups: its active index, or a negative number when inactive.
  virtual int SortOrderChanged(TGridDataGroupLevelZk* Level);

protected:
  void Update(TCollectionItem* Item) override;

private:
  TGridDataGroupsZk* FDataGroups;

  friend class TGridDataGroupsZk;
};

// --- settings ---------------------------------------------------------------------------------------

class TGridDataGroupsZk : public TPersistent {
  VORENTA_CLASS(TGridDataGroupsZk, TPersistent)
public:
  // LevelClass: the class of the level items (TGridDataGroupLevelZk by default).
  explicit TGridDataGroupsZk(TComponent* AGrid = nullptr, IGridDataGroupsHostZk* AHost = nullptr,
                             TClass LevelClass = nullptr);
  ~TGridDataGroupsZk() override;

  void Assign(TPersistent* Source) override;
  TComponent* Grid() const { return FGrid; }
  IGridDataGroupsHostZk* Host() const { return FHost; }
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool GroupPanelVisible() const { return FGroupPanelVisible; }
  void SetGroupPanelVisible(bool Value);
  bool DefaultStateExpanded() const { return FDefaultStateExpanded; }
  void SetDefaultStateExpanded(bool Value) { FDefaultStateExpanded = Value; }
  TGridDataGroupLevelsZk* GroupLevels() const { return FGroupLevels.get(); }
  void SetGroupLevels(TGridDataGroupLevelsZk* Value) { FGroupLevels->Assign(Value); }
  TGridGroupDataTreeZk* GroupDataTree() const { return FGroupDataTree.get(); }
  int ActiveGroupLevelsCount() const { return static_cast<int>(FActiveGroupLevels.size()); }
  TGridDataGroupLevelZk* ActiveGroupLevels(int Index) const { return FActiveGroupLevels[Index]; }
  TPersistent* ActiveGroupColumns(int Index) const { return FActiveGroupColumns[Index]; }
  // The active index of Level, or -1.
  int IndexOfActiveLevel(const TGridDataGroupLevelZk* Level) const;
  const Variant& InsertingKeyValue() const { return FInsertingKeyValue; }
  void SetInsertingKeyValue(const Variant& KeyValue) { FInsertingKeyValue = KeyValue; }
  // The key of a view row: each active level's value, then the row number.
  Variant GetKeyValueForViewRecNo(int ViewRecNo);
  // Reconciles the active levels with the collection after a change.
  void GroupLevelsChanged();
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }

  // --- virtual operations
  virtual void ActiveChanged();
  virtual void GroupStructureChanged();
  virtual void AppearanceChanged();
  virtual void RebuildActiveGroupLevels();
  virtual void ResortLevel(int LevelIndex, TSortOrderZk SortOrder);
  virtual bool IsGroupingWorks();

private:
  void FontChanged(TObject* Sender);

  bool FActive = false;
  std::vector<TPersistent*> FActiveGroupColumns;
  std::vector<TGridDataGroupLevelZk*> FActiveGroupLevels;
  TColor FColor = clWindow;
  std::unique_ptr<TFont> FFont;
  TComponent* FGrid;
  IGridDataGroupsHostZk* FHost;
  std::unique_ptr<TGridGroupDataTreeZk> FGroupDataTree;
  std::unique_ptr<TGridDataGroupLevelsZk> FGroupLevels;
  bool FGroupPanelVisible = false;
  Variant FInsertingKeyValue;
  bool FParentColor = true, FParentFont = true;
  mutable bool FCopyingParentFont = false;
  bool FDefaultStateExpanded = false;
};
