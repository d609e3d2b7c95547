// vqrClassTemplates.cpp - TvqrReport's templates: loading and saving streams and files, the
// stored password, the data page every report gets, parent templates and inheritance.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrPaperSizes.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXML.h"
#include "script/ks_iinterpreter.h"

using namespace vqrclass_detail;

namespace {

// Parent templates nest through SetParentReport; a chain deeper than this is refused.
constexpr int MaxParentDepth = 16;

TvqrInheritErrorHandler& InheritErrorHandler() {
  static TvqrInheritErrorHandler Handler;
  return Handler;
}

// The files of the parent chain being loaded, outermost first.
std::vector<String>& ParentChain() {
  static std::vector<String> Chain;
  return Chain;
}

// A list of Text's lines (the caller's to use at once).
std::unique_ptr<TStringList> SplitLines(const String& Text) {
  auto List = std::make_unique<TStringList>();
  List->SetText(Text);
  return List;
}

bool IsSeparator(char16_t C) { return C == u'/' || C == u'\\'; }

// A drive path ("C:..."), a UNC path ("\\...") or a root path ("/...").
bool IsAbsolutePath(const String& Path) {
  if (Path.size() > 1 && Path[1] == u':') return true;
  if (Path.starts_with(u"\\\\")) return true;
  return !Path.empty() && Path[0] == u'/';
}

std::vector<String> SplitPath(const String& Path) {
  std::vector<String> Parts;
  String Part;
  for (char16_t C : Path) {
    if (IsSeparator(C)) {
      if (!Part.empty()) Parts.push_back(Part);
      Part.clear();
    } else {
      Part += C;
    }
  }
  if (!Part.empty()) Parts.push_back(Part);
  return Parts;
}

// Target written relative to the folder BaseDir ("../" for each folder left).
String RelativePath(const String& BaseDir, const String& Target) {
  const std::vector<String> Base = SplitPath(BaseDir), To = SplitPath(Target);
  std::size_t Common = 0;
  while (Common < Base.size() && Common + 1 < To.size() && Base[Common] == To[Common]) ++Common;
  if (Common == 0 && !Base.empty()) return Target;
  String Result;
  for (std::size_t I = Common; I < Base.size(); ++I) Result += u"../";
  for (std::size_t I = Common; I < To.size(); ++I) {
    Result += To[I];
    if (I + 1 < To.size()) Result += u"/";
  }
  return Result;
}

// Keeps the options a host sets across a template load.
struct THostSettings {
  THostSettings(TvqrReport* R)
      : Engine(std::make_unique<TvqrEngineOptions>()),
        Preview(std::make_unique<TvqrPreviewOptions>()),
        IniFile(R->IniFile()),
        PreviewControl(R->Preview()),
        OldStyleProgress(R->OldStyleProgress()),
        ShowProgress(R->ShowProgress()),
        StoreInDFM(R->StoreInDFM()) {
    Engine->Assign(R->EngineOptions());
    Preview->Assign(R->PreviewOptions());
  }
  std::unique_ptr<TvqrEngineOptions> Engine;
  std::unique_ptr<TvqrPreviewOptions> Preview;
  String IniFile;
  TvqrCustomPreview* PreviewControl;
  bool OldStyleProgress, ShowProgress, StoreInDFM;
};

}  // namespace

void TvqrReport::SetInheritErrorHandler(TvqrInheritErrorHandler Handler) {
  InheritErrorHandler() = std::move(Handler);
}

// --- Saving -----------------------------------------------------------------------------------

void TvqrReport::SaveToStream(TStream* Stream, bool SaveChildren, bool SaveDefaultValues,
                              bool UseGetAncestor) {
  (void)UseGetAncestor;  // the report answers ancestor questions whenever it has a parent
  const String Password = FReportOptions->Password();
  FReportOptions->SetPrevPassword(Password);
  FReportOptions->SetPassword(ShiftPasswordOut(Password));
  TvqrCustomPreview* SavedPreview = FPreview;
  FPreview = nullptr;
  struct TRestore {
    TvqrReport* R;
    String Password;
    TvqrCustomPreview* Preview;
    ~TRestore() {
      R->FReportOptions->SetPassword(Password);
      R->FPreview = Preview;
    }
  } Restore{this, Password, SavedPreview};

  TvqrXMLSerializer Serializer(Stream);
  Serializer.SetOwner(this);
  Serializer.SetSerializeDefaultValues(SaveDefaultValues);
  if (FParentReportObject) {
    Serializer.SetOnGetAncestor([this](const String& Name, TPersistent*& Ancestor) {
      if (AnsiSameText(Name, this->Name()) || Name.empty())
        Ancestor = FParentReportObject.get();
      else
        Ancestor = FParentReportObject->FindObject(Name);
    });
  }
  Serializer.WriteRootComponent(this, SaveChildren, nullptr, false);
}

void TvqrReport::SaveToFile(const String& AFileName) {
  const String SavedParent = FParentReport;
  if (FParentReport.size() > 1 && IsAbsolutePath(FParentReport))
    FParentReport = RelativePath(ExtractFilePath(ExpandFileName(AFileName)), FParentReport);
  struct TRestore {
    String& Target;
    String Value;
    ~TRestore() { Target = Value; }
  } Restore{FParentReport, SavedParent};
  TFileStream File(AFileName, fmCreate);
  SaveToStream(&File, true, false, false);
}

// --- Loading ----------------------------------------------------------------------------------

void TvqrReport::LoadFromStream(TStream* Stream) {
  FErrors->Clear();
  FReportOptions->SetPassword(FReportOptions->HiddenPassword());
  THostSettings Host(this);
  FStreamLoaded = true;
  FLoadStream = Stream;
  auto Restore = [&] {
    CheckDataPage();
    const bool ConvertNulls = FEngineOptions->ConvertNulls();
    const bool IgnoreDevByZero = FEngineOptions->IgnoreDevByZero();
    const bool DoublePass = FEngineOptions->DoublePass();
    FEngineOptions->Assign(Host.Engine.get());
    FEngineOptions->SetConvertNulls(ConvertNulls);
    FEngineOptions->SetIgnoreDevByZero(IgnoreDevByZero);
    FEngineOptions->SetDoublePass(DoublePass);
    TvqrPreviewOptions* P = FPreviewOptions.get();
    const bool OutlineVisible = P->OutlineVisible(), OutlineExpand = P->OutlineExpand();
    const bool ThumbnailVisible = P->ThumbnailVisible();
    const int OutlineWidth = P->OutlineWidth(), PagesInCache = P->PagesInCache();
    P->Assign(Host.Preview.get());
    P->SetOutlineVisible(OutlineVisible);
    P->SetOutlineExpand(OutlineExpand);
    P->SetThumbnailVisible(ThumbnailVisible);
    P->SetOutlineWidth(OutlineWidth);
    P->SetPagesInCache(PagesInCache);
    FIniFile = Host.IniFile;
    FPreview = Host.PreviewControl;
    FOldStyleProgress = Host.OldStyleProgress;
    FShowProgress = Host.ShowProgress;
    FStoreInDFM = Host.StoreInDFM;
    FReportOptions->SetPassword(ShiftPasswordIn(FReportOptions->Password()));
    FLoadStream = nullptr;
  };
  try {
    TvqrVQ2Events* Hooks = vqrVQ2Events();
    if (!(Hooks && Hooks->OnLoad && Hooks->OnLoad(this, Stream)))
      TvqrComponent::LoadFromStream(Stream);
  } catch (const Exception& E) {
    FStreamLoaded = false;
    FErrors->Add(E.Message());
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  if (FReportOptions->Info()) return Clear();
  if (FReloading || FEngineOptions->EnableThreadSafe() || FReportOptions->CheckPassword()) {
    // A parent template read inside another load leaves the reporting to the outer load.
    if (FErrors->Count() > 0 && FParentDepth == 0) ReportErrors();
  } else {
    Clear();
  }
}

bool TvqrReport::LoadFromFile(const String& AFileName, bool ExceptionIfNotFound) {
  Clear();
  FFileName.clear();
  const bool Exists = FileExists(AFileName);
  if (!Exists && !ExceptionIfNotFound) return false;
  TFileStream File(AFileName, fmOpenRead | fmShareDenyWrite);
  FFileName = AFileName;
  LoadFromStream(&File);
  return Exists;
}

void TvqrReport::CheckDataPage() {
  bool HasDataPage = false;
  std::vector<TvqrComponent*> Dialogs;
  for (TvqrComponent* Obj : AllObjects()) {
    if (vqrAs<TvqrDataPage>(Obj)) HasDataPage = true;
    if (auto* D = vqrAs<TvqrDialogComponent>(Obj)) Dialogs.push_back(D);
  }
  if (HasDataPage) return;
  auto* Page = new TvqrDataPage(this);
  if (FindObject(u"Data") && FindObject(u"Data") != Page)
    Page->CreateUniqueName();
  else
    Page->SetName(u"Data");
  MoveChildToFront(Page);
  int X = 60;
  for (TvqrComponent* D : Dialogs) {
    D->SetParent(Page);
    D->SetLeft(X);
    D->SetTop(20);
    X += 64;
  }
}

// --- Parent templates -------------------------------------------------------------------------

void TvqrReport::MarkAncestors(bool Value) {
  for (TvqrComponent* Obj : AllObjects()) Obj->SetAncestorFlag(Value);
  SetAncestorFlag(Value);
}

String TvqrReport::ResolveParentPath(const String& Value) const {
  if (Value.size() > 1 && !IsAbsolutePath(Value)) {
    const String Near = ExtractFilePath(FFileName) + Value;
    if (FileExists(Near)) return Near;
    return GetApplicationFolder() + Value;
  }
  return Value;
}

void TvqrReport::SetParentReport(const String& Value) {
  FParentReport = Value;
  FParentReportObject.reset();
  if (Value.empty()) return MarkAncestors(false);
  // The private copy of a parent only keeps the name: its content is already loaded.
  if (!FLoadsParents) return;

  const String RememberedName = FFileName;
  TvqrXMLSerializer* RememberedSerializer = FXMLSerializer;
  if (FOnLoadTemplate) {
    FOnLoadTemplate(this, Value);
  } else {
    const String Path = ResolveParentPath(Value);
    const String Key = ExpandFileName(Path);
    std::vector<String>& Chain = ParentChain();
    const bool Loops = AnsiSameText(Key, ExpandFileName(RememberedName)) ||
                       std::any_of(Chain.begin(), Chain.end(),
                                   [&Key](const String& F) { return AnsiSameText(F, Key); });
    if (Loops || FParentDepth >= MaxParentDepth) {
      // A template that names itself, or a chain that comes back, is not followed.
      FErrors->Add(u"Circular parent report reference: " + Value);
      FXMLSerializer = RememberedSerializer;
      return;
    }
    if (!FileExists(Path)) {
      FErrors->Add(u"Parent report not found: " + Value);
      FXMLSerializer = RememberedSerializer;
      return;
    }
    if (!RememberedName.empty()) Chain.push_back(ExpandFileName(RememberedName));
    Chain.push_back(Key);
    ++FParentDepth;
    const String OuterErrors = FErrors->Text();
    struct TUnwind {
      TvqrReport* R;
      std::size_t Size;
      ~TUnwind() {
        --R->FParentDepth;
        ParentChain().resize(Size);
      }
    } Unwind{this, Chain.size() - (RememberedName.empty() ? 1 : 2)};
    LoadFromFile(Path, false);
    // The parent's own load started a fresh error list; the child's lines come first.
    const String ParentErrors = FErrors->Text();
    FErrors->SetText(OuterErrors);
    FErrors->AddStrings(SplitLines(ParentErrors).get());
  }
  FParentReportObject = std::make_unique<TvqrReport>(nullptr);
  FParentReportObject->FLoadsParents = false;
  FParentReportObject->SetFileName(FFileName);
  FParentReportObject->AssignAll(this, true);
  FFileName = RememberedName;
  for (TvqrComponent* Child : FParentReportObject->Objects())
    if (auto* Page = dynamic_cast<TvqrReportPage*>(Child)) Page->SetPaperSize(vqrCustomPaperCode);
  MarkAncestors(true);
  FParentReport = Value;
  FXMLSerializer = RememberedSerializer;
}

// --- Inheritance ------------------------------------------------------------------------------

void TvqrReport::MergeInto(TvqrComponent* Source, TvqrComponent* Target, TvqrReport* OldCopy,
                           bool DeleteDuplicates, std::vector<TvqrFixupItem>& Fixups) {
  {
    TvqrXMLSerializer Serializer;
    Serializer.SetOwner(OldCopy);
    Serializer.SetSerializeDefaultValues(!dynamic_cast<TvqrReport*>(Target));
    const String Text = Serializer.ObjToXML(Source);
    TvqrXMLSerializer Reader;
    Reader.SetOwner(this);
    Reader.XMLToObj(Text, Target);
    Reader.CopyFixupList(&Fixups);
  }
  const std::vector<TvqrComponent*> Children = Source->Objects();
  for (TvqrComponent* Child : Children) {
    TvqrComponent* Found = FindObject(Child->Name());
    if (Found && !dynamic_cast<TvqrPage*>(Found)) {
      if (DeleteDuplicates) continue;
      Found = nullptr;  // renamed below
      const String OldName = Child->Name();
      TComponent* Created = Child->ClassType()->CreateComponent(Target);
      auto* New = dynamic_cast<TvqrComponent*>(Created);
      New->CreateUniqueName();
      for (TvqrFixupItem& F : Fixups)
        if (AnsiSameText(F.Value, OldName)) F.Value = New->Name();
      if (auto* DS = dynamic_cast<TvqrDataSet*>(New)) {
        DS->SetUserName(New->Name());
        FDataSets->Add(DS);
      }
      MergeInto(Child, New, OldCopy, DeleteDuplicates, Fixups);
      continue;
    }
    if (!Found) {
      TComponent* Created = Child->ClassType()->CreateComponent(Target);
      Found = dynamic_cast<TvqrComponent*>(Created);
      if (!Found) continue;
      if (!Child->Name().empty()) Found->SetName(Child->Name());
    }
    MergeInto(Child, Found, OldCopy, DeleteDuplicates, Fixups);
  }
}

bool TvqrReport::InheritFromTemplate(const String& TemplateName, TvqrInheriteMode InheriteMode) {
  if (FFileName == TemplateName) return false;
  auto OldCopy = std::make_unique<TvqrReport>(nullptr);
  OldCopy->AssignAll(this);
  std::vector<TvqrFixupItem> Fixups;

  const String Base = ExtractFilePath(ExpandFileName(FFileName));
  SetParentReport(FFileName.empty() ? TemplateName : RelativePath(Base, ExpandFileName(TemplateName)));

  bool Duplicates = false;
  for (TvqrComponent* Obj : OldCopy->AllObjects())
    if (!dynamic_cast<TvqrPage*>(Obj) && FindObject(Obj->Name())) Duplicates = true;
  bool Continue = true;
  bool DeleteDuplicates = InheriteMode == imDelete;
  if (Duplicates && InheriteMode == imDefault) {
    // The dialog's answer; without a dialog the answer is Cancel.
    DeleteDuplicates = true;
    Continue = InheritErrorHandler() && InheritErrorHandler()(this, DeleteDuplicates);
  }
  if (!Continue) {
    AssignAll(OldCopy.get());
    return false;
  }
  const String ParentScript = FScriptText->Text();
  MergeInto(OldCopy.get(), this, OldCopy.get(), DeleteDuplicates, Fixups);
  String Open = u"{", Close = u"}";
  if (FScript->SyntaxType() == u"D++Ividaz" || FScript->SyntaxType() == u"JScript")
    Open = u"/*", Close = u"*/";
  else if (FScript->SyntaxType() == u"BasicScript")
    Open = Close = u"/\\";
  FScriptText->Add(Open);
  FScriptText->Add(u"**********Script from parent report**********");
  FScriptText->AddStrings(SplitLines(ParentScript).get());
  FScriptText->Add(Close);
  for (int I = 0; I < FDataSets->Count(); ++I) {
    TvqrDataSetItem* Item = FDataSets->Items(I);
    Item->SetDataSet(FindDataSet(nullptr, Item->DataSetName()));
  }
  for (const TvqrFixupItem& F : Fixups) {
    TComponent* Found = FindObject(F.Value);
    if (!Found) {
      try {
        Found = FindComponentByPath(this, F.Value);
      } catch (const Exception&) {
        // A reference that names nothing is left as it was.
      }
    }
    if (Found && F.PropInfo) F.PropInfo->SetObject(F.Obj, Found);
  }
  return true;
}
