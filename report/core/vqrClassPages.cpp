// vqrClassPages.cpp - the data page and the report page: paper, orientation, margins,
// columns, back picture, alignment of the bands.
#include "report/core/vqrClassPages.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrPaperSizes.h"

using namespace vqrclass_detail;

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
  using P = TvqrReportPage;
  Class.Property("Orientation", &P::Orientation, &P::SetOrientation, poPortrait)
      .Property("PaperWidth", &P::PaperWidth, &P::SetPaperWidth)
      .Property("PaperHeight", &P::PaperHeight, &P::SetPaperHeight)
      .Property("PaperSize", &P::PaperSize, &P::SetPaperSize)
      .Property("LeftMargin", &P::LeftMargin, &P::SetLeftMargin)
      .Property("RightMargin", &P::RightMargin, &P::SetRightMargin)
      .Property("TopMargin", &P::TopMargin, &P::SetTopMargin)
      .Property("BottomMargin", &P::BottomMargin, &P::SetBottomMargin)
      .Property("MirrorMargins", &P::MirrorMargins, &P::SetMirrorMargins, false)
      .Property("Columns", &P::Columns, &P::SetColumns, 0)
      .Property("ColumnWidth", &P::ColumnWidth, &P::SetColumnWidth)
      .Property("ColumnPositions", &P::ColumnPositions, &P::SetColumnPositions)
      .Property("Bin", &P::Bin, &P::SetBin, 7)
      .Property("BinOtherPages", &P::BinOtherPages, &P::SetBinOtherPages, 7)
      .Property("BackPicture", &P::BackPicture, &P::SetBackPicture)
      .Property("BackPictureVisible", &P::BackPictureVisible, &P::SetBackPictureVisible, true)
      .Property("BackPicturePrintable", &P::BackPicturePrintable, &P::SetBackPicturePrintable,
                true)
      .Property("PageCount", &P::PageCount, &P::SetPageCount, 1)
      .Property("Color", &P::Color, &P::SetColor, clNone)
      .Property("DataSet", &P::DataSet, &P::SetDataSet)
      .Property("DataSetName", &P::DataSetName, &P::SetDataSetName)
      .Property("Duplex", &P::Duplex, &P::SetDuplex, dmNone)
      .Property("Frame", &P::Frame, &P::SetFrame)
      .Property("EndlessHeight", &P::EndlessHeight, &P::SetEndlessHeight, false)
      .Property("EndlessWidth", &P::EndlessWidth, &P::SetEndlessWidth, false)
      .Property("LargeDesignHeight", &P::LargeDesignHeight, &P::SetLargeDesignHeight, false)
      .Property("OutlineText", &P::OutlineText, &P::SetOutlineText)
      .Property("PrintIfEmpty", &P::PrintIfEmpty, &P::SetPrintIfEmpty, true)
      .Property("PrintOnPreviousPage", &P::PrintOnPreviousPage, &P::SetPrintOnPreviousPage, false)
      .Property("ResetPageNumbers", &P::ResetPageNumbers, &P::SetResetPageNumbers, false)
      .Property("TitleBeforeHeader", &P::TitleBeforeHeader, &P::SetTitleBeforeHeader, true)
      .Property("HGuides", &P::HGuides, &P::SetHGuides)
      .Property("VGuides", &P::VGuides, &P::SetVGuides)
      .Property("OnAfterPrint", &P::OnAfterPrint, &P::SetOnAfterPrint)
      .Property("OnBeforePrint", &P::OnBeforePrint, &P::SetOnBeforePrint)
      .Property("OnManualBuild", &P::OnManualBuild, &P::SetOnManualBuild);
}

// =============================================================================================
// Shared helpers
// =============================================================================================

Extended RoundTo8Decimals(Extended X) {
  const long double Scaled = X * 1e8L;
  // Halves to even on the 64-bit integer, as the floating-point unit rounds by default.
  const Int64 N = Round(Scaled);
  return static_cast<Extended>(N) / 1e8L;
}

// =============================================================================================
// TvqrDataPage
// =============================================================================================

TvqrDataPage::TvqrDataPage(TComponent* AOwner) : TvqrPage(AOwner) {
  SetWidth(1000);
  SetHeight(1000);
}

String TvqrDataPage::GetDescription() const { return ResText(u"obDataPage"); }

// =============================================================================================
// TvqrReportPage
// =============================================================================================

TvqrReportPage::TvqrReportPage(TComponent* AOwner)
    : TvqrPage(AOwner),
      FColumnPositions(std::make_unique<TStringList>()),
      FHGuides(std::make_unique<TStringList>()),
      FVGuides(std::make_unique<TStringList>()),
      FBackPicture(std::make_unique<TvqrPictureView>(nullptr)) {
  FBackPicture->SetColor(clNone);
  FBackPicture->SetKeepAspectRatio(false);
  SetPaperSize(9);
  SetBaseName(u"Page");
}

TvqrReportPage::~TvqrReportPage() {
  if (FSubReport) FSubReport->PageDestroyed();
}

void TvqrReportPage::UpdateDimensions() {
  SetWidth(static_cast<Extended>(Round(FPaperWidth * vq01cm)));
  SetHeight(static_cast<Extended>(Round(FPaperHeight * vq01cm)));
}

void TvqrReportPage::SetPaperWidth(Extended Value) {
  FPaperWidth = RoundTo8Decimals(Value);
  FPaperSize = vqrCustomPaperCode;
  UpdateDimensions();
}

void TvqrReportPage::SetPaperHeight(Extended Value) {
  FPaperHeight = RoundTo8Decimals(Value);
  FPaperSize = vqrCustomPaperCode;
  UpdateDimensions();
}

void TvqrReportPage::SetPaperSize(int Value) {
  FPaperSize = Value;
  if (Value >= vqrCustomPaperCode) return;
  Extended W = 0, H = 0;
  if (LookupPaperSize(Value, W, H)) {
    if (FOrientation == poLandscape) std::swap(W, H);
    FPaperWidth = W;
    FPaperHeight = H;
  }
  UpdateDimensions();
}

void TvqrReportPage::SetSizeAndDimensions(int ASize, Extended AWidth, Extended AHeight) {
  FPaperSize = ASize;
  FPaperWidth = RoundTo8Decimals(AWidth);
  FPaperHeight = RoundTo8Decimals(AHeight);
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

void TvqrReportPage::SetColumns(int Value) {
  // A column narrower than a millimetre cannot be printed; a stored count beyond that would
  // otherwise list billions of positions.
  if (Value > 0 && Value > PrintableWidth())
    throw Exception(u"Invalid property value");
  FColumns = Value;
  FColumnPositions->Clear();
  if (Value <= 0) return;
  FColumnWidth = PrintableWidth() / Value;
  for (int I = 0; I < Value; ++I) FColumnPositions->Add(FloatToStr(I * FColumnWidth));
}

void TvqrReportPage::SetPageCount(int Value) {
  if (Value > 0) FPageCount = Value;
}

TPicture* TvqrReportPage::BackPicture() const { return FBackPicture->Picture(); }
void TvqrReportPage::SetBackPicture(TPicture* Value) { FBackPicture->SetPicture(Value); }
TColor TvqrReportPage::Color() const { return FBackPicture->Color(); }
void TvqrReportPage::SetColor(TColor Value) { FBackPicture->SetColor(Value); }
TvqrFrame* TvqrReportPage::Frame() const { return FBackPicture->Frame(); }
void TvqrReportPage::SetFrame(TvqrFrame* Value) { FBackPicture->SetFrame(Value); }

void TvqrReportPage::SetDataSet(TvqrDataSet* Value) { FDataSet.Set(Value, this); }

String TvqrReportPage::DataSetName() const { return FDataSet.Name(); }

void TvqrReportPage::SetDataSetName(const String& Value) { FDataSet.SetName(Value, this); }

void TvqrReportPage::ClearGuides() {
  FHGuides->Clear();
  FVGuides->Clear();
}

void TvqrReportPage::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) FDataSet.Removed(AComponent);
}

void TvqrReportPage::SetDefaults() {
  FLeftMargin = FRightMargin = FTopMargin = FBottomMargin = 10;
  // The virtual printer's defaults: A4 portrait.
  SetOrientation(poPortrait);
  SetPaperSize(9);
  UpdateDimensions();
}

TvqrComponent* TvqrReportPage::FindBand(TClass Band) const {
  for (TvqrComponent* Child : Objects())
    if (Child->InheritsFrom(Band)) return Child;
  return nullptr;
}

String TvqrReportPage::GetDescription() const { return ResText(u"obRepPage"); }

void TvqrReportPage::AlignChildren() {
  const Extended PrintW = PrintableWidth() * vq01cm;
  const Extended PrintH = PrintableHeight() * vq01cm;
  SetWidth(PrintW);
  SetHeight(PrintH);
  TvqrComponent::AlignChildren();
  for (TvqrComponent* Child : Objects()) {
    auto* Band = vqrAs<TvqrBand>(Child);
    if (!Band) continue;
    const bool PageWide = vqrAs<TvqrNullBand>(Band) || vqrAs<TvqrReportSummary>(Band) ||
                          vqrAs<TvqrPageHeader>(Band) || vqrAs<TvqrPageFooter>(Band) ||
                          vqrAs<TvqrReportTitle>(Band) || vqrAs<TvqrOverlay>(Band);
    if (Band->Vertical())
      Band->SetHeight(PrintH - Band->Top());
    else if (FColumns > 1 && !PageWide)
      Band->SetWidth(FColumnWidth * vq01cm);
    else
      Band->SetWidth(Width() - Band->Left());
    Band->AlignChildren();
  }
  UpdateDimensions();
}

void TvqrReportPage::Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                          Extended OffsetY) {
  FBackPicture->SetWidth(PrintableWidth() * vq01cm);
  FBackPicture->SetHeight(PrintableHeight() * vq01cm);
  if (!FBackPictureVisible || (IsPrinting() && !FBackPicturePrintable)) return;
  FBackPicture->Draw(Canvas, ScaleX, ScaleY, OffsetX + ScaleX * FLeftMargin * vq01cm,
                     OffsetY + ScaleY * FTopMargin * vq01cm);
}
