// SysUtilsFile.cpp - file names and simple file-system queries.
#include "platform/rtl/SysUtils.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path ToPath(const String& Name) {
  return std::filesystem::path(StringToUtf8(Name));
}

// Index after the last path delimiter (0 when there is none).
std::size_t NameStart(const String& FileName) {
  const std::size_t Slash = FileName.find_last_of(PathDelim);
  return Slash == String::npos ? 0 : Slash + 1;
}

}  // namespace

String IncludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && S.back() == PathDelim) return S;
  return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  if (S.size() > 1 && S.back() == PathDelim) return S.substr(0, S.size() - 1);
  return S;
}

String ExtractFilePath(const String& FileName) { return FileName.substr(0, NameStart(FileName)); }

String ExtractFileDir(const String& FileName) {
  const std::size_t Start = NameStart(FileName);
  if (Start == 0) return String();
  return Start == 1 ? FileName.substr(0, 1) : FileName.substr(0, Start - 1);
}

String ExtractFileName(const String& FileName) { return FileName.substr(NameStart(FileName)); }

String ExtractFileExt(const String& FileName) {
  const std::size_t Dot = FileName.find_last_of(u'.');
  if (Dot == String::npos || Dot < NameStart(FileName)) return String();
  return FileName.substr(Dot);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  const std::size_t Dot = FileName.find_last_of(u'.');
  if (Dot == String::npos || Dot < NameStart(FileName)) return FileName + Extension;
  return FileName.substr(0, Dot) + Extension;
}

String ExpandFileName(const String& FileName) {
  std::error_code Error;
  const std::filesystem::path Absolute = std::filesystem::absolute(ToPath(FileName), Error);
  if (Error) return FileName;
  return Utf8ToString(Absolute.lexically_normal().string());
}

bool FileExists(const String& FileName) {
  std::error_code Error;
  return std::filesystem::is_regular_file(ToPath(FileName), Error);
}

bool DirectoryExists(const String& Directory) {
  std::error_code Error;
  return std::filesystem::is_directory(ToPath(Directory), Error);
}

bool ForceDirectories(const String& Directory) {
  if (Directory.empty()) return false;
  std::error_code Error;
  std::filesystem::create_directories(ToPath(ExcludeTrailingPathDelimiter(Directory)), Error);
  return !Error && DirectoryExists(Directory);
}

bool CreateDir(const String& Directory) {
  std::error_code Error;
  return std::filesystem::create_directory(ToPath(Directory), Error);
}

bool RemoveDir(const String& Directory) {
  std::error_code Error;
  return DirectoryExists(Directory) && std::filesystem::remove(ToPath(Directory), Error);
}

bool DeleteFile(const String& FileName) {
  std::error_code Error;
  return FileExists(FileName) && std::filesystem::remove(ToPath(FileName), Error);
}

bool RenameFile(const String& OldName, const String& NewName) {
  std::error_code Error;
  if (std::filesystem::exists(ToPath(NewName), Error)) return false;  // never overwrites
  std::filesystem::rename(ToPath(OldName), ToPath(NewName), Error);
  return !Error;
}

String GetCurrentDir() {
  std::error_code Error;
  return Utf8ToString(std::filesystem::current_path(Error).string());
}

String GetTempDir() {
  const char* Dir = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(Utf8ToString(Dir && *Dir ? Dir : "/tmp"));
}
