// Building the record of a logged QSO from the window's fields and the settings.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

#include "app/log_builder.h"
#include "app/log_record.h"
#include "app/settings.h"

namespace vav {
namespace {

// A QSO with every field filled and every option that adds a field switched on: the
// largest record the program sends.
QsoLogFields full_qso() {
  QsoLogFields f;
  f.CurrentCallsign = "q1abc";
  f.RSTRcvd = "599";
  f.RSTSnt = "579";
  f.RigFreq = "14,070.000";
  f.OpFreq = "14,071.001";
  f.Mode = "PSK31";
  f.DateNow = "27-Nov-2005";
  f.UTCStart = "04:44";
  f.UTCEnd = "06:48:12";
  f.NameText = "Ann";
  f.QSLInfo = "Q2XYZ";
  f.Notes = "a<b, worked on the long path";
  f.State = "IL";
  f.QTH = "Springfield";
  f.County = "Sangamon";
  f.GridSq = "EN59";
  f.IOTA = "NA-001";
  f.CQZ = "4";
  f.IRUZ = "8";
  f.Prefix = "Q1";
  f.ExchRcv = "001";
  f.ExchSnt = "042";
  f.ContestShown = true;
  return f;
}

Settings all_fields_settings() {
  Settings s;
  s.LoggedFrequency = "Actual";
  s.SaveCounty = true;
  s.SaveGrid = true;
  s.SaveIota = true;
  s.RequestQSL = true;
  return s;
}

void BM_BuildLogRecord(benchmark::State& state) {
  const QsoLogFields fields = full_qso();
  const Settings settings = all_fields_settings();
  const Separators seps{',', '.'};
  const std::string record = build_log_record(fields, settings, seps, CodePage{});
  if (record.find("<STX:3>042 <EOR>") == std::string::npos) {
    state.SkipWithError("the record lacks its last field");
    return;
  }
  for (auto _ : state) {
    std::string built = build_log_record(fields, settings, seps, CodePage{});
    benchmark::DoNotOptimize(built.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record.size()));
}
BENCHMARK(BM_BuildLogRecord);

// AddLogField alone, over records of a growing number of fields.
void BM_AddLogFields(benchmark::State& state) {
  static constexpr std::array<std::string_view, 4> kValues{"Q1ABC", "Springfield", "a<b",
                                                           "worked on the long path"};
  const auto fields = static_cast<std::size_t>(state.range(0));
  LogRecord record;
  for (auto _ : state) {
    record.ClearLogRecord();
    for (std::size_t i = 0; i < fields; ++i) record.AddLogField("NOTES", kValues[i % 4]);
    std::string text = record.GetLogRecord();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddLogFields)
    ->ArgName("fields")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace vav
