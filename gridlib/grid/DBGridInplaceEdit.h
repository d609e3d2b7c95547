// DBGridInplaceEdit.h - TDBGridInplaceEdit, the editor the data grid places over the current
// cell: the base grid's masked cell editor plus an edit style taken from the column (a date
// column drops down a calendar, a pick-list column its list), type-ahead helpers and the keys a data cell needs. It never
// writes a field: it keeps the grid's edit text and marks the data link modified; the link's
// UpdateData has the grid write it.
#pragma once

#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "platform/controls/EditRows.h"

class TEditButtonControlZk;
class TMRUListboxZk;
class TMRUListZk;
class TPopupCalculatorZk;
class TPopupListboxZk;
class TPopupDataGridZk;
class TPopupMonthCalendarZk;
class TStrings;

VORENTA_ENUM(TEditStyle, esSimple, esEllipsis, esPickList, esDataList, esDateCalendar, esUpDown,
             esDropDown, esAltUpDown, esAltDropDown, esAltCalendar);

// The style a column's cells use: from the column's ButtonStyle, and for cbsAuto from its field
// (a lookup field with modifiable keys and an open lookup dataset gets the list, a pick list
// its list, a date field the calendar).
TEditStyle ColumnEditStyle(TColumnZk* Column);
// The face of the button that opens a cell of the given style (a drop-down for the list kinds).
TEditButtonStyleZk MainEditButtonStyle(TEditStyle Style);
// The first item equal to Text (Flags 2: starting with it), compared without regard to case;
// -1 when none.
int FindListItem(const TStrings* Items, const String& Text, int Flags);
// The column highlights required fields and its field is required and empty while the grid's
// record is edited or inserted.
bool RequiredValueMissing(TColumnZk* Column);

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
  // The list open under the cell (drop-down or MRU list), or null.
  TWinControl* OpenList() const;
  // Hands a wheel message to the open list; answers whether the list handled it.
  bool WheelToOpenList(TMessage& Message);

  void DropDown();
  void CloseUp(bool Accept) override;
  void ReloadContents() override;
  void EditorBoundsChanged() override;

  // --- buttons (DBGridInplaceEditButtons.cpp)
  // Entry 0 the main button and its line, entry i the column's edit button i - 1.
  const TEditButtonControlList& EditButtonControls() const { return FEditButtonControlList; }
  TEditButtonControlZk* MainButton() const;
  // The width the buttons take at the right edge.
  int ButtonsWidth() const { return FButtonsWidth; }
  // The text's rectangle: the client area less the button strip.
  TRect EditTextRect() const;
  void LayoutEditButtons();
  // The main button was pressed: the up/down styles step, the others drop their list down.
  void MainButtonPressed(bool LowerHalf);
  // Steps the value by the column's Increment: down for the lower half.
  void StepValue(bool LowerHalf);
  TPopupCalculatorZk* Calculator() const { return FPopupCalculator; }
  // The drop-down styles of a number field open the calculator.
  bool IsCalculatorStyle() const;

  void WndProc(TMessage& Message) override;

  // The red dotted underline of an empty required field while its record is edited.
  void DrawRequiredMark(TCanvas* ACanvas);

  // The image left of the text of a column that shows images beside its text (-1: none).
  int ImageIndex() const { return FImageIndex; }
  // The image of the edited value: the text's place in the pick list, else a number field's
  // value, else the column's NotInKeyListIndex.
  void RefreshImageIndex();

  // --- multi-line editing (DBGridInplaceEditWrap.cpp)
  // The text wraps at the text rectangle's right edge, Ctrl+Enter breaks the line and Up and
  // Down move between its rows: for a wrapping column whose row shows more than one line.
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The first row shown and the rows of the wrapped text.
  int TopRow() const { return FTopRow; }
  const std::vector<TEditRow>& Rows();
  int CharFromPos(TPoint P) override;
  TPoint PosFromChar(int Index) override;

protected:
  void UpdateCaret() override;
  void EditKeyDown(Word Key, TShiftState Shift) override;
  void EditChar(Char C) override;
  void PaintWindow(HDC DC) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Change() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool IsCalendarStyle() const {
    return FEditStyle == esDateCalendar || FEditStyle == esAltCalendar;
  }
  bool IsListStyle() const {
    return IsCalendarStyle() || FEditStyle == esPickList || FEditStyle == esDataList ||
           IsCalculatorStyle();
  }
  void ButtonControlDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
  void ButtonControlClick(TObject* Sender);
  void ButtonControlMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void ButtonControlMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Presses the edit button whose ShortCut is SC; false when none has it.
  bool EditButtonByShortCut(TShortCut SC);
  void DropDownCalculator();
  void CloseUpCalculator(bool Accept);
  // Routes a key or character to the open calculator; true when it took it.
  bool RouteToCalculator(TMessage& Message);
  // The special row's shortcut of a lookup cell: takes the special row's value.
  bool TakeSpecRowByShortCut(TShortCut SC);
  // Backspace and Delete in a lookup or key pick-list cell; true when handled.
  bool HandleListCellDelete(Word& Key, TShiftState Shift);
  // After the text was changed by hand: the key of the text, or Null.
  void UpdateEditKeyValue();
  void ShowListKey();
  bool PasteIntoListCell(const String& Clip);
  // Enter in a lookup cell with OnNotInList whose text the list lacks keeps the text.
  bool DataListEnterKeepsText();
  bool FListColumnMoved = false;
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
  TEditButtonControlList FEditButtonControlList;
  int FButtonsWidth = 0, FButtonHeight = 0;
  bool FNoClickCloseUp = false;
  TPopupCalculatorZk* FPopupCalculator = nullptr;
  // The column's images when it shows them beside the text, else null.
  TCustomImageList* CellImages() const;
  // The width of a memory table's tree outline before the first column's text, else 0.
  int TreeAreaWidth() const;
  int FImageIndex = -1;
  // Multi-line editing.
  bool WrapsByColumn() const;
  int RowHeight();
  int VisibleRows();
  void PaintRows(TCanvas* ACanvas);
  // Up or Down leaves the text for the grid: at its first or last row, or all selected.
  bool RowKeyLeavesText(Word Key);
  bool FWordWrap = false;
  int FTopRow = 0;
  std::vector<TEditRow> FRows;
  String FRowsText;
  int FRowsWidth = -1;
};

void RegisterDBGridInplaceEditClasses();
