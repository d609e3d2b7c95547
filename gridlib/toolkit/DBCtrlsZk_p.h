// DBCtrlsZk_p.h - what the data-aware editors' sources share and nobody else needs.
#pragma once

#include "gridlib/toolkit/DBCtrlsZk.h"

// Fires an OnUpdateData event (Handled starting False) with Posting set meanwhile; answers
// Handled.
inline bool FireUpdateData(const TUpdateDataEventZk& Event, TObject* Sender, bool& Posting) {
  bool Handled = false;
  Posting = true;
  try {
    if (Event) Event(Sender, Handled);
  } catch (...) {
    Posting = false;
    throw;
  }
  Posting = false;
  return Handled;
}
