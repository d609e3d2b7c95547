// ToolkitModule.cpp - the counted start and end of the control toolkit.
#include "gridlib/toolkit/ToolkitModule.h"

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/EditButtonsZk.h"
#include "gridlib/toolkit/PropFilerZk.h"
#include "platform/controls/Forms.h"

namespace {
int GStarts = 0;
}  // namespace

void ToolkitModuleInitialize() {
  if (GStarts++ > 0) return;
  InitButtonPaint();
  RegisterEditButtonsClasses();
  RegisterFormStorageInterceptor();
  RegisterDBCtrlsZkClasses();
  RegisterCalculatorZkClasses();
}

void ToolkitModuleFinalize() {
  if (GStarts == 0 || --GStarts > 0) return;
  RemoveStorageInterceptorEntry(TCustomForm::ClassInfo(),
                                TFormStoragePropertyInterceptor::ClassInfo());
  ResetEditButtonBitmapCache();
  DefaultFlatButtonWidth = 0;
}

int ToolkitModuleStarts() { return GStarts; }
