// vqrClass.cpp - TvqrComponent: the tree, geometry, fonts, names, copying and streaming.
//
// The rest of the unit: vqrClassDiff.cpp (alignment and the prepared-object texts),
// vqrClassComponents.cpp (report components, views, bands, pages), vqrClassReport.cpp,
// vqrClassOptions.cpp, vqrClassStyles.cpp, vqrClassAbstract.cpp, vqrClassModule.cpp.
#include "report/core/vqrClass.h"

#include <algorithm>
#include <set>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TextMap.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrXMLSerializer.h"

REGISTER_CLASS(TvqrComponent) {}

thread_local bool TvqrComponent::GDesignCreate = false;

namespace vqrclass_detail {

String ResText(const String& Key) { return StringTable()->Get(Key); }

bool InheritsFromName(const TObject* Obj, const String& ClassName) {
  if (!Obj) return false;
  for (TClass C = Obj->ClassType(); C; C = C->Parent())
    if (SameText(C->Name(), ClassName)) return true;
  return false;
}

}  // namespace vqrclass_detail

using namespace vqrclass_detail;

bool FloatsDiffer(Extended A, Extended B) { return std::abs(A - B) > 0.0001L; }

void vqrAbstractError() { throw EAbstractError(u"Abstract Error"); }

// --- Name index -------------------------------------------------------------------------------

// The names of the objects below the keeping object, each with the objects that carry it (more
// than one only in a damaged file, where the tree order decides and is searched). Each object
// remembers the name it is listed under, so a name set past SetName is found and moved.
class TvqrComponent::TNameIndex {
public:
  // Obj and its descendants have joined / left the indexed tree.
  void AddTree(TvqrComponent* Obj) {
    Add(Obj);
    for (TvqrComponent* Child : Obj->FObjects) AddTree(Child);
  }
  void RemoveTree(TvqrComponent* Obj) {
    Remove(Obj);
    for (TvqrComponent* Child : Obj->FObjects) RemoveTree(Child);
  }
  // Lists Obj under its present name.
  void Refresh(TvqrComponent* Obj) {
    if (Obj->FIndexedName == Obj->Name()) return;
    Remove(Obj);
    Add(Obj);
  }

  // False when the tree must be searched: two objects carry the name, or the one listed has
  // been renamed past SetName since.
  bool Find(std::u16string_view Name, TvqrComponent*& Found) const {
    Found = nullptr;
    auto It = FMap.find(Name);
    if (It == FMap.end()) return true;
    if (!It->second.More.empty() || !SameText(It->second.First->Name(), Name)) return false;
    Found = It->second.First;
    return true;
  }

private:
  void Add(TvqrComponent* Obj) {
    Obj->FIndexedName = Obj->Name();
    if (!Obj->FIndexedName.empty()) FMap[Obj->FIndexedName].Add(Obj);
  }
  void Remove(TvqrComponent* Obj) {
    auto It = FMap.find(std::u16string_view(Obj->FIndexedName));
    Obj->FIndexedName.clear();
    if (It == FMap.end()) return;
    It->second.Remove(Obj);
    if (!It->second.First) FMap.erase(It);
  }

  // The objects listed under one name: nearly always one, held without a heap block (an empty
  // vector allocates nothing).
  struct TCarriers {
    TvqrComponent* First = nullptr;
    std::vector<TvqrComponent*> More;  // the second and later ones
    void Add(TvqrComponent* Obj) {
      if (!First)
        First = Obj;
      else
        More.push_back(Obj);
    }
    void Remove(TvqrComponent* Obj) {
      std::erase(More, Obj);
      if (First != Obj) return;
      First = nullptr;
      if (More.empty()) return;
      First = More.front();
      More.erase(More.begin());
    }
  };
  TTextMap<TCarriers> FMap;
};

void TvqrComponent::KeepNameIndex() {
  if (FNameIndex) return;
  FNameIndex = std::make_unique<TNameIndex>();
  for (TvqrComponent* Child : FObjects) FNameIndex->AddTree(Child);
}

TvqrComponent::TNameIndex* TvqrComponent::IndexAbove() const {
  for (const TvqrComponent* Obj = this; Obj; Obj = Obj->FParent)
    if (Obj->FNameIndex) return Obj->FNameIndex.get();
  return nullptr;
}

// --- Construction -----------------------------------------------------------------------------

TComponent* TvqrComponent::OwnerFor(TComponent* AOwner) {
  if (auto* Comp = vqrAs<TvqrComponent>(AOwner)) return Comp->Report();
  return AOwner;
}

TvqrComponent::TvqrComponent(TComponent* AOwner)
    : TComponent(OwnerFor(AOwner)) {
  FIsDesigning = GDesignCreate;
  FFont.SetName(u"Arial");
  FFont.SetSize(10);
  FFont.SetColor(0);
  FFont.SetCharset(1);
  FFont.SetOnChange([this](TObject*) { FontChanged(); });
  SetParentFont(true);
  if (auto* Comp = vqrAs<TvqrComponent>(AOwner)) SetParent(Comp);
}

// Clear keeps children inherited from an ancestor report; a parent that goes away frees
// them too, or they would be left pointing at it.
TvqrComponent::~TvqrComponent() {
  SetParent(nullptr);
  Clear();
  while (!FObjects.empty()) delete FObjects.back();
}

// --- Tree -------------------------------------------------------------------------------------

namespace {

// Takes Obj out of List, searched from the end, where a list being cleared has it.
void RemoveFromList(std::vector<TvqrComponent*>& List, TvqrComponent* Obj) {
  auto It = std::find(List.rbegin(), List.rend(), Obj);
  if (It != List.rend()) List.erase(std::next(It).base());
}

}  // namespace

void TvqrComponent::SetParent(TvqrComponent* Value) {
  TNameIndex* OldIndex = FParent ? FParent->IndexAbove() : nullptr;
  TNameIndex* NewIndex = Value ? Value->IndexAbove() : nullptr;
  if (Value != FParent) {
    if (OldIndex != NewIndex && OldIndex) OldIndex->RemoveTree(this);
    if (FParent) RemoveFromList(FParent->FObjects, this);
    if (Value) Value->FObjects.push_back(this);
    if (OldIndex != NewIndex && NewIndex) NewIndex->AddTree(this);
  }
  // A form reader names an object after creating it under its parent, past SetName, and then
  // sets the same parent again.
  if (OldIndex == NewIndex && NewIndex) NewIndex->Refresh(this);
  FParent = Value;
  if (Value) SetParentFont(FParentFont);
}

void TvqrComponent::MoveChildToFront(TvqrComponent* Child) {
  auto It = std::find(FObjects.begin(), FObjects.end(), Child);
  if (It != FObjects.end()) std::rotate(FObjects.begin(), It, It + 1);
}

void TvqrComponent::SetParentComponent(TComponent* Value) {
  SetParent(dynamic_cast<TvqrComponent*>(Value));
}

void TvqrComponent::GetChildren(const TGetChildProc& Proc, TComponent*) {
  for (TvqrComponent* Child : FObjects) Proc(Child);
}

std::vector<TvqrComponent*> TvqrComponent::AllObjects() const {
  std::vector<TvqrComponent*> Result;
  auto Visit = [&Result](const TvqrComponent* Obj, auto& Self) -> void {
    for (TvqrComponent* Child : Obj->FObjects) {
      Result.push_back(Child);
      Self(Child, Self);
    }
  };
  Visit(this, Visit);
  return Result;
}

TvqrPage* TvqrComponent::Page() const {
  for (const TvqrComponent* Obj = this; Obj; Obj = Obj->FParent)
    if (auto* P = dynamic_cast<const TvqrPage*>(Obj)) return const_cast<TvqrPage*>(P);
  return nullptr;
}

TvqrReport* TvqrComponent::Report() const {
  for (const TvqrComponent* Obj = this; Obj; Obj = Obj->FParent)
    if (auto* R = vqrAs<TvqrReport>(Obj)) return const_cast<TvqrReport*>(R);
  return nullptr;
}

// Depth first, each object before its children, as AllObjects lists them; stops at the first
// match without building the list.
TvqrComponent* TvqrComponent::FindObject(const String& AName) const {
  TvqrComponent* Found = nullptr;
  if (FNameIndex && FNameIndex->Find(AName, Found)) return Found;
  for (TvqrComponent* Child : FObjects) {
    if (SameText(Child->Name(), AName)) return Child;
    if (TvqrComponent* Found = Child->FindObject(AName)) return Found;
  }
  return nullptr;
}

TvqrDataSet* TvqrComponent::FindDataSet(TvqrDataSet* DataSet, const String& DSName) const {
  TvqrReport* R = Report();
  if (!R || R->EngineOptions()->UseGlobalDataSetList()) {
    if (DSName.empty()) return nullptr;
    if (!R) return DataSet;
    for (TvqrDataSet* DS : vqrGlobalDataSets()) {
      auto* OwnerReport = dynamic_cast<TvqrReport*>(DS->Owner());
      if (SameText(DS->UserName(), DSName) && (!OwnerReport || OwnerReport == R)) return DS;
    }
    return DataSet;
  }
  TvqrDataSetItem* Item = R->EnabledDataSets()->Find(DSName);
  return Item ? Item->DataSet() : nullptr;
}

// The last child first: objects are created in tree order, so each one leaving is then
// found at the end of its parent's and its owner's lists, and clearing a large report stays
// linear.
void TvqrComponent::Clear() {
  std::size_t I = FObjects.size();
  while (I > 0) {
    // A child's destruction may take others with it; go on below whatever is left.
    I = std::min(I, FObjects.size());
    if (I == 0) break;
    TvqrComponent* Child = FObjects[--I];
    if (Child->ComponentState().Contains(csAncestor))
      Child->Clear();
    else
      delete Child;  // leaves FObjects by itself
  }
}

// --- Geometry ---------------------------------------------------------------------------------

void TvqrComponent::SetLeft(Extended Value) {
  if (FIsDesigning && FRestrictions.Contains(rfDontMove)) return;
  FLeft = Value;
}

void TvqrComponent::SetTop(Extended Value) {
  if (FIsDesigning && FRestrictions.Contains(rfDontMove)) return;
  FTop = Value;
}

void TvqrComponent::SetWidth(Extended Value) {
  if (FIsDesigning && FRestrictions.Contains(rfDontSize)) return;
  FWidth = Value;
}

void TvqrComponent::SetHeight(Extended Value) {
  if (FIsDesigning && FRestrictions.Contains(rfDontSize)) return;
  FHeight = Value;
}

void TvqrComponent::SetBounds(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight) {
  SetLeft(ALeft);
  SetTop(ATop);
  SetWidth(AWidth);
  SetHeight(AHeight);
}

Extended TvqrComponent::AbsLeft() const {
  if (!FParent || FParent->PlacesChildrenAbsolutely()) return FLeft;
  return FParent->AbsLeft() + FLeft;
}

Extended TvqrComponent::AbsTop() const {
  if (!FParent || FParent->PlacesChildrenAbsolutely()) return FTop;
  return FParent->AbsTop() + FTop;
}

// --- Font -------------------------------------------------------------------------------------

void TvqrComponent::SetFont(TFont* Value) {
  FFont.Assign(Value);
  FParentFont = false;
}

void TvqrComponent::SetParentFont(bool Value) {
  if (Value && FParent) SetFont(FParent->Font());
  FParentFont = Value;
}

// A change of the own font ends ParentFont and runs down to the children that follow it
// (when the change came from the parent, its setter turns ParentFont back on afterwards).
void TvqrComponent::FontChanged() {
  FParentFont = false;
  for (TvqrComponent* Child : FObjects)
    if (Child->FParentFont) Child->SetParentFont(true);
}

void TvqrComponent::SetVisible(bool Value) { FVisible = Value; }

// --- Names and state --------------------------------------------------------------------------

void TvqrComponent::SetName(const String& Value) {
  if (SameText(Value, Name())) return;
  if (!Value.empty()) {
    if (TvqrReport* R = Report()) {
      // While a template loads, the report owns every object it reads and the owner's own
      // name check below finds a duplicate; a search of the whole tree per name would make
      // loading quadratic.
      const bool OwnerChecks = R->XMLSerializer() && Owner() == R;
      TvqrComponent* Other = OwnerChecks ? nullptr : R->FindObject(Value);
      if (Other && Other != this) throw Exception(ResText(u"prDupl"));
      if (IsAncestor())
        throw Exception(u"Could not rename " + Name() +
                        u", it was introduced in the ancestor report");
    }
  }
  inherited::SetName(Value);
  if (TNameIndex* Index = FParent ? FParent->IndexAbove() : nullptr) Index->Refresh(this);
}

void TvqrComponent::CreateUniqueName() {
  std::vector<TvqrComponent*> Objs;
  if (TvqrReport* R = Report())
    Objs = R->AllObjects();
  else if (FParent)
    Objs = FParent->AllObjects();
  std::set<String> Names;
  for (TvqrComponent* Obj : Objs) Names.insert(UpperCase(Obj->Name()));
  const String Base = BaseName();
  for (int I = 1;; ++I) {
    String Candidate = Base + IntToStr(I);
    if (!Names.count(UpperCase(Candidate))) return SetName(Candidate);
  }
}

String TvqrComponent::BaseName() const {
  if (!FBaseName.empty()) return FBaseName;
  String Result = ClassName();
  auto RemoveFirst = [&Result](std::u16string_view Part) {
    std::size_t P = Result.find(Part);
    if (P != String::npos) Result.erase(P, Part.size());
  };
  RemoveFirst(u"Tvqr");
  RemoveFirst(u"View");
  return Result;
}

String TvqrComponent::GetDescription() const { return ClassName(); }

bool TvqrComponent::IsLoading() const {
  return FIsLoading || ComponentState().Contains(csLoading);
}

bool TvqrComponent::IsAncestor() const {
  return FAncestor || ComponentState().Contains(csAncestor);
}

// --- Copying and streaming --------------------------------------------------------------------

void TvqrComponent::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrComponent*>(Source);
  if (!Src) return;  // other sources are ignored, as the report format has it
  TMemoryStream Stream;
  Src->SaveToStream(&Stream, false, true, false);
  Stream.SetPosition(0);
  LoadFromStream(&Stream);
}

void TvqrComponent::AssignAll(TvqrComponent* Source, bool Streaming) {
  if (!Source) return;
  TMemoryStream Stream;
  Source->SaveToStream(&Stream, true, true, Streaming);
  Stream.SetPosition(0);
  LoadFromStream(&Stream);
}

void TvqrComponent::SaveToStream(TStream* Stream, bool SaveChildren, bool SaveDefaultValues,
                                 bool Streaming) {
  TvqrXMLSerializer Serializer(Stream);
  Serializer.SetOwner(Report());
  Serializer.SetSerializeDefaultValues(SaveDefaultValues);
  Serializer.WriteRootComponent(this, SaveChildren, nullptr, Streaming);
}

namespace {

// Registers the serializer as the report's current one while it reads, and takes the
// XML-loading lock for reports that ask for it; both are released also when reading fails.
class TLoadScope {
public:
  TLoadScope(TvqrReport* Report, TvqrXMLSerializer* Serializer)
      : FReport(Report),
        FLocked(Report && Report->EngineOptions()->EnableThreadSafe()) {
    if (FReport) FReport->SetXMLSerializer(Serializer);
    if (FLocked) vqrLockXMLLoading();
  }
  ~TLoadScope() {
    if (FLocked) vqrUnlockXMLLoading();
    if (FReport) FReport->SetXMLSerializer(nullptr);
  }
  TLoadScope(const TLoadScope&) = delete;
  TLoadScope& operator=(const TLoadScope&) = delete;

private:
  TvqrReport* FReport;
  bool FLocked;
};

}  // namespace

void TvqrComponent::LoadFromStream(TStream* Stream) {
  Clear();
  TvqrReport* R = Report();
  TvqrXMLSerializer Serializer(Stream);
  Serializer.SetOwner(R);
  {
    TLoadScope Scope(R, &Serializer);
    Serializer.ReadRootComponent(this);
  }
  if (R) R->Errors()->AddStrings(Serializer.Errors());
}
