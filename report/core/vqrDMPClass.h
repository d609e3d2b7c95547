// vqrDMPClass.h - objects of dot-matrix (character-grid) reports: a page whose paper and
// margins snap to whole character cells, a text object and a line object that snap to the cell
// grid and carry printer font styles, and an object holding a raw printer command. No export
// turns them into printer output here; they are stored, prepared and drawn like their bases.
#pragma once

#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassPicture.h"

// The character cell: 9.6 x 17 pixels.
constexpr Extended vq1CharX = 9.6L;
constexpr int vq1CharY = 17;

VORENTA_ENUM(TvqrDMPFontStyle, fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript,
             fsxCondensed, fsxWide, fsx12cpi, fsx15cpi);
VORENTA_SET(TvqrDMPFontStyles, TvqrDMPFontStyle);

class TvqrDMPPage : public TvqrReportPage {
  VORENTA_CLASS(TvqrDMPPage, TvqrReportPage)
public:
  explicit TvqrDMPPage(TComponent* AOwner);
  TvqrDMPFontStyles FontStyle() const { return FFontStyle; }
  // Also gives the style to every object of the page that takes its parent's font.
  void SetFontStyle(TvqrDMPFontStyles Value);
  void ResetFontOptions();
  void SetPaperWidth(Extended Value) override;
  void SetPaperHeight(Extended Value) override;
  void SetPaperSize(int Value) override;
  void SetDefaults() override;

private:
  TvqrDMPFontStyles FFontStyle;
  bool FInDefaults = false;
};

class TvqrDMPMemoView : public TvqrMemoView {
  VORENTA_CLASS(TvqrDMPMemoView, TvqrMemoView)
public:
  explicit TvqrDMPMemoView(TComponent* AOwner);
  TvqrDMPFontStyles FontStyle() const { return FFontStyle; }
  void SetFontStyle(TvqrDMPFontStyles Value);
  bool TruncOutboundText() const { return FTruncOutboundText; }
  void SetTruncOutboundText(bool Value) { FTruncOutboundText = Value; }
  void ResetFontOptions();
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetWidth(Extended Value) override;
  void SetHeight(Extended Value) override;
  void SetParentFont(bool Value) override;
  void SetBoundsDirect(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight);
  // The lines of the text cut to the object's cells, each ended by CR LF.
  String GetoutBoundText() const;
  Extended CalcHeight() override;
  Extended CalcWidth() override;
  void DrawFrame() override;
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;

private:
  TvqrDMPFontStyles FFontStyle;
  bool FTruncOutboundText = false;
};

class TvqrDMPLineView : public TvqrLineView {
  VORENTA_CLASS(TvqrDMPLineView, TvqrLineView)
public:
  explicit TvqrDMPLineView(TComponent* AOwner) : TvqrLineView(AOwner) {}
  TvqrDMPFontStyles FontStyle() const { return FFontStyle; }
  void SetFontStyle(TvqrDMPFontStyles Value);
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetWidth(Extended Value) override;
  void SetParentFont(bool Value) override;
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;

private:
  TvqrDMPFontStyles FFontStyle;
};

class TvqrDMPCommand : public TvqrView {
  VORENTA_CLASS(TvqrDMPCommand, TvqrView)
public:
  explicit TvqrDMPCommand(TComponent* AOwner) : TvqrView(AOwner) {}
  const String& Command() const { return FCommand; }
  void SetCommand(const String& Value) { FCommand = Value; }
  // "#27#64": decimal codes; otherwise hexadecimal pairs ("1B40"), an odd last digit dropped.
  // A code that is no number raises EConvertError.
  String ToChr() const;
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;

private:
  String FCommand;
};

// The three dot-matrix objects in the object registry (dot-matrix category; image indexes 2
// text, 5 line, 21 command), and out of it again.
void vqrRegisterDMPObjects();
void vqrUnregisterDMPObjects();
