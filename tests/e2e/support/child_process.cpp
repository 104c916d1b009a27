#include "support/child_process.h"

#include <algorithm>

namespace vav::e2e {
namespace {

constexpr DWORD kWaitSlice = 50;

void dispatch_messages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

bool eventually(const std::function<bool()>& done, DWORD limit,
                const std::function<void()>& pump) {
  const DWORD start = GetTickCount();
  for (;;) {
    pump ? pump() : dispatch_messages();
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return false;
    // Wakes early for this thread's messages.
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min(limit - elapsed, kWaitSlice), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments,
                           const std::string& cwd, DWORD flags) {
  std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr,
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

std::optional<DWORD> ChildProcess::wait_exit(DWORD limit, const std::function<void()>& pump) {
  if (!process_ || !eventually([this] { return !running(); }, limit, pump)) return std::nullopt;
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
