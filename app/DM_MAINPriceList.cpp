// DM_MAINPriceList.cpp - the data module's price list: the product dialog's data side, the
// deletion with its use check and the catalogue price recalculation.
#include "app/DM_MAIN.h"

#include "app/AppDialogs.h"
#include "app/DM_MAIN_p.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/sqlite/ADODB.h"

using namespace dm_detail;

TPriceItemView TDM::PriceItemDialogView() const {
  TPriceItemView View;
  if (MaterialDialogMode != 1) {
    View.PriceText = u"0";
    return View;
  }
  View.Name = LKMRec->FieldByName(u"NM")->AsString();
  View.GroupKey = LKMRec->FieldByName(u"LKM_ID")->AsInteger();
  View.PriceText = VarToStr(LKMRec->FieldByName(u"PRICE1")->Value());
  View.Remark = LKMRec->FieldByName(u"COMMENT")->AsString();
  View.NameAndGroupEnabled = LKMRec->FieldByName(u"LKM_TP_ID")->AsInteger() == 1;
  return View;
}

bool TDM::ApplyPriceItemDialog(const TPriceItemInput& Input) {
  // The price is read before anything changes, so a bad text leaves the price list untouched;
  // a new product's missing name and group are told first.
  if (MaterialDialogMode == 1) {
    const double Price = StrToFloat(Input.PriceText);
    LKMRec->Edit();
    LKMRec->FieldByName(u"NM")->SetAsString(Trim(Input.Name));
    LKMRec->FieldByName(u"LKM_ID")->SetAsInteger(KeyOrZero(Input.GroupKey));
    LKMRec->FieldByName(u"PRICE1")->SetAsFloat(Price);   // posts
    LKMRec->FieldByName(u"COMMENT")->SetAsString(Input.Remark);  // posts again
    return true;
  }
  bool Complete = true;
  if (Trim(Input.Name).empty()) {
    ShowNotice(u"Не определено наименование", String());
    Complete = false;
  }
  if (Trim(Input.GroupText).empty()) {
    ShowNotice(u"Не определена группа", String());
    Complete = false;
  }
  if (!Complete) return false;
  const double Price = StrToFloat(Input.PriceText);
  LKMRec->Append();
  LKMRec->FieldByName(u"NM")->SetAsString(Trim(Input.Name));
  LKMRec->FieldByName(u"LKM_TP_ID")->SetAsInteger(1);
  LKMRec->FieldByName(u"LKM_ID")->SetAsInteger(KeyOrZero(Input.GroupKey));
  LKMRec->FieldByName(u"PRICE1")->SetAsFloat(Price);
  LKMRec->FieldByName(u"COMMENT")->SetAsString(Input.Remark);
  const Variant Id = LKMRec->FieldByName(u"ID")->Value();
  Reopen({LKMRec});
  LKMRec->Locate(u"ID", Id, TLocateOptions());
  return true;
}

void TDM::CancelPriceItemDialog() {
  MaterialDialogMode = 0;
  if (LKMRec->Active() && IsDataSetEditing(LKMRec)) LKMRec->Cancel();
}

bool TDM::DeletePriceItem() {
  if (!AskYesNo(u"Удалить материал ?", u"Удаление")) return false;
  IsLKMRec->Close();
  IsLKMRec->Parameters()->ParamByName(u"LKMRecID")->SetValue(
      LKMRec->FieldByName(u"ID")->Value());
  IsLKMRec->Open();
  const bool Used = !IsLKMRec->IsEmpty();
  if (Used)
    ShowNotice(u"Невозможно удалить. Запись используется. Цвет: " +
                   IsLKMRec->FieldByName(u"COLOR_NM")->AsString(),
               u"Удаление");
  else
    LKMRec->Delete();
  IsLKMRec->Close();
  return !Used;
}

void TDM::RecalculateCatalogPrices() {
  RunInTransaction(Connection, {}, [&] {
    for (TADOCommand* Command : {CColorCostDelRecs, CColorCostAppendRecs, CColorCostUpdatePrice,
                                 CColorCostDelRecsA, CColorCostAppendRecsA,
                                 CColorCostUpdatePriceA})
      Command->Execute();
  });
  ReopenCatalogue();
  ShowNotice(u"   Каталог   изменен    ", u"Ворента");
}
