// vqrPreviewTest.cpp - the preview without a screen: the page list's rows and page finding,
// the control's page numbers, zoom, wheel, page deletion and text search, and the preview
// window's buttons, zoom box, status line and menus, all driven through their calls and
// messages on the offscreen platform.
#include "report/output/vqrPreview.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/controls/Buttons.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TreeView.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrDsgnIntf.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrCtrls.h"
#include "report/output/vqrDock.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPreviewForm.h"
#include "report/output/vqrPreviewPageSettings.h"
#include "report/output/vqrPrintDialog.h"

namespace {

TEST(vqrPageList, RowsAreCentredAndAWidePageHasItsOwnRow) {
  TvqrPageList L;
  for (int I = 0; I < 3; ++I) L.AddPage(800, 1000, 1);
  L.AddPage(2000, 500, 1);
  L.CalcBounds(1700);
  // Two 800-pixel pages fill 1620 of 1700: shift (1700 - 1620 + 10) / 2 + 10 = 55.
  EXPECT_EQ(L.Items(0).OffsetX, 55);
  EXPECT_EQ(L.Items(1).OffsetX, 865);
  EXPECT_EQ(L.Items(0).OffsetY, 10);
  EXPECT_EQ(L.Items(2).OffsetY, 1020);
  EXPECT_EQ(L.Items(2).OffsetX, 10 + (1700 - 810 + 10) / 2);
  EXPECT_EQ(L.Items(3).OffsetX, 10);
  EXPECT_EQ(L.Items(3).OffsetY, 2030);
  EXPECT_EQ(L.GetMaxBounds().X, 2010);
  // Outside the list: the A4 placeholder, centred, or at 10 in a narrow view.
  EXPECT_EQ(L.GetPageBounds(9, 1000, 0.5, false), Rect(302, 5, 699, 567));
  EXPECT_EQ(L.GetPageBounds(-1, 300, 1, false).Left, 10);
  EXPECT_EQ(L.GetPageBounds(0, 1700, 1, true).Left, 1700 - 800 - 55);
}

TEST(vqrPageList, FindPageToleratesAFifthOfThePageAndHitsPointsExactly) {
  TvqrPageList L;
  for (int I = 0; I < 4; ++I) L.AddPage(800, 1000, 1);
  L.CalcBounds(900);  // one page a row, tops 10, 1020, 2030, 3040
  struct Case { int Y, X, Page; };
  for (const Case& C : {Case{1020 - 150, 0, 1}, Case{1020 - 250, 0, 0}, Case{0, 0, 0}, Case{5, 20, -1},
                        Case{2500, 0, 2}, Case{2500, 60, 2}, Case{9000, 0, 3}})
    EXPECT_EQ(L.FindPage(C.Y, C.X), C.Page) << C.Y << "," << C.X;
}

// A report of prepared pages, each with one text per line given.
struct PreviewFixture {
  explicit PreviewFixture(const std::vector<std::vector<String>>& Pages) {
    InitControls();
    vqrOutputModuleInitialize();
    Report = std::make_unique<TvqrReport>(nullptr);
    Source = std::make_unique<TvqrReportPage>(nullptr);
    Source->SetName(u"Page1");
    Band = new TvqrMasterData(Source.get());
    Band->SetName(u"MasterData1");
    Band->SetBounds(0, 0, 700, 20);
    Memo = new TvqrMemoView(Band);
    Memo->SetName(u"Memo1");
    Memo->SetBounds(0, 0, 300, 20);
    Store()->AddSourcePage(Source.get());
    Report->Engine()->FinalPass = true;  // the pages keep every value printed
    for (const auto& Lines : Pages) {
      Store()->AddPageAction = apAdd;
      Store()->AddPage(Source.get());
      int Y = 0;
      for (const String& Line : Lines) {
        Band->SetTop(Y);
        Memo->SetText(Line);
        Store()->AddObject(Band);
        Y += 30;
      }
    }
  }
  ~PreviewFixture() {
    delete Form;
    Report.reset();
    vqrOutputModuleFinalize();
  }
  TvqrPreviewPages* Store() { return static_cast<TvqrPreviewPages*>(Report->PreviewPages()); }
  TvqrPreviewForm* Open() {
    Form = new TvqrPreviewForm(Application);
    Form->SetBounds(0, 0, 900, 700);
    TvqrPreview* P = Form->PreviewControl();
    P->Report = Report.get();
    P->PreviewPages = Store();
    Form->Init();
    Form->Show();
    return Form;
  }
  std::unique_ptr<TvqrReport> Report;
  std::unique_ptr<TvqrReportPage> Source;
  TvqrMasterData* Band;
  TvqrMemoView* Memo;
  TvqrPreviewForm* Form = nullptr;
};

TEST(vqrPreview, PageNumbersAreClampedAndDeletionKeepsAPage) {
  PreviewFixture F({{u"a"}, {u"b"}, {u"c"}, {u"d"}, {u"e"}});
  TvqrPreview* P = F.Open()->PreviewControl();
  ASSERT_EQ(P->PageCount(), 5);
  P->SetPageNo(0);
  EXPECT_EQ(P->PageNo(), 1);
  P->SetPageNo(10);
  EXPECT_EQ(P->PageNo(), 5);
  EXPECT_EQ(F.Form->StatusBar->Panel(0)->Text(), u"Страница 5 из 5");
  EXPECT_EQ(F.Form->PageE->Text(), u"5");
  P->SetPageNo(4);
  P->DeletePage();
  EXPECT_EQ(P->PageCount(), 4);
  EXPECT_EQ(P->PageNo(), 3);
  P->SetPageNo(2);
  P->DeletePage();
  EXPECT_EQ(P->PageNo(), 2);
  P->Clear();
  EXPECT_EQ(P->PageCount(), 0);
  P->SetPageNo(3);
  EXPECT_EQ(P->PageNo(), 0);  // with no pages the upper bound wins
}

TEST(vqrPreview, ZoomBoundsWheelAndTheZoomBox) {
  PreviewFixture F({{u"a"}, {u"b"}});
  TvqrPreviewForm* W = F.Open();
  TvqrPreview* P = W->PreviewControl();
  P->SetZoom(0.1);
  EXPECT_DOUBLE_EQ(double(P->Zoom()), 0.25);
  P->SetZoom(0.35);
  P->MouseWheelScroll(-120, false, true);
  EXPECT_NEAR(double(P->Zoom()), 0.3, 1e-9);
  P->MouseWheelScroll(120, false, true);
  EXPECT_NEAR(double(P->Zoom()), 0.4, 1e-9);
  EXPECT_EQ(P->ZoomMode(), zmDefault);
  P->SetZoom(1);
  const int Top = P->Workspace->VertPosition();
  P->MouseWheelScroll(-120, false, false);
  EXPECT_EQ(P->Workspace->VertPosition(), Top + 20);
  struct Case { const char16_t* Typed; double Zoom; const char16_t* Shown; };
  for (const Case& C : {Case{u"150 %", 1.5, u"150%"}, Case{u"12", 0.25, u"25%"}, Case{u"75,5", 0.755, u"76%"}}) {
    W->ZoomCB->SetText(C.Typed);
    W->ZoomCBClick();
    Application->ProcessMessages();
    EXPECT_NEAR(double(P->Zoom()), C.Zoom, 1e-9) << StringToUtf8(C.Typed);
    EXPECT_EQ(W->ZoomCB->Text(), C.Shown);
  }
  W->ZoomCB->SetItemIndex(7);
  W->ZoomCBClick();
  EXPECT_EQ(P->ZoomMode(), zmWholePage);
  W->ZoomCB->SetText(u"abc");
  EXPECT_THROW(W->ZoomCBClick(), Exception);
}

TEST(vqrPreview, SearchWalksEveryPlaceThenSaysTextNotFound) {
  PreviewFixture F({{u"Охра жёлтая", u"белила", u"охра красная"}, {u"умбра"}, {u"Сиена", u"ОХРА"}});
  TvqrPreview* P = F.Open()->PreviewControl();
  auto Previous = SetDialogService(std::make_unique<TTestDialogAnswerer>());
  auto& Answers = static_cast<TTestDialogAnswerer&>(DialogService());
  Answers.MessageAnswers.push_back(mrOk);
  EXPECT_TRUE(P->FindText(u"охра", true, false));
  EXPECT_EQ(P->Workspace->FLastFoundPage, 0);
  const TRect First = vqrSearch().FoundRect;
  P->FindNext();
  EXPECT_TRUE(P->FindTextFound());
  EXPECT_EQ(P->Workspace->FLastFoundPage, 0);
  EXPECT_GT(vqrSearch().FoundRect.Top, First.Top);
  P->FindNext();
  EXPECT_EQ(P->Workspace->FLastFoundPage, 2);
  EXPECT_TRUE(Answers.Messages.empty());
  P->FindNext();
  EXPECT_FALSE(P->FindTextFound());
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_EQ(Answers.Messages[0].Text, u"Текст не найден");
  EXPECT_TRUE(P->FindText(u"ОХРА", true, true));  // case-sensitive: only the third page
  EXPECT_EQ(P->Workspace->FLastFoundPage, 2);
  SetDialogService(std::move(Previous));
}

// A filter of the export registry with a description.
class TNamedFilter : public TvqrCustomExportFilter {
public:
  TNamedFilter(TComponent* Owner, const String& Name) : TvqrCustomExportFilter(Owner), FName(Name) {}
  String GetDescription() override { return FName; }

private:
  String FName;
};

TEST(vqrPreviewForm, ButtonsFollowTheOptionsAndTheMenusListFilters) {
  PreviewFixture F({{u"a"}, {u"b"}, {u"c"}});
  TvqrPreviewButtons B = TvqrPreviewOptions::DefaultButtons();
  B = B - TvqrPreviewButtons{pbZoom};
  F.Report->PreviewOptions()->SetButtons(B);
  TNamedFilter Sheet(nullptr, u"Документ Excel (OLE)"), Pdf(nullptr, u"Документ PDF");
  TvqrPreviewForm* W = F.Open();
  for (TControl* C : std::initializer_list<TControl*>{W->ZoomPlusB, W->ZoomMinusB, W->Sep3, W->FullScreenBtn, W->Sep1})
    EXPECT_FALSE(C->Visible());
  EXPECT_TRUE(W->PrintB->Visible());
  EXPECT_TRUE(W->PrintB->Enabled());
  ASSERT_EQ(W->ExportPopup->Items()->Count(), 2);
  EXPECT_EQ(W->ExportPopup->Items()->Items(0)->Caption(), u"Документ Excel (OLE)...");
  EXPECT_EQ(W->ExportPopup->Items()->Items(1)->Caption(), u"Документ PDF...");
  EXPECT_EQ(W->Caption(), u"Предварительный просмотр");
  // No drill-down group: the collapse and expand items are hidden; then the buttons.
  EXPECT_FALSE(W->CollapseMI->Visible());
  TMenuItem* Items = W->RightMenu->Items();
  ASSERT_GE(Items->Count(), 5);
  EXPECT_EQ(Items->Items(3)->Caption(), u"Печать");
  bool ExportSub = false;
  for (int I = 0; I < Items->Count(); ++I)
    if (Items->Items(I)->Caption() == u"Экспорт") ExportSub = Items->Items(I)->Count() == 2;
  EXPECT_TRUE(ExportSub);
  EXPECT_EQ(W->StatusBar->Panel(0)->Text(), u"Страница 1 из 3");
}

// F1 opens the help in the window and both dialogs; minimising a modal preview minimises the
// program, and coming back to it restores the program.
TEST(vqrPreviewForm, HelpKeyAndMinimisingAModalPreview) {
  PreviewFixture F({{u"a"}});
  int Helps = 0;
  SetHelpViewer([&](const String& Path) {
    Helps += ExtractFileName(Path) == u"VQUser.chm";
    return true;
  });
  TvqrPreviewForm* W = F.Open();
  Word F1 = VK_F1;
  W->Perform(WM_KEYDOWN, F1, 0);
  TvqrPrintDialog Print(nullptr);
  Print.Perform(WM_KEYDOWN, F1, 0);
  TvqrPageSettingsForm Settings(nullptr);
  Settings.Perform(WM_KEYDOWN, F1, 0);
  EXPECT_EQ(Helps, 3);
  SetHelpViewer(nullptr);

  TForm Main(nullptr);
  Application->SetMainForm(&Main);
  Main.Show();
  F.Report->PreviewOptions()->SetModal(true);
  W->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(Main.WindowState(), wsMinimized);
  W->Perform(WM_ACTIVATEAPP, 1, 0);
  EXPECT_EQ(Main.WindowState(), wsNormal);
  F.Report->PreviewOptions()->SetModal(false);   // a modeless preview minimises alone
  W->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(Main.WindowState(), wsNormal);
  Application->SetMainForm(nullptr);
}

TEST(vqrPreviewForm, CloseIsRefusedWhileARunFeedsThePreviewAndEscCancels) {
  PreviewFixture F({{u"a"}});
  TvqrPreviewForm* W = F.Open();
  TvqrPreview* P = W->PreviewControl();
  P->InternalOnProgressStart(F.Report.get(), ptRunning, 0);
  EXPECT_TRUE(P->Running());
  EXPECT_FALSE(W->PrintB->Enabled());
  W->Close();
  EXPECT_TRUE(W->Visible());
  Word Esc = VK_ESCAPE;
  W->Perform(WM_KEYDOWN, Esc, 0);
  EXPECT_TRUE(F.Report->Terminated());
  P->InternalOnProgressStop(F.Report.get(), ptRunning, 0);
  EXPECT_TRUE(W->PrintB->Enabled() == (P->PageCount() > 0));
  EXPECT_EQ(W->CancelB->Caption(), u"Закрыть");
}

TEST(vqrCtrls, ScrollWindowPositionsMixColorsAndListHeight) {
  InitControls();
  TvqrScrollWin W(nullptr);
  W.SetVertPage(800);
  W.SetVertRange(500);
  W.SetVertPosition(100);
  EXPECT_EQ(W.VertPosition(), 0);
  W.SetHorzPage(300);
  W.SetHorzRange(1200);
  W.SetHorzPosition(5000);
  EXPECT_EQ(W.HorzPosition(), 900);
  const TColor Mix = MixColors(TColor(RGB(255, 0, 0)), TColor(RGB(0, 0, 255)), 30);
  EXPECT_EQ(GetRValue(Mix), 77);
  EXPECT_EQ(GetBValue(Mix), 179);
  EXPECT_EQ(MixColors(TColor(RGB(255, 0, 0)), TColor(RGB(0, 0, 255)), 300), Mix);
  TvqrComboBox Box(nullptr);
  EXPECT_EQ(Box.DropDownHeight(), 15);
  for (int I = 0; I < 10; ++I) Box.Items()->Add(IntToStr(I));
  EXPECT_EQ(Box.DropDownHeight(), 106);
  EXPECT_EQ(MinWord(0x10005, 7), 0x10005);
}

// The flat zoom box: its frame and button light up under the mouse and while dropped down, and
// it drops a list ListWidth wide.
TEST(vqrCtrls, FlatComboBoxLightsUpAndDropsItsListWidth) {
  InitControls();
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 200, 100);
  auto* Focus = new TEdit(&Form);   // takes the focus, so the box is highlighted by the mouse only
  Focus->SetParent(&Form);
  Focus->SetTop(40);
  auto* Box = new TvqrComboBox(&Form);
  Box->SetParent(&Form);
  Box->SetBounds(4, 2, 49, 19);
  Box->SetListWidth(100);
  for (const char16_t* Z : {u"50%", u"100%", u"200%"}) Box->Items()->Add(Z);
  Form.Show();
  Focus->SetFocus();
  auto Corner = [&] {
    TBitmap Face(49, 19);
    Box->PaintTo(Face.Canvas(), 0, 0);
    return std::make_pair(Face.PixelRGB(0, 0), Face.PixelRGB(49 - 5, 9));   // frame, button
  };
  const auto Normal = Corner();
  EXPECT_EQ(Box->ButtonState(), 0);
  EXPECT_EQ(Normal.first, ColorToRGB(clBtnFace));
  EXPECT_EQ(Normal.second, ColorToRGB(clBtnFace));
  Box->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Box->ButtonState(), 1);
  EXPECT_EQ(Corner().first, ColorToRGB(clHighlight));
  EXPECT_EQ(Corner().second, ColorToRGB(MixColors(clHighlight, clWindow, 30)));
  Box->SetDroppedDown(true);
  EXPECT_EQ(Box->ButtonState(), 2);
  auto* List = dynamic_cast<TWinControl*>(Box->Components(0));
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(List->Width(), 100);
  EXPECT_EQ(List->Height(), Box->DropDownHeight());
  Box->SetDroppedDown(false);
  Box->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Corner(), Normal);
  Box->SetEnabled(false);
  EXPECT_EQ(Corner().first, ColorToRGB(clBtnShadow));
}

}  // namespace

namespace {

TEST(vqrPreview, ARunFeedsFiftyPagesAndRefusesCommandsUntilItEnds) {
  PreviewFixture F({{u"x"}});
  TvqrPreviewForm* W = F.Open();
  TvqrPreview* P = W->PreviewControl();
  // A run in its final pass filling the store, page by page.
  P->InternalOnProgressStart(F.Report.get(), ptRunning, 0);
  EXPECT_TRUE(P->Running());
  EXPECT_EQ(F.Store()->Count(), 0);  // the start empties the preview
  F.Store()->AddSourcePage(F.Source.get());
  for (int I = 0; I < 60; ++I) {
    F.Store()->AddPageAction = apAdd;
    F.Store()->AddPage(F.Source.get());
    P->InternalOnProgress(F.Report.get(), ptRunning, I);
  }
  EXPECT_EQ(P->Workspace->PageList().Count(), 50);  // only the first 50 while running
  EXPECT_EQ(W->CancelB->Caption(), u"Отмена");
  EXPECT_EQ(P->Thumbnail->PageList().Count(), 0);  // the strip waits for the end
  P->DeletePage();
  P->AddPage();
  EXPECT_EQ(F.Store()->Count(), 60);  // refused while running
  P->InternalOnProgressStop(F.Report.get(), ptRunning, 0);
  EXPECT_FALSE(P->Running());
  EXPECT_EQ(P->Workspace->PageList().Count(), 60);
  EXPECT_EQ(P->Thumbnail->PageList().Count(), 60);
  P->DeletePage();
  EXPECT_EQ(F.Store()->Count(), 59);
}

TEST(vqrPreview, ADamagedFileIsAnErrorWithPageOneAndAnEmptyOutline) {
  PreviewFixture F({{u"a"}, {u"b"}});
  TvqrPreview* P = F.Open()->PreviewControl();
  P->SetPageNo(2);
  const std::string Name = "/tmp/vorenta-damaged.vt3";
  FILE* File = fopen(Name.c_str(), "wb");
  fputs("\x1f\x8b not a prepared report", File);
  fclose(File);
  EXPECT_THROW(P->LoadFromFile(Utf8ToString(Name)), Exception);
  EXPECT_LE(P->PageNo(), 1);
  EXPECT_EQ(P->OutlineTree->Items()->Count(), 0);
  EXPECT_FALSE(P->Locked());
  remove(Name.c_str());
}

}  // namespace
