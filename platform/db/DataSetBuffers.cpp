// DataSetBuffers.cpp - TDataSet's record-buffer window: the buffer list, filling it forward
// and backward, positioning the descendant's cursor on a buffer, Resync, and bookmarks.
//
// FBuffers holds FBufferCount + 1 tokens; FBuffers[0 .. FRecordCount - 1] hold records,
// FActiveRecord is the current one, FCurrentRecord the buffer the descendant's cursor stands
// on (-1 unknown), and FBuffers[FRecordCount] is the temporary buffer.
#include "platform/db/DataSet.h"

#include <algorithm>
#include <cassert>

#include "platform/db/DataSource.h"

TRecordBuffer TDataSet::ActiveBuffer() const {
  if (FBuffers.empty() || FActiveRecord < 0 ||
      FActiveRecord >= static_cast<int>(FBuffers.size()))
    return 0;
  return FBuffers[FActiveRecord];
}

void TDataSet::SetBufListSize(int Value) {
  int Old = static_cast<int>(FBuffers.size());
  if (Value < Old) {
    for (int I = Old - 1; I >= Value; --I) FreeRecordBuffer(FBuffers[I]);
    FBuffers.resize(Value);
    return;
  }
  for (int I = Old; I < Value; ++I) {
    TRecordBuffer Buffer = AllocRecordBuffer();
    assert(Buffer != 0 && "AllocRecordBuffer must hand out a token");
    FBuffers.push_back(Buffer);
  }
}

void TDataSet::SetBufferCount(int Value) {
  if (FBufferCount == Value) return;
  if (FBufferCount > Value && FRecordCount > 0) {
    // Keep the active record inside the smaller window.
    int Delta = FActiveRecord;
    if (Delta > Value - 1) Delta = Value - 1;
    int Drop = FActiveRecord - Delta;
    for (int I = 0; I < Drop; ++I) MoveBuffer(0, FRecordCount - 1);
    FActiveRecord -= Drop;
    if (FCurrentRecord != -1) FCurrentRecord -= Drop;
    FRecordCount -= Drop;
    if (FRecordCount > Value) FRecordCount = Value;
    if (FCurrentRecord >= FRecordCount) FCurrentRecord = -1;
  }
  SetBufListSize(Value + 1);
  FBufferCount = Value;
  if (IsCursorOpen() && !ComponentState().Contains(csDestroying)) {
    GetNextRecords();
    GetPriorRecords();
  }
}

void TDataSet::UpdateBufferCount() {
  if (!IsCursorOpen()) return;
  int Count = 1;
  for (TDataSource* Source : FDataSources)
    for (int I = 0; I < Source->DataLinkCount(); ++I)
      Count = std::max(Count, Source->DataLinks(I)->BufferCount());
  SetBufferCount(Count);
}

void TDataSet::ClearBuffers() {
  FRecordCount = 0;
  FActiveRecord = 0;
  FCurrentRecord = -1;
  FBOF = true;
  FEOF = true;
}

void TDataSet::ActivateBuffers() {
  FRecordCount = 1;
  FActiveRecord = 0;
  FCurrentRecord = 0;
  FBOF = false;
  FEOF = false;
}

void TDataSet::MoveBuffer(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TRecordBuffer Buffer = FBuffers[CurIndex];
  if (CurIndex < NewIndex)
    std::move(FBuffers.begin() + CurIndex + 1, FBuffers.begin() + NewIndex + 1,
              FBuffers.begin() + CurIndex);
  else
    std::move_backward(FBuffers.begin() + NewIndex, FBuffers.begin() + CurIndex,
                       FBuffers.begin() + CurIndex + 1);
  FBuffers[NewIndex] = Buffer;
}

void TDataSet::SetCurrentRecord(int Index) {
  if (FCurrentRecord == Index) return;
  TRecordBuffer Buffer = FBuffers[Index];
  switch (GetBookmarkFlag(Buffer)) {
    case bfCurrent:
    case bfInserted:
      InternalSetToRecord(Buffer);
      break;
    case bfBOF:
      InternalFirst();
      break;
    case bfEOF:
      InternalLast();
      break;
  }
  FCurrentRecord = Index;
}

void TDataSet::InternalSetToRecord(TRecordBuffer Buffer) {
  TBookmark Data;
  GetBookmarkData(Buffer, Data);
  InternalGotoBookmark(Data);
}

bool TDataSet::GetCurrentRecord(TRecordBuffer Buffer) const {
  (void)Buffer;
  return false;
}

void TDataSet::UpdateCursorPos() {
  if (FRecordCount > 0) SetCurrentRecord(FActiveRecord);
}

bool TDataSet::GetNextRecord() {
  TGetMode Mode = gmNext;
  if (FRecordCount > 0) {
    SetCurrentRecord(FRecordCount - 1);
    if (FState == dsInsert && FCurrentRecord == FActiveRecord &&
        GetBookmarkFlag(ActiveBuffer()) == bfCurrent)
      Mode = gmCurrent;
  }
  bool Result = GetRecord(FBuffers[FRecordCount], Mode, true) == grOK;
  if (!Result) {
    CursorPosChanged();
    return false;
  }
  if (FRecordCount == 0) {
    ActivateBuffers();
  } else {
    if (FRecordCount < FBufferCount) {
      ++FRecordCount;
    } else {
      MoveBuffer(0, FRecordCount);
    }
  }
  FCurrentRecord = FRecordCount - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (FRecordCount > 0) SetCurrentRecord(0);
  bool Result = GetRecord(FBuffers[FRecordCount], gmPrior, true) == grOK;
  if (!Result) {
    CursorPosChanged();
    return false;
  }
  if (FRecordCount == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(FRecordCount, 0);
    if (FRecordCount < FBufferCount) {
      ++FRecordCount;
      ++FActiveRecord;
    }
  }
  FCurrentRecord = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int Result = 0;
  while (FRecordCount < FBufferCount && GetNextRecord()) ++Result;
  return Result;
}

int TDataSet::GetPriorRecords() {
  int Result = 0;
  while (FRecordCount < FBufferCount && GetPriorRecord()) ++Result;
  return Result;
}

void TDataSet::Resync(TResyncMode Mode) {
  if (Mode.Contains(rmExact)) {
    CursorPosChanged();
    if (GetRecord(FBuffers[FRecordCount], gmCurrent, true) != grOK)
      DatabaseError(DBText::RecordNotFound, this);
  } else if (GetRecord(FBuffers[FRecordCount], gmCurrent, false) != grOK &&
             GetRecord(FBuffers[FRecordCount], gmNext, false) != grOK &&
             GetRecord(FBuffers[FRecordCount], gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  int Count = Mode.Contains(rmCenter) ? (FBufferCount - 1) / 2 : FActiveRecord;
  MoveBuffer(FRecordCount, 0);
  ActivateBuffers();
  try {
    while (Count > 0 && GetPriorRecord()) --Count;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(deDataSetChange, 0);
    throw;
  }
  DataEvent(deDataSetChange, 0);
}

int TDataSet::GetRecordCount() const { return -1; }

// ===== bookmarks ===============================================================================

bool TDataSet::BookmarkAvailable() const {
  return (FState == dsBrowse || FState == dsEdit || FState == dsInsert) && !IsEmpty() &&
         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark() const {
  TBookmark Result;
  if (BookmarkAvailable()) GetBookmarkData(ActiveBuffer(), Result);
  return Result;
}

bool TDataSet::BookmarkValid(const TBookmark& Bookmark) const {
  (void)Bookmark;
  return false;
}

int TDataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  if (Bookmark1.empty() || Bookmark2.empty())
    return Bookmark1.empty() == Bookmark2.empty() ? 0 : Bookmark1.empty() ? -1 : 1;
  return Bookmark1 < Bookmark2 ? -1 : Bookmark2 < Bookmark1 ? 1 : 0;
}
