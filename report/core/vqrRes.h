// vqrRes.h - the report engine's string table and help.
//
// Every text the engine and its windows show is looked up by key in one process-wide table,
// StringTable(). It starts with the built-in Russian table; more table documents can be
// merged in (the export filters' table, language files "*.vqc"), and every merge pushes the
// seventeen message texts of the script engine (UpdateFSResources). Lookups never fail: an
// unknown key yields the key itself.
//
// Table document: <Resources CodePage="1251"><StrRes Name="key" Text="text"/>...</Resources>
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Types.h"

class TObject;
class TStream;
class TStringList;
class TStrings;
class TvqrWideStrings;

// A window class and the page of the help file that explains it.
struct THelpTopic {
  const char16_t* Sender;
  const char16_t* Topic;
};
extern const THelpTopic HelpTopics[17];

class TvqrResources {
public:
  TvqrResources();
  ~TvqrResources();
  TvqrResources(const TvqrResources&) = delete;
  TvqrResources& operator=(const TvqrResources&) = delete;

  // The text of StrName (keys ignore case), or StrName itself; a leading "!" is dropped.
  String Get(const String& StrName) const;
  // Adds the key, or replaces its text (which keeps its place).
  void AddW(const String& Ref, const String& Str);
  void Add(const String& Ref, const String& Str) { AddW(Ref, Str); }
  // Lines of the form name=text; lines with an empty name or text are skipped.
  void AddStrings(const String& Str);
  // Merges a table document given as its bytes.
  void AddXML(const std::string& Str);
  // Removes every key and text.
  void Clear();
  // Merges a table document from a file; a missing file is ignored.
  void LoadFromFile(const String& FileName);
  void LoadFromStream(TStream* Stream);
  // Sets the script engine's message texts from the keys of the same names.
  void UpdateFSResources();
  // Opens the help file at the topic for Sender's class (the default page for others).
  void Help(TObject* Sender);

  // Names of the language files in the program folder ("russian.vqc" is listed as Russian).
  TStrings* Languages() const;
  // Re-reads Languages from Folder (the program folder at construction).
  void FillLanguages(const String& Folder);
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  // The CodePage of the last table document loaded; 0 before any.
  Cardinal CodePage() const { return FCP; }
  int Count() const;
  // The number of stored texts (grows only; a replaced text keeps its slot).
  int TextCount() const;

private:
  std::unique_ptr<TStringList> FNames;
  std::unique_ptr<TvqrWideStrings> FValues;
  std::unique_ptr<TStringList> FLanguages;
  String FHelpFile = u"VQUser.chm";
  Cardinal FCP = 0;
};

// The one table, created (with the built-in Russian texts) on first use.
TvqrResources* StringTable();
// Get of the id's decimal text.
String StringById(int Id);

// --- Help viewer ----------------------------------------------------------------------------

// Shows Path ("folder/VQUser.chm::/Topic.htm") in the desktop's help viewer; false when no
// viewer is available (nothing is shown then).
using TvqrHelpViewer = std::function<bool(const String& Path)>;
bool ShowHelpTopic(const String& Path);
// For tests and hosts: replaces the viewer (nullptr: none is available).
void SetHelpViewer(const TvqrHelpViewer& Viewer);
