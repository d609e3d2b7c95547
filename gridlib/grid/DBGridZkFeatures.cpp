// DBGridZkFeatures.cpp - the dataset features registry and the standard grid text search.
#include "gridlib/grid/DBGridZkFeatures.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "gridlib/grid/DBGridZkCenter.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

// --- the entry's operations: an entry that does not override one leaves it undone -------------

bool TDataSetFeaturesZk::LocateText(TCustomDBGridZk*, const String&, const String&,
                                    TLocateTextOptionsZk, TLocateTextDirectionZk,
                                    TLocateTextMatchingZk, TLocateTextTreeFindRangeZk) {
  return false;
}
bool TDataSetFeaturesZk::MoveRecords(TCustomDBGridZk*, TBMListZk*, int&, bool) { return false; }
void TDataSetFeaturesZk::ApplySorting(TCustomDBGridZk*, TDataSet*, bool) {}
void TDataSetFeaturesZk::ApplyFilter(TCustomDBGridZk*, TDataSet*, bool) {}
void TDataSetFeaturesZk::ExecuteFindDialog(TCustomDBGridZk*, const String&, const String&, bool) {}
void TDataSetFeaturesZk::FillSTFilterListDataValues(TCustomDBGridZk*, TColumnZk*, TStrings*) {}

// --- the registry ---------------------------------------------------------------------------------

namespace {

std::vector<std::pair<String, std::unique_ptr<TDataSetFeaturesZk>>>& Registry() {
  static std::vector<std::pair<String, std::unique_ptr<TDataSetFeaturesZk>>> Entries;
  return Entries;
}

}  // namespace

void RegisterDataSetFeatures(std::unique_ptr<TDataSetFeaturesZk> Features) {
  if (!Features || !Features->DataSetClass()) return;
  const String Name = Features->DataSetClass()->Name();
  for (const auto& Entry : Registry())
    if (AnsiSameText(Entry.first, Name)) throw EStringListError(u"Duplicates not allowed");
  Registry().emplace_back(Name, std::move(Features));
}

void ClearDataSetFeaturesRegistry() { Registry().clear(); }
int DataSetFeaturesCount() { return static_cast<int>(Registry().size()); }

int DataSetClassDistance(TClass AClass, const String& ClassName) {
  const String Wanted = AnsiUpperCase(ClassName);
  int Steps = 0;
  for (TClass C = AClass; C; C = C->Parent(), ++Steps)
    if (AnsiUpperCase(C->Name()) == Wanted) return Steps;
  return INT_MAX;
}

TDataSetFeaturesZk* FindDataSetFeaturesClass(TClass DataSetClass) {
  TDataSetFeaturesZk* Best = nullptr;
  int BestDistance = INT_MAX;
  if (!DataSetClass) return nullptr;
  for (const auto& [Name, Entry] : Registry()) {
    if (!DataSetClass->InheritsFrom(Entry->DataSetClass())) continue;
    const int Distance = DataSetClassDistance(DataSetClass, Name);
    if (Distance < BestDistance) {
      BestDistance = Distance;
      Best = Entry.get();
    }
  }
  return Best;
}

TDataSetFeaturesZk* FindDataSetFeatures(TDataSet* DataSet) {
  return DataSet ? FindDataSetFeaturesClass(DataSet->ClassType()) : nullptr;
}

// --- the standard text search ---------------------------------------------------------------------

namespace {

bool CellMatches(String Cell, String Pattern, TLocateTextOptionsZk Options,
                 TLocateTextMatchingZk Matching) {
  if (Options.Contains(ltoCaseInsensitiveZk)) {
    Cell = AnsiUpperCase(Cell);
    Pattern = AnsiUpperCase(Pattern);
  }
  switch (Matching) {
    case ltmWholeZk: return Cell == Pattern;
    case ltmFromBegingZk: return Cell.compare(0, Pattern.size(), Pattern) == 0;
    default: return Cell.find(Pattern) != String::npos;
  }
}

String CellText(TColumnZk* Column, TLocateTextOptionsZk Options) {
  if (Options.Contains(ltoMatchFormatZk)) return Column->DisplayText();
  return Column->Field() ? Column->Field()->Text() : String();
}

bool EscapeWaiting(TCustomDBGridZk* Grid) {
  if (!Grid->HandleAllocated()) return false;
  TMsg Msg;
  return PeekMessage(Msg, Grid->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) &&
         Msg.wParam == VK_ESCAPE;
}

// The visible column the search starts in: the field's column, else the current one (the
// leftmost scrolled-in column when whole rows are selected).
int StartColumn(TCustomDBGridZk* Grid, const String& FieldName) {
  const TColumnsZkList& Visible = Grid->VisibleColumns();
  if (!FieldName.empty()) {
    TColumnZk* Column = Grid->ColumnByFieldName(FieldName);
    const auto It = std::find(Visible.begin(), Visible.end(), Column);
    return It == Visible.end() ? -1 : static_cast<int>(It - Visible.begin());
  }
  if (Grid->Options().Contains(dgRowSelect))
    return Grid->GridColToColumnIndex(Grid->LeftCol());
  return Grid->SelectedIndex();
}

// One step of the walk; false once the dataset ran past its end (or start, going up).
bool StepCell(TDataSet* D, int& Col, int ColCount, bool Up, bool AllFields) {
  if (AllFields) {
    Col += Up ? -1 : 1;
    if (Col >= 0 && Col < ColCount) return true;
    Col = Up ? ColCount - 1 : 0;
  }
  if (Up) D->Prior();
  else D->Next();
  return Up ? !D->Bof() : !D->Eof();
}

}  // namespace

bool LocateGridText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                    TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                    TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk) {
  if (!Grid || !Grid->DataSource()) return false;
  TDataSet* D = Grid->DataSource()->DataSet();
  if (!D || !D->Active()) return false;
  const TColumnsZkList& Visible = Grid->VisibleColumns();
  const int ColCount = static_cast<int>(Visible.size());
  int Col = StartColumn(Grid, FieldName);
  if (ColCount == 0 || Col < 0 || Col >= ColCount) return false;
  const bool AllFields = Options.Contains(ltoAllFieldsZk);
  const bool Up = Direction == ltdUpZk;
  // Searching everything through every column starts at the first cell of the first record,
  // so cells left of the current column on that record are not skipped.
  if (Direction == ltdAllZk && AllFields) Col = 0;

  bool Found = false;
  D->DisableControls();
  try {
    const TBookmark Saved = D->GetBookmark();
    bool InRange;
    if (Direction == ltdAllZk) {
      D->First();
      InRange = !D->Eof();
    } else {
      InRange = StepCell(D, Col, ColCount, Up, AllFields);
    }
    while (InRange) {
      if (CellMatches(CellText(Visible[Col], Options), Text, Options, Matching)) {
        Found = true;
        break;
      }
      if (Options.Contains(ltoStopOnEscape) && EscapeWaiting(Grid)) break;
      InRange = StepCell(D, Col, ColCount, Up, AllFields);
    }
    if (!Found) D->GotoBookmark(Saved);
  } catch (...) {
    D->EnableControls();
    throw;
  }
  D->EnableControls();
  if (Found) Grid->SetCol(Grid->ColumnIndexToGridCol(Col));
  return Found;
}

// --- the unit's start and end ---------------------------------------------------------------------

void DBGridZkFeaturesInitialize() { DBGridZkRoutines().LocateGridText = LocateGridText; }

void DBGridZkFeaturesFinalize() {
  DBGridZkRoutines().LocateGridText = nullptr;
  ClearDataSetFeaturesRegistry();
}

REGISTER_CLASS(TDataSetFeaturesZk) {}
