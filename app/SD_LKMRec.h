// SD_LKMRec.h - TSDLKMREC, "Материал": edits the current price-list product or adds one, as the
// data module's MaterialDialogMode says.
#pragma once

#include "platform/controls/Forms.h"

#include "app/DM_MAIN.h"

class TButton;
class TDBLookupComboboxZk;
class TDBNumberEditZk;
class TEdit;

class TSDLKMREC : public TForm {
  VORENTA_CLASS(TSDLKMREC, TForm)
public:
  explicit TSDLKMREC(TComponent* AOwner);
  ~TSDLKMREC() override;

  TEdit* EditLKMRecNM = nullptr;
  TEdit* EditLKMRecComment = nullptr;
  TDBLookupComboboxZk* DBLookupComboBoxLKMRec = nullptr;   // the product's group
  TDBNumberEditZk* DBNumberEditP1 = nullptr;
  TButton* BtnApply = nullptr;
  TButton* BtnCancel = nullptr;

  // What the dialog holds now.
  TPriceItemInput Input() const;

private:
  void FormActivate();
  TPriceItemView FShown;   // what the last activation showed
};

extern TSDLKMREC* SDLKMREC;
