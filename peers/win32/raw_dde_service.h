#pragma once
// A DDE server on raw WM_DDE_* messages, as the classic programs wrote them: a hidden
// top-level window answers WM_DDE_INITIATE broadcasts for the service and its topics, and
// each conversation gets a window of its own. Hot and warm links (WM_DDE_ADVISE), requests
// and executes are served; pokes are refused. Text is ANSI CF_TEXT with its terminating zero.
//
// Protocol hazards kept here:
// - WM_DDE_ACK (except the initiate's), WM_DDE_ADVISE, WM_DDE_DATA and WM_DDE_POKE carry a
//   packed lParam: PackDDElParam/UnpackDDElParam/FreeDDElParam, never MAKELPARAM. On 64-bit
//   the packed value is a handle, and two 32-bit halves do not fit in it.
// - WM_DDE_INITIATE and its acknowledgement, WM_DDE_REQUEST, WM_DDE_UNADVISE,
//   WM_DDE_EXECUTE and WM_DDE_TERMINATE are not packed.
// - Who frees what: the server frees advise options it accepts; the client frees an
//   execute's command block once acknowledged, and data blocks sent with fRelease. A data
//   block sent with fAckReq and refused by the client is the server's to free again.
// - The initiate's acknowledgement carries new atoms (the client deletes them); the atoms of
//   the initiate itself belong to the client.
#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "peers/win32/dde_service.h"
#include "peers/win32/peer_window.h"

namespace vav::peers::win32 {

class RawDdeService final : public DdeService {
 public:
  RawDdeService(std::string service, std::vector<std::string> topics, ServedProgram& program);
  ~RawDdeService() override;

  void advise(const std::string& topic, const std::string& item) override;
  void close_conversations() override;
  void resume() override {}  // an unanswered execute stays unanswered
  bool acknowledge_late(std::uint32_t delay_ms) override;

 private:
  struct Link {
    std::string item;
    bool warm = false;     // fDeferUpd: a notice without data
    bool ack_req = false;  // fAckReq: the client acknowledges each data message
  };
  struct Conversation {
    std::string topic;
    HWND client = nullptr;
    std::vector<Link> links;
    std::deque<HGLOBAL> unacknowledged;  // data blocks sent with fAckReq, oldest first
    bool ending = false;                 // our WM_DDE_TERMINATE is out
    std::unique_ptr<PeerWindow> window;
  };
  struct LateAck {
    HWND conversation = nullptr;  // our window of it
    bool positive = false;
    UINT_PTR commands = 0;  // the execute's command block, named in the acknowledgement
    std::string line;       // "<topic> <command>", for the journal
    ULONGLONG due = 0;      // GetTickCount64
  };

  std::optional<LRESULT> on_listener(UINT msg, WPARAM wparam, LPARAM lparam);
  void on_initiate(HWND client, ATOM service, ATOM topic);
  std::optional<LRESULT> on_conversation(HWND self, UINT msg, WPARAM wparam, LPARAM lparam);
  void on_advise(Conversation& conv, LPARAM lparam);
  void on_unadvise(Conversation& conv, LPARAM lparam);
  void on_request(Conversation& conv, LPARAM lparam);
  void on_execute(Conversation& conv, LPARAM lparam);
  void on_poke(Conversation& conv, LPARAM lparam);
  void on_data_ack(Conversation& conv, LPARAM lparam);
  void on_terminate(Conversation& conv);
  void post_ack(const Conversation& conv, bool positive, UINT_PTR high);
  void send_data(Conversation& conv, const Link& link, const std::string& value, bool response);
  void end(Conversation& conv);
  void reap();
  void owe_ack(const Conversation& conv, bool positive, UINT_PTR commands,
               const std::string& command);
  void send_due_acks();
  void arm_ack_timer();

  std::string service_;
  std::vector<std::string> topics_;
  ServedProgram& program_;
  std::map<HWND, std::unique_ptr<Conversation>> conversations_;  // by our window
  std::uint32_t ack_delay_ms_ = 0;
  std::deque<LateAck> owed_acks_;         // oldest first
  std::unique_ptr<PeerWindow> listener_;  // last: destroyed first
};

}  // namespace vav::peers::win32
