// vqrUtilsComponents.cpp - the utilities that need the report's component tree: rectangles of
// components, component references, collections in component streams, error reporting.
#include <algorithm>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXMLSerializer.h"

// --- Geometry -------------------------------------------------------------------------------

TvqrRectArea::TvqrRectArea(TvqrComponent* C)
    : X(C->AbsLeft()), Y(C->AbsTop()), X1(C->AbsLeft() + C->Width()),
      Y1(C->AbsTop() + C->Height()) {}

TvqrRectArea::TvqrRectArea(Extended Left, Extended Top, Extended Right, Extended Bottom)
    : X(Left), Y(Top), X1(Right), Y1(Bottom) {}

bool TvqrRectArea::InterceptsX(const TvqrRectArea& A) const {
  return A.X < X1 - 0.0001L && A.X1 > X + 0.0001L;
}

bool TvqrRectArea::InterceptsY(const TvqrRectArea& A) const {
  return A.Y < Y1 - 0.0001L && A.Y1 > Y + 0.0001L;
}

std::unique_ptr<TvqrRectArea> TvqrRectArea::InterceptX(const TvqrRectArea& A) const {
  if (!InterceptsX(A)) return nullptr;
  return std::make_unique<TvqrRectArea>(Max(X, A.X), 0, Min(X1, A.X1), 0);
}

std::unique_ptr<TvqrRectArea> TvqrRectArea::InterceptY(const TvqrRectArea& A) const {
  if (!InterceptsY(A)) return nullptr;
  return std::make_unique<TvqrRectArea>(0, Max(Y, A.Y), 0, Min(Y1, A.Y1));
}

TvqrRect MakeReportRect(Extended Left, Extended Top, Extended Right, Extended Bottom) {
  TvqrRect R;
  R.Left = Left;
  R.Top = Top;
  R.Right = Right;
  R.Bottom = Bottom;
  return R;
}

// --- Components -----------------------------------------------------------------------------

namespace {

using vqrclass_detail::InheritsFromName;

std::vector<TComponent*>& GlobalComponents() {
  static std::vector<TComponent*> List;
  return List;
}

TComponent* FindGlobalComponent(const String& Name) {
  for (TComponent* C : GlobalComponents())
    if (SameText(C->Name(), Name)) return C;
  return nullptr;
}

bool IsWindowOrDataModule(const TComponent* C) {
  return InheritsFromName(C, u"TCustomForm") || InheritsFromName(C, u"TDataModule");
}

bool IsFrame(const TComponent* C) {
  return InheritsFromName(C, u"TCustomFrame") || InheritsFromName(C, u"TFrame");
}

TComponent* LookupPath(TComponent* Owner, const String& Name) {
  std::size_t Dot = Name.find(u'.');
  if (Dot == String::npos) {
    if (!Owner) return nullptr;
    TComponent* Found = Owner->FindComponent(Name);
    if (!Found && dynamic_cast<TvqrReport*>(Owner) && Owner->Owner())
      Found = Owner->Owner()->FindComponent(Name);
    return Found;
  }
  TComponent* Global = FindGlobalComponent(Name.substr(0, Dot));
  if (!Global) return nullptr;
  String Rest = Name.substr(Dot + 1, 255);
  std::size_t Dot2 = Rest.find(u'.');
  if (Dot2 == String::npos) return Global->FindComponent(Rest);
  TComponent* Middle = Global->FindComponent(Rest.substr(0, Dot2));
  return Middle ? Middle->FindComponent(Rest.substr(Dot2 + 1, 255)) : nullptr;
}

}  // namespace

void RegisterGlobalComponent(TComponent* Component) {
  if (std::find(GlobalComponents().begin(), GlobalComponents().end(), Component) ==
      GlobalComponents().end())
    GlobalComponents().push_back(Component);
}

void UnregisterGlobalComponent(TComponent* Component) {
  auto& List = GlobalComponents();
  List.erase(std::remove(List.begin(), List.end(), Component), List.end());
}

TComponent* FindComponentByPath(TComponent* Owner, const String& Name) {
  try {
    return LookupPath(Owner, Name);
  } catch (const Exception&) {
    throw EClassNotFound(u"Missing " + Name);
  }
}

String ComponentReferenceText(TComponent* Owner, TComponent* Component) {
  if (!Component) return {};
  TComponent* CompOwner = Component->Owner();
  if (!CompOwner || CompOwner == Owner ||
      (dynamic_cast<TvqrReport*>(Owner) && CompOwner == Owner->Owner()))
    return Component->Name();
  if (IsWindowOrDataModule(CompOwner)) return CompOwner->Name() + u"." + Component->Name();
  if (IsFrame(CompOwner)) {
    String Path = CompOwner->Name() + u"." + Component->Name();
    return CompOwner->Owner() ? CompOwner->Owner()->Name() + u"." + Path : Path;
  }
  return {};
}

// --- Collections in component streams -------------------------------------------------------

void WriteCollectionProperty(TCollection* Collection, TWriter* Writer, TvqrReport* Report) {
  if (!Report || !Report->IsWriting()) return Writer->WriteCollection(Collection);
  TvqrXMLSerializer Serializer;
  Serializer.SetOwner(Report);
  Writer->WriteListBegin();
  for (int I = 0; I < Collection->Count(); ++I) {
    Writer->WriteListBegin();
    Writer->WriteString(Serializer.ObjToXML(Collection->Items(I)));
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

void ReadCollectionProperty(TCollection* Collection, TReader* Reader, TvqrReport* Report) {
  if (Reader->NextValue() == vaCollection) {
    Reader->ReadCollection(Collection);
    for (int I = 0; I < Collection->Count(); ++I) RecodeItemStrings(Collection->Items(I), false);
    return;
  }
  Collection->Clear();
  TvqrXMLSerializer* Own = Report ? Report->XMLSerializer() : nullptr;
  std::unique_ptr<TvqrXMLSerializer> Temp;
  if (!Own) {
    Temp = std::make_unique<TvqrXMLSerializer>();
    Temp->SetOwner(Report);
  }
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    Reader->ReadListBegin();
    String Text = Reader->ReadString();
    Reader->ReadListEnd();
    TCollectionItem* Item = Collection->Add();
    if (Own)
      Own->XMLToObj(Text, Item);
    else
      Temp->ReadPersistentStr(Report, Item, Text);
  }
  Reader->ReadListEnd();
}

namespace {

String RecodeText(const String& S, bool Encode) {
  String Out;
  Out.reserve(S.size());
  for (std::size_t I = 0; I < S.size(); ++I) {
    Char C = S[I];
    if (Encode) {
      if (C >= 0x402) {
        Out += u'\x0001';
        Out += static_cast<Char>(C - 128);
      } else {
        Out += C;
      }
    } else if (C == 1 && I + 1 < S.size()) {
      Out += static_cast<Char>(S[++I] + 128);
    } else {
      Out += C;
    }
  }
  return Out;
}

}  // namespace

void RecodeItemStrings(TPersistent* Item, bool Encode) {
  for (const TPropInfo* Prop : Item->ClassType()->Properties()) {
    if (Prop->ReadOnly()) continue;
    if (Prop->Kind() == tkString) {
      String Old = Prop->GetStr(Item);
      String New = RecodeText(Old, Encode);
      if (New != Old) Prop->SetStr(Item, New);
    } else if (Prop->Kind() == tkVariant) {
      Variant Old = Prop->GetVariant(Item);
      if (!Old.IsString()) continue;
      String New = RecodeText(Old.AsString(), Encode);
      if (New != Old.AsString()) Prop->SetVariant(Item, Variant(New));
    }
  }
}

// --- Errors ---------------------------------------------------------------------------------

void ReportError(TvqrReport* Report, const String& Msg) {
  switch (Report->EngineOptions()->NewSilentMode()) {
    case simMessageBoxes:
      return ShowErrorBox(Msg);
    case simSilent:
      return;
    case simReThrow:
      throw Exception(Msg);
  }
}
