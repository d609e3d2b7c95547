// vqrClassRTTI.h - the report model's script bindings: measurement and colour constants, the
// report enumerations and sets, the UTF-16 string list, data sources, the component tree,
// views, bands, pages, options, variables, styles, the report, its engine and outline, the
// global variables object, and the date, IIF and aggregate functions. Objects cross as
// handles, as every binding module's do.
//
// Dialog pages and controls and the dot-matrix classes are not bound: the report model has
// none of them.
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* vqrCreateClassRTTI(TksScript* Script);
// Appends the module to RTTIModuleClasses once (after the engine's and the window-system
// modules); the report calls it at start-up, before its scripts run AddRTTI.
void vqrRegisterClassRTTI();
