// vqrClassBands.cpp - bands: published subsets, names and numbers, the child chain, data-band
// columns and record counter, the group header's drill-down attribute.
#include "report/core/vqrClassBands.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrXML.h"

using namespace vqrclass_detail;

// --- Published properties ---------------------------------------------------------------------

namespace {

// The properties every band class publishes besides the base set, one helper per property,
// so each class lists its subset in the order it publishes them.
template <class T>
using TB = TClassBuilder<T>;

template <class T>
void AllowSplit(TB<T>& C) { C.Property("AllowSplit", &TvqrBand::AllowSplit, &TvqrBand::SetAllowSplit, false); }
template <class T>
void Child(TB<T>& C) { C.Property("Child", &TvqrBand::Child, &TvqrBand::SetChild); }
template <class T>
void KeepChild(TB<T>& C) { C.Property("KeepChild", &TvqrBand::KeepChild, &TvqrBand::SetKeepChild, false); }
template <class T>
void OutlineText(TB<T>& C) { C.Property("OutlineText", &TvqrBand::OutlineText, &TvqrBand::SetOutlineText); }
template <class T>
void PrintChildIfInvisible(TB<T>& C) {
  C.Property("PrintChildIfInvisible", &TvqrBand::PrintChildIfInvisible,
             &TvqrBand::SetPrintChildIfInvisible, false);
}
template <class T>
void StartNewPage(TB<T>& C) { C.Property("StartNewPage", &TvqrBand::StartNewPage, &TvqrBand::SetStartNewPage, false); }
template <class T>
void Stretched(TB<T>& C) { C.Property("Stretched", &TvqrBand::Stretched, &TvqrBand::SetStretched, false); }

// AllowSplit, Child, KeepChild, PrintChildIfInvisible, StartNewPage, Stretched.
template <class T>
void TitleSet(TB<T>& C) {
  AllowSplit(C), Child(C), KeepChild(C), PrintChildIfInvisible(C), StartNewPage(C), Stretched(C);
}

}  // namespace

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

REGISTER_CLASS(TvqrReportTitle) { TitleSet(Class); }
REGISTER_CLASS(TvqrReportSummary) { TitleSet(Class); }
REGISTER_CLASS(TvqrPageHeader) {
  Child(Class), PrintChildIfInvisible(Class);
  Class.Property("PrintOnFirstPage", &TvqrPageHeader::PrintOnFirstPage,
                 &TvqrPageHeader::SetPrintOnFirstPage, true);
  Stretched(Class);
}
REGISTER_CLASS(TvqrPageFooter) {
  Class.Property("PrintOnFirstPage", &TvqrPageFooter::PrintOnFirstPage,
                 &TvqrPageFooter::SetPrintOnFirstPage, true)
      .Property("PrintOnLastPage", &TvqrPageFooter::PrintOnLastPage,
                &TvqrPageFooter::SetPrintOnLastPage, true);
}
REGISTER_CLASS(TvqrHeader) {
  AllowSplit(Class), Child(Class), KeepChild(Class), PrintChildIfInvisible(Class);
  Class.Property("ReprintOnNewPage", &TvqrHeader::ReprintOnNewPage,
                 &TvqrHeader::SetReprintOnNewPage, false);
  StartNewPage(Class), Stretched(Class);
}
REGISTER_CLASS(TvqrFooter) {
  AllowSplit(Class), Child(Class), KeepChild(Class), PrintChildIfInvisible(Class), Stretched(Class);
}
REGISTER_CLASS(TvqrDataBand) {
  AllowSplit(Class), Child(Class);
  Class.Property("Columns", &TvqrDataBand::Columns, &TvqrDataBand::SetColumns, 0)
      .Property("ColumnWidth", &TvqrDataBand::ColumnWidth, &TvqrDataBand::SetColumnWidth)
      .Property("ColumnGap", &TvqrDataBand::ColumnGap, &TvqrDataBand::SetColumnGap)
      .Property("DataSet", &TvqrDataBand::DataSet, &TvqrDataBand::SetDataSet)
      .Property("DataSetName", &TvqrDataBand::DataSetName, &TvqrDataBand::SetDataSetName)
      .Property("FooterAfterEach", &TvqrDataBand::FooterAfterEach,
                &TvqrDataBand::SetFooterAfterEach, false);
  KeepChild(Class);
  Class.Property("KeepFooter", &TvqrDataBand::KeepFooter, &TvqrDataBand::SetKeepFooter, false)
      .Property("KeepHeader", &TvqrDataBand::KeepHeader, &TvqrDataBand::SetKeepHeader, false)
      .Property("KeepTogether", &TvqrDataBand::KeepTogether, &TvqrDataBand::SetKeepTogether,
                false);
  OutlineText(Class), PrintChildIfInvisible(Class);
  Class.Property("PrintIfDetailEmpty", &TvqrDataBand::PrintIfDetailEmpty,
                 &TvqrDataBand::SetPrintIfDetailEmpty, false)
      .Property("RowCount", &TvqrDataBand::RowCount, &TvqrDataBand::SetRowCount);
  StartNewPage(Class), Stretched(Class);
  Class.Property("OnMasterDetail", &TvqrDataBand::OnMasterDetail, &TvqrDataBand::SetOnMasterDetail);
}
REGISTER_CLASS(TvqrMasterData) {}
REGISTER_CLASS(TvqrDetailData) {}
REGISTER_CLASS(TvqrSubdetailData) {}
REGISTER_CLASS(TvqrDataBand4) {}
REGISTER_CLASS(TvqrDataBand5) {}
REGISTER_CLASS(TvqrDataBand6) {}
REGISTER_CLASS(TvqrGroupHeader) {
  AllowSplit(Class), Child(Class);
  using G = TvqrGroupHeader;
  Class.Property("Condition", &G::Condition, &G::SetCondition)
      .Property("DrillDown", &G::DrillDown, &G::SetDrillDown, false)
      .Property("ExpandDrillDown", &G::ExpandDrillDown, &G::SetExpandDrillDown, false);
  KeepChild(Class);
  Class.Property("KeepTogether", &G::KeepTogether, &G::SetKeepTogether, false)
      .Property("ReprintOnNewPage", &G::ReprintOnNewPage, &G::SetReprintOnNewPage, false);
  OutlineText(Class), PrintChildIfInvisible(Class);
  Class.Property("ResetPageNumbers", &G::ResetPageNumbers, &G::SetResetPageNumbers, false)
      .Property("ShowFooterIfDrillDown", &G::ShowFooterIfDrillDown, &G::SetShowFooterIfDrillDown,
                false)
      .Property("ShowChildIfDrillDown", &G::ShowChildIfDrillDown, &G::SetShowChildIfDrillDown,
                false);
  StartNewPage(Class), Stretched(Class);
  Class.Property("DrillName", &G::DrillName, &G::SetDrillName);
}
REGISTER_CLASS(TvqrGroupFooter) {
  AllowSplit(Class), Child(Class);
  Class.Property("HideIfSingleDataRecord", &TvqrGroupFooter::HideIfSingleDataRecord,
                 &TvqrGroupFooter::SetHideIfSingleDataRecord, false);
  KeepChild(Class), PrintChildIfInvisible(Class), Stretched(Class);
}
REGISTER_CLASS(TvqrChild) { TitleSet(Class); }
REGISTER_CLASS(TvqrColumnHeader) { Child(Class), Stretched(Class); }
REGISTER_CLASS(TvqrColumnFooter) {}
REGISTER_CLASS(TvqrOverlay) {
  Class.Property("PrintOnTop", &TvqrOverlay::PrintOnTop, &TvqrOverlay::SetPrintOnTop, false);
}
REGISTER_CLASS(TvqrNullBand) {}

// --- TvqrBand ---------------------------------------------------------------------------------

TvqrBand::TvqrBand(TComponent* AOwner)
    : TvqrReportComponent(AOwner), FSubBands(std::make_unique<std::vector<TvqrBand*>>()) {}

TvqrBand::~TvqrBand() = default;

void TvqrBand::SetChild(TvqrChild* Value) {
  for (TvqrBand* B = Value; B; B = B->Child())
    if (B == this) throw Exception(u"Circular child reference is not allowed");
  FChild = Value;
  if (Value) Value->FreeNotification(this);
}

String TvqrBand::BandName() const {
  String Result = ClassName();
  for (std::u16string_view Part : {u"Tvqr", u"Band"}) {
    const std::size_t P = Result.find(Part);
    if (P != String::npos) Result.erase(P, Part.size());
  }
  return Result;
}

int TvqrBand::BandOrdinal() const {
  // The band classes in the engine's order; a subclass takes its last matching entry.
  static const TClass Order[] = {
      TvqrReportTitle::ClassInfo(),  TvqrReportSummary::ClassInfo(), TvqrPageHeader::ClassInfo(),
      TvqrPageFooter::ClassInfo(),   TvqrHeader::ClassInfo(),        TvqrFooter::ClassInfo(),
      TvqrMasterData::ClassInfo(),   TvqrDetailData::ClassInfo(),    TvqrSubdetailData::ClassInfo(),
      TvqrDataBand4::ClassInfo(),    TvqrDataBand5::ClassInfo(),     TvqrDataBand6::ClassInfo(),
      TvqrGroupHeader::ClassInfo(),  TvqrGroupFooter::ClassInfo(),   TvqrChild::ClassInfo(),
      TvqrColumnHeader::ClassInfo(), TvqrColumnFooter::ClassInfo(),  TvqrOverlay::ClassInfo()};
  int Result = 0;
  for (int I = 0; I < static_cast<int>(std::size(Order)); ++I)
    if (InheritsFrom(Order[I])) Result = I;
  return Result;
}

String TvqrBand::GetDescription() const { return ResText(u"obBand"); }

void TvqrBand::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FChild) FChild = nullptr;
}

// --- TvqrDataBand -----------------------------------------------------------------------------

TvqrDataBand::TvqrDataBand(TComponent* AOwner)
    : TvqrBand(AOwner), FVirtualDataSet(std::make_unique<TvqrUserDataSet>(nullptr)) {
  FVirtualDataSet->SetRangeEnd(reCount);
}

TvqrDataBand::~TvqrDataBand() = default;

void TvqrDataBand::SetCurColumn(int Value) {
  if (Value > FColumns) Value = 1;
  FCurColumn = Value;
  if (Value == 1) MaxY = 0;
  SetLeftDirect((FCurColumn - 1) * (FColumnWidth + FColumnGap));
}

void TvqrDataBand::SetDataSet(TvqrDataSet* Value) { FDataSet.Set(Value, this); }

String TvqrDataBand::DataSetName() const { return FDataSet.Name(); }

void TvqrDataBand::SetDataSetName(const String& Value) { FDataSet.SetName(Value, this); }

void TvqrDataBand::SetRowCount(int Value) {
  FRowCount = Value;
  FVirtualDataSet->SetRangeEndCount(Value);
}

String TvqrDataBand::GetDescription() const { return ResText(u"obDataBand"); }

void TvqrDataBand::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) FDataSet.Removed(AComponent);
}

// --- TvqrGroupHeader --------------------------------------------------------------------------

String TvqrGroupHeader::Diff(TvqrComponent* AComponent) const {
  String Result = inherited::Diff(AComponent);
  if (FDrillDown) Result += u" DrillName=\"" + EncodeXMLValue(FDrillName) + u"\"";
  return Result;
}
