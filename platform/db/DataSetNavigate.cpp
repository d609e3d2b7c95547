// DataSetNavigate.cpp - TDataSet's navigation: First, Last, MoveBy, record numbers, Refresh
// and GotoBookmark, each checking browse mode first (a modified record is posted before the
// cursor moves, an unmodified edit cancelled).
#include "platform/db/DataSet.h"

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  try {
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  } catch (...) {
    FBOF = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  FBOF = true;
  DataEvent(deDataSetChange, 0);
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  try {
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  } catch (...) {
    FEOF = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  FEOF = true;
  DataEvent(deDataSetChange, 0);
  DoAfterScroll();
}

int TDataSet::MoveBy(int Distance) {
  CheckBrowseMode();
  int Result = 0;
  if (Distance == 0) return 0;
  if ((Distance > 0 && FEOF) || (Distance < 0 && FBOF)) return 0;
  DoBeforeScroll();
  FBOF = false;
  FEOF = false;
  int OldRecordCount = FRecordCount;
  int ScrollCount = 0;
  try {
    if (Distance > 0) {
      while (Distance > 0) {
        if (FActiveRecord < FRecordCount - 1) {
          ++FActiveRecord;
        } else {
          int Shift = FRecordCount < FBufferCount ? 0 : 1;
          if (!GetNextRecord()) {
            FEOF = true;
            break;
          }
          ScrollCount -= Shift;
          if (FActiveRecord < FRecordCount - 1) ++FActiveRecord;
        }
        --Distance;
        ++Result;
      }
    } else {
      while (Distance < 0) {
        if (FActiveRecord > 0) {
          --FActiveRecord;
        } else {
          int Shift = FRecordCount < FBufferCount ? 0 : 1;
          if (!GetPriorRecord()) {
            FBOF = true;
            break;
          }
          ScrollCount += Shift;
          if (FActiveRecord > 0) --FActiveRecord;
        }
        ++Distance;
        --Result;
      }
    }
  } catch (...) {
    DataEvent(deDataSetChange, 0);
    throw;
  }
  if (FRecordCount != OldRecordCount) {
    DataEvent(deDataSetChange, 0);
  } else {
    DataEvent(deDataSetScroll, ScrollCount);
  }
  DoAfterScroll();
  return Result;
}

void TDataSet::SetRecNoValue(int Value) { (void)Value; }

void TDataSet::Refresh() {
  DoBeforeRefresh();
  CheckBrowseMode();
  UpdateCursorPos();
  try {
    InternalRefresh();
  } catch (...) {
    Resync({});
    throw;
  }
  Resync({});
  DoAfterRefresh();
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark) {
  if (Bookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(Bookmark);
  Resync({rmExact, rmCenter});
  DoAfterScroll();
}
