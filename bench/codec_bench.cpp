// The DXLab field codec: ParseRecord against the floor of merely finding every "<" in the
// same bytes, and EncodeField.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

#include "dde/dde_common.h"

namespace vav {
namespace {

struct BenchRecord {
  std::string text;
  std::size_t fields = 0;
  std::int64_t scanned = 0;  // bytes a parse reads before it stops
};

// A run of log-like fields of varied lengths, each followed by a blank. A parse stores at
// most kMaxTokens fields and stops at the tag of the next one, so beyond that it reads only
// up to that tag's ">".
BenchRecord log_like_record(std::size_t fields) {
  struct Sample {
    std::string_view name, value;
  };
  static constexpr std::array<Sample, 10> kSamples{{
      {"CALL", "Q1ABC"},
      {"BAND", "20M"},
      {"MODE", "PSK31"},
      {"QSO_DATE", "20051127"},
      {"TIME_ON", "044400"},
      {"NAME", "Ann"},
      {"QTH", "Springfield"},
      {"NOTES", "worked <again> on the long path"},
      {"GRIDSQUARE", "EN59"},
      {"COMMENT", "signal report 599, very steady copy, QSL via the bureau"},
  }};
  BenchRecord record;
  record.fields = fields;
  for (std::size_t i = 0; i < fields; ++i) {
    const Sample& s = kSamples[i % kSamples.size()];
    record.text += '<';
    record.text += s.name;
    record.text += ':';
    record.text += std::to_string(s.value.size());
    record.text += '>';
    if (i == DDECommon::kMaxTokens) {
      record.scanned = static_cast<std::int64_t>(record.text.size());
    }
    record.text += s.value;
    record.text += ' ';
  }
  if (fields <= DDECommon::kMaxTokens)
    record.scanned = static_cast<std::int64_t>(record.text.size());
  return record;
}

// The argument of a "setscnewentry" command from SpotCollector: nine fields, no blanks.
BenchRecord spot_command_record() {
  BenchRecord record;
  record.text =
      "<freq:8>14070.15<qsx:0><mode:5>psk31<dxcall:6>Q1ABCD<logmode:5>PSK31<spare:0>"
      "<search:6>Q1ABCD<prefix:2>Q1<grid:4>EN59";
  record.fields = 9;
  record.scanned = static_cast<std::int64_t>(record.text.size());
  return record;
}

// The floor: find every "<" of the text, as any parser of this format must.
std::size_t count_field_openers(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t p = text.find('<'); p != std::string_view::npos; p = text.find('<', p + 1)) {
    ++count;
  }
  return count;
}

void run_parse(benchmark::State& state, const BenchRecord& record) {
  DDECommon codec;
  codec.ParseRecord(record.text);
  const auto expected = static_cast<int>(
      record.fields < DDECommon::kMaxTokens ? record.fields : DDECommon::kMaxTokens);
  if (codec.ParsedTokenCount() != expected) {
    state.SkipWithError("ParseRecord stored an unexpected number of fields");
    return;
  }
  for (auto _ : state) {
    codec.ParseRecord(record.text);
    benchmark::DoNotOptimize(codec.ParsedTokenCount());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * record.scanned);
}

void run_floor(benchmark::State& state, const BenchRecord& record) {
  const std::string_view scanned(record.text.data(), static_cast<std::size_t>(record.scanned));
  for (auto _ : state) {
    benchmark::DoNotOptimize(scanned.data());
    benchmark::DoNotOptimize(count_field_openers(scanned));
  }
  state.SetBytesProcessed(state.iterations() * record.scanned);
}

void BM_ParseRecord(benchmark::State& state) {
  const BenchRecord record = log_like_record(static_cast<std::size_t>(state.range(0)));
  run_parse(state, record);
  state.SetComplexityN(record.scanned);
}
BENCHMARK(BM_ParseRecord)
    ->ArgName("fields")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN);

void BM_ScanFloor(benchmark::State& state) {
  const BenchRecord record = log_like_record(static_cast<std::size_t>(state.range(0)));
  run_floor(state, record);
  state.SetComplexityN(record.scanned);
}
BENCHMARK(BM_ScanFloor)->ArgName("fields")->Arg(10)->Arg(100)->Arg(1000)->Complexity(benchmark::oN);

void BM_ParseRecordSpot(benchmark::State& state) { run_parse(state, spot_command_record()); }
BENCHMARK(BM_ParseRecordSpot);

void BM_ScanFloorSpot(benchmark::State& state) { run_floor(state, spot_command_record()); }
BENCHMARK(BM_ScanFloorSpot);

void BM_EncodeField(benchmark::State& state) {
  const std::string value(static_cast<std::size_t>(state.range(0)), 'x');
  DDECommon codec;
  for (auto _ : state) {
    std::string field = codec.EncodeField("xcvrfreq", value);
    benchmark::DoNotOptimize(field.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EncodeField)
    ->ArgName("chars")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace vav
