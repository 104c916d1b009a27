// Adding a QSO to the waiting file, on the real file system: the cost must not grow with the
// number of QSOs already waiting (an outage of a whole contest weekend queues thousands).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/pending_qsos.h"
#include "platform/sim/sim_files.h"

namespace vav {
namespace {

// A typical logged QSO's execute string.
const std::string kExecute =
    "001log<CALL:5>Q1ABC <RST_RCVD:3>599 <RST_SENT:3>579 <FREQ:9>14.070150 <BAND:3>20M "
    "<MODE:5>PSK31 <QSO_DATE:8>20051127 <TIME_ON:6>044400 <TIME_OFF:6>044500 <NAME:3>Ann "
    "<QTH:11>Springfield <CQZ:1>4 <ITUZ:1>8 <PFX:2>Q1 <EOR>";

// The time to add the n-th waiting QSO: n - 1 wait already, and the one added is delivered
// (untimed) before the next round so that the queue stays at that length.
void BM_AddWaitingQso(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "vav_bench_waiting_qsos";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  sim::SimFiles files;
  PendingQsos queue(files, folder.string());
  queue.Load();
  for (int i = 1; i < state.range(0); ++i) queue.Add({kExecute, false});
  for (auto _ : state) {
    queue.Add({kExecute, false});
    state.PauseTiming();
    queue.RemoveFront();
    state.ResumeTiming();
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AddWaitingQso)->ArgName("queued")->Arg(10)->Arg(10000);

}  // namespace
}  // namespace vav
