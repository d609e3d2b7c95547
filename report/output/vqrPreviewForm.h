// vqrPreviewForm.h - TvqrPreviewForm: the preview window around a TvqrPreview, with its tool
// bar (print, open, save, export, zoom, outline, thumbnails, page settings, navigation, close),
// status bar, export menu, right-click menu and full-screen mode. The report opens it through
// the preview-window hook the output module installs.
#pragma once

#include <memory>
#include <vector>

#include "platform/controls/ComCtrls.h"
#include "platform/controls/Forms.h"
#include "report/core/vqrClassReport.h"

class TEdit;
class TMenuItem;
class TPopupMenu;
class TSpeedButton;
class TvqrComboBox;
class TvqrCustomExportFilter;
class TvqrPreview;
class TvqrTBPanel;

class TvqrPreviewForm : public TForm {
  VORENTA_CLASS(TvqrPreviewForm, TForm)
public:
  explicit TvqrPreviewForm(TComponent* AOwner);
  ~TvqrPreviewForm() override;

  // --- the report's side
  TvqrCustomPreview* Preview();
  void Init();
  void SetDesignedPosition();
  void ShowModeless(bool AppWindow);
  void SetMessageText(const String& Value, bool IsHint);
  // The link the report holds while the window is modeless (the window owns it then).
  std::unique_ptr<IvqrPreviewWindow> FLink;

  TvqrPreview* PreviewControl() const { return FPreview; }
  TvqrReport* Report() const;
  void SwitchToFullScreen();
  bool FullScreen() const { return FFullScreen; }
  void ShowZoomPercent();
  void UpdateButtonStates();
  void PreviewPageChanged(int APageNo);
  // The zoom box's text or item taken (its click or Enter).
  void ZoomCBClick();
  // The page number typed into PageE taken (Enter).
  void PageEEnter();
  void ExportItemClick(TMenuItem* Item);
  bool FreeOnClose = false;

  TToolBar* ToolBar = nullptr;
  TToolButton *PrintB = nullptr, *OpenB = nullptr, *SaveB = nullptr, *ExportB = nullptr,
              *PdfB = nullptr, *EmailB = nullptr, *FindB = nullptr, *Sep1 = nullptr,
              *ZoomPlusB = nullptr, *ZoomMinusB = nullptr, *FullScreenBtn = nullptr,
              *Sep2 = nullptr, *OutlineB = nullptr, *ThumbB = nullptr, *PageSettingsB = nullptr,
              *DesignerB = nullptr, *Sep5 = nullptr, *FirstB = nullptr, *PriorB = nullptr,
              *NextB = nullptr, *LastB = nullptr;
  TvqrTBPanel *Sep3 = nullptr, *Sep4 = nullptr, *Spacer = nullptr;
  TvqrComboBox* ZoomCB = nullptr;
  TEdit* PageE = nullptr;
  TSpeedButton* CancelB = nullptr;
  TStatusBar* StatusBar = nullptr;
  TPopupMenu *ExportPopup = nullptr, *HiddenMenu = nullptr, *RightMenu = nullptr;
  TMenuItem *CollapseMI = nullptr, *ExpandMI = nullptr, *N1 = nullptr;
  TvqrCustomExportFilter* FPDFExport = nullptr;
  TvqrCustomExportFilter* FEmailExport = nullptr;

  void Dispatch(TMessage& Message) override;

protected:
  void Resize() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
  TToolButton* AddButton(int Image, const char16_t* Caption, const char16_t* Hint, TNotifyEvent Click);
  TToolButton* AddSeparator();
  void BuildExportMenu();
  void BuildRightMenu();
  void DrillCommand(bool Expand);

  TvqrPreview* FPreview = nullptr;
  bool FFullScreen = false;
  TFormBorderStyle FOldBS = bsSizeable;
  TWindowState FOldState = wsNormal;
  std::vector<std::pair<TToolButton*, TMenuItem*>> FTwins;
};

// The report's preview window (installed by the output module's start).
IvqrPreviewWindow* vqrNewPreviewWindow(TvqrReport* Report);
