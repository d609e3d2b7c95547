// DBCtrlsZkComboBox.cpp - the data-aware combo box: free-text and key-based modes, the popup
// list, auto-completion, stepping through the items and the drop-down settings.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <algorithm>

#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"

namespace {
String VariantText(const Variant& V) {
  if (VarIsArray(V)) return String();
  try {
    return VarToStrNullEmpty(V);
  } catch (const Exception&) {
    // A value that has no text matches no key.
    return String();
  }
}
}  // namespace

// --- TDropDownBoxZk -------------------------------------------------------------------------------

void TDropDownBoxZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TDropDownBoxZk*>(Source)) {
    FAlign = Other->FAlign;
    FRows = Other->FRows;
    FWidth = Other->FWidth;
    FSizable = Other->FSizable;
    return;
  }
  TPersistent::Assign(Source);
}

// --- creation -------------------------------------------------------------------------------------

TCustomDBComboBoxZk::TCustomDBComboBoxZk(TComponent* AOwner)
    : TCustomDBEditZk(AOwner),
      FItems(std::make_unique<TStringList>()),
      FKeyItems(std::make_unique<TStringList>()) {
  FKeyItems->SetCaseSensitive(true);
  FItems->SetOnChange([this](TObject*) { ItemsChanged(); });
  FKeyItems->SetOnChange([this](TObject*) { KeyItemsChanged(); });
  FVarValue = Null();
  FDropDownBox.reset(CreateDropDownBox());
  ReplaceEditButton();
}

TCustomDBComboBoxZk::~TCustomDBComboBoxZk() {
  FItems->SetOnChange(nullptr);
  FKeyItems->SetOnChange(nullptr);
}

TDropDownBoxZk* TCustomDBComboBoxZk::CreateDropDownBox() {
  auto* Box = new TDropDownBoxZk();
  Box->SetRows(7);
  return Box;
}

TEditButtonZk* TCustomDBComboBoxZk::CreateEditButton() { return new TVisibleEditButtonZk(this); }

TStrings* TCustomDBComboBoxZk::Items() const { return FItems.get(); }
void TCustomDBComboBoxZk::SetItems(TStrings* Value) { FItems->Assign(Value); }
TStrings* TCustomDBComboBoxZk::KeyItems() const { return FKeyItems.get(); }
void TCustomDBComboBoxZk::SetKeyItems(TStrings* Value) { FKeyItems->Assign(Value); }

TAlignment TCustomDBComboBoxZk::DefaultAlignment() {
  return FKeyBased ? taLeftJustify : TCustomDBEditZk::DefaultAlignment();
}

int TCustomDBComboBoxZk::DefaultImageIndex() { return FDefaultItemIndex; }

void TCustomDBComboBoxZk::UpdateImageIndex() {
  FDefaultItemIndex = FItemIndex;
  if (FOnGetItemImageIndex) FOnGetItemImageIndex(this, FItemIndex, FDefaultItemIndex);
  TCustomDBEditZk::UpdateImageIndex();
}

Variant TCustomDBComboBoxZk::GetVariantValue() {
  return FKeyBased ? FVarValue : TCustomDBEditZk::GetVariantValue();
}

bool TCustomDBComboBoxZk::IsValidChar(Char Key) {
  return FKeyBased || TCustomDBEditZk::IsValidChar(Key);
}

void TCustomDBComboBoxZk::SetPopupListboxClass(TClass Value) {
  // Only popup list boxes can stand in for the popup list.
  if (Value && !Value->InheritsFrom(TPopupListboxZk::ClassInfo())) return;
  FPopupListboxClass = Value;
}

TPopupListboxZk* TCustomDBComboBoxZk::PopupListbox() {
  if (!FPopupListbox) {
    TComponent* Made = FPopupListboxClass ? FPopupListboxClass->CreateComponent(this) : nullptr;
    FPopupListbox = Made ? dynamic_cast<TPopupListboxZk*>(Made) : new TPopupListboxZk(this);
    FPopupListbox->SetVisible(false);
    FPopupListbox->SetCtl3D(true);
    FPopupListbox->SetOnMouseUp([this](TObject* S, TMouseButton B, TShiftState Sh, int X,
                                       int Y) { ListMouseUp(S, B, Sh, X, Y); });
    FPopupListbox->SetOnGetImageIndex(
        [this](TObject* S, int I, int& Image) { ListGetImageIndex(S, I, Image); });
  }
  return FPopupListbox;
}

// --- counting and mode ----------------------------------------------------------------------------

void TCustomDBComboBoxZk::UpdateItemsCount() {
  FItemsCount = FItems->Count();
  FKeyBased = FKeyItems->Count() > 0;
  if (FKeyBased) {
    FItemsCount = std::min(FItems->Count(), FKeyItems->Count());
    SetEditTextNoCheck(String());
  }
  UpdateReadOnlyState();
}

void TCustomDBComboBoxZk::ListSelectionFollows() {
  if (FListVisible && FPopupListbox) FPopupListbox->SetItemIndex(FItemIndex);
}

void TCustomDBComboBoxZk::SyncItemIndexWithText() {
  FItemIndex = FItems->IndexOf(Text());
  ListSelectionFollows();
  UpdateImageIndex();
}

void TCustomDBComboBoxZk::ItemsChanged() {
  UpdateItemsCount();
  SyncItemIndexWithText();
  ResetMaxLength();
}

void TCustomDBComboBoxZk::KeyItemsChanged() {
  UpdateItemsCount();
  SyncItemIndexWithText();
  ResetMaxLength();
  DataChangedAndButtons();
}

void TCustomDBComboBoxZk::EnsureItemsList() {
  if (FItems->Count() == 0 && FOnGetItemsList) FOnGetItemsList(this);
}

// --- selection and value --------------------------------------------------------------------------

void TCustomDBComboBoxZk::InternalSetItemIndex(int Index) {
  if (Index == FItemIndex) return;
  EnsureItemsList();
  if (Index < 0 || Index >= FItemsCount) {
    FItemIndex = -1;
    FVarValue = Null();
  } else {
    FItemIndex = Index;
    if (FKeyBased) FVarValue = Variant(FKeyItems->Strings(Index));
  }
  UpdateImageIndex();
  ListSelectionFollows();
  TCustomDBEditZk::InternalSetText(FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String());
}

void TCustomDBComboBoxZk::SetItemIndex(int Value) {
  if (ComponentState().Contains(csDesigning) && !FDataLink->DataIndepended()) return;
  EditDataSet();
  InternalSetItemIndex(Value);
  PostOrReset([this] { UpdateData(); });
}

void TCustomDBComboBoxZk::InternalSetText(const String& AText) {
  if (!FKeyBased) {
    TCustomDBEditZk::InternalSetText(AText);
    SyncItemIndexWithText();
    return;
  }
  const int I = FItems->IndexOf(AText);
  if (I < 0 || I >= FItemsCount) return;   // not an item: ignored
  FItemIndex = I;
  UpdateImageIndex();
  ListSelectionFollows();
  FVarValue = Variant(FKeyItems->Strings(I));
  TCustomDBEditZk::InternalSetText(AText);
}

void TCustomDBComboBoxZk::InternalSetValue(const Variant& AValue) {
  if (!FKeyBased) {
    TCustomDBEditZk::InternalSetValue(AValue);
    SyncItemIndexWithText();
    return;
  }
  FVarValue = AValue;
  if (VarIsNull(AValue) || VarIsEmpty(AValue)) {
    FItemIndex = -1;
    TCustomDBEditZk::InternalSetText(String());
  } else {
    FItemIndex = FKeyItems->IndexOf(VariantText(AValue));
    TCustomDBEditZk::InternalSetText(FItemIndex >= 0 && FItemIndex < FItemsCount
                                         ? FItems->Strings(FItemIndex)
                                         : String());
  }
  UpdateImageIndex();
  ListSelectionFollows();
}

void TCustomDBComboBoxZk::DataChanged() {
  if (TField* F = Field()) {
    if (F->Alignment() != FAlignment) Invalidate();
    if (!FAssignedValues.Contains(evEditMaskZk)) TCustomMaskEdit::SetEditMask(F->EditMask());
    if (!ComponentState().Contains(csDesigning) && !FKeyBased && MaxLength() == 0 &&
        (F->DataType() == ftString || F->DataType() == ftWideString))
      SetMaxLength(F->Size());
    if ((IsFocusedForEdit() && FDataLink->CanModify()) || FKeyBased)
      InternalSetValue(Variant(F->Text()));
    else
      SetEditTextNoCheck(F->DisplayText());
  } else if (FDataLink->DataIndepended()) {
    if (!FAssignedValues.Contains(evEditMaskZk)) TCustomMaskEdit::SetEditMask(String());
    if (FKeyBased) InternalSetValue(FDataLink->DataIndependentValue);
    else SetEditTextNoCheck(VariantText(FDataLink->DataIndependentValue));
  } else {
    if (!FAssignedValues.Contains(evEditMaskZk)) TCustomMaskEdit::SetEditMask(String());
    SetEditTextNoCheck(String());
  }
  UpdateReadOnlyState();
  SetModified(false);
}

void TCustomDBComboBoxZk::InternalUpdatePostData() {
  if (!FDataLink->DataIndepended() || FKeyBased) FDataLink->SetText(VariantText(GetVariantValue()));
  else FDataLink->SetText(EditText());
}

void TCustomDBComboBoxZk::UpdateData() {
  if (FOnNotInList && FItemIndex == -1) {
    bool RecheckInList = false;   // not consulted afterwards
    FOnNotInList(this, Text(), RecheckInList);
  }
  TCustomDBEditZk::UpdateData();
}

void TCustomDBComboBoxZk::ResetMaxLength() {
  if (MaxLength() <= 0) return;
  if (FKeyBased) SetMaxLength(0);
  else TCustomDBEditZk::ResetMaxLength();
}

void TCustomDBComboBoxZk::UpdateReadOnlyState() {
  TCustomDBEditZk::UpdateReadOnlyState();
  if (FKeyBased) TCustomMaskEdit::SetReadOnly(true);
}

void TCustomDBComboBoxZk::Change() {
  TCustomDBEditZk::Change();
  if (!FKeyBased) SyncItemIndexWithText();
}

void TCustomDBComboBoxZk::Clear() {
  if (FKeyBased) SetValue(Null());
  else TCustomDBEditZk::Clear();
}

String TCustomDBComboBoxZk::GetDisplayTextForPaintCopy() {
  if (ComponentState().Contains(csDesigning) && !FDataLink->Active()) return Name();
  if (!ControlState().Contains(csPaintCopy) || !Field()) return EditText();
  String S;
  if (FKeyBased) {
    const int I = FKeyItems->IndexOf(Field()->Text());
    if (I >= 0 && I < FItemsCount) S = FItems->Strings(I);
  } else {
    S = Field()->DisplayText();
  }
  if (CharCase() == ecUpperCase) S = UpperCaseLocale(S);
  else if (CharCase() == ecLowerCase) S = LowerCaseLocale(S);
  return S;
}

// --- matching and completion ----------------------------------------------------------------------

bool TCustomDBComboBoxZk::LocateStr(const String& Str, bool Partial) {
  const int Old = FItemIndex;
  if (!EditCanModify()) return false;
  try {
    int Found = -1;
    for (int I = 0; I < FItemsCount && Found < 0; ++I) {
      String Item = FItems->Strings(I);
      if (Partial) Item = Item.substr(0, Str.size());
      if (CompareTextIgnoreCase(Item, Str) == 0) Found = I;
    }
    if (Found >= 0) {
      InternalSetItemIndex(Found);
      const int End = int(Text().size());
      SetSelStart(End);
      Perform(EM_SETSEL, WPARAM(End), LPARAM(int(Str.size())));
    } else if (!FKeyBased) {
      InternalSetItemIndex(-1);
    }
    return Found >= 0 && Found != Old;
  } catch (const Exception&) {
    // A field or handler refusing the item leaves the previous one; completion is a guess.
    InternalSetItemIndex(Old);
    return false;
  }
}

bool TCustomDBComboBoxZk::AutoCompleteText(const String& Str) {
  if (!(FDataLink->DataIndepended() || Field()) || !EditCanModify()) return false;
  if (Str == String(1, Char(VK_BACK))) {
    const int End = int(Text().size());
    const int N = SelLength() == End ? 0 : std::abs(SelLength());
    Perform(EM_SETSEL, WPARAM(End), LPARAM(std::max(End - N - 1, 0)));
    return false;
  }
  const String S = Text().substr(0, std::size_t(SelStart())) + Str;
  EnsureItemsList();
  return LocateStr(S, true);
}

void TCustomDBComboBoxZk::SelectNextValue(bool IsPrior) {
  if (!EditCanModify()) return;
  int Index = FItemIndex;
  if (IsPrior) {
    if (Index > 0) --Index;
    else if (Index < 0) Index = FItemsCount - 1;
  } else if (Index < FItemsCount - 1) {
    ++Index;
  }
  if (Index == FItemIndex) return;
  InternalSetItemIndex(Index);
  SelectAll();
}

bool TCustomDBComboBoxZk::CanStep() { return !ReadOnly() && EditCanModify() && !FListVisible; }

// --- keys and mouse -------------------------------------------------------------------------------

void TCustomDBComboBoxZk::KeyPress(Char& Key) {
  if (FListVisible && (Key == VK_RETURN || Key == VK_ESCAPE)) {
    CloseUp(Key == VK_RETURN);
    Key = 0;
    return;
  }
  TCustomDBEditZk::KeyPress(Key);
  if (Key == VK_BACK && FKeyBased && !ReadOnly()) {
    AutoCompleteText(String(1, Char(VK_BACK)));
    Key = 0;
  } else if (Key >= 32) {
    if (FDropDownBox->AutoDrop() && !FListVisible) DropDown();
    if (FKeyBased && !ReadOnly()) {
      AutoCompleteText(GetCompleteKeyPress());
      Key = 0;
    }
  }
}

void TCustomDBComboBoxZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBEditZk::KeyDown(Key, Shift);
  if (Key == VK_UP || Key == VK_DOWN) {
    if (WordWrap() && SelLength() != int(Text().size())) return;
    if (CanStep()) {
      SelectNextValue(Key == VK_UP);
      Key = 0;
    }
  } else if (Key == VK_DELETE && FKeyBased) {
    const bool MayClear = (Field() && !Field()->Required()) || FDataLink->DataIndepended();
    if (MayClear && !ReadOnly() && EditCanModify()) InternalSetValue(Null());
  }
}

bool TCustomDBComboBoxZk::WheelStep(bool Prior) {
  if (KeyboardShiftState() != TShiftState{} || ReadOnly() || !FDataLink->Edit()) return false;
  SelectNextValue(Prior);
  return true;
}

bool TCustomDBComboBoxZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  return TCustomDBEditZk::DoMouseWheelDown(Shift, MousePos) || WheelStep(false);
}

bool TCustomDBComboBoxZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return TCustomDBEditZk::DoMouseWheelUp(Shift, MousePos) || WheelStep(true);
}

void TCustomDBComboBoxZk::ButtonDownDropDown(bool LowerPart) {
  if (IsUpDownStyle(EditButton()->Style())) {
    if (EditCanModify()) SelectNextValue(!LowerPart);
    return;
  }
  TCustomDBEditZk::ButtonDownDropDown(LowerPart);
}

void TCustomDBComboBoxZk::EditButtonMouseMove(TObject* Sender, TShiftState, int X, int Y) {
  if (FListVisible)
    PassButtonDragToList(Sender, X, Y, FPopupListbox, FPopupListbox->ClientRect(), true);
}

void TCustomDBComboBoxZk::Click() {
  TCustomDBEditZk::Click();
  if (FKeyBased && ButtonsEnabled() && FDroppedDown && !FNoClickCloseUp) CloseUp(false);
  FNoClickCloseUp = false;
}

void TCustomDBComboBoxZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FKeyBased && Button == mbLeft && !GetEditButtonsRect().Contains({X, Y}) &&
      ButtonsEnabled() && !FDroppedDown && !Shift.Contains(ssDouble)) {
    if (CanFocus() && !Focused()) SetFocus();
    FNoClickCloseUp = true;
    DropDown();
  }
  TCustomDBEditZk::MouseDown(Button, Shift, X, Y);
}

void TCustomDBComboBoxZk::EditPaste() {
  if (!FKeyBased) {
    TCustomDBEditZk::EditPaste();
    return;
  }
  if (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT))
    AutoCompleteText(Clipboard()->AsText());
}

// --- the list -------------------------------------------------------------------------------------

int TCustomDBComboBoxZk::CalcItemsWidth() {
  TCanvas* C = ControlCanvas();
  C->Font()->Assign(Font());
  int Width = 0;
  for (int I = 0; I < FItemsCount; ++I) Width = std::max(Width, C->TextWidth(FItems->Strings(I)));
  Width += 5;
  if (Images()) Width += Images()->Width() + 4;
  return Width;
}

void TCustomDBComboBoxZk::DropDown() {
  if (FListVisible) return;
  TCustomDBEditZk::DropDown();
  if (FOnDropDown) FOnDropDown(this);
  TPopupListboxZk* List = PopupListbox();
  EnsureItemsList();
  List->SetColor(Color());
  List->SetFont(Font());
  List->SetImageList(Images());
  int ItemHeight = List->GetTextHeight();
  if (Images() && EditImage()->UseImageHeight() && ItemHeight < Images()->Height() + 1)
    ItemHeight = Images()->Height() + 1;
  List->SetItemHeight(ItemHeight);
  List->Items()->Assign(FItems.get());
  List->SetItemIndex(FItemIndex);
  int Rows = FDropDownBox->Rows();
  if (List->Items()->Count() < Rows) Rows = List->Items()->Count();
  List->SetRowCount(Rows);
  int Width = FDropDownBox->Width() == -1 ? CalcItemsWidth()
              : FDropDownBox->Width() < 1 ? this->Width()
                                          : FDropDownBox->Width();
  List->SetWidth(std::max(Width, this->Width()));
  TPoint Pos;
  PlaceDropDownUnderEdit(this, List, FDropDownBox->Align() == daRight ? 1
                                         : FDropDownBox->Align() == daCenter ? 2 : 0,
                         Pos);
  List->Link().Open(Pos);
  List->SizeGrip()->SetVisible(FDropDownBox->Sizable());
  List->SetSizeGripResized(false);
  FListVisible = true;
  FDroppedDown = true;
}

void TCustomDBComboBoxZk::CloseUp(bool Accept) {
  if (!FListVisible) return;
  CancelCaptureForCloseUp();
  TPopupListboxZk* List = FPopupListbox;
  const bool ListFocused = List->Focused();
  List->Link().Close();
  if (List->SizeGripResized()) {
    FDropDownBox->SetRows(List->RowCount());
    FDropDownBox->SetWidth(List->Width());
  }
  if (ListFocused) SetFocus();
  FListVisible = false;
  TCustomDBEditZk::CloseUp(Accept);
  FDroppedDown = false;
  if (FOnClosingUp) FOnClosingUp(this, Accept);
  if (Accept && !ReadOnly() && FDataLink->Edit()) {
    InternalSetItemIndex(List->ItemIndex());
    if (Focused()) SelectAll();
  }
  if (FOnCloseUp) FOnCloseUp(this, Accept);
}

void TCustomDBComboBoxZk::ListMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbLeft && FPopupListbox->IsMouseUpCloseListbox())
    CloseUp(FPopupListbox->ClientRect().Contains({X, Y}));
}

void TCustomDBComboBoxZk::ListGetImageIndex(TObject*, int ItemIndex, int& ImageIndex) {
  if (FOnGetItemImageIndex) FOnGetItemImageIndex(this, ItemIndex, ImageIndex);
}

// --- messages -------------------------------------------------------------------------------------

void TCustomDBComboBoxZk::WndProc(TMessage& Message) {
  if (FListVisible &&
      (Message.Msg == WM_KEYDOWN || Message.Msg == WM_CHAR || Message.Msg == WM_SYSKEYDOWN)) {
    const Word Code = Word(Message.WParam);
    int Index = -1;
    const bool ButtonKey =
        Message.Msg != WM_CHAR &&
        FindButtonByShortCut(::ShortCut(Code, KeyboardShiftState()), Index) != nullptr;
    const bool Nav = Code == VK_PRIOR || Code == VK_NEXT || Code == VK_UP || Code == VK_DOWN ||
                     ((Code == VK_HOME || Code == VK_END) && GetKeyState(VK_CONTROL) < 0);
    if (Message.Msg != WM_CHAR && !ButtonKey && Nav) {
      FPopupListbox->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  if (FListVisible && Message.Msg == CM_MOUSEWHEEL &&
      FPopupListbox->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
    Message.Result = 1;
    return;
  }
  TCustomDBEditZk::WndProc(Message);
}

void TCustomDBComboBoxZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (FListVisible && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS:
      if (FListVisible && reinterpret_cast<HWND>(Message.WParam) != FPopupListbox)
        CloseUp(false);
      break;
    case CM_CANCELMODE: {
      TCustomDBEditZk::Dispatch(Message);
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (FListVisible && !IsOwnOrChildControl(Sender) && !ControlWithin(Sender, FPopupListbox))
        CloseUp(false);
      return;
    }
    case WM_SETCURSOR:
      if (FKeyBased) {
        SetCurrentCursor(crArrow);
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR: {
      const Char Typed = Char(Message.WParam);
      TCustomDBEditZk::Dispatch(Message);
      // Free-text completion, after the character went into the text.
      if (Message.WParam == 0 || FKeyBased || Typed == u'.' || GetKeyState(VK_CONTROL) < 0)
        return;
      const int End = int(Text().size());
      if (SelStart() == End && SelLength() == 0 && Typed != VK_BACK) {
        LocateStr(Text(), true);
      } else {
        const int P = SelStart();
        EnsureItemsList();
        if (LocateStr(Text(), false)) Perform(EM_SETSEL, WPARAM(End), LPARAM(P));
      }
      return;
    }
    default: break;
  }
  TCustomDBEditZk::Dispatch(Message);
}

void TCustomDBComboBoxZk::DefaultHandler(TMessage& Message) {
  if (FKeyBased && Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MBUTTONDBLCLK) {
    if (Message.Msg == WM_RBUTTONUP) {
      const TPoint P = ClientToScreen({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      Perform(WM_CONTEXTMENU, WPARAM(this), MAKELPARAM(P.X, P.Y));
    }
    return;
  }
  TCustomDBEditZk::DefaultHandler(Message);
}
