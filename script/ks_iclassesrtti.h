// ks_iclassesrtti.h - script bindings of the base classes: objects, lists, string lists,
// streams, collections, components and the engine's XML classes.
//
// Every other binding module derives its classes from the entries registered here. Objects
// cross as handles both ways: a list item, a string list's Objects[] or a component's Owner
// is the object's handle, and an argument that is a plain non-zero integer raises.
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* ksCreateClassesRTTI(TksScript* Script);
