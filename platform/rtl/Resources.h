// Resources.h - files compiled into the program and found by name at run time.
//
// Every folder's resources/ directory (templates, grammars, bitmaps, cursors, string tables,
// form texts) is embedded by the build; each file is found by its path relative to that
// folder, e.g. "grammars/pascal.xml". Names are unique across the whole program.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TResourceEntry {
  const char* Name;
  const unsigned char* Begin;
  const unsigned char* End;
};

// The generated tables chain themselves here before main. Header-only on purpose: the
// generated code must not need the library, whose archive may come later on the link line.
struct TResourceTableNode {
  const TResourceEntry* Entries;
  std::size_t Count;
  const TResourceTableNode* Next;
};

inline const TResourceTableNode*& ResourceTableHead() {
  static const TResourceTableNode* Head = nullptr;
  return Head;
}

struct TResourceTableRegistrar {
  TResourceTableNode Node;
  TResourceTableRegistrar(const TResourceEntry* Entries, std::size_t Count)
      : Node{Entries, Count, ResourceTableHead()} {
    ResourceTableHead() = &Node;
  }
};

// The bytes of a resource, or nullptr when there is none of that name.
const std::string_view* FindResource(std::string_view Name);

// The bytes of a resource; raises EResNotFound naming it when there is none.
std::string_view LoadResource(std::string_view Name);

// Names of every resource whose name starts with Prefix, in name order.
std::vector<std::string> ResourceNames(std::string_view Prefix = {});
