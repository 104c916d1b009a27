#pragma once
// A stand-in's journal as a test reads it: one line per event, in the order they happened.
// A reader keeps a cursor, so a sequence of waits also checks the order of the lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "station_e2e/polling.h"

namespace vav::e2e {

class JournalFile {
 public:
  explicit JournalFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  std::vector<std::string> lines() const;
  // Lines not yet passed by a wait.
  std::vector<std::string> unread() const;
  // The first line at or after the cursor containing `text`, or nullopt; the cursor stays.
  std::optional<std::string> find(const std::string& text) const;

  // Whether any line, passed or not, contains `text`.
  bool has(const std::string& text) const;

  // Waits for a line after the cursor that contains `text` and moves the cursor past it.
  // On failure the message holds the journal.
  ::testing::AssertionResult await(const std::string& text, DWORD limit = kDeadline);
  // The same for a line equal to `line`, byte for byte.
  ::testing::AssertionResult await_line(const std::string& line, DWORD limit = kDeadline);

  // The journal for a failure message.
  std::string dump() const;

 private:
  ::testing::AssertionResult await_match(const std::function<bool(const std::string&)>& match,
                                         const std::string& wanted, DWORD limit);

  std::string path_;
  std::size_t cursor_ = 0;
};

}  // namespace vav::e2e
