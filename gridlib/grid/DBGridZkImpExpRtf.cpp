// DBGridZkImpExpRtf.cpp - the RTF writer: a table of title, record and footer rows, with the
// titles of a multi-level header written as one row per level and spans merged.
#include "gridlib/grid/DBGridZkImpExp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/Streams.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string Num(long long V) { return std::to_string(V); }

// The horizontal pixels per inch of the grid's canvas.
int GridPixelsPerInch(TCustomDBGridZk* Grid) {
  TCanvas* Canvas = Grid->Canvas();
  const int Ppi = !Canvas ? 0
                  : Canvas->Device() ? Canvas->Device()->PixelsPerInch()
                                     : Canvas->Font()->PixelsPerInch();
  return Ppi > 0 ? Ppi : 96;
}

const char* AlignmentWord(TAlignment A) {
  switch (A) {
    case taRightJustify: return "\\qr";
    case taCenter: return "\\qc";
    default: return "\\ql";
  }
}

}  // namespace

TDBGridZkExportAsRTF::TDBGridZkExportAsRTF() = default;
TDBGridZkExportAsRTF::~TDBGridZkExportAsRTF() = default;

std::string TDBGridZkExportAsRTF::EncodeText(const String& Text) {
  std::string Out;
  Out.reserve(Text.size());
  // Most texts convert whole; only a text with characters the code page lacks goes one by one.
  std::string Whole;
  const bool AllInCodePage = TryStringToCodePage(Text, 1251, Whole) && Whole.size() == Text.size();
  std::string Byte;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char16_t C = Text[I];
    if (C < 0x80) {
      if (C == u'\\' || C == u'{' || C == u'}') Out += '\\';
      Out += static_cast<char>(C);
      continue;
    }
    const bool Mapped = AllInCodePage ? (Byte = Whole.substr(I, 1), true)
                                      : TryStringToCodePage(std::u16string_view(&C, 1), 1251, Byte) &&
                                            Byte.size() == 1;
    if (Mapped) {
      char Hex[8];
      std::snprintf(Hex, sizeof Hex, "\\'%02x", static_cast<unsigned char>(Byte[0]));
      Out += Hex;
    } else {
      // \uN takes a signed 16-bit number; "?" is what readers without Unicode show.
      Out += "\\u" + Num(static_cast<std::int16_t>(C)) + "?";
    }
  }
  return Out;
}

int TDBGridZkExportAsRTF::ColorIndex(TColor Color) {
  const TColorRef Rgb = ColorToRGB(Color);
  char Key[16];
  std::snprintf(Key, sizeof Key, "%3d%3d%3d", GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb));
  auto It = std::find(ColorTblList.begin(), ColorTblList.end(), Key);
  if (It != ColorTblList.end()) return static_cast<int>(It - ColorTblList.begin());
  ColorTblList.emplace_back(Key);
  return static_cast<int>(ColorTblList.size()) - 1;
}

int TDBGridZkExportAsRTF::FontIndex(const String& FontName) {
  for (std::size_t I = 0; I < FontTblList.size(); ++I)
    if (AnsiCompareText(FontTblList[I], FontName) == 0) return static_cast<int>(I);
  FontTblList.push_back(FontName);
  return static_cast<int>(FontTblList.size()) - 1;
}

void TDBGridZkExportAsRTF::PutText(const std::string& Text) {
  FStream->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

void TDBGridZkExportAsRTF::PutLine(const std::string& Text) { PutText(Text + "\r\n"); }

void TDBGridZkExportAsRTF::ExportToStream(TStream* AStream, bool IsExportAll) {
  FCacheStream = std::make_unique<TMemoryStreamZk>();
  FCacheStream->SetHalfMemoryDelta(65536);
  ColorTblList.clear();
  FontTblList.clear();
  ColorIndex(clBlack);
  ColorIndex(clWhite);
  ColorIndex(clBtnFace);
  TDBGridZkExport::ExportToStream(FCacheStream.get(), IsExportAll);
  FStream = AStream;
  PutLine("{\\rtf0\\ansi\\ansicpg1251\\uc1");
  PutText("{\\colortbl");
  for (const std::string& Key : ColorTblList) {
    const int R = std::atoi(Key.substr(0, 3).c_str()), G = std::atoi(Key.substr(3, 3).c_str()),
              B = std::atoi(Key.substr(6, 3).c_str());
    PutText("\\red" + Num(R) + "\\green" + Num(G) + "\\blue" + Num(B) + ";");
  }
  PutLine("}");
  PutText("{\\fonttbl");
  for (std::size_t I = 0; I < FontTblList.size(); ++I)
    PutText("\\f" + Num(static_cast<long long>(I)) + "\\fnil " + EncodeText(FontTblList[I]) + ";");
  PutLine("}");
  FCacheStream->SetPosition(0);
  if (FCacheStream->Size() > 0) AStream->CopyFrom(FCacheStream.get(), FCacheStream->Size());
  FCacheStream.reset();
}

void TDBGridZkExportAsRTF::WriteSuffix() { PutText("}"); }

int TDBGridZkExportAsRTF::Spacing() const { return FDBGridZk->Flat() ? 12 : 24; }

void TDBGridZkExportAsRTF::PutRun(TFont* Font, const String& Text, TColor Background) {
  std::string S = "\\fs" + Num(Font->Size() * 2);
  const TFontStyles St = Font->Style();
  if (St.Contains(fsBold)) S += "\\b";
  if (St.Contains(fsItalic)) S += "\\i";
  if (St.Contains(fsStrikeOut)) S += "\\strike";
  if (St.Contains(fsUnderline)) S += "\\ul";
  S += "\\f" + Num(FontIndex(Font->Name())) + "\\cf" + Num(ColorIndex(Font->Color())) + "\\cb" +
       Num(ColorIndex(Background)) + " ";
  PutText(S + EncodeText(Text));
}

void TDBGridZkExportAsRTF::PutCellBorders(const TCellBorders& B) {
  if (B.Left) PutLine("\\clbrdrl\\brdrs\\brdrcf0");
  if (B.Top) PutLine("\\clbrdrt\\brdrs\\brdrcf0");
  if (B.Bottom) PutLine("\\clbrdrb\\brdrs\\brdrcf0");
  if (B.Right) PutLine("\\clbrdrr\\brdrs\\brdrcf0");
}

void TDBGridZkExportAsRTF::BeginRow(const std::vector<TCellBorders>& Borders,
                                    const std::vector<TColor>& Shades) {
  PutLine("\\trowd\\trgaph40");
  const int Ppi = GridPixelsPerInch(FDBGridZk);
  long long X = 0;
  for (std::size_t I = 0; I < FExpCols.size(); ++I) {
    PutCellBorders(Borders[I]);
    X += static_cast<long long>(std::trunc(FExpCols[I]->Width() / double(Ppi) * 1440));
    // The cell's background colour itself: a full-strength foreground pattern (\clshdng10000
    // with \clcfpat) is painted black by some word processors, text and all.
    PutLine("\\clcbpat" + Num(ColorIndex(Shades[I])) + "\\cellx" + Num(X));
  }
  PutLine("{\\trrh0");
}

void TDBGridZkExportAsRTF::PutCell(TAlignment Alignment, int Spacing, TFont* Font,
                                   const String& Text, TColor Background) {
  std::string S = std::string("\\pard\\intbl{") + AlignmentWord(Alignment);
  if (Spacing >= 0) S += "\\sb" + Num(Spacing) + "\\sa" + Num(Spacing);
  PutText(S);
  PutRun(Font, Text, Background);
  PutLine("\\cell}");
}

void TDBGridZkExportAsRTF::EndRow() { PutLine("\\pard\\intbl\\row}"); }

void TDBGridZkExportAsRTF::WriteTitle(const TColumnsZkList& Columns) {
  if (FDBGridZk->UseMultiTitle()) return WriteMultiTitle(Columns);
  std::vector<TColor> Shades;
  for (TColumnZk* C : Columns) Shades.push_back(C->Title()->Color());
  BeginRow(std::vector<TCellBorders>(Columns.size()), Shades);
  for (TColumnZk* C : Columns)
    PutCell(C->Title()->Alignment(), Spacing(), C->Title()->Font(), C->Title()->Caption(),
            C->Title()->Color());
  EndRow();
}

void TDBGridZkExportAsRTF::WritePendingRow() {
  std::vector<TColor> Shades;
  for (const TPendingCell& C : FRowCells) Shades.push_back(C.Background);
  BeginRow(std::vector<TCellBorders>(FRowCells.size()), Shades);
  for (TPendingCell& C : FRowCells) PutCell(C.Alignment, Spacing(), C.Font.get(), C.Text, C.Background);
  EndRow();
  FRowCells.clear();
}

void TDBGridZkExportAsRTF::WriteRecord(const TColumnsZkList& Columns) {
  FRowCells.clear();
  TDBGridZkExport::WriteRecord(Columns);
  WritePendingRow();
}

void TDBGridZkExportAsRTF::WriteDataCell(TColumnZk*, TColCellParamsZk* CellParams) {
  auto Font = std::make_unique<TFont>();
  Font->Assign(CellParams->Font());
  FRowCells.push_back({CellParams->Alignment, std::move(Font), CellParams->Text,
                       CellParams->Background});
}

void TDBGridZkExportAsRTF::WriteFooter(const TColumnsZkList& Columns, int FooterNo) {
  FRowCells.clear();
  TDBGridZkExport::WriteFooter(Columns, FooterNo);
  WritePendingRow();
}

void TDBGridZkExportAsRTF::WriteFooterCell(int, int, const String& Value, TAlignment Alignment,
                                           TColor Background, TFont* Font, TColumnZk*) {
  auto Copy = std::make_unique<TFont>();
  Copy->Assign(Font);
  FRowCells.push_back({Alignment, std::move(Copy), Value, Background});
}

// --- multi-level titles -------------------------------------------------------------------------

namespace {

// The header tree of "|"-separated captions: a node per caption part; neighbouring columns
// share an inner node when their captions agree up to it. Leaves stretch down to the lowest
// level (their height is the levels they cover).
struct TTitleNode {
  String Text;
  int Parent = -1;   // -1: the tree's root
  int Height = 1;
};

struct TTitleTree {
  std::vector<TTitleNode> Nodes;
  std::vector<int> Leaves;   // per column
};

std::vector<String> CaptionParts(const String& Caption) {
  std::vector<String> Parts;
  String Part;
  for (char16_t C : Caption) {
    if (C == u'|') {
      Parts.push_back(Part);
      Part.clear();
    } else {
      Part += C;
    }
  }
  Parts.push_back(Part);
  return Parts;
}

TTitleTree BuildTitleTree(const TColumnsZkList& Columns) {
  TTitleTree T;
  std::vector<std::vector<String>> Parts;
  std::size_t MaxDepth = 1;
  for (TColumnZk* C : Columns) {
    Parts.push_back(CaptionParts(C->Title()->Caption()));
    MaxDepth = std::max(MaxDepth, Parts.back().size());
  }
  std::vector<int> PrevPath;
  for (std::size_t C = 0; C < Columns.size(); ++C) {
    std::vector<int> Path;
    const std::vector<String>& P = Parts[C];
    for (std::size_t D = 0; D + 1 < P.size(); ++D) {
      const int Parent = D == 0 ? -1 : Path.back();
      const bool Shared = C > 0 && D < PrevPath.size() && D + 1 < Parts[C - 1].size() &&
                          T.Nodes[static_cast<std::size_t>(PrevPath[D])].Parent == Parent &&
                          T.Nodes[static_cast<std::size_t>(PrevPath[D])].Text == P[D];
      if (Shared) {
        Path.push_back(PrevPath[D]);
      } else {
        T.Nodes.push_back({P[D], Parent, 1});
        Path.push_back(static_cast<int>(T.Nodes.size()) - 1);
      }
    }
    T.Nodes.push_back({P.back(), Path.empty() ? -1 : Path.back(),
                       static_cast<int>(MaxDepth - P.size() + 1)});
    T.Leaves.push_back(static_cast<int>(T.Nodes.size()) - 1);
    PrevPath = Path;
  }
  return T;
}

constexpr int Cleared = -2;
constexpr int RootNode = -1;

// Levels of nodes per column: level 0 the leaves, the last the top nodes below the root.
std::vector<std::vector<int>> FlattenTitleTree(const TTitleTree& T) {
  const std::size_t N = T.Leaves.size();
  std::vector<int> Cur = T.Leaves, Acc(N);
  for (std::size_t C = 0; C < N; ++C) Acc[C] = T.Nodes[static_cast<std::size_t>(Cur[C])].Height;
  std::vector<std::vector<int>> Levels;
  bool First = true;
  while (N > 0) {
    const int M = *std::min_element(Acc.begin(), Acc.end());
    std::vector<int> Level = Cur;
    bool Moved = false;
    for (std::size_t C = 0; C < N; ++C) {
      if (Cur[C] == RootNode || Acc[C] != M) continue;
      Cur[C] = T.Nodes[static_cast<std::size_t>(Cur[C])].Parent;
      Acc[C] += Cur[C] == RootNode ? 0 : T.Nodes[static_cast<std::size_t>(Cur[C])].Height;
      Moved = true;
    }
    if (Moved || First) Levels.push_back(Level);
    First = false;
    if (!Moved) break;
    // Columns that reached the root take part in no further level.
    if (std::all_of(Cur.begin(), Cur.end(), [](int V) { return V == RootNode; })) break;
  }
  return Levels;
}

}  // namespace

void TDBGridZkExportAsRTF::WriteMultiTitle(const TColumnsZkList& Columns) {
  const TTitleTree Tree = BuildTitleTree(Columns);
  std::vector<std::vector<int>> Levels = FlattenTitleTree(Tree);
  const std::size_t N = Columns.size();
  std::vector<std::vector<TCellBorders>> Borders(Levels.size(), std::vector<TCellBorders>(N));
  const int Ppi = GridPixelsPerInch(FDBGridZk);
  const int M = std::abs(static_cast<int>(
      std::trunc(FDBGridZk->VTitleMargin() / 2.0 / Ppi * 1440 - 20)));
  for (std::size_t L = Levels.size(); L-- > 0;) {
    std::vector<int> Shown(N, Cleared);
    for (std::size_t C = 0; C < N; ++C) {
      const int R = Levels[L][C];
      if (R == Cleared) continue;
      Shown[C] = R;
      std::size_t Low = L, Right = C;
      while (Low > 0 && Levels[Low - 1][C] == R) Levels[--Low][C] = Cleared;
      while (Right + 1 < N && Levels[L][Right + 1] == R) Levels[L][++Right] = Cleared;
      for (std::size_t A = C + 1; A <= Right; ++A)
        for (std::size_t Lv = Low; Lv < L; ++Lv) Levels[Lv][A] = Cleared;
      for (std::size_t A = C; A <= Right; ++A)
        for (std::size_t Lv = Low; Lv <= L; ++Lv) {
          TCellBorders& B = Borders[Lv][A];
          if (A != C) B.Left = false;
          if (A != Right) B.Right = false;
          if (Lv != L) B.Top = false;
          if (Lv != Low) B.Bottom = false;
        }
    }
    std::vector<TColor> Shades;
    for (TColumnZk* Col : Columns) Shades.push_back(L > 0 ? FDBGridZk->FixedColor() : Col->Title()->Color());
    BeginRow(Borders[L], Shades);
    for (std::size_t C = 0; C < N; ++C) {
      TFont* Font = L > 0 ? FDBGridZk->TitleFont() : Columns[C]->Title()->Font();
      const TColor Back = L > 0 ? FDBGridZk->FixedColor() : Columns[C]->Title()->Color();
      const String Text = Shown[C] == Cleared || Shown[C] == RootNode
                              ? String()
                              : Tree.Nodes[static_cast<std::size_t>(Shown[C])].Text;
      PutCell(taCenter, Shown[C] == Cleared ? -1 : M, Font, Text, Back);
    }
    EndRow();
  }
}
