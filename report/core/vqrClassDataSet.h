// vqrClassDataSet.h - the data sources bands iterate: TvqrDataSet, the event-fed
// TvqrUserDataSet, TvqrCustomDBDataSet with its field aliases, the empty connection base
// TvqrCustomDatabase and the process-wide list of every data source with its lock.
//
// The adapter over a platform dataset, TvqrDBDataset, is in vqrDBSet.h.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/classes/Strings.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClassBase.h"

VORENTA_ENUM(TvqrRangeBegin, rbFirst, rbCurrent);
VORENTA_ENUM(TvqrRangeEnd, reLast, reCurrent, reCount);
VORENTA_ENUM(TvqrFieldType, fftNumeric, fftString, fftBoolean);

using TvqrCheckEOFEvent = std::function<void(TObject* Sender, bool& Eof)>;
using TvqrGetValueEvent = std::function<void(const String& VarName, Variant& Value)>;
using TvqrNewGetValueEvent =
    std::function<void(TObject* Sender, const String& VarName, Variant& Value)>;

// =============================================================================================
// TvqrDataSet
// =============================================================================================

class TvqrDataSet : public TvqrDialogComponent {
  VORENTA_CLASS(TvqrDataSet, TvqrDialogComponent)
public:
  // Enabled, OpenDataSource, rbFirst, reLast; joins the global list under its lock.
  explicit TvqrDataSet(TComponent* AOwner);
  ~TvqrDataSet() override;

  // --- published ----------------------------------------------------------------------------
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  TvqrRangeBegin RangeBegin() const { return FRangeBegin; }
  void SetRangeBegin(TvqrRangeBegin Value) { FRangeBegin = Value; }
  TvqrRangeEnd RangeEnd() const { return FRangeEnd; }
  void SetRangeEnd(TvqrRangeEnd Value) { FRangeEnd = Value; }
  int RangeEndCount() const { return FRangeEndCount; }
  void SetRangeEndCount(int Value) { FRangeEndCount = Value; }
  const String& UserName() const { return FUserName; }
  // A blank name raises "prInvProp" and keeps the old one; otherwise stored as given.
  virtual void SetUserName(const String& Value);
  const TvqrCheckEOFEvent& OnCheckEOF() const { return FOnCheckEOF; }
  void SetOnCheckEOF(const TvqrCheckEOFEvent& Value) { FOnCheckEOF = Value; }
  const TNotifyEvent& OnFirst() const { return FOnFirst; }
  void SetOnFirst(const TNotifyEvent& Value) { FOnFirst = Value; }
  const TNotifyEvent& OnNext() const { return FOnNext; }
  void SetOnNext(const TNotifyEvent& Value) { FOnNext = Value; }
  const TNotifyEvent& OnPrior() const { return FOnPrior; }
  void SetOnPrior(const TNotifyEvent& Value) { FOnPrior = Value; }
  // Published by TvqrCustomDBDataSet.
  bool CloseDataSource() const { return FCloseDataSource; }
  void SetCloseDataSource(bool Value) { FCloseDataSource = Value; }
  bool OpenDataSource() const { return FOpenDataSource; }
  void SetOpenDataSource(bool Value) { FOpenDataSource = Value; }
  const TNotifyEvent& OnOpen() const { return FOnOpen; }
  void SetOnOpen(const TNotifyEvent& Value) { FOnOpen = Value; }
  const TNotifyEvent& OnClose() const { return FOnClose; }
  void SetOnClose(const TNotifyEvent& Value) { FOnClose = Value; }

  // --- public -------------------------------------------------------------------------------
  int RecNo() const { return FRecNo; }
  TvqrReport* ReportRef() const { return FReportRef; }
  void SetReportRef(TvqrReport* Value) { FReportRef = Value; }

  virtual String DisplayText(const String& Name);      // empty here
  virtual int DisplayWidth(const String& Name);         // 10 here
  virtual TvqrFieldType FieldType(const String& Name);  // fftNumeric here
  virtual Variant Value(const String& Name);            // Null here

  virtual void Initialize() {}
  virtual void Finalize() {}
  virtual void Open();
  virtual void Close();
  virtual void First();
  // A reCount range stops at RangeEndCount - 1 (Eof then holds) without calling OnNext.
  virtual void Next();
  virtual void Prior();
  virtual bool Eof();
  virtual int FieldsCount() { return 0; }
  virtual bool IsBlobField(const String&) { return false; }
  // RangeEndCount for an rbFirst..reCount range, else 0.
  virtual int RecordCount();
  virtual void AssignBlobTo(const String&, TObject*) {}
  virtual void GetFieldList(TStrings* List);
  bool HasField(const String& Name);

  // A new component name becomes the user name too while that was empty or the old name.
  void SetName(const String& Value) override;

protected:
  bool FEof = false;
  bool FInitialized = false;

private:
  bool FCloseDataSource = false;
  bool FEnabled = true;
  bool FOpenDataSource = true;
  TvqrRangeBegin FRangeBegin = rbFirst;
  TvqrRangeEnd FRangeEnd = reLast;
  int FRangeEndCount = 0;
  TvqrReport* FReportRef = nullptr;
  String FUserName;
  TvqrCheckEOFEvent FOnCheckEOF;
  TNotifyEvent FOnFirst, FOnNext, FOnPrior, FOnOpen, FOnClose;
  int FRecNo = 0;
};

// =============================================================================================
// TvqrUserDataSet: values come from its events; every data band owns one as its counter
// =============================================================================================

class TvqrUserDataSet : public TvqrDataSet {
  VORENTA_CLASS(TvqrUserDataSet, TvqrDataSet)
public:
  explicit TvqrUserDataSet(TComponent* AOwner);
  ~TvqrUserDataSet() override;

  TStrings* Fields() const { return FFields.get(); }
  void SetFields(TStrings* Value) { FFields->Assign(Value); }
  const TvqrGetValueEvent& OnGetValue() const { return FOnGetValue; }
  void SetOnGetValue(const TvqrGetValueEvent& Value) { FOnGetValue = Value; }
  const TvqrNewGetValueEvent& OnNewGetValue() const { return FOnNewGetValue; }
  void SetOnNewGetValue(const TvqrNewGetValueEvent& Value) { FOnNewGetValue = Value; }

  void GetFieldList(TStrings* List) override;
  int FieldsCount() override;
  // OnGetValue, then OnNewGetValue on its result.
  Variant Value(const String& Name) override;
  // Each event on a fresh Null; the later one's text wins.
  String DisplayText(const String& Name) override;

private:
  std::unique_ptr<TStringList> FFields;
  TvqrGetValueEvent FOnGetValue;
  TvqrNewGetValueEvent FOnNewGetValue;
};

// =============================================================================================
// TvqrCustomDBDataSet: field aliases "FieldName=Alias"; a field name beginning with "-" hides
// the field
// =============================================================================================

class TvqrCustomDBDataSet : public TvqrDataSet {
  VORENTA_CLASS(TvqrCustomDBDataSet, TvqrDataSet)
public:
  explicit TvqrCustomDBDataSet(TComponent* AOwner);
  ~TvqrCustomDBDataSet() override;

  TStrings* FieldAliases() const { return FAliases.get(); }
  void SetFieldAliases(TStrings* Value) { FAliases->Assign(Value); }
  // The field name of an alias (the first line whose alias matches), else the alias.
  String ConvertAlias(const String& Alias) const;
  // The alias of a field name (the first line whose field name matches), else the name.
  String GetAlias(const String& FieldName) const;
  int FieldsCount() override;

protected:
  // The field list of the open dataset: sorted, duplicates dropped, each entry's object the
  // dataset's field (or nullptr).
  TStringList* Fields() const { return FFields.get(); }

private:
  std::unique_ptr<TStringList> FAliases;
  std::unique_ptr<TStringList> FFields;
};

// =============================================================================================
// TvqrCustomDatabase: an empty connection contract (nothing derives from it here)
// =============================================================================================

class TvqrCustomDatabase : public TvqrDialogComponent {
  VORENTA_CLASS(TvqrCustomDatabase, TvqrDialogComponent)
public:
  explicit TvqrCustomDatabase(TComponent* AOwner) : TvqrDialogComponent(AOwner) {}
  virtual bool Connected() const { return false; }
  virtual void SetConnected(bool) {}
  virtual String DatabaseName() const { return String(); }
  virtual void SetDatabaseName(const String&) {}
  virtual bool LoginPrompt() const { return false; }
  virtual void SetLoginPrompt(bool) {}
  virtual TStrings* Params() const { return nullptr; }
  virtual void SetParams(TStrings*) {}
  virtual String ToString() const { return String(); }
  virtual void FromString(const String&) {}
  virtual void SetLogin(const String&, const String&) {}
};

// =============================================================================================
// The global list of data sources
// =============================================================================================

class TvqrGlobalDataSetList {
public:
  // The section is recursive: a lookup may run while a constructor holds it.
  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }
  void Add(TvqrDataSet* DS);
  void Remove(TvqrDataSet* DS);
  // Every live data source, in creation order (read under the lock).
  const std::vector<TvqrDataSet*>& Items() const { return FItems; }
  // The first data source named Name (case ignored) whose owner is no report other than
  // Report; nullptr for an empty name; DataSet when there is no report or no match.
  TvqrDataSet* Find(TvqrReport* Report, TvqrDataSet* DataSet, const String& Name);
  // Clears List and adds the user name and object of each enabled, named data source.
  void GetActiveList(TStrings* List);

private:
  std::recursive_mutex FLock;
  std::vector<TvqrDataSet*> FItems;
};

TvqrGlobalDataSetList* vqrGlobalDataSetList();
// Every live data source, in creation order.
const std::vector<TvqrDataSet*>& vqrGlobalDataSets();
