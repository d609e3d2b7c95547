// Colors.cpp - the system colour table, ColorToRGB and the colour names.
#include "platform/graphics/Colors.h"

#include <array>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

// ORDER SYSCOLORS: indexed by COLOR_ value; the classic desktop scheme.
std::array<TColorRef, COLOR_ENDCOLORS + 1> SysColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

const TIdentMapEntry Idents[] = {
    {clBlack, u"clBlack"}, {clMaroon, u"clMaroon"}, {clGreen, u"clGreen"},
    {clOlive, u"clOlive"}, {clNavy, u"clNavy"}, {clPurple, u"clPurple"},
    {clTeal, u"clTeal"}, {clGray, u"clGray"}, {clSilver, u"clSilver"},
    {clRed, u"clRed"}, {clLime, u"clLime"}, {clYellow, u"clYellow"},
    {clBlue, u"clBlue"}, {clFuchsia, u"clFuchsia"}, {clAqua, u"clAqua"},
    {clWhite, u"clWhite"}, {clMoneyGreen, u"clMoneyGreen"}, {clSkyBlue, u"clSkyBlue"},
    {clCream, u"clCream"}, {clMedGray, u"clMedGray"}, {clActiveBorder, u"clActiveBorder"},
    {clActiveCaption, u"clActiveCaption"}, {clAppWorkSpace, u"clAppWorkSpace"},
    {clBackground, u"clBackground"}, {clBtnFace, u"clBtnFace"},
    {clBtnHighlight, u"clBtnHighlight"}, {clBtnShadow, u"clBtnShadow"},
    {clBtnText, u"clBtnText"}, {clCaptionText, u"clCaptionText"}, {clDefault, u"clDefault"},
    {clGradientActiveCaption, u"clGradientActiveCaption"},
    {clGradientInactiveCaption, u"clGradientInactiveCaption"}, {clGrayText, u"clGrayText"},
    {clHighlight, u"clHighlight"}, {clHighlightText, u"clHighlightText"},
    {clHotLight, u"clHotLight"}, {clInactiveBorder, u"clInactiveBorder"},
    {clInactiveCaption, u"clInactiveCaption"},
    {clInactiveCaptionText, u"clInactiveCaptionText"}, {clInfoBk, u"clInfoBk"},
    {clInfoText, u"clInfoText"}, {clMenu, u"clMenu"}, {clMenuBar, u"clMenuBar"},
    {clMenuHighlight, u"clMenuHighlight"}, {clMenuText, u"clMenuText"}, {clNone, u"clNone"},
    {clScrollBar, u"clScrollBar"}, {cl3DDkShadow, u"cl3DDkShadow"}, {cl3DLight, u"cl3DLight"},
    {clWindow, u"clWindow"}, {clWindowFrame, u"clWindowFrame"},
    {clWindowText, u"clWindowText"},
};

Char AsciiUpper(Char C) { return C >= u'a' && C <= u'z' ? Char(C - 32) : C; }

int DigitValue(Char C) {
  if (C >= u'0' && C <= u'9') return C - u'0';
  C = AsciiUpper(C);
  if (C >= u'A' && C <= u'F') return C - u'A' + 10;
  return -1;
}

// "$1F", "0x1F", "-5" or "255" as a 32-bit value; false for anything else.
bool ParseColorNumber(const String& Text, TColor& Value) {
  std::size_t I = 0;
  const bool Negative = !Text.empty() && Text[0] == u'-';
  if (Negative) ++I;
  int Base = 10;
  if (I < Text.size() && Text[I] == u'$') {
    Base = 16;
    ++I;
  } else if (I + 1 < Text.size() && Text[I] == u'0' && AsciiUpper(Text[I + 1]) == u'X') {
    Base = 16;
    I += 2;
  }
  if (I >= Text.size()) return false;
  std::uint64_t N = 0;
  for (; I < Text.size(); ++I) {
    const int D = DigitValue(Text[I]);
    if (D < 0 || D >= Base) return false;
    N = N * Base + D;
    if (N > 0xFFFFFFFFull) return false;
  }
  Value = TColor(std::uint32_t(Negative ? 0 - N : N));
  return true;
}

}  // namespace

TColorRef GetSysColor(int Index) {
  if (Index < 0 || Index > COLOR_ENDCOLORS) return 0;
  return SysColors[Index];
}

TColorRef ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return TColorRef(Color) & 0xFFFFFF;
}

std::span<const TIdentMapEntry> ColorIdents() { return Idents; }

bool ColorToIdent(TColor Color, String& Ident) { return IntToIdent(Color, Ident, Idents); }

bool IdentToColor(const String& Ident, TColor& Color) {
  Int64 Value;
  if (!IdentToInt(Ident, Value, Idents)) return false;
  Color = TColor(Value);
  return true;
}

String ColorToString(TColor Color) {
  String Result;
  if (ColorToIdent(Color, Result)) return Result;
  // Appended, not u"$" + ...: GCC 12 warns wrongly (-Wrestrict) on a literal before a string.
  String Hex(u"$");
  Hex += IntToHex(std::uint32_t(Color), 8);
  return Hex;
}

TColor StringToColor(const String& Text) {
  TColor Result = 0;
  if (IdentToColor(Text, Result) || ParseColorNumber(Text, Result)) return Result;
  throw EConvertError(u"'" + Text + u"' is not a valid integer value");
}

TColorRef SetSysColorForTests(int Index, TColorRef Value) {
  const TColorRef Previous = GetSysColor(Index);
  if (Index >= 0 && Index <= COLOR_ENDCOLORS) SysColors[Index] = Value;
  return Previous;
}
