// ToolkitModuleTest.cpp - the counted toolkit start, the wrappers under the library's names and
// the MRU list's published properties.
#include "gridlib/toolkit/ToolkitModule.h"

#include <gtest/gtest.h>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/PropFilerZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"

namespace {
bool FormInterceptorRegistered() {
  for (const TStorageInterceptorEntry& E : StorageInterceptorEntries())
    if (E.TargetClass == TCustomForm::ClassInfo()) return true;
  return false;
}
}  // namespace

TEST(ToolkitModule, OnlyTheFirstStartAndTheLastEndDoTheWork) {
  ASSERT_EQ(ToolkitModuleStarts(), 0);
  ToolkitModuleInitialize();
  const int Width = DefaultFlatButtonWidth;
  EXPECT_GT(Width, 0);   // flat buttons get their width from the screen font
  EXPECT_NE(GetClass(u"TEditButtonZk"), nullptr);
  EXPECT_TRUE(FormInterceptorRegistered());
  ToolkitModuleInitialize();
  ToolkitModuleFinalize();
  EXPECT_EQ(DefaultFlatButtonWidth, Width);
  ToolkitModuleFinalize();
  EXPECT_EQ(DefaultFlatButtonWidth, 0);
  EXPECT_FALSE(FormInterceptorRegistered());
  ToolkitModuleFinalize();   // one end too many changes nothing
  EXPECT_EQ(ToolkitModuleStarts(), 0);
}

TEST(ToolkitWrappers, CaseCompareAndMapping) {
  EXPECT_EQ(CompareTextIgnoreCase(u"абв", u"АБВ"), 0);
  EXPECT_NE(CompareTextCaseSensitive(u"абв", u"АБВ"), 0);
  EXPECT_EQ(UpperCaseLocale(u"ёжик"), u"ЁЖИК");
  EXPECT_EQ(LowerCaseLocale(u"ЁЖИК"), u"ёжик");
  EXPECT_TRUE(ZeroRect().IsEmpty());
}

TEST(ToolkitWrappers, DataSetFromSourcePropertyIsNilUnlessTheSourceHasOne) {
  TDataSource Source(nullptr);
  TComponent Holder(nullptr);
  EXPECT_EQ(DataSetFromSourceProperty(&Holder, nullptr), nullptr);
  // A string property is not a class property.
  EXPECT_EQ(DataSetFromSourceProperty(&Holder, TComponent::ClassInfo()->FindProperty(u"Name")),
            nullptr);
  TArrayDataSet Data(nullptr);
  Source.SetDataSet(&Data);
  TDBEditZk Edit(nullptr);
  const TPropInfo* Prop = TDBEditZk::ClassInfo()->FindProperty(u"DataSource");
  EXPECT_EQ(DataSetFromSourceProperty(&Edit, Prop), nullptr);   // no source yet
  Edit.SetDataSource(&Source);
  EXPECT_EQ(DataSetFromSourceProperty(&Edit, Prop), &Data);
  Edit.SetDataSource(nullptr);
}

TEST(MRUListProperties, AreStreamedWithTheirDefaults) {
  const TClassInfo* Info = TMRUListZk::ClassInfo();
  struct Row {
    const char16_t* Name;
    Int64 Default;
  };
  for (Row R : {Row{u"AutoAdd", 1}, Row{u"Active", 0}, Row{u"CaseSensitive", 0},
                Row{u"Limit", 100}, Row{u"Rows", 7}}) {
    const TPropInfo* P = Info->FindProperty(R.Name);
    ASSERT_NE(P, nullptr) << ToUtf8(R.Name);
    EXPECT_EQ(P->Default(), R.Default) << ToUtf8(R.Name);
  }
  ASSERT_NE(Info->FindProperty(u"Items"), nullptr);
}
