#include "station_e2e/station.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>

#include "peers/win32/control_channel.h"
#include "peers/win32/ddeml_execute.h"

namespace vav::e2e {
namespace {

using peers::win32::ExecuteOutcome;

// A stand-in's first start in a fresh Wine prefix takes several seconds.
constexpr DWORD kStandinStartLimit = 30000;
constexpr DWORD kControlTimeoutMs = 5000;
constexpr DWORD kStandinExitLimit = 5000;
constexpr char kStoreKey[] = "Software\\VB and VBA Program Settings\\Vavizorur\\Settings";

// The settings file the program writes when it finds none, as "key=value" words.
constexpr char kDefaultSettings[] =
    "FrequencyControl=MixW LoggedFrequency=Actual RequestQSL=False LookupPrev=False "
    "SaveGrid=False SaveIota=False SaveCounty=False TickleDXView=False AlwaysOnTop=False "
    "ShowContest=False TicklePathfinder=False RTTYRadioModeSetting=0 OptiumDigitalFreq=1500 "
    "TerminateApps=False UseOptimal=False ConnectCommander=False ConnectDXKeeper=False "
    "ConnectDXView=False ConnectPathFinder=False SendToeQSL=False Top=0 Left=0 WindowState=0";

// MixW's own settings as the program reads them: FSK keyed by the sound card.
constexpr char kMixwIni[] =
    "[Cat]\r\nm_iCWPitchHz=800\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=1\r\n"
    "DdeMhzFormat=0\r\nDdeCatFormat=0\r\nDdeKhzFormat=0\r\n";

std::string test_folder() {
  char path[MAX_PATH];
  const std::string text(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
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
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
  return path;
}

// Vavizorur.exe: $VAV_E2E_PROGRAM, else beside the test binary, else in the build tree.
std::string program_exe() {
  const std::string env = from_environment("VAV_E2E_PROGRAM");
  if (!env.empty() && exists(env)) return env;
  if (exists(test_folder() + "\\Vavizorur.exe")) return test_folder() + "\\Vavizorur.exe";
  return test_folder() + "\\" VAV_E2E_PROGRAM_FROM_TEST;
}

// The stand-ins' folder: $VAV_E2E_STANDINS, else beside the test binary, else the build tree.
std::string standins_folder() {
  const std::string env = from_environment("VAV_E2E_STANDINS");
  if (!env.empty()) return env;
  if (exists(test_folder() + "\\mixw_standin.exe")) return test_folder();
  return test_folder() + "\\" VAV_E2E_STANDINS_FROM_TEST;
}

// One folder per test and run: the test's name and this process's id.
std::string unique_folder_name() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "-" + info->name() : "station";
  std::replace(name.begin(), name.end(), '/', '-');  // a parameterized test's "Suite/Case/0"
  char temp[MAX_PATH];
  const DWORD got = GetTempPathA(MAX_PATH, temp);
  return std::string(temp, got) + "vav-" + name + "-" + std::to_string(GetCurrentProcessId());
}

}  // namespace

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
  for (auto& standin : standins_) {
    // "exit" withdraws the stand-in's services and running objects properly; killing it
    // could leave its automation object registered for the next test.
    if (standin->process->running() && control(standin->name, "exit")) {
      standin->process->wait_exit(kStandinExitLimit);
    }
    standin->process->terminate();
  }
  if (debug_mode_changed_) set_debug_mode(false);
  if (HasFailure()) {
    std::cout << "station folder kept: " << folder_ << "\n";
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void StationTest::write_settings(std::map<std::string, std::string> changes) {
  std::string content = "[Settings]\r\n";
  std::istringstream defaults(kDefaultSettings);
  for (std::string entry; defaults >> entry;) {
    const std::string key = entry.substr(0, entry.find('='));
    const auto changed = changes.find(key);
    content += changed == changes.end() ? entry : key + "=" + changed->second;
    content += "\r\n";
    if (changed != changes.end()) changes.erase(changed);
  }
  for (const auto& [key, value] : changes) ADD_FAILURE() << "not a settings key: " << key;
  ASSERT_TRUE(write_file(in_folder("Vavizorur.ini"), content));
}

void StationTest::set_debug_mode(bool on) {
  ASSERT_TRUE(set_registry_text(kStoreKey, "DebugMode",
                                on ? std::optional<std::string>("True") : std::nullopt));
  debug_mode_changed_ = debug_mode_changed_ || on;
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

::testing::AssertionResult StationTest::control(const std::string& name,
                                                const std::string& command) {
  const auto result =
      peers::win32::execute_once(peers::win32::kControlServicePrefix + name,
                                 peers::win32::kControlTopic, command, kControlTimeoutMs);
  if (result.outcome == ExecuteOutcome::accepted) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << " did not accept '" << command
                                       << "': " << peers::win32::outcome_word(result.outcome);
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
