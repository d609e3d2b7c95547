// vqrClass.h - the report component tree: components, pages, bands, the report object.
//
// Every object of a report is a TvqrComponent: a platform component that also sits in a tree
// of its own (Parent, ordered Objects, flattened AllObjects) with a position and size in
// Extended pixels at 96 per inch, a font that may follow the parent's, a visibility flag and
// designer restrictions. TvqrReportComponent is the base of everything that takes part in a
// report run. The option objects, the dataset list and the styles are in vqrClassOptions.h;
// the abstract engine, page-store, preview and export-filter classes in vqrClassAbstract.h.
//
// Ownership: the platform owner of every object is its report (the Report of the owner given
// to the constructor); the tree parent frees its children in Clear and in its destructor.
// Giving a TvqrComponent as owner makes the new object that component's last child.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrXMLSerializer.h"

class TStream;
class TCanvas;
class TvqrReport;
class TvqrPage;
class TvqrCustomEngine;
class TvqrCustomPreviewPages;
class TvqrCustomPreview;
class TvqrXMLSerializer;
class TvqrVariables;

// --- Enumerations and small types ---------------------------------------------------------------

VORENTA_ENUM(TvqrRestriction, rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit);
VORENTA_SET(TvqrRestrictions, TvqrRestriction);

VORENTA_ENUM(TvqrComponentStyleItem, csContainer, csPreviewVisible, csDefaultDiff);
VORENTA_SET(TvqrComponentStyle, TvqrComponentStyleItem);

VORENTA_ENUM(TvqrAlign, baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient);

VORENTA_ENUM(TvqrProgressType, ptRunning, ptExporting, ptPrinting);

// The printer's paper orientation (portrait 0, landscape 1).
VORENTA_ENUM(TPrinterOrientation, poPortrait, poLandscape);

// A procedure of the report script, by name, that the engine calls.
using TvqrNotifyEvent = String;
using TvqrPreviewClickEvent = String;

struct TvqrRect {
  Extended Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Pixels per millimetre of page geometry (the decimal 3.77953, not 96/25.4).
constexpr Extended vq01cm = 3.77953L;

// Two geometry values differ when they are more than 0.0001 apart.
bool FloatsDiffer(Extended A, Extended B);

// Raises the platform's abstract-method error (an abstract operation of a report class that
// its class does not override).
[[noreturn]] void vqrAbstractError();

// =============================================================================================
// TvqrComponent
// =============================================================================================

class TvqrComponent : public TComponent {
  VORENTA_CLASS(TvqrComponent, TComponent)
public:
  explicit TvqrComponent(TComponent* AOwner);
  ~TvqrComponent() override;
  // Sets IsDesigning, then constructs as Create(AOwner) does; Flags serve the line and shape
  // views.
  template <class T>
  static T* DesignCreate(TComponent* AOwner, Word Flags = 0);

  // --- Tree ---------------------------------------------------------------------------------
  TvqrComponent* Parent() const { return FParent; }
  virtual void SetParent(TvqrComponent* Value);
  // The direct children in z-order and output order.
  const std::vector<TvqrComponent*>& Objects() const { return FObjects; }
  virtual const std::vector<TvqrComponent*>& ContainerObjects() const { return FObjects; }
  // Every descendant, depth first, each before its children; rebuilt on every call.
  std::vector<TvqrComponent*> AllObjects() const;
  // The nearest ancestor (or this object) that is a page / the report, or nullptr.
  TvqrPage* Page() const;
  TvqrReport* Report() const;
  // The first object of AllObjects named AName (ASCII case ignored), or nullptr.
  TvqrComponent* FindObject(const String& AName) const;
  // Resolves a data-source name against the report's lists (DataSet is the one bound now):
  // with the global list in use, its first data source of that user name that belongs to no
  // other report (DataSet when none does); otherwise the report's EnabledDataSets entry.
  TvqrDataSet* FindDataSet(TvqrDataSet* DataSet, const String& DSName) const;

  // --- Geometry -----------------------------------------------------------------------------
  Extended Left() const { return FLeft; }
  Extended Top() const { return FTop; }
  Extended Width() const { return FWidth; }
  Extended Height() const { return FHeight; }
  virtual void SetLeft(Extended Value);
  virtual void SetTop(Extended Value);
  virtual void SetWidth(Extended Value);
  virtual void SetHeight(Extended Value);
  void SetBounds(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight);
  // The position on the page: the sum of the offsets up the parents, up to one whose children
  // stand at absolute positions (a dialogue page).
  Extended AbsLeft() const;
  Extended AbsTop() const;
  // True when the children's Left and Top are already absolute (the dialogue page says so).
  virtual bool PlacesChildrenAbsolutely() const { return false; }
  virtual void AlignChildren();

  // --- Font and appearance ------------------------------------------------------------------
  TFont* Font() const { return FFont.get(); }
  // Copies Value into the own font and ends ParentFont.
  virtual void SetFont(TFont* Value);
  bool ParentFont() const { return FParentFont; }
  virtual void SetParentFont(bool Value);
  bool IsFontStored() const { return !FParentFont; }
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  TvqrRestrictions Restrictions() const { return FRestrictions; }
  void SetRestrictions(TvqrRestrictions Value) { FRestrictions = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }

  // --- Names --------------------------------------------------------------------------------
  // Raises the string table's "prDupl" for a name another object of the report has, and
  // "Could not rename ..." for an object of an ancestor report; a change of case alone does
  // nothing.
  void SetName(const String& Value) override;
  // Gives the object BaseName + the first number from 1 that no object of its report has.
  void CreateUniqueName();
  // The stem of generated names: the class name without "Tvqr" and "View" unless set.
  String BaseName() const;
  void SetBaseName(const String& Value) { FBaseName = Value; }
  const String& AliasName() const { return FAliasName; }
  void SetAliasName(const String& Value) { FAliasName = Value; }
  virtual String GetDescription() const;

  // --- State --------------------------------------------------------------------------------
  bool IsDesigning() const { return FIsDesigning; }
  void SetIsDesigning(bool Value) { FIsDesigning = Value; }
  bool IsLoading() const;
  void SetIsLoading(bool Value) { FIsLoading = Value; }
  bool IsPrinting() const { return FIsPrinting; }
  void SetIsPrinting(bool Value) { FIsPrinting = Value; }
  bool IsWriting() const { return FIsWriting; }
  void SetIsWriting(bool Value) { FIsWriting = Value; }
  bool Ancestor() const { return FAncestor; }
  void SetAncestorFlag(bool Value) { FAncestor = Value; }
  bool IsAncestor() const;
  TvqrComponentStyle vqComponentStyle() const { return FComponentStyle; }
  void SetvqComponentStyle(TvqrComponentStyle Value) { FComponentStyle = Value; }
  TvqrComponent* OriginalComponent() const { return FOriginalComponent; }
  void SetOriginalComponent(TvqrComponent* Value) { FOriginalComponent = Value; }
  const TvqrRect& OriginalRect() const { return FOriginalRect; }
  void SetOriginalRect(const TvqrRect& Value) { FOriginalRect = Value; }
  TvqrComponent* OriginalBand() const { return FOriginalBand; }
  void SetOriginalBand(TvqrComponent* Value) { FOriginalBand = Value; }

  // --- Copying, streaming and the prepared-object texts -------------------------------------
  // Copies Source's own properties (Assign) or its whole subtree (AssignAll) through the
  // serializer; other sources are ignored.
  void Assign(TPersistent* Source) override;
  void AssignAll(TvqrComponent* Source, bool Streaming = false);
  // Frees the children, keeping (and clearing) those inherited from an ancestor report.
  virtual void Clear();
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream, bool SaveChildren = true,
                            bool SaveDefaultValues = false, bool Streaming = false);
  // The attributes that differ from Ref: geometry, visibility, font, ParentFont, Tag.
  String DiffBaseAttributes(TvqrComponent* Ref) const;
  String DiffFontAttributes(TFont* RefFont) const;
  // The serializer's attribute text of the object, then the base differences against
  // AComponent when given.
  String AllDiff(TvqrComponent* AComponent) const;
  virtual String Diff(TvqrComponent* AComponent) const;

  // --- Hooks kept for a designer (this system has none) -------------------------------------
  virtual void BeforeStartReport() {}
  virtual void OnNotify(TObject*) {}
  virtual void OnPaste() {}
  virtual bool ContainerAdd(TvqrComponent*) { return false; }
  virtual bool ContainerMouseDown(TObject*, int, int) { return false; }
  virtual void ContainerMouseMove(TObject*, int, int) {}
  virtual void ContainerMouseUp(TObject*, int, int) {}

  // Form streaming: the children are the Objects (a report's only with StoreInDFM).
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  TComponent* GetChildOwner() override { return this; }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override;

protected:
  virtual void FontChanged();

private:
  static TComponent* OwnerFor(TComponent* AOwner);

  std::unique_ptr<TFont> FFont;
  std::vector<TvqrComponent*> FObjects;
  TvqrComponent* FParent = nullptr;
  Extended FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FParentFont = false;
  int FGroupIndex = 0;
  bool FIsDesigning = false, FIsLoading = false, FIsPrinting = false, FIsWriting = false;
  TvqrRestrictions FRestrictions;
  bool FVisible = true;
  String FDescription;
  bool FAncestor = false;
  TvqrComponentStyle FComponentStyle{csPreviewVisible};
  String FAliasName;
  String FBaseName;
  TvqrComponent* FOriginalComponent = nullptr;
  TvqrRect FOriginalRect;
  TvqrComponent* FOriginalBand = nullptr;

  static thread_local bool GDesignCreate;
};

template <class T>
T* TvqrComponent::DesignCreate(TComponent* AOwner, Word) {
  GDesignCreate = true;
  struct Reset {
    ~Reset() { GDesignCreate = false; }
  } Guard;
  return new T(AOwner);
}

// =============================================================================================
// TvqrReportComponent: the base of everything that takes part in a report run
// =============================================================================================

class TvqrReportComponent : public TvqrComponent {
  VORENTA_CLASS(TvqrReportComponent, TvqrComponent)
public:
  explicit TvqrReportComponent(TComponent* AOwner);
  ~TvqrReportComponent() override;

  // Abstract here (raises the abstract-method error).
  virtual void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                    Extended OffsetY);
  // Saves the bounds into OriginalRect; AfterPrint restores them.
  virtual void BeforePrint();
  virtual void GetData() {}
  virtual void AfterPrint();
  virtual String GetComponentText() const { return String(); }
  virtual TvqrRect GetRealBounds() const;

  const TvqrNotifyEvent& OnAfterData() const { return FOnAfterData; }
  void SetOnAfterData(const TvqrNotifyEvent& Value) { FOnAfterData = Value; }
  const TvqrNotifyEvent& OnAfterPrint() const { return FOnAfterPrint; }
  void SetOnAfterPrint(const TvqrNotifyEvent& Value) { FOnAfterPrint = Value; }
  const TvqrNotifyEvent& OnBeforePrint() const { return FOnBeforePrint; }
  void SetOnBeforePrint(const TvqrNotifyEvent& Value) { FOnBeforePrint = Value; }
  const TvqrPreviewClickEvent& OnPreviewClick() const { return FOnPreviewClick; }
  void SetOnPreviewClick(const TvqrPreviewClickEvent& Value) { FOnPreviewClick = Value; }
  const TvqrPreviewClickEvent& OnPreviewDblClick() const { return FOnPreviewDblClick; }
  void SetOnPreviewDblClick(const TvqrPreviewClickEvent& Value) { FOnPreviewDblClick = Value; }

  Extended ShiftAmount() const { return FShiftAmount; }
  void SetShiftAmount(Extended Value) { FShiftAmount = Value; }
  // The objects the engine shifts when this one stretches (not owned).
  std::vector<TvqrReportComponent*>& ShiftChildren() { return *FShiftChildren; }

private:
  TvqrNotifyEvent FOnAfterData, FOnAfterPrint, FOnBeforePrint;
  TvqrPreviewClickEvent FOnPreviewClick, FOnPreviewDblClick;
  Extended FShiftAmount = 0;
  std::unique_ptr<std::vector<TvqrReportComponent*>> FShiftChildren;
};

// =============================================================================================
// TvqrDialogComponent: report components without a printed appearance
// =============================================================================================

class TvqrDialogComponent : public TvqrReportComponent {
  VORENTA_CLASS(TvqrDialogComponent, TvqrReportComponent)
public:
  explicit TvqrDialogComponent(TComponent* AOwner);
  ~TvqrDialogComponent() override;

  // The wrapped platform component (created by a descendant; owned and freed here).
  TComponent* Component() const { return FComponent; }
  void SetComponent(TComponent* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }

  // The design appearance: a 28 x 28 raised box with the class image and the name below.
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;

protected:
  // "pLeft" and "pTop": the position rounded to integers, written only inside a report.
  void DefineProperties(TFiler* Filer) override;

private:
  TComponent* FComponent = nullptr;
  int FImageIndex = -1;
};

// =============================================================================================
// TvqrDataSet: the data-source base the dataset list and the report refer to
// =============================================================================================

// The data sources of the report hang below this class; it holds what the rest of the model
// needs of one: the user name and the run hooks.
class TvqrDataSet : public TvqrDialogComponent {
  VORENTA_CLASS(TvqrDataSet, TvqrDialogComponent)
public:
  explicit TvqrDataSet(TComponent* AOwner);
  ~TvqrDataSet() override;

  const String& UserName() const { return FUserName; }
  virtual void SetUserName(const String& Value) { FUserName = Value; }
  TvqrReport* ReportRef() const { return FReportRef; }
  void SetReportRef(TvqrReport* Value) { FReportRef = Value; }
  virtual void Initialize() {}
  virtual void Finalize() {}

private:
  String FUserName;
  TvqrReport* FReportRef = nullptr;
};

// Every live data source, in creation order.
const std::vector<TvqrDataSet*>& vqrGlobalDataSets();

// =============================================================================================
// Views and the text object (the parts the tree, the styles and the Diff texts rely on)
// =============================================================================================

class TvqrView : public TvqrReportComponent {
  VORENTA_CLASS(TvqrView, TvqrReportComponent)
public:
  explicit TvqrView(TComponent* AOwner);

  TvqrAlign Align() const { return FAlign; }
  void SetAlign(TvqrAlign Value) { FAlign = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  String GetDescription() const override;
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;

private:
  TvqrAlign FAlign = baNone;
  TColor FColor = clNone;
};

class TvqrCustomMemoView : public TvqrView, public IvqrSerializedText {
  VORENTA_CLASS(TvqrCustomMemoView, TvqrView)
public:
  explicit TvqrCustomMemoView(TComponent* AOwner);

  // The text, lines joined with CR LF (without the final line break).
  String Text() const { return FText; }
  void SetText(const String& Value) { FText = Value; }
  bool AutoWidth() const { return FAutoWidth; }
  void SetAutoWidth(bool Value) { FAutoWidth = Value; }
  // Writing the name applies that style of the report's style sheet (font, colour, frame);
  // a name the sheet lacks is stored as it is.
  const String& Style() const { return FStyle; }
  void SetStyle(const String& Value);
  String GetComponentText() const override { return FText; }
  String SerializedText() const override { return FText; }
  void SetSerializedText(const String& Value) override { FText = Value; }

private:
  String FText;
  bool FAutoWidth = false;
  String FStyle;
};

class TvqrMemoView : public TvqrCustomMemoView {
  VORENTA_CLASS(TvqrMemoView, TvqrCustomMemoView)
public:
  explicit TvqrMemoView(TComponent* AOwner) : TvqrCustomMemoView(AOwner) {}
};

// =============================================================================================
// Bands
// =============================================================================================

class TvqrBand : public TvqrReportComponent {
  VORENTA_CLASS(TvqrBand, TvqrReportComponent)
public:
  explicit TvqrBand(TComponent* AOwner);

  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }
  bool Stretched() const { return FStretched; }
  void SetStretched(bool Value) { FStretched = Value; }
  const TvqrNotifyEvent& OnAfterCalcHeight() const { return FOnAfterCalcHeight; }
  void SetOnAfterCalcHeight(const TvqrNotifyEvent& Value) { FOnAfterCalcHeight = Value; }
  String GetDescription() const override;
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;

private:
  bool FVertical = false;
  bool FStretched = false;
  TvqrNotifyEvent FOnAfterCalcHeight;
};

#define VQR_DECLARE_BAND(Name)                                   \
  class Name : public TvqrBand {                                 \
    VORENTA_CLASS(Name, TvqrBand)                                \
  public:                                                        \
    explicit Name(TComponent* AOwner) : TvqrBand(AOwner) {}      \
  }

VQR_DECLARE_BAND(TvqrReportTitle);
VQR_DECLARE_BAND(TvqrReportSummary);
VQR_DECLARE_BAND(TvqrPageHeader);
VQR_DECLARE_BAND(TvqrPageFooter);
VQR_DECLARE_BAND(TvqrHeader);
VQR_DECLARE_BAND(TvqrFooter);
VQR_DECLARE_BAND(TvqrDataBand);
VQR_DECLARE_BAND(TvqrGroupHeader);
VQR_DECLARE_BAND(TvqrGroupFooter);
VQR_DECLARE_BAND(TvqrChild);
VQR_DECLARE_BAND(TvqrColumnHeader);
VQR_DECLARE_BAND(TvqrColumnFooter);
VQR_DECLARE_BAND(TvqrOverlay);
VQR_DECLARE_BAND(TvqrNullBand);

#define VQR_DECLARE_DATA_BAND(Name)                                  \
  class Name : public TvqrDataBand {                                 \
    VORENTA_CLASS(Name, TvqrDataBand)                                \
  public:                                                            \
    explicit Name(TComponent* AOwner) : TvqrDataBand(AOwner) {}      \
  }

VQR_DECLARE_DATA_BAND(TvqrMasterData);
VQR_DECLARE_DATA_BAND(TvqrDetailData);
VQR_DECLARE_DATA_BAND(TvqrSubdetailData);
VQR_DECLARE_DATA_BAND(TvqrDataBand4);
VQR_DECLARE_DATA_BAND(TvqrDataBand5);
VQR_DECLARE_DATA_BAND(TvqrDataBand6);

// =============================================================================================
// Pages
// =============================================================================================

class TvqrPage : public TvqrComponent {
  VORENTA_CLASS(TvqrPage, TvqrComponent)
public:
  explicit TvqrPage(TComponent* AOwner) : TvqrComponent(AOwner) {}
};

// The page holding the non-visual data components; 1000 x 1000.
class TvqrDataPage : public TvqrPage {
  VORENTA_CLASS(TvqrDataPage, TvqrPage)
public:
  explicit TvqrDataPage(TComponent* AOwner);
  String GetDescription() const override;
};

// A printable page: paper in millimetres, its own Width and Height in pixels.
class TvqrReportPage : public TvqrPage {
  VORENTA_CLASS(TvqrReportPage, TvqrPage)
public:
  explicit TvqrReportPage(TComponent* AOwner);

  TPrinterOrientation Orientation() const { return FOrientation; }
  // Swaps the paper sides and rotates the margins when the orientation changes.
  void SetOrientation(TPrinterOrientation Value);
  Extended PaperWidth() const { return FPaperWidth; }
  Extended PaperHeight() const { return FPaperHeight; }
  // Rounded to 8 decimals; the paper becomes custom (256).
  virtual void SetPaperWidth(Extended Value);
  virtual void SetPaperHeight(Extended Value);
  int PaperSize() const { return FPaperSize; }
  // A known code takes its sizes (swapped for landscape); 256 and above keep them.
  virtual void SetPaperSize(int Value);
  Extended LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(Extended Value) { FLeftMargin = Value; }
  Extended RightMargin() const { return FRightMargin; }
  void SetRightMargin(Extended Value) { FRightMargin = Value; }
  Extended TopMargin() const { return FTopMargin; }
  void SetTopMargin(Extended Value) { FTopMargin = Value; }
  Extended BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(Extended Value) { FBottomMargin = Value; }
  int PageCount() const { return FPageCount; }
  // Values below 1 are ignored.
  void SetPageCount(int Value);
  bool PrintIfEmpty() const { return FPrintIfEmpty; }
  void SetPrintIfEmpty(bool Value) { FPrintIfEmpty = Value; }
  bool TitleBeforeHeader() const { return FTitleBeforeHeader; }
  void SetTitleBeforeHeader(bool Value) { FTitleBeforeHeader = Value; }
  const TvqrNotifyEvent& OnBeforePrint() const { return FOnBeforePrint; }
  void SetOnBeforePrint(const TvqrNotifyEvent& Value) { FOnBeforePrint = Value; }
  const TvqrNotifyEvent& OnAfterPrint() const { return FOnAfterPrint; }
  void SetOnAfterPrint(const TvqrNotifyEvent& Value) { FOnAfterPrint = Value; }

  // All four margins 10 mm.
  virtual void SetDefaults();
  // The first child of class Band or a descendant, or nullptr.
  TvqrComponent* FindBand(TClass Band) const;
  String GetDescription() const override;

private:
  void UpdateDimensions();

  TPrinterOrientation FOrientation = poPortrait;
  Extended FPaperWidth = 0, FPaperHeight = 0;
  int FPaperSize = 0;
  Extended FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
  int FPageCount = 1;
  bool FPrintIfEmpty = true;
  bool FTitleBeforeHeader = true;
  TvqrNotifyEvent FOnBeforePrint, FOnAfterPrint;
};

// =============================================================================================
// TvqrReport (the parts the tree, the options and the styles rely on)
// =============================================================================================

class TvqrReport : public TvqrComponent {
  VORENTA_CLASS(TvqrReport, TvqrComponent)
public:
  explicit TvqrReport(TComponent* AOwner);
  ~TvqrReport() override;

  // Frees the pages and resets the lists and options.
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
  TStrings* ScriptText() const { return FScriptText.get(); }
  void SetScriptText(TStrings* Value) { FScriptText->Assign(Value); }

  // --- Plain properties ---------------------------------------------------------------------
  // Always "4.9.38": the setter ignores its argument.
  const String& Version() const { return FVersion; }
  void SetVersion(const String&) { FVersion = u"4.9.38"; }
  TvqrDataSet* DataSet() const { return FDataSet; }
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
  void SetTerminated(bool Value) { FTerminated = Value; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }

  // --- Connections --------------------------------------------------------------------------
  using TvqrSetConnectionEvent = std::function<void(const String& ConnString)>;
  const TvqrSetConnectionEvent& OnSetConnection() const { return FOnSetConnection; }
  void SetOnSetConnection(TvqrSetConnectionEvent Value) { FOnSetConnection = std::move(Value); }

  // --- The serializer reading this report, while one does (owned by the reader) -----------
  TvqrXMLSerializer* XMLSerializer() const { return FXMLSerializer; }
  void SetXMLSerializer(TvqrXMLSerializer* Value) { FXMLSerializer = Value; }

  // --- Run collaborators (set by the engine's and page store's units) ----------------------
  TvqrCustomEngine* Engine() const { return FEngine; }
  TvqrCustomPreviewPages* PreviewPages() const { return FPreviewPages; }
  TvqrCustomPreview* Preview() const { return FPreview; }
  void SetPreview(TvqrCustomPreview* Value) { FPreview = Value; }

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::unique_ptr<TvqrReportDataSets> FDataSets;
  std::unique_ptr<TvqrVariables> FVariables;
  std::unique_ptr<TvqrEngineOptions> FEngineOptions;
  std::unique_ptr<TvqrPreviewOptions> FPreviewOptions;
  std::unique_ptr<TvqrPrintOptions> FPrintOptions;
  std::unique_ptr<TvqrReportOptions> FReportOptions;
  std::unique_ptr<TStringList> FScriptText;
  std::unique_ptr<TStringList> FErrors;
  std::unique_ptr<TvqrStyles> FStyles;
  std::unique_ptr<TvqrReportDataSets> FEnabledDataSets;

  String FVersion = u"4.9.38";
  TvqrDataSet* FDataSet = nullptr;
  String FDataSetName;
  bool FDotMatrixReport = false;
  String FIniFile = u"\\Software\\Quillerant";
  bool FOldStyleProgress = false;
  String FScriptLanguage = u"PascalScript";
  bool FShowProgress = true;
  bool FStoreInDFM = true;
  bool FTerminated = false;
  bool FModified = false;
  String FFileName;
  TvqrSetConnectionEvent FOnSetConnection;
  TvqrXMLSerializer* FXMLSerializer = nullptr;
  TvqrCustomEngine* FEngine = nullptr;
  TvqrCustomPreviewPages* FPreviewPages = nullptr;
  TvqrCustomPreview* FPreview = nullptr;
};

// Registers the report classes for creation by name (form resources, the serializer).
void RegisterReportClasses();
