// vqrProgress.cpp - the progress box.
#include "report/output/vqrProgress.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/StdCtrls.h"
#include "report/core/vqrRes.h"

REGISTER_CLASS(TvqrProgress) {}

TvqrProgress::TvqrProgress(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  TForm::SetPosition(poScreenCenter);
  SetScaled(false);
  SetClientSize(271, 101);
  Font()->SetName(u"MS Sans Serif");
  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alClient);
  Panel1->SetBevelWidth(2);
  LMessage = new TLabel(this);
  LMessage->SetParent(Panel1);
  LMessage->SetAutoSize(false);
  LMessage->SetAlignment(taCenter);
  LMessage->SetBounds(16, 11, 237, 20);
  LMessage->Font()->SetName(u"Tahoma");
  LMessage->Font()->SetHeight(-11);
  Bar = new TProgressBar(this);
  Bar->SetParent(Panel1);
  Bar->SetBounds(16, 37, 237, 17);
  Bar->SetStep(1);
  CancelB = new TButton(this);
  CancelB->SetParent(Panel1);
  CancelB->SetBounds(100, 64, 75, 25);
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  CancelB->Font()->SetName(u"Tahoma");
  CancelB->SetCaption(StringTable()->Get(u"2"));
  CancelB->SetOnClick([this](TObject*) { SetTerminated(true); });
  SetOnHide([this](TObject*) { EnableActiveForm(); });
  FActiveForm = Screen->ActiveForm();
  if (FActiveForm == this) FActiveForm = nullptr;
  if (FActiveForm) {
    FActiveForm->FreeNotification(this);
    FActiveForm->SetEnabled(false);
  }
  Bar->SetMin(0);
  Bar->SetMax(100);
  SetPosition(0);
}

TvqrProgress::~TvqrProgress() { EnableActiveForm(); }

void TvqrProgress::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveForm) FActiveForm = nullptr;
}

void TvqrProgress::EnableActiveForm() {
  if (!FActiveForm) return;
  FActiveForm->RemoveFreeNotification(this);
  FActiveForm->SetEnabled(true);
  FActiveForm = nullptr;
}

void TvqrProgress::Execute(int MaxValue, const String& Msg, bool Canceled, bool Progress) {
  FTerminated = false;
  CancelB->SetVisible(Canceled);
  SetShowProgress(Progress);
  Bar->SetMin(0);
  Reset();
  Bar->SetMax(MaxValue);
  SetMessage(Msg);
  if (FActiveForm)
    SetBounds(FActiveForm->Left() + (FActiveForm->Width() - Width()) / 2,
              FActiveForm->Top() + (FActiveForm->Height() - Height()) / 2, Width(), Height());
  Show();
  Application->ProcessMessages();
}

void TvqrProgress::Tick() {
  if (FPosition >= Bar->Min() && FPosition <= Bar->Max() - 1) SetPosition(FPosition + 1);
}

void TvqrProgress::SetPosition(int Value) {
  FPosition = Value;
  Bar->SetPosition(Value);
  if (Visible()) BringToFront();
  Application->ProcessMessages();
}

void TvqrProgress::SetMessage(const String& Value) {
  FMessage = Value;
  LMessage->SetCaption(Value);
  LMessage->Repaint();
}

void TvqrProgress::SetShowProgress(bool Value) {
  FProgress = Value;
  Bar->SetVisible(Value);
  LMessage->SetTop(Value ? 15 : 35);
}

void TvqrProgress::SetTerminated(bool Value) {
  FTerminated = Value;
  if (Value) Close();
}

IvqrProgressWindow* vqrNewProgressWindow(TvqrReport*) { return new TvqrProgress(nullptr); }
