#include <gtest/gtest.h>
#include "script/tests/ks_TestHost.h"
TEST(Smoke, Pascal) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"begin Out(1 + 2 * 3) end."), "7");
  EXPECT_EQ(H.Run(u"var i, s: Integer; begin s := 0; for i := 1 to 10 do s := s + i; Out(s) end."), "55");
  EXPECT_EQ(H.Run(u"function F(n: Integer): Integer; begin if n < 2 then Result := n else Result := F(n-1) + F(n-2) end; begin Out(F(10)) end."), "55");
}
TEST(Smoke, Cpp) {
  TksTestHost H(u"D++Ividaz");
  EXPECT_EQ(H.Run(u"{ int s = 0; for (int i = 1; i <= 10; i++) s += i; Out(s); }"), "55");
}
