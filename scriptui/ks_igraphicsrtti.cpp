// ks_igraphicsrtti.cpp - the graphics bindings, each member bound to its own handler.
#include "scriptui/ks_igraphicsrtti.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "script/ks_ibindings.h"
#include "script/ks_iinterpreter.h"

namespace {

TGraphic* Graphic(TksMethodHelper* H, int i) {
  return static_cast<TGraphic*>(ksVariantToObject(H->GetParam(i), TGraphic::ClassInfo()));
}

class TFunctions : public TksBindingModule {
public:
  explicit TFunctions(TksScript* S) : TksBindingModule(S) {
    for (const TIdentMapEntry& C : ColorIdents()) S->AddConst(C.Name, u"Integer", Variant(static_cast<int>(C.Value)));
    if (!S->Find(u"TFontStyles")) S->AddEnumSet(u"TFontStyles", u"fsBold, fsItalic, fsUnderline, fsStrikeout");
    const std::pair<const char16_t*, const char16_t*> Enums[] = {
        {u"TFontPitch", u"fpDefault, fpVariable, fpFixed"},
        {u"TPenStyle", u"psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame"},
        {u"TPenMode", u"pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, "
                      u"pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor"},
        {u"TBrushStyle", u"bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross"}};
    for (auto& [Typ, Names] : Enums)
      if (!S->Find(Typ)) S->AddEnum(Typ, Names);
    for (TClass C : {TFont::ClassInfo(), TPen::ClassInfo(), TBrush::ClassInfo()}) S->AddClass(C, u"TPersistent");
    AddCanvas();
    AddGraphics();
  }

private:
  template <class T>
  void Size(bool Writable) {
    if (!FClass) return;
    for (bool Width : {false, true}) {
      TksSetValueEvent Set;
      if (Writable)
        Set = [Width](TObject* I, TksClassRef, const String&, const Variant& V) {
          if constexpr (requires(T& G) { G.SetWidth(0); }) {
            if (Width) ksSelf<T>(I).SetWidth(V.AsInteger());
            else ksSelf<T>(I).SetHeight(V.AsInteger());
          }
        };
      FClass->AddProperty(Width ? u"Width" : u"Height", u"Integer",
                          [Width](TObject* I, TksClassRef, const String&) {
                            return Variant(Width ? ksSelf<T>(I).Width() : ksSelf<T>(I).Height());
                          },
                          Set);
    }
  }

  void AddCanvas() {
    FClass = Script()->AddClass(TCanvas::ClassInfo(), u"TPersistent");
    Method(u"procedure Draw(X, Y: Integer; Graphic: TGraphic)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).Draw(ksIntArg(H, 0), ksIntArg(H, 1), Graphic(H, 2));
      return Variant(0);
    });
    Method(u"procedure Ellipse(X1, Y1, X2, Y2: Integer)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).Ellipse(ksIntArg(H, 0), ksIntArg(H, 1), ksIntArg(H, 2), ksIntArg(H, 3));
      return Variant(0);
    });
    Method(u"procedure LineTo(X, Y: Integer)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).LineTo(ksIntArg(H, 0), ksIntArg(H, 1));
      return Variant(0);
    });
    Method(u"procedure MoveTo(X, Y: Integer)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).MoveTo(ksIntArg(H, 0), ksIntArg(H, 1));
      return Variant(0);
    });
    Method(u"procedure Rectangle(X1, Y1, X2, Y2: Integer)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).Rectangle(ksIntArg(H, 0), ksIntArg(H, 1), ksIntArg(H, 2), ksIntArg(H, 3));
      return Variant(0);
    });
    Method(u"procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).RoundRect(ksIntArg(H, 0), ksIntArg(H, 1), ksIntArg(H, 2), ksIntArg(H, 3), ksIntArg(H, 4), ksIntArg(H, 5));
      return Variant(0);
    });
    Method(u"procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).StretchDraw(Rect(ksIntArg(H, 0), ksIntArg(H, 1), ksIntArg(H, 2), ksIntArg(H, 3)), Graphic(H, 4));
      return Variant(0);
    });
    Method(u"function TextHeight(const Text: string): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TCanvas>(I).TextHeight(ksStrArg(H, 0))); });
    Method(u"procedure TextOut(X, Y: Integer; const Text: string)", [](TObject* I, auto* H) {
      ksSelf<TCanvas>(I).TextOut(ksIntArg(H, 0), ksIntArg(H, 1), ksStrArg(H, 2));
      return Variant(0);
    });
    Method(u"function TextWidth(const Text: string): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TCanvas>(I).TextWidth(ksStrArg(H, 0))); });
    if (FClass)
      FClass->AddIndexProperty(u"Pixels", u"Integer, Integer", u"TColor",
                               [](TObject* I, TksClassRef, const String& N, TksMethodHelper* H) {
                                 TCanvas& C = ksSelf<TCanvas>(I);
                                 if (N.ends_with(u".SET")) {
                                   C.SetPixels(ksIntArg(H, 0), ksIntArg(H, 1), TColor(H->GetParam(2).AsInteger()));
                                   return Variant(0);
                                 }
                                 return Variant(static_cast<int>(C.Pixels(ksIntArg(H, 0), ksIntArg(H, 1))));
                               });
  }

  void AddGraphics() {
    FClass = Script()->AddClass(TGraphic::ClassInfo(), u"TPersistent");
    Method(u"procedure LoadFromFile(const Filename: string)", [](TObject* I, auto* H) {
      ksSelf<TGraphic>(I).LoadFromFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const Filename: string)", [](TObject* I, auto* H) {
      ksSelf<TGraphic>(I).SaveToFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Size<TGraphic>(true);
    FClass = Script()->AddClass(TPicture::ClassInfo(), u"TPersistent");
    Method(u"procedure LoadFromFile(const Filename: string)", [](TObject* I, auto* H) {
      ksSelf<TPicture>(I).LoadFromFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const Filename: string)", [](TObject* I, auto* H) {
      ksSelf<TPicture>(I).SaveToFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Size<TPicture>(false);
    Script()->AddClass(TMetafile::ClassInfo(), u"TGraphic");
    if ((FClass = Script()->AddClass(TMetafileCanvas::ClassInfo(), u"TCanvas")))
      FClass->AddConstructor(u"constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)",
                             [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                               // Only the screen (0) can be the reference device.
                               if (ksIntArg(H, 1) != 0) throw EInvalidOperation(u"The reference device must be 0 (the screen)");
                               auto* M = static_cast<TMetafile*>(ksVariantToObject(H->GetParam(0), TMetafile::ClassInfo()));
                               if (!M) throw EInvalidOperation(u"No metafile to draw on");
                               return ksObjectToVariant(new TMetafileCanvas(M));
                             });
    if ((FClass = Script()->AddClass(TBitmap::ClassInfo(), u"TGraphic")))
      FClass->AddProperty(u"Canvas", u"TCanvas", [](TObject* I, TksClassRef, const String&) {
        return ksObjectToVariant(ksSelf<TBitmap>(I).Canvas());
      });
  }
};

}  // namespace

TksRTTIModule* ksCreateGraphicsRTTI(TksScript* Script) { return new TFunctions(Script); }
