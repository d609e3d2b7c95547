// ScriptModulesBench.cpp - what a new script costs before it runs: AddRTTI with the engine's
// own modules (system library, ini files, base classes) and with every module the program
// registers (dialogs, graphics, forms and the report model's classes too).
#include <benchmark/benchmark.h>

#include "report/core/vqrClassRTTI.h"
#include "script/ks_iinterpreter.h"
#include "scriptui/ks_iformsrtti.h"

namespace {

void AddRTTI(benchmark::State& State) {
  // The first case runs before anything else is registered; the second registers the rest.
  if (State.range(0)) {
    ksRegisterUIModules();
    vqrRegisterClassRTTI();
  }
  for (auto _ : State) {
    TksScript S;
    S.AddRTTI();
    benchmark::DoNotOptimize(S.Count());
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("AddRTTI/EngineModules", AddRTTI)->Arg(0)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("AddRTTI/AllModules", AddRTTI)->Arg(1)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
