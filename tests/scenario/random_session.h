#pragma once
// Whole sessions played at random from a seed on the simulated platform: QSOs written and
// saved, callsigns typed, DXKeeper stopping, crashing, hanging, answering late, refusing and
// dying between running a QSO and answering it, files held, a full disk, removes that fail,
// the power lost in the middle of a write, the program killed and closed and started again.
// A session ends with healthy neighbours and one last run; then what DXKeeper logged is held
// against what was written.
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {

// What one session did and found, added up over sessions for the figures.
struct SessionFigures {
  std::uint64_t sessions = 0;
  std::uint64_t qsos = 0;
  std::uint64_t faults = 0;
  std::uint64_t lost = 0;                    // written, never logged, not set aside: must be 0
  std::uint64_t duplicates_reported = 0;     // logged twice, marked "may be a duplicate"
  std::uint64_t duplicates_stale_file = 0;   // logged twice after a kill left a stale file
  std::uint64_t duplicates_unexplained = 0;  // must be 0
  std::uint64_t set_aside = 0;
  std::uint64_t lost_at_kill = 0;  // only in memory when the program was killed
  void add(const SessionFigures& other);
};

class RandomSession : public ReliabilityTest {
 protected:
  // Plays one session from `seed` with `events` random events; then checks, with the seed in
  // every message.
  SessionFigures play(std::uint64_t seed, int events);

 private:
  void one_event();
  void write_qso(bool by_save);
  void dxkeeper_event(int what);
  void file_event(int what);
  void kill_program();
  void close_program();
  // After a run ends: what the files on disk say against what the program held.
  void note_files_behind_memory(bool killed);
  void note_run_end();
  // The calls of the QSOs the files on disk hold (journal, second file, rescued outbox):
  // those waiting (`waiting`) and those sent without an answer (`sent`).
  void calls_on_disk(std::set<std::string>& waiting, std::set<std::string>& sent);
  void check(std::uint64_t seed, SessionFigures& figures);
  int roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng_); }

  std::mt19937_64 rng_;
  int next_qso_ = 0;
  std::uint64_t faults_ = 0;
  bool file_fault_ = false;  // a fault that may keep a QSO out of the ADIF log is on
  std::set<std::string> not_in_adif_ok_;
  std::set<std::string> lost_ok_;                  // only in memory at a kill
  std::map<std::string, int> duplicate_ok_;        // stale file at a kill
  std::map<std::string, int> duplicate_reported_;  // "may be a duplicate" notices
  std::set<std::string> out_of_order_ok_;          // set aside at some time
};

}  // namespace vav::testing
