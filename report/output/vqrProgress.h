// vqrProgress.h - TvqrProgress: the borderless box with a message line, an optional progress
// bar and an optional Cancel button, shown while a report runs, prints or exports and while an
// export prepares its cells. The caller drives it and polls Terminated; the window that was
// active when the box was made takes no input while the box is shown.
#pragma once

#include "platform/controls/Forms.h"
#include "report/core/vqrClassReport.h"

class TButton;
class TLabel;
class TPanel;
class TProgressBar;

class TvqrProgress : public TForm, public IvqrProgressWindow {
  VORENTA_CLASS(TvqrProgress, TForm)
public:
  explicit TvqrProgress(TComponent* AOwner);
  ~TvqrProgress() override;

  // Terminated := False, Cancel shown when Canceled, bar when Progress, range 0 .. MaxValue,
  // message Msg; shows the box (modeless) over the active window and lets messages run.
  void Execute(int MaxValue, const String& Msg, bool Canceled, bool Progress) override;
  // One step while Position lies in 0 .. maximum - 1.
  void Tick();
  void Reset() { SetPosition(0); }

  int Position() const { return FPosition; }
  void SetPosition(int Value);
  const String& Message() const { return FMessage; }
  void SetMessage(const String& Value) override;
  bool ShowProgress() const { return FProgress; }
  void SetShowProgress(bool Value);
  bool Terminated() const { return FTerminated; }
  // True also closes the box and gives the remembered window its input back.
  void SetTerminated(bool Value);
  bool Canceled() const override { return FTerminated; }

  TLabel* LMessage = nullptr;
  TProgressBar* Bar = nullptr;
  TButton* CancelB = nullptr;
  TPanel* Panel1 = nullptr;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void EnableActiveForm();
  TCustomForm* FActiveForm = nullptr;
  bool FTerminated = false;
  int FPosition = 0;
  String FMessage;
  bool FProgress = false;
};

// The report's progress box: a new TvqrProgress (installed by the output module's start).
IvqrProgressWindow* vqrNewProgressWindow(TvqrReport* Report);
