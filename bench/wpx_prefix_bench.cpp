// The WPX prefix of a callsign.
#include <benchmark/benchmark.h>

#include <string>

#include "app/wpx_prefix.h"

namespace vav {
namespace {

void BM_WpxPrefix(benchmark::State& state, const std::string& call, const std::string& expected) {
  if (WpxPrefixFromCall(call) != expected) {
    state.SkipWithError("unexpected prefix");
    return;
  }
  for (auto _ : state) {
    std::string prefix = WpxPrefixFromCall(call);
    benchmark::DoNotOptimize(prefix.data());
  }
}

// Plain calls, calls with a foreign prefix before or after the "/", portable suffixes and a
// portable call-area digit.
BENCHMARK_CAPTURE(BM_WpxPrefix, plain, std::string("q1abc"), std::string("Q1"));
BENCHMARK_CAPTURE(BM_WpxPrefix, no_digit, std::string("RAEM"), std::string("RA0"));
BENCHMARK_CAPTURE(BM_WpxPrefix, prefix_before, std::string("VE3/Q1ABC"), std::string("VE3"));
BENCHMARK_CAPTURE(BM_WpxPrefix, prefix_after, std::string("Q1ABCD/VP9"), std::string("VP9"));
BENCHMARK_CAPTURE(BM_WpxPrefix, suffix_qrp, std::string("Q1ABC/QRP"), std::string("Q1"));
BENCHMARK_CAPTURE(BM_WpxPrefix, area_digit, std::string("Q1ABC/3"), std::string("Q3"));

// A "callsign" of n characters: letters, a long run of digits and a portable call-area digit,
// which walks every branch that scans the text.
void BM_WpxPrefixLength(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::string call = "QQ";
  call += std::string((n - 4) / 2, '1');
  call += std::string(n - 2 - call.size(), 'A');
  call += "/3";
  for (auto _ : state) {
    std::string prefix = WpxPrefixFromCall(call);
    benchmark::DoNotOptimize(prefix.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WpxPrefixLength)
    ->ArgName("chars")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace vav
