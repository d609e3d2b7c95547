// MTOrderByZk.cpp - the ORDER BY tokenizer, parser and record comparison.
#include "gridlib/memtable/MTOrderByZk.h"

#include "gridlib/memtable/MemTableDataZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

String TOrderByList::GetToken(const String& Exp, int& FromIndex) {
  const int Len = static_cast<int>(Exp.size());
  auto At = [&Exp](int I) { return Exp[static_cast<std::size_t>(I - 1)]; };
  while (FromIndex <= Len && At(FromIndex) == u' ') ++FromIndex;
  if (FromIndex > Len) return String();
  const Char C = At(FromIndex);
  if (C == u',' || C == u';') {
    ++FromIndex;
    return String(1, C);
  }
  String Token;
  if (C == u'[') {
    ++FromIndex;
    while (FromIndex <= Len && At(FromIndex) != u']') Token += At(FromIndex++);
    if (FromIndex <= Len) ++FromIndex;
    return Token;
  }
  while (FromIndex <= Len) {
    const Char D = At(FromIndex);
    if (D == u' ' || D == u',' || D == u';' || D == u']') break;
    Token += D;
    ++FromIndex;
  }
  if (FromIndex <= Len && At(FromIndex) == u']') ++FromIndex;
  return Token;
}

void TOrderByList::ParseOrderByStr(const String& OrderByStr) {
  int Pos = 1;
  String Token = GetToken(OrderByStr, Pos);
  std::vector<TOrderByItemZk> Items;
  while (!Token.empty()) {
    TOrderByItemZk Item;
    Item.FieldIndex = FindFieldIndex(Token);
    if (Item.FieldIndex < 0) throw Exception(u" Field - \"" + Token + u"\" not found.");
    for (Token = GetToken(OrderByStr, Pos);; Token = GetToken(OrderByStr, Pos)) {
      const String Word = AnsiUpperCase(Token);
      if (Word == u"DESC")
        Item.Desc = true;
      else if (Word != u"ASC")
        break;
    }
    if (!Token.empty() && Token != u"," && Token != u";")
      throw Exception(u" Invalid token - \"" + Token + u"\"");
    Items.push_back(Item);
    if (!Token.empty()) Token = GetToken(OrderByStr, Pos);
  }
  FItems = std::move(Items);
}

int TStructOrderByList::FindFieldIndex(const String& Name) const {
  TMTDataStructZk* Struct = DataStruct();
  return Struct ? Struct->FieldIndex(Name) : -1;
}

TMTDataStructZk* TRecordsViewOrderByList::DataStruct() const {
  TMemTableDataZk* Data = FRecordsView->MemTableData();
  return Data ? Data->DataStruct() : nullptr;
}

TMTDataStructZk* TMemoryTreeListOrderByList::DataStruct() const {
  TMemTableDataZk* Data = FTreeList->RecordsView()->MemTableData();
  return Data ? Data->DataStruct() : nullptr;
}

int CompareOrderValues(const Variant& V1, const Variant& V2, bool CaseInsensitive) {
  const bool None1 = V1.IsNull() || V1.IsEmpty();
  const bool None2 = V2.IsNull() || V2.IsEmpty();
  if (None1) return None2 ? 0 : -1;
  if (None2) return 1;
  if (CaseInsensitive) {
    const int C = AnsiCompareText(VarToStr(V1), VarToStr(V2));
    return C == 0 ? 0 : C < 0 ? -1 : 1;
  }
  if (V1.IsString() && V2.IsString()) {
    // The variants' own order for two texts, in one collation call: equal only when the
    // code units are, collation ties ordered by code units.
    const int C = AnsiCompareStr(V1.StringRef(), V2.StringRef());
    return C != 0 ? C : CompareStr(V1.StringRef(), V2.StringRef());
  }
  if (VarEquals(V1, V2)) return 0;
  return VarLess(V1, V2) ? -1 : 1;
}

TOrderProbeZk::TOrderProbeZk(const TMemoryRecordZk* Rec, const TOrderByList& List, bool WithKey)
    : FRec(Rec), FList(List) {
  if (List.Count() == 0) return;
  FFirst = Rec->ValueAt(List.Items(0).FieldIndex);
  FIsText = FFirst.IsString();
  if (FIsText) FText = FFirst.Text(FBuffer);
  if (FIsText && WithKey) FKey = AnsiSortKeyPrefix(FText);
}

int TOrderProbeZk::CompareRow(const TMemoryRecordZk* Row, std::uint64_t RowKey) const {
  if (FList.Count() == 0) return 0;
  const TOrderByItemZk& Item = FList.Items(0);
  if (FKey != 0 && RowKey != 0 && FKey != RowKey) return (RowKey < FKey) != Item.Desc ? -1 : 1;
  const TPackedValueZk V = Row->ValueAt(Item.FieldIndex);
  int C;
  if (FIsText && V.IsString()) {  // as CompareOrderValues orders two texts
    TTextBufferZk Buffer;
    const std::u16string_view S = V.Text(Buffer);
    C = AnsiCompareStr(S, FText);
    if (C == 0) C = CompareStr(S, FText);
  } else {
    C = CompareOrderValues(V, FFirst, false);
  }
  if (C != 0) return Item.Desc ? -C : C;
  for (int I = 1; I < FList.Count(); ++I) {
    const TOrderByItemZk& Next = FList.Items(I);
    C = CompareOrderValues(Row->ValueAt(Next.FieldIndex), FRec->ValueAt(Next.FieldIndex), false);
    if (C != 0) return Next.Desc ? -C : C;
  }
  return 0;
}

int CompareRecordsByOrder(const TMemoryRecordZk* Rec1, const TMemoryRecordZk* Rec2,
                          const TOrderByList& List) {
  for (int I = 0; I < List.Count(); ++I) {
    const TOrderByItemZk& Item = List.Items(I);
    int C = CompareOrderValues(Rec1->ValueAt(Item.FieldIndex), Rec2->ValueAt(Item.FieldIndex), false);
    if (C != 0) return Item.Desc ? -C : C;
  }
  return 0;
}
