// ShellTest.cpp - GUID texts and the replaceable desktop opener.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/shell/Guid.h"
#include "platform/shell/ShellOpen.h"

TEST(ShellTest, GuidsAreUpperCaseBracedGroupsAndNew) {
  std::set<String> Seen;
  const std::regex Form("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
  for (int I = 0; I < 50; ++I) {
    const String G = CreateGUID();
    EXPECT_EQ(G.size(), 38u);
    EXPECT_TRUE(std::regex_match(ToUtf8(G), Form)) << ToUtf8(G);
    Seen.insert(G);
  }
  EXPECT_EQ(Seen.size(), 50u);
}

TEST(ShellTest, ReplacedOpenerReceivesTheTarget) {
  std::vector<String> Opened;
  SetShellOpenerForTests([&](const String& T) { Opened.push_back(T); return true; });
  EXPECT_TRUE(ShellOpen(u"/tmp/Отчёт.pdf"));
  SetShellOpenerForTests(nullptr);
  EXPECT_EQ(Opened, std::vector<String>{u"/tmp/Отчёт.pdf"});
}
