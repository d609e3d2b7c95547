// vqrClassRTTI.cpp - the report model's script bindings, each member bound to its own handler.
#include "report/core/vqrClassRTTI.h"

#include <cmath>
#include <map>
#include <memory>

#include "platform/classes/List.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassDataSet.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrDMPClass.h"
#include "report/core/vqrDialogPage.h"
#include "report/core/vqrExpression.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/core/vqrVariables.h"
#include "script/ks_ibindings.h"

namespace {

Variant Obj(TObject* O) { return ksObjectToVariant(O); }
Variant Float(Extended E) { return Variant(static_cast<double>(E)); }

// A procedure's result: the engine starts every result as the integer 0.
template <class F>
auto Proc(F Body) {
  return [Body](TObject* I, TksMethodHelper* H) {
    Body(I, H);
    return Variant(0);
  };
}

TvqrPreviewPages& Pages(TvqrCustomEngine& E) {
  auto* P = dynamic_cast<TvqrPreviewPages*>(E.PreviewPages());
  if (!P) throw EInvalidOperation(u"The report has no prepared pages");
  return *P;
}

class TFunctions : public TksBindingModule {
public:
  explicit TFunctions(TksScript* S) : TksBindingModule(S) {
    AddConstants();
    AddPictures();
    AddWideStrings();
    AddDataSets();
    AddComponents();
    AddViews();
    AddBands();
    AddPages();
    AddOptions();
    AddVariables();
    if (TvqrVariables* Globals = vqrGlobalVariables()) S->AddObject(u"vqrGlobalVariables", Globals);
    AddReport();
    AddFunctions();
  }

private:
  // The classes list of a component's children (Objects) or of its whole tree (AllObjects),
  // one per component and kind, owned here and filled again on every read.
  std::map<std::pair<const TvqrComponent*, bool>, std::unique_ptr<TList>> FLists;

  // Registers C under Ancestor; a class the script knows already (the class of a property
  // registered earlier) still gets the members below.
  void Cls(TClass C, const char16_t* Ancestor, const String& ScriptName = {}) {
    FClass = Script()->AddClass(C, Ancestor, ScriptName);
    if (!FClass) FClass = Script()->FindClass(ScriptName.empty() ? C->Name() : ScriptName);
  }

  Variant ObjectList(const TvqrComponent& C, bool All) {
    auto& L = FLists[{&C, All}];
    if (!L) L = std::make_unique<TList>();
    L->Clear();
    for (TvqrComponent* Child : All ? C.AllObjects() : C.Objects()) {
      ksObjectToVariant(Child);  // gives the child its handle, so the list's items cross
      L->Add(Child);
    }
    return Obj(L.get());
  }

  void AddConstants() {
    const std::pair<const char16_t*, double> Measures[] = {{u"vq01cm", 3.77953}, {u"vq1cm", 37.7953},
                                                          {u"vq01in", 9.6},      {u"vq1in", 96},
                                                          {u"vq1CharX", 9.6},    {u"vq1CharY", 17}};
    for (auto& [Name, Value] : Measures) Script()->AddConst(Name, u"Extended", Variant(Value));
    const std::pair<const char16_t*, int> Ints[] = {
        {u"clTransparent", static_cast<int>(clNone)}, {u"crHand", 150}, {u"crZoom", 151}, {u"crFormat", 152}};
    for (auto& [Name, Value] : Ints) Script()->AddConst(Name, u"Integer", Variant(Value));
    struct TList {
      const char16_t* Typ;
      bool IsSet;
      const char16_t* Names;
    };
    const TList Lists[] = {
        {u"TvqrStretchMode", false, u"smDontStretch, smActualHeight, smMaxHeight"},
        {u"TvqrShiftMode", false, u"smDontShift, smAlways, smWhenOverlapped"},
        {u"TvqrDuplexMode", false, u"dmNone, dmVertical, dmHorizontal, dmSimplex"},
        {u"TvqrAlign", false, u"baNone, baLeft, baRight, baCenter, baWidth, baBottom"},
        {u"TvqrFrameStyle", false, u"fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble"},
        {u"TvqrFrameTypes", true, u"ftLeft, ftRight, ftTop, ftBottom"},
        {u"TvqrHAlign", false, u"haLeft, haRight, haCenter, haBlock"},
        {u"TvqrVAlign", false, u"vaTop, vaBottom, vaCenter"},
        {u"TvqrRestrictions", true, u"rfDontModify, rfDontSize, rfDontMove, rfDontDelete"},
        {u"TvqrShapeKind", false,
         u"skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2"},
        {u"TvqrPreviewButtons", true,
         u"pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, "
         u"pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail"},
        {u"TvqrZoomMode", false, u"zmDefault, zmWholePage, zmPageWidth, zmManyPages"},
        {u"TvqrPrintPages", false, u"ppAll, ppOdd, ppEven"},
        {u"TvqrDMPFontStyles", true,
         u"fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, fsx15cpi"},
        {u"TvqrRangeBegin", false, u"rbFirst, rbCurrent"},
        {u"TvqrRangeEnd", false, u"reLast, reCurrent, reCount"},
        {u"TvqrFieldType", false, u"fftNumeric, fftString, fftBoolean"},
        {u"TvqrFormatKind", false, u"fkText, fkNumeric, fkDateTime, fkBoolean"}};
    for (const TList& L : Lists) {
      if (L.IsSet) Script()->AddEnumSet(L.Typ, L.Names);
      else Script()->AddEnum(L.Typ, L.Names);
    }
  }

  // The picture classes go under the graphics bindings' TGraphic when the script has them.
  void AddPictures() {
    if (!Script()->FindClass(u"TGraphic")) return;
    Script()->AddClass(TJPEGImage::ClassInfo(), u"TGraphic");
    Script()->AddClass(TPngImage::ClassInfo(), u"TGraphic");
  }

  // The report's UTF-16 string list; its members beyond the constructor come from TStrings.
  void AddWideStrings() {
    if (!Script()->FindClass(u"TStrings")) return;
    Cls(TvqrWideStrings::ClassInfo(), u"TStrings", u"TWideStrings");
    if (FClass)
      FClass->AddConstructor(u"constructor Create", [](TObject*, TksClassRef, const String&, TksMethodHelper*) {
        return Obj(new TvqrWideStrings());
      });
  }

  void AddDataSets() {
    Cls(TvqrDataSet::ClassInfo(), u"TComponent");
    using TAction = void (TvqrDataSet::*)();
    const std::pair<const char16_t*, TAction> Actions[] = {{u"procedure Open", &TvqrDataSet::Open},
                                                          {u"procedure Close", &TvqrDataSet::Close},
                                                          {u"procedure First", &TvqrDataSet::First},
                                                          {u"procedure Next", &TvqrDataSet::Next},
                                                          {u"procedure Prior", &TvqrDataSet::Prior}};
    for (auto& [Syntax, Action] : Actions) {
      TAction A = Action;
      Method(Syntax, Proc([A](TObject* I, auto*) { (ksSelf<TvqrDataSet>(I).*A)(); }));
    }
    Method(u"function Eof: Boolean", [](TObject* I, auto*) { return Variant(ksSelf<TvqrDataSet>(I).Eof()); });
    Method(u"function FieldsCount: Integer",
           [](TObject* I, auto*) { return Variant(ksSelf<TvqrDataSet>(I).FieldsCount()); });
    Method(u"function HasField(const fName: String): Boolean",
           [](TObject* I, auto* H) { return Variant(ksSelf<TvqrDataSet>(I).HasField(ksStrArg(H, 0))); });
    Method(u"function IsBlobField(const fName: String): Boolean",
           [](TObject* I, auto* H) { return Variant(ksSelf<TvqrDataSet>(I).IsBlobField(ksStrArg(H, 0))); });
    Method(u"function RecordCount: Integer",
           [](TObject* I, auto*) { return Variant(ksSelf<TvqrDataSet>(I).RecordCount()); });
    Method(u"procedure GetFieldList(List: TStrings)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrDataSet>(I).GetFieldList(ksArg<TStrings>(H, 0)); }));
    Prop(u"RecNo", u"Integer", [](TObject* I) { return Variant(ksSelf<TvqrDataSet>(I).RecNo()); });
    Indexed(u"DisplayText", u"String", u"String", false,
            [](TObject* I, auto* H) { return Variant(ksSelf<TvqrDataSet>(I).DisplayText(ksStrArg(H, 0))); });
    Indexed(u"DisplayWidth", u"String", u"Integer", false,
            [](TObject* I, auto* H) { return Variant(ksSelf<TvqrDataSet>(I).DisplayWidth(ksStrArg(H, 0))); });
    Indexed(u"FieldType", u"String", u"TvqrFieldType", false, [](TObject* I, auto* H) {
      return Variant(static_cast<int>(ksSelf<TvqrDataSet>(I).FieldType(ksStrArg(H, 0))));
    });
    Indexed(u"Value", u"String", u"Variant", false,
            [](TObject* I, auto* H) { return ksSelf<TvqrDataSet>(I).Value(ksStrArg(H, 0)); });
    Cls(TvqrUserDataSet::ClassInfo(), u"TvqrDataSet");
    Cls(TvqrCustomDBDataSet::ClassInfo(), u"TvqrDataSet");
  }

  void AddComponents() {
    Cls(TvqrComponent::ClassInfo(), u"TComponent");
    Method(u"procedure Clear", Proc([](TObject* I, auto*) { ksSelf<TvqrComponent>(I).Clear(); }));
    Method(u"function FindObject(s: String): TvqrComponent",
           [](TObject* I, auto* H) { return Obj(ksSelf<TvqrComponent>(I).FindObject(ksStrArg(H, 0))); });
    Method(u"procedure LoadFromStream(Stream: TStream)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrComponent>(I).LoadFromStream(ksArg<TStream>(H, 0)); }));
    Method(u"procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)", Proc([](TObject* I, auto* H) {
             ksSelf<TvqrComponent>(I).SaveToStream(ksArg<TStream>(H, 0), H->GetParam(1).AsBoolean(), false, false);
           }));
    Method(u"procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)", Proc([](TObject* I, auto* H) {
             ksSelf<TvqrComponent>(I).SetBounds(H->GetParam(0).AsDouble(), H->GetParam(1).AsDouble(),
                                                H->GetParam(2).AsDouble(), H->GetParam(3).AsDouble());
           }));
    Prop(u"Objects", u"TList", [this](TObject* I) { return ObjectList(ksSelf<TvqrComponent>(I), false); });
    Prop(u"AllObjects", u"TList", [this](TObject* I) { return ObjectList(ksSelf<TvqrComponent>(I), true); });
    Prop(
        u"Parent", u"TvqrComponent", [](TObject* I) { return Obj(ksSelf<TvqrComponent>(I).Parent()); },
        [](TObject* I, const Variant& V) {
          ksSelf<TvqrComponent>(I).SetParent(static_cast<TvqrComponent*>(ksVariantToObject(V, TvqrComponent::ClassInfo())));
        });
    Prop(u"Page", u"TvqrPage", [](TObject* I) { return Obj(ksSelf<TvqrComponent>(I).Page()); });
    Prop(u"AbsLeft", u"Extended", [](TObject* I) { return Float(ksSelf<TvqrComponent>(I).AbsLeft()); });
    Prop(u"AbsTop", u"Extended", [](TObject* I) { return Float(ksSelf<TvqrComponent>(I).AbsTop()); });
    Cls(TvqrReportComponent::ClassInfo(), u"TvqrComponent");
    Cls(TvqrDialogComponent::ClassInfo(), u"TvqrReportComponent");
    Cls(TvqrDialogControl::ClassInfo(), u"TvqrReportComponent");
    Method(u"procedure SetFocus", Proc([](TObject* I, auto*) {
             if (auto* W = dynamic_cast<TWinControl*>(ksSelf<TvqrDialogControl>(I).Control())) W->SetFocus();
           }));
    Cls(TvqrFrameLine::ClassInfo(), u"TPersistent");
    Cls(TvqrFrame::ClassInfo(), u"TPersistent");
  }

  void AddViews() {
    Cls(TvqrView::ClassInfo(), u"TvqrReportComponent");
    Prop(
        u"TagStr", u"String", [](TObject* I) { return Variant(ksSelf<TvqrView>(I).TagStr()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrView>(I).SetTagStr(VarToStr(V)); });
    Cls(TvqrShapeView::ClassInfo(), u"TvqrView");
    Cls(TvqrStretcheable::ClassInfo(), u"TvqrView");
    Method(u"function CalcHeight: Extended",
           [](TObject* I, auto*) { return Float(ksSelf<TvqrStretcheable>(I).CalcHeight()); });
    Cls(TvqrHighlight::ClassInfo(), u"TPersistent");
    Cls(TvqrFormat::ClassInfo(), u"TPersistent");
    Cls(TvqrCustomMemoView::ClassInfo(), u"TvqrStretcheable");
    Method(u"function CalcWidth: Extended",
           [](TObject* I, auto*) { return Float(ksSelf<TvqrCustomMemoView>(I).CalcWidth()); });
    Prop(
        u"Text", u"String", [](TObject* I) { return Variant(ksSelf<TvqrCustomMemoView>(I).Text()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrCustomMemoView>(I).SetText(VarToStr(V)); });
    // Script strings are UTF-16: the 8-bit text is the text as the memo's character set
    // holds it (characters it lacks read back as its replacement character).
    Prop(
        u"AnsiText", u"String",
        [](TObject* I) {
          auto& M = ksSelf<TvqrCustomMemoView>(I);
          const int Charset = M.Font()->Charset();
          return Variant(AnsiToUnicodeText(UnicodeToAnsiText(M.Text(), Charset), Charset));
        },
        [](TObject* I, const Variant& V) { ksSelf<TvqrCustomMemoView>(I).SetText(VarToStr(V)); });
    Prop(
        u"Lines", u"TWideStrings", [](TObject* I) { return Obj(ksSelf<TvqrCustomMemoView>(I).Lines()); },
        [](TObject* I, const Variant& V) {
          ksSelf<TvqrCustomMemoView>(I).SetMemo(static_cast<TStrings*>(ksVariantToObject(V, TStrings::ClassInfo())));
        });
    Prop(u"Value", u"Variant", [](TObject* I) { return ksSelf<TvqrCustomMemoView>(I).Value(); });
    Cls(TvqrMemoView::ClassInfo(), u"TvqrCustomMemoView");
    Cls(TvqrSysMemoView::ClassInfo(), u"TvqrCustomMemoView");
    Cls(TvqrDMPMemoView::ClassInfo(), u"TvqrCustomMemoView");
    Cls(TvqrCustomLineView::ClassInfo(), u"TvqrStretcheable");
    Cls(TvqrLineView::ClassInfo(), u"TvqrCustomLineView");
    Cls(TvqrDMPLineView::ClassInfo(), u"TvqrCustomLineView");
    Cls(TvqrDMPCommand::ClassInfo(), u"TvqrView");
    Cls(TvqrPictureView::ClassInfo(), u"TvqrView");
    Method(u"procedure LoadFromFile(filename: String)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrPictureView>(I).Picture()->LoadFromFile(ksStrArg(H, 0)); }));
    Cls(TvqrSubreport::ClassInfo(), u"TvqrView");
  }

  void AddBands() {
    Cls(TvqrBand::ClassInfo(), u"TvqrReportComponent");
    Prop(u"Overflow", u"Boolean", [](TObject* I) { return Variant(ksSelf<TvqrBand>(I).Overflow()); });
    for (TClass C : {TvqrDataBand::ClassInfo(), TvqrHeader::ClassInfo(), TvqrFooter::ClassInfo()})
      Cls(C, u"TvqrBand");
    for (TClass C : {TvqrMasterData::ClassInfo(), TvqrDetailData::ClassInfo(), TvqrSubdetailData::ClassInfo(),
                     TvqrDataBand4::ClassInfo(), TvqrDataBand5::ClassInfo(), TvqrDataBand6::ClassInfo()})
      Cls(C, u"TvqrDataBand");
    for (TClass C : {TvqrPageHeader::ClassInfo(), TvqrPageFooter::ClassInfo(), TvqrColumnHeader::ClassInfo(),
                     TvqrColumnFooter::ClassInfo(), TvqrGroupHeader::ClassInfo(), TvqrGroupFooter::ClassInfo(),
                     TvqrReportTitle::ClassInfo(), TvqrReportSummary::ClassInfo(), TvqrChild::ClassInfo(),
                     TvqrOverlay::ClassInfo()})
      Cls(C, u"TvqrBand");
  }

  void AddPages() {
    Cls(TvqrPage::ClassInfo(), u"TvqrComponent");
    Cls(TvqrReportPage::ClassInfo(), u"TvqrPage");
    Cls(TvqrDialogPage::ClassInfo(), u"TvqrPage");
    Method(u"function ShowModal: Integer",
           [](TObject* I, auto*) { return Variant(static_cast<int>(ksSelf<TvqrDialogPage>(I).ShowModal())); });
    Prop(
        u"ModalResult", u"Integer",
        [](TObject* I) { return Variant(static_cast<int>(ksSelf<TvqrDialogPage>(I).ModalResult())); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrDialogPage>(I).SetModalResult(V.AsInteger()); });
    Cls(TvqrDMPPage::ClassInfo(), u"TvqrReportPage");
    Cls(TvqrDataPage::ClassInfo(), u"TvqrPage");
  }

  void AddOptions() {
    Cls(TvqrEngineOptions::ClassInfo(), u"TPersistent");
    Prop(
        u"DestroyForms", u"Boolean", [](TObject* I) { return Variant(ksSelf<TvqrEngineOptions>(I).DestroyForms()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrEngineOptions>(I).SetDestroyForms(V.AsBoolean()); });
    for (TClass C : {TvqrPrintOptions::ClassInfo(), TvqrPreviewOptions::ClassInfo(), TvqrReportOptions::ClassInfo()})
      Cls(C, u"TPersistent");
  }

  void AddVariables() {
    Cls(TvqrVariable::ClassInfo(), u"TCollectionItem");
    Cls(TvqrVariables::ClassInfo(), u"TCollection");
    Constructor([] { return new TvqrVariables(); });
    Indexed(
        u"Variables", u"String", u"Variant", true,
        [](TObject* I, auto* H) { return ksSelf<TvqrVariables>(I).Variables(ksStrArg(H, 0)); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TvqrVariables>(I).SetVariables(ksStrArg(H, 0), V); });
    Cls(TvqrStyleItem::ClassInfo(), u"TCollectionItem");
    AddStyles();
    Cls(TvqrArray::ClassInfo(), u"TCollection");
    Constructor([] { return new TvqrArray(); });
    Indexed(
        u"Variables", u"Variant", u"Variant", true,
        [](TObject* I, auto* H) { return ksSelf<TvqrArray>(I).Variables(H->GetParam(0)); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TvqrArray>(I).SetVariables(H->GetParam(0), V); });
  }

  void AddStyles() {
    Cls(TvqrStyles::ClassInfo(), u"TCollection");
    if (FClass)
      FClass->AddConstructor(u"constructor Create(AReport: TvqrReport)",
                             [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                               return Obj(new TvqrStyles(ksArg<TvqrReport>(H, 0)));
                             });
    // Items reads only; a write compiles and changes nothing.
    Indexed(
        u"Items", u"Integer", u"TvqrStyleItem", true,
        [](TObject* I, auto* H) { return Obj(ksSelf<TvqrStyles>(I).Items(ksIntArg(H, 0))); },
        [](TObject*, auto*, const Variant&) {});
    Method(u"function Add: TvqrStyleItem", [](TObject* I, auto*) { return Obj(ksSelf<TvqrStyles>(I).Add()); });
    Method(u"function Find(const Name: String): TvqrStyleItem",
           [](TObject* I, auto* H) { return Obj(ksSelf<TvqrStyles>(I).Find(ksStrArg(H, 0))); });
    Method(u"procedure Apply", Proc([](TObject* I, auto*) { ksSelf<TvqrStyles>(I).Apply(); }));
    Method(u"procedure GetList(List: TStrings)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrStyles>(I).GetList(ksArg<TStrings>(H, 0)); }));
    Method(u"procedure LoadFromFile(const FileName: String)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrStyles>(I).LoadFromFile(ksStrArg(H, 0)); }));
    Method(u"procedure LoadFromStream(Stream: TStream)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrStyles>(I).LoadFromStream(ksArg<TStream>(H, 0)); }));
    Method(u"procedure SaveToFile(const FileName: String)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrStyles>(I).SaveToFile(ksStrArg(H, 0)); }));
    Method(u"procedure SaveToStream(Stream: TStream)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrStyles>(I).SaveToStream(ksArg<TStream>(H, 0)); }));
  }

  void AddReport() {
    Cls(TvqrReport::ClassInfo(), u"TvqrComponent");
    Method(u"function Calc(const Expr: String): Variant",
           [](TObject* I, auto* H) { return vqrCalc(&ksSelf<TvqrReport>(I), ksStrArg(H, 0), nullptr, true); });
    Method(u"function GetDataset(const Alias: String): TvqrDataset",
           [](TObject* I, auto* H) { return Obj(ksSelf<TvqrReport>(I).GetDataset(ksStrArg(H, 0))); });
    Method(u"function LoadFromFile(const FileName: String): Boolean",
           [](TObject* I, auto* H) { return Variant(ksSelf<TvqrReport>(I).LoadFromFile(ksStrArg(H, 0), false)); });
    Method(u"procedure SaveToFile(const FileName: String)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrReport>(I).SaveToFile(ksStrArg(H, 0)); }));
    Method(u"procedure ShowReport", Proc([](TObject* I, auto*) { ksSelf<TvqrReport>(I).ShowReport(true); }));
    Prop(
        u"Terminated", u"Boolean", [](TObject* I) { return Variant(ksSelf<TvqrReport>(I).Terminated()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrReport>(I).SetTerminated(V.AsBoolean()); });
    Prop(u"Variables", u"TvqrVariables", [](TObject* I) { return Obj(ksSelf<TvqrReport>(I).Variables()); });
    Prop(u"Styles", u"TvqrStyles", [](TObject* I) { return Obj(ksSelf<TvqrReport>(I).Styles()); });
    AddEngine();
    AddOutline();
  }

  void AddEngine() {
    Cls(TvqrCustomEngine::ClassInfo(), u"TPersistent");
    Method(u"procedure AddAnchor(const Text: String)",
           Proc([](TObject* I, auto* H) { Pages(ksSelf<TvqrCustomEngine>(I)).AddAnchor(ksStrArg(H, 0)); }));
    Method(u"procedure NewPage", Proc([](TObject* I, auto*) { ksSelf<TvqrCustomEngine>(I).NewPage(); }));
    Method(u"procedure NewColumn", Proc([](TObject* I, auto*) { ksSelf<TvqrCustomEngine>(I).NewColumn(); }));
    Method(u"procedure ShowBand(Band: TvqrBand)",
           Proc([](TObject* I, auto* H) { ksSelf<TvqrCustomEngine>(I).ShowBand(ksArg<TvqrBand>(H, 0)); }));
    Method(u"procedure StopReport", Proc([](TObject* I, auto*) { ksSelf<TvqrCustomEngine>(I).StopReport(); }));
    Method(u"function FreeSpace: Extended",
           [](TObject* I, auto*) { return Float(ksSelf<TvqrCustomEngine>(I).FreeSpace()); });
    Method(u"function GetAnchorPage(const Text: String): Integer", [](TObject* I, auto* H) {
      return Variant(Pages(ksSelf<TvqrCustomEngine>(I)).GetAnchorPage(ksStrArg(H, 0)));
    });
    // The engine's concrete class is the same registry class: a type name for declarations.
    Script()->AddClass(TvqrCustomEngine::ClassInfo(), u"TvqrCustomEngine", u"TvqrEngine");
  }

  void AddOutline() {
    Cls(TvqrCustomOutline::ClassInfo(), u"TPersistent");
    Method(u"procedure AddItem(const Text: String)", Proc([](TObject* I, auto* H) {
             auto& O = ksSelf<TvqrCustomOutline>(I);
             const Extended Y = O.Engine() ? O.Engine()->CurY : 0;
             O.AddItem(ksStrArg(H, 0), static_cast<int>(std::lround(Y)));
           }));
    Method(u"procedure LevelRoot", Proc([](TObject* I, auto*) { ksSelf<TvqrCustomOutline>(I).LevelRoot(); }));
    Method(u"procedure LevelUp", Proc([](TObject* I, auto*) { ksSelf<TvqrCustomOutline>(I).LevelUp(); }));
    Script()->AddClass(TvqrCustomOutline::ClassInfo(), u"TvqrCustomOutline", u"TvqrOutline");
  }

  template <class F>
  void Constructor(F Make) {
    if (FClass)
      FClass->AddConstructor(u"constructor Create", [Make](TObject*, TksClassRef, const String&, TksMethodHelper*) {
        return Obj(Make());
      });
  }

  void AddFunctions() {
    struct TPart {
      const char16_t* Syntax;
      const char16_t* Format;
    };
    for (const TPart& P : {TPart{u"function DayOf(Date: TDateTime): Integer", u"d"},
                           TPart{u"function MonthOf(Date: TDateTime): Integer", u"m"},
                           TPart{u"function YearOf(Date: TDateTime): Integer", u"yyyy"}}) {
      const String Format = P.Format;
      Script()->AddMethod(
          P.Syntax,
          [Format](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
            return Variant(StrToInt(FormatDateTime(Format, H->GetParam(0).AsDouble())));
          },
          u"ctDate");
    }
    Script()->AddMethod(
        u"function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
        [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
          return H->GetParam(0).AsBoolean() ? H->GetParam(1) : H->GetParam(2);
        },
        u"ctOther");
    // The report's own aggregate functions hide these in report scripts; elsewhere they give 0.
    for (const char16_t* Syntax :
         {u"function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
          u"function AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
          u"function MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
          u"function MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
          u"function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"})
      Script()->AddMethod(
          Syntax, [](TObject*, TksClassRef, const String&, TksMethodHelper*) { return Variant(0); }, u"ctAggregate");
  }
};

}  // namespace

TksRTTIModule* vqrCreateClassRTTI(TksScript* Script) { return new TFunctions(Script); }

void vqrRegisterClassRTTI() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterRTTIModule(vqrCreateClassRTTI);
}
