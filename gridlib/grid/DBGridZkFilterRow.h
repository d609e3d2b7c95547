// DBGridZkFilterRow.h - the data grid's filter settings (TCustomDBGridZk::STFilter) and the
// filter row under the titles: one filter cell per column, edited with TInplaceFilterEditZk, a
// combo box placed over the cell. Enter in a filter cell applies the grid's filter through the
// grid's OnApplyFilter (else the policy object); Tab, Left, Right, Home and End move between
// filter cells, Down returns to the data rows. The conditions live in each column's
// TSTColumnFilterZk; what an applied filter does to the dataset is the handler's business.
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"

class TPopupListboxZk;
class TSTColumnFilterZk;

VORENTA_ENUM(TSTFilterLocationZk, stflUnderTitleFilterZk, stflInTitleFilterZk);

class TInplaceFilterEditZk;

// The grid's filter settings and the filter row's editing state.
class TSTDBGridZkFilter : public TPersistent {
  VORENTA_CLASS(TSTDBGridZkFilter, TPersistent)
public:
  explicit TSTDBGridZkFilter(TCustomDBGridZk* AGrid = nullptr);
  ~TSTDBGridZkFilter() override;
  // Copies Visible and Local; Location and InstantApply stay.
  void Assign(TPersistent* Source) override;

  TCustomDBGridZk* Grid() const { return FGrid; }
  bool Local() const { return FLocal; }
  void SetLocal(bool Value) { FLocal = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TSTFilterLocationZk Location() const { return FLocation; }
  void SetLocation(TSTFilterLocationZk Value);
  // Local until set explicitly.
  bool InstantApply() const { return FIsInstantApplyStored ? FInstantApply : FLocal; }
  void SetInstantApply(bool Value);
  bool IsInstantApplyStored() const { return FIsInstantApplyStored; }
  int UpdateCount() const { return FUpdateCount; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { if (FUpdateCount > 0) --FUpdateCount; }

  // --- the filter row's state
  int FilterCol = -1;            // column index of the filter cell being edited
  bool FilterEditMode = false;   // the filter row holds the input position
  TInplaceFilterEditZk* FilterEdit = nullptr;   // created on first use, owned by the grid
  TNotifyEvent OnApplyFilter;
  TDBGridZkFillSTFilterListValuesEvent OnFillSTFilterListValues;
  // The list dropped from a title when Location is stflInTitleFilterZk.
  TPopupListboxZk* InTitleListbox = nullptr;
  // The grouping level whose panel box dropped the list (its sort entries order the level).
  TGridDataGroupLevelZk* InTitleGroupLevel = nullptr;
  TColumnZk* InTitleColumn = nullptr;

private:
  TCustomDBGridZk* FGrid;
  bool FLocal = false;
  int FUpdateCount = 0;
  bool FVisible = false;
  bool FIsInstantApplyStored = false;
  bool FInstantApply = false;
  TSTFilterLocationZk FLocation = stflUnderTitleFilterZk;
};

// The filter cell's editor: a combo box without border over the cell, blue text on a colour a
// little towards the grid's fixed colour. Its keys move between filter cells.
class TInplaceFilterEditZk : public TDBComboBoxZk {
  VORENTA_CLASS(TInplaceFilterEditZk, TDBComboBoxZk)
public:
  explicit TInplaceFilterEditZk(TComponent* AOwner);
  TColumnZk* Column() const { return FColumn; }
  TCustomDBGridZk* Grid() const { return FGrid; }
  // The edit area starts one pixel lower than the combo box's own.
  TRect EditRect() const;

  TColumnZk* FColumn = nullptr;
  TCustomDBGridZk* FGrid = nullptr;

  // Takes Tab when the grid moves between cells with it.
  void WndProc(TMessage& Message) override;
  // A value being ticked in the list keeps it open.
  void CloseUp(bool Accept) override;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;

private:
  bool FSwallowSpace = false;
};

// Lets the column filters reload a visible filter editor and apply instantly (the grid
// module's start).
void DBGridZkFilterRowInitialize();

// The filter list dropped from Column's title (the in-title location; also Ctrl+T): the same
// entries as the filter cell's list, placed under the title.
void DropDownInTitleFilter(TCustomDBGridZk* Grid, TColumnZk* Column);
// The same list dropped under Anchor (client coordinates), such as a group panel box.
void DropDownInTitleFilter(TCustomDBGridZk* Grid, TColumnZk* Column, const TRect& Anchor);
// Closes it; with Execute the highlighted entry runs. Nothing while a value is being ticked.
void CloseInTitleFilterList(TCustomDBGridZk* Grid, bool Execute);
bool InTitleFilterListVisible(TCustomDBGridZk* Grid);
// Hands a wheel message to the filter cell editor's open list or the in-title filter list;
// answers whether one of them was open (it then keeps the wheel, used or not).
bool WheelToOpenFilterList(TCustomDBGridZk* Grid, TMessage& Message);

// The drop-down button a filtered column shows at the right of its lowest title cell in the
// in-title location, and whether client point (X, Y) in grid column ACol presses it. Painted
// in the grid's title it is see-through until the mouse is over it or its list is open; on a
// pressed title it moves Shift pixels down and right with the title's text.
void DrawTitleFilterButton(TCustomDBGridZk* Grid, TColumnZk* Column, const TRect& TitleCell,
                           TGridDrawState AState, int Shift);
bool TitleFilterButtonAt(TCustomDBGridZk* Grid, int ACol, int X, int Y);
bool TitleFilterButtonAt(TCustomDBGridZk* Grid, TColumnZk* Column, int X, int Y);
// Column's cell on the lowest title row (the filter row under the titles, or the title the
// in-title list drops from), in client coordinates; inside the master cell of an in-row panel.
TRect FilterCellClientRect(TCustomDBGridZk* Grid, TColumnZk* Column);
// The in-title filter button inside a group panel box.
TRect TitleFilterButtonRect(const TRect& Cell);
// The in-title filter button inside Column's lowest title Cell: at the right of the cell's
// content (less its raised frame; under multi-level titles the leaf's own part, never the
// groups'), as wide as TitleFilterButtonWidth says and centred at the editor buttons' height
// when the content is taller.
TRect TitleFilterButtonRect(TCustomDBGridZk* Grid, TColumnZk* Column, TRect Cell);
// A flat button's width (one more without themes) on a flat grid, else a scroll-bar arrow's;
// at most half of ContentWidth.
int TitleFilterButtonWidth(TCustomDBGridZk* Grid, int ContentWidth);
// Whether Column shows an in-title filter button (the filter in the titles, the column's shown).
bool HasTitleFilterButton(TCustomDBGridZk* Grid, TColumnZk* Column);
