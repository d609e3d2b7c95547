// DBGridZkInterceptorsTest.cpp - the column storage interceptors: the column order as quoted
// names read and written, the width written into the auto-fit base, the unit start's registration.
#include <gtest/gtest.h>

#include "gridlib/grid/DBGridZkInterceptors.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"

namespace {

String Names(TDBGridColumnsZk* Cols) {
  String S;
  for (int I = 0; I < Cols->Count(); ++I) S += Cols->Items(I)->FieldName() + u" ";
  return S;
}

TEST(DBGridZkInterceptors, UnitStartRegistersBoth) {
  TDBGridOnForm F(3);
  int Found = 0;
  for (const TStorageInterceptorEntry& E : StorageInterceptorEntries()) {
    if (E.TargetClass == TColumnZk::ClassInfo())
      Found += E.InterceptorClass == TColumnZkPropertyInterceptor::ClassInfo();
    if (E.TargetClass == TDBGridColumnsZk::ClassInfo())
      Found += E.InterceptorClass == TColumnsZkPropertyInterceptor::ClassInfo();
  }
  EXPECT_EQ(Found, 2);
}

TEST(DBGridZkInterceptors, ColumnsIndexReadsAndReordersByExactNames) {
  TDBGridOnForm F(3);
  TDBGridColumnsZk* Cols = F.Grid->Columns();
  for (int I = 0; I < Cols->Count(); ++I) Cols->Items(I)->SetStored(true);   // customised
  TColumnsZkPropertyInterceptor I(Cols);
  EXPECT_EQ(I.ColumnsIndex(), u"\"ID\",\"NAME\",\"PRICE\",\"QTY\",\"FLAG\",\"NOTE\"");
  struct TCase { const char16_t* Text; const char16_t* Order; };
  const TCase Cases[] = {
      {u"\"NAME\",\"ID\"", u"NAME ID PRICE QTY FLAG NOTE "},
      // An unknown name keeps its position: PRICE still goes to index 1.
      {u"\"ID\",\"NOPE\",\"PRICE\"", u"ID NAME PRICE QTY FLAG NOTE "},
      {u"\"NOTE\",\"price\"", u"NOTE ID NAME PRICE QTY FLAG "},   // case counts
      {u"", u"NOTE ID NAME PRICE QTY FLAG "},
  };
  for (const TCase& C : Cases) {
    I.SetColumnsIndex(C.Text);
    EXPECT_EQ(Names(Cols), C.Order) << String(C.Text).size();
  }
  TColumnsZkPropertyInterceptor Empty(nullptr);
  EXPECT_EQ(Empty.ColumnsIndex(), u"");
}

TEST(DBGridZkInterceptors, WidthGoesIntoTheAutoFitBaseWhileAutoFitting) {
  TDBGridOnForm F(3);
  TColumnZk* C = F.Grid->Columns()->Items(1);
  TColumnZkPropertyInterceptor I(C);
  I.SetWidth(90);
  EXPECT_EQ(C->Width(), 90);
  F.Grid->SetAutoFitColWidths(true);
  I.SetWidth(150);
  EXPECT_EQ(C->InitWidth(), 150);
}

}  // namespace
