// ks_iinirtti.h - script bindings of the ini file classes: TCustomIniFile, TMemIniFile and
// TIniFile (TIniFile.Create reaches TCustomIniFile's constructor and builds a TIniFile).
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* ksCreateIniRTTI(TksScript* Script);
