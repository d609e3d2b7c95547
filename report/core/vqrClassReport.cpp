// vqrClassReport.cpp - TvqrReport: the owned parts, Clear, data-source references.
#include "report/core/vqrClass.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrVariables.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrReport) {
  Class.Property("Version", &TvqrReport::Version, &TvqrReport::SetVersion)
      .Property("DataSet", &TvqrReport::DataSet, &TvqrReport::SetDataSet)
      .Property("DataSetName", &TvqrReport::DataSetName, &TvqrReport::SetDataSetName)
      .Property("DotMatrixReport", &TvqrReport::DotMatrixReport, &TvqrReport::SetDotMatrixReport)
      .Property("EngineOptions", &TvqrReport::EngineOptions, &TvqrReport::SetEngineOptions)
      .Property("IniFile", &TvqrReport::IniFile, &TvqrReport::SetIniFile)
      .Property("OldStyleProgress", &TvqrReport::OldStyleProgress, &TvqrReport::SetOldStyleProgress,
                false)
      .Property("PreviewOptions", &TvqrReport::PreviewOptions, &TvqrReport::SetPreviewOptions)
      .Property("PrintOptions", &TvqrReport::PrintOptions, &TvqrReport::SetPrintOptions)
      .Property("ReportOptions", &TvqrReport::ReportOptions, &TvqrReport::SetReportOptions)
      .Property("ScriptLanguage", &TvqrReport::ScriptLanguage, &TvqrReport::SetScriptLanguage)
      .Property("ScriptText", &TvqrReport::ScriptText, &TvqrReport::SetScriptText)
      .Property("ShowProgress", &TvqrReport::ShowProgress, &TvqrReport::SetShowProgress, true)
      .Property("StoreInDFM", &TvqrReport::StoreInDFM, &TvqrReport::SetStoreInDFM, true);
}

TvqrReport::TvqrReport(TComponent* AOwner)
    : TvqrComponent(AOwner),
      FDataSets(std::make_unique<TvqrReportDataSets>(this)),
      FVariables(std::make_unique<TvqrVariables>()),
      FEngineOptions(std::make_unique<TvqrEngineOptions>()),
      FPreviewOptions(std::make_unique<TvqrPreviewOptions>()),
      FPrintOptions(std::make_unique<TvqrPrintOptions>()),
      FReportOptions(std::make_unique<TvqrReportOptions>(this)),
      FScriptText(std::make_unique<TStringList>()),
      FErrors(std::make_unique<TStringList>()),
      FStyles(std::make_unique<TvqrStyles>(this)),
      FEnabledDataSets(std::make_unique<TvqrReportDataSets>(this)) {
  FErrors->SetSorted(true);
  FErrors->SetDuplicates(dupIgnore);
  Clear();
}

TvqrReport::~TvqrReport() {
  // The pages go while the report is whole: their objects may still ask for it.
  TvqrComponent::Clear();
}

void TvqrReport::Clear() {
  TvqrComponent::Clear();
  FDataSets->Clear();
  FVariables->Clear();
  FEngineOptions->Clear();
  FPreviewOptions->Clear();
  FPrintOptions->Clear();
  FReportOptions->Clear();
  FStyles->Clear();
  FDataSet = nullptr;
  FDataSetName.clear();
  FDotMatrixReport = false;
  FScriptLanguage = u"PascalScript";
  FScriptText->SetText(u"begin\r\n\r\nend.");
}

String TvqrReport::GetDescription() const { return ResText(u"obReport"); }

TvqrPage* TvqrReport::Pages(int Index) const {
  return dynamic_cast<TvqrPage*>(Objects().at(static_cast<std::size_t>(Index)));
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

void TvqrReport::SetDataSet(TvqrDataSet* Value) {
  FDataSet = Value;
  FDataSetName = Value ? Value->UserName() : String();
  if (Value) Value->FreeNotification(this);
}

String TvqrReport::DataSetName() const {
  return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TvqrReport::SetDataSetName(const String& Value) {
  FDataSetName = Value;
  FDataSet = FindDataSet(FDataSet, Value);
}

void TvqrReport::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (FStoreInDFM) TvqrComponent::GetChildren(Proc, Root);
}

// A data source going away leaves the dataset lists and the report's reference. Compared by
// address: by now the leaving object is no longer a whole TvqrDataSet.
void TvqrReport::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (TvqrReportDataSets* List : {FDataSets.get(), FEnabledDataSets.get()}) {
    if (!List) continue;
    for (int I = List->Count() - 1; I >= 0; --I)
      if (static_cast<TComponent*>(List->Items(I)->DataSet()) == AComponent) delete List->Items(I);
  }
  if (static_cast<TComponent*>(FDataSet) == AComponent) FDataSet = nullptr;
}
