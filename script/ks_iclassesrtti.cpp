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
#include "script/ks_iinterpreter.h"
#include "script/ks_xml.h"

namespace {

// The instance a member works on, checked to be of the member's class.
template <class T>
T& Self(TObject* Instance) {
  if (!Instance) throw EHandleError(u"Object handle is nil");
  auto* Obj = dynamic_cast<T*>(Instance);
  if (!Obj) throw EHandleError(u"The object is a " + Instance->ClassName() + u", not a " + T::ClassInfo()->Name());
  return *Obj;
}

template <class T>
T* Arg(TksMethodHelper* H, int i) {
  return static_cast<T*>(ksVariantToObject(H->GetParam(i), T::ClassInfo()));
}

String Str(TksMethodHelper* H, int i) { return VarToStr(H->GetParam(i)); }
int Int(TksMethodHelper* H, int i) { return H->GetParam(i).AsInteger(); }
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
  TksXMLItem* Item = Arg<TksXMLItem>(H, i);
  if (!Item) throw EInvalidOperation(u"No element to add");
  for (const TksXMLItem* P = &Self<TksXMLItem>(Parent); P; P = P->Parent())
    if (P == Item) throw EInvalidOperation(u"An element cannot be added below itself");
  return Item;
}

using TBody = std::function<Variant(TObject* Instance, TksMethodHelper* H)>;

class TFunctions : public TksRTTIModule {
public:
  explicit TFunctions(TksScript* S) : TksRTTIModule(S) {
    AddConstants();
    AddBase();
    AddLists();
    AddStrings();
    AddStreams();
    AddXML();
  }

private:
  TksClassVariable* FClass = nullptr;

  void Class(TClass C, const char16_t* Ancestor) { FClass = Script()->AddClass(C, Ancestor); }
  void Method(const char16_t* Syntax, TBody Body) {
    if (FClass)
      FClass->AddMethod(Syntax, [Body](TObject* I, TksClassRef, const String&, TksMethodHelper* H) {
        return Body(I, H);
      });
  }
  void Prop(const char16_t* Name, const char16_t* Typ, std::function<Variant(TObject*)> Get,
            std::function<void(TObject*, const Variant&)> Set = nullptr) {
    if (!FClass) return;
    TksSetValueEvent Setter;
    if (Set) Setter = [Set](TObject* I, TksClassRef, const String&, const Variant& V) { Set(I, V); };
    FClass->AddProperty(Name, Typ, [Get](TObject* I, TksClassRef, const String&) { return Get(I); },
                        Setter);
  }
  // An indexed property: Get(instance, helper) and Set(instance, helper, value).
  void Indexed(const char16_t* Name, const char16_t* Params, const char16_t* Typ, bool Default, TBody Get,
               std::function<void(TObject*, TksMethodHelper*, const Variant&)> Set = nullptr) {
    if (!FClass) return;
    const int ValueAt = 1 + static_cast<int>(std::count(Params, Params + std::char_traits<char16_t>::length(Params), u','));
    TksCallMethodNewEvent Call = [Get, Set, ValueAt](TObject* I, TksClassRef, const String& N, TksMethodHelper* H) {
      if (N.ends_with(u".SET")) {
        if (Set) Set(I, H, H->GetParam(ValueAt));
        return Variant(0);
      }
      return Get(I, H);
    };
    if (Default) FClass->AddDefaultProperty(Name, Params, Typ, Call, !Set);
    else FClass->AddIndexProperty(Name, Params, Typ, Call, !Set);
  }

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
    Method(u"function ClassName: String", [](TObject* I, auto*) { return Variant(Self<TObject>(I).ClassName()); });
    Class(TPersistent::ClassInfo(), u"TObject");
    Method(u"procedure Assign(Source: TPersistent)", [](TObject* I, auto* H) {
      Self<TPersistent>(I).Assign(Arg<TPersistent>(H, 0));
      return Variant(0);
    });
    Class(TCollectionItem::ClassInfo(), u"TPersistent");
    Class(TCollection::ClassInfo(), u"TPersistent");
    Method(u"procedure Clear", [](TObject* I, auto*) {
      Self<TCollection>(I).Clear();
      return Variant(0);
    });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(Self<TCollection>(I).Count()); });
    Indexed(u"Items", u"Integer", u"TCollectionItem", true,
            [](TObject* I, auto* H) { return Obj(Self<TCollection>(I).Items(Int(H, 0))); });
    Class(TComponent::ClassInfo(), u"TPersistent");
    Prop(u"Owner", u"TComponent", [](TObject* I) { return Obj(Self<TComponent>(I).Owner()); });
  }

  void AddLists() {
    Class(TList::ClassInfo(), u"TObject");
    Method(u"function Add(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TList>(I).Add(Arg<TObject>(H, 0))); });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      Self<TList>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure Delete(Index: Integer)", [](TObject* I, auto* H) {
      Self<TList>(I).Delete(Int(H, 0));
      return Variant(0);
    });
    Method(u"function IndexOf(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TList>(I).IndexOf(Arg<TObject>(H, 0))); });
    Method(u"procedure Insert(Index: Integer; Item: TObject)", [](TObject* I, auto* H) {
      Self<TList>(I).Insert(Int(H, 0), Arg<TObject>(H, 1));
      return Variant(0);
    });
    Method(u"function Remove(Item: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TList>(I).Remove(Arg<TObject>(H, 0))); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(Self<TList>(I).Count()); });
    Indexed(
        u"Items", u"Integer", u"TObject", true,
        [](TObject* I, auto* H) { return ListItem(Self<TList>(I).Items(Int(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) {
          Self<TList>(I).SetItems(Int(H, 0), ksVariantToObject(V));
        });
  }

  void AddStrings() {
    Class(TStrings::ClassInfo(), u"TPersistent");
    Method(u"function Add(const S: string): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).Add(Str(H, 0))); });
    Method(u"function AddObject(const S: string; AObject: TObject): Integer", [](TObject* I, auto* H) {
      return Variant(Self<TStrings>(I).AddObject(Str(H, 0), Arg<TObject>(H, 1)));
    });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      Self<TStrings>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure Delete(Index: Integer)", [](TObject* I, auto* H) {
      Self<TStrings>(I).Delete(Int(H, 0));
      return Variant(0);
    });
    Method(u"function IndexOf(const S: string): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).IndexOf(Str(H, 0))); });
    Method(u"function IndexOfName(const Name: string): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).IndexOfName(Str(H, 0))); });
    Method(u"function IndexOfObject(AObject: TObject): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).IndexOfObject(Arg<TObject>(H, 0))); });
    Method(u"procedure Insert(Index: Integer; const S: string)", [](TObject* I, auto* H) {
      Self<TStrings>(I).Insert(Int(H, 0), Str(H, 1));
      return Variant(0);
    });
    Method(u"procedure InsertObject(Index: Integer; const S: string; AObject: TObject)", [](TObject* I, auto* H) {
      Self<TStrings>(I).InsertObject(Int(H, 0), Str(H, 1), Arg<TObject>(H, 2));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(const FileName: string)", [](TObject* I, auto* H) {
      Self<TStrings>(I).LoadFromFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TStrings>(I).LoadFromStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const FileName: string)", [](TObject* I, auto* H) {
      Self<TStrings>(I).SaveToFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure Move(CurIndex, NewIndex: Integer)", [](TObject* I, auto* H) {
      Self<TStrings>(I).Move(Int(H, 0), Int(H, 1));
      return Variant(0);
    });
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TStrings>(I).SaveToStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Prop(
        u"CommaText", u"string", [](TObject* I) { return Variant(Self<TStrings>(I).CommaText()); },
        [](TObject* I, const Variant& V) { Self<TStrings>(I).SetCommaText(VarToStr(V)); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(Self<TStrings>(I).Count()); });
    Indexed(u"Names", u"Integer", u"string", false,
            [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).Names(Int(H, 0))); });
    Indexed(
        u"Objects", u"Integer", u"TObject", false,
        [](TObject* I, auto* H) { return ListItem(Self<TStrings>(I).Objects(Int(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { Self<TStrings>(I).SetObjects(Int(H, 0), ksVariantToObject(V)); });
    Indexed(
        u"Values", u"String", u"string", false,
        [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).Values(Str(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { Self<TStrings>(I).SetValues(Str(H, 0), VarToStr(V)); });
    Indexed(
        u"Strings", u"Integer", u"string", true,
        [](TObject* I, auto* H) { return Variant(Self<TStrings>(I).Strings(Int(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { Self<TStrings>(I).SetStrings(Int(H, 0), VarToStr(V)); });
    Prop(
        u"Text", u"string", [](TObject* I) { return Variant(Self<TStrings>(I).Text()); },
        [](TObject* I, const Variant& V) { Self<TStrings>(I).SetText(VarToStr(V)); });

    Class(TStringList::ClassInfo(), u"TStrings");
    Method(u"function Find(s: String; var Index: Integer): Boolean", [](TObject* I, auto* H) {
      int Index = 0;
      bool Found = Self<TStringList>(I).Find(Str(H, 0), Index);
      H->SetArgValue(1, Variant(Index));
      return Variant(Found);
    });
    Method(u"procedure Sort", [](TObject* I, auto*) {
      Self<TStringList>(I).Sort();
      return Variant(0);
    });
    Prop(
        u"Duplicates", u"TDuplicates", [](TObject* I) { return Variant(static_cast<int>(Self<TStringList>(I).Duplicates())); },
        [](TObject* I, const Variant& V) {
          int D = V.AsInteger();
          if (D < dupIgnore || D > dupError) throw ERangeError(u"Range check error");
          Self<TStringList>(I).SetDuplicates(static_cast<TDuplicates>(D));
        });
    Prop(
        u"Sorted", u"Boolean", [](TObject* I) { return Variant(Self<TStringList>(I).Sorted()); },
        [](TObject* I, const Variant& V) { Self<TStringList>(I).SetSorted(V.AsBoolean()); });
  }

  void AddStreams() {
    Class(TStream::ClassInfo(), u"TObject");
    Method(u"function Read(var Buffer: string; Count: Longint): Longint", [](TObject* I, auto* H) {
      TStream& S = Self<TStream>(I);
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
      String Buffer = Str(H, 0);
      // Count is clamped to the string's own bytes.
      Int64 Count = std::clamp<Int64>(H->GetParam(1).AsInt64(), 0, static_cast<Int64>(Buffer.size() * 2));
      return Variant(static_cast<int>(Self<TStream>(I).Write(Buffer.data(), Count)));
    });
    Method(u"function Seek(Offset: Longint; Origin: Word): Longint", [](TObject* I, auto* H) {
      int Origin = Int(H, 1);
      if (Origin < soBeginning || Origin > soEnd) throw ERangeError(u"Range check error");
      return Variant(static_cast<long long>(
          Self<TStream>(I).Seek(H->GetParam(0).AsInt64(), static_cast<TSeekOrigin>(Origin))));
    });
    Method(u"function CopyFrom(Source: TStream; Count: Longint): Longint", [](TObject* I, auto* H) {
      return Variant(static_cast<long long>(Self<TStream>(I).CopyFrom(Arg<TStream>(H, 0), H->GetParam(1).AsInt64())));
    });
    Prop(
        u"Position", u"Longint", [](TObject* I) { return Variant(static_cast<long long>(Self<TStream>(I).Position())); },
        [](TObject* I, const Variant& V) { Self<TStream>(I).SetPosition(V.AsInt64()); });
    Prop(u"Size", u"Longint", [](TObject* I) { return Variant(static_cast<long long>(Self<TStream>(I).Size())); });

    Class(TFileStream::ClassInfo(), u"TStream");
    if (FClass)
      FClass->AddConstructor(u"constructor Create(Filename: String; Mode: Word)",
                             [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                               return ksObjectToVariant(new TFileStream(Str(H, 0), static_cast<Word>(Int(H, 1))));
                             });

    Class(TMemoryStream::ClassInfo(), u"TStream");
    Method(u"procedure Clear", [](TObject* I, auto*) {
      Self<TMemoryStream>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TMemoryStream>(I).LoadFromStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(Filename: String)", [](TObject* I, auto* H) {
      Self<TMemoryStream>(I).LoadFromFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TMemoryStream>(I).SaveToStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(Filename: String)", [](TObject* I, auto* H) {
      Self<TMemoryStream>(I).SaveToFile(Str(H, 0));
      return Variant(0);
    });
  }

  void AddXML() {
    Class(TksXMLItem::ClassInfo(), u"TObject");
    Method(u"procedure AddItem(Item: TksXMLItem)", [](TObject* I, auto* H) {
      Self<TksXMLItem>(I).AddItem(Child(I, H, 0));
      return Variant(0);
    });
    Method(u"procedure Clear", [](TObject* I, auto*) {
      Self<TksXMLItem>(I).Clear();
      return Variant(0);
    });
    Method(u"procedure InsertItem(Index: Integer; Item: TksXMLItem)", [](TObject* I, auto* H) {
      TksXMLItem& X = Self<TksXMLItem>(I);
      int Index = Int(H, 0);
      if (Index < 0 || Index > X.Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
      X.InsertItem(Index, Child(I, H, 1));
      return Variant(0);
    });
    Method(u"function Add: TksXMLItem", [](TObject* I, auto*) { return Obj(Self<TksXMLItem>(I).Add()); });
    Method(u"function Find(const Name: String): Integer",
           [](TObject* I, auto* H) { return Variant(Self<TksXMLItem>(I).Find(Str(H, 0))); });
    Method(u"function FindItem(const Name: String): TksXMLItem",
           [](TObject* I, auto* H) { return Obj(Self<TksXMLItem>(I).FindItem(Str(H, 0))); });
    Method(u"function Root: TksXMLItem", [](TObject* I, auto*) { return Obj(Self<TksXMLItem>(I).Root()); });
    Prop(
        u"Data", u"Integer", [](TObject* I) { return Variant(Self<TksXMLItem>(I).Data()); },
        [](TObject* I, const Variant& V) { Self<TksXMLItem>(I).SetData(V.AsInteger()); });
    Prop(u"Count", u"Integer", [](TObject* I) { return Variant(Self<TksXMLItem>(I).Count()); });
    Indexed(u"Items", u"Integer", u"TksXMLItem", true,
            [](TObject* I, auto* H) { return Obj(Self<TksXMLItem>(I).Items(Int(H, 0))); });
    Indexed(
        u"Prop", u"String", u"String", false,
        [](TObject* I, auto* H) { return Variant(Self<TksXMLItem>(I).Prop(Str(H, 0))); },
        [](TObject* I, auto* H, const Variant& V) { Self<TksXMLItem>(I).SetProp(Str(H, 0), VarToStr(V)); });
    Prop(
        u"Name", u"String", [](TObject* I) { return Variant(Self<TksXMLItem>(I).Name()); },
        [](TObject* I, const Variant& V) { Self<TksXMLItem>(I).SetName(VarToStr(V)); });
    Prop(u"Parent", u"TksXMLItem", [](TObject* I) { return Obj(Self<TksXMLItem>(I).Parent()); });
    Prop(
        u"Text", u"String", [](TObject* I) { return Variant(Self<TksXMLItem>(I).Text()); },
        [](TObject* I, const Variant& V) { Self<TksXMLItem>(I).SetText(VarToStr(V)); });

    Class(TksXMLDocument::ClassInfo(), u"TObject");
    Method(u"procedure SaveToStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TksXMLDocument>(I).SaveToStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromStream(Stream: TStream)", [](TObject* I, auto* H) {
      Self<TksXMLDocument>(I).LoadFromStream(Arg<TStream>(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveToFile(const FileName: String)", [](TObject* I, auto* H) {
      Self<TksXMLDocument>(I).SaveToFile(Str(H, 0));
      return Variant(0);
    });
    Method(u"procedure LoadFromFile(const FileName: String)", [](TObject* I, auto* H) {
      Self<TksXMLDocument>(I).LoadFromFile(Str(H, 0));
      return Variant(0);
    });
    Prop(u"Root", u"TksXMLItem", [](TObject* I) { return Obj(Self<TksXMLDocument>(I).Root()); });
  }
};

}  // namespace

TksRTTIModule* ksCreateClassesRTTI(TksScript* Script) { return new TFunctions(Script); }
