#pragma once
// A peer program's journal: one line per event, written through at once so that a test
// reading the file sees every line the moment the event has happened. The file is opened
// for appending and shared, so a restarted program continues it and readers never block.
// Carriage returns and line feeds inside a line are written as \r and \n.
// A timestamped journal begins each line with the moment of the event in microseconds of
// the performance counter and a blank ("812345678901 item QSO Command WRITE"): one clock for
// every program on the machine, so lines of different programs can be subtracted.
#include <windows.h>

#include <cstdint>
#include <string>

namespace vav::peers::win32 {

class Journal {
 public:
  // "<folder>\<name>.journal"; an empty folder keeps no journal.
  Journal(const std::string& folder, const std::string& name, bool timestamped = false);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  void write(const std::string& line) { write_at(now_us(), line); }
  // For an event whose moment was taken before the work it journals.
  void write_at(std::int64_t micros, const std::string& line);
  bool timestamped() const { return timestamped_; }

  // The performance counter in microseconds.
  static std::int64_t now_us();

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool timestamped_ = false;
};

// "<folder>\<file>", or "" when the folder is empty.
std::string path_in(const std::string& folder, const std::string& file);

}  // namespace vav::peers::win32
