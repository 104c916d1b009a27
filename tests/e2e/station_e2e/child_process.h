#pragma once
// A program started by a test and owned by it: ended through its own process handle at the
// latest when the object goes, never by name.
#include <windows.h>

#include <optional>
#include <string>

namespace vav::e2e {

class ChildProcess {
 public:
  // Starts `exe` with `arguments` in the folder `cwd` (empty: the test's own).
  ChildProcess(const std::string& exe, const std::string& arguments, const std::string& cwd = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  bool running() const;
  // The exit code once the process has ended within `limit` ms; nullopt otherwise.
  std::optional<DWORD> wait_exit(DWORD limit);
  // Ends the process if it still runs and waits for it to be gone.
  void terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace vav::e2e
