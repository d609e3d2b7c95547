// FieldDefs.h - field definitions: the structure a dataset reports (name, type, size) from
// which it creates its default fields.
//
// FieldNo of a definition is its 1-based position in the list; a data field bound to a
// definition takes that number, so FieldNo - 1 is the structure position.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/DBConsts.h"

class TDataSet;
class TField;
class TFieldDefs;
class TComponent;

class TFieldDef {
public:
  TFieldDef(TFieldDefs* Owner, const String& Name, TFieldType DataType, int Size, bool Required,
            int FieldNo);
  TFieldDef(const TFieldDef&) = delete;
  TFieldDef& operator=(const TFieldDef&) = delete;
  ~TFieldDef();

  TFieldDefs* Collection() const { return FOwner; }
  const String& Name() const { return FName; }
  void SetName(const String& Value);
  String DisplayName() const { return FName; }
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value);
  int Size() const { return FSize; }
  void SetSize(int Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  TFieldAttributes Attributes() const { return FAttributes; }
  void SetAttributes(TFieldAttributes Value);
  bool Required() const { return FAttributes.Contains(faRequired); }
  void SetRequired(bool Value);
  bool InternalCalcField() const { return FInternalCalcField; }
  void SetInternalCalcField(bool Value);
  int FieldNo() const { return FFieldNo; }
  int Index() const;
  // Child definitions of object types; kept for completeness and always empty here.
  TFieldDefs* ChildDefs();
  bool HasChildDefs() const { return FChildDefs != nullptr; }
  // Creates the field for this definition, owned by Owner, attached to the dataset.
  TField* CreateField(TComponent* Owner);

private:
  friend class TFieldDefs;
  void Changed();

  TFieldDefs* FOwner;
  String FName;
  TFieldType FDataType;
  int FSize;
  int FPrecision = 0;
  TFieldAttributes FAttributes;
  bool FInternalCalcField = false;
  int FFieldNo;
  std::unique_ptr<TFieldDefs> FChildDefs;
};

class TFieldDefs {
public:
  explicit TFieldDefs(TDataSet* ADataSet);
  TFieldDefs(const TFieldDefs&) = delete;
  TFieldDefs& operator=(const TFieldDefs&) = delete;
  ~TFieldDefs();

  TDataSet* DataSet() const { return FDataSet; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TFieldDef* Items(int Index) const;
  TFieldDef* operator[](int Index) const { return Items(Index); }
  TFieldDef* AddFieldDef();
  TFieldDef* Add(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
  TFieldDef* Find(const String& Name) const;  // raises "Field 'X' not found"
  int IndexOf(const String& Name) const;
  void Delete(int Index);
  void Clear();
  void Assign(const TFieldDefs& Source);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool Updated() const { return FUpdated; }
  void SetUpdated(bool Value) { FUpdated = Value; }
  // Reads the definitions from the dataset (InitFieldDefs) unless they are up to date.
  void Update();
  bool HiddenFields() const { return FHiddenFields; }
  void SetHiddenFields(bool Value) { FHiddenFields = Value; }

private:
  friend class TFieldDef;
  void Changed();
  void Renumber();

  TDataSet* FDataSet;
  std::vector<std::unique_ptr<TFieldDef>> FItems;
  int FUpdateCount = 0;
  bool FUpdated = false;
  bool FHiddenFields = false;
};
