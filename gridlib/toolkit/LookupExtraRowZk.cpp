// LookupExtraRowZk.cpp - the special row and the quoted ';' list splitter.
#include "gridlib/toolkit/LookupExtraRowZk.h"

#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TSpecRowZk) {
  Class.Property("CellsText", &TSpecRowZk::CellsText, &TSpecRowZk::SetCellsText)
      .Stored(true)
      .Property("Color", &TSpecRowZk::Color, &TSpecRowZk::SetColor)
      .Stored(&TSpecRowZk::IsColorStored)
      .Property("Font", &TSpecRowZk::Font, &TSpecRowZk::SetFont)
      .Stored(&TSpecRowZk::IsFontStored)
      .Property("ShortCut", &TSpecRowZk::ShortCut, &TSpecRowZk::SetShortCut,
                DefaultSpecRowShortCut)
      .Property("ShowIfNotInKeyList", &TSpecRowZk::ShowIfNotInKeyList,
                &TSpecRowZk::SetShowIfNotInKeyList, true)
      .Property("Value", &TSpecRowZk::Value, &TSpecRowZk::SetValue)
      .Stored(&TSpecRowZk::IsValueStored)
      .Property("Visible", &TSpecRowZk::Visible, &TSpecRowZk::SetVisible, false);
}

namespace {

bool IsControlChar(Char C) { return C >= 1 && C < 32; }

// Whether two fonts would draw alike: same name, height, style, colour, character set, pitch
// and orientation.
bool SameFont(const TFont* A, const TFont* B) {
  return A->Name() == B->Name() && A->Height() == B->Height() && A->Style() == B->Style() &&
         A->Color() == B->Color() && A->Charset() == B->Charset() && A->Pitch() == B->Pitch() &&
         A->Orientation() == B->Orientation();
}

}  // namespace

void SplitQuotedSemicolonList(TStrings* Strings, const String& Text) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    const Char* P = Text.c_str();
    while (*P >= 1 && *P <= 32) ++P;
    while (*P != 0) {
      if (*P == u'"') {
        Strings->Add(AnsiExtractQuotedStr(P, u'"'));
      } else {
        const Char* Start = P;
        while (*P >= 32 && *P != u';') ++P;
        Strings->Add(String(Start, P));
      }
      while (IsControlChar(*P)) ++P;
      if (*P == u';') {
        ++P;
        while (IsControlChar(*P)) ++P;
      }
    }
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

TSpecRowZk::TSpecRowZk(TPersistent* Owner)
    : FCellsStrings(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()),
      FOwner(Owner) {
  FFont->Assign(DefaultFont());
  FFont->SetOnChange([this](TObject*) { FontChanged(); });
}

TSpecRowZk::~TSpecRowZk() = default;

void TSpecRowZk::Changed() {
  if (FOnChanged && FUpdateCount == 0) FOnChanged(this);
}

void TSpecRowZk::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TSpecRowZk::SetCellsText(const String& Value) {
  if (Value == FCellsText) return;
  FCellsText = Value;
  SplitQuotedSemicolonList(FCellsStrings.get(), Value);
  Changed();
}

String TSpecRowZk::GetCellsTextItem(int Index) const {
  return Index >= 0 && Index < FCellsStrings->Count() ? FCellsStrings->Strings(Index) : String();
}

TColor TSpecRowZk::DefaultColor() const {
  if (auto* Control = dynamic_cast<TControl*>(FOwner)) return Control->Color();
  return FColor;
}

TColor TSpecRowZk::Color() const { return FColorAssigned ? FColor : DefaultColor(); }

void TSpecRowZk::SetColor(TColor Value) {
  if (FColorAssigned && Value == FColor) return;
  FColor = Value;
  FColorAssigned = true;
  Changed();
}

TFont* TSpecRowZk::DefaultFont() const {
  if (auto* Control = dynamic_cast<TControl*>(FOwner)) return Control->Font();
  return FFont.get();
}

TFont* TSpecRowZk::Font() const {
  if (FFontAssigned) return FFont.get();
  TFont* Default = DefaultFont();
  if (Default != FFont.get() && !SameFont(Default, FFont.get())) {
    // A copy that follows the owner is not an assignment: detach the change event meanwhile.
    TNotifyEvent Saved = FFont->OnChange();
    FFont->SetOnChange(nullptr);
    FFont->Assign(Default);
    FFont->SetOnChange(std::move(Saved));
  }
  return FFont.get();
}

void TSpecRowZk::SetFont(TFont* Value) { FFont->Assign(Value); }

void TSpecRowZk::FontChanged() {
  Changed();
  FFontAssigned = true;
}

void TSpecRowZk::SetShowIfNotInKeyList(bool Value) {
  if (Value == FShowIfNotInKeyList) return;
  FShowIfNotInKeyList = Value;
  Changed();
}

void TSpecRowZk::SetValue(const Variant& Value) {
  try {
    if (!(Value != FValue)) return;
  } catch (const Exception&) {
    // Values of kinds that cannot be compared (a text after a number) are simply different.
  }
  FValue = Value;
  Changed();
}

void TSpecRowZk::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed();
}

bool TSpecRowZk::LocateKey(const Variant& KeyValue) const {
  return FVisible && VariantsEqual(FValue, KeyValue);
}

void TSpecRowZk::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TSpecRowZk*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  try {
    SetCellsText(Src->CellsText());
    SetColor(Src->Color());
    if (Src->FFontAssigned) SetFont(Src->Font());
    SetShortCut(Src->ShortCut());
    SetShowIfNotInKeyList(Src->ShowIfNotInKeyList());
    SetValue(Src->Value());
    SetVisible(Src->Visible());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
