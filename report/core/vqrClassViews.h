// vqrClassViews.h - the visible objects' base: frames and frame lines, highlights, display
// formats, TvqrView with its background and frame drawing, TvqrStretcheable, the shape and
// the subreport.
//
// The text object is in vqrClassMemo.h, the line and picture objects in vqrClassPicture.h.
#pragma once

#include <memory>

#include "platform/graphics/Graphics.h"
#include "report/core/vqrClassBase.h"

class TvqrDataSet;
class TvqrFrame;
class TvqrReportPage;

VORENTA_ENUM(TvqrFrameStyle, fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot,
             fsSquare);
VORENTA_ENUM(TvqrFrameType, ftLeft, ftRight, ftTop, ftBottom);
VORENTA_SET(TvqrFrameTypes, TvqrFrameType);
VORENTA_ENUM(TvqrShiftMode, smDontShift, smAlways, smWhenOverlapped);
VORENTA_ENUM(TvqrStretchMode, smDontStretch, smActualHeight, smMaxHeight);
VORENTA_ENUM(TvqrFormatKind, fkText, fkNumeric, fkDateTime, fkBoolean);
// The platform's recording canvas names two of its own shape kinds skRectangle and
// skEllipse, so the shape view's kinds live in a namespace: write TvqrShapeKind::skEllipse.
namespace vqrshape {
VORENTA_ENUM(TvqrShapeKind, skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond,
             skDiagonal1, skDiagonal2);
}
using vqrshape::TvqrShapeKind;

// Frame-type bits as the Diff texts sum them: left 1, right 2, top 4, bottom 8.
int FrameTypBits(TvqrFrameTypes Typ);

// =============================================================================================
// Frames
// =============================================================================================

class TvqrFrameLine : public TPersistent {
  VORENTA_CLASS(TvqrFrameLine, TPersistent)
public:
  explicit TvqrFrameLine(TvqrFrame* AFrame = nullptr) : FFrame(AFrame) {}
  void Assign(TPersistent* Source) override;

  TvqrFrame* Frame() const { return FFrame; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TvqrFrameStyle Style() const { return FStyle; }
  void SetStyle(TvqrFrameStyle Value) { FStyle = Value; }
  Extended Width() const { return FWidth; }
  void SetWidth(Extended Value) { FWidth = Value; }
  // Stored only where the line differs from its frame.
  bool IsColorStored() const;
  bool IsStyleStored() const;
  bool IsWidthStored() const;
  // The prepared-object attributes LineName.Color/.Style/.Width: against the own frame for a
  // value whose frame value changed, else against ALine.
  String Diff(const TvqrFrameLine* ALine, const String& LineName, bool ColorChanged,
              bool StyleChanged, bool WidthChanged) const;

private:
  TvqrFrame* FFrame;
  TColor FColor = 0;
  TvqrFrameStyle FStyle = fsSolid;
  Extended FWidth = 1;
};

class TvqrFrame : public TPersistent {
  VORENTA_CLASS(TvqrFrame, TPersistent)
public:
  TvqrFrame();
  ~TvqrFrame() override;
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // Colour, style and width go to all four lines as well.
  void SetColor(TColor Value);
  bool DropShadow() const { return FDropShadow; }
  void SetDropShadow(bool Value) { FDropShadow = Value; }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { FShadowColor = Value; }
  Extended ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(Extended Value) { FShadowWidth = Value; }
  TvqrFrameStyle Style() const { return FStyle; }
  void SetStyle(TvqrFrameStyle Value);
  TvqrFrameTypes Typ() const { return FTyp; }
  void SetTyp(TvqrFrameTypes Value) { FTyp = Value; }
  Extended Width() const { return FWidth; }
  void SetWidth(Extended Value);
  TvqrFrameLine* LeftLine() const { return &FLeftLine; }
  void SetLeftLine(TvqrFrameLine* Value) { FLeftLine.Assign(Value); }
  TvqrFrameLine* TopLine() const { return &FTopLine; }
  void SetTopLine(TvqrFrameLine* Value) { FTopLine.Assign(Value); }
  TvqrFrameLine* RightLine() const { return &FRightLine; }
  void SetRightLine(TvqrFrameLine* Value) { FRightLine.Assign(Value); }
  TvqrFrameLine* BottomLine() const { return &FBottomLine; }
  void SetBottomLine(TvqrFrameLine* Value) { FBottomLine.Assign(Value); }

  bool IsShadowWidthStored() const { return FShadowWidth != 4; }
  bool IsTypStored() const { return !FTyp.Empty(); }
  bool IsWidthStored() const { return FWidth != 1; }
  // " Frame.Color" ... " Frame.Width", then the four lines' differences.
  String Diff(const TvqrFrame* AFrame) const;

private:
  // Held in the frame itself (every view has a frame: four allocations fewer per view). The
  // published getters hand out a line to change from a const frame, hence mutable.
  mutable TvqrFrameLine FLeftLine{this}, FTopLine{this}, FRightLine{this}, FBottomLine{this};
  TColor FColor = 0;
  bool FDropShadow = false;
  Extended FShadowWidth = 4;
  TColor FShadowColor = 0;
  TvqrFrameStyle FStyle = fsSolid;
  TvqrFrameTypes FTyp;
  Extended FWidth = 1;
};

// =============================================================================================
// Highlight and display format
// =============================================================================================

class TvqrHighlight : public TPersistent {
  VORENTA_CLASS(TvqrHighlight, TPersistent)
public:
  // The font: Arial 10 pt, red.
  TvqrHighlight();
  ~TvqrHighlight() override;
  // Copies Font, Color and Condition (not Active).
  void Assign(TPersistent* Source) override;

  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  TFont* Font() const { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  const String& Condition() const { return FCondition; }
  void SetCondition(const String& Value) { FCondition = Value; }

private:
  bool FActive = false;
  // Held in the highlight, not allocated apart (mutable: the getter hands it out from a const
  // highlight).
  mutable TFont FFont;
  TColor FColor = clNone;
  String FCondition;
};

class TvqrFormat : public TPersistent {
  VORENTA_CLASS(TvqrFormat, TPersistent)
public:
  void Assign(TPersistent* Source) override;

  const String& DecimalSeparator() const { return FDecimalSeparator; }
  void SetDecimalSeparator(const String& Value) { FDecimalSeparator = Value; }
  const String& FormatStr() const { return FFormatStr; }
  void SetFormatStr(const String& Value) { FFormatStr = Value; }
  TvqrFormatKind Kind() const { return FKind; }
  void SetKind(TvqrFormatKind Value) { FKind = Value; }
  const String& ThousandSeparator() const { return FThousandSeparator; }
  void SetThousandSeparator(const String& Value) { FThousandSeparator = Value; }

private:
  String FDecimalSeparator, FFormatStr, FThousandSeparator;
  TvqrFormatKind FKind = fkText;
};

// =============================================================================================
// TvqrView
// =============================================================================================

class TvqrView : public TvqrReportComponent {
  VORENTA_CLASS(TvqrView, TvqrReportComponent)
public:
  explicit TvqrView(TComponent* AOwner);
  ~TvqrView() override;

  TvqrAlign Align() const { return FAlign; }
  void SetAlign(TvqrAlign Value) { FAlign = Value; }
  TBrushStyle BrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  int Cursor() const { return FCursor; }
  void SetCursor(int Value) { FCursor = Value; }
  const String& DataField() const { return FDataField; }
  void SetDataField(const String& Value) { FDataField = Value; }
  TvqrDataSet* DataSet() const { return FDataSet.DataSet; }
  void SetDataSet(TvqrDataSet* Value);
  String DataSetName() const;
  void SetDataSetName(const String& Value);
  TvqrFrame* Frame() const { return &FFrame; }
  void SetFrame(TvqrFrame* Value) { FFrame.Assign(Value); }
  bool Printable() const { return FPrintable; }
  void SetPrintable(bool Value) { FPrintable = Value; }
  TvqrShiftMode ShiftMode() const { return FShiftMode; }
  void SetShiftMode(TvqrShiftMode Value) { FShiftMode = Value; }
  const String& TagStr() const { return FTagStr; }
  void SetTagStr(const String& Value) { FTagStr = Value; }
  const String& URL() const { return FURL; }
  void SetURL(const String& Value) { FURL = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool Value) { FPlainText = Value; }
  bool IsDataField() const;

  // --- Drawing ------------------------------------------------------------------------------
  // BeginDraw, DrawBackground, DrawFrame.
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  // The device rectangle (X, Y, X1, Y1) of the object at that scale and offset; a drop shadow
  // lies inside it.
  virtual void BeginDraw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                         Extended AOffsetX, Extended AOffsetY);
  virtual void DrawBackground();
  virtual void DrawFrame();
  // W one-pixel lines with the current pen around the line (W 0 counts as 1), offsets
  // -(W div 2) .. (W div 2) - (1 for even W), across the line's longer direction.
  void DrawThickLine(int AX, int AY, int AX1, int AY1, int W);

  // --- Run ----------------------------------------------------------------------------------
  // Saves TagStr and URL; AfterPrint restores them.
  void BeforePrint() override;
  void AfterPrint() override;
  // TagStr and URL with their bracketed expressions replaced by values (vqrClassMemoRun.cpp).
  void GetData() override;
  // " BrushStyle", " Align", " Color", the frame, " Cursor", " Printable", " TagStr", " URL".
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Drawing state set by BeginDraw (device pixels).
  int X = 0, Y = 0, X1 = 0, Y1 = 0, DX = 0, DY = 0, FrameWidth = 0;
  Extended ScaleX = 1, ScaleY = 1, OffsetX = 0, OffsetY = 0;
  TCanvas* Canvas = nullptr;

protected:
  String ViewDiff(TvqrComponent* AComponent) const;

private:
  void DrawFrameLine(int AX, int AY, int AX1, int AY1, TvqrFrameLine* Line, int Side,
                     bool HasStart, bool HasEnd);
  void SetFramePen(TvqrFrameLine* Line);
  void StampDots(int AX, int AY, int AX1, int AY1, int W, TColor LineColor,
                 TvqrFrameStyle Style);

  TvqrAlign FAlign = baNone;
  TBrushStyle FBrushStyle = bsSolid;
  TColor FColor = clNone;
  int FCursor = 0;
  String FDataField;
  TvqrDataSetRef FDataSet;
  // Every view has one: held in the view, not allocated apart (mutable: the published getter
  // hands it out from a const view).
  mutable TvqrFrame FFrame;
  bool FPrintable = true;
  TvqrShiftMode FShiftMode = smAlways;
  String FTagStr, FSavedTagStr, FURL, FSavedURL;
  String FHint;
  bool FShowHint = false;
  bool FPlainText = false;
};

// =============================================================================================
// TvqrStretcheable: the stretching interface the band engine drives
// =============================================================================================

class TvqrStretcheable : public TvqrView {
  VORENTA_CLASS(TvqrStretcheable, TvqrView)
public:
  explicit TvqrStretcheable(TComponent* AOwner) : TvqrView(AOwner) {}

  TvqrStretchMode StretchMode() const { return FStretchMode; }
  void SetStretchMode(TvqrStretchMode Value) { FStretchMode = Value; }
  virtual Extended CalcHeight() { return Height(); }
  virtual Extended DrawPart() { return 0; }
  virtual void InitPart() {}
  virtual bool HasNextDataPart() { return false; }

  // Saved by the engine while it stretches the object.
  Extended SaveHeight = 0, SaveTop = 0;

private:
  TvqrStretchMode FStretchMode = smDontStretch;
};

// =============================================================================================
// TvqrShapeView
// =============================================================================================

class TvqrShapeView : public TvqrView {
  VORENTA_CLASS(TvqrShapeView, TvqrView)
public:
  explicit TvqrShapeView(TComponent* AOwner);
  static TvqrShapeView* DesignCreate(TComponent* AOwner, Word Flags);

  int Curve() const { return FCurve; }
  void SetCurve(int Value) { FCurve = Value; }
  TvqrShapeKind Shape() const { return FShape; }
  void SetShape(TvqrShapeKind Value) { FShape = Value; }

  // A double frame draws the shape twice, the inner one inside by the frame width.
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;

private:
  void DrawShape();
  void DrawOutline();

  int FCurve = 0;
  TvqrShapeKind FShape = TvqrShapeKind::skRectangle;
};

// =============================================================================================
// TvqrSubreport: prints another report page inside its band (model; the engine prints it)
// =============================================================================================

class TvqrSubreport : public TvqrView {
  VORENTA_CLASS(TvqrSubreport, TvqrView)
public:
  explicit TvqrSubreport(TComponent* AOwner);
  ~TvqrSubreport() override;

  TvqrReportPage* Page() const { return FPage; }
  // Also points the page back at this subreport.
  void SetPage(TvqrReportPage* Value);
  bool PrintOnParent() const { return FPrintOnParent; }
  void SetPrintOnParent(bool Value) { FPrintOnParent = Value; }
  // Frame and fill as a view, then the name in its own font at 2 px in.
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Called by the page when it goes away.
  void PageDestroyed() { FPage = nullptr; }

private:
  TvqrReportPage* FPage = nullptr;
  bool FPrintOnParent = false;
};
