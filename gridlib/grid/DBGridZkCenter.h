// DBGridZkCenter.h - TDBGridZkCenter, the policy object all data grids share: how a grid
// locates a text, moves bookmarked records, applies sorting and filtering, opens the find
// dialog, builds the indicator-title menu and answers cell clicks. Each operation calls its
// event when one is set, otherwise its Default method.
#pragma once

#include <functional>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkFilterUtils.h"
#include "platform/controls/Menus.h"

VORENTA_ENUM(TDBGridZkStyleIndicatorTitleMenuZk, itmVisibleColumnsZk, itmCut, itmCopy, itmPaste,
             itmDelete, itmSelectAll);
VORENTA_SET(TDBGridZkStyleIndicatorTitleMenusZk, TDBGridZkStyleIndicatorTitleMenuZk);

using TLocateTextEventZk = std::function<bool(
    TObject* Sender, const String& FieldName, const String& Text, TLocateTextOptionsZk Options,
    TLocateTextDirectionZk Direction, TLocateTextMatchingZk Matching,
    TLocateTextTreeFindRangeZk TreeFindRange)>;

// The neighbours' routines the policy object falls back to, set by their units when they start:
// the standard text search, the find dialog and the clipboard and delete routines (AllGrid
// false: the selection only).
struct TDBGridZkRoutines {
  std::function<bool(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                     TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                     TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange)>
      LocateGridText;
  std::function<void(TCustomDBGridZk* Grid, const String& Text, const String& ColumnFieldName,
                     bool Modal)>
      ShowGridFindDialog;
  std::function<void(TCustomDBGridZk* Grid, bool AllGrid)> CopyGridSelectionToClipboard,
      PasteClipboardIntoGrid, CutGridSelection, DeleteGridSelection;
};
TDBGridZkRoutines& DBGridZkRoutines();

// The text search used while no standard search is set: walks the records from the first
// (all) or the next / prior one in the grid's current column (or FieldName's), matching by
// Matching; on a match the dataset stays there, else it returns to where it was.
bool BasicLocateGridText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                         TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                         TLocateTextMatchingZk Matching);

// One entry of the visible-columns submenu.
class TColumnZkMenuItem : public TMenuItem {
  VORENTA_CLASS(TColumnZkMenuItem, TMenuItem)
public:
  explicit TColumnZkMenuItem(TComponent* AOwner) : TMenuItem(AOwner) {}
  TColumnZk* ColumnZk = nullptr;
};

// One of the cached standard entries.
class TDBGridZkMenuItem : public TMenuItem {
  VORENTA_CLASS(TDBGridZkMenuItem, TMenuItem)
public:
  explicit TDBGridZkMenuItem(TComponent* AOwner) : TMenuItem(AOwner) {}
  TCustomDBGridZk* Grid = nullptr;
  TDBGridZkStyleIndicatorTitleMenuZk TitleMenu = itmVisibleColumnsZk;
};

class TDBGridZkCenter : public TPersistent {
  VORENTA_CLASS(TDBGridZkCenter, TPersistent)
public:
  TDBGridZkCenter();
  ~TDBGridZkCenter() override;

  TDBGridZkStyleIndicatorTitleMenusZk IndicatorTitleMenus() const { return FIndicatorTitleMenus; }
  void SetIndicatorTitleMenus(TDBGridZkStyleIndicatorTitleMenusZk Value) {
    FIndicatorTitleMenus = Value;
  }
  bool PreferEditFormatForNumberFields() const { return FPreferEditFormatForNumberFields; }
  void SetPreferEditFormatForNumberFields(bool Value) { FPreferEditFormatForNumberFields = Value; }
  bool UseExtendedScrollingForMemTable() const { return FUseExtendedScrollingForMemTable; }
  void SetUseExtendedScrollingForMemTable(bool Value) { FUseExtendedScrollingForMemTable = Value; }
  bool FilterEditCloseUpApplyFilter() const { return FFilterEditCloseUpApplyFilter; }
  void SetFilterEditCloseUpApplyFilter(bool Value) { FFilterEditCloseUpApplyFilter = Value; }
  // The operator a bare value typed into a column filter takes, per operand type.
  TSTFilterDefaultOperatorZk STFilterDefaultStringOperator() const { return FSTFilterDefaultStringOperator; }
  void SetSTFilterDefaultStringOperator(TSTFilterDefaultOperatorZk V) { FSTFilterDefaultStringOperator = V; }
  TSTFilterDefaultOperatorZk STFilterDefaultNumberOperator() const { return FSTFilterDefaultNumberOperator; }
  void SetSTFilterDefaultNumberOperator(TSTFilterDefaultOperatorZk V) { FSTFilterDefaultNumberOperator = V; }
  TSTFilterDefaultOperatorZk STFilterDefaultDateTimeOperator() const { return FSTFilterDefaultDateTimeOperator; }
  void SetSTFilterDefaultDateTimeOperator(TSTFilterDefaultOperatorZk V) { FSTFilterDefaultDateTimeOperator = V; }
  TSTFilterDefaultOperatorZk STFilterDefaultBooleanOperator() const { return FSTFilterDefaultBooleanOperator; }
  void SetSTFilterDefaultBooleanOperator(TSTFilterDefaultOperatorZk V) { FSTFilterDefaultBooleanOperator = V; }

  const TNotifyEvent& OnApplyFilter() const { return FOnApplyFilter; }
  void SetOnApplyFilter(TNotifyEvent Value) { FOnApplyFilter = std::move(Value); }
  const TNotifyEvent& OnApplySorting() const { return FOnApplySorting; }
  void SetOnApplySorting(TNotifyEvent Value) { FOnApplySorting = std::move(Value); }
  const TDBGridZkBuildIndicatorTitleMenu& OnBuildIndicatorTitleMenu() const {
    return FOnBuildIndicatorTitleMenu;
  }
  void SetOnBuildIndicatorTitleMenu(TDBGridZkBuildIndicatorTitleMenu Value) {
    FOnBuildIndicatorTitleMenu = std::move(Value);
  }
  const TGridZkCellMouseEvent& OnCellMouseClick() const { return FOnCellMouseClick; }
  void SetOnCellMouseClick(TGridZkCellMouseEvent Value) { FOnCellMouseClick = std::move(Value); }
  const TGridZkCellMouseEvent& OnIndicatorTitleMouseDown() const {
    return FOnIndicatorTitleMouseDown;
  }
  void SetOnIndicatorTitleMouseDown(TGridZkCellMouseEvent Value) {
    FOnIndicatorTitleMouseDown = std::move(Value);
  }
  const TLocateTextEventZk& OnLocateText() const { return FOnLocateText; }
  void SetOnLocateText(TLocateTextEventZk Value) { FOnLocateText = std::move(Value); }
  const TDBGridZkFillSTFilterListValuesEvent& OnFillSTFilterListValues() const {
    return FOnFillSTFilterListValues;
  }
  void SetOnFillSTFilterListValues(TDBGridZkFillSTFilterListValuesEvent Value) {
    FOnFillSTFilterListValues = std::move(Value);
  }

  // Registration of grids given the object through their Center setter.
  void AddChangeNotification(TCustomDBGridZk* Grid);
  void RemoveChangeNotification(TCustomDBGridZk* Grid);
  bool GridInChangeNotification(TCustomDBGridZk* Grid) const;
  void Changed() {}

  // --- virtual operations, in this order
  virtual bool DefaultLocateText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                                 TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                                 TLocateTextMatchingZk Matching,
                                 TLocateTextTreeFindRangeZk TreeFindRange);
  virtual bool DefaultMoveDataRows(TCustomDBGridZk* Grid, TBMListZk* BookmarkList, int ToRecNo,
                                   bool CheckOnly);
  virtual bool LocateText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                          TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                          TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange);
  virtual bool MoveDataRows(TCustomDBGridZk* Grid, TBMListZk* BookmarkList, int ToRecNo,
                            bool CheckOnly);
  virtual void ApplyFilter(TCustomDBGridZk* Grid);
  virtual void ApplySorting(TCustomDBGridZk* Grid);
  virtual void ExecuteFindDialog(TCustomDBGridZk* Grid, const String& Text,
                                 const String& FieldName, bool Modal);
  virtual void IndicatorTitleMouseDown(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                       TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DefaultApplyFilter(TCustomDBGridZk* Grid);
  virtual void DefaultApplySorting(TCustomDBGridZk* Grid);
  virtual void DefaultBuildIndicatorTitleMenu(TCustomDBGridZk* Grid, TPopupMenu*& PopupMenu);
  virtual void DefaultCellMouseClick(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                     TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DefaultIndicatorTitleMouseDown(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                              TMouseButton Button, TShiftState Shift, int X,
                                              int Y);
  virtual TSTFilterDefaultOperatorZk GetSTFilterDefaultOperator(
      TCustomDBGridZk* Grid, TColumnZk* Column, const TSTFilterExpressionZk& Expression);

  void CellMouseClick(TCustomDBGridZk* Grid, const TGridCoord& Cell, TMouseButton Button,
                      TShiftState Shift, int X, int Y);
  void BuildIndicatorTitleMenu(TCustomDBGridZk* Grid, TPopupMenu*& PopupMenu);

  // The menu entries' click handler (a column toggles its visibility, a standard entry acts).
  void MenuItemClick(TObject* Sender);

private:
  bool FFilterEditCloseUpApplyFilter = false;
  TSTFilterDefaultOperatorZk FSTFilterDefaultStringOperator = fdoAuto,
                             FSTFilterDefaultNumberOperator = fdoAuto,
                             FSTFilterDefaultDateTimeOperator = fdoAuto,
                             FSTFilterDefaultBooleanOperator = fdoAuto;
  std::vector<TCustomDBGridZk*> FGrids;
  TDBGridZkStyleIndicatorTitleMenusZk FIndicatorTitleMenus;
  TNotifyEvent FOnApplyFilter, FOnApplySorting;
  TDBGridZkBuildIndicatorTitleMenu FOnBuildIndicatorTitleMenu;
  TGridZkCellMouseEvent FOnCellMouseClick, FOnIndicatorTitleMouseDown;
  TLocateTextEventZk FOnLocateText;
  TDBGridZkFillSTFilterListValuesEvent FOnFillSTFilterListValues;
  bool FPreferEditFormatForNumberFields = false;
  bool FUseExtendedScrollingForMemTable = true;
};

// The shared indicator-title popup menu and its cached items (freed by the unit's end).
void FreeIndicatorTitleMenus();
