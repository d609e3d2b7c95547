// IniText_p.h - the text of an ini file, line by line; shared by IniFiles.cpp and Registry.cpp.
//
// Not part of the interface. The text is kept as written: comments, blank lines, spacing and
// the order of sections and keys survive a rewrite, and only lines that change are rebuilt.
// Section and key names are compared without case. A section that appears more than once is
// one section: reads look through every block, new keys go to the first block.
//
//   line form         kind      meaning
//   "[Name]"          section   starts section Name (blanks around the name ignored)
//   "Name=Value"      key       blanks around name and value ignored
//   ";..." / "#..."   text      comment, kept
//   anything else     text      kept, never read
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/classes/Encoding.h"
#include "platform/rtl/Types.h"

class TStrings;

class TIniText {
public:
  // Parses Bytes (a byte order mark chooses the encoding; without one, UTF-8 when the bytes
  // are valid UTF-8, otherwise ANSI).
  void Parse(std::string_view Bytes);
  // The text in the form it was read in (encoding, byte order mark, line breaks).
  std::string Bytes() const;
  void Clear();

  bool SectionExists(const String& Section) const;
  std::optional<String> Read(const String& Section, const String& Ident) const;
  // Replaces the value of the first key of that name, or adds the key at the end of the
  // section's first block, or the section at the end of the text.
  void Write(const String& Section, const String& Ident, const String& Value);
  // Adds an empty section when there is none of that name.
  void AddSection(const String& Section);
  // Returns whether anything was removed.
  bool EraseSection(const String& Section);
  bool DeleteKey(const String& Section, const String& Ident);
  // Names in order of first appearance, each once.
  std::vector<String> Sections() const;
  std::vector<String> Keys(const String& Section) const;
  // The text's lines as written, and the text replaced by Lines (encoding and line break kept).
  std::vector<String> Lines() const;
  void SetLines(const std::vector<String>& Lines);

private:
  enum TKind { lkText, lkSection, lkKey };
  struct TLine {
    TKind Kind = lkText;
    String Raw;    // the line as written, without its line break
    String Name;   // section or key name
    String Value;  // key value
  };

  static TLine ParseLine(const String& Raw);
  // Index of the key line, or -1.
  int FindKey(const String& Section, const String& Ident) const;
  // Calls Visit(index) for every line inside the blocks of Section.
  template <class F>
  void ForEachLineIn(const String& Section, F Visit) const;

  std::vector<TLine> FLines;
  TEncoding FEncoding = TEncoding::UTF8;
  bool FBom = false;
  String FLineBreak = u"\n";
};

// Raises EIniFileException when Section or Ident cannot be written as an ini line.
void CheckIniNames(const String& Section, const String& Ident);

// Reads a whole file into Bytes; false when it does not exist. Raises EFOpenError when it
// exists but cannot be read.
bool ReadFileBytes(const String& FileName, std::string& Bytes);
// Replaces the file with Bytes through a temporary file in the same folder, so that a failed
// write leaves the old file whole; raises EIniFileException "Unable to write to %s".
void WriteFileBytes(const String& FileName, const std::string& Bytes);

// Replaces the contents of Strings by Items inside one update, so listeners hear one change.
void FillStrings(TStrings* Strings, const std::vector<String>& Items);
