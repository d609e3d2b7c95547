// vqrClassRTTI.cpp - the report model's script bindings, each member bound to its own handler.
#include "report/core/vqrClassRTTI.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassDataSet.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrUnicodeUtils.h"
#include "script/ks_ibindings.h"

namespace {

class TFunctions : public TksBindingModule {
public:
  explicit TFunctions(TksScript* S) : TksBindingModule(S) {
    AddConstants();
    if (S->FindClass(u"TStrings")) S->AddClass(TvqrWideStrings::ClassInfo(), u"TStrings", u"TWideStrings");
    AddDataSets();
    AddMemos();
    AddReport();
    AddFunctions();
  }

private:
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

  void AddDataSets() {
    Class(TvqrDataSet::ClassInfo(), u"TComponent");
    using TAction = void (TvqrDataSet::*)();
    const std::pair<const char16_t*, TAction> Actions[] = {{u"procedure Open", &TvqrDataSet::Open},
                                                          {u"procedure Close", &TvqrDataSet::Close},
                                                          {u"procedure First", &TvqrDataSet::First},
                                                          {u"procedure Next", &TvqrDataSet::Next},
                                                          {u"procedure Prior", &TvqrDataSet::Prior}};
    for (auto& [Syntax, Action] : Actions) {
      TAction A = Action;
      Method(Syntax, [A](TObject* I, auto*) {
        (ksSelf<TvqrDataSet>(I).*A)();
        return Variant(0);
      });
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
    Method(u"procedure GetFieldList(List: TStrings)", [](TObject* I, auto* H) {
      ksSelf<TvqrDataSet>(I).GetFieldList(ksArg<TStrings>(H, 0));
      return Variant(0);
    });
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
    Class(TvqrUserDataSet::ClassInfo(), u"TvqrDataSet");
    Class(TvqrCustomDBDataSet::ClassInfo(), u"TvqrDataSet");
  }

  void AddMemos() {
    Class(TvqrCustomMemoView::ClassInfo(), u"TComponent");
    Method(u"function CalcWidth: Extended",
           [](TObject* I, auto*) { return Variant(static_cast<double>(ksSelf<TvqrCustomMemoView>(I).CalcWidth())); });
    Method(u"function CalcHeight: Extended", [](TObject* I, auto*) {
      return Variant(static_cast<double>(ksSelf<TvqrCustomMemoView>(I).CalcHeight()));
    });
    Prop(
        u"Text", u"String", [](TObject* I) { return Variant(ksSelf<TvqrCustomMemoView>(I).Text()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrCustomMemoView>(I).SetText(VarToStr(V)); });
    Prop(
        u"Lines", u"TWideStrings", [](TObject* I) { return ksObjectToVariant(ksSelf<TvqrCustomMemoView>(I).Lines()); },
        [](TObject* I, const Variant& V) {
          ksSelf<TvqrCustomMemoView>(I).SetMemo(static_cast<TStrings*>(ksVariantToObject(V, TStrings::ClassInfo())));
        });
    Class(TvqrMemoView::ClassInfo(), u"TvqrCustomMemoView");
  }

  void AddReport() {
    Class(TvqrCustomEngine::ClassInfo(), u"TPersistent");
    Method(u"procedure NewPage", [](TObject* I, auto*) {
      ksSelf<TvqrCustomEngine>(I).NewPage();
      return Variant(0);
    });
    Method(u"procedure NewColumn", [](TObject* I, auto*) {
      ksSelf<TvqrCustomEngine>(I).NewColumn();
      return Variant(0);
    });
    Method(u"procedure StopReport", [](TObject* I, auto*) {
      ksSelf<TvqrCustomEngine>(I).StopReport();
      return Variant(0);
    });
    Method(u"function FreeSpace: Extended", [](TObject* I, auto*) {
      return Variant(static_cast<double>(ksSelf<TvqrCustomEngine>(I).FreeSpace()));
    });
    Class(TvqrReport::ClassInfo(), u"TComponent");
    Method(u"function GetDataset(const Alias: String): TvqrDataset", [](TObject* I, auto* H) {
      return ksObjectToVariant(ksSelf<TvqrReport>(I).GetDataset(ksStrArg(H, 0)));
    });
    Prop(
        u"Terminated", u"Boolean", [](TObject* I) { return Variant(ksSelf<TvqrReport>(I).Terminated()); },
        [](TObject* I, const Variant& V) { ksSelf<TvqrReport>(I).SetTerminated(V.AsBoolean()); });
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
