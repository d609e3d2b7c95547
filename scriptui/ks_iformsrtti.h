// ks_iformsrtti.h - script bindings of controls, forms and the application object: modal
// results, cursors, border styles, alignments and virtual-key codes (the platform's own
// values), the control enumerations and sets, 20 control and form classes and "Application".
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* ksCreateFormsRTTI(TksScript* Script);

// Appends the window-system modules (forms, with the event adapters) to RTTIModuleClasses
// after the engine's own, once; a host calls it at start-up before scripts run AddRTTI.
void ksRegisterUIModules();
