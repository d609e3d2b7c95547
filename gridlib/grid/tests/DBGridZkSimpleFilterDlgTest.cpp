// DBGridZkSimpleFilterDlgTest.cpp - the two-condition filter dialog over the "ITEMS" grid: the
// rows it reads from a column filter, the texts it writes (wildcards inside the quotes), the
// operator lists per column type, and OK refused with the reader's message.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkSimpleFilterDlg.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

namespace {

class SimpleFilterDialog : public ::testing::Test {
protected:
  void SetUp() override {
    Answerer = new TTestDialogAnswerer;
    SavedDialogs = SetDialogService(std::unique_ptr<IDialogService>(Answerer));
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    SetDialogService(std::move(SavedDialogs));
  }
  // Runs the dialog on a column; Act fills it and presses a button.
  bool Run(int ColumnIndex, std::function<void(TDBGridZkSimpleFilterDialog*)> Act) {
    TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
      auto* D = dynamic_cast<TDBGridZkSimpleFilterDialog*>(Form);
      ASSERT_TRUE(D);
      Act(D);
    });
    return ShowColumnFilterDialog(F.Grid->Columns()->Items(ColumnIndex));
  }
  TSTColumnFilterZk* Filter(int ColumnIndex) {
    return F.Grid->Columns()->Items(ColumnIndex)->STFilter();
  }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TTestDialogAnswerer* Answerer = nullptr;
  std::unique_ptr<IDialogService> SavedDialogs;
  TDBGridOnForm F{5};
};

TEST_F(SimpleFilterDialog, ReadsPatternsIntoOperatorsAndValues) {
  struct {
    const char16_t* Text;
    const char16_t* Operator1;
    const char16_t* Value1;
    bool Or;
    const char16_t* Operator2;
    const char16_t* Value2;
  } const Cases[] = {
      {u"~ %abc%", u"содержит", u"abc", false, u"", u""},
      {u"~ abc%", u"начинается с", u"abc", false, u"", u""},
      {u"!~ %abc", u"не заканчивается на", u"abc", false, u"", u""},
      {u"~ %%abc", u"подобно", u"%%abc", false, u"", u""},
      {u"~ %", u"содержит", u"", false, u"", u""},
      {u"= Null OR <> O'Neil", u"пустые", u"", true, u"не равно", u"O'Neil"},
      {u"In (a,'b,c')", u"в списке", u"a,'b,c'", false, u"", u""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Text));
    Filter(1)->SetExpressionStr(C.Text);
    EXPECT_FALSE(Run(1, [&](TDBGridZkSimpleFilterDialog* D) {
      EXPECT_EQ(D->ComboBox1->Text(), C.Operator1);
      EXPECT_EQ(D->DBComboBoxZk1->Text(), C.Value1);
      EXPECT_EQ(D->rbOr->Checked(), C.Or);
      EXPECT_EQ(D->rbAnd->Checked(), !C.Or);
      EXPECT_EQ(D->ComboBox2->Text(), C.Operator2);
      EXPECT_EQ(D->DBComboBoxZk2->Text(), C.Value2);
      D->bCancel->Click();
    }));
    EXPECT_EQ(Filter(1)->ExpressionStr(), C.Text) << "cancel changes nothing";
  }
}

TEST_F(SimpleFilterDialog, NumberColumnsOfferNoPatterns) {
  Filter(1)->SetExpressionStr(u"");
  Run(1, [](TDBGridZkSimpleFilterDialog* D) {
    EXPECT_EQ(D->ComboBox1->Items()->Count(), 19);
    EXPECT_EQ(D->ComboBox1->DropDownCount(), 19);
    EXPECT_EQ(D->ComboBox1->ItemIndex(), 0) << "an empty condition selects the empty entry";
    D->bCancel->Click();
  });
  Run(3, [](TDBGridZkSimpleFilterDialog* D) {
    TStrings* Items = D->ComboBox2->Items();
    ASSERT_EQ(Items->Count(), 11);
    EXPECT_EQ(Items->Strings(6), u"меньше или равно");
    EXPECT_EQ(Items->Strings(7), u"в списке");
    D->SelectTag(D->ComboBox2, 11);
    EXPECT_EQ(D->ComboBox2->ItemIndex(), -1) << "a pattern tag is not in the list";
    D->bCancel->Click();
  });
}

struct TWriteCase {
  const char* Name;
  int Column;
  int Tag1;
  const char16_t* Value1;
  bool Or;
  int Tag2;
  const char16_t* Value2;
  const char16_t* Written;   // ExpressionStr after OK
};

TEST_F(SimpleFilterDialog, WritesTextsTheFilterReadsBack) {
  const TWriteCase Cases[] = {
      {"contains", 1, 11, u"раск", false, 0, u"", u"~%раск%"},
      {"empties ignore the value", 1, 17, u"zzz", false, 0, u"", u"=Null"},
      {"both rows empty clear", 1, 0, u"", false, 0, u"", u""},
      {"a bare value takes the default operator", 1, 0, u"abc", false, 0, u"", u"abc"},
      {"in list", 3, 15, u"1,2", false, 0, u"", u"in(1,2)"},
      {"or joins", 3, 3, u"4", true, 5, u"2", u">4 OR <2"},
      // Wildcards inside the quotes, quotes doubled.
      {"leading blank with a wildcard", 1, 7, u" x", false, 0, u"", u"~' x%'"},
      {"parentheses and a quote", 1, 11, u"(O'Neil)", false, 0, u"", u"~'%(O''Neil)%'"},
      {"an already quoted value", 1, 9, u"'a b'", false, 0, u"", u"~'%a b'"},
  };
  for (const TWriteCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Filter(C.Column)->SetExpressionStr(u"");
    EXPECT_TRUE(Run(C.Column, [&](TDBGridZkSimpleFilterDialog* D) {
      D->SelectTag(D->ComboBox1, C.Tag1);
      D->DBComboBoxZk1->SetText(C.Value1);
      D->rbOr->SetChecked(C.Or);
      D->SelectTag(D->ComboBox2, C.Tag2);
      D->DBComboBoxZk2->SetText(C.Value2);
      D->bOk->Click();
    }));
    EXPECT_EQ(ToUtf8(Filter(C.Column)->ExpressionStr()), ToUtf8(C.Written));
  }
  // The patterns read back as typed.
  Filter(1)->SetExpressionStr(u"~' x%'");
  EXPECT_EQ(VarToStr(Filter(1)->Expression().Operand1), u" x%");
  Filter(1)->SetExpressionStr(u"~'%(O''Neil)%'");
  EXPECT_EQ(VarToStr(Filter(1)->Expression().Operand1), u"%(O'Neil)%");
  Filter(3)->SetExpressionStr(u"in(1,2)");
  EXPECT_EQ(Filter(3)->Expression().Operator1, foIn);
  EXPECT_TRUE(VarIsArray(Filter(3)->Expression().Operand1));
}

TEST_F(SimpleFilterDialog, TextTheFilterRejectsKeepsTheDialogOpen) {
  Filter(3)->SetExpressionStr(u"> 2");
  Answerer->MessageAnswers.push_back(mrOk);
  EXPECT_FALSE(Run(3, [](TDBGridZkSimpleFilterDialog* D) {
    D->SelectTag(D->ComboBox1, 0);
    D->DBComboBoxZk1->SetText(u"");
    D->SelectTag(D->ComboBox2, 1);
    D->DBComboBoxZk2->SetText(u"5");
    D->bOk->Click();
    bool CanClose = true;   // what the modal loop asks once the hook returns
    D->FormCloseQuery(D, CanClose);
    EXPECT_FALSE(CanClose) << "the close is refused";
    EXPECT_EQ(D->DBComboBoxZk2->Text(), u"5") << "the entries stay";
    D->bCancel->Click();
  }));
  ASSERT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(Answerer->Messages[0].Text, u"Unexpected expression after operator: AND =5.");
  EXPECT_EQ(Filter(3)->ExpressionStr(), u"> 2");
}

}  // namespace
