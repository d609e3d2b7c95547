// Tests of RoundToDigits and SanitizeFileName.
#include "app/Uf_data.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"

namespace {

TEST(RoundToDigits, HalvesGoAwayFromZero) {
  struct {
    double Value;
    int Digits;
    double Expected;
  } const Cases[] = {
      {0.005, 2, 0.01},  {-0.005, 2, -0.01}, {2.675, 2, 2.68}, {2.5, 0, 3},
      {-2.5, 0, -3},     {1545.0, 2, 1545},  {1.005, 2, 1.0},  // 1.005 is 1.00499... in binary
      {0.49999999999999994, 0, 1},                             // x + 0.5 rounds up in double
  };
  for (const auto& C : Cases)
    EXPECT_DOUBLE_EQ(RoundToDigits(C.Value, C.Digits), C.Expected) << C.Value << " " << C.Digits;
}

TEST(SanitizeFileName, RunsOfForbiddenCharactersBecomeOneHyphen) {
  struct {
    String Name;
    String Expected;
  } const Cases[] = {
      {u"", u""},
      {u"/a//b?c\\", u"a-b-c"},
      {u"  x.pdf  ", u"x.pdf"},
      {u"***", u""},
      {u"\"a\"", u"a"},
      {u"№ 12 от 09/12/2026.pdf", u"№ 12 от 09-12-2026.pdf"},
      {u"\tx*?y\n", u"x-y"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(StringToUtf8(SanitizeFileName(C.Name)), StringToUtf8(C.Expected))
        << StringToUtf8(C.Name);
}

TEST(SanitizeFileName, KeepsTheFirstHundredCharactersExtensionIncluded) {
  const String Long = String(116, u'я') + u".pdf";  // 120 characters
  const String Cleaned = SanitizeFileName(Long);
  EXPECT_EQ(Cleaned.size(), 100u);
  EXPECT_EQ(Cleaned, String(100, u'я'));
}

}  // namespace
