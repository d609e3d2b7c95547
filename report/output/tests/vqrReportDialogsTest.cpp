// vqrReportDialogsTest.cpp - the print dialog, the page-settings dialog and the find dialog,
// answered through the modal hook and the test dialog service.
#include <gtest/gtest.h>

#include <functional>

#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/UpDown.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPassw.h"
#include "report/output/vqrPreviewPageSettings.h"
#include "report/output/vqrPrintDialog.h"
#include "report/output/vqrSearchDialog.h"

namespace {

struct DialogFixture {
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  DialogFixture() {
    InitControls();
    vqrOutputModuleInitialize();
    PrinterList()->SetPrintersForTests({});
    Report = std::make_unique<TvqrReport>(nullptr);
  }
  ~DialogFixture() {
    TCustomForm::SetModalHookForTests(nullptr);
    Report.reset();
    vqrOutputModuleFinalize();
  }
  // The next modal form gets Answer, then closes with Result.
  template <class T>
  void Answer(std::function<void(T&)> Act, TModalResult Result) {
    TCustomForm::SetModalHookForTests([Act, Result](TCustomForm* Form) {
      if (auto* F = dynamic_cast<T*>(Form)) Act(*F);
      Form->SetModalResult(Result);
    });
  }
  std::unique_ptr<TvqrReport> Report;
};

TEST(vqrPrintDialog, ShowsTheOptionsAndWritesTheChoicesOnOk) {
  DialogFixture F;
  TvqrPrintOptions* O = F.Report->PrintOptions();
  O->SetPageNumbers(u"2-4");
  O->SetCopies(3);
  bool Shown = false;
  F.Answer<TvqrPrintDialog>([&](TvqrPrintDialog& D) {
    Shown = true;
    EXPECT_TRUE(D.PageNumbersRB->Checked());
    EXPECT_EQ(D.PageNumbersE->Text(), u"2-4");
    EXPECT_EQ(D.CopiesE->Text(), u"3");
    EXPECT_FALSE(D.PagPageSizeCB->Enabled());
    D.PrintModeCB->SetItemIndex(3);  // scale: the sheet list turns to A4
    D.PrintModeCBClick();
    EXPECT_TRUE(D.PagPageSizeCB->Enabled());
    EXPECT_EQ(D.PagPageSizeCB->Text(), u"210 x 297 mm");
    D.PrintModeCB->SetItemIndex(0);
    D.PrintModeCBClick();
    EXPECT_EQ(D.PagPageSizeCB->ItemIndex(), 0);
    D.PrintModeCB->SetItemIndex(3);
    D.PrintModeCBClick();
    D.AllRB->SetChecked(true);
    D.UpDown1->StepBy(true);
    D.DuplexCB->SetItemIndex(2);
    D.OrderCB->SetItemIndex(1);
    D.PrintPagesCB->SetItemIndex(2);
  }, mrOk);
  TvqrDuplexMode Duplex = dmNone;
  ASSERT_TRUE(vqrShowPrintDialog(F.Report.get(), Duplex));
  EXPECT_TRUE(Shown);
  EXPECT_EQ(O->PageNumbers(), u"");
  EXPECT_EQ(O->Copies(), 4);
  EXPECT_EQ(Duplex, dmHorizontal);
  EXPECT_TRUE(O->Reverse());
  EXPECT_EQ(O->PrintPages(), ppEven);
  EXPECT_EQ(O->PrintMode(), pmScale);
  EXPECT_EQ(O->PrintOnSheet(), 9);
}

TEST(vqrPrintDialog, CancelWritesNothingAndTheCurrentPageIsTheShownOne) {
  DialogFixture F;
  F.Answer<TvqrPrintDialog>([](TvqrPrintDialog& D) { D.UpDown1->StepBy(true); }, mrCancel);
  TvqrDuplexMode Duplex = dmVertical;
  EXPECT_FALSE(vqrShowPrintDialog(F.Report.get(), Duplex));
  EXPECT_EQ(F.Report->PrintOptions()->Copies(), 1);
  EXPECT_EQ(Duplex, dmVertical);
  F.Report->PreviewPages()->CurPreviewPage = 3;
  F.Answer<TvqrPrintDialog>([](TvqrPrintDialog& D) { D.CurPageRB->SetChecked(true); }, mrOk);
  ASSERT_TRUE(vqrShowPrintDialog(F.Report.get(), Duplex));
  EXPECT_EQ(F.Report->PrintOptions()->PageNumbers(), u"3");
}

TEST(vqrPrintDialog, ACancelledPrintFileDialogCancelsThePrint) {
  DialogFixture F;
  auto Previous = SetDialogService(std::make_unique<TTestDialogAnswerer>());
  auto& Answers = static_cast<TTestDialogAnswerer&>(DialogService());
  Answers.FileAnswers.push_back([](TFileDialogRequest&) { return false; });
  Answers.FileAnswers.push_back([](TFileDialogRequest& R) {
    R.Files = {u"/tmp/order.pdf"};
    return true;
  });
  F.Answer<TvqrPrintDialog>([](TvqrPrintDialog& D) { D.FileCB->SetChecked(true); }, mrOk);
  TvqrDuplexMode Duplex = dmNone;
  EXPECT_FALSE(vqrShowPrintDialog(F.Report.get(), Duplex));
  ASSERT_TRUE(vqrShowPrintDialog(F.Report.get(), Duplex));
  EXPECT_EQ(PrinterList()->Printer()->FileName(), u"/tmp/order.prn");
  SetDialogService(std::move(Previous));
}

// The printer and print-mode lists are owner-drawn rows: the mode's picture (one page on one
// sheet, framed in black) left of its text.
TEST(vqrPrintDialog, PrinterAndPrintModeListsDrawTheirPictures) {
  DialogFixture F;
  TvqrPrintDialog D(nullptr);
  EXPECT_EQ(D.PrintersCB->Style(), csOwnerDrawFixed);
  EXPECT_EQ(D.PrintersCB->ItemHeight(), 16);
  EXPECT_EQ(D.PrintModeCB->ItemHeight(), 34);
  ASSERT_EQ(D.PrintModeIL->Count(), 4);
  D.PrintModeCB->SetItemIndex(0);
  TBitmap Face(D.PrintModeCB->Width(), D.PrintModeCB->Height());
  D.PrintModeCB->PaintTo(Face.Canvas(), 0, 0);
  // Inside the 2-pixel border the row starts at (1, 1); the picture at (+2, +1), its first
  // sheet's edge at (2, 4) in it.
  const int X = 2 + 1 + 2 + 2, Y = 2 + 1 + 1 + 4;
  EXPECT_EQ(Face.PixelRGB(X, Y + 4), ColorToRGB(clBlack));
  EXPECT_EQ(Face.PixelRGB(X - 1, Y + 4), ColorToRGB(clWindow));
  EXPECT_EQ(Face.PixelRGB(X + 3, Y + 2), ColorToRGB(clWhite));
  bool TextDrawn = false;
  for (int X = 75; X < 150 && !TextDrawn; ++X)
    for (int Y = 11; Y < 24 && !TextDrawn; ++Y) TextDrawn = Face.PixelRGB(X, Y) == ColorToRGB(clWindowText);
  EXPECT_TRUE(TextDrawn);
}

TEST(vqrPageSettings, CentimetresCustomSizeAndApplyingToThePage) {
  DialogFixture F;
  TvqrReportPage Page(nullptr);
  Page.SetLeftMargin(10);
  F.Answer<TvqrPageSettingsForm>([](TvqrPageSettingsForm& D) {
    EXPECT_EQ(D.Caption(), u"Настройки страницы");
    EXPECT_EQ(D.Units(), duCM);
    EXPECT_EQ(D.UnitL[0]->Caption(), u"см");
    EXPECT_EQ(D.WidthE->Text(), u"21");
    EXPECT_EQ(D.HeightE->Text(), u"29,70");
    EXPECT_EQ(D.MarginLeftE->Text(), u"1");
    D.WidthE->SetText(u"15");  // typed: the custom entry
    EXPECT_EQ(D.SizeCB->ItemIndex(), 0);
    D.HeightE->SetText(u"10.5");
    EXPECT_TRUE(D.PortraitImg->Visible());
    D.LandscapeRB->SetChecked(true);  // a custom size turns with the orientation
    EXPECT_FALSE(D.PortraitImg->Visible());
    EXPECT_TRUE(D.LandscapeImg->Visible());
    EXPECT_EQ(D.WidthE->Text(), u"10,50");
    EXPECT_EQ(D.HeightE->Text(), u"15");
    D.ApplyToAllRB->SetChecked(true);
  }, mrOk);
  TvqrPageSettingsForm Dialog(nullptr);
  Dialog.Page = &Page;
  Dialog.Report = F.Report.get();
  ASSERT_EQ(Dialog.ShowModal(), mrOk);
  EXPECT_TRUE(Dialog.NeedRebuild());
  EXPECT_EQ(Page.PaperSize(), 256);
  EXPECT_EQ(Page.Orientation(), poLandscape);
  EXPECT_DOUBLE_EQ(double(Page.PaperWidth()), 105);
  EXPECT_DOUBLE_EQ(double(Page.PaperHeight()), 150);
}

TEST(vqrPageSettings, AStandardPaperRefillsTheSizesAndBadNumbersRaise) {
  DialogFixture F;
  TvqrReportPage Page(nullptr);
  F.Answer<TvqrPageSettingsForm>([](TvqrPageSettingsForm& D) {
    D.SizeCB->SetItemIndex(D.SizeCB->Items()->IndexOf(u"148 x 210 mm"));  // A5
    D.SizeCBClick();
    EXPECT_EQ(D.WidthE->Text(), u"14,80");
    EXPECT_EQ(D.HeightE->Text(), u"21");
  }, mrCancel);
  TvqrPageSettingsForm Dialog(nullptr);
  Dialog.Page = &Page;
  EXPECT_EQ(Dialog.ShowModal(), mrCancel);
  EXPECT_EQ(Page.PaperSize(), 9);  // cancelled: the page is unchanged
  F.Answer<TvqrPageSettingsForm>([](TvqrPageSettingsForm& D) { D.MarginTopE->SetText(u"x"); }, mrOk);
  TvqrPageSettingsForm Bad(nullptr);
  Bad.Page = &Page;
  EXPECT_THROW(Bad.ShowModal(), Exception);
}

TEST(vqrSearchDialog, OffersTheTextConfirmedLast) {
  DialogFixture F;
  F.Answer<TvqrSearchDialog>([](TvqrSearchDialog& D) { D.TextE->SetText(u"Охра"); }, mrOk);
  TvqrSearchDialog(nullptr).ShowModal();
  F.Answer<TvqrSearchDialog>([](TvqrSearchDialog& D) {
    EXPECT_EQ(D.TextE->Text(), u"Охра");
    D.TextE->SetText(u"Умбра");
  }, mrCancel);
  TvqrSearchDialog(nullptr).ShowModal();
  EXPECT_EQ(vqrLastSearchText(), u"Охра");
}

}  // namespace

namespace {

TEST(vqrPasswordForm, ShowsBareKeysAndHidesTheTypedText) {
  DialogFixture F;
  TvqrPasswordForm Form(nullptr);
  EXPECT_EQ(Form.Caption(), u"5000");
  EXPECT_EQ(Form.PasswordL->Caption(), u"5001");
  EXPECT_EQ(Form.PasswordE->PasswordChar(), u'*');
  F.Answer<TvqrPasswordForm>([](TvqrPasswordForm& D) { D.PasswordE->SetText(u"охра"); }, mrOk);
  EXPECT_EQ(Form.ShowModal(), mrOk);
  EXPECT_EQ(Form.PasswordE->Text(), u"охра");
}

}  // namespace
