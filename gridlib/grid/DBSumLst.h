// DBSumLst.h - running aggregates (sum, average, count) of a dataset's fields for the grid's
// footers, kept up to date by taking over the dataset's event properties.
//
// The producer saves the dataset's AfterEdit, AfterInsert, AfterOpen, AfterPost, AfterScroll,
// BeforeDelete, AfterClose and AfterCancel handlers (and the master's AfterScroll), installs
// its own, calls the saved ones from them and writes them back when it lets go. Amounts are
// Currency: each addend is rounded to 1/10,000 (halves to even) before it is accumulated.
// An item whose field the dataset lacks takes no part (value 0) rather than raising inside
// AfterPost or BeforeDelete, where the record is already written.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Collection.h"
#include "platform/classes/Strings.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Variant.h"

class TDBSumListProducer;

VORENTA_ENUM(TGroupOperation, goSum, goAvg, goCount);

class TDBSum : public TCollectionItem {
  VORENTA_CLASS(TDBSum, TCollectionItem)
public:
  explicit TDBSum(TCollection* ACollection);
  void Assign(TPersistent* Source) override;

  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TGroupOperation GroupOperation() const { return FGroupOperation; }
  void SetGroupOperation(TGroupOperation Value);
  // Whether the item takes part: a count, or an aggregate with a field name.
  bool TakesPart() const { return FGroupOperation == goCount || !FFieldName.empty(); }

  Currency Value;          // the current record's contribution before the running edit
  Variant VarValue;        // the field's value before the running edit (Null before an insert)
  Currency SumValue;       // the result
  int FNotNullRecordCount = 0;
  Currency FSumValueAsSum;

private:
  String FFieldName;
  TGroupOperation FGroupOperation = goSum;
};

class TDBSumCollection : public TCollection {
  VORENTA_CLASS(TDBSumCollection, TCollection)
public:
  explicit TDBSumCollection(TDBSumListProducer* AOwner = nullptr);
  TDBSum* Items(int Index) const { return static_cast<TDBSum*>(TCollection::Items(Index)); }
  TDBSum* Add() { return static_cast<TDBSum*>(TCollection::Add()); }
  // The first item of that operation whose field name equals AFieldName ignoring case.
  TDBSum* GetSumByOpAndFName(TGroupOperation AGroupOperation, const String& AFieldName) const;
  TPersistent* GetOwner() const override;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDBSumListProducer* FOwner;
};

class TDBSumListProducer : public TPersistent {
  VORENTA_CLASS(TDBSumListProducer, TPersistent)
public:
  explicit TDBSumListProducer(TComponent* AOwner = nullptr);
  ~TDBSumListProducer() override;
  void Assign(TPersistent* Source) override;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool ExternalRecalc() const { return FExternalRecalc; }
  void SetExternalRecalc(bool Value);
  bool VirtualRecords() const { return FVirtualRecords; }
  void SetVirtualRecords(bool Value);
  TDBSumCollection* SumCollection() const { return FSumCollection.get(); }
  void SetSumCollection(TDBSumCollection* Value) { FSumCollection->Assign(Value); }
  TComponent* Owner() const { return FOwner; }
  TDataSet* MasterDataSet() const { return FMasterDataset; }
  bool EventsOverloaded() const { return FEventsOverloaded; }

  const TNotifyEvent& OnRecalcAll() const { return FOnRecalcAll; }
  void SetOnRecalcAll(TNotifyEvent Value) { FOnRecalcAll = std::move(Value); }
  const TNotifyEvent& OnAfterRecalcAll() const { return FOnAfterRecalcAll; }
  void SetOnAfterRecalcAll(TNotifyEvent Value) { FOnAfterRecalcAll = std::move(Value); }
  const TNotifyEvent& SumListChanged() const { return FSumListChanged; }
  void SetSumListChanged(TNotifyEvent Value) { FSumListChanged = std::move(Value); }

  void Activate(bool ARecalcAll);
  void Deactivate(bool AClearSumValues);
  void OwnerLoaded();
  void SumItemsChanged();
  void NotifySumListChanged();

  // --- virtual operations, in this order
  virtual int RecNo() const;
  virtual void SetRecNo(int Value);
  virtual void HandleAfterCancel(TDataSet* DataSet);
  virtual void HandleAfterClose(TDataSet* DataSet);
  virtual void HandleAfterEdit(TDataSet* DataSet);
  virtual void HandleAfterInsert(TDataSet* DataSet);
  virtual void HandleAfterOpen(TDataSet* DataSet);
  virtual void HandleAfterPost(TDataSet* DataSet);
  virtual void HandleAfterScroll(TDataSet* DataSet);
  virtual void HandleBeforeDelete(TDataSet* DataSet);
  virtual void RestoreDataSetEvents();
  virtual bool IsSequenced() const;
  virtual int RecordCount() const;
  virtual void ClearSumValues();
  virtual void RecalcAll();
  virtual void SetDataSetEvents();

  void HandleMasterAfterScroll(TDataSet* DataSet);

  // Currency arithmetic of the aggregates: Sum + Value rounded to 1/10,000, halves to even.
  static Currency AddValue(Currency Sum, long double Value);

protected:
  // Whether the owner is loading or designed without design-time work.
  bool OwnerBlocks() const;
  bool FDesignTimeWork = false;
  bool FEventsOverloaded = false;

private:
  TField* ItemField(const TDBSum* Item) const;
  void RecomputeAverage(TDBSum* Item);

  bool FVirtualRecords = false;
  bool Changing = false;
  bool FActive = false;
  TDataSet* FDataSet = nullptr;
  bool FExternalRecalc = false;
  String Filter;
  bool Filtered = false;
  TDataSet* FMasterDataset = nullptr;
  TComponent* FOwner;
  std::unique_ptr<TDBSumCollection> FSumCollection;
  TNotifyEvent FOnRecalcAll, FOnAfterRecalcAll, FSumListChanged;
  TDataSetNotifyEvent OldAfterCancel, OldAfterClose, OldAfterEdit, OldAfterInsert, OldAfterOpen,
      OldAfterPost, OldAfterScroll, OldBeforeDelete, OldMasterAfterScroll;
};

// The grid's producer: works while designed too and starts inactive.
class TDBGridZkSumList : public TDBSumListProducer {
  VORENTA_CLASS(TDBGridZkSumList, TDBSumListProducer)
public:
  explicit TDBGridZkSumList(TComponent* AOwner = nullptr);
};

void RegisterDBSumLstClasses();
