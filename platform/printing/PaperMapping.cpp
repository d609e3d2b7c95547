// PaperMapping.cpp - queue values to paper, bin and duplex codes.
#include "platform/printing/PaperMapping.h"

#include <cmath>
#include <set>

namespace {

struct TPwgPaper {
  int Code;
  const char* Name;
};

// PWG names of the paper codes that have one. Codes sharing a size with an earlier code
// (small letter, 11x17, the German legal fanfold) and the transverse codes are left out, so
// each name maps to one code.
constexpr TPwgPaper PwgPapers[] = {
    {1, "na_letter_8.5x11in"},
    {3, "na_ledger_11x17in"},
    {5, "na_legal_8.5x14in"},
    {6, "na_invoice_5.5x8.5in"},
    {7, "na_executive_7.25x10.5in"},
    {8, "iso_a3_297x420mm"},
    {9, "iso_a4_210x297mm"},
    {11, "iso_a5_148x210mm"},
    {12, "jis_b4_257x364mm"},
    {13, "jis_b5_182x257mm"},
    {14, "na_foolscap_8.5x13in"},
    {16, "na_10x14_10x14in"},
    {19, "na_number-9_3.875x8.875in"},
    {20, "na_number-10_4.125x9.5in"},
    {21, "na_number-11_4.5x10.375in"},
    {22, "na_number-12_4.75x11in"},
    {23, "na_number-14_5x11.5in"},
    {24, "na_c_17x22in"},
    {25, "na_d_22x34in"},
    {26, "na_e_34x44in"},
    {27, "iso_dl_110x220mm"},
    {28, "iso_c5_162x229mm"},
    {29, "iso_c3_324x458mm"},
    {30, "iso_c4_229x324mm"},
    {31, "iso_c6_114x162mm"},
    {32, "iso_c6c5_114x229mm"},
    {33, "iso_b4_250x353mm"},
    {34, "iso_b5_176x250mm"},
    {35, "iso_b6_125x176mm"},
    {36, "om_italian_110x230mm"},
    {37, "na_monarch_3.875x7.5in"},
    {38, "na_personal_3.625x6.5in"},
    {39, "na_fanfold-us_11x14.875in"},
    {40, "na_fanfold-eur_8.5x12in"},
    {43, "jpn_hagaki_100x148mm"},
    {44, "na_9x11_9x11in"},
    {45, "na_10x11_10x11in"},
    {47, "om_invite_220x220mm"},
    {50, "na_letter-extra_9.5x12in"},
    {51, "na_legal-extra_9.5x15in"},
    {53, "iso_a4-extra_235.5x322.3mm"},
    {57, "na_super-a_8.94x14in"},
    {58, "na_super-b_13x19in"},
    {59, "na_letter-plus_8.5x12.69in"},
    {60, "om_folio_210x330mm"},
    {64, "iso_a5-extra_174x235mm"},
    {65, "iso_b5-extra_201x276mm"},
    {66, "iso_a2_420x594mm"},
    {68, "iso_a3-extra_322x445mm"},
};

struct TSourceBin {
  const char* Keyword;
  int Code;
};

constexpr TSourceBin SourceBins[] = {
    {"auto", BinAuto},           {"manual", BinManual},   {"main", BinUpper},
    {"tray-1", BinUpper},        {"top", BinUpper},       {"tray-2", BinLower},
    {"bottom", BinLower},        {"tray-3", BinMiddle},   {"middle", BinMiddle},
    {"envelope", BinEnvelope},   {"large-capacity", BinLargeCapacity},
};

constexpr std::string_view BorderlessMark = "_borderless";

// Hundredths of a millimetre to whole millimetres, ties to even.
double WholeMm(int Hundredths) { return std::nearbyint(Hundredths / 100.0); }

bool SameSize(const TMediaSize& A, const TMediaSize& B) {
  return A.Width == B.Width && A.Length == B.Length;
}

bool HasMargins(const TMediaSize& M) {
  return M.Left != 0 || M.Top != 0 || M.Right != 0 || M.Bottom != 0;
}

}  // namespace

bool IsBorderlessMedia(std::string_view Name) {
  return Name.size() > BorderlessMark.size() &&
         Name.substr(Name.size() - BorderlessMark.size()) == BorderlessMark;
}

std::string MediaBaseName(std::string_view Name) {
  if (IsBorderlessMedia(Name)) Name.remove_suffix(BorderlessMark.size());
  return std::string(Name);
}

int PwgPaperCode(std::string_view Name) {
  const std::string Base = MediaBaseName(Name);
  for (const TPwgPaper& P : PwgPapers)
    if (Base == P.Name) return P.Code;
  return 0;
}

std::string PaperCodePwg(int Code) {
  for (const TPwgPaper& P : PwgPapers)
    if (P.Code == Code) return P.Name;
  return {};
}

std::vector<TQueuePaper> BuildPaperList(const std::vector<TMediaSize>& Media) {
  std::vector<TQueuePaper> Papers;
  std::set<int> Taken;
  int NextUser = PaperCustom + 1;
  for (const TMediaSize& M : Media) {
    const std::string Base = MediaBaseName(M.Name);
    TQueuePaper* Twin = nullptr;
    for (TQueuePaper& P : Papers)
      if (MediaBaseName(P.Media.Name) == Base && SameSize(P.Media, M)) Twin = &P;
    if (Twin) {
      // One entry per paper: the bordered medium wins, as its margins are the printable area.
      if (!HasMargins(Twin->Media) && HasMargins(M)) Twin->Media = M;
      continue;
    }
    int Code = PwgPaperCode(Base);
    if (Code == 0 || Taken.count(Code)) Code = NextUser++;
    Taken.insert(Code);
    Papers.push_back({Code, M});
  }
  return Papers;
}

TPaperMillimetres MediaMillimetres(const TMediaSize& M) {
  TPaperMillimetres R;
  R.Width = WholeMm(M.Width);
  R.Height = WholeMm(M.Length);
  R.Left = WholeMm(M.Left);
  R.Top = WholeMm(M.Top);
  R.Right = R.Width - WholeMm(M.Width - M.Left - M.Right) - R.Left;
  R.Bottom = R.Height - WholeMm(M.Length - M.Top - M.Bottom) - R.Top;
  return R;
}

int MediaSourceBinCode(std::string_view Keyword) {
  for (const TSourceBin& S : SourceBins)
    if (Keyword == S.Keyword) return S.Code;
  return 0;
}

std::vector<TQueueBin> BuildBinList(const std::vector<std::string>& Keywords) {
  std::vector<TQueueBin> Bins;
  std::set<int> Taken;
  int NextUser = BinUser;
  for (const std::string& K : Keywords) {
    bool Listed = false;
    for (const TQueueBin& B : Bins) Listed = Listed || B.Keyword == K;
    if (Listed) continue;
    int Code = MediaSourceBinCode(K);
    if (Code == 0 || Taken.count(Code)) Code = NextUser++;
    Taken.insert(Code);
    Bins.push_back({Code, K});
  }
  return Bins;
}

std::string BinKeyword(const std::vector<TQueueBin>& Bins, int Code) {
  for (const TQueueBin& B : Bins)
    if (B.Code == Code) return B.Keyword;
  return {};
}

std::string SidesKeyword(int Duplex) {
  switch (Duplex) {
    case 1: return "one-sided";
    case 2: return "two-sided-long-edge";
    case 3: return "two-sided-short-edge";
    default: return {};
  }
}

int SidesDuplex(std::string_view Keyword) {
  for (int D = 1; D <= 3; ++D)
    if (Keyword == SidesKeyword(D)) return D;
  return 0;
}

int DefaultIndex(const std::vector<bool>& IsDefault) {
  for (size_t I = 0; I < IsDefault.size(); ++I)
    if (IsDefault[I]) return static_cast<int>(I);
  return 0;
}
