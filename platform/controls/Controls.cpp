// Controls.cpp - TControl: messages, geometry, parent, visibility, colour and font, mouse.
#include "platform/controls/Controls.h"

#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
