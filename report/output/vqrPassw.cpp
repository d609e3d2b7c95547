// vqrPassw.cpp - the password dialog.
#include "report/output/vqrPassw.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "report/core/vqrRes.h"

REGISTER_CLASS(TvqrPasswordForm) {}

TvqrPasswordForm::TvqrPasswordForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetClientSize(252, 92);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  // Keys 5000 and 5001 have no built-in text: the bare keys show unless a language file has them.
  SetCaption(StringTable()->Get(u"5000"));
  PasswordL = new TLabel(this);
  PasswordL->SetParent(this);
  PasswordL->SetAutoSize(false);
  PasswordL->SetBounds(88, 8, 157, 13);
  PasswordL->SetCaption(StringTable()->Get(u"5001"));
  Image1 = new TImage(this);
  Image1->SetParent(this);
  Image1->SetBounds(8, 8, 43, 48);
  PasswordE = new TEdit(this);
  PasswordE->SetParent(this);
  PasswordE->SetBounds(88, 28, 157, 21);
  PasswordE->SetPasswordChar(u'*');
  OkB = new TButton(this);
  OkB->SetParent(this);
  OkB->SetBounds(88, 60, 75, 25);
  OkB->SetCaption(StringTable()->Get(u"1"));
  OkB->SetDefault(true);
  OkB->SetModalResult(mrOk);
  CancelB = new TButton(this);
  CancelB->SetParent(this);
  CancelB->SetBounds(168, 60, 75, 25);
  CancelB->SetCaption(StringTable()->Get(u"2"));
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  SetActiveControl(PasswordE);
}
