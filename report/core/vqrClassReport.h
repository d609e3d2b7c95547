// vqrClassReport.h - TvqrReport, the root of every report: its owned parts (dataset list,
// variables, styles, options, script, timer, engine, prepared pages), the report run seen
// from the report (PrepareReport), the preview, print and export entry points, progress
// reporting, and loading, saving and inheriting templates.
//
// The preview and progress windows live in the output module; the report reaches them
// through two factory slots that module fills. Unset, no window opens and the hooks still
// run in order.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/IniFiles.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassDataSet.h"

class TTimer;
class TksScript;
class TvqrCustomDatabase;
class TvqrCustomEngine;
class TvqrCustomExportFilter;
class TvqrCustomPreview;
class TvqrCustomPreviewPages;
class TvqrReportPage;
class TvqrView;

VORENTA_ENUM(TvqrInheriteMode, imDefault, imDelete, imRename);

// A code unit of a stored password is 10 lower than the typed one (modulo 65536).
String ShiftPasswordOut(const String& Password);
String ShiftPasswordIn(const String& Password);

// --- The windows the output module provides ------------------------------------------------

// The preview window a report opens: the report hands it itself; the window shows the
// report's prepared pages and tells when it closes.
class IvqrPreviewWindow {
public:
  virtual ~IvqrPreviewWindow() = default;
  virtual TvqrCustomPreview* Preview() = 0;
  virtual void Init() = 0;
  virtual void SetDesignedPosition() = 0;
  // Modal shows return when the window closes; the report then frees it.
  virtual void ShowModal() = 0;
  // Modeless: the window frees itself when closed and calls the report's PreviewClosed.
  virtual void ShowModeless(bool AppWindow) = 0;
  virtual void Close() = 0;
  virtual void SetMessageText(const String& Text, bool IsHint) = 0;
};

class IvqrProgressWindow {
public:
  virtual ~IvqrProgressWindow() = default;
  // Maximum 0, empty message, Cancel shown, no progress bar.
  virtual void Execute(int MaxValue, const String& Msg, bool Canceled, bool ShowProgress) = 0;
  virtual void SetMessage(const String& Msg) = 0;
  virtual bool Canceled() const = 0;
};

using TvqrPreviewWindowFactory = std::function<IvqrPreviewWindow*(TvqrReport* Report)>;
using TvqrProgressWindowFactory = std::function<IvqrProgressWindow*(TvqrReport* Report)>;
// The answer of the inherit-error dialog: false cancels; DeleteDuplicates says what to do.
// The band engine and the prepared-page store a new report creates (set by their units);
// unset, the abstract classes stand in.
using TvqrEngineFactory = std::function<TvqrCustomEngine*(TvqrReport* Report)>;
using TvqrPreviewPagesFactory = std::function<TvqrCustomPreviewPages*(TvqrReport* Report)>;
// Registers the report's objects, variables and functions in its script before it compiles
// (set by the engine's expression unit).
using TvqrPrepareScriptHook = std::function<void(TvqrReport* Report)>;
using TvqrInheritErrorHandler = std::function<bool(TvqrReport* Report, bool& DeleteDuplicates)>;

class TvqrReport : public TvqrComponent {
  VORENTA_CLASS(TvqrReport, TvqrComponent)
public:
  // --- event types --------------------------------------------------------------------------
  using TvqrComponentEvent = std::function<void(TvqrReportComponent* Sender)>;
  using TvqrBeforeConnectEvent = std::function<void(TvqrCustomDatabase* Sender, bool& Connected)>;
  using TvqrAfterDisconnectEvent = std::function<void(TvqrCustomDatabase* Sender)>;
  using TvqrClickObjectEvent = std::function<void(TvqrView* Sender, TMouseButton Button,
                                                  TShiftState Shift, bool& Modified)>;
  using TvqrEditConnectionEvent = std::function<String(const String& ConnString)>;
  using TvqrLoadTemplateEvent = std::function<void(TvqrReport* Report, const String& Name)>;
  using TvqrManualBuildEvent = std::function<void(TvqrComponent* Page)>;
  using TvqrMouseOverObjectEvent = std::function<void(TvqrView* Sender)>;
  using TvqrPrintPageEvent = std::function<void(TvqrReportPage* Page, int CopyNo)>;
  using TvqrProgressEvent =
      std::function<void(TvqrReport* Sender, TvqrProgressType ProgressType, int Progress)>;
  using TvqrSetConnectionEvent = std::function<void(const String& ConnString)>;
  using TvqrUserFunctionEvent =
      std::function<Variant(const String& MethodName, Variant& Params)>;

  explicit TvqrReport(TComponent* AOwner);
  ~TvqrReport() override;

  // Frees the pages and resets the lists, options, script and system variables.
  void Clear() override;
  String GetDescription() const override;

  // --- Children -----------------------------------------------------------------------------
  int PagesCount() const { return static_cast<int>(Objects().size()); }
  // The child at Index as a page (nullptr when it is none).
  TvqrPage* Pages(int Index) const;

  // --- Owned parts --------------------------------------------------------------------------
  TvqrEngineOptions* EngineOptions() const { return FEngineOptions.get(); }
  void SetEngineOptions(TvqrEngineOptions* Value) { FEngineOptions->Assign(Value); }
  TvqrPreviewOptions* PreviewOptions() const { return FPreviewOptions.get(); }
  void SetPreviewOptions(TvqrPreviewOptions* Value) { FPreviewOptions->Assign(Value); }
  TvqrPrintOptions* PrintOptions() const { return FPrintOptions.get(); }
  void SetPrintOptions(TvqrPrintOptions* Value) { FPrintOptions->Assign(Value); }
  TvqrReportOptions* ReportOptions() const { return FReportOptions.get(); }
  void SetReportOptions(TvqrReportOptions* Value) { FReportOptions->Assign(Value); }
  TvqrReportDataSets* DataSets() const { return FDataSets.get(); }
  TvqrReportDataSets* EnabledDataSets() const { return FEnabledDataSets.get(); }
  TvqrStyles* Styles() const { return FStyles.get(); }
  TvqrVariables* Variables() const { return FVariables.get(); }
  // None clears the sheet; otherwise copies Value and applies it to the text objects.
  void SetStyles(TvqrStyles* Value);
  // Errors of the last load or run: sorted, each text once.
  TStringList* Errors() const { return FErrors.get(); }
  // Reads empty while the report is written to a form resource without StoreInDFM.
  TStrings* ScriptText() const;
  void SetScriptText(TStrings* Value) { FScriptText->Assign(Value); }
  TksScript* Script() const { return FScript.get(); }
  TTimer* Timer() const { return FTimer.get(); }
  TStringList* SysVariables() const { return FSysVariables.get(); }
  TStringList* DrillState() const { return FDrillState.get(); }

  // --- Plain properties ---------------------------------------------------------------------
  // Always "4.9.38": the setter ignores its argument.
  const String& Version() const { return FVersion; }
  void SetVersion(const String&) { FVersion = u"4.9.38"; }
  const String& ParentReport() const { return FParentReport; }
  // Loads the parent template into this report and marks its objects as ancestors.
  void SetParentReport(const String& Value);
  TvqrReport* ParentReportObject() const { return FParentReportObject.get(); }
  TvqrDataSet* DataSet() const { return FDataSet.DataSet; }
  void SetDataSet(TvqrDataSet* Value);
  String DataSetName() const;
  void SetDataSetName(const String& Value);
  bool DotMatrixReport() const { return FDotMatrixReport; }
  void SetDotMatrixReport(bool Value) { FDotMatrixReport = Value; }
  const String& IniFile() const { return FIniFile; }
  void SetIniFile(const String& Value) { FIniFile = Value; }
  bool OldStyleProgress() const { return FOldStyleProgress; }
  void SetOldStyleProgress(bool Value) { FOldStyleProgress = Value; }
  const String& ScriptLanguage() const { return FScriptLanguage; }
  void SetScriptLanguage(const String& Value) { FScriptLanguage = Value; }
  bool ShowProgress() const { return FShowProgress; }
  void SetShowProgress(bool Value) { FShowProgress = Value; }
  bool StoreInDFM() const { return FStoreInDFM; }
  void SetStoreInDFM(bool Value) { FStoreInDFM = Value; }
  bool Terminated() const { return FTerminated; }
  // True also stops the running script.
  void SetTerminated(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const String& CurObject() const { return FCurObject; }
  void SetCurObject(const String& Value) { FCurObject = Value; }
  bool Reloading() const { return FReloading; }
  // True while PrepareReport (template reload included), Print or Export of this report runs.
  bool Busy() const { return FBusy; }
  bool StreamLoaded() const { return FStreamLoaded; }
  TStream* LoadStream() const { return FLoadStream; }

  // --- Script events (procedure names; not published) --------------------------------------
  String OnRunDialogs, OnStartReport, OnStopReport, OnReportPrint;

  // --- Host events --------------------------------------------------------------------------
#define VQR_REPORT_EVENT(Name, Type)                         \
  const Type& Name() const { return F##Name; }               \
  void Set##Name(const Type& Value) { F##Name = Value; }
  VQR_REPORT_EVENT(OnAfterPrint, TvqrComponentEvent)
  VQR_REPORT_EVENT(OnAfterPrintReport, TNotifyEvent)
  VQR_REPORT_EVENT(OnBeforeConnect, TvqrBeforeConnectEvent)
  VQR_REPORT_EVENT(OnAfterDisconnect, TvqrAfterDisconnectEvent)
  VQR_REPORT_EVENT(OnBeforePrint, TvqrComponentEvent)
  VQR_REPORT_EVENT(OnBeginDoc, TNotifyEvent)
  VQR_REPORT_EVENT(OnClickObject, TvqrClickObjectEvent)
  VQR_REPORT_EVENT(OnDblClickObject, TvqrClickObjectEvent)
  VQR_REPORT_EVENT(OnEditConnection, TvqrEditConnectionEvent)
  VQR_REPORT_EVENT(OnEndDoc, TNotifyEvent)
  VQR_REPORT_EVENT(OnGetValue, TvqrGetValueEvent)
  VQR_REPORT_EVENT(OnNewGetValue, TvqrNewGetValueEvent)
  VQR_REPORT_EVENT(OnLoadTemplate, TvqrLoadTemplateEvent)
  VQR_REPORT_EVENT(OnManualBuild, TvqrManualBuildEvent)
  VQR_REPORT_EVENT(OnMouseOverObject, TvqrMouseOverObjectEvent)
  VQR_REPORT_EVENT(OnPreview, TNotifyEvent)
  VQR_REPORT_EVENT(OnPrintPage, TvqrPrintPageEvent)
  VQR_REPORT_EVENT(OnPrintReport, TNotifyEvent)
  VQR_REPORT_EVENT(OnProgressStart, TvqrProgressEvent)
  VQR_REPORT_EVENT(OnProgress, TvqrProgressEvent)
  VQR_REPORT_EVENT(OnProgressStop, TvqrProgressEvent)
  VQR_REPORT_EVENT(OnSetConnection, TvqrSetConnectionEvent)
  VQR_REPORT_EVENT(OnUserFunction, TvqrUserFunctionEvent)
  VQR_REPORT_EVENT(OnClosePreview, TNotifyEvent)
  VQR_REPORT_EVENT(OnAfterScriptCompile, TNotifyEvent)
#undef VQR_REPORT_EVENT

  // --- The serializer reading this report, while one does (owned by the reader) -----------
  TvqrXMLSerializer* XMLSerializer() const { return FXMLSerializer; }
  void SetXMLSerializer(TvqrXMLSerializer* Value) { FXMLSerializer = Value; }

  // --- Run collaborators --------------------------------------------------------------------
  // Owned: the engine and the prepared-page store, linked to each other.
  TvqrCustomEngine* Engine() const { return FEngine.get(); }
  TvqrCustomPreviewPages* PreviewPages() const { return FPreviewPages.get(); }
  TvqrCustomPreview* Preview() const { return FPreview; }
  // Detaching clears the old preview's links; attaching sets them and runs its Init.
  void SetPreview(TvqrCustomPreview* Value);
  IvqrPreviewWindow* PreviewForm() const { return FPreviewForm; }
  // Called by a modeless preview window when it closes (it frees itself).
  void PreviewClosed() { FPreviewForm = nullptr; }

  // --- The run ------------------------------------------------------------------------------
  // True when the run finished and no error was recorded; errors are reported once.
  bool PrepareReport(bool ClearLastReport = true);
  // With OldStyleProgress false the preview opens at once and the run starts on the timer.
  void ShowReport(bool ClearLastReport = true);
  void ShowPreparedReport();
  bool Print();
  bool Export(TvqrCustomExportFilter* Filter);
  // Compiles ScriptText ("clScrError" in Errors when it fails); the engine unit registers
  // the report's objects and functions before it.
  virtual bool PrepareScript();
  void InternalOnProgressStart(TvqrProgressType ProgressType);
  void InternalOnProgress(TvqrProgressType ProgressType, int Progress);
  void InternalOnProgressStop(TvqrProgressType ProgressType);
  void SetProgressMessage(const String& Value, bool IsHint = false);

  // --- Data sources -------------------------------------------------------------------------
  // "" for none; the user name when listed in DataSets; else "clDSNotIncl".
  String GetAlias(TvqrDataSet* DataSet) const;
  TvqrDataSet* GetDataset(const String& Alias) const;
  // Splits ds."field" into the data source and the field name; both empty otherwise.
  void GetDatasetAndField(const String& ComplexName, TvqrDataSet*& Dataset, String& Field) const;
  void GetDataSetList(TStrings* List, bool OnlyDB) const;
  void GetActiveDataSetList(TStrings* List) const;

  // --- Settings and folders -----------------------------------------------------------------
  // A new settings object the caller frees: the registry for "\Software\...", else a file.
  TCustomIniFile* GetIniFile() const;
  String GetApplicationFolder() const;
  // Makes the printer PrintOptions names current when the printer list has it.
  void SelectPrinter();
  // No designer exists in this system.
  void DesignReport(bool = false, bool = false) {}
  bool DesignPreviewPage() { return false; }

  // --- Templates ----------------------------------------------------------------------------
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                    bool UseGetAncestor = false) override;
  // Clears the report; false (and nothing read) when the file is missing, unless
  // ExceptionIfNotFound.
  bool LoadFromFile(const String& AFileName, bool ExceptionIfNotFound = false);
  // A ParentReport with a drive, UNC or "/" path is stored relative to the file's folder.
  void SaveToFile(const String& AFileName);
  // Makes sure a data page exists (named "Data" when free), first among the pages.
  void CheckDataPage();
  bool InheritFromTemplate(const String& TemplateName, TvqrInheriteMode InheriteMode);

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- Set by the output module -------------------------------------------------------------
  static void SetPreviewWindowFactory(TvqrPreviewWindowFactory Factory);
  static void SetProgressWindowFactory(TvqrProgressWindowFactory Factory);
  static void SetInheritErrorHandler(TvqrInheritErrorHandler Handler);
  // --- Set by the engine's and the page store's units ---------------------------------------
  static void SetEngineFactory(TvqrEngineFactory Factory);
  static void SetPreviewPagesFactory(TvqrPreviewPagesFactory Factory);
  static void SetPrepareScriptHook(TvqrPrepareScriptHook Hook);

  // --- for tests ----------------------------------------------------------------------------
  // Replaces the owned engine or page store (the report takes ownership and links them).
  void SetEngineForTest(TvqrCustomEngine* Value);
  void SetPreviewPagesForTest(TvqrCustomPreviewPages* Value);

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  void ClearObjects();
  void LinkEngineAndPages();
  void ReportErrors();
  bool RunGuarded();
  void LoadTemplateStream(TStream* Stream);
  void RestoreAfterLoad(bool Decrypted);
  void MarkAncestors(bool Value);
  String ResolveParentPath(const String& Value) const;
  void MergeInto(TvqrComponent* Source, TvqrComponent* Target, TvqrReport* OldCopy,
                 bool DeleteDuplicates, std::vector<TvqrFixupItem>& Fixups);

  std::unique_ptr<TvqrReportDataSets> FDataSets;
  std::unique_ptr<TvqrVariables> FVariables;
  std::unique_ptr<TksScript> FScript;
  std::unique_ptr<TTimer> FTimer;
  std::unique_ptr<TvqrEngineOptions> FEngineOptions;
  std::unique_ptr<TvqrPreviewOptions> FPreviewOptions;
  std::unique_ptr<TvqrPrintOptions> FPrintOptions;
  std::unique_ptr<TvqrReportOptions> FReportOptions;
  std::unique_ptr<TStringList> FScriptText;
  std::unique_ptr<TStringList> FFakeScriptText;
  std::unique_ptr<TStringList> FErrors;
  std::unique_ptr<TvqrStyles> FStyles;
  std::unique_ptr<TStringList> FSysVariables;
  std::unique_ptr<TvqrReportDataSets> FEnabledDataSets;
  std::unique_ptr<TvqrCustomEngine> FEngine;
  std::unique_ptr<TvqrCustomPreviewPages> FPreviewPages;
  std::unique_ptr<TStringList> FDrillState;
  std::unique_ptr<TvqrReport> FParentReportObject;

  String FVersion = u"4.9.38";
  String FParentReport;
  TvqrDataSetRef FDataSet;
  // While the objects are cleared: the owned components that may stay, the only ones told
  // that an object goes (telling each of thousands going objects about each other made
  // clearing quadratic).
  std::vector<TComponent*>* FClearSurvivors = nullptr;
  bool FDotMatrixReport = false;
  String FIniFile = u"\\Software\\Quillerant";
  bool FOldStyleProgress = false;
  String FScriptLanguage = u"PascalScript";
  bool FShowProgress = true;
  bool FStoreInDFM = true;
  bool FTerminated = false;
  bool FModified = false;
  bool FReloading = false;
  bool FBusy = false;
  bool FStreamLoaded = false;
  TStream* FLoadStream = nullptr;
  String FFileName;
  String FCurObject;
  TvqrXMLSerializer* FXMLSerializer = nullptr;
  TvqrCustomPreview* FPreview = nullptr;
  IvqrPreviewWindow* FPreviewForm = nullptr;
  std::unique_ptr<IvqrProgressWindow> FProgress;
  int FParentDepth = 0;
  bool FLoadsParents = true;

  TvqrComponentEvent FOnAfterPrint, FOnBeforePrint;
  TNotifyEvent FOnAfterPrintReport, FOnBeginDoc, FOnEndDoc, FOnPreview, FOnPrintReport;
  TNotifyEvent FOnClosePreview, FOnAfterScriptCompile;
  TvqrBeforeConnectEvent FOnBeforeConnect;
  TvqrAfterDisconnectEvent FOnAfterDisconnect;
  TvqrClickObjectEvent FOnClickObject, FOnDblClickObject;
  TvqrEditConnectionEvent FOnEditConnection;
  TvqrGetValueEvent FOnGetValue;
  TvqrNewGetValueEvent FOnNewGetValue;
  TvqrLoadTemplateEvent FOnLoadTemplate;
  TvqrManualBuildEvent FOnManualBuild;
  TvqrMouseOverObjectEvent FOnMouseOverObject;
  TvqrPrintPageEvent FOnPrintPage;
  TvqrProgressEvent FOnProgressStart, FOnProgress, FOnProgressStop;
  TvqrSetConnectionEvent FOnSetConnection;
  TvqrUserFunctionEvent FOnUserFunction;
};

// Registers the report classes for creation by name (form resources, the serializer).
void RegisterReportClasses();
// The report classes a template may name, in registration order.
const std::vector<TClass>& vqrReportClassList();
