#pragma once
// The common services: the error log with its run header and caption note, the debug log,
// the main window's caption, the version, and the Windows name and build.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "errors/error_trap.h"
#include "errors/runtime_error.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/system.h"

namespace vav {

class LocaleInfo;

inline constexpr const char* kProductName = "Vavizorur";

class Common {
 public:
  Common(System& system, Files& files, Desktop& desktop, WindowFrame& frame, LocaleInfo& locale);

  // Start-up and close-down of the module.
  void Initialize();
  void Terminate();

  // Writes "program error <n> in module <procedure>: <standard description>" to the error
  // log. Numbers outside the 16-bit range are written as they are.
  void ReportError(int number, std::string_view procedure);
  void ReportError(const RuntimeError& error, std::string_view procedure);
  // Runs `body`, reporting what it throws under `procedure` ("Module.Procedure"): a
  // RuntimeError keeps its number and description, running out of memory is error 7,
  // anything else error 51.
  template <class Body>
  void reporting_errors(std::string_view procedure, Body&& body) {
    vav::reporting_errors(
        [this](const RuntimeError& e, std::string_view p) { ReportError(e, p); }, procedure,
        std::forward<Body>(body));
  }
  // Appends one error line, writing the run header first at the first error of the run.
  // Never throws; a log that cannot be written is skipped, and the header then waits for the
  // next error. An error raised while the line is being written (locale queries of the
  // header) is dropped rather than logged recursively.
  void LogError(std::string_view message);
  void NoteErrorInCaption();
  void RefreshCaption();
  // Appends one debug line; callers call it only while DebugMode is on.
  void DebugSettings(std::string_view key, std::string_view value);

  std::string Version() const;
  void GetOSVersion();
  std::string GetOSName() const { return os_name_; }
  std::uint32_t GetOSBuild() const { return os_build_; }

  // The global DebugMode switch.
  bool DebugMode = false;
  // Set with the first error of the run and kept until the program ends.
  bool ErrorNoted = false;
  // The connected programs' nicknames, supplied by the DDE client module.
  std::function<std::string()> connected_list;
  // A note that follows the version, ahead of the connected list and the error note, when
  // not empty (" - 3 waiting": the QSOs not yet in DXKeeper).
  std::function<std::string()> caption_note;

  std::string caption() const;
  // The folder the logs are written to (choose_data_folder); the program's by default.
  void set_data_folder(std::string folder) { data_folder_ = std::move(folder); }
  // Where the error log is written (the program's folder before Initialize has run).
  std::string error_log_path() const;
  std::string debug_log_path() const;

 private:
  std::string stamp(double date) const;
  std::string header(double now) const;
  std::string program_folder() const;
  std::string data_folder() const;
  // The run's start and the Windows name and build, for the header.
  void take_run_facts();
  void show_debug_failure(const std::string& description);

  System& system_;
  Files& files_;
  Desktop& desktop_;
  WindowFrame& frame_;
  LocaleInfo& locale_;
  std::string error_log_path_;
  std::string data_folder_;
  double run_start_ = 0;
  bool run_facts_taken_ = false;
  bool error_log_started_ = false;
  bool writing_error_log_ = false;
  std::string os_name_ = "Unknown";
  std::uint32_t os_build_ = 0;
};

}  // namespace vav
