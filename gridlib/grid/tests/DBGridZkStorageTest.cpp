// DBGridZkStorageTest.cpp - stored grid layouts in ini files and in the registry (under a
// temporary XDG_CONFIG_HOME), the word routines that read them, and fitting column widths.
#include "gridlib/grid/DBGridZkStorage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/IniFiles.h"
#include "platform/classes/Registry.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"

namespace {

class DBGridZkStorage : public ::testing::Test {
protected:
  void SetUp() override {
    const char* Old = std::getenv("XDG_CONFIG_HOME");
    FOld = Old ? std::optional<std::string>(Old) : std::nullopt;
    FDir = std::filesystem::path(::testing::TempDir()) /
           ("layout-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    G->SetName(u"Grid1");
    for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->SetStored(true);
  }
  void TearDown() override {
    if (FOld) ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(FDir);
  }
  String IniName() const { return Utf8ToString((FDir / "layout.ini").string()); }
  std::string IniText() const {
    std::ifstream In(FDir / "layout.ini", std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  void WriteIni(const std::string& Text) const {
    std::ofstream(FDir / "layout.ini", std::ios::binary) << Text;
  }
  String Order() const {
    String S;
    for (int I = 0; I < G->Columns()->Count(); ++I) S += G->Columns()->Items(I)->FieldName() + u" ";
    return S;
  }
  TColumnZk* Col(const String& Name) const { return G->FindColumnByName(Name); }

  TDBGridOnForm F{6, 520, 200};
  TDBGridZk* G = F.Grid;
  std::filesystem::path FDir;
  std::optional<std::string> FOld;
};

TEST(NthWord, RunsOfDelimitersCountAsOne) {
  struct TCase { const char16_t* S; int N; const char16_t* Word; int Start; };
  const TCase Cases[] = {
      {u"0,64,0", 2, u"64", 3},    {u"0,,64", 2, u"64", 4},   {u" ,5", 1, u"5", 3},
      {u"1, 2 ,3", 3, u"3", 7},    {u"1,2", 3, u"", 0},       {u"", 1, u"", 0},
      {u",,,", 1, u"", 0},         {u"abc", 1, u"abc", 1},    {u"a b", 0, u"", 0},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(NthWord(C.N, C.S, u" ,"), C.Word) << String(C.S).size() << " " << C.N;
    EXPECT_EQ(NthWordStart(C.N, C.S, u" ,"), C.Start) << String(C.S).size() << " " << C.N;
  }
}

TEST_F(DBGridZkStorage, SectionNamesWalkTheOwnersUpToTheFirstForm) {
  auto* Frame = new TComponent(F.Form);
  Frame->SetName(u"OrdersFrame");
  auto* Inner = new TDBGridZk(Frame);
  Inner->SetName(u"Grid2");
  TComponent Loose(nullptr);
  Loose.SetName(u"Module");
  auto* LooseGrid = new TDBGridZk(&Loose);
  LooseGrid->SetName(u"Grid3");
  EXPECT_EQ(StorageSectionName(G), u"TFormGrid1");
  EXPECT_EQ(StorageSectionName(Inner), u"TFormOrdersFrame.Grid2");
  EXPECT_EQ(StorageSectionName(LooseGrid), u"Module.Grid3");
  EXPECT_EQ(StorageSectionName(F.Form), u"TForm");
  EXPECT_EQ(StorageSectionName(nullptr), u"");
}

TEST_F(DBGridZkStorage, IniFileHoldsOneValuePerColumnAndTheGridValue) {
  G->Columns()->Items(0)->SetWidth(64);
  G->Columns()->Items(1)->SetWidth(80);
  G->Columns()->Items(1)->Title()->SetSortMarker(smDownZk);
  G->Columns()->Items(1)->Title()->SetSortIndex(1);
  G->Columns()->Items(2)->SetDropDownRows(12);
  G->Columns()->Items(2)->SetDropDownWidth(-1);
  G->Columns()->Items(3)->SetVisible(false);
  G->Columns()->Items(4)->SetInRowLinePos(2);
  G->Columns()->Items(4)->SetInRowLineHeight(3);
  G->SetRowHeight(30);
  G->SetRowLines(2);
  WriteIni("[Grids]\nGrid1.Old=9\n");
  G->SaveGridLayoutIni(IniName(), u"Grids", true);
  const std::string W5 = std::to_string(G->Columns()->Items(5)->Width());
  EXPECT_EQ(IniText(),
            "[Grids]\n"
            "Grid1.ID=0,64,0,1,0,7,0,0,1\n"
            "Grid1.NAME=1,80,1,1,1,7,0,0,1\n"
            "Grid1.PRICE=2," + std::to_string(G->Columns()->Items(2)->Width()) + ",0,1,0,12,-1,0,1\n"
            "Grid1.QTY=3," + std::to_string(G->Columns()->Items(3)->Width()) + ",0,0,0,7,0,0,1\n"
            "Grid1.FLAG=4," + std::to_string(G->Columns()->Items(4)->Width()) + ",0,1,0,7,0,2,3\n"
            "Grid1.NOTE=5," + W5 + ",0,1,0,7,0,0,1\n"
            "(Default)=30,2\n");
  // Without erasing, the section keeps what else it held.
  WriteIni("[Grids]\nGrid1.Old=9\n");
  G->SaveColumnsLayoutIni(IniName(), u"Grids", false);
  EXPECT_NE(IniText().find("Grid1.Old=9"), std::string::npos);
  EXPECT_EQ(IniText().find("(Default)"), std::string::npos);
}

TEST_F(DBGridZkStorage, RegistrySectionIsErasedBeforeSaving) {
  TRegIniFile Reg(u"\\Software\\Vorenta\\Layouts");
  Reg.WriteString(u"TFormGrid1", u"Grid1.Gone", u"1,2");
  G->Columns()->Items(0)->SetWidth(64);
  G->SetRowHeight(25);
  G->SaveGridLayout(&Reg);
  EXPECT_EQ(Reg.ReadString(u"TFormGrid1", u"Grid1.Gone", u"-"), u"-");
  EXPECT_EQ(Reg.ReadString(u"TFormGrid1", u"Grid1.ID", u""), u"0,64,0,1,0,7,0,0,1");
  EXPECT_EQ(Reg.ReadString(u"TFormGrid1", u"", u""), u"25,0");
  // And back: a changed grid returns to the stored layout.
  G->Columns()->Items(0)->SetWidth(100);
  G->Columns()->Items(0)->SetIndex(3);
  G->SetRowHeight(40);
  G->RestoreGridLayout(&Reg, TDBGridZkRestoreParams{grpColIndexZk, grpColWidthsZk,
                                                    grpRowHeightZk});
  EXPECT_EQ(Order(), u"ID NAME PRICE QTY FLAG NOTE ");
  EXPECT_EQ(Col(u"ID")->Width(), 64);
  EXPECT_EQ(G->RowHeight(), 25);
}

TEST_F(DBGridZkStorage, RestoreTakesOnlyWhatIsAskedAndWhatCanBeRead) {
  struct TCase {
    const char* Name;
    const char* Ini;
    TColumnZkRestoreParams Params;
    const char16_t* Order;
    int IdWidth, NameWidth;
    bool NameVisible;
    TSortMarkerZk NameMarker;
  };
  const int W = 64;   // the widths every row starts from
  const TCase Cases[] = {
      {"widths only, stored order ignored", "Grid1.ID=2,91\nGrid1.NAME=0,92\n",
       {crpColWidthsZk}, u"ID NAME PRICE QTY FLAG NOTE ", 91, 92, true, smNoneZk},
      {"positions 2, 0, 1", "Grid1.ID=2\nGrid1.NAME=0\nGrid1.PRICE=1\n", {crpColIndexZk},
       u"NAME PRICE ID QTY FLAG NOTE ", W, W, true, smNoneZk},
      {"two commas read as one", "Grid1.ID=0,,93\n", {crpColWidthsZk},
       u"ID NAME PRICE QTY FLAG NOTE ", 93, W, true, smNoneZk},
      {"items not numbers keep the settings", "Grid1.ID=x,94,z\nGrid1.NAME=1,wide,2,0\n",
       {crpColIndexZk, crpColWidthsZk, crpSortMarkerZk, crpColVisibleZk},
       u"ID NAME PRICE QTY FLAG NOTE ", 94, W, false, smUpZk},
      {"an index out of range is never claimed", "Grid1.ID=17\nGrid1.NAME=-1\n",
       {crpColIndexZk}, u"ID NAME PRICE QTY FLAG NOTE ", W, W, true, smNoneZk},
      {"a sort marker out of range is ignored", "Grid1.NAME=1,64,7\n", {crpSortMarkerZk},
       u"ID NAME PRICE QTY FLAG NOTE ", W, W, true, smNoneZk},
      {"widths no screen shows are not read", "Grid1.ID=0,2147483647\nGrid1.NAME=1,-5\n",
       {crpColWidthsZk}, u"ID NAME PRICE QTY FLAG NOTE ", W, W, true, smNoneZk},
      {"an empty section changes nothing", "", {crpColIndexZk, crpColWidthsZk},
       u"ID NAME PRICE QTY FLAG NOTE ", W, W, true, smNoneZk},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (const char16_t* N : {u"ID", u"NAME", u"PRICE", u"QTY", u"FLAG", u"NOTE"}) {
      Col(N)->SetIndex(G->Columns()->Count() - 1);
      Col(N)->SetWidth(W);
      Col(N)->SetVisible(true);
      Col(N)->Title()->SetSortMarker(smNoneZk);
    }
    WriteIni(std::string("[Grids]\n") + C.Ini);
    G->RestoreColumnsLayoutIni(IniName(), u"Grids", C.Params);
    EXPECT_EQ(Order(), C.Order);
    EXPECT_EQ(Col(u"ID")->Width(), C.IdWidth);
    EXPECT_EQ(Col(u"NAME")->Width(), C.NameWidth);
    EXPECT_EQ(Col(u"NAME")->Visible(), C.NameVisible);
    EXPECT_EQ(Col(u"NAME")->Title()->SortMarker(), C.NameMarker);
  }
}

TEST_F(DBGridZkStorage, SortIndexesAndRowHeightFallBackToZero) {
  Col(u"ID")->Title()->SetSortIndex(3);
  Col(u"NAME")->Title()->SetSortIndex(2);
  G->SetRowHeight(33);
  G->SetRowLines(2);
  WriteIni("[Grids]\nGrid1.NAME=1,64,2,1,1\n");
  G->RestoreGridLayoutIni(IniName(), u"Grids", {grpSortMarkerZk, grpRowHeightZk});
  EXPECT_EQ(Col(u"ID")->Title()->SortIndex(), 0) << "a column without a stored value";
  EXPECT_EQ(Col(u"NAME")->Title()->SortIndex(), 1);
  EXPECT_EQ(Col(u"NAME")->Title()->SortMarker(), smUpZk);
  EXPECT_EQ(G->RowHeight(), 0);
  EXPECT_EQ(G->RowLines(), 0);
  WriteIni("[Grids]\n(Default)=28,abc\n");
  G->RestoreGridLayoutIni(IniName(), u"Grids", {grpRowHeightZk});
  EXPECT_EQ(G->RowHeight(), 28);
  EXPECT_EQ(G->RowLines(), 0);
}

TEST_F(DBGridZkStorage, RestoringKeepsAutoFitOnAndDropDownAndPlacementItems) {
  G->SetAutoFitColWidths(true);
  WriteIni("[Grids]\nGrid1.NAME=1,150,0,1,0,15,-1,3,2\n");
  G->RestoreColumnsLayoutIni(IniName(), u"Grids",
                             {crpColWidthsZk, crpDropDownRowsZk, crpDropDownWidthZk,
                              crpRowPanelColPlacementZk});
  EXPECT_TRUE(G->AutoFitColWidths());
  EXPECT_EQ(Col(u"NAME")->InitWidth(), 150) << "the stored width becomes the auto-fit base";
  EXPECT_EQ(Col(u"NAME")->DropDownRows(), 15);
  EXPECT_EQ(Col(u"NAME")->DropDownWidth(), -1);
  EXPECT_EQ(Col(u"NAME")->InRowLinePos(), 3);
  EXPECT_EQ(Col(u"NAME")->InRowLineHeight(), 2);
}

TEST_F(DBGridZkStorage, FittingTakesTheWidestTitleCellOrFooter) {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  TColumnZk* Name = Col(u"NAME");
  C->Font()->Assign(Name->Font());
  int Widest = 0;
  for (const char16_t* T : {u"Краска", u"O'Neil", u"a b", u""}) Widest = std::max(Widest, C->TextWidth(T));
  C->Font()->Assign(Name->Title()->Font());
  const int Title = C->TextWidth(u"NAME") + 4;
  Name->SetWidth(20);
  F.Set->MoveBy(2);
  const int RecNo = F.Set->RecNo();
  Name->OptimizeWidth();
  EXPECT_EQ(Name->Width(), std::max(Widest + 4, Title));
  EXPECT_EQ(F.Set->RecNo(), RecNo) << "the walk returns to the grid's record";
  // A wider footer wins.
  G->SetFooterRowCount(1);
  Name->Footer()->SetValueType(fvtStaticText);
  Name->Footer()->SetValue(u"A footer text far wider than any name");
  C->Font()->Assign(Name->Footer()->Font());
  const int Footer = 5 + C->TextWidth(u"A footer text far wider than any name");
  G->FitColumnsToContents({Name});
  EXPECT_EQ(Name->Width(), Footer);
  // With the dataset closed nothing changes.
  Name->SetWidth(20);
  F.Set->Close();
  G->FitColumnsToContents({Name});
  EXPECT_EQ(Name->Width(), 20);
}

// The walk over every record leaves the current record on its screen row, not centred.
TEST(DBGridZkFitting, WalkKeepsTheCurrentRecordOnItsScreenRow) {
  TDBGridOnForm F(100);
  TDBGridZk* G = F.Grid;
  F.Set->SetRecNo(50);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  const int RecNo = F.Set->RecNo(), ScreenRow = G->DataLink()->ActiveRecord();
  ASSERT_NE(ScreenRow, (G->DataLink()->RecordCount() - 1) / 2) << "not the middle row";
  G->FindColumnByName(u"NAME")->OptimizeWidth();
  EXPECT_EQ(F.Set->RecNo(), RecNo);
  EXPECT_EQ(G->DataLink()->ActiveRecord(), ScreenRow);
  EXPECT_EQ(G->DataRowToRecNo(0), RecNo - ScreenRow);
}

// Fitting leaves room for the edit buttons only where they are always on show.
TEST_F(DBGridZkStorage, FittingAddsTheAlwaysShownEditButtonsStrip) {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  TColumnZk* Name = Col(u"NAME");
  C->Font()->Assign(Name->Font());
  int Widest = 0;
  for (const char16_t* T : {u"Краска", u"O'Neil", u"a b", u""}) Widest = std::max(Widest, C->TextWidth(T));
  Name->SetButtonStyle(cbsEllipsis);
  Name->EditButtons()->Add()->SetWidth(30);
  TEditButtonZk* Hidden = Name->EditButtons()->Add();
  Hidden->SetWidth(50);
  Hidden->SetVisible(false);
  const int Strip = Name->EditButtonsWidth();
  ASSERT_GT(Strip, 30) << "the ellipsis and the 30-pixel button, not the hidden one";
  ASSERT_LT(Strip, 80);
  for (const bool Always : {false, true}) {
    Name->SetAlwaysShowEditButton(Always);
    Name->SetWidth(20);
    Name->OptimizeWidth();
    EXPECT_EQ(Name->Width(), Widest + 4 + (Always ? Strip : 0)) << "always shown: " << Always;
  }
}

// Images, the tree outline and wrapped footers take their own room when a column is fitted.
TEST_F(DBGridZkStorage, FittingCountsImagesTreeOutlineAndWrappedFooters) {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  auto TextWidth = [&](TFont* Font, const String& Text) {
    C->Font()->Assign(Font);
    return C->TextWidth(Text);
  };
  TColumnZk* Name = Col(u"NAME");
  int Widest = 0;
  for (const char16_t* T : {u"Краска", u"O'Neil", u"a b", u""})
    Widest = std::max(Widest, TextWidth(Name->Font(), T));
  TImageList Wide(200, 16), Mid(30, 16), Key(50, 16);
  const String Long = u"Wide-footer-word-one Wide-footer-word-two-longer";
  struct TCase {
    const char* Name;
    std::function<TColumnZk*()> Setup;
    std::function<int()> Expected;
  };
  const TCase Cases[] = {
      {"title image replaces the caption",
       [&] {
         G->SetTitleImages(&Wide);
         Name->Title()->SetImageIndex(0);
         return Name;
       },
       [&] { return 4 + 200; }},
      {"title image index -1 measures the caption",
       [&] {
         G->SetTitleImages(&Wide);
         return Name;
       },
       [&] { return std::max(Widest + 4, TextWidth(Name->Title()->Font(), u"NAME") + 4); }},
      {"key-image column is as wide as its image",
       [&] {
         Col(u"QTY")->SetImageList(&Key);
         return Col(u"QTY");
       },
       [&] { return 4 + 50; }},
      {"image beside the text",
       [&] {
         Name->SetImageList(&Mid);
         Name->SetShowImageAndText(true);
         return Name;
       },
       [&] { return Widest + 4 + 30 + 4; }},
      {"footer on one line when rows hold one line",
       [&] {
         G->SetFooterRowCount(1);
         Name->Footer()->SetValueType(fvtStaticText);
         Name->Footer()->SetValue(Long);
         Name->Footer()->SetWordWrap(true);
         return Name;
       },
       [&] { return 5 + TextWidth(Name->Footer()->Font(), Long); }},
      {"footer wraps to its widest word when rows hold two lines",
       [&] {
         G->SetRowLines(2);
         G->SetFooterRowCount(1);
         Name->Footer()->SetValueType(fvtStaticText);
         Name->Footer()->SetValue(Long);
         Name->Footer()->SetWordWrap(true);
         return Name;
       },
       [&] { return 5 + TextWidth(Name->Footer()->Font(), u"Wide-footer-word-two-longer"); }},
  };
  for (const TCase& Case : Cases) {
    TColumnZk* Fitted = Case.Setup();
    Fitted->SetWidth(20);
    Fitted->OptimizeWidth();
    EXPECT_EQ(Fitted->Width(), Case.Expected()) << Case.Name;
    G->SetTitleImages(nullptr);
    G->SetFooterRowCount(0);
    G->SetRowLines(0);
    Name->Title()->SetImageIndex(-1);
    Name->SetShowImageAndText(false);
    Name->Footer()->SetWordWrap(false);
    for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->SetImageList(nullptr);
  }
}

// The first visible column of a tree view leaves room for the deepest node's outline; the
// others do not.
TEST(DBGridZkFitting, FirstColumnOfATreeViewCountsTheOutline) {
  TDBGridOnForm F{0, 420, 200};
  auto* Table = new TMemTableZk(F.Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->FieldDefs()->Add(u"UP", ftInteger);
  Table->CreateDataSet();
  const int Up[] = {0, 1, 2, 0};
  for (int Id = 1; Id <= 4; ++Id)
    Table->AppendRecord({Id, Up[Id - 1] ? Variant(Up[Id - 1]) : Variant::MakeNull()});
  Table->SetTreeKeyFields(u"ID", u"UP");
  Table->RecordsView()->MemoryTreeList()->SetDefaultNodeExpanded(true);
  Table->SetTreeViewActive(true);
  F.Source->SetDataSet(Table);
  ASSERT_TRUE(F.Grid->MemTableTreeShown());
  TBitmap Scratch;
  TColumnZk* Id = F.Grid->FindColumnByName(u"ID");
  TColumnZk* UpCol = F.Grid->FindColumnByName(u"UP");
  Scratch.Canvas()->Font()->Assign(Id->Font());
  const int Digit = Scratch.Canvas()->TextWidth(u"3");
  Id->OptimizeWidth();
  EXPECT_EQ(Id->Width(), 3 * 18 + 4 + Digit) << "node 3 stands on level 3";
  UpCol->OptimizeWidth();
  Scratch.Canvas()->Font()->Assign(UpCol->Title()->Font());
  EXPECT_EQ(UpCol->Width(), std::max(4 + Digit, Scratch.Canvas()->TextWidth(u"UP") + 4));
}

TEST_F(DBGridZkStorage, DoubleClickOnASizingEdgeFitsTheColumn) {
  UseTestClock(true);
  AdvanceTestClock(1000);
  G->SetFocus();
  TColumnZk* Name = Col(u"NAME");
  Name->SetWidth(20);
  auto DoubleClickEdge = [&] {
    const TRect T = G->CellScreenRect(2, 0);
    const TPoint Edge = G->ClientToScreen(TPoint(T.Right, T.Top + 5));
    AdvanceTestClock(1000);
    SimulateMouseDown(mbLeft, Edge);
    SimulateMouseUp(mbLeft, Edge);
    SimulateMouseDown(mbLeft, Edge);
    SimulateMouseUp(mbLeft, Edge);
  };
  int DblClicks = 0;
  G->SetOnDblClick([&](TObject*) { ++DblClicks; });
  G->SetOptionsZk(G->OptionsZk() - TDBGridZkOptions{dghDblClickOptimizeColWidth});
  DoubleClickEdge();
  EXPECT_LE(Name->Width(), 21) << "without the option the edge is a plain double click";
  EXPECT_EQ(DblClicks, 1);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghDblClickOptimizeColWidth});
  DoubleClickEdge();
  EXPECT_GT(Name->Width(), 40);
  EXPECT_EQ(DblClicks, 1);
  UseTestClock(false);
}

// The footer's font and colour follow the parent until the footer gets its own.
TEST(DBGridZkFooterLook, FontAndColourFollowTheParentUntilSetOwn) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetParentFont(true);
  F.Form->Font()->SetSize(14);
  EXPECT_EQ(G->TitleFont()->Size(), 14);
  EXPECT_EQ(G->FooterFont()->Size(), 14);
  EXPECT_TRUE(G->ParentFont()) << "copies made by the grid are no fonts of its own";
  G->FooterFont()->SetSize(9);
  EXPECT_FALSE(G->ParentFont());
  F.Form->Font()->SetSize(16);
  EXPECT_EQ(G->FooterFont()->Size(), 9);

  G->SetParentColor(true);
  F.Form->SetColor(clAqua);
  EXPECT_EQ(G->FooterColor(), clAqua);
  G->SetFooterColor(clYellow);
  EXPECT_FALSE(G->ParentColor());
  F.Form->SetColor(clRed);
  EXPECT_EQ(G->FooterColor(), clYellow);
}

}  // namespace
