// FilterExpression.cpp - fuzz target: a dataset filter expression parsed and evaluated against
// a record of text, number, date and empty fields.
#include "fuzz/FuzzTarget.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/FilterExpr.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"

namespace {

TArrayDataSet* Data = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static TFormatSettingsScope Russian(TFormatSettings::Russian());
  Data = new TArrayDataSet(nullptr);  // lives as long as the process
  Data->FieldDefs()->Add(u"NAME", ftWideString, 30);
  Data->FieldDefs()->Add(u"PRICE", ftFloat);
  Data->FieldDefs()->Add(u"QTY", ftInteger);
  Data->FieldDefs()->Add(u"DT", ftDateTime);
  Data->FieldDefs()->Add(u"NOTE", ftWideString, 30);
  Data->AddRow({u"Краска белая", 12.5, 3, Variant::FromDateTime(EncodeDate(2024, 3, 1)),
                Variant::MakeNull()});
  Data->Open();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data_, std::size_t Size) {
  const String Text = FuzzText(Data_, Size);
  for (TFilterOptions Options : {TFilterOptions{}, TFilterOptions{foCaseInsensitive, foNoPartialCompare}})
    FuzzRun([&] {
      TExprParser Parser(Data, Text, Options);
      (void)TExprEvaluator(Options).IsTrue(*Parser.Root());
    });
  return 0;
}
