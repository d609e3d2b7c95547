// vqrClassStyles.cpp - the style sheet: named styles, applying them, the style sheet file.
//
// File layout (an XML document of vqrXML.h, written indented):
//
//   <style Name="sheet name">
//     <item Name="Style1" Color="536870911" Font.Charset="1" .../>   one per style, in order
//   </style>
//
// An item's attribute text is the serializer's text of the style's published properties.
#include "report/core/vqrClass.h"

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrXML.h"
#include "report/core/vqrXMLSerializer.h"

REGISTER_CLASS(TvqrStyleItem) {
  Class.Property("Name", &TvqrStyleItem::Name, &TvqrStyleItem::SetName)
      .Property("Color", &TvqrStyleItem::Color, &TvqrStyleItem::SetColor)
      .Property("Font", &TvqrStyleItem::Font, &TvqrStyleItem::SetFont)
      .Property("Frame", &TvqrStyleItem::Frame, &TvqrStyleItem::SetFrame);
}

REGISTER_CLASS(TvqrStyles) {}

// --- TvqrStyleItem ----------------------------------------------------------------------------

TvqrStyleItem::TvqrStyleItem(TCollection* ACollection)
    : TCollectionItem(ACollection),
      FFont(std::make_unique<TFont>()),
      FFrame(std::make_unique<TvqrFrame>()) {
  FFont->SetName(u"Arial");
  FFont->SetSize(10);
  FFont->SetCharset(DEFAULT_CHARSET);
}

TvqrStyleItem::~TvqrStyleItem() = default;

void TvqrStyleItem::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrStyleItem*>(Source);
  if (!Src) return inherited::Assign(Source);
  SetName(Src->FName);
  FColor = Src->FColor;
  FFont->Assign(Src->FFont.get());
  FFrame->Assign(Src->FFrame.get());
}

void TvqrStyleItem::SetFrame(TvqrFrame* Value) { FFrame->Assign(Value); }

void TvqrStyleItem::SetName(const String& Value) {
  if (auto* Sheet = dynamic_cast<TvqrStyles*>(Collection())) {
    TvqrStyleItem* Other = Sheet->Find(Value);
    if (Other && Other != this) throw Exception(u"Duplicate name");
  }
  FName = Value;
}

void TvqrStyleItem::CreateUniqueName() {
  auto* Sheet = dynamic_cast<TvqrStyles*>(Collection());
  for (int I = 1;; ++I) {
    const String Candidate = u"Style" + IntToStr(I);
    TvqrStyleItem* Other = Sheet ? Sheet->Find(Candidate) : nullptr;
    if (!Other || Other == this) return SetName(Candidate);
  }
}

// --- TvqrStyles -------------------------------------------------------------------------------

TvqrStyles::TvqrStyles(TvqrReport* AReport)
    : TCollection(TvqrStyleItem::ClassInfo()), FReport(AReport) {}

TvqrStyleItem* TvqrStyles::Items(int Index) const {
  return static_cast<TvqrStyleItem*>(TCollection::Items(Index));
}

TvqrStyleItem* TvqrStyles::Add() { return static_cast<TvqrStyleItem*>(TCollection::Add()); }

TvqrStyleItem* TvqrStyles::Find(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Name)) return Items(I);
  return nullptr;
}

void TvqrStyles::GetList(TStrings* List) const {
  List->Clear();
  for (int I = 0; I < Count(); ++I) List->Add(Items(I)->Name());
}

void TvqrStyles::Apply() {
  if (!FReport) return;
  for (TvqrComponent* Obj : FReport->AllObjects()) {
    auto* Memo = dynamic_cast<TvqrCustomMemoView*>(Obj);
    if (!Memo) continue;
    TvqrStyleItem* Item = Find(Memo->Style());
    Memo->SetStyle(Item ? Item->Name() : String());
  }
}

// --- The style sheet file ---------------------------------------------------------------------

void TvqrStyles::SaveToXMLItem(TvqrXMLItem* Item) {
  Item->SetName(u"style");
  Item->SetProp(u"Name", FName);
  TvqrXMLSerializer Serializer;
  for (int I = 0; I < Count(); ++I) {
    TvqrXMLItem* Child = Item->Add();
    Child->SetName(u"item");
    Child->SetText(Serializer.ObjToXML(Items(I)));
  }
}

void TvqrStyles::SaveToStream(TStream* Stream) {
  TvqrXMLDocument Doc;
  Doc.SetAutoIndent(true);
  SaveToXMLItem(Doc.Root());
  Doc.SaveToStream(Stream);
}

void TvqrStyles::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TvqrStyles::LoadFromXMLItem(TvqrXMLItem* Item, bool OldXMLFormat) {
  Clear();
  FName = Item->Prop(u"Name");
  TvqrXMLSerializer Serializer;
  Serializer.SetOldFormat(OldXMLFormat);
  for (int I = 0; I < Item->Count(); ++I) {
    TvqrXMLItem* Child = Item->Items(I);
    if (!SameText(Child->Name(), u"item")) continue;
    Serializer.XMLToObj(Child->Text(), Add());
  }
  Apply();
}

void TvqrStyles::LoadFromStream(TStream* Stream) {
  Clear();
  TvqrXMLDocument Doc;
  Doc.LoadFromStream(Stream);
  if (SameText(Doc.Root()->Name(), u"style")) LoadFromXMLItem(Doc.Root(), Doc.OldVersion());
}

void TvqrStyles::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead);
  LoadFromStream(&Stream);
}
