// CodePage.h - 8-bit code pages to and from String, through iconv.
//
// The system's "ANSI" code page is Windows-1251 and its "OEM" code page 866, as on the Russian
// systems the data comes from. Code pages are named by their Windows numbers: 1251, 1252, 866,
// 10007 (Macintosh Cyrillic), 20866 (KOI8-R), 28591 (Latin-1) and 65001 (UTF-8).
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

constexpr unsigned CP_ACP_1251 = 1251;
constexpr unsigned CP_OEM_866 = 866;
constexpr unsigned CP_UTF8_65001 = 65001;

// The ANSI and OEM code pages of this system (1251 and 866).
unsigned GetACP();
unsigned GetOEMCP();

// True when the code page is one this build converts.
bool IsCodePageSupported(unsigned CodePage);

// Bytes in CodePage to String; bytes the code page does not define become U+FFFD. An unknown
// code page raises EConvertError "Code page %d is not supported".
String CodePageToString(std::string_view Bytes, unsigned CodePage);
// String to bytes in CodePage; characters the code page lacks become '?'.
std::string StringToCodePage(std::u16string_view Text, unsigned CodePage);
// As StringToCodePage, but fails (returns false) when any character is missing from the code page.
bool TryStringToCodePage(std::u16string_view Text, unsigned CodePage, std::string& Bytes);

// Windows-1251 shorthands, the system's ANSI text.
String AnsiToString(std::string_view Bytes);
std::string StringToAnsi(std::u16string_view Text);
