// vqrClassReportRun.cpp - TvqrReport's run: PrepareReport, ShowReport, the preview, print and
// export entry points, the progress hooks and the compiled report script.
#include <memory>

#include "platform/classes/Streams.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Timer.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrUtils.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_iinterpreter_stmts.h"

using namespace vqrclass_detail;

namespace {

TvqrPreviewWindowFactory& PreviewWindowFactory() {
  static TvqrPreviewWindowFactory Factory;
  return Factory;
}

TvqrProgressWindowFactory& ProgressWindowFactory() {
  static TvqrProgressWindowFactory Factory;
  return Factory;
}

TvqrPrepareScriptHook& PrepareScriptHook() {
  static TvqrPrepareScriptHook Hook;
  return Hook;
}

// A run lasts from PrepareReport's start to its end, and printing and exporting read the pages
// it builds; the engine's own flag covers only the band pass, and messages are pumped outside it.
bool RunInProgress(TvqrReport& Report) {
  return Report.Busy() || (Report.Engine() && Report.Engine()->Running);
}

class TBusyScope {
public:
  explicit TBusyScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TBusyScope() { FFlag = false; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  bool& FFlag;
};

void ProcessPendingMessages() {
  if (Application) Application->ProcessMessages();
}

// Removes the temporary template file of a run when the run is over, however it ends.
class TTempFileGuard {
public:
  TTempFileGuard() = default;
  void SetName(const String& Name) { FName = Name; }
  ~TTempFileGuard() {
    if (!FName.empty()) DeleteFile(FName);
  }
  TTempFileGuard(const TTempFileGuard&) = delete;
  TTempFileGuard& operator=(const TTempFileGuard&) = delete;

private:
  String FName;
};

}  // namespace

void TvqrReport::SetPreviewWindowFactory(TvqrPreviewWindowFactory Factory) {
  PreviewWindowFactory() = std::move(Factory);
}

void TvqrReport::SetProgressWindowFactory(TvqrProgressWindowFactory Factory) {
  ProgressWindowFactory() = std::move(Factory);
}

void TvqrReport::SetPrepareScriptHook(TvqrPrepareScriptHook Hook) {
  PrepareScriptHook() = std::move(Hook);
}

// --- PrepareReport ----------------------------------------------------------------------------

bool TvqrReport::PrepareScript() {
  if (PrepareScriptHook()) PrepareScriptHook()(this);
  std::vector<String> Lines;
  for (int I = 0; I < FScriptText->Count(); ++I) Lines.push_back(FScriptText->Strings(I));
  FScript->SetLines(Lines);
  FScript->SetSyntaxType(FScriptLanguage);
  if (FScript->Compile()) return true;
  FErrors->Add(Format(ResText(u"clScrError"), {FScript->ErrorPos(), FScript->ErrorMsg()}));
  return false;
}

// Step 5 of a run: the document events, the script and the engine. Exceptions of the
// platform's class become error lines; the result says whether the engine built the report.
bool TvqrReport::RunGuarded() {
  bool Result = false;
  bool EngineDone = false;
  try {
    if (FOnBeginDoc) FOnBeginDoc(this);
    if (PrepareScript()) {
      if (FOnAfterScriptCompile) FOnAfterScriptCompile(this);
      TksStatement* Main = FScript->Statement();
      if (Main && Main->Count() > 0) FScript->Execute();
      if (!FTerminated && FEngine->Run()) {
        EngineDone = true;
        if (FOnEndDoc) FOnEndDoc(this);
        Result = true;
      }
    }
  } catch (const Exception& E) {
    FErrors->Add(E.Message());
  }
  if (!EngineDone && FPreviewForm) FPreviewForm->Close();
  return Result;
}

bool TvqrReport::PrepareReport(bool ClearLastReport) {
  // A run pumps messages (already before the engine starts): a second command on the same
  // report while it runs, prints or exports is refused instead of clearing the pages and
  // reloading the objects in use.
  if (RunInProgress(*this)) return false;
  TBusyScope Guard(FBusy);
  if (ClearLastReport) FPreviewPages->Clear();
  FPrintOptions->SetDuplex(dmNone);
  FErrors->Clear();
  FTerminated = false;
  bool Result = false;

  for (int I = 0; I < FDataSets->Count(); ++I) {
    TvqrDataSetItem* Item = FDataSets->Items(I);
    if (!Item->DataSet()) FErrors->Add(Format(ResText(u"clDSNotExist"), {Item->DataSetName()}));
  }
  if (FErrors->Count() == 0) {
    const String Password = FReportOptions->Password();
    const bool DestroyForms = FEngineOptions->DestroyForms();
    // Declared before the stream, so the stream is closed before its file is deleted; both go
    // whatever happens below.
    TTempFileGuard TempFile;
    std::unique_ptr<TStream> Saved;
    int SplicingLine = 0;
    if (DestroyForms) {
      if (FEngineOptions->UseFileCache()) {
        const String TempName = NewTempFileNameIn(FEngineOptions->TempDir());
        TempFile.SetName(TempName);
        Saved = std::make_unique<TFileStream>(TempName, fmCreate);
      } else {
        Saved = std::make_unique<TMemoryStream>();
      }
      FReportOptions->SetPassword(String());
      SplicingLine = FPrintOptions->SplicingLine();
      SaveToStream(Saved.get(), true, false, false);
    }
    Result = RunGuarded();

    if (DestroyForms) {
      const String ErrorText = FErrors->Text();
      Saved->SetPosition(0);
      FReloading = true;
      try {
        LoadFromStream(Saved.get());
      } catch (...) {
        FReloading = false;
        FReportOptions->SetPassword(Password);
        FPrintOptions->SetSplicingLine(SplicingLine);
        FErrors->SetText(ErrorText);
        throw;
      }
      FReloading = false;
      FReportOptions->SetPassword(Password);
      FPrintOptions->SetSplicingLine(SplicingLine);
      Saved.reset();
      FErrors->SetText(ErrorText);
    }
  }
  if (FErrors->Count() > 0) {
    Result = false;
    ReportErrors();
  }
  return Result;
}

void TvqrReport::ReportErrors() {
  ReportError(this, ResText(u"clErrors") + u"\r\n" + FErrors->Text());
}

// --- Preview, print, export -------------------------------------------------------------------

void TvqrReport::ShowReport(bool ClearLastReport) {
  if (RunInProgress(*this)) return;
  if (ClearLastReport) FPreviewPages->Clear();
  if (!FOldStyleProgress) {
    FTimer->SetEnabled(true);
    ShowPreparedReport();
  } else if (PrepareReport(false)) {
    ShowPreparedReport();
  }
}

void TvqrReport::ShowPreparedReport() {
  FPreviewForm = nullptr;
  if (FPreview) {
    FPreview->Report = this;
    FPreview->PreviewPages = FPreviewPages.get();
    FPreview->Init();
    return;
  }
  if (!PreviewWindowFactory()) return;
  IvqrPreviewWindow* Form = PreviewWindowFactory()(this);
  if (!Form) return;
  FPreviewForm = Form;
  FPreview = Form->Preview();
  if (FPreview) {
    FPreview->Report = this;
    FPreview->PreviewPages = FPreviewPages.get();
  }
  Form->Init();
  if (FOnPreview) FOnPreview(this);
  if (FPreviewOptions->Maximized()) Form->SetDesignedPosition();
  if (FPreviewOptions->Modal()) {
    Form->ShowModal();
    FPreview = nullptr;
    FPreviewForm = nullptr;
    delete Form;
  } else {
    Form->ShowModeless(!FPreviewOptions->MDIChild());
  }
}

bool TvqrReport::Print() {
  if (RunInProgress(*this)) return false;
  TBusyScope Guard(FBusy);
  return FPreviewPages->Print();
}

bool TvqrReport::Export(TvqrCustomExportFilter* Filter) {
  if (RunInProgress(*this)) return false;
  TBusyScope Guard(FBusy);
  return FPreviewPages->Export(Filter);
}

// --- Progress ---------------------------------------------------------------------------------

void TvqrReport::InternalOnProgressStart(TvqrProgressType ProgressType) {
  if (FEngineOptions->EnableThreadSafe()) return;
  if (FOnProgressStart) FOnProgressStart(this, ProgressType, 0);
  if ((FOldStyleProgress || ProgressType != ptRunning) && FShowProgress) {
    FProgress.reset();
    if (ProgressWindowFactory()) {
      FProgress.reset(ProgressWindowFactory()(this));
      if (FProgress) FProgress->Execute(0, String(), true, false);
    }
  }
  if (FPreview && ProgressType == ptRunning)
    FPreview->InternalOnProgressStart(this, ProgressType, 0);
  ProcessPendingMessages();
}

void TvqrReport::InternalOnProgress(TvqrProgressType ProgressType, int Progress) {
  if (FEngineOptions->EnableThreadSafe()) return;
  if (FOnProgress) FOnProgress(this, ProgressType, Progress);
  if ((FOldStyleProgress || ProgressType != ptRunning) && FShowProgress && FProgress) {
    const char16_t* Key = ProgressType == ptExporting  ? u"prExporting"
                          : ProgressType == ptPrinting ? u"prPrinting"
                          : FEngine->FinalPass         ? u"prRunning"
                                                       : u"prRunningFirst";
    FProgress->SetMessage(Format(ResText(Key), {Progress}));
    if (FProgress->Canceled()) SetTerminated(true);
  }
  if (FPreview && ProgressType == ptRunning)
    FPreview->InternalOnProgress(this, ProgressType, Progress - 1);
  ProcessPendingMessages();
}

void TvqrReport::InternalOnProgressStop(TvqrProgressType ProgressType) {
  if (FEngineOptions->EnableThreadSafe()) return;
  if (FOnProgressStop) FOnProgressStop(this, ProgressType, 0);
  if ((FOldStyleProgress || ProgressType != ptRunning) && FShowProgress) FProgress.reset();
  if (FPreview && ProgressType == ptRunning)
    FPreview->InternalOnProgressStop(this, ProgressType, 0);
  ProcessPendingMessages();
}

void TvqrReport::SetProgressMessage(const String& Value, bool IsHint) {
  if (FEngineOptions->EnableThreadSafe()) return;
  if (FOldStyleProgress && FEngine->Running && FShowProgress && FProgress)
    FProgress->SetMessage(Value);
  if (FPreviewForm) FPreviewForm->SetMessageText(Value, IsHint);
  ProcessPendingMessages();
}
