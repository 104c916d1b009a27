#pragma once
// The station on one machine, for a test: a fresh MixW folder with Vavizorur.exe copied in
// and its settings written by the test, the stand-ins the test starts (each journaling what
// it receives), and the program itself. Everything started is ended at the end of the test
// through its own process handle, never by name. Every wait has an upper bound, reached only
// on failure, and re-checks its condition every 50 ms: nothing waits a fixed time.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace vav::e2e {

// Writes the value under HKCU\`path`, or deletes it when `value` is empty.
bool set_registry_text(const char* path, const char* name, const std::optional<std::string>& value);

// A file other processes write meanwhile: read whole while its writer keeps it open
// (nullopt when missing), or created with exactly `content`.
std::optional<std::string> read_shared(const std::string& path);
bool write_file(const std::string& path, const std::string& content);
// The complete lines of `text` (a last line without its line feed is left out), CR dropped.
std::vector<std::string> complete_lines(const std::string& text);
// How often `part` occurs in `text`; how many of `lines` contain `part`.
std::size_t occurrences(const std::string& text, const std::string& part);
std::size_t lines_containing(const std::vector<std::string>& lines, const std::string& part);

// One waiting QSO as the program's waiting file holds it: "N", the execute string's length
// in bytes, ":", the execute string, CR LF.
std::string waiting_entry(const std::string& execute);
// The execute string of a short RTTY QSO with `call`, as the program sends it to DXKeeper.
std::string rtty_qso(const std::string& call);

// A file held open by this process with no sharing at all (a backup tool, a virus
// scanner), as long as the object lives or until release().
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile() { release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  std::string content() const;  // read through the holding handle
  void release();

 private:
  HANDLE handle_;
};

// The top-level windows of another process, as a user sees them on the desktop.
struct TopWindow {
  HWND hwnd = nullptr;
  std::string caption;
  std::string class_name;
  bool visible = false;
};
std::vector<TopWindow> top_windows_of(DWORD process_id);
// The first visible top-level window of the process whose caption begins with `prefix`, or
// (class_name set) whose class is `class_name` ("#32770": a message box); nullptr if none.
HWND visible_window_captioned(DWORD process_id, const std::string& prefix,
                              const std::string& class_name = "");
std::string window_text(HWND hwnd);
// The texts of the window's children, in Z order (a message box's message and buttons).
std::vector<std::string> child_texts(HWND hwnd);
// "caption [class] (hidden)" per window, for failure messages.
std::string describe(const std::vector<TopWindow>& windows);

// The user's thousands and decimal separators (HKCU\Control Panel\International sThousand,
// sDecimal), which GetLocaleInfoA gives the programs started afterwards; put back at the end.
class ScopedNumberFormat {
 public:
  ScopedNumberFormat(const std::string& thousands, const std::string& decimal);
  ~ScopedNumberFormat();
  ScopedNumberFormat(const ScopedNumberFormat&) = delete;
  ScopedNumberFormat& operator=(const ScopedNumberFormat&) = delete;
  bool set() const { return set_; }  // whether both values were written

 private:
  std::optional<std::string> earlier_thousands_, earlier_decimal_;
  bool set_ = false;
};

// A stand-in's journal: one line per event, in the order they happened. The reader keeps a
// cursor, so a sequence of waits also checks the order of the lines.
class JournalFile {
 public:
  explicit JournalFile(std::string path) : path_(std::move(path)) {}
  std::vector<std::string> lines() const { return complete_lines(read_shared(path_).value_or("")); }
  // The first line at or after the cursor containing `text`, or nullopt; the cursor stays.
  std::optional<std::string> find(const std::string& text) const;
  // Whether any line, passed or not, contains `text`.
  bool has(const std::string& text) const;
  // Waits for a line after the cursor that contains `text` (await) or equals `line` byte for
  // byte (await_line) and moves the cursor past it. On failure the message holds the journal.
  ::testing::AssertionResult await(const std::string& text, DWORD limit = kDeadline);
  ::testing::AssertionResult await_line(const std::string& line, DWORD limit = kDeadline);
  std::string dump() const;  // for a failure message

 private:
  ::testing::AssertionResult await_match(const std::function<bool(const std::string&)>& match,
                                         const std::string& wanted, DWORD limit);
  std::string path_;
  std::size_t cursor_ = 0;
};

struct Standin {
  std::string name;  // as its control service and journal name it: "MixW", "Commander", ...
  std::unique_ptr<ChildProcess> process;
  JournalFile journal;
};

class StationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // --- the MixW folder ---
  const std::string& folder() const { return folder_; }
  std::string in_folder(const std::string& file) const { return folder_ + "\\" + file; }
  // Vavizorur.ini: the default settings with `changes` applied.
  void write_settings(std::map<std::string, std::string> changes);
  // The program's per-user debug switch, restored at the end of the test.
  void set_debug_mode(bool on);

  // --- the neighbours ---
  // Starts the stand-in and waits until its control topic answers.
  Standin& start_mixw(const std::string& options = "");
  Standin& start_dxlab(const std::string& program, const std::string& options = "");
  Standin& start_spotcollector();
  // One control command, accepted (the action itself follows; wait for its journal line).
  ::testing::AssertionResult control(const std::string& name, const std::string& command);

  // --- the program ---
  ChildProcess& start_program();
  ChildProcess& program() { return *program_; }
  // Waits for the visible main window (caption beginning "Vavizorur").
  ::testing::AssertionResult await_main_window(HWND& window, DWORD limit = kDeadline);
  // Starts the program and waits for its main window with `text` in the caption (the
  // programs it should have connected).
  ::testing::AssertionResult start_program_connected(HWND& window, const std::string& text);
  // Waits until the main window's caption contains `text`.
  ::testing::AssertionResult await_caption(HWND window, const std::string& text,
                                           DWORD limit = kDeadline);
  std::string error_log() const;
  // The program's windows, error log and the journals, for a failure message.
  std::string station_report() const;

 private:
  Standin& launch(const std::string& name, const std::string& exe, const std::string& arguments);

  std::string folder_;
  std::string journal_folder_;
  std::vector<std::unique_ptr<Standin>> standins_;
  std::unique_ptr<ChildProcess> program_;
  bool debug_mode_changed_ = false;
};

}  // namespace vav::e2e
