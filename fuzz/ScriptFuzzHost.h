// ScriptFuzzHost.h - compiles and runs a fuzzed script text in one language, bounded.
#pragma once

#include "fuzz/FuzzTarget.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_isysrtti.h"

// Compiles the input as a program of Language and, when it compiles, runs it for at most a
// few thousand statement lines: a script that loops for ever is the host's to stop, through
// the run-line hook and Terminate, as the report engine does.
inline int FuzzScript(const char16_t* Language, const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TksSysFunctions::OnShowMessage() = [](const String&) {};  // no output while fuzzing
    TksScript Script;
    Script.SetSyntaxType(Language);
    Script.AddRTTI();
    // The seeds print through Out, as the engine's own tests do.
    Script.AddMethod(u"procedure Out(v: Variant)",
                     [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                       return Variant(VarToStr(H->GetParam(0)));
                     });
    Script.SetText(FuzzText(Data, Size));
    if (!Script.Compile()) return;
    int Lines = 0;
    Script.SetOnRunLine([&Lines](TksScript* Sender, const String&, const String&) {
      if (++Lines > 5000) Sender->Terminate();
    });
    Script.Execute();
  });
}
