// DBGridZkTextIndex.cpp - the texts of one grid column kept for searches from the first record.
#include "gridlib/grid/DBGridZkTextIndex.h"

#include "platform/classes/Strings.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"

bool LocateTextMatches(const String& Cell, const String& Pattern, TLocateTextMatchingZk Matching) {
  switch (Matching) {
    case ltmWholeZk: return Cell == Pattern;
    case ltmFromBegingZk: return Cell.compare(0, Pattern.size(), Pattern) == 0;
    default: return Cell.find(Pattern) != String::npos;
  }
}

TGridTextIndexZk* TGridTextIndexZk::Of(TCustomDBGridZk* Grid) {
  for (int I = 0; I < Grid->ComponentCount(); ++I)
    if (auto* Index = dynamic_cast<TGridTextIndexZk*>(Grid->Components(I))) return Index;
  return new TGridTextIndexZk(Grid);
}

bool TGridTextIndexZk::Serves(TDataSet* DataSet, TColumnZk* Column) {
  TField* F = Column ? Column->Field() : nullptr;
  if (!F || !DataSet || DataSet->DataVersion() == 0 || !DataSet->IsSequenced()) return false;
  // A text handler or a key list may show anything; other kinds than text have formats.
  if (F->FieldKind() != fkData || F->OnGetText() || Column->KeyList()->Count() > 0) return false;
  switch (F->DataType()) {
    case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar:
      return true;
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftShortint: case ftByte: case ftLongWord: {
      // Without formats a whole number shows as its digits, whatever the format settings.
      auto* N = dynamic_cast<TNumericField*>(F);
      return N && N->DisplayFormat().empty() && N->EditFormat().empty() &&
             Column->DisplayFormat().empty();
    }
    default:
      return false;
  }
}

void TGridTextIndexZk::Prepare(TDataSet* DataSet, TColumnZk* Column, TLocateTextOptionsZk Options) {
  const bool IgnoreCase = Options.Contains(ltoCaseInsensitiveZk);
  const bool MatchFormat = Options.Contains(ltoMatchFormatZk);
  if (DataSet == FDataSet && Column == FColumn && Column->Field() == FField &&
      DataSet->DataVersion() == FVersion && Column->DisplayFormat() == FDisplayFormat &&
      IgnoreCase == FIgnoreCase && MatchFormat == FMatchFormat)
    return;
  Clear();
  FDataSet = DataSet;
  FColumn = Column;
  FField = Column->Field();
  FVersion = DataSet->DataVersion();
  FDisplayFormat = Column->DisplayFormat();
  FIgnoreCase = IgnoreCase;
  FMatchFormat = MatchFormat;
}

String TGridTextIndexZk::Compared(const String& Text) const {
  return FIgnoreCase ? AnsiUpperCase(Text) : Text;
}

int TGridTextIndexZk::Find(const String& Pattern, TLocateTextMatchingZk Matching) const {
  for (std::size_t I = 0; I < FTexts.size(); ++I)
    if (LocateTextMatches(FTexts[I], Pattern, Matching)) return static_cast<int>(I) + 1;
  return 0;
}

bool TGridTextIndexZk::FillFromStoredValues() {
  auto* Whole = dynamic_cast<TIntegerField*>(FField);
  if (!FDataSet || (!Whole && !dynamic_cast<TStringField*>(FField))) return false;
  std::vector<Variant> Values;
  if (!FDataSet->GetFieldColumn(FField, Values)) return false;
  // A display format on a text column shows no text.
  const bool Blank = FMatchFormat && !FDisplayFormat.empty();
  FTexts.clear();
  FTexts.reserve(Values.size());
  for (const Variant& V : Values) {
    if (V.IsNull() || Blank) FTexts.emplace_back();
    else FTexts.push_back(Compared(Whole ? IntToStr(V.AsInt64()) : V.AsString()));
  }
  FComplete = true;
  return true;
}

const String& TGridTextIndexZk::Add(const String& CellText) {
  FTexts.push_back(Compared(CellText));
  return FTexts.back();
}

void TGridTextIndexZk::Clear() {
  FTexts.clear();
  FComplete = false;
  FDataSet = nullptr;
  FColumn = nullptr;
  FField = nullptr;
  FVersion = 0;
}
