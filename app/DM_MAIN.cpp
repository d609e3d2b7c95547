// DM_MAIN.cpp - the data module's creation (its form, the connection), the rules of its
// fields and the refresh operations.
#include "app/DM_MAIN.h"

#include <exception>
#include <functional>

#include <algorithm>
#include <vector>

#include "app/AppDialogs.h"
#include "app/AppForms.h"
#include "app/DM_MAIN_p.h"
#include "app/Uf_data.h"
#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/classes/Strings.h"
#include "platform/db/DBRegister.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/sqlite/ADODB.h"

TDM* DM = nullptr;

REGISTER_CLASS(TDM) {}

namespace {

const char kFormResource[] = "forms/DM_MAIN.dfm";

// The connection string the module always uses, whatever its form holds: the database file is
// DATA/vorenta.data under the working directory. The other parts are the old provider's and
// are kept as they were written.
String BuiltInConnectionString() {
  const String Tabs = u"\t\t\t\t\t";
  return u"Provider=Microsoft.Jet.OLEDB.4.0;" u"User ID=Admin; " + Tabs +
         u"Data Source=DATA/vorenta.data;" u"Mode=ReadWrite; " u"Extended Properties=;" + Tabs +
         u"Jet OLEDB:System database=;" + Tabs + u"Jet OLEDB:Registry Path=; " + Tabs +
         u"Jet OLEDB:Database Password=mirthalzuven;" + Tabs + u"Jet OLEDB:Engine Type=5;" +
         Tabs + u"Jet OLEDB:Database Locking Mode=1;" + Tabs +
         u"Jet OLEDB:Global Partial Bulk Ops=2;" + Tabs +
         u"Jet OLEDB:Global Bulk Transactions=1;" + Tabs + u"Jet OLEDB:New Database Password=;" +
         Tabs + u"Jet OLEDB:Create System Database=False;" + Tabs +
         u"Jet OLEDB:Encrypt Database=False;" + Tabs +
         u"Jet OLEDB:Don't Copy Locale on Compact=False;" + Tabs +
         u"Jet OLEDB:Compact Without Replica Repair=False;" u"Jet OLEDB:SFP=False";
}

const char16_t kConnectionFailed[] = u"Ошибка подключения к базе данных! \n ";

// Opens the lookup datasets of DataSet's lookup fields, so that they open with it.
void OpenLookupDataSets(TDataSet* DataSet) {
  for (TField* Field : *DataSet->Fields()) {
    TDataSet* Lookup = Field->Lookup() ? Field->LookupDataSet() : nullptr;
    if (Lookup && !Lookup->Active()) Lookup->Open();
  }
}

}  // namespace

void RegisterAppClasses() {
  RegisterDBClasses();
  RegisterMemTableClasses();
  RegisterDataDriverClasses();
  RegisterClasses({TADOConnection::ClassInfo(), TADOQuery::ClassInfo(),
                   TADOCommand::ClassInfo(), TDM::ClassInfo()});
}

// ===== creation ===============================================================================

TDM::TDM(TComponent* AOwner) : TComponent(AOwner) {
  RegisterAppClasses();
  ReadForm();
  FindComponents();
  WireRules();
  WireCalculatedFields();
  SetQuantityParams(Variant(0.0), false);
  Connect();
}

TDM::~TDM() {
  Destroying();
  DestroyComponents();
  if (DM == this) DM = nullptr;
}

void TDM::ReadForm() { ReadAppForm(this, kFormResource); }

#define VORENTA_FIND(N) VORENTA_FORM_FIND(this, N)

void TDM::FindComponents() {
  VORENTA_FIND(Connection);
  VORENTA_FIND(Color); VORENTA_FIND(ColorFind); VORENTA_FIND(RepColor);
  VORENTA_FIND(ColorRec1); VORENTA_FIND(ColorRec2); VORENTA_FIND(ColorRecA1);
  VORENTA_FIND(ColorRecA2); VORENTA_FIND(ColorCost1); VORENTA_FIND(ColorCost2);
  VORENTA_FIND(ColorCostA1); VORENTA_FIND(ColorCostA2);
  VORENTA_FIND(QColorPrice); VORENTA_FIND(QColorPriceA);
  VORENTA_FIND(luCOLOR_TP); VORENTA_FIND(luLKM); VORENTA_FIND(luLKM_TP); VORENTA_FIND(luColor);
  VORENTA_FIND(luLKMRecAll); VORENTA_FIND(luLKMRecBase); VORENTA_FIND(luLKMRecBaseA1);
  VORENTA_FIND(luLKMRecBaseA2); VORENTA_FIND(luLKMBase); VORENTA_FIND(luLKM3);
  VORENTA_FIND(LKM_TP); VORENTA_FIND(LKMRec); VORENTA_FIND(IsLKMRec);
  VORENTA_FIND(Ord); VORENTA_FIND(QOrd); VORENTA_FIND(OrdTop); VORENTA_FIND(OrdRec);
  VORENTA_FIND(OrdRec3); VORENTA_FIND(OrdRecSums); VORENTA_FIND(OrdTopSums);
  VORENTA_FIND(OrdSums); VORENTA_FIND(ROrdRec);
  VORENTA_FIND(CLkmRecSet); VORENTA_FIND(CLkmRecSetA1); VORENTA_FIND(CLkmRecSetA2);
  VORENTA_FIND(CColorCostDelRecs); VORENTA_FIND(CColorCostAppendRecs);
  VORENTA_FIND(CColorCostUpdatePrice); VORENTA_FIND(CColorCostDelRecsA);
  VORENTA_FIND(CColorCostAppendRecsA); VORENTA_FIND(CColorCostUpdatePriceA);
  VORENTA_FIND(COrdRecColorDel); VORENTA_FIND(COrdRecDel); VORENTA_FIND(COrdTopDel);
  VORENTA_FIND(CRecalcOrdPrice);
  VORENTA_FIND(DSColor); VORENTA_FIND(DSColorRec); VORENTA_FIND(DSColorRecA);
  VORENTA_FIND(DSColorCost); VORENTA_FIND(DSColorCostA); VORENTA_FIND(DSluCOLOR_TP);
  VORENTA_FIND(DSluLKMBase); VORENTA_FIND(DSLKMRec); VORENTA_FIND(DSOrd); VORENTA_FIND(DSOrdTop);
  VORENTA_FIND(DSOrdRec); VORENTA_FIND(DSOrdRec3); VORENTA_FIND(DSOrdTopSums);
  VORENTA_FIND(DSOrdSums); VORENTA_FIND(DSLKM_TP);
}

#undef VORENTA_FIND

void TDM::Connect() {
  Connection->SetConnected(false);
  Connection->SetConnectionString(BuiltInConnectionString());
  try {
    Connection->SetConnected(true);
  } catch (const Exception& E) {
    // Start-up goes on without a database: every dataset then fails to open with the
    // provider's own error, which the exception display shows. The reason (naming the file)
    // follows on the box's second line.
    ShowSystemError(kConnectionFailed + E.Message(), String());
    return;
  }
  if (Connection->ReadOnly())
    ShowNotice(u"Файл базы данных открыт только для чтения: изменения не будут сохранены",
               String());
}

// ===== field rules ============================================================================

void TDM::AutoPost(TDataSet* DataSet, const char16_t* FieldName, std::function<void()> After) {
  DataSet->FieldByName(FieldName)->SetOnChange([DataSet, After](TField*) {
    DataSet->Post();
    DataSet->Edit();
    if (After) After();
  });
}

void TDM::WireRules() {
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* DataSet = dynamic_cast<TDataSet*>(Components(I)))
      DataSet->SetBeforeOpen(OpenLookupDataSets);

  Color->SetAfterScroll([this](TDataSet* D) {
    if (OnColourSwatch) OnColourSwatch(D->FieldByName(u"COLOR")->Value());
  });

  TField* BaseId = Color->FieldByName(u"BASE_ID");
  TField* BaseIdA1 = Color->FieldByName(u"BASE_ID_A1");
  TField* BaseIdA2 = Color->FieldByName(u"BASE_ID_A2");
  BaseId->SetOnChange([this](TField* F) {
    OnBaseChange(CLkmRecSet, ColorRec1, ColorRec2, QColorPrice, u"PRICE1", F);
  });
  BaseIdA1->SetOnChange([this](TField* F) {
    OnBaseChange(CLkmRecSetA1, ColorRecA1, ColorRecA2, QColorPriceA, u"PRICE1A", F);
  });
  BaseIdA2->SetOnChange([this](TField* F) {
    OnBaseChange(CLkmRecSetA2, ColorRecA1, ColorRecA2, QColorPriceA, u"PRICE1A", F);
  });

  auto LineRule = [this](TField*) {
    if (!OrderLineAutoRecalc) return;
    OrdRec->Post();
    OrdRec->Edit();
    UpdateOrderColourTotals();
  };
  OrdRec->FieldByName(u"AM")->SetOnChange(LineRule);
  OrdRec->FieldByName(u"PRICE")->SetOnChange(LineRule);
  OrdRec->SetBeforePost([this](TDataSet* D) {
    if (D->FieldByName(u"ORD_ID")->IsNull())
      D->FieldByName(u"ORD_ID")->SetValue(Ord->FieldByName(u"ID")->Value());
    if (D->FieldByName(u"ORD_TOP_ID")->IsNull())
      D->FieldByName(u"ORD_TOP_ID")->SetValue(OrdTop->FieldByName(u"TID")->Value());
  });

  auto ReopenOrdSums = [this] { dm_detail::Reopen({OrdSums}); };
  AutoPost(OrdRec3, u"AM", ReopenOrdSums);
  AutoPost(OrdRec3, u"PRICE", ReopenOrdSums);
  AutoPost(OrdRec3, u"lvLKM_NM");
  AutoPost(OrdRec3, u"COMMENT");
  OrdRec3->SetBeforePost([this](TDataSet* D) {
    if (D->FieldByName(u"ORD_ID")->IsNull())
      D->FieldByName(u"ORD_ID")->SetValue(Ord->FieldByName(u"ID")->Value());
    if (D->FieldByName(u"COLOR_ID")->IsNull()) D->FieldByName(u"COLOR_ID")->SetAsInteger(0);
  });

  for (const char16_t* Name : {u"COMMENT", u"PRICE1", u"PRICE2", u"PRICE3"})
    AutoPost(LKMRec, Name);
  WireOrderNumbering();
}

// The fields are the form's persistent ones, which live as long as their datasets: they are
// looked up here once, not for every record. A Null amount or price reads as 0.
void TDM::WireCalculatedFields() {
  struct TCostFields {
    TField* Amount;
    TField* Price;
    TField* Cost;
  };
  auto CostFieldsOf = [](TDataSet* D, const char16_t* CostName) {
    return TCostFields{D->FieldByName(u"AM"), D->FieldByName(u"PRICE"), D->FieldByName(CostName)};
  };
  const TCostFields Top = CostFieldsOf(OrdTop, u"cvCOST");
  OrdTop->SetOnCalcFields([Top](TDataSet*) {
    Top.Cost->SetAsFloat(RoundToDigits(Top.Amount->AsFloat() * Top.Price->AsFloat(), 2));
  });
  for (TADOQuery* Lines : {OrdRec, OrdRec3, ROrdRec}) {
    const TCostFields Line = CostFieldsOf(Lines, u"cvSum");
    Lines->SetOnCalcFields([Line](TDataSet*) {
      Line.Cost->SetAsFloat(Line.Amount->AsFloat() * Line.Price->AsFloat());
    });
  }
}

// ===== refresh ================================================================================

bool IsDataSetEditing(TDataSet* Query) {
  return Query->State() == dsEdit || Query->State() == dsInsert;
}

namespace {

// Opens Query, or reopens it at record number RecNo (its last row when it has fewer).
void ReopenAtRecNo(TDataSet* Query, int RecNo) {
  if (!Query->Active()) {
    Query->Open();
    return;
  }
  dm_detail::Reopen({Query});
  if (RecNo > 1 && !Query->IsEmpty()) Query->SetRecNo(std::min(RecNo, Query->RecordCount()));
}

int RecNoOf(TDataSet* Query) { return Query->Active() ? Query->RecNo() : 0; }

}  // namespace

void ReopenKeepPosition(TDataSet* Query) { ReopenAtRecNo(Query, RecNoOf(Query)); }

void ReopenKeepKey(TDataSet* DataSet) {
  if (!DataSet->Active()) {
    dm_detail::Reopen({DataSet});
    return;
  }
  const Integer Id = DataSet->FieldByName(u"ID")->AsInteger();
  dm_detail::Reopen({DataSet});
  DataSet->Locate(u"ID", Variant(Id), TLocateOptions());
}

// The details' record numbers are read before their masters are reopened: reopening a master
// runs its details again from their first row.
void TDM::RefreshAllData() {
  const std::vector<TDataSet*> ColourDetails{ColorRec1,   ColorRec2,   ColorCost1, ColorCost2,
                                             ColorRecA1,  ColorRecA2,  ColorCostA1,
                                             ColorCostA2, luCOLOR_TP,  luLKMBase};
  const std::vector<TDataSet*> OrderDetails{OrdTop, OrdRec, OrdRec3, OrdTopSums, OrdSums,
                                            OrdRecSums};
  std::vector<int> ColourPositions, OrderPositions;
  for (TDataSet* Query : ColourDetails) ColourPositions.push_back(RecNoOf(Query));
  for (TDataSet* Query : OrderDetails) OrderPositions.push_back(RecNoOf(Query));

  // Each tab's data is reopened on its own: a part of the file that cannot be read (a damaged
  // table) fails its tab while the others open; the first error is raised at the end.
  std::exception_ptr First;
  auto Step = [&First](const std::function<void()>& Reopen) {
    try {
      Reopen();
    } catch (const Exception&) {
      if (!First) First = std::current_exception();
    }
  };
  Step([&] {
    ReopenKeepKey(Color);
    for (std::size_t I = 0; I < ColourDetails.size(); ++I)
      ReopenAtRecNo(ColourDetails[I], ColourPositions[I]);
  });
  Step([&] {
    ReopenKeepKey(Ord);
    for (std::size_t I = 0; I < OrderDetails.size(); ++I)
      ReopenAtRecNo(OrderDetails[I], OrderPositions[I]);
  });
  Step([&] { ReopenKeepKey(LKMRec); });
  if (First) std::rethrow_exception(First);
}

void TDM::ReopenCatalogue() { ReopenKeepKey(Color); }

// ===== base choice ============================================================================

void TDM::OnBaseChange(TADOCommand* Command, TADOQuery* RecA, TADOQuery* RecB, TADOQuery* Price,
                       const char16_t* PriceField, TField* BaseField) {
  Command->Parameters()->ParamByName(u"ColorID")->SetValue(
      Color->FieldByName(u"ID")->Value());
  Command->Parameters()->ParamByName(u"LkmRecID")->SetValue(
      Variant(BaseField->IsNull() ? 0 : BaseField->AsInteger()));
  Command->SetPrepared(true);
  Command->Execute();
  dm_detail::Reopen({RecA, RecB, Price});
  Color->FieldByName(PriceField)->SetValue(Price->FieldByName(u"PRICE1")->Value());
}
