// IniFiles.h - settings kept as sections of name=value lines: TCustomIniFile, TMemIniFile,
// TIniFile.
//
// TCustomIniFile declares the operations and builds the typed reads and writes on
// ReadString/WriteString. TMemIniFile holds the file in memory and writes it back on
// UpdateFile only; TIniFile writes the file through on every change and reads it afresh on
// every read, so two objects on one file see each other's changes.
//
// Both keep the text as written: comments, blank lines, spacing and the order of sections and
// keys survive a rewrite. Section and key names are compared without case. Files are read in
// the encoding their byte order mark names (UTF-8 when there is none and the bytes are valid
// UTF-8, ANSI otherwise) and written back in the same form; a new file is UTF-8 with LF line
// breaks. The file is replaced whole through a temporary file, so a failed write never leaves
// half a file behind.
//
// Numbers and dates are written in one form whatever the locale: floats with a '.', dates as
// "yyyy-mm-dd" and "yyyy-mm-dd hh:nn:ss". Reading also accepts the locale's forms. A value
// that cannot be read as the type asked for gives the default.
#pragma once

#include <memory>

#include "platform/classes/Object.h"

class TStrings;
class TStream;
class TIniText;

class TCustomIniFile : public TObject {
  VORENTA_CLASS(TCustomIniFile, TObject)
public:
  explicit TCustomIniFile(const String& FileName);
  ~TCustomIniFile() override;

  const String& FileName() const { return FFileName; }

  // --- Operations every kind implements -----------------------------------------------------
  virtual String ReadString(const String& Section, const String& Ident,
                            const String& Default) = 0;
  // Raises EIniFileException when the names or the value cannot be written as an ini line
  // (a line break anywhere, '=' or blanks around a key name, an empty key name).
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // The key names of Section / the section names / the "name=value" lines of Section, in
  // order, replacing what Strings held.
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;

  // --- Built on the operations above --------------------------------------------------------
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);
  // Decimal, or hex with "$" or "0x".
  virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // Any integer other than 0 is true; written as "1" or "0".
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);
  virtual double ReadFloat(const String& Section, const String& Ident, double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, double Value);
  virtual TDateTime ReadDate(const String& Section, const String& Ident, TDateTime Default);
  virtual void WriteDate(const String& Section, const String& Ident, TDateTime Value);
  virtual TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default);
  virtual void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);
  // The time of day, written as "hh:nn:ss".
  virtual TDateTime ReadTime(const String& Section, const String& Ident, TDateTime Default);
  virtual void WriteTime(const String& Section, const String& Ident, TDateTime Value);
  // A stream's bytes as a hex value (two upper-case digits a byte). Reading writes the bytes
  // into Value at its position and gives their count; a missing key or a value that is not
  // hex gives 0 and writes nothing.
  int ReadBinaryStream(const String& Section, const String& Ident, TStream* Value);
  // From Value's position to its end.
  void WriteBinaryStream(const String& Section, const String& Ident, TStream* Value);

private:
  String FFileName;
};

class TMemIniFile : public TCustomIniFile {
  VORENTA_CLASS(TMemIniFile, TCustomIniFile)
public:
  // Reads the file when it exists; a missing file is an empty one. A file that exists but
  // cannot be read raises EFOpenError.
  explicit TMemIniFile(const String& FileName);
  ~TMemIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // A section exists from its header on, keys or not.
  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;
  // Raises EIniFileException "Unable to write to %s" when the file cannot be written.
  void UpdateFile() override;

  // Drops the text held and reads the file again.
  void Reload();
  // Forgets every section (the file is untouched until UpdateFile).
  void Clear();
  // The text's lines as they stand / the text replaced by List's lines.
  void GetStrings(TStrings* List);
  void SetStrings(TStrings* List);

private:
  std::unique_ptr<TIniText> FText;
};

class TIniFile : public TCustomIniFile {
  VORENTA_CLASS(TIniFile, TCustomIniFile)
public:
  explicit TIniFile(const String& FileName);
  ~TIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  // Each change is written to the file at once; raises EIniFileException "Unable to write to
  // %s" when it cannot be.
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;
  // Nothing is pending: every change is already in the file.
  void UpdateFile() override;

private:
  std::unique_ptr<TMemIniFile> FFile;
};
