// PaperMapping.h - queue values to paper, bin and duplex codes, without a print server.
//
// A queue describes media by PWG self-describing names ("iso_a4_210x297mm") with sizes and
// margins in hundredths of a millimetre, paper sources by `media-source` keywords and duplex by
// `sides` keywords. The report layer speaks paper codes (9 = A4, 256 = custom size), bin codes
// (7 = automatic) and duplex values (1 simplex, 2 long edge, 3 short edge). These functions
// translate between the two; the queue unit feeds them what libcups reports.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The custom paper code: a size given with the page, never a code of a listed medium.
constexpr int PaperCustom = 256;
// Bin codes with a fixed meaning; keywords without one get BinUser and up.
constexpr int BinUpper = 1;
constexpr int BinLower = 2;
constexpr int BinMiddle = 3;
constexpr int BinManual = 4;
constexpr int BinEnvelope = 5;
constexpr int BinAuto = 7;
constexpr int BinLargeCapacity = 11;
constexpr int BinUser = 256;

// One medium as the queue reports it (hundredths of a millimetre, portrait).
struct TMediaSize {
  std::string Name;
  int Width = 0;
  int Length = 0;
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// One paper of a queue: its code (a table code, or above 256 when the medium has none).
struct TQueuePaper {
  int Code = 0;
  TMediaSize Media;
};

// One paper source of a queue.
struct TQueueBin {
  int Code = 0;
  std::string Keyword;
};

// A medium's paper size and unprintable margins in whole millimetres.
struct TPaperMillimetres {
  double Width = 0;
  double Height = 0;
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
};

// The paper code of a PWG media name, "_borderless" ignored; 0 when the name has none.
int PwgPaperCode(std::string_view Name);
// The PWG media name of a paper code; empty for codes without one (and for 256).
std::string PaperCodePwg(int Code);

// Whether a media name is a borderless twin, and the name without that mark.
bool IsBorderlessMedia(std::string_view Name);
std::string MediaBaseName(std::string_view Name);

// The queue's media as papers, in the queue's order: borderless twins folded into one entry
// (the one with margins kept when both exist), table codes where the name has one, codes 257
// and up for the rest; a code already taken goes to the later medium as a new code above 256.
std::vector<TQueuePaper> BuildPaperList(const std::vector<TMediaSize>& Media);

// Size and margins in whole millimetres, each rounded to nearest with ties to even. The right
// and bottom margins are what remains beside the rounded printable area, so the margins and the
// printable area always add up to the paper.
TPaperMillimetres MediaMillimetres(const TMediaSize& Media);

// The fixed bin code of a `media-source` keyword; 0 when it has none.
int MediaSourceBinCode(std::string_view Keyword);
// The queue's sources as bins, in order: fixed codes where the keyword has one and the code is
// still free, codes 256 and up for the rest. "auto" is listed like any other source.
std::vector<TQueueBin> BuildBinList(const std::vector<std::string>& Keywords);
// The keyword of a bin code in a list; empty when the code is not listed.
std::string BinKeyword(const std::vector<TQueueBin>& Bins, int Code);

// `sides` keyword of a duplex value (1, 2, 3); empty (the queue's default) for any other value.
std::string SidesKeyword(int Duplex);
// Duplex value of a `sides` keyword; 0 for an unknown keyword.
int SidesDuplex(std::string_view Keyword);

// The index of the default destination among flags; 0 when none is marked (or the list is empty).
int DefaultIndex(const std::vector<bool>& IsDefault);
