// vqrUtils.h - small services the report engine shares: geometry, numbers, text scanning,
// checksums and hex text, component references, collections inside component streams,
// error reporting and temporary files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"

class TCollection;
class TComponent;
class TPersistent;
class TReader;
class TStream;
class TStrings;
class TWriter;
class TvqrComponent;
class TvqrReport;
struct TvqrRect;

// --- Geometry -------------------------------------------------------------------------------

// A rectangle in report pixels: left X, top Y, right X1, bottom Y1.
class TvqrRectArea {
public:
  // The component's absolute rectangle.
  explicit TvqrRectArea(TvqrComponent* C);
  TvqrRectArea(Extended Left, Extended Top, Extended Right, Extended Bottom);

  // Overlap on one axis; edges that touch within 0.0001 do not overlap.
  bool InterceptsX(const TvqrRectArea& A) const;
  bool InterceptsY(const TvqrRectArea& A) const;
  // The common span on one axis (the other axis zero), or nullptr without overlap.
  std::unique_ptr<TvqrRectArea> InterceptX(const TvqrRectArea& A) const;
  std::unique_ptr<TvqrRectArea> InterceptY(const TvqrRectArea& A) const;
  // x1 when x1 >= x2 / x2 when x1 > x2.
  static Extended Max(Extended X1, Extended X2) { return X1 >= X2 ? X1 : X2; }
  static Extended Min(Extended X1, Extended X2) { return X1 > X2 ? X2 : X1; }

  Extended X = 0, Y = 0, X1 = 0, Y1 = 0;
};

// A TvqrRect of Left, Top, Right, Bottom.
TvqrRect MakeReportRect(Extended Left, Extended Top, Extended Right, Extended Bottom);

// --- Numbers --------------------------------------------------------------------------------

// "." and "," both read as the decimal separator, blanks ignored; EConvertError otherwise.
Extended ParseFloatText(std::u16string_view S);
// "%2.2f" for a value with a fraction, the shortest float text otherwise.
String FormatFloatText(Extended X);
// Fixed-point text with exactly Digits decimals (0 to 18), rounded half away from zero from
// the value's 18-digit decimal form; 1e18 and more in the general format.
String FloatToFixedText(int Digits, Char Separator, Extended X);

// --- Text -----------------------------------------------------------------------------------

// The pieces between separators; a separator at the very end adds no empty piece.
void SplitTextToList(const String& Text, TStrings* List, Char Separator);
// The text between the delimiter at Start (1-based) and its matching closing one, nesting
// counted and quotes respected; EndPos ends on the closing delimiter's last character.
String ExtractBracketedText(const String& Text, const String& Open, const String& Close,
                            int& Start, int& EndPos);
String ReplaceCharInText(const String& Text, Char From, Char To);
String SlashesToBackslashes(const String& Text);
// "1,3,5-7" into the page numbers as decimal texts; a trailing "-" runs to LastPage. A range
// never runs past LastPage, so a typed 1-2000000000 stays as long as the report.
void ParsePageRanges(const String& Text, TStrings* List, int LastPage);

// --- Binary ---------------------------------------------------------------------------------

// CRC-32 (IEEE 802.3) of the whole stream; the position is kept.
Cardinal ComputeStreamChecksum(TStream* Stream);
// Count bytes at Data as hex digits, two per byte: upper case, or lower case when LowerCase.
std::string BytesToHex(const void* Data, std::size_t Count, bool LowerCase = false);
// The bytes of the hex pairs (either case) at the start of Text, up to the first bad pair; a
// lone last digit is ignored.
std::vector<Byte> HexToBytes(std::u16string_view Text);
// The whole stream as upper-case hex digits, two per byte.
String StreamToHexText(TStream* Stream);
// Hex pairs (either case) from the start up to the first bad pair are written at position 0;
// the stream is cut after the bytes written, so nothing unconverted or stale stays behind.
void HexTextToStream(const String& Text, TStream* Stream);

// --- Components -----------------------------------------------------------------------------

// A component outside the report by its reference text ("Form1.Table1", "Table1"); raises
// EClassNotFound "Missing <name>" when the lookup fails.
TComponent* FindComponentByPath(TComponent* Owner, const String& Name);
// The reference text of Component as seen from Owner; empty for none.
String ComponentReferenceText(TComponent* Owner, TComponent* Component);
// The report's collection-valued stored properties in component streams.
void WriteCollectionProperty(TCollection* Collection, TWriter* Writer, TvqrReport* Report);
void ReadCollectionProperty(TCollection* Collection, TReader* Reader, TvqrReport* Report);
// Undoes the 8-bit escape (U+0001 + c means c + 128) in an item's string properties.
void RecodeItemStrings(TPersistent* Item, bool Encode);

// The global components FindComponentByPath searches first ("Form1" of "Form1.Table1"):
// windows and data modules register themselves here when they are created.
void RegisterGlobalComponent(TComponent* Component);
void UnregisterGlobalComponent(TComponent* Component);

// --- Errors ---------------------------------------------------------------------------------

// The error message box with the string table's "mbError" caption.
void ShowErrorBox(const String& Text);
// Msg by the report's silent mode: message box, nothing, or an Exception.
void ReportError(TvqrReport* Report, const String& Msg);

// --- Files ----------------------------------------------------------------------------------

String ModuleFileName();
// The program's folder with a trailing separator.
String ModuleFolder();
String SystemTempPath();
// A new empty file with a unique name beginning "vq" in the temporary folder / in Dir (an
// empty Dir: the temporary folder); its full name.
String NewTempFileName();
String NewTempFileNameIn(const String& Dir);

// --- For tests and hosts --------------------------------------------------------------------

// Replaces the message box of ShowErrorBox (Caption, Text); nullptr restores the default.
using TvqrErrorBoxHandler = std::function<void(const String& Caption, const String& Text)>;
void SetErrorBoxHandler(const TvqrErrorBoxHandler& Handler);
