// FieldValueListZk.h - the sorted distinct values (as text) of one dataset field, which feed
// the grid's column filter drop-downs, and the data link with a data-event hook it listens
// through.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Strings.h"
#include "platform/db/DataSource.h"

using TDataEventZk = std::function<void(TDataEvent Event, std::intptr_t Info)>;

// A data link that passes every data event on to OnDataEvent after its own handling.
class TDataLinkZk : public TDataLink {
public:
  const TDataEventZk& OnDataEvent() const { return FOnDataEvent; }
  void SetOnDataEvent(TDataEventZk Value) { FOnDataEvent = std::move(Value); }

protected:
  void DataEvent(TDataEvent Event, std::intptr_t Info) override;

private:
  TDataEventZk FOnDataEvent;
};

// What the grid asks a dataset (or this generic list) for: the values of one field.
class IMemTableDataFieldValueListZk {
public:
  virtual ~IMemTableDataFieldValueListZk() = default;
  virtual TStrings* GetValues() = 0;
  virtual void SetFilter(const String& Filter) = 0;
};

class TDatasetFieldValueListZk : public IMemTableDataFieldValueListZk {
public:
  TDatasetFieldValueListZk();
  ~TDatasetFieldValueListZk() override;
  TDatasetFieldValueListZk(const TDatasetFieldValueListZk&) = delete;
  TDatasetFieldValueListZk& operator=(const TDatasetFieldValueListZk&) = delete;

  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const;
  void SetDataSet(TDataSet* Value);
  // The values, refilled first when the dataset, a property or the field list changed.
  TStrings* Values() { return GetValues(); }

  TStrings* GetValues() override;
  // These values are never filtered.
  void SetFilter(const String&) override {}

protected:
  virtual void DataEvent(TDataEvent Event, std::intptr_t Info);

private:
  // Walks the dataset once, with controls disabled, and goes back to the record it was on.
  void RefreshValues();

  std::unique_ptr<TStringList> FValues;
  bool FDataObsoleted = true;
  String FFieldName;
  std::unique_ptr<TDataLinkZk> FDataLink;
  std::unique_ptr<TDataSource> FDataSource;
};
