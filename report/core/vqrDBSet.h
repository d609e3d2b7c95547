// vqrDBSet.h - TvqrDBDataset, the data source over a platform dataset: it opens the dataset
// on first use, walks it within its range (first/current record to last/current record),
// maps aliases to fields and converts field values by field class.
//
// While a run uses it, the adapter puts its own AfterOpen and BeforeClose hooks on the
// dataset and calls the dataset's own handlers from them; Finalize puts the handlers back.
#pragma once

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "report/core/vqrClassDataSet.h"

class TDataSource;

class TvqrDBDataset : public TvqrCustomDBDataSet {
  VORENTA_CLASS(TvqrDBDataset, TvqrCustomDBDataSet)
public:
  explicit TvqrDBDataset(TComponent* AOwner) : TvqrCustomDBDataSet(AOwner) {}
  ~TvqrDBDataset() override;

  TDataSet* DataSet() const { return FDataSet; }
  // A given dataset clears DataSource.
  void SetDataSet(TDataSet* Value);
  TDataSource* DataSource() const { return FDataSource; }
  // A given data source clears DataSet.
  void SetDataSource(TDataSource* Value);
  bool BCDToCurrency() const { return FBCDToCurrency; }
  void SetBCDToCurrency(bool Value) { FBCDToCurrency = Value; }
  // DataSet and DataSource are stored only when the adapter belongs to no report.
  bool IsDataSetStored() const;
  // The dataset every operation uses: DataSet, else the data source's dataset.
  TDataSet* GetDataSet() const;

  // Raises "dbNotConn" when no dataset is bound; installs the hooks.
  void Initialize() override;
  // Goes back to the record current at Open, closes when CloseDataSource, and restores the
  // dataset's handlers when this run installed them.
  void Finalize() override;
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;
  int RecordCount() override;
  Variant Value(const String& Alias) override;
  String DisplayText(const String& Alias) override;
  int DisplayWidth(const String& Alias) override;
  TvqrFieldType FieldType(const String& Alias) override;
  bool IsBlobField(const String& Alias) override;
  // Into a TvqrWideStrings or a stream; other objects are left alone.
  void AssignBlobTo(const String& Alias, TObject* Obj) override;
  void GetFieldList(TStrings* List) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void OpenIfNeeded();
  void AfterOpenHook(TDataSet* D);
  void BeforeCloseHook(TDataSet* D);
  // The entry's field for Alias; Found false when the alias is not in the field list.
  TField* AliasField(const String& Alias, bool& Found) const;
  void AddFieldNotFound(const String& Alias);
  String FieldReference(const String& Alias) const;

  TBookmark FBookmark;
  TDataSet* FDataSet = nullptr;
  TDataSource* FDataSource = nullptr;
  TDataSet* FDS = nullptr;
  bool FRangeEof = false;
  bool FBCDToCurrency = false;
  // True while this run's hooks sit on FDS (so Finalize knows what to restore).
  bool FHooksInstalled = false;
  TDataSetNotifyEvent FSaveOpenEvent, FSaveCloseEvent;
};
