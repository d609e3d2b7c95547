// IndexDefs.h - index definitions a dataset reports or is given (name, fields, options), a
// collection so that forms and streams store them.
#pragma once

#include "platform/classes/Collection.h"
#include "platform/db/DBConsts.h"

class TDataSet;
class TIndexDefs;

// Published: Name, Fields, Options.
class TIndexDef : public TCollectionItem {
  VORENTA_CLASS(TIndexDef, TCollectionItem)
public:
  explicit TIndexDef(TCollection* ACollection) : TCollectionItem(ACollection) {}
  TIndexDef(TIndexDefs* Owner, const String& Name, const String& Fields, TIndexOptions Options);

  TIndexDefs* Collection() const;
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; Changed(false); }
  String DisplayName() const override { return FName; }
  const String& Fields() const { return FFields; }
  void SetFields(const String& Value) { FFields = Value; Changed(false); }
  const String& CaseInsFields() const { return FCaseInsFields; }
  void SetCaseInsFields(const String& Value) { FCaseInsFields = Value; Changed(false); }
  const String& DescFields() const { return FDescFields; }
  void SetDescFields(const String& Value) { FDescFields = Value; Changed(false); }
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& Value) { FExpression = Value; Changed(false); }
  TIndexOptions Options() const { return FOptions; }
  void SetOptions(TIndexOptions Value) { FOptions = Value; Changed(false); }
  void Assign(const TIndexDef& Source);
  void Assign(TPersistent* Source) override;

private:
  String FName;
  String FFields;
  String FCaseInsFields;
  String FDescFields;
  String FExpression;
  TIndexOptions FOptions;
};

class TIndexDefs : public TOwnedCollection {
  VORENTA_CLASS(TIndexDefs, TOwnedCollection)
public:
  explicit TIndexDefs(TDataSet* ADataSet);

  TDataSet* DataSet() const { return FDataSet; }
  TIndexDef* Items(int Index) const { return static_cast<TIndexDef*>(TCollection::Items(Index)); }
  TIndexDef* operator[](int Index) const { return Items(Index); }
  TIndexDef* AddIndexDef();
  TIndexDef* Add(const String& Name, const String& Fields, TIndexOptions Options);
  TIndexDef* Find(const String& Name) const;  // raises "Index 'X' not found"
  int IndexOf(const String& Name) const;
  // The first index over exactly these fields (case-insensitive names), or nullptr.
  TIndexDef* GetIndexForFields(const String& Fields, bool CaseInsensitive) const;
  void Assign(const TIndexDefs& Source);
  using TOwnedCollection::Assign;
  bool Updated() const { return FUpdated; }
  void SetUpdated(bool Value) { FUpdated = Value; }
  // Asks the dataset for its index definitions (UpdateIndexDefs).
  void Update();

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDataSet* FDataSet;
  bool FUpdated = false;
};

// The definitions of Source whose options include every one of IndexTypes, copied into Dest.
void GetIndexDefs(const TIndexDefs& Source, TIndexDefs& Dest, TIndexOptions IndexTypes);
