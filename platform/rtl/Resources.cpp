// Resources.cpp - the table of compiled-in resources.
#include "platform/rtl/Resources.h"

#include <map>

#include "platform/rtl/Exceptions.h"

namespace {

using TTable = std::map<std::string, std::string_view, std::less<>>;

// Built from the chain of generated tables on first use; rebuilt if a table joined since.
const TTable& Table() {
  static TTable Instance;
  static const TResourceTableNode* BuiltFrom = nullptr;
  if (BuiltFrom == ResourceTableHead()) return Instance;
  Instance.clear();
  for (const TResourceTableNode* Node = ResourceTableHead(); Node; Node = Node->Next) {
    for (std::size_t I = 0; I < Node->Count; ++I) {
      const TResourceEntry& Entry = Node->Entries[I];
      const auto Size = static_cast<std::size_t>(Entry.End - Entry.Begin);
      Instance.emplace(Entry.Name, std::string_view(reinterpret_cast<const char*>(Entry.Begin), Size));
    }
  }
  BuiltFrom = ResourceTableHead();
  return Instance;
}

}  // namespace

const std::string_view* FindResource(std::string_view Name) {
  auto It = Table().find(Name);
  return It == Table().end() ? nullptr : &It->second;
}

std::string_view LoadResource(std::string_view Name) {
  if (const std::string_view* Found = FindResource(Name)) return *Found;
  throw EResNotFound(u"Resource " + Utf8ToString(Name) + u" not found");
}

std::vector<std::string> ResourceNames(std::string_view Prefix) {
  std::vector<std::string> Names;
  for (auto It = Table().lower_bound(Prefix); It != Table().end(); ++It) {
    if (It->first.compare(0, Prefix.size(), Prefix) != 0) break;
    Names.push_back(It->first);
  }
  return Names;
}
