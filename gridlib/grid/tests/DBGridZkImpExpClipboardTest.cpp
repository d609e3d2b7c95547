// DBGridZkImpExpClipboardTest.cpp - the export base's calls per selection kind and its footer
// totals, copy with its five formats (also with no selection under a master), paste's choice of
// format, and delete: selected records over row-number bookmarks, the questions, cleared cells.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkImpExpTestGrid.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Logs the write calls: P prefix, T title, R<ID> record, F<n> footer, S suffix.
class TRecordingExport : public TDBGridZkExport {
public:
  std::string Log;
  std::vector<String> FooterTexts;
  std::vector<Int64> Totals;

protected:
  void WritePrefix() override { Log += "P" + std::to_string(FExpCols.size()) + " "; }
  void WriteSuffix() override { Log += "S"; }
  void WriteTitle(const TColumnsZkList&) override { Log += "T "; }
  void WriteRecord(const TColumnsZkList& Columns) override {
    Log += "R";
    TDBGridZkExport::WriteRecord(Columns);
    Log += " ";
  }
  void WriteDataCell(TColumnZk*, TColCellParamsZk* P) override { Log += StringToUtf8(P->Text) + ","; }
  void WriteFooter(const TColumnsZkList& Columns, int FooterNo) override {
    Log += "F" + std::to_string(FooterNo) + " ";
    Totals = FooterValues;
    TDBGridZkExport::WriteFooter(Columns, FooterNo);
  }
  void WriteFooterCell(int, int, const String& Value, TAlignment, TColor, TFont*, TColumnZk*) override {
    FooterTexts.push_back(Value);
  }
};

std::string RecordedCalls(TCustomDBGridZk* Grid, bool All = false) {
  TRecordingExport E;
  E.SetDBGridZk(Grid);
  TMemoryStream S;
  E.ExportToStream(&S, All);
  return E.Log;
}

class DBGridZkImpExpClipboard : public ::testing::Test {
public:  // the case tables call the helpers
  void SetUp() override {
    FormatSettings = TFormatSettings::Russian();
    Answerer = new TTestDialogAnswerer;
    SavedDialogs = SetDialogService(std::unique_ptr<IDialogService>(Answerer));
    F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgMultiSelect});
    F.Grid->SetAllowedSelections(TDBGridZkAllowedSelections{gstRecordBookmarksAS, gstRectangleAS,
                                                            gstColumnsAS, gstAllAS});
  }
  void TearDown() override { SetDialogService(std::move(SavedDialogs)); }
  TBookmarkRef RecordBookmark(int RecNo) {
    F.Set->SetRecNo(RecNo);
    return std::make_shared<const TBookmark>(F.Set->GetBookmark());
  }
  void SelectRecords(std::initializer_list<int> RecNos) {
    for (int R : RecNos) {
      F.Set->SetRecNo(R);
      F.Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
  }

  TTestDialogAnswerer* Answerer = nullptr;
  std::unique_ptr<IDialogService> SavedDialogs;
  TExchangeGrid F{5};
};

TEST_F(DBGridZkImpExpClipboard, WriteCallsPerSelectionKind) {
  F.Grid->SetFooterRowCount(1);
  struct TCase {
    const char* Name;
    std::function<void()> Select;
    bool All;
    std::string Log;
  };
  const TCase Cases[] = {
      {"no selection: the current cell alone", [&] { F.Set->SetRecNo(2); F.Grid->SetCol(F.Grid->IndicatorOffset() + 1); }, false,
       "P1 RO'Neil, S"},
      {"records in list order", [&] { SelectRecords({4, 2}); }, false,
       "P3 T R2,O'Neil,4, R4,,8, F0 S"},
      {"a rectangle", [&] {
         F.Grid->Selection()->Rect()->Select(0, RecordBookmark(2), false);
         F.Grid->Selection()->Rect()->Select(1, RecordBookmark(3), true);
       }, false, "P2 T R2,O'Neil, R3,a\tb, F0 S"},
      {"columns", [&] { F.Grid->Selection()->Columns()->Select(F.Grid->Columns()->Items(2), false); }, false,
       "P1 T R2, R4, R6, R8, R10, F0 S"},
      {"the whole grid", [] {}, true, "P3 T R1,Краска,2, R2,O'Neil,4, R3,a\tb,6, R4,,8, R5,,10, F0 S"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F.Grid->Selection()->Clear();
    C.Select();
    F.Set->SetRecNo(2);
    EXPECT_EQ(RecordedCalls(F.Grid, C.All), C.Log);
    EXPECT_EQ(F.Set->RecNo(), 2) << "the position comes back";
  }
  F.Grid->SetOptions(F.Grid->Options() - TDBGridOptions{dgTitles});
  EXPECT_EQ(RecordedCalls(F.Grid, true).substr(0, 5), "P3 R1") << "no title without dgTitles";
}

TEST_F(DBGridZkImpExpClipboard, FooterTotals) {
  TExchangeGrid G(0);
  G.Set->Close();
  G.Set->FieldDefs()->Clear();
  G.Set->FieldDefs()->Add(u"V", ftFloat);
  G.Set->FieldDefs()->Add(u"N", ftInteger);
  G.Set->FieldDefs()->Add(u"L", ftLargeint);
  G.Set->AddRow({0.1, 1, 5});
  G.Set->AddRow({0.2, 2, 6});
  G.Set->AddRow({Null(), 3, 7});
  G.Set->Open();
  G.Columns({u"V", u"N", u"L"});
  G.Grid->SetFooterRowCount(2);
  for (int I = 0; I < 3; ++I) G.Grid->Columns()->Items(I)->UsedFooter(0)->SetValueType(fvtSum);
  G.Grid->Columns()->Items(0)->UsedFooter(1)->SetValueType(fvtCount);
  G.Grid->Columns()->Items(1)->UsedFooter(1)->SetValueType(fvtStaticText);
  G.Grid->Columns()->Items(1)->UsedFooter(1)->SetValue(u"итого");
  TRecordingExport E;
  E.SetDBGridZk(G.Grid);
  TMemoryStream S;
  E.ExportToStream(&S, true);
  EXPECT_EQ(E.Totals, (std::vector<Int64>{3000, 60000, 180000, 30000, 0, 0}));
  EXPECT_EQ(E.FooterTexts, (std::vector<String>{u"0,3", u"6", u"", u"3", u"итого", u""}));
}

TEST_F(DBGridZkImpExpClipboard, CopyPutsFiveFormatsAndTheCurrentCellWithoutSelection) {
  // A detail dataset under a master with records: with no selection the current cell is copied.
  auto* Master = new TArrayDataSet(F.Form);
  Master->FieldDefs()->Add(u"QTY", ftInteger);
  Master->AddRow({4});
  Master->Open();
  auto* MasterSource = new TDataSource(F.Form);
  MasterSource->SetDataSet(Master);
  F.Set->Close();
  F.Set->Params()->CreateParam(ftInteger, u"QTY", ptInput);
  F.Set->SetMasterSource(MasterSource);
  F.Set->Open();
  F.Grid->Selection()->Clear();
  F.Grid->SetCol(F.Grid->IndicatorOffset() + 1);
  CopyGridSelectionToClipboard(F.Grid, false);
  EXPECT_EQ(Clipboard()->GetData(CF_TEXT), std::string("O'Neil\0", 7));
  EXPECT_EQ(Clipboard()->GetData(CF_UNICODETEXT), Utf16Bytes(u"O'Neil") + std::string(2, '\0'));
  EXPECT_EQ(Clipboard()->GetData(CsvClipboardFormat), std::string("\"O'Neil\"\0", 9));
  const std::string Rtf = Clipboard()->GetData(RtfClipboardFormat);
  EXPECT_EQ(Rtf.substr(Rtf.size() - 2), std::string("}\0", 2));
  EXPECT_EQ(Clipboard()->GetData(VCLDBIFClipboardFormat).back(), '\0');
  EXPECT_EQ(Clipboard()->GetData(VCLDBIFClipboardFormat).substr(0, 12),
            std::string("VCLDBIF\x01\x01\0\0\0", 12));
  EXPECT_FALSE(F.Set->ControlsDisabled());
}

TEST_F(DBGridZkImpExpClipboard, PastePrefersVclDbifThenUtf16ThenAnsi) {
  F.Set->First();
  Clipboard()->Open();
  Clipboard()->SetData(CF_TEXT, StringToAnsi(u"7\tиз текста\t1") + std::string(1, '\0'));
  Clipboard()->SetData(CF_UNICODETEXT, Utf16Bytes(u"8\tиз UTF-16\t1"));
  Clipboard()->Close();
  F.Grid->SetFocus();
  PasteClipboardIntoGrid(F.Grid, false);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"из UTF-16");
  Clipboard()->SetData(CF_TEXT, StringToAnsi(u"7\tиз текста\t1"));
  PasteClipboardIntoGrid(F.Grid, false);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"из текста");
  TExchangeGrid Other(1);
  Other.Set->Edit();
  Other.Set->FieldByName(u"NAME")->SetAsString(u"из блока");
  Other.Set->Post();
  CopyGridSelectionToClipboard(Other.Grid, true);
  Clipboard()->Open();   // text added beside the block keeps the block first
  F.Set->First();
  PasteClipboardIntoGrid(F.Grid, true);
  Clipboard()->Close();
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"из блока");
}

TEST_F(DBGridZkImpExpClipboard, TheGridsCtrlKeysCopyCutAndPaste) {
  // The data grid unit's start hands the grid these routines: its keys reach them.
  F.Grid->SetEditActions(TDBGridZkEditActions{geaCutZk, geaCopyZk, geaPasteZk, geaDeleteZk});
  F.Grid->SetFocus();
  F.Set->SetRecNo(2);
  F.Grid->SetCol(F.Grid->IndicatorOffset() + 1);
  SimulateKeyPress(u'C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), u"O'Neil");
  SelectRecords({4, 5});
  Answerer->MessageAnswers.push_back(mrOk);
  SimulateKeyPress(u'X', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), u"ID\tNAME\tQTY\r\n4\t\t8\r\n5\t\t10");
  EXPECT_EQ(F.Set->RecordCount(), 3);
  F.Set->SetRecNo(1);
  F.Grid->SetCol(F.Grid->IndicatorOffset());
  Clipboard()->SetAsText(u"9\tвставка\t1");
  SimulateKeyPress(u'V', {ssCtrl});
  F.Set->First();
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"вставка");
}

TEST_F(DBGridZkImpExpClipboard, SelectedRowsAreDeletedLastFirstOverRowNumberBookmarks) {
  auto* Table = new TMemTableZk(F.Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->CreateDataSet();
  for (int I = 1; I <= 5; ++I) Table->AppendRecord({Variant(I)});
  for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
  F.Source->SetDataSet(Table);
  for (int R : {2, 4}) {
    Table->SetRecNo(R);
    F.Grid->SelectedRows()->SetCurrentRowSelected(true);
  }
  Answerer->MessageAnswers.push_back(mrOk);
  DeleteGridSelection(F.Grid, false);
  std::vector<int> Ids;
  for (Table->First(); !Table->Eof(); Table->Next()) Ids.push_back(Table->FieldByName(u"ID")->AsInteger());
  EXPECT_EQ(Ids, (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(F.Grid->Selection()->SelectionType(), gstNon);
}

TEST_F(DBGridZkImpExpClipboard, DeleteAsksWithTheOptionAndClearsCells) {
  struct TCase {
    const char* Name;
    std::function<void(DBGridZkImpExpClipboard*)> Select;
    bool All;
    const char16_t* Question;   // nullptr: none asked
    TModalResult Answer;
    std::string Digest;         // ID|NAME|QTY per record
  };
  const TCase Cases[] = {
      {"one record", [](auto* T) { T->SelectRecords({2}); }, false, u"Delete record?", mrOk,
       "1|Краска|2 3|a\tb|6 4||8 5||10 "},
      {"two records, cancelled", [](auto* T) { T->SelectRecords({2, 3}); }, false,
       u"Delete all selected records?", mrCancel, "1|Краска|2 2|O'Neil|4 3|a\tb|6 4||8 5||10 "},
      {"everything asks too", [](auto*) {}, true, u"Delete all selected records?", mrOk, ""},
      {"a column clears its cells in every record and asks", [](auto* T) {
         T->F.Grid->Selection()->Columns()->Select(T->F.Grid->Columns()->Items(2), false);
       }, false, u"Очистить выделенные ячейки?", mrOk,
       "1|Краска| 2|O'Neil| 3|a\tb| 4|| 5|| "},
      {"a rectangle", [](auto* T) {
         T->F.Grid->Selection()->Rect()->Select(1, T->RecordBookmark(1), false);
         T->F.Grid->Selection()->Rect()->Select(2, T->RecordBookmark(2), true);
       }, false, u"Очистить выделенные ячейки?", mrOk, "1|| 2|| 3|a\tb|6 4||8 5||10 "},
  };
  for (bool Confirm : {true, false})
    for (const TCase& C : Cases) {
      SCOPED_TRACE(std::string(C.Name) + (Confirm ? ", asked" : ", without dgConfirmDelete"));
      TExchangeGrid G(5);
      F.Grid = G.Grid;   // the helpers select on this grid
      F.Set = G.Set;
      G.Grid->SetOptions(G.Grid->Options() + TDBGridOptions{dgMultiSelect} +
                         TDBGridOptions{dgConfirmDelete});
      if (!Confirm) G.Grid->SetOptions(G.Grid->Options() - TDBGridOptions{dgConfirmDelete});
      G.Grid->SetAllowedSelections(TDBGridZkAllowedSelections{gstRecordBookmarksAS, gstRectangleAS,
                                                              gstColumnsAS, gstAllAS});
      C.Select(this);
      Answerer->Messages.clear();
      if (Confirm) Answerer->MessageAnswers.push_back(C.Answer);
      G.Set->SetRecNo(G.Set->RecordCount());
      DeleteGridSelection(G.Grid, C.All);
      if (Confirm) {
        ASSERT_EQ(Answerer->Messages.size(), 1u);
        EXPECT_EQ(Answerer->Messages[0].Text, C.Question);
      } else {
        EXPECT_TRUE(Answerer->Messages.empty());
      }
      if (!Confirm && C.Answer == mrCancel) continue;
      std::string Digest;
      for (int R = 0; R < G.Set->RowCount(); ++R) {
        const auto& V = G.Set->Row(R);
        Digest += StringToUtf8(VarToStr(V[0]) + u"|" + VarToStr(V[1]) + u"|" + VarToStr(V[3])) + " ";
      }
      EXPECT_EQ(Digest, C.Digest);
      EXPECT_FALSE(G.Set->ControlsDisabled());
    }
}

}  // namespace
