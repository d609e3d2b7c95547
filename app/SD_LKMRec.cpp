// SD_LKMRec.cpp - the price-list product dialog's form and handlers.
#include "app/SD_LKMRec.h"

#include "app/AppForms.h"
#include "app/DM_MAIN.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Variants.h"

TSDLKMREC* SDLKMREC = nullptr;

REGISTER_CLASS(TSDLKMREC) {}

TSDLKMREC::TSDLKMREC(TComponent* AOwner) : TForm(AOwner) {
  SDLKMREC = this;
  ReadAppForm(this, "forms/SD_LKMRec.dfm");
  VORENTA_FORM_FIND(this, EditLKMRecNM);
  VORENTA_FORM_FIND(this, EditLKMRecComment);
  VORENTA_FORM_FIND(this, BtnApply);
  VORENTA_FORM_FIND(this, BtnCancel);
  SetOnActivate([this](TObject*) { FormActivate(); });
  BtnApply->SetOnClick([this](TObject*) {
    if (DM->ApplyPriceItemDialog(Input())) SetModalResult(mrOk);
  });
  BtnCancel->SetOnClick([this](TObject*) {
    DM->CancelPriceItemDialog();
    SetModalResult(mrCancel);
  });
  for (TWinControl* Control : {static_cast<TWinControl*>(EditLKMRecNM),
                               static_cast<TWinControl*>(EditLKMRecComment)})
    FocusNextOnEnter(Control);
}

TSDLKMREC::~TSDLKMREC() {
  if (SDLKMREC == this) SDLKMREC = nullptr;
}

// The group (a lookup combo box over DSluLKMBase) and the price (a number edit) join the form
// with their classes; until then they keep what the activation showed, so that applying the
// dialog never changes a product's group or price behind the user's back.
TPriceItemInput TSDLKMREC::Input() const {
  return {EditLKMRecNM->Text(), Variant(FShown.GroupKey), String(), FShown.PriceText,
          EditLKMRecComment->Text()};
}

void TSDLKMREC::FormActivate() {
  const TPriceItemView View = DM->PriceItemDialogView();
  FShown = View;
  EditLKMRecNM->SetText(View.Name);
  EditLKMRecNM->SetEnabled(View.NameAndGroupEnabled);
  EditLKMRecComment->SetText(View.Remark);
}
