// DBGridZkImpExpReadersTest.cpp - the readers: the text state machine's cells, where records go
// (overwritten from the current record and appended, inserted, a rectangle, columns), forged and
// cut VCLDBIF blocks that change nothing, random mutations, the error guard's answers, and copy
// then paste into an empty table.
#include <gtest/gtest.h>

#include <random>

#include "platform/controls/Dialogs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "gridlib/grid/tests/DBGridZkImpExpTestGrid.h"

namespace {

// Records the cells each record gets, by column position, instead of assigning them.
template <class TReader> class TCellRecorder : public TReader {
public:
  std::vector<std::vector<String>> Rows;

protected:
  void ImportRecord(const TColumnsZkList& Columns) override {
    FNewRow = true;
    TReader::ImportRecord(Columns);
  }
  void ImportCell(TColumnZk*) override {
    if (FNewRow) Rows.emplace_back();
    FNewRow = false;
    Rows.back().push_back(this->CellString());
  }

private:
  bool FNewRow = false;
};

template <class TReader>
std::vector<std::vector<String>> CellsOf(TExchangeGrid& G, const std::string& Bytes) {
  TCellRecorder<TReader> R;
  R.SetDBGridZk(G.Grid);
  TMemoryStream S;
  S.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  S.SetPosition(0);
  R.ImportFromStream(&S, true);
  return R.Rows;
}

class DBGridZkImpExpReaders : public ::testing::Test {
public:  // the case tables call the helpers
  void SetUp() override {
    FormatSettings = TFormatSettings::Russian();
    Answerer = new TTestDialogAnswerer;
    SavedDialogs = SetDialogService(std::unique_ptr<IDialogService>(Answerer));
  }
  void TearDown() override { SetDialogService(std::move(SavedDialogs)); }
  TBookmarkRef BookmarkOfRecord(TExchangeGrid& G, int RecNo) {
    G.Set->SetRecNo(RecNo);
    return std::make_shared<const TBookmark>(G.Set->GetBookmark());
  }

  TTestDialogAnswerer* Answerer = nullptr;
  std::unique_ptr<IDialogService> SavedDialogs;
  TExchangeGrid F{5};
};

using TRows = std::vector<std::vector<String>>;

TEST_F(DBGridZkImpExpReaders, TextStateMachine) {
  F.Columns({u"ID", u"NAME", u"QTY", u"FLAG", u"NOTE", u"PRICE"});
  F.Grid->SetAllowedOperations(F.Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
  struct TCase {
    const char* Name;
    std::string Ansi;
    TRows Rows;
  };
  const TCase Cases[] = {
      {"an empty cell between two TABs", "a\t\tb", {{u"a", u"", u"b"}}},
      {"a line starting with TAB, a TAB before CR LF", "\ta\r\nb\t\r\nc", {{u"", u"a"}, {u"b", u""}, {u"c"}}},
      {"no terminator", "a", {{u"a"}}},
      {"a trailing CR LF adds no record", "a\r\n", {{u"a"}}},
      {"an empty line is a record with an empty cell", "a\r\n\r\nb", {{u"a"}, {u""}, {u"b"}}},
      {"a lone LF is cell text", "a\nb\tc", {{u"a\nb", u"c"}}},
      {"NUL ends the input", std::string("a\tb\0c\td", 7), {{u"a", u"b"}}},
      {"nothing", "", {}},
      {"code page 1251", "\xca\xf0\xe0\xf1\xea\xe0", {{u"Краска"}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(CellsOf<TDBGridZkImportAsText>(F, C.Ansi), C.Rows);
  }
  EXPECT_EQ(CellsOf<TDBGridZkImportAsUnicodeText>(F, Utf16Bytes(u"\uFEFFa\tЖ\r\nb")),
            (TRows{{u"\uFEFFa", u"Ж"}, {u"b"}}));
  EXPECT_EQ(CellsOf<TDBGridZkImportAsUnicodeText>(F, Utf16Bytes(u"ab") + "x"), (TRows{{u"ab"}}))
      << "half a code unit at the end is no character";
}

TEST_F(DBGridZkImpExpReaders, LoneCrIsAnErrorBeforeAnyRecordChanges) {
  const std::string Before = F.Digest();
  F.Set->First();
  try {
    F.Import(NewGridImporter<TDBGridZkImportAsText>, "9\tx\t1\r\n9\ty\r2", true);
    FAIL() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"TDBGridZkImportAsText.CheckState: Неверный формат текста");
  }
  try {
    F.Import(NewGridImporter<TDBGridZkImportAsUnicodeText>, Utf16Bytes(u"9\tx\r"), true);
    FAIL() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"TDBGridZkImportAsUnicodeText.CheckState: Неверный формат текста");
  }
  EXPECT_EQ(F.Digest(), Before);
  // After the NUL nothing is read, so a CR there is no error.
  F.Import(NewGridImporter<TDBGridZkImportAsText>, std::string("1\tz\0\r", 5), true);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"z");
}

TEST_F(DBGridZkImpExpReaders, WhereRecordsGo) {
  std::string Lines;
  for (int I = 1; I <= 10; ++I) Lines += "L" + std::to_string(I) + "\t" + std::to_string(100 + I) + "\r\n";
  struct TCase {
    const char* Name;
    std::function<void(DBGridZkImpExpReaders*, TExchangeGrid&)> Prepare;
    std::vector<std::string> Rows;   // ID|NAME|QTY of every row in storage order
  };
  auto Names = [](TExchangeGrid& G) {
    std::vector<std::string> Out;
    for (int R = 0; R < G.Set->RowCount(); ++R) {
      const auto& V = G.Set->Row(R);
      Out.push_back(StringToUtf8(VarToStr(V[0])) + "|" + StringToUtf8(VarToStr(V[1])) + "|" +
                    StringToUtf8(VarToStr(V[3])));
    }
    return Out;
  };
  const TCase Cases[] = {
      {"records 3 to 5 from the second column, the rest appended",
       [](DBGridZkImpExpReaders*, TExchangeGrid& G) {
         G.Grid->SetAllowedOperations(G.Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
         G.Set->SetRecNo(3);
         G.Grid->SetCol(G.Grid->IndicatorOffset() + 1);
       },
       {"1|Краска|2", "2|O'Neil|4", "3|L1|101", "4|L2|102", "5|L3|103", "|L4|104", "|L5|105",
        "|L6|106", "|L7|107", "|L8|108", "|L9|109", "|L10|110"}},
      {"without appending the rest is left unread",
       [](DBGridZkImpExpReaders*, TExchangeGrid& G) {
         G.Grid->SetAllowedOperations(G.Grid->AllowedOperations() - TDBGridZkAllowedOperations{alopAppendZk});
         G.Set->SetRecNo(4);
         G.Grid->SetCol(G.Grid->IndicatorOffset() + 1);
       },
       {"1|Краска|2", "2|O'Neil|4", "3|a\tb|6", "4|L1|101", "5|L2|102"}},
      {"a rectangle of two columns over records 2 to 3",
       [](DBGridZkImpExpReaders* T, TExchangeGrid& G) {
         G.Grid->Selection()->Rect()->Select(1, T->BookmarkOfRecord(G, 2), false);
         G.Grid->Selection()->Rect()->Select(2, T->BookmarkOfRecord(G, 3), true);
       },
       {"1|Краска|2", "2|L1|101", "3|L2|102", "4||8", "5||10"}},
      {"a selected column takes the first cells of every record",
       [](DBGridZkImpExpReaders*, TExchangeGrid& G) {
         G.Grid->Selection()->Columns()->Select(G.Grid->Columns()->Items(1), false);
       },
       {"1|L1|2", "2|L2|4", "3|L3|6", "4|L4|8", "5|L5|10"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TExchangeGrid G(5);
    G.Grid->SetOptions(G.Grid->Options() + TDBGridOptions{dgMultiSelect});
    G.Grid->SetAllowedSelections(TDBGridZkAllowedSelections{gstRecordBookmarksAS, gstRectangleAS,
                                                            gstColumnsAS, gstAllAS});
    C.Prepare(this, G);
    G.Import(NewGridImporter<TDBGridZkImportAsText>, StringToAnsi(Utf8ToString(Lines)));
    EXPECT_EQ(Names(G), C.Rows);
  }
}

TEST_F(DBGridZkImpExpReaders, LookupAndKeyListCellsTakeTheirKeys) {
  // NAME looked up by the colour's name (case and a prefix do), QTY through a key list.
  TExchangeGrid G(0);
  G.Set->Close();
  auto* Colours = new TArrayDataSet(G.Form);
  Colours->FieldDefs()->Add(u"CID", ftInteger);
  Colours->FieldDefs()->Add(u"CNAME", ftWideString, 20);
  Colours->AddRow({7, String(u"Охра")});
  Colours->AddRow({8, String(u"Умбра")});
  Colours->Open();
  for (int I = 0; I < G.Set->FieldDefs()->Count(); ++I) G.Set->FieldDefs()->Items(I)->CreateField(G.Set);
  TField* L = new TWideStringField(G.Set);
  L->SetFieldName(u"COLOUR");
  L->SetFieldKind(fkLookup);
  L->SetKeyFields(u"ID");
  L->SetLookupDataSet(Colours);
  L->SetLookupKeyFields(u"CID");
  L->SetLookupResultField(u"CNAME");
  L->SetDataSet(G.Set);
  G.Set->Open();
  G.Set->AppendRecord({1, String(u"a"), Null(), 5});
  G.Set->AppendRecord({2, String(u"b"), Null(), 5});
  G.Columns({u"COLOUR", u"QTY"});
  TColumnZk* Qty = G.Grid->Columns()->Items(1);
  Qty->PickList()->SetCommaText(u"один,два");
  Qty->KeyList()->SetCommaText(u"1,2");
  G.Set->First();
  G.Import(NewGridImporter<TDBGridZkImportAsText>, StringToAnsi(u"умб\tдва\r\nнет такого\tтри"), true);
  G.Set->First();
  EXPECT_EQ(G.Set->FieldByName(u"ID")->AsInteger(), 8);
  EXPECT_EQ(G.Set->FieldByName(u"QTY")->AsInteger(), 2);
  G.Set->Next();
  EXPECT_EQ(G.Set->FieldByName(u"ID")->AsInteger(), 2) << "a name not in the list changes nothing";
  EXPECT_TRUE(G.Set->FieldByName(u"QTY")->IsNull()) << "a text not in the pick list clears";
}

TEST_F(DBGridZkImpExpReaders, FilesThatCannotBeOpenedOrCreated) {
  TDBGridZkExportAsText E;
  E.SetDBGridZk(F.Grid);
  EXPECT_THROW(E.ExportToFile(u"/nonexistent-folder/out.txt", true), EFCreateError);
  TDBGridZkImportAsText I;
  I.SetDBGridZk(F.Grid);
  const std::string Before = F.Digest();
  EXPECT_THROW(I.ImportFromFile(u"/nonexistent-folder/in.txt", true), EFOpenError);
  EXPECT_EQ(F.Digest(), Before);
}

TEST_F(DBGridZkImpExpReaders, InsertStateInsertsBeforeTheCurrentRecordInOrder) {
  TExchangeGrid G(3);
  G.Set->SetRecNo(2);
  G.Set->Insert();
  G.Import(NewGridImporter<TDBGridZkImportAsText>, "7\tx\t1\r\n8\ty\t2");
  std::vector<int> Ids;
  for (G.Set->First(); !G.Set->Eof(); G.Set->Next()) Ids.push_back(G.Set->FieldByName(u"ID")->AsInteger());
  EXPECT_EQ(Ids, (std::vector<int>{1, 7, 8, 2, 3}));
}

// A golden block: three columns, five records.
std::string GoldenBlock(TExchangeGrid& G) { return G.Export(NewGridExporter<TDBGridZkExportAsVCLDBIF>); }

TEST_F(DBGridZkImpExpReaders, ForgedOrCutVclDbifChangesNothing) {
  const std::string Golden = GoldenBlock(F);
  const String Error = u"TDBGridZkImportAsVCLDBIF.ReadPrefix: Неверный формат VCLDBIF";
  std::vector<std::pair<std::string, std::string>> Bad;
  for (std::size_t Cut = 0; Cut < Golden.size(); ++Cut)
    Bad.push_back({"cut at " + std::to_string(Cut), Golden.substr(0, Cut)});
  auto Forge = [&](const char* Name, std::size_t At, std::string Bytes) {
    std::string B = Golden;
    B.replace(At, Bytes.size(), Bytes);
    Bad.push_back({Name, B});
  };
  Forge("signature", 0, "vCLDBIF");
  Forge("negative column count", 8, std::string("\xff\xff\xff\xff", 4));
  Forge("column count beyond the data", 8, std::string("\x00\x10\x00\x00", 4));
  // Record 1: tag 3 at 18, then NAME (tag 7) at 23 with its length at 24.
  Forge("negative length", 24, std::string("\xff\xff\xff\xff", 4));
  Forge("length beyond the data", 24, std::string("\x00\x00\x01\x00", 4));
  Forge("odd UTF-16 length", 24, std::string("\x0b\x00\x00\x00", 4));
  for (int Tag = 8; Tag < 256; Tag += 37) Forge("unknown tag", 18, std::string(1, char(Tag)));
  {
    std::string NoColumns("VCLDBIF\x01\0\0\0\0\x01\0", 14);
    Bad.push_back({"values without columns", NoColumns});
  }
  const std::string Before = F.Digest();
  for (auto& [Name, Bytes] : Bad) {
    SCOPED_TRACE(Name);
    F.Set->SetRecNo(2);
    try {
      F.Import(NewGridImporter<TDBGridZkImportAsVCLDBIF>, Bytes, true);
      ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), Error);
    }
    EXPECT_EQ(F.Digest(), Before);
    EXPECT_EQ(F.Set->RecNo(), 2);
    EXPECT_FALSE(F.Set->ControlsDisabled());
  }
  // The version is not checked, and tag 1 leaves a field while tag 2 clears it.
  std::string V2 = Golden;
  V2[7] = 2;
  V2.replace(18, 5, std::string("\x01", 1));   // ID of record 1: empty
  V2.replace(V2.find("\x03\x02\0\0\0", 18), 5, std::string("\x02", 1));   // its QTY 2: Null
  F.Set->First();
  F.Import(NewGridImporter<TDBGridZkImportAsVCLDBIF>, V2, true);
  F.Set->First();
  EXPECT_EQ(F.Set->FieldByName(u"ID")->AsInteger(), 1);
  EXPECT_TRUE(F.Set->FieldByName(u"QTY")->IsNull());
}

TEST_F(DBGridZkImpExpReaders, RandomMutationsNeverEscapeAsForeignErrors) {
  const std::string Golden = GoldenBlock(F);
  std::mt19937 Random(24);
  Answerer->MessageAnswers.assign(100000, mrYes);
  int Failures = 0;
  for (int Round = 0; Round < 3000; ++Round) {
    std::string B = Golden;
    const int Changes = 1 + static_cast<int>(Random() % 4);
    for (int I = 0; I < Changes; ++I) B[Random() % B.size()] = static_cast<char>(Random() & 0xFF);
    if (Random() % 4 == 0) B.resize(Random() % B.size());
    try {
      F.Set->First();
      F.Import(NewGridImporter<TDBGridZkImportAsVCLDBIF>, B, Random() % 2 == 0);
    } catch (const Exception&) {
      ++Failures;
    }
    ASSERT_FALSE(F.Set->ControlsDisabled());
  }
  EXPECT_GT(Failures, 0);
}

TEST_F(DBGridZkImpExpReaders, ErrorGuardAnswers) {
  // QTY refuses numbers over 100: three lines with such numbers fail three times.
  const std::string Bad = "1\tp\t101\r\n2\tq\t102\r\n3\tr\t103";
  struct TCase {
    const char* Name;
    std::vector<TModalResult> Answers;
    std::size_t Questions;
    std::string NamesAfter;   // NAME of records 1 to 3
    bool Aborted;
  };
  const TCase Cases[] = {
      {"Yes skips each value", {mrYes, mrYes, mrYes}, 3, "pqr", false},
      {"All skips this and every later value", {mrAll}, 1, "pqr", false},
      {"No ends the import, keeping what was written", {mrNo}, 1, "p", true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TExchangeGrid G(3);
    G.Set->FieldByName(u"QTY")->SetOnValidate([](TField* Field) {
      if (Field->AsInteger() > 100) throw Exception(u"Не больше 100");
    });
    Answerer->Messages.clear();
    Answerer->MessageAnswers.assign(C.Answers.begin(), C.Answers.end());
    bool Aborted = false;
    try {
      G.Import(NewGridImporter<TDBGridZkImportAsText>, Bad, true);
    } catch (const EAbort&) {
      Aborted = true;
    }
    EXPECT_EQ(Aborted, C.Aborted);
    ASSERT_EQ(Answerer->Messages.size(), C.Questions);
    const String Text = Answerer->Messages[0].Text;
    const String Head = u"Ошибка при вставке значения:\n", Tail = u"\n\nИгнорировать ошибку?";
    EXPECT_EQ(Text.substr(0, Head.size()), Head);
    EXPECT_NE(Text.find(u"Не больше 100"), String::npos);
    EXPECT_EQ(Text.substr(Text.size() - Tail.size()), Tail);
    std::string Names;
    for (int R = 0; R < 3; ++R) {
      const String N = VarToStr(G.Set->Row(R)[1]);
      if (N.size() == 1) Names += static_cast<char>(N[0]);
    }
    EXPECT_EQ(Names, C.NamesAfter);
    EXPECT_FALSE(G.Set->ControlsDisabled());
  }
}

// Overwriting from the current record moves the cursor down the table; afterwards the current
// record is back on its screen row with the same records above it, also when an answer ends
// the import.
TEST_F(DBGridZkImpExpReaders, ImportKeepsTheCurrentRecordOnItsScreenRow) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::vector<TModalResult> Answers;
    bool Aborted;
  };
  const TCase Cases[] = {
      {"the whole input written", "p\t1\r\nq\t2\r\nr\t3", {}, false},
      {"ended by No at the second record", "p\t1\r\nq\t500\r\nr\t3", {mrNo}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TExchangeGrid G(100);
    TDBGridZk* Grid = G.Grid;
    Grid->SetAllowedOperations(Grid->AllowedOperations() - TDBGridZkAllowedOperations{alopAppendZk});
    G.Set->FieldByName(u"QTY")->SetOnValidate([](TField* Field) {
      if (Field->AsInteger() > 100) throw Exception(u"Не больше 100");
    });
    Answerer->MessageAnswers.assign(C.Answers.begin(), C.Answers.end());
    G.Set->SetRecNo(50);
    Grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Grid->SetCol(Grid->IndicatorOffset() + 1);
    const int RecNo = G.Set->RecNo(), ScreenRow = Grid->DataLink()->ActiveRecord();
    ASSERT_NE(ScreenRow, (Grid->DataLink()->RecordCount() - 1) / 2) << "not the middle row";
    bool Aborted = false;
    try {
      G.Import(NewGridImporter<TDBGridZkImportAsText>, C.Bytes);
    } catch (const EAbort&) {
      Aborted = true;
    }
    EXPECT_EQ(Aborted, C.Aborted);
    EXPECT_EQ(VarToStr(G.Set->Row(RecNo - 1)[1]), u"p") << "written from the current record";
    EXPECT_EQ(G.Set->RecNo(), RecNo);
    EXPECT_EQ(Grid->DataLink()->ActiveRecord(), ScreenRow);
    EXPECT_EQ(Grid->DataRowToRecNo(0), RecNo - ScreenRow);
  }
}

TEST_F(DBGridZkImpExpReaders, CopyThenPasteIntoAnEmptyTable) {
  F.Columns({u"ID", u"NAME", u"PRICE", u"QTY", u"FLAG", u"NOTE"});
  F.Grid->SetOptions(F.Grid->Options() - TDBGridOptions{dgTitles});
  CopyGridSelectionToClipboard(F.Grid, true);
  {
    SCOPED_TRACE("VCLDBIF: Null and the TAB come back (the grid writes no memo)");
    TExchangeGrid Copy(0);
    Copy.Columns({u"ID", u"NAME", u"PRICE", u"QTY", u"FLAG", u"NOTE"});
    Copy.Grid->SetAllowedOperations(Copy.Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
    PasteClipboardIntoGrid(Copy.Grid, false);
    EXPECT_EQ(Copy.Digest({0, 1, 2, 3, 4}), F.Digest({0, 1, 2, 3, 4}));
  }
  {
    SCOPED_TRACE("UTF-16 text of cells without TABs or Null");
    TExchangeGrid Source(4);
    Source.Columns({u"ID", u"NAME", u"QTY", u"FLAG"});
    Source.Grid->SetOptions(Source.Grid->Options() - TDBGridOptions{dgTitles});
    Source.Set->SetRecNo(3);
    Source.Set->Edit();
    Source.Set->FieldByName(u"NAME")->SetAsString(u"Охра золотистая");
    Source.Set->Post();
    CopyGridSelectionToClipboard(Source.Grid, true);
    TMemoryStream Text;
    ReadClipboardFormatToStream(CF_UNICODETEXT, &Text);
    Text.SetPosition(0);
    TExchangeGrid Copy(0);
    Copy.Columns({u"ID", u"NAME", u"QTY", u"FLAG"});
    Copy.Grid->SetAllowedOperations(Copy.Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
    RunGridImporter(NewGridImporter<TDBGridZkImportAsUnicodeText>, Copy.Grid, &Text, false);
    EXPECT_EQ(Copy.Digest({0, 1, 3, 4}), Source.Digest({0, 1, 3, 4}));
  }
}

}  // namespace
