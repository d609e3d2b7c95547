// vqrDsgnIntfTest.cpp - the object and export-filter registries.
#include "report/core/vqrDsgnIntf.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/classes/TypeRegistry.h"
#include "report/core/vqrClassAbstract.h"

namespace {

class TTestFilter : public TvqrCustomExportFilter {
public:
  using TvqrCustomExportFilter::TvqrCustomExportFilter;
};

int FilterIndex(TvqrCustomExportFilter* Filter) {
  for (int I = 0; I < ExportFilterRegistry()->Count(); ++I)
    if (ExportFilterRegistry()->Items(I)->Filter == Filter) return I;
  return -1;
}

}  // namespace

TEST(vqrRegistries, ExportFiltersRegisterForTheirLifetime) {
  auto First = std::make_unique<TTestFilter>(nullptr);
  auto Second = std::make_unique<TTestFilter>(nullptr);
  EXPECT_LT(FilterIndex(First.get()), FilterIndex(Second.get()));
  EXPECT_TRUE(First->ShowDialog());
  EXPECT_TRUE(First->UseFileCache());
  const int Count = ExportFilterRegistry()->Count();
  ExportFilterRegistry()->Register(First.get());
  ExportFilterRegistry()->Register(nullptr);
  EXPECT_EQ(ExportFilterRegistry()->Count(), Count);
  TTestFilter Unlisted{TvqrCustomExportFilter::NoRegisterTag{}};
  EXPECT_EQ(FilterIndex(&Unlisted), -1);
  ExportFilterRegistry()->Unregister(&Unlisted);
  EXPECT_EQ(ExportFilterRegistry()->Count(), Count);
  TTestFilter* Gone = First.get();
  First.reset();
  EXPECT_EQ(FilterIndex(Gone), -1);
}

TEST(vqrRegistries, ObjectClassesOncePerFlagsWithTheirCategory) {
  TvqrObjectCollection Registry;
  Registry.RegisterObject1(TvqrMemoView::ClassInfo(), nullptr, u"", u"", 0, 3);
  Registry.RegisterObject1(TvqrMemoView::ClassInfo(), nullptr, u"", u"", 0, 4);
  Registry.RegisterObject1(TvqrMemoView::ClassInfo(), nullptr, u"", u"", 1, 5);
  Registry.RegisterObject(TvqrDataSet::ClassInfo(), nullptr);
  Registry.RegisterCategory(u"Другое", nullptr);
  Registry.RegisterObject1(nullptr, nullptr, u"", u"", 0, -1, {ctDMP});
  ASSERT_EQ(Registry.Count(), 5);
  EXPECT_EQ(Registry.Items(0)->Category, TvqrObjectCategories{ctReport});
  EXPECT_EQ(Registry.Items(2)->Category, TvqrObjectCategories{ctData});
  EXPECT_TRUE(Registry.Items(3)->Category.Empty());
  EXPECT_EQ(Registry.Items(4)->Category, TvqrObjectCategories{ctDMP});
  EXPECT_EQ(Registry.ImageIndexOf(TvqrMemoView::ClassInfo()), 3);
  EXPECT_EQ(GetClass(u"TvqrMemoView"), TvqrMemoView::ClassInfo());
  Registry.Unregister(TvqrMemoView::ClassInfo());
  EXPECT_EQ(Registry.Count(), 3);
  EXPECT_EQ(Registry.ImageIndexOf(TvqrMemoView::ClassInfo()), -1);
}

