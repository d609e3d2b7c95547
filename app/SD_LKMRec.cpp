// SD_LKMRec.cpp - the price-list product dialog's form and handlers.
#include "app/SD_LKMRec.h"

#include "app/AppForms.h"
#include "app/DM_MAIN.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Variants.h"

TSDLKMREC* SDLKMREC = nullptr;

REGISTER_CLASS(TSDLKMREC) {}

TSDLKMREC::TSDLKMREC(TComponent* AOwner) : TForm(AOwner) {
  SDLKMREC = this;
  ReadAppForm(this, "forms/SD_LKMRec.dfm");
  VORENTA_FORM_FIND(this, EditLKMRecNM);
  VORENTA_FORM_FIND(this, EditLKMRecComment);
  VORENTA_FORM_FIND(this, DBNumberEditP1);
  VORENTA_FORM_FIND(this, DBLookupComboBoxLKMRec);
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
  for (TWinControl* Control : std::initializer_list<TWinControl*>{
           EditLKMRecNM, DBLookupComboBoxLKMRec, DBNumberEditP1, EditLKMRecComment})
    FocusNextOnEnter(Control);
}

TSDLKMREC::~TSDLKMREC() {
  if (SDLKMREC == this) SDLKMREC = nullptr;
}

// The group comes from the list while it may be chosen; a product being edited keeps its own.
TPriceItemInput TSDLKMREC::Input() const {
  const bool Chosen = FShown.NameAndGroupEnabled;
  return {EditLKMRecNM->Text(),
          Chosen ? DBLookupComboBoxLKMRec->KeyValue() : Variant(FShown.GroupKey),
          Chosen ? DBLookupComboBoxLKMRec->Text() : String(), DBNumberEditP1->Text(),
          EditLKMRecComment->Text()};
}

void TSDLKMREC::FormActivate() {
  const TPriceItemView View = DM->PriceItemDialogView();
  FShown = View;
  EditLKMRecNM->SetText(View.Name);
  EditLKMRecNM->SetEnabled(View.NameAndGroupEnabled);
  DBLookupComboBoxLKMRec->SetKeyValueProp(View.GroupKey != 0 ? Variant(View.GroupKey) : Null());
  DBLookupComboBoxLKMRec->SetEnabled(View.NameAndGroupEnabled);
  EditLKMRecComment->SetText(View.Remark);
  DBNumberEditP1->SetText(View.PriceText);
}
