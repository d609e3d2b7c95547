// Params.h - named parameters of a query or command, and of a dataset's master values.
//
// A parameter holds a Variant value and a declared data type; Bound tells it was assigned.
// The same name may stand several times in a statement: it is one parameter. TParams is a
// collection of TParam items, so forms and streams store parameters with their published
// properties.
#pragma once

#include <vector>

#include "platform/classes/Collection.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TParams;
class TField;
class TDataSet;

// Published: Name, DataType, ParamType, Size, Value.
class TParam : public TCollectionItem {
  VORENTA_CLASS(TParam, TCollectionItem)
public:
  explicit TParam(TCollection* ACollection);
  TParam(TParams* Owner, const String& Name, TFieldType DataType, TParamType ParamType);

  TParams* Collection() const;
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  String DisplayName() const override;
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }
  TParamType ParamType() const { return FParamType; }
  void SetParamType(TParamType Value) { FParamType = Value; }
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  bool Bound() const { return FBound; }
  void SetBound(bool Value) { FBound = Value; }
  bool IsNull() const;
  void Clear();
  const Variant& Value() const { return FValue; }
  // Assigns and marks the parameter bound; an unknown data type is taken from the value.
  void SetValue(const Variant& Value);
  String AsString() const;
  void SetAsString(const String& V);
  Integer AsInteger() const;
  void SetAsInteger(Integer V);
  double AsFloat() const;
  void SetAsFloat(double V);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime V);
  bool AsBoolean() const;
  void SetAsBoolean(bool V);
  // Takes the field's value and data type (master values).
  void AssignField(const TField* Field);
  void AssignFieldValue(const TField* Field, const Variant& Value);
  void Assign(const TParam& Source);
  void Assign(TPersistent* Source) override;

private:
  String FName;
  TFieldType FDataType = ftUnknown;
  TParamType FParamType = ptUnknown;
  int FSize = 0;
  bool FBound = false;
  Variant FValue;
};

class TParams : public TOwnedCollection {
  VORENTA_CLASS(TParams, TOwnedCollection)
public:
  explicit TParams(TPersistent* AOwner = nullptr);

  TParam* Items(int Index) const { return static_cast<TParam*>(TCollection::Items(Index)); }
  TParam* operator[](int Index) const { return Items(Index); }
  TParam* AddParam();
  TParam* CreateParam(TFieldType DataType, const String& Name, TParamType ParamType);
  TParam* FindParam(const String& Name) const;
  TParam* ParamByName(const String& Name) const;  // raises "Parameter 'X' not found"
  // Copies names, types and values.
  void Assign(const TParams& Source);
  using TOwnedCollection::Assign;
  // Each parameter here whose name Source also has takes Source's parameter (its first one of
  // that name); the others stay as they are.
  void AssignValues(const TParams& Source);
  // Replaces the parameters by those of SQL (ParseSQL); names that stay keep their values.
  void ParseSQLKeepingValues(const String& SQL);
  bool IsEqual(const TParams& Other) const;
  // Values of the parameters named by a ';' list: one value or a Variant array.
  Variant ParamValues(const String& Names) const;
  void SetParamValues(const String& Names, const Variant& Values);
  // Parses ":NAME" markers out of SQL text: adds the parameters (each name once, in order of
  // first use) and, when DoCreate is false, only returns the text. Quoted text and "::" are
  // skipped. Returns the SQL with each marker replaced by "?" (the positional form).
  String ParseSQL(const String& SQL, bool DoCreate, std::vector<String>* Order = nullptr);
};
