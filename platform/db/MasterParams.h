// MasterParams.h - master/detail by parameters: a data link from a detail dataset to its
// master source that fills the detail's parameters from the master's fields of the same
// names and asks the detail to run again only when those values changed since its last run
// (a master post, or a reopen that lands on the same key, re-runs nothing).
#pragma once

#include <functional>
#include <vector>

#include "platform/db/DataSource.h"
#include "platform/db/Params.h"

class TMasterParamsLink : public TDetailDataLink {
public:
  TMasterParamsLink(TDataSet* Detail, TParams* Params);

  // Called when the linked master values differ from the last run's; the detail re-runs.
  std::function<void()> OnMasterChange;

  // Copies the master's current values into the parameters named like master fields;
  // returns true when they differ from the values of the last run.
  bool ApplyMasterValues();
  // Records the parameters' present values as the values the detail ran with.
  void RememberRun();

protected:
  void ActiveChanged() override;
  void RecordChanged(TField* Field) override;
  void CheckBrowseMode() override;
  TDataSet* GetDetailDataSet() const override { return FDetail; }

private:
  void MasterMoved();

  TDataSet* FDetail;
  TParams* FParams;
  std::vector<Variant> FLastValues;
  bool FHasRun = false;
};
