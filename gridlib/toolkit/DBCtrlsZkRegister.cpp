// DBCtrlsZkRegister.cpp - the published properties of the data-aware editors and the unit's
// class registration.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "platform/classes/TypeRegistry.h"

void RegisterDBCtrlsZkClasses() {}
