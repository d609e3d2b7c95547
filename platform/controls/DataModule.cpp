// DataModule.cpp - TDataModule's record in the type registry.
#include "platform/controls/DataModule.h"

#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TDataModule) {}
