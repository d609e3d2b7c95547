// StdCtrls.h - the standard controls: edit, push button, check box, radio button, label, static
// text, group box, list box and combo box. All of them are ours and paint through TCanvas.
//
// The edit keeps its text in a TEditEngine and answers the edit messages (EM_*, WM_CUT, WM_COPY,
// WM_PASTE, WM_CLEAR, WM_UNDO) the way the native edit window does; its key handling sits in
// DefaultHandler, after KeyDown/KeyPress and their events, so descendants and the in-place
// holders can act before it. A text change, by the user or the program, reaches Change (OnChange)
// through CN_COMMAND/EN_CHANGE; UserChangeCount() tells user changes apart.
//
// The memo (Memo.cpp) is the multi-line edit: the same engine and messages, the text laid out
// in lines broken at CR LF (and, with WordWrap, at the right edge), Lines bound to the text.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Strings.h"
#include "platform/controls/Controls.h"
#include "platform/controls/EditEngine.h"

VORENTA_ENUM_NAMES(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase);

// --- TCustomEdit --------------------------------------------------------------------------------

class TCustomEdit : public TWinControl {
  VORENTA_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TEditCharCase CharCase() const { return FEngine.CharCase(); }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  int MaxLength() const { return FEngine.MaxLength(); }
  virtual void SetMaxLength(int Value);
  bool Modified() const { return FEngine.Modified(); }
  void SetModified(bool Value) { FEngine.SetModified(Value); }
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  int SelStart() const { return FEngine.SelStart(); }
  void SetSelStart(int Value);
  int SelLength() const { return FEngine.SelLength(); }
  void SetSelLength(int Value);
  String SelText() const { return FEngine.SelText(); }
  void SetSelText(const String& Value);

  virtual void Clear();
  void ClearSelection() { Perform(WM_CLEAR); }
  void CopyToClipboard() { Perform(WM_COPY); }
  void CutToClipboard() { Perform(WM_CUT); }
  void PasteFromClipboard() { Perform(WM_PASTE); }
  void Undo() { Perform(WM_UNDO); }
  void ClearUndo() { Perform(EM_EMPTYUNDOBUFFER); }
  bool CanUndo() const { return FEngine.CanUndo(); }
  void SelectAll() { Perform(EM_SETSEL, 0, -1); }

  // The formatting rectangle (EM_GETRECT), client coordinates; the text is drawn and clipped
  // inside it, scrolled sideways to keep the caret visible.
  TRect EditRect() const;
  // The character nearest to a client point (EM_CHARFROMPOS), and a character's position.
  virtual int CharFromPos(TPoint P);
  virtual TPoint PosFromChar(int Index);
  int LeftMargin() const { return FLeftMargin; }
  int RightMargin() const { return FRightMargin; }

  // How many changes the user made (typing, deleting, pasting) since creation: a change that
  // happens during a message shows as a step of this count.
  int UserChangeCount() const { return FUserChanges; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  String GetText() const override;
  // With AutoSize (the default) and a single border, the height follows the font: the text
  // height and room for the border, set when the window is made and when the font changes.
  void SetAutoSize(bool Value) override;

protected:
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void FontChanged() override;

  // The raw text of the window (EditText for the masked edit) and its engine.
  const String& WindowText() const { return FEngine.Text(); }
  void SetWindowText(const String& Value);
  TEditEngine& Engine() { return FEngine; }
  const TEditEngine& Engine() const { return FEngine; }
  // The text changed: repaint, caret, EN_CHANGE (User marks a user change).
  void TextChanged(bool User);
  // The selection or caret moved: repaint and place the caret.
  void SelectionChanged();
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { FMultiLine = Value; }
  // The edit's native key handling (WM_KEYDOWN / WM_CHAR in DefaultHandler).
  virtual void EditKeyDown(Word Key, TShiftState Shift);
  virtual void EditChar(Char C);
  // The edit's clipboard messages.
  virtual void EditCut();
  virtual void EditCopy();
  virtual void EditPaste();
  virtual void EditClear();
  int FontHeight();
  // Scrolls so the caret shows inside the formatting rectangle and places it.
  virtual void UpdateCaret();
  TControlCanvas* EditCanvas() const { return FCanvas.get(); }

private:
  int TextOffset(int Index);
  String DisplayText() const;
  TRect DefaultEditRect() const;
  bool FollowsFont() const;
  void UpdateHeight();
  void AdjustHeight();

  TEditEngine FEngine;
  std::unique_ptr<TControlCanvas> FCanvas;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FReadOnly = false;
  bool FMultiLine = false;
  Char FPasswordChar = 0;
  TAlignment FAlignment = taLeftJustify;
  int FLeftMargin = 1;
  int FRightMargin = 1;
  bool FHasEditRect = false;
  TRect FEditRect;
  int FScrollX = 0;
  int FUserChanges = 0;
  bool FSelecting = false;
  TNotifyEvent FOnChange;
};

class TEdit : public TCustomEdit {
  VORENTA_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// --- TCustomMemo --------------------------------------------------------------------------------

VORENTA_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth);

class TCustomMemo : public TCustomEdit {
  VORENTA_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  // The text's lines, broken at CR LF; changing them changes the text (and the reverse).
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value);
  // Long lines wrap at the formatting rectangle's right edge (at a blank when there is one).
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // Return breaks the line (else it reaches the form's default button; Ctrl+Return still breaks
  // the line); Tab types a tab (else it moves the focus).
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // The caret's line and column (text lines, not wrapped rows).
  TPoint CaretPos();
  void SetCaretPos(TPoint Value);

  // One row of the laid-out text: Length characters from Start, then a line break of
  // BreakLength characters (0 for a wrapped row and the last one).
  struct TRow {
    int Start, Length, BreakLength;
  };
  const std::vector<TRow>& Rows();
  // The first row shown at the top, and how many rows fit.
  int TopRow() const { return FTopRow; }
  int VisibleRows();

  int CharFromPos(TPoint P) override;
  TPoint PosFromChar(int Index) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  void KeyPress(Char& Key) override;
  void EditKeyDown(Word Key, TShiftState Shift) override;
  void EditChar(Char C) override;
  void UpdateCaret() override;
  // Any change of the font lays the rows out anew.
  void FontChanged() override;

private:
  int RowOf(int Index);
  int RowHeight();
  void ScrollToRow(int Row);
  void UpdateScrollBars();
  void ScrollMessage(TMessage& Message, bool Vertical);

  std::unique_ptr<TStrings> FLines;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  int FTopRow = 0;
  int FScrollX = 0;
  int FGoalX = -1;   // the caret's x kept while moving up and down
  std::vector<TRow> FRows;
  String FRowsText;  // what FRows was laid out for
  int FRowsWidth = -1;
  bool FRowsWrap = false;
};

class TMemo : public TCustomMemo {
  VORENTA_CLASS(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// --- buttons ------------------------------------------------------------------------------------

// The common base of push buttons, check boxes and radio buttons: a press with the mouse or
// Space ends in CN_COMMAND / BN_CLICKED, which clicks.
class TButtonControl : public TWinControl {
  VORENTA_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Pressed by the mouse or the space bar, not yet released.
  bool Pressed() const { return FPressed; }
  void Dispatch(TMessage& Message) override;

protected:
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  bool ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void SetPressed(bool Value);
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }
  TCanvas* Canvas() const { return FCanvas.get(); }

private:
  std::unique_ptr<TControlCanvas> FCanvas;
  bool FWordWrap = false;
  bool FClicksDisabled = false;
  bool FPressed = false;
  bool FPressInside = false;
};

class TButton : public TButtonControl {
  VORENTA_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // A click from code, as the user's (OnClick, then the form's ModalResult).
  void Click() override;
  void Dispatch(TMessage& Message) override;

protected:
  void PaintWindow(HDC DC) override;
  // Return clicks the active button (the default one, or a focused button), Esc the cancel one.
  bool Active() const;

private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

VORENTA_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed);

class TCustomCheckBox : public TButtonControl {
  VORENTA_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return GetChecked(); }
  void SetChecked(bool Value) override;
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  void Dispatch(TMessage& Message) override;

protected:
  bool GetChecked() const override { return FState == cbChecked; }
  // Unchecked -> checked -> (grayed when allowed) -> unchecked.
  virtual void Toggle();
  void PaintWindow(HDC DC) override;

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  VORENTA_CLASS(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// Checking one radio button unchecks the others of the same parent.
class TRadioButton : public TButtonControl {
  VORENTA_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value) override;
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  void Dispatch(TMessage& Message) override;

protected:
  bool GetChecked() const override { return FChecked; }
  void PaintWindow(HDC DC) override;

private:
  bool FChecked = false;
  TLeftRight FAlignment = taRightJustify;
};

// --- labels and frames --------------------------------------------------------------------------

VORENTA_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);

class TCustomLabel : public TGraphicControl {
  VORENTA_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  void Paint() override;
  void AdjustBounds();
  unsigned DrawTextFlags() const;

private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  VORENTA_CLASS(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

VORENTA_ENUM(TStaticBorderStyle, sbsNone, sbsSingle, sbsSunken);

// A windowed label: it can hold a border and be the target of accelerators.
class TCustomStaticText : public TWinControl {
  VORENTA_CLASS(TCustomStaticText, TWinControl)
public:
  explicit TCustomStaticText(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStaticBorderStyle BorderStyle() const { return FStaticBorder; }
  void SetBorderStyle(TStaticBorderStyle Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value) { FFocusControl = Value; }
  void SetAutoSize(bool Value) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  void PaintWindow(HDC DC) override;
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }
  void AdjustBounds();

private:
  std::unique_ptr<TControlCanvas> FCanvas;
  TAlignment FAlignment = taLeftJustify;
  TStaticBorderStyle FStaticBorder = sbsNone;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TStaticText : public TCustomStaticText {
  VORENTA_CLASS(TStaticText, TCustomStaticText)
public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};

class TCustomGroupBox : public TCustomControl {
  VORENTA_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
};

class TGroupBox : public TCustomGroupBox {
  VORENTA_CLASS(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// --- list box -----------------------------------------------------------------------------------

VORENTA_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual,
             lbVirtualOwnerDraw);
VORENTA_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused,
             odDefault, odHotLight, odInactive, odNoAccel, odNoFocusRect, odReserved1,
             odReserved2, odComboBoxEdit);
VORENTA_SET(TOwnerDrawState, TOwnerDrawStateItem);

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect,
                                          TOwnerDrawState State)>;
using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, String& Data)>;
using TLBGetDataObjectEvent =
    std::function<void(TWinControl* Control, int Index, TObject*& DataObject)>;

class TCustomListBox : public TWinControl {
  VORENTA_CLASS(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // Items, or Count in the virtual styles.
  int ItemCount() const;
  void SetCount(int Value);   // virtual styles
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value) { FIntegralHeight = Value; }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  TCanvas* Canvas() const { return FCanvas.get(); }

  // The item under a client point (-1 outside unless Existing is false: then Count).
  int ItemAtPos(TPoint P, bool Existing) const;
  TRect ItemRect(int Index) const;
  // Rows that fit the client height.
  int VisibleRows() const;
  String ItemText(int Index) const;
  void Clear();

  const TDrawItemEvent& OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent Value) { FOnDrawItem = std::move(Value); }
  const TLBGetDataEvent& OnData() const { return FOnData; }
  void SetOnData(TLBGetDataEvent Value) { FOnData = std::move(Value); }
  const TLBGetDataObjectEvent& OnDataObject() const { return FOnDataObject; }
  void SetOnDataObject(TLBGetDataObjectEvent Value) { FOnDataObject = std::move(Value); }

  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  void PaintWindow(HDC DC) override;
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void CreateParams(TCreateParams& Params) override;
  // The bar shows only when the rows do not all fit.
  void CreateWnd() override;
  // Selection by the user: moves ItemIndex, scrolls it into view, clicks.
  void SelectByUser(int Index);
  void UpdateScrollBar();
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  // The first item whose text starts with Prefix, case ignored (type-ahead), or -1.
  int IndexOfPrefix(const String& Prefix) const;

private:
  void ItemsChanged();
  std::unique_ptr<TControlCanvas> FCanvas;
  std::unique_ptr<TStringList> FItems;
  int FCount = 0;
  int FItemIndex = -1;
  int FTopIndex = 0;
  int FItemHeight = 16;
  TListBoxStyle FStyle = lbStandard;
  bool FSorted = false;
  bool FIntegralHeight = false;
  bool FAutoComplete = true;
  String FTypeAhead;
  unsigned FTypeAheadTime = 0;
  TDrawItemEvent FOnDrawItem;
  TLBGetDataEvent FOnData;
  TLBGetDataObjectEvent FOnDataObject;
};

class TListBox : public TCustomListBox {
  VORENTA_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// --- combo box ----------------------------------------------------------------------------------

VORENTA_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
             csOwnerDrawVariable);

class TComboListBox;

// A plain combo box: an edit (or a fixed text with csDropDownList) with a button that drops
// a list down in a frameless window that never takes the focus.
class TCustomComboBox : public TCustomEdit {
  VORENTA_CLASS(TCustomComboBox, TCustomEdit)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value);
  // The button's rectangle at the right of the client area.
  TRect ButtonRect() const;
  // Row height of the dropped list and of owner-drawn items; 0 (the default) follows the font.
  int ItemHeight();
  void SetItemHeight(int Value) { FItemHeight = Value; }
  // The canvas an owner-drawn item is painted on while OnDrawItem runs: the box's own face
  // (State holds odComboBoxEdit) or its dropped list.
  TCanvas* Canvas() const { return FDrawCanvas; }
  bool IsOwnerDraw() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
  const TDrawItemEvent& OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent Value) { FOnDrawItem = std::move(Value); }

  const TNotifyEvent& OnSelect() const { return FOnSelect; }
  void SetOnSelect(TNotifyEvent Value) { FOnSelect = std::move(Value); }
  const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent Value) { FOnDropDown = std::move(Value); }
  const TNotifyEvent& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TNotifyEvent Value) { FOnCloseUp = std::move(Value); }

  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void PaintWindow(HDC DC) override;
  void EditKeyDown(Word Key, TShiftState Shift) override;
  void EditChar(Char C) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  // Closes the list, taking its item when Accept.
  void CloseList(bool Accept);
  // Paints one item on Canvas(): OnDrawItem in the owner-drawn styles, else its text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // Width and height of the dropped list: the box's width, the rows (at most DropDownCount)
  // times ItemHeight plus the border.
  virtual TPoint DropDownSize();
  // A fixed list of items (csDropDownList and the owner-drawn styles): nothing is typed.
  bool IsFixedList() const { return FStyle == csDropDownList || IsOwnerDraw(); }
  friend class TComboListBox;

private:
  void SelectByUser(int Index);
  void PaintOwnerDrawnFace(HDC DC);
  std::unique_ptr<TStringList> FItems;
  TComboListBox* FList = nullptr;   // owned by this control
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  bool FSorted = false;
  bool FDroppedDown = false;
  int FItemHeight = 0;
  TCanvas* FDrawCanvas = nullptr;
  TDrawItemEvent FOnDrawItem;
  TNotifyEvent FOnSelect, FOnDropDown, FOnCloseUp;
};

class TComboBox : public TCustomComboBox {
  VORENTA_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

void RegisterStdCtrlsClasses();
