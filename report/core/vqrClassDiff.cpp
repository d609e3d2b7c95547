// vqrClassDiff.cpp - TvqrComponent: aligning child views and the prepared-object texts.
#include "report/core/vqrClass.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrXML.h"
#include "report/core/vqrXMLSerializer.h"

namespace {

// --- AlignChildren ----------------------------------------------------------------------------

struct TAlignEntry {
  String Key;
  TvqrView* View;
};

// "1" + Left as "%9.2f" for Left >= 0, "0" + (-Left) otherwise; kept as given although it
// sorts -5 before -10, since stored layouts were aligned in this order.
// Built by appending: GCC 12 warns wrongly (-Wrestrict) on a literal added before a string.
String AlignKey(Extended Left) {
  String Key(Left >= 0 ? u"1" : u"0");
  Key += Format(u"%9.2f", {Left >= 0 ? Left : -Left});
  return Key;
}

bool OverlapsVertically(const TvqrView* A, const TvqrView* B) {
  return B->AbsTop() < A->AbsTop() + A->Height() - 0.0001L &&
         A->AbsTop() < B->AbsTop() + B->Height() - 0.0001L;
}

// The first view from Start stepping by Step (skipping Index itself) that shares a vertical
// extent with List[Index]; a baWidth view also passes over candidates it reaches into.
TvqrView* FindNeighbour(const std::vector<TAlignEntry>& List, int Index, int Step) {
  TvqrView* Own = List[Index].View;
  for (int J = Index; J >= 0 && J < static_cast<int>(List.size()); J += Step) {
    TvqrView* Cand = List[J].View;
    if (Cand == Own || !OverlapsVertically(Own, Cand)) continue;
    if (Own->Align() == baWidth) {
      if (Step < 0 && Cand->Left() > Own->Left()) continue;
      if (Step > 0 && Own->Left() + Own->Width() > Cand->Left() + Cand->Width()) continue;
    }
    return Cand;
  }
  return nullptr;
}

// --- Attribute texts --------------------------------------------------------------------------

void AddAttr(String& Out, const char16_t* Name, const String& Value) {
  Out += u" ";
  Out += Name;
  Out += u"=\"";
  Out += Value;
  Out += u"\"";
}

String BoolText(bool Value) { return Value ? u"1" : u"0"; }

}  // namespace

void TvqrComponent::AlignChildren() {
  // Most objects align nothing: then no key is made and nothing sorted.
  const bool AnyAligned = std::any_of(FObjects.begin(), FObjects.end(), [](TvqrComponent* Child) {
    auto* View = vqrAs<TvqrView>(Child);
    return View && View->Align() != baNone;
  });
  if (!AnyAligned) return;
  std::vector<TAlignEntry> List;
  for (TvqrComponent* Child : FObjects)
    if (auto* View = vqrAs<TvqrView>(Child)) List.push_back({AlignKey(View->Left()), View});
  std::stable_sort(List.begin(), List.end(),
                   [](const TAlignEntry& A, const TAlignEntry& B) { return A.Key < B.Key; });
  const int Count = static_cast<int>(List.size());

  for (int I = 0; I < Count; ++I) {
    TvqrView* View = List[I].View;
    if (View->Align() != baLeft && View->Align() != baWidth) continue;
    TvqrView* N = FindNeighbour(List, I, -1);
    View->SetLeft(N ? N->Left() + N->Width() : 0);
  }
  for (int I = Count - 1; I >= 0; --I) {
    TvqrView* View = List[I].View;
    if (View->Align() != baRight && View->Align() != baWidth) continue;
    TvqrView* N = FindNeighbour(List, I, +1);
    const Extended Edge = N ? N->Left() : Width();
    if (View->Align() == baRight)
      View->SetLeft(Edge - View->Width());
    else
      View->SetWidth(Edge - View->Left());
  }
  for (TvqrComponent* Child : FObjects) {
    auto* View = vqrAs<TvqrView>(Child);
    if (!View) continue;
    switch (View->Align()) {
      case baCenter: View->SetLeft((Width() - View->Width()) / 2); break;
      case baBottom: View->SetTop(Height() - View->Height()); break;
      case baClient: View->SetBounds(0, 0, Width(), Height()); break;
      default: break;
    }
  }
}

String TvqrComponent::DiffFontAttributes(TFont* RefFont) const {
  String Out;
  const TFont* F = &FFont;
  if (F->Name() != RefFont->Name()) AddAttr(Out, u"Font.Name", EncodeXMLValue(F->Name()));
  if (F->Size() != RefFont->Size()) AddAttr(Out, u"Font.Size", IntToStr(F->Size()));
  if (F->Color() != RefFont->Color()) AddAttr(Out, u"Font.Color", IntToStr(F->Color()));
  // Bold 1 + italic 2 + underline 4 + strike-out 8: the set's bits in element order.
  if (!(F->Style() == RefFont->Style()))
    AddAttr(Out, u"Font.Style", IntToStr(static_cast<int>(F->Style().Bits())));
  if (F->Charset() != RefFont->Charset()) AddAttr(Out, u"Font.Charset", IntToStr(F->Charset()));
  return Out;
}

String TvqrComponent::DiffBaseAttributes(TvqrComponent* Ref) const {
  String Out;
  if (FloatsDiffer(FLeft, Ref->FLeft)) AddAttr(Out, u"l", FloatToStr(FLeft));
  if (dynamic_cast<const TvqrBand*>(this) || FloatsDiffer(FTop, Ref->FTop))
    AddAttr(Out, u"t", FloatToStr(FTop));
  auto* Memo = dynamic_cast<const TvqrCustomMemoView*>(this);
  if (!(Memo && Memo->AutoWidth()) && FloatsDiffer(FWidth, Ref->FWidth))
    AddAttr(Out, u"w", FloatToStr(FWidth));
  if (FloatsDiffer(FHeight, Ref->FHeight)) AddAttr(Out, u"h", FloatToStr(FHeight));
  if (FVisible != Ref->FVisible) AddAttr(Out, u"Visible", BoolText(FVisible));
  if (!FParentFont) Out += DiffFontAttributes(Ref->Font());
  if (FParentFont != Ref->FParentFont) AddAttr(Out, u"ParentFont", BoolText(FParentFont));
  if (Tag() != Ref->Tag()) AddAttr(Out, u"Tag", IntToStr(Tag()));
  return Out;
}

String TvqrComponent::AllDiff(TvqrComponent* AComponent) const {
  auto* Self = const_cast<TvqrComponent*>(this);
  TvqrXMLSerializer Serializer;
  Serializer.SetOwner(Report());
  const String Element = Serializer.WriteComponentStr(Self);
  const std::size_t Blank = Element.find(u' ');
  String Result = Blank == String::npos ? String() : Element.substr(Blank + 1);
  if (AComponent) {
    Result += u' ';
    Result += DiffBaseAttributes(AComponent);
  }
  if (dynamic_cast<const TvqrNullBand*>(this)) {
    AddAttr(Result, u"l", FloatToStr(FLeft));
    AddAttr(Result, u"t", FloatToStr(FTop));
  }
  return Result;
}

String TvqrComponent::Diff(TvqrComponent* AComponent) const {
  return DiffBaseAttributes(AComponent);
}
