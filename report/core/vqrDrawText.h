// vqrDrawText.h - TvqrDrawText, the text renderer of the report engine.
//
// It lays out the multi-line text of text objects at 600 pixels per inch, measuring through
// the platform's one font service (FontMetrics()), so that the screen, the printer and the
// PDF writer break lines alike: paragraphs wrap at blanks, Russian words hyphenate, simple
// formatting tags (<b>, <i>, <u>, <sub>, <sup>, <nowrap>, <strike>, <font color=...>) change
// the style of single characters. It tells how much text fits into a height and hands back
// the rest, and draws the lines on any canvas with per-character advances that keep the
// 600-dpi layout on every device.
//
// Calling order: Lock, SetFont, SetOptions, SetGaps, SetDimensions, SetText (SetParaBreaks
// for parts of a split text), one query or DrawText, Unlock. Measuring and drawing consume
// the tags' Default marks, so each follows its own SetText.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/Types.h"

class TCanvas;
class TStrings;

// The formatting of one character.
struct TvqrHTMLTag {
  int Position = 0;   // 1-based position of the character in the plain text
  int Size = 0;       // points
  int AddY = 0;       // 1 for a subscript drop
  TFontStyles Style;
  TColor Color = 0;
  bool Default = true;   // same formatting as the previous character
  bool Small = false;    // Size differs from the default size
  bool DontWRAP = false; // no line break at this character
  // Copies every field except DontWRAP.
  void Assign(const TvqrHTMLTag& Tag);
};

// The tags of one wrapped line, one per character.
using TvqrHTMLTags = std::vector<TvqrHTMLTag>;

// The tag parser and the per-line tag store.
class TvqrHTMLTagsList {
public:
  void SetDefaults(TColor DefColor, int DefSize, TFontStyles DefStyle);
  // Recognised tags are deleted from S; every remaining character gets a tag on the last
  // line. Only tags leave a blank with one tag.
  void ExpandHTMLTags(String& S);
  // Moves the tags from index TagsCount on of the last line to a new line.
  void SplitTagLine(int TagsCount, bool AddBreak);
  void StartTagLine();
  void Clear() { FItems.clear(); }
  // Splitting a long paragraph line by line: the last line's tags are set aside, each split
  // takes the next Count of them as a line, EndParagraph makes the rest the last line. The
  // same result as repeated SplitTagLine calls, without moving the tail every time.
  void BeginParagraph();
  void SplitParagraph(int TagsCount, bool AddBreak);
  void EndParagraph();
  // The tag of the Index-th character of the part of the paragraph not yet split off.
  const TvqrHTMLTag* PendingTag(int Index) const;

  int Count() const { return static_cast<int>(FItems.size()); }
  TvqrHTMLTags& Line(int Index) { return FItems[static_cast<size_t>(Index)]; }
  bool AllowTags() const { return FAllowTags; }
  void SetAllowTags(bool Value) { FAllowTags = Value; }
  int Position() const { return FPosition; }
  void SetPosition(int Value) { FPosition = Value; }
  int DefSize() const { return FDefSize; }
  TFontStyles DefStyle() const { return FDefStyle; }
  TColor DefColor() const { return FDefColor; }

private:
  // Tags for the next Count characters, all in the current formatting.
  void AppendCharTags(size_t Count);
  bool DefaultAgainst(const TvqrHTMLTag& Tag, const TvqrHTMLTag* Previous) const;
  // The length of a recognised tag at I (1-based), 0 when "<" is a plain character.
  int ParseTag(const String& S, const String& Upper, int I);
  int ParseFontColor(const String& S, const String& Upper, int I);

  bool FAllowTags = true;
  TColor FDefColor = 0, FColor = 0;
  int FDefSize = 10, FSize = 10, FAddY = 0;
  TFontStyles FDefStyle, FStyle;
  bool FDontWRAP = false;
  int FPosition = 1;
  std::vector<TvqrHTMLTags> FItems;
  TvqrHTMLTags FPending;
  size_t FPendingStart = 0;
};

class TvqrDrawText {
public:
  TvqrDrawText();
  ~TvqrDrawText();
  TvqrDrawText(const TvqrDrawText&) = delete;
  TvqrDrawText& operator=(const TvqrDrawText&) = delete;

  // The process-wide renderer lock, taken around a whole configure-measure-draw sequence.
  // It is recursive: a text object holds it while the renderer's operations take it again.
  static void Lock();
  static void Unlock();

  // --- configuration ------------------------------------------------------------------------
  void SetFont(TFont* Font);
  void SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak, bool Clipped,
                  bool Wysiwyg, int Rotation);
  void SetGaps(Extended ParagraphGap, Extended CharSpacing, Extended LineSpacing);
  void SetDimensions(Extended ScaleX, Extended ScaleY, Extended PrintScale,
                     const TRect& OriginalRect, const TRect& ScaledRect);
  void SetText(TStrings* Text);
  void SetText(const std::vector<String>& Lines);
  void SetParaBreaks(bool FirstParaBreak, bool LastParaBreak);
  bool UseDefaultCharset() const { return FUseDefaultCharset; }
  void SetUseDefaultCharset(bool Value) { FUseDefaultCharset = Value; }

  // --- queries ------------------------------------------------------------------------------
  // Report pixels.
  Extended CalcHeight() const;
  Extended CalcWidth();
  Extended LineHeight() const;
  Extended TextHeight() const;
  Extended UnusedSpace() const;
  // The source text of the part that fits (after GetOutBoundsText) or of everything.
  String GetInBoundsText() const { return FPlainText; }
  // Cuts the lines that do not fit and returns their source text; ParaBreak says whether
  // the cut lies inside a paragraph.
  String GetOutBoundsText(bool& ParaBreak);
  // The wrapped lines joined with CR LF, a final one included.
  String WrappedText() const;
  // Text with the recognised tags removed.
  String DeleteTags(const String& Txt);

  // --- drawing: HAlign 0 left, 1 right, 2 centre, 3 block; VAlign 0 top, 1 bottom, 2 centre.
  void DrawText(TCanvas* Canvas, int HAlign, int VAlign);

  // --- state, for the text object and tests ------------------------------------------------
  int LineCount() const { return static_cast<int>(FText.size()); }
  const String& Lines(int Index) const { return FText[static_cast<size_t>(Index)].Text; }
  // Paragraph flags of a wrapped line: 1 first line, 2 last line.
  int LineFlags(int Index) const { return FText[static_cast<size_t>(Index)].Flags; }
  const String& PlainText() const { return FPlainText; }
  TvqrHTMLTagsList& HTMLTags() { return FHTMLTags; }
  int DefPPI() const { return 600; }
  int ScrPPI() const { return 96; }

  static int HyphenateWordLength(const String& S, int WordStart, int Overflow);
  static std::vector<int> HyphenPositions(const String& W);
  // Distributes N increments of Unit over A[Lo..Hi] by halving.
  static void SpreadIncrements(std::vector<int>& A, int Lo, int Hi, int Unit, int N);

private:
  struct TLine {
    String Text;
    int Flags = 0;
  };
  // Per-character widths of S in the measuring font (Device false) or on Canvas.
  int CharWidths(std::vector<int>& Widths, const String& S, bool Cumulative, int CharSpacing,
                 int LineIndex, TCanvas* Canvas);
  void BeginText();
  void AddParagraph(String Line);
  void EndText();
  void LayoutParagraph(String S, int LineWidth, int CharSpacing, int FirstWidth);
  void AddLine(String S);
  String HyphenateWord(const String& S, int WordStart, int Overflow) const;
  int MeasureHeight() const;   // the measuring font's height at 600 dpi (positive)
  void PlaceTextBlock(int HAlign, int VAlign, int H, int& X, int& Y, int& BW, double& Cos,
                      double& Sin);
  void DrawLineRuns(TCanvas* Canvas, const String& S, int Align, int LineIndex, int Width,
                    int Y, int X, double Cos, double Sin);
  int DeviceHeight(TCanvas* Canvas, int Size) const;

  String FFontName = u"Arial";
  int FFontSize = 10;
  TFontStyles FFontStyle;
  TFontStyles FMeasureStyle;
  TColor FFontColor = 0;
  int FFontCharset = 1;
  Extended FCharSpacing = 0, FLineSpacing = 0, FParagraphGap = 0;
  unsigned FOptions = 0;
  TRect FOriginalRect, FScaledRect;
  Extended FPrintScale = 1, FScaleX = 1, FScaleY = 1;
  int FRotation = 0;
  bool FRTLReading = false, FWordBreak = false, FWordWrap = false, FWysiwyg = true;
  bool FUseDefaultCharset = false;
  String FPlainText;
  std::vector<TLine> FText;
  TvqrHTMLTagsList FHTMLTags;
  std::vector<int> FTempArray;   // advances of the line being drawn, sized per line
  // Reused between calls: a paragraph's cumulative widths and the font's raw advances.
  std::vector<int> FParagraphWidths, FAdvances;
  TFontStyles FSavedMeasureStyle;
};

// The renderer used by text objects that belong to no report.
TvqrDrawText* SharedDrawText();

// Holds the renderer lock for a scope.
class TvqrDrawTextLock {
public:
  TvqrDrawTextLock() { TvqrDrawText::Lock(); }
  ~TvqrDrawTextLock() { TvqrDrawText::Unlock(); }
  TvqrDrawTextLock(const TvqrDrawTextLock&) = delete;
  TvqrDrawTextLock& operator=(const TvqrDrawTextLock&) = delete;
};
