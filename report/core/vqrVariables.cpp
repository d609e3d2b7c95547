// vqrVariables.cpp - report variables, categories, the variables file and the script array.
#include "report/core/vqrVariables.h"

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrXML.h"
#include "report/core/vqrXMLSerializer.h"

REGISTER_CLASS(TvqrVariable) {
  Class.Property("Name", &TvqrVariable::Name, &TvqrVariable::SetName)
      .Property("Value", &TvqrVariable::Value, &TvqrVariable::SetValue);
}

REGISTER_CLASS(TvqrVariables) {}
REGISTER_CLASS(TvqrArray) {}

namespace {

bool IsHeader(const String& Name) { return !Name.empty() && Name[0] == u' '; }

}  // namespace

void TvqrVariable::Assign(TPersistent* Source) {
  if (auto* V = dynamic_cast<TvqrVariable*>(Source)) {
    FName = V->FName;
    FValue = V->FValue;
  }
}

// --- TvqrVariables --------------------------------------------------------------------------

int TvqrVariables::IndexOf(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Name)) return I;
  return -1;
}

Variant TvqrVariables::Variables(const String& Name) const {
  int I = IndexOf(Name);
  return I < 0 ? Variant::MakeNull() : Items(I)->Value();
}

void TvqrVariables::SetVariables(const String& Name, const Variant& Value) {
  int I = IndexOf(Name);
  TvqrVariable* Item = I < 0 ? Add() : Items(I);
  if (I < 0) Item->SetName(Name);
  Item->SetValue(Value);
}

int TvqrVariables::HeaderIndex(const String& Category) const { return IndexOf(u" " + Category); }

int TvqrVariables::NextHeader(int Index, bool StopAtEmpty) const {
  int I = Index + 1;
  while (I < Count()) {
    const String& Name = Items(I)->Name();
    if (IsHeader(Name) || (StopAtEmpty && Name.empty())) break;
    ++I;
  }
  return I;
}

void TvqrVariables::AddVariable(const String& ACategory, const String& AName,
                                const Variant& AValue) {
  int Header = HeaderIndex(ACategory);
  if (Header < 0) return;
  int At = NextHeader(Header, false);
  int Existing = IndexOf(AName);
  if (Existing >= 0) return Items(Existing)->SetValue(AValue);
  TvqrVariable* Item = At >= Count() ? Add() : Insert(At);
  Item->SetName(AName);
  Item->SetValue(AValue);
}

void TvqrVariables::DeleteCategory(const String& Name) {
  int Header = HeaderIndex(Name);
  if (Header < 0) return;
  int End = NextHeader(Header, false);
  BeginUpdate();
  for (int I = End - 1; I >= Header; --I) Delete(I);
  EndUpdate();
}

void TvqrVariables::DeleteVariable(const String& Name) {
  int I = IndexOf(Name);
  if (I >= 0) Delete(I);
}

void TvqrVariables::GetCategoriesList(TStrings* List, bool ClearList) const {
  if (ClearList) List->Clear();
  for (int I = 0; I < Count(); ++I)
    if (IsHeader(Items(I)->Name())) List->Add(Items(I)->Name().substr(1, 255));
}

void TvqrVariables::GetVariablesList(const String& Category, TStrings* List) const {
  List->Clear();
  int First = 0;
  if (!Category.empty()) {
    int Header = HeaderIndex(Category);
    if (Header < 0) return;
    First = Header + 1;
  }
  int End = NextHeader(First - 1, true);
  for (int I = First; I < End; ++I) List->Add(Items(I)->Name());
}

void TvqrVariables::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead);
  LoadFromStream(&Stream);
}

void TvqrVariables::LoadFromStream(TStream* Stream) {
  Clear();
  TvqrXMLDocument Doc;
  Doc.LoadFromStream(Stream);
  if (AnsiSameText(Doc.Root()->Name(), u"variables")) LoadFromXMLItem(Doc.Root(), Doc.OldVersion());
}

void TvqrVariables::LoadFromXMLItem(TvqrXMLItem* Item, bool OldXMLFormat) {
  Clear();
  TvqrXMLSerializer Serializer;
  Serializer.SetOldFormat(OldXMLFormat);
  for (int I = 0; I < Item->Count(); ++I) {
    TvqrXMLItem* Child = Item->Items(I);
    if (!AnsiSameText(Child->Name(), u"item")) continue;
    Serializer.XMLToObj(Child->Text(), Add());
  }
}

void TvqrVariables::SaveToFile(const String& FileName) const {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TvqrVariables::SaveToStream(TStream* Stream) const {
  TvqrXMLDocument Doc;
  Doc.SetAutoIndent(true);
  Doc.Root()->SetName(u"variables");
  SaveToXMLItem(Doc.Root());
  Doc.SaveToStream(Stream);
}

void TvqrVariables::SaveToXMLItem(TvqrXMLItem* Item) const {
  TvqrXMLSerializer Serializer;
  for (int I = 0; I < Count(); ++I) {
    TvqrXMLItem* Child = Item->Add();
    Child->SetName(u"item");
    Child->SetText(Serializer.ObjToXML(Items(I)));
  }
}

// --- TvqrArray ------------------------------------------------------------------------------

int TvqrArray::IndexOf(const Variant& Name) const {
  String Key = Name.AsString();
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Key)) return I;
  return -1;
}

Variant TvqrArray::Variables(const Variant& Key) const {
  int I = IndexOf(Key);
  return I < 0 ? Variant::MakeNull() : Items(I)->Value();
}

void TvqrArray::SetVariables(const Variant& Key, const Variant& Value) {
  int I = IndexOf(Key);
  TvqrVariable* Item = I < 0 ? static_cast<TvqrVariable*>(Add()) : Items(I);
  if (I < 0) Item->SetName(Key.AsString());
  Item->SetValue(Value);
}
