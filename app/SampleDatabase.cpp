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
