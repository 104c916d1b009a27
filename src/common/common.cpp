#include "common/common.h"

#include <new>
#include <utility>

#include "common/locale_info.h"
#include "errors/error_trap.h"

#ifndef VAV_VERSION
#error "VAV_VERSION must be defined by the build"
#endif

namespace vav {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string two_digits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

std::string four_digits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 4 ? std::string(4 - text.size(), '0') + text : text;
}

// The Windows name of a version, or "unknown" for a combination the table does not know.
std::string windows_name(const OsVersion& v) {
  if (v.platform_id == 1) {
    if (v.minor == 0) return "Windows 95";
    if (v.minor == 10) return "Windows 98";
    if (v.minor == 90) return "Windows Millennium";
    return "unknown";
  }
  if (v.platform_id != 2) return "unknown";
  if (v.major == 3) return "Windows NT 3.51";
  if (v.major == 4) return "Windows NT 4.0";
  if (v.major == 5 && v.minor == 0) return "Windows 2000";
  if (v.major == 5 && v.minor == 1) return "Windows XP";
  if (v.major == 5 && v.minor == 2) return "Windows Server 2003";
  if (v.major == 6 && v.minor == 0) return "Windows Vista";
  if (v.major == 6 && v.minor == 1) return "Windows 7";
  if (v.major == 6 && v.minor == 2) return "Windows 8";
  if (v.major == 6 && v.minor == 3) return "Windows 8.1";
  if (v.major == 10 && v.minor == 0) return v.build < 22000 ? "Windows 10" : "Windows 11";
  return "unknown";
}

}  // namespace

Common::Common(System& system, Files& files, Desktop& desktop, WindowFrame& frame,
               LocaleInfo& locale)
    : system_(system), files_(files), desktop_(desktop), frame_(frame), locale_(locale) {}

void Common::Initialize() {
  // A header written before start-up got here (an error while the settings file was
  // created) stays the run's only one, and the shutdown line still closes the run.
  os_name_ = "Unknown";
  reporting_errors("Common.Initialize", [this] {
    error_log_path_ = data_folder() + "\\ErrorLog.txt";
    take_run_facts();
  });
}

void Common::take_run_facts() {
  run_start_ = utc::CurrentTime(system_);
  run_facts_taken_ = true;
  GetOSVersion();
}

void Common::Terminate() {
  reporting_errors("Common.Terminate", [this] {
    if (error_log_started_) LogError(std::string(kProductName) + " shutdown");
  });
}

void Common::ReportError(int number, std::string_view procedure) {
  // Reporting must never fail.
  passing_over_errors([&] { ReportError(RuntimeError(number), procedure); });
}

void Common::ReportError(const RuntimeError& error, std::string_view procedure) {
  // Reporting must never fail.
  passing_over_errors([&] {
    std::string message = "program error " + std::to_string(error.number()) + " in module ";
    message.append(procedure);
    message += ": " + error.description();
    LogError(message);
  });
}

std::string Common::stamp(double date) const {
  const CivilDateTime c = civil_from_date_value(date);
  return two_digits(c.day) + "-" + locale_.month_abbreviation(c.month) + "-" + four_digits(c.year) +
         " " + two_digits(c.hour) + ":" + two_digits(c.minute) + ":" + two_digits(c.second);
}

std::string Common::header(double start) const {
  const std::string lines[] = {
      std::string(kProductName) + " version " + Version(),
      "App.Path        : " + program_folder(),
      "App.exe         : " + system_.exe_name(),
      "Operating System: " + os_name_ + " build " + std::to_string(os_build_),
      "Country         : " + locale_.GetLocaleCountry(),
      "Language        : " + locale_.GetLocaleLanguage(),
  };
  std::string text;
  for (const std::string& line : lines) text += stamp(start) + " > " + line + kCrLf;
  return text;
}

void Common::LogError(std::string_view message) {
  if (writing_error_log_) return;
  writing_error_log_ = true;
  // A log that cannot be written is skipped.
  passing_over_errors([&] {
    std::string text;
    if (!error_log_started_) {
      // The first error may come before Initialize: the header still tells the run's start
      // and the Windows build.
      if (!run_facts_taken_) take_run_facts();
      text = header(run_start_);
    }
    text += stamp(utc::CurrentTime(system_)) + " > ";
    text.append(message);
    text += kCrLf;
    files_.append(error_log_path(), text);
    if (!error_log_started_) {
      error_log_started_ = true;
      NoteErrorInCaption();
    }
  });
  writing_error_log_ = false;
}

void Common::NoteErrorInCaption() {
  ErrorNoted = true;
  RefreshCaption();
}

void Common::RefreshCaption() {
  // The caption is informative only.
  passing_over_errors([this] { frame_.set_caption(caption()); });
}

std::string Common::caption() const {
  std::string text = std::string(kProductName) + " " + Version();
  // The note stands right after the version: the window is narrow, and the connected list
  // and the error log's path would push it out of sight.
  if (caption_note) text += caption_note();
  const std::string list = connected_list ? connected_list() : std::string();
  if (!list.empty()) text += " {" + list + "}";
  if (ErrorNoted) text += " - see ErrorLog in " + data_folder() + "/ErrorLog.txt";
  return text;
}

void Common::DebugSettings(std::string_view key, std::string_view value) {
  // A debug line that cannot be written is shown to the user instead of logged.
  const auto show = [this](const RuntimeError& e, std::string_view) {
    show_debug_failure(e.description());
  };
  vav::reporting_errors(show, "Common.DebugSettings", [&] {
    std::string line = system_.local_time_text() + "  -  ";
    line.append(key);
    line += " = ";
    line.append(value);
    line += kCrLf;
    files_.append(debug_log_path(), line);
  });
}

void Common::show_debug_failure(const std::string& description) {
  // The entry is lost; the caller goes on.
  passing_over_errors([&] { desktop_.message_box(description + " Debug Settings", kProductName); });
}

std::string Common::Version() const { return VAV_VERSION; }

void Common::GetOSVersion() {
  reporting_errors("Common.GetOSVersion", [this] {
    const OsVersion version = system_.os_version();
    os_build_ = version.build;
    os_name_ = windows_name(version);
  });
}

std::string Common::error_log_path() const {
  return error_log_path_.empty() ? program_folder() + "\\ErrorLog.txt" : error_log_path_;
}

std::string Common::program_folder() const {
  return passing_over_errors(std::string(), [this] { return system_.program_folder(); });
}

std::string Common::debug_log_path() const { return data_folder() + "\\VavizorurDebug.txt"; }

std::string Common::data_folder() const {
  return data_folder_.empty() ? program_folder() : data_folder_;
}

}  // namespace vav
