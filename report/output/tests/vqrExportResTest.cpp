// vqrExportResTest.cpp - the export filters' texts in the report string table.
#include "report/output/vqrExportRes.h"

#include <gtest/gtest.h>

#include "report/core/vqrRes.h"

TEST(VqrExportRes, LookupsByIdAndName) {
  RegisterExportStrings();
  struct {
    const char16_t* Key;
    const char16_t* Text;
  } Cases[] = {
      {u"8708", u".pdf"},
      {u"8707", u"Файл Adobe PDF (*.pdf)|*.pdf"},
      {u"8009", u"Файл Excel (*.xlsx)|*.xlsx"},  // the workbook is saved as .xlsx
      {u"8010", u".xlsx"},
      {u"PDFexport", u"Документ PDF"},
      {u"ProgressObjects", u"Экспорт объектов"},
      {u"QuillerantFile", u"Quillerant файл"},
      {u"8012", u"8012"},
      {u"mbError", u"Ошибка"},  // the engine's own texts stay
  };
  for (const auto& C : Cases) EXPECT_EQ(StringTable()->Get(C.Key), C.Text) << ToUtf8(C.Key);
  EXPECT_NE(StringById(8963), u"8963");
}

TEST(VqrExportRes, LoadingTwiceKeepsOneTextPerKey) {
  RegisterExportStrings();
  int Keys = StringTable()->Count(), Texts = StringTable()->TextCount();
  RegisterExportStrings();
  EXPECT_EQ(StringTable()->Count(), Keys);
  EXPECT_EQ(StringTable()->TextCount(), Texts);
}
