// VariantBench.cpp - the Variant operations the script engine and the datasets run hottest:
// copies, integer and float arithmetic, string joins and comparisons, key comparison.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/rtl/Variants.h"

namespace {

void CopyString(benchmark::State& State) {
  const Variant Source(u"Белила цинковые");
  for (auto _ : State) {
    Variant Copy = Source;
    benchmark::DoNotOptimize(Copy);
  }
}
BENCHMARK(CopyString);

void AddIntegers(benchmark::State& State) {
  Variant Sum = 0;
  const Variant One = 1;
  for (auto _ : State) {
    Sum = Sum + One;
    benchmark::DoNotOptimize(Sum);
  }
}
BENCHMARK(AddIntegers);

void AddDoubles(benchmark::State& State) {
  Variant Sum = 0.0;
  const Variant Step = 0.25;
  for (auto _ : State) {
    Sum = Sum + Step;
    benchmark::DoNotOptimize(Sum);
  }
}
BENCHMARK(AddDoubles);

void CompareIntegers(benchmark::State& State) {
  const Variant A = 5, B = 7;
  for (auto _ : State) benchmark::DoNotOptimize(A < B);
}
BENCHMARK(CompareIntegers);

void CompareStringsEqual(benchmark::State& State) {
  const Variant A(u"Охра светлая"), B(u"Охра тёмная");
  for (auto _ : State) benchmark::DoNotOptimize(A == B);
}
BENCHMARK(CompareStringsEqual);

void CompareStringsOrder(benchmark::State& State) {
  const Variant A(u"Охра светлая"), B(u"Охра тёмная");
  for (auto _ : State) benchmark::DoNotOptimize(A < B);
}
BENCHMARK(CompareStringsOrder);

void JoinStrings(benchmark::State& State) {
  const Variant A(u"Краска "), B(u"фасадная");
  for (auto _ : State) {
    Variant R = A + B;
    benchmark::DoNotOptimize(R);
  }
}
BENCHMARK(JoinStrings);

void CompareValueKeys(benchmark::State& State) {
  std::vector<Variant> Keys;
  for (int I = 0; I < 1000; ++I) Keys.emplace_back(I * 7919 % 1000);
  for (auto _ : State) {
    int Less = 0;
    for (std::size_t I = 1; I < Keys.size(); ++I)
      Less += VarCompareValue(Keys[I - 1], Keys[I]) == vrLessThan;
    benchmark::DoNotOptimize(Less);
  }
}
BENCHMARK(CompareValueKeys);

}  // namespace

BENCHMARK_MAIN();
