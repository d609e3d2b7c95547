// vqrExportProgress.cpp - the export progress over the report's progress box, and the switch
// tests use to replace it.
#include "report/output/vqrExportProgress.h"

#include "report/output/vqrProgress.h"

namespace {

TvqrExportProgressFactory& Factory() {
  static TvqrExportProgressFactory F;
  return F;
}

class TBoxProgress : public TvqrExportProgress {
public:
  TBoxProgress() : FBox(std::make_unique<TvqrProgress>(nullptr)) {}
  void Execute(int MaxValue, const String& Message, bool CanCancel, bool ShowBar) override {
    FBox->Execute(MaxValue, Message, CanCancel, ShowBar);
  }
  void Tick() override { FBox->Tick(); }
  bool Terminated() const override { return FBox->Terminated(); }

private:
  std::unique_ptr<TvqrProgress> FBox;
};

}  // namespace

void TvqrExportProgress::Execute(int, const String&, bool, bool) {}
void TvqrExportProgress::Tick() {}

std::unique_ptr<TvqrExportProgress> NewExportProgress() {
  if (Factory()) return Factory()();
  return std::make_unique<TBoxProgress>();
}

void SetExportProgressFactory(TvqrExportProgressFactory F) { Factory() = std::move(F); }
