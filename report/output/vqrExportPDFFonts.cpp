// vqrExportPDFFonts.cpp - the PDF export's fonts: one per name and style, and at the end of
// the document each font's objects (font file, descriptor, text map, CID system info, CID font
// and the Type0 font under its reserved number).
#include "report/output/vqrExportPDF.h"

#include <cmath>

#include "platform/graphics/Graphics.h"
#include "report/output/vqrExportPDF_p.h"
#include "report/output/vqrPDFFont.h"

using namespace vqrpdf;

namespace {

// A text map's "beginbfchar" block holds at most this many entries.
constexpr std::size_t kBfCharBlock = 100;

std::string ToUnicodeMap(const TvqrPDFFont& Font, const std::string& Name) {
  std::vector<const TvqrPDFFont::TUsedGlyph*> Mapped;
  for (const auto& G : Font.UsedGlyphs())
    if (!G.Text.empty()) Mapped.push_back(&G);
  std::string Cmap =
      "/CIDInit /ProcSet findresource begin\r\n12 dict begin\r\nbegincmap\r\n/CIDSystemInfo\r\n"
      "<< /Registry (Adobe)\r\n/Ordering (UCS)\r\n/Supplement 0\r\n>> def\r\n";
  std::string CmapName = Name;
  for (char& C : CmapName)
    if (C == ',') C = '+';
  Cmap += "/CMapName /" + CmapName + " def\r\n/CMapType 2 def\r\n1 begincodespacerange\r\n"
          "<0000> <FFFF>\r\nendcodespacerange\r\n";
  for (std::size_t From = 0; From < Mapped.size(); From += kBfCharBlock) {
    const std::size_t To = std::min(Mapped.size(), From + kBfCharBlock);
    Cmap += Dec(To - From) + " beginbfchar\r\n";
    for (std::size_t I = From; I < To; ++I)
      Cmap += "<" + HexOfUnicodeText(std::u16string(1, char16_t(Mapped[I]->Id))) + "> <" +
              HexOfUnicodeText(Mapped[I]->Text) + ">\r\n";
    Cmap += "endbfchar\r\n";
  }
  Cmap += "endcmap\r\nCMapName currentdict /CMap defineresource pop\r\nend\r\nend\r\n";
  return Cmap;
}

}  // namespace

TvqrPDFFont* TvqrPDFExport::FindDocumentFont(TFont* Font) {
  for (auto& F : FFonts)
    if (F->Matches(Font)) return F.get();
  FFonts.push_back(std::make_unique<TvqrPDFFont>(Font));
  FFonts.back()->Name = "/F" + Dec(FFonts.size() - 1);
  return FFonts.back().get();
}

int TvqrPDFExport::FindPageFont(TFont* Font) {
  for (std::size_t I = 0; I < FPageFonts.size(); ++I)
    if (FPageFonts[I]->Matches(Font)) return int(I);
  FPageFonts.push_back(FindDocumentFont(Font));
  return int(FPageFonts.size()) - 1;
}

void TvqrPDFExport::WriteFont(TvqrPDFFont* Font) {
  // Fonts are always embedded: the whole file when asked (or protected), else the glyphs used.
  const bool Whole = FEmbeddedFonts || FProtection;
  const std::string Name = (Whole ? "" : Font->SubsetTag() + "+") + Font->GetFontName();
  const TOutlineTextMetric& M = Font->Metrics();
  const TTextMetric& T = M.otmTextMetrics;

  const int FF = NewObjectNumber();
  WriteStreamObject(FF, Font->FontFile(Whole));

  const int FD = NewObjectNumber();
  WriteLn(ObjectHeaderText(FD));
  WriteLn("<<");
  WriteLn("/Type /FontDescriptor");
  WriteLn("/FontName /" + Name);
  WriteLn("/FontFamily " + LiteralString(FD, StringToUtf8(Font->Family())));
  WriteLn("/Flags 32");
  WriteLn("/FontBBox [" + Dec(M.otmrcFontBox.Left) + " " + Dec(M.otmrcFontBox.Bottom) + " " +
          Dec(M.otmrcFontBox.Right) + " " + Dec(M.otmrcFontBox.Top) + " ]");
  WriteLn("/ItalicAngle " + Num(M.otmItalicAngle / 10.0L));
  WriteLn("/Ascent " + Dec(M.otmAscent));
  WriteLn("/Descent " + Dec(M.otmDescent));
  WriteLn("/Leading " + Dec(T.tmInternalLeading));
  WriteLn("/CapHeight " + Dec(M.otmCapHeight));
  WriteLn("/StemV " + Dec(std::lround(std::pow(T.tmWeight / 65.0, 2)) + 50));
  WriteLn("/AvgWidth " + Dec(T.tmAveCharWidth));
  WriteLn("/MaxWidth " + Dec(T.tmMaxCharWidth));
  WriteLn("/MissingWidth " + Dec(T.tmAveCharWidth));
  WriteLn("/FontFile2 " + ObjectRefText(FF));
  WriteLn(">>");
  WriteLn("endobj");

  const int TU = NewObjectNumber();
  WriteStreamObject(TU, ToUnicodeMap(*Font, Name));

  const int CS = NewObjectNumber();
  WriteLn(ObjectHeaderText(CS));
  WriteLn("<<");
  WriteLn("/Registry " + LiteralString(CS, "Adobe") + " /Ordering " +
          LiteralString(CS, "Identity") + " /Supplement 0");
  WriteLn(">>");
  WriteLn("endobj");

  const int CF = NewObjectNumber();
  WriteLn(ObjectHeaderText(CF));
  WriteLn("<<");
  WriteLn("/Type /Font");
  WriteLn("/Subtype /CIDFontType2");
  WriteLn("/BaseFont /" + Name);
  WriteLn("/CIDSystemInfo " + ObjectRefText(CS));
  WriteLn("/FontDescriptor " + ObjectRefText(FD));
  Write("/W [ ");
  for (const auto& G : Font->UsedGlyphs()) Write(Dec(G.Id) + " [" + Dec(G.Width) + "] ");
  WriteLn("]");
  WriteLn(">>");
  WriteLn("endobj");

  WriteReservedHeader(Font->Reference);
  WriteLn("<<");
  WriteLn("/Type /Font");
  WriteLn("/Subtype /Type0");
  WriteLn("/BaseFont /" + Name);
  WriteLn("/Encoding /Identity-H");
  WriteLn("/DescendantFonts [" + ObjectRefText(CF) + "]");
  WriteLn("/ToUnicode " + ObjectRefText(TU));
  WriteLn(">>");
  WriteLn("endobj");
}
