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
constexpr char kInternational[] = "Control Panel\\International";

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
  const std::string name =
      info ? std::string(info->test_suite_name()) + "-" + info->name() : "station";
  char temp[MAX_PATH];
  const DWORD got = GetTempPathA(MAX_PATH, temp);
  return std::string(temp, got) + "vav-" + name + "-" + std::to_string(GetCurrentProcessId());
}

std::optional<std::string> registry_text(const char* name) {
  char value[80] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

// Writes the value under HKCU\`path`, or deletes it when `value` is empty.
bool set_registry_text(const char* path, const char* name,
                       const std::optional<std::string>& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status = ERROR_SUCCESS;
  if (value) {
    status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                            static_cast<DWORD>(value->size() + 1));
  } else {
    RegDeleteValueA(key, name);
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

BOOL CALLBACK collect_top(HWND hwnd, LPARAM context) {
  auto* search = reinterpret_cast<std::pair<DWORD, std::vector<TopWindow>>*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->first) return TRUE;
  char class_name[256] = {};
  GetClassNameA(hwnd, class_name, sizeof class_name);
  search->second.push_back({hwnd, window_text(hwnd), class_name, IsWindowVisible(hwnd) != FALSE});
  return TRUE;
}

BOOL CALLBACK collect_child_text(HWND hwnd, LPARAM context) {
  reinterpret_cast<std::vector<std::string>*>(context)->push_back(window_text(hwnd));
  return TRUE;
}

}  // namespace

bool eventually(const std::function<bool()>& done, DWORD limit) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return false;
    // Wakes early for this thread's messages, which it dispatches.
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(limit - elapsed, 50), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

std::optional<std::string> read_shared(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

bool write_file(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
      written == content.size();
  CloseHandle(file);
  return ok;
}

std::vector<std::string> complete_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<TopWindow> top_windows_of(DWORD process_id) {
  std::pair<DWORD, std::vector<TopWindow>> search{process_id, {}};
  EnumWindows(&collect_top, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND visible_window_captioned(DWORD process_id, const std::string& prefix,
                              const std::string& class_name) {
  for (const TopWindow& w : top_windows_of(process_id)) {
    if (w.visible &&
        (class_name.empty() ? w.caption.rfind(prefix, 0) == 0 : w.class_name == class_name)) {
      return w.hwnd;
    }
  }
  return nullptr;
}

std::string window_text(HWND hwnd) {
  // WM_GETTEXT crosses the process boundary; a hung window would block for ever, hence the
  // time-out.
  char text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

std::vector<std::string> child_texts(HWND hwnd) {
  std::vector<std::string> texts;
  EnumChildWindows(hwnd, &collect_child_text, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

std::string describe(const std::vector<TopWindow>& windows) {
  std::string out;
  for (const TopWindow& w : windows) {
    out += "  \"" + w.caption + "\" [" + w.class_name + "]" + (w.visible ? "" : " (hidden)") + "\n";
  }
  return out.empty() ? "  (no windows)\n" : out;
}

ScopedNumberFormat::ScopedNumberFormat(const std::string& thousands, const std::string& decimal)
    : earlier_thousands_(registry_text("sThousand")), earlier_decimal_(registry_text("sDecimal")) {
  set_ = set_registry_text(kInternational, "sThousand", thousands) &&
         set_registry_text(kInternational, "sDecimal", decimal);
}

ScopedNumberFormat::~ScopedNumberFormat() {
  set_registry_text(kInternational, "sThousand", earlier_thousands_);
  set_registry_text(kInternational, "sDecimal", earlier_decimal_);
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments,
                           const std::string& cwd) {
  std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     cwd.empty() ? nullptr : cwd.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() {
  terminate();
  if (process_) CloseHandle(process_);
}

std::optional<DWORD> ChildProcess::wait_exit(DWORD limit) {
  if (!process_ || !eventually([this] { return !running(); }, limit)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ChildProcess::terminate() {
  if (!running()) return;
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, kDeadline);
}

std::optional<std::string> JournalFile::find(const std::string& text) const {
  const std::vector<std::string> all = lines();
  for (std::size_t i = cursor_; i < all.size(); ++i) {
    if (all[i].find(text) != std::string::npos) return all[i];
  }
  return std::nullopt;
}

bool JournalFile::has(const std::string& text) const {
  for (const std::string& line : lines()) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

::testing::AssertionResult JournalFile::await(const std::string& text, DWORD limit) {
  return await_match(
      [&text](const std::string& line) { return line.find(text) != std::string::npos; },
      "a line containing '" + text + "'", limit);
}

::testing::AssertionResult JournalFile::await_line(const std::string& line, DWORD limit) {
  return await_match([&line](const std::string& candidate) { return candidate == line; },
                     "the line '" + line + "'", limit);
}

::testing::AssertionResult JournalFile::await_match(
    const std::function<bool(const std::string&)>& match, const std::string& wanted, DWORD limit) {
  std::optional<std::size_t> found;
  eventually(
      [&] {
        const std::vector<std::string> all = lines();
        for (std::size_t i = cursor_; i < all.size() && !found; ++i) {
          if (match(all[i])) found = i;
        }
        return found.has_value();
      },
      limit);
  if (!found) {
    return ::testing::AssertionFailure() << "no " << wanted << " after line " << cursor_ << " of "
                                         << path_ << " within " << limit << " ms\n"
                                         << dump();
  }
  cursor_ = *found + 1;
  return ::testing::AssertionSuccess();
}

std::string JournalFile::dump() const {
  std::string out;
  const std::vector<std::string> all = lines();
  std::size_t polls = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    // The program reads MixW's state every 500 ms: those lines are only counted.
    if (all[i].rfind("automation get ", 0) == 0) {
      ++polls;
      continue;
    }
    // ">" marks the lines not yet passed by a wait.
    out += "  " + std::to_string(i) + (i < cursor_ ? "  " : "> ") + all[i] + "\n";
  }
  if (polls > 0) out += "  (and " + std::to_string(polls) + " \"automation get\" lines)\n";
  return all.empty() ? "  (empty or missing)\n" : out;
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
