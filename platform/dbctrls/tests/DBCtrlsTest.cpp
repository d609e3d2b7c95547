// DBCtrlsTest.cpp - the navigator moves its dataset and follows its position and state.
#include "platform/dbctrls/DBCtrls.h"

#include <gtest/gtest.h>

#include "platform/classes/Filer.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"

namespace {

class DBNavigatorTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Form = std::make_unique<TForm>(nullptr);
    Rows = new TArrayDataSet(Form.get());
    Rows->FieldDefs()->Add(u"ID", ftInteger);
    for (int Id = 1; Id <= 3; ++Id) Rows->AddRow({Id});
    Source = new TDataSource(Form.get());
    Source->SetDataSet(Rows);
    Navigator = new TDBNavigator(Form.get());
    Navigator->SetParent(Form.get());
    Navigator->SetDataSource(Source);
    Form->Show();
  }
  // "F P N L" with '-' for a disabled button.
  std::string Enabled() const {
    std::string S;
    for (int I = nbFirst; I <= nbLast; ++I)
      S += Navigator->Buttons(TNavigateBtn(I))->Enabled() ? "FPNL"[I] : '-';
    return S;
  }
  int Id() const { return Rows->FieldByName(u"ID")->AsInteger(); }

  std::unique_ptr<TForm> Form;
  TArrayDataSet* Rows = nullptr;
  TDataSource* Source = nullptr;
  TDBNavigator* Navigator = nullptr;
};

TEST_F(DBNavigatorTest, ButtonsMoveTheDataSetAndFollowItsPosition) {
  EXPECT_EQ(Enabled(), "----");   // closed
  Rows->Open();
  EXPECT_EQ(Enabled(), "--NL");
  struct TStep {
    TNavigateBtn Button;
    int Id;
    const char* Enabled;
  };
  const TStep Steps[] = {{nbNext, 2, "FPNL"}, {nbLast, 3, "FP--"}, {nbPrior, 2, "FPNL"},
                         {nbFirst, 1, "--NL"}};
  std::vector<TNavigateBtn> Clicked;
  Navigator->SetOnClick([&](TObject*, TNavigateBtn B) { Clicked.push_back(B); });
  for (const TStep& Step : Steps) {
    // Through the mouse, as the user does.
    TSpeedButton* Button = Navigator->Buttons(Step.Button);
    SimulateClick(Button, {Button->Width() / 2, Button->Height() / 2});
    EXPECT_EQ(Id(), Step.Id) << "after button " << int(Step.Button);
    EXPECT_EQ(Enabled(), Step.Enabled) << "after button " << int(Step.Button);
  }
  EXPECT_EQ(Clicked.size(), 4u);
  Rows->Close();
  EXPECT_EQ(Enabled(), "----");
}

TEST_F(DBNavigatorTest, ButtonsShareTheWidthAndTheSourceMayGo) {
  Navigator->SetBounds(0, 0, 102, 25);
  EXPECT_EQ(Navigator->Buttons(nbFirst)->Width(), 26);
  EXPECT_EQ(Navigator->Buttons(nbLast)->Left(), 77);
  EXPECT_EQ(Navigator->Buttons(nbLast)->Width(), 25);
  Rows->Open();
  delete Source;
  EXPECT_EQ(Navigator->DataSource(), nullptr);
  EXPECT_EQ(Enabled(), "----");
  Navigator->BtnClick(nbNext);   // nothing to move, no crash
}

// The arrows are drawn: dark pixels on each enabled button.
TEST_F(DBNavigatorTest, ButtonsShowTheirArrows) {
  Navigator->SetBounds(0, 0, 100, 25);
  Rows->Open();
  Rows->Next();   // every button enabled
  TBitmap Picture;
  RenderControl(Navigator, Picture);
  for (int I = nbFirst; I <= nbLast; ++I) {
    TSpeedButton* Button = Navigator->Buttons(TNavigateBtn(I));
    int Dark = 0;
    for (int Y = 4; Y < Picture.Height() - 4; ++Y)
      for (int X = Button->Left() + 4; X < Button->Left() + Button->Width() - 4; ++X)
        Dark += (Picture.PixelRGB(X, Y) & 0xFFFFFF) < 0x404040;
    EXPECT_GE(Dark, 15) << "button " << I;
  }
}

TEST_F(DBNavigatorTest, ReadFromAFormText) {
  RegisterDBCtrlsClasses();
  TForm Read(nullptr);
  Source->SetName(u"Src");
  TextToComponent(u"object F: TForm\n  object Nav: TDBNavigator\n    Width = 120\n"
                  u"    Flat = True\n  end\nend\n", &Read);
  auto* Nav = dynamic_cast<TDBNavigator*>(Read.FindComponent(u"Nav"));
  ASSERT_NE(Nav, nullptr);
  EXPECT_TRUE(Nav->Flat());
  EXPECT_EQ(Nav->Buttons(nbLast)->Left(), 90);
}

}  // namespace
