// vqrSearchDialog.h - TvqrSearchDialog: the preview's find-text dialog (text, from the top,
// case sensitive). The text confirmed last is offered the next time.
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;

class TvqrSearchDialog : public TForm {
  VORENTA_CLASS(TvqrSearchDialog, TForm)
public:
  explicit TvqrSearchDialog(TComponent* AOwner);

  TLabel* TextL = nullptr;
  TEdit* TextE = nullptr;
  TGroupBox* SearchL = nullptr;
  TCheckBox* TopCB = nullptr;
  TCheckBox* CaseCB = nullptr;
  TButton* OkB = nullptr;
  TButton* CancelB = nullptr;
};

// The text of the last search confirmed with OK.
String& vqrLastSearchText();
