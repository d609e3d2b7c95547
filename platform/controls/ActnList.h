// ActnList.h - actions: TBasicAction, TCustomAction/TAction and TActionList.
//
// An action is a command with its caption, hint, shortcut, enabled and visible state, executed
// for a target; controls linked to it follow its state. Only what the program uses is here:
// execution (OnExecute, else the target's ExecuteAction), updating (OnUpdate), the state
// properties with change notification to linked clients, and shortcuts looked up by the list.
#pragma once

#include <functional>
#include <vector>

#include "platform/controls/Controls.h"

class TActionList;

class TBasicAction : public TComponent {
  VORENTA_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // OnExecute when set (true), otherwise false; a disabled action does nothing.
  virtual bool Execute();
  virtual bool Update();
  // Whether the action can act on Target (the standard edit actions check the class).
  virtual bool HandlesTarget(TObject* Target);
  virtual void ExecuteTarget(TObject* Target);
  virtual void UpdateTarget(TObject* Target);
  const TNotifyEvent& OnExecute() const { return FOnExecute; }
  void SetOnExecute(TNotifyEvent Value) { FOnExecute = std::move(Value); }
  const TNotifyEvent& OnUpdate() const { return FOnUpdate; }
  void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
  // Clients (controls, menu items, edit buttons) told of every change.
  using TChangeListener = std::function<void(TBasicAction* Action)>;
  int AddChangeListener(TChangeListener Listener);
  void RemoveChangeListener(int Id);

protected:
  void Change();

private:
  TNotifyEvent FOnExecute, FOnUpdate;
  std::vector<std::pair<int, TChangeListener>> FListeners;
  int FNextListener = 1;
};

class TCustomAction : public TBasicAction {
  VORENTA_CLASS(TCustomAction, TBasicAction)
public:
  explicit TCustomAction(TComponent* AOwner);
  ~TCustomAction() override;
  bool Execute() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);

private:
  friend class TActionList;
  String FCaption, FHint;
  bool FEnabled = true, FVisible = true, FChecked = false;
  TShortCut FShortCut = 0;
  int FImageIndex = -1;
  TActionList* FActionList = nullptr;
};

class TAction : public TCustomAction {
  VORENTA_CLASS(TAction, TCustomAction)
public:
  using TCustomAction::TCustomAction;
};

class TActionList : public TComponent {
  VORENTA_CLASS(TActionList, TComponent)
public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;
  int ActionCount() const { return int(FActions.size()); }
  TCustomAction* Actions(int Index) const { return FActions.at(size_t(Index)); }
  // Executes the enabled action with that shortcut; true when one did.
  bool IsShortCut(TShortCut ShortCut);
  // Runs every action's OnUpdate (the application's idle time does this).
  void UpdateActions();

private:
  friend class TCustomAction;
  std::vector<TCustomAction*> FActions;
};
