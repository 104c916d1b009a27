#include "station_e2e/station.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "peers/win32/control_channel.h"
#include "peers/win32/ddeml_execute.h"
#include "station_e2e/desktop_windows.h"
#include "station_e2e/polling.h"
#include "station_e2e/text_file.h"

namespace vav::e2e {
namespace {

using peers::win32::ExecuteOutcome;

// A stand-in's first start in a fresh Wine prefix takes several seconds.
constexpr DWORD kStandinStartLimit = 30000;
constexpr DWORD kControlTimeoutMs = 5000;
constexpr DWORD kStandinExitLimit = 5000;
constexpr char kStoreKey[] = "Software\\VB and VBA Program Settings\\Vavizorur\\Settings";

// The settings file the program writes when it finds none, as key and value.
const std::vector<std::pair<std::string, std::string>>& default_settings() {
  static const std::vector<std::pair<std::string, std::string>> settings = {
      {"FrequencyControl", "MixW"},
      {"LoggedFrequency", "Actual"},
      {"RequestQSL", "False"},
      {"LookupPrev", "False"},
      {"SaveGrid", "False"},
      {"SaveIota", "False"},
      {"SaveCounty", "False"},
      {"TickleDXView", "False"},
      {"AlwaysOnTop", "False"},
      {"ShowContest", "False"},
      {"TicklePathfinder", "False"},
      {"RTTYRadioModeSetting", "0"},
      {"OptiumDigitalFreq", "1500"},
      {"TerminateApps", "False"},
      {"UseOptimal", "False"},
      {"ConnectCommander", "False"},
      {"ConnectDXKeeper", "False"},
      {"ConnectDXView", "False"},
      {"ConnectPathFinder", "False"},
      {"SendToeQSL", "False"},
      {"Top", "0"},
      {"Left", "0"},
      {"WindowState", "0"}};
  return settings;
}

// MixW's own settings as the program reads them: FSK keyed by the sound card.
constexpr char kMixwIni[] =
    "[Cat]\r\nm_iCWPitchHz=800\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=1\r\n"
    "DdeMhzFormat=0\r\nDdeCatFormat=0\r\nDdeKhzFormat=0\r\n";

std::string test_folder() {
  char path[MAX_PATH];
  const DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string text(path, got);
  return text.substr(0, text.find_last_of('\\'));
}

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A path from the environment; a Unix path (a script's) is reached through Wine's Z: drive.
std::string from_environment(const char* name) {
  char value[MAX_PATH * 2] = {};
  const DWORD got = GetEnvironmentVariableA(name, value, sizeof value);
  if (got == 0 || got >= sizeof value) return {};
  std::string path(value, got);
  if (path.front() == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  return path;
}

std::string first_existing(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    if (!candidate.empty() && exists(candidate)) return candidate;
  }
  return candidates.back();
}

// One folder per test and run: the test's name and this process's id.
std::string unique_folder_name() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      info ? std::string(info->test_suite_name()) + "-" + info->name() : "station";
  char temp[MAX_PATH];
  const DWORD got = GetTempPathA(MAX_PATH, temp);
  return std::string(temp, got) + "vav-" + name + "-" + std::to_string(GetCurrentProcessId());
}

}  // namespace

std::string program_exe() {
  const std::string folder = test_folder();
  return first_existing({from_environment("VAV_E2E_PROGRAM"), folder + "\\Vavizorur.exe",
                         folder + "\\" VAV_E2E_PROGRAM_FROM_TEST});
}

std::string standins_folder() {
  const std::string folder = test_folder();
  const std::string env = from_environment("VAV_E2E_STANDINS");
  if (!env.empty()) return env;
  if (exists(folder + "\\mixw_standin.exe")) return folder;
  return folder + "\\" VAV_E2E_STANDINS_FROM_TEST;
}

void StationTest::SetUp() {
  folder_ = unique_folder_name();
  journal_folder_ = in_folder("journals");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
  ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
  ASSERT_TRUE(CreateDirectoryA(journal_folder_.c_str(), nullptr)) << journal_folder_;
  const std::string exe = program_exe();
  ASSERT_TRUE(CopyFileA(exe.c_str(), in_folder("Vavizorur.exe").c_str(), FALSE))
      << "cannot copy " << exe << " (set VAV_E2E_PROGRAM)";
  ASSERT_TRUE(write_file(in_folder("Mixw2.ini"), kMixwIni));
}

void StationTest::TearDown() {
  if (HasFailure()) std::cout << station_report();
  if (program_) program_->terminate();
  for (auto& standin : standins_) end_standin(*standin);
  if (debug_mode_changed_) set_debug_mode(false);
  if (HasFailure()) {
    std::cout << "station folder kept: " << folder_ << "\n";
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void StationTest::write_settings(const std::map<std::string, std::string>& changes) {
  std::string content = "[Settings]\r\n";
  for (const auto& [key, value] : default_settings()) {
    const auto changed = changes.find(key);
    content += key + "=" + (changed == changes.end() ? value : changed->second) + "\r\n";
  }
  for (const auto& [key, value] : changes) {
    bool known = false;
    for (const auto& entry : default_settings()) known = known || entry.first == key;
    EXPECT_TRUE(known) << "not a settings key: " << key;
  }
  ASSERT_TRUE(write_file(in_folder("Vavizorur.ini"), content));
}

void StationTest::set_debug_mode(bool on) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (on) {
    static const char kTrue[] = "True";
    RegSetValueExA(key, "DebugMode", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTrue), sizeof kTrue);
    debug_mode_changed_ = true;
  } else {
    RegDeleteValueA(key, "DebugMode");
  }
  RegCloseKey(key);
}

Standin& StationTest::start_mixw(const std::string& options) {
  return launch("MixW", "mixw_standin.exe", options);
}

Standin& StationTest::start_dxlab(const std::string& program, const std::string& options) {
  return launch(program, "dxlab_standin.exe", program + (options.empty() ? "" : " " + options));
}

Standin& StationTest::start_spotcollector() {
  return launch("SpotCollector", "spotcollector_standin.exe", "");
}

Standin& StationTest::launch(const std::string& name, const std::string& exe,
                             const std::string& arguments) {
  const std::string path = standins_folder() + "\\" + exe;
  auto standin = std::make_unique<Standin>(Standin{
      name,
      std::make_unique<ChildProcess>(path, arguments + " --journal \"" + journal_folder_ + "\""),
      JournalFile(journal_folder_ + "\\" + name + ".journal")});
  EXPECT_TRUE(standin->process->started()) << "cannot start " << path << " (set VAV_E2E_STANDINS)";
  const std::string service = peers::win32::kControlServicePrefix + name;
  const bool answers = standin->process->started() &&
                       eventually(
                           [&] {
                             return !standin->process->running() ||
                                    peers::win32::execute_once(service, peers::win32::kControlTopic,
                                                               "ping", kControlTimeoutMs)
                                            .outcome == ExecuteOutcome::accepted;
                           },
                           kStandinStartLimit) &&
                       standin->process->running();
  EXPECT_TRUE(answers) << name << " does not answer on " << service << "|Control";
  standins_.push_back(std::move(standin));
  return *standins_.back();
}

Standin& StationTest::standin(const std::string& name) {
  for (auto& standin : standins_) {
    if (standin->name == name) return *standin;
  }
  throw std::logic_error("no stand-in " + name);
}

::testing::AssertionResult StationTest::control(const std::string& name,
                                                const std::string& command) {
  const auto result =
      peers::win32::execute_once(peers::win32::kControlServicePrefix + name,
                                 peers::win32::kControlTopic, command, kControlTimeoutMs);
  if (result.outcome == ExecuteOutcome::accepted) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << " did not accept '" << command
                                       << "': " << peers::win32::outcome_word(result.outcome);
}

void StationTest::end_standin(Standin& standin) {
  if (!standin.process->running()) return;
  // "exit" withdraws the stand-in's services and running objects properly; killing it could
  // leave its automation object registered for the next test.
  if (control(standin.name, "exit")) standin.process->wait_exit(kStandinExitLimit);
  standin.process->terminate();
}

ChildProcess& StationTest::start_program() {
  program_ = std::make_unique<ChildProcess>(in_folder("Vavizorur.exe"), "", folder_);
  EXPECT_TRUE(program_->started()) << "cannot start " << in_folder("Vavizorur.exe");
  return *program_;
}

::testing::AssertionResult StationTest::start_program_connected(HWND& window,
                                                               const std::string& text) {
  start_program();
  const auto shown = await_main_window(window);
  if (!shown) return shown;
  return await_caption(window, text);
}

::testing::AssertionResult StationTest::await_main_window(HWND& window, DWORD limit) {
  window = nullptr;
  if (!program_) return ::testing::AssertionFailure() << "the program was not started";
  eventually(
      [&] {
        window = visible_window_captioned(program_->id(), "Vavizorur");
        return window != nullptr || !program_->running();
      },
      limit);
  if (window) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no main window within " << limit << " ms; windows:\n"
                                       << describe(top_windows_of(program_->id()));
}

::testing::AssertionResult StationTest::await_caption(HWND window, const std::string& text,
                                                      DWORD limit) {
  std::string caption;
  if (eventually(
          [&] {
            caption = window_text(window);
            return caption.find(text) != std::string::npos;
          },
          limit)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "the caption \"" << caption << "\" lacks \"" << text << "\" after " << limit << " ms";
}

std::string StationTest::error_log() const {
  return read_shared(in_folder("ErrorLog.txt")).value_or("");
}

std::string StationTest::station_report() const {
  std::string out = "--- station in " + folder_ + "\n";
  if (program_ && program_->running()) {
    out += "program windows:\n" + describe(top_windows_of(program_->id()));
  }
  out += "ErrorLog.txt:\n" + error_log() + "\n";
  for (const auto& standin : standins_) {
    out += standin->name + ".journal:\n" + standin->journal.dump();
  }
  return out;
}

}  // namespace vav::e2e
