// vqrDialogPage.h - dialog pages of a report: TvqrDialogPage owns a TvqrDialogForm and relays
// its events to procedures of the report's script; TvqrDialogControl is the report-side
// wrapper of a platform control placed on such a page. The band engine shows the visible
// dialog pages that hold controls before a run; a cancelled page ends the run.
#pragma once

#include <memory>

#include "platform/controls/Forms.h"
#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrDialogForm.h"

class TvqrDialogPage;

class TvqrDialogControl : public TvqrReportComponent {
  VORENTA_CLASS(TvqrDialogControl, TvqrReportComponent)
public:
  explicit TvqrDialogControl(TComponent* AOwner) : TvqrReportComponent(AOwner) {}
  ~TvqrDialogControl() override;

  // The wrapped control (owned); descendants create it and hand it over.
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  String Caption() const;
  void SetCaption(const String& Value);
  bool Enabled() const;
  void SetEnabled(bool Value);
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetWidth(Extended Value) override;
  void SetHeight(Extended Value) override;
  void SetVisible(bool Value) override;
  void SetParent(TvqrComponent* Value) override;
  void SetName(const String& Value) override;
  // The class name without its first "Tvqr" and its first "Control".
  String BaseName() const;
  // Paints the control as it looks on its window into a bitmap of its rounded size and draws
  // that at its rounded absolute place (the dialog page in a picture of the report).
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;

  // Script procedure names of the control's events.
  TvqrNotifyEvent OnClick, OnDblClick, OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp,
      OnMouseDown, OnMouseMove, OnMouseUp;
  // Called with the page when the page's window is activated.
  TNotifyEvent OnActivate;

private:
  void SyncBounds();
  TControl* FControl = nullptr;
};

class TvqrDialogPage : public TvqrPage {
  VORENTA_CLASS(TvqrDialogPage, TvqrPage)
public:
  explicit TvqrDialogPage(TComponent* AOwner);
  ~TvqrDialogPage() override;
  String GetDescription() const override;

  TvqrDialogForm* DialogForm() const { return FForm.get(); }
  TModalResult ModalResult() const { return FForm->ModalResult(); }
  void SetModalResult(TModalResult Value) { FForm->SetModalResult(Value); }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value) { FWindowState = Value; }
  Extended ClientWidth() const;
  void SetClientWidth(Extended Value);
  Extended ClientHeight() const;
  void SetClientHeight(Extended Value);
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetWidth(Extended Value) override;
  void SetHeight(Extended Value) override;
  void FontChanged() override;

  // Applies position and window state and connects the window's events to the relays.
  void Initialize();
  TModalResult ShowModal();
  // Left, Top, Width and Height from where the window is now.
  void UpdateBounds();

  TvqrNotifyEvent OnActivate, OnClick, OnDeactivate, OnHide, OnShow, OnResize;
  String OnKeyDown, OnKeyUp, OnKeyPress, OnCloseQuery;

private:
  void Relay(const TvqrNotifyEvent& Event, TObject* Sender);
  std::unique_ptr<TvqrDialogForm> FForm;
  TFormBorderStyle FBorderStyle = bsSizeable;
  String FCaption;
  TColor FColor = clBtnFace;
  TPosition FPosition = poScreenCenter;
  TWindowState FWindowState = wsNormal;
  Extended FClientWidth = 0, FClientHeight = 0;
};

// The visible dialog pages that hold controls, shown in page order; false when one was
// cancelled (the run does not start).
bool vqrRunDialogPages(TvqrReport* Report);
