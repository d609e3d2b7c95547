// AppReports.cpp - the data module's reports: the dataset adapters over its queries, the four
// templates, and the report commands it calls.
#include "app/AppReports.h"

#include "app/AppDialogs.h"
#include "app/DM_MAIN.h"
#include "platform/classes/Streams.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Resources.h"
#include "platform/sqlite/ADODB.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrUtils.h"
#include "report/output/vqrExportPDF.h"
#include "report/output/vqrExportXLS.h"

namespace {

const char16_t* const kReports[] = {u"vqrRepColor", u"vqrRepOrd", u"vqrRepColorPrice",
                                    u"vqrRepLKMPrice"};

// Every field of the adapter's dataset mapped to itself, so templates name fields directly.
void AliasFieldsToThemselves(TvqrDBDataset* Adapter) {
  TDataSet* DS = Adapter->DataSet();
  if (!DS && Adapter->DataSource()) DS = Adapter->DataSource()->DataSet();
  if (!DS) return;
  TStringList Aliases;
  std::vector<String> Names;
  DS->GetFieldNames(Names);
  for (const String& Name : Names) Aliases.Add(Name + u"=" + Name);
  Adapter->SetFieldAliases(&Aliases);
}

}  // namespace

TAppReports::TAppReports(TDM* Module) : FModule(Module) {
  vqrModuleInitialize();
  vqrEngineModuleInitialize();
  SetErrorBoxHandler([](const String&, const String& Text) { ShowAppError(Text); });
  struct TBinding {
    const char16_t* Name;
    TDataSet* DataSet;
    TDataSource* Source;
  } const Bindings[] = {
      {u"vqrDBDSColor", Module->Color, nullptr},
      {u"vqrDBDSColorRec", Module->ColorRec1, nullptr},
      {u"vqrDBDSOrd", nullptr, Module->DSOrd},
      {u"vqrDBDSROrdRec", Module->ROrdRec, nullptr},
      {u"vqrDBDColorPrice", Module->RepColor, nullptr},
      {u"vqrDBDLkmPrice", nullptr, Module->DSLKMRec},
      {u"vqrDBDSOrdRec", Module->ROrdRec, nullptr},
      {u"vqrDBDSOrdRec3", nullptr, Module->DSOrdRec3},
  };
  for (const TBinding& B : Bindings) {
    auto* Adapter = new TvqrDBDataset(Module);
    Adapter->SetName(B.Name);
    Adapter->SetUserName(B.Name);
    if (B.DataSet) Adapter->SetDataSet(B.DataSet);
    if (B.Source) Adapter->SetDataSource(B.Source);
    AliasFieldsToThemselves(Adapter);
    FAdapters.push_back(Adapter);
  }
  Adapter(u"vqrDBDSColor")->SetRangeBegin(rbCurrent);
  Adapter(u"vqrDBDSColor")->SetRangeEnd(reCurrent);
  for (const char16_t* Name : kReports) {
    auto* R = new TvqrReport(Module);
    R->SetName(Name);
    std::string_view Bytes = LoadResource("reports/" + StringToUtf8(Name) + ".xml");
    TMemoryStream In;
    In.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    In.SetPosition(0);
    R->LoadFromStream(&In);
    FReports.push_back(R);
  }
  // The module's spreadsheet filter, then its two PDF filters, with their stored settings
  // (the constructors' defaults); all register for the preview's export command in that
  // order, the first PDF filter serves ExportPdf.
  if (!Module->FindComponent(u"vqrXLSExport1"))
    (new TvqrXLSExport(Module))->SetName(u"vqrXLSExport1");
  for (const char16_t* Name : {u"vqrPDFExport1", u"vqrPDFExport2"})
    if (!Module->FindComponent(Name)) (new TvqrPDFExport(Module))->SetName(Name);
  FPdfFilter = static_cast<TvqrCustomExportFilter*>(Module->FindComponent(u"vqrPDFExport1"));
}

TAppReports::~TAppReports() { SetErrorBoxHandler(nullptr); }

TvqrReport* TAppReports::Report(const String& Name) const {
  for (TvqrReport* R : FReports)
    if (SameText(R->Name(), Name)) return R;
  return nullptr;
}

TvqrDBDataset* TAppReports::Adapter(const String& Name) const {
  for (TvqrDBDataset* A : FAdapters)
    if (SameText(A->Name(), Name)) return A;
  return nullptr;
}

void TAppReports::SetAdapterDataSet(const String& Name, TDataSet* DataSet) {
  if (TvqrDBDataset* A = Adapter(Name)) {
    A->SetDataSet(DataSet);
    AliasFieldsToThemselves(A);
  }
}

void TAppReports::PrepareReport(const String& Name, bool ClearLastReport) {
  if (TvqrReport* R = Report(Name)) R->PrepareReport(ClearLastReport);
}

void TAppReports::ShowReport(const String& Name, bool ClearLastReport) {
  if (TvqrReport* R = Report(Name)) R->ShowReport(ClearLastReport);
}

void TAppReports::Print(const String& Name) {
  if (TvqrReport* R = Report(Name)) R->Print();
}

TPdfExportResult TAppReports::ExportPdf(const String& Name, const String& DefaultPath,
                                        const String& FileName) {
  TPdfExportResult Result;
  TvqrReport* R = Report(Name);
  if (!R || !FPdfFilter) return Result;
  FPdfFilter->SetDefaultPath(DefaultPath);
  FPdfFilter->SetFileName(FileName);
  R->Errors()->Clear();
  if (!R->Export(FPdfFilter)) {
    // The engine reports every failure in Errors; a false result without one is a dialog the
    // user cancelled.
    if (R->Errors()->Text().empty()) Result.Status = TPdfExportResult::psCancelled;
    return Result;
  }
  auto* Pdf = dynamic_cast<TvqrPDFExport*>(FPdfFilter);
  Result.Path = Pdf ? Pdf->TargetFileName() : FPdfFilter->FileName();
  if (!Result.Path.empty()) Result.Status = TPdfExportResult::psWritten;
  return Result;
}
