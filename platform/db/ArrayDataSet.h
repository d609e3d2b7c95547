// ArrayDataSet.h - TArrayDataSet, a dataset over rows held in memory, for tests of the
// framework and of everything that shows or walks datasets.
//
// The structure comes from FieldDefs (persistent fields may be added as for any dataset);
// rows are Variant vectors in FieldDefs order with a stable identity, so a bookmark keeps
// naming its row across inserts and deletes. It filters by Filter/OnFilterRecord, follows a
// master source by parameters (TMasterParamsLink: a parameter named like one of its fields
// restricts the rows to that value) and fills ftAutoInc fields when a row is posted.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/db/Params.h"

class TExprParser;
class TMasterParamsLink;

class TArrayDataSet : public TDataSet {
public:
  explicit TArrayDataSet(TComponent* AOwner);
  ~TArrayDataSet() override;

  // Adds a row (values in FieldDefs order; missing ones are Null). Open datasets resync.
  void AddRow(const std::vector<Variant>& Values);
  void ClearRows();
  int RowCount() const { return static_cast<int>(FRows.size()); }
  const std::vector<Variant>& Row(int Index) const { return FRows.at(Index).Values; }

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  TParams* Params() const { return FParams.get(); }
  TParams* PSGetParams() override { return FParams.get(); }
  TDataSource* MasterSource() const;
  void SetMasterSource(TDataSource* Value);
  // How many times the rows were selected: each open and each master re-run.
  int RunCount() const { return FRunCount; }

protected:
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& Buffer) override;
  void InternalInitRecord(TRecordBuffer Buffer) override;
  TGetResult GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) override;
  void GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const override;
  void SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer Buffer) const override;
  void SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) override;
  void InternalGotoBookmark(const TBookmark& Bookmark) override;
  void InternalFirst() override;
  void InternalLast() override;
  int GetRecordCount() const override;
  int GetRecNo() const override;
  void SetRecNoValue(int Value) override;
  bool GetCanModify() const override { return !FReadOnly; }
  TDataSource* GetDataSource() const override { return MasterSource(); }
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return FOpen; }
  void InternalInitFieldDefs() override {}
  void InternalAddRecord(TRecordBuffer Buffer, bool Append) override;
  void InternalPost() override;
  void InternalDelete() override;
  void SetFiltered(bool Value) override;
  void SetFilterText(const String& Value) override;
  void SetOnFilterRecord(TFilterRecordEvent Value) override;

public:
  bool BookmarkValid(const TBookmark& Bookmark) const override;
  int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const override;
  bool GetFieldData(TField* Field, Variant* Value) const override;
  void SetFieldData(TField* Field, const Variant* Value) override;

private:
  struct TRow {
    Int64 Id;
    std::vector<Variant> Values;
  };
  struct TBuf {
    bool InUse = false;
    Int64 Id = 0;
    TBookmarkFlag Flag = bfCurrent;
    std::vector<Variant> Values;  // by field index
  };
  TBuf& Buf(TRecordBuffer Buffer) const { return *FCache[Buffer - 1]; }
  TBuf* StateBuffer() const;
  void FillBuffer(TRecordBuffer Buffer, int Row);
  bool Accept(int Row);
  bool MasterAccepts(const TRow& Row) const;
  int FindRow(Int64 Id) const;
  void StoreBuffer(const TBuf& Buffer, TRow& Row);
  void FilterChanged();
  void MasterChanged();

  std::vector<TRow> FRows;
  std::vector<std::unique_ptr<TBuf>> FCache;
  Int64 FNextId = 1;
  int FCursor = -1;
  bool FOpen = false;
  bool FReadOnly = false;
  int FRunCount = 0;
  std::unique_ptr<TParams> FParams;
  std::unique_ptr<TMasterParamsLink> FMasterLink;
  std::unique_ptr<TExprParser> FFilterExpr;
};
