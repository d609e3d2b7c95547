// DataSource.h - TDataSource, the junction between a dataset and its data links, and
// TDataLink, the base of everything that shows or follows a dataset (editors, grids, detail
// datasets).
//
// A dataset sends each data event to its data sources; a source forwards it to its links
// (deUpdateState only recomputes the source's state; the links then see the state change).
// A link keeps its own window into the dataset's record buffers (FirstRecord, BufferCount)
// and turns the events into the virtual calls below.
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DBConsts.h"

class TDataSet;
class TDataLink;
class TDataSource;
class TField;

using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;
using TDataSourceNotifyEvent = std::function<void(TObject* Sender)>;

class TDataSource : public TComponent {
  VORENTA_CLASS(TDataSource, TComponent)
public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  // Default True: a link's Edit puts a browsing dataset into edit state.
  bool AutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool Value) { FAutoEdit = Value; }
  // A disabled source reports dsInactive to its links (deDisabledStateChange is sent).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TDataSetState State() const { return FState; }
  // Puts the dataset into edit state when AutoEdit is on and it is browsing.
  void Edit();
  bool IsLinkedTo(TDataSet* DataSet) const;

  int DataLinkCount() const { return static_cast<int>(FDataLinks.size()); }
  TDataLink* DataLinks(int Index) const { return FDataLinks[Index]; }

  const TDataChangeEvent& OnDataChange() const { return FOnDataChange; }
  void SetOnDataChange(TDataChangeEvent Value) { FOnDataChange = std::move(Value); }
  const TDataSourceNotifyEvent& OnStateChange() const { return FOnStateChange; }
  void SetOnStateChange(TDataSourceNotifyEvent Value) { FOnStateChange = std::move(Value); }
  const TDataSourceNotifyEvent& OnUpdateData() const { return FOnUpdateData; }
  void SetOnUpdateData(TDataSourceNotifyEvent Value) { FOnUpdateData = std::move(Value); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDataSet;
  friend class TDataLink;
  void AddDataLink(TDataLink* Link);
  void RemoveDataLink(TDataLink* Link);
  // From the dataset: every data event.
  void DataEvent(TDataEvent Event, std::intptr_t Info);
  void NotifyDataLinks(TDataEvent Event, std::intptr_t Info);
  void SetState(TDataSetState Value);
  void UpdateState();

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FDataLinks;
  bool FEnabled = true;
  bool FAutoEdit = true;
  TDataSetState FState = dsInactive;
  TDataChangeEvent FOnDataChange;
  TDataSourceNotifyEvent FOnStateChange;
  TDataSourceNotifyEvent FOnUpdateData;
};

class TDataLink : public TPersistent {
public:
  TDataLink();
  ~TDataLink() override;

  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  bool DataSourceFixed() const { return FDataSourceFixed; }
  void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
  TDataSet* DataSet() const;
  bool Active() const { return FActive; }
  bool Editing() const { return FEditing; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // The link's window: BufferCount rows starting at the dataset buffer FirstRecord;
  // ActiveRecord is the dataset's active row relative to it. Setting ActiveRecord switches
  // the dataset's active buffer (painting a row); callers restore it.
  int ActiveRecord() const;
  void SetActiveRecord(int Value);
  int BufferCount() const { return FBufferCount; }
  void SetBufferCount(int Value);
  // Records of the dataset window inside the link's window.
  int RecordCount() const;

  // Puts the dataset into edit state when allowed; returns Editing.
  bool Edit();
  // Writes the control's pending value (UpdateData), with the link's own change
  // notifications held back meanwhile.
  void UpdateRecord();
  int MoveBy(int Distance);
  bool VisualControl() const { return FVisualControl; }
  void SetVisualControl(bool Value) { FVisualControl = Value; }

protected:
  friend class TDataSource;
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int Distance) { (void)Distance; DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void FocusControl(TField*& Field) { (void)Field; }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* Field) { (void)Field; }
  virtual void UpdateData() {}
  // Every event arrives here first; overrides call the base to keep the dispatch above.
  virtual void DataEvent(TDataEvent Event, std::intptr_t Info);
  // The dataset link that a detail dataset keeps on its master (TDetailDataLink).
  virtual TDataSet* GetDetailDataSet() const { return nullptr; }

private:
  void UpdateState();
  void SetActive(bool Value);
  void SetEditing(bool Value);
  void UpdateRange();

  TDataSource* FDataSource = nullptr;
  bool FDataSourceFixed = false;
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
  bool FUpdating = false;
  bool FVisualControl = false;
  int FFirstRecord = 0;
  int FBufferCount = 1;
};

class TDetailDataLink : public TDataLink {
public:
  TDataSet* DetailDataSet() const { return GetDetailDataSet(); }
};
