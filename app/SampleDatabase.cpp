// SampleDatabase.cpp - creating a database file from a script through the database layer.
#include "app/SampleDatabase.h"

#include <fstream>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

void CreateDatabaseFile(const String& Path, const std::string& Script) {
  if (FileExists(Path)) throw EInOutError(u"The database file already exists: " + Path);
  const String Folder = ExtractFileDir(Path);
  if (!Folder.empty() && !ForceDirectories(Folder))
    throw EInOutError(u"Cannot create the folder " + Folder);
  {
    // An empty file is an empty database; the connection never creates one itself.
    std::ofstream File(StringToUtf8(Path), std::ios::binary);
    if (!File) throw EInOutError(u"Cannot create the file " + Path);
  }
  try {
    TADOConnection Connection(nullptr);
    Connection.SetConnectionString(u"Data Source=" + Path);
    Connection.Open();
    Connection.Execute(Utf8ToString(Script));
  } catch (...) {
    DeleteFile(Path);
    throw;
  }
}

std::string ReadTextFile(const String& Path) {
  std::ifstream File(StringToUtf8(Path), std::ios::binary);
  if (!File) throw EInOutError(u"Cannot read the file " + Path);
  std::ostringstream Text;
  Text << File.rdbuf();
  return Text.str();
}

std::string GeneratedCatalogueScript(const std::string& SampleScript, int Colours) {
  if (Colours < 1) throw EConvertError(u"The number of colours must be at least 1");
  std::string Sql = SampleScript;
  Sql += "DELETE FROM DS_COLOR; DELETE FROM DS_COLOR_REC; DELETE FROM DS_COLOR_REC_A;\n";
  Sql += "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
         std::to_string(Colours) + ")\n"
         "INSERT INTO DS_COLOR (ID,NM,COLOR,COLOR_TP_ID,AM,BASE_ID,IND,PRICE1)\n"
         "SELECT i, 'К ' || printf('%02d-%02d', i/100 % 100, i % 100), i*997 % 16777216,"
         " 1 + i % 3, 100, 1, i / 50, 100 FROM n;\n";
  // Base 70 %, then three pastes; the alternative recipe marks its base line.
  struct TLine { int Type, Material, Product, Share; };
  const TLine Lines[] = {{1, 1, 1, 70}, {2, 3, 4, 15}, {2, 4, 5, 10}, {2, 5, 6, 5}};
  for (const bool Alternative : {false, true}) {
    Sql += std::string("INSERT INTO ") + (Alternative ? "DS_COLOR_REC_A" : "DS_COLOR_REC") +
           " (COLOR_ID,LKM_TP_ID,LKM_ID,LKM_REC_ID,AM" + (Alternative ? ",IS_BASE1" : "") + ")\n";
    for (const TLine& L : Lines) {
      if (&L != Lines) Sql += " UNION ALL ";
      Sql += "SELECT ID, " + std::to_string(L.Type) + ", " + std::to_string(L.Material) + ", " +
             std::to_string(L.Product) + ", " + std::to_string(L.Share) +
             (Alternative ? (L.Type == 1 ? ", 1" : ", 0") : "") + " FROM DS_COLOR";
    }
    Sql += ";\n";
  }
  return Sql;
}
