// vqrOutputModule.cpp - start and end of the output side, in the order the header gives.
#include "report/output/vqrOutputModule.h"

#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrRes.h"
#include "report/output/GZipResourceReader.h"
#include "report/output/vqrExportRes.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrPreviewForm.h"
#include "report/output/vqrPrintDialog.h"
#include "report/output/vqrPrinterProperties.h"
#include "report/output/vqrProgress.h"

namespace {

int& Starts() {
  static int Count = 0;
  return Count;
}

}  // namespace

void vqrOutputModuleInitialize() {
  if (Starts()++ > 0) return;
  vqrModuleInitialize();
  RegisterExportStrings();
  SetResourceUnpacker([](TStream* Packed, TStream* Unpacked) { ReadGZipMember(Packed, Unpacked); });
  TvqrReport::SetProgressWindowFactory(vqrNewProgressWindow);
  TvqrReport::SetPreviewWindowFactory(vqrNewPreviewWindow);
  SetPrintDialogHook(vqrShowPrintDialog);
  SetPrinterPropertiesHook(vqrShowPrinterProperties);
}

void vqrOutputModuleFinalize() {
  if (Starts() == 0 || --Starts() > 0) return;
  SetResourceUnpacker(nullptr);
  TvqrReport::SetProgressWindowFactory(nullptr);
  TvqrReport::SetPreviewWindowFactory(nullptr);
  SetPrintDialogHook(nullptr);
  SetPrinterPropertiesHook(nullptr);
  FreePrinterList();
  vqrModuleFinalize();
}
