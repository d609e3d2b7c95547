// CatalogueFilter.cpp - building the catalogue's conditions with bound values.
#include "app/CatalogueFilter.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// Positions of the code characters in the mask "l 99-99" (2 and 5 are its literals).
constexpr int kCodePositions[] = {1, 3, 4, 6, 7};

// The character as a LIKE pattern that matches it anywhere, with the wildcards escaped.
String ContainsPattern(const String& Ch) {
  String Pattern = u"%";
  for (Char C : Ch) {
    if (C == u'%' || C == u'_' || C == u'\\') Pattern += u'\\';
    Pattern += C;
  }
  return Pattern + u"%";
}

TSqlCondition Piece(const String& Text, std::vector<std::pair<String, Variant>> Params) {
  return TSqlCondition{Text, std::move(Params)};
}

}  // namespace

void TSqlCondition::AndWith(const TSqlCondition& Other) {
  if (Other.Empty()) return;
  Text += Text.empty() ? Other.Text : u" and " + Other.Text;
  Params.insert(Params.end(), Other.Params.begin(), Other.Params.end());
}

TSqlCondition CodeCondition(const TCataloguePanel& Panel) {
  TSqlCondition Result;
  if (!Panel.CodeChecked || Panel.CodeText.empty()) return Result;
  for (int Position : kCodePositions) {
    const String Ch = Trim(Copy(Panel.CodeText, Position, 1));
    if (Ch.empty()) continue;
    const String Name = u"Code" + IntToStr(Position);
    Result.AndWith(Piece(u"(MID(NM," + IntToStr(Position) + u",1) LIKE :" + Name +
                             u" ESCAPE '\\')",
                         {{Name, Variant(ContainsPattern(Ch))}}));
  }
  return Result;
}

TSqlCondition TypeCondition(const TCataloguePanel& Panel) {
  if (!Panel.TypeChecked || Panel.TypeKey.IsNull() || Panel.TypeKey.IsEmpty()) return {};
  const Integer Key = Panel.TypeKey.AsInteger();
  if (Key <= 0) return {};
  return Piece(u"COLOR_TP_ID=:TypeKey", {{u"TypeKey", Variant(Key)}});
}

TSqlCondition PriceCondition(const TCataloguePanel& Panel) {
  TSqlCondition Result;
  if (!Panel.PriceChecked) return Result;
  if (!Panel.PriceFromText.empty())
    Result.AndWith(Piece(u"(PRICE1>=:PriceFrom or PRICE1A>=:PriceFrom)",
                         {{u"PriceFrom", Panel.PriceFromValue}}));
  if (!Panel.PriceToText.empty())
    Result.AndWith(Piece(u"(PRICE1<=:PriceTo or PRICE1A<=:PriceTo)",
                         {{u"PriceTo", Panel.PriceToValue}}));
  return Result;
}

TSqlCondition RestCondition(const TCataloguePanel& Panel) {
  TSqlCondition Result = TypeCondition(Panel);
  Result.AndWith(PriceCondition(Panel));
  return Result;
}

TSqlCondition FilterCondition(const TCataloguePanel& Panel) {
  TSqlCondition Result = CodeCondition(Panel);
  Result.AndWith(RestCondition(Panel));
  return Result;
}
