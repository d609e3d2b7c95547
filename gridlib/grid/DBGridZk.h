// DBGridZk.h - TCustomDBGridZk / TDBGridZk, the data-aware grid, with its columns, titles,
// footers, settings objects and the data link.
//
// The grid shows the records of a dataset reached through a data source. Grid rows are the
// title rows, then one row per record of the data link's window (BufferCount records, as many
// as fit), then the footer rows as the base grid's contra rows. The vertical scroll bar is the
// grid's own and follows the dataset's RecNo / RecordCount (through the sum list's producer).
// The unit is split by concern:
//   DBGridZk.cpp         the grid: life cycle, option sets, properties, registration
//   DBGridZkColumns.cpp  columns, titles, footers, column defaults, the column collection
//   DBGridZkLayout.cpp   the data link and field map, layout recalculation, rows, scroll bar
//   DBGridZkPaint.cpp    cell classification and painting of titles, indicator, data, footers
//   DBGridZkDetail.cpp   the row detail panel and its control; in-row panel seams
//   DBGridZkModule.cpp   the unit's start and end
//   DBGridZkEdit.cpp     the grid's side of cell editing (TDBGridInplaceEdit is its own unit)
//   DBGridZkSelection.cpp  the selection: records, rectangle, columns, all
//   DBGridZkKeys.cpp     keys and column moves
//   DBGridZkMouse.cpp    clicks, drags, title buttons with sort marking, the wheel
//   DBGridZkSearch.cpp   incremental search, record moving, the indicator menu, edit actions
//   DBGridZkSizing.cpp   sizing hit tests
// The in-row panel, lookup lists and export are left as virtual seams here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gridlib/grid/DBGridZkGrouping.h"
#include "gridlib/grid/DBGridZkHeadTree.h"
#include "gridlib/grid/DBSumLst.h"
#include "gridlib/grid/GridsZk.h"
#include "gridlib/toolkit/BMListZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/MemTableIntfZk.h"
#include "platform/db/DataSource.h"
#include "platform/graphics/ImageList.h"

class TBasicAction;
class TCustomDBGridZk;
class TCustomIniFile;
class TRegIniFile;
class TColumnZk;
class TDBGridInplaceEdit;
class TDBGridZkCenter;
class TPopupMenu;
class TGridDataLinkZk;
class TField;
class TMRUListZk;
class TRowDetailPanelControlZk;
class TScrollBar;
class TDBGridZkDataGroupsZk;
class TDBGridZkDataGroupLevelZk;
// Sender grid, the group node painted, the row text it may change.
using TDBGridZkDataGroupGetGroupRowTextEvent = std::function<void(
    TCustomDBGridZk* Sender, TGroupDataTreeNodeZk* GroupDataTreeNode, String& GroupRowText)>;
// Sender grid, the group node, its key value, the text it may change.
using TDBGridZkDataGroupGetKeyValueAsTextEvent =
    std::function<void(TCustomDBGridZk* Sender, TGroupDataTreeNodeZk* GroupDataTreeNode,
                       const Variant& KeyValue, String& KeyValueAsText)>;
// Sender grid, the column of a group level, the key value it may change.
using TDBGridZkColumnGroupGetKeyValueEvent =
    std::function<void(TCustomDBGridZk* Sender, TColumnZk* Column, Variant& KeyValue)>;
// Where an in-row panel puts a column, in pixels from the master cell's top-left: the whole
// cell (the first-column indent included) and the part that shows data.
struct TColumnZkInRowPanelPlacement {
  int Left = 0, Top = 0, Width = 0, Height = 0, DataCellLeft = 0, DataCellWidth = 0;
};
struct SCROLLINFO;

// --- option sets ----------------------------------------------------------------------------------

VORENTA_ENUM(TDBGridOption, dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize,
             dgColLines, dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete,
             dgCancelOnExit, dgMultiSelect);
VORENTA_SET(TDBGridOptions, TDBGridOption);

VORENTA_ENUM(TDBGridZkOption, dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D,
             dghResizeWholeRightPart, dghHighlightFocus, dghClearSelection, dghFitRowHeightToText,
             dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab, dghTraceColSizing,
             dghIncSearch, dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth,
             dghDialogFind, dghRecordMoving, dghShowRecNo, dghColumnResize, dghColumnMove,
             dghAutoFitRowHeight, dghHotTrack, dghExtendVertLines);
VORENTA_SET(TDBGridZkOptions, TDBGridZkOption);

VORENTA_ENUM(TDBGridZkAllowedOperation, alopInsertZk, alopUpdateZk, alopDeleteZk, alopAppendZk);
VORENTA_SET(TDBGridZkAllowedOperations, TDBGridZkAllowedOperation);

VORENTA_ENUM(TDBGridZkSelectionType, gstRecordBookmarks, gstRectangle, gstColumns, gstAll, gstNon);
VORENTA_ENUM(TDBGridZkAllowedSelection, gstRecordBookmarksAS, gstRectangleAS, gstColumnsAS,
             gstAllAS);
VORENTA_SET(TDBGridZkAllowedSelections, TDBGridZkAllowedSelection);

VORENTA_ENUM(TEditButtonsShowOptionZk, sebShowOnlyForCurCellZk, sebShowOnlyForCurRowZk,
             sebShowOnlyWhenGridActiveZk, sebShowOnlyWhenDataEditingZk);
VORENTA_SET(TEditButtonsShowOptionsZk, TEditButtonsShowOptionZk);

VORENTA_ENUM(TDBGridZkEditAction, geaCutZk, geaCopyZk, geaPasteZk, geaDeleteZk, geaSelectAllZk);
VORENTA_SET(TDBGridZkEditActions, TDBGridZkEditAction);

VORENTA_ENUM(TLocateTextOptionZk, ltoCaseInsensitiveZk, ltoAllFieldsZk, ltoMatchFormatZk,
             ltoIgnoteCurrentPosZk, ltoStopOnEscape);
VORENTA_SET(TLocateTextOptionsZk, TLocateTextOptionZk);
VORENTA_ENUM(TLocateTextDirectionZk, ltdUpZk, ltdDownZk, ltdAllZk);
VORENTA_ENUM(TLocateTextMatchingZk, ltmAnyPartZk, ltmWholeZk, ltmFromBegingZk);
VORENTA_ENUM(TLocateTextTreeFindRangeZk, lttInAllNodesZk, lttInExpandedNodesZk,
             lttInCurrentLevelZk, lttInCurrentNodeZk);

VORENTA_ENUM(TScrollBarVisibleModeZk, sbAlwaysShowZk, sbNeverShowZk, sbAutoShowZk);
VORENTA_ENUM(TFooterValueType, fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText);
VORENTA_ENUM(TSortMarkerZk, smNoneZk, smDownZk, smUpZk);
VORENTA_ENUM(TTextOrientationZk, tohHorizontal, tohVertical);
// What a stored layout restores (DBGridZkStorage.cpp).
VORENTA_ENUM(TColumnZkRestoreParam, crpColIndexZk, crpColWidthsZk, crpSortMarkerZk,
             crpColVisibleZk, crpDropDownRowsZk, crpDropDownWidthZk, crpRowPanelColPlacementZk);
VORENTA_SET(TColumnZkRestoreParams, TColumnZkRestoreParam);
VORENTA_ENUM(TDBGridZkRestoreParam, grpColIndexZk, grpColWidthsZk, grpSortMarkerZk,
             grpColVisibleZk, grpRowHeightZk, grpDropDownRowsZk, grpDropDownWidthZk,
             grpRowPanelColPlacementZk);
VORENTA_SET(TDBGridZkRestoreParams, TDBGridZkRestoreParam);
// What a column shows and edits, from its settings (TColumnZk::GetColumnType).
VORENTA_ENUM(TColumnZkType, ctCommon, ctPickList, ctLookupField, ctKeyPickList, ctKeyImageList,
             ctCheckboxes, ctGraphicData);

enum TDBGridZkState {
  dgsNormal, dgsRowSelecting, dgsColSelecting, dgsRectSelecting, dgsPosTracing, dgsTitleDown,
  dgsColSizing, dgsRowMoving, dgsTitleFilterButtonDown, dgsGroupPanelTitleMoving,
  dgsGroupPanelTitleDown
};

// The kind of a cell, from its place in the grid.
enum TCellAreaTypeZk { catTitle, catIndicator, catData, catFooter, catIndicatorTitle,
                       catIndicatorFooter, catEmpty };

constexpr int DefaultDBGridOptionsValue = 3325;
constexpr int MaxFooterRowCount = 1000;
constexpr int DefaultDBGridZkOptionsValue = 10027105;
TDBGridOptions DefaultDBGridOptions();
TDBGridZkOptions DefaultDBGridZkOptions();

// The paint state of one title cell: DrawTitleAreaCell fills it, DrawTitleByState paints it.
struct TDBGirdDrawTitleStateZk {
  bool Down = false, MultyTitle = false, WordWrap = false, FilterButtonDown = false,
       Highlight = false;
  TTextOrientationZk Orientation = tohHorizontal;
  bool The3DRect = false, DrawByThemes = false;
  String Caption;
  TColor BackColor = clBtnFace;
  bool DrawFilterButton = false, CellMultiSelected = false;
  TSortMarkerZk SortMarker = smNoneZk;
  bool DrawSortIndex = false;
  TFontCharset FontCharset = 0;
  TColor FontColor = clWindowText;
  int FontSize = 0;
  String FontName;
  TFontStyles FontStyle;
};

// --- cell parameters ------------------------------------------------------------------------------

// The parameters of the data cell being painted, changed by OnGetCellParams.
class TColCellParamsZk {
public:
  TColCellParamsZk();
  ~TColCellParamsZk();
  int Row = -1, Col = -1;
  TGridDrawState State;
  TFont* Font() const { return FFont.get(); }
  TColor Background = clWindow;
  TAlignment Alignment = taLeftJustify;
  String Text;
  int ImageIndex = -1;
  bool ReadOnly = false;
  TCheckBoxState CheckboxState = cbUnchecked;

private:
  std::unique_ptr<TFont> FFont;
};

using TGetCellParamsEventZk =
    std::function<void(TObject* Sender, TColumnZk* Column, TFont* AFont, TColor& Background,
                       TGridDrawState State)>;
using TGetColCellParamsEventZk =
    std::function<void(TObject* Sender, bool EditMode, TColCellParamsZk* Params)>;
using TDrawColumnCellEventZk =
    std::function<void(TObject* Sender, const TRect& Rect, int DataCol, TColumnZk* Column,
                       TGridDrawState State)>;
using TDrawDataCellEventZk =
    std::function<void(TObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
using TDBGridZkAdvDrawDataCellEvent =
    std::function<void(TCustomDBGridZk* Sender, int ACol, int ARow, TColumnZk* Column,
                       TGridDrawState State, TColCellParamsZk* Params, bool& Processed)>;
using TGetBtnParamsEventZk =
    std::function<void(TObject* Sender, TColumnZk* Column, TFont* AFont, TColor& Background,
                       TSortMarkerZk& SortMarker, bool IsDown)>;
using TGetFooterParamsEventZk =
    std::function<void(TObject* Sender, int DataCol, int Row, TColumnZk* Column, TFont* AFont,
                       TColor& Background, TAlignment& Alignment, TGridDrawState State,
                       String& Text)>;
using TDrawFooterCellEventZk =
    std::function<void(TObject* Sender, int DataCol, int Row, TColumnZk* Column,
                       const TRect& Rect, TGridDrawState State)>;
using TDBGridZkRowDetailPanelShowEvent = std::function<void(TCustomDBGridZk* Sender, bool& CanShow)>;
using TDBGridZkRowDetailPanelHideEvent = std::function<void(TCustomDBGridZk* Sender, bool& CanHide)>;
using TDBGridZkCheckRowHaveDetailPanelEvent =
    std::function<void(TCustomDBGridZk* Sender, bool& RowHaveDetailPanel)>;
using TDBGridZkColumnMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
// Before a column writes an edited text or value back: may change them and set Handled.
using TColCellUpdateDataEventZk = std::function<void(TObject* Sender, String& Text, Variant& Value,
                                                     bool& UseText, bool& Handled)>;
using TGridMoveRecordsEventZk = std::function<bool(TObject* Sender, TBMListZk* BookmarkList,
                                                   int ToRecNo, int TreeLevel, bool CheckOnly)>;
using TDBGridZkBuildIndicatorTitleMenu =
    std::function<void(TCustomDBGridZk* Grid, TPopupMenu*& PopupMenu)>;
using TDBGridZkTitleBtnClickEvent =
    std::function<void(TObject* Sender, int ACol, TColumnZk* Column)>;
using TDBGridZkCellClickEvent = std::function<void(TColumnZk* Column)>;
class TStrings;
// May fill a column's filter list itself (Processed true skips the default entries).
using TDBGridZkFillSTFilterListValuesEvent = std::function<void(
    TCustomDBGridZk* Sender, TColumnZk* Column, TStrings* Items, bool& Processed)>;
using TDBGridZkCheckButtonEvent =
    std::function<void(TObject* Sender, int ACol, TColumnZk* Column, bool& Enabled)>;

// --- titles ---------------------------------------------------------------------------------------

class TColumnTitleZk : public TPersistent {
  VORENTA_CLASS(TColumnTitleZk, TPersistent)
public:
  explicit TColumnTitleZk(TColumnZk* Column = nullptr);
  ~TColumnTitleZk() override;
  void Assign(TPersistent* Source) override;
  TColumnZk* Column() const { return FColumn; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool IsAlignmentStored() const { return FAssignedAlignment; }
  String Caption() const;
  void SetCaption(const String& Value);
  bool IsCaptionStored() const { return FAssignedCaption; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool IsColorStored() const { return FAssignedColor; }
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool IsFontStored() const { return FAssignedFont; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TTextOrientationZk Orientation() const { return FOrientation; }
  void SetOrientation(TTextOrientationZk Value);
  TSortMarkerZk SortMarker() const { return FSortMarker; }
  void SetSortMarker(TSortMarkerZk Value);
  int SortIndex() const { return FSortIndex; }
  void SetSortIndex(int Value);
  bool TitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
  // The caption without the parents of a multi-title ("A|B" gives "B").
  String LeafCaption() const;
  void RestoreDefaults();

private:
  void Changed();
  TColumnZk* FColumn;
  TAlignment FAlignment = taLeftJustify;
  String FCaption;
  TColor FColor = clBtnFace;
  mutable std::unique_ptr<TFont> FFont;
  String FHint;
  int FImageIndex = -1;
  TTextOrientationZk FOrientation = tohHorizontal;
  TSortMarkerZk FSortMarker = smNoneZk;
  int FSortIndex = 0;
  bool FTitleButton = false;
  bool FEndEllipsis = false;
  bool FToolTips = false;
  bool FAssignedAlignment = false, FAssignedCaption = false, FAssignedColor = false,
       FAssignedFont = false;
};

// --- footers --------------------------------------------------------------------------------------

class TColumnFooterZk : public TCollectionItem {
  VORENTA_CLASS(TColumnFooterZk, TCollectionItem)
public:
  explicit TColumnFooterZk(TCollection* ACollection = nullptr);
  TColumnFooterZk(TColumnZk* Column, std::nullptr_t);
  ~TColumnFooterZk() override;
  void Assign(TPersistent* Source) override;
  TColumnZk* Column() const { return FColumn; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool IsAlignmentStored() const { return FAssignedAlignment; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool IsColorStored() const { return FAssignedColor; }
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool IsFontStored() const { return FAssignedFont; }
  const String& Value() const { return FValue; }
  void SetValue(const String& Value);
  TFooterValueType ValueType() const { return FValueType; }
  void SetValueType(TFooterValueType Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The footer's aggregate in the grid's sum list (nullptr for other value types).
  TDBSum* SumItem() const { return FDBSum; }
  // The field the aggregate reads: the footer's FieldName, else the column's.
  String SumFieldName() const;
  // Creates, changes or drops the sum item after a change of value type or field.
  void UpdateSumItem();

private:
  void Changed();
  TColumnZk* FColumn = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clWindow;
  String FDisplayFormat;
  bool FEndEllipsis = false;
  String FFieldName;
  mutable std::unique_ptr<TFont> FFont;
  String FValue;
  TFooterValueType FValueType = fvtNon;
  bool FWordWrap = false;
  TDBSum* FDBSum = nullptr;
  bool FAssignedAlignment = false, FAssignedColor = false, FAssignedFont = false;
};

// The footers after the first, one per further footer row.
class TColumnFootersZk : public TCollection {
  VORENTA_CLASS(TColumnFootersZk, TCollection)
public:
  explicit TColumnFootersZk(TColumnZk* Column = nullptr);
  TColumnFooterZk* Items(int Index) const {
    return static_cast<TColumnFooterZk*>(TCollection::Items(Index));
  }
  TColumnFooterZk* Add() { return static_cast<TColumnFooterZk*>(TCollection::Add()); }
  TColumnZk* Column() const { return FColumn; }
  TPersistent* GetOwner() const override;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TColumnZk* FColumn;
};

// --- columns --------------------------------------------------------------------------------------

// Frees a column's filter object (its class lives in DBGridZkColumnFilter.h).
VORENTA_ENUM(TDBLookupGridZkOption, dlgColumnResizeZk, dlgColLinesZk, dlgRowLinesZk,
             dlgAutoSortMarkingZk, dlgMultiSortMarkingZk);
VORENTA_SET(TDBLookupGridZkOptions, TDBLookupGridZkOption);

// What the owner of drop-down settings (a column, a lookup combo box) offers them: its drop-down
// lookup grid and that grid's option set. The owner keeps the grid; the settings never free it.
class IDropDownBoxOwnerZk {
public:
  virtual ~IDropDownBoxOwnerZk() = default;
  // Asks for a free notification of AComponent (nothing for nullptr).
  virtual void DropDownBoxFreeNotification(TComponent* AComponent) = 0;
  virtual TCustomDBGridZk* GetDropDownGrid() = 0;
  virtual TDBLookupGridZkOptions GetDropDownGridOptions() = 0;
  virtual void SetDropDownGridOptions(TDBLookupGridZkOptions Value) = 0;
};

class TSpecRowZk;
class TColumnDropDownBoxZk;

// The main button of a column's cell editor: cbsAuto takes it from the field and the lists.
VORENTA_ENUM(TColumnButtonStyleZk, cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown,
             cbsAltUpDown, cbsAltDropDown);

class TSTColumnFilterZk;
struct TSTColumnFilterDeleterZk {
  void operator()(TSTColumnFilterZk* Filter) const;
};

class TColumnZk : public TCollectionItem, public IDropDownBoxOwnerZk {
  VORENTA_CLASS(TColumnZk, TCollectionItem)
public:
  explicit TColumnZk(TCollection* ACollection);
  ~TColumnZk() override;
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

  TCustomDBGridZk* Grid() const;
  TField* Field() const;
  void SetField(TField* Value);

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool IsAlignmentStored() const { return FAssignedAlignment; }
  bool AutoFitColWidth() const { return FAutoFitColWidth; }
  void SetAutoFitColWidth(bool Value);
  bool Checkboxes() const;
  void SetCheckboxes(bool Value);
  bool IsCheckboxesStored() const { return FAssignedCheckboxes; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool IsColorStored() const { return FAssignedColor; }
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value) { FEditMask = Value; }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool IsFontStored() const { return FAssignedFont; }
  TColumnFooterZk* Footer() const { return FFooter.get(); }
  void SetFooter(TColumnFooterZk* Value) { FFooter->Assign(Value); }
  TColumnFootersZk* Footers() const { return FFooters.get(); }
  void SetFooters(TColumnFootersZk* Value) { FFooters->Assign(Value); }
  bool IsFootersStored() const { return FFooters->Count() > 0; }
  bool HideDuplicates() const { return FHideDuplicates; }
  void SetHideDuplicates(bool Value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  bool ReadOnly() const;
  void SetReadOnly(bool Value);
  bool IsReadOnlyStored() const { return FAssignedReadOnly; }
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  TColumnTitleZk* Title() const { return FTitle.get(); }
  void SetTitle(TColumnTitleZk* Value) { FTitle->Assign(Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Width() const;
  void SetWidth(int Value);
  bool IsWidthStored() const { return FAssignedWidth; }
  bool WordWrap() const;
  void SetWordWrap(bool Value);
  bool IsWordWrapStored() const { return FAssignedWordWrap; }
  // More than one line of the column's font fits a row RowHeight pixels high.
  bool CurLineWordWrap(int RowHeight) const;
  // The row height the display text of the record read now needs (DBGridZkRowHeights.cpp).
  int CalcRowHeight();
  int InitWidth() const { return FInitWidth; }
  void SetInitWidth(int Value) { FInitWidth = Value; }
  bool Stored() const { return FStored; }
  void SetStored(bool Value) { FStored = Value; }
  // Rows and width of the cell editor's drop-down list (width 0: the editor's).
  int DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value) { FDropDownRows = Value; }
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value);
  // The texts last written through the cell editor, offered under it while typing when active.
  TMRUListZk* MRUList() const { return FMRUList.get(); }
  void SetMRUList(TMRUListZk* Value);
  // The first line and the line count of the column in the in-row panel.
  int InRowLinePos() const { return FRowLine < 0 ? 0 : FRowLine; }
  void SetInRowLinePos(int Value);
  int InRowLineHeight() const { return FRowLineCount < 1 ? 1 : FRowLineCount; }
  void SetInRowLineHeight(int Value);
  // The placement the in-row panel's last layout gave the column.
  const TColumnZkInRowPanelPlacement& RowPlacement() const { return FRowPlacement; }
  void SetRowPlacement(const TColumnZkInRowPanelPlacement& Value) { FRowPlacement = Value; }
  // A group level over the column asks these for its key value and the key's text.
  const TDBGridZkColumnGroupGetKeyValueEvent& OnGroupGetKeyValue() const {
    return FOnGroupGetKeyValue;
  }
  void SetOnGroupGetKeyValue(TDBGridZkColumnGroupGetKeyValueEvent Value) {
    FOnGroupGetKeyValue = std::move(Value);
  }
  const TDBGridZkDataGroupGetKeyValueAsTextEvent& OnGroupGetKeyValueAsText() const {
    return FOnGroupGetKeyValueAsText;
  }
  void SetOnGroupGetKeyValueAsText(TDBGridZkDataGroupGetKeyValueAsTextEvent Value) {
    FOnGroupGetKeyValueAsText = std::move(Value);
  }
  void DefineProperties(TFiler* Filer) override;
  // Visible, writable and bound to a writable, not calculated field of an active link.
  bool IsTabStop() const;
  // Fits the width to the title, every record's text and the footers (DBGridZkStorage.cpp).
  void OptimizeWidth();

  const TGetColCellParamsEventZk& OnGetCellParams() const { return FOnGetCellParams; }
  void SetOnGetCellParams(TGetColCellParamsEventZk Value) { FOnGetCellParams = std::move(Value); }
  const TDBGridZkAdvDrawDataCellEvent& OnAdvDrawDataCell() const { return FOnAdvDrawDataCell; }
  void SetOnAdvDrawDataCell(TDBGridZkAdvDrawDataCellEvent Value) {
    FOnAdvDrawDataCell = std::move(Value);
  }

  // The footer of footer row Index: Footer for 0, else Footers[Index - 1] (created as needed).
  TColumnFooterZk* UsedFooter(int Index);

  // --- values (DBGridZkValues.cpp)
  // Texts offered for choice; with KeyList the field stores the key and the cell shows the text.
  TStrings* PickList() const;
  void SetPickList(TStrings* Value);
  bool IsPickListStored() const;
  TStrings* KeyList() const;
  void SetKeyList(TStrings* Value);
  bool IsKeyListStored() const;
  // The pick-list entry shown for a key the key list lacks (-1: none).
  int NotInKeyListIndex() const { return FNotInKeyListIndex; }
  void SetNotInKeyListIndex(int Value);
  const TColCellUpdateDataEventZk& OnUpdateData() const { return FOnUpdateData; }
  void SetOnUpdateData(TColCellUpdateDataEventZk Value) { FOnUpdateData = std::move(Value); }
  TColumnZkType GetColumnType() const;
  // The text shown in the cell for the current record.
  String DisplayText() const;
  // The text an editor of the cell starts with.
  String EditText() const;
  // The mask the cell editor uses: the column's, else the field's unless a key list maps texts.
  String GetEditMask() const;
  // Checked, unchecked or grayed from the field (Boolean, number 1, or key-list texts).
  TCheckBoxState CheckboxState() const;
  void SetCheckboxState(TCheckBoxState Value);
  // The image of the cell: the key's (or pick text's) index, a number's value, else
  // NotInKeyListIndex.
  int GetImageIndex() const;
  // --- images and the popup menu (DBGridZkImages.cpp)
  // The cells' images: instead of the text (a key-image column), or left of it with
  // ShowImageAndText. A change of the list repaints the grid; a freed list is forgotten.
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  bool ShowImageAndText() const { return FShowImageAndText; }
  void SetShowImageAndText(bool Value);
  // The menu a right click on the column's cells or title opens (when its AutoPopup is on).
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // Whether the cell may be changed; TryEdit puts the dataset into edit state.
  bool CanModify(bool TryEdit);
  bool CanEditAcceptKey(Char Key) const;
  String GetAcceptableEditText(const String& InputEditText) const;
  // Writes an edited text (UseText) or value back, after OnUpdateData.
  void UpdateDataValues(String Text, Variant Value, bool UseText);
  // Steps the value: 1.0 to the next list entry or up, other steps back or by the step.
  void StepFieldValue(long double Step);
  // Field as text under a display format: numbers by FormatFloat, dates by DateTimeToString.
  static String FormatFieldValue(TField* Field, const String& Format);
  // Whether Text is one of Item's ';'-separated names (case ignored); a trailing ';' also
  // accepts the empty text.
  static bool KeyItemMatches(const String& Item, const String& Text);
  // The width the column takes without a stored one: from the field's display width.
  int DefaultWidth() const;
  void RestoreDefaults();
  // Announces a change of this item to the grid (layout) or of all items.
  void ColumnChanged(bool AllItems) { Changed(AllItems); }
  // The column's filter condition, created on first use (DBGridZkColumnFilter.cpp).
  TSTColumnFilterZk* STFilter() const;
  // Copies the list settings and Visible of Value (the filter's Assign).
  void SetSTFilter(TSTColumnFilterZk* Value);
  // The column's distinct values: from the filter's list source, else from the grid's memory
  // table; nullptr when there is neither. The column filter keeps the list.
  IMemTableDataFieldValueListZk* GetCurrentFieldValueList();
  const TDBGridZkFillSTFilterListValuesEvent& OnFillSTFilterListValues() const;
  void SetOnFillSTFilterListValues(TDBGridZkFillSTFilterListValuesEvent Value);

  // --- edit buttons and the lookup drop-down (DBGridZkColumnButtons.cpp)
  TColumnButtonStyleZk ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TColumnButtonStyleZk Value);
  // Buttons the cell editor shows after its main button (items TVisibleEditButtonZk).
  TEditButtonsZk* EditButtons() const { return FEditButtons.get(); }
  void SetEditButtons(TEditButtonsZk* Value);
  bool IsEditButtonsStored() const;
  // The grid's ColumnDefValues until set.
  bool AlwaysShowEditButton() const;
  void SetAlwaysShowEditButton(bool Value);
  bool IsAlwaysShowEditButtonStored() const { return FAssignedAlwaysShowEditButton; }
  // The grid's ColumnDefValues until set: an empty required field under edit is underlined.
  bool HighlightRequired() const;
  void SetHighlightRequired(bool Value);
  bool IsHighlightRequiredStored() const { return FAssignedHighlightRequired; }
  // Where the text sits in a cell taller than it: the grid's ColumnDefValues until set.
  TTextLayout Layout() const;
  void SetLayout(TTextLayout Value);
  bool IsLayoutStored() const;
  using TCheckDrawRequiredStateEventZk =
      std::function<void(TObject* Sender, const String& Text, bool& DrawState)>;
  const TCheckDrawRequiredStateEventZk& OnCheckDrawRequiredState() const {
    return FOnCheckDrawRequiredState;
  }
  void SetOnCheckDrawRequiredState(TCheckDrawRequiredStateEventZk Value) {
    FOnCheckDrawRequiredState = std::move(Value);
  }
  bool AutoDropDown() const;
  void SetAutoDropDown(bool Value);
  bool IsAutoDropDownStored() const { return FAssignedAutoDropDown; }
  bool DblClickNextVal() const;
  void SetDblClickNextVal(bool Value);
  bool IsDblClickNextValStored() const { return FAssignedDblClickNextVal; }
  bool DropDownShowTitles() const;
  void SetDropDownShowTitles(bool Value);
  bool IsDropDownShowTitlesStored() const { return FAssignedDropDownShowTitles; }
  bool DropDownSizing() const;
  void SetDropDownSizing(bool Value);
  bool IsDropDownSizingStored() const { return FAssignedDropDownSizing; }
  // The step of the up/down buttons and of stepping the value.
  Extended Increment() const { return FIncrement; }
  void SetIncrement(Extended Value) { FIncrement = Value; }
  bool IsIncrementStored() const { return FIncrement != 1.0L; }
  // The special first row of the lookup drop-down.
  TSpecRowZk* DropDownSpecRow() const { return FDropDownSpecRow.get(); }
  void SetDropDownSpecRow(TSpecRowZk* Value);
  TColumnDropDownBoxZk* DropDownBox() const { return FDropDownBox.get(); }
  void SetDropDownBox(TColumnDropDownBoxZk* Value);
  // The lookup drop-down grid (a TPopupDataGridZk named "DataList"), made on first read.
  TCustomDBGridZk* DataList() const;
  const TNotInListEventZk& OnNotInList() const { return FOnNotInList; }
  void SetOnNotInList(TNotInListEventZk Value) { FOnNotInList = std::move(Value); }
  const TButtonClickEventZk& OnEditButtonClick() const { return FOnEditButtonClick; }
  void SetOnEditButtonClick(TButtonClickEventZk Value) { FOnEditButtonClick = std::move(Value); }
  const TButtonDownEventZk& OnEditButtonDown() const { return FOnEditButtonDown; }
  void SetOnEditButtonDown(TButtonDownEventZk Value) { FOnEditButtonDown = std::move(Value); }
  // The drop-down grid's own events, kept in DataList (setting one makes the grid).
  const TDBGridZkCheckButtonEvent& OnDropDownBoxCheckButton() const;
  void SetOnDropDownBoxCheckButton(TDBGridZkCheckButtonEvent Value);
  const TDrawColumnCellEventZk& OnDropDownBoxDrawColumnCell() const;
  void SetOnDropDownBoxDrawColumnCell(TDrawColumnCellEventZk Value);
  const TGetCellParamsEventZk& OnDropDownBoxGetCellParams() const;
  void SetOnDropDownBoxGetCellParams(TGetCellParamsEventZk Value);
  const TNotifyEvent& OnDropDownBoxSortMarkingChanged() const;
  void SetOnDropDownBoxSortMarkingChanged(TNotifyEvent Value);
  const TDBGridZkTitleBtnClickEvent& OnDropDownBoxTitleBtnClick() const;
  void SetOnDropDownBoxTitleBtnClick(TDBGridZkTitleBtnClickEvent Value);
  // The width of the main button (when the column shows one) and of the visible edit buttons.
  int EditButtonsWidth() const;
  // The dataset the lookup drop-down lists: the drop-down box's source, else the field's.
  TDataSet* LookupListDataSet() const;
  // The record's key is in the lookup list (false without an open list).
  bool KeyValueInLookupList() const;
  // Opens the drop-down of the grid's cell editor when it shows this column.
  void DropDown();
  // IDropDownBoxOwnerZk
  void DropDownBoxFreeNotification(TComponent* AComponent) override;
  TCustomDBGridZk* GetDropDownGrid() override { return DataList(); }
  TDBLookupGridZkOptions GetDropDownGridOptions() override;
  void SetDropDownGridOptions(TDBLookupGridZkOptions Value) override;

private:
  void CreateButtonsAndDropDown();
  void AssignButtonsAndDropDown(const TColumnZk* S);
  void CopyDropDownBoxEvents(const TColumnZk* S);
  TField* FField = nullptr;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoFitColWidth = true;
  bool FCheckboxes = false;
  TColor FColor = clWindow;
  String FDisplayFormat;
  String FEditMask;
  bool FEndEllipsis = false;
  String FFieldName;
  mutable std::unique_ptr<TFont> FFont;
  std::unique_ptr<TColumnFooterZk> FFooter;
  std::unique_ptr<TColumnFootersZk> FFooters;
  bool FHideDuplicates = false;
  int FMaxWidth = 0, FMinWidth = 0;
  bool FReadOnly = false;
  int FTag = 0;
  std::unique_ptr<TColumnTitleZk> FTitle;
  bool FVisible = true;
  int FWidth = 64;
  bool FWordWrap = false;
  int FInitWidth = 0;
  bool FStored = true;
  TGetColCellParamsEventZk FOnGetCellParams;
  TDBGridZkAdvDrawDataCellEvent FOnAdvDrawDataCell;
  TColCellUpdateDataEventZk FOnUpdateData;
  mutable std::unique_ptr<TStrings> FPickList, FKeyList;
  int FNotInKeyListIndex = -1;
  mutable std::unique_ptr<TSTColumnFilterZk, TSTColumnFilterDeleterZk> FSTFilter;
  int FDropDownRows = 7, FDropDownWidth = 0;
  std::unique_ptr<TMRUListZk> FMRUList;
  int FRowLine = 0, FRowLineCount = 1;
  TColumnZkInRowPanelPlacement FRowPlacement;
  TCustomImageList* FImageList = nullptr;
  TChangeLink FImageChangeLink;
  bool FShowImageAndText = false;
  TPopupMenu* FPopupMenu = nullptr;
  TDBGridZkColumnGroupGetKeyValueEvent FOnGroupGetKeyValue;
  TDBGridZkDataGroupGetKeyValueAsTextEvent FOnGroupGetKeyValueAsText;
  bool FAssignedAlignment = false, FAssignedCheckboxes = false, FAssignedColor = false,
       FAssignedFont = false, FAssignedReadOnly = false, FAssignedWidth = false,
       FAssignedWordWrap = false;
  TColumnButtonStyleZk FButtonStyle = cbsAuto;
  std::unique_ptr<TEditButtonsZk> FEditButtons;
  bool FAlwaysShowEditButton = false, FAutoDropDown = false, FDblClickNextVal = false,
       FDropDownShowTitles = false, FDropDownSizing = false;
  bool FAssignedAlwaysShowEditButton = false, FAssignedAutoDropDown = false,
       FAssignedDblClickNextVal = false, FAssignedDropDownShowTitles = false,
       FAssignedDropDownSizing = false;
  Extended FIncrement = 1.0L;
  std::unique_ptr<TSpecRowZk> FDropDownSpecRow;
  std::unique_ptr<TColumnDropDownBoxZk> FDropDownBox;
  mutable std::unique_ptr<TCustomDBGridZk> FDataList;
  TNotInListEventZk FOnNotInList;
  TButtonClickEventZk FOnEditButtonClick;
  TButtonDownEventZk FOnEditButtonDown;
  bool FHighlightRequired = false, FAssignedHighlightRequired = false;
  TCheckDrawRequiredStateEventZk FOnCheckDrawRequiredState;
  TTextLayout FLayout = tlTop;
  bool FAssignedLayout = false;
};

class TDBGridColumnZk : public TColumnZk {
  VORENTA_CLASS(TDBGridColumnZk, TColumnZk)
public:
  explicit TDBGridColumnZk(TCollection* ACollection) : TColumnZk(ACollection) {}
};

// The grid's columns. A collection built from the dataset (every column not Stored) is never
// written: the stream property "Columns" is defined only for customised columns.
class TDBGridColumnsZk : public TCollection {
  VORENTA_CLASS(TDBGridColumnsZk, TCollection)
public:
  TDBGridColumnsZk(TCustomDBGridZk* Grid = nullptr, TClass ColumnClass = nullptr);
  TColumnZk* Items(int Index) const { return static_cast<TColumnZk*>(TCollection::Items(Index)); }
  TColumnZk* operator[](int Index) const { return Items(Index); }
  TColumnZk* Add() { return static_cast<TColumnZk*>(TCollection::Add()); }
  TCustomDBGridZk* Grid() const { return FGrid; }
  TPersistent* GetOwner() const override;
  // Whether the columns were built from the dataset (none is stored).
  bool State() const;
  void RebuildColumns();
  void RestoreDefaults();
  void SaveToStream(TStream* S);
  void LoadFromStream(TStream* S);
  // Lays the columns out in the grid's in-row panel (DBGridZkRowPanel.cpp).
  void RelayoutCellsInRowPanel();
  // Scales every column's in-row width by Denominator / Divisor, edges rounded.
  void ScaleWidths(int Divisor, int Denominator);
  // Tab navigation: the next Tab stop by index (ForColumn at either end), the first and last.
  TColumnZk* GetNextTabColumn(TColumnZk* ForColumn, bool GoForward) const;
  // In-row panel navigation over the columns' placements (DBGridZkColumnNavigation.cpp): the
  // next column along ForColumn's line (with TillTheLastCol on to the other lines), the next
  // one up or down overlapping the base column, and the top and bottom ones. Each answers
  // ForColumn when there is none.
  TColumnZk* GetNextHorzColumn(TColumnZk* ForColumn, bool GoForward, bool TillTheLastCol,
                               bool CheckTabStop) const;
  TColumnZk* GetNextVertColumn(TColumnZk* ForColumn, bool GoForward) const;
  TColumnZk* GetTopColumn(TColumnZk* ForColumn) const;
  TColumnZk* GetBottomColumn(TColumnZk* ForColumn) const;
  // The column whose span up and down moves keep to (nullptr: the moving column's own).
  TColumnZk* UpDownBaseColumn() const { return FUpDownBaseColumn; }
  void SetUpDownBaseColumn(TColumnZk* Value) { FUpDownBaseColumn = Value; }
  TColumnZk* GetFirstTabColumn() const;
  TColumnZk* GetLastTabColumn() const;

protected:
  void Update(TCollectionItem* Item) override;
  // With fitted columns a width set by code moves the fitting's proportions.
  void KeepFittedProportions(TColumnZk* Column);

private:
  TColumnZk* FUpDownBaseColumn = nullptr;
  TCustomDBGridZk* FGrid;
};

// A non-owning list of columns.
using TColumnsZkList = std::vector<TColumnZk*>;

// Defaults that columns without their own value follow.
class TColumnDefValuesTitleZk : public TPersistent {
  VORENTA_CLASS(TColumnDefValuesTitleZk, TPersistent)
public:
  explicit TColumnDefValuesTitleZk(TCustomDBGridZk* Grid = nullptr) : FGrid(Grid) {}
  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool IsAlignmentStored() const { return FAssignedAlignment; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool IsColorStored() const { return FAssignedColor; }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value) { FEndEllipsis = Value; }
  bool TitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }

private:
  TCustomDBGridZk* FGrid;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clBtnFace;
  bool FEndEllipsis = false, FTitleButton = false;
  bool FAssignedAlignment = false, FAssignedColor = false;
};

class TColumnDefValuesZk : public TPersistent {
  VORENTA_CLASS(TColumnDefValuesZk, TPersistent)
public:
  explicit TColumnDefValuesZk(TCustomDBGridZk* Grid = nullptr);
  ~TColumnDefValuesZk() override;
  // From other defaults: the switches the columns follow (Layout and the footer stay).
  void Assign(TPersistent* Source) override;
  TColumnDefValuesTitleZk* Title() const { return FTitle.get(); }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
  bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
  void SetAlwaysShowEditButton(bool Value);
  bool AutoDropDown() const { return FAutoDropDown; }
  void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
  bool HighlightRequired() const { return FHighlightRequired; }
  void SetHighlightRequired(bool Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool DblClickNextVal() const { return FDblClickNextVal; }
  void SetDblClickNextVal(bool Value) { FDblClickNextVal = Value; }
  bool DropDownShowTitles() const { return FDropDownShowTitles; }
  void SetDropDownShowTitles(bool Value) { FDropDownShowTitles = Value; }
  bool DropDownSizing() const { return FDropDownSizing; }
  void SetDropDownSizing(bool Value) { FDropDownSizing = Value; }

private:
  TCustomDBGridZk* FGrid;
  std::unique_ptr<TColumnDefValuesTitleZk> FTitle;
  bool FEndEllipsis = false, FToolTips = false;
  bool FAlwaysShowEditButton = false, FAutoDropDown = false, FDblClickNextVal = false,
       FDropDownShowTitles = false, FDropDownSizing = false;
  bool FHighlightRequired = false;
  TTextLayout FLayout = tlTop;
};

class TDBGridZkColumnDefValuesZk : public TColumnDefValuesZk {
  VORENTA_CLASS(TDBGridZkColumnDefValuesZk, TColumnDefValuesZk)
public:
  explicit TDBGridZkColumnDefValuesZk(TCustomDBGridZk* Grid = nullptr)
      : TColumnDefValuesZk(Grid) {}
};

// --- scroll-bar, title, panel and selection settings ---------------------------------------------

// Lets the application change the height measured for the data row being read.
using TGetRowHeightEventZk = std::function<void(TObject* Sender, int& Height)>;

class TDBGridZkScrollBar : public TPersistent {
  VORENTA_CLASS(TDBGridZkScrollBar, TPersistent)
public:
  TDBGridZkScrollBar(TCustomDBGridZk* Grid = nullptr, TScrollBarKind Kind = sbVertical);
  ~TDBGridZkScrollBar() override;
  void Assign(TPersistent* Source) override;
  TScrollBarKind Kind() const { return FKind; }
  bool Tracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  bool Visible() const { return FVisibleMode != sbNeverShowZk; }
  void SetVisible(bool Value);
  TScrollBarVisibleModeZk VisibleMode() const { return FVisibleMode; }
  void SetVisibleMode(TScrollBarVisibleModeZk Value);
  // The external scroll-bar control that mirrors the bar, or nullptr; a bar already serving
  // another grid or settings object raises and leaves the settings unchanged.
  TScrollBar* ExtScrollBar() const { return FExtScrollBar; }
  void SetExtScrollBar(TScrollBar* Value);
  // Scrolling by pixels instead of whole rows or columns.
  bool SmoothStep() const { return FSmoothStep; }
  void SetSmoothStep(bool Value);

protected:
  // The grid's scroll metrics follow a changed SmoothStep.
  virtual void Changed();
  TCustomDBGridZk* FGrid;
  bool FSmoothStep = false;

private:
  TScrollBarKind FKind;
  bool FTracking = false;
  TScrollBarVisibleModeZk FVisibleMode = sbAutoShowZk;
  TScrollBar* FExtScrollBar = nullptr;
};
class THorzDBGridZkScrollBar : public TDBGridZkScrollBar {
  VORENTA_CLASS(THorzDBGridZkScrollBar, TDBGridZkScrollBar)
public:
  explicit THorzDBGridZkScrollBar(TCustomDBGridZk* Grid = nullptr);

protected:
  void Changed() override;
};
class TVertDBGridZkScrollBar : public TDBGridZkScrollBar {
  VORENTA_CLASS(TVertDBGridZkScrollBar, TDBGridZkScrollBar)
public:
  explicit TVertDBGridZkScrollBar(TCustomDBGridZk* Grid = nullptr)
      : TDBGridZkScrollBar(Grid, sbVertical) {}

protected:
  void Changed() override;
};

class TDBGridZkIndicatorTitle : public TPersistent {
  VORENTA_CLASS(TDBGridZkIndicatorTitle, TPersistent)
public:
  explicit TDBGridZkIndicatorTitle(TCustomDBGridZk* Grid = nullptr) : FGrid(Grid) {}
  bool ShowDropDownSign() const { return FShowDropDownSign; }
  void SetShowDropDownSign(bool Value);
  bool TitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }
  // The menu's standard entries come from the policy object (else only DropdownMenu's).
  bool UseGlobalMenu() const { return FUseGlobalMenu; }
  void SetUseGlobalMenu(bool Value) { FUseGlobalMenu = Value; }
  // The user's entries, copied below the standard ones.
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value) { FDropdownMenu = Value; }
  // Drawn pressed while its menu shows.
  bool Down() const { return FDown; }
  void SetDown(bool Value) { FDown = Value; }

private:
  TCustomDBGridZk* FGrid;
  bool FShowDropDownSign = false, FTitleButton = false, FUseGlobalMenu = true, FDown = false;
  TPopupMenu* FDropdownMenu = nullptr;
};

class TRowDetailPanelZk : public TPersistent {
  VORENTA_CLASS(TRowDetailPanelZk, TPersistent)
public:
  explicit TRowDetailPanelZk(TCustomDBGridZk* Grid = nullptr);
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool IsColorStored() const { return !FParentColor; }
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

private:
  void Place();
  TCustomDBGridZk* FGrid;
  bool FActive = false, FVisible = false;
  int FWidth = 0, FHeight = 120;
  TWinControl* FActiveControl = nullptr;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
};

// The child that hosts the row detail panel's controls; streamed as "RowDetailData".
class TRowDetailPanelControlZk : public TScrollingWinControl {
  VORENTA_CLASS(TRowDetailPanelControlZk, TScrollingWinControl)
public:
  explicit TRowDetailPanelControlZk(TComponent* AOwner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

private:
  TBorderStyle FBorderStyle = bsSingle;
};

// The in-row panel settings; the in-row layout itself is built elsewhere.
VORENTA_ENUM(TGridRowPanelNavKeysNavigationTypeZk, rpntRowToRowZk, rpntCellToCellZk);
VORENTA_ENUM(TGridRowPanelTabNavigationTypeZk, rpntUpToDownPriorityZk, rpntLeftToRightPriorityZk);

class TGridRowPanelZk : public TPersistent {
  VORENTA_CLASS(TGridRowPanelZk, TPersistent)
public:
  explicit TGridRowPanelZk(TCustomDBGridZk* Grid = nullptr) : FGrid(Grid) {}
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // What the arrow keys and Tab move to inside the panel.
  TGridRowPanelNavKeysNavigationTypeZk NavKeysNavigationType() const { return FNavKeys; }
  void SetNavKeysNavigationType(TGridRowPanelNavKeysNavigationTypeZk Value) { FNavKeys = Value; }
  TGridRowPanelTabNavigationTypeZk TabNavigationType() const { return FTab; }
  void SetTabNavigationType(TGridRowPanelTabNavigationTypeZk Value) { FTab = Value; }

private:
  TCustomDBGridZk* FGrid;
  bool FActive = false;
  TGridRowPanelNavKeysNavigationTypeZk FNavKeys = rpntRowToRowZk;
  TGridRowPanelTabNavigationTypeZk FTab = rpntUpToDownPriorityZk;
};

// --- selection ------------------------------------------------------------------------------------

class TDBGridZkSelection;

// The selected records: bookmarks in the dataset's order.
class TBookmarkListZk : public TBMListZk {
public:
  explicit TBookmarkListZk(TCustomDBGridZk* Grid) : FGrid(Grid) {}
  ~TBookmarkListZk() override;
  TDataSet* GetDataSet() const override;
  void ListChanged() override;
  void SetCurrentRowSelected(bool Value) override;
  void InvalidateCache() override;
  void UpdateState() override;
  void Clear() override;
  // Grid cells of the first to the last selected record in view; (-1,-1,-1,-1) when none.
  TRect SelectionToGridRect();

private:
  TCustomDBGridZk* FGrid;
};

// A data cell: a column index of Columns and a record (no bookmark: unset).
struct TDBCell {
  int Col = -1;
  TBookmarkRef Row;
};

class TDBGridZkSelectionRect {
public:
  explicit TDBGridZkSelectionRect(TCustomDBGridZk* Grid) : FGrid(Grid) {}
  void Clear();
  // Extends the rectangle to (ACol, ARow); AddSel false (or no anchor) starts it there.
  void Select(int ACol, const TBookmarkRef& ARow, bool AddSel);
  bool DataCellSelected(int DataCol, const TBookmark& DataRow) const;
  TRect SelectionToGridRect() const;
  // The client pixels of the cells between two corners, in view.
  TRect CellRangeRect(int Col1, const TBookmarkRef& Row1, int Col2, const TBookmarkRef& Row2) const;
  TBookmarkRef TopRow() const;
  TBookmarkRef BottomRow() const;
  int LeftCol() const;
  int RightCol() const;
  const TDBCell& Anchor() const { return FAnchor; }
  const TDBCell& ShiftCell() const { return FShiftCell; }

private:
  void CheckUsable(const char16_t* Text) const;
  TDBCell FAnchor;
  TCustomDBGridZk* FGrid;
  TDBCell FShiftCell;
};

class TDBGridZkSelectionCols : public std::vector<TColumnZk*> {
public:
  explicit TDBGridZkSelectionCols(TCustomDBGridZk* Grid) : FGrid(Grid) {}
  virtual ~TDBGridZkSelectionCols() = default;
  virtual void Clear();
  void Select(TColumnZk* ACol, bool AddSel);
  void SelectShift(TColumnZk* ACol);
  void InvertSelect(TColumnZk* ACol);
  void Refresh();
  TRect SelectionToGridRect() const;
  void AddInOrder(TColumnZk* ACol);
  bool Contains(TColumnZk* ACol) const;
  TColumnZk* Anchor() const { return FAnchor; }

private:
  void RemoveColumn(TColumnZk* ACol);
  void RepaintColumn(TColumnZk* ACol);
  TColumnZk* FAnchor = nullptr;
  TCustomDBGridZk* FGrid;
  TColumnZk* FShiftCol = nullptr;
  std::vector<TColumnZk*> FShiftSelectedCols;
};

class TDBGridZkSelection {
public:
  explicit TDBGridZkSelection(TCustomDBGridZk* Grid);
  virtual ~TDBGridZkSelection();
  virtual void SelectionChanged();
  TDBGridZkSelectionType SelectionType() const { return FSelectionType; }
  void SetSelectionType(TDBGridZkSelectionType Value);
  // Stores the type without redrawing the editor (a record selected while another kind was).
  void SetSelectionTypeDirect(TDBGridZkSelectionType Value) { FSelectionType = Value; }
  void Clear();
  void SelectAll();
  void Refresh();
  void UpdateState();
  void LinkActive(bool Value);
  bool DataCellSelected(int DataCol, const TBookmark& DataRow) const;
  TRect SelectionToGridRect() const;
  TDBGridZkSelectionCols* Columns() const { return FColumns.get(); }
  TDBGridZkSelectionRect* Rect() const { return FRect.get(); }
  TBookmarkListZk* Rows() const;
  TCustomDBGridZk* Grid() const { return FGrid; }

private:
  std::unique_ptr<TDBGridZkSelectionCols> FColumns;
  TCustomDBGridZk* FGrid;
  std::unique_ptr<TDBGridZkSelectionRect> FRect;
  TDBGridZkSelectionType FSelectionType = gstRecordBookmarks;
};

// The process-wide paint style: the looks all grids share. Grids register for its changes
// (DBGridZkStyle.cpp) and recalculate their layout when a property changes.
class TDBGridZkStyle : public TPersistent {
  VORENTA_CLASS(TDBGridZkStyle, TPersistent)
public:
  TDBGridZkStyle();
  ~TDBGridZkStyle() override;
  // Lightened selection colours (true-colour displays).
  bool LuminateSelection() const { return FLuminateSelection; }
  void SetLuminateSelection(bool Value);
  // Whether the focused data cell gets a focus rectangle.
  bool IsDrawFocusRect() const { return FIsDrawFocusRect; }
  void SetIsDrawFocusRect(bool Value);
  // The look of the filter buttons in the titles.
  TEditButtonStyleZk InTitleFitlerButtonStyle() const { return FInTitleFitlerButtonStyle; }
  void SetInTitleFitlerButtonStyle(TEditButtonStyleZk Value);
  // Every registered grid recalculates its layout, in the order they registered.
  void Changed();
  void AddChangeNotification(TCustomDBGridZk* Grid);
  void RemoveChangeNotification(TCustomDBGridZk* Grid);
  bool GridInChangeNotification(TCustomDBGridZk* Grid) const;
  // The selection and focus colours of a data cell (DBGridZkDraw.cpp): AColor and the font
  // colour change when the cell is highlighted; answers whether it is. Selected is recomputed
  // from the grid's selection. Hot tracking lightens the cell (or row) under the mouse.
  virtual bool GetDataCellHighlight(TCustomDBGridZk* Grid, int ACol, int ARow, int DataCol,
                                    int DataRow, const String& Value, TGridDrawState AState,
                                    bool Selected, TColor& AColor, TFont* AFont);
  // The colours of a selected title, indicator, filter or footer cell; false when not Selected.
  virtual bool GetFixedCellHighlight(TCustomDBGridZk* Grid, int ACol, int ARow, int AreaCol,
                                     int AreaRow, TCellAreaTypeZk CellArea,
                                     TGridDrawState AState, bool Selected, TColor& AColor,
                                     TFont* AFont);

private:
  std::vector<TCustomDBGridZk*> FGrids;
  bool FLuminateSelection = true;
  bool FIsDrawFocusRect = true;
  TEditButtonStyleZk FInTitleFitlerButtonStyle = ebsDropDownZk;
};

// --- data link ------------------------------------------------------------------------------------

class TGridDataLinkZk : public TDataLink {
public:
  explicit TGridDataLinkZk(TCustomDBGridZk* Grid);
  ~TGridDataLinkZk() override;
  TCustomDBGridZk* Grid() const { return FGrid; }
  // The field map: one entry per column (customized columns) or per visible field of the
  // dataset, holding the field's index in the dataset or -1 for a name that did not resolve.
  int FieldCount() const { return FFieldCount; }
  int FieldMapSize() const { return FFieldMapSize; }
  bool SparseMap() const { return FSparseMap; }
  void SetSparseMap(bool Value) { FSparseMap = Value; }
  TField* Fields(int I) const { return GetMappedField(I); }
  TField* GetMappedField(int Index) const;
  int GetMappedFieldIndex(int Index) const;
  // Appends an entry; past FieldMapLimit entries raises EInvalidGridOperationZk. A sparse map
  // takes a missing name as -1, otherwise the dataset's field-not-found error is raised.
  bool AddMapping(const String& FieldName);
  void ClearMapping();
  void Modified() { FModified = true; }
  bool IsModified() const { return FModified; }
  void Reset();
  // True without a dataset; else the dataset's own, and False when a sparse map has a hole.
  bool DefaultFields() const;
  // The memory-table interface of the dataset, or nullptr.
  IMemTableZk* MemTable() const { return FMemTable; }
  void RefreshMemTable();

protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int Distance) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void EditingChanged() override;
  void UpdateData() override;

private:
  TCustomDBGridZk* FGrid;
  std::vector<int> FFieldMap;   // FFieldMapSize long, FFieldCount in use
  int FFieldCount = 0, FFieldMapSize = 0;
  bool FSparseMap = false;
  bool FModified = false;
  bool FInUpdateData = false;
  IMemTableZk* FMemTable = nullptr;
};

// Frees the grid's filter settings (their class lives in DBGridZkFilterRow.h).
class TSTDBGridZkFilter;
struct TSTDBGridZkFilterDeleterZk {
  void operator()(TSTDBGridZkFilter* Filter) const;
};

// --- the grid -------------------------------------------------------------------------------------

class TCustomDBGridZk : public TCustomGridZk,
                        public IMTViewEventReceiverZk,
                        public IGridDataGroupsHostZk {
  VORENTA_CLASS(TCustomDBGridZk, TCustomGridZk)
public:
  explicit TCustomDBGridZk(TComponent* AOwner);
  ~TCustomDBGridZk() override;

  // --- data
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  TGridDataLinkZk* DataLink() const { return FDataLink.get(); }
  TDataSet* DataSet() const;
  int FieldCount() const { return FDataLink->FieldCount(); }
  TField* SelectedField() const;
  int SelectedIndex() const;

  // --- columns
  TDBGridColumnsZk* Columns() const { return FColumns.get(); }
  void SetColumns(TDBGridColumnsZk* Value) { FColumns->Assign(Value); }
  const TColumnsZkList& VisibleColumns() const { return FVisibleColumns; }
  const TColumnsZkList& SortMarkedColumns() const { return FSortMarkedColumns; }
  TColumnDefValuesZk* ColumnDefValues() const { return FColumnDefValues.get(); }
  void SetColumnDefValues(TColumnDefValuesZk* Value) { FColumnDefValues->Assign(Value); }
  // The column bound to a field of that name; raises when there is none.
  TColumnZk* ColumnByFieldName(const String& FieldName) const;
  // The first column bound to a field of that name, or nullptr.
  TColumnZk* FindColumnByName(const String& FieldName) const;
  // The first visible column's extra width (the group indent, 18 pixels per active group
  // level while grouping works): recomputed by ExtraFirstColumnWidth; the base grid's width of
  // that column includes it, the column's own Width does not.
  int ExtraFirstColumnWidth();
  int AddExtraWidth(TColumnZk* Column, int Width) const;
  int SubExtraWidth(TColumnZk* Column, int Width) const;
  // The multi-title header tree ("Root") and one leaf entry per column, rebuilt by every layout
  // while multi-titles are in use.
  THeadTreeNode* HeadTree() const { return FHeadTree.get(); }
  TLeafColsZk& LeafFieldArr() { return FLeafFieldArr; }
  THeadTreeNode* LeafNodeOf(TColumnZk* Column) const;
  // A visible column's width in the header tree: its width in the grid, group indent included.
  int HeadTreeLeafWidth(TColumnZk* Column) const;
  int GridColToColumnIndex(int ACol) const { return ACol - FIndicatorOffset; }
  int ColumnIndexToGridCol(int Index) const { return Index + FIndicatorOffset; }
  // The visible column painted in grid column ACol, or nullptr.
  TColumnZk* ColumnAtGridCol(int ACol) const;

  // --- option sets and look
  TDBGridOptions Options() const { return FOptions; }
  void SetOptions(TDBGridOptions Value);
  TDBGridZkOptions OptionsZk() const { return FOptionsZk; }
  void SetOptionsZk(TDBGridZkOptions Value);
  void SyncColumnResizeOptions(TDBGridOptions NewOptions, TDBGridZkOptions NewOptionsZk);
  TDBGridZkAllowedOperations AllowedOperations() const { return FAllowedOperations; }
  void SetAllowedOperations(TDBGridZkAllowedOperations Value) { FAllowedOperations = Value; }
  TDBGridZkAllowedSelections AllowedSelections() const { return FAllowedSelections; }
  void SetAllowedSelections(TDBGridZkAllowedSelections Value);
  bool AutoFitColWidths() const { return FAutoFitColWidths; }
  void SetAutoFitColWidths(bool Value);
  int MinAutoFitWidth() const { return FMinAutoFitWidth; }
  void SetMinAutoFitWidth(int Value);
  TColor EvenRowColor() const { return FEvenRowColorSet ? FEvenRowColor : Color(); }
  void SetEvenRowColor(TColor Value);
  bool IsEvenRowColorStored() const { return FEvenRowColorSet; }
  TColor OddRowColor() const { return FOddRowColorSet ? FOddRowColor : Color(); }
  void SetOddRowColor(TColor Value);
  bool IsOddRowColorStored() const { return FOddRowColorSet; }
  TColor FooterColor() const { return FFooterColor; }
  void SetFooterColor(TColor Value);
  TFont* FooterFont() const { return FFooterFont.get(); }
  void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }
  // With ParentFont the title and footer fonts follow the parent's font; with ParentColor the
  // footer colour follows the grid's (DBGridZkStorage.cpp).
  void ParentFontChanged() override;
  void ParentColorChanged() override;
  int FooterRowCount() const { return FFooterRowCount; }
  void SetFooterRowCount(int Value);
  int FrozenCols() const { return FFrozenCols; }
  void SetFrozenCols(int Value);
  TFont* TitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
  int TitleHeight() const { return FTitleHeight; }
  void SetTitleHeight(int Value);
  int TitleLines() const { return FTitleLines; }
  void SetTitleLines(int Value);
  // Images the titles show by their ImageIndex (DBGridZkImages.cpp); a change of the list
  // repaints the grid, a freed list is forgotten.
  TCustomImageList* TitleImages() const { return FTitleImages; }
  void SetTitleImages(TCustomImageList* Value);
  // A right click's WM_CONTEXTMENU over a column with its own menu: shows it (true).
  bool ShowColumnPopupMenu(TMessage& Message);
  void ColumnMenuFreed(TComponent* AComponent);
  bool UseMultiTitle() const { return FUseMultiTitle; }
  void SetUseMultiTitle(bool Value);
  int VTitleMargin() const { return FVTitleMargin; }
  void SetVTitleMargin(int Value);
  int RowHeight() const { return FNewRowHeight; }
  void SetRowHeight(int Value);
  using TCustomGridZk::RowHeight;
  using TCustomGridZk::SetRowHeight;
  int RowLines() const { return FRowLines; }
  void SetRowLines(int Value);
  // The space a row adds to its text lines.
  int Interlinear() const { return FInterlinear; }
  bool RowSizingAllowed() const { return FRowSizingAllowed; }
  void SetRowSizingAllowed(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool SortLocal() const { return FSortLocal; }
  void SetSortLocal(bool Value) { FSortLocal = Value; }
  bool DrawMemoText() const { return FDrawMemoText; }
  void SetDrawMemoText(bool Value);
  bool DrawGraphicData() const { return FDrawGraphicData; }
  void SetDrawGraphicData(bool Value);
  // When cells of columns with AlwaysShowEditButton paint their buttons.
  TEditButtonsShowOptionsZk EditButtonsShowOptions() const { return FEditButtonsShowOptions; }
  void SetEditButtonsShowOptions(TEditButtonsShowOptionsZk Value);
  // Whether a cell of the column in the current row or not paints the column's edit buttons.
  bool EditButtonsVisibleInCell(TColumnZk* Column, bool CurrentRow);
  // The size of one edit button in a cell: the editor's default button width and the height
  // of its buttons in a data row.
  int InplaceEditorButtonWidth() const;
  int InplaceEditorButtonHeight() const;
  // Paints the column's edit buttons at the right end of R and takes their width off R
  // (DBGridZkCellButtons.cpp).
  void PaintCellEditButtons(TColumnZk* Column, TRect& R, TGridDrawState State, bool CurrentRow);
  // Which edit button of the column lies under the point of the data cell Cell (client
  // coordinates): 0 the main button, i the edit button i - 1, -1 none.
  int EditButtonAtPos(TColumnZk* Column, const TRect& Cell, TPoint P) const;
  // Hands a press on the cell's button strip to the editor's button under it.
  void PassPressToEditorButton(int X, int Y);
  void DblClickStep(TGridCoord K, TGridState SizingState, TShiftState Shift);
  bool DefaultDrawingZk() const { return FDefaultDrawingZk; }
  void SetDefaultDrawingZk(bool Value) { FDefaultDrawingZk = Value; }
  bool TryUseMemTableInt() const { return FTryUseMemTableInt; }
  void SetTryUseMemTableInt(bool Value);
  int ContraColCountZk() const { return ContraColCount(); }
  void SetContraColCountZk(int Value);

  // --- cell decorations (DBGridZkDraw.cpp)
  // A button of Style in ButtonRect clipped to CellRect; Transparency in percent (0, 30, 80)
  // blends it over the cell filled with AColor. Glyph is drawn by ebsGlyphZk.
  void DrawCellButton(TColumnZk* Column, TCanvas* ACanvas, TEditButtonStyleZk Style,
                      TRect ButtonRect, TRect CellRect, bool Pressed, bool Hot, bool AFlat,
                      bool Enabled, TColor AColor, TBitmap* Glyph, int Transparency);
  // Raised (sunken when Pressed or Selected) inner edges on the sides asked for.
  void DrawCell3DFrame(TCanvas* ACanvas, TRect ARect, bool Pressed, bool Selected,
                       bool DrawLeftTop, bool DrawRightBottom);
  // The themed, gradient (flat grid with themes) or plain background of a cell.
  void FillCellBackground(bool Themed, TRect ARect, bool Pressed, bool Selected, TRect ClipRect,
                          bool Is3D);
  bool FixedCellsThemed() const;
  // Writes Text as WriteTextToCell does (DBGridZkDraw.cpp); one-line texts show tabs and line
  // breaks as spaces. Column may be nullptr.
  void WriteCellText(TColumnZk* Column, TCanvas* ACanvas, TRect ARect, bool FillBackground,
                     int DX, int DY, const String& Text, TAlignment Alignment,
                     TTextLayout Layout, bool WordWrap, bool EndEllipsis, int LeftMargin,
                     int RightMargin);

  // --- settings objects
  TDBGridZkSumList* SumList() const { return FSumList.get(); }
  void SetSumList(TDBGridZkSumList* Value) { FSumList->Assign(Value); }
  TDBGridZkScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  void SetHorzScrollBar(TDBGridZkScrollBar* Value) { FHorzScrollBar->Assign(Value); }
  TDBGridZkScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
  void SetVertScrollBar(TDBGridZkScrollBar* Value) { FVertScrollBar->Assign(Value); }
  TDBGridZkIndicatorTitle* IndicatorTitle() const { return FIndicatorTitle.get(); }
  void SetIndicatorTitle(TDBGridZkIndicatorTitle* Value) { FIndicatorTitle->Assign(Value); }
  TRowDetailPanelZk* RowDetailPanel() const { return FRowDetailPanel.get(); }
  void SetRowDetailPanel(TRowDetailPanelZk* Value) { FRowDetailPanel->Assign(Value); }
  TRowDetailPanelControlZk* RowDetailPanelControl() const { return FRowDetailControl; }
  TGridRowPanelZk* RowPanel() const { return FGridRowPanel.get(); }
  void SetRowPanel(TGridRowPanelZk* Value) { FGridRowPanel->Assign(Value); }
  TDBGridZkSelection* Selection() const { return FSelection.get(); }
  TBookmarkListZk* SelectedRows() const { return FBookmarks.get(); }
  TDBGridZkStyle* Style() const { return FStyle; }
  // Moves the grid to Value's change notifications; nullptr takes the process's style.
  void SetStyle(TDBGridZkStyle* Value);
  TDBGridZkCenter* Center() const { return FCenter; }
  // Through the setter the grid is listed with the policy object (nullptr leaves it).
  void SetCenter(TDBGridZkCenter* Value);
  TDBGridZkEditActions EditActions() const { return FEditActions; }
  void SetEditActions(TDBGridZkEditActions Value) { FEditActions = Value; }

  // --- editing (DBGridZkEdit.cpp)
  // The grid may change records at all: link active, updating allowed (or inserting), and
  // records present or insertable.
  bool CanEditInGrid();
  // May the current cell change now; puts the dataset into edit state.
  bool CanEditModifyField();
  bool FieldIsEditable(TField* Field) const;
  bool ColumnEditable(int Index);
  // Writes the editor's text (or key value) into the current field.
  void UpdateData();
  // The key of a typed lookup text the list lacks, after the column's OnNotInList (Null when
  // it is still missing).
  Variant NotInListLookupKey(TColumnZk* Column, const String& Text);
  void InvalidateEditor();
  void ShowCellEditor();
  void HideCellEditor();
  const String& EditText() const { return FEditText; }
  const Variant& EditKeyValue() const { return FEditKeyValue; }
  // The red dotted underline in R of an empty required field of the current record while it
  // is edited, as the column's OnCheckDrawRequiredState decides last.
  void DrawRequiredState(TColumnZk* Column, const String& Text, const TRect& R, bool CurrentRow);
  TDBGridInplaceEdit* DBInplaceEdit() const;

  // --- selection and moving (DBGridZkSelection.cpp, DBGridZkKeys.cpp)
  bool SelectionTypeAllowed(TDBGridZkSelectionType AType) const;
  void ClearSelection();
  void ClearSelectionIfOption();
  void MoveWithSelection(bool Select, int Distance, bool ToEnd, bool RowSel);
  void StartTrackTimer(int Interval);
  void StopTrackTimer();
  void MoveCol(int DataCol, int Direction, bool Select);
  void NextRow(bool Select);
  void PriorRow(bool Select);
  void TabToColumn(bool GoForward);
  bool InRowCellToCellNavigation() const;
  void MoveInRowPanelVertically(bool Down);
  void SetValueFromPrevRecord();
  TDBGridZkState GridState() const { return FDBGridZkState; }
  void InvalidateGridRow(int ARow) { InvalidateRowCells(ARow); }
  void InvalidateGridCol(int ACol) { InvalidateColumnCells(ACol); }
  int FindBufferRow(const TBookmark& B) const;

  // --- search, record moving, indicator menu, actions (DBGridZkSearch.cpp)
  bool InplaceSearching() const { return FInplaceSearching; }
  const String& InplaceSearchText() const { return FInplaceSearchText; }
  void StartInplaceSearch(const String& ss, int TimeOut, TLocateTextDirectionZk Direction);
  void StopInplaceSearch();
  void ShowFindDialog(const String& Text, const String& ColumnFieldName, bool Modal);

  // --- filters and the filter row (DBGridZkFilterRow.cpp)
  TSTDBGridZkFilter* STFilter() const;
  void SetSTFilter(TSTDBGridZkFilter* Value);
  const TNotifyEvent& OnApplyFilter() const;
  const TDBGridZkFillSTFilterListValuesEvent& OnFillSTFilterListValues() const;
  void SetOnFillSTFilterListValues(TDBGridZkFillSTFilterListValuesEvent Value);
  void SetOnApplyFilter(TNotifyEvent Value);
  // Stores a visible filter editor's text, then OnApplyFilter (else the policy object).
  void ApplyFilter();
  void ApplyFilterRow();
  // Leaves the filter row and clears every column's condition; applies nothing.
  void ClearFilter();
  bool IsFilterRowCell(int ACol, int ARow) const;
  bool ColumnHasFilterCell(int Index) const;
  String FilterCellText(int Index) const;
  void EnterFilterCell(int Index);
  void PlaceFilterEditor(bool Refresh);
  void CloseFilterCellEditor();
  void LeaveFilterRow();
  // Moves the filter editing one column on (or to the first / last filter cell).
  void StepFilterColumn(bool Forward, bool ToEdge);
  bool CheckCopyAction();
  bool CheckPasteAction();
  bool CheckCutAction();
  bool CheckSelectAllAction();
  bool CheckDeleteAction();
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;
  void IndicatorTitleMouseDown(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift,
                               int X, int Y);
  void BuildIndicatorTitleMenu(TPopupMenu*& PopupMenu);
  void SetSortMarkedColumns();

  // --- layout storage and width fitting (DBGridZkStorage.cpp)
  // Without a section the registry's section is StorageSectionName(this), erased first; an ini
  // object's section is erased only when asked.
  void SaveColumnsLayout(TRegIniFile* ARegIni);
  void SaveColumnsLayout(TCustomIniFile* ACustIni, const String& Section);
  void SaveColumnsLayoutIni(const String& IniFileName, const String& Section, bool DeleteSection);
  void RestoreColumnsLayout(TRegIniFile* ARegIni, TColumnZkRestoreParams RestoreParams);
  void RestoreColumnsLayout(TCustomIniFile* ACustIni, const String& Section,
                            TColumnZkRestoreParams RestoreParams);
  void RestoreColumnsLayoutIni(const String& IniFileName, const String& Section,
                               TColumnZkRestoreParams RestoreParams);
  void SaveGridLayout(TRegIniFile* ARegIni);
  void SaveGridLayout(TCustomIniFile* ACustIni, const String& Section);
  void SaveGridLayoutIni(const String& IniFileName, const String& Section, bool DeleteSection);
  void RestoreGridLayout(TRegIniFile* ARegIni, TDBGridZkRestoreParams RestoreParams);
  void RestoreGridLayout(TCustomIniFile* ACustIni, const String& Section,
                         TDBGridZkRestoreParams RestoreParams);
  void RestoreGridLayoutIni(const String& IniFileName, const String& Section,
                            TDBGridZkRestoreParams RestoreParams);
  // Widens or narrows the columns to their titles, every record's cell text and their footers.
  void FitColumnsToContents(const TColumnsZkList& Columns);
  // A double click on Column's sizing edge: fits the selected columns (or all) and Column.
  void FitColumnsAfterSizingClick(TColumnZk* Column);

  // --- rows and layout
  int IndicatorOffset() const { return FIndicatorOffset; }
  int TitleOffset() const { return FTitleOffset; }
  int TopDataOffset() const { return FTitleOffset; }
  int StdDefaultRowHeight() const { return FStdDefaultRowHeight; }
  int TitleRowHeight() const { return FTitleRowHeight; }
  bool IndicatorShown() const;
  void BeginLayout();
  void EndLayout();
  void BeginUpdate();
  void EndUpdate();
  int LayoutLock() const { return FLayoutLock; }
  // How many recalculations ran, and view events arrived (for tests).
  int LayoutCount() const { return FLayoutCount; }
  int ViewEventCount() const { return FViewEventCount; }
  // Posts one deferred recalculation to the grid's window unless one is queued.
  void DeferLayoutChanged();
  int MoveBy(int Distance);
  // The data row (0-based) of the current record, -1 without records.
  int CurrentDataRow() const;
  int VisibleDataRowCount() const;
  void InvalidateCol(int ACol) { InvalidateColumnCells(ACol); }
  void InvalidateRow(int ARow) { InvalidateRowCells(ARow); }
  void InvalidateCell(int ACol, int ARow) { InvalidateOneCell(ACol, ARow); }
  void InvalidateFooter();
  // Makes DataRow's record the one the fields show, runs Fn, and restores the active record.
  void ForDataRow(int DataRow, const std::function<void()>& Fn);
  // The background of a data row that is not selected: striping by record number.
  TColor RowColor(int RecNo) const;
  // The text of footer row FooterNo of a column.
  String GetFooterText(TColumnZk* Column, int FooterNo);
  TCellAreaTypeZk GetCellType(int ACol, int ARow) const;
  // The number of records, or -1 when the dataset cannot number them.
  int RecordCountZk() const;
  // The 1-based number of the current record, or -1.
  int RecNoZk() const;
  // The record number a data row shows; 0 while the link is inactive.
  int DataRowToRecNo(int DataRow);
  // Keep the screen position across a dataset operation: the current record returns to the
  // same row (DBGridZkScroll.cpp). A record gone meanwhile leaves the cursor where it is.
  void SaveBookmark();
  void RestoreBookmark();
  // Whether the data row above (Previous) or below shows Text in Column, as painting would show
  // it; false when that row is not there to see.
  bool SameTextAsNeighbour(TColumnZk* Column, int DataRow, const String& Text, bool Previous);
  bool IsSequencedZk() const;
  // Places the row detail control over the current row's panel area (hidden otherwise).
  void PlaceRowDetailControl();
  bool RowDetailPanelShown() const;
  // The data row that carries the detail panel, -1 when none.
  int RowDetailDataRow() const;

  // --- events
  const TGetCellParamsEventZk& OnGetCellParams() const { return FOnGetCellParams; }
  void SetOnGetCellParams(TGetCellParamsEventZk Value) { FOnGetCellParams = std::move(Value); }
  const TDrawColumnCellEventZk& OnDrawColumnCell() const { return FOnDrawColumnCell; }
  void SetOnDrawColumnCell(TDrawColumnCellEventZk Value) { FOnDrawColumnCell = std::move(Value); }
  const TDrawDataCellEventZk& OnDrawDataCell() const { return FOnDrawDataCell; }
  void SetOnDrawDataCell(TDrawDataCellEventZk Value) { FOnDrawDataCell = std::move(Value); }
  const TDBGridZkAdvDrawDataCellEvent& OnAdvDrawDataCell() const { return FOnAdvDrawDataCell; }
  void SetOnAdvDrawDataCell(TDBGridZkAdvDrawDataCellEvent Value) {
    FOnAdvDrawDataCell = std::move(Value);
  }
  const TGetFooterParamsEventZk& OnGetFooterParams() const { return FOnGetFooterParams; }
  void SetOnGetFooterParams(TGetFooterParamsEventZk Value) { FOnGetFooterParams = std::move(Value); }
  const TGetBtnParamsEventZk& OnGetBtnParams() const { return FOnGetBtnParams; }
  void SetOnGetBtnParams(TGetBtnParamsEventZk Value) { FOnGetBtnParams = std::move(Value); }
  // A data row is high enough for a second line of the grid's font: word-wrapping footers wrap
  // only then.
  bool AllowWordWrap();
  const TDrawFooterCellEventZk& OnDrawFooterCell() const { return FOnDrawFooterCell; }
  void SetOnDrawFooterCell(TDrawFooterCellEventZk Value) { FOnDrawFooterCell = std::move(Value); }
  // The grid's own painting of a footer, a column's data cell or a field's value, for
  // OnDrawFooterCell, OnDrawColumnCell and OnDrawDataCell handlers to call (DBGridZkPaint.cpp).
  void DefaultDrawFooterCell(const TRect& Rect, int DataCol, int Row, TColumnZk* Column,
                             TGridDrawState State);
  void DefaultDrawColumnCell(const TRect& Rect, int DataCol, TColumnZk* Column,
                             TGridDrawState State);
  void DefaultDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
  const TDBGridZkRowDetailPanelShowEvent& OnRowDetailPanelShow() const { return FOnRowDetailPanelShow; }
  void SetOnRowDetailPanelShow(TDBGridZkRowDetailPanelShowEvent Value) {
    FOnRowDetailPanelShow = std::move(Value);
  }
  const TDBGridZkRowDetailPanelHideEvent& OnRowDetailPanelHide() const { return FOnRowDetailPanelHide; }
  void SetOnRowDetailPanelHide(TDBGridZkRowDetailPanelHideEvent Value) {
    FOnRowDetailPanelHide = std::move(Value);
  }
  const TDBGridZkCheckRowHaveDetailPanelEvent& OnCheckRowHaveDetailPanel() const {
    return FOnCheckRowHaveDetailPanel;
  }
  void SetOnCheckRowHaveDetailPanel(TDBGridZkCheckRowHaveDetailPanelEvent Value) {
    FOnCheckRowHaveDetailPanel = std::move(Value);
  }
  const TNotifyEvent& OnColEnter() const { return FOnColEnter; }
  void SetOnColEnter(TNotifyEvent Value) { FOnColEnter = std::move(Value); }
  const TNotifyEvent& OnColExit() const { return FOnColExit; }
  void SetOnColExit(TNotifyEvent Value) { FOnColExit = std::move(Value); }
  const TDBGridZkColumnMovedEvent& OnColumnMoved() const { return FOnColumnMoved; }
  void SetOnColumnMoved(TDBGridZkColumnMovedEvent Value) { FOnColumnMoved = std::move(Value); }
  // Raised after the user sized a column, once its width reached the columns.
  const TNotifyEvent& OnColWidthsChanged() const { return FOnColWidthsChanged; }
  void SetOnColWidthsChanged(TNotifyEvent Value) { FOnColWidthsChanged = std::move(Value); }
  const TNotifyEvent& OnSumListRecalcAll() const { return FOnSumListRecalcAll; }
  void SetOnSumListRecalcAll(TNotifyEvent Value) { FOnSumListRecalcAll = std::move(Value); }
  const TNotifyEvent& OnSumListAfterRecalcAll() const { return FOnSumListAfterRecalcAll; }
  void SetOnSumListAfterRecalcAll(TNotifyEvent Value) { FOnSumListAfterRecalcAll = std::move(Value); }
  const TNotifyEvent& OnTitleClick() const { return FOnTitleClick; }
  void SetOnTitleClick(TNotifyEvent Value) { FOnTitleClick = std::move(Value); }
  const TNotifyEvent& OnTopLeftChanged() const { return FOnTopLeftChanged; }
  const TGetRowHeightEventZk& OnGetRowHeight() const { return FOnGetRowHeight; }
  void SetOnGetRowHeight(TGetRowHeightEventZk Value) { FOnGetRowHeight = std::move(Value); }
  void SetOnTopLeftChanged(TNotifyEvent Value) { FOnTopLeftChanged = std::move(Value); }
  const TNotifyEvent& OnSortMarkingChanged() const { return FOnSortMarkingChanged; }
  void SetOnSortMarkingChanged(TNotifyEvent Value) { FOnSortMarkingChanged = std::move(Value); }
  const TNotifyEvent& OnSelectionChanged() const { return FOnSelectionChanged; }
  void SetOnSelectionChanged(TNotifyEvent Value) { FOnSelectionChanged = std::move(Value); }
  const TNotifyEvent& OnEditButtonClick() const { return FOnEditButtonClick; }
  void SetOnEditButtonClick(TNotifyEvent Value) { FOnEditButtonClick = std::move(Value); }
  const TGridMoveRecordsEventZk& OnMoveRecords() const { return FOnMoveRecords; }
  void SetOnMoveRecords(TGridMoveRecordsEventZk Value) { FOnMoveRecords = std::move(Value); }
  const TGridZkCellMouseEvent& OnIndicatorTitleMouseDown() const {
    return FOnIndicatorTitleMouseDown;
  }
  void SetOnIndicatorTitleMouseDown(TGridZkCellMouseEvent Value) {
    FOnIndicatorTitleMouseDown = std::move(Value);
  }
  const TDBGridZkBuildIndicatorTitleMenu& OnBuildIndicatorTitleMenu() const {
    return FOnBuildIndicatorTitleMenu;
  }
  void SetOnBuildIndicatorTitleMenu(TDBGridZkBuildIndicatorTitleMenu Value) {
    FOnBuildIndicatorTitleMenu = std::move(Value);
  }
  const TDBGridZkTitleBtnClickEvent& OnTitleBtnClick() const { return FOnTitleBtnClick; }
  void SetOnTitleBtnClick(TDBGridZkTitleBtnClickEvent Value) { FOnTitleBtnClick = std::move(Value); }
  const TDBGridZkCellClickEvent& OnCellClick() const { return FOnCellClick; }
  void SetOnCellClick(TDBGridZkCellClickEvent Value) { FOnCellClick = std::move(Value); }
  const TDBGridZkCheckButtonEvent& OnCheckButton() const { return FOnCheckButton; }
  void SetOnCheckButton(TDBGridZkCheckButtonEvent Value) { FOnCheckButton = std::move(Value); }

  // Base-grid counts the layout computes: never written to a form.
  bool NeverStored() const { return false; }

  // IMTViewEventReceiverZk
  void MTViewDataEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) override;

  void Dispatch(TMessage& Message) override;
  void DefineProperties(TFiler* Filer) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void ReadState(TReader* Reader) override;

  // --- virtual operations of the data grid, in this order ------------------------------------------
  virtual bool AcquireFocus();
  virtual bool CanStartDataRowMove();
  virtual void RowMoveTreeLevelAt(int& Left, int& Level);
  virtual int DataRowHeight(int DataRow);
  // The height the record read now needs (DBGridZkRowHeights.cpp).
  virtual int CalcRowHeight();
  virtual bool FocusedRowSelect();
  virtual bool AlwaysShowEditor();
  virtual bool CanShowFilterEditor();
  virtual bool CellDrawn3D(int ACol, int ARow, TGridDrawState State);
  virtual bool IsCellSelected(int ACol, int ARow, TGridDrawState State);
  virtual bool CellTreeElementClick(int X, int Y, bool CheckOnly);
  virtual bool StartDataRowMove(int X, int Y, bool CheckOnly);
  virtual TColumnDefValuesZk* CreateColumnDefValues();
  virtual TDBGridColumnsZk* CreateColumns();
  virtual void CreateFilterEditor();
  virtual TDBGridZkScrollBar* CreateScrollBar(TScrollBarKind Kind);
  virtual bool ConfirmDeleteRecords();
  virtual bool CellDrawnThemed(int ACol, int ARow);
  virtual int FilterRowCount();
  virtual int TitleRowCount();
  // The selection colours of a title, indicator, filter or footer cell (the style's answer);
  // true when the cell is highlighted.
  virtual bool SelectedFixedCellColor(int ACol, int ARow, int AreaCol, int AreaRow,
                                      TCellAreaTypeZk CellArea, TGridDrawState AState,
                                      bool Selected, TColor& AColor, TFont* AFont);
  virtual bool IndicatorColVisible();
  virtual bool GridActive();
  virtual bool MoveDataRows(TBMListZk* BookmarkList, int ToDataRow, bool CheckOnly, int TreeLevel);
  virtual bool MoveSelectedRecords(int ToDataRow, int TreeLevel, bool CheckOnly);
  virtual bool NeedBufferedPaint();
  virtual void CellClick(TColumnZk* Column);
  virtual void CheckTitleButton(int ACol, bool& Enabled);
  virtual void ColEnter();
  virtual void ColExit();
  virtual void DataChanged();
  virtual void BuildFieldMap();
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  virtual void SortMarkingChanged();
  virtual void TitleBtnClick(int ACol, TColumnZk* Column);
  virtual void DrawFlatBorder();
  virtual void DrawTitleAreaCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawTitleByState(TColumnZk* Column, TRect ARect, TGridDrawState AState,
                                TDBGirdDrawTitleStateZk& State);
  virtual void DrawIndicatorCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawDataCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawFooterCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawGroupDataRow(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawGroupIndent(int AreaRow, int Level, TRect ARect);
  // The tree outline of the row being read, drawn at the left of ARect.
  virtual void DrawDataTreeElements(int AreaCol, int AreaRow, TGridDrawState AState, TRect ARect,
                                    bool Is3D);
  virtual void DoDrawColumnCell(const TRect& Rect, int DataCol, TColumnZk* Column,
                                TGridDrawState State);
  virtual void DoDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
  virtual void DrawGroupPanelTitle(TGridDataGroupLevelZk* Level);
  virtual void UpdateGroupRowCount();
  virtual void DrawFilterCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void DrawIndicatorGlyph(int ACol, int ARow, TRect ARect, int XOffset, int YOffset,
                                  int Kind);
  virtual void DrawDropDownSign(int ACol, int ARow, TRect ARect, bool Highlighted);
  // The small funnel of a filtered column, centred in ARect (white when Highlighted).
  virtual void DrawFilterSign(TRect ARect, bool Highlighted);
  virtual void DrawGraphicDataCell(TRect ARect, TColumnZk* Column);
  virtual void EditButtonClick();
  virtual void EndDataRowMove(int X, int Y, bool Accept);
  virtual void DoGetCellParams(TColumnZk* Column, TFont* AFont, TColor& Background,
                               TGridDrawState State);
  virtual void GetDataSetFields(std::vector<TField*>& List);
  virtual void DoGetFooterParams(int DataCol, int Row, TColumnZk* Column, TFont* AFont,
                                 TColor& Background, TAlignment& Alignment, TGridDrawState State,
                                 String& Text);
  virtual void LayoutChanged();
  virtual void LinkActive(bool Value);
  virtual void GroupNodeMouseDown();
  virtual void GroupPanelMouseDown(int X, int Y);
  virtual void TrackDataRowMove(int Y);
  virtual void Scroll(int Distance);
  virtual void SelectionActiveChanged();
  virtual void UpdateColWidths();
  virtual void FilterEditorToFilter();
  virtual void StartRowPanelColumnDragAt(TShiftState Shift, int X, int DataCol, int Y);
  virtual void StartRowPanelColumnDrag(TShiftState Shift, int X, const TRect& CellRect,
                                       int DataCol, int Y);
  virtual void StartGroupPanelTitleMove(int X);
  virtual void TrackRowPanelColumnDrag(TShiftState Shift, int X, int Y);
  virtual void EndRowPanelColumnDrag(bool Accept);
  virtual void TrackSelection();
  virtual void TitleClick(TColumnZk* Column);
  virtual void SyncCurrentRow();
  virtual void FilterToFilterEditor();
  virtual void UpdateHorzExtScrollBar();
  virtual void UpdateRowCount();
  virtual void UpdateScrollBar();
  virtual void UpdateDataRowHeight(int DataRow);
  virtual void PaintRowPanelTitle(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void PaintRowPanelData(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void PaintRowPanelFooter(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void PaintRowDetailExpander(TRect ARect, bool Expanded);
  virtual bool RowDetailExpanderAtMouse(int X, int Y);
  virtual bool InRowDetailExpander(int ACol, int ARow, int X, int Y);
  virtual void CreateNew(TComponent* AOwner, int Dummy);
  virtual bool DefaultMoveDataRows(TBMListZk* BookmarkList, int ToRecNo, int TreeLevel,
                                   bool CheckOnly);
  virtual String GetFooterValue(int FooterNo, TColumnZk* Column);
  // The selection colours of a data cell through the style object; true when highlighted.
  virtual bool HighlightDataCellColor(int DataCol, int DataRow, const String& Value,
                                      TGridDrawState AState, TColor& AColor, TFont* AFont);
  virtual bool HighlightGroupDataCellColor(int DataCol, int DataRow, const String& Value,
                                           TGridDrawState AState, TColor& AColor, TFont* AFont);
  virtual int InRowPanelLineHeight();
  virtual bool IsFindDialogShowAsModal();
  virtual bool IsUseMultiTitle();
  virtual bool LocateText(TCustomDBGridZk* AGrid, const String& FieldName, const String& Text,
                          TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                          TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange);
  virtual void DefaultApplyFilter();
  virtual void DefaultApplySorting();
  virtual void DefaultBuildIndicatorTitleMenu(TPopupMenu*& PopupMenu);
  virtual void DefaultIndicatorTitleMouseDown(const TGridCoord& Cell, TMouseButton Button,
                                              TShiftState Shift, int X, int Y);
  virtual void UpdateAllGridDataRowHeights();
  virtual void UpdateAllDataRowHeights();
  // A sized column's new width reaches the rows that fit their contents.
  void ColWidthsReachRowHeights();

  // --- base grid operations the data grid takes over
  void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  // With dghHotTrack every cell tracks the mouse; else only the titles' in-title filter row.
  bool CanHotTrackCell(int ACol, int ARow) override;
  // With dghHotTrack and row highlight (or whole-row selection) the old and new hot rows are
  // repainted as the mouse changes rows.
  void UpdateHotTrackCell(int X, int Y) override;
  // The edit button under the mouse in the hot cell (0 the main one, then 1 + the index of an
  // added one; -1 none), and whether the mouse is over the group part of a multi-level title.
  int HotTrackEditButton() const { return FHotTrackEditButton; }
  bool HotTrackMultiTitleOver() const { return FHotTrackMultiTitleOver; }
  void UpdateHotTrackParts(int X, int Y, bool SameCell);
  bool EditorMayShow() override;
  void TopLeftChanged() override;
  // The scrolled row that a view starting at row Top shows cut by the bottom edge; -1 when the
  // last row in view ends within the edge.
  int RowCutAtBottom(int Top);
  bool HorzSmoothScroll() override;
  bool VertSmoothScroll() override;
  // In the in-row panel the editor covers the current column's data cell.
  TRect EditorCellRect(int ACol, int ARow) override;
  // Scrolls the in-row panel sideways until the column's data cell is in view.
  void ScrollToInRowColumn(int Index);
  bool CellMayBeCurrent(int ACol, int ARow) override;
  void GoToCell(int ACol, int ARow, bool MoveAnchor) override;
  void ColumnWidthsChanged() override;
  void ClampSizedColumns();
  bool TakeSizedWidths();
  void ResizeWholeRightPart(int Index, int NewWidth);
  int ScaledInitWidth(TColumnZk* Column, int NewWidth) const;
  void FitColumnWidths();
  void RowHeightsUpdated() override;
  void AfterColumnMove(int FromIndex, int ToIndex) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  bool EditorAcceptsChar(Char Key) override;
  bool EditorMayModify() override;
  int EditorTextLimit() override;
  String CellEditMask(int ACol, int ARow) override;
  String CellEditText(int ACol, int ARow) override;
  void TakeEditText(int ACol, int ARow, const String& Value) override;
  TInplaceEdit* MakeEditor() override;
  void FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                      int& SizingOfs, TGridMetrics& Metrics) override;
  void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift,
                             int X, int Y) override;
  void CancelMode() override;

  // --- rows of a memory table's view (DBGridZkMemTable.cpp)
  // The link holds the dataset's IMemTableZk.
  bool UsesMemTable() const;
  // Every view row is a grid row (a memory table without grouping).
  bool UsesMemTableRows() const;
  // The rows the data comes from: view rows, group rows, or the link's buffer.
  int SourceRowCount() const;
  bool IsCurrentDataRow(int DataRow) const;
  // Memory table with the policy object's extended scrolling: the bar spans the whole view.
  bool ExtendedScrolling() const;
  // The top row limited to the data rows and to the largest top row that still fills the
  // grid; moves there unless CheckOnly. Answers the limited row.
  int SafeMoveTop(int ATop, bool CheckOnly);
  void ClampTopRow();
  // Asks the table for as many records as the empty part of the client area needs.
  void FetchVisibleRecords();
  // The current row follows the table's current view row.
  void MemTableScroll(int Distance);
  // The data row shown at the top, and the last data row wholly visible.
  int TopDataRow() const;
  int LastVisibleDataRow() const;
  // The data rows [From, To) that may be read for the visible area: the link's buffer, or
  // the view rows from the top row to the first row out of sight.
  void ReadableDataRows(int& From, int& To) const;
  void UpdateExtendedVertScrollBar();
  // The memory table shows its records as a tree (DBGridZkMemTableTree.cpp).
  bool MemTableTreeShown() const;
  // The width of the outline before the first column's text for the row being read.
  int GetCellTreeElmentsAreaWidth();
  void DrawTreeLines(TCanvas* Canvas, const TRect& R, bool RowLine, bool LinesOnly);
  // Numpad *, + and - on a tree: the current node toggles, expands or collapses.
  bool TreeNodeKeyDown(Word Key);

  // --- row grouping (DBGridZkGroupView.cpp)
  TDBGridZkDataGroupsZk* DataGrouping() const { return FDataGrouping.get(); }
  void SetDataGrouping(TDBGridZkDataGroupsZk* Value);
  // Grouping is on over a memory table, with an active link and at least one active level.
  bool GroupingWorks() const;
  TGroupDataTreeNodeZk* CurGroupDataNode() const { return FCurGroupDataNode; }
  const TDBGridZkDataGroupGetGroupRowTextEvent& OnDataGroupGetRowText() const {
    return FOnDataGroupGetRowText;
  }
  void SetOnDataGroupGetRowText(TDBGridZkDataGroupGetGroupRowTextEvent Value) {
    FOnDataGroupGetRowText = std::move(Value);
  }
  const TNotifyEvent& OnActiveGroupingStructChanged() const {
    return FOnActiveGroupingStructChanged;
  }
  void SetOnActiveGroupingStructChanged(TNotifyEvent Value) {
    FOnActiveGroupingStructChanged = std::move(Value);
  }
  void LayoutGroupPanelTitles();
  void GroupPanelChanged();
  // The insertion index among the active levels for a drop at X; MarkerPos gets the marker.
  int GroupPanelDropPosition(int X, TPoint& MarkerPos);
  void GroupPanelTitleMoving(int X, int Y);
  // Ends a drag in the group panel; with Drop a dragged column becomes a level at the drop
  // index (the column is hidden) and a dragged level moves there.
  void EndGroupPanelTitleMove(int X, int Y, bool Drop);
  void GroupPanelTitleMouseUp(int X, int Y);
  // Lights the group panel box under (X, Y), none outside the panel.
  void GroupPanelHotTrack(int X, int Y);
  int GroupRowHeight(TGroupDataTreeNodeZk* Node);
  TGroupDataTreeNodeZk* GroupNodeOfDataRow(int DataRow) const;
  void SelectGroupNode(TGroupDataTreeNodeZk* Node, bool ShowCell);
  void SelectNearestVisibleGroupNode(TGroupDataTreeNodeZk* Node, bool ShowCell);
  void SyncGroupNodeToRecord(int ViewRecNo, bool ShowCell);
  void SyncDataSetToGroupNode();
  int MoveByGroupRows(int Distance);
  // A key pressed on a group row: Left/Right collapse/expand or scroll, * + - toggle.
  void GroupRowKeyDown(Word& Key, TShiftState Shift);
  // Inserts a record; under grouping it takes the current group's key values.
  void DataInsert();
  void DataAppend();
  // The grid's side of the grouping engine.
  IMemTableZk* GroupingMemTable() override;
  TDataSet* GroupingDataSet() override;
  bool GroupingLinkActive() override;
  TField* GroupingColumnField(TPersistent* Column) override;
  TColor GroupingGridColor() override;
  TFont* GroupingGridFont() override;
  void GroupingInvalidate() override;
  void GroupingFlatListChanged() override;
  void GroupingInvalidateRow(int FlatIndex) override;
  int GroupingGroupRowHeight(TGroupDataTreeNodeZk* Node) override;
  int GroupingDataRowHeight() override;
  void GroupingUpdateAllRowHeights() override;
  void GroupingPanelChanged() override;
  // A memory table's view event under grouping: the tree follows the changed row.
  void GroupingViewDataEvent(int RowNum, TMTViewEventTypeZk Event);
  // A press on a row under grouping: the row becomes current, a group's button toggles it.
  void GroupRowMouseDown(const TGridCoord& Cell, int X);
  // The vertical bar over the visible rows under grouping: range, page and position; and its
  // scroll codes.
  void GroupScrollInfo(SCROLLINFO& SI);
  void GroupVScroll(unsigned Code, int TrackPos);

  // --- in-row panel (DBGridZkRowPanel.cpp)
  int GridMasterCellWidth() const { return FGridMasterCellWidth; }
  int GridMasterCellHeight() const { return FGridMasterCellHeight; }
  // Places every column on its lines and sizes the master cell.
  void RelayoutCellsInRowPanel();
  // Renumbers the columns by placement: left, then top, invisible before visible.
  void OrderColumnsByRowPanel();
  // The column whose title-type (or data) rectangle holds a point of the master cell.
  TColumnZk* GetColumnInRowPanelAtPos(TPoint InCellPos, bool IsTitleTypeCell);
  TColumnZk* GetCellRectInRowPanelAtPos(TPoint InCellPos, TRect& ACellRect, bool IncludeLines);
  // A width sized to SizingPos snaps to another column's right edge less than 4 pixels away.
  int SnapRowPanelWidth(TColumnZk* Column, int NewWidth, int SizingPos);
  // A sizing edge of an in-row title under (X, Y): a column's right edge or its bottom line.
  bool RowPanelSizingStateAt(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                             int& SizingOfs);
  // Widens a column up to the next column on its lines, or to the panel's width.
  void RowPanelFitColWidth(int Index);
  // Ends an in-row sizing: the column's lines or width (snapped unless Ctrl; columns sharing
  // the edge follow unless Shift).
  void RowPanelTitleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // Presses in the in-row panel (DBGridZkRowPanelMouse.cpp): on a title (sizing edges, title
  // buttons, in-title filter buttons) and on a data cell (the column and row become current).
  void RowPanelTitleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void RowPanelDataMouseDown(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift,
                             int X, int Y);
  // A title press moved more than 3 pixels becomes a column drag inside the panel.
  bool RowPanelDragStarts(int X, int Y);
  // The highest-indexed column whose placement ends at or before Index's right end.
  int LastColumnInSpan(int Index);
  // A column's title-type rectangle in the in-row panel on grid row ARow, in client coordinates.
  TRect RowPanelTitleClientRect(TColumnZk* Column, int ARow = 0);
  // The part of that rectangle that shows the column's data (after the first-column indent).
  TRect RowPanelDataClientRect(TColumnZk* Column, int ARow);
  // The master cell of grid row ARow in client coordinates, whole even when scrolled partly
  // out of view (the placements are offsets from its origin); empty when the row is not shown.
  TRect RowPanelCellRect(int ARow);
  // The in-row column under a client point: by title-type or by data rectangles.
  TColumnZk* RowPanelColumnAt(int X, int Y, bool IsTitleTypeCell);
  // Whether a client point lies on the edit buttons of Column's data cell in the in-row panel.
  bool OnRowPanelEditButtons(TColumnZk* Column, int X, int Y);
  // The column whose title is held pressed (in the in-row panel by its index).
  TColumnZk* PressedTitleColumn() const;
  TRect PressedTitleRect();
  void RowPanelDataMouseUp(TShiftState Shift, int X, int Y);
  int ToMoveColumnIndex() const { return FToMoveColumnIndex; }
  int ToMoveInRowLinePos() const { return FToMoveInRowLinePos; }

protected:
  void Loaded() override;
  // Form scaling: fonts of their own scale, column widths scale without adding up rounding.
  void ChangeScale(int M, int D) override;
  void CreateWnd() override;
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoExit() override;
  // WM_CHAR and the two timers (1: selection and record-move tracking, 2: search time-out).
  void WMCharZk(TMessage& Message);
  bool WMTimerZk(TMessage& Message);
  void KeyDownCtrl(Word& Key, TShiftState Shift);
  void KeyDownPlain(Word& Key, TShiftState Shift);
  bool KeyDownShortcut(Word Key, TShiftState Shift);
  void RestartSearchTimer();
  void StopSearchTimer();
  void DeleteSelectionOrRecord();
  void TitleMouseDown(const TGridCoord& K, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DataMouseDown(const TGridCoord& K, TMouseButton Button, TShiftState Shift, int X, int Y);
  void TrackButton(int X, int Y);
  void StopTracking();
  bool TitleClickCounts(int X, int Y) const;
  void ShowRowMoveLine();

  void WMVScrollZk(TMessage& Message);
  void ExtendedVertScroll(unsigned Code, int TrackPos);
  void UpdateMemTableRowCount();
  void MemTableViewEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum);
  void SetRowCountKeepCurrent(int Value);
  // Makes the table's current view row the current grid row (the anchor moves too).
  void MoveToMemTableCurrentRow();
  // The wheel over a memory table with extended scrolling; false when not handled here.
  bool MemTableWheel(bool Down, TShiftState Shift, TPoint MousePos);
  int MaxTopRow() const;
  // The window's own bars: the vertical one is the base grid's while a memory table scrolls
  // by pixels (DBGridZkScroll.cpp).
  void UpdateScrollStyle();
  void SmoothStepChanged(TScrollBarKind Kind);
  void WMSizeZk(TMessage& Message);
  void WMSetCursorZk(TMessage& Message);
  TCursor SelectionCursorAt(int X, int Y);
  void InternalLayout();
  void ApplyBaseOptions();
  void BuildVisibleColumns();
  void DefaultColumnsFromDataSet();
  void CalcRowHeights();
  int CalcIndicatorColWidth();
  void DrawCellText(const TRect& R, const String& Text, TAlignment Alignment, bool Ellipsis);
  void DrawSortMarker(TRect& R, TSortMarkerZk Marker, int Index);
  bool FixedCellInSelection(int ACol, int ARow);
  void DrawIndicatorDataRow(int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Themed,
                            bool& Highlight);
  void PaintDataCellValue(TColumnZk* Col, TRect R, int ACol, int ARow, TColCellParamsZk* P);
  void PaintOverDuplicateLines(TColumnZk* Col, const TRect& Cell, bool Above, bool Below);
  bool FocusRectWanted(TGridDrawState State);
  void DrawCheckbox(const TRect& R, TCheckBoxState State);
  void DrawEdges(const TRect& R, bool Raised);
  void DrawTitleHostCells(THeadTreeNode* Node, TRect R, const TRect& Cell);
  // Lays out the children of Node (heights from their wrapped captions); their height.
  int HeadTreeHeight(THeadTreeNode* Node, TCanvas* Canvas);
  int BuildHeadTree();

  // --- state
  std::unique_ptr<TGridRowPanelZk> FGridRowPanel;
  std::unique_ptr<THeadTreeNode> FHeadTree = std::make_unique<THeadTreeNode>(u"Root", 10, 0);
  TLeafColsZk FLeafFieldArr;
  std::unique_ptr<TColumnDefValuesZk> FColumnDefValues;
  std::unique_ptr<TDBGridColumnsZk> FColumns;
  TColumnsZkList FVisibleColumns;
  std::unique_ptr<TGridDataLinkZk> FDataLink;
  std::unique_ptr<TFont> FTitleFont;
  TCustomImageList* FTitleImages = nullptr;
  TChangeLink FTitleImageChangeLink;
  std::unique_ptr<TDBGridZkSumList> FSumList;
  std::unique_ptr<TDBGridZkScrollBar> FHorzScrollBar, FVertScrollBar;
  TColumnsZkList FSortMarkedColumns;
  std::unique_ptr<TDBGridZkSelection> FSelection;
  std::unique_ptr<TFont> FFooterFont;
  std::unique_ptr<TColCellParamsZk> FColCellParamsZk;
  std::unique_ptr<TDBGridZkIndicatorTitle> FIndicatorTitle;
  std::unique_ptr<TRowDetailPanelZk> FRowDetailPanel;
  TRowDetailPanelControlZk* FRowDetailControl = nullptr;
  TDBGridZkStyle* FStyle = nullptr;
  TDBGridZkCenter* FCenter = nullptr;
  std::unique_ptr<TBookmarkListZk> FBookmarks;
  TDBGridZkEditActions FEditActions;

  // editing
  String FEditText;
  Variant FEditKeyValue;
  bool FInColExit = false;
  bool FLockAutoShowCurCell = false;
  // selection and mouse
  bool FSelecting = false, FAntiSelection = false, FSelectionAnchorSelected = false;
  TBookmarkRef FSelectionAnchor;
  bool FIndicatorPressed = false, FDataTracking = false, FTracking = false, FPressed = false;
  bool FSwapButtons = false, FSortMarking = false, FTimerActive = false;
  int FTimerInterval = -1;
  int FPressedCol = -1, FPressedDataCol = -1;
  TGridCoord FPressedCell{-1, -1};
  TPoint FDownMousePos, FMoveMousePos;
  TShiftState FMouseShift, FStartShiftState;
  TDBGridZkState FDBGridZkState = dgsNormal;
  // search
  bool FInplaceSearching = false, FInplaceSearchTimerActive = false;
  // The typed search is moving the cursor itself: record changes do not end it.
  bool FInplaceSearchLocating = false;
  TBookmark FLockedBookmark;
  int FLookedOffset = 0;
  String FInplaceSearchText;
  int FInplaceSearchTimeOut = -1;
  String FCompleteKeyPress;
  // record moving
  int FMoveRowSour = -1, FMoveRowDest = -1;
  TBookmarkRef FMoveBookmarkSour;

  int FLayoutLock = 0, FUpdateLock = 0;
  bool FLayoutPending = false;
  // A column width changed while the rows could not be measured again: the next row count
  // update measures them.
  bool FColWidthsChanged = false;
  int FLayoutCount = 0;
  int FViewEventCount = 0;
  int FIndicatorOffset = 1;
  int FTitleOffset = 1;
  int FStdDefaultRowHeight = 0;
  int FTitleRowHeight = 0;
  int FNewRowHeight = 0, FRowLines = 0;
  int FInterlinear = 4;
  int FVTitleMargin = 10, FHTitleMargin = 0;
  int FTitleHeight = 0, FTitleLines = 0;
  int FRecNoTextWidth = 0;
  int FFooterRowCount = 0;
  int FFrozenCols = 0;
  int FMinAutoFitWidth = 0;
  bool FAutoFitColWidths = false;
  bool FUseMultiTitle = false;
  bool FRowSizingAllowed = false;
  bool FReadOnly = false;
  bool FSortLocal = false;
  bool FDrawMemoText = false, FDrawGraphicData = false;
  TEditButtonsShowOptionsZk FEditButtonsShowOptions;
  bool FDefaultDrawingZk = true;
  bool FTryUseMemTableInt = true;
  mutable std::unique_ptr<TSTDBGridZkFilter, TSTDBGridZkFilterDeleterZk> FSTFilter;
  bool FUpdatingRows = false;
  bool FThumbTracked = false;
  bool FFetchingRecords = false;
  TGetRowHeightEventZk FOnGetRowHeight;
  TColor FEvenRowColor = clWindow, FOddRowColor = clWindow;
  bool FEvenRowColorSet = false, FOddRowColorSet = false;
  TColor FFooterColor = clWindow;
  TDBGridOptions FOptions;
  TDBGridZkOptions FOptionsZk;
  TDBGridZkAllowedOperations FAllowedOperations;
  TDBGridZkAllowedSelections FAllowedSelections;
  int FOldActiveRecord = -1;

  TGetCellParamsEventZk FOnGetCellParams;
  TDrawColumnCellEventZk FOnDrawColumnCell;
  TDrawDataCellEventZk FOnDrawDataCell;
  TDBGridZkAdvDrawDataCellEvent FOnAdvDrawDataCell;
  TGetFooterParamsEventZk FOnGetFooterParams;
  TGetBtnParamsEventZk FOnGetBtnParams;
  int FHotTrackEditButton = -1;
  bool FHotTrackMultiTitleOver = false;
  // In the in-row panel: the collection index of the column under the mouse in the hot master
  // cell (-1 for none); only that column's part of the cell is painted hot.
  int FHotTrackInRowCol = -1;
  // The top-left cell after the last scroll, and whether the first scrolled column was in view.
  TGridCoord FOldTopLeft{-1, -1};
  bool FTopLeftVisible = true;
  TDrawFooterCellEventZk FOnDrawFooterCell;
  TDBGridZkRowDetailPanelShowEvent FOnRowDetailPanelShow;
  TDBGridZkRowDetailPanelHideEvent FOnRowDetailPanelHide;
  TDBGridZkCheckRowHaveDetailPanelEvent FOnCheckRowHaveDetailPanel;
  TNotifyEvent FOnColEnter, FOnColExit, FOnSumListRecalcAll, FOnSumListAfterRecalcAll,
      FOnTitleClick, FOnTopLeftChanged, FOnColWidthsChanged;
  TDBGridZkColumnMovedEvent FOnColumnMoved;
  TNotifyEvent FOnSortMarkingChanged, FOnSelectionChanged, FOnEditButtonClick;
  TGridMoveRecordsEventZk FOnMoveRecords;
  TGridZkCellMouseEvent FOnIndicatorTitleMouseDown;
  TDBGridZkBuildIndicatorTitleMenu FOnBuildIndicatorTitleMenu;
  TDBGridZkTitleBtnClickEvent FOnTitleBtnClick;
  TDBGridZkCellClickEvent FOnCellClick;
  TDBGridZkCheckButtonEvent FOnCheckButton;

  // row grouping
  std::unique_ptr<TDBGridZkDataGroupsZk> FDataGrouping;
  TGroupDataTreeNodeZk* FDrawGroupDataNode = nullptr;
  TGroupDataTreeNodeZk* FCurGroupDataNode = nullptr;
  TDBGridZkDataGroupGetGroupRowTextEvent FOnDataGroupGetRowText;
  TNotifyEvent FOnActiveGroupingStructChanged;
  int FPressedDataGroupLevelIdx = -1, FGroupDataMovingIndex = -1;
  int FExtraFirstColumnWidth = 0;
  bool FInternalUpdatingDatasetPos = false;
  void DrawGroupPanel(const TRect& ARect);
  void DrawGroupedDataCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  void PaintDataCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState,
                            TColumnZk* Col);
  void DrawOutBoundaryArea(TGridCellBorderTypeZk Side, const TRect& ARect) override;
  void GetCellBorder(int ACol, int ARow, TGridCellBorderTypeZk Border, bool& Draw,
                     TColor& Color, bool& ExtendBorder) override;

  // in-row panel
  int FGridMasterCellWidth = 0, FGridMasterCellHeight = 0;
  int FToMoveColumnIndex = -1, FToMoveInRowLinePos = 0;
  TRect FDragCellRect{};
  TPoint FTopLeftCellOffset{};
  void ScrollRowPanelDrag(int Direction);
  void ShowRowPanelMoveMarker();
  void PrepareRowPanelLayout();
  void ApplyRowPanelColWidths();
  bool PaintRowPanelCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  TGridDrawState RowPanelCellState(TColumnZk* Column, int ARow, TGridDrawState AState);

private:
  friend class TGridDataLinkZk;
  friend class TDBGridInplaceEdit;
  friend class TBookmarkListZk;
  friend class TDBGridZkSelection;
  friend class TDBGridZkStyle;
  friend class TRowDetailPanelZk;
  friend class TDBGridZkScrollBar;
  friend class THorzDBGridZkScrollBar;
  friend class TVertDBGridZkScrollBar;
  void ReadColumns(TReader* Reader);
  void WriteColumns(TWriter* Writer);
  void TitleFontChanged(TObject* Sender);
  void FooterFontChanged(TObject* Sender);
  bool FSelfChangingFonts = false;
};

class TDBGridZk : public TCustomDBGridZk {
  VORENTA_CLASS(TDBGridZk, TCustomDBGridZk)
public:
  explicit TDBGridZk(TComponent* AOwner) : TCustomDBGridZk(AOwner) {}
};

// --- lookup drop-down settings (DBGridZkDropDownBox.cpp) -----------------------------------------

class TSpecRowZk;

// The settings of a lookup drop-down. Columns, column defaults, options and SortLocal live in
// the owner's drop-down grid and are reached through IDropDownBoxOwnerZk.
class TColumnDropDownBoxZk : public TPersistent {
  VORENTA_CLASS(TColumnDropDownBoxZk, TPersistent)
public:
  explicit TColumnDropDownBoxZk(TPersistent* Owner = nullptr);
  ~TColumnDropDownBoxZk() override;
  void Assign(TPersistent* Source) override;

  TDropDownAlign Align() const { return FAlign; }
  void SetAlign(TDropDownAlign Value) { FAlign = Value; }
  bool AutoDrop() const { return FAutoDrop; }
  void SetAutoDrop(bool Value) { FAutoDrop = Value; }
  bool AutoFitColWidths() const { return FAutoFitColWidths; }
  void SetAutoFitColWidths(bool Value) { FAutoFitColWidths = Value; }
  TDBGridColumnsZk* Columns() const;
  void SetColumns(TDBGridColumnsZk* Value);
  bool IsColumnsStored() const;
  TColumnDefValuesZk* ColumnDefValues() const;
  void SetColumnDefValues(TColumnDefValuesZk* Value);
  TDataSource* ListSource() const { return FListSource; }
  void SetListSource(TDataSource* Value);
  TDBLookupGridZkOptions Options() const;
  void SetOptions(TDBLookupGridZkOptions Value);
  int Rows() const { return FRows; }
  void SetRows(int Value) { FRows = Value; }
  bool ShowTitles() const { return FShowTitles; }
  void SetShowTitles(bool Value) { FShowTitles = Value; }
  bool Sizable() const { return FSizable; }
  void SetSizable(bool Value) { FSizable = Value; }
  bool SortLocal() const;
  void SetSortLocal(bool Value);
  TSpecRowZk* SpecRow() const { return FSpecRow.get(); }
  void SetSpecRow(TSpecRowZk* Value);
  bool UseMultiTitle() const { return FUseMultiTitle; }
  void SetUseMultiTitle(bool Value) { FUseMultiTitle = Value; }
  // -1: the columns' widths; 0 or below: the owner's width.
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  TPersistent* GetOwner() const override { return FOwner; }
  // Copies the settings this object keeps itself (not those of the owner's drop-down grid).
  void AssignOwnSettings(const TColumnDropDownBoxZk* Other);

protected:
  IDropDownBoxOwnerZk* OwnerIntf() const { return dynamic_cast<IDropDownBoxOwnerZk*>(FOwner); }
  TCustomDBGridZk* OwnerGrid() const;

private:
  TDropDownAlign FAlign = daLeft;
  bool FAutoDrop = false;
  bool FAutoFitColWidths = true;
  TDataSource* FListSource = nullptr;
  TPersistent* FOwner;
  int FRows = 0;
  bool FShowTitles = false;
  bool FSizable = false;
  std::unique_ptr<TSpecRowZk> FSpecRow;
  bool FUseMultiTitle = false;
  int FWidth = 0;
};

// The lookup combo box's drop-down settings: seven rows by default.
class TLookupComboboxDropDownBoxZk : public TColumnDropDownBoxZk {
  VORENTA_CLASS(TLookupComboboxDropDownBoxZk, TColumnDropDownBoxZk)
public:
  explicit TLookupComboboxDropDownBoxZk(TPersistent* Owner = nullptr);
};

// The grids' shortcuts and the typed search's time-out (ms).
extern TShortCut GridIncSearchKey, GridFindDialogKey, GridIncSearchNextKey, GridIncSearchPriorKey,
    GridCopyPrevValueKey, GridTitleFilterKey;
extern int GridIncSearchTimeout;

// The process-wide objects the grids share (made by the unit's start).
TDBGridZkStyle* DBGridZkStyle();
TDBGridZkCenter* DBGridZkCenter();
TFont* GridSortMarkerFont();

void RegisterDBGridZkClasses();
