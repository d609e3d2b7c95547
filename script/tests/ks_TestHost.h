// ks_TestHost.h - a small host for the script tests: a script with the system library and an
// Out(v) procedure collecting the texts it is given.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"

struct TksTestHost {
  std::unique_ptr<TksScript> Script = std::make_unique<TksScript>();
  String Output;

  explicit TksTestHost(const String& Language = u"PascalScript") {
    Script->SetSyntaxType(Language);
    Script->AddRTTI();
    Script->AddMethod(u"procedure Out(v: Variant)",
                      [this](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                        if (!Output.empty()) Output += u' ';
                        Output += VarToStr(H->GetParam(0));
                        return Variant(0);
                      });
  }

  // Compiles and runs Text; returns the output, or "error <pos>: <message>".
  std::string Run(const String& Text) {
    static const int ProgramTag = 0;
    Script->ClearItems(&ProgramTag);
    Output.clear();
    Script->SetText(Text);
    Script->SetAddedBy(&ProgramTag);
    bool Ok = Script->Compile();
    Script->SetAddedBy(nullptr);
    if (!Ok)
      return "error " + StringToUtf8(Script->ErrorPos()) + ": " + StringToUtf8(Script->ErrorMsg());
    try {
      Script->Execute();
    } catch (const Exception& E) {
      return StringToUtf8(Output) + " raised " + E.ClassName() + ": " + StringToUtf8(E.Message());
    }
    return StringToUtf8(Output);
  }
};
