// Strings.h - TStrings, the abstract list of strings with objects, and TStringList.
//
// TStrings holds the behaviour every string list shares: the text forms (Text with CR LF,
// CommaText, DelimitedText), name=value pairs, searching, update brackets, assignment and
// loading and saving in a text encoding. A descendant stores the strings by implementing Get,
// Count, Insert, Delete and Clear (and Put, GetObject, PutObject when it keeps more).
//
// TStringList keeps the strings itself and adds sorting, duplicate handling, case sensitivity,
// ownership of the objects and change events. The events follow the class library's rules:
// every change outside an update bracket fires OnChanging before and OnChange after it; inside
// BeginUpdate ... EndUpdate single changes fire nothing, BeginUpdate fires OnChanging once and
// the closing EndUpdate fires OnChange once.
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Encoding.h"
#include "platform/classes/Object.h"

class TStream;

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  VORENTA_CLASS(TStrings, TPersistent)
public:
  TStrings() = default;
  ~TStrings() override;

  // --- Storage (implemented by descendants) -------------------------------------------------
  virtual int Count() const = 0;
  virtual String Get(int Index) const = 0;
  // Replaces a string keeping its object.
  virtual void Put(int Index, const String& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  // Property forms of Get/Put and GetObject/PutObject.
  String Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const String& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // --- Adding -------------------------------------------------------------------------------
  // Each returns the index the string took.
  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);

  // --- Searching ----------------------------------------------------------------------------
  // Comparisons go through CompareStrings, so they follow the list's case sensitivity.
  virtual int IndexOf(const String& S) const;
  int IndexOfName(const String& Name) const;
  int IndexOfObject(TObject* AObject) const;

  // --- Rearranging --------------------------------------------------------------------------
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);

  // --- Text forms ---------------------------------------------------------------------------
  // Every string followed by CR LF. Setting splits at CR LF, LF or CR; a break at the very end
  // adds no empty string.
  String Text() const;
  virtual void SetText(const String& Value);
  // DelimitedText with ',' and '"' and blanks as separators.
  String CommaText() const;
  void SetCommaText(const String& Value);
  // The strings joined by Delimiter; a string holding the quote character, the delimiter or
  // (unless StrictDelimiter) a character up to the blank is quoted with QuoteChar. Setting
  // splits at Delimiter and (unless StrictDelimiter) at runs of blanks, and unquotes.
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char Value) { FDelimiter = Value; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // --- Name=value pairs ---------------------------------------------------------------------
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char Value) { FNameValueSeparator = Value; }
  // The part before the separator ("" when the string has none).
  String Names(int Index) const;
  // The value of the first string named Name ("" when there is none).
  String Values(const String& Name) const;
  // Replaces or adds Name=Value; an empty Value deletes the pair.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;
  // An empty Value deletes the string; Index -1 adds one.
  void SetValueFromIndex(int Index, const String& Value);

  // --- Updates ------------------------------------------------------------------------------
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // --- Whole-list operations ----------------------------------------------------------------
  void Assign(TPersistent* Source) override;
  // Same count and the same strings in the same order (compared exactly).
  bool Equals(TStrings* Strings) const;

  // --- Files and streams --------------------------------------------------------------------
  // Reading from the stream's position to its end: a byte order mark decides the encoding;
  // without one, the given encoding is used, or when none is given, UTF-8 if the bytes are
  // valid UTF-8 and ANSI otherwise. The encoding found and whether a mark was present become
  // Encoding() and WriteBOM(), so a file loaded and saved again keeps its form.
  void LoadFromStream(TStream* Stream);
  void LoadFromStream(TStream* Stream, TEncoding Encoding);
  void LoadFromFile(const String& FileName);
  void LoadFromFile(const String& FileName, TEncoding Encoding);
  // Writes Text in Encoding() (or the given encoding) with its byte order mark when WriteBOM()
  // is set; UTF-16 is always written with its mark.
  void SaveToStream(TStream* Stream) const;
  void SaveToStream(TStream* Stream, TEncoding Encoding) const;
  void SaveToFile(const String& FileName) const;
  void SaveToFile(const String& FileName, TEncoding Encoding) const;
  // The encoding of the last load, or DefaultEncoding (UTF-8) when nothing was loaded.
  TEncoding Encoding() const { return FEncoding; }
  TEncoding DefaultEncoding() const { return FDefaultEncoding; }
  void SetDefaultEncoding(TEncoding Value);
  bool WriteBOM() const { return FWriteBOM; }
  void SetWriteBOM(bool Value) { FWriteBOM = Value; }

protected:
  // Streams the strings as the list property "Strings" (objects are not streamed).
  void DefineProperties(TFiler* Filer) override;
  // Called when the update count leaves or returns to 0.
  virtual void SetUpdateState(bool Updating);
  // Compares two strings for searching: case ignored here, locale collation.
  virtual int CompareStrings(const String& S1, const String& S2) const;
  // Raises EStringListError "List index out of bounds (%d)".
  [[noreturn]] void IndexError(int Index) const;
  void AssignFormatting(const TStrings& Source);

private:
  String JoinDelimited(Char Delimiter, Char Quote, bool Strict) const;
  void SplitDelimited(const String& Value, Char Delimiter, Char Quote, bool Strict);

  int FUpdateCount = 0;
  Char FDelimiter = u',';
  Char FQuoteChar = u'"';
  Char FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
  TEncoding FDefaultEncoding = TEncoding::UTF8;
  TEncoding FEncoding = TEncoding::UTF8;
  bool FWriteBOM = false;
};

class TStringList;
// Orders the items at Index1 and Index2 of List: negative, 0 or positive.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
  VORENTA_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  // Frees the objects when OwnsObjects is set.
  ~TStringList() override;

  // --- Storage ------------------------------------------------------------------------------
  int Count() const override { return static_cast<int>(FItems.size()); }
  String Get(int Index) const override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Put(int Index, const String& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;

  // On a sorted list the string goes to its place; a duplicate is then ignored (returning
  // the index of the string already there), accepted, or refused with EStringListError
  // "String list does not allow duplicates", as Duplicates says. An unsorted list accepts
  // every string.
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  int IndexOf(const String& S) const override;
  void Exchange(int Index1, int Index2) override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list, before
  // anything moves.
  void Move(int CurIndex, int NewIndex) override;

  // --- Sorting ------------------------------------------------------------------------------
  // Binary search of a sorted list: true when S is there; Index is its position (the first of
  // equal strings when duplicates are accepted) or where it would go.
  virtual bool Find(const String& S, int& Index) const;
  // Sort and CustomSort reorder an unsorted list once and keep strings that compare equal in
  // their order; on a sorted list they do nothing.
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  // Case-sensitive lists compare with AnsiCompareStr, others with AnsiCompareText. Changing
  // it re-sorts a sorted list.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  // --- Objects and events -------------------------------------------------------------------
  // Objects are freed when their string is deleted, the list cleared or freed.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  const TNotifyEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

protected:
  int CompareStrings(const String& S1, const String& S2) const override;
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();

private:
  struct TItem {
    String FString;
    TObject* FObject = nullptr;
  };

  void CheckIndex(int Index) const;
  [[noreturn]] void SortedListError() const;
  void InsertItem(int Index, const String& S, TObject* AObject);
  void SortItems(const TStringListSortCompare& Compare);

  std::vector<TItem> FItems;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
};
