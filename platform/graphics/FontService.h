// FontService.h - the one font service: resolution, metrics, font data and shaping.
//
// Every piece of the system that measures text (screen drawing, the report's 600-dpi layout, the
// printer, the PDF writer) measures through FontMetrics(), so they all break lines alike. The real
// service resolves a family and style to a font file through fontconfig (with fixed stand-ins for
// the families the program names: Arial, Times New Roman and Courier New become the
// metric-compatible Liberation fonts; Tahoma and MS Sans Serif become DejaVu Sans), measures with
// FreeType at any pixel size, reads font tables and whole font files, and shapes runs with
// HarfBuzz after an ICU bidi split. Tests can swap in fixed fake metrics.
//
// Sizes follow the drawing calls' rule for a font height: a negative height is the em size in
// device pixels (so 10 pt at 600 dpi is -83), a positive one is the cell height (ascent plus
// descent), 0 asks for the default of 12 pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classes/TypeInfo.h"
#include "platform/graphics/Geometry.h"
#include "platform/rtl/Types.h"

struct TGlyphMask;

VORENTA_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
VORENTA_SET(TFontStyles, TFontStyle);

// What the service needs to know of a font to measure it.
struct TFontRequest {
  String Name = u"Arial";
  int Height = -12;
  bool Bold = false;
  bool Italic = false;
  friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

constexpr int DEFAULT_CHARSET = 1;
constexpr int ANSI_CHARSET = 0;
constexpr int RUSSIAN_CHARSET = 204;

// The text metrics of a font at one size, in device pixels (GetTextMetrics).
struct TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 400;
  int tmOverhang = 0;
  Char tmDefaultChar = u'?';
  bool tmItalic = false;
  int tmCharSet = DEFAULT_CHARSET;
};

// Outline metrics (GetOutlineTextMetrics), in device pixels at the request's size, except
// otmEMSquare which is in font units.
struct TOutlineTextMetric {
  TTextMetric otmTextMetrics;
  int otmEMSquare = 0;
  TRect otmrcFontBox;       // x min, y max, x max, y min as Left, Top, Right, Bottom
  int otmAscent = 0;        // typographic ascender
  int otmDescent = 0;       // typographic descender (negative below the baseline)
  int otmLineGap = 0;
  int otmItalicAngle = 0;   // tenths of a degree, negative leaning right
  int otmsCharSlopeRise = 1;
  int otmsCharSlopeRun = 0;
  int otmsUnderscoreSize = 0;
  int otmsUnderscorePosition = 0;
  int otmsStrikeoutSize = 0;
  int otmsStrikeoutPosition = 0;
  int otmfsType = 0;        // embedding rights from the OS/2 table
  int otmCapHeight = 0;     // OS/2 capital height (the box's top when the table has none)
};

// The font file a family and style resolved to.
struct TFontFile {
  std::string Path;
  int Index = 0;            // face index inside a collection
  String Family;            // the family actually found, e.g. "Liberation Sans"
  bool SyntheticBold = false;    // no bold face: strokes are thickened when drawing
  bool SyntheticItalic = false;  // no italic face: glyphs are slanted when drawing
};

// A run of text of one bidi level (ScriptItemize / ScriptLayout).
struct TScriptItem {
  int Start = 0;            // in UTF-16 units of the whole text
  int Length = 0;
  int BidiLevel = 0;        // odd levels run right to left
  bool RightToLeft() const { return (BidiLevel & 1) != 0; }
};

// One glyph out of HarfBuzz, in visual order (ScriptShape / ScriptPlace).
struct TShapedGlyph {
  std::uint32_t GlyphId = 0;
  int Cluster = 0;          // UTF-16 index of the first character the glyph stands for
  double XAdvance = 0;      // device pixels at the request's size
  double XOffset = 0;
  double YOffset = 0;
};

// A glyph outline in em units (1.0 is one em), y up; the canvas backends fill it.
struct TOutlineOp {
  enum TKind : std::uint8_t { MoveTo, LineTo, QuadTo, CubicTo } Kind;
  float X1, Y1, X2, Y2, X3, Y3;   // the end point is the last one the kind uses
};

// The measuring interface all text layout goes through.
class IFontMetrics {
public:
  virtual ~IFontMetrics() = default;
  virtual TTextMetric TextMetrics(const TFontRequest& Font) = 0;
  // The whole-pixel advance of every UTF-16 unit of Text (the low half of a surrogate pair
  // gets 0); no kerning, as the drawing calls measure.
  virtual void CharAdvances(const TFontRequest& Font, std::u16string_view Text,
                            std::vector<int>& Advances) = 0;
  // The sum of the advances.
  virtual int TextWidth(const TFontRequest& Font, std::u16string_view Text);
};

// The real service (fontconfig, FreeType, HarfBuzz, ICU). One per process.
class TFontService : public IFontMetrics {
public:
  static TFontService& Instance();
  ~TFontService() override;

  // --- resolution
  TFontFile Resolve(const String& Family, bool Bold, bool Italic);
  // The family the service asks fontconfig for in place of Family ("Arial" -> "Liberation Sans").
  static String SubstituteFamily(const String& Family);

  // --- metrics
  TTextMetric TextMetrics(const TFontRequest& Font) override;
  void CharAdvances(const TFontRequest& Font, std::u16string_view Text,
                    std::vector<int>& Advances) override;
  int TextWidth(const TFontRequest& Font, std::u16string_view Text) override;
  TOutlineTextMetric OutlineTextMetrics(const TFontRequest& Font);
  // The em size in pixels a request stands for (the rule in the file comment).
  double EmPixels(const TFontRequest& Font);
  // The kerning adjustment between two characters in pixels at the request's size (negative
  // pulls them together), from the font's kerning as HarfBuzz applies it.
  double Kerning(const TFontRequest& Font, char32_t Left, char32_t Right);

  // --- glyphs and font data
  std::uint32_t GlyphIndex(const TFontRequest& Font, char32_t Code);  // 0 when missing
  // The glyph outline in em units; false when the glyph has none (a space).
  bool GlyphOutline(const TFontRequest& Font, std::uint32_t Glyph, std::vector<TOutlineOp>& Ops);
  // The glyph's antialiased coverage at the request's em size (GlyphCache.h), leaned right by a
  // fifth of its height when Slant: the outline filled straight from the font, as the glyph
  // cache draws new glyphs. An empty mask when the glyph has no outline.
  TGlyphMask RasterizeGlyph(const TFontRequest& Font, std::uint32_t Glyph, bool Slant);
  // The whole font file (GetFontData with table 0).
  std::string FontData(const TFontRequest& Font);
  // One sfnt table by its four-letter tag ("head", "cmap", ...); empty when the font has none.
  std::string FontTable(const TFontRequest& Font, std::string_view Tag);
  // A standalone font file of the request's face holding only Glyphs (and glyph 0), with every
  // glyph id kept (glyphs left out become empty); no Glyphs keeps them all, which turns a face
  // of a collection into a file of its own. Empty when the face cannot be subset.
  std::string SubsetFontData(const TFontRequest& Font, const std::vector<std::uint32_t>& Glyphs);

  // --- shaping
  // Splits Text into runs of one bidi level, in logical order; RightToLeft sets the paragraph
  // level. VisualOrder gives the indexes of the runs in display order.
  std::vector<TScriptItem> Itemize(std::u16string_view Text, bool RightToLeft);
  static std::vector<int> VisualOrder(const std::vector<TScriptItem>& Items);
  // Shapes one run (all of Text) with the font's features (ligatures, kerning); glyphs come in
  // visual order, clusters index Text.
  std::vector<TShapedGlyph> Shape(const TFontRequest& Font, std::u16string_view Text,
                                  bool RightToLeft);

private:
  TFontService();
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// The measuring service in force: the real one unless a test swapped in another.
IFontMetrics& FontMetrics();

// Fixed fake metrics for layout tests: every character is CharWidth pixels wide (a space
// SpaceWidth), every line LineHeight pixels high, whatever the font.
class TFixedFontMetrics : public IFontMetrics {
public:
  TFixedFontMetrics(int CharWidth = 8, int LineHeight = 16, int SpaceWidth = 4);
  TTextMetric TextMetrics(const TFontRequest& Font) override;
  void CharAdvances(const TFontRequest& Font, std::u16string_view Text,
                    std::vector<int>& Advances) override;

private:
  int FCharWidth, FLineHeight, FSpaceWidth;
};

// for tests
// Makes Metrics the measuring service (nullptr restores the real one); returns the previous one
// set this way (nullptr for the real one). The caller keeps ownership.
IFontMetrics* SetFontMetricsForTests(IFontMetrics* Metrics);
