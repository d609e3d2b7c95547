// DBCtrlsZkEdit.cpp - the data-aware edit's model: creation, property setters, the value and
// text round trip, posting, the read-only rules, focus and window creation.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "gridlib/toolkit/DBCtrlsZk_p.h"

#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"

namespace {

bool IsStringField(const TField* Field) {
  return Field && (Field->DataType() == ftString || Field->DataType() == ftWideString);
}

bool IsMemoField(const TField* Field) { return dynamic_cast<const TMemoField*>(Field) != nullptr; }

// The value as text; an array gives the empty text.
String VariantText(const Variant& V) { return VarIsArray(V) ? String() : VarToStrNullEmpty(V); }

}  // namespace

// --- creation -------------------------------------------------------------------------------------

TCustomDBEditZk::TCustomDBEditZk(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csReplicatable});
  FDataLink.reset(CreateDataLink());
  FDataLink->SetControl(this);
  FDataLink->OnDataChange = [this](TObject*) { DataChangedAndButtons(); };
  FDataLink->OnEditingChange = [this](TObject*) { EditingChanged(); };
  FDataLink->OnUpdateData = [this](TObject*) { UpdateData(); };
  FDataLink->OnActiveChange = [this](TObject*) { ActiveChanged(); };
  ReplaceEditButton();
  FEditButtons.reset(CreateEditButtons());
  FEditButtons->SetOnChanged([this](TObject*) { EditButtonsChanged(); });
  FEditImage.reset(CreateEditImage());
  FMRUList = std::make_unique<TMRUListZk>(this);
  FMRUList->SetOnSetDropDown([this](TObject*) { MRUListDropDown(); });
  FMRUList->SetOnSetCloseUp([this](TObject*, bool Accept) { MRUListCloseUp(Accept); });
  UpdateReadOnlyState();
  UpdateImageIndex();
}

TCustomDBEditZk::~TCustomDBEditZk() {
  // The link calls back into the editor: detach it before the members go.
  FDataLink->OnDataChange = nullptr;
  FDataLink->OnEditingChange = nullptr;
  FDataLink->OnUpdateData = nullptr;
  FDataLink->OnActiveChange = nullptr;
  FDataLink->SetDataSource(nullptr);
  FEditImage.reset();
  FEditButton.reset();
  FEditButtons.reset();
}

void TCustomDBEditZk::ReplaceEditButton() {
  FEditButton.reset(CreateEditButton());
  FEditButton->SetOnChanged([this](TObject*) { EditButtonsChanged(); });
  EditButtonsChanged();
}

bool TCustomDBEditZk::ButtonsEnabled() { return Enabled() && FDataLink->Active(); }

TFieldDataLinkZk* TCustomDBEditZk::CreateDataLink() { return new TFieldDataLinkZk(); }

TEditButtonZk* TCustomDBEditZk::CreateEditButton() { return new TEditButtonZk(this); }

TEditButtonControlZk* TCustomDBEditZk::CreateEditButtonControl() {
  auto* Control = new TEditButtonControlZk(this);
  Control->SetControlStyle(Control->ControlStyle() + TControlStyle{csReplicatable});
  Control->SetParent(this);
  Control->SetWidth(10);
  Control->SetHeight(17);
  Control->SetVisible(true);
  Control->SetTransparent(false);
  return Control;
}

TEditButtonsZk* TCustomDBEditZk::CreateEditButtons() {
  return new TEditButtonsZk(this, TVisibleEditButtonZk::ClassInfo());
}

TEditImageZk* TCustomDBEditZk::CreateEditImage() { return new TEditImageZk(this); }

TWinControl* TCustomDBEditZk::CreateMRUListbox() {
  auto* List = new TMRUListboxZk(this);
  List->SetVisible(false);
  List->SetCtl3D(false);
  List->SetSorted(true);
  List->SetOnMouseUp([this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                            int Y) { MRUListMouseUp(Sender, Button, Shift, X, Y); });
  return List;
}

bool TCustomDBEditZk::IsDataIndepended() { return FDataLink->DataIndepended(); }

TAlignment TCustomDBEditZk::DefaultAlignment() {
  return Field() ? Field()->Alignment() : taLeftJustify;
}

String TCustomDBEditZk::DefaultEditMask() { return Field() ? Field()->EditMask() : String(); }

int TCustomDBEditZk::DefaultImageIndex() { return -1; }

String TCustomDBEditZk::GetDataField() const { return FDataLink->FieldName(); }

TDataSource* TCustomDBEditZk::GetDataSource() const { return FDataLink->DataSource(); }

Variant TCustomDBEditZk::GetVariantValue() { return Variant(Text()); }

bool TCustomDBEditZk::IsValidChar(Char Key) { return Field() ? Field()->IsValidChar(Key) : true; }

void TCustomDBEditZk::ActiveChanged() {
  ResetMaxLength();
  UpdateEditButtonsState();
}

// --- properties -----------------------------------------------------------------------------------

TAlignment TCustomDBEditZk::Alignment() const {
  if (FAssignedValues.Contains(evAlignmentZk)) return FAlignment;
  return const_cast<TCustomDBEditZk*>(this)->DefaultAlignment();
}

void TCustomDBEditZk::SetAlignment(TAlignment Value) {
  if (FAssignedValues.Contains(evAlignmentZk) && Value == FAlignment) return;
  FAlignment = Value;
  FAssignedValues << evAlignmentZk;
  if (!ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomDBEditZk::SetAlwaysShowBorder(bool Value) {
  if (Value == FAlwaysShowBorder) return;
  FAlwaysShowBorder = Value;
  UpdateBorderActive();
}

void TCustomDBEditZk::SetEditButton(TEditButtonZk* Value) { FEditButton->Assign(Value); }

void TCustomDBEditZk::SetEditButtons(TEditButtonsZk* Value) { FEditButtons->Assign(Value); }

void TCustomDBEditZk::SetMRUList(TMRUListZk* Value) { FMRUList->Assign(Value); }

void TCustomDBEditZk::SetEditMask(const String& Value) {
  if (FAssignedValues.Contains(evEditMaskZk) && Value == EditMask()) return;
  const bool Loading = ComponentState().Contains(csLoading);
  String Kept;
  if (Loading && IsDataIndepended()) Kept = Text();
  TCustomMaskEdit::SetEditMask(Value);
  FAssignedValues << evEditMaskZk;
  if (Loading && !Kept.empty()) InternalSetText(Kept);
  if (IsDataIndepended()) InternalUpdatePostData();
  else DataChangedAndButtons();
}

void TCustomDBEditZk::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  RecreateWnd();
}

void TCustomDBEditZk::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TCustomDBEditZk::SetPasswordChar(Char Value) {
  if (Value == PasswordChar()) return;
  TCustomMaskEdit::SetPasswordChar(Value);
  RecreateWnd();
}

void TCustomDBEditZk::SetAutoSize(bool Value) {
  if (Value == AutoSize()) return;
  TCustomMaskEdit::SetAutoSize(Value);
  UpdateHeight();
}

void TCustomDBEditZk::SetHighlightRequired(bool Value) {
  if (Value == FHighlightRequired) return;
  FHighlightRequired = Value;
  Invalidate();
}

TCustomImageList* TCustomDBEditZk::Images() const { return FEditImage->Images(); }

void TCustomDBEditZk::SetImages(TCustomImageList* Value) {
  FEditImage->SetImages(Value);
  FEditImage->SetVisible(true);
}

void TCustomDBEditZk::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  EditingChanged();
}

void TCustomDBEditZk::SetShowHint(bool Value) {
  if (Value == FShowHint) return;
  FShowHint = Value;
  UpdateHintProcessing();
}

void TCustomDBEditZk::SetTooltips(bool Value) {
  if (Value == FTooltips) return;
  FTooltips = Value;
  UpdateHintProcessing();
}

void TCustomDBEditZk::SetOnGetImageIndex(TGetImageIndexEventZk Value) {
  FOnGetImageIndex = std::move(Value);
  UpdateImageIndex();
}

void TCustomDBEditZk::SetDataSource(TDataSource* Value) {
  if (!(FDataLink->DataSourceFixed() && ComponentState().Contains(csLoading)))
    FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  DataChangedAndButtons();
  Invalidate();
}

void TCustomDBEditZk::SetDataField(const String& Value) {
  if (!ComponentState().Contains(csDesigning)) ResetMaxLength();
  FDataLink->SetFieldName(Value);
  UpdateEditButtonsState();
  Invalidate();
}

bool TCustomDBEditZk::IsTextStored() const {
  return FDataLink->DataIndepended() && !Text().empty();
}

bool TCustomDBEditZk::IsValueStored() const {
  return FDataLink->DataIndepended() &&
         !VarIsNull(const_cast<TCustomDBEditZk*>(this)->GetVariantValue());
}

// --- loading and notifications --------------------------------------------------------------------

void TCustomDBEditZk::Loaded() {
  TCustomMaskEdit::Loaded();
  ResetMaxLength();
  if (ComponentState().Contains(csDesigning)) DataChangedAndButtons();
  UpdateBorderActive();
}

void TCustomDBEditZk::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FDataLink && AComponent == DataSource()) {
    SetDataSource(nullptr);
  } else if (auto* Menu = dynamic_cast<TPopupMenu*>(AComponent)) {
    if (FEditButton && FEditButton->DropdownMenu() == Menu) FEditButton->SetDropdownMenu(nullptr);
    if (FEditButtons)
      for (int I = 0; I < FEditButtons->Count(); ++I)
        if (FEditButtons->Items(I)->DropdownMenu() == Menu)
          FEditButtons->Items(I)->SetDropdownMenu(nullptr);
  }
}

// --- data -----------------------------------------------------------------------------------------

void TCustomDBEditZk::ResetMaxLength() {
  if (MaxLength() <= 0 || !DataSource() || !DataSource()->DataSet()) return;
  TField* F = DataSource()->DataSet()->FindField(DataField());
  if (IsStringField(F) && F->Size() == MaxLength()) SetMaxLength(0);
}

void TCustomDBEditZk::SetTextGuarded(const String& Value, bool& Guard) {
  Guard = true;
  try {
    TCustomDBEditZk::InternalSetText(Value);
  } catch (...) {
    Guard = false;
    throw;
  }
  Guard = false;
}

void TCustomDBEditZk::DataChangedAndButtons() {
  DataChanged();
  UpdateEditButtonsState();
}

void TCustomDBEditZk::SetMaskedText(const String& Value) { TControl::SetText(Value); }

void TCustomDBEditZk::DataChanged() {
  if (TField* F = Field()) {
    if (F->Alignment() != FAlignment) Invalidate();
    if (!FAssignedValues.Contains(evEditMaskZk)) TCustomMaskEdit::SetEditMask(F->EditMask());
    if (!ComponentState().Contains(csDesigning) && IsStringField(F) && MaxLength() == 0)
      SetMaxLength(F->Size());
    if (FFocused && FDataLink->CanModify())
      InternalSetText(IsMemoField(F) ? F->AsString() : F->Text());
    else
      SetEditText(IsMemoField(F) ? F->AsString() : F->DisplayText());
  } else {
    if (!FAssignedValues.Contains(evEditMaskZk)) TCustomMaskEdit::SetEditMask(String());
    if (FDataLink->DataIndepended()) SetEditText(VariantText(FDataLink->DataIndependentValue));
    else SetEditText(String());
  }
  UpdateReadOnlyState();
  SetModified(false);
}

void TCustomDBEditZk::InternalSetText(const String& AText) { SetMaskedText(AText); }

void TCustomDBEditZk::InternalSetValue(const Variant& AValue) { InternalSetText(VariantText(AValue)); }

void TCustomDBEditZk::InternalUpdatePostData() {
  if (FDataLink->DataIndepended()) FDataLink->SetText(EditText());
  else FDataLink->SetText(Text());
}

bool TCustomDBEditZk::DoUpdateData() { return FireUpdateData(FOnUpdateData, this, FDataPosting); }

void TCustomDBEditZk::UpdateData() {
  if (FFocused) ValidateEdit();
  if (!DoUpdateData()) InternalUpdatePostData();
  SetModified(false);
  if (FMRUList->Active() && FMRUList->AutoAdd() && Showing()) FMRUList->Add(Text());
}

void TCustomDBEditZk::EditDataSet() {
  // A bound editor without a data source has no dataset to edit: it posts nothing.
  if (FDataLink->DataIndepended()) return;
  if (TDataSet* Set = FDataLink->DataSet()) Set->Edit();
}

void TCustomDBEditZk::SetText(const String& Value) {
  if (ComponentState().Contains(csDesigning) && !FDataLink->DataIndepended()) return;
  EditDataSet();
  // A text that does not convert, or a failing post, reloads the editor before it raises.
  PostOrReset([&] {
    InternalSetText(Value);
    if (!FDataPosting) UpdateData();
  });
}

void TCustomDBEditZk::SetVariantValue(const Variant& Value) {
  if (ComponentState().Contains(csDesigning) && !FDataLink->DataIndepended()) return;
  EditDataSet();
  PostOrReset([&] {
    InternalSetValue(Value);
    if (!FDataPosting) UpdateData();
  });
}

void TCustomDBEditZk::Undo() {
  EditDataSet();
  TCustomMaskEdit::Undo();
  if (!FDataPosting && !FFocused) PostOrReset([this] { UpdateData(); });
}

void TCustomDBEditZk::Clear() { SetText(String()); }

void TCustomDBEditZk::Reset() {
  FDataLink->Reset();
  SelectAll();
}

void TCustomDBEditZk::Deselect() { Perform(EM_SETSEL, 0x7FFFFFFF, -1); }

bool TCustomDBEditZk::EditCanModify() { return FDataLink->Edit(); }

void TCustomDBEditZk::EditingChanged() { UpdateReadOnlyState(); }

void TCustomDBEditZk::UpdateReadOnlyState() {
  bool ReadOnlyWindow = true;
  if (!FReadOnly) {
    ReadOnlyWindow = !FDataLink->Editing();
    if (ReadOnlyWindow && !FDataLink->DataIndepended() && FOnUpdateData &&
        FDataLink->DataSet() && FDataLink->DataSet()->State() == dsEdit)
      ReadOnlyWindow = false;
    if (!ReadOnlyWindow && FInplaceMode && FIntfInplaceEditHolder &&
        !FIntfInplaceEditHolder->InplaceEditCanModify(this))
      ReadOnlyWindow = true;
  }
  TCustomMaskEdit::SetReadOnly(ReadOnlyWindow);
}

void TCustomDBEditZk::Change() {
  FDataLink->Modified();
  SetModified(true);
  TCustomMaskEdit::Change();
  UpdateImageIndex();
}

bool TCustomDBEditZk::ExecuteAction(TBasicAction* Action) {
  return TCustomMaskEdit::ExecuteAction(Action);
}

bool TCustomDBEditZk::UpdateAction(TBasicAction* Action) {
  return TCustomMaskEdit::UpdateAction(Action);
}

// --- focus ----------------------------------------------------------------------------------------

void TCustomDBEditZk::SetFocused(bool Value) {
  if (Value == FFocused) return;
  FFocused = Value;
  if (FAlignment != taLeftJustify && !IsMasked()) Invalidate();
  FDataLink->Reset();
}

void TCustomDBEditZk::CheckCursor() {
  if (!HandleAllocated() || !IsMasked()) return;
  if (SelLength() == 0) SetCursor(std::max(SelStart() - 2, 0));
}

void TCustomDBEditZk::CMEnterMessage(TMessage& Message) {
  SetFocused(true);
  TCustomMaskEdit::Dispatch(Message);
}

void TCustomDBEditZk::CMExitMessage(TMessage& Message) {
  // The masked edit validates, places the caret and fires OnExit; the record is written after.
  TCustomMaskEdit::Dispatch(Message);
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SelectAll();
    SetFocus();
    throw;
  }
  SetFocused(false);
  CheckCursor();
}

void TCustomDBEditZk::SetFocus() {
  if (!FInplaceMode) {
    TCustomMaskEdit::SetFocus();
    return;
  }
  if (HandleAllocated() && IsWindowVisible(this)) ::SetFocus(this);
}

// --- window creation ------------------------------------------------------------------------------

void TCustomDBEditZk::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style &= ~unsigned(ES_LEFT | ES_RIGHT | ES_CENTER);
  if (PasswordChar() == 0) Params.Style |= ES_MULTILINE;
  if (FWordWrap) {
    Params.Style &= ~unsigned(ES_AUTOHSCROLL);
    const TAlignment A = Alignment();
    Params.Style |= A == taRightJustify ? ES_RIGHT : A == taCenter ? ES_CENTER : ES_LEFT;
  }
}

void TCustomDBEditZk::CreateWnd() {
  const bool WasFocused = FFocused;
  TCustomMaskEdit::CreateWnd();
  // The window edits as its style says: left-aligned without WordWrap (right and centred
  // texts are then painted by the editor while it is not focused).
  const unsigned Style = WindowStyle();
  TCustomMaskEdit::SetAlignment((Style & ES_RIGHT)    ? taRightJustify
                                : (Style & ES_CENTER) ? taCenter
                                                      : taLeftJustify);
  UpdateHeight();
  UpdateBorderActive();
  LayoutEditButtons();
  UpdateEditButtonsState();
  FImageWidth = 0;
  if (FEditImage->Visible() && FEditImage->Images())
    FImageWidth = (FEditImage->Width() > 0 ? FEditImage->Width() : FEditImage->Images()->Width()) + 4;
  UpdateImageIndex();
  UpdateEditRect();
  if (WasFocused) UpdateBorderActive();
}

void TCustomDBEditZk::GetEditRect(TRect& Rect) {
  Rect = ClientRect();
  Rect.Right -= FButtonWidth;
  if (FEditImage->Visible() && FEditImage->Images()) Rect.Left += FImageWidth;
}

void TCustomDBEditZk::UpdateEditRect() {
  TRect R;
  GetEditRect(R);
  Perform(EM_SETRECTNP, 0, LPARAM(&R));
  Perform(EM_SCROLLCARET);
}

// --- in place -------------------------------------------------------------------------------------

void TCustomDBEditZk::SetInplaceEditHolder(TWinControl* AInplaceEditHolder) {
  if (AInplaceEditHolder == FInplaceEditHolder) return;
  IInplaceEditHolderZk* Intf = nullptr;
  if (AInplaceEditHolder) {
    Intf = dynamic_cast<IInplaceEditHolderZk*>(AInplaceEditHolder);
    // A refused holder leaves the editor with the holder it had.
    if (!Intf) throw Exception(u"InplaceEditHolder have to support IInplaceEditHolderZk interface");
  }
  FInplaceEditHolder = AInplaceEditHolder;
  FIntfInplaceEditHolder = Intf;
  FInplaceMode = AInplaceEditHolder != nullptr;
}

bool TCustomDBEditZk::Visible() const {
  if (!FInplaceMode) return TCustomMaskEdit::Visible();
  return HandleAllocated() && IsWindowVisible(const_cast<TCustomDBEditZk*>(this));
}

void TCustomDBEditZk::SetVisible(bool Value) {
  if (FInplaceMode && !Value) Hide();
  else TCustomMaskEdit::SetVisible(Value);
}

void TCustomDBEditZk::Hide() {
  if (!FInplaceMode) {
    TCustomMaskEdit::SetVisible(false);
    return;
  }
  if (!HandleAllocated() || !IsWindowVisible(this)) return;
  const bool HadFocus = Focused();
  Invalidate();
  SetWindowPos(this, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOACTIVATE);
  if (HadFocus && FInplaceEditHolder) ::SetFocus(FInplaceEditHolder);
}

void TCustomDBEditZk::Move(const TRect& Loc) {
  if (FInplaceMode) InternalMove(Loc, true);
  else SetBoundsRect(Loc);
}

void TCustomDBEditZk::UpdateLoc(const TRect& Loc) {
  if (FInplaceMode) InternalMove(Loc, false);
  else SetBoundsRect(Loc);
}

void TCustomDBEditZk::InternalMove(const TRect& Loc, bool Redraw) {
  if (Loc.IsEmpty()) {
    Hide();
    return;
  }
  HandleNeeded();
  Redraw = Redraw || !IsWindowVisible(this);
  Invalidate();
  Perform(CM_CANCELMODE, 0, LPARAM(static_cast<TControl*>(FInplaceEditHolder)));
  SetWindowPos(this, HWND_TOP, Loc.Left, Loc.Top, Loc.Width(), Loc.Height(),
               SWP_SHOWWINDOW | SWP_NOREDRAW);
  if (Redraw) Invalidate();
  if (FInplaceEditHolder && FInplaceEditHolder->Focused()) ::SetFocus(this);
}
