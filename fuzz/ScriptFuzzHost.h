// ScriptFuzzHost.h - a script object set up for fuzzing, and a bounded run.
#pragma once

#include "fuzz/FuzzTarget.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_isysrtti.h"

// The system library and an Out procedure (the seeds print through it, as the engine's own
// tests do); ShowMessage prints nothing.
inline void PrepareFuzzScript(TksScript& Script, const char16_t* Language) {
  TksSysFunctions::OnShowMessage() = [](const String&) {};
  Script.SetSyntaxType(Language);
  Script.AddRTTI();
  Script.AddMethod(u"procedure Out(v: Variant)",
                   [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                     return Variant(VarToStr(H->GetParam(0)));
                   });
}

// Runs a compiled script for at most a few thousand statement lines: a script that loops for
// ever is the host's to stop, through the run-line hook and Terminate, as the report engine
// does.
inline void RunFuzzScript(TksScript& Script) {
  int Lines = 0;
  Script.SetOnRunLine([&Lines](TksScript* Sender, const String&, const String&) {
    if (++Lines > 5000) Sender->Terminate();
  });
  Script.Execute();
}

// Compiles the input as a program of Language and runs it when it compiles.
inline int FuzzScript(const char16_t* Language, const std::uint8_t* Data, std::size_t Size) {
  return FuzzRun([&] {
    TksScript Script;
    PrepareFuzzScript(Script, Language);
    Script.SetText(FuzzText(Data, Size));
    if (Script.Compile()) RunFuzzScript(Script);
  });
}
