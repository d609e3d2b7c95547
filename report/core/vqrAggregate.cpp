// vqrAggregate.cpp - aggregate accumulators and the scan of a page's footers for their calls.
#include "report/core/vqrAggregate.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrExpression.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrVariables.h"

namespace {

// Report variables naming each other, and nested parentheses, deeper than this are an
// expression error, not a stack overflow.
constexpr int MaxScanDepth = 64;

bool InSet(Char C, const char* Set) {
  if (C >= 1 && C <= 31) return true;
  for (const char* P = Set; *P; ++P)
    if (C == static_cast<Char>(*P)) return true;
  return false;
}
bool IsSeparator(Char C) { return InSet(C, " !#$%&*+,-./0123456789=[]^|"); }
bool IsWordEnd(Char C) { return InSet(C, " !#$%&(*+,-./=[]^|"); }

TvqrAggregateFunction FunctionOf(const String& Name) {
  if (Name == u"SUM") return agSum;
  if (Name == u"AVG") return agAvg;
  if (Name == u"MIN") return agMin;
  if (Name == u"MAX") return agMax;
  return agCount;
}

bool IsAggregate(const String& Upper) {
  return Upper == u"SUM" || Upper == u"MIN" || Upper == u"MAX" || Upper == u"AVG" ||
         Upper == u"COUNT";
}

[[noreturn]] void CycleError(const String& Text) {
  throw Exception(StringTable()->Get(u"clExprError") + u" '" + Text +
                  u"': expression refers to itself");
}

}  // namespace

// =============================================================================================
// Item

void TvqrAggregateItem::CheckVColumn() const {
  if (VColumn > vqrMaxVColumn)
    throw ERangeError(Format(u"Vertical column %d is out of range (at most %d)",
                             {VColumn, vqrMaxVColumn}));
}

void TvqrAggregateItem::Combine(Variant& Into, const Variant& V) const {
  if (Into.IsNull() || Into.IsEmpty()) {
    Into = V;
    return;
  }
  if (V.IsNull() || V.IsEmpty()) return;
  switch (AggregateFunction) {
    case agSum:
    case agAvg: Into = Into + V; break;
    case agMin: if (V < Into) Into = V; break;
    case agMax: if (V > Into) Into = V; break;
    case agCount: break;
  }
}

void TvqrAggregateItem::Calc() {
  if (Band && !Band->Visible() && !CountInvisibleBands) return;
  if (Report) Report->SetCurObject(MemoName);
  Variant V = Null();
  if (AggregateFunction != agCount && Report) V = vqrCalc(Report, Expression);
  if (V.VType() == varBoolean && V.AsBoolean()) V = 1;
  const bool Counts = !(AggregateFunction == agAvg && V.IsNull());
  if (VColumn >= 1) {
    CheckVColumn();
    if (ItemsArray.empty()) {
      ItemsArray.assign(vqrMaxVColumn + 1, Null());
      ItemsCountArray.assign(vqrMaxVColumn + 1, 0);
    }
    if (Counts) ++ItemsCountArray[static_cast<size_t>(VColumn)];
    Combine(ItemsArray[static_cast<size_t>(VColumn)], V);
  } else if (Keeping) {
    if (Counts) ++TempItemsCount;
    Combine(TempItemsValue, V);
  } else {
    LastCount = ItemsCount;
    LastValue = ItemsValue;
    if (Counts) ++ItemsCount;
    Combine(ItemsValue, V);
  }
}

Variant TvqrAggregateItem::Value() const {
  Variant Sum = ItemsValue;
  int N = ItemsCount;
  if (!ItemsArray.empty() && VColumn >= 1) {
    CheckVColumn();
    Sum = ItemsArray[static_cast<size_t>(VColumn)];
    N = ItemsCountArray[static_cast<size_t>(VColumn)];
  }
  Variant Result;
  switch (AggregateFunction) {
    case agAvg:
      Result = (Sum.IsNull() || Sum.IsEmpty() || N == 0) ? Null() : Variant(Sum.AsDouble() / N);
      break;
    case agCount: Result = N; break;
    default: Result = Sum; break;
  }
  return Result.IsNull() || Result.IsEmpty() ? Variant(0) : Result;
}

void TvqrAggregateItem::Reset() {
  if (DontReset && ItemsCount != 0) return;
  ItemsCount = 0;
  ItemsValue = Null();
  ItemsArray.clear();
  ItemsCountArray.clear();
}

void TvqrAggregateItem::DeleteValue() {
  ItemsCount = LastCount;
  ItemsValue = LastValue;
}

void TvqrAggregateItem::StartKeep() {
  if (!IsPageFooter || Keeping) return;
  Keeping = true;
  TempItemsCount = 0;
  TempItemsValue = Null();
}

void TvqrAggregateItem::EndKeep() {
  if (!IsPageFooter || !Keeping) return;
  Keeping = false;
  ItemsCount += TempItemsCount;
  Combine(ItemsValue, TempItemsValue);
}

// =============================================================================================
// List

void TvqrAggregateList::AddValue(TvqrBand* Band, int VColumn) {
  for (auto& Item : FList)
    if (Item->Band == Band) {
      Item->VColumn = VColumn;
      Item->Calc();
    }
}

void TvqrAggregateList::DeleteValue(TvqrBand* Band) {
  for (auto& Item : FList)
    if (Item->Band == Band) Item->DeleteValue();
}

void TvqrAggregateList::Reset(TvqrBand* ParentBand) {
  for (auto& Item : FList)
    if (Item->ParentBand == ParentBand) Item->Reset();
}

void TvqrAggregateList::StartKeep() {
  for (auto& Item : FList) Item->StartKeep();
}

void TvqrAggregateList::EndKeep() {
  for (auto& Item : FList) Item->EndKeep();
}

void TvqrAggregateList::ClearValues() {
  for (auto& Item : FList) {
    bool Saved = Item->DontReset;
    Item->DontReset = false;
    Item->Reset();
    Item->DontReset = Saved;
  }
}

Variant TvqrAggregateList::GetValue(TvqrBand* ParentBand, int VColumn, const String& Name,
                                    const String& Expression, TvqrBand* Band, int Flags) {
  TvqrAggregateFunction F = FunctionOf(UpperCase(Name));
  String Expr = Trim(Expression);
  for (auto& Item : FList) {
    if (Item->ParentBand != ParentBand || Item->AggregateFunction != F) continue;
    if (AnsiCompareText(Item->Expression, Expr) != 0) continue;
    if (Band && Item->Band != Band) continue;
    if (Item->CountInvisibleBands != ((Flags & 1) != 0) || Item->DontReset != ((Flags & 2) != 0))
      continue;
    Item->VColumn = VColumn;
    return Item->Value();
  }
  return Null();
}

Variant TvqrAggregateList::GetValue(TvqrBand* ParentBand, const String& ComplexName,
                                    int VColumn) {
  String Name = Trim(ComplexName);
  for (auto& Item : FList)
    if (Item->ParentBand == ParentBand && AnsiSameText(Item->OriginalName, Name)) {
      Item->VColumn = VColumn;
      return Item->Value();
    }
  return Null();
}

// --- Collection --------------------------------------------------------------------------------

void TvqrAggregateList::AddItems(TvqrReportPage* Page) {
  for (TvqrComponent* C : Page->SubBands())
    if (auto* D = dynamic_cast<TvqrBand*>(C)) VisitDataBand(D);
  for (TvqrComponent* C : Page->VSubBands())
    if (auto* D = dynamic_cast<TvqrBand*>(C)) VisitDataBand(D);
  TvqrBand* First = nullptr;
  for (TvqrComponent* C : Page->SubBands())
    if ((First = dynamic_cast<TvqrBand*>(C))) break;
  if (!First) return;
  for (TClass Class : {TvqrPageFooter::ClassInfo(), TvqrColumnFooter::ClassInfo(),
                       TvqrReportSummary::ClassInfo()})
    if (auto* B = dynamic_cast<TvqrBand*>(Page->FindBand(Class))) ScanBand(B, First);
}

void TvqrAggregateList::VisitDataBand(TvqrBand* D) {
  if (D->Footer) ScanBand(D->Footer, D);
  if (D->Group)
    for (TvqrBand* Level : D->Group->SubBands())
      if (Level && Level->Footer) ScanBand(Level->Footer, D);
  if (D->Vertical()) ScanBand(D, D);
  for (TvqrBand* Sub : D->SubBands())
    if (Sub && Sub != D) VisitDataBand(Sub);
}

void TvqrAggregateList::ScanBand(TvqrBand* Band, TvqrBand* ContextBand) {
  int Guard = 0;
  for (TvqrBand* B = Band; B && Guard < MaxScanDepth; B = B->Child(), ++Guard)
    for (TvqrComponent* Obj : B->Objects())
      if (auto* Memo = dynamic_cast<TvqrCustomMemoView*>(Obj)) ScanMemo(Memo, B, ContextBand);
}

void TvqrAggregateList::ScanMemo(TvqrCustomMemoView* Memo, TvqrBand* ParentBand,
                                 TvqrBand* ContextBand) {
  String Open, Close;
  if (!Memo->AllowExpressions() || !vqrSplitDelimiters(Memo->ExpressionDelimiters(), Open, Close))
    return;
  // Each bracketed expression is scanned; the expansion's result is not needed.
  vqrExpandBrackets(Memo->Text(), Open, Close, [&](const String& Inner) {
    ScanAggregateCalls(Inner, Memo, ParentBand, ContextBand);
    return String();
  });
}

void TvqrAggregateList::ScanAggregateCalls(const String& T, TvqrCustomMemoView* Memo,
                                           TvqrBand* ParentBand, TvqrBand* ContextBand,
                                           int Depth) {
  if (Depth > MaxScanDepth) CycleError(T);
  if (!T.empty() && FReport) {
    if (FReport->Variables()->IndexOf(T) >= 0) {
      ScanAggregateCalls(VarToStr(FReport->Variables()->Variables(T)), Memo, ParentBand,
                         ContextBand, Depth + 1);
      return;
    }
    TvqrDataSet* DS = nullptr;
    String Field;
    FReport->GetDatasetAndField(T, DS, Field);
    if (DS && !Field.empty()) return;
  }
  const size_t Len = T.size();
  size_t P = 0;
  while (P < Len) {
    while (P < Len && IsSeparator(T[P])) ++P;
    if (P >= Len) break;
    Char C = T[P];
    if (C == u'"' || C == u'\'') {
      size_t Close = T.find(C, P + 1);
      P = Close == String::npos ? Len : Close + 1;
      continue;
    }
    if (C == u'(' || C == u'<') {
      int Start = static_cast<int>(P) + 1, End = Start;
      String Inner = C == u'(' ? ExtractBracketedText(T, u"(", u")", Start, End)
                               : ExtractBracketedText(T, u"<", u">", Start, End);
      ScanAggregateCalls(Inner, Memo, ParentBand, ContextBand, Depth + 1);
      P = End > Start ? static_cast<size_t>(End) : Len;
      continue;
    }
    size_t WordEnd = P;
    while (WordEnd < Len && !IsWordEnd(T[WordEnd])) ++WordEnd;
    if (WordEnd == P) ++WordEnd;
    String Word = UpperCase(T.substr(P, WordEnd - P));
    if (!IsAggregate(Word)) {
      if (FReport && FReport->Variables()->IndexOf(Word) >= 0)
        ScanAggregateCalls(VarToStr(FReport->Variables()->Variables(Word)), Memo, ParentBand,
                           ContextBand, Depth + 1);
      P = WordEnd;
      continue;
    }
    if (WordEnd + 1 < Len && T[WordEnd] == u'(') {
      size_t End = 0;
      std::vector<String> Args = SplitAggregateArgs(T, WordEnd, End);
      AddCall(T.substr(P, (End < Len ? End + 1 : Len) - P), Args, Memo, ParentBand, ContextBand);
      P = End + 1;
      continue;
    }
    P = WordEnd;
  }
}

std::vector<String> TvqrAggregateList::SplitAggregateArgs(const String& T, size_t Start,
                                                          size_t& End) {
  std::vector<String> Args(3);
  int Level = 1, Separators = 0;
  bool Single = false, Double = false;
  size_t PieceStart = Start + 1;
  End = T.size();
  for (size_t I = Start + 1; I < T.size(); ++I) {
    Char C = T[I];
    if (C == u'\'') {
      Single = !Single && !Double;
      continue;
    }
    if (C == u'"') {
      if (!Single) Double = !Double;
      continue;
    }
    if (Single || Double) continue;
    if (C == u'(') ++Level;
    if (C == u')' && --Level == 0) {
      End = I;
      break;
    }
    if (C == u',' && Level == 1) {
      Args[Separators == 0 ? 0 : 1] = T.substr(PieceStart, I - PieceStart);
      ++Separators;
      PieceStart = I + 1;
    }
  }
  if (Separators <= 2)
    Args[static_cast<size_t>(Separators)] = T.substr(PieceStart, End - std::min(End, PieceStart));
  for (String& A : Args) A = Trim(A);
  return Args;
}

void TvqrAggregateList::AddCall(const String& Call, const std::vector<String>& Args,
                                TvqrCustomMemoView* Memo, TvqrBand* ParentBand,
                                TvqrBand* ContextBand) {
  auto Item = std::make_unique<TvqrAggregateItem>();
  String Name = UpperCase(Trim(Call.substr(0, Call.find(u'('))));
  Item->AggregateFunction = FunctionOf(Name);
  String BandName, FlagsText;
  if (Item->AggregateFunction == agCount) {
    BandName = Args[0];
    FlagsText = Args[1];
  } else {
    Item->Expression = Args[0];
    BandName = Args[1];
    FlagsText = Args[2];
  }
  TvqrBand* Band = nullptr;
  if (!BandName.empty() && FReport) Band = dynamic_cast<TvqrBand*>(FReport->FindObject(BandName));
  Item->Band = Band ? Band : ContextBand;
  int Flags = FlagsText.empty() ? 0 : StrToInt(FlagsText);
  Item->CountInvisibleBands = (Flags & 1) != 0;
  Item->DontReset = (Flags & 2) != 0;
  Item->ParentBand = ParentBand;
  if (ParentBand && ParentBand->Vertical()) {
    if (auto* Original = dynamic_cast<TvqrBand*>(Memo->OriginalBand())) {
      int Ordinal = Original->BandOrdinal();
      if (Ordinal == 1 || Ordinal == 3 || Ordinal == 5 || Ordinal == 13) Item->ParentBand = Original;
    }
  }
  Item->IsPageFooter = dynamic_cast<TvqrPageFooter*>(Item->ParentBand) != nullptr;
  Item->OriginalName = Trim(Call);
  Item->MemoName = Memo ? Memo->Name() : String();
  Item->Report = FReport;
  Item->Reset();
  FList.push_back(std::move(Item));
}
