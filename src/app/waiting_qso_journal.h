#pragma once
// The text of the waiting-QSO file: an append-only journal. Adding a QSO appends its entry;
// delivering the oldest appends a one-letter mark, so each change costs the same however long
// the queue is. Replaying the journal from the top gives the queue.
//
//   entry:  "N" (waiting: certainly not delivered), "U" (sent without an answer: it may have
//           been delivered) or "A" (set aside: DXKeeper refused it for good), the length of
//           the execute string in bytes in decimal, ":", the execute string, CR LF. The
//           length makes any byte inside a record safe, line breaks included.
//   marks:  "D" CR LF, the oldest QSO in the queue was delivered;
//           "T" CR LF, the oldest QSO in the queue was sent and got no answer in time;
//           "X" CR LF, the oldest QSO in the queue was set aside.
//   The queue is the entries not set aside; a set-aside entry stays in the file, out of it.
//   "L", a byte count, ":", 16 hexadecimal digits, CR LF: the journal already holds the QSOs
//           of that many bytes at the start of the second file (the QSOs written while the
//           journal could not be read), whose FNV-1a hash they are; a second file that still
//           starts with them is not taken in twice.
//
// Files of entries only (what earlier versions wrote) read the same. Replay stops at the first
// bytes that are no whole entry or mark: a torn last entry after a crash is dropped and every
// entry before it kept.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace vav {

struct PendingQso {
  std::string execute;     // the whole execute string, "001log..."
  bool uncertain = false;  // sent before without an answer: DXKeeper may already have it
  bool set_aside = false;  // refused for good: kept, but no longer sent
  bool operator==(const PendingQso&) const = default;
};

// The first `size` bytes of a file, known by their hash.
struct MergedPrefix {
  std::size_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const MergedPrefix&) const = default;
};
std::uint64_t fnv1a(std::string_view bytes);
std::string merged_prefix_line(const MergedPrefix& prefix);

struct JournalReplay {
  std::deque<PendingQso> entries;      // the queue, oldest first
  std::size_t marks = 0;               // delivered and timed-out marks replayed
  bool complete = true;                // false when bytes were left over that replay could not read
  std::size_t read_up_to = 0;          // where the bytes replay could not read begin
  std::optional<MergedPrefix> merged;  // what of the second file the journal already holds
};

std::string journal_entry(const PendingQso& entry);
inline constexpr std::string_view kJournalDelivered = "D\r\n";
inline constexpr std::string_view kJournalTimedOut = "T\r\n";
inline constexpr std::string_view kJournalSetAside = "X\r\n";

// The journal written afresh: its entries only, no marks.
std::string journal_of(const std::deque<PendingQso>& entries);
JournalReplay replay_journal(std::string_view content);

}  // namespace vav
