#include "random_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

#include "app/status_tab.h"
#include "support/adif_reader.h"

namespace vav::testing {
namespace {

std::string call_of(const std::string& execute) { return record_field(execute, "CALL"); }

constexpr const char* kMayBeDuplicate = "may be a duplicate: check DXKeeper";

// VAV_SESSION_TRACE=1 prints each event, for replaying a failing seed.
bool tracing() { return std::getenv("VAV_SESSION_TRACE") != nullptr; }

}  // namespace

void SessionFigures::add(const SessionFigures& o) {
  sessions += o.sessions;
  qsos += o.qsos;
  faults += o.faults;
  lost += o.lost;
  duplicates_reported += o.duplicates_reported;
  duplicates_stale_file += o.duplicates_stale_file;
  duplicates_unexplained += o.duplicates_unexplained;
  set_aside += o.set_aside;
  lost_at_kill += o.lost_at_kill;
}

SessionFigures RandomSession::play(std::uint64_t seed, int events) {
  rng_.seed(seed);
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.dxview().start();
  desktop.set_confirm_answer(false);  // a close that would lose QSOs is cancelled
  start_program();
  for (int i = 0; i < events; ++i) {
    one_event();
    run_for(static_cast<Millis>(100 + roll(8000)));
    if (files.torn()) kill_program();  // the power came back: the program starts again
  }
  // Healthy neighbours and one last run.
  files.clear_faults();
  file_fault_ = false;
  station.dxkeeper().answer();
  station.dxkeeper().start();
  station.dxview().answer();
  station.dxview().start();
  close_program();
  run_for(60000);
  note_run_end();
  SessionFigures figures;
  check(seed, figures);
  return figures;
}

void RandomSession::one_event() {
  const int r = roll(100);
  if (tracing()) {
    std::printf("t=%llu event %d waiting=%zu logged=%zu\n",
                static_cast<unsigned long long>(loop.now()), r, app->delivery.pending_qsos.count(),
                delivered_calls().size());
  }
  if (r < 35) return write_qso(false);
  if (r < 40) return write_qso(true);
  if (r < 44) return station.mixw().operator_types("Call", "Q9T" + std::to_string(roll(1000)));
  if (r < 70) return dxkeeper_event(roll(9));
  if (r < 74) {
    ++faults_;
    if (roll(2) == 0) return station.dxview().crash();
    station.dxview().start();
    return roll(2) == 0 ? station.dxview().hang() : station.dxview().answer();
  }
  if (r < 86) return file_event(roll(6));
  if (r < 93) return kill_program();
  if (r < 97) return close_program();
  ++faults_;
  files.tear_next_write_after(static_cast<std::size_t>(roll(300)));  // the power goes
}

void RandomSession::write_qso(bool by_save) {
  const peers::Contact contact = numbered_contact(++next_qso_);
  station.mixw().work_station(contact);
  if (by_save) {
    run_for(600);
    app->qso.Save.click();
  } else {
    station.mixw().write_qso();
  }
  written.push_back(contact.call);
  run_for(kWriteGap);
  if (file_fault_ || files.torn()) not_in_adif_ok_.insert(contact.call);
}

void RandomSession::dxkeeper_event(int what) {
  if (tracing()) std::printf("  dxkeeper %d\n", what);
  auto& k = station.dxkeeper();
  if (what != 1 && what != 5) ++faults_;
  switch (what) {
    case 0:
      return k.stop();
    case 1:
      return k.start();
    case 2:
      return k.crash();
    case 3:
      return k.hang_executes();
    case 4:
      return k.hang();
    case 5:
      return k.answer();
    case 6:
      return k.answer_late(static_cast<Millis>(1500 + roll(7000)));
    case 7:
      return k.refuse_executes();
    default:
      return k.die_after_running_next_execute();
  }
}

void RandomSession::file_event(int what) {
  if (tracing()) std::printf("  file %d\n", what);
  // Each fault lasts a while, as a backup tool holds a file or a disk is freed again.
  const auto lasting = static_cast<Millis>(2000 + roll(30000));
  const std::string journal = path(kPendingFileName);
  switch (what % 3) {
    case 0:
      files.lock(journal);
      loop.call_after(lasting, [this, journal] { files.unlock(journal); });
      break;
    case 1:
      files.fill_disk_after(static_cast<std::size_t>(roll(3000)));
      loop.call_after(lasting,
                      [this] { files.fill_disk_after(std::numeric_limits<std::size_t>::max()); });
      break;
    default:
      files.fail_removes(true);
      loop.call_after(lasting, [this] { files.fail_removes(false); });
      break;
  }
  ++faults_;
  file_fault_ = true;
}

void RandomSession::calls_on_disk(std::set<std::string>& waiting, std::set<std::string>& sent) {
  // Read past the faults: what is on the disk, whoever holds the file.
  const auto on_disk = [](const std::string& windows_path) {
    std::ifstream in(sim::SimFiles::native(windows_path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  for (const std::string& file : {path(kPendingFileName), path(kPendingLaterFileName),
                                  system.user_data_folder() + "\\" + kPendingRescuedFileName}) {
    for (const auto& entry : replay_journal(on_disk(file)).entries) {
      (entry.uncertain ? sent : waiting).insert(call_of(entry.execute));
    }
  }
}

void RandomSession::kill_program() {
  if (tracing()) std::printf("  kill\n");
  ++faults_;
  note_run_end();
  files.power_back();
  note_files_behind_memory(true);
  app.reset();
  start_program();
}

void RandomSession::note_files_behind_memory(bool killed) {
  // A file that could not be written since a delivery still says the QSO waits, and the next
  // run sends it again unmarked; what only memory held is gone with a killed program.
  std::set<std::string> waiting, sent;
  calls_on_disk(waiting, sent);
  std::map<std::string, bool> in_memory;  // call, sent without an answer
  for (const auto& entry : app->delivery.pending_qsos.queued()) {
    in_memory[call_of(entry.execute)] = entry.uncertain;
  }
  if (killed) {
    for (const auto& [call, uncertain] : in_memory) {
      if (waiting.count(call) || sent.count(call)) continue;
      lost_ok_.insert(call);
      // Sent on a conversation that may still run it, and gone from every file: the next
      // copy of it cannot be reported by anyone.
      if (uncertain) ++duplicate_ok_[call];
    }
  }
  for (const auto& call : waiting) {
    const auto found = in_memory.find(call);
    if (found == in_memory.end() || found->second) ++duplicate_ok_[call];
  }
}

void RandomSession::close_program() {
  if (tracing()) std::printf("  close\n");
  app->Close();
  if (app->run_end() == RunEnd::running) return;  // cancelled: QSOs would have been lost
  note_run_end();
  note_files_behind_memory(false);
  app.reset();
  start_program();
}

void RandomSession::note_run_end() {
  if (!app) return;
  for (const auto& notice : app->delivery.notices()) {
    if (notice.what == kMayBeDuplicate) ++duplicate_reported_[call_of(notice.execute)];
    // Set aside after refusals: a send of it that DXKeeper still held may arrive later.
    if (notice.what.starts_with("set aside")) out_of_order_ok_.insert(call_of(notice.execute));
  }
}

void RandomSession::check(std::uint64_t seed, SessionFigures& figures) {
  figures.sessions = 1;
  figures.qsos = written.size();
  figures.faults = faults_;
  std::map<std::string, int> count;
  std::vector<std::string> first_arrivals;
  for (const auto& call : delivered_calls()) {
    if (count[call]++ == 0) first_arrivals.push_back(call);
  }
  std::set<std::string> set_aside;
  for (const auto& entry : app->delivery.pending_qsos.queued()) {
    if (entry.set_aside) set_aside.insert(call_of(entry.execute));
  }
  figures.set_aside = set_aside.size();
  std::vector<std::string> expected_order;
  std::erase_if(first_arrivals,
                [&](const std::string& call) { return out_of_order_ok_.count(call); });
  for (const auto& call : written) {
    if (count[call] > 0) {
      if (!out_of_order_ok_.count(call)) expected_order.push_back(call);
    } else if (set_aside.count(call)) {
    } else if (lost_ok_.count(call)) {
      ++figures.lost_at_kill;
    } else {
      ++figures.lost;
      ADD_FAILURE() << "seed " << seed << ": " << call << " never reached DXKeeper";
    }
  }
  EXPECT_EQ(first_arrivals, expected_order) << "seed " << seed << ": first arrivals in order";
  // A QSO sent again after its conversation ended unanswered may arrive once more for every
  // such conversation (each run that ended while DXKeeper sat on it): it must have been
  // reported, or have been sent again because a kill left a stale file.
  for (const auto& [call, n] : count) {
    if (n <= 1) continue;
    const auto extra = static_cast<std::uint64_t>(n - 1);
    if (duplicate_reported_[call] > 0) {
      figures.duplicates_reported += extra;
    } else if (duplicate_ok_[call] > 0) {
      figures.duplicates_stale_file += extra;
    } else {
      figures.duplicates_unexplained += extra;
      ADD_FAILURE() << "seed " << seed << ": " << call << " logged " << n
                    << " times and never reported";
    }
  }
  EXPECT_TRUE(station.dxkeeper().peer().malformed_records().empty()) << "seed " << seed;
  std::map<std::string, int> in_adif;
  for (const auto& record : read_adif(read_file(kAdifLogFileName)).records) {
    ++in_adif[adif_value(record, "CALL")];
  }
  for (const auto& call : written) {
    const int n = in_adif[call];
    const bool may_lack = not_in_adif_ok_.count(call) || lost_ok_.count(call);
    EXPECT_TRUE(n == 1 || (n == 0 && may_lack))
        << "seed " << seed << ": " << call << " " << n << " times in the ADIF log";
  }
}

}  // namespace vav::testing
