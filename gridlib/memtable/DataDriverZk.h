// DataDriverZk.h - data drivers: what fills a memory table from another dataset (the
// provider) and writes the table's changes back to it. TDataDriverZk holds the reading and
// resolving logic with an event and a replaceable default for each step; TDataSetDriverZk
// publishes the provider dataset and the key fields.
#pragma once

#include <functional>
#include <vector>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/classes/Component.h"

class TDataSet;
class TField;
class TParams;

VORENTA_ENUM(TUpdateErrorActionZk, ueaBreakAbortZk, ueaBreakRaiseZk, ueaCountinueZk, ueaRetryZk,
             ueaCountinueSkip);

class TDataDriverZk;
using TDataDriverProduceDataReaderZkEvent =
    std::function<void(TDataDriverZk* Driver, TDataSet*& DataReader, bool& FreeOnEof)>;
using TDataDriverBuildDataStructZkEvent =
    std::function<void(TDataDriverZk* Driver, TMTDataStructZk* DataStruct)>;
using TDataDriverReadRecordZkEvent = std::function<void(
    TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec, bool& ProviderEOF)>;
using TDataDriverAssignFieldValueZkEvent = std::function<void(
    TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec, int DataFieldIndex,
    TDataValueVersionZk Version, TDataSet* ReaderDataSet)>;
using TDataDriverRecordZkEvent =
    std::function<void(TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec)>;
using TDataDriverUpdateErrorZkEvent =
    std::function<void(TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                       TUpdateErrorActionZk& Action)>;

class TDataDriverZk : public TComponent {
  VORENTA_CLASS(TDataDriverZk, TComponent)
public:
  explicit TDataDriverZk(TComponent* AOwner);
  ~TDataDriverZk() override;

  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value) { FKeyFields = Value; }
  TDataSet* ProviderDataSet() const { return FProviderDataSet; }
  void SetProviderDataSet(TDataSet* Value);
  bool ProviderEOF() const { return FProviderEOF; }
  void SetProviderEOF(bool Value);
  bool ResolveToDataSet() const { return FResolveToDataSet; }
  void SetResolveToDataSet(bool Value) { FResolveToDataSet = Value; }
  // The memory table this driver feeds (one at a time).
  TObject* DataDriverConsumer() const { return FDataDriverConsumer; }
  void SetDataDriverConsumer(TObject* Value) { FDataDriverConsumer = Value; }

  TDataDriverProduceDataReaderZkEvent OnProduceDataReader() const { return FOnProduceDataReader; }
  void SetOnProduceDataReader(TDataDriverProduceDataReaderZkEvent V) { FOnProduceDataReader = std::move(V); }
  TDataDriverBuildDataStructZkEvent OnBuildDataStruct() const { return FOnBuildDataStruct; }
  void SetOnBuildDataStruct(TDataDriverBuildDataStructZkEvent V) { FOnBuildDataStruct = std::move(V); }
  TDataDriverReadRecordZkEvent OnReadRecord() const { return FOnReadRecord; }
  void SetOnReadRecord(TDataDriverReadRecordZkEvent V) { FOnReadRecord = std::move(V); }
  TDataDriverAssignFieldValueZkEvent OnAssignFieldValue() const { return FOnAssignFieldValue; }
  void SetOnAssignFieldValue(TDataDriverAssignFieldValueZkEvent V) { FOnAssignFieldValue = std::move(V); }
  TDataDriverRecordZkEvent OnUpdateRecord() const { return FOnUpdateRecord; }
  void SetOnUpdateRecord(TDataDriverRecordZkEvent V) { FOnUpdateRecord = std::move(V); }
  TDataDriverRecordZkEvent OnRefreshRecord() const { return FOnRefreshRecord; }
  void SetOnRefreshRecord(TDataDriverRecordZkEvent V) { FOnRefreshRecord = std::move(V); }
  TDataDriverUpdateErrorZkEvent OnUpdateError() const { return FOnUpdateError; }
  void SetOnUpdateError(TDataDriverUpdateErrorZkEvent V) { FOnUpdateError = std::move(V); }

  virtual void AdjustDataStruct(TFields* Fields, TMTDataStructZk* DataStruct);
  // Writes the change log; answers how many records were written.
  virtual int ApplyUpdates(TMemTableDataZk* Data);
  virtual bool DefaultUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual TDataSet* GetDataReader();
  // Reads up to Count records (negative: all); counts the attempt that met the end.
  virtual int ReadData(TMemTableDataZk* Data, int Count);
  virtual bool RefreshReaderParamsFromCursor(TDataSet* DataSet);
  virtual void AssignFieldValue(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, int DataFieldIndex,
                                TDataValueVersionZk Version, TDataSet* ReaderDataSet);
  virtual void UpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual void ConsumerClosed(TDataSet* ConsumerDataSet);
  virtual void DefaultAssignFieldValue(TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                                       int DataFieldIndex, TDataValueVersionZk Version,
                                       TDataSet* ReaderDataSet);
  virtual void DefaultBuildDataStruct(TMTDataStructZk* DataStruct);
  virtual void DefaultProduceDataReader(TDataSet*& DataSet, bool& FreeOnEof);
  virtual void DefaultReadRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, bool& ProviderEOF);
  virtual void DefaultUpdateError(TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                                  TUpdateErrorActionZk& Action);
  virtual void DefaultRefreshRecord(TMemoryRecordZk* MemRec);
  virtual void BuildDataStruct(TMTDataStructZk* DataStruct);
  virtual void RefreshRecord(TMemoryRecordZk* MemRec);
  virtual void SetReaderParamsFromCursor(TDataSet* DataSet);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The provider's parameters as its provider support reports them, or nullptr.
  TParams* ProviderParams() const;

private:
  // The reader's field for a structure position, resolved once per reader.
  TField* ReaderField(TDataSet* Reader, TMTDataStructZk* Struct, int Index);
  String ProviderKeyFields() const;
  void RefreshProviderFor(const std::vector<TMemoryRecordZk*>& Delta);
  void ForgetReader();

  String FKeyFields;
  TDataSet* FProviderDataSet = nullptr;
  TDataSet* FReaderDataSet = nullptr;
  bool FReaderDataSetFreeOnEof = false;
  bool FProviderEOF = false;
  bool FResolveToDataSet = true;
  TObject* FDataDriverConsumer = nullptr;
  TDataSet* FResolvedReader = nullptr;
  std::vector<TField*> FReaderFields;
  std::vector<bool> FReaderFieldKnown;
  TDataDriverProduceDataReaderZkEvent FOnProduceDataReader;
  TDataDriverBuildDataStructZkEvent FOnBuildDataStruct;
  TDataDriverReadRecordZkEvent FOnReadRecord;
  TDataDriverAssignFieldValueZkEvent FOnAssignFieldValue;
  TDataDriverRecordZkEvent FOnUpdateRecord;
  TDataDriverRecordZkEvent FOnRefreshRecord;
  TDataDriverUpdateErrorZkEvent FOnUpdateError;
};

// A driver over a provider dataset, with the provider and the key fields published.
class TDataSetDriverZk : public TDataDriverZk {
  VORENTA_CLASS(TDataSetDriverZk, TDataDriverZk)
public:
  using TDataDriverZk::TDataDriverZk;
};

void RegisterDataDriverClasses();
