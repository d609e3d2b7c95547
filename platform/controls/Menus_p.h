// Menus_p.h - shared by the menu sources only: showing a menu's sub-items as a Qt menu.
#pragma once

#include "platform/controls/Menus.h"

// Shows Parent's visible sub-items as a Qt menu at the screen point (the menu's left edge at
// X, or its right edge or centre by Alignment) and returns the item chosen, or nullptr. A
// nested sub-menu fires its item's OnClick as it opens. Needs a window system.
// With Exit given (a bar menu), Left and Right on the top level end the menu and say so
// there, as does Esc, and so does the pointer moving onto another bar item (BarItemAt tells
// which); the press that closes it is not passed on.
TMenuItem* ShowQtMenu(TMenuItem* Parent, TCustomImageList* Images, TPoint ScreenPos,
                      TPopupAlignment Alignment = paLeft, TBarMenuExit* Exit = nullptr,
                      const TMainMenu::TBarItemAt& BarItemAt = {});
