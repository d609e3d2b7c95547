// vqrClassComponents.cpp - report components and the non-visual dialog components.
#include "report/core/vqrClass.h"

#include <cmath>

#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass_p.h"

using namespace vqrclass_detail;

// =============================================================================================
// Published properties
// =============================================================================================

REGISTER_CLASS(TvqrReportComponent) {
  Class.Property("Description", &TvqrComponent::Description, &TvqrComponent::SetDescription);
}

REGISTER_CLASS(TvqrDialogComponent) {}

// =============================================================================================
// TvqrReportComponent
// =============================================================================================

TvqrReportComponent::TvqrReportComponent(TComponent* AOwner)
    : TvqrComponent(AOwner) {}

TvqrReportComponent::~TvqrReportComponent() = default;

void TvqrReportComponent::Draw(TCanvas*, Extended, Extended, Extended, Extended) {
  vqrAbstractError();
}

void TvqrReportComponent::BeforePrint() {
  SetOriginalRect({Left(), Top(), Width(), Height()});
}

void TvqrReportComponent::AfterPrint() {
  const TvqrRect& R = OriginalRect();
  SetBounds(R.Left, R.Top, R.Right, R.Bottom);
}

TvqrRect TvqrReportComponent::GetRealBounds() const {
  return {AbsLeft(), AbsTop(), AbsLeft() + Width(), AbsTop() + Height()};
}

// =============================================================================================
// TvqrDialogComponent and TvqrDataSet
// =============================================================================================

TvqrDialogComponent::TvqrDialogComponent(TComponent* AOwner) : TvqrReportComponent(AOwner) {
  SetWidth(28);
  SetHeight(28);
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csPreviewVisible});
}

TvqrDialogComponent::~TvqrDialogComponent() { delete FComponent; }

void TvqrDialogComponent::SetComponent(TComponent* Value) {
  if (Value == FComponent) return;
  delete FComponent;
  FComponent = Value;
}

void TvqrDialogComponent::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  const bool HasData = Report() != nullptr;
  Filer->DefineProperty(
      u"pLeft", [this](TReader* Reader) { SetLeft(Reader->ReadInteger()); },
      [this](TWriter* Writer) { Writer->WriteInteger(Round(Left())); }, HasData);
  Filer->DefineProperty(
      u"pTop", [this](TReader* Reader) { SetTop(Reader->ReadInteger()); },
      [this](TWriter* Writer) { Writer->WriteInteger(Round(Top())); }, HasData);
}

void TvqrDialogComponent::Draw(TCanvas* Canvas, Extended, Extended, Extended, Extended) {
  SetWidth(28);
  SetHeight(28);
  const int X = static_cast<int>(Round(Left()));
  const int Y = static_cast<int>(Round(Top()));
  TRect Box{X, Y, X + 28, Y + 28};
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(Box);
  DrawEdge(Canvas, Box, EDGE_RAISED, BF_RECT);
  Canvas->Font()->SetName(u"Tahoma");
  Canvas->Font()->SetSize(8);
  Canvas->Font()->SetColor(clBlack);
  Canvas->Brush()->SetColor(clWindow);
  const int W = Canvas->TextWidth(Name());
  Canvas->TextOut(X + 14 - W / 2, Y + 32, Name());
}
