// ScriptBench.cpp - the script engine against Lua 5.4 on the same small programs.
//
// Each pair runs one program in PascalScript through TksScript and its transliteration in Lua
// through the Lua C API; the results are compared once before any timing, and a mismatch stops
// the program. Compile cases time the front end alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"

namespace {

// ---- The programs ---------------------------------------------------------------------------

const char16_t* kLoopPas =
    u"var i, s: Integer; begin s := 0; for i := 1 to 1000000 do s := s + i mod 7 end.";
const char* kLoopLua = "local s = 0 for i = 1, 1000000 do s = s + i % 7 end return s";

const char16_t* kFibPas =
    u"function Fib(n: Integer): Integer; begin if n < 2 then Result := n else "
    u"Result := Fib(n - 1) + Fib(n - 2) end; var s: Integer; begin s := Fib(25) end.";
const char* kFibLua =
    "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end "
    "return fib(25)";

const char16_t* kStrPas =
    u"var i, s: Integer; t: String; begin t := ''; for i := 1 to 20000 do t := t + 'x'; "
    u"s := Length(t) end.";
const char* kStrLua = "local t = '' for i = 1, 20000 do t = t .. 'x' end return #t";
// Prepending takes the general path (a new string each time), where appending is done in place.
const char16_t* kPrePas =
    u"var i, s: Integer; t: String; begin t := ''; for i := 1 to 20000 do t := 'x' + t; "
    u"s := Length(t) end.";
const char* kPreLua = "local t = '' for i = 1, 20000 do t = 'x' .. t end return #t";

const char16_t* kCallPas =
    u"var i, s: Integer; begin s := 0; for i := 1 to 1000000 do s := s + Get('AMX') end.";
const char* kCallLua = "local s = 0 for i = 1, 1000000 do s = s + Get('AMX') end return s";

// ---- Our engine -----------------------------------------------------------------------------

std::unique_ptr<TksScript> NewScript() {
  auto S = std::make_unique<TksScript>();
  S->AddRTTI();
  S->AddMethod(u"function Get(Name: String): Variant",
               [](TObject*, TksClassRef, const String&, TksMethodHelper*) { return Variant(1); });
  return S;
}

long long RunPascal(TksScript& S) {
  S.Execute();
  return S.FindLocal(u"s")->GetValue().AsInt64();
}

std::unique_ptr<TksScript> CompiledPascal(const char16_t* Source) {
  auto S = NewScript();
  S->SetText(Source);
  if (!S->Compile()) {
    std::fprintf(stderr, "compile failed: %s at %s\n", StringToUtf8(S->ErrorMsg()).c_str(),
                 StringToUtf8(S->ErrorPos()).c_str());
    std::exit(1);
  }
  return S;
}

// ---- Lua ------------------------------------------------------------------------------------

int LuaGet(lua_State* L) {
  luaL_checkstring(L, 1);
  lua_pushinteger(L, 1);
  return 1;
}

lua_State* NewLua() {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  lua_register(L, "Get", LuaGet);
  return L;
}

long long RunLua(lua_State* L, int Ref) {
  lua_rawgeti(L, LUA_REGISTRYINDEX, Ref);
  if (lua_pcall(L, 0, 1, 0) != LUA_OK) {
    std::fprintf(stderr, "lua: %s\n", lua_tostring(L, -1));
    std::exit(1);
  }
  long long R = lua_tointeger(L, -1);
  lua_pop(L, 1);
  return R;
}

int LoadLua(lua_State* L, const char* Source) {
  if (luaL_loadstring(L, Source) != LUA_OK) {
    std::fprintf(stderr, "lua: %s\n", lua_tostring(L, -1));
    std::exit(1);
  }
  return luaL_ref(L, LUA_REGISTRYINDEX);
}

void CheckSame(const char* Name, const char16_t* Pas, const char* Lua) {
  auto S = CompiledPascal(Pas);
  lua_State* L = NewLua();
  long long A = RunPascal(*S), B = RunLua(L, LoadLua(L, Lua));
  lua_close(L);
  if (A != B) {
    std::fprintf(stderr, "%s: PascalScript %lld, Lua %lld\n", Name, A, B);
    std::exit(1);
  }
}

void BM_Script(benchmark::State& State, const char16_t* Pas) {
  auto S = CompiledPascal(Pas);
  for (auto _ : State) benchmark::DoNotOptimize(RunPascal(*S));
}

void BM_Lua(benchmark::State& State, const char* Source) {
  lua_State* L = NewLua();
  int Ref = LoadLua(L, Source);
  for (auto _ : State) benchmark::DoNotOptimize(RunLua(L, Ref));
  lua_close(L);
}

// ---- Compiles -------------------------------------------------------------------------------

String ReportExpression(int i) {
  return u"function vq3f" + Utf8ToString(std::to_string(i)) +
         u": Variant; begin Result := <ds.\"AMX\"> * " + Utf8ToString(std::to_string(i)) +
         u" + Get('N') end; begin end.";
}

void BM_ScriptCompileReportExpressions(benchmark::State& State) {
  auto Host = NewScript();
  for (auto _ : State)
    for (int i = 0; i < 200; ++i) {
      TksScript S(Host.get());
      S.SetText(ReportExpression(i));
      if (!S.Compile()) std::exit(1);
    }
}

void BM_LuaCompileReportExpressions(benchmark::State& State) {
  lua_State* L = NewLua();
  for (auto _ : State)
    for (int i = 0; i < 200; ++i) {
      std::string Src = "return function() return Get('ds.\"AMX\"') * " + std::to_string(i) +
                        " + Get('N') end";
      if (luaL_loadstring(L, Src.c_str()) != LUA_OK) std::exit(1);
      lua_pop(L, 1);
    }
  lua_close(L);
}

String LongPascal() {
  String S = u"var i, s: Integer;\r\nbegin\r\n  s := 0;\r\n";
  for (int i = 0; i < 1000; ++i)
    S += u"  if s < " + Utf8ToString(std::to_string(i * 3)) + u" then s := s + i * 2 - 1;\r\n";
  return S + u"end.";
}

std::string LongLua() {
  std::string S = "local i, s = 0, 0\n";
  for (int i = 0; i < 1000; ++i)
    S += "if s < " + std::to_string(i * 3) + " then s = s + i * 2 - 1 end\n";
  return S + "return s";
}

void BM_ScriptCompile1000Lines(benchmark::State& State) {
  auto Host = NewScript();
  String Text = LongPascal();
  for (auto _ : State) {
    TksScript S(Host.get());
    S.SetText(Text);
    if (!S.Compile()) std::exit(1);
  }
}

void BM_LuaCompile1000Lines(benchmark::State& State) {
  lua_State* L = NewLua();
  std::string Text = LongLua();
  for (auto _ : State) {
    if (luaL_loadstring(L, Text.c_str()) != LUA_OK) std::exit(1);
    lua_pop(L, 1);
  }
  lua_close(L);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Script, IntLoop1e6, kLoopPas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, IntLoop1e6, kLoopLua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, Fib25, kFibPas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, Fib25, kFibLua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, StringBuild2e4, kStrPas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, StringBuild2e4, kStrLua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, StringPrepend2e4, kPrePas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, StringPrepend2e4, kPreLua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, HostCalls1e6, kCallPas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, HostCalls1e6, kCallLua)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptCompileReportExpressions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaCompileReportExpressions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptCompile1000Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaCompile1000Lines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  CheckSame("IntLoop1e6", kLoopPas, kLoopLua);
  CheckSame("Fib25", kFibPas, kFibLua);
  CheckSame("StringBuild2e4", kStrPas, kStrLua);
  CheckSame("StringPrepend2e4", kPrePas, kPreLua);
  CheckSame("HostCalls1e6", kCallPas, kCallLua);
  {
    auto S = CompiledPascal(LongPascal().c_str());
    lua_State* L = NewLua();
    long long A = RunPascal(*S), B = RunLua(L, LoadLua(L, LongLua().c_str()));
    lua_close(L);
    if (A != B) {
      std::fprintf(stderr, "1000 lines: PascalScript %lld, Lua %lld\n", A, B);
      return 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
