#pragma once
// A client conversation on raw WM_DDE_* messages, one message-only window per conversation,
// as the classic programs hold their links. Chosen over DDEML because Wine's DDEML allows one
// conversation per service|topic in an instance and never tells its client that the server
// ended the conversation; here the server's WM_DDE_TERMINATE arrives directly.
//
// Protocol hazards kept here:
// - WM_DDE_ACK (except the initiate's), WM_DDE_ADVISE, WM_DDE_DATA and WM_DDE_POKE carry a
//   packed lParam: always PackDDElParam/UnpackDDElParam/FreeDDElParam, never MAKELPARAM. On
//   64-bit the packed value is a handle, and two 32-bit halves do not fit in it.
// - WM_DDE_INITIATE and its acknowledgement, WM_DDE_REQUEST, WM_DDE_EXECUTE and
//   WM_DDE_TERMINATE are not packed.
// - Who frees what: the client frees its execute's command block after the acknowledgement,
//   its advise options after a negative acknowledgement, each data block whose fRelease is
//   set, and every atom it receives unless it sends it back in an acknowledgement.
// - An acknowledgement counts only when it matches the oldest open transaction (its command
//   block or item atom): Wine's DDEML server acknowledges a request's data once more, after
//   the data itself, and that stray ack must not complete the next execute.
// - The window is ANSI: a Unicode DDEML server then sees ANSI executes (Wine converts for a
//   Unicode window, and the bytes would arrive as UTF-16).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "platform/dde.h"
#include "platform/event_loop.h"
#include "platform/win32/message_window.h"

namespace vav::win32 {

class RawDdeConversation final : public DdeConversation {
 public:
  // Throws RuntimeError as Dde::open.
  static OpenedConversation open(EventLoop& loop, const LinkAddress& address, Millis timeout,
                                 LinkEvents events);

  RawDdeConversation(EventLoop& loop, Millis timeout, LinkEvents events);
  ~RawDdeConversation() override;

  void execute(std::string_view command) override;
  // A server that crashed or was killed never sends WM_DDE_TERMINATE; its window is gone.
  bool server_exists() const override;

 private:
  enum class Kind { advise, request, execute };
  enum class Outcome { acked, refused, data };
  struct Pending {
    std::uint64_t id;
    Kind kind;
    HGLOBAL memory;  // advise options or execute commands; null for a request
    ATOM item;       // the item of an advise or request; its answer carries it back
  };
  struct Reply {
    Outcome outcome;
    std::string value;
  };
  // What posted notices need; outlives the conversation only as long as a notice is queued.
  struct Notices {
    LinkEvents events;
    bool closed_reported = false;
  };

  void initiate(const LinkAddress& address);
  std::uint64_t post_transaction(Kind kind, UINT msg, HGLOBAL memory, ATOM item, LPARAM lparam);
  Reply await(std::uint64_t id);
  void start_link(const std::string& item);
  std::string request(const std::string& item);
  void terminate();

  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam, LPARAM lparam);
  void on_initiate_ack(HWND server, LPARAM lparam);
  void on_ack(LPARAM lparam);
  void on_data(LPARAM lparam);
  void on_terminate(HWND from);
  void complete_front(Outcome outcome, std::string value);
  void server_gone();

  EventLoop& loop_;
  Millis timeout_;
  std::shared_ptr<Notices> notices_;
  HWND server_ = nullptr;
  bool initiating_ = false;
  bool ended_ = false;           // the server terminated or vanished
  bool terminate_sent_ = false;  // we asked to end; the server's reply completes it
  std::deque<Pending> pending_;
  std::uint64_t next_id_ = 1;
  std::uint64_t awaited_ = 0;
  std::optional<Reply> reply_;
  std::unique_ptr<MessageWindow> window_;
};

}  // namespace vav::win32
