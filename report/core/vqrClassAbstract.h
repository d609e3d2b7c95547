// vqrClassAbstract.h - the contracts through which a report reaches its engine, its
// prepared-page store with the outline, a preview and the export filters.
//
// The implementations live elsewhere (the band engine, the page store, the preview control,
// the PDF and spreadsheet filters). An operation called abstract below raises the platform's
// abstract-method error (vqrAbstractError) when the class at hand does not override it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/List.h"
#include "platform/classes/Strings.h"
#include "platform/graphics/Geometry.h"
#include "platform/rtl/Variant.h"
#include "report/core/vqrClass.h"

class TvqrXMLItem;
class TvqrCustomExportFilter;

// =============================================================================================
// Engine
// =============================================================================================

class TvqrCustomEngine : public TPersistent {
  VORENTA_CLASS(TvqrCustomEngine, TPersistent)
public:
  explicit TvqrCustomEngine(TvqrReport* AReport);
  ~TvqrCustomEngine() override;

  virtual Extended PageHeight() const { return FPageHeight; }
  void SetPageHeight(Extended Value) { FPageHeight = Value; }
  Extended PageWidth() const { return FPageWidth; }
  void SetPageWidth(Extended Value) { FPageWidth = Value; }

  virtual void EndPage();
  virtual void BreakAllKeep() {}
  virtual void NewColumn();
  virtual void NewPage();
  virtual void ShowBand(TvqrBand* Band);
  virtual void ShowBand(TClass BandClass);
  virtual Extended HeaderHeight();
  virtual Extended FooterHeight();
  virtual Extended FreeSpace();
  virtual Variant GetAggregateValue(const String& Name, const String& Expression,
                                    TvqrBand* Band, int Flags);
  // True when the report was built.
  virtual bool Run();

  // ShowBand of the report's object named BandName.
  void ShowBandByName(const String& BandName);
  // Sets the report's Terminated.
  void StopReport();

  TvqrReport* Report() const { return FReport; }
  TvqrCustomPreviewPages* PreviewPages() const { return FPreviewPages; }
  void SetPreviewPages(TvqrCustomPreviewPages* Value) { FPreviewPages = Value; }
  // The list the engine keeps (owned).
  TList* NotifyList() const { return FNotifyList.get(); }
  bool DoublePass() const;

  int CurColumn = 0, CurVColumn = 0;
  int CurLine = 0, CurLineThrough = 0;
  Extended CurX = 0, CurY = 0;
  bool FinalPass = false;
  bool Running = false;
  TDateTime StartDate = 0, StartTime = 0;
  int TotalPages = 0;
  bool SecondScriptCall = false;
  std::function<void(TObject* Page)> OnRunDialog;

private:
  TvqrReport* FReport;
  TvqrCustomPreviewPages* FPreviewPages = nullptr;
  std::unique_ptr<TList> FNotifyList;
  Extended FPageHeight = 0, FPageWidth = 0;
};

// =============================================================================================
// Outline of the prepared report
// =============================================================================================

class TvqrCustomOutline : public TPersistent {
  VORENTA_CLASS(TvqrCustomOutline, TPersistent)
public:
  explicit TvqrCustomOutline(TvqrCustomPreviewPages* APreviewPages);

  virtual int Count() const;
  virtual void AddItem(const String& Text, int Top);
  virtual void LevelDown(int Index);
  virtual void LevelRoot();
  virtual void LevelUp();
  virtual void GetItem(int Index, String& Text, int& Page, int& Top);
  virtual void ShiftItems(TvqrXMLItem* From, int NewTop);
  virtual TvqrXMLItem* GetCurPosition();

  TvqrCustomEngine* Engine() const;
  TvqrCustomPreviewPages* PreviewPages() const { return FPreviewPages; }
  TvqrXMLItem* CurItem = nullptr;

private:
  TvqrCustomPreviewPages* FPreviewPages;
};

// =============================================================================================
// Prepared-page store
// =============================================================================================

VORENTA_ENUM(TvqrAddPageAction, apWriteOver, apAdd);

class TvqrCustomPreviewPages : public TObject {
public:
  // The store creates its outline through OutlineFactory (set by the page-store unit); with
  // none set, it has no outline.
  explicit TvqrCustomPreviewPages(TvqrReport* AReport);
  ~TvqrCustomPreviewPages() override;

  virtual int Count() const;
  virtual TvqrReportPage* Page(int Index);
  virtual TPoint PageSize(int Index);
  virtual void Clear();
  virtual void Initialize();
  virtual void AddObject(TvqrComponent* Obj);
  virtual void AddPage(TvqrReportPage* Page);
  virtual void AddSourcePage(TvqrReportPage* Page);
  virtual void AddToSourcePage(TvqrComponent* Obj);
  virtual void BeginPass();
  virtual void ClearFirstPassPages();
  virtual void CutObjects(int APosition);
  virtual void Finish();
  virtual void IncLogicalPageNumber();
  virtual void ResetLogicalPageNumber();
  virtual void PasteObjects(Extended X, Extended Y);
  virtual void ShiftAnchors(int From, int NewTop);
  virtual void AddPicture(TvqrReportComponent* Picture);
  virtual bool BandExists(TvqrBand* Band);
  virtual int GetCurPosition();
  virtual int GetAnchorCurPosition();
  virtual Extended GetLastY(Extended ColumnPosition);
  virtual int GetLogicalPageNo();
  virtual int GetLogicalTotalPages();
  virtual void AddEmptyPage(int Index);
  virtual void DeletePage(int Index);
  virtual void ModifyPage(int Index, TvqrReportPage* Page);
  virtual void DrawPage(int Index, TCanvas* Canvas, Extended ScaleX, Extended ScaleY,
                        Extended OffsetX, Extended OffsetY);
  virtual void ObjectOver(int Index, int X, int Y, int Button, Word Shift, Extended Scale,
                          Extended OffsetX, Extended OffsetY, bool Click, int& Cursor,
                          bool DBClick);
  virtual void AddFrom(TvqrReport* Report);
  virtual void LoadFromStream(TStream* Stream, bool AllowPartialLoading = false);
  virtual void SaveToStream(TStream* Stream);
  virtual bool LoadFromFile(const String& FileName, bool ExceptionIfNotFound = false);
  virtual void SaveToFile(const String& FileName);
  virtual bool Print();
  virtual bool Export(TvqrCustomExportFilter* Filter);

  TvqrReport* Report() const { return FReport; }
  TvqrCustomEngine* Engine() const { return FEngine; }
  void SetEngine(TvqrCustomEngine* Value) { FEngine = Value; }
  TvqrCustomOutline* Outline() const { return FOutline.get(); }

  TvqrAddPageAction AddPageAction = apWriteOver;
  int CurPage = 0, CurPreviewPage = 0, FirstPage = 0;

  // --- set by the page-store unit -----------------------------------------------------------
  using TOutlineFactory = std::function<TvqrCustomOutline*(TvqrCustomPreviewPages*)>;
  static void SetOutlineFactory(TOutlineFactory Factory);

private:
  TvqrReport* FReport;
  TvqrCustomEngine* FEngine = nullptr;
  std::unique_ptr<TvqrCustomOutline> FOutline;
};

// =============================================================================================
// Preview
// =============================================================================================

// The preview control's contract. Its windowed side comes from the preview unit, which
// derives the control from this interface and the platform's custom control.
class TvqrCustomPreview {
public:
  virtual ~TvqrCustomPreview() = default;

  virtual void Init() = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  virtual void RefreshReport() = 0;
  virtual void InternalOnProgressStart(TvqrReport* Sender, TvqrProgressType ProgressType,
                                       int Progress) = 0;
  virtual void InternalOnProgress(TvqrReport* Sender, TvqrProgressType ProgressType,
                                  int Progress) = 0;
  virtual void InternalOnProgressStop(TvqrReport* Sender, TvqrProgressType ProgressType,
                                      int Progress) = 0;

  TvqrCustomPreviewPages* PreviewPages = nullptr;
  TvqrReport* Report = nullptr;
  bool UseReportHints = false;
};

// =============================================================================================
// Export filters
// =============================================================================================

class TvqrCustomExportFilter : public TComponent {
  VORENTA_CLASS(TvqrCustomExportFilter, TComponent)
public:
  // Registers the filter in the export-filter registry (unless NoRegister).
  explicit TvqrCustomExportFilter(TComponent* AOwner);
  // Sets NoRegister, then constructs without owner.
  struct NoRegisterTag {};
  explicit TvqrCustomExportFilter(NoRegisterTag);
  ~TvqrCustomExportFilter() override;

  virtual String GetDescription() { return String(); }
  // 1 (OK) here.
  virtual int ShowModal() { return 1; }
  virtual bool Start() { return true; }
  virtual void ExportObject(TvqrComponent* Obj);
  virtual void Finish() {}
  virtual void FinishPage(TvqrReportPage*, int) {}
  virtual void StartPage(TvqrReportPage*, int) {}

  // --- published ----------------------------------------------------------------------------
  bool ShowDialog() const { return FShowDialog; }
  void SetShowDialog(bool Value) { FShowDialog = Value; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  bool ExportNotPrintable() const { return FExportNotPrintable; }
  void SetExportNotPrintable(bool Value) { FExportNotPrintable = Value; }
  bool UseFileCache() const { return FUseFileCache; }
  void SetUseFileCache(bool Value) { FUseFileCache = Value; }
  const String& DefaultPath() const { return FDefaultPath; }
  void SetDefaultPath(const String& Value) { FDefaultPath = Value; }
  bool ShowProgress() const { return FShowProgress; }
  void SetShowProgress(bool Value) { FShowProgress = Value; }
  bool OverwritePrompt() const { return FOverwritePrompt; }
  void SetOverwritePrompt(bool Value) { FOverwritePrompt = Value; }
  using TNotifyEvent = std::function<void(TObject* Sender)>;
  const TNotifyEvent& OnBeginExport() const { return FOnBeginExport; }
  void SetOnBeginExport(const TNotifyEvent& Value) { FOnBeginExport = Value; }

  // --- public -------------------------------------------------------------------------------
  bool CurPage = false;
  String PageNumbers;
  TvqrReport* Report = nullptr;
  TStream* Stream = nullptr;
  bool SlaveExport = false;
  String DefaultExt;
  String FilterDesc;
  bool SuppressPageHeadersFooters = false;
  String ExportTitle;
  // Names of the files written; created by the filter that fills it.
  std::unique_ptr<TStringList> Files;
  bool NoRegister() const { return FNoRegister; }

private:
  void SetDefaults();

  bool FShowDialog = true;
  String FFileName;
  bool FExportNotPrintable = false;
  bool FUseFileCache = true;
  String FDefaultPath;
  bool FShowProgress = true;
  bool FOverwritePrompt = false;
  TNotifyEvent FOnBeginExport;
  bool FNoRegister = false;
};

// =============================================================================================
// Compatibility hooks (nothing in this system assigns them)
// =============================================================================================

class TvqrVQ2Events : public TObject {
public:
  std::function<void(const String& VarName, Variant& Value)> OnGetValue;
  std::function<void(TObject* Sender)> OnPrepareScript;
  std::function<bool(TvqrReport* Sender, TStream* Stream)> OnLoad;
  std::function<Variant(Variant& Params)> OnGetScriptValue;
  String Filter;
};

// =============================================================================================
// The module's process-wide objects
// =============================================================================================

// Starts the report engine's module once (later calls count up): the XML-loading lock, the
// class registration, the script messages from the string table and the hook object. Each
// start is paired with a vqrModuleFinalize; the last one frees what the start made.
void vqrModuleInitialize();
void vqrModuleFinalize();
// The lock that serialises XML loading of reports with EnableThreadSafe.
void vqrLockXMLLoading();
void vqrUnlockXMLLoading();
// The hook object (nullptr outside the module's life).
TvqrVQ2Events* vqrVQ2Events();
// The variables every report consults after its own (nullptr outside the module's life).
class TvqrVariables;
TvqrVariables* vqrGlobalVariables();
