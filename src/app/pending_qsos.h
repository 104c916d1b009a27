#pragma once
// The QSOs that could not be delivered to DXKeeper, kept in a journal file in the program's
// folder until DXKeeper accepts them (the format is in waiting_qso_journal.h). Every change
// appends to the journal; it is written afresh only at start, when the queue empties, or after
// a failed write, and then atomically, so a crash or a power cut at any moment leaves every
// earlier entry readable.
//
// A waiting file that exists but cannot be read (another program holds it, access is denied,
// a read breaks off) is never written over. Until it can be read the queue is not ready: the
// QSOs written meanwhile are kept in memory and in a second file beside it, nothing is
// delivered, and the caller tries again later. Once it is read, the older QSOs come first.
// Bytes that replay cannot read are copied whole to a third file before the journal is
// written afresh, so nothing a previous run wrote is ever lost.
#include <cstdint>
#include <deque>
#include <string>

#include "app/waiting_qso_journal.h"
#include "platform/files.h"

namespace vav {

inline constexpr const char* kPendingFileName = "VavizorurWaitingQSOs.txt";
inline constexpr const char* kPendingLaterFileName = "VavizorurWaitingQSOs.later.txt";
inline constexpr const char* kPendingDamagedFileName = "VavizorurWaitingQSOs.damaged.txt";

class PendingQsos {
 public:
  PendingQsos(Files& files, std::string program_folder);

  // Reads the files a previous run left, unless done already. Returns true when the queue is
  // ready. Throws RuntimeError when a file cannot be read (the queue stays not ready, and a
  // later call tries again) or the journal cannot be written afresh (the queue is ready all
  // the same).
  bool Load();
  bool ready() const { return ready_; }

  // Appends one entry. Throws RuntimeError when it cannot be written; the entry is kept in
  // memory for this run all the same.
  void Add(PendingQso entry);
  // True only when the queue is ready and holds nothing: a file not read yet may hold QSOs.
  bool empty() const { return ready_ && entries_.empty(); }
  // The QSOs known to be waiting (while not ready, only those written in this run).
  std::size_t count() const { return entries_.size() + later_.size(); }
  // The QSOs known to be waiting, oldest first (while not ready, those written in this run).
  const std::deque<PendingQso>& queued() const { return ready_ ? entries_ : later_; }
  // Counts every change of the queue, so that a view can tell whether it must be redrawn.
  std::uint64_t changes() const { return changes_; }
  // The oldest entry; only when ready and not empty.
  const PendingQso& front() const { return entries_.front(); }
  // Removes the oldest entry (after DXKeeper accepted it). Throws like Add.
  void RemoveFront();
  // Marks the oldest entry as possibly delivered. Throws like Add.
  void MarkFrontUncertain();

  std::string path() const;
  std::string later_path() const;
  std::string damaged_path() const;

 private:
  void commit(std::string_view journal_text);
  void rewrite();
  void keep_beside(const PendingQso& entry);

  Files& files_;
  std::string folder_;
  std::deque<PendingQso> entries_;  // the queue, once ready
  std::deque<PendingQso> later_;    // QSOs written while not ready
  bool ready_ = false;
  std::uint64_t changes_ = 0;
  bool later_file_known_ = false;   // the second file's content is later_ (read, or absent)
  bool later_file_stale_ = false;   // later_ could not all be appended to the second file
  bool later_file_found_ = false;   // the second file exists, or may
  bool needs_rewrite_ = false;      // the journal must be written afresh before appending
  bool remove_later_file_ = false;  // the second file goes once the journal holds its QSOs
};

}  // namespace vav
