#include "app/pending_qsos.h"

#include <algorithm>
#include <optional>
#include <set>

#include "errors/error_trap.h"

namespace vav {

PendingQsos::PendingQsos(Files& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

std::string PendingQsos::path() const { return folder_ + "\\" + kPendingFileName; }
std::string PendingQsos::later_path() const { return folder_ + "\\" + kPendingLaterFileName; }
std::string PendingQsos::damaged_path() const { return folder_ + "\\" + kPendingDamagedFileName; }
std::string PendingQsos::rescue_path() const {
  return rescue_folder_ + "\\" + kPendingRescuedFileName;
}

std::size_t PendingQsos::at_risk() {
  if (rescued()) return 0;
  const bool in_step = ready_ ? !needs_rewrite_ : !later_file_stale_;
  if (in_step) return 0;
  // The files are behind memory: the QSOs that none of them holds are at risk. Looked up
  // only here (at close), so the files are read again rather than tracked entry by entry.
  std::multiset<std::string> on_disk;
  for (const std::string& file : {path(), later_path()}) {
    const std::string text =
        passing_over_errors(std::string(), [&] { return files_.read_existing(file).value_or(""); });
    for (const auto& entry : replay_journal(text).entries) on_disk.insert(entry.execute);
  }
  std::size_t missing = 0;
  for (const auto& entry : queued()) {
    const auto found = on_disk.find(entry.execute);
    if (found == on_disk.end()) {
      ++missing;
    } else {
      on_disk.erase(found);
    }
  }
  return missing;
}

bool PendingQsos::Rescue() {
  if (rescued() || (saved() && at_risk() == 0)) return true;
  if (!ready_ || rescue_folder_.empty()) return false;
  return passing_over_errors(false, [this] {
    files_.create_folder(rescue_folder_);
    files_.replace_atomically(rescue_path(), journal_of(entries_));
    rescued_at_ = changes_;
    return true;
  });
}

std::size_t PendingQsos::front_index() const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [](const PendingQso& entry) { return !entry.set_aside; });
  return static_cast<std::size_t>(found - entries_.begin());
}

// Set-aside entries are few and counted as they change, so that the caption, redrawn at
// every change, costs the same however many QSOs wait.
std::size_t PendingQsos::count() const {
  return ready_ ? entries_.size() - set_aside_ : later_.size();
}

std::size_t PendingQsos::set_aside_count() const { return ready_ ? set_aside_ : 0; }

bool PendingQsos::Load() {
  if (ready_) return true;
  // The second file holds QSOs that an earlier run wrote while the journal could not be
  // read; they are newer than anything in the journal and older than this run's.
  if (!later_file_known_) {
    const std::optional<std::string> later_file = files_.read_existing(later_path());
    if (later_file) {
      const JournalReplay later_replay = replay_journal(*later_file);
      std::deque<PendingQso> earlier = later_replay.entries;
      // this run's were kept in memory only; or an append broke off (a crash, a full disk)
      // and nothing may be appended after its torn bytes
      later_file_stale_ = !later_.empty() || !later_replay.complete;
      if (!later_replay.complete) {
        damaged_ += later_file->substr(later_replay.read_up_to);
        damaged_files_ += " " + later_path();
        later_damaged_copy_ = *later_file;
      }
      later_.insert(later_.begin(), earlier.begin(), earlier.end());
      later_file_found_ = true;
    } else {
      later_file_stale_ = !later_.empty();
    }
    later_file_known_ = true;
  }
  // An outbox rescued at the end of an earlier run holds everything its journal held, and
  // what that run could no longer write there: it takes the journal's place.
  const std::optional<std::string> rescued =
      rescue_folder_.empty() ? std::nullopt : files_.read_existing(rescue_path());
  const std::optional<std::string> journal = rescued ? rescued : files_.read_existing(path());
  const JournalReplay replay = journal ? replay_journal(*journal) : JournalReplay{};
  remove_rescued_file_ = rescued.has_value();
  if (!replay.complete) {
    damaged_ = journal->substr(replay.read_up_to);
    damaged_files_ += " " + (rescued ? rescue_path() : path());
    damaged_copy_ = *journal;
  }

  // A journal that already took in the start of the second file (its removal failed, or the
  // program ended before it) does not take those QSOs in again.
  if (replay.merged && later_file_found_) {
    const std::optional<std::string> text = files_.read_all(later_path());
    if (text && text->size() >= replay.merged->size &&
        fnv1a(std::string_view(*text).substr(0, replay.merged->size)) == replay.merged->hash) {
      const auto held = replay_journal(text->substr(0, replay.merged->size)).entries.size();
      later_.erase(later_.begin(),
                   later_.begin() + static_cast<std::ptrdiff_t>(std::min(held, later_.size())));
    }
  }
  const bool merging = !later_.empty() || later_file_found_;
  if (later_file_found_) {
    // What the journal is about to hold of the second file, in case it cannot be removed.
    const std::optional<std::string> text = files_.read_all(later_path());
    if (text) later_merged_ = MergedPrefix{text->size(), fnv1a(*text)};
  }
  entries_ = replay.entries;
  entries_.insert(entries_.end(), later_.begin(), later_.end());
  set_aside_ = static_cast<std::size_t>(std::count_if(
      entries_.begin(), entries_.end(), [](const PendingQso& entry) { return entry.set_aside; }));
  later_.clear();
  ready_ = true;
  ++changes_;
  remove_later_file_ = merging;
  if (replay.marks > 0 || !replay.complete || merging || remove_rescued_file_) {
    needs_rewrite_ = true;
    rewrite();
  }
  return true;
}

void PendingQsos::rewrite() {
  // Bytes that replay could not read are kept whole beside the journal before it is written
  // afresh; until they are, the journal is not touched.
  if (!damaged_copy_.empty()) {
    files_.append(damaged_path(), damaged_copy_);
    damaged_copy_.clear();
  }
  keep_damaged_later_file();
  if (entries_.empty() && !later_merged_) {
    files_.remove(path());
  } else {
    const std::string merged = later_merged_ ? merged_prefix_line(*later_merged_) : "";
    files_.replace_atomically(path(), merged + journal_of(entries_));
  }
  needs_rewrite_ = false;
  // Only now does the journal hold what the second file, or the rescued outbox, held.
  if (remove_later_file_) {
    files_.remove(later_path());
    remove_later_file_ = false;
    later_merged_.reset();
    if (entries_.empty()) files_.remove(path());
  }
  if (remove_rescued_file_) {
    files_.remove(rescue_path());
    remove_rescued_file_ = false;
  }
}

void PendingQsos::keep_damaged_later_file() {
  if (later_damaged_copy_.empty()) return;
  files_.append(damaged_path(), later_damaged_copy_);
  later_damaged_copy_.clear();
}

void PendingQsos::Flush() {
  if (ready_ && needs_rewrite_) rewrite();
}

void PendingQsos::commit(std::string_view journal_text) {
  if (needs_rewrite_) {
    rewrite();
    return;
  }
  // An append that fails may have left part of itself behind: only a fresh journal is safe
  // then.
  const UndoOnFailure mark_for_rewrite([this] { needs_rewrite_ = true; });
  files_.append(path(), std::string(journal_text));
}

void PendingQsos::keep_beside(const PendingQso& entry) {
  // The second file is written only while its whole content is known here.
  if (!later_file_known_) return;
  if (later_file_stale_) {
    keep_damaged_later_file();
    files_.replace_atomically(later_path(), journal_of(later_));
    later_file_stale_ = false;
    later_file_found_ = true;
    return;
  }
  const UndoOnFailure mark_stale([this] { later_file_stale_ = true; });
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
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(front_index()));
  if (entries_.empty()) {
    // Nothing is left: the journal goes, which is the cheapest way to compact it.
    needs_rewrite_ = true;
    rewrite();
    return;
  }
  commit(kJournalDelivered);
}

void PendingQsos::MarkFrontUncertain() {
  PendingQso& front = entries_[front_index()];
  if (front.uncertain) return;
  ++changes_;
  front.uncertain = true;
  commit(kJournalTimedOut);
}

void PendingQsos::RemoveAt(std::size_t index) {
  ++changes_;
  const auto at = entries_.begin() + static_cast<std::ptrdiff_t>(index);
  if (at->set_aside) --set_aside_;
  entries_.erase(at);
  needs_rewrite_ = true;
  rewrite();
}

void PendingQsos::Requeue(std::size_t index) {
  ++changes_;
  PendingQso entry = std::move(entries_[index]);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  if (entry.set_aside) --set_aside_;
  entry.set_aside = false;
  entries_.push_back(std::move(entry));
  needs_rewrite_ = true;
  rewrite();
}

void PendingQsos::SetAsideFront() {
  ++changes_;
  entries_[front_index()].set_aside = true;
  ++set_aside_;
  commit(kJournalSetAside);
}

}  // namespace vav
