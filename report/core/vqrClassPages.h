// vqrClassPages.h - the pages of a report: TvqrPage, the data page holding the non-visual
// components and the printable TvqrReportPage with its paper geometry, columns, back
// picture and frame.
//
// Paper sizes and margins are millimetres; the page's own Width and Height are pixels
// (vq01cm per millimetre).
#pragma once

#include <memory>

#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClassViews.h"

class TPicture;
class TvqrDataSet;
class TvqrPictureView;
class TvqrSubreport;

class TvqrPage : public TvqrComponent {
  VORENTA_CLASS(TvqrPage, TvqrComponent)
public:
  explicit TvqrPage(TComponent* AOwner) : TvqrComponent(AOwner) {}
};

// The page holding the non-visual data components; 1000 x 1000.
class TvqrDataPage : public TvqrPage {
  VORENTA_CLASS(TvqrDataPage, TvqrPage)
public:
  explicit TvqrDataPage(TComponent* AOwner);
  String GetDescription() const override;
};

class TvqrReportPage : public TvqrPage {
  VORENTA_CLASS(TvqrReportPage, TvqrPage)
public:
  // A4 portrait (code 9), margins 0, bins 7, one copy of the page.
  explicit TvqrReportPage(TComponent* AOwner);
  ~TvqrReportPage() override;

  // --- paper --------------------------------------------------------------------------------
  TPrinterOrientation Orientation() const { return FOrientation; }
  // Swaps the paper sides and rotates the margins when the orientation changes.
  void SetOrientation(TPrinterOrientation Value);
  Extended PaperWidth() const { return FPaperWidth; }
  Extended PaperHeight() const { return FPaperHeight; }
  // Rounded to 8 decimals; the paper becomes custom (256).
  virtual void SetPaperWidth(Extended Value);
  virtual void SetPaperHeight(Extended Value);
  int PaperSize() const { return FPaperSize; }
  // A code of the paper table takes its sizes (swapped for landscape); 256 and above and
  // unknown codes keep them.
  virtual void SetPaperSize(int Value);
  // Stores the code and both sizes without a table lookup.
  void SetSizeAndDimensions(int ASize, Extended AWidth, Extended AHeight);
  Extended LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(Extended Value) { FLeftMargin = Value; }
  Extended RightMargin() const { return FRightMargin; }
  void SetRightMargin(Extended Value) { FRightMargin = Value; }
  Extended TopMargin() const { return FTopMargin; }
  void SetTopMargin(Extended Value) { FTopMargin = Value; }
  Extended BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(Extended Value) { FBottomMargin = Value; }
  bool MirrorMargins() const { return FMirrorMargins; }
  void SetMirrorMargins(bool Value) { FMirrorMargins = Value; }
  // Paper width less both margins, in millimetres.
  Extended PrintableWidth() const { return FPaperWidth - FLeftMargin - FRightMargin; }
  Extended PrintableHeight() const { return FPaperHeight - FTopMargin - FBottomMargin; }

  // --- columns ------------------------------------------------------------------------------
  int Columns() const { return FColumns; }
  // Empties ColumnPositions; a positive count sets ColumnWidth to the printable width shared
  // out and lists each column's left edge. A count above the printable width in millimetres
  // is refused with "Invalid property value" (a column cannot be narrower than 1 mm).
  void SetColumns(int Value);
  Extended ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(Extended Value) { FColumnWidth = Value; }
  TStrings* ColumnPositions() const { return FColumnPositions.get(); }
  void SetColumnPositions(TStrings* Value) { FColumnPositions->Assign(Value); }

  // --- the rest of the published set --------------------------------------------------------
  int Bin() const { return FBin; }
  void SetBin(int Value) { FBin = Value; }
  int BinOtherPages() const { return FBinOtherPages; }
  void SetBinOtherPages(int Value) { FBinOtherPages = Value; }
  TPicture* BackPicture() const;
  void SetBackPicture(TPicture* Value);
  bool BackPictureVisible() const { return FBackPictureVisible; }
  void SetBackPictureVisible(bool Value) { FBackPictureVisible = Value; }
  bool BackPicturePrintable() const { return FBackPicturePrintable; }
  void SetBackPicturePrintable(bool Value) { FBackPicturePrintable = Value; }
  int PageCount() const { return FPageCount; }
  // Values below 1 are ignored.
  void SetPageCount(int Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TvqrDataSet* DataSet() const { return FDataSet.DataSet; }
  void SetDataSet(TvqrDataSet* Value);
  String DataSetName() const;
  void SetDataSetName(const String& Value);
  TvqrDuplexMode Duplex() const { return FDuplex; }
  void SetDuplex(TvqrDuplexMode Value) { FDuplex = Value; }
  TvqrFrame* Frame() const;
  void SetFrame(TvqrFrame* Value);
  bool EndlessHeight() const { return FEndlessHeight; }
  void SetEndlessHeight(bool Value) { FEndlessHeight = Value; }
  bool EndlessWidth() const { return FEndlessWidth; }
  void SetEndlessWidth(bool Value) { FEndlessWidth = Value; }
  bool LargeDesignHeight() const { return FLargeDesignHeight; }
  void SetLargeDesignHeight(bool Value) { FLargeDesignHeight = Value; }
  const String& OutlineText() const { return FOutlineText; }
  void SetOutlineText(const String& Value) { FOutlineText = Value; }
  bool PrintIfEmpty() const { return FPrintIfEmpty; }
  void SetPrintIfEmpty(bool Value) { FPrintIfEmpty = Value; }
  bool PrintOnPreviousPage() const { return FPrintOnPreviousPage; }
  void SetPrintOnPreviousPage(bool Value) { FPrintOnPreviousPage = Value; }
  bool ResetPageNumbers() const { return FResetPageNumbers; }
  void SetResetPageNumbers(bool Value) { FResetPageNumbers = Value; }
  bool TitleBeforeHeader() const { return FTitleBeforeHeader; }
  void SetTitleBeforeHeader(bool Value) { FTitleBeforeHeader = Value; }
  TStrings* HGuides() const { return FHGuides.get(); }
  void SetHGuides(TStrings* Value) { FHGuides->Assign(Value); }
  TStrings* VGuides() const { return FVGuides.get(); }
  void SetVGuides(TStrings* Value) { FVGuides->Assign(Value); }
  void ClearGuides();
  const TvqrNotifyEvent& OnAfterPrint() const { return FOnAfterPrint; }
  void SetOnAfterPrint(const TvqrNotifyEvent& Value) { FOnAfterPrint = Value; }
  const TvqrNotifyEvent& OnBeforePrint() const { return FOnBeforePrint; }
  void SetOnBeforePrint(const TvqrNotifyEvent& Value) { FOnBeforePrint = Value; }
  const TvqrNotifyEvent& OnManualBuild() const { return FOnManualBuild; }
  void SetOnManualBuild(const TvqrNotifyEvent& Value) { FOnManualBuild = Value; }

  // --- public -------------------------------------------------------------------------------
  TvqrSubreport* SubReport() const { return FSubReport; }
  void SetSubReport(TvqrSubreport* Value) { FSubReport = Value; }
  bool IsSubReport() const { return FSubReport != nullptr; }
  TvqrPictureView* BackPictureView() const { return FBackPicture.get(); }
  // Sub-band lists the engine fills (not owned).
  std::vector<TvqrComponent*>& SubBands() { return FSubBands; }
  std::vector<TvqrComponent*>& VSubBands() { return FVSubBands; }

  // Margins 10 mm; paper and orientation from the current printer's defaults (a virtual
  // printer's A4 portrait until a printer layer supplies them).
  virtual void SetDefaults();
  // The first child of class Band or a descendant, or nullptr.
  TvqrComponent* FindBand(TClass Band) const;
  // Bands take the printable (or column) width, then every size returns to the whole paper.
  void AlignChildren() override;
  // The back picture (colour, frame, picture) inside the margins.
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY);
  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void UpdateDimensions();

  TPrinterOrientation FOrientation = poPortrait;
  Extended FPaperWidth = 0, FPaperHeight = 0;
  int FPaperSize = 0;
  Extended FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
  bool FMirrorMargins = false;
  int FColumns = 0;
  Extended FColumnWidth = 0;
  std::unique_ptr<TStringList> FColumnPositions;
  int FBin = 7, FBinOtherPages = 7;
  bool FBackPictureVisible = true, FBackPicturePrintable = true;
  int FPageCount = 1;
  TvqrDataSetRef FDataSet;
  TvqrDuplexMode FDuplex = dmNone;
  bool FEndlessHeight = false, FEndlessWidth = false, FLargeDesignHeight = false;
  String FOutlineText;
  bool FPrintIfEmpty = true, FPrintOnPreviousPage = false, FResetPageNumbers = false;
  bool FTitleBeforeHeader = true;
  std::unique_ptr<TStringList> FHGuides, FVGuides;
  TvqrNotifyEvent FOnAfterPrint, FOnBeforePrint, FOnManualBuild;
  TvqrSubreport* FSubReport = nullptr;
  std::unique_ptr<TvqrPictureView> FBackPicture;
  std::vector<TvqrComponent*> FSubBands, FVSubBands;
};
