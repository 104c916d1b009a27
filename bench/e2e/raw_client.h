#pragma once
// The least a DDE client can do on raw WM_DDE_* messages, for the floor of the end-to-end
// benchmarks: one conversation on its own message-only window, an optional hot link whose
// values go to a callback, and executes posted without waiting for their acknowledgement
// (the acknowledgement is handled when it arrives and frees the command block).
//
// Protocol hazards: the acknowledgements, advises and data carry packed lParams
// (PackDDElParam/UnpackDDElParam/FreeDDElParam); the initiate's acknowledgement does not.
#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "peers/win32/peer_window.h"

namespace vav::bench {

class RawClient {
 public:
  using OnData = std::function<void(const std::string& value)>;

  // Connects to service|topic; ok() tells whether a server answered.
  RawClient(const std::string& service, const std::string& topic);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool ok() const { return server_ != nullptr; }
  // Starts a hot link with flow control (the client acknowledges each value), as the
  // program's links do. The values arrive through the message loop.
  void advise(const std::string& item, OnData on_data);
  // Posts the execute; returns false when it could not be posted.
  bool execute(const std::string& command);

 private:
  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam, LPARAM lparam);
  void on_data(LPARAM lparam);
  void on_ack(LPARAM lparam);

  HWND server_ = nullptr;
  std::set<HGLOBAL> executes_;  // command blocks not yet acknowledged
  bool initiating_ = false;
  OnData on_data_;
  peers::win32::PeerWindow window_;
};

}  // namespace vav::bench
