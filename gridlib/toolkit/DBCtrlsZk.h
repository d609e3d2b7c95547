// DBCtrlsZk.h - the data-aware editors of the toolkit: the field data link and edit image, the
// in-place contract a host control (the data grid) offers and uses, the data-aware edit with its
// edit buttons, MRU drop-down and required mark, the date-time and number edits with their
// routines, the combo box and the check box.
//
// The unit is split by concern: DBCtrlsZkDataLink.cpp (link, edit image), DBCtrlsZkEdit.cpp
// (the edit's model, setters, posting, focus), DBCtrlsZkEditInput.cpp (keys, messages, the
// in-place behaviour), DBCtrlsZkEditButtons.cpp (button strip, MRU drop-down),
// DBCtrlsZkEditPaint.cpp (height, painting, tooltips), DBCtrlsZkDateRoutines.cpp and
// DBCtrlsZkDateTimeEdit.cpp, DBCtrlsZkNumberRoutines.cpp and DBCtrlsZkNumberEdit.cpp,
// DBCtrlsZkComboBox.cpp, DBCtrlsZkCheckBox.cpp and DBCtrlsZkRegister.cpp (published
// properties, the unit's class registration).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "gridlib/toolkit/EditButtonsZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/Mask.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Variants.h"

class TCustomImageList;
class TEditButtonControlZk;
class TMRUListZk;
class TPopupListboxZk;
class TStringList;

// ============================================================================================
// In-place contract
// ============================================================================================

// What a control must offer to host a data-aware editor in place (the data grid's cells and
// filter row). The editor calls the holder in this order of importance:
class IInplaceEditHolderZk {
public:
  virtual ~IInplaceEditHolderZk() = default;
  // In UpdateReadOnlyState: false keeps the editor's window read-only.
  virtual bool InplaceEditCanModify(TControl* Control) = 0;
  // On a left-button press in place: the screen point and message time of the holder's own
  // press that started the editing (the editor turns the two presses into a double click).
  virtual void GetMouseDownInfo(TPoint& Pos, int& Time) = 0;
  // First, for every message of the editor in place; a non-zero Result ends its processing.
  virtual void InplaceEditWndProc(TControl* Control, TMessage& Message) = 0;
  // Before the editor's own key handling; Key 0 (#0) stops it.
  virtual void InplaceEditKeyDown(TControl* Control, Word& Key, TShiftState Shift) = 0;
  virtual void InplaceEditKeyPress(TControl* Control, Char& Key) = 0;
  virtual void InplaceEditKeyUp(TControl* Control, Word& Key, TShiftState Shift) = 0;
};

// What a host sets on an editor it places in its cells.
class IInplaceEditZk {
public:
  virtual ~IInplaceEditZk() = default;
  virtual TFont* GetFont() = 0;
  // The holder must implement IInplaceEditHolderZk; nullptr returns to stand-alone.
  virtual void SetInplaceEditHolder(TWinControl* AInplaceEditHolder) = 0;
  virtual void SetBorderStyle(TBorderStyle Value) = 0;
  virtual void SetFont(TFont* Value) = 0;
  virtual void SetColor(TColor Value) = 0;
  virtual void SetOnKeyPress(TKeyPressEvent Value) = 0;
  virtual void SetOnExit(TNotifyEvent Value) = 0;
};

// ============================================================================================
// Field data link and edit image
// ============================================================================================

// The data link of every data-aware editor: one field, several fields (MultiFields, the value
// a variant array in FieldName order), or none (data-independent: the link holds the value and
// imitates the editing cycle of a dataset).
class TFieldDataLinkZk : public TDataLink {
public:
  TFieldDataLinkZk();
  ~TFieldDataLinkZk() override;

  // Data-independent, or the link is active and at least one field is resolved.
  bool Active() const;
  // The first field can be modified, or the link is data-independent.
  bool CanModify() const;
  TComponent* Control() const { return FControl; }
  void SetControl(TComponent* Value) { FControl = Value; }
  bool DataIndepended() const { return FDataIndepended; }
  // A data source whose dataset is open.
  bool DataSetActive() const;
  void SetDataSource(TDataSource* Value);
  // The link's own editing flag.
  bool Editing() const { return FEditing; }
  TField* Field() const { return FFields.empty() ? nullptr : FFields[0]; }
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  int FieldsCount() const { return int(FFields.size()); }
  TField* Fields(int Index) const;
  bool MultiFields() const { return FMultiFields; }
  void SetMultiFields(bool Value);
  bool IsModified() const { return FModified; }

  // Starts editing (data-independent: the own flag; bound: the dataset's edit state).
  bool Edit();
  void Modified() { FModified = true; }
  void SetModified(bool Value) { FModified = Value; }
  // The control reloads (record changed without a field).
  void Reset();
  void SetText(const String& Text);
  void SetValue(const Variant& Value);

  Variant DataIndependentValue;

  TNotifyEvent OnDataChange, OnEditingChange, OnUpdateData, OnActiveChange;

  // Re-resolves the field array from FieldName.
  virtual void UpdateFields();
  virtual bool IsDataIndepended() const;

protected:
  void ActiveChanged() override;
  void DataEvent(TDataEvent Event, std::intptr_t Info) override;
  void EditingChanged() override;
  void FocusControl(TField*& Field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

private:
  void SetFieldsList(const TFieldsArrZk& List);
  void UpdateDataIndepended();
  void SetEditing(bool Value);
  bool FieldFound(const TField* Field) const;

  TFieldsArrZk FFields;
  String FFieldName;
  TComponent* FControl = nullptr;
  bool FMultiFields = false;
  bool FDataIndepended = true;
  bool FEditing = false;
  bool FModified = false;
};

// The settings of the small image an editor shows left of its text.
class TEditImageZk : public TPersistent {
  VORENTA_CLASS(TEditImageZk, TPersistent)
public:
  explicit TEditImageZk(TWinControl* EditControl);
  ~TEditImageZk() override;
  void Assign(TPersistent* Source) override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // 0: the image list's width.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  bool UseImageHeight() const { return FUseImageHeight; }
  void SetUseImageHeight(bool Value);
  TWinControl* EditControl() const { return FEditControl; }

protected:
  TPersistent* GetOwner() const override { return FEditControl; }

private:
  void Changed();
  TWinControl* FEditControl;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  bool FVisible = false;
  int FWidth = 0;
  bool FUseImageHeight = true;
};

// ============================================================================================
// The data-aware edit
// ============================================================================================

VORENTA_ENUM(TDBEditZkValue, evAlignmentZk, evEditMaskZk);
VORENTA_SET(TDBEditZkValues, TDBEditZkValue);

using TOnCheckDrawRequiredStateEventZk = std::function<void(TObject* Sender, bool& DrawState)>;
using TGetImageIndexEventZk = std::function<void(TObject* Sender, int& ImageIndex)>;
using TUpdateDataEventZk = std::function<void(TObject* Sender, bool& Handled)>;
using TCloseUpEventZk = std::function<void(TObject* Sender, bool Accept)>;
using TAcceptEventZk = std::function<void(TObject* Sender, bool& Accept)>;

// The hint window of a truncated editor text: the hint data is the font to show it in.
class TToolTipsWindow : public THintWindow {
  VORENTA_CLASS(TToolTipsWindow, THintWindow)
public:
  using THintWindow::THintWindow;
  TRect CalcHintRect(int MaxWidth, const String& Hint, void* Data) override;
};

class TCustomDBEditZk : public TCustomMaskEdit, public ICloseUpOwnerZk, public IInplaceEditZk {
  VORENTA_CLASS(TCustomDBEditZk, TCustomMaskEdit)
public:
  explicit TCustomDBEditZk(TComponent* AOwner);
  ~TCustomDBEditZk() override;

  // --- properties
  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
  void SetAlwaysShowBorder(bool Value);
  TDBEditZkValues AssignedValues() const { return FAssignedValues; }
  String DataField() const { return GetDataField(); }
  TDataSource* DataSource() const { return GetDataSource(); }
  TFieldDataLinkZk* DataLink() const { return FDataLink.get(); }
  TEditButtonZk* EditButton() const { return FEditButton.get(); }
  void SetEditButton(TEditButtonZk* Value);
  TEditButtonsZk* EditButtons() const { return FEditButtons.get(); }
  void SetEditButtons(TEditButtonsZk* Value);
  TEditImageZk* EditImage() const { return FEditImage.get(); }
  const String& EditMask() const { return TCustomMaskEdit::EditMask(); }
  void SetEditMask(const String& Value);
  TField* Field() const { return FDataLink->Field(); }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool HighlightRequired() const { return FHighlightRequired; }
  void SetHighlightRequired(bool Value);
  TCustomImageList* Images() const;
  void SetImages(TCustomImageList* Value);
  TMRUListZk* MRUList() const { return FMRUList.get(); }
  void SetMRUList(TMRUListZk* Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool Tooltips() const { return FTooltips; }
  void SetTooltips(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  void SetPasswordChar(Char Value);
  void SetAutoSize(bool Value) override;
  // The text; setting it from code posts at once (Reset and re-raise on failure).
  String Text() const { return GetText(); }
  void SetText(const String& Value);
  Variant Value() const { return const_cast<TCustomDBEditZk*>(this)->GetVariantValue(); }
  void SetValue(const Variant& Value) { SetVariantValue(Value); }
  String DisplayTextForPaintCopy() { return GetDisplayTextForPaintCopy(); }
  // In place: whether the window exists and is shown; setting false hides it there.
  bool Visible() const;
  void SetVisible(bool Value);
  bool DroppedDown() const { return FDroppedDown; }
  bool InplaceMode() const { return FInplaceMode; }
  TWinControl* InplaceEditHolder() const { return FInplaceEditHolder; }
  bool BorderActive() const { return FBorderActive; }
  int ButtonWidth() const { return FButtonWidth; }
  int ButtonHeight() const { return FButtonHeight; }
  int ImageWidth() const { return FImageWidth; }
  // Element 0: the main button's control and line; element i + 1: extra button i.
  const TEditButtonControlList& EditButtonControlList() const { return FEditButtonControlList; }
  TWinControl* MRUListControl() const { return FMRUListControl; }
  int DownButton() const { return FDownButton; }
  // Stored-property rules of the form stream.
  bool IsAlignmentStored() const { return FAssignedValues.Contains(evAlignmentZk); }
  bool IsEditMaskStored() const { return FAssignedValues.Contains(evEditMaskZk); }
  bool IsTextStored() const;
  bool IsValueStored() const;

  // --- events
  const TButtonClickEventZk& OnButtonClick() const { return FOnButtonClick; }
  void SetOnButtonClick(TButtonClickEventZk Value) { FOnButtonClick = std::move(Value); }
  const TButtonDownEventZk& OnButtonDown() const { return FOnButtonDown; }
  void SetOnButtonDown(TButtonDownEventZk Value) { FOnButtonDown = std::move(Value); }
  const TOnCheckDrawRequiredStateEventZk& OnCheckDrawRequiredState() const {
    return FOnCheckDrawRequiredState;
  }
  void SetOnCheckDrawRequiredState(TOnCheckDrawRequiredStateEventZk Value) {
    FOnCheckDrawRequiredState = std::move(Value);
  }
  const TGetImageIndexEventZk& OnGetImageIndex() const { return FOnGetImageIndex; }
  void SetOnGetImageIndex(TGetImageIndexEventZk Value);
  const TUpdateDataEventZk& OnUpdateData() const { return FOnUpdateData; }
  void SetOnUpdateData(TUpdateDataEventZk Value) { FOnUpdateData = std::move(Value); }

  // --- public operations
  String GetCompleteKeyPress() const { return FCompleteKeyPress; }
  void Deselect();
  void Undo();
  void Reset() override;
  void Clear() override;
  void SetFocus() override;
  // In place: hide, move (redrawing) and move (without redrawing) into Loc.
  void Hide();
  void Move(const TRect& Loc);
  void UpdateLoc(const TRect& Loc);
  // The rectangle of the button strip and of the image (client coordinates).
  TRect GetEditButtonsRect();
  TRect GetImageRect();
  TRect GetTextRect();
  bool IsTextTruncated();
  // Answers CM_GETDATALINK.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;

  // --- ICloseUpOwnerZk and IInplaceEditZk
  void CloseUp(bool Accept) override;
  TFont* GetFont() override { return Font(); }
  void SetInplaceEditHolder(TWinControl* AInplaceEditHolder) override;
  void SetBorderStyle(TBorderStyle Value) override { TWinControl::SetBorderStyle(Value); }
  void SetFont(TFont* Value) override { TControl::SetFont(Value); }
  void SetColor(TColor Value) override { TControl::SetColor(Value); }
  void SetOnKeyPress(TKeyPressEvent Value) override { TWinControl::SetOnKeyPress(std::move(Value)); }
  void SetOnExit(TNotifyEvent Value) override { TWinControl::SetOnExit(std::move(Value)); }

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // The 45 operations below, in this order, are the ones descendants and hosts override.
  virtual bool ButtonsEnabled();
  virtual TFieldDataLinkZk* CreateDataLink();
  virtual TEditButtonZk* CreateEditButton();
  virtual TEditButtonControlZk* CreateEditButtonControl();
  virtual TEditButtonsZk* CreateEditButtons();
  virtual TEditImageZk* CreateEditImage();
  virtual TWinControl* CreateMRUListbox();
  virtual bool IsDataIndepended();
  virtual TAlignment DefaultAlignment();
  virtual String DefaultEditMask();
  virtual int DefaultImageIndex();
  virtual String GetDataField() const;
  virtual TDataSource* GetDataSource() const;
  virtual String GetDisplayTextForPaintCopy();
  virtual Variant GetVariantValue();
  virtual bool IsValidChar(Char Key);
  virtual void ActiveChanged();
  virtual void AdjustHeight();
  virtual void ButtonDownDropDown(bool LowerPart);
  virtual void GetEditRect(TRect& Rect);
  // (CloseUp, the 21st, is the ICloseUpOwnerZk override above.)
  virtual void DataChanged();
  virtual void DropDown();
  virtual void EditButtonClick(TObject* Sender);
  virtual void EditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
  virtual void EditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  virtual void EditButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                 int Y);
  virtual void EditingChanged();
  virtual void FilterMRUItem(const String& AText, bool& Accept);
  virtual void InternalSetText(const String& AText);
  virtual void InternalSetValue(const Variant& AValue);
  virtual void InternalUpdatePostData();
  virtual void MRUListboxResized();
  virtual void PaintRequiredState(TCanvas* ACanvas);
  virtual void ResetMaxLength();
  virtual void SetDataField(const String& Value);
  virtual void SetDataSource(TDataSource* Value);
  virtual void SetFocused(bool Value);
  virtual void SetVariantValue(const Variant& Value);
  virtual void UpdateReadOnlyState();
  virtual void UpdateHeight();
  virtual void UpdateHintProcessing();
  virtual void UpdateImageIndex();
  virtual void UpdateMRUListState();
  virtual void UpdateData();

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Change() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool EditCanModify() override;
  void CheckCursor() override;
  void PaintWindow(HDC DC) override;
  void PaintNonClient(HDC DC) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FontChanged() override;

  // Descendants' constructors call it to take their own main button (CreateEditButton runs
  // as the base's while the base constructor runs).
  void ReplaceEditButton();
  // Layout and state of the button strip.
  void LayoutEditButtons();
  void UpdateEditButtonsState();
  void EditButtonsChanged();
  void UpdateBorderActive();
  void UpdateEditRect();
  TEditButtonZk* FindButtonByShortCut(TShortCut ShortCut, int& Index);
  // The MRU drop-down.
  TWinControl* GetMRUListControl();
  void MRUListDropDown();
  void MRUListCloseUp(bool Accept);
  void MRUListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  bool MRUDroppedDown() const;
  // The text without posting, under the guard that tells descendants it is not the user's.
  void SetEditTextNoCheck(const String& Value) { SetEditText(Value); }
  // Writes the text through the mask (Text of the masked edit), no posting.
  void SetMaskedText(const String& Value);
  TRect GetTextMargins();
  void PaintEditImage(TCanvas* ACanvas);
  // The edit link data-change callback: DataChanged and the buttons' state.
  void DataChangedAndButtons();
  bool IsFocusedForEdit() const { return FFocused; }
  // OnUpdateData with Handled; FDataPosting meanwhile.
  bool DoUpdateData();
  bool DataPosting() const { return FDataPosting; }
  // Puts a bound editor's dataset into edit state (not data-independent, not without source).
  void EditDataSet();
  // Runs Action; on an exception the link reloads and the exception goes on.
  template <class F>
  void PostOrReset(F Action);
  // Whether P (client coordinates) lies on the button strip or the image.
  bool IsOverButtonsOrImage(TPoint P);
  // Whether Sender is Window or lies inside it (nullptr is nowhere).
  static bool ControlWithin(const TControl* Sender, const TControl* Window);
  bool IsOwnOrChildControl(TControl* Sender) const { return ControlWithin(Sender, this); }
  // Sets the text without posting while Guard tells the change notice it is the editor's own.
  void SetTextGuarded(const String& Value, bool& Guard);
  // After a drop-down closed: the capture is cancelled and WM_USER + 102 is posted to the
  // editor with the main button's Tag.
  void CancelCaptureForCloseUp();
  void PostDropDownClosed();
  // A press on an edit button dragged into the dropped list's Area (the list's client
  // coordinates) becomes a press there: the button lets the mouse go and the list takes it.
  // MainOnly: only a drag that began on the main button counts.
  void PassButtonDragToList(TObject* Sender, int X, int Y, TControl* List, const TRect& Area,
                            bool MainOnly);

  std::unique_ptr<TFieldDataLinkZk> FDataLink;
  bool FDroppedDown = false;
  bool FNoClickCloseUp = false;
  TEditButtonControlList FEditButtonControlList;
  int FDownButton = 0;
  TDBEditZkValues FAssignedValues;
  TAlignment FAlignment = taLeftJustify;
  IInplaceEditHolderZk* FIntfInplaceEditHolder = nullptr;

private:
  void WMSetFocusMessage(TMessage& Message);
  void WMKillFocusMessage(TMessage& Message);
  void CMEnterMessage(TMessage& Message);
  void CMExitMessage(TMessage& Message);
  void CMCancelModeMessage(TMessage& Message);
  void WantSpecialKeyMessage(TMessage& Message);
  void GetDlgCodeMessage(TMessage& Message);
  void HintShowMessage(TMessage& Message);
  void MouseWheelMessage(TMessage& Message);
  void CharMessage(TMessage& Message);
  bool RouteKeyToMRUList(TMessage& Message);
  void InternalMove(const TRect& Loc, bool Redraw);
  void ConfigureButtonControl(TEditButtonControlLineRec& Rec, TEditButtonZk* Button, int Index,
                              int EditButtonHeight, int& MinHeight);
  void PopupDropdownMenu(TEditButtonZk* Button, TEditButtonControlZk* Control);
  void CreateEditButtonLine(TEditButtonControlLineRec& Rec);

  bool FAlwaysShowBorder = false;
  std::unique_ptr<TEditButtonZk> FEditButton;
  std::unique_ptr<TEditButtonsZk> FEditButtons;
  std::unique_ptr<TEditImageZk> FEditImage;
  std::unique_ptr<TMRUListZk> FMRUList;
  TWinControl* FMRUListControl = nullptr;
  String FCompleteKeyPress;
  bool FFlat = false;
  bool FHighlightRequired = false;
  bool FReadOnly = false;
  bool FShowHint = false;
  bool FTooltips = false;
  bool FWantReturns = false;
  bool FWantTabs = false;
  bool FWordWrap = false;
  bool FBorderActive = false;
  int FButtonHeight = 0;
  int FButtonWidth = 0;
  bool FDataPosting = false;
  bool FFocused = false;
  int FImageWidth = 0;
  TWinControl* FInplaceEditHolder = nullptr;
  bool FInplaceMode = false;
  bool FMouseAboveControl = false;
  TButtonClickEventZk FOnButtonClick;
  TButtonDownEventZk FOnButtonDown;
  TOnCheckDrawRequiredStateEventZk FOnCheckDrawRequiredState;
  TGetImageIndexEventZk FOnGetImageIndex;
  TUpdateDataEventZk FOnUpdateData;
};

class TDBEditZk : public TCustomDBEditZk {
  VORENTA_CLASS(TDBEditZk, TCustomDBEditZk)
public:
  explicit TDBEditZk(TComponent* AOwner) : TCustomDBEditZk(AOwner) {}
};

template <class F>
void TCustomDBEditZk::PostOrReset(F Action) {
  try {
    Action();
  } catch (...) {
    FDataLink->Reset();
    throw;
  }
}

// ============================================================================================
// Date routines and the date-time edit
// ============================================================================================

// Where one element of a date-time format lies in the edit text (Pos 1-based).
struct TElementMaskPosZk {
  int Pos = -1;
  int Length = -1;
  bool Present = false;
};
struct TDateTimeElementsMaskPosZk {
  TElementMaskPosZk Year, Month, Day, Hour, Min, Sec;
};
// The red dotted line under the text of an editor whose required value is empty.
void DrawRequiredStateMark(TCanvas* ACanvas, const TRect& EditRect, int ClientHeight);

// Year, month, day, hour, minute, second; -1 is "missing".
struct TDateTimePartsZk {
  int Y = -1, M = -1, D = -1, H = -1, N = -1, S = -1;
  friend bool operator==(const TDateTimePartsZk&, const TDateTimePartsZk&) = default;
};

// Two-digit years land in the 100 years from CurrentYear - 60.
int ExpandTwoDigitYear(int Y);
int DaysInMonthOf(int Y, int M);
void FixDateParts(int& Y, int& M, int& D);
void FixTimeParts(int& H, int& N, int& S);
enum TDateOrderZk { doMDYZk, doDMYZk, doYMDZk };
TDateOrderZk ShortDateOrder(const String& Format);
String DefaultDateEditFormat(bool FourDigitYear);
String DefaultTimeEditFormat();
bool TryEncodeDateTimeParts(const TDateTimePartsZk& Parts, TDateTime& Value);
TDateTimePartsZk DecodeDateTimeParts(TDateTime Value);
TDateTimePartsZk VariantToDateTimeParts(const Variant& Value);
void ReplaceTimeOf(TDateTime& Date, TDateTime Time);
int ParseElementNumber(const String& Text);
// The edit mask ("!" + mask + ";1; ") and the element positions of an EditFormat; raises
// Exception with the format error texts.
String ParseDateTimeEditFormat(const String& EditFormat, TDateTimeElementsMaskPosZk& Positions);
String EditFormatToDisplayFormat(const String& EditFormat);
String EditFormatToElementTemplate(const String& EditFormat);
TDateTimePartsZk ReadDateTimeParts(const String& Text, const TDateTimeElementsMaskPosZk& Pos);
bool ApplyDateTimeParts(TDateTimePartsZk Parts, const TDateTimeElementsMaskPosZk& Positions,
                        Variant& Value, bool FillFromToday);
// Steps the element of Template at Pos (1-based) up or down; Pos and Len become its start and
// length. Text unchanged when Pos does not lie on an element.
String StepDateTimeElement(const String& Text, const String& Template, bool Up, int& Pos,
                           int& Len);
// The element of Template at Pos (1-based; a separator moves to the next character): its
// start and length, false when there is none.
bool FindDateElementAt(const String& Template, int Pos, int& ElementPos, int& Len);

VORENTA_ENUM(TDateTimeKindZk, dtkDateZk, dtkTimeZk, dtkDateTimeZk, dtkCustomZk);

class TCustomDBDateTimeEditZk : public TCustomDBEditZk {
  VORENTA_CLASS(TCustomDBDateTimeEditZk, TCustomDBEditZk)
public:
  explicit TCustomDBDateTimeEditZk(TComponent* AOwner);
  ~TCustomDBDateTimeEditZk() override;

  bool CalendarVisible() const { return FCalendarVisible; }
  const String& DateTimeFormat() const { return FDateTimeFormat; }
  const String& EditFormat() const { return FEditFormat; }
  void SetEditFormat(const String& Value);
  TDateTimeKindZk Kind() const { return FKind; }
  void SetKind(TDateTimeKindZk Value);
  const TDateTimeElementsMaskPosZk& MaskPositions() const { return FDateTimeMaskPos; }
  TWinControl* DropDownCalendar() const { return FDropDownCalendar; }
  const TCloseUpEventZk& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TCloseUpEventZk Value) { FOnCloseUp = std::move(Value); }
  const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent Value) { FOnDropDown = std::move(Value); }
  bool IsEditFormatStored() const { return FKind == dtkCustomZk; }
  bool IsKindStored() const { return FKind != dtkCustomZk; }

  void ValidateEdit() override;
  void CloseUp(bool Accept) override;
  void DropDown() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  virtual void UpdateFourDigitYear();
  virtual void UpdateMask();

  TEditButtonZk* CreateEditButton() override;
  Variant GetVariantValue() override;
  void ButtonDownDropDown(bool LowerPart) override;
  void DataChanged() override;
  void InternalSetText(const String& AText) override;
  void InternalSetValue(const Variant& AValue) override;
  void InternalUpdatePostData() override;
  void FilterMRUItem(const String& AText, bool& Accept) override;
  String GetDisplayTextForPaintCopy() override;
  void EditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) override;

protected:
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void StepElementAtCaret(bool Up);

private:
  TWinControl* GetDropDownCalendar();
  void SetTextInternally(const String& Value);
  void UpdateValueFromText();
  bool WheelStep(bool Up);
  bool CalendarContains(HWND Wnd) const;

  bool FCalendarVisible = false;
  TWinControl* FDropDownCalendar = nullptr;
  bool FEditValidating = false;
  bool FInternalTextSetting = false;
  TDateTimeKindZk FKind = dtkDateZk;
  Variant FValue;
  TCloseUpEventZk FOnCloseUp;
  TNotifyEvent FOnDropDown;
  String FEditFormat;
  String FDateTimeFormat;
  TDateTimeElementsMaskPosZk FDateTimeMaskPos;
  bool FFourDigitYear = true;
};

class TDBDateTimeEditZk : public TCustomDBDateTimeEditZk {
  VORENTA_CLASS(TDBDateTimeEditZk, TCustomDBDateTimeEditZk)
public:
  explicit TDBDateTimeEditZk(TComponent* AOwner) : TCustomDBDateTimeEditZk(AOwner) {}
};

// ============================================================================================
// Number routines and the number edit
// ============================================================================================

// Only the locale's decimal separator, + - 0-9 E e; a lone sign is 0.
bool TextToFloatCheck(const String& Text, Extended& Value);
String InsertThousandSeparators(const String& Text, bool Group);
String DefaultCurrencyEditFormat();
String NormalizeNumberText(const String& Text);
String DisplayFormatToEditFormat(const String& DisplayFormat);
// Clamps X into [MinValue, MaxValue] by the editor's rules and rounds it to DecimalPlaces
// (halves to even). X comes back unchanged when it is not finite or too large to round
// through a 64-bit integer.
Extended CheckNumberValue(Extended X, Extended MinValue, Extended MaxValue, unsigned DecimalPlaces);

VORENTA_ENUM(TDBNumberValue, evDisplayFormatZk, evCurrencyZk, evMaxValueZk, evMinValueZk);
VORENTA_SET(TDBNumberValues, TDBNumberValue);

class TCustomDBNumberEditZk : public TCustomDBEditZk {
  VORENTA_CLASS(TCustomDBNumberEditZk, TCustomDBEditZk)
public:
  explicit TCustomDBNumberEditZk(TComponent* AOwner);
  ~TCustomDBNumberEditZk() override;

  bool CalculatorVisible() const { return FCalculatorVisible; }
  bool currency() const;
  void SetCurrency(bool Value);
  unsigned DecimalPlaces() const { return FDecimalPlaces; }
  void SetDecimalPlaces(unsigned Value);
  String DisplayFormat() const;
  void SetDisplayFormat(const String& Value);
  const String& EditFormat() const { return FEditFormat; }
  Extended Increment() const { return FIncrement; }
  void SetIncrement(Extended Value) { FIncrement = Value; }
  Extended MaxValue() const;
  void SetMaxValue(Extended Value);
  Extended MinValue() const;
  void SetMinValue(Extended Value);
  String DisplayText() { return GetDisplayText(); }
  TDBNumberValues NumberAssignedValues() const { return FNumberAssignedValues; }
  TWinControl* DropDownCalculator() const { return FDropDownCalculator; }
  const TCloseUpEventZk& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TCloseUpEventZk Value) { FOnCloseUp = std::move(Value); }
  const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent Value) { FOnDropDown = std::move(Value); }
  bool IsIncrementStored() const { return FIncrement != 1; }
  bool IsCurrencyStored() const { return FNumberAssignedValues.Contains(evCurrencyZk); }
  bool IsDisplayFormatStored() const {
    return FNumberAssignedValues.Contains(evDisplayFormatZk);
  }
  bool IsMaxValueStored() const { return FNumberAssignedValues.Contains(evMaxValueZk); }
  bool IsMinValueStored() const { return FNumberAssignedValues.Contains(evMinValueZk); }

  Extended CheckValue(Extended X) const;
  String FormatValue(Extended X) const;
  void IncrementValue(bool IsIncrease);

  void CloseUp(bool Accept) override;
  void DropDown() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  virtual String GetDisplayText();
  virtual TWinControl* GetDropDownCalculator();
  virtual void ReformatTypedText(const String& AText);

  TEditButtonZk* CreateEditButton() override;
  TAlignment DefaultAlignment() override;
  Variant GetVariantValue() override;
  bool IsValidChar(Char Key) override;
  void DataChanged() override;
  void InternalSetText(const String& AText) override;
  void InternalSetValue(const Variant& AValue) override;
  void InternalUpdatePostData() override;
  void ButtonDownDropDown(bool LowerPart) override;

protected:
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void CreateParams(TCreateParams& Params) override;
  void EditPaste() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  void SetTextInternally(const String& Value);
  void UpdateValueFromText();
  bool WheelStep(bool Up);
  bool CalculatorContains(HWND Wnd) const;

  TDBNumberValues FNumberAssignedValues;
  bool FCalculatorVisible = false;
  bool FCurrency = false;
  unsigned FDecimalPlaces = 2;
  String FDisplayFormat;
  TWinControl* FDropDownCalculator = nullptr;
  String FEditFormat;
  Extended FIncrement = 1;
  bool FInternalTextSetting = false;
  Extended FMinValue = 0, FMaxValue = 0;
  TCloseUpEventZk FOnCloseUp;
  TNotifyEvent FOnDropDown;
  Variant FValue;
};

class TDBNumberEditZk : public TCustomDBNumberEditZk {
  VORENTA_CLASS(TDBNumberEditZk, TCustomDBNumberEditZk)
public:
  explicit TDBNumberEditZk(TComponent* AOwner) : TCustomDBNumberEditZk(AOwner) {}
};

// ============================================================================================
// Combo box
// ============================================================================================

VORENTA_ENUM(TDropDownAlign, daLeft, daRight, daCenter);

// The combo box's drop-down settings.
class TDropDownBoxZk : public TPersistent {
  VORENTA_CLASS(TDropDownBoxZk, TPersistent)
public:
  TDropDownBoxZk() = default;
  void Assign(TPersistent* Source) override;
  TDropDownAlign Align() const { return FAlign; }
  void SetAlign(TDropDownAlign Value) { FAlign = Value; }
  bool AutoDrop() const { return FAutoDrop; }
  void SetAutoDrop(bool Value) { FAutoDrop = Value; }
  int Rows() const { return FRows; }
  void SetRows(int Value) { FRows = Value; }
  bool Sizable() const { return FSizable; }
  void SetSizable(bool Value) { FSizable = Value; }
  // 0 (or below 1): the combo box's width; -1: the widest item text.
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }

private:
  TDropDownAlign FAlign = daLeft;
  bool FAutoDrop = false;
  int FRows = 0;
  bool FSizable = false;
  int FWidth = 0;
};

using TNotInListEventZk =
    std::function<void(TObject* Sender, const String& NewText, bool& RecheckInList)>;
using TListGetImageIndexEventZk2 =
    std::function<void(TObject* Sender, int ItemIndex, int& ImageIndex)>;

class TCustomDBComboBoxZk : public TCustomDBEditZk {
  VORENTA_CLASS(TCustomDBComboBoxZk, TCustomDBEditZk)
public:
  explicit TCustomDBComboBoxZk(TComponent* AOwner);
  ~TCustomDBComboBoxZk() override;

  TDropDownBoxZk* DropDownBox() const { return FDropDownBox.get(); }
  void SetDropDownBox(TDropDownBoxZk* Value) { FDropDownBox->Assign(Value); }
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  TStrings* KeyItems() const;
  void SetKeyItems(TStrings* Value);
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int ItemsCount() const { return FItemsCount; }
  bool KeyBased() const { return FKeyBased; }
  bool ListVisible() const { return FListVisible; }
  // The popup list (created on first use), for item objects.
  TPopupListboxZk* PopupListbox();
  // nullptr: TPopupListboxZk; otherwise a class derived from it (others are refused).
  TClass PopupListboxClass() const { return FPopupListboxClass; }
  void SetPopupListboxClass(TClass Value);

  const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent Value) { FOnDropDown = std::move(Value); }
  const TAcceptEventZk& OnClosingUp() const { return FOnClosingUp; }
  void SetOnClosingUp(TAcceptEventZk Value) { FOnClosingUp = std::move(Value); }
  const TCloseUpEventZk& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TCloseUpEventZk Value) { FOnCloseUp = std::move(Value); }
  const TNotInListEventZk& OnNotInList() const { return FOnNotInList; }
  void SetOnNotInList(TNotInListEventZk Value) { FOnNotInList = std::move(Value); }
  const TNotifyEvent& OnGetItemsList() const { return FOnGetItemsList; }
  void SetOnGetItemsList(TNotifyEvent Value) { FOnGetItemsList = std::move(Value); }
  const TListGetImageIndexEventZk2& OnGetItemImageIndex() const { return FOnGetItemImageIndex; }
  void SetOnGetItemImageIndex(TListGetImageIndexEventZk2 Value) {
    FOnGetItemImageIndex = std::move(Value);
  }

  void SelectNextValue(bool IsPrior);
  void DropDown() override;
  void CloseUp(bool Accept) override;
  void UpdateData() override;
  void Clear() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // The five operations the combo box adds.
  virtual TDropDownBoxZk* CreateDropDownBox();
  virtual bool LocateStr(const String& Str, bool Partial);
  virtual bool AutoCompleteText(const String& Str);
  virtual void EnsureItemsList();
  virtual void InternalSetItemIndex(int Index);

  TEditButtonZk* CreateEditButton() override;
  TAlignment DefaultAlignment() override;
  int DefaultImageIndex() override;
  void UpdateImageIndex() override;
  Variant GetVariantValue() override;
  bool IsValidChar(Char Key) override;
  void ButtonDownDropDown(bool LowerPart) override;
  void EditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) override;
  void DataChanged() override;
  void InternalSetText(const String& AText) override;
  void InternalSetValue(const Variant& AValue) override;
  void InternalUpdatePostData() override;
  void ResetMaxLength() override;
  void UpdateReadOnlyState() override;
  String GetDisplayTextForPaintCopy() override;

protected:
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EditPaste() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  void UpdateItemsCount();
  void ItemsChanged();
  void KeyItemsChanged();
  void SyncItemIndexWithText();
  void ListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ListGetImageIndex(TObject* Sender, int ItemIndex, int& ImageIndex);
  int CalcItemsWidth();
  bool WheelStep(bool Prior);
  void ListSelectionFollows();
  bool CanStep();

  std::unique_ptr<TDropDownBoxZk> FDropDownBox;
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TStringList> FKeyItems;
  int FItemIndex = -1;
  int FItemsCount = 0;
  bool FKeyBased = false;
  Variant FVarValue;
  int FDefaultItemIndex = -1;
  bool FListVisible = false;
  TPopupListboxZk* FPopupListbox = nullptr;
  TClass FPopupListboxClass = nullptr;
  TNotifyEvent FOnDropDown;
  TAcceptEventZk FOnClosingUp;
  TCloseUpEventZk FOnCloseUp;
  TNotInListEventZk FOnNotInList;
  TNotifyEvent FOnGetItemsList;
  TListGetImageIndexEventZk2 FOnGetItemImageIndex;
};

class TDBComboBoxZk : public TCustomDBComboBoxZk {
  VORENTA_CLASS(TDBComboBoxZk, TCustomDBComboBoxZk)
public:
  explicit TDBComboBoxZk(TComponent* AOwner) : TCustomDBComboBoxZk(AOwner) {}
};

// ============================================================================================
// Check box
// ============================================================================================

// Whether Text is one of the ';' separated, trimmed items of List (locale, ignoring case); a
// list ending with ';' also matches the empty text.
bool ValueInList(const String& List, const String& Text);

class TCustomDBCheckBoxZk : public TButtonControl {
  VORENTA_CLASS(TCustomDBCheckBoxZk, TButtonControl)
public:
  explicit TCustomDBCheckBoxZk(TComponent* AOwner);
  ~TCustomDBCheckBoxZk() override;

  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
  void SetAlwaysShowBorder(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return GetChecked(); }
  void SetChecked(bool Value) override;
  const String& ValueChecked() const { return FValueCheck; }
  void SetValueChecked(const String& Value);
  const String& ValueUnchecked() const { return FValueUncheck; }
  void SetValueUnchecked(const String& Value);
  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value);
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  bool Modified() const { return FModified; }
  TFieldDataLinkZk* DataLink() const { return FDataLink.get(); }
  const TUpdateDataEventZk& OnUpdateData() const { return FOnUpdateData; }
  void SetOnUpdateData(TUpdateDataEventZk Value) { FOnUpdateData = std::move(Value); }
  bool IsStateStored() const;

  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;
  void Dispatch(TMessage& Message) override;

  virtual void PaintControl();
  virtual bool IsDataIndepended();
  virtual void PaintCaption(TRect Rect, bool Focused, bool Hot, bool Pressed);
  virtual void PaintCheckSquare(TRect Rect, TCheckBoxState State, bool Focused, bool Hot,
                                bool Pressed);
  virtual void PaintState(TCheckBoxState State, bool Focused, bool Hot, bool Pressed);
  virtual void InternalSetState(TCheckBoxState Value);
  virtual void InternalUpdatePostData();
  virtual void Toggle();
  virtual void UpdateData();

  // The state the data shows.
  TCheckBoxState GetStateFromData();

protected:
  bool GetChecked() const override { return FState == cbChecked; }
  void Click() override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintWindow(HDC DC) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void DataChange();
  bool DoUpdateData();
  bool TakeFocusFirst();
  void CMExitMessage(TMessage& Message);
  // The canvas painting goes to: the paint target while painting.
  TCanvas* PaintCanvas() const;
  HDC FPaintDC = nullptr;

  TLeftRight FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  bool FAlwaysShowBorder = false;
  bool FFlat = false;
  TCheckBoxState FState = cbUnchecked;
  String FValueCheck = u"True";
  String FValueUncheck = u"False";
  std::unique_ptr<TFieldDataLinkZk> FDataLink;
  bool FModified = false;
  TUpdateDataEventZk FOnUpdateData;
  bool FMouseAboveControl = false;
  bool FToggleKeyDown = false;
  bool FMousePressed = false;
  bool FMouseInside = false;
  bool FDataPosting = false;
};

class TDBCheckBoxZk : public TCustomDBCheckBoxZk {
  VORENTA_CLASS(TDBCheckBoxZk, TCustomDBCheckBoxZk)
public:
  explicit TDBCheckBoxZk(TComponent* AOwner) : TCustomDBCheckBoxZk(AOwner) {}
};

// The unit's classes for the stream reader and the script engine; the toolkit's start calls it.
void RegisterDBCtrlsZkClasses();
