// DBGridZkFieldMapTest.cpp - the grid's field map (growth, holes of customized columns), the
// indicator column's width for record numbers, and which column properties follow their
// defaults, are flagged as set and are stored.
#include <gtest/gtest.h>

#include <functional>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/db/DBConsts.h"
#include "platform/graphics/Bitmap.h"

namespace {

TEST(DBGridZkFieldMap, GrowsByDoublingFromEight) {
  TDBGridOnForm F(2);
  TGridDataLinkZk* L = F.Grid->DataLink();
  L->ClearMapping();
  L->SetSparseMap(true);
  struct TStep { int Count, Size; };
  const TStep Steps[] = {{1, 8}, {8, 8}, {9, 16}, {16, 16}, {17, 32}};
  int Added = 0;
  for (const TStep& S : Steps) {
    while (Added < S.Count) L->AddMapping(Added++ % 2 ? u"NAME" : u"NOPE");
    EXPECT_EQ(L->FieldCount(), S.Count);
    EXPECT_EQ(L->FieldMapSize(), S.Size) << "after " << S.Count << " entries";
  }
  EXPECT_EQ(L->GetMappedFieldIndex(0), -1) << "a missing name leaves a hole";
  EXPECT_EQ(L->GetMappedField(1), F.Set->FieldByName(u"NAME"));
  EXPECT_EQ(L->GetMappedFieldIndex(1), 1);
  EXPECT_EQ(L->GetMappedField(17), nullptr) << "outside the entries in use";
  EXPECT_EQ(L->GetMappedField(-1), nullptr);
  L->SetSparseMap(false);
  EXPECT_THROW(L->AddMapping(u"NOPE"), EDatabaseError) << "automatic columns name real fields";
  EXPECT_EQ(L->FieldCount(), 17);
}

TEST(DBGridZkFieldMap, CustomizedColumnsMapOneEntryEachAndAHoleClearsDefaultFields) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  EXPECT_EQ(G->FieldCount(), F.Set->FieldCount()) << "automatic: every visible field";
  EXPECT_TRUE(G->DataLink()->DefaultFields());
  G->Columns()->BeginUpdate();
  G->Columns()->Clear();
  for (const char16_t* Name : {u"PRICE", u"GONE", u"ID"}) G->Columns()->Add()->SetFieldName(Name);
  G->Columns()->EndUpdate();
  G->Columns()->Items(2)->SetVisible(false);
  ASSERT_EQ(G->FieldCount(), 3) << "hidden columns keep their entry";
  EXPECT_EQ(G->DataLink()->GetMappedField(0), F.Set->FieldByName(u"PRICE"));
  EXPECT_EQ(G->DataLink()->GetMappedFieldIndex(1), -1);
  EXPECT_EQ(G->Columns()->Items(1)->Field(), nullptr);
  EXPECT_EQ(G->Columns()->Items(2)->Field(), F.Set->FieldByName(u"ID"));
  EXPECT_FALSE(G->DataLink()->DefaultFields());
  F.Set->Close();
  EXPECT_EQ(G->FieldCount(), 0) << "an inactive link maps nothing";
}

TEST(DBGridZkFieldMap, IndicatorMakesRoomForTheDigitsOfTheRecordCount) {
  TDBGridOnForm F(12345);
  TDBGridZk* G = F.Grid;
  TBitmap B;
  B.Canvas()->Font()->Assign(G->Font());
  B.Canvas()->Font()->SetSize(G->Font()->Size() - 1);
  const int Five = B.Canvas()->TextWidth(u"00000");
  struct TCase { bool Indicator, RecNo; int Width; };
  const TCase Cases[] = {
      {true, false, 11}, {true, true, Five + 11 + 2}, {false, true, Five + 2 + 2}};
  for (const TCase& C : Cases) {
    TDBGridOptions O = G->Options();
    if (C.Indicator) O = O + TDBGridOptions{dgIndicator};
    else O = O - TDBGridOptions{dgIndicator};
    G->SetOptions(O);
    TDBGridZkOptions Z = G->OptionsZk();
    if (C.RecNo) Z = Z + TDBGridZkOptions{dghShowRecNo};
    else Z = Z - TDBGridZkOptions{dghShowRecNo};
    G->SetOptionsZk(Z);
    EXPECT_EQ(G->ColWidth(0), C.Width) << C.Indicator << C.RecNo;
  }
}

// Each property follows its default until set; a value of its own is stored; restoring the
// defaults follows again.
TEST(DBGridZkFieldMap, ColumnPropertiesFollowUntilSetAndAreStoredOnlyThen) {
  TDBGridOnForm F(2);
  TDBGridZk* G = F.Grid;
  G->Columns()->BeginUpdate();
  G->Columns()->Clear();
  TColumnZk* C = G->Columns()->Add();
  C->SetFieldName(u"PRICE");
  G->Columns()->EndUpdate();
  TField* Price = F.Set->FieldByName(u"PRICE");
  struct TCase {
    const char* Name;
    std::function<long long()> Read;
    std::function<void()> MoveDefault;   // changes what the column follows
    std::function<long long()> Default;
    std::function<void()> Set;           // sets the column's own value
    std::function<bool()> Stored;
  };
  const TCase Cases[] = {
      {"Color", [&] { return C->Color(); }, [&] { G->SetColor(clAqua); },
       [&] { return G->Color(); }, [&] { C->SetColor(clRed); },
       [&] { return C->IsColorStored(); }},
      {"Alignment", [&] { return C->Alignment(); }, [&] { Price->SetAlignment(taCenter); },
       [&] { return Price->Alignment(); }, [&] { C->SetAlignment(taRightJustify); },
       [&] { return C->IsAlignmentStored(); }},
      {"Font.Size", [&] { return C->Font()->Size(); }, [&] { G->Font()->SetSize(14); },
       [&] { return G->Font()->Size(); }, [&] { C->Font()->SetSize(16); },
       [&] { return C->IsFontStored(); }},
      {"Title.Caption", [&] { return C->Title()->Caption() == u"Цена" ? 1LL : 0LL; },
       [&] { Price->SetDisplayLabel(u"Цена"); }, [] { return 1LL; },
       [&] { C->Title()->SetCaption(u"Стоимость"); }, [&] { return C->Title()->IsCaptionStored(); }},
  };
  for (const TCase& T : Cases) {
    EXPECT_FALSE(T.Stored()) << T.Name;
    T.MoveDefault();
    EXPECT_EQ(T.Read(), T.Default()) << T.Name << " follows its default";
    T.Set();
    EXPECT_TRUE(T.Stored()) << T.Name << " set to a value of its own";
    EXPECT_NE(T.Read(), T.Default()) << T.Name;
  }
  C->RestoreDefaults();
  for (const TCase& T : Cases) {
    EXPECT_FALSE(T.Stored()) << T.Name << " after RestoreDefaults";
    EXPECT_EQ(T.Read(), T.Default()) << T.Name;
  }
}

}  // namespace
