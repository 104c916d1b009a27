#pragma once
// A peer program's journal: one line per event, written through at once so that a test
// reading the file sees every line the moment the event has happened. The file is opened
// for appending and shared, so a restarted program continues it and readers never block.
// Carriage returns and line feeds inside a line are written as \r and \n.
#include <windows.h>

#include <string>

namespace vav::peers::win32 {

class Journal {
 public:
  // "<folder>\<name>.journal"; an empty folder keeps no journal.
  Journal(const std::string& folder, const std::string& name);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  void write(const std::string& line);

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// "<folder>\<file>", or "" when the folder is empty.
std::string path_in(const std::string& folder, const std::string& file);

}  // namespace vav::peers::win32
