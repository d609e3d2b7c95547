// TypeRegistry.h - run-time type information: classes by name and their published properties.
//
// Every class has a record (TClassInfo) with its name, its ancestor, a factory and its
// published properties in declaration order, inherited ones first. Streaming (Filer.h), the
// report's serializer and the script engine read only this registry.
//
// A class declares VORENTA_CLASS(TMyComp, TComponent) in its body and describes itself in its
// .cpp; the record is built on the first call of TMyComp::ClassInfo():
//
//   REGISTER_CLASS(TMyComp) {
//     Class.Property("Width", &TMyComp::Width, &TMyComp::SetWidth, 100)
//          .Property("Align", &TMyComp::Align, &TMyComp::SetAlign, alNone)
//          .Property("Caption", &TMyComp::Caption, &TMyComp::SetCaption)
//          .Property("Font", &TMyComp::Font, &TMyComp::SetFont).Stored(&TMyComp::IsFontStored)
//          .Property("OnClick", &TMyComp::OnClick, &TMyComp::SetOnClick)
//          .DateTimeProperty("Created", &TMyComp::Created, &TMyComp::SetCreated);
//   }
//
// The kind of a property follows from its getter's type and is checked at compile time (an
// enumeration needs VORENTA_ENUM, a set VORENTA_SET, a class pointer a TObject descendant, an
// event a std::function; float, double, long double and Currency are floats of their own
// TFloatType). TDateTime is a double, so a date property says so with DateTimeProperty. A name used twice in one class raises EPropertyError when the
// record is built. A class is found by name (FindClass, and so by the reader) only after
// RegisterClass, which each unit calls from its RegisterXxxClasses() function.
#pragma once

#include <any>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/IdentMap.h"
#include "platform/classes/TypeInfo.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"

class Variant;
template <class T>
class TClassBuilder;

// Raises EPropertyError with Msg (the registry's one door for its own errors).
[[noreturn]] void RaisePropertyError(const String& Msg);

// The callable an event holds when it was bound to a published method by name (the reader
// does this); it remembers the name so that the event can be written again.
template <class Sig>
class TBoundMethod;
template <class R, class... A>
class TBoundMethod<R(A...)> {
public:
  TBoundMethod(String Name, std::function<R(A...)> Call)
      : FName(std::move(Name)), FCall(std::move(Call)) {}
  R operator()(A... Args) const { return FCall(std::forward<A>(Args)...); }
  const String& Name() const { return FName; }

private:
  String FName;
  std::function<R(A...)> FCall;
};

// A published method of a class (an event handler a stream can name).
class TMethodInfo {
public:
  const String& Name() const { return FName; }
  // An std::function of the method's signature calling the method on Instance.
  std::any Bind(TObject* Instance) const { return FBind(Instance); }

private:
  String FName;
  std::function<std::any(TObject*)> FBind;

  template <class T>
  friend class TClassBuilder;
};

// One published property. Typed access raises EPropertyError when the kind does not fit or
// the property has no setter.
class TPropInfo {
public:
  const String& Name() const { return FName; }
  TTypeKind Kind() const { return FKind; }
  // "Integer", "Int64", "Single", "Double", "Extended", "Currency", "TDateTime", "String",
  // "Char", "Variant", "Event", or the enumeration's, set's or class's name.
  String TypeName() const;
  // How a tkFloat property keeps its value; a date is a double marked IsDateTime.
  TFloatType FloatType() const { return FFloatType; }
  bool IsDateTime() const { return FIsDateTime; }
  // The enumeration (tkEnumeration) or the set's element enumeration (tkSet).
  const TEnumInfo* EnumType() const { return FEnumType; }
  const TSetInfo* SetType() const { return FSetType; }
  // The declared class of a tkClass property.
  TClass PropClass() const { return FPropClass ? FPropClass() : nullptr; }
  TClass OwnerClass() const { return FOwnerClass; }

  // The declared default of an ordinal or set property (a set's as its bit mask); without one
  // the property is always written. A string property may declare a default text: it is
  // then written whenever it differs (so an emptied "Arial" is written as ''); without one
  // it is written when not empty.
  bool HasDefault() const { return FHasDefault; }
  Int64 Default() const { return FDefault; }
  const String& DefaultStr() const { return FDefaultStr; }
  // The stored condition: true when there is none.
  bool IsStored(const TObject* Instance) const { return !FStored || FStored(Instance); }
  // Names an integer property's values may go by in a stream ("clBtnFace" for a colour,
  // "DEFAULT_CHARSET" for a character set); empty when it has none.
  std::span<const TIdentMapEntry> Idents() const { return FIdents; }
  bool ReadOnly() const { return FReadOnly; }

  // Ordinals: integer, Int64, char, enumeration (its ordinal), Boolean (0/1), set (its bits).
  // An enumeration ordinal out of range raises EPropertyError "Invalid property value".
  Int64 GetOrd(const TObject* Instance) const;
  void SetOrd(TObject* Instance, Int64 Value) const;
  // Floats of every TFloatType (a Currency converted; out of its range EOverflow).
  Extended GetFloat(const TObject* Instance) const;
  void SetFloat(TObject* Instance, Extended Value) const;
  // Currency properties, exactly.
  Currency GetCurr(const TObject* Instance) const;
  void SetCurr(TObject* Instance, Currency Value) const;
  String GetStr(const TObject* Instance) const;
  void SetStr(TObject* Instance, const String& Value) const;
  // Class properties; the value must be nullptr or an instance of PropClass().
  TObject* GetObject(const TObject* Instance) const;
  void SetObject(TObject* Instance, TObject* Value) const;
  // Events: the handler as an std::any holding the event's std::function (empty when none).
  std::any GetMethod(const TObject* Instance) const;
  void SetMethod(TObject* Instance, const std::any& Handler) const;
  // The name of the published method the event is bound to, "" when it is unset or bound to
  // code that has no name.
  String GetMethodName(const TObject* Instance) const;
  // Binds the event to Root's published method MethodName ("" clears it). Raises
  // EMethodNotFound "Method %s not found" when Root's class has none of that name, and
  // EPropertyError "Invalid property value" when its signature does not fit.
  void SetMethodName(TObject* Instance, TObject* Root, const String& MethodName) const;
  Variant GetVariant(const TObject* Instance) const;
  void SetVariant(TObject* Instance, const Variant& Value) const;

private:
  [[noreturn]] void KindError() const;
  String FloatTypeName() const;
  void CheckWritable() const;

  String FName;
  TTypeKind FKind = tkUnknown;
  TFloatType FFloatType = TFloatType::ftDouble;
  bool FIsDateTime = false;
  const TEnumInfo* FEnumType = nullptr;
  const TSetInfo* FSetType = nullptr;
  TClass (*FPropClass)() = nullptr;
  TClass FOwnerClass = nullptr;
  bool FHasDefault = false;
  bool FReadOnly = false;
  Int64 FDefault = 0;
  String FDefaultStr;
  std::function<bool(const TObject*)> FStored;
  std::span<const TIdentMapEntry> FIdents;

  std::function<Int64(const TObject*)> FGetOrd;
  std::function<void(TObject*, Int64)> FSetOrd;
  std::function<Extended(const TObject*)> FGetFloat;
  std::function<void(TObject*, Extended)> FSetFloat;
  std::function<Currency(const TObject*)> FGetCurr;
  std::function<void(TObject*, Currency)> FSetCurr;
  std::function<String(const TObject*)> FGetStr;
  std::function<void(TObject*, const String&)> FSetStr;
  std::function<TObject*(const TObject*)> FGetObject;
  std::function<void(TObject*, TObject*)> FSetObject;
  std::function<std::any(const TObject*)> FGetMethod;
  std::function<void(TObject*, const std::any&)> FSetMethod;
  std::function<String(const TObject*)> FGetMethodName;
  std::function<Variant(const TObject*)> FGetVariant;
  std::function<void(TObject*, const Variant&)> FSetVariant;

  template <class T>
  friend class TClassBuilder;
  friend TClass BuildClassInfo(std::unique_ptr<TClassInfo> Info);
};

// Property values through Variant: integers and Int64 as integers, floats as Double (Currency
// as Currency, a date as a date), strings
// and chars as strings, Boolean as Boolean, an enumeration as its value name (a name or an
// ordinal is accepted when setting), a set as its bit mask, a Variant as it is. Class and
// event properties raise EPropertyError here: use the typed access.
Variant GetPropValue(const TObject* Instance, const TPropInfo* Prop);
void SetPropValue(TObject* Instance, const TPropInfo* Prop, const Variant& Value);

// A class's record in the registry.
class TClassInfo {
public:
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& Name() const { return FName; }
  TClass Parent() const { return FParent; }
  // True for the class itself and its descendants. One look into the class's line of
  // ancestors: streaming and the report's serializer ask this for every object they touch.
  bool InheritsFrom(TClass AClass) const {
    return AClass && AClass->FAncestry.size() <= FAncestry.size() &&
           FAncestry[AClass->FAncestry.size() - 1] == AClass;
  }

  // Published properties, inherited first, each class in declaration order. A property a
  // descendant declares again (to change its default) keeps its ancestor's place.
  const std::vector<const TPropInfo*>& Properties() const { return FProperties; }
  // The property of that name (case ignored), or nullptr.
  const TPropInfo* FindProperty(const String& Name) const;
  // The published method of that name here or in an ancestor (case ignored), or nullptr.
  const TMethodInfo* FindMethod(const String& Name) const;

  // --- Construction -------------------------------------------------------------------------
  // Components are created with an owner, collection items with their collection, other
  // classes plainly. Creating an abstract class (or one without a fitting constructor) raises
  // EInvalidOperation "Cannot create an instance of %s".
  bool IsComponentClass() const;
  bool IsCollectionItemClass() const;
  TObject* Create() const;
  TComponent* CreateComponent(TComponent* AOwner) const;
  // Whether one of the three can create an instance (false for an abstract class or one whose
  // constructor takes other arguments).
  bool CanCreate() const { return FCreate || FCreateComponent || FCreateItem; }
  TCollectionItem* CreateItem(TCollection* ACollection) const;

private:
  TClassInfo() = default;
  [[noreturn]] void CreateError() const;

  String FName;
  TClass FParent = nullptr;
  // The root class first, this class last.
  std::vector<TClass> FAncestry;
  std::vector<std::unique_ptr<TPropInfo>> FOwnProperties;
  std::vector<const TPropInfo*> FProperties;
  std::vector<std::unique_ptr<TMethodInfo>> FMethods;
  std::function<TObject*()> FCreate;
  std::function<TComponent*(TComponent*)> FCreateComponent;
  std::function<TCollectionItem*(TCollection*)> FCreateItem;

  template <class T>
  friend class TClassBuilder;
  friend TClass BuildClassInfo(std::unique_ptr<TClassInfo> Info);
  friend void CheckUniqueMemberName(const TClassInfo* Info, const String& Name, bool IsMethod);
};

// --- Registration by name -------------------------------------------------------------------
// Makes AClass (and its ancestors) findable by name. Registering the same class again does
// nothing; another class of a name already taken raises EFilerError "A class named %s already
// exists".
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass AClass);
// The registered class of that name (case ignored), or nullptr.
TClass GetClass(const String& ClassName);
// The same; raises EClassNotFound "Class %s not found" when there is none.
TClass FindClass(const String& ClassName);

// Takes a finished record into the registry's keeping and completes its property list.
TClass BuildClassInfo(std::unique_ptr<TClassInfo> Info);

// =============================================================================================
// The builder behind REGISTER_CLASS. Everything below is checked at compile time.
// =============================================================================================

namespace typeinfo_detail {

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class V>
struct IsEvent : std::false_type {};
template <class Sig>
struct IsEvent<std::function<Sig>> : std::true_type {};

template <class V>
concept HasEnumInfo = requires { EnumInfoOf(static_cast<V*>(nullptr)); };
template <class V>
concept HasSetInfo = requires { SetInfoOf(static_cast<V*>(nullptr)); };

template <class V>
constexpr TTypeKind KindOf() {
  if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V>) {
    static_assert(HasEnumInfo<V>, "declare the enumeration with VORENTA_ENUM or VORENTA_ENUM_NAMES");
    return tkEnumeration;
  } else if constexpr (IsSet<V>::value) {
    static_assert(HasSetInfo<V>, "name the set type with VORENTA_SET");
    return tkSet;
  } else if constexpr (std::is_same_v<V, char16_t>) {
    return tkChar;
  } else if constexpr (std::is_integral_v<V> && sizeof(V) <= 4) {
    return tkInteger;
  } else if constexpr (std::is_integral_v<V>) {
    return tkInt64;
  } else if constexpr (std::is_floating_point_v<V> || std::is_same_v<V, Currency>) {
    return tkFloat;
  } else if constexpr (std::is_same_v<V, String>) {
    return tkString;
  } else if constexpr (std::is_pointer_v<V>) {
    static_assert(std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<V>>>,
                  "a class property points to a TObject descendant");
    return tkClass;
  } else if constexpr (IsEvent<V>::value) {
    return tkMethod;
  } else if constexpr (std::is_same_v<V, Variant>) {
    return tkVariant;
  } else {
    static_assert(sizeof(V) == 0, "this type cannot be a published property");
    return tkUnknown;
  }
}

template <class V>
constexpr TFloatType FloatTypeOf() {
  if constexpr (std::is_same_v<V, float>) return TFloatType::ftSingle;
  else if constexpr (std::is_same_v<V, double>) return TFloatType::ftDouble;
  else if constexpr (std::is_same_v<V, Currency>) return TFloatType::ftCurr;
  else return TFloatType::ftExtended;
}

template <class Sig>
struct MethodTraits;
template <class C, class R, class... A>
struct MethodTraits<R (C::*)(A...)> {
  using Class = C;
  using Signature = R(A...);
};

}  // namespace typeinfo_detail

template <class T>
class TClassBuilder {
public:
  // A property read by Getter (a member function of T or an ancestor, taking nothing) and
  // written by Setter (a member function taking the value, or nullptr for a read-only one).
  template <class G, class S>
  TClassBuilder& Property(const char* Name, G Getter, S Setter) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
    constexpr TTypeKind Kind = typeinfo_detail::KindOf<V>();
    TPropInfo& Prop = NewProperty(Name, Kind);
    Prop.FReadOnly = std::is_same_v<S, std::nullptr_t>;
    if constexpr (Kind == tkEnumeration)
      Prop.FEnumType = EnumInfoOf(static_cast<V*>(nullptr));
    if constexpr (Kind == tkSet) {
      Prop.FSetType = SetInfoOf(static_cast<V*>(nullptr));
      Prop.FEnumType = Prop.FSetType->ElementType();
    }
    if constexpr (Kind == tkClass)
      Prop.FPropClass = &std::remove_cv_t<std::remove_pointer_t<V>>::ClassInfo;
    if constexpr (Kind == tkFloat) Prop.FFloatType = typeinfo_detail::FloatTypeOf<V>();
    Bind<V, Kind>(Prop, Getter, Setter);
    return *this;
  }

  // The same with a declared default (ordinal, set and string properties): the value is
  // written only when it differs from Default.
  template <class G, class S, class D>
  TClassBuilder& Property(const char* Name, G Getter, S Setter, D Default) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
    constexpr TTypeKind Kind = typeinfo_detail::KindOf<V>();
    static_assert(Kind == tkInteger || Kind == tkInt64 || Kind == tkChar ||
                      Kind == tkEnumeration || Kind == tkSet || Kind == tkString,
                  "only ordinal, set and string properties have a declared default");
    Property(Name, Getter, Setter);
    FLast->FHasDefault = true;
    if constexpr (Kind == tkString)
      FLast->FDefaultStr = String(Default);
    else if constexpr (Kind == tkSet)
      FLast->FDefault = static_cast<Int64>(V(Default).Bits());
    else
      FLast->FDefault = static_cast<Int64>(V(Default));
    return *this;
  }

  // A TDateTime property: streamed as a date (vaDate), a Variant date through GetPropValue.
  template <class G, class S>
  TClassBuilder& DateTimeProperty(const char* Name, G Getter, S Setter) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
    static_assert(std::is_same_v<V, TDateTime>, "a date property reads a TDateTime");
    Property(Name, Getter, Setter);
    FLast->FIsDateTime = true;
    return *this;
  }

  // Names for the values of the integer property just declared (see TPropInfo::Idents); the
  // table must outlive the registry.
  TClassBuilder& Idents(std::span<const TIdentMapEntry> Map) {
    FLast->FIdents = Map;
    return *this;
  }

  // The stored condition of the property just declared: a constant, or a predicate member
  // (bool IsFontStored() const).
  TClassBuilder& Stored(bool Value) {
    FLast->FStored = [Value](const TObject*) { return Value; };
    return *this;
  }
  template <class P>
  TClassBuilder& Stored(P Predicate) {
    static_assert(std::is_invocable_r_v<bool, P, const T&>, "a stored predicate returns bool");
    FLast->FStored = [Predicate](const TObject* Obj) { return std::invoke(Predicate, Self(Obj)); };
    return *this;
  }

  // A published method that a stream may name as an event handler ("Button1Click").
  template <class M>
  TClassBuilder& Method(const char* Name, M Member) {
    using Traits = typeinfo_detail::MethodTraits<M>;
    using Sig = typename Traits::Signature;
    static_assert(std::is_base_of_v<typename Traits::Class, T>, "the method belongs to the class");
    auto Info = std::make_unique<TMethodInfo>();
    Info->FName = Utf8ToString(Name);
    Info->FBind = [Name = Info->FName, Member](TObject* Instance) -> std::any {
      T* Obj = static_cast<T*>(Instance);
      return std::function<Sig>(TBoundMethod<Sig>(Name, [Obj, Member](auto&&... Args) {
        return std::invoke(Member, Obj, std::forward<decltype(Args)>(Args)...);
      }));
    };
    CheckNewName(Info->FName, true);
    FInfo->FMethods.push_back(std::move(Info));
    return *this;
  }

  static TClass Build(const char* Name, void (*Describe)(TClassBuilder&)) {
    TClassBuilder Builder;
    Builder.FInfo->FName = Utf8ToString(Name);
    if constexpr (!std::is_same_v<T, TObject>) {
      static_assert(std::is_base_of_v<typename T::inherited, T>, "VORENTA_CLASS names the base");
      Builder.FInfo->FParent = T::inherited::ClassInfo();
    }
    Builder.SetFactory();
    Describe(Builder);
    return BuildClassInfo(std::move(Builder.FOwned));
  }

private:
  TClassBuilder() : FOwned(new TClassInfo), FInfo(FOwned.get()) {}

  static const T& Self(const TObject* Obj) { return *static_cast<const T*>(Obj); }
  static T& Self(TObject* Obj) { return *static_cast<T*>(Obj); }

  void SetFactory() {
    if constexpr (!std::is_abstract_v<T>) {
      if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
        FInfo->FCreateComponent = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
      else if constexpr (std::is_base_of_v<TCollectionItem, T> &&
                         std::is_constructible_v<T, TCollection*>)
        FInfo->FCreateItem = [](TCollection* C) -> TCollectionItem* { return new T(C); };
      else if constexpr (std::is_default_constructible_v<T>)
        FInfo->FCreate = []() -> TObject* { return new T; };
    }
  }

  TPropInfo& NewProperty(const char* Name, TTypeKind Kind) {
    auto Prop = std::make_unique<TPropInfo>();
    Prop->FName = Utf8ToString(Name);
    Prop->FKind = Kind;
    Prop->FOwnerClass = nullptr;  // set by BuildClassInfo
    CheckNewName(Prop->FName, false);
    FLast = Prop.get();
    FInfo->FOwnProperties.push_back(std::move(Prop));
    return *FLast;
  }

  void CheckNewName(const String& Name, bool IsMethod) const;

  template <class V, TTypeKind Kind, class G, class S>
  void Bind(TPropInfo& Prop, G Getter, S Setter) {
    constexpr bool Writable = !std::is_same_v<S, std::nullptr_t>;
    if constexpr (Writable)
      static_assert(std::is_invocable_v<S, T&, V>, "the setter takes the getter's type");
    auto Get = [Getter](const TObject* Obj) -> V { return std::invoke(Getter, Self(Obj)); };
    if constexpr (Kind == tkInteger || Kind == tkInt64 || Kind == tkChar || Kind == tkEnumeration) {
      Prop.FGetOrd = [Get](const TObject* Obj) { return static_cast<Int64>(Get(Obj)); };
      if constexpr (Writable)
        Prop.FSetOrd = [Setter](TObject* Obj, Int64 Value) {
          std::invoke(Setter, Self(Obj), static_cast<V>(Value));
        };
    } else if constexpr (Kind == tkSet) {
      Prop.FGetOrd = [Get](const TObject* Obj) { return static_cast<Int64>(Get(Obj).Bits()); };
      if constexpr (Writable)
        Prop.FSetOrd = [Setter](TObject* Obj, Int64 Value) {
          std::invoke(Setter, Self(Obj), V::FromBits(static_cast<std::uint64_t>(Value)));
        };
    } else if constexpr (Kind == tkFloat && std::is_same_v<V, Currency>) {
      Prop.FGetCurr = Get;
      Prop.FGetFloat = [Get](const TObject* Obj) { return Get(Obj).ToExtended(); };
      if constexpr (Writable) {
        Prop.FSetCurr = [Setter](TObject* Obj, Currency Value) { std::invoke(Setter, Self(Obj), Value); };
        Prop.FSetFloat = [Setter](TObject* Obj, Extended Value) {
          std::invoke(Setter, Self(Obj), Currency(Value));
        };
      }
    } else if constexpr (Kind == tkFloat) {
      Prop.FGetFloat = [Get](const TObject* Obj) { return static_cast<Extended>(Get(Obj)); };
      if constexpr (Writable)
        Prop.FSetFloat = [Setter](TObject* Obj, Extended Value) {
          std::invoke(Setter, Self(Obj), static_cast<V>(Value));
        };
    } else if constexpr (Kind == tkString) {
      Prop.FGetStr = Get;
      if constexpr (Writable)
        Prop.FSetStr = [Setter](TObject* Obj, const String& Value) {
          std::invoke(Setter, Self(Obj), Value);
        };
    } else if constexpr (Kind == tkClass) {
      using C = std::remove_cv_t<std::remove_pointer_t<V>>;
      Prop.FGetObject = [Get](const TObject* Obj) -> TObject* {
        return const_cast<C*>(Get(Obj));
      };
      if constexpr (Writable)
        Prop.FSetObject = [Setter](TObject* Obj, TObject* Value) {
          C* Typed = dynamic_cast<C*>(Value);
          if (Value && !Typed) RaisePropertyError(u"Invalid property value");
          std::invoke(Setter, Self(Obj), Typed);
        };
    } else if constexpr (Kind == tkMethod) {
      Prop.FGetMethod = [Get](const TObject* Obj) -> std::any {
        V Handler = Get(Obj);
        return Handler ? std::any(std::move(Handler)) : std::any();
      };
      Prop.FGetMethodName = [Get](const TObject* Obj) -> String {
        V Handler = Get(Obj);
        return BoundName(Handler);
      };
      if constexpr (Writable)
        Prop.FSetMethod = [Setter](TObject* Obj, const std::any& Handler) {
          if (!Handler.has_value()) return std::invoke(Setter, Self(Obj), V());
          const V* Typed = std::any_cast<V>(&Handler);
          if (!Typed) RaisePropertyError(u"Invalid property value");
          std::invoke(Setter, Self(Obj), *Typed);
        };
    } else if constexpr (Kind == tkVariant) {
      Prop.FGetVariant = Get;
      if constexpr (Writable)
        Prop.FSetVariant = [Setter](TObject* Obj, const Variant& Value) {
          std::invoke(Setter, Self(Obj), Value);
        };
    }
  }

  template <class Sig>
  static String BoundName(const std::function<Sig>& Handler) {
    const auto* Bound = Handler.template target<TBoundMethod<Sig>>();
    return Bound ? Bound->Name() : String();
  }

  std::unique_ptr<TClassInfo> FOwned;
  TClassInfo* FInfo;
  TPropInfo* FLast = nullptr;
};

// Checks a new property or method name against the ones the class already declares.
void CheckUniqueMemberName(const TClassInfo* Info, const String& Name, bool IsMethod);

template <class T>
void TClassBuilder<T>::CheckNewName(const String& Name, bool IsMethod) const {
  CheckUniqueMemberName(FInfo, Name, IsMethod);
}

// Defines T::ClassInfo(); the braces that follow describe the class through `Class`.
#define REGISTER_CLASS(T)                                                        \
  static void VorentaDescribe_##T(TClassBuilder<T>& Class);                      \
  TClass T::ClassInfo() {                                                        \
    static const TClass Info = TClassBuilder<T>::Build(#T, &VorentaDescribe_##T); \
    return Info;                                                                 \
  }                                                                              \
  static void VorentaDescribe_##T([[maybe_unused]] TClassBuilder<T>& Class)
