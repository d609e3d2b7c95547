// MemoTest.cpp - the multi-line edit, headless: Lines bound to the text, the rows of word wrap,
// Return and Tab with WantReturns and WantTabs, the caret moving by rows, the scroll bar.
#include "platform/controls/StdCtrls.h"

#include <gtest/gtest.h>

#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

class MemoTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    ResetKeyboardState();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(8, 8, 200, 120);
    Memo->SetOnChange([this](TObject*) { ++Changes; });
    Next = new TEdit(Form);
    Next->SetParent(Form);
    Next->SetTop(150);
    Form->Show();
    Memo->SetFocus();
  }
  void TearDown() override { delete Form; }
  // The memo's rows as texts.
  std::vector<String> RowTexts() {
    std::vector<String> Texts;
    for (const TCustomMemo::TRow& R : Memo->Rows()) Texts.push_back(Memo->Text().substr(size_t(R.Start), size_t(R.Length)));
    return Texts;
  }

  TForm* Form = nullptr;
  TMemo* Memo = nullptr;
  TEdit* Next = nullptr;
  int Changes = 0;
};

TEST_F(MemoTest, LinesAndTextAreOneValue) {
  struct Row {
    const char16_t* Text;
    void (*Change)(TStrings*);
    const char16_t* After;
    int Count;
  } Rows[] = {
      {u"", [](TStrings* L) { L->Add(u"a"); }, u"a\r\n", 1},
      {u"a", [](TStrings* L) { L->Add(u"b"); }, u"a\r\nb", 2},
      {u"a\r\n", [](TStrings* L) { L->Add(u"b"); }, u"a\r\nb\r\n", 2},
      {u"a\r\nb", [](TStrings* L) { L->Insert(0, u"z"); }, u"z\r\na\r\nb", 3},
      {u"a\r\nb\r\nc", [](TStrings* L) { L->Delete(1); }, u"a\r\nc", 2},
      {u"a\r\nb", [](TStrings* L) { L->Delete(1); }, u"a", 1},
      {u"a\r\nb\r\n", [](TStrings* L) { L->Delete(1); }, u"a\r\n", 1},
      {u"a\r\nb", [](TStrings* L) { L->SetStrings(1, u"Белила"); }, u"a\r\nБелила", 2},
      {u"a", [](TStrings* L) { L->SetText(u"x\ny\rz"); }, u"x\r\ny\r\nz", 3},
      {u"a\r\nb", [](TStrings* L) { L->Clear(); }, u"", 0},
      {u"\r\n", [](TStrings*) {}, u"\r\n", 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.Text) + " -> " + ToUtf8(R.After));
    Memo->SetText(R.Text);
    R.Change(Memo->Lines());
    EXPECT_EQ(Memo->Text(), R.After);
    EXPECT_EQ(Memo->Lines()->Count(), R.Count);
  }
  Memo->SetText(u"Синий\r\nКрасный");
  EXPECT_EQ(Memo->Lines()->Strings(1), u"Красный");
  EXPECT_EQ(Memo->Lines()->Text(), u"Синий\r\nКрасный\r\n");
  const int Before = Changes;
  Memo->Lines()->Add(u"Белый");
  EXPECT_GT(Changes, Before);   // OnChange hears changes through Lines
  try {
    Memo->Lines()->Strings(3);
    FAIL() << "no error for a line beyond the end";
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), u"List index out of bounds (3)");
  }
}

TEST_F(MemoTest, WordWrapBreaksRowsAtBlanksWithinTheWidth) {
  const String Text = u"Белила титановые для фасадов и интерьеров, краска водоэмульсионная\r\n"
                      u"ОченьДлинноеСловоБезПробеловКотороеНеПомещаетсяВСтроку";
  Memo->SetText(Text);
  const std::vector<String> Rows = RowTexts();
  ASSERT_GT(Rows.size(), 3u);
  String Joined;
  const int Width = Memo->EditRect().Width();
  TControlCanvas Measure;
  Measure.Font()->Assign(Memo->Font());
  for (size_t I = 0; I < Rows.size(); ++I) {
    const TCustomMemo::TRow& R = Memo->Rows()[I];
    Joined += Rows[I] + Memo->Text().substr(size_t(R.Start + R.Length), size_t(R.BreakLength));
    // Trailing blanks may hang past the edge; the rest fits.
    String Trimmed = Rows[I];
    while (!Trimmed.empty() && Trimmed.back() == u' ') Trimmed.pop_back();
    EXPECT_LE(Measure.TextWidth(Trimmed), Width) << ToUtf8(Rows[I]);
  }
  EXPECT_EQ(Joined, Text);   // rows cover the text, nothing lost or doubled
  EXPECT_EQ(Rows[0].back(), u' ');   // the first row broke after a blank
  EXPECT_EQ(Memo->Perform(EM_GETLINECOUNT), LRESULT(Rows.size()));
  EXPECT_EQ(Memo->Lines()->Count(), 2);   // Lines are the text's lines, not the rows

  Memo->SetWordWrap(false);
  EXPECT_EQ(RowTexts(), (std::vector<String>{Memo->Lines()->Strings(0), Memo->Lines()->Strings(1)}));
}

// The rows are laid out again for any change of the font, italic included.
TEST_F(MemoTest, RowsFollowAFontStyleChange) {
  const String Text = u"Белила титановые для фасадов и интерьеров, краска водоэмульсионная, "
                      u"эмаль алкидная глянцевая для металла и дерева";
  Memo->Font()->SetName(u"Times New Roman");
  Memo->SetText(Text);
  const std::vector<String> Upright = RowTexts();
  auto* Fresh = new TMemo(Form);
  Fresh->SetParent(Form);
  Fresh->SetBounds(8, 8, 200, 120);
  Fresh->Font()->SetName(u"Times New Roman");
  Fresh->Font()->SetStyle(TFontStyles{fsItalic});
  Fresh->SetText(Text);
  std::vector<String> Italic;
  for (const TCustomMemo::TRow& R : Fresh->Rows()) Italic.push_back(Text.substr(size_t(R.Start), size_t(R.Length)));
  ASSERT_NE(Italic, Upright);   // the italic face measures differently here
  Memo->Font()->SetStyle(TFontStyles{fsItalic});
  EXPECT_EQ(RowTexts(), Italic);
}

TEST_F(MemoTest, ReturnBreaksTheLineUnlessTheFormTakesIt) {
  Memo->SetText(u"АБ");
  Memo->SetSelStart(1);
  SimulateKeyPress(VK_RETURN);
  EXPECT_EQ(Memo->Text(), u"А\r\nБ");
  EXPECT_EQ(Memo->CaretPos(), (TPoint{0, 1}));
  EXPECT_EQ(Memo->Lines()->Count(), 2);

  auto* Ok = new TButton(Form);
  Ok->SetParent(Form);
  Ok->SetTop(200);
  Ok->SetDefault(true);
  bool Clicked = false;
  Ok->SetOnClick([&](TObject*) { Clicked = true; });
  SimulateKeyPress(VK_RETURN);   // a memo wanting returns keeps Return from the default button
  EXPECT_FALSE(Clicked);
  EXPECT_EQ(Memo->Lines()->Count(), 3);
  Memo->SetWantReturns(false);
  SimulateKeyPress(VK_RETURN);
  EXPECT_TRUE(Clicked);
  EXPECT_EQ(Memo->Lines()->Count(), 3);
  Ok->SetDefault(false);
  SimulateKeyPress(VK_RETURN);   // nobody takes it: no line break either
  EXPECT_EQ(Memo->Lines()->Count(), 3);
}

TEST_F(MemoTest, TabTypesOnlyWhenWanted) {
  Memo->SetText(u"a");
  Memo->SetSelStart(1);
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(Memo->Text(), u"a");
  EXPECT_EQ(GetFocus(), Next);
  Memo->SetFocus();
  Memo->SetWantTabs(true);
  Memo->SetSelStart(1);
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(Memo->Text(), u"a\t");
  EXPECT_EQ(GetFocus(), Memo);
}

TEST_F(MemoTest, CaretMovesByRows) {
  Memo->SetText(u"Синий\r\nКрасный цвет\r\nЖ");
  Memo->SetCaretPos({3, 0});
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Memo->CaretPos().Y, 1);
  EXPECT_GE(Memo->CaretPos().X, 2);   // about the same x
  EXPECT_LE(Memo->CaretPos().X, 4);
  SimulateKeyPress(VK_END);
  EXPECT_EQ(Memo->CaretPos(), (TPoint{12, 1}));
  SimulateKeyPress(VK_DOWN);   // a shorter line: its end
  EXPECT_EQ(Memo->CaretPos(), (TPoint{1, 2}));
  SimulateKeyPress(VK_UP, {ssShift});
  EXPECT_EQ(Memo->CaretPos().Y, 1);
  EXPECT_GT(Memo->SelLength(), 0);
  SimulateKeyPress(VK_HOME, {ssCtrl});
  EXPECT_EQ(Memo->SelStart(), 0);
  SimulateKeyPress(VK_UP);   // the first row stays
  EXPECT_EQ(Memo->CaretPos(), (TPoint{0, 0}));
}

TEST_F(MemoTest, VerticalScrollBarFollowsTheRows) {
  Memo->SetScrollBars(ssVertical);
  for (int I = 0; I < 30; ++I) Memo->Lines()->Add(u"Строка " + IntToStr(I));
  Memo->SetSelStart(0);
  const int Visible = Memo->VisibleRows();
  TScrollBarState Bar = GetScrollBarState(Memo, SB_VERT);
  EXPECT_TRUE(Bar.Visible);
  EXPECT_EQ(Bar.Info.nMax, int(Memo->Rows().size()) - 1);
  EXPECT_EQ(int(Bar.Info.nPage), Visible);
  EXPECT_EQ(Memo->TopRow(), 0);
  for (int I = 0; I < Visible; ++I) SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Memo->TopRow(), 1);   // the caret's row scrolled into view
  EXPECT_EQ(GetScrollBarState(Memo, SB_VERT).Info.nPos, 1);
  Memo->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Memo->TopRow(), Visible);
  Memo->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Memo->TopRow(), int(Memo->Rows().size()) - Visible);
}

}  // namespace
