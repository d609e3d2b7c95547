// vqrClassModule.cpp - the report engine module's start and end, and its class registration.
//
// Start, in this order: the XML-loading lock, the global variables, the registration of
// the report classes for creation by name, the script engine's message texts from the string
// table, the hook object. End, in this order: the lock, the global variables, the registries,
// the hook object, the connections key. Starts and ends are counted, so only the first start
// and the last end do the work.
#include "report/core/vqrClassAbstract.h"

#include <mutex>

#include "platform/classes/TypeRegistry.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrDMPClass.h"
#include "report/core/vqrDialogPage.h"
#include "report/core/vqrDsgnIntf.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrVariables.h"

namespace {

struct TModuleState {
  int Starts = 0;
  std::unique_ptr<std::recursive_mutex> XMLLock;
  std::unique_ptr<TvqrVariables> GlobalVariables;
  std::unique_ptr<TvqrVQ2Events> Events;
};

TModuleState& Module() {
  static TModuleState State;
  return State;
}

}  // namespace

void RegisterPictureGraphicClasses();

const std::vector<TClass>& vqrReportClassList() {
  static const std::vector<TClass> List = {TvqrChild::ClassInfo(), TvqrColumnFooter::ClassInfo(),
                   TvqrColumnHeader::ClassInfo(), TvqrCustomMemoView::ClassInfo(),
                   TvqrMasterData::ClassInfo(), TvqrDetailData::ClassInfo(),
                   TvqrSubdetailData::ClassInfo(), TvqrDataBand4::ClassInfo(),
                   TvqrDataBand5::ClassInfo(), TvqrDataBand6::ClassInfo(),
                   TvqrFooter::ClassInfo(), TvqrGroupFooter::ClassInfo(),
                   TvqrGroupHeader::ClassInfo(), TvqrHeader::ClassInfo(),
                   TvqrMemoView::ClassInfo(), TvqrSysMemoView::ClassInfo(),
                   TvqrOverlay::ClassInfo(), TvqrPageFooter::ClassInfo(),
                   TvqrPageHeader::ClassInfo(), TvqrReport::ClassInfo(),
                   TvqrReportPage::ClassInfo(), TvqrReportSummary::ClassInfo(),
                   TvqrReportTitle::ClassInfo(), TvqrStyleItem::ClassInfo(),
                   TvqrNullBand::ClassInfo(), TvqrDataPage::ClassInfo(),
                   TvqrFrame::ClassInfo(), TvqrFrameLine::ClassInfo(),
                   TvqrHighlight::ClassInfo(), TvqrFormat::ClassInfo(),
                   TvqrLineView::ClassInfo(), TvqrPictureView::ClassInfo(),
                   TvqrShapeView::ClassInfo(), TvqrSubreport::ClassInfo(),
                   TvqrUserDataSet::ClassInfo(), TvqrDBDataset::ClassInfo(),
                   TvqrReportDataSets::ClassInfo(), TvqrDialogPage::ClassInfo(), TvqrDialogControl::ClassInfo(),
                   TvqrDMPPage::ClassInfo(), TvqrDMPMemoView::ClassInfo(),
                   TvqrDMPLineView::ClassInfo(), TvqrDMPCommand::ClassInfo()};
  return List;
}

void RegisterReportClasses() {
  // The classes form resources and templates may name.
  for (TClass C : vqrReportClassList()) RegisterClass(C);
  RegisterPictureGraphicClasses();
}

void vqrModuleInitialize() {
  TModuleState& M = Module();
  if (M.Starts++ > 0) return;
  M.XMLLock = std::make_unique<std::recursive_mutex>();
  M.GlobalVariables = std::make_unique<TvqrVariables>();
  RegisterReportClasses();
  vqrRegisterDMPObjects();
  StringTable();  // loading the built-in table pushes the script engine's texts
  M.Events = std::make_unique<TvqrVQ2Events>();
  vqrEngineModuleInitialize();  // reports create the band engine and the prepared-page store
}

void vqrModuleFinalize() {
  TModuleState& M = Module();
  if (M.Starts == 0 || --M.Starts > 0) return;
  M.XMLLock.reset();
  M.GlobalVariables.reset();
  vqrUnregisterDMPObjects();
  vqrFreeRegistries();
  M.Events.reset();
  // Back to its first value, so a later start of the module (tests start and end it many
  // times in one process) finds the connections where a first start does.
  vqrConnectionsKey() = u"\\Software\\Quillerant\\Connections";
}

// Outside the module's life there is nothing to serialise with: loading goes unlocked.
void vqrLockXMLLoading() {
  if (auto& Lock = Module().XMLLock) Lock->lock();
}

void vqrUnlockXMLLoading() {
  if (auto& Lock = Module().XMLLock) Lock->unlock();
}

TvqrVQ2Events* vqrVQ2Events() { return Module().Events.get(); }

TvqrVariables* vqrGlobalVariables() { return Module().GlobalVariables.get(); }
