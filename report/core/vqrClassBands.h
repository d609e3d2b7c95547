// vqrClassBands.h - the bands a report page is laid out from: TvqrBand, the nineteen band
// classes, the data band with its columns and record counter, and the group header.
//
// The fields below "filled by the engine" belong to the band engine, which rewrites them
// each time it builds a page's band tree and while it prints.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Variants.h"
#include "report/core/vqrClassBase.h"

class TvqrDataSet;
class TvqrUserDataSet;
class TvqrChild;

class TvqrBand : public TvqrReportComponent {
  VORENTA_CLASS(TvqrBand, TvqrReportComponent)
public:
  explicit TvqrBand(TComponent* AOwner);
  ~TvqrBand() override;

  bool AllowSplit() const { return FAllowSplit; }
  void SetAllowSplit(bool Value) { FAllowSplit = Value; }
  TvqrChild* Child() const { return FChild; }
  // Raises "Circular child reference is not allowed" when the chain from Value leads back
  // here; the old child stays.
  void SetChild(TvqrChild* Value);
  bool KeepChild() const { return FKeepChild; }
  void SetKeepChild(bool Value) { FKeepChild = Value; }
  const TvqrNotifyEvent& OnAfterCalcHeight() const { return FOnAfterCalcHeight; }
  void SetOnAfterCalcHeight(const TvqrNotifyEvent& Value) { FOnAfterCalcHeight = Value; }
  const String& OutlineText() const { return FOutlineText; }
  void SetOutlineText(const String& Value) { FOutlineText = Value; }
  bool Overflow() const { return FOverflow; }
  void SetOverflow(bool Value) { FOverflow = Value; }
  bool StartNewPage() const { return FStartNewPage; }
  void SetStartNewPage(bool Value) { FStartNewPage = Value; }
  bool Stretched() const { return FStretched; }
  void SetStretched(bool Value) { FStretched = Value; }
  bool PrintChildIfInvisible() const { return FPrintChildIfInvisible; }
  void SetPrintChildIfInvisible(bool Value) { FPrintChildIfInvisible = Value; }
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }

  // The class name without its first "Tvqr" and first "Band" (MasterData, Data4).
  String BandName() const;
  // The band number the engine orders and nests by (0 for classes outside the order).
  int BandOrdinal() const;

  // Bands draw nothing.
  void Draw(TCanvas*, Extended, Extended, Extended, Extended) override {}
  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- filled by the engine -----------------------------------------------------------------
  std::vector<TvqrBand*>& SubBands() { return *FSubBands; }
  TvqrBand* Header = nullptr;
  TvqrBand* Footer = nullptr;
  TvqrBand* Group = nullptr;
  int LineN = 0;
  int LineThrough = 0;
  int OriginalObjectsCount = -1;
  bool HasVBands = false;
  Extended StretchedHeight = 0;

private:
  bool FAllowSplit = false;
  TvqrChild* FChild = nullptr;
  bool FKeepChild = false;
  TvqrNotifyEvent FOnAfterCalcHeight;
  String FOutlineText;
  bool FOverflow = false;
  bool FStartNewPage = false;
  bool FStretched = false;
  bool FPrintChildIfInvisible = false;
  bool FVertical = false;
  std::unique_ptr<std::vector<TvqrBand*>> FSubBands;
};

#define VQR_DECLARE_BAND(Name)                              \
  class Name : public TvqrBand {                            \
    VORENTA_CLASS(Name, TvqrBand)                           \
  public:                                                   \
    explicit Name(TComponent* AOwner) : TvqrBand(AOwner) {} \
  }

VQR_DECLARE_BAND(TvqrReportTitle);
VQR_DECLARE_BAND(TvqrReportSummary);
VQR_DECLARE_BAND(TvqrFooter);
VQR_DECLARE_BAND(TvqrChild);
VQR_DECLARE_BAND(TvqrColumnHeader);
VQR_DECLARE_BAND(TvqrColumnFooter);
VQR_DECLARE_BAND(TvqrNullBand);
#undef VQR_DECLARE_BAND

class TvqrPageHeader : public TvqrBand {
  VORENTA_CLASS(TvqrPageHeader, TvqrBand)
public:
  explicit TvqrPageHeader(TComponent* AOwner) : TvqrBand(AOwner) {}
  bool PrintOnFirstPage() const { return FPrintOnFirstPage; }
  void SetPrintOnFirstPage(bool Value) { FPrintOnFirstPage = Value; }

private:
  bool FPrintOnFirstPage = true;
};

class TvqrPageFooter : public TvqrBand {
  VORENTA_CLASS(TvqrPageFooter, TvqrBand)
public:
  explicit TvqrPageFooter(TComponent* AOwner) : TvqrBand(AOwner) {}
  bool PrintOnFirstPage() const { return FPrintOnFirstPage; }
  void SetPrintOnFirstPage(bool Value) { FPrintOnFirstPage = Value; }
  bool PrintOnLastPage() const { return FPrintOnLastPage; }
  void SetPrintOnLastPage(bool Value) { FPrintOnLastPage = Value; }

private:
  bool FPrintOnFirstPage = true;
  bool FPrintOnLastPage = true;
};

class TvqrHeader : public TvqrBand {
  VORENTA_CLASS(TvqrHeader, TvqrBand)
public:
  explicit TvqrHeader(TComponent* AOwner) : TvqrBand(AOwner) {}
  bool ReprintOnNewPage() const { return FReprintOnNewPage; }
  void SetReprintOnNewPage(bool Value) { FReprintOnNewPage = Value; }

private:
  bool FReprintOnNewPage = false;
};

class TvqrGroupFooter : public TvqrBand {
  VORENTA_CLASS(TvqrGroupFooter, TvqrBand)
public:
  explicit TvqrGroupFooter(TComponent* AOwner) : TvqrBand(AOwner) {}
  bool HideIfSingleDataRecord() const { return FHideIfSingleDataRecord; }
  void SetHideIfSingleDataRecord(bool Value) { FHideIfSingleDataRecord = Value; }

private:
  bool FHideIfSingleDataRecord = false;
};

class TvqrOverlay : public TvqrBand {
  VORENTA_CLASS(TvqrOverlay, TvqrBand)
public:
  explicit TvqrOverlay(TComponent* AOwner) : TvqrBand(AOwner) {}
  bool PrintOnTop() const { return FPrintOnTop; }
  void SetPrintOnTop(bool Value) { FPrintOnTop = Value; }

private:
  bool FPrintOnTop = false;
};

// =============================================================================================
// Data bands
// =============================================================================================

class TvqrDataBand : public TvqrBand {
  VORENTA_CLASS(TvqrDataBand, TvqrBand)
public:
  explicit TvqrDataBand(TComponent* AOwner);
  ~TvqrDataBand() override;

  Extended ColumnGap() const { return FColumnGap; }
  void SetColumnGap(Extended Value) { FColumnGap = Value; }
  Extended ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(Extended Value) { FColumnWidth = Value; }
  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  int CurColumn() const { return FCurColumn; }
  // Above Columns wraps to 1 (which clears MaxY); Left moves to the column, bypassing the
  // position setter.
  void SetCurColumn(int Value);
  TvqrDataSet* DataSet() const { return FDataSet.DataSet; }
  void SetDataSet(TvqrDataSet* Value);
  String DataSetName() const;
  void SetDataSetName(const String& Value);
  bool FooterAfterEach() const { return FFooterAfterEach; }
  void SetFooterAfterEach(bool Value) { FFooterAfterEach = Value; }
  bool KeepFooter() const { return FKeepFooter; }
  void SetKeepFooter(bool Value) { FKeepFooter = Value; }
  bool KeepHeader() const { return FKeepHeader; }
  void SetKeepHeader(bool Value) { FKeepHeader = Value; }
  bool KeepTogether() const { return FKeepTogether; }
  void SetKeepTogether(bool Value) { FKeepTogether = Value; }
  bool PrintIfDetailEmpty() const { return FPrintIfDetailEmpty; }
  void SetPrintIfDetailEmpty(bool Value) { FPrintIfDetailEmpty = Value; }
  int RowCount() const { return FRowCount; }
  // Also the virtual data source's RangeEndCount.
  void SetRowCount(int Value);
  const TvqrNotifyEvent& OnMasterDetail() const { return FOnMasterDetail; }
  void SetOnMasterDetail(const TvqrNotifyEvent& Value) { FOnMasterDetail = Value; }
  // The record counter bound when the band has no data source and RowCount > 0.
  TvqrUserDataSet* VirtualDataSet() const { return FVirtualDataSet.get(); }

  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The lowest point the columns of the current row reached (engine).
  Extended MaxY = 0;

private:
  Extended FColumnGap = 0, FColumnWidth = 0;
  int FColumns = 0;
  int FCurColumn = 0;
  TvqrDataSetRef FDataSet;
  bool FFooterAfterEach = false, FKeepFooter = false, FKeepHeader = false;
  bool FKeepTogether = false, FPrintIfDetailEmpty = false;
  int FRowCount = 0;
  TvqrNotifyEvent FOnMasterDetail;
  std::unique_ptr<TvqrUserDataSet> FVirtualDataSet;
};

#define VQR_DECLARE_DATA_BAND(Name)                             \
  class Name : public TvqrDataBand {                            \
    VORENTA_CLASS(Name, TvqrDataBand)                           \
  public:                                                       \
    explicit Name(TComponent* AOwner) : TvqrDataBand(AOwner) {} \
  }

VQR_DECLARE_DATA_BAND(TvqrMasterData);
VQR_DECLARE_DATA_BAND(TvqrDetailData);
VQR_DECLARE_DATA_BAND(TvqrSubdetailData);
VQR_DECLARE_DATA_BAND(TvqrDataBand4);
VQR_DECLARE_DATA_BAND(TvqrDataBand5);
VQR_DECLARE_DATA_BAND(TvqrDataBand6);
#undef VQR_DECLARE_DATA_BAND

// =============================================================================================
// Group header
// =============================================================================================

class TvqrGroupHeader : public TvqrBand {
  VORENTA_CLASS(TvqrGroupHeader, TvqrBand)
public:
  explicit TvqrGroupHeader(TComponent* AOwner) : TvqrBand(AOwner) {}

  const String& Condition() const { return FCondition; }
  void SetCondition(const String& Value) { FCondition = Value; }
  const String& DrillName() const { return FDrillName; }
  void SetDrillName(const String& Value) { FDrillName = Value; }
  bool DrillDown() const { return FDrillDown; }
  void SetDrillDown(bool Value) { FDrillDown = Value; }
  bool ExpandDrillDown() const { return FExpandDrillDown; }
  void SetExpandDrillDown(bool Value) { FExpandDrillDown = Value; }
  bool ShowFooterIfDrillDown() const { return FShowFooterIfDrillDown; }
  void SetShowFooterIfDrillDown(bool Value) { FShowFooterIfDrillDown = Value; }
  bool ShowChildIfDrillDown() const { return FShowChildIfDrillDown; }
  void SetShowChildIfDrillDown(bool Value) { FShowChildIfDrillDown = Value; }
  bool KeepTogether() const { return FKeepTogether; }
  void SetKeepTogether(bool Value) { FKeepTogether = Value; }
  bool ReprintOnNewPage() const { return FReprintOnNewPage; }
  void SetReprintOnNewPage(bool Value) { FReprintOnNewPage = Value; }
  bool ResetPageNumbers() const { return FResetPageNumbers; }
  void SetResetPageNumbers(bool Value) { FResetPageNumbers = Value; }

  // With DrillDown, " DrillName" ends the prepared-object text.
  String Diff(TvqrComponent* AComponent) const override;

  // The condition's value for the current group (engine).
  Variant LastValue;

private:
  String FCondition, FDrillName;
  bool FDrillDown = false, FExpandDrillDown = false, FShowFooterIfDrillDown = false;
  bool FShowChildIfDrillDown = false, FKeepTogether = false, FReprintOnNewPage = false;
  bool FResetPageNumbers = false;
};
