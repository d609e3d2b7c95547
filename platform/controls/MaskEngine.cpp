// MaskEngine.cpp - virtual-key codes onto the mask engine's editing keys.
#include "platform/controls/MaskEngine.h"

#include "platform/controls/Messages.h"

TMaskEditKey MaskEditKey(Word Key) {
  switch (Key) {
    case VK_LEFT: return mekLeft;
    case VK_RIGHT: return mekRight;
    case VK_UP: return mekUp;
    case VK_DOWN: return mekDown;
    case VK_HOME: return mekHome;
    case VK_END: return mekEnd;
    case VK_DELETE: return mekDelete;
    case VK_BACK: return mekBack;
    default: return mekOther;
  }
}

TMaskKeyResult MaskKeyDown(const TMaskEngine& Mask, TMaskBuffer& Buffer, Word Key, bool Shift,
                           bool Ctrl, bool CanModify) {
  return Mask.KeyDown(Buffer, MaskEditKey(Key), Shift, Ctrl, CanModify);
}
