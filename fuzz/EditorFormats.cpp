// EditorFormats.cpp - fuzz target: the editors' format texts as a form stream carries them. The
// input's first line is a date-time EditFormat, the rest a text typed or pasted into the editor:
// the format compiled, the text read and merged into a value, every element stepped; the text
// also goes through the number edit's routines, and the first line as a DisplayFormat.
#include "fuzz/FuzzTarget.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/rtl/DateUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    const String Input = FuzzText(Data, Size);
    const std::size_t Break = Input.find(u'\n');
    const String Format = Input.substr(0, Break);
    const String Text = Break == String::npos ? String() : Input.substr(Break + 1);
    Extended X = 0;
    (void)TextToFloatCheck(NormalizeNumberText(Text), X);
    (void)InsertThousandSeparators(Text, true);
    (void)CheckNumberValue(X, 0, 100, 2);
    (void)DisplayFormatToEditFormat(Format);
    TDateTimeElementsMaskPosZk Positions;
    (void)ParseDateTimeEditFormat(Format, Positions);
    (void)EditFormatToDisplayFormat(Format);
    const String Template = EditFormatToElementTemplate(Format);
    const TDateTimePartsZk Parts = ReadDateTimeParts(Text, Positions);
    Variant Value = Null();
    (void)ApplyDateTimeParts(Parts, Positions, Value, false);
    Value = Variant::FromDateTime(EncodeDate(2026, 5, 17));
    (void)ApplyDateTimeParts(Parts, Positions, Value, true);
    for (int Pos = 1; Pos <= int(Template.size()) && Pos <= 64; ++Pos) {
      int P = Pos, Len = 0;
      (void)StepDateTimeElement(Text, Template, Pos % 2 == 0, P, Len);
    }
  });
}
