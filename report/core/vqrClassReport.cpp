// vqrClassReport.cpp - TvqrReport: the owned parts, Clear, data-source references, settings.
//
// The run (PrepareReport, ShowReport, progress) is in vqrClassReportRun.cpp; templates
// (loading, saving, inheritance) in vqrClassTemplates.cpp.
#include "report/core/vqrClassReport.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Registry.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Timer.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassRTTI.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrVariables.h"
#include "script/ks_iinterpreter.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrReport) {
  using R = TvqrReport;
  Class.Property("Version", &R::Version, &R::SetVersion)
      .Property("ParentReport", &R::ParentReport, &R::SetParentReport)
      .Property("DataSet", &R::DataSet, &R::SetDataSet)
      .Property("DataSetName", &R::DataSetName, &R::SetDataSetName)
      .Property("DotMatrixReport", &R::DotMatrixReport, &R::SetDotMatrixReport)
      .Property("EngineOptions", &R::EngineOptions, &R::SetEngineOptions)
      .Property("IniFile", &R::IniFile, &R::SetIniFile)
      .Property("OldStyleProgress", &R::OldStyleProgress, &R::SetOldStyleProgress, false)
      .Property("PreviewOptions", &R::PreviewOptions, &R::SetPreviewOptions)
      .Property("PrintOptions", &R::PrintOptions, &R::SetPrintOptions)
      .Property("ReportOptions", &R::ReportOptions, &R::SetReportOptions)
      .Property("ScriptLanguage", &R::ScriptLanguage, &R::SetScriptLanguage)
      .Property("ScriptText", &R::ScriptText, &R::SetScriptText)
      .Property("ShowProgress", &R::ShowProgress, &R::SetShowProgress, true)
      .Property("StoreInDFM", &R::StoreInDFM, &R::SetStoreInDFM, true)
      .Property("OnAfterPrint", &R::OnAfterPrint, &R::SetOnAfterPrint)
      .Property("OnAfterPrintReport", &R::OnAfterPrintReport, &R::SetOnAfterPrintReport)
      .Property("OnBeforeConnect", &R::OnBeforeConnect, &R::SetOnBeforeConnect)
      .Property("OnAfterDisconnect", &R::OnAfterDisconnect, &R::SetOnAfterDisconnect)
      .Property("OnBeforePrint", &R::OnBeforePrint, &R::SetOnBeforePrint)
      .Property("OnBeginDoc", &R::OnBeginDoc, &R::SetOnBeginDoc)
      .Property("OnClickObject", &R::OnClickObject, &R::SetOnClickObject)
      .Property("OnDblClickObject", &R::OnDblClickObject, &R::SetOnDblClickObject)
      .Property("OnEndDoc", &R::OnEndDoc, &R::SetOnEndDoc)
      .Property("OnGetValue", &R::OnGetValue, &R::SetOnGetValue)
      .Property("OnNewGetValue", &R::OnNewGetValue, &R::SetOnNewGetValue)
      .Property("OnLoadTemplate", &R::OnLoadTemplate, &R::SetOnLoadTemplate)
      .Property("OnManualBuild", &R::OnManualBuild, &R::SetOnManualBuild)
      .Property("OnMouseOverObject", &R::OnMouseOverObject, &R::SetOnMouseOverObject)
      .Property("OnPreview", &R::OnPreview, &R::SetOnPreview)
      .Property("OnPrintPage", &R::OnPrintPage, &R::SetOnPrintPage)
      .Property("OnPrintReport", &R::OnPrintReport, &R::SetOnPrintReport)
      .Property("OnProgressStart", &R::OnProgressStart, &R::SetOnProgressStart)
      .Property("OnProgress", &R::OnProgress, &R::SetOnProgress)
      .Property("OnProgressStop", &R::OnProgressStop, &R::SetOnProgressStop)
      .Property("OnUserFunction", &R::OnUserFunction, &R::SetOnUserFunction)
      .Property("OnClosePreview", &R::OnClosePreview, &R::SetOnClosePreview)
      .Property("OnAfterScriptCompile", &R::OnAfterScriptCompile, &R::SetOnAfterScriptCompile);
}

namespace {

TvqrEngineFactory& EngineFactory() {
  static TvqrEngineFactory Factory;
  return Factory;
}

TvqrPreviewPagesFactory& PreviewPagesFactory() {
  static TvqrPreviewPagesFactory Factory;
  return Factory;
}

}  // namespace

void TvqrReport::SetEngineFactory(TvqrEngineFactory Factory) {
  EngineFactory() = std::move(Factory);
}

void TvqrReport::SetPreviewPagesFactory(TvqrPreviewPagesFactory Factory) {
  PreviewPagesFactory() = std::move(Factory);
}

String ShiftPasswordOut(const String& Password) {
  String Result = Password;
  for (char16_t& C : Result) C = static_cast<char16_t>(C - 10);
  return Result;
}

String ShiftPasswordIn(const String& Password) {
  String Result = Password;
  for (char16_t& C : Result) C = static_cast<char16_t>(C + 10);
  return Result;
}

TvqrReport::TvqrReport(TComponent* AOwner)
    : TvqrComponent(AOwner),
      FDataSets(std::make_unique<TvqrReportDataSets>(this)),
      FVariables(std::make_unique<TvqrVariables>()),
      FScript(std::make_unique<TksScript>()),
      FTimer(std::make_unique<TTimer>(nullptr)),
      FEngineOptions(std::make_unique<TvqrEngineOptions>()),
      FPreviewOptions(std::make_unique<TvqrPreviewOptions>()),
      FPrintOptions(std::make_unique<TvqrPrintOptions>()),
      FReportOptions(std::make_unique<TvqrReportOptions>(this)),
      FScriptText(std::make_unique<TStringList>()),
      FFakeScriptText(std::make_unique<TStringList>()),
      FErrors(std::make_unique<TStringList>()),
      FStyles(std::make_unique<TvqrStyles>(this)),
      FSysVariables(std::make_unique<TStringList>()),
      FEnabledDataSets(std::make_unique<TvqrReportDataSets>(this)),
      FDrillState(std::make_unique<TStringList>()) {
  FScript->SetExtendedCharset(true);
  vqrRegisterClassRTTI();  // the report model's bindings join every script's modules once
  FScript->AddRTTI();
  FTimer->SetEnabled(false);
  FTimer->SetInterval(50);
  FTimer->SetOnTimer([this](TObject*) {
    FTimer->SetEnabled(false);
    PrepareReport(false);
  });
  FErrors->SetSorted(true);
  FErrors->SetDuplicates(dupIgnore);
  KeepNameIndex();
  FEngine.reset(EngineFactory() ? EngineFactory()(this) : new TvqrCustomEngine(this));
  FPreviewPages.reset(PreviewPagesFactory() ? PreviewPagesFactory()(this)
                                            : new TvqrCustomPreviewPages(this));
  LinkEngineAndPages();
  Clear();
}

TvqrReport::~TvqrReport() {
  FTimer->SetEnabled(false);
  if (FPreviewForm) FPreviewForm->Close();
  SetPreview(nullptr);
  FParentReportObject.reset();
  // The pages go while the report is whole: their objects may still ask for it.
  ClearObjects();
}

// Frees the objects as TvqrComponent::Clear does. Objects hold references to each other only
// to drop them when told (a subreport and its page also tell each other as they go), so the
// objects that go need not hear of each other; the survivors are the owned components that are
// inherited from an ancestor report or stand outside the object tree.
void TvqrReport::ClearObjects() {
  std::vector<TComponent*> Survivors;
  for (int I = 0; I < ComponentCount(); ++I) {
    TComponent* C = Components(I);
    auto* Obj = vqrAs<TvqrComponent>(C);
    const TvqrComponent* Top = Obj;
    while (Top && Top->Parent()) Top = Top->Parent();
    if (!Obj || Top != this || C->ComponentState().Contains(csAncestor)) Survivors.push_back(C);
  }
  struct TScope {
    std::vector<TComponent*>*& Slot;
    std::vector<TComponent*>* Outer;
    ~TScope() { Slot = Outer; }
  } Scope{FClearSurvivors, FClearSurvivors};
  FClearSurvivors = &Survivors;
  TvqrComponent::Clear();
}

void TvqrReport::LinkEngineAndPages() {
  FEngine->SetPreviewPages(FPreviewPages.get());
  FPreviewPages->SetEngine(FEngine.get());
}

void TvqrReport::SetEngineForTest(TvqrCustomEngine* Value) {
  FEngine.reset(Value);
  LinkEngineAndPages();
}

void TvqrReport::SetPreviewPagesForTest(TvqrCustomPreviewPages* Value) {
  FPreviewPages.reset(Value);
  LinkEngineAndPages();
}

void TvqrReport::Clear() {
  ClearObjects();
  FDataSets->Clear();
  FVariables->Clear();
  FEngineOptions->Clear();
  FPreviewOptions->Clear();
  FPrintOptions->Clear();
  FReportOptions->Clear();
  FStyles->Clear();
  FDataSet = TvqrDataSetRef();
  FDotMatrixReport = false;
  FParentReport.clear();
  FScriptLanguage = u"PascalScript";
  FScriptText->SetText(u"begin\r\n\r\nend.");
  FSysVariables->Clear();
  for (const char16_t* Name : {u"Date", u"Time", u"Page", u"Page#", u"TotalPages", u"TotalPages#",
                               u"Line", u"Line#", u"CopyName#"})
    FSysVariables->Add(Name);
  OnRunDialogs.clear();
  OnStartReport.clear();
  OnStopReport.clear();
}

String TvqrReport::GetDescription() const { return ResText(u"obReport"); }

TvqrPage* TvqrReport::Pages(int Index) const {
  return dynamic_cast<TvqrPage*>(Objects().at(static_cast<std::size_t>(Index)));
}

TStrings* TvqrReport::ScriptText() const {
  if (!FStoreInDFM && ComponentState().Contains(csWriting)) return FFakeScriptText.get();
  return FScriptText.get();
}

void TvqrReport::SetStyles(TvqrStyles* Value) {
  if (!Value) {
    FStyles->Clear();
    return;
  }
  FStyles->Assign(Value);
  FStyles->SetName(Value->Name());
  FStyles->Apply();
}

void TvqrReport::SetDataSet(TvqrDataSet* Value) { FDataSet.Set(Value, this); }

String TvqrReport::DataSetName() const { return FDataSet.Name(); }

void TvqrReport::SetDataSetName(const String& Value) { FDataSet.SetName(Value, this); }

void TvqrReport::SetTerminated(bool Value) {
  FTerminated = Value;
  if (Value) FScript->Terminate();
}

void TvqrReport::SetPreview(TvqrCustomPreview* Value) {
  if (FPreview && !Value) {
    FPreview->Report = nullptr;
    FPreview->PreviewPages = nullptr;
    FPreviewForm = nullptr;
  }
  FPreview = Value;
  if (Value) {
    Value->Report = this;
    Value->PreviewPages = FPreviewPages.get();
    Value->Init();
  }
}

void TvqrReport::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (FStoreInDFM) TvqrComponent::GetChildren(Proc, Root);
}

// A data source going away leaves the dataset lists and the report's reference. Compared by
// address: by now the leaving object is no longer a whole TvqrDataSet.
void TvqrReport::Notification(TComponent* AComponent, TOperation Operation) {
  // No report object acts on an insertion; passing each one to every object the report owns
  // made loading a template quadratic in its object count.
  if (Operation == opInsert) return;
  if (FClearSurvivors) {
    std::vector<TComponent*>& Survivors = *FClearSurvivors;
    std::erase(Survivors, AComponent);
    RemoveFreeNotification(AComponent);
    // From the end, as the owner's list is walked; a handler may free survivors.
    for (int I = static_cast<int>(Survivors.size()) - 1; I >= 0; --I) {
      if (I >= static_cast<int>(Survivors.size())) I = static_cast<int>(Survivors.size()) - 1;
      if (I < 0) break;
      Survivors[static_cast<std::size_t>(I)]->Notification(AComponent, Operation);
    }
  } else {
    inherited::Notification(AComponent, Operation);
  }
  if (Operation != opRemove) return;
  for (TvqrReportDataSets* List : {FDataSets.get(), FEnabledDataSets.get()}) {
    if (!List) continue;
    for (int I = List->Count() - 1; I >= 0; --I)
      if (static_cast<TComponent*>(List->Items(I)->DataSet()) == AComponent) delete List->Items(I);
  }
  FDataSet.Removed(AComponent);
}

// --- Data sources ---------------------------------------------------------------------------

String TvqrReport::GetAlias(TvqrDataSet* DataSet) const {
  if (!DataSet) return String();
  if (FDataSets->Find(DataSet)) return DataSet->UserName();
  return ResText(u"clDSNotIncl");
}

TvqrDataSet* TvqrReport::GetDataset(const String& Alias) const {
  TvqrDataSetItem* Item = FDataSets->Find(Alias);
  return Item ? Item->DataSet() : nullptr;
}

void TvqrReport::GetDatasetAndField(const String& ComplexName, TvqrDataSet*& Dataset,
                                    String& Field) const {
  Dataset = nullptr;
  Field.clear();
  const std::size_t P = ComplexName.find(u".\"");
  if (P == String::npos) return;
  Dataset = GetDataset(ComplexName.substr(0, P));
  const std::size_t Start = P + 2;
  if (ComplexName.size() > Start) Field = ComplexName.substr(Start, ComplexName.size() - Start - 1);
}

void TvqrReport::GetDataSetList(TStrings* List, bool OnlyDB) const {
  List->Clear();
  for (int I = 0; I < FDataSets->Count(); ++I) {
    TvqrDataSet* DS = FDataSets->Items(I)->DataSet();
    if (!DS || (OnlyDB && dynamic_cast<TvqrUserDataSet*>(DS))) continue;
    List->AddObject(DS->UserName(), DS);
  }
}

void TvqrReport::GetActiveDataSetList(TStrings* List) const {
  if (FEngineOptions->UseGlobalDataSetList()) return vqrGlobalDataSetList()->GetActiveList(List);
  List->Clear();
  for (int I = 0; I < FEnabledDataSets->Count(); ++I)
    if (TvqrDataSet* DS = FEnabledDataSets->Items(I)->DataSet())
      List->AddObject(DS->UserName(), DS);
}

// --- Settings -------------------------------------------------------------------------------

TCustomIniFile* TvqrReport::GetIniFile() const {
  if (FIniFile.starts_with(u"\\Software\\")) return new TRegistryIniFile(FIniFile);
  return new TIniFile(FIniFile);
}

String TvqrReport::GetApplicationFolder() const {
  if (ComponentState().Contains(csDesigning)) return IncludeTrailingPathDelimiter(GetCurrentDir());
  return IncludeTrailingPathDelimiter(ModuleFolder());
}

// --- Binary properties ----------------------------------------------------------------------

void TvqrReport::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  if (!FStoreInDFM && ComponentState().Contains(csWriting)) return;
  auto Define = [this, Filer](const char16_t* Name, TCollection* List) {
    Filer->DefineProperty(
        Name, [this, List](TReader* Reader) { ReadCollectionProperty(List, Reader, this); },
        [this, List](TWriter* Writer) { WriteCollectionProperty(List, Writer, this); }, true);
  };
  Define(u"Datasets", FDataSets.get());
  Define(u"Variables", FVariables.get());
  Define(u"Style", FStyles.get());
}
