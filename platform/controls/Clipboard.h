// Clipboard.h - the clipboard: text, UTF-16 text and formats registered by name.
//
// Formats are numbers as the system's are: CF_TEXT (8-bit text in the code page), CF_UNICODETEXT
// (UTF-16), CF_OEMTEXT, and the numbers RegisterClipboardFormat hands out for names ("Csv",
// "Rich Text Format", "VCLDBIF", ...), which travel as the MIME types of MimeTypeOfFormat. The
// data of a format are bytes. With a window system the platform clipboard is used; without one
// (tests) an in-memory clipboard stands in, and SetClipboardForTests forces that one.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Types.h"

enum : unsigned { CF_TEXT = 1, CF_OEMTEXT = 7, CF_UNICODETEXT = 13 };

// The format number for a name (the same name gives the same number, case ignored).
unsigned RegisterClipboardFormat(const String& Name);
// "text/plain;charset=windows-1251", "text/plain;charset=utf-16le", or
// "application/x-vorenta-<name>" for a registered name; "text/csv" and "text/rtf" for the
// names "Csv" and "Rich Text Format", so other programs understand them.
std::string MimeTypeOfFormat(unsigned Format);

class TClipboard {
public:
  // The text (CF_UNICODETEXT, else CF_TEXT through the code page); setting it clears the rest.
  String AsText() const;
  void SetAsText(const String& Value);
  bool HasFormat(unsigned Format) const;
  // Raw bytes of a format ("" when absent).
  std::string GetData(unsigned Format) const;
  // Opening groups several SetData calls into one placement: the first call after Open
  // clears the clipboard, the rest add formats.
  void Open();
  void Close();
  void Clear();
  void SetData(unsigned Format, const std::string& Bytes);
};

TClipboard* Clipboard();

// for tests: an in-memory clipboard in place of the platform's (true), or back (false).
void SetClipboardForTests(bool InMemory);
