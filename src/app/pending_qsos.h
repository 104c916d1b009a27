#pragma once
// The QSOs that could not be delivered to DXKeeper, kept in a file in the program's folder
// until DXKeeper accepts them. Every change rewrites the file atomically, so a crash or a
// power cut at any moment leaves the earlier entries intact.
#include <deque>
#include <string>

#include "platform/files.h"

namespace vav {

inline constexpr const char* kPendingFileName = "VavizorurWaitingQSOs.txt";

struct PendingQso {
  std::string execute;     // the whole execute string, "001log..."
  bool uncertain = false;  // an earlier attempt timed out: DXKeeper may already have it
  bool operator==(const PendingQso&) const = default;
};

class PendingQsos {
 public:
  PendingQsos(Files& files, std::string program_folder);

  // Reads the file a previous run left. A damaged tail is dropped.
  void Load();
  // Appends one entry. Throws RuntimeError when the file cannot be written; the entry is
  // kept in memory for this run all the same.
  void Add(PendingQso entry);
  bool empty() const { return entries_.empty(); }
  std::size_t count() const { return entries_.size(); }
  const PendingQso& front() const { return entries_.front(); }
  // Removes the oldest entry (after DXKeeper accepted it). Throws like Add.
  void RemoveFront();
  // Marks the oldest entry as possibly delivered. Throws like Add.
  void MarkFrontUncertain();

  std::string path() const;

  // File format, per entry: "N" (certainly not delivered) or "U" (possibly delivered), the
  // length of the execute string in bytes in decimal, ":", the execute string, CR LF. The
  // length makes any byte inside a record safe, line breaks included.
  static std::string Encode(const std::deque<PendingQso>& entries);
  static std::deque<PendingQso> Decode(const std::string& content);

 private:
  void Save();
  Files& files_;
  std::string folder_;
  std::deque<PendingQso> entries_;
};

}  // namespace vav
