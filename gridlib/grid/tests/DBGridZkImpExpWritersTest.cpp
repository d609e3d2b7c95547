// DBGridZkImpExpWritersTest.cpp - the five writers: byte goldens of the text, UTF-16, CSV and
// VCLDBIF forms, the RTF header, escapes and spans, and the outputs read back by real readers
// (Python's csv, file, unrtf).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/CommandOutput.h"
#include "gridlib/grid/tests/DBGridZkImpExpTestGrid.h"

namespace {

std::string Ansi(const char16_t* Text) { return StringToAnsi(Text); }

std::string TempFile(const std::string& Name, const std::string& Bytes) {
  const std::string Path = "/tmp/vorenta-exchange-" + std::to_string(getpid()) + "-" + Name;
  std::ofstream(Path, std::ios::binary) << Bytes;
  return Path;
}

class DBGridZkImpExpWriters : public ::testing::Test {
protected:
  void SetUp() override { FormatSettings = TFormatSettings::Russian(); }
  TExchangeGrid F{5};
};

TEST_F(DBGridZkImpExpWriters, TextUtf16AndCsvGoldens) {
  // Rows: 1 Краска 2 / 2 O'Neil 4 / 3 a<TAB>b 6 / 4 "" 8 / 5 Null 10.
  const String Text = u"ID\tNAME\tQTY\r\n1\tКраска\t2\r\n2\tO'Neil\t4\r\n3\ta\tb\t6\r\n4\t\t8\r\n5\t\t10";
  EXPECT_EQ(F.Export(NewGridExporter<TDBGridZkExportAsText>), StringToAnsi(Text));
  EXPECT_EQ(F.Export(NewGridExporter<TDBGridZkExportAsUnicodeText>), Utf16Bytes(Text));
  EXPECT_EQ(F.Export(NewGridExporter<TDBGridZkExportAsCSV>),
            Ansi(u"\"ID\";\"NAME\";\"QTY\"\r\n\"1\";\"Краска\";\"2\"\r\n\"2\";\"O'Neil\";\"4\"\r\n"
                 u"\"3\";\"a\tb\";\"6\"\r\n\"4\";\"\";\"8\"\r\n\"5\";\"\";\"10\""));
}

TEST_F(DBGridZkImpExpWriters, TitlesFootersSeparatorsAndQuotes) {
  struct TCase {
    const char* Name;
    bool Titles;
    bool Empty;
    char Separator;
    const char16_t* Csv;
  };
  const TCase Cases[] = {
      {"titles, comma separator", true, false, ',',
       u"\"ID\",\"NAME\",\"QTY\"\r\n\"1\",\"a\"\"b\",\"2\""},
      {"no titles", false, false, ';', u"\"1\";\"a\"\"b\";\"2\""},
      {"empty dataset: the title row alone, no line break", true, true, ';',
       u"\"ID\";\"NAME\";\"QTY\""},
  };
  TExchangeGrid One(1);
  One.Set->Edit();
  One.Set->FieldByName(u"NAME")->SetAsString(u"a\"b");
  One.Set->Post();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    One.Grid->SetOptions(C.Titles ? One.Grid->Options() + TDBGridOptions{dgTitles}
                                  : One.Grid->Options() - TDBGridOptions{dgTitles});
    if (C.Empty) One.Set->Delete();
    TDBGridZkExportAsCSV Csv;
    Csv.SetDBGridZk(One.Grid);
    Csv.SetSeparator(C.Separator);
    TMemoryStream S;
    Csv.ExportToStream(&S, true);
    S.SetPosition(0);
    EXPECT_EQ(ReadRestOfStream(&S), Ansi(C.Csv));
  }
}

TEST_F(DBGridZkImpExpWriters, VclDbifValues) {
  // A lookup over two keys, a column without a field, a Null integer. (The dataset framework
  // keeps single-precision numbers as ftFloat, so no field here has the type ftSingle.)
  TExchangeGrid G(0);
  G.Set->Close();
  G.Set->FieldDefs()->Add(u"K1", ftInteger);
  G.Set->FieldDefs()->Add(u"K2", ftWideString, 10);
  auto* List = new TArrayDataSet(G.Form);
  List->FieldDefs()->Add(u"A", ftInteger);
  List->FieldDefs()->Add(u"B", ftWideString, 10);
  List->FieldDefs()->Add(u"T", ftWideString, 10);
  List->AddRow({1, String(u"a b"), String(u"found")});
  List->Open();
  for (int I = 0; I < G.Set->FieldDefs()->Count(); ++I) G.Set->FieldDefs()->Items(I)->CreateField(G.Set);
  TField* L = new TStringField(G.Set);
  L->SetFieldName(u"LK");
  L->SetFieldKind(fkLookup);
  L->SetKeyFields(u"K1;K2");
  L->SetLookupDataSet(List);
  L->SetLookupKeyFields(u"A;B");
  L->SetLookupResultField(u"T");
  L->SetDataSet(G.Set);
  G.Set->Open();
  G.Set->AppendRecord({Null(), String(u"Ab"), Null(), Null(), Null(), Null(), 1, String(u"a b")});
  G.Columns({u"LK", u"", u"QTY", u"NAME"});
  std::string Expected("VCLDBIF\x01\x04\0\0\0", 12);
  Expected += std::string("\x01\0\x01\0\x01\0\x01\0", 8);
  const String LookupText = u"1,\"a b\"";
  Expected += std::string("\x07\x0e\0\0\0", 5) + Utf16Bytes(LookupText);
  Expected += std::string("\x01\x02", 2);
  Expected += std::string("\x07\x04\0\0\0", 5) + Utf16Bytes(u"Ab");
  Expected += std::string("\0", 1);
  EXPECT_EQ(G.Export(NewGridExporter<TDBGridZkExportAsVCLDBIF>), Expected);
}

TEST_F(DBGridZkImpExpWriters, RtfDeclaresItsCodePageAndEscapes) {
  F.Set->Edit();
  F.Set->FieldByName(u"NAME")->SetAsString(u"{x}\\ ≠ Ж");
  F.Set->Post();
  F.Grid->Columns()->Items(0)->Title()->SetCaption(u"Номер");
  const std::string Rtf = F.Export(NewGridExporter<TDBGridZkExportAsRTF>);
  EXPECT_EQ(Rtf.rfind("{\\rtf0\\ansi\\ansicpg1251\\uc1\r\n{\\colortbl\\red0\\green0\\blue0;"
                      "\\red255\\green255\\blue255;\\red",
                      0),
            0u);
  EXPECT_NE(Rtf.find(" \\{x\\}\\\\ \\u8800? \\'c6\\cell}"), std::string::npos);
  EXPECT_NE(Rtf.find("\\'cd\\'ee\\'ec\\'e5\\'f0\\cell}"), std::string::npos);   // "Номер"
  for (unsigned char C : Rtf) EXPECT_LT(C, 0x80);
  EXPECT_EQ(Rtf.back(), '}');
  int Depth = 0;
  for (std::size_t I = 0; I < Rtf.size(); ++I) {
    if (Rtf[I] == '\\') ++I;
    else if (Rtf[I] == '{') ++Depth;
    else if (Rtf[I] == '}') --Depth;
    ASSERT_GE(Depth, 0);
  }
  EXPECT_EQ(Depth, 0);
}

TEST_F(DBGridZkImpExpWriters, RtfTablesShareEntriesAndMultiTitlesSpan) {
  // "A|x", "A|y", "B": A spans two columns above x and y; B spans both levels.
  F.Grid->Columns()->Items(0)->Title()->SetCaption(u"A|x");
  F.Grid->Columns()->Items(1)->Title()->SetCaption(u"A|y");
  F.Grid->Columns()->Items(2)->Title()->SetCaption(u"B");
  F.Grid->Columns()->Items(1)->Font()->SetName(F.Grid->Columns()->Items(0)->Font()->Name() + u"");
  F.Grid->Columns()->Items(2)->Font()->SetName(AnsiUpperCase(F.Grid->Columns()->Items(0)->Font()->Name()));
  F.Grid->Columns()->Items(1)->SetColor(clBtnFace);
  F.Grid->Columns()->Items(2)->SetColor(ColorToRGB(clBtnFace));
  F.Grid->SetUseMultiTitle(true);
  F.Grid->SetOptions(F.Grid->Options() - TDBGridOptions{dgTitles});
  F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgTitles});
  const std::string Rtf = F.Export(NewGridExporter<TDBGridZkExportAsRTF>);
  const std::size_t FontTable = Rtf.find("{\\fonttbl");
  ASSERT_NE(FontTable, std::string::npos);
  const std::string Fonts = Rtf.substr(FontTable, Rtf.find('}', FontTable) - FontTable);
  EXPECT_EQ(Fonts.find("\\f1"), std::string::npos) << Fonts;   // one name, any case
  const std::string Colors = Rtf.substr(0, Rtf.find("}\r\n{\\fonttbl"));
  EXPECT_EQ(Colors.find("\\red", Colors.find("\\red", Colors.find("\\red", Colors.find("\\red") + 1) + 1) + 1),
            std::string::npos)
      << Colors;   // black, white, button face: the button face both ways is one entry
  // The upper level: A over two columns (its right border and the next cell's left left out),
  // B reaching down; the lower level: x, y and B's empty lower half without a top border.
  const std::size_t Upper = Rtf.find("\\trowd");
  const std::size_t Lower = Rtf.find("\\trowd", Upper + 1);
  const std::string UpperRow = Rtf.substr(Upper, Lower - Upper);
  const std::string LowerRow = Rtf.substr(Lower, Rtf.find("\\trowd", Lower + 1) - Lower);
  EXPECT_NE(UpperRow.find(" A\\cell}"), std::string::npos);
  EXPECT_NE(UpperRow.find(" B\\cell}"), std::string::npos);
  EXPECT_EQ(UpperRow.find(" x\\cell}"), std::string::npos);
  EXPECT_NE(UpperRow.find("\\trgaph40\r\n\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                          "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clcbpat2\\cellx1215\r\n"
                          "\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n"
                          "\\clbrdrr\\brdrs\\brdrcf0\r\n\\clcbpat2\\cellx4425\r\n"
                          "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                          "\\clbrdrr\\brdrs\\brdrcf0\r\n\\clcbpat"),
            std::string::npos)
      << UpperRow;
  EXPECT_NE(LowerRow.find(" x\\cell}"), std::string::npos);
  EXPECT_NE(LowerRow.find(" y\\cell}"), std::string::npos);
  EXPECT_EQ(LowerRow.find(" B\\cell}"), std::string::npos);
  EXPECT_NE(LowerRow.find("\\pard\\intbl{\\qc\\fs"), std::string::npos);   // the cleared cell
}

TEST_F(DBGridZkImpExpWriters, RealReadersReadTheCellsBack) {
  F.Set->Edit();
  F.Set->FieldByName(u"NAME")->SetAsString(u"две\r\nстроки; \"и\"");
  F.Set->Post();
  const std::string Csv = TempFile("cells.csv", F.Export(NewGridExporter<TDBGridZkExportAsCSV>));
  const std::string Rows = CommandOutput(
      "python3 -c 'import csv,sys; "
      "[print(\"|\".join(r)) for r in csv.reader(open(sys.argv[1], encoding=\"cp1251\", newline=\"\"), delimiter=\";\")]' " +
      Csv);
  EXPECT_EQ(Rows, "ID|NAME|QTY\n1|две\r\nстроки; \"и\"|2\n2|O'Neil|4\n3|a\tb|6\n4||8\n5||10\n");

  const std::string Text = TempFile("cells.txt", F.Export(NewGridExporter<TDBGridZkExportAsUnicodeText>));
  EXPECT_EQ(CommandOutput("python3 -c 'import sys; print(open(sys.argv[1], encoding=\"utf-16-le\", newline=\"\").read().split(\"\\t\")[3])' " + Text),
            "две\r\nстроки; \"и\"\n");

  const std::string Rtf = TempFile("cells.rtf", F.Export(NewGridExporter<TDBGridZkExportAsRTF>));
  EXPECT_NE(CommandOutput("file -b " + Rtf).find("code page 1251"), std::string::npos)
      << CommandOutput("file -b " + Rtf);
  // Line breaks inside an RTF cell are no text: the two lines meet.
  const std::string Html = CommandOutput(
      "unrtf --html " + Rtf +
      " 2>/dev/null | python3 -c 'import html,sys; print(html.unescape(sys.stdin.read()))'");
  std::size_t At = 0;
  for (const char* Cell : {"ID", "NAME", "QTY", "двестроки; \"и\"", "O'Neil", "a b", "10"}) {
    const std::size_t Found = Html.find(Cell, At);
    ASSERT_NE(Found, std::string::npos) << Cell << "\n" << Html;
    At = Found;
  }
  for (const std::string& P : {Csv, Text, Rtf}) std::remove(P.c_str());
}

}  // namespace
