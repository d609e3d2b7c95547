// vqrClassComponents.cpp - report components, non-visual components, views, bands and pages.
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

REGISTER_CLASS(TvqrDataSet) {
  Class.Property("UserName", &TvqrDataSet::UserName, &TvqrDataSet::SetUserName);
}

REGISTER_CLASS(TvqrView) {
  Class.Property("Left", &TvqrComponent::Left, &TvqrComponent::SetLeft)
      .Property("Top", &TvqrComponent::Top, &TvqrComponent::SetTop)
      .Property("Width", &TvqrComponent::Width, &TvqrComponent::SetWidth)
      .Property("Height", &TvqrComponent::Height, &TvqrComponent::SetHeight)
      .Property("Align", &TvqrView::Align, &TvqrView::SetAlign, baNone)
      .Property("Color", &TvqrView::Color, &TvqrView::SetColor, clNone)
      .Property("Font", &TvqrComponent::Font, &TvqrComponent::SetFont)
      .Stored(&TvqrComponent::IsFontStored)
      .Property("GroupIndex", &TvqrComponent::GroupIndex, &TvqrComponent::SetGroupIndex, 0)
      .Property("ParentFont", &TvqrComponent::ParentFont, &TvqrComponent::SetParentFont, true)
      .Property("Restrictions", &TvqrComponent::Restrictions, &TvqrComponent::SetRestrictions,
                TvqrRestrictions())
      .Property("Visible", &TvqrComponent::Visible, &TvqrComponent::SetVisible, true)
      .Property("OnAfterData", &TvqrReportComponent::OnAfterData,
                &TvqrReportComponent::SetOnAfterData)
      .Property("OnAfterPrint", &TvqrReportComponent::OnAfterPrint,
                &TvqrReportComponent::SetOnAfterPrint)
      .Property("OnBeforePrint", &TvqrReportComponent::OnBeforePrint,
                &TvqrReportComponent::SetOnBeforePrint)
      .Property("OnPreviewClick", &TvqrReportComponent::OnPreviewClick,
                &TvqrReportComponent::SetOnPreviewClick)
      .Property("OnPreviewDblClick", &TvqrReportComponent::OnPreviewDblClick,
                &TvqrReportComponent::SetOnPreviewDblClick);
}

REGISTER_CLASS(TvqrCustomMemoView) {
  Class.Property("AutoWidth", &TvqrCustomMemoView::AutoWidth, &TvqrCustomMemoView::SetAutoWidth,
                 false)
      .Property("Style", &TvqrCustomMemoView::Style, &TvqrCustomMemoView::SetStyle);
}

REGISTER_CLASS(TvqrMemoView) {}

REGISTER_CLASS(TvqrBand) {
  Class.Property("Font", &TvqrComponent::Font, &TvqrComponent::SetFont)
      .Stored(&TvqrComponent::IsFontStored)
      .Property("Height", &TvqrComponent::Height, &TvqrComponent::SetHeight)
      .Property("Left", &TvqrComponent::Left, &TvqrComponent::SetLeft)
      .Property("ParentFont", &TvqrComponent::ParentFont, &TvqrComponent::SetParentFont, true)
      .Property("Restrictions", &TvqrComponent::Restrictions, &TvqrComponent::SetRestrictions,
                TvqrRestrictions())
      .Property("Top", &TvqrComponent::Top, &TvqrComponent::SetTop)
      .Property("Vertical", &TvqrBand::Vertical, &TvqrBand::SetVertical, false)
      .Property("Visible", &TvqrComponent::Visible, &TvqrComponent::SetVisible, true)
      .Property("Width", &TvqrComponent::Width, &TvqrComponent::SetWidth)
      .Property("OnAfterCalcHeight", &TvqrBand::OnAfterCalcHeight, &TvqrBand::SetOnAfterCalcHeight)
      .Property("OnAfterPrint", &TvqrReportComponent::OnAfterPrint,
                &TvqrReportComponent::SetOnAfterPrint)
      .Property("OnBeforePrint", &TvqrReportComponent::OnBeforePrint,
                &TvqrReportComponent::SetOnBeforePrint);
}

REGISTER_CLASS(TvqrReportTitle) {}
REGISTER_CLASS(TvqrReportSummary) {}
REGISTER_CLASS(TvqrPageHeader) {}
REGISTER_CLASS(TvqrPageFooter) {}
REGISTER_CLASS(TvqrHeader) {}
REGISTER_CLASS(TvqrFooter) {}
REGISTER_CLASS(TvqrDataBand) {
  Class.Property("Stretched", &TvqrBand::Stretched, &TvqrBand::SetStretched, false);
}
REGISTER_CLASS(TvqrGroupHeader) {}
REGISTER_CLASS(TvqrGroupFooter) {}
REGISTER_CLASS(TvqrChild) {}
REGISTER_CLASS(TvqrColumnHeader) {}
REGISTER_CLASS(TvqrColumnFooter) {}
REGISTER_CLASS(TvqrOverlay) {}
REGISTER_CLASS(TvqrNullBand) {}
REGISTER_CLASS(TvqrMasterData) {}
REGISTER_CLASS(TvqrDetailData) {}
REGISTER_CLASS(TvqrSubdetailData) {}
REGISTER_CLASS(TvqrDataBand4) {}
REGISTER_CLASS(TvqrDataBand5) {}
REGISTER_CLASS(TvqrDataBand6) {}

REGISTER_CLASS(TvqrPage) {
  Class.Property("Font", &TvqrComponent::Font, &TvqrComponent::SetFont)
      .Stored(&TvqrComponent::IsFontStored)
      .Property("Visible", &TvqrComponent::Visible, &TvqrComponent::SetVisible, true);
}

REGISTER_CLASS(TvqrDataPage) {
  Class.Property("Left", &TvqrComponent::Left, &TvqrComponent::SetLeft)
      .Property("Top", &TvqrComponent::Top, &TvqrComponent::SetTop)
      .Property("Width", &TvqrComponent::Width, &TvqrComponent::SetWidth)
      .Property("Height", &TvqrComponent::Height, &TvqrComponent::SetHeight);
}

// Kept in this order: a stored landscape page first rotates the default sizes, then takes
// its stored sizes and finally its paper code.
REGISTER_CLASS(TvqrReportPage) {
  Class.Property("Orientation", &TvqrReportPage::Orientation, &TvqrReportPage::SetOrientation,
                 poPortrait)
      .Property("PaperWidth", &TvqrReportPage::PaperWidth, &TvqrReportPage::SetPaperWidth)
      .Property("PaperHeight", &TvqrReportPage::PaperHeight, &TvqrReportPage::SetPaperHeight)
      .Property("PaperSize", &TvqrReportPage::PaperSize, &TvqrReportPage::SetPaperSize)
      .Property("LeftMargin", &TvqrReportPage::LeftMargin, &TvqrReportPage::SetLeftMargin)
      .Property("RightMargin", &TvqrReportPage::RightMargin, &TvqrReportPage::SetRightMargin)
      .Property("TopMargin", &TvqrReportPage::TopMargin, &TvqrReportPage::SetTopMargin)
      .Property("BottomMargin", &TvqrReportPage::BottomMargin, &TvqrReportPage::SetBottomMargin)
      .Property("PageCount", &TvqrReportPage::PageCount, &TvqrReportPage::SetPageCount, 1)
      .Property("PrintIfEmpty", &TvqrReportPage::PrintIfEmpty, &TvqrReportPage::SetPrintIfEmpty,
                true)
      .Property("TitleBeforeHeader", &TvqrReportPage::TitleBeforeHeader,
                &TvqrReportPage::SetTitleBeforeHeader, true)
      .Property("OnAfterPrint", &TvqrReportPage::OnAfterPrint, &TvqrReportPage::SetOnAfterPrint)
      .Property("OnBeforePrint", &TvqrReportPage::OnBeforePrint,
                &TvqrReportPage::SetOnBeforePrint);
}

// =============================================================================================
// TvqrReportComponent
// =============================================================================================

TvqrReportComponent::TvqrReportComponent(TComponent* AOwner)
    : TvqrComponent(AOwner),
      FShiftChildren(std::make_unique<std::vector<TvqrReportComponent*>>()) {}

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

namespace {

std::vector<TvqrDataSet*>& GlobalDataSets() {
  static std::vector<TvqrDataSet*> List;
  return List;
}

}  // namespace

const std::vector<TvqrDataSet*>& vqrGlobalDataSets() { return GlobalDataSets(); }

TvqrDataSet::TvqrDataSet(TComponent* AOwner) : TvqrDialogComponent(AOwner) {
  GlobalDataSets().push_back(this);
}

TvqrDataSet::~TvqrDataSet() { std::erase(GlobalDataSets(), this); }

// =============================================================================================
// Views
// =============================================================================================

TvqrView::TvqrView(TComponent* AOwner) : TvqrReportComponent(AOwner) {
  SetvqComponentStyle(vqComponentStyle() + TvqrComponentStyle{csDefaultDiff});
}

String TvqrView::GetDescription() const { return ClassName(); }

void TvqrView::Draw(TCanvas*, Extended, Extended, Extended, Extended) {}

TvqrCustomMemoView::TvqrCustomMemoView(TComponent* AOwner) : TvqrView(AOwner) {
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csDefaultDiff});
}

void TvqrCustomMemoView::SetStyle(const String& Value) {
  FStyle = Value;
  TvqrReport* R = Report();
  if (!R) return;
  if (TvqrStyleItem* Item = R->Styles()->Find(Value)) {
    SetColor(Item->Color());
    SetFont(Item->Font());
  }
}

// =============================================================================================
// Bands
// =============================================================================================

TvqrBand::TvqrBand(TComponent* AOwner) : TvqrReportComponent(AOwner) {}

String TvqrBand::GetDescription() const { return ClassName(); }

void TvqrBand::Draw(TCanvas*, Extended, Extended, Extended, Extended) {}

// =============================================================================================
// Pages
// =============================================================================================

namespace {

// Paper codes known to the model (sizes in tenths of a millimetre); the printer layer's
// table takes over the rest.
struct TPaperEntry {
  int Code, Width, Height;
};
constexpr TPaperEntry kPapers[] = {
    {1, 2159, 2794}, {5, 2159, 3556}, {8, 2970, 4200}, {9, 2100, 2970}, {11, 1480, 2100},
};

const TPaperEntry* FindPaper(int Code) {
  for (const TPaperEntry& P : kPapers)
    if (P.Code == Code) return &P;
  return nullptr;
}

Extended RoundTo8(Extended Value) {
  return static_cast<Extended>(RoundTo(static_cast<double>(Value), -8));
}

}  // namespace

TvqrDataPage::TvqrDataPage(TComponent* AOwner) : TvqrPage(AOwner) {
  SetWidth(1000);
  SetHeight(1000);
}

String TvqrDataPage::GetDescription() const { return ResText(u"obDataPage"); }

TvqrReportPage::TvqrReportPage(TComponent* AOwner) : TvqrPage(AOwner) {
  SetPaperSize(9);
  SetBaseName(u"Page");
}

void TvqrReportPage::UpdateDimensions() {
  SetWidth(static_cast<Extended>(Round(FPaperWidth * vq01cm)));
  SetHeight(static_cast<Extended>(Round(FPaperHeight * vq01cm)));
}

void TvqrReportPage::SetPaperWidth(Extended Value) {
  FPaperWidth = RoundTo8(Value);
  FPaperSize = 256;
  UpdateDimensions();
}

void TvqrReportPage::SetPaperHeight(Extended Value) {
  FPaperHeight = RoundTo8(Value);
  FPaperSize = 256;
  UpdateDimensions();
}

void TvqrReportPage::SetPaperSize(int Value) {
  FPaperSize = Value;
  if (Value >= 256) return;
  if (const TPaperEntry* P = FindPaper(Value)) {
    FPaperWidth = P->Width / 10.0L;
    FPaperHeight = P->Height / 10.0L;
    if (FOrientation == poLandscape) std::swap(FPaperWidth, FPaperHeight);
  }
  UpdateDimensions();
}

void TvqrReportPage::SetOrientation(TPrinterOrientation Value) {
  if (Value != FOrientation) {
    std::swap(FPaperWidth, FPaperHeight);
    const Extended L = FLeftMargin, R = FRightMargin, T = FTopMargin, B = FBottomMargin;
    if (Value == poLandscape) {
      FLeftMargin = T, FRightMargin = B, FTopMargin = R, FBottomMargin = L;
    } else {
      FLeftMargin = B, FRightMargin = T, FTopMargin = L, FBottomMargin = R;
    }
    FOrientation = Value;
    UpdateDimensions();
  }
  FOrientation = Value;
}

void TvqrReportPage::SetPageCount(int Value) {
  if (Value > 0) FPageCount = Value;
}

void TvqrReportPage::SetDefaults() {
  FLeftMargin = FRightMargin = FTopMargin = FBottomMargin = 10;
  UpdateDimensions();
}

TvqrComponent* TvqrReportPage::FindBand(TClass Band) const {
  for (TvqrComponent* Child : Objects())
    if (Child->InheritsFrom(Band)) return Child;
  return nullptr;
}

String TvqrReportPage::GetDescription() const { return ResText(u"obRepPage"); }
