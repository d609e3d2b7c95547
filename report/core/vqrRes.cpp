// vqrRes.cpp - the string table, its built-in Russian texts and the help bridge.
#include "report/core/vqrRes.h"

#include <filesystem>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXML.h"
#include "script/ks_imessages.h"

const THelpTopic HelpTopics[17] = {
    {u"TvqrDesignerForm", u"Designer.htm"},
    {u"TvqrOptionsEditor", u"Designer_options.htm"},
    {u"TvqrReportEditorForm", u"Report_options.htm"},
    {u"TvqrPageEditorForm", u"Page_options.htm"},
    {u"TvqrCrossEditorForm", u"Cross_tab_reports.htm"},
    {u"TvqrChartEditorForm", u"Diagrams.htm"},
    {u"TvqrSyntaxMemo", u"Script.htm"},
    {u"TvqrDialogPage", u"Dialogue_forms.htm"},
    {u"TvqrDialogComponent", u"Data_access_components.htm"},
    {u"TvqrVarEditorForm", u"Variables.htm"},
    {u"TvqrHighlightEditorForm", u"Conditional_highlighting.htm"},
    {u"TvqrSysMemoEditorForm", u"Inserting_aggregate_function.htm"},
    {u"TvqrFormatEditorForm", u"Values_formatting.htm"},
    {u"TvqrGroupEditorForm", u"Report_with_groups.htm"},
    {u"TvqrPictureEditorForm", u"Picture_object.htm"},
    {u"TvqrMemoEditorForm", u"Text_object.htm"},
    {u"TvqrSQLEditorForm", u"TvqrADOQuery.htm"},
};

namespace {

// ORDER SCRIPTMESSAGES: the script engine's texts pushed after every load.
const char16_t* const kScriptMessageKeys[] = {
    u"SLangNotFound",    u"SInvalidLanguage",  u"SIdRedeclared",  u"SUnknownType",
    u"SIncompatibleTypes", u"SIdUndeclared",   u"SClassRequired", u"SIndexRequired",
    u"SStringError",     u"SClassError",       u"SArrayRequired", u"SVarRequired",
    u"SNotEnoughParams", u"STooManyParams",    u"SLeftCantAssigned", u"SForError",
    u"SEventError"};

bool IsScriptMessageKey(const String& Key) {
  for (const char16_t* Name : kScriptMessageKeys)
    if (AnsiSameText(Key, Name)) return true;
  return false;
}

// The built-in Russian table, compiled in from resources/report/strings-ru.xml.
const char kBuiltInTable[] = "report/strings-ru.xml";

TvqrHelpViewer& HelpViewer() {
  static TvqrHelpViewer Viewer;
  return Viewer;
}

// The index stored as a key's object.
TObject* IndexAsObject(int Index) {
  return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Index));
}
int ObjectAsIndex(TObject* Obj) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(Obj));
}

}  // namespace

TvqrResources::TvqrResources()
    : FNames(std::make_unique<TStringList>()),
      FValues(std::make_unique<TvqrWideStrings>()),
      FLanguages(std::make_unique<TStringList>()),
      FDisabledButtonImages(std::make_unique<TImageList>(16, 16)),
      FMainButtonImages(std::make_unique<TImageList>(16, 16)),
      FObjectImages(std::make_unique<TImageList>(16, 16)),
      FPreviewButtonImages(std::make_unique<TImageList>(16, 16)),
      FWizardImages(std::make_unique<TImageList>(32, 32)) {
  FNames->SetSorted(true);
  FNames->SetDuplicates(dupIgnore);
  FillLanguages(ModuleFolder());
}

TvqrResources::~TvqrResources() = default;

int TvqrResources::Count() const { return FNames->Count(); }
int TvqrResources::TextCount() const { return FValues->Count(); }
TStrings* TvqrResources::Languages() const { return FLanguages.get(); }

String TvqrResources::Get(const String& StrName) const {
  int Index = -1;
  String Result = FNames->Find(StrName, Index)
                      ? FValues->Get(ObjectAsIndex(FNames->Objects(Index)))
                      : StrName;
  if (!Result.empty() && Result[0] == u'!') Result.erase(0, 1);
  return Result;
}

void TvqrResources::AddW(const String& Ref, const String& Str) {
  int Index = -1;
  if (FNames->Find(Ref, Index)) {
    FValues->Put(ObjectAsIndex(FNames->Objects(Index)), Str);
    return;
  }
  int TextIndex = FValues->Add(Str);
  FNames->AddObject(Ref, IndexAsObject(TextIndex));
}

void TvqrResources::AddStrings(const String& Str) {
  TvqrWideStrings Lines;
  Lines.SetText(Str);
  for (int I = 0; I < Lines.Count(); ++I) {
    const String Line = Lines.Get(I);
    std::size_t Eq = Line.find(u'=');
    if (Eq == String::npos || Eq == 0 || Eq + 1 == Line.size()) continue;
    Add(Line.substr(0, Eq), Line.substr(Eq + 1));
  }
}

void TvqrResources::AddXML(const std::string& Str) {
  TStringStream Stream{std::string_view(Str)};
  Stream.SetPosition(0);
  LoadFromStream(&Stream);
}

void TvqrResources::Clear() {
  FNames->Clear();
  FValues->Clear();
}

void TvqrResources::LoadFromFile(const String& FileName) {
  if (!FileExists(FileName)) return;
  TFileStream Stream(FileName, fmOpenRead);
  LoadFromStream(&Stream);
}

void TvqrResources::LoadFromStream(TStream* Stream) {
  bool ScriptTexts = false;  // the document holds one of the script engine's texts
  {
    TvqrXMLDocument Doc;
    Doc.LoadFromStream(Stream);
    TvqrXMLItem* Root = Doc.Root();
    if (AnsiSameText(Root->Name(), u"Resources")) {
      FCP = static_cast<Cardinal>(StrToInt(Root->Prop(u"CodePage")));
      for (int I = 0; I < Root->Count(); ++I) {
        TvqrXMLItem* Item = Root->Items(I);
        if (!AnsiSameText(Item->Name(), u"StrRes")) continue;
        String Text = Item->Prop(u"Text");
        // An old-format document carries UTF-8 bytes inside 8-bit text.
        if (Doc.OldVersion()) Text = Utf8ToString(StringToAnsi(Text));
        const String Name = Item->Prop(u"Name");
        AddW(Name, Text);
        ScriptTexts = ScriptTexts || IsScriptMessageKey(Name);
      }
    }
  }
  if (ScriptTexts) UpdateFSResources();
}

void TvqrResources::UpdateFSResources() {
  for (const char16_t* Key : kScriptMessageKeys) SetScriptMessage(Key, Get(Key));
}

void TvqrResources::FillLanguages(const String& Folder) {
  FLanguages->Clear();
  std::error_code Error;
  std::filesystem::directory_iterator It(StringToUtf8(Folder), Error), End;
  for (; !Error && It != End; It.increment(Error)) {
    String Name = Utf8ToString(It->path().filename().string());
    String Lower = LowerCase(Name);
    if (Lower.size() < 4 || Lower.compare(Lower.size() - 4, 4, u".vqc") != 0) continue;
    if (Lower[0] >= u'a' && Lower[0] <= u'z') Lower[0] = static_cast<Char>(Lower[0] - 32);
    Lower.erase(Lower.find(u".vqc"), 4);
    FLanguages->Add(Lower);
  }
  FLanguages->Sort();
}

void TvqrResources::Help(TObject* Sender) {
  String Topic;
  if (Sender) {
    String ClassName = Sender->ClassName();
    for (const THelpTopic& Row : HelpTopics)
      if (AnsiSameText(ClassName, Row.Sender)) Topic = String(u"::/") + Row.Topic;
  }
  ShowHelpTopic(ModuleFolder() + FHelpFile + Topic);
}

TvqrResources* StringTable() {
  static std::unique_ptr<TvqrResources> Table = [] {
    auto T = std::make_unique<TvqrResources>();
    T->AddXML(std::string(LoadResource(kBuiltInTable)));
    return T;
  }();
  return Table.get();
}

String StringById(int Id) { return StringTable()->Get(IntToStr(Id)); }

bool ShowHelpTopic(const String& Path) { return HelpViewer() && HelpViewer()(Path); }

void SetHelpViewer(const TvqrHelpViewer& Viewer) { HelpViewer() = Viewer; }
