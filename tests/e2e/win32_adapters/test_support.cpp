#include "test_support.h"

#include <fstream>
#include <sstream>

namespace vav::e2e {

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

ServerPeer::ServerPeer(const std::string& service, const std::string& topic,
                       const std::string& item) {
  static int serial = 0;
  std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  log_path_ = test_folder() + "\\peer-" + tag + ".log";
  DeleteFileA(log_path_.c_str());
  std::string event_name = "VavizorurE2EReady-" + tag;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, event_name.c_str());
  process_.emplace(test_folder() + "\\dde_peer.exe",
                   "serve " + service + " " + topic + " " + item + " \"" + log_path_ + "\" " +
                       event_name,
                   "", CREATE_NO_WINDOW);
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
