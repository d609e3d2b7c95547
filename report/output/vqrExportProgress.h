// vqrExportProgress.h - the progress window the export matrix and the spreadsheet filter drive.
//
// The filters only start it, step it and ask whether the user cancelled. Until the report's
// progress window is attached (SetExportProgressFactory), a silent one stands in that never
// cancels.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/Types.h"

class TvqrExportProgress {
public:
  virtual ~TvqrExportProgress() = default;
  // Starts (or restarts) the bar at 0 of MaxValue with Message; CanCancel offers Cancel.
  virtual void Execute(int MaxValue, const String& Message, bool CanCancel, bool ShowBar);
  // One step; a window also processes pending messages here.
  virtual void Tick();
  virtual bool Terminated() const { return false; }
};

using TvqrExportProgressFactory = std::function<std::unique_ptr<TvqrExportProgress>()>;
// The progress object a filter opens; the silent one unless a factory is set.
std::unique_ptr<TvqrExportProgress> NewExportProgress();
// Replaces the factory (nullptr restores the silent one).
void SetExportProgressFactory(TvqrExportProgressFactory Factory);
