// SpreadsheetTest.cpp - the spreadsheet stand-in: its cell model, and the workbook it saves
// read back with openpyxl.
#include "platform/shell/Spreadsheet.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/shell/ShellOpen.h"
#include "platform/shell/tests/XlsxReadBack.h"

namespace fs = std::filesystem;

namespace {

const std::string OnePixelPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00"
    "\x00\x01\x08\x06\x00\x00\x00\x1f\x15\xc4\x89\x00\x00\x00\x0d\x49\x44\x41\x54\x78\xda\x63"
    "\xfc\xcf\xc0\xf0\x1f\x00\x05\x05\x02\x00\x5f\xc8\xf1\xd2\x00\x00\x00\x00\x49\x45\x4e\x44"
    "\xae\x42\x60\x82",
    70);

class Spreadsheet : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("vorenta-xlsx-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    Book = App.Workbooks().Add();
    Sheet = Book->Worksheets(1);
  }
  void TearDown() override { fs::remove_all(Dir); }

  TSpreadsheetApplication App;
  TWorkbook* Book = nullptr;
  TWorksheet* Sheet = nullptr;
  fs::path Dir;
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
};

}  // namespace

TEST_F(Spreadsheet, ValuesBecomeTextOrNumbers) {
  struct {
    const char16_t* Written;
    bool Number;
    double Value;
    const char16_t* Text;
  } const Cases[] = {
      {u"1234.50", true, 1234.5, u"1234.50"}, {u"-3", true, -3, u"-3"},
      {u"007", true, 7, u"007"},              {u"'007", false, 0, u"007"},
      {u"=1+1", false, 0, u"=1+1"},           {u"1 234,50", false, 0, u"1 234,50"},
      {u"1e5", false, 0, u"1e5"},             {u".5", false, 0, u".5"},
      {u"Краска\u0001", false, 0, u"Краска\u0001"},
  };
  const int N = static_cast<int>(std::size(Cases));
  TSheetValues V(N, 1, 1);
  for (int I = 0; I < N; ++I) V.At(I + 1, 1) = Cases[I].Written;
  Sheet->Range(u"A1", u"A" + Utf8ToString(std::to_string(N))).SetValue(V);
  for (int I = 0; I < N; ++I) {
    const TSheetCell* C = Sheet->Cell(I, 0);
    ASSERT_NE(C, nullptr) << I;
    EXPECT_EQ(C->IsNumber, Cases[I].Number) << I;
    EXPECT_EQ(C->Number, Cases[I].Value) << I;
    EXPECT_EQ(C->Text, Cases[I].Text) << I;
  }
  EXPECT_THROW(V.At(0, 1), Exception);
}

TEST_F(Spreadsheet, AddressesAndLists) {
  struct {
    const char16_t* Address;
    bool Ok;
    int Row, Col;
  } const Cells[] = {{u"A1", true, 0, 0},    {u"Z5", true, 4, 25},  {u"AA1", true, 0, 26},
                     {u"IV3", true, 2, 255}, {u"iv3", true, 2, 255}, {u"A0", false, 0, 0},
                     {u"1A", false, 0, 0},   {u"A", false, 0, 0},    {u"ABCD1", false, 0, 0}};
  for (const auto& C : Cells) {
    int R = -1, Col = -1;
    EXPECT_EQ(ParseCellAddress(C.Address, R, Col), C.Ok) << ToUtf8(C.Address);
    if (C.Ok) {
      EXPECT_EQ(std::make_pair(R, Col), std::make_pair(C.Row, C.Col));
    }
  }
  // Russian settings separate lists with ";"; row heights always use ";".
  TSheetRange R = Sheet->Range(u"A1:B2;D4");
  ASSERT_EQ(R.Areas().size(), 2u);
  EXPECT_EQ(R.Areas()[1], (TSheetArea{3, 3, 3, 3}));
  EXPECT_THROW(Sheet->Range(u"A1:B2;;"), Exception);
  EXPECT_EQ(InvariantNumberFormat(u"# ##0,00"), u"#,##0.00");
  EXPECT_EQ(InvariantNumberFormat(u"0,000"), u"0.000");
}

TEST_F(Spreadsheet, BordersSizesAndLimits) {
  Sheet->Range(u"B2", u"C3").Cells().Borders(xlEdgeLeft).SetLineStyle(xlContinuous);
  Sheet->Range(u"B2", u"C3").Borders(xlEdgeTop).SetLineStyle(xlContinuous);
  EXPECT_EQ(Sheet->Cell(1, 1)->Borders, 1 | 2);
  EXPECT_EQ(Sheet->Cell(1, 2)->Borders, 1 | 2);
  EXPECT_EQ(Sheet->Cell(2, 2)->Borders, 1);
  EXPECT_THROW(Sheet->Range(u"A1", u"A1").Borders(11).SetLineStyle(1), Exception);

  Sheet->Range(u"A1:A4").SetRowHeight(12.5);
  Sheet->Range(u"A2;A4").SetRowHeight(30);
  EXPECT_EQ(Sheet->RowHeight(0), 12.5);
  EXPECT_EQ(Sheet->RowHeight(3), 30);
  EXPECT_THROW(Sheet->Rows().Rows(1).SetRowHeight(410), Exception);
  EXPECT_THROW(Sheet->Columns().Columns(1).SetColumnWidth(256), Exception);
  try {
    Sheet->Rows(SheetMaxRows + 1).SetPageBreak(xlPageBreakManual);
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"The sheet holds at most 1,048,576 rows; row 1048577 is beyond it");
  }
  Sheet->Rows(5).SetPageBreak(xlPageBreakManual);
  Sheet->Rows(3).SetPageBreak(xlPageBreakManual);
  Sheet->Rows(5).SetPageBreak(xlPageBreakManual);
  EXPECT_EQ(Sheet->PageBreaks(), (std::vector<int>{2, 4}));
  Sheet->Range(u"A1", u"B2").SetMergeCells(true);
  Sheet->Range(u"B2", u"C3").SetMergeCells(true);
  EXPECT_EQ(Sheet->Merges(), (std::vector<TSheetArea>{{1, 1, 2, 2}}));
}

TEST_F(Spreadsheet, SavedWorkbookReadsBack) {
  if (!xlsxtest::HaveOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  TSheetStyle* S = Book->Styles()->Add(u"S0");
  S->Font.Bold = true;
  S->Font.Name = u"Arial";
  S->Font.Size = 12;
  S->Font.Color = 0x0000FF;  // red as the colour value gives it
  S->Interior.Color = 0x00FFFF;
  S->HorizontalAlignment = xlRight;
  S->Orientation = -60;
  TSheetValues V(2, 3, 1);
  V.At(1, 1) = u"Цвет";
  V.At(1, 2) = u"1234.50";
  V.At(1, 3) = u"=1+1";
  V.At(2, 1) = u"a\u0001b";
  V.At(2, 2) = u"'007";
  Sheet->Range(u"A1", u"B1").SetStyle(u"S0");
  Sheet->Range(u"A1", u"C2").SetValue(V);
  Sheet->Range(u"B1").SetNumberFormat(u"# ##0,00");
  Sheet->Range(u"A2", u"A3").SetMergeCells(true);
  Sheet->Range(u"C1", u"C2").Cells().Borders(xlEdgeRight).SetLineStyle(xlContinuous);
  Sheet->Rows().Rows(1).SetRowHeight(20.25);
  Sheet->Columns().Columns(2).SetColumnWidth(15.5);
  Sheet->Rows(3).SetPageBreak(xlPageBreakManual);
  Sheet->PageSetup().LeftMargin = 36;
  Sheet->PageSetup().Orientation = xlLandscape;
  Sheet->Range(u"B2", u"B2").PastePicture(OnePixelPng);
  Sheet->Pictures(1).SetWidth(30);
  Sheet->SetWrapText(true);
  const String File = Utf8ToString((Dir / "book.xls").string());
  Book->SaveAs(File, xlNormal, 1);
  EXPECT_EQ(Book->FullName(), File + u"x");
  ASSERT_TRUE(fs::exists(Dir / "book.xlsx"));
  EXPECT_FALSE(fs::exists(Dir / "book.xlsx.~part"));
  const std::string Out = xlsxtest::ReadBack(
      (Dir / "book.xlsx").string(),
      "a1 = ws['A1']\n"
      "print(a1.value, a1.font.b, a1.font.name, a1.font.sz, a1.font.color.rgb, "
      "a1.fill.fgColor.rgb, a1.alignment.horizontal, a1.alignment.textRotation, "
      "a1.alignment.wrap_text)\n"
      "print(repr(ws['B1'].value), ws['B1'].number_format, repr(ws['C1'].value), "
      "ws['C1'].data_type, repr(ws['A2'].value), repr(ws['B2'].value))\n"
      "print([str(r) for r in ws.merged_cells.ranges], ws['C2'].border.right.style, ws['C2'].border.left.style)\n"
      "print(ws.row_dimensions[1].height, ws.column_dimensions['B'].width, "
      "[b.id for b in ws.row_breaks.brk], ws.page_margins.left, ws.page_setup.orientation, "
      "len(ws._images))");
  EXPECT_EQ(Out,
            "Цвет True Arial 12.0 FFFF0000 FFFFFF00 right 150 True\n"
            "1234.5 #,##0.00 '=1+1' s 'a_x0001_b' '007'\n"
            "['A2:A3'] thin None\n"
            "20.25 16.28515625 [2] 0.5 landscape 1\n");
}

TEST_F(Spreadsheet, FailedSaveLeavesNothingAndVisibleOpensTheFile) {
  Sheet->Range(u"A1").SetValue([] {
    TSheetValues V(1, 1, 0);
    V.At(0, 0) = u"x";
    return V;
  }());
  const fs::path Missing = Dir / "no-such-folder" / "a.xlsx";
  try {
    Book->SaveAs(Utf8ToString(Missing.string()));
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EInOutError& E) {
    EXPECT_NE(E.Message().find(u"No such file or directory"), String::npos) << ToUtf8(E.Message());
  }
  EXPECT_FALSE(fs::exists(Missing.parent_path()));

  std::vector<String> Opened;
  SetShellOpenerForTests([&](const String& Target) {
    Opened.push_back(Target);
    return true;
  });
  App.SetVisible(true);
  EXPECT_TRUE(Opened.empty());  // nothing saved yet
  Book->SaveAs(Utf8ToString((Dir / "b.xlsx").string()));
  SetShellOpenerForTests(nullptr);
  ASSERT_EQ(Opened.size(), 1u);
  EXPECT_EQ(Opened[0], Utf8ToString((Dir / "b.xlsx").string()));
  App.Quit();
  EXPECT_EQ(App.ActiveWorkbook(), nullptr);
}
