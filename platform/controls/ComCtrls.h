// ComCtrls.h - page control with tab sheets, tool bar with tool buttons, status bar, and the
// scroll box.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/controls/Controls.h"

class TPageControl;
class TCustomImageList;
class TPopupMenu;

// One page of a page control: a container shown while it is the active page.
class TTabSheet : public TWinControl {
  VORENTA_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // The index among the page control's pages.
  int PageIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  const TNotifyEvent& OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
  const TNotifyEvent& OnHide() const { return FOnHide; }
  void SetOnHide(TNotifyEvent Value) { FOnHide = std::move(Value); }
  void Dispatch(TMessage& Message) override;
  // A sheet read from a form as a child of a page control becomes one of its pages.
  void SetParentComponent(TComponent* Value) override;

protected:
  void PaintWindow(HDC DC) override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
  TNotifyEvent FOnShow, FOnHide;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TCustomControl {
  VORENTA_CLASS(TPageControl, TCustomControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int Index) const { return FPages.at(size_t(Index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Value);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The next visible page after (or before) Current, wrapping round.
  TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward) const;
  void SelectNextPage(bool GoForward);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }
  // The tab under a client point, -1 when none (index among visible tabs' pages).
  int IndexOfTabAt(int X, int Y);
  TRect TabRect(int PageIndex);
  int TabHeight();

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  const TTabChangingEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TTabChangingEvent Value) { FOnChanging = std::move(Value); }
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  // A user's tab change: OnChanging may refuse it; OnChange follows.
  bool ChangeByUser(TTabSheet* Page);

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void ShowPage(TTabSheet* Page);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TCustomImageList* FImages = nullptr;
  TNotifyEvent FOnChange;
  TTabChangingEvent FOnChanging;
};

// --- tool bar -----------------------------------------------------------------------------------

VORENTA_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider);

class TToolBar;

class TToolButton : public TGraphicControl {
  VORENTA_CLASS(TToolButton, TGraphicControl)
public:
  explicit TToolButton(TComponent* AOwner);
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value) { FDropdownMenu = Value; }
  TToolBar* ToolBar() const;
  // The button is pressed now (mouse held inside).
  bool Pressed() const { return FPressed; }
  bool MouseInControl() const { return FMouseIn; }
  void Click() override;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FDown = false, FGrouped = false, FAllowAllUp = false;
  bool FPressed = false, FTracking = false, FMouseIn = false;
  TPopupMenu* FDropdownMenu = nullptr;
};

// Lays its buttons (and other controls) out left to right, wrapping when Wrapable.
class TToolBar : public TCustomControl {
  VORENTA_CLASS(TToolBar, TCustomControl)
public:
  explicit TToolBar(TComponent* AOwner);
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  bool List() const { return FList; }
  void SetList(bool Value);
  bool Wrapable() const { return FWrapable; }
  void SetWrapable(bool Value);
  // Image lists are not components: whoever sets one keeps it alive while the bar uses it.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value) { FDisabledImages = Value; }
  int ButtonCount() const;
  TToolButton* Buttons(int Index) const;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  int FButtonWidth = 23, FButtonHeight = 22;
  bool FFlat = false, FShowCaptions = false, FList = false, FWrapable = true;
  bool FArranging = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
};

// --- status bar ---------------------------------------------------------------------------------

class TStatusPanel : public TCollectionItem {
  VORENTA_CLASS(TStatusPanel, TCollectionItem)
public:
  explicit TStatusPanel(TCollection* Collection);
  const String& Text() const { return FText; }
  void SetText(const String& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

private:
  String FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

class TStatusBar : public TCustomControl {
  VORENTA_CLASS(TStatusBar, TCustomControl)
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  TCollection* Panels() const { return FPanels.get(); }
  TStatusPanel* AddPanel();
  TStatusPanel* Panel(int Index) const;
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  const String& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;

private:
  std::unique_ptr<TCollection> FPanels;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
};

// --- scroll box ---------------------------------------------------------------------------------

class TScrollBox : public TScrollingWinControl {
  VORENTA_CLASS(TScrollBox, TScrollingWinControl)
public:
  explicit TScrollBox(TComponent* AOwner);
};

void RegisterComCtrlsClasses();
