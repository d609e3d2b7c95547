// Strings.cpp - TStrings and TStringList.
#include "platform/classes/Strings.h"

#include <algorithm>
#include <numeric>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TStrings) {}
REGISTER_CLASS(TStringList) {}

namespace {

const char16_t kLineBreak[] = u"\r\n";

bool IsBlank(Char C) { return C <= u' '; }

// True when S must be quoted to survive a round trip through DelimitedText.
bool NeedsQuotes(const String& S, Char Delimiter, Char Quote, bool Strict) {
  return std::any_of(S.begin(), S.end(), [&](Char C) {
    return C == Delimiter || C == Quote || (!Strict && IsBlank(C));
  });
}

// Reads a quoted text starting at Value[Pos] (the opening quote); a doubled quote gives one.
// Pos ends past the closing quote, or at the end when it is missing.
String ExtractQuoted(const String& Value, std::size_t& Pos, Char Quote) {
  String Result;
  ++Pos;
  while (Pos < Value.size()) {
    const Char C = Value[Pos++];
    if (C != Quote) {
      Result += C;
      continue;
    }
    if (Pos < Value.size() && Value[Pos] == Quote) {
      Result += Quote;
      ++Pos;
      continue;
    }
    break;
  }
  return Result;
}

}  // namespace

// =============================================================================================
// TStrings

TStrings::~TStrings() = default;

void TStrings::IndexError(int Index) const {
  throw EStringListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

void TStrings::Put(int Index, const String& S) {
  TObject* Object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, Object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::Add(const String& S) {
  const int Index = Count();
  Insert(Index, S);
  return Index;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  const int Index = Add(S);
  PutObject(Index, AObject);
  return Index;
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  try {
    for (int I = 0; I < Strings->Count(); ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const String& S) const {
  for (int I = 0; I < Count(); ++I)
    if (CompareStrings(Get(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  for (int I = 0; I < Count(); ++I) {
    const String S = Get(I);
    const std::size_t P = S.find(FNameValueSeparator);
    if (P != String::npos && CompareStrings(S.substr(0, P), Name) == 0) return I;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int I = 0; I < Count(); ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    const String S = Get(Index1);
    TObject* Object = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, S);
    PutObject(Index2, Object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    const String S = Get(CurIndex);
    TObject* Object = GetObject(CurIndex);
    // Keeps an owned object alive while its string moves.
    PutObject(CurIndex, nullptr);
    Delete(CurIndex);
    InsertObject(NewIndex, S, Object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --- Text forms ------------------------------------------------------------------------------

String TStrings::Text() const {
  String Result;
  for (int I = 0; I < Count(); ++I) {
    Result += Get(I);
    Result += kLineBreak;
  }
  return Result;
}

void TStrings::SetText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    std::size_t Pos = 0;
    while (Pos < Value.size()) {
      const std::size_t End = Value.find_first_of(u"\r\n", Pos);
      Add(Value.substr(Pos, End == String::npos ? String::npos : End - Pos));
      if (End == String::npos) break;
      Pos = End + 1;
      if (Value[End] == u'\r' && Pos < Value.size() && Value[Pos] == u'\n') ++Pos;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() const { return JoinDelimited(u',', u'"', false); }

void TStrings::SetCommaText(const String& Value) { SplitDelimited(Value, u',', u'"', false); }

String TStrings::DelimitedText() const {
  return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& Value) {
  SplitDelimited(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

String TStrings::JoinDelimited(Char Delimiter, Char Quote, bool Strict) const {
  // A single empty string must not read back as an empty list.
  if (Count() == 1 && Get(0).empty()) return String(2, Quote);
  String Result;
  for (int I = 0; I < Count(); ++I) {
    if (I > 0) Result += Delimiter;
    const String S = Get(I);
    Result += NeedsQuotes(S, Delimiter, Quote, Strict) ? AnsiQuotedStr(S, Quote) : S;
  }
  return Result;
}

void TStrings::SplitDelimited(const String& Value, Char Delimiter, Char Quote, bool Strict) {
  const auto SkipBlanks = [&](std::size_t& Pos) {
    if (Strict) return;
    while (Pos < Value.size() && IsBlank(Value[Pos])) ++Pos;
  };
  BeginUpdate();
  try {
    Clear();
    std::size_t Pos = 0;
    SkipBlanks(Pos);
    while (Pos < Value.size()) {
      if (Value[Pos] == Quote) {
        Add(ExtractQuoted(Value, Pos, Quote));
      } else {
        const std::size_t Start = Pos;
        while (Pos < Value.size() && Value[Pos] != Delimiter && (Strict || !IsBlank(Value[Pos])))
          ++Pos;
        Add(Value.substr(Start, Pos - Start));
      }
      SkipBlanks(Pos);
      if (Pos < Value.size() && Value[Pos] == Delimiter) {
        // A delimiter at the very end stands before one more, empty, string.
        if (Pos + 1 == Value.size()) Add(String());
        ++Pos;
        SkipBlanks(Pos);
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --- Name=value pairs ------------------------------------------------------------------------

String TStrings::Names(int Index) const {
  const String S = Get(Index);
  const std::size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  const int I = IndexOfName(Name);
  return I < 0 ? String() : ValueFromIndex(I);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int I = IndexOfName(Name);
  if (Value.empty()) {
    if (I >= 0) Delete(I);
    return;
  }
  if (I < 0) I = Add(String());
  Put(I, Name + FNameValueSeparator + Value);
}

String TStrings::ValueFromIndex(int Index) const {
  const String S = Get(Index);
  const std::size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
  if (Value.empty()) {
    if (Index >= 0) Delete(Index);
    return;
  }
  if (Index < 0) Index = Add(String());
  Put(Index, Names(Index) + FNameValueSeparator + Value);
}

// --- Updates and comparison ------------------------------------------------------------------

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& S1, const String& S2) const {
  return AnsiCompareText(S1, S2);
}

void TStrings::AssignFormatting(const TStrings& Source) {
  FDelimiter = Source.FDelimiter;
  FQuoteChar = Source.FQuoteChar;
  FNameValueSeparator = Source.FNameValueSeparator;
  FStrictDelimiter = Source.FStrictDelimiter;
  FDefaultEncoding = Source.FDefaultEncoding;
}

void TStrings::Assign(TPersistent* Source) {
  auto* Strings = dynamic_cast<TStrings*>(Source);
  if (!Strings) {
    TPersistent::Assign(Source);
    return;
  }
  if (Strings == this) return;
  BeginUpdate();
  try {
    Clear();
    AssignFormatting(*Strings);
    AddStrings(Strings);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(TStrings* Strings) const {
  if (Count() != Strings->Count()) return false;
  for (int I = 0; I < Count(); ++I)
    if (Get(I) != Strings->Get(I)) return false;
  return true;
}

// --- Component streams -----------------------------------------------------------------------

void TStrings::DefineProperties(TFiler* Filer) {
  const auto ReadData = [this](TReader* Reader) {
    Reader->ReadListBegin();
    BeginUpdate();
    try {
      Clear();
      while (!Reader->EndOfList()) Add(Reader->ReadString());
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    Reader->ReadListEnd();
  };
  const auto WriteData = [this](TWriter* Writer) {
    Writer->WriteListBegin();
    for (int I = 0; I < Count(); ++I) Writer->WriteString(Get(I));
    Writer->WriteListEnd();
  };
  Filer->DefineProperty(u"Strings", ReadData, WriteData, Count() > 0);
}

// --- Files and streams -----------------------------------------------------------------------

void TStrings::SetDefaultEncoding(TEncoding Value) {
  FDefaultEncoding = Value;
  FEncoding = Value;
}

void TStrings::LoadFromStream(TStream* Stream) {
  const TDetectedText Found = DetectAndDecodeText(ReadRestOfStream(Stream));
  FEncoding = Found.Encoding;
  FWriteBOM = Found.HasPreamble;
  SetText(Found.Text);
}

void TStrings::LoadFromStream(TStream* Stream, TEncoding Encoding) {
  const std::string Bytes = ReadRestOfStream(Stream);
  const std::size_t Bom = DetectPreamble(Bytes, Encoding);
  FEncoding = Encoding;
  FWriteBOM = Bom != 0;
  SetText(DecodeText(std::string_view(Bytes).substr(Bom), Encoding));
}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File);
}

void TStrings::LoadFromFile(const String& FileName, TEncoding Encoding) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File, Encoding);
}

void TStrings::SaveToStream(TStream* Stream) const { SaveToStream(Stream, FEncoding); }

void TStrings::SaveToStream(TStream* Stream, TEncoding Encoding) const {
  const bool Bom = FWriteBOM || Encoding == TEncoding::Unicode;
  const std::string Bytes = EncodeText(Text(), Encoding, Bom);
  Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void TStrings::SaveToFile(const String& FileName) const { SaveToFile(FileName, FEncoding); }

void TStrings::SaveToFile(const String& FileName, TEncoding Encoding) const {
  TFileStream File(FileName, fmCreate);
  SaveToStream(&File, Encoding);
}

// =============================================================================================
// TStringList

TStringList::~TStringList() {
  // No events while the list goes away.
  FOnChange = nullptr;
  FOnChanging = nullptr;
  if (FOwnsObjects)
    for (TItem& Item : FItems) delete Item.FObject;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
}

void TStringList::SortedListError() const {
  throw EStringListError(u"Operation not allowed on sorted list");
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && FOnChange) FOnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && FOnChanging) FOnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FString;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) SortedListError();
  CheckIndex(Index);
  Changing();
  FItems[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FItems[Index].FObject = AObject;
  Changed();
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FItems.insert(FItems.begin() + Index, TItem{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) SortedListError();
  if (Index < 0 || Index > Count()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* Object = FItems[Index].FObject;
  FItems.erase(FItems.begin() + Index);
  if (FOwnsObjects) delete Object;
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  std::vector<TItem> Old;
  Old.swap(FItems);
  if (FOwnsObjects)
    for (TItem& Item : Old) delete Item.FObject;
  Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int Index = Count();
  if (FSorted && Find(S, Index)) {
    if (FDuplicates == dupIgnore) return Index;
    if (FDuplicates == dupError)
      throw EStringListError(u"String list does not allow duplicates");
  }
  InsertItem(Index, S, AObject);
  return Index;
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int Index = 0;
  return Find(S, Index) ? Index : -1;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FItems[Index1], FItems[Index2]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) SortedListError();
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  const auto First = FItems.begin();
  if (CurIndex < NewIndex)
    std::rotate(First + CurIndex, First + CurIndex + 1, First + NewIndex + 1);
  else
    std::rotate(First + NewIndex, First + CurIndex, First + CurIndex + 1);
  Changed();
}

bool TStringList::Find(const String& S, int& Index) const {
  bool Result = false;
  int L = 0, H = Count() - 1;
  while (L <= H) {
    const int I = (L + H) / 2;
    const int C = CompareStrings(FItems[I].FString, S);
    if (C < 0) {
      L = I + 1;
      continue;
    }
    H = I - 1;
    if (C == 0) {
      Result = true;
      if (FDuplicates != dupAccept) L = I;
    }
  }
  Index = L;
  return Result;
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SortItems(const TStringListSortCompare& Compare) {
  // Sort a permutation so that Compare sees the items at their present indexes throughout.
  std::vector<int> Order(FItems.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](int A, int B) { return Compare(this, A, B) < 0; });
  std::vector<TItem> Sorted;
  Sorted.reserve(FItems.size());
  for (int I : Order) Sorted.push_back(std::move(FItems[I]));
  FItems.swap(Sorted);
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted || Count() < 2) return;
  Changing();
  SortItems(Compare);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* List, int A, int B) {
    return List->CompareStrings(List->FItems[A].FString, List->FItems[B].FString);
  });
}

void TStringList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == FCaseSensitive) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    SetSorted(true);
  }
}
