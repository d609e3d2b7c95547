// DBGridZkGroupView.h - the data grid's grouping classes: its grouping settings (the grid's
// DataGrouping) and its levels, which name their column by field and build the group row text.
#pragma once

#include "gridlib/grid/DBGridZk.h"

class TDBGridZkDataGroupsZk : public TGridDataGroupsZk {
  VORENTA_CLASS(TDBGridZkDataGroupsZk, TGridDataGroupsZk)
public:
  explicit TDBGridZkDataGroupsZk(TCustomDBGridZk* AGrid = nullptr);
  TCustomDBGridZk* DBGrid() const { return FDBGrid; }
  int HotTrackGroupLevelIdx() const { return FHotTrackGroupLevelIdx; }
  void SetHotTrackGroupLevelIdx(int Value) { FHotTrackGroupLevelIdx = Value; }
  // The button under the mouse in the hot box: 0 its filter button, -1 none.
  int HotTrackEditButton() const { return FHotTrackEditButton; }
  void SetHotTrackEditButton(int Value) { FHotTrackEditButton = Value; }

  void ActiveChanged() override;
  void GroupStructureChanged() override;
  void AppearanceChanged() override;
  void RebuildActiveGroupLevels() override;
  void ResortLevel(int LevelIndex, TSortOrderZk SortOrder) override;
  bool IsGroupingWorks() override;
  // Builds the tree anew (KeepGroups: the groups and their expanded state stay) or drops it
  // when grouping does not work, and makes the current record's row current.
  void RefreshTree(bool KeepGroups);

private:
  TCustomDBGridZk* FDBGrid;
  int FHotTrackEditButton = -1, FHotTrackGroupLevelIdx = -1;
};

// Sender grid, the level, the key value it may change.
using TDBGridZkDataGroupGetKeyValueEvent =
    std::function<void(TCustomDBGridZk* Sender, TDBGridZkDataGroupLevelZk* GroupLevel,
                       Variant& KeyValue)>;

class TDBGridZkDataGroupLevelZk : public TGridDataGroupLevelZk {
  VORENTA_CLASS(TDBGridZkDataGroupLevelZk, TGridDataGroupLevelZk)
public:
  explicit TDBGridZkDataGroupLevelZk(TCollection* Collection);
  TCustomDBGridZk* DBGrid() const;
  TColumnZk* GridColumn() const { return dynamic_cast<TColumnZk*>(Column()); }
  // The field name of the level's column; setting it finds the column (nullptr when none).
  String ColumnName() const;
  void SetColumnName(const String& Value);
  // Sets the column again from the name read while the grid was loading.
  void ResolveLoadedColumnName();
  const TDBGridZkDataGroupGetKeyValueEvent& OnGetKeyValueZk() const { return FOnGetKeyValue; }
  void SetOnGetKeyValueZk(TDBGridZkDataGroupGetKeyValueEvent Value) {
    FOnGetKeyValue = std::move(Value);
  }
  const TDBGridZkDataGroupGetGroupRowTextEvent& OnGetGroupRowText() const {
    return FOnGetGroupRowText;
  }
  void SetOnGetGroupRowText(TDBGridZkDataGroupGetGroupRowTextEvent Value) {
    FOnGetGroupRowText = std::move(Value);
  }
  const TDBGridZkDataGroupGetKeyValueAsTextEvent& OnGetKeyValueAsText() const {
    return FOnGetKeyValueAsText;
  }
  void SetOnGetKeyValueAsText(TDBGridZkDataGroupGetKeyValueAsTextEvent Value) {
    FOnGetKeyValueAsText = std::move(Value);
  }

  String GetKeyValueAsText(TGroupDataTreeNodeZk* Node);
  void LevelChanged() override;
  String GetGroupRowText(TGroupDataTreeNodeZk* GroupDataTreeNode) override;
  void GetKeyValue(Variant& KeyValue) override;

private:
  String FLoadingColumnName;
  TDBGridZkDataGroupGetKeyValueEvent FOnGetKeyValue;
  TDBGridZkDataGroupGetGroupRowTextEvent FOnGetGroupRowText;
  TDBGridZkDataGroupGetKeyValueAsTextEvent FOnGetKeyValueAsText;
};

// The indentation step of one group level, in pixels.
constexpr int GroupLevelIndentZk = 18;
