// vqrClassBase.h - the report component tree: TvqrComponent, TvqrReportComponent and the
// non-visual TvqrDialogComponent, with the enumerations and small types the model shares.
//
// Every object of a report is a TvqrComponent: a platform component that also sits in a tree
// of its own (Parent, ordered Objects, flattened AllObjects) with a position and size in
// Extended pixels at 96 per inch, a font that may follow the parent's, a visibility flag and
// designer restrictions. TvqrReportComponent is the base of everything that takes part in a
// report run. vqrClass.h gathers the whole model (data sources, views, bands, pages, report).
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
class TvqrDataSet;
class TvqrView;
class TvqrBand;
class TvqrCustomMemoView;
class TvqrNullBand;
class TvqrReportPage;

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
// X rounded to 8 decimals: scaled by 1e8 to a 64-bit integer with halves to even, then back.
Extended RoundTo8Decimals(Extended X);

// Raises the platform's abstract-method error (an abstract operation of a report class that
// its class does not override).
[[noreturn]] void vqrAbstractError();

// A data source held by object and by user name, as views, data bands, report pages and the
// report hold theirs: the name reads from the object while one is bound.
struct TvqrDataSetRef {
  TvqrDataSet* DataSet = nullptr;
  String StoredName;
  // Binds Value (Holder hears when it goes) and takes its user name.
  void Set(TvqrDataSet* Value, TComponent* Holder);
  String Name() const;
  // Stores the name and resolves it as Holder sees it (FindDataSet), keeping the bound one
  // when nothing else answers.
  void SetName(const String& Value, TvqrComponent* Holder);
  // Forgets the data source when AComponent is it.
  void Removed(const TComponent* AComponent);
};

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
  // Moves a direct child to the front of Objects.
  void MoveChildToFront(TvqrComponent* Child);
  // Every descendant, depth first, each before its children; rebuilt on every call.
  std::vector<TvqrComponent*> AllObjects() const;
  // The nearest ancestor (or this object) that is a page / the report, or nullptr.
  TvqrPage* Page() const;
  TvqrReport* Report() const;
  // The first object of AllObjects named AName (ASCII case ignored), or nullptr. A report
  // answers from its name index.
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
  // Store a value past the virtual setters (their snapping and restriction checks).
  void SetLeftDirect(Extended Value) { FLeft = Value; }
  void SetWidthDirect(Extended Value) { FWidth = Value; }
  void SetHeightDirect(Extended Value) { FHeight = Value; }
  // The position on the page: the sum of the offsets up the parents, up to one whose children
  // stand at absolute positions (a dialogue page).
  Extended AbsLeft() const;
  Extended AbsTop() const;
  // True when the children's Left and Top are already absolute (the dialogue page says so).
  virtual bool PlacesChildrenAbsolutely() const { return false; }
  virtual void AlignChildren();

  // --- Font and appearance ------------------------------------------------------------------
  TFont* Font() const { return &FFont; }
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
  // Makes FindObject answer from an index of the descendants' names, kept by SetParent and
  // SetName (the report keeps one).
  void KeepNameIndex();

private:
  class TNameIndex;

  static TComponent* OwnerFor(TComponent* AOwner);
  // The index of the nearest ancestor (or this object) that keeps one.
  TNameIndex* IndexAbove() const;

  // Every component has one: held in the object, not allocated apart (mutable: the getter
  // hands it out from a const component).
  mutable TFont FFont;
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
  std::unique_ptr<TNameIndex> FNameIndex;
  String FIndexedName;  // the name the index above lists the object under

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
  std::vector<TvqrReportComponent*>& ShiftChildren() { return FShiftChildren; }

private:
  TvqrNotifyEvent FOnAfterData, FOnAfterPrint, FOnBeforePrint;
  TvqrPreviewClickEvent FOnPreviewClick, FOnPreviewDblClick;
  Extended FShiftAmount = 0;
  std::vector<TvqrReportComponent*> FShiftChildren;
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
