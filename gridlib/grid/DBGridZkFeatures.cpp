// DBGridZkFeatures.cpp - the dataset features registry and the standard grid text search.
#include "gridlib/grid/DBGridZkFeatures.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkTextIndex.h"
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
  return LocateTextMatches(Cell, Pattern, Matching);
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

// Leaves the dataset on record RecNo as walking to it from the first record would: the record
// at the bottom of the buffered rows unless it lies among the first ones.
void GoToRecordAsWalked(TCustomDBGridZk* Grid, TDataSet* D, int RecNo) {
  const int Rows = std::max(1, Grid->DataLink()->BufferCount());
  const int Start = std::max(1, RecNo - (Rows - 1));
  D->SetRecNo(Start);
  D->MoveBy(RecNo - Start);
}

// A search of one column from the first record: the texts the grid keeps for the column
// answer first; the walk goes on only past the records read before, keeping their texts.
// Returns whether a record matched (the dataset stands on it); Served is false when the kept
// texts could not be used, leaving the search to the ordinary walk.
bool LocateThroughTextIndex(TCustomDBGridZk* Grid, TDataSet* D, TColumnZk* Column,
                            const String& Text, TLocateTextOptionsZk Options,
                            TLocateTextMatchingZk Matching, bool& Served) {
  TGridTextIndexZk* Index = TGridTextIndexZk::Of(Grid);
  Index->Prepare(D, Column, Options);
  if (Index->Count() == 0 && !Index->Complete()) Index->FillFromStoredValues();
  const String Pattern = Index->Compared(Text);
  Served = true;
  if (const int RecNo = Index->Find(Pattern, Matching)) {
    GoToRecordAsWalked(Grid, D, RecNo);
    if (D->RecNo() == RecNo && CellMatches(CellText(Column, Options), Text, Options, Matching))
      return true;
    Index->Clear();  // the texts did not describe the records after all
    Served = false;
    return false;
  }
  if (Index->Complete()) return false;
  if (Index->Count() == 0) {
    D->First();
  } else {
    D->SetRecNo(Index->Count());
    D->Next();
  }
  if (!D->Eof() && D->RecNo() != Index->Count() + 1) {
    Index->Clear();
    Served = false;
    return false;
  }
  for (; !D->Eof(); D->Next()) {
    if (LocateTextMatches(Index->Add(CellText(Column, Options)), Pattern, Matching)) return true;
    if (Options.Contains(ltoStopOnEscape) && EscapeWaiting(Grid)) return false;
  }
  Index->SetComplete();
  return false;
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
    bool Served = false;
    if (Direction == ltdAllZk && !AllFields && TGridTextIndexZk::Serves(D, Visible[Col]))
      Found = LocateThroughTextIndex(Grid, D, Visible[Col], Text, Options, Matching, Served);
    // The walk runs unless the kept texts answered.
    bool InRange = false;
    if (Direction != ltdAllZk) {
      InRange = StepCell(D, Col, ColCount, Up, AllFields);
    } else if (!Served) {
      D->First();
      InRange = !D->Eof();
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
