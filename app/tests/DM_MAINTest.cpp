// Tests of the data module on the sample database: costing, base choice, search and filter,
// orders, price list, recalculation, reports and refresh. Expected values are worked out by
// hand from the sample data (app/data/sample.sql).
#include "app/DM_MAIN.h"

#include <gtest/gtest.h>

#include <fstream>

#include <algorithm>
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

using Module_ = AppFixture;

// The values of one field over every row, Null as -1.
std::vector<double> Column(TDataSet* DataSet, const char16_t* FieldName) {
  std::vector<double> Values;
  for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) {
    TField* Field = DataSet->FieldByName(FieldName);
    Values.push_back(Field->IsNull() ? -1 : Field->AsFloat());
  }
  DataSet->First();
  return Values;
}

std::vector<std::string> Names(TDataSet* DataSet, const char16_t* FieldName = u"NM") {
  std::vector<std::string> Values;
  for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
    Values.push_back(StringToUtf8(DataSet->FieldByName(FieldName)->AsString()));
  DataSet->First();
  return Values;
}

double FieldValue(TDataSet* DataSet, const char16_t* FieldName) {
  return DataSet->FieldByName(FieldName)->AsFloat();
}

using Rows = std::vector<double>;

// ===== connection and catalogue ===============================================================

TEST_F(Module_, CatalogueListsColoursWhoseRecipeRoundsToAHundredInRussianOrder) {
  EXPECT_EQ(Names(Module->Color),
            (std::vector<std::string>{"А 10-04", "Ё 10-03", "К 10-01", "К 12-05", "Л 10-02",
                                      "Т 15-20", "К 20-11", "Н 30-01"}));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(Module_, MissingDatabaseShowsTheConnectionBoxOnceAndCreationGoesOn) {
  std::filesystem::current_path(Dir / "DATA");  // no DATA folder below this one
  Boxes.clear();
  TDM Other(nullptr);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], (TShownBox{TAppBoxKind::SystemError,
                                 u"Ошибка подключения к базе данных! \n "
                                 u"Не удаётся открыть файл базы данных: DATA/vorenta.data",
                                 u""}));
  EXPECT_THROW(Other.RefreshAllData(), EDatabaseError);
  std::filesystem::current_path(Dir);
}

// A file that is no database: the box says so on its second line.
TEST_F(Module_, FileThatIsNoDatabaseIsNamedInTheConnectionBox) {
  const std::filesystem::path Other = Dir / "other";
  std::filesystem::create_directories(Other / "DATA");
  std::ofstream(Other / "DATA/vorenta.data") << std::string(2048, 'x');
  std::filesystem::current_path(Other);
  Boxes.clear();
  TDM Module2(nullptr);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, u"Ошибка подключения к базе данных! \n "
                           u"Файл не является базой данных: DATA/vorenta.data");
  std::filesystem::current_path(Dir);
}

// ===== costing ================================================================================

TEST_F(Module_, CostingInBothModes) {
  struct {
    int Colour;
    double Quantity;
    TCalcMode Mode;
    int Recipe;  // 0 main, 1 alternative
    Rows Amounts, Sums;
    double Mass, Cost;
  } const Cases[] = {
      // 80/15/5 at 100/330/500, priced 154 per kilogram
      {1, 10, TCalcMode::WholeVolume, 0, {8, 1.5, 0.5}, {800, 495, 250}, 10, 1540},
      {1, 10, TCalcMode::BaseMass, 0, {10, 1.875, 0.625}, {1000, 618.75, 312.5}, 12.5, 1925},
      {1, 2.5, TCalcMode::WholeVolume, 0, {2, 0.375, 0.125}, {200, 123.75, 62.5}, 2.5, 385},
      // priced 137: the cost is the price per kilogram times the mass, not the line sums
      {2, 2, TCalcMode::WholeVolume, 0, {1.6, 0.4}, {160, 132}, 2, 274},
      // a line whose product is gone: price 0 in whole volume, left out in base mass, while the
      // base-mass total still counts it (9 + 10/90 * 9)
      {3, 10, TCalcMode::WholeVolume, 0, {9, 1}, {900, 0}, 10, 900},
      {3, 9, TCalcMode::BaseMass, 0, {9}, {900}, 10, 900},
      // alternative recipe: reference base first (A = 60), then the other base, then the paste
      {3, 6, TCalcMode::BaseMass, 1, {6, 3, 1}, {600, 360, 250}, 10, 1210},
      {3, 10, TCalcMode::WholeVolume, 1, {6, 3, 1}, {600, 360, 250}, 10, 1210},
      // no base line: nothing in base mass
      {4, 10, TCalcMode::BaseMass, 0, {}, {}, -1, -1},
      // base only: B = 0 divides nothing
      {7, 4, TCalcMode::BaseMass, 0, {4}, {400}, 4, 400},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "colour " << C.Colour << " x " << C.Quantity << " mode "
                                    << int(C.Mode) << " recipe " << C.Recipe);
    GoToColour(C.Colour);
    Module->Calculate(Variant(C.Quantity));
    Module->SetCalcMode(C.Mode);
    TDataSet* Lines = (C.Recipe == 0 ? Module->DSColorRec : Module->DSColorRecA)->DataSet();
    TDataSet* Cost = (C.Recipe == 0 ? Module->DSColorCost : Module->DSColorCostA)->DataSet();
    EXPECT_EQ(Column(Lines, u"AMX"), C.Amounts);
    EXPECT_EQ(Column(Lines, u"SUMX"), C.Sums);
    if (C.Mass < 0) {
      EXPECT_TRUE(Cost->IsEmpty());
      continue;
    }
    EXPECT_DOUBLE_EQ(FieldValue(Cost, u"SUM_AMX"), C.Mass);
    EXPECT_DOUBLE_EQ(FieldValue(Cost, u"SUM_COST"), C.Cost);
  }
}

TEST_F(Module_, SwitchingTheModeShowsTheLastResultsWithoutRecalculating) {
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  const int Runs = Module->ColorRec1->ExecutionCount() + Module->ColorRec2->ExecutionCount();
  Module->SetCalcMode(TCalcMode::BaseMass);
  EXPECT_EQ(Column(Module->DSColorRec->DataSet(), u"AMX"), (Rows{10, 1.875, 0.625}));
  Module->SetCalcMode(TCalcMode::WholeVolume);
  EXPECT_EQ(Column(Module->DSColorRec->DataSet(), u"AMX"), (Rows{8, 1.5, 0.5}));
  EXPECT_EQ(Module->ColorRec1->ExecutionCount() + Module->ColorRec2->ExecutionCount(), Runs);
}

TEST_F(Module_, EmptyQuantityMakesEveryAmountNull) {
  GoToColour(1);
  Module->Calculate(Null());
  EXPECT_EQ(Column(Module->ColorRec2, u"AMX"), (Rows{-1, -1, -1}));
  EXPECT_EQ(Column(Module->ColorCost1, u"SUM_AMX"), (Rows{-1}));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(Module_, BaseShareOfZeroRaisesTheDivisionError) {
  Exec(u"INSERT INTO DS_COLOR (ID,NM,AM,IND,PRICE1) VALUES (10,'Ж 00-00',100,60,1);"
       u"INSERT INTO DS_COLOR_REC (COLOR_ID,LKM_TP_ID,LKM_ID,LKM_REC_ID,AM) VALUES"
       u" (10,1,1,1,0),(10,2,3,4,100)");
  Module->ReopenCatalogue();
  try {
    // The base-mass queries follow the catalogue cursor, so moving there already fails.
    GoToColour(10);
    Module->Calculate(Variant(5.0));
    FAIL() << "no error";
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message().find(u"Division by zero"), String::npos) << StringToUtf8(E.Message());
  }
}

// ===== base choice ============================================================================

TEST_F(Module_, ChoosingTheBaseRewritesTheBaseLineAndThePrice) {
  GoToColour(1);
  Module->Color->Edit();
  Module->Color->FieldByName(u"BASE_ID")->SetAsInteger(2);
  // 0.8 * 95 + 0.15 * 330 + 0.05 * 500 = 150.5, halves to even
  EXPECT_DOUBLE_EQ(FieldValue(Module->Color, u"PRICE1"), 150);
  Module->Color->Post();
  EXPECT_EQ(Scalar(u"SELECT LKM_REC_ID FROM DS_COLOR_REC WHERE COLOR_ID=1 AND LKM_TP_ID=1")
                .AsInteger(), 2);
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_COLOR WHERE ID=1").AsDouble(), 150);
  EXPECT_EQ(Column(Module->ColorRec2, u"PRICE1"), (Rows{95, 330, 500}));

  Module->Color->Edit();
  Module->Color->FieldByName(u"BASE_ID")->Clear();  // no product: the base line has none
  EXPECT_EQ(Scalar(u"SELECT LKM_REC_ID FROM DS_COLOR_REC WHERE COLOR_ID=1 AND LKM_TP_ID=1")
                .AsInteger(), 0);
  EXPECT_DOUBLE_EQ(FieldValue(Module->Color, u"PRICE1"), 74);  // 49.5 + 25 = 74.5, to even
}

TEST_F(Module_, ChoosingAnAlternativeBaseRepricesTheAlternativeRecipe) {
  GoToColour(3);
  Module->Color->Edit();
  Module->Color->FieldByName(u"BASE_ID_A2")->SetAsInteger(1);  // the group-2 line: 120 -> 100
  // 0.1 * 250 + 0.3 * 100 + 0.6 * 100 = 115
  EXPECT_DOUBLE_EQ(FieldValue(Module->Color, u"PRICE1A"), 115);
  EXPECT_EQ(Scalar(u"SELECT LKM_REC_ID FROM DS_COLOR_REC_A WHERE COLOR_ID=3 AND LKM_ID=2")
                .AsInteger(), 1);
}

// ===== search and filter ======================================================================

TCataloguePanel CodePanel(const String& Code) {
  TCataloguePanel Panel;
  Panel.CodeChecked = true;
  Panel.CodeText = Code;
  return Panel;
}

TEST_F(Module_, FilterByCodeTypeAndPrice) {
  TCataloguePanel TypeAndPrice;
  TypeAndPrice.TypeChecked = true;
  TypeAndPrice.TypeKey = Variant(2);
  TypeAndPrice.PriceChecked = true;
  TypeAndPrice.PriceFromText = u"100";
  TypeAndPrice.PriceFromValue = Variant(100.0);
  TCataloguePanel DecimalComma = TypeAndPrice;  // typed "100,5": a value, not SQL text
  DecimalComma.PriceFromText = u"100,5";
  DecimalComma.PriceFromValue = Variant(100.5);
  TCataloguePanel Upper;
  Upper.PriceChecked = true;
  Upper.PriceToText = u"100";
  Upper.PriceToValue = Variant(100.0);
  TCataloguePanel TypeZero;
  TypeZero.TypeChecked = true;
  TypeZero.TypeKey = Variant(0);
  struct {
    const char* Name;
    TCataloguePanel Panel;
    std::vector<std::string> Expected;
  } const Cases[] = {
      {"letter К and first digit 1", CodePanel(u"К 1 -  "), {"К 10-01", "К 12-05"}},
      {"type 2 from 100", TypeAndPrice, {"К 12-05", "К 20-11", "К 21-12"}},
      {"decimal comma", DecimalComma, {"К 12-05"}},
      {"up to 100", Upper, {"Ё 10-03", "А 10-04", "Л 10-02", "К 20-11", "К 21-12", "Н 30-01"}},
      {"a quote typed as code", CodePanel(u"' 1 -  "), {}},
      {"lower case matches", CodePanel(u"к 2 -  "), {"К 20-11", "К 21-12"}},
      {"type 0 adds nothing", TypeZero, {}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Module->FilterCatalogue(C.Panel);
    auto Got = Names(Module->Color);
    if (std::string(C.Name) == "type 0 adds nothing") {
      EXPECT_EQ(Got.size(), 9u);  // the whole table, the 99.99 % colour too
      continue;
    }
    std::sort(Got.begin(), Got.end());
    auto Expected = C.Expected;
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Got, Expected);
  }
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(Module_, FilterKeepsTheCurrentColourAndCancelListsEveryColour) {
  GoToColour(2);
  Module->FilterCatalogue(CodePanel(u"К 1 -  "));
  EXPECT_EQ(Module->Color->FieldByName(u"ID")->AsInteger(), 2);
  Module->CancelCatalogueFilter();
  EXPECT_EQ(Module->Color->RecordCount(), 9);
  EXPECT_EQ(Module->Color->FieldByName(u"ID")->AsInteger(), 2);
}

TEST_F(Module_, FailingFilterRestoresThePreviousCatalogue) {
  TCataloguePanel Panel;
  Panel.PriceChecked = true;
  Panel.PriceFromText = u"1";
  Panel.PriceFromValue = VarArrayOf({Variant(1), Variant(2)});  // a value no SQL can take
  GoToColour(3);
  EXPECT_THROW(Module->FilterCatalogue(Panel), Exception);
  ASSERT_TRUE(Module->Color->Active());
  EXPECT_EQ(Module->Color->RecordCount(), 8);
  EXPECT_EQ(Module->Color->FieldByName(u"ID")->AsInteger(), 3);
}

TEST_F(Module_, SearchFindsTheCodeAmongTheColoursOfTheType) {
  TCataloguePanel Panel = CodePanel(u"  1 -  ");
  Panel.TypeChecked = true;
  Panel.TypeKey = Variant(1);
  EXPECT_EQ(Module->SearchCatalogue(Panel), 3);
  EXPECT_EQ(Names(Module->Color), (std::vector<std::string>{"Ё 10-03", "К 10-01", "Т 15-20"}));
  std::vector<std::string> Visited{StringToUtf8(Module->Color->FieldByName(u"NM")->AsString())};
  for (int I = 0; I < 4; ++I) {
    Module->NextFoundColour();
    Visited.push_back(StringToUtf8(Module->Color->FieldByName(u"NM")->AsString()));
  }
  EXPECT_EQ(Visited, (std::vector<std::string>{"Ё 10-03", "К 10-01", "Т 15-20", "Ё 10-03",
                                               "К 10-01"}));
}

TEST_F(Module_, SearchWithOneOrNoHit) {
  GoToColour(2);
  EXPECT_EQ(Module->SearchCatalogue(CodePanel(u"Л   -  ")), 1);
  EXPECT_EQ(StringToUtf8(Module->Color->FieldByName(u"NM")->AsString()), "Л 10-02");
  EXPECT_EQ(Module->SearchCatalogue(CodePanel(u"Я   -  ")), 0);
  EXPECT_EQ(StringToUtf8(Module->Color->FieldByName(u"NM")->AsString()), "Л 10-02");
  TCataloguePanel Off;  // code criterion off: a silent stop
  Off.CodeText = u"К   -  ";
  EXPECT_EQ(Module->SearchCatalogue(Off), 0);
  EXPECT_TRUE(Boxes.empty());
  Off.CodeText = u"";
  EXPECT_EQ(Module->SearchCatalogue(Off), 0);
  EXPECT_EQ(Boxes, (std::vector<TShownBox>{{TAppBoxKind::Notice, u"Не задано условие поиска",
                                            u"П о и с к"}}));
}

}  // namespace
