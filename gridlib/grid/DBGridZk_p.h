// DBGridZk_p.h - what the data grid unit's own sources share.
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SysUtils.h"

// Whether the unit's start ran (the shared objects exist).
bool DBGridZkModuleStarted();
