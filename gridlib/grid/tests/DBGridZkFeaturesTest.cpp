// DBGridZkFeaturesTest.cpp - the standard grid text search over the "ITEMS" fixture and the
// dataset features registry with the policy object consulting it.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkFeatures.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Rows: ID 1..10, NAME cycles "Краска", "O'Neil", "a\tb", "", Null; QTY = 2 * ID.
struct TLocateCase {
  const char* Name;
  int StartRecNo;
  int StartColumn;   // visible column index made current before the search
  const char16_t* FieldName;
  const char16_t* Text;
  TLocateTextOptionsZk Options;
  TLocateTextDirectionZk Direction;
  TLocateTextMatchingZk Matching;
  bool Found;
  int RecNo;        // where the dataset stands afterwards
  int Column;       // the grid's current visible column afterwards
};

TEST(LocateGridText, CasesOverTheItemsGrid) {
  const TLocateTextOptionsZk None, NoCase{ltoCaseInsensitiveZk}, All{ltoAllFieldsZk};
  const TLocateCase Cases[] = {
      {"case-sensitive whole miss stays put", 3, 1, u"NAME", u"краска", None, ltdAllZk,
       ltmWholeZk, false, 3, 1},
      {"case-insensitive whole from the first record", 3, 1, u"NAME", u"краска", NoCase,
       ltdAllZk, ltmWholeZk, true, 1, 1},
      {"down skips the current record", 1, 1, u"NAME", u"Краска", None, ltdDownZk, ltmWholeZk,
       true, 6, 1},
      {"up from the sixth finds the first", 6, 1, u"NAME", u"Краска", None, ltdUpZk, ltmWholeZk,
       true, 1, 1},
      {"up from the first finds nothing", 1, 1, u"NAME", u"Краска", None, ltdUpZk, ltmWholeZk,
       false, 1, 1},
      {"from the beginning", 4, 1, u"NAME", u"O'N", None, ltdDownZk, ltmFromBegingZk, true, 7, 1},
      {"any part", 1, 1, u"NAME", u"Nei", None, ltdAllZk, ltmAnyPartZk, true, 2, 1},
      {"no field name: the current column", 1, 3, u"", u"8", None, ltdDownZk, ltmWholeZk, true,
       4, 3},
      {"all fields wrap into the next record and select the column", 1, 3, u"", u"O'Neil", All,
       ltdDownZk, ltmWholeZk, true, 2, 1},
      {"all fields up wraps to the previous record's last columns", 3, 0, u"", u"4", All, ltdUpZk,
       ltmWholeZk, true, 2, 3},
      {"all fields end at EOF without a match", 1, 0, u"", u"nothing", All, ltdAllZk,
       ltmAnyPartZk, false, 1, 0},
      // The first record's cells left of the current column are searched too.
      {"all fields and all start at the first column", 5, 4, u"", u"1", All, ltdAllZk,
       ltmWholeZk, true, 1, 0},
  };
  for (const TLocateCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDBGridOnForm F(10);
    F.Set->First();
    F.Set->MoveBy(C.StartRecNo - 1);
    F.Grid->SetCol(F.Grid->ColumnIndexToGridCol(C.StartColumn));
    EXPECT_EQ(LocateGridText(F.Grid, C.FieldName, C.Text, C.Options, C.Direction, C.Matching,
                             lttInAllNodesZk),
              C.Found);
    EXPECT_EQ(F.Set->RecNo(), C.RecNo);
    EXPECT_EQ(F.Grid->SelectedIndex(), C.Column);
  }
}

TEST(LocateGridText, MatchesDisplayTextOnlyWithMatchFormat) {
  TDBGridOnForm F(3);
  TColumnZk* Price = F.Grid->Columns()->Items(2);
  Price->SetDisplayFormat(u"#0.000 руб");
  F.Set->First();
  F.Set->Next();
  const String Shown = Price->DisplayText();
  ASSERT_NE(Shown, Price->Field()->Text());
  F.Set->First();
  EXPECT_FALSE(LocateGridText(F.Grid, u"PRICE", Shown, {}, ltdAllZk, ltmWholeZk, lttInAllNodesZk));
  EXPECT_TRUE(LocateGridText(F.Grid, u"PRICE", Shown, {ltoMatchFormatZk}, ltdAllZk, ltmWholeZk,
                             lttInAllNodesZk));
  EXPECT_EQ(F.Set->RecNo(), 2);
}

TEST(LocateGridText, EscapeWaitingInTheQueueStopsTheSearchAndStaysQueued) {
  TDBGridOnForm F(10);
  F.Set->First();
  PostMessage(F.Grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(LocateGridText(F.Grid, u"NAME", u"Краска", {ltoStopOnEscape}, ltdDownZk,
                              ltmWholeZk, lttInAllNodesZk))
      << "the first cell tested does not match, then the Escape is seen";
  EXPECT_EQ(F.Set->RecNo(), 1);
  TMsg Msg;
  EXPECT_TRUE(PeekMessage(Msg, F.Grid->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  // Without the option the same search runs through.
  PostMessage(F.Grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(LocateGridText(F.Grid, u"NAME", u"Краска", {}, ltdDownZk, ltmWholeZk,
                             lttInAllNodesZk));
  PeekMessage(Msg, F.Grid->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
}

TEST(LocateGridText, RefusesWithoutDataAndRaisesForAnUnboundFieldName) {
  TDBGridOnForm F(3);
  EXPECT_FALSE(LocateGridText(nullptr, u"", u"x", {}, ltdAllZk, ltmAnyPartZk, lttInAllNodesZk));
  try {
    LocateGridText(F.Grid, u"NOPE", u"x", {}, ltdAllZk, ltmAnyPartZk, lttInAllNodesZk);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Имя поля 'NOPE' не найдено");
  }
  F.Set->Close();
  EXPECT_FALSE(LocateGridText(F.Grid, u"", u"x", {}, ltdAllZk, ltmAnyPartZk, lttInAllNodesZk));
}

// --- the registry ---------------------------------------------------------------------------------

struct TRecordingFeatures : TDataSetFeaturesZk {
  using TDataSetFeaturesZk::TDataSetFeaturesZk;
  int* Calls;
  bool LocateText(TCustomDBGridZk*, const String&, const String&, TLocateTextOptionsZk,
                  TLocateTextDirectionZk, TLocateTextMatchingZk,
                  TLocateTextTreeFindRangeZk) override {
    ++*Calls;
    return true;
  }
  void ApplyFilter(TCustomDBGridZk*, TDataSet*, bool Active) override { *Calls += Active ? 10 : 20; }
};

TEST(DataSetFeaturesRegistry, NearestAncestorWinsAndThePolicyObjectAsksIt) {
  TDBGridOnForm F(3);
  ASSERT_EQ(DataSetFeaturesCount(), 0) << "the program registers no entry";
  EXPECT_EQ(DataSetClassDistance(TMemTableZk::ClassInfo(), u"tmemtablezk"), 0);
  EXPECT_EQ(DataSetClassDistance(TMemTableZk::ClassInfo(), u"TDataSet"), 2);
  EXPECT_EQ(DataSetClassDistance(TDataSet::ClassInfo(), u"TMemTableZk"), INT_MAX);

  int Calls = 0;
  auto ForDataSet = std::make_unique<TRecordingFeatures>(TDataSet::ClassInfo());
  auto ForMemTable = std::make_unique<TRecordingFeatures>(TCustomMemTableZk::ClassInfo());
  TDataSetFeaturesZk* Far = ForDataSet.get();
  TDataSetFeaturesZk* Near = ForMemTable.get();
  ForDataSet->Calls = ForMemTable->Calls = &Calls;
  RegisterDataSetFeatures(std::move(ForDataSet));
  RegisterDataSetFeatures(std::move(ForMemTable));
  EXPECT_THROW(RegisterDataSetFeatures(std::make_unique<TDataSetFeaturesZk>(
                   TDataSet::ClassInfo())),
               EStringListError);
  EXPECT_EQ(FindDataSetFeaturesClass(TMemTableZk::ClassInfo()), Near);
  EXPECT_EQ(FindDataSetFeaturesClass(TDataSet::ClassInfo()), Far);
  EXPECT_EQ(FindDataSetFeaturesClass(TComponent::ClassInfo()), nullptr);

  // The grid's search and filter now reach the entry instead of the defaults.
  TDBGridZkCenter* C = DBGridZkCenter();
  EXPECT_TRUE(C->LocateText(F.Grid, u"", u"not there", {}, ltdAllZk, ltmWholeZk, lttInAllNodesZk));
  C->ApplyFilter(F.Grid);
  EXPECT_EQ(Calls, 11);
  ClearDataSetFeaturesRegistry();
  EXPECT_FALSE(C->LocateText(F.Grid, u"", u"not there", {}, ltdAllZk, ltmWholeZk, lttInAllNodesZk));
}

}  // namespace
