// vqrExportProgress.cpp - the silent progress and the factory switch.
#include "report/output/vqrExportProgress.h"

namespace {
TvqrExportProgressFactory& Factory() {
  static TvqrExportProgressFactory F;
  return F;
}
}  // namespace

void TvqrExportProgress::Execute(int, const String&, bool, bool) {}
void TvqrExportProgress::Tick() {}

std::unique_ptr<TvqrExportProgress> NewExportProgress() {
  if (Factory()) return Factory()();
  return std::make_unique<TvqrExportProgress>();
}

void SetExportProgressFactory(TvqrExportProgressFactory F) { Factory() = std::move(F); }
