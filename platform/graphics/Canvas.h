// Canvas.h - TCanvas, the one drawing interface, and TCanvasDevice, what its backends implement.
//
// TCanvas keeps the drawing state (font, pen, brush, pen position, copy mode, clip region,
// window and viewport mapping) and turns each call into device coordinates; a backend
// (TCanvasDevice) only draws. The backends: a Qt painter on a bitmap or a window surface
// (PainterCanvas.h), the recording device behind TMetafileCanvas (Metafile.h), and the printer
// canvas of the printing layer. Pixel rules are the drawing calls': a rectangle's right and
// bottom edges lie outside it, a line leaves out its last point.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Graphics.h"

class TBitmap;
class TGraphic;

// Raster operations (CopyMode, BitBlt, PatBlt).
enum : unsigned {
  SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
  SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
  MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
  PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
  WHITENESS = 0x00FF0062,
  // Paints the brush colour where the source is black, keeps the destination elsewhere.
  ROP_PSDPxax = 0x00B8074A
};
using TCopyMode = unsigned;
constexpr TCopyMode cmSrcCopy = SRCCOPY, cmSrcInvert = SRCINVERT, cmSrcAnd = SRCAND,
                    cmSrcPaint = SRCPAINT, cmDstInvert = DSTINVERT, cmBlackness = BLACKNESS,
                    cmWhiteness = WHITENESS, cmPatCopy = PATCOPY, cmNotSrcCopy = NOTSRCCOPY;

// ExtTextOut options.
enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_RTLREADING = 0x80 };

// Mapping modes the canvas supports.
enum : int { MM_TEXT = 1, MM_ANISOTROPIC = 8 };

enum TCanvasKind { ckBitmap, ckWindow, ckMetafile, ckPrinter };

// --- what a backend receives: plain values in device pixels ---------------------------------

struct TDevicePen {
  TColorRef Color = 0;
  int Width = 1;          // 0 and 1 both draw one pixel wide
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
};

struct TDeviceBrush {
  TColorRef Color = 0xFFFFFF;
  TBrushStyle Style = bsSolid;
  // Background colour behind hatch lines, drawn only when the background is opaque.
  std::optional<TColorRef> HatchBackground;
};

struct TDeviceFont {
  TFontRequest Request;   // Height in device pixels
  TFontStyles Style;
  TColorRef Color = 0;
  int Escapement = 0;     // tenths of a degree, counter-clockwise
};

// One text output: the glyphs of Text placed by Advances from the reference point (the top
// left corner of the first character cell; rotated about it by the font's escapement).
struct TDeviceText {
  TPoint Origin;
  String Text;
  std::vector<int> Advances;   // one per UTF-16 unit
  TDeviceFont Font;
  unsigned Options = 0;        // ETO_*
  TRect Rect;                  // for ETO_OPAQUE and ETO_CLIPPED
  bool Opaque = false;         // fill the text cells with BkColor
  TColorRef BkColor = 0xFFFFFF;
};

// Advances multiplied by Scale through their running sum, so that rounding does not drift:
// each result is the difference of two rounded cumulative positions.
std::vector<int> ScaledAdvances(std::span<const int> Advances, double Scale);

enum TShapeKind { skRectangle, skEllipse, skRoundRect, skArc, skChord, skPie, skPolygon };

// A closed figure: Bounds for the rectangle-based kinds, Points for a polygon, the radial
// end points for arcs, Corner for round rectangles.
struct TDeviceShape {
  TShapeKind Kind = skRectangle;
  TRect Bounds;
  TSize Corner;
  TPoint Start, End;
  std::vector<TPoint> Points;
  bool Winding = false;   // polygon fill mode: winding, else alternate
};

class TCanvasDevice {
public:
  virtual ~TCanvasDevice();
  virtual TCanvasKind Kind() const = 0;
  // The drawing surface's size in pixels; (0, 0) when unbounded (a recording).
  virtual TSize SurfaceSize() const = 0;
  virtual int PixelsPerInch() const { return 96; }

  // The clip region as a union of rectangles, or none.
  virtual void SetClip(const std::vector<TRect>* Rects) = 0;
  virtual void PatBlt(const TRect& R, const TDeviceBrush& Brush, unsigned Rop) = 0;
  virtual void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) = 0;
  virtual void Shape(const TDeviceShape& Shape, const TDevicePen& Pen, const TDeviceBrush& Brush) = 0;
  virtual void Text(const TDeviceText& Text) = 0;
  // Draws SrcRect of Source into Dest (stretching), by a raster operation, with a constant
  // alpha (255 opaque), leaving out pixels of TransparentColor when it is set.
  virtual void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned Rop,
                     int Alpha, std::optional<TColorRef> TransparentColor) = 0;
  virtual TColorRef GetPixel(int X, int Y) = 0;   // CLR_INVALID when it cannot be read
  virtual void SetPixel(int X, int Y, TColorRef Color) = 0;
  // Copies pixels of the surface into Dest (sized to R); false when the device cannot.
  virtual bool ReadPixels(const TRect& R, TBitmap& Dest) = 0;
};

constexpr TColorRef CLR_INVALID = 0xFFFFFFFF;

// The saved clip of a canvas: no clip, or the union of rectangles in device pixels.
struct TClipRegion {
  bool Active = false;
  std::vector<TRect> Rects;
};

using TCanvasState = int;

class TCanvas : public TPersistent {
  VORENTA_CLASS(TCanvas, TPersistent)
public:
  explicit TCanvas(std::unique_ptr<TCanvasDevice> Device = nullptr);
  ~TCanvas() override;

  // --- drawing tools and state
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  const TNotifyEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

  // --- lines and figures
  void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  // Counts[i] points of Points form the i-th polyline.
  void PolyPolyline(const std::vector<TPoint>& Points, const std::vector<int>& Counts);
  void Polygon(const std::vector<TPoint>& Points);
  void Rectangle(int X1, int Y1, int X2, int Y2) { Rectangle(Rect(X1, Y1, X2, Y2)); }
  void Rectangle(const TRect& R);
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2) { Ellipse(Rect(X1, Y1, X2, Y2)); }
  void Ellipse(const TRect& R);
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Fills with the brush, right and bottom edges excluded.
  void FillRect(const TRect& R);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& R);
  // Raster operation with the brush over R (PATCOPY, PATINVERT, DSTINVERT, ...).
  void PatBlt(const TRect& R, unsigned Rop);
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Color);

  // --- text
  // With a solid brush the text cells are filled with the brush colour, with a clear one the
  // background shows through.
  void TextOut(int X, int Y, const String& Text);
  void TextRect(const TRect& R, int X, int Y, const String& Text);
  // Dx gives the advance of each UTF-16 unit (nullptr: the font's own).
  void ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const String& Text,
                  const int* Dx = nullptr);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }
  // The font's metrics at the device size.
  TTextMetric TextMetrics();
  // The font as the device draws it (height scaled by the mapping).
  TDeviceFont DeviceFont() const;

  // --- pictures and copying
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies Source's SrcRect into Dest by CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SrcRect);
  void BitBlt(int X, int Y, int W, int H, TCanvas* Source, int SX, int SY, unsigned Rop);
  // Draws SrcRect of a bitmap into Dest with a raster operation and a constant alpha.
  // ROP_PSDPxax paints the brush colour where the source is black and keeps the destination
  // elsewhere (the operation of monochrome masks; for other sources "black" is RGB 0).
  void DrawBitmap(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect,
                  unsigned Rop = SRCCOPY, int Alpha = 255,
                  std::optional<TColorRef> TransparentColor = std::nullopt);

  // --- clipping, in device pixels as the region calls take them
  TRect ClipRect() const;             // logical coordinates
  TClipRegion GetClipRegion() const { return FClip; }
  void SelectClipRegion(const TClipRegion& Region);
  void IntersectClipRect(const TRect& R);   // logical coordinates
  void ExcludeClipRect(const TRect& R);     // logical coordinates
  bool RectVisible(const TRect& R) const;   // logical coordinates
  // SaveDC / RestoreDC: the clip, the mapping and the pen position; RestoreDC(-1) pops the
  // last one, RestoreDC(n) returns to the state SaveDC numbered n.
  TCanvasState SaveDC();
  void RestoreDC(TCanvasState State);

  // --- window and viewport mapping
  void SetMapMode(int Mode);
  int MapMode() const { return FMapMode; }
  void SetWindowOrg(int X, int Y) { FWindowOrg = {X, Y}; }
  void SetWindowExt(int CX, int CY);
  void SetViewportOrg(int X, int Y) { FViewportOrg = {X, Y}; }
  void SetViewportExt(int CX, int CY);
  TPoint WindowOrg() const { return FWindowOrg; }
  TPoint ViewportOrg() const { return FViewportOrg; }
  TPoint LPtoDP(TPoint P) const;
  TPoint DPtoLP(TPoint P) const;
  TRect LPtoDP(const TRect& R) const;   // normalised
  TRect DPtoLP(const TRect& R) const;

  // --- locking (one thread; the count guards nested drawing sequences)
  void Lock() { ++FLockCount; }
  void Unlock() { if (FLockCount > 0) --FLockCount; }
  bool TryLock() { Lock(); return true; }
  int LockCount() const { return FLockCount; }

  // --- the device
  bool HandleAllocated() const { return FDevice != nullptr; }
  TCanvasDevice* Device() const { return FDevice.get(); }
  TCanvasKind Kind() const;
  // Replaces the device (a bitmap resizing, a window beginning to paint); the state stays.
  void SetDevice(std::unique_ptr<TCanvasDevice> Device);
  std::unique_ptr<TCanvasDevice> ReleaseDevice();

protected:
  virtual void Changing();
  virtual void Changed();
  // The device to draw on; raises EInvalidOperation "Canvas does not allow drawing" without one.
  TCanvasDevice& RequireDevice();

private:
  struct TSaved;
  TDevicePen DevicePen() const;
  TDeviceBrush DeviceBrush() const;
  std::vector<TPoint> ToDevice(const std::vector<TPoint>& Points) const;
  void DrawShape(TDeviceShape Shape, bool Filled);
  // ExtTextOut; returns the width drawn in device pixels (the sum of the advances).
  int OutputText(int X, int Y, unsigned Options, const TRect* R, const String& Text, const int* Dx);
  void ApplyClip();
  double ScaleX() const;
  double ScaleY() const;

  std::unique_ptr<TCanvasDevice> FDevice;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  TClipRegion FClip;
  int FMapMode = MM_TEXT;
  TPoint FWindowOrg, FViewportOrg;
  TSize FWindowExt{1, 1}, FViewportExt{1, 1};
  std::vector<TSaved> FSaved;
  int FLockCount = 0;
  TNotifyEvent FOnChange, FOnChanging;
};
