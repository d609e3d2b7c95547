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
  auto It = FIndex.find(Glyph);
  if (It == FIndex.end()) {
    FIndex.emplace(Glyph, FUsed.size());
    FUsed.push_back({Glyph, int(std::lround(Advance)), std::u16string(Text), Fallback && !Text.empty()});
    return;
  }
  TUsedGlyph& Used = FUsed[It->second];
  // A real mapping replaces a fallback or a missing one; a fallback never replaces anything.
  if (!Fallback && !Text.empty() && (Used.Fallback || Used.Text.empty())) {
    Used.Text = std::u16string(Text);
    Used.Fallback = false;
  } else if (Fallback && Used.Text.empty() && !Text.empty()) {
    Used.Text = std::u16string(Text);
    Used.Fallback = true;
  }
}

std::vector<std::uint16_t> TvqrPDFFont::RemapString(std::u16string_view Str, bool RTL,
                                                    std::vector<double>* Advances) {
  if (Str.empty()) return {};
  FKey.assign(1, RTL ? u'R' : u'L');
  FKey += Str;
  auto It = FShaped.find(FKey);
  if (It == FShaped.end()) {
    TShaped Shaped;
    Shaped.Glyphs = Shape(Str, RTL, Shaped.Advances);
    // Bounded: a document of ever new texts starts the memory afresh.
    if (FShaped.size() >= kShapedTexts) FShaped.clear();
    It = FShaped.emplace(FKey, std::move(Shaped)).first;
  }
  const TShaped& Found = It->second;
  if (Advances) Advances->insert(Advances->end(), Found.Advances.begin(), Found.Advances.end());
  return Found.Glyphs;
}

std::vector<std::uint16_t> TvqrPDFFont::Shape(std::u16string_view Str, bool RTL,
                                              std::vector<double>& Advances) {
  std::vector<std::uint16_t> Result;
  auto& Service = TFontService::Instance();
  const std::vector<TScriptItem> Items = Service.Itemize(Str, RTL);
  const std::u16string Default(1, FMetrics.otmTextMetrics.tmDefaultChar);
  for (int Index : TFontService::VisualOrder(Items)) {
    const TScriptItem& Item = Items[std::size_t(Index)];
    const std::u16string_view Run = Str.substr(std::size_t(Item.Start), std::size_t(Item.Length));
    const std::vector<TShapedGlyph> Glyphs = Service.Shape(FRequest, Run, Item.RightToLeft());
    // Each cluster's text runs from its start to the next cluster's start.
    std::vector<int> Starts;
    for (const auto& G : Glyphs) Starts.push_back(G.Cluster);
    std::sort(Starts.begin(), Starts.end());
    Starts.erase(std::unique(Starts.begin(), Starts.end()), Starts.end());
    std::vector<int> Seen;
    for (const auto& G : Glyphs) {
      const auto Next = std::upper_bound(Starts.begin(), Starts.end(), G.Cluster);
      const int End = Next == Starts.end() ? int(Run.size()) : *Next;
      const bool First = std::find(Seen.begin(), Seen.end(), G.Cluster) == Seen.end();
      const std::uint16_t Id = std::uint16_t(std::min<std::uint32_t>(G.GlyphId, 0xFFFF));
      if (First) {
        Seen.push_back(G.Cluster);
        Record(Id, G.XAdvance, Run.substr(std::size_t(G.Cluster), std::size_t(End - G.Cluster)),
               false);
      } else {
        // A further glyph of a cluster (a decomposed character): its text is carried by the
        // first one, so it only gets the default character until a real use maps it.
        Record(Id, G.XAdvance, Default, true);
      }
      Result.push_back(Id);
      Advances.push_back(G.XAdvance);
    }
  }
  return Result;
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
  std::string Out;
  Out.reserve(Text.size() * 4);
  for (char16_t U : Text)
    for (int Shift = 12; Shift >= 0; Shift -= 4) Out += kHex[(U >> Shift) & 15];
  return Out;
}

std::string HexOfGlyphs(const std::vector<std::uint16_t>& Glyphs) {
  return HexOfUnicodeText(std::u16string_view(reinterpret_cast<const char16_t*>(Glyphs.data()),
                                              Glyphs.size()));
}
