// EditMask.cpp - fuzz target: an edit mask and a text (the input's first line and the rest):
// the mask parsed, the text laid onto it, typed and pasted into it, and formatted with it.
#include "fuzz/FuzzTarget.h"
#include "platform/rtl/MaskUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    const String Input = FuzzText(Data, Size);
    const std::size_t Break = Input.find(u'\n');
    const String Mask = Input.substr(0, Break);
    const String Text = Break == String::npos ? String() : Input.substr(Break + 1);
    TMaskEngine Engine(Mask);
    String Edit = Engine.EditTextFromText(Text);
    (void)Engine.TextFromEditText(Edit);
    (void)Engine.DataText(Edit);
    (void)Engine.FirstInvalidPos(Edit);
    TMaskBuffer Buffer{Engine.EmptyEditText()};
    Engine.SetCursor(Buffer, 0);
    for (Char C : Text) {
      if (C == u'\x7f') Engine.KeyDown(Buffer, mekBack, false, false, true);
      else if (C == u'\x01') Engine.KeyDown(Buffer, mekEnd, true, false, true);
      else if (C == u'\x02') Engine.KeyDown(Buffer, mekHome, false, true, true);
      else if (C == u'\x03') Engine.KeyDown(Buffer, mekDelete, false, false, true);
      else Engine.TypeChar(Buffer, C);
    }
    Engine.Paste(Buffer, Text);
    (void)TMaskEngine::Remask(Engine, Buffer.Text, TMaskEngine(Text));
    (void)FormatMaskText(Mask, Text);
  });
}
