// DBGridZkFeatures.h - the standard grid text search (LocateGridText) and the registry of
// per-dataset-class handlers that the policy object consults before its own defaults.
//
// No dataset class registers handlers in this program, so every lookup finds none and the
// policy object's defaults apply; the registry keeps its lookup, its empty start and its
// cleanup so that a dataset class with its own search, sorting or filtering can plug in.
#pragma once

#include <memory>

#include "gridlib/grid/DBGridZk.h"

class TStrings;

// The handlers one dataset class brings; each is called by one operation of the policy object.
class TDataSetFeaturesZk : public TObject {
  VORENTA_CLASS(TDataSetFeaturesZk, TObject)
public:
  explicit TDataSetFeaturesZk(TClass DataSetClass = nullptr) : FDataSetClass(DataSetClass) {}
  TClass DataSetClass() const { return FDataSetClass; }

  virtual bool LocateText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                          TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                          TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange);
  virtual bool MoveRecords(TCustomDBGridZk* Grid, TBMListZk* BookmarkList, int& ToRecNo,
                           bool CheckOnly);
  virtual void ApplySorting(TCustomDBGridZk* Grid, TDataSet* DataSet, bool IsReopen);
  virtual void ApplyFilter(TCustomDBGridZk* Grid, TDataSet* DataSet, bool IsReopen);
  virtual void ExecuteFindDialog(TCustomDBGridZk* Grid, const String& Text,
                                 const String& FieldName, bool Modal);
  virtual void FillSTFilterListDataValues(TCustomDBGridZk* Grid, TColumnZk* Column,
                                          TStrings* Items);

private:
  TClass FDataSetClass;
};

// Adds an entry (owned by the registry from then on) under its dataset class's name; a class
// registered twice raises EStringListError "Duplicates not allowed".
void RegisterDataSetFeatures(std::unique_ptr<TDataSetFeaturesZk> Features);
// Removes and frees every entry (the unit's end; tests).
void ClearDataSetFeaturesRegistry();
int DataSetFeaturesCount();

// The number of parent steps from AClass up to the class named ClassName (case ignored): 0 for
// the class itself, MaxInt when no ancestor has that name.
int DataSetClassDistance(TClass AClass, const String& ClassName);
// The entry for the nearest ancestor of DataSetClass (or the class itself); the earlier entry
// wins between equal distances; nullptr when none serves the class.
TDataSetFeaturesZk* FindDataSetFeaturesClass(TClass DataSetClass);
TDataSetFeaturesZk* FindDataSetFeatures(TDataSet* DataSet);

// The standard text search: walks the grid's dataset record by record (and, with
// ltoAllFieldsZk, cell by cell through the visible columns) until a cell's text matches.
// A match leaves the dataset on the record and makes the matched column the grid's current
// one; a miss returns to the record the search started on. The dataset's controls are
// disabled throughout. ltoStopOnEscape ends the search, not found, when a key-down of Escape
// waits in the grid window's queue (it is left there). ltoIgnoteCurrentPosZk and the tree
// range are not used.
bool LocateGridText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                    TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                    TLocateTextMatchingZk Matching, TLocateTextTreeFindRangeZk TreeFindRange);

// Puts LocateGridText into the policy object's routines (the grid module's start).
void DBGridZkFeaturesInitialize();
void DBGridZkFeaturesFinalize();
