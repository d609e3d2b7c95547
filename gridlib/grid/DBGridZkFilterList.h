// DBGridZkFilterList.h - the drop-down list of a filter cell: sort commands, filter commands
// ("(Очистить фильтр)", "(Условие...)", "(Пустые)" ...) and the column's distinct values with
// check boxes. Each entry's object (one shared object per kind) draws it and acts on it.
// Clicking values ticks them into an "in (...)" condition and keeps the list open; Enter on
// the open list makes the highlighted value the only one, or, after clicks, applies the
// ticked values as they stand.
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/PopupListboxItemZk.h"

VORENTA_ENUM(TPopupListboxItemZkSpecType, ptFilterSpecItemClearFilter, ptFilterSpecItemAll,
             ptFilterSpecItemEmpties, ptFilterSpecItemNotEmties, ptFilterSpecItemDialog,
             ptFilterApply);

class TDBGridFilterPopupListboxItemZk : public TPopupListboxItemZk {
  VORENTA_CLASS(TDBGridFilterPopupListboxItemZk, TPopupListboxItemZk)
public:
  bool CanShowFocus(TPopupListboxZk* Sender, int ItemIndex) override;
};

class TPopupListboxItemZkSort : public TDBGridFilterPopupListboxItemZk {
  VORENTA_CLASS(TPopupListboxItemZkSort, TDBGridFilterPopupListboxItemZk)
public:
  explicit TPopupListboxItemZkSort(TSortMarkerZk SortState = smNoneZk) : FSortState(SortState) {}
  TSortMarkerZk SortState() const { return FSortState; }
  void DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                TOwnerDrawState State) override;
  bool CloseOnExecute(TPopupListboxZk*, int) override { return true; }
  void Execute(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
               TShiftState Shift) override;

private:
  TSortMarkerZk FSortState;
};

class TPopupListboxItemZkLine : public TDBGridFilterPopupListboxItemZk {
  VORENTA_CLASS(TPopupListboxItemZkLine, TDBGridFilterPopupListboxItemZk)
public:
  void DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                TOwnerDrawState State) override;
  void MouseUp(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos, TMouseButton Button,
               TShiftState Shift, bool& IsCloseListbox) override;
  bool CloseOnExecute(TPopupListboxZk*, int) override { return false; }
  void Execute(TPopupListboxZk*, int, TPoint, TShiftState) override {}
};

class TPopupListboxItemZkSpec : public TDBGridFilterPopupListboxItemZk {
  VORENTA_CLASS(TPopupListboxItemZkSpec, TDBGridFilterPopupListboxItemZk)
public:
  explicit TPopupListboxItemZkSpec(TPopupListboxItemZkSpecType Type = ptFilterSpecItemAll)
      : FType(Type) {}
  TPopupListboxItemZkSpecType Type() const { return FType; }
  void DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                TOwnerDrawState State) override;
  bool CloseOnExecute(TPopupListboxZk*, int) override { return true; }
  void Execute(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
               TShiftState Shift) override;

private:
  TPopupListboxItemZkSpecType FType;
};

class TPopupListboxItemZkData : public TDBGridFilterPopupListboxItemZk {
  VORENTA_CLASS(TPopupListboxItemZkData, TDBGridFilterPopupListboxItemZk)
public:
  void DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                TOwnerDrawState State) override;
  void MouseDown(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos, TMouseButton Button,
                 TShiftState Shift) override;
  void MouseMove(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                 TShiftState Shift) override;
  void MouseUp(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos, TMouseButton Button,
               TShiftState Shift, bool& IsCloseListbox) override;
  bool CloseOnExecute(TPopupListboxZk*, int) override { return false; }
  // Ticks or unticks the value (after clearing the others unless clicks came first) and
  // turns the ticked values into the column's condition.
  void Execute(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
               TShiftState Shift) override;
};

// The column a filter list acts on: the filter editor's column.
TColumnZk* FilterListColumn(TPopupListboxZk* List);

// Fills Items with the column's commands and values (each with its shared item object) and
// resets the column's check marks; Width grows to fit the command texts in List's font.
void FillSTFilterListValues(TCustomDBGridZk* Grid, TColumnZk* Column, TStrings* Items,
                            int& Width, TPopupListboxZk* List);

// The shared item objects (created on first use, freed at the grid module's end).
void DBGridZkFilterListInitialize();
void DBGridZkFilterListFinalize();
