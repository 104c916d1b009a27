#include "app/pending_qsos.h"

#include <optional>

#include "errors/error_trap.h"

namespace vav {

PendingQsos::PendingQsos(Files& files, std::string program_folder)
    : files_(files), folder_(std::move(program_folder)) {}

std::string PendingQsos::path() const { return folder_ + "\\" + kPendingFileName; }
std::string PendingQsos::later_path() const { return folder_ + "\\" + kPendingLaterFileName; }
std::string PendingQsos::damaged_path() const { return folder_ + "\\" + kPendingDamagedFileName; }

bool PendingQsos::Load() {
  if (ready_) return true;
  // The second file holds QSOs that an earlier run wrote while the journal could not be
  // read; they are newer than anything in the journal and older than this run's.
  if (!later_file_known_) {
    const std::optional<std::string> later_file = files_.read_existing(later_path());
    if (later_file) {
      std::deque<PendingQso> earlier = replay_journal(*later_file).entries;
      later_file_stale_ = !later_.empty();  // this run's were kept in memory only
      later_.insert(later_.begin(), earlier.begin(), earlier.end());
      later_file_found_ = true;
    } else {
      later_file_stale_ = !later_.empty();
    }
    later_file_known_ = true;
  }
  const std::optional<std::string> journal = files_.read_existing(path());
  const JournalReplay replay = journal ? replay_journal(*journal) : JournalReplay{};
  // Bytes that replay cannot read are kept whole beside the journal before it is written
  // afresh; until they are, the journal is not touched.
  if (!replay.complete) files_.append(damaged_path(), *journal);

  const bool merging = !later_.empty() || later_file_found_;
  entries_ = replay.entries;
  entries_.insert(entries_.end(), later_.begin(), later_.end());
  later_.clear();
  ready_ = true;
  ++changes_;
  remove_later_file_ = merging;
  if (replay.marks > 0 || !replay.complete || merging) {
    needs_rewrite_ = true;
    rewrite();
  }
  return true;
}

void PendingQsos::rewrite() {
  if (entries_.empty()) {
    files_.remove(path());
  } else {
    files_.replace_atomically(path(), journal_of(entries_));
  }
  needs_rewrite_ = false;
  // Only now does the journal hold what the second file held.
  if (remove_later_file_) {
    files_.remove(later_path());
    remove_later_file_ = false;
  }
}

void PendingQsos::commit(std::string_view journal_text) {
  if (needs_rewrite_) {
    rewrite();
    return;
  }
  // An append that fails may have left part of itself behind: only a fresh journal is safe
  // then.
  const OnFailure mark_for_rewrite([this] { needs_rewrite_ = true; });
  files_.append(path(), std::string(journal_text));
}

void PendingQsos::keep_beside(const PendingQso& entry) {
  // The second file is written only while its whole content is known here.
  if (!later_file_known_) return;
  if (later_file_stale_) {
    files_.replace_atomically(later_path(), journal_of(later_));
    later_file_stale_ = false;
    later_file_found_ = true;
    return;
  }
  const OnFailure mark_stale([this] { later_file_stale_ = true; });
  files_.append(later_path(), journal_entry(entry));
  later_file_found_ = true;
}

void PendingQsos::Add(PendingQso entry) {
  ++changes_;
  if (!ready_) {
    later_.push_back(std::move(entry));
    keep_beside(later_.back());
    return;
  }
  entries_.push_back(std::move(entry));
  commit(journal_entry(entries_.back()));
}

void PendingQsos::RemoveFront() {
  ++changes_;
  entries_.pop_front();
  if (entries_.empty()) {
    // The queue is empty: the journal goes, which is the cheapest way to compact it.
    needs_rewrite_ = true;
    rewrite();
    return;
  }
  commit(kJournalDelivered);
}

void PendingQsos::MarkFrontUncertain() {
  if (entries_.front().uncertain) return;
  ++changes_;
  entries_.front().uncertain = true;
  commit(kJournalTimedOut);
}

}  // namespace vav
