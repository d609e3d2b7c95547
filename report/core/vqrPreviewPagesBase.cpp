// vqrPreviewPagesBase.cpp - a template copy's base text read once for the rebuilding of
// prepared pages.
//
// The pairs are cut from the text exactly as the serializer cuts an attribute text. What a
// pair does depends only on its name and value and on the dynamic types of the objects its
// dotted name walks through (the property found, the branch taken for hand-read names), so a
// plan made on the first object holds for every later object whose walk meets the same
// types. Only the plain cases get a plan: a published number, ordinal or string property, a
// bound (l, t, w, h) or the text of a text object. The rest (references, lists, hand-streamed
// data, bad values) is applied as its own pair text through the serializer.
#include "report/core/vqrPreviewPagesBase.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <typeinfo>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXML.h"
#include "report/core/vqrXMLSerializer.h"

namespace {

// What applying a pair does.
enum class TAction { Text, Float, Ordinal, String, Bound, TextOfObject };

// One step of a dotted name: the object-valued property read, and the type of the object it
// gave when the plan was made.
struct TStep {
  const TPropInfo* Prop;
  const std::type_info* Type;
};

struct TPlan {
  TAction Action = TAction::Text;
  std::vector<TStep> Path;
  const TPropInfo* Prop = nullptr;
  Extended Float = 0;
  Int64 Ordinal = 0;
  String Str;
  Char Bound = 0;
  // Where the text interface lies inside an object of the root's type.
  std::ptrdiff_t TextOffset = 0;
};

// The published property of that name as the serializer finds it: the first in the class's
// list whose name matches with ASCII case ignored.
const TPropInfo* FindProperty(TClass Class, std::u16string_view Name) {
  for (const TPropInfo* Prop : Class->Properties())
    if (SameText(Prop->Name(), Name)) return Prop;
  return nullptr;
}

bool IsIdentifierChar(Char C) {
  return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9') ||
         C == u'_';
}

// Digits with at most one point and a leading minus: read the same whatever the decimal
// separator is set to, so the value may be converted once.
bool IsPlainNumber(std::u16string_view S) {
  if (!S.empty() && S[0] == u'-') S.remove_prefix(1);
  if (S.empty()) return false;
  int Points = 0;
  for (Char C : S) {
    if (C == u'.') {
      ++Points;
    } else if (C < u'0' || C > u'9') {
      return false;
    }
  }
  return Points <= 1;
}

// The plan for setting Leaf = Value on Obj (the root when Path is empty), or nothing when the
// pair is left to the serializer.
std::optional<TPlan> PlanLeaf(TPersistent* Obj, bool AtRoot, std::u16string_view Leaf,
                              std::u16string_view Value, bool OldFormat) {
  TPlan Plan;
  const bool IsText = Leaf == u"Text";
  if (Leaf.size() == 1 || IsText || Leaf == u"PropData" || Leaf == u"Name") {
    if (!AtRoot) return std::nullopt;
    auto* Component = vqrAs<TvqrComponent>(Obj);
    if (Leaf.size() == 1 && Component && std::u16string_view(u"hltw").find(Leaf[0]) != std::u16string_view::npos) {
      if (!IsPlainNumber(Value)) return std::nullopt;
      Plan.Action = TAction::Bound;
      Plan.Bound = Leaf[0];
      Plan.Float = ParseFloatText(Value);
      return Plan;
    }
    // Text (the object not being a list), or x on a component: the decoded text; u is the
    // same outside old-format files.
    const bool TextPair = IsText && !vqrAs<TStrings>(Obj) && !OldFormat;
    const bool LetterPair = Component && (Leaf == u"x" || (Leaf == u"u" && !OldFormat));
    auto* Text = dynamic_cast<IvqrSerializedText*>(Obj);
    if (!Text || !(TextPair || LetterPair)) return std::nullopt;
    Plan.Action = TAction::TextOfObject;
    Plan.Str = DecodeXMLValue(Value);
    Plan.TextOffset = reinterpret_cast<char*>(Text) - reinterpret_cast<char*>(Obj);
    return Plan;
  }
  const TPropInfo* Prop = FindProperty(Obj->ClassType(), Leaf);
  if (!Prop || Prop->ReadOnly()) return std::nullopt;
  Plan.Prop = Prop;
  switch (Prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkSet:
    case tkEnumeration: {
      const String Text(Value);
      if (TryStrToInt64(Text, Plan.Ordinal)) {
        Plan.Action = TAction::Ordinal;
        return Plan;
      }
      if (Prop->Kind() != tkEnumeration) return std::nullopt;
      const int Index = Prop->EnumType()->IndexOf(Text);
      if (Index < 0) return std::nullopt;
      Plan.Action = TAction::Ordinal;
      Plan.Ordinal = Index;
      return Plan;
    }
    case tkFloat:
      if (!IsPlainNumber(Value)) return std::nullopt;
      Plan.Action = TAction::Float;
      Plan.Float = ParseFloatText(Value);
      return Plan;
    case tkString:
      Plan.Action = TAction::String;
      Plan.Str = DecodeXMLValue(Value);
      return Plan;
    default:
      return std::nullopt;
  }
}

}  // namespace

struct TvqrParsedBase::TPair {
  String Name;
  String Value;
  // ` Name="Value"`, for the serializer.
  String Text;
  bool Planned = false;
  // The type of the root object the plan was made on.
  const std::type_info* RootType = nullptr;
  TPlan Plan;
};

namespace {

// Makes the plan of a pair on the object it is about to be applied to; a pair left to the
// serializer keeps the plan TAction::Text.
TPlan MakePlan(TPersistent* Root, std::u16string_view Name, std::u16string_view Value,
               bool OldFormat) {
  TPlan Plan;
  if (!std::all_of(Name.begin(), Name.end(), [](Char C) { return IsIdentifierChar(C) || C == u'.'; }))
    return Plan;
  TPersistent* Obj = Root;
  std::vector<TStep> Path;
  std::size_t Start = 0;
  for (std::size_t Dot = Name.find(u'.'); Dot != std::u16string_view::npos;
       Dot = Name.find(u'.', Start)) {
    const TPropInfo* Prop = FindProperty(Obj->ClassType(), Name.substr(Start, Dot - Start));
    if (!Prop || Prop->Kind() != tkClass) return Plan;
    Obj = vqrAs<TPersistent>(Prop->GetObject(Obj));
    if (!Obj) return Plan;
    Path.push_back({Prop, &typeid(*Obj)});
    Start = Dot + 1;
  }
  try {
    if (auto Leaf = PlanLeaf(Obj, Path.empty(), Name.substr(Start), Value, OldFormat)) {
      Plan = std::move(*Leaf);
      Plan.Path = std::move(Path);
    }
  } catch (const Exception&) {
    // A value that does not convert is left to the serializer, which reports it.
  }
  return Plan;
}

// Applies a planned pair to Obj (of the plan's root type); false when an object on the walk is
// of another type than when the plan was made.
bool ApplyPlan(const TPlan& Plan, TPersistent* Obj) {
  for (const TStep& Step : Plan.Path) {
    Obj = vqrAs<TPersistent>(Step.Prop->GetObject(Obj));
    if (!Obj) return true;  // the serializer ignores a pair whose object is missing
    if (typeid(*Obj) != *Step.Type) return false;
  }
  try {
    switch (Plan.Action) {
      case TAction::Float:
        Plan.Prop->SetFloat(Obj, Plan.Float);
        break;
      case TAction::Ordinal:
        Plan.Prop->SetOrd(Obj, Plan.Ordinal);
        break;
      case TAction::String:
        Plan.Prop->SetStr(Obj, Plan.Str);
        break;
      case TAction::Bound: {
        auto* C = static_cast<TvqrComponent*>(Obj);
        if (Plan.Bound == u'h') C->SetHeight(Plan.Float);
        else if (Plan.Bound == u'l') C->SetLeft(Plan.Float);
        else if (Plan.Bound == u't') C->SetTop(Plan.Float);
        else C->SetWidth(Plan.Float);
        break;
      }
      case TAction::TextOfObject:
        reinterpret_cast<IvqrSerializedText*>(reinterpret_cast<char*>(Obj) + Plan.TextOffset)
            ->SetSerializedText(Plan.Str);
        break;
      case TAction::Text:
        break;
    }
  } catch (const Exception&) {
    // A value the object refuses is skipped, as the serializer skips it; the rebuilding
    // reads no messages.
  }
  return true;
}

}  // namespace

TvqrParsedBase::TvqrParsedBase(const String& Text, bool OldFormat) : FOldFormat(OldFormat) {
  std::u16string_view Trimmed(Text);
  while (!Trimmed.empty() && Trimmed.front() <= u' ') Trimmed.remove_prefix(1);
  if (Trimmed.empty()) return;
  const std::size_t Blank = Trimmed.find(u' ');
  const std::u16string_view Rest =
      Blank == std::u16string_view::npos ? std::u16string_view() : Trimmed.substr(Blank + 1);
  // The serializer's cutting; any ending other than blanks after the last pair would run on
  // into the difference, so such a text is not taken.
  std::size_t I = 0;
  const std::size_t N = Rest.size();
  while (I < N) {
    while (I < N && Rest[I] == u' ') ++I;
    if (I == N) break;
    const std::size_t Eq = Rest.find(u'=', I);
    if (Eq == std::u16string_view::npos) return;
    std::u16string_view Name = Rest.substr(I, Eq - I);
    while (!Name.empty() && Name.back() <= u' ') Name.remove_suffix(1);
    if (Name.empty()) return;
    const std::size_t Open = Rest.find(u'"', Eq + 1);
    if (Open == std::u16string_view::npos) return;
    const std::size_t Close = Rest.find(u'"', Open + 1);
    if (Close == std::u16string_view::npos) return;
    const std::u16string_view Value = Rest.substr(Open + 1, Close - Open - 1);
    TPair& Pair = FPairs.emplace_back();
    Pair.Name = String(Name);
    Pair.Value = String(Value);
    Pair.Text = u" " + Pair.Name + u"=\"" + Pair.Value + u"\"";
    I = Close + 1;
  }
  try {
    FClass = FindClass(String(Trimmed.substr(0, Blank)));
  } catch (const Exception&) {
    FClass = nullptr;  // read from the joined text, which raises the error
  }
}

TvqrParsedBase::~TvqrParsedBase() = default;

void TvqrParsedBase::Apply(TComponent* Obj, TvqrXMLSerializer& Serializer) {
  const std::type_info& RootType = typeid(*Obj);
  for (TPair& Pair : FPairs) {
    if (!Pair.Planned) {
      Pair.Plan = MakePlan(Obj, Pair.Name, Pair.Value, FOldFormat);
      Pair.RootType = &RootType;
      Pair.Planned = true;
    }
    const bool Done = Pair.Plan.Action != TAction::Text && *Pair.RootType == RootType &&
                      ApplyPlan(Pair.Plan, Obj);
    if (!Done) Serializer.XMLToObj(Pair.Text, Obj);
  }
}

TComponent* TvqrParsedBase::Read(TComponent* Owner, const String& Diff,
                                 TvqrXMLSerializer& Serializer) {
  TComponent* Obj = FClass->CreateComponent(Owner);
  auto* C = vqrAs<TvqrComponent>(Obj);
  if (C) C->SetIsLoading(true);
  // As the serializer's reading ends loading, also when applying fails. References in the
  // texts are never resolved while rebuilding: they stay in the page's serializer unused.
  auto Finish = [&] {
    if (C) C->SetIsLoading(false);
    if (!vqrAs<TvqrReport>(Obj)) Obj->Loaded();
  };
  Serializer.SetOwner(Owner);
  try {
    Apply(Obj, Serializer);
    Serializer.XMLToObj(Diff, Obj);
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  return Obj;
}
