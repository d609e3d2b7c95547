// DBGridZkTextIndex.h - the texts of one grid column over the dataset's records, kept so that a
// search from the first record (each character of the incremental search) compares strings
// instead of walking the dataset again.
//
// The index holds the column's cell texts in record order, as the search compares them
// (upper-cased when case is ignored), for records 1..Count(). A dataset that hands out a
// field's stored values fills it whole at once; otherwise the search that walks the records
// adds each text it reads, so the index grows only as far as searches have gone, and is
// complete once a walk reached the end. It stands for one dataset stamp (DataVersion), field,
// column and set of text options; any difference drops the texts. It serves only text fields
// and unformatted whole-number fields, without text handlers or key lists, of datasets that
// stamp their data and number their records: there the text follows from the stored value.
#pragma once

#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "platform/classes/Component.h"

// Whether a cell text matches the pattern, both already in the compared form.
bool LocateTextMatches(const String& Cell, const String& Pattern, TLocateTextMatchingZk Matching);

class TGridTextIndexZk : public TComponent {
public:
  explicit TGridTextIndexZk(TCustomDBGridZk* Grid) : TComponent(Grid) {}
  // The grid's index (a component the grid owns), made on first use.
  static TGridTextIndexZk* Of(TCustomDBGridZk* Grid);
  // Whether Column's texts over DataSet can be kept.
  static bool Serves(TDataSet* DataSet, TColumnZk* Column);

  // Makes the index stand for Column over DataSet under Options, dropping the texts it held
  // for anything else (or for an older stamp of the data).
  void Prepare(TDataSet* DataSet, TColumnZk* Column, TLocateTextOptionsZk Options);
  // Text in the compared form.
  String Compared(const String& Text) const;
  // The record number of the first kept text matching Pattern (compared form), 0 for none.
  int Find(const String& Pattern, TLocateTextMatchingZk Matching) const;
  // Reads every record's text at once from the values the dataset stores, when it gives them
  // and the text follows from the value alone (text and whole-number fields); false leaves
  // the index to the walks.
  bool FillFromStoredValues();
  // Keeps the cell text of record Count() + 1; returns it in the compared form.
  const String& Add(const String& CellText);
  void SetComplete() { FComplete = true; }
  void Clear();
  int Count() const { return static_cast<int>(FTexts.size()); }
  bool Complete() const { return FComplete; }

private:
  TDataSet* FDataSet = nullptr;
  TField* FField = nullptr;
  TColumnZk* FColumn = nullptr;
  String FDisplayFormat;
  unsigned FVersion = 0;
  bool FIgnoreCase = false, FMatchFormat = false, FComplete = false;
  std::vector<String> FTexts;
};
