// ks_idialogsrtti.h - script bindings of the common dialogs, MessageDlg, InputBox, InputQuery
// and ShowMessage, all through the platform's dialog service (so tests answer them).
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* ksCreateDialogsRTTI(TksScript* Script);
