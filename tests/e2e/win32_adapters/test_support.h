#pragma once
// Helpers for the adapter tests under Wine: waiting on the real message loop with an upper
// bound (a failed expectation ends the wait, nothing sleeps a fixed time), and the peer
// program started beside the test binary.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/win32/win_event_loop.h"
#include "support/child_process.h"

namespace vav::e2e {

// Upper bound of every wait for another process or a message; reached only on failure.
constexpr DWORD kPatience = 15000;

// Pumps `loop` until `done` holds or `limit` ms pass; returns whether `done` held.
inline bool pump_until(win32::WinEventLoop& loop, const std::function<bool()>& done,
                       DWORD limit = kPatience) {
  return eventually(done, limit, [&loop] { loop.pump(); });
}

// The folder of the test binary, without a trailing "\".
std::string test_folder();

// Removes a WM_QUIT that a quit() left in this thread's queue, so later loops start clean.
void drain_quit();

// dde_peer.exe, started with `arguments`: a DDE server peer or a one-shot DDE client.
inline ChildProcess dde_peer(const std::string& arguments) {
  return ChildProcess(test_folder() + "\\dde_peer.exe", arguments, "", CREATE_NO_WINDOW);
}
// Its exit code once it has ended, `loop` pumped meanwhile; nullopt when it did not end.
inline std::optional<DWORD> wait_exit(ChildProcess& peer, win32::WinEventLoop& loop) {
  return peer.wait_exit(kPatience, [&loop] { loop.pump(); });
}

// A DDE server peer serving service|topic with one item; waits until it is registered.
class ServerPeer {
 public:
  ServerPeer(const std::string& service, const std::string& topic, const std::string& item);
  ~ServerPeer();
  bool ready() const { return ready_; }
  const std::string& log_path() const { return log_path_; }
  ChildProcess& process() { return *process_; }

 private:
  std::string log_path_;
  std::optional<ChildProcess> process_;
  bool ready_ = false;
};

std::string read_file(const std::string& path);

}  // namespace vav::e2e
