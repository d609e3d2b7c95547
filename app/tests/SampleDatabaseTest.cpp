// SampleDatabaseTest.cpp - the generated large catalogue for measuring.
#include "app/SampleDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/classes/Strings.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

TEST(SampleDatabase, GeneratedCatalogueHasFullRecipes) {
  const fs::path File =
      fs::temp_directory_path() / ("vorenta_gen_" + std::to_string(::getpid()) + ".data");
  fs::remove(File);
  const String Path = Utf8ToString(File.string());
  CreateDatabaseFile(Path, GeneratedCatalogueScript(
                               ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL)), 250));
  TADOConnection Connection(nullptr);
  Connection.SetConnectionString(u"Data Source=" + Path);
  Connection.Open();
  auto Scalar = [&](const String& Sql) {
    TADOQuery Query(nullptr);
    Query.SetConnection(&Connection);
    Query.SQL()->SetText(Sql);
    Query.Open();
    return Query.Fields()->Fields(0)->AsString();
  };
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_COLOR"), u"250");
  // Every colour's recipes add up to 100 % with one base line.
  for (const char16_t* Table : {u"DS_COLOR_REC", u"DS_COLOR_REC_A"})
    EXPECT_EQ(Scalar(String(u"SELECT COUNT(*) FROM (SELECT COLOR_ID FROM ") + Table +
                     u" GROUP BY COLOR_ID HAVING SUM(AM)=100 AND SUM(LKM_TP_ID=1)=1)"),
              u"250");
  EXPECT_EQ(Scalar(u"SELECT NM FROM DS_COLOR WHERE ID=201"), u"К 02-01");
  Connection.Close();
  fs::remove(File);
  EXPECT_THROW(GeneratedCatalogueScript("", 0), EConvertError);
}

}  // namespace
