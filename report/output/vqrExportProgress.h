// vqrExportProgress.h - the progress window the export matrix and the spreadsheet filter drive.
//
// The filters only start it, step it and ask whether the user cancelled. It shows the report's
// progress box; the base class is a silent one that never cancels, which tests can install.
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
// The progress a filter opens: the progress box unless a factory is set.
std::unique_ptr<TvqrExportProgress> NewExportProgress();
// Replaces the factory (nullptr restores the progress box).
void SetExportProgressFactory(TvqrExportProgressFactory Factory);
