// FontService.cpp - font resolution (fontconfig), metrics and outlines (FreeType), shaping
// (HarfBuzz) and bidi runs (ICU).
#include "platform/graphics/FontService.h"

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H
#include <hb.h>
#include <hb-subset.h>
#include <unicode/ubidi.h>

#include "platform/graphics/GlyphRaster.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr double DefaultEmPixels = 12;

// Families the program names, with the metric-compatible files that stand in for them.
struct TSubstitute {
  const char16_t* Name;
  const char16_t* Family;
};
constexpr TSubstitute Substitutes[] = {
    {u"arial", u"Liberation Sans"},       {u"helvetica", u"Liberation Sans"},
    {u"times new roman", u"Liberation Serif"}, {u"times", u"Liberation Serif"},
    {u"courier new", u"Liberation Mono"}, {u"courier", u"Liberation Mono"},
    {u"tahoma", u"DejaVu Sans"},          {u"ms sans serif", u"DejaVu Sans"},
    {u"microsoft sans serif", u"DejaVu Sans"}, {u"ms shell dlg", u"DejaVu Sans"},
    {u"ms shell dlg 2", u"DejaVu Sans"},
};

int RoundPx(double V) { return int(std::lround(V)); }

char32_t CodePointAt(std::u16string_view Text, std::size_t I, std::size_t& Units) {
  const char16_t C = Text[I];
  Units = 1;
  if (C >= 0xD800 && C < 0xDC00 && I + 1 < Text.size()) {
    const char16_t D = Text[I + 1];
    if (D >= 0xDC00 && D < 0xE000) {
      Units = 2;
      return 0x10000 + ((char32_t(C) - 0xD800) << 10) + (D - 0xDC00);
    }
  }
  return C;
}

FT_Library Library() {
  static FT_Library Lib = [] {
    FT_Library L = nullptr;
    if (FT_Init_FreeType(&L) != 0) throw EOutOfResources(u"Cannot start the font engine");
    return L;
  }();
  return Lib;
}

// One face: a font file opened once, with its per-size advance tables and glyph caches.
struct TFace {
  TFontFile File;
  FT_Face Ft = nullptr;
  hb_font_t* Hb = nullptr;
  int Upem = 1000;
  int WinAscent = 0, WinDescent = 0;
  std::vector<std::int32_t> UnitAdvances;  // per glyph, in font units
  std::array<std::unique_ptr<std::array<std::uint32_t, 256>>, 256> BmpGlyphs;
  std::unordered_map<int, std::vector<int>> PixelAdvances;  // by em size in 1/64 px
  std::unordered_map<std::uint32_t, std::vector<TOutlineOp>> Outlines;

  ~TFace() {
    if (Hb) hb_font_destroy(Hb);
    if (Ft) FT_Done_Face(Ft);
  }

  std::uint32_t Glyph(char32_t Code) {
    if (Code > 0xFFFF) return FT_Get_Char_Index(Ft, Code);
    auto& Page = BmpGlyphs[Code >> 8];
    if (!Page) {
      Page = std::make_unique<std::array<std::uint32_t, 256>>();
      const char32_t Base = Code & 0xFF00;
      for (int I = 0; I < 256; ++I) (*Page)[I] = FT_Get_Char_Index(Ft, Base + I);
    }
    return (*Page)[Code & 0xFF];
  }

  const std::vector<int>& AdvancesAt(double Em) {
    const int Key = int(std::lround(Em * 64));
    auto It = PixelAdvances.find(Key);
    if (It != PixelAdvances.end()) return It->second;
    std::vector<int> Px(UnitAdvances.size());
    const double Scale = Em / Upem;
    for (std::size_t G = 0; G < Px.size(); ++G) Px[G] = RoundPx(UnitAdvances[G] * Scale);
    return PixelAdvances.emplace(Key, std::move(Px)).first->second;
  }
};

TFontFile MatchFile(const String& Family, bool Bold, bool Italic) {
  static const bool Ready = FcInit();
  if (!Ready) throw EOutOfResources(u"Cannot read the font configuration");
  const std::string Name = StringToUtf8(TFontService::SubstituteFamily(Family));
  FcPattern* Pattern = FcPatternCreate();
  FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Name.c_str()));
  FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
  FcDefaultSubstitute(Pattern);
  FcResult Result = FcResultNoMatch;
  FcPattern* Match = FcFontMatch(nullptr, Pattern, &Result);
  FcPatternDestroy(Pattern);
  TFontFile File;
  FcChar8* Path = nullptr;
  if (!Match || FcPatternGetString(Match, FC_FILE, 0, &Path) != FcResultMatch) {
    if (Match) FcPatternDestroy(Match);
    throw EOutOfResources(u"No font file for the font \"" + Family + u"\"");
  }
  File.Path = reinterpret_cast<const char*>(Path);
  FcPatternGetInteger(Match, FC_INDEX, 0, &File.Index);
  FcChar8* Found = nullptr;
  if (FcPatternGetString(Match, FC_FAMILY, 0, &Found) == FcResultMatch)
    File.Family = Utf8ToString(reinterpret_cast<const char*>(Found));
  int Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(Match, FC_WEIGHT, 0, &Weight);
  FcPatternGetInteger(Match, FC_SLANT, 0, &Slant);
  File.SyntheticBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
  File.SyntheticItalic = Italic && Slant == FC_SLANT_ROMAN;
  FcPatternDestroy(Match);
  return File;
}

std::unique_ptr<TFace> OpenFace(const TFontFile& File) {
  auto Face = std::make_unique<TFace>();
  Face->File = File;
  if (FT_New_Face(Library(), File.Path.c_str(), File.Index, &Face->Ft) != 0)
    throw EOutOfResources(u"Cannot open the font file " + Utf8ToString(File.Path));
  Face->Upem = Face->Ft->units_per_EM ? Face->Ft->units_per_EM : 1000;
  const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face->Ft, FT_SFNT_OS2));
  if (Os2 && Os2->version != 0xFFFF && Os2->usWinAscent + Os2->usWinDescent > 0) {
    Face->WinAscent = Os2->usWinAscent;
    Face->WinDescent = Os2->usWinDescent;
  } else {
    Face->WinAscent = Face->Ft->ascender;
    Face->WinDescent = -Face->Ft->descender;
  }
  const FT_UInt Count = FT_UInt(Face->Ft->num_glyphs);
  std::vector<FT_Fixed> Raw(Count);
  FT_Get_Advances(Face->Ft, 0, Count, FT_LOAD_NO_SCALE, Raw.data());
  Face->UnitAdvances.assign(Raw.begin(), Raw.end());
  hb_blob_t* Blob = hb_blob_create_from_file(File.Path.c_str());
  hb_face_t* HbFace = hb_face_create(Blob, unsigned(File.Index));
  Face->Hb = hb_font_create(HbFace);
  hb_face_destroy(HbFace);
  hb_blob_destroy(Blob);
  return Face;
}

// A font's outline walked into em units (y up): Sink receives MoveTo, LineTo, QuadTo and CubicTo
// as TOutlineOp names them.
template <class TSink>
struct TOutlineWalk {
  TSink& Sink;
  double Scale;   // font units to em units
  float X(const FT_Vector* V) const { return float(V->x * Scale); }
  float Y(const FT_Vector* V) const { return float(V->y * Scale); }

  static int Move(const FT_Vector* To, void* User) {
    auto* W = static_cast<TOutlineWalk*>(User);
    W->Sink.MoveTo(W->X(To), W->Y(To));
    return 0;
  }
  static int Line(const FT_Vector* To, void* User) {
    auto* W = static_cast<TOutlineWalk*>(User);
    W->Sink.LineTo(W->X(To), W->Y(To));
    return 0;
  }
  static int Conic(const FT_Vector* C, const FT_Vector* To, void* User) {
    auto* W = static_cast<TOutlineWalk*>(User);
    W->Sink.QuadTo(W->X(C), W->Y(C), W->X(To), W->Y(To));
    return 0;
  }
  static int Cubic(const FT_Vector* C1, const FT_Vector* C2, const FT_Vector* To, void* User) {
    auto* W = static_cast<TOutlineWalk*>(User);
    W->Sink.CubicTo(W->X(C1), W->Y(C1), W->X(C2), W->Y(C2), W->X(To), W->Y(To));
    return 0;
  }
  void Walk(FT_Outline& Outline) {
    const FT_Outline_Funcs Funcs{Move, Line, Conic, Cubic, 0, 0};
    FT_Outline_Decompose(&Outline, &Funcs, this);
  }
};

// Collects an outline as drawing operations.
struct TOpsSink {
  std::vector<TOutlineOp>& Ops;
  void MoveTo(float X, float Y) { Ops.push_back({TOutlineOp::MoveTo, X, Y, 0, 0, 0, 0}); }
  void LineTo(float X, float Y) { Ops.push_back({TOutlineOp::LineTo, X, Y, 0, 0, 0, 0}); }
  void QuadTo(float X1, float Y1, float X, float Y) { Ops.push_back({TOutlineOp::QuadTo, X1, Y1, X, Y, 0, 0}); }
  void CubicTo(float X1, float Y1, float X2, float Y2, float X, float Y) {
    Ops.push_back({TOutlineOp::CubicTo, X1, Y1, X2, Y2, X, Y});
  }
};

// Loads a glyph's outline in font units; false when it has none.
bool LoadOutline(FT_Face Face, std::uint32_t Glyph) {
  return FT_Load_Glyph(Face, Glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
         Face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
}

IFontMetrics* TestMetrics = nullptr;

}  // namespace

int IFontMetrics::TextWidth(const TFontRequest& Font, std::u16string_view Text) {
  std::vector<int> Advances;
  CharAdvances(Font, Text, Advances);
  int Sum = 0;
  for (int A : Advances) Sum += A;
  return Sum;
}

struct TFontService::Impl {
  std::unordered_map<std::string, std::unique_ptr<TFace>> FacesByFile;
  std::unordered_map<String, TFace*> FacesByRequest;  // key: lower-case name + style mark
  // The last request and what it resolved to: text measuring asks for one font many times.
  TFontRequest LastRequest;
  TFace* LastFace = nullptr;
  const std::vector<int>* LastAdvances = nullptr;
  double LastEm = 0;
  TGlyphRasterizer Rasterizer;   // new glyphs' masks, its buffers reused

  TFace* FaceFor(const String& Name, bool Bold, bool Italic) {
    String Key = LowerCase(Name);
    Key += Bold ? u"|b" : u"|r";
    Key += Italic ? u"i" : u"n";
    auto It = FacesByRequest.find(Key);
    if (It != FacesByRequest.end()) return It->second;
    const TFontFile File = MatchFile(Name, Bold, Italic);
    const std::string FileKey = File.Path + "#" + std::to_string(File.Index) +
                                (File.SyntheticBold ? "b" : "") + (File.SyntheticItalic ? "i" : "");
    auto& Slot = FacesByFile[FileKey];
    if (!Slot) Slot = OpenFace(File);
    FacesByRequest.emplace(Key, Slot.get());
    return Slot.get();
  }

  double EmOf(const TFace& Face, int Height) const {
    if (Height < 0) return -Height;
    if (Height == 0) return DefaultEmPixels;
    return double(Height) * Face.Upem / (Face.WinAscent + Face.WinDescent);
  }

  // Resolves a request, reusing the last one when it is the same.
  void Select(const TFontRequest& Font) {
    if (LastFace && Font == LastRequest) return;
    LastFace = FaceFor(Font.Name, Font.Bold, Font.Italic);
    LastEm = EmOf(*LastFace, Font.Height);
    LastAdvances = &LastFace->AdvancesAt(LastEm);
    LastRequest = Font;
  }
};

TFontService& TFontService::Instance() {
  static TFontService Service;
  return Service;
}

TFontService::TFontService() : FImpl(std::make_unique<Impl>()) {}
TFontService::~TFontService() = default;

String TFontService::SubstituteFamily(const String& Family) {
  const String Lower = LowerCase(Family);
  for (const auto& S : Substitutes)
    if (Lower == S.Name) return S.Family;
  return Family;
}

TFontFile TFontService::Resolve(const String& Family, bool Bold, bool Italic) {
  return FImpl->FaceFor(Family, Bold, Italic)->File;
}

double TFontService::EmPixels(const TFontRequest& Font) {
  FImpl->Select(Font);
  return FImpl->LastEm;
}

TTextMetric TFontService::TextMetrics(const TFontRequest& Font) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  const double Em = FImpl->LastEm;
  const double Scale = Em / Face.Upem;
  TTextMetric M;
  M.tmAscent = RoundPx(Face.WinAscent * Scale);
  M.tmDescent = RoundPx(Face.WinDescent * Scale);
  M.tmHeight = M.tmAscent + M.tmDescent;
  M.tmInternalLeading = std::max(0, M.tmHeight - RoundPx(Em));
  const auto* Hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(Face.Ft, FT_SFNT_HHEA));
  if (Hhea) {
    const int Gap = Hhea->Line_Gap - ((Face.WinAscent + Face.WinDescent) -
                                      (Hhea->Ascender - Hhea->Descender));
    M.tmExternalLeading = std::max(0, RoundPx(Gap * Scale));
    M.tmMaxCharWidth = RoundPx(Hhea->advance_Width_Max * Scale);
  }
  const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face.Ft, FT_SFNT_OS2));
  M.tmWeight = Font.Bold ? 700 : 400;
  M.tmCharSet = ANSI_CHARSET;
  if (Os2 && Os2->version != 0xFFFF) {
    M.tmAveCharWidth = RoundPx(Os2->xAvgCharWidth * Scale);
    if (!Font.Bold && Os2->usWeightClass) M.tmWeight = Os2->usWeightClass;
    if (Os2->ulCodePageRange1 & (1u << 2)) M.tmCharSet = RUSSIAN_CHARSET;
    if (Os2->version >= 2 && Os2->usDefaultChar) M.tmDefaultChar = Char(Os2->usDefaultChar);
  }
  M.tmItalic = Font.Italic;
  return M;
}

void TFontService::CharAdvances(const TFontRequest& Font, std::u16string_view Text,
                                std::vector<int>& Advances) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  const std::vector<int>& Px = *FImpl->LastAdvances;
  Advances.resize(Text.size());
  for (std::size_t I = 0; I < Text.size();) {
    std::size_t Units = 1;
    const char32_t Code = CodePointAt(Text, I, Units);
    Advances[I] = Px[Face.Glyph(Code)];
    if (Units == 2) Advances[I + 1] = 0;
    I += Units;
  }
}

int TFontService::TextWidth(const TFontRequest& Font, std::u16string_view Text) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  const std::vector<int>& Px = *FImpl->LastAdvances;
  int Sum = 0;
  for (std::size_t I = 0; I < Text.size();) {
    std::size_t Units = 1;
    Sum += Px[Face.Glyph(CodePointAt(Text, I, Units))];
    I += Units;
  }
  return Sum;
}

TOutlineTextMetric TFontService::OutlineTextMetrics(const TFontRequest& Font) {
  TOutlineTextMetric O;
  O.otmTextMetrics = TextMetrics(Font);
  TFace& Face = *FImpl->LastFace;
  const double Scale = FImpl->LastEm / Face.Upem;
  const FT_BBox& Box = Face.Ft->bbox;
  O.otmEMSquare = Face.Upem;
  O.otmrcFontBox = {RoundPx(Box.xMin * Scale), RoundPx(Box.yMax * Scale),
                    RoundPx(Box.xMax * Scale), RoundPx(Box.yMin * Scale)};
  const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face.Ft, FT_SFNT_OS2));
  if (Os2 && Os2->version != 0xFFFF) {
    O.otmAscent = RoundPx(Os2->sTypoAscender * Scale);
    O.otmDescent = RoundPx(Os2->sTypoDescender * Scale);
    O.otmLineGap = RoundPx(Os2->sTypoLineGap * Scale);
    O.otmsStrikeoutSize = RoundPx(Os2->yStrikeoutSize * Scale);
    O.otmsStrikeoutPosition = RoundPx(Os2->yStrikeoutPosition * Scale);
    O.otmfsType = Os2->fsType;
    if (Os2->version >= 2) O.otmCapHeight = RoundPx(Os2->sCapHeight * Scale);
  }
  if (O.otmCapHeight == 0) O.otmCapHeight = O.otmrcFontBox.Top;
  const auto* Hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(Face.Ft, FT_SFNT_HHEA));
  if (Hhea) {
    O.otmsCharSlopeRise = Hhea->caret_Slope_Rise;
    O.otmsCharSlopeRun = Hhea->caret_Slope_Run;
  }
  const auto* Post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(Face.Ft, FT_SFNT_POST));
  if (Post) {
    O.otmItalicAngle = int(std::lround(Post->italicAngle / 65536.0 * 10));
    O.otmsUnderscoreSize = std::max(1, RoundPx(Post->underlineThickness * Scale));
    O.otmsUnderscorePosition = RoundPx(Post->underlinePosition * Scale);
  }
  return O;
}

double TFontService::Kerning(const TFontRequest& Font, char32_t Left, char32_t Right) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  hb_buffer_t* Buffer = hb_buffer_create();
  const std::uint32_t Pair[2] = {Left, Right};
  hb_buffer_add_utf32(Buffer, Pair, 2, 0, 2);
  hb_buffer_set_direction(Buffer, HB_DIRECTION_LTR);
  hb_buffer_guess_segment_properties(Buffer);
  hb_shape(Face.Hb, Buffer, nullptr, 0);
  unsigned Count = 0;
  const hb_glyph_position_t* Pos = hb_buffer_get_glyph_positions(Buffer, &Count);
  const hb_glyph_info_t* Info = hb_buffer_get_glyph_infos(Buffer, &Count);
  double Shaped = 0, Nominal = 0;
  for (unsigned I = 0; I < Count; ++I) {
    Shaped += Pos[I].x_advance;
    Nominal += Face.UnitAdvances[Info[I].codepoint];
  }
  hb_buffer_destroy(Buffer);
  return (Shaped - Nominal) * FImpl->LastEm / Face.Upem;
}

std::uint32_t TFontService::GlyphIndex(const TFontRequest& Font, char32_t Code) {
  FImpl->Select(Font);
  return FImpl->LastFace->Glyph(Code);
}

bool TFontService::GlyphOutline(const TFontRequest& Font, std::uint32_t Glyph,
                                std::vector<TOutlineOp>& Ops) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  auto It = Face.Outlines.find(Glyph);
  if (It == Face.Outlines.end()) {
    std::vector<TOutlineOp> Fresh;
    if (LoadOutline(Face.Ft, Glyph)) {
      TOpsSink Sink{Fresh};
      TOutlineWalk<TOpsSink>{Sink, 1.0 / Face.Upem}.Walk(Face.Ft->glyph->outline);
    }
    It = Face.Outlines.emplace(Glyph, std::move(Fresh)).first;
  }
  Ops = It->second;
  return !Ops.empty();
}

TGlyphMask TFontService::RasterizeGlyph(const TFontRequest& Font, std::uint32_t Glyph, bool Slant) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  if (!LoadOutline(Face.Ft, Glyph)) return {};
  // Walked straight from the loaded glyph into the rasteriser, with the very points GlyphOutline
  // gives: no operations to allocate, keep and copy.
  TGlyphRasterizer& Rasterizer = FImpl->Rasterizer;
  Rasterizer.Begin(FImpl->LastEm, Slant);
  TOutlineWalk<TGlyphRasterizer>{Rasterizer, 1.0 / Face.Upem}.Walk(Face.Ft->glyph->outline);
  return Rasterizer.Fill();
}

std::string TFontService::FontData(const TFontRequest& Font) {
  FImpl->Select(Font);
  std::ifstream In(FImpl->LastFace->File.Path, std::ios::binary);
  if (!In) throw EOutOfResources(u"Cannot read the font file " + Utf8ToString(FImpl->LastFace->File.Path));
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

std::string TFontService::FontTable(const TFontRequest& Font, std::string_view Tag) {
  if (Tag.size() != 4) return {};
  FImpl->Select(Font);
  const FT_ULong TagValue = FT_MAKE_TAG(Tag[0], Tag[1], Tag[2], Tag[3]);
  FT_ULong Length = 0;
  if (FT_Load_Sfnt_Table(FImpl->LastFace->Ft, TagValue, 0, nullptr, &Length) != 0) return {};
  std::string Data(Length, '\0');
  FT_Load_Sfnt_Table(FImpl->LastFace->Ft, TagValue, 0,
                     reinterpret_cast<FT_Byte*>(Data.data()), &Length);
  return Data;
}

std::string TFontService::SubsetFontData(const TFontRequest& Font,
                                          const std::vector<std::uint32_t>& Glyphs) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  hb_subset_input_t* Input = hb_subset_input_create_or_fail();
  if (!Input) return {};
  hb_set_t* Set = hb_subset_input_glyph_set(Input);
  hb_set_add(Set, 0);
  if (Glyphs.empty())
    hb_set_add_range(Set, 0, hb_codepoint_t(Face.Ft->num_glyphs - 1));
  else
    for (std::uint32_t G : Glyphs) hb_set_add(Set, G);
  // Only the glyphs asked for: no characters pull in more through the character map.
  hb_set_clear(hb_subset_input_unicode_set(Input));
  hb_subset_input_set_flags(Input, HB_SUBSET_FLAGS_RETAIN_GIDS);
  hb_face_t* Subset = hb_subset_or_fail(hb_font_get_face(Face.Hb), Input);
  hb_subset_input_destroy(Input);
  if (!Subset) return {};
  hb_blob_t* Blob = hb_face_reference_blob(Subset);
  unsigned Length = 0;
  const char* Data = hb_blob_get_data(Blob, &Length);
  std::string Result(Data ? Data : "", Data ? Length : 0);
  hb_blob_destroy(Blob);
  hb_face_destroy(Subset);
  return Result;
}

std::vector<TScriptItem> TFontService::Itemize(std::u16string_view Text, bool RightToLeft) {
  std::vector<TScriptItem> Items;
  if (Text.empty()) return Items;
  UErrorCode Error = U_ZERO_ERROR;
  UBiDi* Bidi = ubidi_openSized(int32_t(Text.size()), 0, &Error);
  ubidi_setPara(Bidi, Text.data(), int32_t(Text.size()), RightToLeft ? 1 : 0, nullptr, &Error);
  if (U_FAILURE(Error)) {
    ubidi_close(Bidi);
    Items.push_back({0, int(Text.size()), RightToLeft ? 1 : 0});
    return Items;
  }
  for (int32_t Pos = 0; Pos < int32_t(Text.size());) {
    int32_t Limit = 0;
    UBiDiLevel Level = 0;
    ubidi_getLogicalRun(Bidi, Pos, &Limit, &Level);
    Items.push_back({Pos, Limit - Pos, Level});
    Pos = Limit;
  }
  ubidi_close(Bidi);
  return Items;
}

std::vector<int> TFontService::VisualOrder(const std::vector<TScriptItem>& Items) {
  std::vector<UBiDiLevel> Levels;
  for (const auto& Item : Items) Levels.push_back(UBiDiLevel(Item.BidiLevel));
  std::vector<int32_t> Map(Items.size());
  if (!Items.empty()) ubidi_reorderVisual(Levels.data(), int32_t(Levels.size()), Map.data());
  return std::vector<int>(Map.begin(), Map.end());
}

std::vector<TShapedGlyph> TFontService::Shape(const TFontRequest& Font, std::u16string_view Text,
                                              bool RightToLeft) {
  FImpl->Select(Font);
  TFace& Face = *FImpl->LastFace;
  const double Scale = FImpl->LastEm / Face.Upem;
  hb_buffer_t* Buffer = hb_buffer_create();
  hb_buffer_add_utf16(Buffer, reinterpret_cast<const std::uint16_t*>(Text.data()),
                      int(Text.size()), 0, int(Text.size()));
  hb_buffer_set_direction(Buffer, RightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_guess_segment_properties(Buffer);
  hb_shape(Face.Hb, Buffer, nullptr, 0);
  unsigned Count = 0;
  const hb_glyph_info_t* Info = hb_buffer_get_glyph_infos(Buffer, &Count);
  const hb_glyph_position_t* Pos = hb_buffer_get_glyph_positions(Buffer, &Count);
  std::vector<TShapedGlyph> Glyphs(Count);
  for (unsigned I = 0; I < Count; ++I)
    Glyphs[I] = {Info[I].codepoint, int(Info[I].cluster), Pos[I].x_advance * Scale,
                 Pos[I].x_offset * Scale, Pos[I].y_offset * Scale};
  hb_buffer_destroy(Buffer);
  return Glyphs;
}

IFontMetrics& FontMetrics() {
  if (TestMetrics) return *TestMetrics;
  return TFontService::Instance();
}

IFontMetrics* SetFontMetricsForTests(IFontMetrics* Metrics) {
  IFontMetrics* Previous = TestMetrics;
  TestMetrics = Metrics;
  return Previous;
}

TFixedFontMetrics::TFixedFontMetrics(int CharWidth, int LineHeight, int SpaceWidth)
    : FCharWidth(CharWidth), FLineHeight(LineHeight), FSpaceWidth(SpaceWidth) {}

TTextMetric TFixedFontMetrics::TextMetrics(const TFontRequest& Font) {
  TTextMetric M;
  M.tmHeight = FLineHeight;
  M.tmDescent = FLineHeight / 4;
  M.tmAscent = FLineHeight - M.tmDescent;
  M.tmAveCharWidth = FCharWidth;
  M.tmMaxCharWidth = FCharWidth;
  M.tmWeight = Font.Bold ? 700 : 400;
  M.tmItalic = Font.Italic;
  return M;
}

void TFixedFontMetrics::CharAdvances(const TFontRequest&, std::u16string_view Text,
                                     std::vector<int>& Advances) {
  Advances.resize(Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const Char C = Text[I];
    if (C >= 0xDC00 && C < 0xE000 && I > 0 && Text[I - 1] >= 0xD800 && Text[I - 1] < 0xDC00)
      Advances[I] = 0;
    else
      Advances[I] = C == u' ' ? FSpaceWidth : FCharWidth;
  }
}
