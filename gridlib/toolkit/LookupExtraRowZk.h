// LookupExtraRowZk.h - TSpecRowZk, the special first row of a lookup list (one extra key value with
// its own cell texts, colour and font, typically "nothing chosen"), and the ';' list splitter
// of its cell texts.
#pragma once

#include <memory>

#include "platform/classes/Strings.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/Variants.h"

// Fills Strings (cleared first) with the items of a ';' separated text: leading blanks and
// control characters are skipped; an item starting with '"' is a quoted string ("" stands for
// one quote); other items run to the next ';' or control character, blanks included.
void SplitQuotedSemicolonList(TStrings* Strings, const String& Text);

// Alt+Del, the key that picks the special row.
constexpr TShortCut DefaultSpecRowShortCut = TShortCut(scAlt) | TShortCut(VK_DELETE);

class TSpecRowZk : public TPersistent {
  VORENTA_CLASS(TSpecRowZk, TPersistent)
public:
  explicit TSpecRowZk(TPersistent* Owner);
  ~TSpecRowZk() override;
  void Assign(TPersistent* Source) override;

  const String& CellsText() const { return FCellsText; }
  void SetCellsText(const String& Value);
  // The stored colour when assigned, else the owner control's colour.
  TColor Color() const;
  void SetColor(TColor Value);
  // The own font when assigned, else a copy of the owner control's font (not an assignment).
  TFont* Font() const;
  void SetFont(TFont* Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
  void SetShowIfNotInKeyList(bool Value);
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Selected() const { return FSelected; }
  void SetSelected(bool Value) { FSelected = Value; }
  int UpdateCount() const { return FUpdateCount; }
  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent Value) { FOnChanged = std::move(Value); }

  bool IsColorStored() const { return FColorAssigned; }
  bool IsFontStored() const { return FFontAssigned; }
  bool IsValueStored() const { return !VarIsNull(FValue); }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // The parsed cell text Index; "" out of range.
  String GetCellsTextItem(int Index) const;
  // Visible and the value equals KeyValue (VariantsEqual).
  bool LocateKey(const Variant& KeyValue) const;

protected:
  TPersistent* GetOwner() const override { return FOwner; }
  void Changed();

private:
  TColor DefaultColor() const;
  TFont* DefaultFont() const;
  void FontChanged();

  std::unique_ptr<TStringList> FCellsStrings;
  String FCellsText;
  TColor FColor = clWindow;
  std::unique_ptr<TFont> FFont;
  TNotifyEvent FOnChanged;
  TPersistent* FOwner = nullptr;
  bool FSelected = false;
  TShortCut FShortCut = DefaultSpecRowShortCut;
  bool FShowIfNotInKeyList = true;
  int FUpdateCount = 0;
  Variant FValue = Null();
  bool FVisible = false;
  bool FColorAssigned = false;
  bool FFontAssigned = false;
};
