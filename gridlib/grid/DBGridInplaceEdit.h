// DBGridInplaceEdit.h - TDBGridInplaceEdit, the editor the data grid places over the current
// cell: the base grid's masked cell editor plus an edit style taken from the column (a date
// column drops down a calendar, a pick-list column its list), type-ahead helpers and the keys a data cell needs. It never
// writes a field: it keeps the grid's edit text and marks the data link modified; the link's
// UpdateData has the grid write it.
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/CloseUpOwnerZk.h"

class TMRUListboxZk;
class TMRUListZk;
class TPopupListboxZk;
class TPopupDataGridZk;
class TPopupMonthCalendarZk;
class TStrings;

VORENTA_ENUM(TEditStyle, esSimple, esEllipsis, esPickList, esDataList, esDateCalendar, esUpDown,
             esDropDown, esAltUpDown, esAltDropDown, esAltCalendar);

// The style a column's cells use (decided by the column's field here: a lookup field with
// modifiable keys and an open lookup dataset gets the list, a date field the calendar).
TEditStyle ColumnEditStyle(TColumnZk* Column);
// The first item equal to Text (Flags 2: starting with it), compared without regard to case;
// -1 when none.
int FindListItem(const TStrings* Items, const String& Text, int Flags);

class TDBGridInplaceEdit : public TInplaceEdit, public ICloseUpOwnerZk {
  VORENTA_CLASS(TDBGridInplaceEdit, TInplaceEdit)
public:
  explicit TDBGridInplaceEdit(TComponent* AOwner);
  ~TDBGridInplaceEdit() override;

  TCustomDBGridZk* DBGrid() const { return static_cast<TCustomDBGridZk*>(Grid()); }
  TColumnZk* CurrentColumn() const;
  TEditStyle EditStyle() const { return FEditStyle; }
  void SetEditStyle(TEditStyle Value);
  // The cell parameters changed the read-only state away from the column's.
  bool ReadOnlyStored() const { return FReadOnlyStored; }
  bool ListVisible() const { return FListVisible; }
  bool DroppedDown() const { return FDroppedDown; }
  void SetLockCloseList(bool Value) { FLockCloseList = Value; }
  TPopupMonthCalendarZk* Calendar() const { return FPopupMonthCalendar; }
  // The list of the column's recent texts that start with the typed text, shown while typing.
  TMRUListboxZk* MRUListBox() const { return FMRUListBox; }
  bool MRUListDown() const;
  void ShowMRUList();
  void CloseMRUList(bool Accept);
  TPopupListboxZk* PickListBox() const { return FPickListBox; }
  // The drop-down lookup grid of a lookup cell (made at its first drop-down).
  TPopupDataGridZk* DataList() const { return FDataList; }

  void DropDown();
  void CloseUp(bool Accept) override;
  void ReloadContents() override;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Change() override;
  void Dispatch(TMessage& Message) override;

private:
  bool IsCalendarStyle() const {
    return FEditStyle == esDateCalendar || FEditStyle == esAltCalendar;
  }
  bool IsListStyle() const {
    return IsCalendarStyle() || FEditStyle == esPickList || FEditStyle == esDataList;
  }
  // The window of the list that is down (calendar or pick list), else nullptr.
  TWinControl* ActiveList() const;
  void DropDownPickList(TColumnZk* C);
  void CloseUpPickList(bool Accept);
  // Lookup cells (DBGridInplaceEditLookup.cpp).
  void DropDownDataList(TColumnZk* C);
  void CloseUpDataList(bool Accept);
  bool HandleDataListKey(Word Key, TShiftState Shift);
  bool FilterDataListText(Char Key);
  bool HandleListKey(Word Key, TShiftState Shift);
  // True when the typed character was taken (completed or refused) by the type-ahead.
  bool FilterTypedText(Char Key);
  TMRUListZk* ColumnMRUList() const;
  // After a typed change of the text: the MRU list follows it.
  void UserTextChanged();
  bool HandleMRUKey(Word Key);

  TEditStyle FEditStyle = esSimple;
  bool FReadOnlyStored = false;
  bool FListVisible = false, FDroppedDown = false, FLockCloseList = false;
  bool FSkipListChar = false;
  TPopupMonthCalendarZk* FPopupMonthCalendar = nullptr;
  TPopupListboxZk* FPickListBox = nullptr;
  TPopupDataGridZk* FDataList = nullptr;
  TDataSource* FDataListSource = nullptr;
  String FTextBeforeList;
  TMRUListboxZk* FMRUListBox = nullptr;
};

void RegisterDBGridInplaceEditClasses();
