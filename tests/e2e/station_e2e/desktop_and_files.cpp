// The helpers of the station tests that read the desktop, files and the registry: waiting
// for a condition, shared reads of files other processes hold open, the windows of a
// process, the user's number format, child processes and the stand-ins' journals.
#include "station_e2e/station.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <utility>

namespace vav::e2e {
namespace {

constexpr char kInternational[] = "Control Panel\\International";

std::optional<std::string> registry_text(const char* name) {
  char value[80] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

}  // namespace

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

namespace {

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

std::string waiting_entry(const std::string& execute) {
  return "N" + std::to_string(execute.size()) + ":" + execute + "\r\n";
}

std::string rtty_qso(const std::string& call) {
  return "001log<CALL:" + std::to_string(call.size()) + ">" + call +
         " <RST_RCVD:3>599 <RST_SENT:3>599 <MODE:4>RTTY <QSO_DATE:8>20051126 "
         "<TIME_ON:6>120000 <TIME_OFF:6>120100 <EOR>";
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

std::string HeldFile::content() const {
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
  while (ReadFile(handle_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    text.append(buffer, got);
  }
  return text;
}

void HeldFile::release() {
  if (held()) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
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

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::size_t lines_containing(const std::vector<std::string>& lines, const std::string& part) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
    return l.find(part) != std::string::npos;
  }));
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

}  // namespace vav::e2e
