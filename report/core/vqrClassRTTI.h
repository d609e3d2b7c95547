// vqrClassRTTI.h - the report model's script bindings: measurement and colour constants, the
// report enumerations and sets, data sources, memos, the report and its engine, and the date
// and IIF functions. Objects cross as handles, as every binding module's do.
//
// Not yet bound: components' tree members, bands, pages, dialog pages, variables, styles,
// outline and the global variables object.
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* vqrCreateClassRTTI(TksScript* Script);
// Appends the module to RTTIModuleClasses once (after the engine's and the window-system
// modules); the report calls it at start-up, before its scripts run AddRTTI.
void vqrRegisterClassRTTI();
