#pragma once
// What every end-to-end test needs of another process: a program started and owned by the
// test, and a wait with an upper bound that keeps this thread's messages moving. Nothing
// waits a fixed time: a wait re-checks its condition at least every 50 ms.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace vav::e2e {

// Upper bound of a wait for another process to react; reached only on failure.
inline constexpr DWORD kDeadline = 20000;

// Re-checks `done` until it holds or `limit` ms pass; returns whether it held. Meanwhile
// `pump` runs (by default this thread's messages are dispatched).
bool eventually(const std::function<bool()>& done, DWORD limit = kDeadline,
                const std::function<void()>& pump = nullptr);

// A program started by a test and owned by it: ended at the latest when the object goes.
class ChildProcess {
 public:
  // Starts `exe` with `arguments` in the folder `cwd` (empty: the test's own); `flags` go to
  // CreateProcess (CREATE_NO_WINDOW for a helper without a console).
  ChildProcess(const std::string& exe, const std::string& arguments, const std::string& cwd = "",
               DWORD flags = 0);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  bool running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  // The exit code once the process has ended within `limit` ms, `pump` running meanwhile as
  // in eventually(); nullopt otherwise.
  std::optional<DWORD> wait_exit(DWORD limit, const std::function<void()>& pump = nullptr);
  // Ends the process as a crash or the Task Manager does (TerminateProcess) if it still
  // runs, and waits for it to be gone.
  void terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace vav::e2e
