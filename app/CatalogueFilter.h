// CatalogueFilter.h - the catalogue's search and filter conditions, built from the search panel.
//
// The panel's values never become SQL text: each condition is a text with ":name" markers and
// the values bound to them, so a typed quote or a decimal comma is a value, not SQL. The
// conditions keep the order and joining of the panel's pieces: code, type, price.
#pragma once

#include <utility>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"

// An SQL condition with its bound values.
struct TSqlCondition {
  String Text;
  std::vector<std::pair<String, Variant>> Params;

  bool Empty() const { return Text.empty(); }
  // Appends Other with " and " when something stands before it.
  void AndWith(const TSqlCondition& Other);
};

// What the search panel holds.
struct TCataloguePanel {
  bool CodeChecked = false;
  String CodeText;           // the mask edit's text with its literals ("К 1_-__")
  bool TypeChecked = false;
  Variant TypeKey;           // the type combo box's key (Null when none is chosen)
  bool PriceChecked = false;
  String PriceFromText;      // the editors' texts: an empty text means no bound
  Variant PriceFromValue;
  String PriceToText;
  Variant PriceToValue;
};

// The code pieces: one "(MID(NM,p,1) LIKE ...)" per non-blank character at positions 1, 3,
// 4, 6 and 7 of the code text, joined with " and "; empty when the criterion is off.
TSqlCondition CodeCondition(const TCataloguePanel& Panel);
// "COLOR_TP_ID=..." when the type criterion is on and its key is greater than 0.
TSqlCondition TypeCondition(const TCataloguePanel& Panel);
// The lower and upper price pieces when the price criterion is on.
TSqlCondition PriceCondition(const TCataloguePanel& Panel);
// Type and price joined (the rest condition of a search).
TSqlCondition RestCondition(const TCataloguePanel& Panel);
// Code, type and price joined (the filter's condition, without "WHERE").
TSqlCondition FilterCondition(const TCataloguePanel& Panel);
