// FieldDefs.h - field definitions: the structure a dataset reports (name, type, size) from
// which it creates its default fields.
//
// FieldNo of a definition is its 1-based position in the list; a data field bound to a
// definition takes that number, so FieldNo - 1 is the structure position. TFieldDefs is a
// collection of TFieldDef items, so forms and streams store definitions.
#pragma once

#include <memory>

#include "platform/classes/Collection.h"
#include "platform/db/DBConsts.h"

class TDataSet;
class TField;
class TFieldDefs;
class TComponent;

// Published: Name, DataType, Size, Required.
class TFieldDef : public TCollectionItem {
  VORENTA_CLASS(TFieldDef, TCollectionItem)
public:
  explicit TFieldDef(TCollection* ACollection);
  TFieldDef(TFieldDefs* Owner, const String& Name, TFieldType DataType, int Size, bool Required);
  ~TFieldDef() override;

  TFieldDefs* Collection() const;
  const String& Name() const { return FName; }
  void SetName(const String& Value);
  String DisplayName() const override;
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
  int FieldNo() const { return Index() + 1; }
  // Child definitions of object types; kept for completeness and always empty here.
  TFieldDefs* ChildDefs();
  bool HasChildDefs() const { return FChildDefs != nullptr; }
  // Creates the field for this definition, owned by Owner, attached to the dataset.
  TField* CreateField(TComponent* Owner);
  void Assign(TPersistent* Source) override;

private:
  String FName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FPrecision = 0;
  TFieldAttributes FAttributes;
  bool FInternalCalcField = false;
  std::unique_ptr<TFieldDefs> FChildDefs;
};

class TFieldDefs : public TOwnedCollection {
  VORENTA_CLASS(TFieldDefs, TOwnedCollection)
public:
  explicit TFieldDefs(TDataSet* ADataSet);
  ~TFieldDefs() override;

  TDataSet* DataSet() const { return FDataSet; }
  TFieldDef* Items(int Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }
  TFieldDef* operator[](int Index) const { return Items(Index); }
  TFieldDef* AddFieldDef();
  TFieldDef* Add(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
  TFieldDef* Find(const String& Name) const;  // raises "Field 'X' not found"
  int IndexOf(const String& Name) const;
  void Assign(const TFieldDefs& Source);
  using TOwnedCollection::Assign;
  bool Updated() const { return FUpdated; }
  void SetUpdated(bool Value) { FUpdated = Value; }
  // Reads the definitions from the dataset (InitFieldDefs) unless they are up to date.
  void Update();
  bool HiddenFields() const { return FHiddenFields; }
  void SetHiddenFields(bool Value) { FHiddenFields = Value; }

protected:
  // Any change: the definitions are no longer up to date and the dataset is told.
  void Update(TCollectionItem* Item) override;

private:
  TDataSet* FDataSet;
  bool FUpdated = false;
  bool FHiddenFields = false;
};
