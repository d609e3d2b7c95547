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
#include "script/ks_iinterpreter.h"

namespace {

template <class T>
T& Self(TObject* Instance) {
  if (!Instance) throw EHandleError(u"Object handle is nil");
  auto* Obj = dynamic_cast<T*>(Instance);
  if (!Obj) throw EHandleError(u"The object is a " + Instance->ClassName() + u", not a " + T::ClassInfo()->Name());
  return *Obj;
}

int Int(TksMethodHelper* H, int i) { return H->GetParam(i).AsInteger(); }
String Str(TksMethodHelper* H, int i) { return VarToStr(H->GetParam(i)); }
TGraphic* Graphic(TksMethodHelper* H, int i) {
  return static_cast<TGraphic*>(ksVariantToObject(H->GetParam(i), TGraphic::ClassInfo()));
}

using TBody = std::function<Variant(TObject* Instance, TksMethodHelper* H)>;

class TFunctions : public TksRTTIModule {
public:
  explicit TFunctions(TksScript* S) : TksRTTIModule(S) {
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
  TksClassVariable* FClass = nullptr;

  void Method(const char16_t* Syntax, TBody Body) {
    if (FClass)
      FClass->AddMethod(Syntax, [Body](TObject* I, TksClassRef, const String&, TksMethodHelper* H) {
        return Body(I, H);
      });
  }
  template <class T>
  void Size(bool Writable) {
    if (!FClass) return;
    for (bool Width : {false, true}) {
      TksSetValueEvent Set;
      if (Writable)
        Set = [Width](TObject* I, TksClassRef, const String&, const Variant& V) {
          if constexpr (requires(T& G) { G.SetWidth(0); }) {
            if (Width) Self<T>(I).SetWidth(V.AsInteger());
            else Self<T>(I).SetHeight(V.AsInteger());
          }
        };
      FClass->AddProperty(Width ? u"Width" : u"Height", u"Integer",
                          [Width](TObject* I, TksClassRef, const String&) {
                            return Variant(Width ? Self<T>(I).Width() : Self<T>(I).Height());
                          },
                          Set);
    }
  }

  void AddCanvas() {
    FClass = Script()->AddClass(TCanvas::ClassInfo(), u"TPersistent");
    Method(u"procedure Draw(X, Y: Integer; Graphic: TGraphic)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).Draw(Int(H, 0), Int(H, 1), Graphic(H, 2));
      return Variant(0);
    });
    Method(u"procedure Ellipse(X1, Y1, X2, Y2: Integer)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).Ellipse(Int(H, 0), Int(H, 1), Int(H, 2), Int(H, 3));
      return Variant(0);
    });
    Method(u"procedure LineTo(X, Y: Integer)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).LineTo(Int(H, 0), Int(H, 1));
      return Variant(0);
    });
    Method(u"procedure MoveTo(X, Y: Integer)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).MoveTo(Int(H, 0), Int(H, 1));
      return Variant(0);
    });
    Method(u"procedure Rectangle(X1, Y1, X2, Y2: Integer)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).Rectangle(Int(H, 0), Int(H, 1), Int(H, 2), Int(H, 3));
      return Variant(0);
    });
    Method(u"procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).RoundRect(Int(H, 0), Int(H, 1), Int(H, 2), Int(H, 3), Int(H, 4), Int(H, 5));
      return Variant(0);
    });
    Method(u"procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).StretchDraw(Rect(Int(H, 0), Int(H, 1), Int(H, 2), Int(H, 3)), Graphic(H, 4));
      return Variant(0);
    });
    Method(u"function TextHeight(const Text: string): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TCanvas>(I).TextHeight(Str(H, 0))); });
    Method(u"procedure TextOut(X, Y: Integer; const Text: string)", [](TObject* I, auto* H) {
      Self<TCanvas>(I).TextOut(Int(H, 0), Int(H, 1), Str(H, 2));
      return Variant(0);
    });
    Method(u"function TextWidth(const Text: string): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TCanvas>(I).TextWidth(Str(H, 0))); });
    if (FClass)
      FClass->AddIndexProperty(u"Pixels", u"Integer, Integer", u"TColor",
                               [](TObject* I, TksClassRef, const String& N, TksMethodHelper* H) {
                                 TCanvas& C = Self<TCanvas>(I);
                                 if (N.ends_with(u".SET")) {
                                   C.SetPixels(Int(H, 0), Int(H, 1), TColor(H->GetParam(2).AsInteger()));
                                   return Variant(0);
                                 }
                                 return Variant(static_cast<int>(C.Pixels(Int(H, 0), Int(H, 1))));
                               });
  }

  void AddGraphics() {
    FClass = Script()->AddClass(TGraphic::ClassInfo(), u"TPersistent");
    Method(u"procedure LoadFromFile(const Filename: string)", [](TObject* I, auto* H) {
      Self<TGraphic>(I).LoadFromFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const Filename: string)", [](TObject* I, auto* H) {
      Self<TGraphic>(I).SaveToFile(Str(H, 0));
      return Variant(0);
    });
    Size<TGraphic>(true);
    FClass = Script()->AddClass(TPicture::ClassInfo(), u"TPersistent");
    Method(u"procedure LoadFromFile(const Filename: string)", [](TObject* I, auto* H) {
      Self<TPicture>(I).LoadFromFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const Filename: string)", [](TObject* I, auto* H) {
      Self<TPicture>(I).SaveToFile(Str(H, 0));
      return Variant(0);
    });
    Size<TPicture>(false);
    Script()->AddClass(TMetafile::ClassInfo(), u"TGraphic");
    if ((FClass = Script()->AddClass(TMetafileCanvas::ClassInfo(), u"TCanvas")))
      FClass->AddConstructor(u"constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)",
                             [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                               // Only the screen (0) can be the reference device.
                               if (Int(H, 1) != 0) throw EInvalidOperation(u"The reference device must be 0 (the screen)");
                               auto* M = static_cast<TMetafile*>(ksVariantToObject(H->GetParam(0), TMetafile::ClassInfo()));
                               if (!M) throw EInvalidOperation(u"No metafile to draw on");
                               return ksObjectToVariant(new TMetafileCanvas(M));
                             });
    if ((FClass = Script()->AddClass(TBitmap::ClassInfo(), u"TGraphic")))
      FClass->AddProperty(u"Canvas", u"TCanvas", [](TObject* I, TksClassRef, const String&) {
        return ksObjectToVariant(Self<TBitmap>(I).Canvas());
      });
  }
};

}  // namespace

TksRTTIModule* ksCreateGraphicsRTTI(TksScript* Script) { return new TFunctions(Script); }
