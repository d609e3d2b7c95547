// Resources.cpp - the table of compiled-in resources.
#include "platform/rtl/Resources.h"

#include <map>

#include "platform/rtl/Exceptions.h"

namespace {

// Filled before main by the generated tables, read afterwards; never changed while read.
std::map<std::string, std::string_view, std::less<>>& Table() {
  static std::map<std::string, std::string_view, std::less<>> Instance;
  return Instance;
}

}  // namespace

void RegisterResourceTable(const TResourceEntry* Entries, std::size_t Count) {
  for (std::size_t I = 0; I < Count; ++I) {
    const auto Size = static_cast<std::size_t>(Entries[I].End - Entries[I].Begin);
    Table()[Entries[I].Name] =
        std::string_view(reinterpret_cast<const char*>(Entries[I].Begin), Size);
  }
}

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
