// vqrPDFFont.h - TvqrPDFFont, one font (name and style) of a PDF document: it shapes text into
// glyph ids at a fixed em of 1000 pixels, remembers every glyph used with its advance and the
// text it stands for, and supplies the metrics and the font file (whole or a subset).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/FontService.h"
#include "platform/rtl/Types.h"

class TFont;

class TvqrPDFFont {
public:
  // Measures Font's family and style; its size and colour play no part.
  explicit TvqrPDFFont(TFont* Font);
  ~TvqrPDFFont();
  TvqrPDFFont(const TvqrPDFFont&) = delete;
  TvqrPDFFont& operator=(const TvqrPDFFont&) = delete;

  // True when this font stands for Font: the same name (case-sensitive) and style.
  bool Matches(TFont* Font) const;

  // The glyph ids of Str in visual order (one 16-bit id each), recording new glyphs; Widths
  // receives each glyph's advance in 1/1000 em when not null. A text shaped before is not
  // shaped again: recording the same glyphs a second time changes nothing. The list stays
  // valid until the next call.
  const std::vector<std::uint16_t>& RemapString(std::u16string_view Str, bool RTL,
                                                std::vector<double>* Advances = nullptr);

  // The PDF name of the family actually resolved, with ",Bold", ",Italic" or ",BoldItalic";
  // "#", blanks and delimiters and every byte outside 0x21-0x7E written as "#" and two hex digits.
  std::string GetFontName() const;
  // A six-letter tag derived from the glyphs used, for the name of a subset ("ABCDEF").
  std::string SubsetTag() const;
  // The font file: the whole face (a face from a collection or without a glyf table becomes a
  // standalone file keeping every glyph) or only the glyphs used, ids kept.
  std::string FontFile(bool Whole);

  const TOutlineTextMetric& Metrics() const { return FMetrics; }
  const String& Family() const { return FFile.Family; }

  // Glyphs in order of first use, with their advances and the UTF-16 text each stands for
  // (empty: no mapping, e.g. glyph 0 or a glyph whose characters another glyph carries).
  struct TUsedGlyph {
    std::uint16_t Id = 0;
    int Width = 0;
    std::u16string Text;
    bool Fallback = false;   // Text is the default character, to be replaced by a real mapping
  };
  const std::vector<TUsedGlyph>& UsedGlyphs() const { return FUsed; }

  // The resource name "/F" + index, and the Type0 object's number once a page reserved it.
  std::string Name;
  int Reference = 0;
  bool Saved = false;

private:
  void Record(std::uint16_t Glyph, double Advance, std::u16string_view Text, bool Fallback);
  bool IsUsed(std::uint16_t Glyph) const;
  double OwnAdvance(std::uint16_t Glyph, std::u16string_view ClusterText, bool RTL, double InPlace);
  // Texts already shaped (the key starts with 'L' or 'R' for the reading order): report texts
  // repeat (prices, kinds, headers), and shaping is most of a text's cost.
  struct TShaped {
    std::vector<std::uint16_t> Glyphs;
    std::vector<double> Advances;
  };
  void Shape(std::u16string_view Str, bool RTL, TShaped& Out);
  struct TKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view Key) const {
      return std::hash<std::u16string_view>()(Key);
    }
  };
  std::unordered_map<std::u16string, TShaped, TKeyHash, std::equal_to<>> FShaped;
  std::u16string FKey;   // the look-up key, built in place
  // Shape's working lists, kept between texts: a run's cluster starts and which were met.
  std::vector<int> FClusterStarts;
  std::vector<bool> FClusterSeen;

  String FSourceName;
  TFontStyles FSourceStyle;
  TFontRequest FRequest;
  TFontFile FFile;
  TOutlineTextMetric FMetrics;
  std::vector<TUsedGlyph> FUsed;
  std::vector<std::uint32_t> FIndex;   // by glyph id: the place in FUsed, or all ones
  std::vector<int> FNextStart;         // Shape's per-cluster work space, reused
};

// Four upper-case hex digits per 16-bit unit, no separators.
std::string HexOfUnicodeText(std::u16string_view Text);
std::string HexOfGlyphs(const std::vector<std::uint16_t>& Glyphs);
