// vqrPreviewPagesBase.h - TvqrParsedBase, a template copy's base text read once for the
// rebuilding of prepared pages.
//
// Each object of a stored page is its template copy's base text ("TvqrMemoView Left="0" ...")
// followed by the object's own difference. Rebuilding a page used to read the two joined,
// which converts every base value again for every printed object. This class splits the base
// once into its pairs and, the first time each pair is applied, remembers what applying it
// does: the property to set (through the sub-objects its dotted name walks), and the value
// already converted. Later objects get the remembered setters, and a pair whose walk meets
// an object of another type than the first time is applied as text through the serializer,
// so the result is always that of reading the joined text. The difference itself is read by
// the serializer as before.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/rtl/Types.h"

class TvqrXMLSerializer;

class TvqrParsedBase {
public:
  // Text is the base text: a class name, then ` Name="value"` pairs. OldFormat: the store's
  // texts come from an old-format file.
  TvqrParsedBase(const String& Text, bool OldFormat);
  ~TvqrParsedBase();
  TvqrParsedBase(const TvqrParsedBase&) = delete;
  TvqrParsedBase& operator=(const TvqrParsedBase&) = delete;

  // False for a text that reads differently when the difference follows it (an unknown
  // class, a pair without its closing quote, trailing text that is no pair): such objects are
  // read from the joined text.
  bool Usable() const { return FClass != nullptr; }
  bool OldFormat() const { return FOldFormat; }

  // A new object owned by Owner with the base applied, then Diff, loading ended: what
  // Serializer.ReadComponentStr(Owner, <base> + " " + Diff, true) gives. Usable() only.
  TComponent* Read(TComponent* Owner, const String& Diff, TvqrXMLSerializer& Serializer);

private:
  struct TPair;
  void Apply(TComponent* Obj, TvqrXMLSerializer& Serializer);

  TClass FClass = nullptr;
  bool FOldFormat = false;
  std::vector<TPair> FPairs;
};
