// Registry.h - TRegistry, TRegIniFile and TRegistryIniFile: the settings registry, kept in ini
// files.
//
// Storage. Each root key is one ini file in $XDG_CONFIG_HOME/vorenta (~/.config/vorenta when
// the variable is unset or empty), named after the root: HKEY_CURRENT_USER.ini and
// HKEY_LOCAL_MACHINE.ini. A key is a section named by its full path from the root, without a
// leading backslash ("Software\Quillerant\Connections"); the root itself is the section "[]".
// A key exists when its section does or when a key below it does. Each value is one line:
//
//   value kind   line                          read by
//   string       Name="text"                   ReadString
//   integer      Name=dword:0000002a           ReadInteger, ReadBool
//   binary       Name=hex:01,ff,...            ReadBinaryData; 8 bytes for ReadFloat
//
// In the quoted text (and in a quoted name) backslash, quote, CR and LF are escaped as \\, \",
// \r and \n. The default (unnamed) value is written as the name @. A name that is @ itself,
// or that could not stand unquoted as an ini key, is quoted. Key and value names are compared
// without case. Every change is written to the file at once; every read reads it afresh.
#pragma once

#include <memory>

#include "platform/classes/IniFiles.h"
#include "platform/classes/Object.h"

class TStrings;
class TIniText;

using HKEY = NativeUInt;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

class TRegistry : public TObject {
  VORENTA_CLASS(TRegistry, TObject)
public:
  // The root is HKEY_CURRENT_USER.
  TRegistry();
  ~TRegistry() override;

  // Setting the root closes the open key. An unknown root raises ERegistryException when a
  // key is used.
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);
  // The path of the open key ("" for the root).
  const String& CurrentPath() const { return FCurrentPath; }

  // --- Keys ---------------------------------------------------------------------------------
  // Key is relative to the open key, or absolute when it starts with a backslash. Returns
  // false when the key does not exist and may not be created.
  bool OpenKey(const String& Key, bool CanCreate);
  // Opens an existing key; writing under it then raises ERegistryException
  // "Failed to set data for '%s'".
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool KeyExists(const String& Key);
  // Deletes the key with everything below it; false when there was none.
  bool DeleteKey(const String& Key);
  // The names of the open key's subkeys / values, replacing what Strings held.
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  // --- Values of the open key ---------------------------------------------------------------
  bool ValueExists(const String& Name);
  bool DeleteValue(const String& Name);
  // "" when the value does not exist. A value of another kind raises ERegistryException
  // "Invalid data type for '%s'".
  String ReadString(const String& Name);
  void WriteString(const String& Name, const String& Value);
  // A missing value raises ERegistryException "Failed to get data for '%s'"; a value of
  // another kind "Invalid data type for '%s'".
  Integer ReadInteger(const String& Name);
  void WriteInteger(const String& Name, Integer Value);
  bool ReadBool(const String& Name);
  void WriteBool(const String& Name, bool Value);
  double ReadFloat(const String& Name);
  void WriteFloat(const String& Name, double Value);
  // Copies the value into Buffer and returns its size; 0 when the value does not exist.
  // A value of another kind, or one larger than BufSize, raises "Invalid data type for '%s'".
  int ReadBinaryData(const String& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);

  // ---- for tests ----
  // The folder of the root files: $XDG_CONFIG_HOME/vorenta or ~/.config/vorenta.
  static String StorageFolder();

protected:
  struct TValue;
  // Reads a value line. Text that is none of the written forms (a hand edit) reads as a
  // string, so nothing in the file is lost.
  static void DecodeValue(const String& Stored, TValue& Value);
  // The stored form of a value, or false when there is none.
  bool FindValue(const String& Name, TValue& Value);
  void PutValue(const String& Name, const String& Stored);
  // The full path of Key: relative to the open key unless it starts with a backslash.
  String FullPath(const String& Key) const;

  String FCurrentPath;
  bool FKeyOpen = false;
  bool FReadOnly = false;

private:
  String RootFileName() const;
  void LoadRoot(TIniText& Text) const;
  void SaveRoot(const TIniText& Text) const;
  void CheckWritable(const String& Name) const;

  HKEY FRootKey = HKEY_CURRENT_USER;
};

// The registry seen as sections: each section is a subkey of the key given to the constructor
// (an empty section is that key itself). Integers and booleans are stored as strings, as the
// class library does for this class; ReadInteger also reads an integer value.
class TRegIniFile : public TRegistry {
  VORENTA_CLASS(TRegIniFile, TRegistry)
public:
  // Opens (creating) FileName under HKEY_CURRENT_USER; FileName is a key path such as
  // "\Software\Quillerant".
  explicit TRegIniFile(const String& FileName);
  ~TRegIniFile() override;

  const String& FileName() const { return FFileName; }

  using TRegistry::DeleteKey;
  using TRegistry::ReadBool;
  using TRegistry::ReadInteger;
  using TRegistry::ReadString;
  using TRegistry::WriteBool;
  using TRegistry::WriteInteger;
  using TRegistry::WriteString;

  String ReadString(const String& Section, const String& Ident, const String& Default);
  void WriteString(const String& Section, const String& Ident, const String& Value);
  Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  void WriteInteger(const String& Section, const String& Ident, Integer Value);
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // Value names of the section / subkey names / "name=value" lines of the string values.
  void ReadSection(const String& Section, TStrings* Strings);
  void ReadSections(TStrings* Strings);
  void ReadSectionValues(const String& Section, TStrings* Strings);
  // Deletes the section's key; deletes the value Ident of the section.
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);

private:
  // Runs Action with Section's key open (created when Create is set); false when it could
  // not be opened. The key of the object is open again afterwards.
  template <class F>
  bool WithSection(const String& Section, bool Create, F Action);

  String FFileName;
};

// TCustomIniFile over a TRegIniFile, for code written against ini files.
class TRegistryIniFile : public TCustomIniFile {
  VORENTA_CLASS(TRegistryIniFile, TCustomIniFile)
public:
  explicit TRegistryIniFile(const String& FileName);
  ~TRegistryIniFile() override;

  TRegIniFile* RegIniFile() const { return FRegIniFile.get(); }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  Integer ReadInteger(const String& Section, const String& Ident, Integer Default) override;
  void WriteInteger(const String& Section, const String& Ident, Integer Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;
  // Nothing is pending: the registry writes every change at once.
  void UpdateFile() override;

private:
  std::unique_ptr<TRegIniFile> FRegIniFile;
};
