// vqrExportPDFDialogTest.cpp - the PDF export's options dialog and save dialog.
#include "report/output/vqrExportPDFDialogForm.h"

#include <gtest/gtest.h>

#include "PdfFixture.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "report/core/vqrClassReport.h"

namespace {

// Answers the options dialog with Answer (after Change) and the save dialog from File.
struct TAnswers {
  std::function<void(TvqrPDFExportDialog*)> Change;
  TModalResult Answer = mrOk;
  std::vector<TFileDialogRequest> SaveRequests;
};

}  // namespace

TEST(PdfDialog, OptionsAndSaveDialogsFillTheFilter) {
  TPdfFixture Fx;
  auto F = Fx.Filter("");
  F->Report = Fx.Report();
  F->SetShowDialog(true);
  F->SetTitle(u"");
  F->SetDefaultPath(u"/tmp/Report/");
  F->SetFileName(u"Прайс.pdf");
  const char* Look = std::getenv("VORENTA_PDF_DIALOG_PNG");
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    auto* D = dynamic_cast<TvqrPDFExportDialog*>(Form);
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->TitleE->Text(), u"Прайс-лист");     // the report's name
    EXPECT_TRUE(D->CompressedCB->Checked());
    EXPECT_TRUE(D->PrintCB->Checked());
    if (Look) {
      for (int I = 0; I < 4; ++I) {
        D->Pages->SetActivePageIndex(I);
        SaveControlToPng(D, Utf8ToString(std::string(Look) + std::to_string(I) + ".png"));
      }
    }
    D->UserPassE->SetText(u"user");
    D->CopyCB->SetChecked(false);
    D->PageNumbersE->SetText(u"1-2");   // typing chooses the page numbers
    D->HideToolbarCB->SetChecked(true);
    Form->SetModalResult(mrOk);
  });
  auto Answerer = std::make_unique<TTestDialogAnswerer>();
  std::vector<TFileDialogRequest> Seen;
  Answerer->FileAnswers.push_back([&](TFileDialogRequest& R) {
    Seen.push_back(R);
    R.FileName = u"/tmp/Report/Другое.pdf";
    R.Files = {R.FileName};
    return true;
  });
  auto Previous = SetDialogService(std::move(Answerer));
  EXPECT_EQ(F->ShowModal(), mrOk);
  SetDialogService(std::move(Previous));
  TCustomForm::SetModalHookForTests(nullptr);
  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0].InitialDir, u"/tmp/Report/");
  EXPECT_EQ(Seen[0].FileName, u"Прайс.pdf");
  EXPECT_EQ(Seen[0].Filter, u"Файл Adobe PDF (*.pdf)|*.pdf");
  EXPECT_EQ(F->FileName(), u"/tmp/Report/Другое.pdf");
  EXPECT_EQ(F->Title(), u"Прайс-лист");
  EXPECT_EQ(F->UserPassword(), u"user");
  EXPECT_EQ(F->EncBits(), -20);   // print, modify, annotate
  EXPECT_EQ(F->PageNumbers, u"1-2");
  EXPECT_TRUE(F->HideToolbar());
}

TEST(PdfDialog, CancelInEitherDialogCancels) {
  TPdfFixture Fx;
  auto F = Fx.Filter("/tmp/x.pdf");
  F->Report = Fx.Report();
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
  EXPECT_EQ(F->ShowModal(), mrCancel);
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrOk); });
  auto Answerer = std::make_unique<TTestDialogAnswerer>();
  Answerer->FileAnswers.push_back([](TFileDialogRequest&) { return false; });
  auto Previous = SetDialogService(std::move(Answerer));
  EXPECT_EQ(F->ShowModal(), mrCancel);
  SetDialogService(std::move(Previous));
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_EQ(F->FileName(), u"/tmp/x.pdf");   // unchanged
}
