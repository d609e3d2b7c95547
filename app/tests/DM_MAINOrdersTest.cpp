// Tests of the data module's orders, price list, recalculation, reports and refresh on the
// sample database; expected values worked out by hand from app/data/sample.sql.
#include "app/DM_MAIN.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/tests/AppFixture.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/sqlite/ADODB.h"

namespace {

using Orders = AppFixture;
using PriceList = AppFixture;
using Reports_ = AppFixture;
using Refresh = AppFixture;

double F(TDataSet* DataSet, const char16_t* Name) { return DataSet->FieldByName(Name)->AsFloat(); }

// ===== orders =================================================================================

TEST_F(Orders, NumberingFollowsTheHighestNumber) {
  Module->CreateOrder();
  EXPECT_EQ(Module->Ord->FieldByName(u"NUM")->AsInteger(), 8);  // orders 1, 2 and 7
  EXPECT_EQ(Module->Ord->FieldByName(u"DT")->AsDateTime(), Date());
  Exec(u"DELETE FROM DR_ORD");
  Module->CreateOrder();
  EXPECT_EQ(Module->Ord->FieldByName(u"NUM")->AsInteger(), 1);
}

// An order appended in the order grid gets the next number and today's date, as CreateOrder
// gives them; a number typed in is kept.
TEST_F(Orders, OrderAppendedInTheGridIsNumberedAndDated) {
  Module->Ord->Append();
  Module->Ord->FieldByName(u"COMMENT")->SetAsString(u"с витрины");
  Module->Ord->Post();
  EXPECT_EQ(Module->Ord->FieldByName(u"NUM")->AsInteger(), 8);
  EXPECT_EQ(Module->Ord->FieldByName(u"DT")->AsDateTime(), Date());
  Module->Ord->Append();
  Module->Ord->FieldByName(u"NUM")->SetAsInteger(20);
  Module->Ord->Post();
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD WHERE NUM=20").AsInteger(), 1);
}

TEST_F(Orders, PuttingAColourIntoANewOrder) {
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  ASSERT_TRUE(Module->CanPutIntoOrder(Variant(10.0)));
  ASSERT_TRUE(Module->OrderDialogOk(1, Null()));
  EXPECT_EQ(Module->Ord->FieldByName(u"NUM")->AsInteger(), 8);  // the new order is first
  ASSERT_EQ(Module->OrdTop->RecordCount(), 1);
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"AM"), 10);
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"PRICE"), 154);
  EXPECT_EQ(Module->OrdTop->FieldByName(u"RECEPT_ID")->AsInteger(), 0);
  EXPECT_EQ(Scalar(u"SELECT group_concat(AM0 || '=' || AM || '@' || PRICE, ' ') FROM "
                   u"(SELECT * FROM DR_ORD_REC WHERE ORD_ID=(SELECT MAX(ID) FROM DR_ORD) ORDER BY RID)")
                .AsString(),
            u"8.0=8.0@100.0 1.5=1.5@330.0 0.5=0.5@500.0");
  EXPECT_TRUE(Module->OrderLineAutoRecalc);
}

TEST_F(Orders, PuttingIntoAnExistingOrderAddsAnotherOrderColour) {
  GoToColour(3);
  Module->Calculate(Variant(6.0));
  Module->SetCalcMode(TCalcMode::BaseMass);
  Module->RecipeKind = 1;
  ASSERT_TRUE(Module->OrderDialogOk(2, Variant(3)));
  ASSERT_TRUE(Module->OrderDialogOk(2, Variant(3)));
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=3 AND COLOR_ID=3").AsInteger(), 3);
  EXPECT_EQ(Scalar(u"SELECT group_concat(AM || '@' || PRICE || '/' || RECEPT_ID) FROM DR_ORD_TOP "
                   u"WHERE TID > 5").AsString(), u"10.0@121.0/1,10.0@121.0/1");
  EXPECT_EQ(Scalar(u"SELECT SUM(AM) FROM DR_ORD_REC WHERE ORD_TOP_ID > 5").AsDouble(), 20);
}

// Putting a colour into the order on screen shows the new order colour and the new totals at
// once, without moving the cursor.
TEST_F(Orders, PuttingIntoTheCurrentOrderRefreshesItsColoursAndTotals) {
  GoToOrder(3);   // the first order of the list (newest number first)
  const double Before = F(Module->OrdTopSums, u"SAM");
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  ASSERT_TRUE(Module->OrderDialogOk(2, Variant(3)));
  ASSERT_EQ(Module->Ord->FieldByName(u"ID")->AsInteger(), 3);
  EXPECT_EQ(Module->OrdTop->RecordCount(), 3);
  EXPECT_DOUBLE_EQ(F(Module->OrdTopSums, u"SAM"), Before + 10);
  // The order colour on screen and its lines' totals agree with what was written.
  const Integer Top = Module->OrdTop->FieldByName(u"TID")->AsInteger();
  EXPECT_EQ(Module->OrdRec->RecordCount(),
            Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_TOP_ID=" + IntToStr(Top)).AsInteger());
  ASSERT_FALSE(Module->OrdRecSums->IsEmpty());
  EXPECT_DOUBLE_EQ(F(Module->OrdRecSums, u"SAM"),
                   Scalar(u"SELECT SUM(AM) FROM DR_ORD_REC WHERE ORD_TOP_ID=" + IntToStr(Top))
                       .AsDouble());
  EXPECT_DOUBLE_EQ(F(Module->OrdSums, u"SCOST"),
                   Scalar(u"SELECT SUM(PRICE*AM) FROM DR_ORD_REC WHERE ORD_ID=3").AsDouble());
}

// An extra payment whose colour is Null (written by another program) is listed with the order's
// extra payments, as "Стоимость заказа" counts it, and can be deleted.
TEST_F(Orders, ExtraPaymentWithoutColourIsShownAndDeletable) {
  Exec(u"INSERT INTO DR_ORD_REC (ORD_ID,COLOR_ID,AM,PRICE,COMMENT) VALUES (3,NULL,1,50,'Тара')");
  Module->RefreshAllData();
  GoToOrder(3);
  EXPECT_EQ(Module->OrdRec3->RecordCount(), 3);
  ASSERT_TRUE(Module->OrdRec3->Locate(u"COMMENT", Variant(u"Тара"), TLocateOptions()));
  ASSERT_TRUE(Module->DeleteExtraPayment());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE COMMENT='Тара'").AsInteger(), 0);
}

TEST_F(Orders, RefusedPutsWriteNothing) {
  GoToColour(4);
  Module->Calculate(Variant(5.0));
  Module->SetCalcMode(TCalcMode::BaseMass);  // no base line: no cost row
  EXPECT_FALSE(Module->CanPutIntoOrder(Variant(0.0)));
  EXPECT_FALSE(Module->CanPutIntoOrder(Null()));
  EXPECT_FALSE(Module->OrderDialogOk(2, Variant(0)));
  Module->OrderDialogOk(1, Null());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD").AsInteger(), 3);
  ASSERT_EQ(Boxes.size(), 4u);
  EXPECT_EQ(Boxes[0].Text, u"Не указано количество для расчета состава!");
  EXPECT_EQ(Boxes[2].Text, u"Заказ не выбран");
  EXPECT_EQ(Boxes[3].Text,
            u"Для цвета нет расчета состава в этом режиме: цвет не внесен в заказ");
}

TEST_F(Orders, FailedPutLeavesNoHalfOrderAndTheLineRuleOn) {
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  Exec(u"CREATE TRIGGER Full BEFORE INSERT ON DR_ORD_REC BEGIN SELECT RAISE(ABORT, 'disk full'); END");
  EXPECT_THROW(Module->OrderDialogOk(1, Null()), EDatabaseError);
  EXPECT_TRUE(Module->OrderLineAutoRecalc);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD").AsInteger(), 3);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP").AsInteger(), 5);
  EXPECT_EQ(Module->Ord->RecordCount(), 3);
}

TEST_F(Orders, TotalsRepricingAndLineEdits) {
  GoToOrder(3);  // number 7: two colours and two extra payments
  EXPECT_DOUBLE_EQ(F(Module->OrdTopSums, u"SAM"), 20);
  EXPECT_DOUBLE_EQ(F(Module->OrdTopSums, u"SCOST"), 2710);
  EXPECT_DOUBLE_EQ(F(Module->OrdSums, u"SAM"), 22);
  EXPECT_DOUBLE_EQ(F(Module->OrdSums, u"SCOST"), 3510);

  Module->RecalculateOrderPrices();  // the yellow paste now costs 330, not 300
  Module->OrdTop->First();
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"PRICE"), 154.5);
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"cvCOST"), 1545);
  Module->OrdTop->Next();
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"PRICE"), 121);
  EXPECT_DOUBLE_EQ(F(Module->OrdTopSums, u"SCOST"), 2755);
  EXPECT_DOUBLE_EQ(F(Module->OrdSums, u"SCOST"), 3555);
  EXPECT_EQ(Scalar(u"SELECT group_concat(PRICE) FROM DR_ORD_REC WHERE ORD_ID=3 AND COLOR_ID=0")
                .AsString(), u"500.0,300.0");

  Module->OrdTop->First();
  ASSERT_TRUE(Module->OrdRec->Locate(u"LKM_REC_ID", Variant(4), TLocateOptions()));
  Module->OrdRec->Edit();
  Module->OrdRec->FieldByName(u"AM")->SetAsFloat(2);  // 1.5 -> 2
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"AM"), 10.5);
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"PRICE"), 1710 / 10.5);
  EXPECT_DOUBLE_EQ(F(Module->OrdRec, u"cvSum"), 660);
  EXPECT_EQ(Scalar(u"SELECT AM FROM DR_ORD_TOP WHERE TID=1").AsDouble(), 10.5);

  for (Module->OrdRec->First(); !Module->OrdRec->Eof(); Module->OrdRec->Next()) {
    Module->OrdRec->Edit();
    Module->OrdRec->FieldByName(u"AM")->SetAsFloat(0);
  }
  EXPECT_DOUBLE_EQ(F(Module->OrdTop, u"PRICE"), 0);
}

TEST_F(Orders, RepricingUpdatesEveryColourAndKeepsPricesOfProductsWithoutPrice) {
  GoToOrder(2);
  Module->RecalculateOrderPrices();
  std::vector<double> Prices;
  for (Module->OrdTop->First(); !Module->OrdTop->Eof(); Module->OrdTop->Next())
    Prices.push_back(F(Module->OrdTop, u"PRICE"));
  // (160 + 99 + 50) / 2; 80 + 66; 80 + 49.5 + 0.05 * 480 (the product without a price keeps 480)
  EXPECT_EQ(Prices, (std::vector<double>{154.5, 146, 153.5}));
  EXPECT_EQ(Scalar(u"SELECT PRICE FROM DR_ORD_REC WHERE LKM_REC_ID=7").AsDouble(), 480);
}

TEST_F(Orders, FailedRepricingRollsBack) {
  GoToOrder(3);
  Exec(u"CREATE TRIGGER Locked BEFORE UPDATE ON DR_ORD_TOP BEGIN SELECT RAISE(ABORT, 'locked'); END");
  EXPECT_THROW(Module->RecalculateOrderPrices(), EDatabaseError);
  EXPECT_EQ(Scalar(u"SELECT PRICE FROM DR_ORD_REC WHERE ORD_ID=3 AND LKM_REC_ID=4").AsDouble(), 300);
  EXPECT_TRUE(Module->OrderLineAutoRecalc);
}

TEST_F(Orders, ExtraPaymentEditsFollowIntoTheOrderTotal) {
  GoToOrder(3);
  Module->OrdRec3->First();
  Module->OrdRec3->Edit();
  Module->OrdRec3->FieldByName(u"PRICE")->SetAsFloat(700);  // 500 -> 700
  EXPECT_DOUBLE_EQ(F(Module->OrdSums, u"SCOST"), 3710);
  Module->OrdRec3->Append();
  Module->OrdRec3->FieldByName(u"AM")->SetAsFloat(2);  // posts: order and colour 0 filled in
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_ID=3 AND COLOR_ID=0").AsInteger(), 3);
}

TEST_F(Orders, DeletionsAskFirst) {
  GoToOrder(3);
  Answers = {false};
  EXPECT_FALSE(Module->DeleteOrder());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_ID=3").AsInteger(), 8);

  Module->OrdTop->First();
  EXPECT_TRUE(Module->DeleteOrderColour());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_ID=3").AsInteger(), 5);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=3").AsInteger(), 1);

  EXPECT_TRUE(Module->DeleteExtraPayment());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_ID=3").AsInteger(), 4);

  GoToOrder(3);
  EXPECT_TRUE(Module->DeleteOrder());
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_REC WHERE ORD_ID=3").AsInteger(), 0);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=3").AsInteger(), 0);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD WHERE ID=3").AsInteger(), 0);
  const std::vector<String> Questions{u"Удалить заказ?", u"Удалить цвет из заказа?",
                                      u"Удалить строку?", u"Удалить заказ?"};
  ASSERT_EQ(Boxes.size(), Questions.size());
  for (std::size_t I = 0; I < Questions.size(); ++I) EXPECT_EQ(Boxes[I].Text, Questions[I]);
}

// ===== price list =============================================================================

TEST_F(PriceList, AddingAProduct) {
  Module->MaterialDialogMode = 2;
  EXPECT_FALSE(Module->ApplyPriceItemDialog({u"  ", Null(), u"", u"0", u""}));
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[0].Text, u"Не определено наименование");
  EXPECT_EQ(Boxes[1].Text, u"Не определена группа");
  EXPECT_EQ(Module->LKMRec->RecordCount(), 7);

  ASSERT_TRUE(Module->ApplyPriceItemDialog(
      {u" Эмаль НЦ база A ", Variant(1), u"База A (белая)", u"123,5", u"новая"}));
  EXPECT_EQ(Module->LKMRec->RecordCount(), 8);
  EXPECT_EQ(StringToUtf8(Module->LKMRec->FieldByName(u"NM")->AsString()), "Эмаль НЦ база A");
  EXPECT_DOUBLE_EQ(F(Module->LKMRec, u"PRICE1"), 123.5);
  EXPECT_EQ(Module->LKMRec->FieldByName(u"ID")->AsInteger(), 8);
}

TEST_F(PriceList, BadPriceTextChangesNothing) {
  ASSERT_TRUE(Module->LKMRec->Locate(u"ID", Variant(2), TLocateOptions()));
  Module->MaterialDialogMode = 1;
  EXPECT_THROW(Module->ApplyPriceItemDialog({u"Другое имя", Variant(2), u"x", u"12x", u""}),
               EConvertError);
  EXPECT_FALSE(IsDataSetEditing(Module->LKMRec));
  Module->CancelPriceItemDialog();
  Module->LKMRec->Last();
  EXPECT_EQ(StringToUtf8(Scalar(u"SELECT NM FROM DS_LKM_REC WHERE ID=2").AsString()),
            "Эмаль ПФ база A 2,7 кг");
  Module->MaterialDialogMode = 2;
  EXPECT_THROW(Module->ApplyPriceItemDialog({u"Новая", Variant(1), u"База", u"abc", u""}),
               EConvertError);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM_REC").AsInteger(), 7);
}

// A new product without name and group is told so even when its price text is bad too; the
// price error follows, and nothing is added.
TEST_F(PriceList, NoticesOfANewProductComeBeforeThePriceCheck) {
  Module->MaterialDialogMode = 2;
  EXPECT_FALSE(Module->ApplyPriceItemDialog({u"", Null(), u"", u"abc", u""}));
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[1].Text, u"Не определена группа");
  EXPECT_THROW(Module->ApplyPriceItemDialog({u"Новая", Variant(1), u"База", u"abc", u""}),
               EConvertError);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM_REC").AsInteger(), 7);
}

TEST_F(PriceList, EditingAProductPostsAtOnce) {
  ASSERT_TRUE(Module->LKMRec->Locate(u"ID", Variant(4), TLocateOptions()));  // type 2
  Module->MaterialDialogMode = 1;
  const TPriceItemView View = Module->PriceItemDialogView();
  EXPECT_FALSE(View.NameAndGroupEnabled);
  EXPECT_EQ(View.PriceText, u"330");
  ASSERT_TRUE(Module->ApplyPriceItemDialog({View.Name, Variant(View.GroupKey), u"", u"340", u"z"}));
  EXPECT_EQ(Scalar(u"SELECT PRICE1 || ' ' || COMMENT || ' ' || LKM_ID FROM DS_LKM_REC WHERE ID=4")
                .AsString(), u"340.0 z 3");
}

TEST_F(PriceList, DeletingChecksTheMainRecipesOnly) {
  struct {
    int Product;
    bool Deleted;
    const char16_t* Colour;
  } const Cases[] = {{1, false, u"К 10-01"}, {2, false, u"А 10-04"}, {3, true, nullptr},
                     {6, true, nullptr}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Product);
    Boxes.clear();
    ASSERT_TRUE(Module->LKMRec->Locate(u"ID", Variant(C.Product), TLocateOptions()));
    EXPECT_EQ(Module->DeletePriceItem(), C.Deleted);
    EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM_REC WHERE ID=" + IntToStr(C.Product))
                  .AsInteger(), C.Deleted ? 0 : 1);
    ASSERT_EQ(Boxes.size(), C.Deleted ? 1u : 2u);
    EXPECT_EQ(Boxes[0], (TShownBox{TAppBoxKind::Question, u"Удалить материал ?", u"Удаление"}));
    if (!C.Deleted) {
      EXPECT_EQ(Boxes[1], (TShownBox{TAppBoxKind::Notice,
                                     String(u"Невозможно удалить. Запись используется. Цвет: ") +
                                         C.Colour,
                                     u"Удаление"}));
    }
  }
}

TEST_F(PriceList, KeysAreNeverGivenTwice) {
  Exec(u"DELETE FROM DS_LKM_REC WHERE ID=7");
  Module->LKMRec->Close();
  Module->LKMRec->Open();
  Module->MaterialDialogMode = 2;
  ASSERT_TRUE(Module->ApplyPriceItemDialog({u"Новая", Variant(1), u"База", u"1", u""}));
  EXPECT_EQ(Module->LKMRec->FieldByName(u"ID")->AsInteger(), 8);
}

TEST_F(PriceList, RecalculatingTheCataloguePrices) {
  GoToColour(3);
  Module->RecalculateCatalogPrices();
  EXPECT_EQ(Scalar(u"SELECT group_concat(ifnull(PRICE1, 'null'), ' ') FROM "
                   u"(SELECT PRICE1 FROM DS_COLOR ORDER BY ID)").AsString(),
            // 154.5 to even; 66 + 80; 90 (the missing product adds nothing); 165 + 250; ...
            u"154.0 146.0 90.0 415.0 146.0 146.0 100.0 100.0 95.0");
  EXPECT_EQ(Scalar(u"SELECT group_concat(ifnull(PRICE1A, 'null'), ' ') FROM "
                   u"(SELECT PRICE1A FROM DS_COLOR ORDER BY ID)").AsString(),
            u"null null 121.0 null null null null null null");
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_COLOR_COST WHERE COLOR_ID=99").AsInteger(), 0);
  EXPECT_EQ(Module->Color->FieldByName(u"ID")->AsInteger(), 3);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], (TShownBox{TAppBoxKind::Notice, u"   Каталог   изменен    ", u"Ворента"}));
}

TEST_F(PriceList, ColourWithoutProductsGetsANullPrice) {
  Exec(u"UPDATE DS_COLOR_REC SET LKM_REC_ID=0 WHERE COLOR_ID=8");
  Module->RecalculateCatalogPrices();
  EXPECT_TRUE(Scalar(u"SELECT PRICE1 FROM DS_COLOR WHERE ID=8").IsNull());
}

// ===== reports ================================================================================

TEST_F(Reports_, RecipePreviewChoosesTheQueryOfModeAndRecipe) {
  Module->PreviewRecipe(TCalcMode::BaseMass, 1);
  Module->PreviewRecipe(TCalcMode::WholeVolume, 0);
  EXPECT_EQ(Reports.Calls, (std::vector<String>{
                               u"adapter vqrDBDSColorRec=ColorRecA1", u"prepare vqrRepColor clear",
                               u"show vqrRepColor", u"adapter vqrDBDSColorRec=ColorRec2",
                               u"prepare vqrRepColor clear", u"show vqrRepColor"}));
}

TEST_F(Reports_, OrderReportListsMaterialLinesThenEveryExtraPayment) {
  GoToOrder(3);
  Exec(u"INSERT INTO DR_ORD_REC (ORD_ID, COLOR_ID, AM, PRICE) VALUES (3, NULL, 1, 50)");
  Module->PreviewOrder();
  EXPECT_EQ(Module->ROrdRec->RecordCount(), 9);  // the Null-colour payment is there too
  Module->ROrdRec->Last();
  EXPECT_DOUBLE_EQ(F(Module->ROrdRec, u"cvSum"), 50);
}

TEST_F(Reports_, PdfFileNamesAndFolder) {
  GoToOrder(3);
  Module->Ord->Edit();
  Module->Ord->FieldByName(u"NUM")->SetAsInteger(12);
  Module->Ord->FieldByName(u"DT")->SetAsDateTime(EncodeDate(2026, 12, 9));
  Module->Ord->Post();
  const String Folder = Utf8ToString((Dir / "Report").string());
  EXPECT_EQ(Module->ExportOrderPdf(), Folder + u"/№ 12 от 09.12.2026.pdf");
  EXPECT_TRUE(std::filesystem::is_directory(Dir / "Report"));  // made when missing

  TFormatSettings Slashes = TFormatSettings::Russian();
  Slashes.DateSeparator = u'/';
  Slashes.ShortDateFormat = u"dd/MM/yyyy";
  TFormatSettingsScope Scope(Slashes);
  EXPECT_EQ(Module->ExportOrderPdf(), Folder + u"/№ 12 от 09-12-2026.pdf");
  EXPECT_EQ(Module->ExportColourPriceListPdf(),
            Folder + u"/Прайс на каталог цвета от " +
                StringReplace(DateToStr(Date()), u"/", u"-", {rfReplaceAll}) + u".pdf");
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(Reports_, FailedExportIsReportedAndCancelledIsNot) {
  Reports.ExportStatus = TPdfExportResult::psCancelled;
  EXPECT_EQ(Module->ExportMaterialPriceListPdf(), u"");
  EXPECT_TRUE(Boxes.empty());
  Reports.ExportStatus = TPdfExportResult::psFailed;
  EXPECT_EQ(Module->ExportMaterialPriceListPdf(), u"");
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Kind, TAppBoxKind::Error);
  EXPECT_EQ(Boxes[0].Text.substr(0, 25), u"Не удалось сохранить файл");
}

// ===== refresh ================================================================================

TEST_F(Refresh, KeepsEveryDatasetsPosition) {
  GoToColour(3);
  GoToOrder(2);
  Module->OrdTop->Next();  // the second of three order colours
  ASSERT_TRUE(Module->LKMRec->Locate(u"ID", Variant(5), TLocateOptions()));
  Module->RefreshAllData();
  EXPECT_EQ(Module->Color->FieldByName(u"ID")->AsInteger(), 3);
  EXPECT_EQ(Module->Ord->FieldByName(u"ID")->AsInteger(), 2);
  EXPECT_EQ(Module->OrdTop->RecNo(), 2);
  EXPECT_EQ(Module->LKMRec->FieldByName(u"ID")->AsInteger(), 5);

  Exec(u"DELETE FROM DS_LKM_REC WHERE ID=5");  // deleted behind the module's back
  Module->RefreshAllData();
  EXPECT_EQ(Module->LKMRec->RecNo(), 1);
}

TEST_F(Refresh, ReopenKeepPositionStaysInRange) {
  GoToOrder(2);
  Module->OrdTop->Last();
  Exec(u"DELETE FROM DR_ORD_TOP WHERE TID=5");
  ReopenKeepPosition(Module->OrdTop);
  EXPECT_EQ(Module->OrdTop->RecNo(), 2);
  Exec(u"DELETE FROM DR_ORD_TOP");
  EXPECT_NO_THROW(ReopenKeepPosition(Module->OrdTop));
  EXPECT_TRUE(Module->OrdTop->IsEmpty());
}

}  // namespace
