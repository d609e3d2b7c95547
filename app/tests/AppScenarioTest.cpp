// AppScenarioTest.cpp - the shop's main flow as one session of the real program on a copy of the
// sample database (offscreen): from the first activation through the catalogue, the orders and
// the price list to the four report previews and the PDF files, each step checked as the user
// sees it, ending with the order printed to a private print server.
#include "app/tests/AppWindowsFixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/AppMessageBoxes.h"
#include "app/AppReports.h"
#include "app/DM_MAIN.h"
#include "app/SA_Find.h"
#include "app/SA_Main.h"
#include "app/SA_OrdAdd.h"
#include "app/SD_LKMRec.h"
#include "app/SampleDatabase.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/printing/tests/CupsFixture.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/CommandOutput.h"
#include "platform/sqlite/ADODB.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrPreviewForm.h"
#include "report/output/vqrPrintDialog.h"

namespace fs = std::filesystem;

namespace {

// One session of the program, as the window tests start it.
using AppScenario = AppWindows;

// The pages a report preview holds and the texts of its first page.
struct TPreviewed {
  int Pages = 0;
  std::string FirstPage;
};

TEST_F(AppScenario, TheMainFlowInOneSession) {
  auto* Reports = dynamic_cast<TAppReports*>(DM->Reports);
  ASSERT_NE(Reports, nullptr);

  // First activation: the data is open, the grids styled, the catalogue focused on А 10-04.
  EXPECT_TRUE(DM->Color->Active());
  EXPECT_TRUE(DM->Ord->Active());
  EXPECT_TRUE(DM->LKMRec->Active());
  EXPECT_TRUE(SAMAIN->DBGridZkColor->Focused());
  EXPECT_FALSE(SAMAIN->DBGridZkColor->Options().Contains(dgEditing));
  EXPECT_TRUE(SAMAIN->DBGridZkOrdTop->Options().Contains(dgEditing));
  EXPECT_EQ(SAMAIN->DBGridZkOrdRec->AllowedOperations(), TDBGridZkAllowedOperations{alopUpdateZk});
  EXPECT_EQ(ColourId(), 9);
  // A second activation (the return from a dialog) changes nothing.
  SAMAIN->FindNameCondition = u"kept";
  SAMAIN->Perform(CM_ACTIVATE, 0, 0);
  EXPECT_EQ(SAMAIN->FindNameCondition, u"kept");
  SAMAIN->FindNameCondition = String();

  // The colour type menu writes the type of the current colour.
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
  SAMAIN->MenuColorNone->Click();
  EXPECT_TRUE(DM->Color->FieldByName(u"lvCOLOR_TP_NM")->AsString().empty());
  SAMAIN->MenuColorExterior->Click();
  EXPECT_EQ(Scalar(u"SELECT COLOR_TP_ID FROM DS_COLOR WHERE ID=1").AsInteger(), 2);

  // A search by name: the navigator stands below the top picture and walks the four hits.
  Click(SAMAIN->CheckBoxNM);
  SimulateTyping(u"к");
  std::vector<int> Visited;
  TPoint Placed;
  String CountLine;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ASSERT_EQ(Form, SAFind);
    Placed = {Form->Left(), Form->Top()};
    CountLine = SAFind->StaticTextCount->Caption();
    for (int I = 0; I < 4; ++I) {
      Click(SAFind->BtnNext);
      Visited.push_back(ColourId());
    }
    Click(SAFind->BtnDone);
  });
  Click(SAMAIN->BtnSearch);
  EXPECT_EQ(CountLine, u"Найдено: 4 записей");
  EXPECT_NEAR(Placed.X, SAMAIN->Left() + SAMAIN->Panel2->Left() + 10, 3);
  EXPECT_NEAR(Placed.Y, SAMAIN->Top() + SAMAIN->ImageTop->Height() + 35, 3);
  EXPECT_EQ(Visited, (std::vector<int>{2, 5, 6, 1}));

  // The same criterion as a filter, then cancelled: every colour is back.
  Click(SAMAIN->BtnFilter);
  EXPECT_EQ(DM->Color->RecordCount(), 4);
  EXPECT_EQ(SAMAIN->ShapeFlt1->Pen()->Color(), kCriterionUsed);
  Click(SAMAIN->BtnCancelFilter);
  EXPECT_FALSE(SAMAIN->CheckBoxNM->Checked());
  EXPECT_EQ(SAMAIN->ShapeFlt1->Pen()->Color(), kCriterionUnused);
  EXPECT_EQ(DM->Color->RecordCount(), 9);

  // Quantity, calculation and the mode switch on К 10-01.
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
  SAMAIN->DBNumberEditZkX->SetFocus();
  SAMAIN->DBNumberEditZkX->SetText(String());
  SimulateTyping(u"12,5");
  Click(SAMAIN->bbtnCalc);
  EXPECT_DOUBLE_EQ(SAMAIN->Quantity().AsDouble(), 12.5);
  EXPECT_DOUBLE_EQ(DM->ColorCost2->FieldByName(u"SUM_AMX")->AsFloat(), 12.5);
  Click(SAMAIN->rbtnCh1);
  EXPECT_EQ(DM->DSColorRec->DataSet(), DM->ColorRec1);
  Click(SAMAIN->rbtnCh2);
  EXPECT_EQ(DM->DSColorRec->DataSet(), DM->ColorRec2);

  // A base chosen in the recipe's list reprices the colour and is posted on leaving the list.
  SAMAIN->DBLookupComboboxZkBase->SetFocus();
  SAMAIN->DBLookupComboboxZkBase->SetKeyValueProp(Variant(2));
  EXPECT_DOUBLE_EQ(DM->Color->FieldByName(u"PRICE1")->AsFloat(), 150);
  SAMAIN->bbtnCalc->SetFocus();
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_COLOR WHERE ID=1").AsDouble(), 150);

  // The colour into a new order: the orders tab comes up with it; then К 12-05 into that
  // order, chosen as the current one in the dialog's list.
  const int Orders = DM->Ord->RecordCount();
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ASSERT_EQ(Form, SAOrdAdd);
    Click(SAOrdAdd->BtnOk);
  });
  Click(SAMAIN->bbtnOrd);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetOrders);
  ASSERT_EQ(DM->Ord->RecordCount(), Orders + 1);
  const int NewOrder = DM->Ord->FieldByName(u"ID")->AsInteger();
  EXPECT_DOUBLE_EQ(DM->OrdTop->FieldByName(u"AM")->AsFloat(), 12.5);

  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetCatalog);
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(2), TLocateOptions()));
  SAMAIN->DBNumberEditZkX->SetValue(Variant(3.0));
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    Click(SAOrdAdd->rbtnCh2);
    SAOrdAdd->DBLookupComboboxZkOrd->SetKeyValueProp(Variant(NewOrder));
    Click(SAOrdAdd->BtnOk);
  });
  Click(SAMAIN->bbtnOrd);
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetOrders);
  EXPECT_EQ(DM->Ord->RecordCount(), Orders + 1);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=" + IntToStr(NewOrder)).AsInteger(), 2);

  // The order colour's amount typed in its grid cell, with a point and with a comma.
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(NewOrder), TLocateOptions()));
  TDBGridZk* Top = SAMAIN->DBGridZkOrdTop;
  for (const char16_t* Typed : {u"12.5", u"12,5"}) {
    DM->OrdTop->First();
    const int Line = DM->OrdTop->FieldByName(u"TID")->AsInteger();
    Top->SetFocus();
    Top->SetCol(3);
    ASSERT_EQ(Top->SelectedField()->FieldName(), u"AM");
    SimulateKeyPress(VK_F2);
    for (int I = 0; I < 8; ++I) SimulateKeyPress(VK_BACK);
    SimulateTyping(Typed);
    SimulateKeyPress(VK_DOWN);
    EXPECT_FALSE(IsDataSetEditing(DM->OrdTop)) << StringToUtf8(Typed);
    EXPECT_EQ(Scalar(u"SELECT AM FROM DR_ORD_TOP WHERE TID=" + IntToStr(Line)).AsDouble(), 12.5)
        << StringToUtf8(Typed);
  }

  // An extra payment joins the order's total, also in the total's box.
  const String TotalShown = SAMAIN->DBNumberEditZkOrdTotal->Text();
  const double Total = SAMAIN->DBNumberEditZkOrdTotal->Field()->AsFloat();
  const double Before = Scalar(u"SELECT COALESCE(SUM(AM*PRICE),0) FROM DR_ORD_REC WHERE ORD_ID=" +
                               IntToStr(NewOrder)).AsDouble();
  DM->OrdRec3->Append();
  DM->OrdRec3->FieldByName(u"COMMENT")->SetAsString(u"Доставка");
  DM->OrdRec3->FieldByName(u"AM")->SetAsFloat(1);
  DM->OrdRec3->FieldByName(u"PRICE")->SetAsFloat(300);
  DM->OrdRec3->Post();
  EXPECT_EQ(DM->OrdRec3->RecordCount(), 1);
  EXPECT_DOUBLE_EQ(Scalar(u"SELECT SUM(AM*PRICE) FROM DR_ORD_REC WHERE ORD_ID=" + IntToStr(NewOrder))
                       .AsDouble(),
                   Before + 300);
  EXPECT_NE(SAMAIN->DBNumberEditZkOrdTotal->Text(), TotalShown);
  EXPECT_DOUBLE_EQ(SAMAIN->DBNumberEditZkOrdTotal->Field()->AsFloat(),
                   Total + 300);

  // The price list: a product edited and added in its dialog, a used one refused for deletion,
  // and the catalogue recalculated from the new prices.
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  ASSERT_TRUE(DM->LKMRec->Locate(u"ID", Variant(2), TLocateOptions()));
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    SDLKMREC->EditLKMRecComment->SetFocus();
    SimulateTyping(u"новая");
    Click(SDLKMREC->BtnApply);
  });
  Click(SAMAIN->ToolButtonLKMEdit);
  EXPECT_EQ(StringToUtf8(Scalar(u"SELECT COMMENT FROM DS_LKM_REC WHERE ID=2").AsString()), "новая");
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    SDLKMREC->EditLKMRecNM->SetText(u"Эмаль новая");
    SDLKMREC->DBLookupComboBoxLKMRec->SetKeyValueProp(Variant(1));
    SDLKMREC->DBNumberEditP1->SetText(u"12,5");
    Click(SDLKMREC->BtnApply);
  });
  SAMAIN->MenuLKMAdd->Click();
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_LKM_REC WHERE NM='Эмаль новая'").AsDouble(), 12.5);
  ASSERT_TRUE(Answerer->Messages.empty()) << Told();
  ASSERT_TRUE(DM->LKMRec->Locate(u"ID", Variant(1), TLocateOptions()));
  Answerer->MessageAnswers = {mrYes, mrOk, mrOk};
  SAMAIN->MenuLKMDelete->Click();
  ASSERT_EQ(Answerer->Messages.size(), 2u) << Told();
  EXPECT_EQ(Answerer->Messages[0].Text, u"Удалить материал ?");
  EXPECT_EQ(StringToUtf8(Answerer->Messages[1].Text).rfind("Невозможно удалить.", 0), 0u);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM_REC WHERE ID=1").AsInteger(), 1);
  Click(SAMAIN->BtnRecalcCatalog);
  ASSERT_EQ(Answerer->Messages.size(), 3u) << Told();
  EXPECT_EQ(Answerer->Messages[2].Text, u"   Каталог   изменен    ");

  // The four previews: a preview window that opens is closed; the report is then prepared as
  // its timer would, and its pages and first-page texts are read.
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
  auto Preview = [&](const std::function<void()>& Command, const String& Name) {
    Command();
    for (int I = Screen->FormCount() - 1; I >= 0; --I)
      if (auto* W = dynamic_cast<TvqrPreviewForm*>(Screen->Forms(I))) W->Close();
    Application->ProcessMessages();
    Reports->PrepareReport(Name, true);
    TvqrReport* R = Reports->Report(Name);
    EXPECT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
    auto* Pages = static_cast<TvqrPreviewPages*>(R->PreviewPages());
    TPreviewed Out{Pages->Count(), {}};
    std::function<void(TvqrXMLItem*)> Walk = [&](TvqrXMLItem* Item) {
      for (int I = 0; I < Item->Count(); ++I) {
        if (Item->Items(I)->PropExists(u"u")) Out.FirstPage += StringToUtf8(Item->Items(I)->Prop(u"u")) + "|";
        Walk(Item->Items(I));
      }
    };
    if (Out.Pages > 0) Walk(Pages->PagesItem()->Items(0));
    return Out;
  };
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  const struct {
    std::function<void()> Command;
    const char16_t* Report;
    std::vector<std::string> Texts;
  } Previews[] = {
      {[] { DM->PreviewOrder(); }, u"vqrRepOrd", {"К 10-01", "Л 10-02", "3\u00A0510"}},
      {[] {
         ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
         DM->Calculate(Variant(10.0));
         DM->PreviewRecipe(TCalcMode::BaseMass, 0);
       },
       u"vqrRepColor", {"К 10-01", "Паста желтая оксидная"}},
      {[] { DM->PreviewColourPriceList(); }, u"vqrRepColorPrice", {"Наименование", "А 10-04"}},
      {[] { DM->PreviewMaterialPriceList(); }, u"vqrRepLKMPrice", {"Эмаль ПФ база A 0,9 кг", "Эмаль новая", "2,7 кг новая"}},
  };
  for (const auto& P : Previews) {
    const TPreviewed Seen = Preview(P.Command, P.Report);
    EXPECT_EQ(Seen.Pages, 1) << StringToUtf8(P.Report);
    for (const std::string& Text : P.Texts)
      EXPECT_NE(Seen.FirstPage.find(Text), std::string::npos) << Text << " in " << Seen.FirstPage;
  }

  // The order and both price lists as PDF files in Report/, readable by other programs.
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrOk); });
  for (int I = 0; I < 3; ++I)
    Answerer->FileAnswers.push_back([](TFileDialogRequest& R) {
      R.Files = {R.FileName};
      return true;
    });
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  const struct {
    String File;
    const char* Text;
  } Files[] = {{DM->ExportOrderPdf(), "Итого по заказу"},
               {DM->ExportColourPriceListPdf(), "Прайс на каталог цвета"},
               {DM->ExportMaterialPriceListPdf(), "Эмаль новая"}};
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_EQ(Answerer->Messages.size(), 3u) << Told();
  for (const auto& F : Files) {
    const std::string Path = StringToUtf8(F.File);
    ASSERT_EQ(fs::path(Path).parent_path(), Dir / "Report");
    int Code = -1;
    CommandOutput("qpdf --check '" + Path + "' 2>&1", &Code);
    EXPECT_EQ(Code, 0) << Path;
    const std::string Text = CommandOutput("pdftotext '" + Path + "' - 2>/dev/null");
    EXPECT_NE(Text.find(F.Text), std::string::npos) << F.Text << " in " << Text;
  }

  // The order printed through its dialog to a private print server's queue.
  TCupsFixture Cups;
  const std::string Why = Cups.Start();
  if (Why == TCupsFixture::Skipped) GTEST_SKIP() << Why;
  ASSERT_TRUE(Why.empty()) << Why;
  PrinterList()->Refresh();
  bool Asked = false;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    if (auto* D = dynamic_cast<TvqrPrintDialog*>(Form)) {
      Asked = true;
      EXPECT_EQ(D->PrintersCB->Text(), u"vorenta-test");
    }
    Form->SetModalResult(mrOk);
  });
  DM->PrintOrder();
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_TRUE(Asked);
  ASSERT_TRUE(Cups.WaitForJobs());
  const std::string Printed = Cups.Output();
  EXPECT_EQ(TCupsFixture::PdfPages(Printed), Reports->Report(u"vqrRepOrd")->PreviewPages()->Count());
  EXPECT_NE(CommandOutput("pdftotext '" + Printed + "' - 2>/dev/null").find("Заказ № 7"), std::string::npos);
}

}  // namespace
