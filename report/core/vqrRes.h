// vqrRes.h - the report engine's string table and help.
//
// Every text the engine and its windows show is looked up by key in one process-wide table,
// StringTable(). It starts with the built-in Russian table; more table documents can be
// merged in (the export filters' table, language files "*.vqc"), and a merge that holds any of
// the seventeen message texts of the script engine pushes them to it (UpdateFSResources).
// Lookups never fail: an unknown key yields the key itself.
//
// Table document: <Resources CodePage="1251"><StrRes Name="key" Text="text"/>...</Resources>
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Types.h"

class TBitmap;
class TImageList;
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

  // --- Image lists (vqrResImages.cpp) -------------------------------------------------------
  // Each getter but the first fills its list on first read from a packed resource (see
  // SetResourceUnpacker): "DesgnButtons", "PreviewButtons", "ObjectButtons", "WizardButtons".
  // Only "PreviewButtons" exists; the others raise EResNotFound and their lists stay empty.
  TImageList* DisabledButtonImages() const { return FDisabledButtonImages.get(); }
  TImageList* MainButtonImages();
  TImageList* ObjectImages();
  TImageList* PreviewButtonImages();
  TImageList* WizardImages();
  // Cut a strip into cells, each masked with its bottom-left pixel's colour. The button strip
  // holds normal and disabled 16 x 16 images in pairs (MainButtonImages and
  // DisabledButtonImages); the preview and object strips 16 x 16 cells, the wizard's 32 x 32.
  // Clear first empties the list(s).
  void SetButtonImages(TBitmap* Images, bool Clear = false);
  void SetObjectImages(TBitmap* Images, bool Clear = false);
  void SetPreviewButtonImages(TBitmap* Images, bool Clear = false);
  void SetWizardImages(TBitmap* Images, bool Clear = false);

private:
  void LoadImages(const char* Resource, void (TvqrResources::*Setter)(TBitmap*, bool));

  std::unique_ptr<TStringList> FNames;
  std::unique_ptr<TvqrWideStrings> FValues;
  std::unique_ptr<TStringList> FLanguages;
  String FHelpFile = u"VQUser.chm";
  Cardinal FCP = 0;
  std::unique_ptr<TImageList> FDisabledButtonImages;
  std::unique_ptr<TImageList> FMainButtonImages;
  std::unique_ptr<TImageList> FObjectImages;
  std::unique_ptr<TImageList> FPreviewButtonImages;
  std::unique_ptr<TImageList> FWizardImages;
};

// The one table, created (with the built-in Russian texts) on first use.
TvqrResources* StringTable();
// Get of the id's decimal text.
String StringById(int Id);

// The image resources are packed (a gzip member, "report/PreviewButtons.gz"); the unpacking
// routine lives in the output module, whose start-up installs it here. Without one, reading a
// packed image list raises EResNotFound.
using TvqrResourceUnpacker = std::function<void(TStream* Packed, TStream* Unpacked)>;
void SetResourceUnpacker(const TvqrResourceUnpacker& Unpacker);

// --- Help viewer ----------------------------------------------------------------------------

// Shows Path ("folder/VQUser.chm::/Topic.htm") in the desktop's help viewer; false when no
// viewer is available (nothing is shown then).
using TvqrHelpViewer = std::function<bool(const String& Path)>;
bool ShowHelpTopic(const String& Path);
// For tests and hosts: replaces the viewer (nullptr: none is available).
void SetHelpViewer(const TvqrHelpViewer& Viewer);
