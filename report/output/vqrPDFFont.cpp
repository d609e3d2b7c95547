// vqrPDFFont.cpp - PDF fonts: shaping through the font service, the glyphs used and their
// texts, names, subset tags and font files.
#include "report/output/vqrPDFFont.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Graphics.h"
#include "report/output/vqrmd5.h"

namespace {

constexpr int kEm = 1000;   // glyph-space units per em: the font is measured at this pixel size

const char kHex[] = "0123456789ABCDEF";

constexpr std::size_t kShapedTexts = 20000;   // texts remembered shaped, per font

constexpr std::uint32_t kNotUsed = ~std::uint32_t(0);   // a glyph id not yet in FUsed

}  // namespace

TvqrPDFFont::TvqrPDFFont(TFont* Font)
    : FSourceName(Font->Name()), FSourceStyle(Font->Style()) {
  const bool Bold = FSourceStyle.Contains(fsBold), Italic = FSourceStyle.Contains(fsItalic);
  FRequest = {FSourceName, -kEm, Bold, Italic};
  auto& Service = TFontService::Instance();
  FFile = Service.Resolve(FSourceName, Bold, Italic);
  FMetrics = Service.OutlineTextMetrics(FRequest);
}

TvqrPDFFont::~TvqrPDFFont() = default;

bool TvqrPDFFont::Matches(TFont* Font) const {
  return Font->Name() == FSourceName && Font->Style() == FSourceStyle;
}

void TvqrPDFFont::Record(std::uint16_t Glyph, double Advance, std::u16string_view Text,
                         bool Fallback) {
  if (Glyph == 0) Text = {};   // a missing character: left out of the text map
  if (Glyph >= FIndex.size()) FIndex.resize(std::size_t(Glyph) + 1, kNotUsed);
  std::uint32_t& Index = FIndex[Glyph];
  if (Index == kNotUsed) {
    Index = std::uint32_t(FUsed.size());
    FUsed.push_back({Glyph, int(std::lround(Advance)), std::u16string(Text), Fallback && !Text.empty()});
    return;
  }
  TUsedGlyph& Used = FUsed[Index];
  // A real mapping replaces a fallback or a missing one; a fallback never replaces anything.
  if (!Fallback && !Text.empty() && (Used.Fallback || Used.Text.empty())) {
    Used.Text = std::u16string(Text);
    Used.Fallback = false;
  } else if (Fallback && Used.Text.empty() && !Text.empty()) {
    Used.Text = std::u16string(Text);
    Used.Fallback = true;
  }
}

const std::vector<std::uint16_t>& TvqrPDFFont::RemapString(std::u16string_view Str, bool RTL,
                                                           std::vector<double>* Advances) {
  static const std::vector<std::uint16_t> None;
  if (Str.empty()) return None;
  FKey.assign(1, RTL ? u'R' : u'L');
  FKey += Str;
  auto It = FShaped.find(FKey);
  if (It == FShaped.end()) {
    TShaped Shaped;
    Shape(Str, RTL, Shaped);
    // Bounded: a document of ever new texts starts the memory afresh.
    if (FShaped.size() >= kShapedTexts) FShaped.clear();
    It = FShaped.emplace(FKey, std::move(Shaped)).first;
  }
  const TShaped& Found = It->second;
  if (Advances) Advances->insert(Advances->end(), Found.Advances.begin(), Found.Advances.end());
  return Found.Glyphs;
}

namespace {

// True when Text read left to right is one run of level 0 without asking the bidi algorithm:
// below U+0590 no character is right to left (Hebrew, Arabic and the bidi controls all lie
// above), so every character resolves to the paragraph's level.
bool OneLeftToRightRun(std::u16string_view Text, bool RTL) {
  if (RTL) return false;
  for (char16_t C : Text)
    if (C >= 0x0590) return false;
  return true;
}

}  // namespace

void TvqrPDFFont::Shape(std::u16string_view Str, bool RTL, TShaped& Out) {
  auto& Service = TFontService::Instance();
  std::vector<TScriptItem> Items;
  std::vector<int> Order;
  if (OneLeftToRightRun(Str, RTL)) {
    Items.push_back({0, int(Str.size()), 0});
    Order.push_back(0);
  } else {
    Items = Service.Itemize(Str, RTL);
    Order = TFontService::VisualOrder(Items);
  }
  const char16_t Default[] = {char16_t(FMetrics.otmTextMetrics.tmDefaultChar)};
  for (int Index : Order) {
    const TScriptItem& Item = Items[std::size_t(Index)];
    const std::u16string_view Run = Str.substr(std::size_t(Item.Start), std::size_t(Item.Length));
    const std::vector<TShapedGlyph> Glyphs = Service.Shape(FRequest, Run, Item.RightToLeft());
    // Each cluster's text runs from its start to the next cluster's start: NextStart[C] is
    // the first cluster start after C (or the run's end).
    FNextStart.assign(Run.size() + 1, -1);
    for (const auto& G : Glyphs) FNextStart[std::size_t(G.Cluster)] = 0;
    int Next = int(Run.size());
    for (std::size_t C = Run.size() + 1; C-- > 0;) {
      if (FNextStart[C] < 0) continue;
      FNextStart[C] = Next;
      Next = int(C);
    }
    Out.Glyphs.reserve(Out.Glyphs.size() + Glyphs.size());
    Out.Advances.reserve(Out.Advances.size() + Glyphs.size());
    for (const auto& G : Glyphs) {
      const std::size_t Cluster = std::size_t(G.Cluster);
      const std::uint16_t Id = std::uint16_t(std::min<std::uint32_t>(G.GlyphId, 0xFFFF));
      // A cluster start holds its end, turned negative (~End) once its first glyph is met.
      int& Mark = FNextStart[Cluster];
      const bool First = Mark >= 0;
      if (First) Mark = ~Mark;
      const std::u16string_view ClusterText = Run.substr(Cluster, std::size_t(~Mark) - Cluster);
      const double Width =
          IsUsed(Id) ? G.XAdvance : OwnAdvance(Id, ClusterText, Item.RightToLeft(), G.XAdvance);
      if (First) {
        // The first glyph met of its cluster carries the cluster's text.
        Record(Id, Width, ClusterText, false);
      } else {
        // A further glyph of a cluster (a decomposed character): its text is carried by the
        // first one, so it only gets the default character until a real use maps it.
        Record(Id, Width, std::u16string_view(Default, 1), true);
      }
      Out.Glyphs.push_back(Id);
      Out.Advances.push_back(G.XAdvance);
    }
  }
}

bool TvqrPDFFont::IsUsed(std::uint16_t Glyph) const {
  return Glyph < FIndex.size() && FIndex[Glyph] != kNotUsed;
}

// A glyph's width in the font's width list is its advance without kerning: the page writes
// each line as one string of glyphs placed by those widths, so a pair adjustment taken from
// the glyph's first neighbour would move every later use of it. The cluster shaped alone
// gives that advance; a glyph it does not give (a contextual form) keeps its advance in place.
double TvqrPDFFont::OwnAdvance(std::uint16_t Glyph, std::u16string_view ClusterText, bool RTL,
                               double InPlace) {
  for (const TShapedGlyph& G : TFontService::Instance().Shape(FRequest, ClusterText, RTL))
    if (G.GlyphId == Glyph) return G.XAdvance;
  return InPlace;
}

std::string TvqrPDFFont::GetFontName() const {
  std::string Family = StringToUtf8(FFile.Family.empty() ? FSourceName : FFile.Family);
  const bool Bold = FSourceStyle.Contains(fsBold), Italic = FSourceStyle.Contains(fsItalic);
  std::string Out;
  for (unsigned char C : Family) {
    if (C < 0x21 || C > 0x7E || std::string_view("#()<>[]{}/%").find(char(C)) != std::string_view::npos) {
      Out += '#';
      Out += kHex[C >> 4];
      Out += kHex[C & 15];
    } else {
      Out += char(C);
    }
  }
  if (Bold || Italic) Out += std::string(",") + (Bold ? "Bold" : "") + (Italic ? "Italic" : "");
  return Out;
}

std::string TvqrPDFFont::SubsetTag() const {
  std::string Ids;
  for (const auto& G : FUsed) Ids += std::to_string(G.Id) + ",";
  const std::string Hex = MD5HexOfText(GetFontName() + ":" + Ids);
  std::string Tag;
  for (int I = 0; I < 6; ++I) {
    const char C = Hex[std::size_t(I)];
    const int V = C <= '9' ? C - '0' : C - 'a' + 10;
    Tag += char('A' + V);
  }
  return Tag;
}

std::string TvqrPDFFont::FontFile(bool Whole) {
  auto& Service = TFontService::Instance();
  if (!Whole) {
    std::vector<std::uint32_t> Ids;
    for (const auto& G : FUsed) Ids.push_back(G.Id);
    if (Ids.empty()) Ids.push_back(0);
    std::string Subset = Service.SubsetFontData(FRequest, Ids);
    if (!Subset.empty()) return Subset;
  }
  if (FFile.Index == 0 && !Service.FontTable(FRequest, "glyf").empty())
    return Service.FontData(FRequest);
  return Service.SubsetFontData(FRequest, {});
}

std::string HexOfUnicodeText(std::u16string_view Text) {
  std::string Out(Text.size() * 4, '0');
  char* To = Out.data();
  for (char16_t U : Text) {
    To[0] = kHex[U >> 12];
    To[1] = kHex[(U >> 8) & 15];
    To[2] = kHex[(U >> 4) & 15];
    To[3] = kHex[U & 15];
    To += 4;
  }
  return Out;
}

std::string HexOfGlyphs(const std::vector<std::uint16_t>& Glyphs) {
  return HexOfUnicodeText(std::u16string_view(reinterpret_cast<const char16_t*>(Glyphs.data()),
                                              Glyphs.size()));
}
