// AppStartup.cpp - the libraries' starts and ends and the creation of the program's windows.
#include "app/AppStartup.h"

#include "app/ABOUT.h"
#include "app/AppReports.h"
#include "app/DM_MAIN.h"
#include "app/SA_Find.h"
#include "app/SA_Main.h"
#include "app/SA_OrdAdd.h"
#include "app/SD_LKMRec.h"
#include "app/SD_NewMat.h"
#include "platform/classes/Filer.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/db/DBRegister.h"
#include "platform/dbctrls/DBCtrls.h"
#include "platform/graphics/Graphics.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/toolkit/ToolkitModule.h"
#include "report/output/vqrOutputModule.h"
#include "scriptui/ks_iformsrtti.h"

#include <memory>

namespace {
int StartCount = 0;
std::unique_ptr<TAppReports> Reports;   // the data module's report engine
}  // namespace

void AppStartup() {
  if (StartCount++ > 0) return;
  // The platform: graphics objects, the standard controls, menus and actions, datasets.
  RegisterGraphicsClasses();
  RegisterStdCtrlsClasses();
  RegisterExtCtrlsClasses();
  RegisterComCtrlsClasses();
  RegisterButtonsClasses();
  RegisterMaskClasses();
  RegisterMenusClasses();
  RegisterClasses({TActionList::ClassInfo(), TAction::ClassInfo()});
  RegisterDBClasses();
  RegisterDBCtrlsClasses();
  InitControls();
  // The control toolkit and its editors; the report engine with its output side.
  ToolkitModuleInitialize();
  DBGridZkModuleInitialize();
  // The script engine's window-system modules (forms, dialogs, graphics) for report scripts.
  ksRegisterUIModules();
  vqrOutputModuleInitialize();
  // The application.
  RegisterAppClasses();
}

void AppShutdown() {
  if (StartCount == 0 || --StartCount > 0) return;
  vqrOutputModuleFinalize();
  DBGridZkModuleFinalize();
  ToolkitModuleFinalize();
}

void CreateAppWindows() {
  Application->CreateForm<TSAMAIN>();
  Application->CreateForm<TAboutBox>();
  DM = new TDM(Application);
  Application->CreateForm<TSDNewMat>();
  Application->CreateForm<TSAFind>();
  Application->CreateForm<TSAOrdAdd>();
  Application->CreateForm<TSDLKMREC>();
  CheckGlobalFixups();
  DM->StartDirectory = SAMAIN->StartDirectory;
  Reports = std::make_unique<TAppReports>(DM);
  DM->Reports = Reports.get();
}

void DestroyAppWindows() {
  if (DM) DM->Reports = nullptr;
  Reports.reset();
  delete SDLKMREC;
  delete SAOrdAdd;
  delete SAFind;
  delete SDNewMat;
  delete DM;
  delete AboutBox;
  delete SAMAIN;
  if (Application) Application->SetMainForm(nullptr);
}
