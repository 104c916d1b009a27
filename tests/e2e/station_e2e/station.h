#pragma once
// The station on one machine, for a test: a fresh MixW folder with Vavizorur.exe copied in
// and its settings written by the test, the stand-ins the test starts (each journaling what
// it receives), and the program itself. Everything started is ended at the end of the test
// through its own process handle.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "station_e2e/child_process.h"
#include "station_e2e/journal_file.h"

namespace vav::e2e {

// Vavizorur.exe: $VAV_E2E_PROGRAM, else beside the test binary, else in the build tree.
std::string program_exe();
// The stand-ins' folder: $VAV_E2E_STANDINS, else beside the test binary, else the build tree.
std::string standins_folder();

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
  void write_settings(const std::map<std::string, std::string>& changes);
  // The program's per-user debug switch, restored at the end of the test.
  void set_debug_mode(bool on);

  // --- the neighbours ---
  // Starts the stand-in and waits until its control topic answers.
  Standin& start_mixw(const std::string& options = "");
  Standin& start_dxlab(const std::string& program, const std::string& options = "");
  Standin& start_spotcollector();
  Standin& standin(const std::string& name);
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
  void end_standin(Standin& standin);

  std::string folder_;
  std::string journal_folder_;
  std::vector<std::unique_ptr<Standin>> standins_;
  std::unique_ptr<ChildProcess> program_;
  bool debug_mode_changed_ = false;
};

}  // namespace vav::e2e
