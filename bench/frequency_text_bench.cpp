// The text forms of frequencies, as the 500 ms poll, spot handling and logging build them.
#include <benchmark/benchmark.h>

#include <string>

#include "app/frequency_text.h"
#include "common/neighbour_number.h"

namespace vav {
namespace {

constexpr Separators kSeps{',', '.'};

void BM_KhzForm(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(khz_form("14070150", kSeps));
}
BENCHMARK(BM_KhzForm);

void BM_MhzForm(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(mhz_form("14070150", kSeps));
}
BENCHMARK(BM_MhzForm);

void BM_KhzTwoDecimals(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(khz_two_decimals("14068650.5", kSeps));
}
BENCHMARK(BM_KhzTwoDecimals);

void BM_ReadSpotFrequency(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(read_frequency_hz(" 14.070,15 ", FrequencyUnit::kilohertz));
}
BENCHMARK(BM_ReadSpotFrequency);

// Commander's display text is the one input of unbounded length here.
void BM_ReadDisplay(benchmark::State& state) {
  std::string text;
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += "14.070,15";
  text.resize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(read_frequency_hz(text, FrequencyUnit::kilohertz));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadDisplay)
    ->ArgName("chars")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace vav
