// BalloonHint.h - TBalloonHint: a hint window with a bold title, a description and a pointer
// to the spot it talks about.
#pragma once

#include "platform/controls/HintWindow.h"

class TBalloonHint : public TComponent {
  VORENTA_CLASS(TBalloonHint, TComponent)
public:
  explicit TBalloonHint(TComponent* AOwner);
  ~TBalloonHint() override;
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  // Milliseconds before the balloon hides itself; 0 keeps it until HideHint.
  int HideAfter() const { return FHideAfter; }
  void SetHideAfter(int Value) { FHideAfter = Value; }
  // Shows the balloon with its pointer at a screen point, or below a control's centre.
  void ShowHint(TPoint ScreenPos);
  void ShowHint(TControl* Control);
  void HideHint();
  bool ShowingHint() const;
  // The window (created on first show), for tests and painting checks.
  THintWindow* Window() const { return FWindow; }

private:
  String FTitle, FDescription;
  int FHideAfter = -1;
  THintWindow* FWindow = nullptr;   // owned as a component of this
};
