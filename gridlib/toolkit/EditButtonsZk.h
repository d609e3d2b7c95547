// EditButtonsZk.h - the persistent description of the buttons at the right edge of an editor or
// a grid column: one button (TEditButtonZk), its collection (TEditButtonsZk) and the link that
// makes a button follow an action. The visible control is in EditButtonControlZk.h.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Collection.h"
#include "platform/controls/Controls.h"

class TBasicAction;
class TBitmap;
class TEditButtonControlZk;
class TEditButtonZk;
class TPopupMenu;
class TShape;

VORENTA_ENUM(TEditButtonStyleZk, ebsDropDownZk, ebsEllipsisZk, ebsGlyphZk, ebsUpDownZk, ebsPlusZk,
             ebsMinusZk, ebsAltDropDownZk, ebsAltUpDownZk);

// The two up/down styles have an upper and a lower half and repeat while held.
inline bool IsUpDownStyle(TEditButtonStyleZk Style) {
  return Style == ebsUpDownZk || Style == ebsAltUpDownZk;
}

using TButtonClickEventZk = std::function<void(TObject* Sender, bool& Handled)>;
using TButtonDownEventZk =
    std::function<void(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

// Alt+Down, the default shortcut of drop-down buttons.
inline constexpr TShortCut AltDownShortCut = TShortCut(scAlt) | TShortCut(VK_DOWN);

// Lets a button follow an action: the button takes the action's Enabled, Hint, ShortCut and
// Visible while its own value still equals the action's (the link remembers the action's last
// values to know that), and forgets the action when the action is freed.
class TEditButtonActionLinkZk : public TObject {
public:
  explicit TEditButtonActionLinkZk(TObject* AClient);
  ~TEditButtonActionLinkZk() override;

  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  bool IsEnabledLinked() const;
  bool IsHintLinked() const;
  bool IsShortCutLinked() const;
  bool IsVisibleLinked() const;
  // Executes the action; when its own handler does nothing and it handles Target, on Target.
  bool Execute(TComponent* Target);
  bool Update();

private:
  class TWatcher;
  struct TActionValues {
    bool Enabled = true, Visible = true;
    String Hint;
    TShortCut ShortCut = 0;
  };
  // The client must be an edit button: EInvalidCast otherwise.
  void AssignClient(TObject* AClient);
  void ActionChanged();
  void ActionFreed();
  TActionValues CurrentValues() const;

  TEditButtonZk* FClient = nullptr;
  TBasicAction* FAction = nullptr;
  int FListenerId = 0;
  TActionValues FLast;   // the action's values as last seen
  TNotifyEvent FOnChange;
  std::unique_ptr<TWatcher> FWatcher;
};

class TEditButtonZk : public TCollectionItem {
  VORENTA_CLASS(TEditButtonZk, TCollectionItem)
public:
  // A button owned directly by an editor.
  explicit TEditButtonZk(TWinControl* EditControl);
  // An item of a collection.
  explicit TEditButtonZk(TCollection* ACollection);
  ~TEditButtonZk() override;

  // From another edit button, each property through its setter; else EConvertError.
  void Assign(TPersistent* Source) override;

  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value);
  TWinControl* EditControl() const { return FEditControl; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  // Copies the bitmap and always notifies.
  void SetGlyph(TBitmap* Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // Clamped to 1..4.
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  TEditButtonStyleZk Style() const { return FStyle; }
  void SetStyle(TEditButtonStyleZk Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // 0: the owner's default width.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  const TButtonClickEventZk& OnClick() const { return FOnButtonClick; }
  void SetOnClick(TButtonClickEventZk Value) { FOnButtonClick = std::move(Value); }
  const TButtonDownEventZk& OnDown() const { return FOnButtonDown; }
  void SetOnDown(TButtonDownEventZk Value) { FOnButtonDown = std::move(Value); }
  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent Value) { FOnChanged = std::move(Value); }

  // A control owned by and parented to the edit control: 10 x 17, visible, not transparent.
  virtual TEditButtonControlZk* CreateEditButtonControl();
  // OnClick when set; else the action executed on the editor (or the collection's owner), with
  // Handled set. Without either Handled stays as it was.
  virtual void Click(TObject* Sender, bool& Handled);
  virtual void InitiateAction();

  // Stored-property rules of the form stream.
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;

protected:
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void DoActionChange(TObject* Sender);
  // OnChanged when set; else the collection's item change.
  void ButtonChanged();
  TEditButtonActionLinkZk* ActionLink() const { return FActionLink.get(); }
  // Defaults of the descendants' constructors.
  bool FVisible = false;
  TShortCut FShortCut = 0;

private:
  class TMenuWatcher;
  void Init();
  bool IsLoading() const;
  TComponent* ActionTarget() const;

  std::unique_ptr<TEditButtonActionLinkZk> FActionLink;
  TPopupMenu* FDropdownMenu = nullptr;
  TWinControl* FEditControl = nullptr;
  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  String FHint;
  int FNumGlyphs = 1;
  TButtonClickEventZk FOnButtonClick;
  TButtonDownEventZk FOnButtonDown;
  TNotifyEvent FOnChanged;
  TEditButtonStyleZk FStyle = ebsDropDownZk;
  int FWidth = 0;
  std::unique_ptr<TMenuWatcher> FMenuWatcher;
};

// A drop-down button: ShortCut Alt+Down.
class TDropDownEditButtonZk : public TEditButtonZk {
  VORENTA_CLASS(TDropDownEditButtonZk, TEditButtonZk)
public:
  explicit TDropDownEditButtonZk(TWinControl* EditControl);
  explicit TDropDownEditButtonZk(TCollection* ACollection);
};

// A drop-down button that is visible by default (the lookup combo box's).
class TVisibleEditButtonZk : public TDropDownEditButtonZk {
  VORENTA_CLASS(TVisibleEditButtonZk, TDropDownEditButtonZk)
public:
  explicit TVisibleEditButtonZk(TWinControl* EditControl);
  explicit TVisibleEditButtonZk(TCollection* ACollection);
};

class TEditButtonsZk : public TCollection {
  VORENTA_CLASS(TEditButtonsZk, TCollection)
public:
  // EditButtonClass: TEditButtonZk or a registered descendant.
  TEditButtonsZk(TPersistent* AOwner, TClass EditButtonClass);
  TEditButtonZk* Add() { return static_cast<TEditButtonZk*>(TCollection::Add()); }
  TEditButtonZk* Items(int Index) const {
    return static_cast<TEditButtonZk*>(TCollection::Items(Index));
  }
  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent Value) { FOnChanged = std::move(Value); }

protected:
  TPersistent* GetOwner() const override { return FOwner; }
  void Update(TCollectionItem* Item) override;

private:
  TNotifyEvent FOnChanged;
  TPersistent* FOwner;
};

// For owners that lay out several buttons: the separator line before each button.
struct TEditButtonControlLineRec {
  TShape* ButtonLine = nullptr;
  TEditButtonControlZk* EditButtonControl = nullptr;
};
using TEditButtonControlList = std::vector<TEditButtonControlLineRec>;

void RegisterEditButtonsClasses();
