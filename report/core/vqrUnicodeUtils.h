// vqrUnicodeUtils.h - TvqrWideStrings, the UTF-16 string list behind every multi-line text of
// the report engine, and conversions between 8-bit code pages and UTF-16.
#pragma once

#include <string>
#include <vector>

#include "platform/classes/Strings.h"

class TvqrWideStrings : public TStrings {
  VORENTA_CLASS(TvqrWideStrings, TStrings)
public:
  TvqrWideStrings() = default;
  ~TvqrWideStrings() override;

  int Count() const override { return static_cast<int>(FWideStringList.size()); }
  // "" / nullptr outside 0..Count-1.
  String Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  // Writing a string goes through Insert (so it replaces); an object outside is ignored.
  void Put(int Index, const String& S) override;
  void PutObject(int Index, TObject* AObject) override;
  // At Count appends; below Count replaces the string at Index and nothing moves (kept:
  // writing a string by index relies on it). Elsewhere raises Exception
  // "Wide String Out of Bounds".
  void Insert(int Index, const String& S) override;
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  void AddStrings(TStrings* Strings) override;
  void Delete(int Index) override;
  void Clear() override;
  // Exact, case-sensitive.
  int IndexOf(const String& S) const override;
  void Assign(TPersistent* Source) override;

  // Every string followed by CR LF. Setting splits at CR, LF, CR LF or U+2028; a final
  // break adds no empty string.
  String Text() const;
  void SetText(const String& Value) override;

  // A stream from its position: FF FE starts UTF-16LE, anything else is 8-bit text in the
  // system code page.
  void LoadFromStream(TStream* Stream);
  // The remaining bytes as UTF-16LE, no mark looked for.
  void LoadFromWStream(TStream* Stream);
  // Text as UTF-16LE without a byte order mark.
  void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;

protected:
  // Writes "UTF8W"; reads "UTF8W", "UTF8" and "Strings".
  void DefineProperties(TFiler* Filer) override;
  void AssignTo(TPersistent* Dest) override;

private:
  struct TEntry {
    String Str;
    TObject* Obj = nullptr;
  };
  std::vector<TEntry> FWideStringList;
};

// --- Code pages -----------------------------------------------------------------------------

// The code page of a font character set: 1 (default) the ANSI code page, 77 Macintosh,
// 255 OEM, the others by the character-set table; an unknown one raises EOSError.
unsigned CodePageOfCharset(int Charset);
// 8-bit text to UTF-16 with CodePage, or the character set's code page when it is 0.
String AnsiToUnicodeText(const std::string& S, int Charset, unsigned CodePage = 0);
std::string UnicodeToAnsiText(const String& WS, int Charset, unsigned CodePage = 0);
// OEM (866) to ANSI (1251), same length.
std::string OemToAnsiText(const std::string& S);
// The locale used to format values for a font character set.
unsigned LocaleOfCharset(int Charset);
