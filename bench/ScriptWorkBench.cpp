// ScriptWorkBench.cpp - ordinary script work in the engine's four languages against
// Lua 5.4 and Duktape 2.7 on the same programs: an integer loop, recursion, array reads and
// writes, a sieve over a Boolean array, a float loop, string building and scanning with
// routines, var-parameter calls and host calls.
//
// Every program leaves its result in "s"; all engines' results are compared once before any
// timing, and a mismatch stops the program.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

extern "C" {
#include <duktape.h>
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"

namespace {

struct TProgram {
  const char* Name;
  const char16_t* Pascal;
  const char16_t* JScript;  // our engine
  const char* Lua;
  const char* Duktape;
};

const TProgram kPrograms[] = {
    {"IntLoop1e6",
     u"var i, s: Integer; begin s := 0; for i := 1 to 1000000 do s := s + i mod 7 end.",
     u"s = 0; for (i = 1; i <= 1000000; i++) s = s + i % 7;",
     "local s = 0 for i = 1, 1000000 do s = s + i % 7 end return s",
     "var s = 0, i; for (i = 1; i <= 1000000; i++) s = s + i % 7; return s;"},
    {"Fib25",
     u"function Fib(n: Integer): Integer; begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2) end; "
     u"var s: Integer; begin s := Fib(25) end.",
     u"function Fib(n) { if (n < 2) return n; return Fib(n - 1) + Fib(n - 2); } s = Fib(25);",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end return fib(25)",
     "function fib(n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); } return fib(25);"},
    {"ArrayRW1e6",
     u"var a: array[0..999] of Integer; i, s: Integer; begin for i := 0 to 999999 do a[i mod 1000] := a[(i + 1) mod 1000] + 1; "
     u"s := 0; for i := 0 to 999 do s := s + a[i] end.",
     u"var a[1000]; for (i = 0; i <= 999; i++) a[i] = 0; for (i = 0; i <= 999999; i++) a[i % 1000] = a[(i + 1) % 1000] + 1; "
     u"s = 0; for (i = 0; i <= 999; i++) s = s + a[i];",
     "local a = {} for i = 0, 999 do a[i] = 0 end for i = 0, 999999 do a[i % 1000] = a[(i + 1) % 1000] + 1 end "
     "local s = 0 for i = 0, 999 do s = s + a[i] end return s",
     "var a = new Array(1000), i, s = 0; for (i = 0; i <= 999; i++) a[i] = 0; for (i = 0; i <= 999999; i++) "
     "a[i % 1000] = a[(i + 1) % 1000] + 1; for (i = 0; i <= 999; i++) s = s + a[i]; return s;"},
    {"Sieve2e5",
     u"var a: array[0..200000] of Boolean; i, j, s: Integer; begin for i := 2 to 200000 do a[i] := True; "
     u"for i := 2 to 200000 do if a[i] then begin j := i + i; while j <= 200000 do begin a[j] := False; j := j + i end end; "
     u"s := 0; for i := 2 to 200000 do if a[i] then s := s + 1 end.",
     u"var a[200001]; for (i = 2; i <= 200000; i++) a[i] = true; for (i = 2; i <= 200000; i++) if (a[i]) "
     u"{ j = i + i; while (j <= 200000) { a[j] = false; j = j + i; } } s = 0; for (i = 2; i <= 200000; i++) if (a[i]) s++;",
     "local a = {} for i = 2, 200000 do a[i] = true end for i = 2, 200000 do if a[i] then local j = i + i "
     "while j <= 200000 do a[j] = false j = j + i end end end local s = 0 for i = 2, 200000 do if a[i] then s = s + 1 end end "
     "return s",
     "var a = new Array(200001), i, j, s; for (i = 2; i <= 200000; i++) a[i] = true; for (i = 2; i <= 200000; i++) if (a[i]) "
     "{ j = i + i; while (j <= 200000) { a[j] = false; j = j + i; } } s = 0; for (i = 2; i <= 200000; i++) if (a[i]) s++; return s;"},
    {"Float1000x1000",
     u"var i, j, s: Integer; x: Extended; begin x := 0; for i := 1 to 1000 do for j := 1 to 1000 do "
     u"x := x + i * 0.5 - j * 0.25; s := Round(x) end.",
     u"x = 0; for (i = 1; i <= 1000; i++) for (j = 1; j <= 1000; j++) x = x + i * 0.5 - j * 0.25; s = Round(x);",
     "local x = 0 for i = 1, 1000 do for j = 1, 1000 do x = x + i * 0.5 - j * 0.25 end end return math.floor(x + 0.5)",
     "var x = 0, i, j; for (i = 1; i <= 1000; i++) for (j = 1; j <= 1000; j++) x = x + i * 0.5 - j * 0.25; return Math.round(x);"},
    {"Strings1e5",
     u"var i, s: Integer; t: String; begin t := ''; i := 0; while Length(t) < 100000 do begin t := t + Copy(IntToStr(i), 1, 3); "
     u"i := i + 1 end; s := 0; for i := 1 to 2000 do s := s + Pos('99', Copy(t, i * 40, 60)) end.",
     u"t = \"\"; i = 0; while (Length(t) < 100000) { t = t + Copy(IntToStr(i), 1, 3); i++; } s = 0; "
     u"for (i = 1; i <= 2000; i++) s = s + Pos(\"99\", Copy(t, i * 40, 60));",
     "local parts, n, i = {}, 0, 0 while n < 100000 do local p = string.sub(tostring(i), 1, 3) parts[#parts + 1] = p "
     "n = n + #p i = i + 1 end local t = table.concat(parts) local s = 0 for i = 1, 2000 do "
     "local f = string.find(string.sub(t, i * 40, i * 40 + 59), '99', 1, true) s = s + (f or 0) end return s",
     "var t = '', i = 0, s = 0; while (t.length < 100000) { t = t + String(i).substr(0, 3); i++; } "
     "for (i = 1; i <= 2000; i++) s = s + (t.substr(i * 40 - 1, 60).indexOf('99') + 1); return s;"},
    {"VarCalls1e6",
     u"procedure Bump(var x: Integer; d: Integer); begin x := x + d end; var i, s: Integer; begin s := 0; "
     u"for i := 1 to 1000000 do Bump(s, i mod 3) end.",
     u"function Bump(&x, d) { x = x + d; } s = 0; for (i = 1; i <= 1000000; i++) Bump(s, i % 3);",
     "local function bump(x, d) return x + d end local s = 0 for i = 1, 1000000 do s = bump(s, i % 3) end return s",
     "function bump(x, d) { return x + d; } var s = 0, i; for (i = 1; i <= 1000000; i++) s = bump(s, i % 3); return s;"},
    {"HostCalls1e6",
     u"var i, s: Integer; begin s := 0; for i := 1 to 1000000 do s := s + Get('AMX') end.",
     u"s = 0; for (i = 1; i <= 1000000; i++) s = s + Get(\"AMX\");",
     "local s = 0 for i = 1, 1000000 do s = s + Get('AMX') end return s",
     "var s = 0, i; for (i = 1; i <= 1000000; i++) s = s + Get('AMX'); return s;"},
};

// The same programs in the engine's two other languages, in the order of kPrograms: one
// engine runs all four, so their times should agree within noise.
struct TMoreLanguages {
  const char16_t* Basic;
  const char16_t* Cpp;
};

const TMoreLanguages kMore[] = {
    {u"s = 0\r\nFor i = 1 To 1000000\r\n  s = s + i Mod 7\r\nNext",
     u"int i, s; { s = 0; for (i = 1; i <= 1000000; i++) s = s + i % 7; }"},
    {u"Function Fib(n)\r\n  If n < 2 Then Return n\r\n  Return Fib(n - 1) + Fib(n - 2)\r\nEnd Function\r\ns = Fib(25)",
     u"int Fib(int n) { if (n < 2) return n; return Fib(n - 1) + Fib(n - 2); }\r\nint s; { s = Fib(25); }"},
    {u"Dim a[1000]\r\nFor i = 0 To 999\r\n  a[i] = 0\r\nNext\r\nFor i = 0 To 999999\r\n  a[i Mod 1000] = a[(i + 1) Mod 1000] + 1\r\n"
     u"Next\r\ns = 0\r\nFor i = 0 To 999\r\n  s = s + a[i]\r\nNext",
     u"int a[1000]; int i, s; { for (i = 0; i <= 999; i++) a[i] = 0; for (i = 0; i <= 999999; i++) "
     u"a[i % 1000] = a[(i + 1) % 1000] + 1; s = 0; for (i = 0; i <= 999; i++) s = s + a[i]; }"},
    {u"Dim a[200001]\r\nFor i = 2 To 200000\r\n  a[i] = True\r\nNext\r\nFor i = 2 To 200000\r\n  If a[i] Then\r\n    j = i + i\r\n"
     u"    While j <= 200000\r\n      a[j] = False\r\n      j = j + i\r\n    Wend\r\n  End If\r\nNext\r\ns = 0\r\n"
     u"For i = 2 To 200000\r\n  If a[i] Then s = s + 1\r\nNext",
     u"bool a[200001]; int i, j, s; { for (i = 2; i <= 200000; i++) a[i] = true; for (i = 2; i <= 200000; i++) if (a[i]) "
     u"{ j = i + i; while (j <= 200000) { a[j] = false; j = j + i; } } s = 0; for (i = 2; i <= 200000; i++) if (a[i]) s++; }"},
    {u"x = 0\r\nFor i = 1 To 1000\r\n  For j = 1 To 1000\r\n    x = x + i * 0.5 - j * 0.25\r\n  Next\r\nNext\r\ns = Round(x)",
     u"int i, j, s; double x; { x = 0; for (i = 1; i <= 1000; i++) for (j = 1; j <= 1000; j++) x = x + i * 0.5 - j * 0.25; "
     u"s = Round(x); }"},
    {u"t = \"\"\r\ni = 0\r\nWhile Length(t) < 100000\r\n  t = t + Copy(IntToStr(i), 1, 3)\r\n  i = i + 1\r\nWend\r\ns = 0\r\n"
     u"For i = 1 To 2000\r\n  s = s + Pos(\"99\", Copy(t, i * 40, 60))\r\nNext",
     u"int i, s; string t; { t = \"\"; i = 0; while (Length(t) < 100000) { t = t + Copy(IntToStr(i), 1, 3); i++; } s = 0; "
     u"for (i = 1; i <= 2000; i++) s = s + Pos(\"99\", Copy(t, i * 40, 60)); }"},
    {u"Sub Bump(ByRef x, d)\r\n  x = x + d\r\nEnd Sub\r\ns = 0\r\nFor i = 1 To 1000000\r\n  Bump(s, i Mod 3)\r\nNext",
     u"void Bump(int &x, int d) { x = x + d; }\r\nint i, s; { s = 0; for (i = 1; i <= 1000000; i++) Bump(s, i % 3); }"},
    {u"s = 0\r\nFor i = 1 To 1000000\r\n  s = s + Get(\"AMX\")\r\nNext",
     u"int i, s; { s = 0; for (i = 1; i <= 1000000; i++) s = s + Get(\"AMX\"); }"},
};
static_assert(std::size(kMore) == std::size(kPrograms));

// ---- Our engine -------------------------------------------------------------------------------

std::unique_ptr<TksScript> Compiled(const char16_t* Language, const char16_t* Source) {
  auto S = std::make_unique<TksScript>();
  S->SetSyntaxType(Language);
  S->AddRTTI();
  S->AddMethod(u"function Get(Name: String): Variant",
               [](TObject*, TksClassRef, const String&, TksMethodHelper*) { return Variant(1); });
  S->SetText(Source);
  if (!S->Compile()) {
    std::fprintf(stderr, "compile failed: %s at %s\n", StringToUtf8(S->ErrorMsg()).c_str(),
                 StringToUtf8(S->ErrorPos()).c_str());
    std::exit(1);
  }
  return S;
}

long long Run(TksScript& S) {
  S.Execute();
  return S.FindLocal(u"s")->GetValue().AsInt64();
}

// ---- Lua and Duktape ------------------------------------------------------------------------

int LuaGet(lua_State* L) {
  lua_pushinteger(L, 1);
  return 1;
}

long long RunLua(const char* Source, lua_State*& L, int& Ref) {
  if (!L) {
    L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "Get", LuaGet);
    if (luaL_loadstring(L, Source) != LUA_OK) std::exit(1);
    Ref = luaL_ref(L, LUA_REGISTRYINDEX);
  }
  lua_rawgeti(L, LUA_REGISTRYINDEX, Ref);
  if (lua_pcall(L, 0, 1, 0) != LUA_OK) {
    std::fprintf(stderr, "lua: %s\n", lua_tostring(L, -1));
    std::exit(1);
  }
  long long R = static_cast<long long>(lua_tonumber(L, -1));
  lua_pop(L, 1);
  return R;
}

duk_ret_t DukGet(duk_context* Ctx) {
  duk_push_int(Ctx, 1);
  return 1;
}

// Each program runs as a function's body, so its variables are locals, as in the Lua programs.
long long RunDuk(duk_context* Ctx, const char* Source) {
  const std::string Wrapped = std::string("(function () { ") + Source + " })()";
  if (duk_peval_string(Ctx, Wrapped.c_str()) != 0) {
    std::fprintf(stderr, "duktape: %s\n", duk_safe_to_string(Ctx, -1));
    std::exit(1);
  }
  long long R = static_cast<long long>(duk_get_number(Ctx, -1));
  duk_pop(Ctx);
  return R;
}

duk_context* NewDuk() {
  duk_context* Ctx = duk_create_heap_default();
  duk_push_c_function(Ctx, DukGet, 1);
  duk_put_global_string(Ctx, "Get");
  return Ctx;
}

void CheckAll() {
  for (const TProgram& P : kPrograms) {
    lua_State* L = nullptr;
    int Ref = 0;
    duk_context* Ctx = NewDuk();
    const TMoreLanguages& M = kMore[&P - kPrograms];
    long long A = Run(*Compiled(u"PascalScript", P.Pascal)), B = Run(*Compiled(u"JScript", P.JScript)),
              C = RunLua(P.Lua, L, Ref), D = RunDuk(Ctx, P.Duktape),
              E = Run(*Compiled(u"BasicScript", M.Basic)), F = Run(*Compiled(u"D++Ividaz", M.Cpp));
    lua_close(L);
    duk_destroy_heap(Ctx);
    if (A != B || A != C || A != D || A != E || A != F) {
      std::fprintf(stderr, "%s: PascalScript %lld, JScript %lld, Lua %lld, Duktape %lld, BasicScript %lld, C-like %lld\n",
                   P.Name, A, B, C, D, E, F);
      std::exit(1);
    }
  }
}

void BM_Pascal(benchmark::State& State, const TProgram* P) {
  auto S = Compiled(u"PascalScript", P->Pascal);
  for (auto _ : State) benchmark::DoNotOptimize(Run(*S));
}
void BM_JScript(benchmark::State& State, const TProgram* P) {
  auto S = Compiled(u"JScript", P->JScript);
  for (auto _ : State) benchmark::DoNotOptimize(Run(*S));
}
void BM_Language(benchmark::State& State, const char16_t* Language, const char16_t* Source) {
  auto S = Compiled(Language, Source);
  for (auto _ : State) benchmark::DoNotOptimize(Run(*S));
}
void BM_Lua(benchmark::State& State, const TProgram* P) {
  lua_State* L = nullptr;
  int Ref = 0;
  for (auto _ : State) benchmark::DoNotOptimize(RunLua(P->Lua, L, Ref));
  lua_close(L);
}
void BM_Duktape(benchmark::State& State, const TProgram* P) {
  duk_context* Ctx = NewDuk();
  for (auto _ : State) benchmark::DoNotOptimize(RunDuk(Ctx, P->Duktape));
  duk_destroy_heap(Ctx);
}

}  // namespace

int main(int argc, char** argv) {
  // SCRIPT_BENCH_NO_CHECK=1 skips the check, so that a profile shows only the benchmarks run.
  if (!std::getenv("SCRIPT_BENCH_NO_CHECK")) CheckAll();
  for (const TProgram& P : kPrograms) {
    std::string N = P.Name;
    benchmark::RegisterBenchmark(("PascalScript/" + N).c_str(), BM_Pascal, &P)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("JScript/" + N).c_str(), BM_JScript, &P)->Unit(benchmark::kMillisecond);
    const TMoreLanguages& M = kMore[&P - kPrograms];
    benchmark::RegisterBenchmark(("BasicScript/" + N).c_str(), BM_Language, u"BasicScript", M.Basic)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("C-like/" + N).c_str(), BM_Language, u"D++Ividaz", M.Cpp)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Lua/" + N).c_str(), BM_Lua, &P)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Duktape/" + N).c_str(), BM_Duktape, &P)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
