#include "test_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vav::e2e {
namespace {

constexpr DWORD kWaitSlice = 50;

}  // namespace

bool pump_until(win32::WinEventLoop& loop, const std::function<bool()>& done, DWORD limit) {
  const DWORD start = GetTickCount();
  for (;;) {
    loop.pump();
    if (done()) return true;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min(limit - elapsed, kWaitSlice), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

std::string test_folder() {
  char path[MAX_PATH];
  DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, got);
  return text.substr(0, text.find_last_of('\\'));
}

void drain_quit() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

PeerProcess::PeerProcess(const std::string& arguments) {
  std::string command = "\"" + test_folder() + "\\dde_peer.exe\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
}

PeerProcess::~PeerProcess() {
  if (!process_) return;
  kill();
  CloseHandle(process_);
}

void PeerProcess::kill() {
  if (!running()) return;
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, kPatience);
}

bool PeerProcess::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> PeerProcess::wait_exit(win32::WinEventLoop& loop, DWORD limit) {
  if (!process_) return std::nullopt;
  if (!pump_until(
          loop, [this] { return !running(); }, limit))
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

ServerPeer::ServerPeer(const std::string& service, const std::string& topic,
                       const std::string& item) {
  static int serial = 0;
  std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  log_path_ = test_folder() + "\\peer-" + tag + ".log";
  DeleteFileA(log_path_.c_str());
  std::string event_name = "VavizorurE2EReady-" + tag;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, event_name.c_str());
  process_.emplace("serve " + service + " " + topic + " " + item + " \"" + log_path_ + "\" " +
                   event_name);
  HANDLE waits[] = {event, nullptr};
  ready_ =
      process_->started() && WaitForMultipleObjects(1, waits, FALSE, kPatience) == WAIT_OBJECT_0;
  CloseHandle(event);
}

ServerPeer::~ServerPeer() {
  process_.reset();
  DeleteFileA(log_path_.c_str());
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace vav::e2e
