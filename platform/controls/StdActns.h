// StdActns.h - the standard edit actions: copy, cut, paste, select all and delete on the
// focused control. Without an OnExecute handler an action first offers itself to the focused
// control (ExecuteAction / UpdateAction: a data grid acts on its selection), then acts on an
// edit control itself.
#pragma once

#include "platform/controls/ActnList.h"

class TEditAction : public TAction {
  VORENTA_CLASS(TEditAction, TAction)
public:
  explicit TEditAction(TComponent* AOwner) : TAction(AOwner) {}
  // The control acted on; nullptr: the focused one.
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value) { FControl = Value; }
  bool HandlesTarget(TObject* Target) override;
  bool Execute() override;
  bool Update() override;

protected:
  TControl* Target() const;

private:
  TControl* FControl = nullptr;
};

class TEditCopy : public TEditAction {
  VORENTA_CLASS(TEditCopy, TEditAction)
public:
  explicit TEditCopy(TComponent* AOwner) : TEditAction(AOwner) {}
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditCut : public TEditAction {
  VORENTA_CLASS(TEditCut, TEditAction)
public:
  explicit TEditCut(TComponent* AOwner) : TEditAction(AOwner) {}
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditPaste : public TEditAction {
  VORENTA_CLASS(TEditPaste, TEditAction)
public:
  explicit TEditPaste(TComponent* AOwner) : TEditAction(AOwner) {}
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditSelectAll : public TEditAction {
  VORENTA_CLASS(TEditSelectAll, TEditAction)
public:
  explicit TEditSelectAll(TComponent* AOwner) : TEditAction(AOwner) {}
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditDelete : public TEditAction {
  VORENTA_CLASS(TEditDelete, TEditAction)
public:
  explicit TEditDelete(TComponent* AOwner) : TEditAction(AOwner) {}
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

void RegisterStdActnsClasses();
