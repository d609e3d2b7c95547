// ks_ievents.h - event adapters for controls and forms: mouse, mouse move, key, key press,
// close, close query and can-resize events turned into calls of script procedures (the
// notify adapter is the engine's own, ksNotifyEventClass).
//
// Arguments cross as script values: Sender as its handle, a mouse button as its ordinal, a
// shift state as its bit mask, a key as its virtual-key code, a pressed character as a
// one-character string, a close action as its ordinal, Booleans as Booleans. Var arguments
// (Key, CanClose, Action, NewWidth, NewHeight, Resize) come back after the call: an empty
// KeyPress result is #0 (the key is swallowed), a Key outside 0..65535 is a range error.
#pragma once

#include "script/ks_iinterpreter.h"

TksEventClass ksMouseEventClass();
TksEventClass ksMouseMoveEventClass();
TksEventClass ksKeyEventClass();
TksEventClass ksKeyPressEventClass();
TksEventClass ksCloseEventClass();
TksEventClass ksCloseQueryEventClass();
TksEventClass ksCanResizeEventClass();

// Adds the seven adapters to the engine's list (ksEventClasses) once.
void ksRegisterEventAdapters();
