#include "station_e2e/child_process.h"

#include "station_e2e/polling.h"

namespace vav::e2e {

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

bool ChildProcess::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
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

}  // namespace vav::e2e
