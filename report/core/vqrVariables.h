// vqrVariables.h - report variables grouped in categories, and the scripts' associative array.
//
// Categories are expressed by order alone: an item whose Name begins with a blank is a
// category header (its name is the rest); the items after it, up to the next header, are
// that category's variables. Items before the first header belong to no category. Names
// compare ignoring case; the first match wins.
//
// Variables file: <variables><item Name="..." Value="..."/>...</variables>
#pragma once

#include "platform/classes/Collection.h"
#include "platform/rtl/Variant.h"

class TStream;
class TStrings;
class TvqrXMLItem;

class TvqrVariable : public TCollectionItem {
  VORENTA_CLASS(TvqrVariable, TCollectionItem)
public:
  explicit TvqrVariable(TCollection* ACollection) : TCollectionItem(ACollection) {}
  // Copies Name and Value from another variable; any other source is ignored.
  void Assign(TPersistent* Source) override;

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& Value) { FValue = Value; }

private:
  String FName;
  Variant FValue = Variant::MakeNull();
};

class TvqrVariables : public TCollection {
  VORENTA_CLASS(TvqrVariables, TCollection)
public:
  TvqrVariables() : TCollection(TvqrVariable::ClassInfo()) {}

  TvqrVariable* Add() { return static_cast<TvqrVariable*>(TCollection::Add()); }
  TvqrVariable* Insert(int Index) { return static_cast<TvqrVariable*>(TCollection::Insert(Index)); }
  TvqrVariable* Items(int Index) const { return static_cast<TvqrVariable*>(TCollection::Items(Index)); }
  // The first item of that name (headers included: " Cat" finds the header of Cat), or -1.
  int IndexOf(const String& Name) const;
  // The value of Name, Null when absent.
  Variant Variables(const String& Name) const;
  // Sets the value, or appends a new item (at the end of the list, so in the last category).
  void SetVariables(const String& Name, const Variant& Value);

  // Adds AName to ACategory (before the next header), or only sets its value when a
  // variable of that name exists anywhere; nothing for an unknown category.
  void AddVariable(const String& ACategory, const String& AName, const Variant& AValue);
  // Frees the header and the category's variables.
  void DeleteCategory(const String& Name);
  void DeleteVariable(const String& Name);
  void GetCategoriesList(TStrings* List, bool ClearList = true) const;
  // The names of Category's variables; an empty Category lists those before the first header.
  void GetVariablesList(const String& Category, TStrings* List) const;

  void LoadFromFile(const String& FileName);
  void LoadFromStream(TStream* Stream);
  void LoadFromXMLItem(TvqrXMLItem* Item, bool OldXMLFormat);
  void SaveToFile(const String& FileName) const;
  void SaveToStream(TStream* Stream) const;
  void SaveToXMLItem(TvqrXMLItem* Item) const;

private:
  // Index of the header " " + Category, or -1.
  int HeaderIndex(const String& Category) const;
  // The index of the next header after Index (or Count); an empty name stops the walk too
  // when StopAtEmpty.
  int NextHeader(int Index, bool StopAtEmpty) const;
};

// An associative array of scripts: entries keyed by the text form of a variant key.
class TvqrArray : public TCollection {
  VORENTA_CLASS(TvqrArray, TCollection)
public:
  TvqrArray() : TCollection(TvqrVariable::ClassInfo()) {}

  TvqrVariable* Items(int Index) const { return static_cast<TvqrVariable*>(TCollection::Items(Index)); }
  int IndexOf(const Variant& Name) const;
  Variant Variables(const Variant& Key) const;
  void SetVariables(const Variant& Key, const Variant& Value);
};
