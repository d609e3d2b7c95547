// IndexDefs.h - index definitions a dataset reports or is given (name, fields, options).
#pragma once

#include <memory>
#include <vector>

#include "platform/db/DBConsts.h"

class TDataSet;
class TIndexDefs;

class TIndexDef {
public:
  TIndexDef(TIndexDefs* Owner, const String& Name, const String& Fields, TIndexOptions Options);
  TIndexDef(const TIndexDef&) = delete;
  TIndexDef& operator=(const TIndexDef&) = delete;

  TIndexDefs* Collection() const { return FOwner; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; Changed(); }
  const String& Fields() const { return FFields; }
  void SetFields(const String& Value) { FFields = Value; Changed(); }
  const String& CaseInsFields() const { return FCaseInsFields; }
  void SetCaseInsFields(const String& Value) { FCaseInsFields = Value; Changed(); }
  const String& DescFields() const { return FDescFields; }
  void SetDescFields(const String& Value) { FDescFields = Value; Changed(); }
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& Value) { FExpression = Value; Changed(); }
  TIndexOptions Options() const { return FOptions; }
  void SetOptions(TIndexOptions Value) { FOptions = Value; Changed(); }
  int Index() const;
  void Assign(const TIndexDef& Source);

private:
  void Changed();
  TIndexDefs* FOwner;
  String FName;
  String FFields;
  String FCaseInsFields;
  String FDescFields;
  String FExpression;
  TIndexOptions FOptions;
};

class TIndexDefs {
public:
  explicit TIndexDefs(TDataSet* ADataSet) : FDataSet(ADataSet) {}
  TIndexDefs(const TIndexDefs&) = delete;
  TIndexDefs& operator=(const TIndexDefs&) = delete;

  TDataSet* DataSet() const { return FDataSet; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TIndexDef* Items(int Index) const;
  TIndexDef* operator[](int Index) const { return Items(Index); }
  TIndexDef* AddIndexDef();
  TIndexDef* Add(const String& Name, const String& Fields, TIndexOptions Options);
  TIndexDef* Find(const String& Name) const;  // raises "Index 'X' not found"
  int IndexOf(const String& Name) const;
  // The first index over exactly these fields (case-insensitive names), or nullptr.
  TIndexDef* GetIndexForFields(const String& Fields, bool CaseInsensitive) const;
  void Delete(int Index);
  void Clear();
  void Assign(const TIndexDefs& Source);
  bool Updated() const { return FUpdated; }
  void SetUpdated(bool Value) { FUpdated = Value; }
  // Asks the dataset for its index definitions (UpdateIndexDefs).
  void Update();

private:
  friend class TIndexDef;
  void Changed();
  TDataSet* FDataSet;
  std::vector<std::unique_ptr<TIndexDef>> FItems;
  bool FUpdated = false;
};

// The definitions of Source whose options include every one of IndexTypes, copied into Dest.
void GetIndexDefs(const TIndexDefs& Source, TIndexDefs& Dest, TIndexOptions IndexTypes);
