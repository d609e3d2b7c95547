// SA_OrdAdd.cpp - the put-into-order dialog's form and handlers.
#include "app/SA_OrdAdd.h"

#include "app/AppForms.h"
#include "app/DM_MAIN.h"
#include "gridlib/grid/DBLookupZk.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Variants.h"

TSAOrdAdd* SAOrdAdd = nullptr;

REGISTER_CLASS(TSAOrdAdd) {}

TSAOrdAdd::TSAOrdAdd(TComponent* AOwner) : TForm(AOwner) {
  SAOrdAdd = this;
  ReadAppForm(this, "forms/SA_OrdAdd.dfm");
  VORENTA_FORM_FIND(this, rbtnCh1);
  VORENTA_FORM_FIND(this, rbtnCh2);
  VORENTA_FORM_FIND(this, BtnOk);
  VORENTA_FORM_FIND(this, BtnCancel);
  VORENTA_FORM_FIND(this, DBLookupComboboxZkOrd);
  rbtnCh1->SetOnClick([this](TObject*) { UpdateOrderChoice(); });
  rbtnCh2->SetOnClick([this](TObject*) { UpdateOrderChoice(); });
  BtnOk->SetOnClick([this](TObject*) { OkClick(); });
  UpdateOrderChoice();
}

TSAOrdAdd::~TSAOrdAdd() {
  if (SAOrdAdd == this) SAOrdAdd = nullptr;
}

// The order chosen in the combo box (Null while none is).
Variant TSAOrdAdd::ChosenOrder() const { return DBLookupComboboxZkOrd->KeyValue(); }

// An existing order is chosen only while "Дополнить заказ" is checked.
void TSAOrdAdd::UpdateOrderChoice() { DBLookupComboboxZkOrd->SetEnabled(rbtnCh2->Checked()); }

void TSAOrdAdd::OkClick() {
  const int Kind = rbtnCh1->Checked() ? 1 : 2;
  if (DM->OrderDialogOk(Kind, ChosenOrder())) SetModalResult(mrOk);
}
