// SA_OrdAdd.h - TSAOrdAdd, "В заказ": puts the current catalogue colour into a new order or into
// one chosen from the order list.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/rtl/Variant.h"

class TButton;
class TRadioButton;
class TDBLookupComboboxZk;

class TSAOrdAdd : public TForm {
  VORENTA_CLASS(TSAOrdAdd, TForm)
public:
  explicit TSAOrdAdd(TComponent* AOwner);
  ~TSAOrdAdd() override;

  TRadioButton* rbtnCh1 = nullptr;   // "Создать новый заказ"
  TRadioButton* rbtnCh2 = nullptr;   // "Дополнить заказ"
  TButton* BtnOk = nullptr;
  TButton* BtnCancel = nullptr;
  TDBLookupComboboxZk* DBLookupComboboxZkOrd = nullptr;   // an existing order, by its number

  // The order chosen for "Дополнить заказ" (Null when none): the order combo box's key.
  Variant ChosenOrder() const;

private:
  void OkClick();
  void UpdateOrderChoice();
};

extern TSAOrdAdd* SAOrdAdd;
