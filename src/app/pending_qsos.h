#pragma once
// The outbox: every QSO written, from the moment it is written until DXKeeper has taken it,
// kept in a journal file (the format is in waiting_qso_journal.h). Each entry is waiting, sent
// without an answer yet, or set aside; a delivered one leaves. Every change appends to the
// journal; it is written afresh only at start, when the outbox empties, or after a failed
// write, and then atomically, so a crash or a power cut at any moment leaves every earlier
// entry readable. A write that fails leaves the outbox ahead of its file: the file is written
// afresh at the next change, and whenever the owner asks (each connection pass, the close).
//
// A waiting file that exists but cannot be read (another program holds it, access is denied,
// a read breaks off) is never written over. Until it can be read the outbox is not ready: the
// QSOs written meanwhile are kept in memory and in a second file beside it, nothing is
// delivered, and the caller tries again later. Once it is read, the older QSOs come first.
// Bytes that replay cannot read are copied whole to a third file before the journal is
// written afresh, so nothing a previous run wrote is ever lost; until that copy is made the
// journal is not written, but the QSOs it holds go out all the same.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "app/waiting_qso_journal.h"
#include "platform/files.h"

namespace vav {

inline constexpr const char* kPendingFileName = "VavizorurWaitingQSOs.txt";
inline constexpr const char* kPendingLaterFileName = "VavizorurWaitingQSOs.later.txt";
inline constexpr const char* kPendingDamagedFileName = "VavizorurWaitingQSOs.damaged.txt";
// The whole outbox, written to the user's folder at close when its own file could not be
// written; the next run takes it in place of the journal it supersedes.
inline constexpr const char* kPendingRescuedFileName = "VavizorurWaitingQSOs.rescued.txt";
// The QSOs the operator took out of the outbox, as ADIF records: never deleted.
inline constexpr const char* kRemovedQsosFileName = "VavizorurRemovedQSOs.adi";

class PendingQsos {
 public:
  PendingQsos(Files& files, std::string folder);

  // Reads the files a previous run left, unless done already. Returns true when the outbox
  // is ready. Throws RuntimeError when a file cannot be read (the outbox stays not ready, and
  // a later call tries again) or the journal cannot be written afresh (the outbox is ready
  // all the same, and the file is written at the next change).
  bool Load();
  bool ready() const { return ready_; }

  // Appends one entry. Throws RuntimeError when it cannot be written; the entry is kept in
  // memory all the same.
  void Add(PendingQso entry);
  // True only when the outbox is ready and nothing in it waits to be sent: a file not read
  // yet may hold QSOs. Set-aside entries do not wait.
  bool empty() const { return ready_ && front_index() == entries_.size(); }
  // The QSOs known to be waiting (while not ready, only those written in this run).
  std::size_t count() const;
  std::size_t set_aside_count() const;
  // Every entry, oldest first, set-aside ones included (while not ready, this run's).
  const std::deque<PendingQso>& queued() const { return ready_ ? entries_ : later_; }
  // Counts every change, so that a view can tell whether it must be redrawn.
  std::uint64_t changes() const { return changes_; }
  // The oldest entry not set aside; only when ready and not empty.
  const PendingQso& front() const { return entries_[front_index()]; }
  // The oldest entry was delivered: it leaves. Throws like Add.
  void RemoveFront();
  // The oldest entry was sent and got no answer in time. Throws like Add.
  void MarkFrontUncertain();
  // The oldest entry is set aside: kept, no longer sent. Throws like Add.
  void SetAsideFront();
  // The operator's changes, to any entry of queued() (only when ready). Each writes the
  // journal afresh, atomically; throws like Add, the change kept in memory all the same.
  // Entry `index` leaves the outbox.
  void RemoveAt(std::size_t index);
  // The set-aside entry `index` waits again, behind every entry that waits now.
  void Requeue(std::size_t index);
  // Writes the journal afresh when a write failed; throws when it fails again.
  void Flush();
  // The file holds what is in memory (no write failed since the last one that worked).
  bool saved() const { return !needs_rewrite_; }
  // The bytes of the journal that replay could not read, as found at start ("" if none).
  const std::string& damaged() const { return damaged_; }
  // The files they were found in, each after a blank.
  const std::string& damaged_files() const { return damaged_files_; }
  // The QSOs written that no file holds yet: lost if the program ends now.
  std::size_t at_risk();
  // Where the outbox goes when its own file cannot be written at close (another folder).
  void set_rescue_folder(std::string folder) { rescue_folder_ = std::move(folder); }
  // Writes the whole outbox to the rescue folder; false when it cannot (or there is none).
  bool Rescue();
  // The rescue folder holds the outbox as it is now.
  bool rescued() const { return rescued_at_ == changes_; }
  std::string rescue_path() const;

  std::string path() const;
  std::string later_path() const;
  std::string damaged_path() const;

 private:
  std::size_t front_index() const;
  void commit(std::string_view journal_text);
  void rewrite();
  void keep_beside(const PendingQso& entry);
  void keep_damaged_later_file();

  Files& files_;
  std::string folder_;
  std::string rescue_folder_;
  std::uint64_t rescued_at_ = ~std::uint64_t{0};  // changes() when last rescued
  bool remove_rescued_file_ = false;          // the rescued outbox goes once the journal holds it
  std::optional<MergedPrefix> later_merged_;  // what the journal holds of the second file
  std::deque<PendingQso> entries_;            // the outbox, once ready
  std::deque<PendingQso> later_;              // QSOs written while not ready
  std::size_t set_aside_ = 0;                 // entries_ set aside
  bool ready_ = false;
  std::uint64_t changes_ = 0;
  std::string damaged_;             // unreadable bytes found at start
  std::string damaged_files_;
  std::string damaged_copy_;        // the whole journal they were in, until copied aside
  std::string later_damaged_copy_;  // the same for the second file
  bool later_file_known_ = false;   // the second file's content is later_ (read, or absent)
  bool later_file_stale_ = false;   // later_ could not all be appended to the second file
  bool later_file_found_ = false;   // the second file exists, or may
  bool needs_rewrite_ = false;      // the journal must be written afresh before appending
  bool remove_later_file_ = false;  // the second file goes once the journal holds its QSOs
};

}  // namespace vav
