// Uf_data.cpp - RoundToDigits, SanitizeFileName and the data grids' common settings.
#include "app/Uf_data.h"

#include <cassert>
#include <cmath>

#include "gridlib/grid/DBGridZk.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::size_t kMaxFileNameLength = 100;

bool IsForbiddenFileNameChar(Char Ch) {
  return Ch == u'/' || Ch == u'?' || Ch == u'*' || Ch == u'"' || Ch == u'\\';
}

}  // namespace

double RoundToDigits(double Value, int Digits) {
  assert(Digits >= 0 && "RoundToDigits takes a non-negative number of decimals");
  const double Scale = std::pow(10.0, Digits);
  return std::trunc(Value * Scale + std::copysign(0.5, Value)) / Scale;
}

String SanitizeFileName(const String& Name) {
  const String Kept = Name.substr(0, kMaxFileNameLength);
  String Result;
  String Piece;
  auto FlushPiece = [&] {
    if (Piece.empty()) return;
    if (!Result.empty()) Result += u'-';
    Result += Piece;
    Piece.clear();
  };
  for (Char Ch : Kept) {
    if (IsForbiddenFileNameChar(Ch))
      FlushPiece();
    else
      Piece += Ch;
  }
  FlushPiece();
  return Trim(Result);
}

void StyleDataGrid(TCustomDBGridZk* Grid) {
  TDBGridZkAllowedSelections Selections = Grid->AllowedSelections();
  Selections << gstRecordBookmarksAS << gstRectangleAS >> gstColumnsAS << gstAllAS;
  Grid->SetAllowedSelections(Selections);

  TDBGridZkEditActions Actions = Grid->EditActions();
  Actions >> geaCutZk << geaCopyZk << geaPasteZk >> geaDeleteZk << geaSelectAllZk;
  Grid->SetEditActions(Actions);

  TDBGridOptions Options = Grid->Options();
  Options >> dgRowSelect << dgEditing >> dgAlwaysShowSelection >> dgConfirmDelete >>
      dgCancelOnExit << dgMultiSelect;
  Grid->SetOptions(Options);

  TDBGridZkOptions OptionsZk = Grid->OptionsZk();
  OptionsZk << dghEnterAsTab << dghClearSelection << dghAutoSortMarking << dghMultiSortMarking
            << dghDialogFind;
  Grid->SetOptionsZk(OptionsZk);

  Grid->VertScrollBar()->SetTracking(true);
  Grid->SetUseMultiTitle(true);
  Grid->SetVTitleMargin(3);
}

void SetDataGridReadOnly(TCustomDBGridZk* Grid, bool ReadOnly) {
  TDBGridOptions Options = Grid->Options();
  const TDBGridZkAllowedOperations All = {alopInsertZk, alopUpdateZk, alopDeleteZk, alopAppendZk};
  if (ReadOnly) {
    Options >> dgEditing;
    Grid->SetAllowedOperations(Grid->AllowedOperations() - All);
  } else {
    Options << dgEditing;
    Grid->SetAllowedOperations(Grid->AllowedOperations() + All);
  }
  Grid->SetOptions(Options);
}
