// CalculatorZkTest.cpp - the calculator's key machine as sequences, the popup's closing rules
// through its owner, and its value interface.
#include "gridlib/toolkit/CalculatorZk.h"

#include <gtest/gtest.h>

#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/ToolkitModule.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class CalculatorTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ToolkitModuleInitialize(); }
  static void TearDownTestSuite() { ToolkitModuleFinalize(); }
  void SetUp() override { InitControls(); }
  void Keys(TCalculatorZk& C, const String& Keys) {
    for (Char K : Keys) C.ProcessKey(K == u'\n' ? Char(VK_RETURN) : K);
  }
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
};

TEST_F(CalculatorTest, KeySequences) {
  struct Row {
    const char16_t* Keys;
    const char16_t* Display;
    const char16_t* Equal;
  };
  const Row Rows[] = {
      {u"12+3", u"3", u"="},
      {u"12+3\n", u"15", u"Ok"},
      {u"200+10%", u"220", u"Ok"},
      {u"50*10%", u"5", u"Ok"},
      {u"5/0=", u"Error", u"Ok"},
      {u"5/0=123", u"Error", u"Ok"},
      {u"5/0=C7", u"7", u"Ok"},
      {u"1234567890123456", u"123456789012345", u"Ok"},
      {u"1234567890123456I", u"-123456789012345", u"Ok"},
      {u"12\b\b\b", u"0", u"Ok"},
      {u"0R", u"Error", u"Ok"},
      {u"4IS", u"Error", u"Ok"},
      {u"9S", u"3", u"Ok"},
      {u"1,5+1.5=", u"3", u"Ok"},
      {u"7A", u"7", u"Ok"},   // the Cancel key changes nothing here
  };
  for (const Row& R : Rows) {
    TCalculatorZk C(nullptr);
    Keys(C, R.Keys);
    EXPECT_EQ(C.DisplayText(), R.Display) << ToUtf8(R.Keys);
    EXPECT_EQ(C.EqualButton()->Caption(), R.Equal) << ToUtf8(R.Keys);
  }
}

TEST_F(CalculatorTest, PasteOfANonNumberRaisesAndKeepsTheDisplay) {
  SetClipboardForTests(true);
  TCalculatorZk C(nullptr);
  Keys(C, u"42");
  Clipboard()->SetAsText(u"сорок");
  EXPECT_THROW(C.ProcessKey(Char(22)), EConvertError);
  EXPECT_EQ(C.DisplayText(), u"42");
  Clipboard()->SetAsText(u" 2,5 ");
  C.ProcessKey(Char(22));
  EXPECT_EQ(C.DisplayText(), u"2,5");
  SetClipboardForTests(false);
}

TEST_F(CalculatorTest, LayoutFollowsTheTableAtTheDesignFont) {
  TCalculatorZk C(nullptr);
  TSpeedButtonZk* Seven = C.ButtonForKey(u'7');
  const double Ratio = C.DesignHeight() / double(TCalculatorZk::DesignClientHeight);
  EXPECT_NEAR(Seven->Left(), 6 * Ratio, 1.0);
  EXPECT_NEAR(Seven->Top(), 29 * Ratio, 1.0);
  EXPECT_EQ(C.Buttons().size(), 23u);
  EXPECT_NEAR(C.EqualButton()->Width(), 56 * Ratio, 1.0);
  EXPECT_NEAR(C.ButtonForKey(u'A')->Height(), 23 * Ratio, 1.0);
}

class Owner : public TComponent, public ICloseUpOwnerZk {
public:
  using TComponent::TComponent;
  int Closes = 0;
  bool LastAccept = false;
  void CloseUp(bool Accept) override {
    ++Closes;
    LastAccept = Accept;
  }
};

TEST_F(CalculatorTest, PopupClosesThroughItsOwner) {
  Owner O(nullptr);
  auto* P = new TPopupCalculatorZk(&O);
  P->SetValue(Variant(12.0));
  EXPECT_EQ(P->DisplayText(), u"12");
  P->ProcessKey(u'+');
  P->ProcessKey(u'3');
  P->ProcessKey(Char(VK_RETURN));   // "=" showing: computes
  EXPECT_EQ(O.Closes, 0);
  EXPECT_EQ(P->DisplayText(), u"15");
  P->ProcessKey(Char(VK_RETURN));   // "Ok": closes, taking the value
  EXPECT_EQ(O.Closes, 1);
  EXPECT_TRUE(O.LastAccept);
  EXPECT_EQ(P->GetValue().AsDouble(), 15.0);
  P->EqualButton()->Click();
  EXPECT_EQ(O.Closes, 2);
  P->ButtonForKey(u'A')->Click();   // Cancel closes like Esc
  EXPECT_EQ(O.Closes, 3);
  EXPECT_FALSE(O.LastAccept);
  EXPECT_EQ(P->DisplayText(), u"15");
  P->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0);
  EXPECT_EQ(O.Closes, 4);
  P->ProcessKey(u'0');
  P->ProcessKey(u'R');
  EXPECT_EQ(VarType(P->GetValue()), varError);
  P->SetFlat(false);
  for (TSpeedButtonZk* B : P->Buttons()) EXPECT_FALSE(B->Flat());
  P->SetFlat(true);
  EXPECT_TRUE(P->ButtonForKey(u'5')->Flat());
  EXPECT_FALSE(P->CanFocus());
}

}  // namespace
