// Menus.h - menu items, the main menu and popup menus, and the shortcut texts.
//
// The item tree is ours (captions, shortcuts, check marks, radio groups, images, enabling,
// OnClick); a popup shows it as a Qt menu when a window system runs. Without one (tests) a
// chooser hook answers which item the user picks. A key reaches menu shortcuts through
// IsMenuKey: the control's popup menu, its parents', then the form's main menu.
//
// A main menu set as a form's Menu is a bar across the top of the form, in its non-client
// area, drawn by us (MenuBar.cpp); a top-level item chosen on the bar (a click, or Alt and its
// "&" letter) fires its OnClick and drops its sub-items down as a Qt menu.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/Exceptions.h"

VORENTA_DECLARE_EXCEPTION(EMenuError, Exception);

class TCustomImageList;
class TMenu;

class TMenuItem : public TComponent {
  VORENTA_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  // A caption of "-" makes a separator line.
  bool IsLine() const { return FCaption == u"-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

  // --- the tree: items own their sub-items
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(size_t(Index)); }
  TMenuItem* Parent() const { return FParent; }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* Item);
  void Delete(int Index);
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  TMenuItem* Find(const String& Caption) const;
  // The menu this item belongs to (its root's owner).
  TMenu* GetParentMenu() const;

  // What a choice of the item does: AutoCheck, then OnClick (or the action).
  virtual void Click();

private:
  void TurnSiblingsOff();

  String FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false, FRadioItem = false, FAutoCheck = false;
  int FGroupIndex = 0;
  bool FEnabled = true, FVisible = true, FDefault = false;
  int FImageIndex = -1;
  String FHint;
  TNotifyEvent FOnClick;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;   // set on the root item
  friend class TMenu;
};

class TMenu : public TComponent {
  VORENTA_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The root item; its sub-items are the menu's items.
  TMenuItem* Items() const { return FItems.get(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }
  // The enabled, visible item with this shortcut, anywhere in the tree, or nullptr.
  TMenuItem* FindItemByShortCut(TShortCut Value) const;
  // A key message (WM_KEYDOWN / CN_KEYDOWN) whose shortcut an item has: the item is clicked.
  bool IsShortCut(TMessage& Message);

private:
  std::unique_ptr<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
};

// How a dropped bar menu ended when nothing was chosen: keys that lead on along the bar
// (Left, Right) or back to it (Esc), or the pointer moving onto another bar item (JumpTo).
enum TMenuLeave { mlNone, mlEscape, mlPrevious, mlNext, mlJump };
struct TBarMenuExit {
  TMenuLeave Leave = mlNone;
  TMenuItem* JumpTo = nullptr;
};

class TMainMenu : public TMenu {
  VORENTA_CLASS(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

  // --- the bar (MenuBar.cpp); bar coordinates have (0, 0) at the bar's top left corner
  // One row of SM_CYMENU.
  static int BarHeight();
  // The visible top-level items and their places on the bar, measured with the menu font.
  struct TBarItem {
    TMenuItem* Item;
    TRect Rect;
  };
  std::vector<TBarItem> BarLayout() const;
  void PaintBar(TCanvas* Canvas, const TRect& Bar) const;
  TMenuItem* ItemAtBarPos(TPoint P) const;
  // Alt+C: the visible top-level item with "&C" in its caption (any case), or nullptr.
  TMenuItem* FindAccelItem(Char C) const;
  // A top-level item chosen on the bar: an enabled one fires OnClick, then its sub-items drop
  // down with their corner at ScreenPos and the chosen one is clicked. Returns how the menu
  // ended when nothing was chosen; BarItemAt (when given) tells the bar item at a screen
  // point, so that moving the pointer onto another one ends the menu for it.
  using TBarItemAt = std::function<TMenuItem*(TPoint ScreenPos)>;
  TBarMenuExit SelectBarItem(TMenuItem* Item, TPoint ScreenPos, const TBarItemAt& BarItemAt = {});
  // The item whose sub-items show now (painted pressed), or nullptr.
  TMenuItem* DroppedItem() const { return FDropped; }
  // The item highlighted in the keyboard menu mode (painted like the dropped one), or nullptr.
  TMenuItem* HotItem() const { return FHot; }
  void SetHotItem(TMenuItem* Item) { FHot = Item; }
  // The visible item Step places (+1 or -1) from Item along the bar, round at the ends; the
  // first visible item when Item is not on the bar; nullptr for an empty bar.
  TMenuItem* AdjacentBarItem(TMenuItem* Item, int Step) const;

  // for tests: without a window system, the chooser picks a sub-item of the dropped item
  // (nullptr: none) and may say how the menu was left.
  using TChooser = std::function<TMenuItem*(TMenuItem* Dropped, TPoint ScreenPos, TBarMenuExit& Exit)>;
  static void SetChooser(TChooser Chooser);

private:
  TMenuItem* FDropped = nullptr;
  TMenuItem* FHot = nullptr;
};

VORENTA_ENUM(TPopupAlignment, paLeft, paRight, paCenter);

class TPopupMenu : public TMenu {
  VORENTA_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The control whose context menu this was, while it shows.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  TPoint PopupPoint() const { return FPopupPoint; }
  const TNotifyEvent& OnPopup() const { return FOnPopup; }
  void SetOnPopup(TNotifyEvent Value) { FOnPopup = std::move(Value); }

  // Shows the menu with its corner at the screen point (left, right or centre by Alignment)
  // and clicks the chosen item after it closed.
  virtual void Popup(int X, int Y);

  // for tests: without a window system, the chooser picks the item (nullptr: none).
  using TChooser = std::function<TMenuItem*(TPopupMenu* Menu, TPoint ScreenPos)>;
  static void SetChooser(TChooser Chooser);

private:
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
  TNotifyEvent FOnPopup;
};

// A caption without its "&" accelerator marks ("&&" stays one "&").
String StripHotkey(const String& Text);

// Shortcut texts as menus show them: "Ctrl+N", "Shift+Ctrl+Del", "Alt+Down", "F5".
String ShortCutToText(TShortCut Value);
// The shortcut of a text, 0 for an unknown one; names compare without case.
TShortCut TextToShortCut(const String& Text);

// The menu shortcut for a key message sent to Control: its popup menu, its parents' popup
// menus, then the parent form's main menu (when FormMenu is given).
bool IsMenuKey(TControl* Control, TMessage& Message, TMenu* FormMenu = nullptr);

// Makes controls show their PopupMenu on WM_CONTEXTMENU (installs the handler once).
void InstallPopupMenuHandler();

void RegisterMenusClasses();
