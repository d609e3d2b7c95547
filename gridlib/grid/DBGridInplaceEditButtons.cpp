// DBGridInplaceEditButtons.cpp - the cell editor's button strip: the main button of the edit
// style and the column's edit buttons at the right edge, what pressing and clicking them does
// (step the value, drop the list down, the edit-button click events), and the calculator the
// drop-down styles of a number field open.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <algorithm>
#include <cmath>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/ConsumeClickZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/SysUtils.h"

TEditButtonStyleZk MainEditButtonStyle(TEditStyle S) {
  switch (S) {
    case esEllipsis: return ebsEllipsisZk;
    case esUpDown: return ebsUpDownZk;
    case esAltUpDown: return ebsAltUpDownZk;
    case esAltDropDown:
    case esAltCalendar: return ebsAltDropDownZk;
    default: return ebsDropDownZk;
  }
}

TEditButtonControlZk* TDBGridInplaceEdit::MainButton() const {
  return FEditButtonControlList.empty() ? nullptr : FEditButtonControlList[0].EditButtonControl;
}

bool TDBGridInplaceEdit::IsCalculatorStyle() const {
  if (FEditStyle != esDropDown && FEditStyle != esAltDropDown) return false;
  TColumnZk* C = CurrentColumn();
  return C && dynamic_cast<TNumericField*>(C->Field()) != nullptr;
}

TRect TDBGridInplaceEdit::EditTextRect() const {
  TCustomDBGridZk* G = DBGrid();
  TRect R = G && G->Flat() ? Rect(2, 1, Width() - 2, Height() - 1) : Rect(2, 2, Width() - 2, Height());
  R.Right -= FButtonsWidth;
  if (TCustomImageList* Images = CellImages()) R.Left += Images->Width() + 5;
  if (const int Tree = TreeAreaWidth()) R.Left += Tree + 1;
  if (R.Right < R.Left) R.Right = R.Left;
  return R;
}

void TDBGridInplaceEdit::EditorBoundsChanged() {
  LayoutEditButtons();
  TRect R = EditTextRect();
  Perform(EM_SETRECTNP, 0, LPARAM(&R));
  Perform(EM_SCROLLCARET, 0, 0);
}

// Entry 0 shows the edit style's button (none for esSimple), the others the column's edit
// buttons; all take the smallest height any visible button asks for, and stand from the right
// edge leftwards, each after its separator line.
void TDBGridInplaceEdit::LayoutEditButtons() {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  TEditButtonsZk* Extra = C ? C->EditButtons() : nullptr;
  const std::size_t Count = std::size_t(Extra ? Extra->Count() : 0) + 1;
  while (FEditButtonControlList.size() > Count) {
    delete FEditButtonControlList.back().EditButtonControl;
    delete FEditButtonControlList.back().ButtonLine;
    FEditButtonControlList.pop_back();
  }
  while (FEditButtonControlList.size() < Count) {
    TEditButtonControlLineRec Rec;
    Rec.EditButtonControl = new TEditButtonControlZk(this);
    Rec.EditButtonControl->SetControlStyle(Rec.EditButtonControl->ControlStyle() +
                                           TControlStyle{csReplicatable});
    Rec.EditButtonControl->SetParent(this);
    Rec.EditButtonControl->SetBounds(0, 0, 10, 17);
    Rec.EditButtonControl->SetTransparent(false);
    auto* Line = new TShape(this);
    Line->SetParent(this);
    Line->SetWidth(1);
    Rec.ButtonLine = Line;
    FEditButtonControlList.push_back(Rec);
  }
  const bool Flat = G && G->Flat();
  const int DefaultW = Flat ? FlatEditButtonDefaultWidth() : GetSystemMetrics(SM_CXVSCROLL);
  const int ClientH = ClientHeight();
  int MinH = ClientH;
  for (std::size_t I = 0; I < FEditButtonControlList.size(); ++I) {
    TEditButtonControlLineRec& Rec = FEditButtonControlList[I];
    TEditButtonControlZk* B = Rec.EditButtonControl;
    bool Shown = FEditStyle != esSimple;
    int W = DefaultW;
    if (I == 0) {
      B->SetEnabled(true);
      B->SetStyle(MainEditButtonStyle(FEditStyle));
      B->SetHint(String());
    } else {
      TEditButtonZk* Src = Extra->Items(int(I) - 1);
      Shown = Src->Visible();
      B->SetEnabled(Src->Enabled());
      B->SetStyle(Src->Style());
      if (Src->Glyph()) B->SetGlyph(Src->Glyph());
      B->SetNumGlyphs(Src->NumGlyphs());
      B->SetHint(Src->Hint());
      if (Src->Width() > 0) W = Src->Width();
    }
    if (!Shown) W = 0;
    B->SetVisible(Shown);
    B->SetFlat(Flat);
    B->SetWidthNoNotify(W);
    if (Shown) {
      const int H = int(std::lround(W * 1.5)) < ClientH ? ButtonHeightForWidth(W, Flat) : ClientH;
      MinH = std::min(MinH, H);
    }
    const bool LineShown = Flat && Shown && !ThemesActive();
    Rec.ButtonLine->SetVisible(LineShown);
    Rec.ButtonLine->SetWidth(LineShown ? 1 : 0);
    B->SetOnDown([this](TObject* Sender, bool Top, bool& AutoRepeat, bool& Handled) {
      ButtonControlDown(Sender, Top, AutoRepeat, Handled);
    });
    B->SetOnClick([this](TObject* Sender) { ButtonControlClick(Sender); });
    B->SetOnMouseMove([this](TObject* Sender, TShiftState Shift, int X, int Y) {
      ButtonControlMouseMove(Sender, Shift, X, Y);
    });
    B->SetOnMouseUp([this](TObject* Sender, TMouseButton Btn, TShiftState Shift, int X, int Y) {
      ButtonControlMouseUp(Sender, Btn, Shift, X, Y);
    });
    B->SetTag(0);
  }
  int X = ClientWidth();
  for (std::size_t I = FEditButtonControlList.size(); I-- > 0;) {
    TEditButtonControlLineRec& Rec = FEditButtonControlList[I];
    const int W = Rec.EditButtonControl->Width();
    X -= W;
    Rec.EditButtonControl->SetBounds(X, 0, W, MinH);
    const int LineW = Rec.ButtonLine->Visible() ? 1 : 0;
    X -= LineW;
    Rec.ButtonLine->SetBounds(X, 0, LineW, MinH);
    Rec.EditButtonControl->SetActive(true);
    Rec.ButtonLine->Pen()->SetColor(clBtnShadow);
  }
  FButtonsWidth = ClientWidth() - X;
  FButtonHeight = MinH;
}

// --- pressing and clicking ------------------------------------------------------------------------

void TDBGridInplaceEdit::ButtonControlDown(TObject* Sender, bool TopButton, bool& AutoRepeat,
                                           bool& Handled) {
  if (CanFocus() && !Focused()) SetFocus();
  Handled = false;
  TColumnZk* C = CurrentColumn();
  if (!C) return;
  if (Sender == MainButton()) {
    if (C->OnEditButtonDown()) C->OnEditButtonDown()(C, TopButton, AutoRepeat, Handled);
    if (!Handled) MainButtonPressed(!TopButton);
    return;
  }
  for (std::size_t I = 1; I < FEditButtonControlList.size(); ++I) {
    TEditButtonControlZk* Control = FEditButtonControlList[I].EditButtonControl;
    if (Control != Sender) continue;
    TEditButtonZk* B = C->EditButtons()->Items(int(I) - 1);
    if (B->OnDown()) B->OnDown()(Sender, TopButton, AutoRepeat, Handled);
    if (!Handled && B->DropdownMenu()) {
      TPopupMenu* Menu = B->DropdownMenu();
      const TPoint P = Control->ClientToScreen(
          {Menu->Alignment() == paRight ? Control->Width() : 0, Control->Height()});
      Menu->Popup(P.X, P.Y);
      ConsumePendingClickOnControl(Control);
      Control->Perform(WM_LBUTTONUP, 0, 0);
    }
    return;
  }
}

void TDBGridInplaceEdit::MainButtonPressed(bool LowerHalf) {
  if (FEditStyle == esUpDown || FEditStyle == esAltUpDown) {
    StepValue(LowerHalf);
    return;
  }
  if (!FListVisible) {
    DropDown();
    FNoClickCloseUp = true;
  }
}

void TDBGridInplaceEdit::ButtonControlClick(TObject* Sender) {
  bool Handled = false;
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  const bool Main = Sender == MainButton();
  if (Main && G && (FEditStyle == esEllipsis || FEditStyle == esDropDown ||
                    FEditStyle == esAltDropDown) && !IsCalculatorStyle())
    G->EditButtonClick();
  if (Main && C && C->OnEditButtonClick()) C->OnEditButtonClick()(C, Handled);
  if (!Main && C) {
    for (std::size_t I = 1; I < FEditButtonControlList.size(); ++I)
      if (FEditButtonControlList[I].EditButtonControl == Sender)
        C->EditButtons()->Items(int(I) - 1)->Click(Sender, Handled);
  }
  if (!Handled && FListVisible && Main && !FNoClickCloseUp) CloseUp(false);
  FNoClickCloseUp = false;
}

// Dragging from the main button into the open list selects there.
void TDBGridInplaceEdit::ButtonControlMouseMove(TObject* Sender, TShiftState, int X, int Y) {
  auto* Control = dynamic_cast<TControl*>(Sender);
  TWinControl* List = ActiveList();
  if (!FListVisible || !Control || Sender != MainButton() || !List || !Control->MouseCapture())
    return;
  const TPoint P = List->ScreenToClient(Control->ClientToScreen({X, Y}));
  const TRect Area = FEditStyle == esDataList && FDataList ? FDataList->DataRect() : List->ClientRect();
  if (!Area.Contains(P)) return;
  Control->Perform(WM_CANCELMODE);
  List->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
}

void TDBGridInplaceEdit::ButtonControlMouseUp(TObject* Sender, TMouseButton, TShiftState, int X,
                                              int Y) {
  auto* Control = dynamic_cast<TControl*>(Sender);
  if (Control && (X < 0 || X >= Control->ClientWidth() || Y < 0 || Y >= Control->ClientHeight()))
    FNoClickCloseUp = false;
}

bool TDBGridInplaceEdit::EditButtonByShortCut(TShortCut SC) {
  TColumnZk* C = CurrentColumn();
  if (!C || SC == 0) return false;
  for (int I = 0; I < C->EditButtons()->Count(); ++I) {
    TEditButtonZk* B = C->EditButtons()->Items(I);
    if (B->ShortCut() != SC || !B->Visible() || !B->Enabled()) continue;
    if (std::size_t(I) + 1 >= FEditButtonControlList.size()) return false;
    TEditButtonControlZk* Control = FEditButtonControlList[std::size_t(I) + 1].EditButtonControl;
    bool AutoRepeat = false, Handled = false;
    ButtonControlDown(Control, true, AutoRepeat, Handled);
    ButtonControlClick(Control);
    return true;
  }
  return false;
}

// Up/down steps by the column's Increment; a plain column counts up with the upper half, the
// list kinds run their list forwards with the lower half.
void TDBGridInplaceEdit::StepValue(bool LowerHalf) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !C->CanModify(true)) return;
  if (C->EditText() != Text()) {
    G->FEditText = Text();
    G->UpdateData();
  }
  const Extended S = C->GetColumnType() == ctCommon ? 1 : -1;
  C->StepFieldValue((LowerHalf ? -C->Increment() : C->Increment()) * S);
  SetText(G->CellEditText(G->Col(), G->Row()));
  G->FEditText = Text();
  SelectAll();
}

// --- the calculator -------------------------------------------------------------------------------

void TDBGridInplaceEdit::DropDownCalculator() {
  if (!FPopupCalculator) {
    FPopupCalculator = new TPopupCalculatorZk(this);
    FPopupCalculator->SetVisible(false);
    if (HandleAllocated()) FPopupCalculator->HandleNeeded();
  }
  TCustomDBGridZk* G = DBGrid();
  Variant V(0.0);
  if (!Text().empty()) {
    try {
      V = Variant(double(StrToFloat(Text())));
    } catch (const Exception&) {
      V = Variant(0.0);   // a text that is no number yet starts the calculator at 0
    }
  }
  FPopupCalculator->SetValue(V);
  FPopupCalculator->SetFlat(G && G->Flat());
  TPoint Pos;
  PlaceDropDownUnderEdit(this, FPopupCalculator, 0, Pos);
  FPopupCalculator->Link().Open(Pos);
  HideCaret(this);
  SetSelLength(0);
}

void TDBGridInplaceEdit::CloseUpCalculator(bool Accept) {
  FPopupCalculator->Link().Close();
  ShowCaret(this);
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!Accept || !G || !C || !C->CanModify(true) || !G->CanEditModifyField()) return;
  const Variant V = static_cast<IPopupCalculatorZk*>(FPopupCalculator)->GetValue();
  if (!VarIsNumeric(V)) return;
  SetText(FloatToStr(Extended(V.AsDouble())));
  G->FEditText = Text();
  SelectAll();
}

bool TDBGridInplaceEdit::RouteToCalculator(TMessage& Message) {
  if (!FListVisible || !IsCalculatorStyle() || !FPopupCalculator) return false;
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_CHAR && Message.Msg != WM_SYSKEYDOWN)
    return false;
  const Word Code = Word(Message.WParam);
  if (Code != 8 && Code != 13 && Code != 27 && (Code < 32 || Code > 126)) return false;
  // Characters feed the key machine; of the key presses only Esc closes it.
  if (Message.Msg == WM_CHAR || (Message.Msg == WM_KEYDOWN && Code == VK_ESCAPE))
    FPopupCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
  Message.Result = 0;
  return true;
}
