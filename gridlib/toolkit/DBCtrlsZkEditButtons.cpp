// DBCtrlsZkEditButtons.cpp - the data-aware edit's button strip (layout, state, press and
// click), its drop-down base and the MRU drop-down.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <algorithm>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ConsumeClickZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

// --- geometry -------------------------------------------------------------------------------------

namespace {
bool PlainSingleBorder(const TWinControl* C) { return !C->Ctl3D() && C->BorderStyle() == bsSingle; }
}  // namespace

TRect TCustomDBEditZk::GetEditButtonsRect() {
  const int W = ClientWidth(), H = ClientHeight();
  if (PlainSingleBorder(this)) return Rect(W - FButtonWidth - 1, 1, W - 1, H - 1);
  return Rect(W - FButtonWidth, 0, W, H);
}

TRect TCustomDBEditZk::GetImageRect() { return Rect(0, 0, FImageWidth, ClientHeight()); }

TRect TCustomDBEditZk::GetTextRect() {
  const int W = ClientWidth(), H = ClientHeight();
  if (PlainSingleBorder(this)) return Rect(FImageWidth + 1, 1, W - FButtonWidth - 2, H - 1);
  return Rect(FImageWidth, 0, W - FButtonWidth - 1, H);
}

// --- layout ---------------------------------------------------------------------------------------

void TCustomDBEditZk::CreateEditButtonLine(TEditButtonControlLineRec& Rec) {
  Rec.EditButtonControl = CreateEditButtonControl();
  auto* Line = new TShape(this);
  Line->SetParent(this);
  Line->SetWidth(1);
  Rec.ButtonLine = Line;
}

void TCustomDBEditZk::ConfigureButtonControl(TEditButtonControlLineRec& Rec,
                                             TEditButtonZk* Button, int Index,
                                             int EditButtonHeight, int& MinHeight) {
  TEditButtonControlZk* C = Rec.EditButtonControl;
  C->SetVisible(Button->Visible());
  C->SetEnabled(Button->Enabled());
  C->SetStyle(Button->Style());
  C->SetGlyph(Button->Glyph());
  C->SetNumGlyphs(Button->NumGlyphs());
  C->SetHint(Button->Hint());
  C->SetFlat(FFlat);
  int Width = 0;
  if (Button->Visible()) {
    if (Button->Width() > 0) Width = Button->Width();
    else if (FFlat) Width = DefaultFlatButtonWidth;
    else Width = GetSystemMetrics(SM_CXVSCROLL);
  }
  C->SetWidthNoNotify(Width);
  if (Button->Visible()) {
    int Height = EditButtonHeight;
    if (int(Round(Width * 3 / 2.0)) < Height) Height = ButtonHeightForWidth(Width, FFlat);
    MinHeight = std::min(MinHeight, Height);
  }
  const bool LineShown = FFlat && Button->Visible() && !ThemesActive();
  Rec.ButtonLine->SetVisible(LineShown);
  Rec.ButtonLine->SetWidth(LineShown ? 1 : 0);
  C->SetOnDown([this](TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled) {
    EditButtonDown(Sender, TopButton, AutoRepeat, Handled);
  });
  C->SetOnClick([this](TObject* Sender) { EditButtonClick(Sender); });
  C->SetOnMouseMove([this](TObject* Sender, TShiftState Shift, int X, int Y) {
    EditButtonMouseMove(Sender, Shift, X, Y);
  });
  C->SetOnMouseUp([this](TObject* Sender, TMouseButton B, TShiftState Shift, int X, int Y) {
    EditButtonMouseUp(Sender, B, Shift, X, Y);
  });
  C->SetTag(Index);
}

void TCustomDBEditZk::LayoutEditButtons() {
  const std::size_t Count = std::size_t(FEditButtons->Count()) + 1;
  while (FEditButtonControlList.size() > Count) {
    delete FEditButtonControlList.back().EditButtonControl;
    delete FEditButtonControlList.back().ButtonLine;
    FEditButtonControlList.pop_back();
  }
  while (FEditButtonControlList.size() < Count) {
    FEditButtonControlList.emplace_back();
    CreateEditButtonLine(FEditButtonControlList.back());
  }
  const TRect Strip = GetEditButtonsRect();
  int MinHeight = Strip.Height();
  ConfigureButtonControl(FEditButtonControlList[0], FEditButton.get(), 0, Strip.Height(),
                         MinHeight);
  for (int I = 0; I < FEditButtons->Count(); ++I)
    ConfigureButtonControl(FEditButtonControlList[std::size_t(I) + 1], FEditButtons->Items(I),
                           I + 1, Strip.Height(), MinHeight);
  // From the right edge leftwards: the last extra button first, each preceded by its line.
  const int Right = PlainSingleBorder(this) ? ClientWidth() - 1 : ClientWidth();
  int X = Right;
  for (std::size_t I = FEditButtonControlList.size(); I-- > 0;) {
    TEditButtonControlLineRec& Rec = FEditButtonControlList[I];
    const int W = Rec.EditButtonControl->Width();
    X -= W;
    Rec.EditButtonControl->SetBounds(X, Strip.Top, W, MinHeight);
    const int LineW = Rec.ButtonLine->Visible() ? 1 : 0;
    X -= LineW;
    Rec.ButtonLine->SetBounds(X, Strip.Top, LineW, MinHeight);
  }
  FButtonWidth = Right - X;
  FButtonHeight = MinHeight;
}

void TCustomDBEditZk::UpdateEditButtonsState() {
  for (std::size_t I = 0; I < FEditButtonControlList.size(); ++I) {
    TEditButtonControlLineRec& Rec = FEditButtonControlList[I];
    TEditButtonZk* Button = I == 0 ? FEditButton.get() : FEditButtons->Items(int(I) - 1);
    Rec.EditButtonControl->SetEnabled(Enabled() && Button->Enabled());
    Rec.EditButtonControl->SetActive(FBorderActive);
    Rec.ButtonLine->Pen()->SetColor(FBorderActive ? clBtnFace : Color());
  }
}

void TCustomDBEditZk::EditButtonsChanged() {
  if (!HandleAllocated()) return;
  LayoutEditButtons();
  UpdateEditButtonsState();
  UpdateEditRect();
  Invalidate();
}

void TCustomDBEditZk::UpdateBorderActive() {
  if (ComponentState().Contains(csLoading)) return;
  const bool Active = ComponentState().Contains(csDesigning) || Focused() ||
                      FMouseAboveControl || FAlwaysShowBorder;
  if (Active == FBorderActive) return;
  FBorderActive = Active;
  UpdateEditButtonsState();
  Invalidate();
}

// --- pressing and clicking ------------------------------------------------------------------------

void TCustomDBEditZk::PopupDropdownMenu(TEditButtonZk* Button, TEditButtonControlZk* Control) {
  TPopupMenu* Menu = Button->DropdownMenu();
  const TPoint P = Control->ClientToScreen(
      {Menu->Alignment() == paRight ? Control->Width() : 0, Control->Height()});
  Menu->Popup(P.X, P.Y);
  ConsumePendingClickOnControl(Control);
  Control->Perform(WM_LBUTTONUP, 0, 0);
}

void TCustomDBEditZk::EditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat,
                                     bool& Handled) {
  if (CanFocus() && !Focused()) SetFocus();
  Handled = false;
  auto* Control = dynamic_cast<TEditButtonControlZk*>(Sender);
  if (!Control || FEditButtonControlList.empty()) return;
  if (Control == FEditButtonControlList[0].EditButtonControl) {
    if (FOnButtonDown) FOnButtonDown(Sender, TopButton, AutoRepeat, Handled);
    if (Handled) return;
    if (FEditButton->DropdownMenu()) {
      PopupDropdownMenu(FEditButton.get(), Control);
      return;
    }
    if (FEditButton->Action()) return;
    ButtonDownDropDown(!TopButton);
    return;
  }
  const int Index = Control->Tag() - 1;
  if (Index < 0 || Index >= FEditButtons->Count()) return;
  TEditButtonZk* Button = FEditButtons->Items(Index);
  if (Button->OnDown()) Button->OnDown()(Sender, TopButton, AutoRepeat, Handled);
  if (!Handled && Button->DropdownMenu()) PopupDropdownMenu(Button, Control);
}

void TCustomDBEditZk::ButtonDownDropDown(bool LowerPart) {
  (void)LowerPart;
  if (IsUpDownStyle(FEditButton->Style()) || FDroppedDown) return;
  DropDown();
  FNoClickCloseUp = true;
}

void TCustomDBEditZk::EditButtonClick(TObject* Sender) {
  bool Handled = false;
  auto* Control = dynamic_cast<TEditButtonControlZk*>(Sender);
  const bool Main = Control && !FEditButtonControlList.empty() &&
                    Control == FEditButtonControlList[0].EditButtonControl;
  if (Main) {
    FEditButton->Click(Sender, Handled);
    if (!Handled && FOnButtonClick) FOnButtonClick(Sender, Handled);
  } else if (Control) {
    const int Index = Control->Tag() - 1;
    if (Index >= 0 && Index < FEditButtons->Count())
      FEditButtons->Items(Index)->Click(Sender, Handled);
  }
  if (!Handled && FDroppedDown && !FNoClickCloseUp && Main) CloseUp(false);
  FNoClickCloseUp = false;
}

void TCustomDBEditZk::EditButtonMouseMove(TObject*, TShiftState, int, int) {}

void TCustomDBEditZk::PassButtonDragToList(TObject* Sender, int X, int Y, TControl* List,
                                           const TRect& Area, bool MainOnly) {
  auto* Control = dynamic_cast<TControl*>(Sender);
  if (!Control || !Control->MouseCapture()) return;
  if (MainOnly &&
      (FEditButtonControlList.empty() || Control != FEditButtonControlList[0].EditButtonControl))
    return;
  const TPoint P = List->ScreenToClient(Control->ClientToScreen({X, Y}));
  if (!Area.Contains(P)) return;
  Control->Perform(WM_CANCELMODE);
  List->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
}

void TCustomDBEditZk::EditButtonMouseUp(TObject* Sender, TMouseButton, TShiftState, int X,
                                        int Y) {
  auto* Control = dynamic_cast<TControl*>(Sender);
  if (Control && (X < 0 || X >= Control->ClientWidth() || Y < 0 || Y > Control->ClientHeight()))
    FNoClickCloseUp = false;
}

void TCustomDBEditZk::CancelCaptureForCloseUp() {
  if (HWND Capture = GetCapture()) Capture->Perform(WM_CANCELMODE);
}

void TCustomDBEditZk::PostDropDownClosed() {
  const int Tag = FEditButtonControlList.empty()
                      ? 0
                      : int(FEditButtonControlList[0].EditButtonControl->Tag());
  PostMessage(this, WM_DROPDOWN_CLOSED, WPARAM(Tag), 0);
}

void TCustomDBEditZk::DropDown() {
  if (!FEditButtonControlList.empty())
    FEditButtonControlList[0].EditButtonControl->SetAlwaysDown(true);
  if (MRUDroppedDown()) FMRUList->CloseUp(false);
}

void TCustomDBEditZk::CloseUp(bool) {
  if (!FEditButtonControlList.empty())
    FEditButtonControlList[0].EditButtonControl->SetAlwaysDown(false);
}

// --- the MRU drop-down ----------------------------------------------------------------------------

bool TCustomDBEditZk::MRUDroppedDown() const { return FMRUList && FMRUList->DroppedDown(); }

TWinControl* TCustomDBEditZk::GetMRUListControl() {
  if (!FMRUListControl) FMRUListControl = CreateMRUListbox();
  return FMRUListControl;
}

void TCustomDBEditZk::UpdateMRUListState() {
  const String Empty = IsMasked() ? Mask().TextFromEditText(Mask().EditTextFromText(String()))
                                  : String();
  if (MRUDroppedDown() && Text() == Empty) {
    FMRUList->CloseUp(false);
    return;
  }
  if (FMRUList->Active() && Showing() && !FDroppedDown && Focused() && Text() != Empty)
    FMRUList->DropDown();
}

void TCustomDBEditZk::FilterMRUItem(const String& AText, bool& Accept) {
  const String T = Text();
  const std::u16string_view Head = std::u16string_view(AText).substr(0, T.size());
  Accept = FMRUList->CaseSensitive() ? CompareTextCaseSensitive(Head, T) == 0
                                     : CompareTextIgnoreCase(Head, T) == 0;
}

void TCustomDBEditZk::MRUListDropDown() {
  auto* List = static_cast<TMRUListboxZk*>(GetMRUListControl());
  // The editor's filter rule decides (the date edit has its own).
  TStringList Found;
  TStrings* Items = FMRUList->Items();
  for (int I = 0; I < Items->Count(); ++I) {
    bool Accept = false;
    FilterMRUItem(Items->Strings(I), Accept);
    if (Accept) Found.Add(Items->Strings(I));
  }
  TRect R;
  Perform(EM_GETRECT, 0, LPARAM(&R));
  const TPoint TL = ClientToScreen({R.Left, R.Top});
  R = Bounds(TL.X, TL.Y, R.Width(), R.Height());
  const int Rows = std::min(Found.Count(), FMRUList->Rows());
  TPoint Pos;
  if (FMRUList->DroppedDown()) {
    List->Items()->Assign(&Found);
    if (Found.Count() == 0) {
      FMRUList->CloseUp(false);
      return;
    }
    List->SetRowCount(Rows);
    PlaceDropDownAtRect(R, List, 0, Pos);
    List->Link().Open(Pos);
    List->UpdateScrollBar();
    return;
  }
  if (Found.Count() == 0) return;
  List->SetColor(Color());
  List->SetFont(Font());
  List->Items()->Assign(&Found);
  List->SetItemHeight(List->GetTextHeight());
  List->SetItemIndex(-1);
  List->SetWidth(FMRUList->Width() > 0 ? FMRUList->Width() : R.Width());
  List->SetRowCount(Rows);
  PlaceDropDownAtRect(R, List, 0, Pos);
  List->Link().Open(Pos);
  List->SizeGrip()->SetVisible(true);
  List->UpdateScrollBar();
  FMRUList->SetDroppedDown(true);
  List->SizeGrip()->SetOnParentResized([this](TObject*) { MRUListboxResized(); });
}

void TCustomDBEditZk::MRUListboxResized() {
  if (!MRUDroppedDown() || !FMRUListControl) return;
  auto* List = static_cast<TMRUListboxZk*>(FMRUListControl);
  FMRUList->SetRows(List->RowCount());
  FMRUList->SetWidth(List->Width());
}

void TCustomDBEditZk::MRUListMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || !FMRUListControl) return;
  FMRUList->CloseUp(FMRUListControl->ClientRect().Contains({X, Y}));
}

void TCustomDBEditZk::MRUListCloseUp(bool Accept) {
  if (!MRUDroppedDown()) return;
  auto* List = static_cast<TMRUListboxZk*>(FMRUListControl);
  CancelCaptureForCloseUp();
  const bool ListFocused = List->Focused();
  List->Link().Close();
  if (ListFocused) SetFocus();
  FMRUList->SetDroppedDown(false);
  if (Accept && !FReadOnly && FDataLink->Edit()) {
    if (List->ItemIndex() >= 0) InternalSetText(List->Items()->Strings(List->ItemIndex()));
    if (Focused()) SelectAll();
  }
}
