// DM_MAINOrders.cpp - the data module's orders: numbering, putting colours into orders, the
// totals of order colours, repricing and deletions.
#include "app/DM_MAIN.h"

#include "app/AppDialogs.h"
#include "app/DM_MAIN_p.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/sqlite/ADODB.h"

using namespace dm_detail;

namespace {

const char16_t kNoQuantity[] = u"Не указано количество для расчета состава!";
const char16_t kNoOrderChosen[] = u"Заказ не выбран";
const char16_t kNoCostRow[] =
    u"Для цвета нет расчета состава в этом режиме: цвет не внесен в заказ";

// Restores a flag when the scope ends, whatever ends it.
class TFlagGuard {
public:
  TFlagGuard(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { Flag = Value; }
  ~TFlagGuard() { FFlag = FSaved; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& FFlag;
  bool FSaved;
};

Integer NextOrderNumber(TDataSet* QOrd) {
  Reopen({QOrd});
  if (QOrd->IsEmpty()) return 1;
  return QOrd->FieldByName(u"MaxNum")->AsInteger() + 1;  // Null counts as 0
}

void SetAverage(TDataSet* OrdTop, TDataSet* Sums) {
  const double Amount = Sums->FieldByName(u"SAM")->AsFloat();
  const double Cost = Sums->FieldByName(u"SCOST")->AsFloat();
  OrdTop->Edit();
  OrdTop->FieldByName(u"AM")->SetAsFloat(Amount);
  OrdTop->FieldByName(u"PRICE")->SetAsFloat(Amount == 0 ? 0.0 : Cost / Amount);
  OrdTop->Post();
}

}  // namespace

// An order appended anywhere (the order grid too) is numbered and dated as CreateOrder does.
void TDM::WireOrderNumbering() {
  Ord->SetBeforePost([this](TDataSet* D) {
    if (D->State() != dsInsert) return;
    if (D->FieldByName(u"NUM")->IsNull())
      D->FieldByName(u"NUM")->SetAsInteger(NextOrderNumber(QOrd));
    if (D->FieldByName(u"DT")->IsNull()) D->FieldByName(u"DT")->SetAsDateTime(Date());
  });
}

void TDM::CreateOrder() {
  const Integer Number = NextOrderNumber(QOrd);
  Ord->Append();
  Ord->FieldByName(u"DT")->SetAsDateTime(Date());
  Ord->FieldByName(u"NUM")->SetAsInteger(Number);
  Ord->Post();
}

bool TDM::CanPutIntoOrder(const Variant& Quantity) {
  const bool Given = !Quantity.IsNull() && !Quantity.IsEmpty() && Quantity.AsDouble() > 0;
  if (!Given) ShowNotice(kNoQuantity, String());
  return Given;
}

bool TDM::OrderDialogOk(int Kind, const Variant& OrderKey) {
  if (Kind == 1) {
    AddColourToOrder(1, 0);
    return true;
  }
  const Integer Key = KeyOrZero(OrderKey);
  if (Key <= 0) {
    ShowNotice(kNoOrderChosen, String());
    return false;
  }
  AddColourToOrder(2, Key);
  return true;
}

void TDM::AddColourToOrder(int Kind, Integer OrderId) {
  TDataSet* Cost = (RecipeKind == 0 ? DSColorCost : DSColorCostA)->DataSet();
  TDataSet* Lines = (RecipeKind == 0 ? DSColorRec : DSColorRecA)->DataSet();
  if (!Cost->Active() || Cost->IsEmpty()) {
    ShowNotice(kNoCostRow, String());
    return;
  }
  TFlagGuard Guard(OrderLineAutoRecalc, false);
  try {
    RunInTransaction(Connection, {OrdRec, OrdTop, Ord}, [&] {
      if (Kind == 1) {
        CreateOrder();
      } else if (!Ord->Locate(u"ID", Variant(OrderId), TLocateOptions())) {
        return;
      }
      const Variant OrdId = Ord->FieldByName(u"ID")->Value();
      OrdTop->Append();
      OrdTop->FieldByName(u"ORD_ID")->SetValue(OrdId);
      OrdTop->FieldByName(u"COLOR")->SetValue(Color->FieldByName(u"COLOR")->Value());
      OrdTop->FieldByName(u"COLOR_ID")->SetAsInteger(Color->FieldByName(u"ID")->AsInteger());
      OrdTop->FieldByName(u"PRICE")->SetAsFloat(
          Color->FieldByName(RecipeKind == 0 ? u"PRICE1" : u"PRICE1A")->AsFloat());
      OrdTop->FieldByName(u"AM")->SetAsFloat(Cost->FieldByName(u"SUM_AMX")->AsFloat());
      OrdTop->FieldByName(u"RECEPT_ID")->SetAsInteger(RecipeKind);
      OrdTop->Post();
      const Variant TopId = OrdTop->FieldByName(u"TID")->Value();
      for (Lines->First(); !Lines->Eof(); Lines->Next()) {
        OrdRec->Append();
        OrdRec->FieldByName(u"ORD_ID")->SetValue(OrdId);
        OrdRec->FieldByName(u"ORD_TOP_ID")->SetValue(TopId);
        for (const char16_t* Name : {u"COLOR_ID", u"LKM_ID", u"LKM_REC_ID"})
          OrdRec->FieldByName(Name)->SetAsInteger(Lines->FieldByName(Name)->AsInteger());
        const double Amount = Lines->FieldByName(u"AMX")->AsFloat();
        OrdRec->FieldByName(u"AM0")->SetAsFloat(Amount);
        OrdRec->FieldByName(u"AM")->SetAsFloat(Amount);
        OrdRec->FieldByName(u"PRICE")->SetAsFloat(Lines->FieldByName(u"PRICE1")->AsFloat());
        OrdRec->Post();
      }
    });
  } catch (...) {
    // The rolled-back rows must not stay on screen.
    Reopen({Ord, OrdTop, OrdRec, OrdTopSums, OrdSums});
    throw;
  }
  // The order may be the one shown before: its details do not re-run on their own when the
  // order list comes back to the same key, so they are reopened here, masters first.
  Reopen({Ord});
  Ord->First();
  Reopen({OrdTop, OrdRec, OrdRec3, OrdTopSums, OrdSums, OrdRecSums});
}

void TDM::ReopenOrderTotals() { Reopen({OrdTopSums, OrdSums, OrdRecSums}); }

void TDM::UpdateOrderColourTotals() {
  ReopenOrderTotals();
  if (OrdRecSums->IsEmpty()) return;
  SetAverage(OrdTop, OrdRecSums);
}

void TDM::RecalculateOrderPrices() {
  TFlagGuard Guard(OrderLineAutoRecalc, OrderLineAutoRecalc);
  try {
    RunInTransaction(Connection, {OrdTop}, [&] {
      CRecalcOrdPrice->Parameters()->ParamByName(u"OrdId")->SetValue(
          Ord->FieldByName(u"ID")->Value());
      CRecalcOrdPrice->SetPrepared(true);
      CRecalcOrdPrice->Execute();
      ReopenOrderTotals();
      Reopen({OrdRec});
      for (OrdTop->First(); !OrdTop->Eof(); OrdTop->Next())
        if (!OrdRecSums->IsEmpty()) SetAverage(OrdTop, OrdRecSums);
    });
  } catch (...) {
    Reopen({OrdTop, OrdRec, OrdTopSums, OrdSums, OrdRecSums});
    throw;
  }
  Reopen({OrdTop});
}

bool TDM::DeleteOrderColour() {
  if (!AskYesNo(u"Удалить цвет из заказа?", String())) return false;
  RunInTransaction(Connection, {OrdTop}, [&] {
    COrdRecColorDel->Parameters()->ParamByName(u"OrdTopId")->SetValue(
        OrdTop->FieldByName(u"TID")->Value());
    COrdRecColorDel->SetPrepared(true);
    COrdRecColorDel->Execute();
    OrdTop->Delete();
  });
  Reopen({OrdRec, OrdTopSums, OrdSums});
  return true;
}

bool TDM::DeleteOrder() {
  if (!AskYesNo(u"Удалить заказ?", String())) return false;
  RunInTransaction(Connection, {Ord}, [&] {
    const Variant Id = Ord->FieldByName(u"ID")->Value();
    for (TADOCommand* Command : {COrdRecDel, COrdTopDel}) {
      Command->Parameters()->ParamByName(u"OrdId")->SetValue(Id);
      Command->SetPrepared(true);
      Command->Execute();
    }
    Ord->Delete();
  });
  Reopen({OrdTop, OrdRec, OrdRec3});
  return true;
}

bool TDM::DeleteExtraPayment() {
  if (!AskYesNo(u"Удалить строку?", String())) return false;
  OrdRec3->Delete();
  return true;
}
