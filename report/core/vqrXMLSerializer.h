// vqrXMLSerializer.h - report objects to attribute texts and element trees, and back.
//
// Every report object reaches the XML form of vqrXML.h through this class: templates,
// single objects (SaveToStream, AllDiff, Assign), collections, variables, styles and the
// prepared-page store. It walks the published properties that the platform's type registry
// lists for the object's class (nothing else in the report engine reflects), writes only
// what differs from an ancestor or a default, keeps component references as names resolved
// after reading, and carries the properties an object streams by hand (DefineProperties) as
// hexadecimal text in the attribute PropData.
//
// Attribute text: pairs ` Name="value"`; a name may be a dotted path through object-valued
// properties (Font.Name, Frame.Typ). Reading never stops at an unknown class or a bad value:
// the messages are collected in Errors for the caller to pass on to the report.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Types.h"

class TMemoryStream;
class TPropInfo;
class TReader;
class TStream;
class TvqrComponent;
class TvqrXMLItem;

// A text object (a memo view) exposes its text to the serializer through this interface:
// it is written as ` Text="..."` (without the final line break) and read from Text, x and u.
class IvqrSerializedText {
public:
  virtual ~IvqrSerializedText() = default;
  // The whole text, lines joined with CR LF, without the final line break.
  virtual String SerializedText() const = 0;
  virtual void SetSerializedText(const String& Value) = 0;
};

// A reference waiting for the component it names.
struct TvqrFixupItem {
  TPersistent* Obj = nullptr;
  const TPropInfo* PropInfo = nullptr;
  String Value;
};

// Asked for the ancestor of a component written without one (inherited templates).
using TvqrGetAncestorEvent = std::function<void(const String& Name, TPersistent*& Ancestor)>;

class TvqrXMLSerializer {
public:
  explicit TvqrXMLSerializer(TStream* Stream = nullptr);
  ~TvqrXMLSerializer();
  TvqrXMLSerializer(const TvqrXMLSerializer&) = delete;
  TvqrXMLSerializer& operator=(const TvqrXMLSerializer&) = delete;

  // --- Attribute texts ----------------------------------------------------------------------
  // Obj's published properties, each name prefixed with Add; those equal to Ancestor's are
  // left out. Empty for no object.
  String ObjToXML(TPersistent* Obj, const String& Add = {}, TPersistent* Ancestor = nullptr);
  // Applies an attribute text to Obj; references become pending fix-ups.
  void XMLToObj(const String& Text, TPersistent* Obj);

  // --- Single components --------------------------------------------------------------------
  // The class name followed by ObjToXML(c): "TvqrMemoView Left=...".
  String WriteComponentStr(TComponent* C);
  // A new component (owned by Root) from such a text; nullptr for a blank text. An unknown
  // class raises EClassNotFound. Fix-ups are resolved unless DontFixup.
  TComponent* ReadComponentStr(TComponent* Root, const String& Text, bool DontFixup = false);
  // <WriteComponentStr(c)/> to Stream, no header, no line break.
  void WriteComponent(TComponent* C);
  // One element from Stream's position, read by ReadComponentStr.
  TComponent* ReadComponent(TComponent* Root);
  // Applies Text to an existing object and resolves the references it names.
  void ReadPersistentStr(TComponent* Root, TPersistent* Obj, const String& Text);

  // --- Component trees ----------------------------------------------------------------------
  // Root and (with SaveChildren) its child tree into XMLItem, or into a new indented
  // document saved to Stream when XMLItem is nullptr.
  void WriteRootComponent(TvqrComponent* Root, bool SaveChildren = true,
                          TvqrXMLItem* XMLItem = nullptr, bool Streaming = false);
  // The reverse; without XMLItem the document is read from Stream.
  void ReadRootComponent(TvqrComponent* Root, TvqrXMLItem* XMLItem = nullptr);

  // Appends copies of the pending fix-ups to FixList (nothing for nullptr).
  void CopyFixupList(std::vector<TvqrFixupItem>* FixList) const;

  // --- Properties ---------------------------------------------------------------------------
  // Messages collected while reading: sorted, each once.
  TStringList* Errors() const { return FErrors.get(); }
  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TStream* Stream() const { return FStream; }
  void SetStream(TStream* Value) { FStream = Value; }
  // Write ordinal, float, string and variant properties even when equal to the default.
  bool SerializeDefaultValues() const { return FSerializeDefaultValues; }
  void SetSerializeDefaultValues(bool Value) { FSerializeDefaultValues = Value; }
  // The texts come from an old-format document (text contents are UTF-8 inside 8-bit text).
  bool OldFormat() const { return FOldFormat; }
  void SetOldFormat(bool Value) { FOldFormat = Value; }
  const TvqrGetAncestorEvent& OnGetAncestor() const { return FOnGetAncestor; }
  void SetOnGetAncestor(const TvqrGetAncestorEvent& Value) { FOnGetAncestor = Value; }

private:
  struct TReadTarget;
  struct TWriteStep;
  struct TWritePlan;
  static const TWritePlan& WritePlanOf(TClass Class);
  void AppendObjXML(String& Out, TPersistent* Obj, const String& Add, TPersistent* Ancestor);
  void WriteProperty(TPersistent* Obj, const TWriteStep& Step, const String& Add,
                     TPersistent* Ancestor, String& Out);
  void WriteObjectProperty(TObject* Value, const TPropInfo* Prop, const TPropInfo* AncProp,
                           TPersistent* Ancestor, const String& Add, String& Out);
  void WriteSubObject(TPersistent* Sub, const String& Name, TObject* AncValue,
                      const String& Add, String& Out);
  void WriteDefinedProperties(TPersistent* Obj, const String& Add, TPersistent* Ancestor,
                              String& Out);
  void ApplyText(std::u16string_view Text, TPersistent* Obj);
  void ApplyPair(TReadTarget& Target, std::u16string_view Name, std::u16string_view Value);
  void ApplyValue(TReadTarget& Target, std::u16string_view Name, std::u16string_view Value);
  void ApplyGeneral(TPersistent* Obj, const TPropInfo* Prop, std::u16string_view Value);
  void ReadDefinedProperties(TPersistent* Obj, const String& Hex);
  void FillItem(TvqrComponent* C, TvqrXMLItem* Item, bool IsRoot, bool SaveChildren,
                bool Streaming);
  void ReadItem(TvqrXMLItem* Item, TvqrComponent* Parent, bool IsFirst, TvqrComponent* Root,
                std::vector<TComponent*>& Read);
  void FixupReferences();
  void AddError(const String& Msg);

  std::unique_ptr<TStringList> FErrors;
  TComponent* FOwner = nullptr;
  TStream* FStream = nullptr;
  bool FSerializeDefaultValues = false;
  bool FOldFormat = false;
  TvqrGetAncestorEvent FOnGetAncestor;
  std::vector<TvqrFixupItem> FFixups;
  // The name prefixes of the sub-objects being written, one buffer per depth (a deque: a
  // deeper buffer added must not move the ones in use).
  std::deque<String> FPrefixes;
  std::size_t FPrefixDepth = 0;
  // The stream each object's defined properties are written to, kept between objects.
  std::unique_ptr<TMemoryStream> FDefinedData;
  bool FDefinedDataBusy = false;
  // The attribute text of the item being filled, kept between items.
  String FItemText;
  bool FItemTextBusy = false;
};
