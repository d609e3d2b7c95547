// DM_MAIN_p.h - helpers shared by the data module's own sources only; not part of its API.
#pragma once

#include <initializer_list>

#include "app/DM_MAIN.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Variant.h"
#include "platform/sqlite/ADODB.h"

namespace dm_detail {

// Runs Work in one transaction of Connection: committed when it ends normally, rolled back
// (after dropping the pending edits of Pending) when it raises.
template <class F>
void RunInTransaction(TADOConnection* Connection, std::initializer_list<TDataSet*> Pending,
                      F&& Work) {
  Connection->BeginTrans();
  try {
    Work();
  } catch (...) {
    for (TDataSet* DataSet : Pending)
      if (DataSet->Active() && IsDataSetEditing(DataSet)) DataSet->Cancel();
    Connection->RollbackTrans();
    throw;
  }
  Connection->CommitTrans();
}

// Closes and opens each of DataSets in turn.
inline void Reopen(std::initializer_list<TDataSet*> DataSets) {
  for (TDataSet* DataSet : DataSets) {
    DataSet->Close();
    DataSet->Open();
  }
}

// A combo box's or dialog's key as an integer: Null and Empty give 0.
inline Integer KeyOrZero(const Variant& Key) {
  return Key.IsNull() || Key.IsEmpty() ? 0 : Key.AsInteger();
}

}  // namespace dm_detail
