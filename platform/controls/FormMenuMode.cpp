// FormMenuMode.cpp - a form's menu bar from the keyboard: a dropped bar item whose menu Left
// and Right lead on along the bar, and the menu mode that F10 or Alt alone starts.
#include "platform/controls/Forms.h"

#include "platform/controls/Controls_p.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"

namespace {

// Where Item's menu drops: under its left edge, at the top of the form's client area.
TPoint DropPoint(TCustomForm* Form, TMainMenu* Menu, TMenuItem* Item) {
  for (const TMainMenu::TBarItem& B : Menu->BarLayout())
    if (B.Item == Item) return Form->ClientToScreen({B.Rect.Left, 0});
  return Form->ClientToScreen({0, 0});
}

bool CanDrop(const TMenuItem* Item) { return Item->Enabled() && Item->Count() > 0; }

}  // namespace

void TCustomForm::RunBarMenu(TMenuItem* Item) {
  ExitMenuMode();
  TMainMenu* Menu = FMenu;
  const TMainMenu::TBarItemAt BarItemAt = [this, Menu](TPoint ScreenPos) {
    const TPoint P = ScreenToClient(ScreenPos);
    return Menu->ItemAtBarPos({P.X, P.Y + TMainMenu::BarHeight()});
  };
  while (Item && FMenu == Menu) {
    InvalidateRect(nullptr, false);
    const TBarMenuExit Exit = Menu->SelectBarItem(Item, DropPoint(this, Menu, Item), BarItemAt);
    if (FMenu != Menu) return;   // the menu went while it was open
    InvalidateRect(nullptr, false);
    switch (Exit.Leave) {
      case mlEscape: EnterMenuMode(Item); return;
      case mlPrevious:
      case mlNext: Item = Menu->AdjacentBarItem(Item, Exit.Leave == mlNext ? 1 : -1); break;
      case mlJump: Item = Exit.JumpTo; break;
      default: return;
    }
    // Passing over an item without sub-items does not click it: it is only highlighted.
    if (Item && !CanDrop(Item)) {
      EnterMenuMode(Item);
      return;
    }
  }
}

void TCustomForm::EnterMenuMode(TMenuItem* Hot) {
  if (!FMenu || !Hot || !Application) return;
  if (!InMenuMode()) {
    FMenuModeFilter = Application->AddOutsideClickFilter([this](HWND, TPoint) {
      ExitMenuMode();
      return false;   // the press goes on to where it was aimed
    });
    SetMenuKeyHook([this](unsigned Msg, WPARAM Key) { return MenuModeKey(Msg, Key); });
  }
  FMenu->SetHotItem(Hot);
  InvalidateRect(nullptr, false);
}

void TCustomForm::ExitMenuMode() {
  if (!InMenuMode()) return;
  if (Application) Application->RemoveOutsideClickFilter(FMenuModeFilter);
  FMenuModeFilter = 0;
  SetMenuKeyHook(nullptr);
  if (FMenu) FMenu->SetHotItem(nullptr);
  InvalidateRect(nullptr, false);
}

// Every key while in menu mode comes here first and goes no further.
bool TCustomForm::MenuModeKey(unsigned Msg, WPARAM Key) {
  TMenuItem* Hot = FMenu ? FMenu->HotItem() : nullptr;
  if (!Hot) {
    ExitMenuMode();
    return false;
  }
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      switch (Key) {
        case VK_LEFT:
        case VK_RIGHT:
          FMenu->SetHotItem(FMenu->AdjacentBarItem(Hot, Key == VK_RIGHT ? 1 : -1));
          InvalidateRect(nullptr, false);
          break;
        case VK_DOWN:
        case VK_UP:
          if (CanDrop(Hot)) RunBarMenu(Hot);
          break;
        case VK_RETURN:   // an item without sub-items is clicked
          if (Hot->Enabled()) RunBarMenu(Hot);
          break;
        case VK_ESCAPE:
        case VK_F10: ExitMenuMode(); break;
        default: break;   // Alt ends the mode with its release; letters come as characters
      }
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (Key == VK_MENU) ExitMenuMode();
      return true;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (Key >= 0x20) {
        if (TMenuItem* Item = FMenu->FindAccelItem(Char(Key))) RunBarMenu(Item);
        else MessageBeep(0);
      }
      return true;
    default: return false;
  }
}
