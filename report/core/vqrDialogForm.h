// vqrDialogForm.h - TvqrDialogForm: the window behind a dialog page of a report. It refuses
// every close until its page puts its own relay in place, tells OnModify when the user has
// moved or sized it, and in thread-safe mode (an owner tagged 318) starts from the class
// defaults.
#pragma once

#include "platform/controls/Forms.h"

class TvqrDialogForm : public TForm {
  VORENTA_CLASS(TvqrDialogForm, TForm)
public:
  // The form itself has no owner; AOwner only says whether the thread-safe mode is on.
  explicit TvqrDialogForm(TComponent* AOwner);

  bool ThreadSafe() const { return FThreadSafe; }
  void SetThreadSafe(bool Value) { FThreadSafe = Value; }
  const TNotifyEvent& OnModify() const { return FOnModify; }
  void SetOnModify(TNotifyEvent Value) { FOnModify = std::move(Value); }

  void Dispatch(TMessage& Message) override;

private:
  bool FThreadSafe = false;
  TNotifyEvent FOnModify;
};
