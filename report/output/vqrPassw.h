// vqrPassw.h - TvqrPasswordForm: asks for the password of a protected report template; the
// caller compares the text after OK.
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TEdit;
class TImage;
class TLabel;

class TvqrPasswordForm : public TForm {
  VORENTA_CLASS(TvqrPasswordForm, TForm)
public:
  explicit TvqrPasswordForm(TComponent* AOwner);

  TLabel* PasswordL = nullptr;
  TImage* Image1 = nullptr;
  TEdit* PasswordE = nullptr;
  TButton* OkB = nullptr;
  TButton* CancelB = nullptr;
};
