// DBCtrlsZkEditPaint.cpp - the data-aware edit's height, painting (image, self-painted right and
// centred text, the flat frame, the required mark), tooltips and image index.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <algorithm>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/Math.h"

// --- height ---------------------------------------------------------------------------------------

void TCustomDBEditZk::AdjustHeight() {
  TCanvas* C = ControlCanvas();
  C->Font()->Assign(Font());
  const int TextHeight = C->TextMetrics().tmHeight;
  const int Allowance = ((Ctl3D() ? 8 : 6) - (FFlat ? 2 : 0)) * GetSystemMetrics(SM_CYBORDER);
  int Height = TextHeight;
  TCustomImageList* Images = FEditImage->Images();
  if (Images && FEditImage->UseImageHeight() && Images->Height() > TextHeight)
    Height = Images->Height();
  SetHeight(Height + Allowance);
}

void TCustomDBEditZk::UpdateHeight() {
  if (AutoSize() && BorderStyle() == bsSingle) {
    SetControlStyle(ControlStyle() + TControlStyle{csFixedHeight});
    AdjustHeight();
  } else {
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
  }
}

void TCustomDBEditZk::FontChanged() {
  TCustomMaskEdit::FontChanged();
  if (ControlStyle().Contains(csFixedHeight) && !ComponentState().Contains(csLoading))
    AdjustHeight();
  if (HandleAllocated()) UpdateEditRect();
}

// --- painting -------------------------------------------------------------------------------------

TRect TCustomDBEditZk::GetTextMargins() {
  const int Border = BorderStyle() == bsNone ? 0 : Ctl3D() ? 1 : 2;
  const int Left = Border + LOWORD(std::uintptr_t(Perform(EM_GETMARGINS)));
  return Rect(Left, Border, 0, 0);
}

String TCustomDBEditZk::GetDisplayTextForPaintCopy() {
  if (ComponentState().Contains(csDesigning) && !FDataLink->Active()) return Name();
  if (ControlState().Contains(csPaintCopy) && Field()) {
    String S = Field()->DisplayText();
    if (CharCase() == ecUpperCase) S = UpperCaseLocale(S);
    else if (CharCase() == ecLowerCase) S = LowerCaseLocale(S);
    return S;
  }
  return EditText();
}

void TCustomDBEditZk::PaintEditImage(TCanvas* ACanvas) {
  if (!FEditImage->Visible() || !FEditImage->Images() || FEditImage->ImageIndex() < 0) return;
  TRect R = GetImageRect();
  InflateRect(R, -2, -1);
  DrawImageCentered(ACanvas, R, FEditImage->Images(), FEditImage->ImageIndex(), false);
}

void TCustomDBEditZk::PaintWindow(HDC DC) {
  const TAlignment A = Alignment();
  const bool PaintCopy = ControlState().Contains(csPaintCopy);
  const bool DesignInactive = ComponentState().Contains(csDesigning) && !FDataLink->Active();
  if ((A == taLeftJustify || FFocused || FWordWrap) && !PaintCopy && !DesignInactive) {
    TCustomMaskEdit::PaintWindow(DC);
  } else {
    DC->Font()->Assign(Font());
    TRect R = GetTextRect();
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Color());
    DC->FillRect(ClientRect());
    if (!IsEnabledInTree()) DC->Font()->SetColor(clGrayText);
    String S = GetDisplayTextForPaintCopy();
    if (PasswordChar()) S = String(S.size(), PasswordChar());
    const TRect M = GetTextMargins();
    const int W = DC->TextWidth(S);
    int X = M.Left;
    if (A == taRightJustify) X = R.Right - W - M.Left;
    else if (A == taCenter) X = (R.Right - W) / 2;
    DC->Brush()->SetStyle(bsClear);
    DC->TextRect(R, X, M.Top, S);
  }
  PaintEditImage(DC);
  PaintRequiredState(DC);
}

void TCustomDBEditZk::PaintNonClient(HDC DC) {
  if (!FFlat || BorderStyle() != bsSingle) {
    TCustomMaskEdit::PaintNonClient(DC);
    return;
  }
  // The flat look: a one-pixel shadow frame, the rest of the frame in the editor's colour.
  TRect R = Rect(0, 0, Width(), Height());
  const TRect Insets = NonClientInsets();
  DC->Brush()->SetStyle(bsSolid);
  DC->Brush()->SetColor(Color());
  for (int I = 1; I < std::max(Insets.Left, 1); ++I) {
    TRect Inner = R;
    InflateRect(Inner, -I, -I);
    DC->FrameRect(Inner);
  }
  DC->Brush()->SetColor(FBorderActive ? clBtnShadow : clBtnShadow);
  DC->FrameRect(R);
}

void TCustomDBEditZk::PaintRequiredState(TCanvas* ACanvas) {
  if (!FHighlightRequired || !FDataLink->Active()) return;
  bool Draw = false;
  if (FDataLink->DataIndepended()) {
    Draw = VarIsNull(GetVariantValue()) || Text().empty();
  } else if (TDataSet* Set = FDataLink->DataSet(); Set && Field()) {
    Draw = (Set->State() == dsEdit || Set->State() == dsInsert) && Field()->Required() &&
           Field()->IsNull();
  }
  if (FOnCheckDrawRequiredState) FOnCheckDrawRequiredState(this, Draw);
  if (!Draw) return;
  TRect R;
  GetEditRect(R);
  DrawRequiredStateMark(ACanvas, R, ClientHeight());
}

void DrawRequiredStateMark(TCanvas* ACanvas, const TRect& EditRect, int ClientHeight) {
  const int Y = ClientHeight - 1;
  ACanvas->Pen()->SetColor(clRed);
  ACanvas->Pen()->SetStyle(psDot);
  ACanvas->Pen()->SetWidth(1);
  ACanvas->MoveTo(EditRect.Left + 2, Y);
  ACanvas->LineTo(EditRect.Right - 3, Y);
  ACanvas->Pen()->SetStyle(psSolid);
}

// --- tooltips and hints ---------------------------------------------------------------------------

TRect TToolTipsWindow::CalcHintRect(int MaxWidth, const String& Hint, void* Data) {
  if (Data) Canvas()->Font()->Assign(static_cast<TFont*>(Data));
  return THintWindow::CalcHintRect(MaxWidth, Hint, Data);
}

void TCustomDBEditZk::UpdateHintProcessing() { TControl::SetShowHint(FTooltips || FShowHint); }

bool TCustomDBEditZk::IsTextTruncated() {
  TRect Edit;
  GetEditRect(Edit);
  TCanvas* C = ControlCanvas();
  C->Font()->Assign(Font());
  TRect R = Rect(0, 0, std::max(Edit.Width(), 1), 0);
  DrawText(C, Text(), R, DT_CALCRECT | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : 0u));
  return Edit.Width() - 2 < R.Width() || Edit.Height() < R.Height();
}

void TCustomDBEditZk::HintShowMessage(TMessage& Message) {
  auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (FTooltips && IsTextTruncated()) {
    Info->HintStr = Text();
    Info->HintPos = ClientToScreen({0, Height()});
    Info->HintWindowClass = TToolTipsWindow::ClassInfo();
    Info->HintData = Font();
    Message.Result = 0;
    return;
  }
  if (!FShowHint) {
    Message.Result = 1;
    return;
  }
  TCustomMaskEdit::Dispatch(Message);
}

// --- image index ----------------------------------------------------------------------------------

void TCustomDBEditZk::UpdateImageIndex() {
  if (!FEditImage || !FEditImage->Visible() || !FEditImage->Images()) return;
  int Index = DefaultImageIndex();
  const Variant V = GetVariantValue();
  switch (VarType(V)) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
      Index = int(Round(V.AsDouble()));
      break;
    default: break;
  }
  if (FOnGetImageIndex) FOnGetImageIndex(this, Index);
  FEditImage->SetImageIndex(Index);
}
