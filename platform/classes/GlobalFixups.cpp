// GlobalFixups.cpp - references from one root into another ("DM.DSColor") that wait until that
// root exists, and the procedures that find the program's global components by name.
#include "platform/classes/Filer.h"

#include <algorithm>

#include "platform/classes/Filer_p.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TGlobalFixup {
  TComponent* Root;        // the root whose stream held the reference
  TPersistent* Instance;
  const TPropInfo* Prop;
  String Name;             // "Root.Component"
};

std::vector<TGlobalFixup>& Waiting() {
  static std::vector<TGlobalFixup> List;
  return List;
}

std::vector<TFindGlobalComponent>& FindProcs() {
  static std::vector<TFindGlobalComponent> Procs;
  return Procs;
}

// The component a waiting reference names, or nullptr while its root does not exist.
TComponent* FindGlobalReference(const String& Name) {
  const std::size_t Dot = Name.find(u'.');
  TComponent* Root = FindGlobalComponent(Name.substr(0, Dot));
  if (!Root || Dot == String::npos) return Root;
  return Root->FindComponent(Name.substr(Dot + 1));
}

}  // namespace

void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
  FindProcs().push_back(std::move(Proc));
}

TComponent* FindGlobalComponent(const String& Name) {
  for (const TFindGlobalComponent& Proc : FindProcs())
    if (TComponent* Found = Proc(Name)) return Found;
  return nullptr;
}

void filer_detail::AddGlobalFixup(TComponent* Root, TPersistent* Instance, const TPropInfo* Prop,
                    const String& Name) {
  Waiting().push_back({Root, Instance, Prop, Name});
  Root->SetFixups(true);
}

void GlobalFixupReferences() {
  std::vector<TGlobalFixup>& List = Waiting();
  for (std::size_t I = 0; I < List.size();) {
    TComponent* Target = FindGlobalReference(List[I].Name);
    if (!Target) {
      ++I;
      continue;
    }
    const TGlobalFixup Fixup = List[I];
    List.erase(List.begin() + std::ptrdiff_t(I));
    try {
      Fixup.Prop->SetObject(Fixup.Instance, Target);
    } catch (const Exception& E) {
      throw EReadError(u"Error reading " + Fixup.Prop->Name() + u": " + E.Message());
    }
  }
}

std::vector<String> PendingGlobalFixups() {
  std::vector<String> Names;
  for (const TGlobalFixup& Fixup : Waiting()) Names.push_back(Fixup.Name);
  return Names;
}

void CheckGlobalFixups() {
  GlobalFixupReferences();
  if (!Waiting().empty())
    throw EReadError(Format(u"Unresolved reference to %s", {Waiting().front().Name}));
}

void RemoveGlobalFixups(TComponent* Root) {
  std::erase_if(Waiting(), [Root](const TGlobalFixup& Fixup) { return Fixup.Root == Root; });
}
