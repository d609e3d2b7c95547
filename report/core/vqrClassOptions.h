// vqrClassOptions.h - a report's option objects, its dataset list and its style sheet.
//
// The report creates each of these in its constructor and frees it in its destructor; the
// option objects are stored with the report's published properties as nested objects
// ("EngineOptions.DoublePass"), the dataset list and the styles as the report's collections.
// A published property without a declared default is always stored.
#pragma once

#include <memory>

#include "platform/classes/Collection.h"
#include "platform/classes/Strings.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Picture.h"

class TStream;
class TvqrReport;
class TvqrDataSet;
class TvqrXMLItem;
class TvqrFrame;

VORENTA_ENUM(TvqrSilentMode, simMessageBoxes, simSilent, simReThrow);
VORENTA_ENUM(TvqrPreviewButton, pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline,
             pbPageSetup, pbTools, pbEdit, pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen,
             pbNoEmail);
VORENTA_SET(TvqrPreviewButtons, TvqrPreviewButton);
VORENTA_ENUM(TvqrZoomMode, zmDefault, zmWholePage, zmPageWidth, zmManyPages);
VORENTA_ENUM(TvqrPrintMode, pmDefault, pmSplit, pmJoin, pmScale);
VORENTA_ENUM(TvqrPrintPages, ppAll, ppOdd, ppEven);
VORENTA_ENUM(TvqrDuplexMode, dmNone, dmVertical, dmHorizontal, dmSimplex);

// =============================================================================================
// Option objects
// =============================================================================================

class TvqrEngineOptions : public TPersistent {
  VORENTA_CLASS(TvqrEngineOptions, TPersistent)
public:
  TvqrEngineOptions();
  // Copies the stored options; not DestroyForms, EnableThreadSafe, UseGlobalDataSetList.
  void Assign(TPersistent* Source) override;
  // Sets ConvertNulls true, IgnoreDevByZero and DoublePass false.
  void Clear();

  bool ConvertNulls() const { return FConvertNulls; }
  void SetConvertNulls(bool Value) { FConvertNulls = Value; }
  bool DoublePass() const { return FDoublePass; }
  void SetDoublePass(bool Value) { FDoublePass = Value; }
  int MaxMemSize() const { return FMaxMemSize; }
  void SetMaxMemSize(int Value) { FMaxMemSize = Value; }
  bool PrintIfEmpty() const { return FPrintIfEmpty; }
  void SetPrintIfEmpty(bool Value) { FPrintIfEmpty = Value; }
  // A view of NewSilentMode: true exactly for simSilent; writing false gives simMessageBoxes.
  bool SilentMode() const { return FSilentMode == simSilent; }
  void SetSilentMode(bool Value) { FSilentMode = Value ? simSilent : simMessageBoxes; }
  TvqrSilentMode NewSilentMode() const { return FSilentMode; }
  void SetNewSilentMode(TvqrSilentMode Value) { FSilentMode = Value; }
  const String& TempDir() const { return FTempDir; }
  void SetTempDir(const String& Value) { FTempDir = Value; }
  bool UseFileCache() const { return FUseFileCache; }
  void SetUseFileCache(bool Value) { FUseFileCache = Value; }
  bool IgnoreDevByZero() const { return FIgnoreDevByZero; }
  void SetIgnoreDevByZero(bool Value) { FIgnoreDevByZero = Value; }
  // Public, not stored.
  bool DestroyForms() const { return FDestroyForms; }
  void SetDestroyForms(bool Value) { FDestroyForms = Value; }
  bool EnableThreadSafe() const { return FEnableThreadSafe; }
  void SetEnableThreadSafe(bool Value) { FEnableThreadSafe = Value; }
  bool UseGlobalDataSetList() const { return FUseGlobalDataSetList; }
  void SetUseGlobalDataSetList(bool Value) { FUseGlobalDataSetList = Value; }

private:
  bool FConvertNulls = true;
  bool FDoublePass = false;
  int FMaxMemSize = 10;
  bool FPrintIfEmpty = true;
  TvqrSilentMode FSilentMode = simMessageBoxes;
  String FTempDir;
  bool FUseFileCache = false;
  bool FIgnoreDevByZero = false;
  bool FDestroyForms = true;
  bool FEnableThreadSafe = false;
  bool FUseGlobalDataSetList = true;
};

class TvqrPreviewOptions : public TPersistent {
  VORENTA_CLASS(TvqrPreviewOptions, TPersistent)
public:
  TvqrPreviewOptions();
  // Copies every property, RTLPreview included.
  void Assign(TPersistent* Source) override;
  // Resets the outline and thumbnail settings and PagesInCache.
  void Clear();

  bool AllowEdit() const { return FAllowEdit; }
  void SetAllowEdit(bool Value) { FAllowEdit = Value; }
  TvqrPreviewButtons Buttons() const { return FButtons; }
  void SetButtons(TvqrPreviewButtons Value) { FButtons = Value; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  bool Maximized() const { return FMaximized; }
  void SetMaximized(bool Value) { FMaximized = Value; }
  bool MDIChild() const { return FMDIChild; }
  void SetMDIChild(bool Value) { FMDIChild = Value; }
  bool Modal() const { return FModal; }
  void SetModal(bool Value) { FModal = Value; }
  bool OutlineExpand() const { return FOutlineExpand; }
  void SetOutlineExpand(bool Value) { FOutlineExpand = Value; }
  bool OutlineVisible() const { return FOutlineVisible; }
  void SetOutlineVisible(bool Value) { FOutlineVisible = Value; }
  int OutlineWidth() const { return FOutlineWidth; }
  void SetOutlineWidth(int Value) { FOutlineWidth = Value; }
  int PagesInCache() const { return FPagesInCache; }
  void SetPagesInCache(int Value) { FPagesInCache = Value; }
  bool ThumbnailVisible() const { return FThumbnailVisible; }
  void SetThumbnailVisible(bool Value) { FThumbnailVisible = Value; }
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value) { FShowCaptions = Value; }
  Extended Zoom() const { return FZoom; }
  void SetZoom(Extended Value) { FZoom = Value; }
  TvqrZoomMode ZoomMode() const { return FZoomMode; }
  void SetZoomMode(TvqrZoomMode Value) { FZoomMode = Value; }
  bool PictureCacheInFile() const { return FPictureCacheInFile; }
  void SetPictureCacheInFile(bool Value) { FPictureCacheInFile = Value; }
  bool RTLPreview() const { return FRTLPreview; }
  void SetRTLPreview(bool Value) { FRTLPreview = Value; }

  // The buttons shown by default: pbPrint .. pbExportQuick.
  static TvqrPreviewButtons DefaultButtons();

private:
  bool FAllowEdit = true;
  TvqrPreviewButtons FButtons;
  bool FDoubleBuffered = true;
  bool FMaximized = true;
  bool FMDIChild = false;
  bool FModal = true;
  bool FOutlineExpand = true;
  bool FOutlineVisible = false;
  int FOutlineWidth = 120;
  int FPagesInCache = 50;
  bool FThumbnailVisible = false;
  bool FShowCaptions = false;
  Extended FZoom = 1.0;
  TvqrZoomMode FZoomMode = zmDefault;
  bool FPictureCacheInFile = false;
  bool FRTLPreview = false;
};

class TvqrPrintOptions : public TPersistent {
  VORENTA_CLASS(TvqrPrintOptions, TPersistent)
public:
  TvqrPrintOptions();
  void Assign(TPersistent* Source) override;
  // Printer becomes the string table's "prDefault" text of the moment.
  void Clear();

  int Copies() const { return FCopies; }
  void SetCopies(int Value) { FCopies = Value; }
  bool Collate() const { return FCollate; }
  void SetCollate(bool Value) { FCollate = Value; }
  const String& PageNumbers() const { return FPageNumbers; }
  void SetPageNumbers(const String& Value) { FPageNumbers = Value; }
  const String& Printer() const { return FPrinter; }
  void SetPrinter(const String& Value) { FPrinter = Value; }
  TvqrPrintMode PrintMode() const { return FPrintMode; }
  void SetPrintMode(TvqrPrintMode Value) { FPrintMode = Value; }
  int PrintOnSheet() const { return FPrintOnSheet; }
  void SetPrintOnSheet(int Value) { FPrintOnSheet = Value; }
  TvqrPrintPages PrintPages() const { return FPrintPages; }
  void SetPrintPages(TvqrPrintPages Value) { FPrintPages = Value; }
  bool Reverse() const { return FReverse; }
  void SetReverse(bool Value) { FReverse = Value; }
  bool ShowDialog() const { return FShowDialog; }
  void SetShowDialog(bool Value) { FShowDialog = Value; }
  bool SwapPageSize() const { return FSwapPageSize; }
  void SetSwapPageSize(bool Value) { FSwapPageSize = Value; }
  int PagesOnSheet() const { return FPagesOnSheet; }
  void SetPagesOnSheet(int Value) { FPagesOnSheet = Value; }
  const String& PrnOutFileName() const { return FPrnOutFileName; }
  void SetPrnOutFileName(const String& Value) { FPrnOutFileName = Value; }
  TvqrDuplexMode Duplex() const { return FDuplex; }
  void SetDuplex(TvqrDuplexMode Value) { FDuplex = Value; }
  int SplicingLine() const { return FSplicingLine; }
  void SetSplicingLine(int Value) { FSplicingLine = Value; }

private:
  int FCopies = 1;
  bool FCollate = true;
  String FPageNumbers;
  String FPrinter;
  TvqrPrintMode FPrintMode = pmDefault;
  int FPrintOnSheet = 0;
  TvqrPrintPages FPrintPages = ppAll;
  bool FReverse = false;
  bool FShowDialog = true;
  bool FSwapPageSize = false;
  int FPagesOnSheet = 0;
  String FPrnOutFileName;
  TvqrDuplexMode FDuplex = dmNone;
  int FSplicingLine = 3;
};

class TvqrReportOptions : public TPersistent {
  VORENTA_CLASS(TvqrReportOptions, TPersistent)
public:
  explicit TvqrReportOptions(TvqrReport* AReport = nullptr);
  ~TvqrReportOptions() override;
  void Assign(TPersistent* Source) override;
  // Keeps the descriptive fields while Info is set; always empties the connection, the
  // init string, the name and both passwords.
  void Clear();

  TvqrReport* Report() const { return FReport; }
  void SetReport(TvqrReport* Value) { FReport = Value; }

  const String& Author() const { return FAuthor; }
  void SetAuthor(const String& Value) { FAuthor = Value; }
  bool Compressed() const { return FCompressed; }
  void SetCompressed(bool Value) { FCompressed = Value; }
  const String& ConnectionName() const { return FConnectionName; }
  // Stores the name and, with a report that has OnSetConnection, looks the connection up.
  void SetConnectionName(const String& Value);
  TDateTime CreateDate() const { return FCreateDate; }
  void SetCreateDate(TDateTime Value) { FCreateDate = Value; }
  TDateTime LastChange() const { return FLastChange; }
  void SetLastChange(TDateTime Value) { FLastChange = Value; }
  TStrings* Description() const { return FDescription.get(); }
  void SetDescription(TStrings* Value) { FDescription->Assign(Value); }
  const String& InitString() const { return FInitString; }
  void SetInitString(const String& Value) { FInitString = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  const String& Password() const { return FPassword; }
  void SetPassword(const String& Value) { FPassword = Value; }
  // The report's picture; assigning copies it.
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  const String& VersionBuild() const { return FVersionBuild; }
  void SetVersionBuild(const String& Value) { FVersionBuild = Value; }
  const String& VersionMajor() const { return FVersionMajor; }
  void SetVersionMajor(const String& Value) { FVersionMajor = Value; }
  const String& VersionMinor() const { return FVersionMinor; }
  void SetVersionMinor(const String& Value) { FVersionMinor = Value; }
  const String& VersionRelease() const { return FVersionRelease; }
  void SetVersionRelease(const String& Value) { FVersionRelease = Value; }
  void SetPrevPassword(const String& Value) { FPrevPassword = Value; }
  const String& HiddenPassword() const { return FHiddenPassword; }
  void SetHiddenPassword(const String& Value) { FHiddenPassword = Value; }
  bool Info() const { return FInfo; }
  void SetInfo(bool Value) { FInfo = Value; }

  // True when there is no password or it was accepted before; otherwise asks through the
  // password prompt (see SetPasswordPrompt) and, on a wrong or cancelled answer, adds
  // "Invalid password" to the report's errors, reports them and returns false.
  bool CheckPassword();

  // --- for tests and the preview unit -------------------------------------------------------
  // The password window: returns false when cancelled, else true with the typed text.
  using TvqrPasswordPrompt = std::function<bool(String& Password)>;
  static void SetPasswordPrompt(TvqrPasswordPrompt Prompt);

private:
  TvqrReport* FReport;
  String FAuthor;
  bool FCompressed = false;
  String FConnectionName;
  TDateTime FCreateDate = 0;
  TDateTime FLastChange = 0;
  std::unique_ptr<TStringList> FDescription;
  String FInitString;
  String FName;
  String FPassword;
  std::unique_ptr<TPicture> FPicture;
  String FVersionBuild, FVersionMajor, FVersionMinor, FVersionRelease;
  String FPrevPassword;
  String FHiddenPassword;
  bool FInfo = false;
};

// The registry key of named connections ("\Software\Quillerant\Connections").
String& vqrConnectionsKey();

// =============================================================================================
// Dataset list
// =============================================================================================

class TvqrDataSetItem : public TCollectionItem {
  VORENTA_CLASS(TvqrDataSetItem, TCollectionItem)
public:
  explicit TvqrDataSetItem(TCollection* ACollection);

  TvqrDataSet* DataSet() const { return FDataSet; }
  // Stores the data source and takes its user name.
  void SetDataSet(TvqrDataSet* Value);
  // The data source's user name when one is set, else the stored name.
  String DataSetName() const;
  // An empty name clears DataSet; otherwise the report resolves it (FindDataSet).
  void SetDataSetName(const String& Value);

private:
  TvqrDataSet* FDataSet = nullptr;
  String FDataSetName;
};

class TvqrReportDataSets : public TCollection {
  VORENTA_CLASS(TvqrReportDataSets, TCollection)
public:
  explicit TvqrReportDataSets(TvqrReport* AReport = nullptr);

  TvqrReport* Report() const { return FReport; }
  TvqrDataSetItem* Items(int Index) const;
  void Add(TvqrDataSet* DataSet);
  TvqrDataSetItem* Find(TvqrDataSet* DataSet) const;
  // The first item whose data source's user name is Name (ASCII case ignored).
  TvqrDataSetItem* Find(const String& Name) const;
  void Delete(const String& Name);
  // Gives each data source the report and calls its Initialize / Finalize.
  void Initialize();
  void Finalize();

private:
  TvqrReport* FReport;
};

// =============================================================================================
// Styles
// =============================================================================================

class TvqrStyleItem : public TCollectionItem {
  VORENTA_CLASS(TvqrStyleItem, TCollectionItem)
public:
  explicit TvqrStyleItem(TCollection* ACollection);
  ~TvqrStyleItem() override;
  void Assign(TPersistent* Source) override;

  const String& Name() const { return FName; }
  // Raises Exception "Duplicate name" when another item of the sheet has it (case ignored).
  void SetName(const String& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TvqrFrame* Frame() const { return FFrame.get(); }
  void SetFrame(TvqrFrame* Value);
  // "Style" followed by the smallest number from 1 that no item has.
  void CreateUniqueName();
  String DisplayName() const override { return FName; }

private:
  String FName;
  TColor FColor = clNone;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TvqrFrame> FFrame;
};

class TvqrStyles : public TCollection {
  VORENTA_CLASS(TvqrStyles, TCollection)
public:
  explicit TvqrStyles(TvqrReport* AReport = nullptr);

  TvqrReport* Report() const { return FReport; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TvqrStyleItem* Items(int Index) const;
  TvqrStyleItem* Add();
  // The first item named Name (the locale's case rules ignored), or nullptr.
  TvqrStyleItem* Find(const String& Name) const;
  void GetList(TStrings* List) const;
  // Writes every text object's Style again: the existing style's name, or empty.
  void Apply();

  // The style sheet file: root "style" with Name, one "item" child per style.
  void LoadFromFile(const String& FileName);
  void LoadFromStream(TStream* Stream);
  void LoadFromXMLItem(TvqrXMLItem* Item, bool OldXMLFormat = false);
  void SaveToFile(const String& FileName);
  void SaveToStream(TStream* Stream);
  void SaveToXMLItem(TvqrXMLItem* Item);

private:
  TvqrReport* FReport;
  String FName;
};
