#pragma once
// Helpers for the adapter tests under Wine: waiting on the real message loop with an upper
// bound (a failed expectation ends the wait, nothing sleeps a fixed time), and the peer
// program started beside the test binary.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/win32/win_event_loop.h"

namespace vav::e2e {

// Upper bound of every wait for another process or a message; reached only on failure.
constexpr DWORD kPatience = 15000;

// Pumps `loop` until `done` holds or `limit` ms pass; returns whether `done` held.
bool pump_until(win32::WinEventLoop& loop, const std::function<bool()>& done,
                DWORD limit = kPatience);

// The folder of the test binary, without a trailing "\".
std::string test_folder();

// Removes a WM_QUIT that a quit() left in this thread's queue, so later loops start clean.
void drain_quit();

// dde_peer.exe, started with `arguments`; killed at destruction if still running.
class PeerProcess {
 public:
  explicit PeerProcess(const std::string& arguments);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  // Pumps `loop` while waiting; nullopt when the process did not end in time.
  std::optional<DWORD> wait_exit(win32::WinEventLoop& loop, DWORD limit = kPatience);
  bool running() const;
  // Ends it as a crash or the Task Manager does (TerminateProcess) and waits for the end.
  void kill();

 private:
  HANDLE process_ = nullptr;
};

// A DDE server peer serving service|topic with one item; waits until it is registered.
class ServerPeer {
 public:
  ServerPeer(const std::string& service, const std::string& topic, const std::string& item);
  ~ServerPeer();
  bool ready() const { return ready_; }
  const std::string& log_path() const { return log_path_; }
  PeerProcess& process() { return *process_; }

 private:
  std::string log_path_;
  std::optional<PeerProcess> process_;
  bool ready_ = false;
};

std::string read_file(const std::string& path);

}  // namespace vav::e2e
