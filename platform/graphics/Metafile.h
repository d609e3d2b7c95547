// Metafile.h - TMetafile and TMetafileCanvas: the recording canvas that stands in for enhanced
// metafiles.
//
// A TMetafileCanvas records every device call of its drawing into its TMetafile as a record of
// device-level values; the metafile replays them onto any canvas, scaled from its frame into
// the destination rectangle, and lists its text records (what the preview's text search and
// the exporters enumerate).
//
// Record kinds (one TMetaRecord each):
// | kind       | fields used                                   |
// |------------|-----------------------------------------------|
// | mrClip     | ClipActive, Rects                             |
// | mrPatBlt   | Bounds, Brush, Rop                            |
// | mrPolyline | Points, Pen                                   |
// | mrShape    | Shape, Pen, Brush                             |
// | mrText     | Text                                          |
// | mrImage    | Bounds (destination), Image, SrcRect, Rop, Alpha, TransparentColor |
// | mrPixel    | Points[0], Color                              |
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"

enum TMetaRecordKind { mrClip, mrPatBlt, mrPolyline, mrShape, mrText, mrImage, mrPixel };

struct TMetaRecord {
  TMetaRecordKind Kind = mrClip;
  bool ClipActive = false;
  std::vector<TRect> Rects;
  TRect Bounds;
  TDeviceBrush Brush;
  unsigned Rop = 0;
  std::vector<TPoint> Points;
  TDevicePen Pen;
  TDeviceShape Shape;
  TDeviceText Text;
  std::shared_ptr<const TBitmap> Image;
  TRect SrcRect;
  int Alpha = 255;
  std::optional<TColorRef> TransparentColor;
  TColorRef Color = 0;
};

// A text output as the enumeration gives it (the text-out records).
struct TMetaTextRecord {
  String Text;
  TPoint Origin;
  TRect Bounds;     // the text's cells, or its clip rectangle when that is smaller
};

class TMetafile : public TGraphic {
  VORENTA_CLASS(TMetafile, TGraphic)
public:
  TMetafile();
  ~TMetafile() override;
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FRecords.empty(); }
  // The frame the records were drawn in, in pixels.
  int Width() const override { return FWidth; }
  void SetWidth(int Value) override;
  int Height() const override { return FHeight; }
  void SetHeight(int Value) override;

  // Replays the records scaled from the frame into Rect.
  void Draw(TCanvas* Canvas, const TRect& Rect) override;
  void Clear();

  const std::vector<TMetaRecord>& Records() const { return FRecords; }
  std::vector<TMetaTextRecord> TextRecords() const;

  // The enhanced-metafile file format is not read or written; both raise EInvalidGraphic.
  void LoadFromBytes(std::string_view Data) override;
  std::string SaveToBytes() const override;

private:
  friend class TMetafileCanvas;
  std::vector<TMetaRecord> FRecords;
  int FWidth = 0;
  int FHeight = 0;
};

// A canvas whose drawing is recorded into Metafile (from its first record on: Clear is called).
// The metafile's frame grows to the extent drawn unless it was given a size beforehand.
class TMetafileCanvas : public TCanvas {
  VORENTA_CLASS(TMetafileCanvas, TCanvas)
public:
  explicit TMetafileCanvas(TMetafile* Metafile, int PixelsPerInch = 96);
  ~TMetafileCanvas() override;

private:
  TMetafile* FMetafile;
};
