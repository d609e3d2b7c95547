// MaskEngine.h - the mask engine of platform/rtl/MaskUtils.h as the masked edit drives it: its
// keys come as virtual-key codes.
#pragma once

#include "platform/rtl/MaskUtils.h"

// The editing key for a virtual-key code (mekOther for a key the mask does not take).
TMaskEditKey MaskEditKey(Word Key);

// TMaskEngine::KeyDown for a virtual-key code.
TMaskKeyResult MaskKeyDown(const TMaskEngine& Mask, TMaskBuffer& Buffer, Word Key, bool Shift,
                           bool Ctrl, bool CanModify);
