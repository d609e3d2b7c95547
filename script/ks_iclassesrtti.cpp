// ks_iclassesrtti.cpp - the base classes' bindings: each member is bound to its own handler.
#include "script/ks_iclassesrtti.h"

#include <algorithm>

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/List.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/Variants.h"
#include "script/ks_ibindings.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_xml.h"

namespace {

Variant Obj(TObject* O) { return ksObjectToVariant(O); }

// A pointer kept in a TList (or a string list's Objects[]) as a script value: only a live
// object that has crossed to scripts, so a freed one is an error, never a dangling address.
Variant ListItem(void* P) {
  if (!P) return Variant(0);
  TObjectHandle H = DefaultHandleRegistry().HandleOf(P);
  if (H == TObjectHandle::Nil) throw EHandleError(u"The list item is not an object scripts know");
  return Variant(H);
}

// An element to hang below Parent: not Parent itself nor one of its ancestors, which would
// make the tree a loop.
TksXMLItem* Child(TObject* Parent, TksMethodHelper* H, int i) {
  TksXMLItem* Item = ksArg<TksXMLItem>(H, i);
  if (!Item) throw EInvalidOperation(u"No element to add");
  for (const TksXMLItem* P = &ksSelf<TksXMLItem>(Parent); P; P = P->Parent())
    if (P == Item) throw EInvalidOperation(u"An element cannot be added below itself");
  return Item;
}

class TFunctions : public TksBindingModule {
public:
  explicit TFunctions(TksScript* S) : TksBindingModule(S) {
    AddConstants();
    AddBase();
    AddLists();
    AddStrings();
    AddStreams();
    AddXML();
  }

private:
  void AddConstants() {
    const std::pair<const char16_t*, int> Consts[] = {
        {u"fmCreate", fmCreate},
        {u"fmOpenRead", fmOpenRead},
        {u"fmOpenWrite", fmOpenWrite},
        {u"fmOpenReadWrite", fmOpenReadWrite},
        {u"fmShareExclusive", fmShareExclusive},
        {u"fmShareDenyWrite", fmShareDenyWrite},
        {u"fmShareDenyNone", fmShareDenyNone},
        {u"soFromBeginning", soFromBeginning},
        {u"soFromCurrent", soFromCurrent},
        {u"soFromEnd", soFromEnd}};
    for (auto& [Name, Value] : Consts) Script()->AddConst(Name, u"Integer", Variant(Value));
    Script()->AddEnum(u"TDuplicates", u"dupIgnore, dupAccept, dupError");
    Script()->AddEnum(u"TPrinterOrientation", u"poPortrait, poLandscape");
  }

  void AddBase() {
    Class(TObject::ClassInfo(), u"");
    Method(u"function ClassName: String", [](TObject* I, auto*) { return Variant(ksSelf<TObject>(I).ClassName()); });
    Class(TPersistent::ClassInfo(), u"TObject");
    Method(u"procedure Assign(Source: TPersistent)", [](TObject* I, auto* H) {
      ksSelf<TPersistent>(I).Assign(ksArg<TPersistent>(H, 0));
      return Variant(0);
    });
    Class(TCollectionItem::ClassInfo(), u"TPersistent");
    Class(TCollection::ClassInfo(), u"TPersistent");
    Method(u"procedure Clear", [](TObject* I, auto*) {
      ksSelf<TCollection>(I).Clear();
      return Variant(0);
    });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(ksSelf<TCollection>(I).Count()); });
    Indexed(u"Items", u"Integer", u"TCollectionItem", true,
            [](TObject* I, auto* H) { return Obj(ksSelf<TCollection>(I).Items(ksIntArg(H, 0))); });
    Class(TComponent::ClassInfo(), u"TPersistent");
    Prop(u"Owner", u"TComponent", [](TObject* I) { return Obj(ksSelf<TComponent>(I).Owner()); });
  }

  void AddLists() {
    Class(TList::ClassInfo(), u"TObject");
    Method(u"function Add(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TList>(I).Add(ksArg<TObject>(H, 0))); });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      ksSelf<TList>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure Delete(Index: Integer)", [](TObject* I, auto* H) {
      ksSelf<TList>(I).Delete(ksIntArg(H, 0));
      return Variant(0);
    });
    Method(u"function IndexOf(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TList>(I).IndexOf(ksArg<TObject>(H, 0))); });
    Method(u"procedure Insert(Index: Integer; Item: TObject)", [](TObject* I, auto* H) {
      ksSelf<TList>(I).Insert(ksIntArg(H, 0), ksArg<TObject>(H, 1));
      return Variant(0);
    });
    Method(u"function Remove(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TList>(I).Remove(ksArg<TObject>(H, 0))); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(ksSelf<TList>(I).Count()); });
    Indexed(
        u"Items", u"Integer", u"TObject", true,
        [](TObject* I, auto* H) { return ListItem(ksSelf<TList>(I).Items(ksIntArg(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) {
          ksSelf<TList>(I).SetItems(ksIntArg(H, 0), ksVariantToObject(V));
        });
  }

  void AddStrings() {
    Class(TStrings::ClassInfo(), u"TPersistent");
    Method(u"function Add(const S: string): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).Add(ksStrArg(H, 0))); });
    Method(u"function AddObject(const S: string; AObject: TObject): Integer", [](TObject* I, auto* H) {
      return Variant(ksSelf<TStrings>(I).AddObject(ksStrArg(H, 0), ksArg<TObject>(H, 1)));
    });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      ksSelf<TStrings>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure Delete(Index: Integer)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).Delete(ksIntArg(H, 0));
      return Variant(0);
    });
    Method(u"function IndexOf(const S: string): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).IndexOf(ksStrArg(H, 0))); });
    Method(u"function IndexOfName(const Name: string): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).IndexOfName(ksStrArg(H, 0))); });
    Method(u"function IndexOfObject(AObject: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).IndexOfObject(ksArg<TObject>(H, 0))); });
    Method(u"procedure Insert(Index: Integer; const S: string)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).Insert(ksIntArg(H, 0), ksStrArg(H, 1));
      return Variant(0);
    });
    Method(u"procedure InsertObject(Index: Integer; const S: string; AObject: TObject)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).InsertObject(ksIntArg(H, 0), ksStrArg(H, 1), ksArg<TObject>(H, 2));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(const FileName: string)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).LoadFromFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).LoadFromStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const FileName: string)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).SaveToFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure Move(CurIndex, NewIndex: Integer)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).Move(ksIntArg(H, 0), ksIntArg(H, 1));
      return Variant(0);
    });
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TStrings>(I).SaveToStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Prop(
        u"CommaText", u"string", [](TObject* I) { return Variant(ksSelf<TStrings>(I).CommaText()); },
        [](TObject* I, const Variant& V) { ksSelf<TStrings>(I).SetCommaText(VarToStr(V)); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(ksSelf<TStrings>(I).Count()); });
    Indexed(u"Names", u"Integer", u"string", false,
            [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).Names(ksIntArg(H, 0))); });
    Indexed(
        u"Objects", u"Integer", u"TObject", false,
        [](TObject* I, auto* H) { return ListItem(ksSelf<TStrings>(I).Objects(ksIntArg(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TStrings>(I).SetObjects(ksIntArg(H, 0), ksVariantToObject(V)); });
    Indexed(
        u"Values", u"String", u"string", false,
        [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).Values(ksStrArg(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TStrings>(I).SetValues(ksStrArg(H, 0), VarToStr(V)); });
    Indexed(
        u"Strings", u"Integer", u"string", true,
        [](TObject* I, auto* H) { return Variant(ksSelf<TStrings>(I).Strings(ksIntArg(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TStrings>(I).SetStrings(ksIntArg(H, 0), VarToStr(V)); });
    Prop(
        u"Text", u"string", [](TObject* I) { return Variant(ksSelf<TStrings>(I).Text()); },
        [](TObject* I, const Variant& V) { ksSelf<TStrings>(I).SetText(VarToStr(V)); });

    Class(TStringList::ClassInfo(), u"TStrings");
    Method(u"function Find(s: String; var Index: Integer): Boolean", [](TObject* I, auto* H) {
      int Index = 0;
      bool Found = ksSelf<TStringList>(I).Find(ksStrArg(H, 0), Index);
      H->SetArgValue(1, Variant(Index));
      return Variant(Found);
    });
    Method(u"procedure Sort", [](TObject* I, auto*) {
      ksSelf<TStringList>(I).Sort();
      return Variant(0);
    });
    Prop(
        u"Duplicates", u"TDuplicates", [](TObject* I) { return Variant(static_cast<int>(ksSelf<TStringList>(I).Duplicates())); },
        [](TObject* I, const Variant& V) {
          int D = V.AsInteger();
          if (D < dupIgnore || D > dupError) throw ERangeError(u"Range check error");
          ksSelf<TStringList>(I).SetDuplicates(static_cast<TDuplicates>(D));
        });
    Prop(
        u"Sorted", u"Boolean", [](TObject* I) { return Variant(ksSelf<TStringList>(I).Sorted()); },
        [](TObject* I, const Variant& V) { ksSelf<TStringList>(I).SetSorted(V.AsBoolean()); });
  }

  void AddStreams() {
    Class(TStream::ClassInfo(), u"TObject");
    Method(u"function Read(var Buffer: string; Count: Longint): Longint", [](TObject* I, auto* H) {
      TStream& S = ksSelf<TStream>(I);
      // Count bytes into a string of Count characters, cut to the number of bytes read; never
      // more than the stream holds, and what the bytes do not cover stays zero.
      Int64 Count = std::clamp<Int64>(H->GetParam(1).AsInt64(), 0, std::max<Int64>(0, S.Size() - S.Position()));
      String Buffer(static_cast<size_t>(Count), u'\0');
      Int64 Read = S.Read(Buffer.data(), Count);
      Buffer.resize(static_cast<size_t>(Read));
      H->SetArgValue(0, Variant(Buffer));
      return Variant(static_cast<int>(Read));
    });
    Method(u"function Write(Buffer: string; Count: Longint): Longint", [](TObject* I, auto* H) {
      String Buffer = ksStrArg(H, 0);
      // Count is clamped to the string's own bytes.
      Int64 Count = std::clamp<Int64>(H->GetParam(1).AsInt64(), 0, static_cast<Int64>(Buffer.size() * 2));
      return Variant(static_cast<int>(ksSelf<TStream>(I).Write(Buffer.data(), Count)));
    });
    Method(u"function Seek(Offset: Longint; Origin: Word): Longint", [](TObject* I, auto* H) {
      int Origin = ksIntArg(H, 1);
      if (Origin < soBeginning || Origin > soEnd) throw ERangeError(u"Range check error");
      return Variant(static_cast<long long>(
          ksSelf<TStream>(I).Seek(H->GetParam(0).AsInt64(), static_cast<TSeekOrigin>(Origin))));
    });
    Method(u"function CopyFrom(Source: TStream; Count: Longint): Longint", [](TObject* I, auto* H) {
      return Variant(static_cast<long long>(ksSelf<TStream>(I).CopyFrom(ksArg<TStream>(H, 0), H->GetParam(1).AsInt64())));
    });
    Prop(
        u"Position", u"Longint", [](TObject* I) { return Variant(static_cast<long long>(ksSelf<TStream>(I).Position())); },
        [](TObject* I, const Variant& V) { ksSelf<TStream>(I).SetPosition(V.AsInt64()); });
    Prop(u"Size", u"Longint", [](TObject* I) { return Variant(static_cast<long long>(ksSelf<TStream>(I).Size())); });

    Class(TFileStream::ClassInfo(), u"TStream");
    if (FClass)
      FClass->AddConstructor(u"constructor Create(Filename: String; Mode: Word)",
                             [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                               return ksObjectToVariant(new TFileStream(ksStrArg(H, 0), static_cast<Word>(ksIntArg(H, 1))));
                             });

    Class(TMemoryStream::ClassInfo(), u"TStream");
    Method(u"procedure Clear", [](TObject* I, auto*) {
      ksSelf<TMemoryStream>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TMemoryStream>(I).LoadFromStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(Filename: String)", [](TObject* I, auto* H) {
      ksSelf<TMemoryStream>(I).LoadFromFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TMemoryStream>(I).SaveToStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(Filename: String)", [](TObject* I, auto* H) {
      ksSelf<TMemoryStream>(I).SaveToFile(ksStrArg(H, 0));
      return Variant(0);
    });
  }

  void AddXML() {
    Class(TksXMLItem::ClassInfo(), u"TObject");
    Method(u"procedure AddItem(Item: TksXMLItem)", [](TObject* I, auto* H) {
      ksSelf<TksXMLItem>(I).AddItem(Child(I, H, 0));
      return Variant(0);
    });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      ksSelf<TksXMLItem>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure InsertItem(Index: Integer; Item: TksXMLItem)", [](TObject* I, auto* H) {
      TksXMLItem& X = ksSelf<TksXMLItem>(I);
      int Index = ksIntArg(H, 0);
      if (Index < 0 || Index > X.Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
      X.InsertItem(Index, Child(I, H, 1));
      return Variant(0);
    });
    Method(u"function Add: TksXMLItem", [](TObject* I, auto*) { return Obj(ksSelf<TksXMLItem>(I).Add()); });
    Method(u"function Find(const Name: String): Integer",
           [](TObject* I, auto* H) { return Variant(ksSelf<TksXMLItem>(I).Find(ksStrArg(H, 0))); });
    Method(u"function FindItem(const Name: String): TksXMLItem",
           [](TObject* I, auto* H) { return Obj(ksSelf<TksXMLItem>(I).FindItem(ksStrArg(H, 0))); });
    Method(u"function Root: TksXMLItem", [](TObject* I, auto*) { return Obj(ksSelf<TksXMLItem>(I).Root()); });
    Prop(
        u"Data", u"Integer", [](TObject* I) { return Variant(ksSelf<TksXMLItem>(I).Data()); },
        [](TObject* I, const Variant& V) { ksSelf<TksXMLItem>(I).SetData(V.AsInteger()); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(ksSelf<TksXMLItem>(I).Count()); });
    Indexed(u"Items", u"Integer", u"TksXMLItem", true,
            [](TObject* I, auto* H) { return Obj(ksSelf<TksXMLItem>(I).Items(ksIntArg(H, 0))); });
    Indexed(
        u"Prop", u"String", u"String", false,
        [](TObject* I, auto* H) { return Variant(ksSelf<TksXMLItem>(I).Prop(ksStrArg(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { ksSelf<TksXMLItem>(I).SetProp(ksStrArg(H, 0), VarToStr(V)); });
    Prop(
        u"Name", u"String", [](TObject* I) { return Variant(ksSelf<TksXMLItem>(I).Name()); },
        [](TObject* I, const Variant& V) { ksSelf<TksXMLItem>(I).SetName(VarToStr(V)); });
    Prop(u"Parent", u"TksXMLItem", [](TObject* I) { return Obj(ksSelf<TksXMLItem>(I).Parent()); });
    Prop(
        u"Text", u"String", [](TObject* I) { return Variant(ksSelf<TksXMLItem>(I).Text()); },
        [](TObject* I, const Variant& V) { ksSelf<TksXMLItem>(I).SetText(VarToStr(V)); });

    Class(TksXMLDocument::ClassInfo(), u"TObject");
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TksXMLDocument>(I).SaveToStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      ksSelf<TksXMLDocument>(I).LoadFromStream(ksArg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const FileName: String)", [](TObject* I, auto* H) {
      ksSelf<TksXMLDocument>(I).SaveToFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(const FileName: String)", [](TObject* I, auto* H) {
      ksSelf<TksXMLDocument>(I).LoadFromFile(ksStrArg(H, 0));
      return Variant(0);
    });
    Prop(u"Root", u"TksXMLItem", [](TObject* I) { return Obj(ksSelf<TksXMLDocument>(I).Root()); });
  }
};

}  // namespace

TksRTTIModule* ksCreateClassesRTTI(TksScript* Script) { return new TFunctions(Script); }
