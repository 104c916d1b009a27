#include "platform/win32/raw_dde_conversation.h"

#include <dde.h>

#include <algorithm>
#include <cstring>

#include "errors/error_trap.h"
#include "errors/runtime_error.h"
#include "platform/win32/win_handles.h"

namespace vav::win32 {

namespace {

// How long the initiate broadcast waits for any one window to answer.
constexpr UINT kInitiateWaitPerWindowMs = 250;

constexpr WORD kAckPositive = 0x8000;  // DDEACK.fAck
constexpr WORD kAckBusy = 0x4000;      // DDEACK.fBusy
// Longest wait for the server's WM_DDE_TERMINATE reply when the program ends a conversation.
constexpr Millis kTerminateReplyTimeout = 1000;
// A wait for an answer sleeps in slices of at most this long between looks at the queue.
constexpr DWORD kWaitSlice = 50;

std::string cf_text_of(HGLOBAL memory, bool* ack_requested, bool* release, bool* response) {
  GlobalLock lock(memory);
  *ack_requested = *release = *response = false;
  if (!lock.data() || lock.size() < offsetof(DDEDATA, Value)) return {};
  DDEDATA header;
  std::memcpy(&header, lock.data(), offsetof(DDEDATA, Value));
  *ack_requested = header.fAckReq;
  *release = header.fRelease;
  *response = header.fResponse;
  if (header.cfFormat != CF_TEXT) return {};
  const char* text = static_cast<const char*>(lock.data()) + offsetof(DDEDATA, Value);
  std::size_t room = lock.size() - offsetof(DDEDATA, Value);
  return std::string(text, strnlen(text, room));  // CF_TEXT ends with a zero: strip it
}

}  // namespace

OpenedConversation RawDdeConversation::open(EventLoop& loop, const LinkAddress& address,
                                            Millis timeout, LinkEvents events) {
  auto conversation = std::make_unique<RawDdeConversation>(loop, timeout, std::move(events));
  conversation->initiate(address);
  conversation->start_link(address.item);
  std::string value = conversation->request(address.item);
  return OpenedConversation{std::move(conversation), std::move(value)};
}

RawDdeConversation::RawDdeConversation(EventLoop& loop, Millis timeout, LinkEvents events)
    : loop_(loop),
      timeout_(timeout),
      notices_(std::make_shared<Notices>(Notices{std::move(events)})),
      window_(std::make_unique<MessageWindow>(
          [this](UINT msg, WPARAM wparam, LPARAM lparam) {
            return on_message(msg, wparam, lparam);
          },
          loop.boundary())) {}

RawDdeConversation::~RawDdeConversation() {
  notices_->events = {};  // no notice for an end the program asked for
  // The conversation goes whether or not the server takes the terminate.
  passing_over_errors([this] { terminate(); });
  window_.reset();
}

void RawDdeConversation::initiate(const LinkAddress& address) {
  ScopedAtom service(GlobalAddAtomA(address.service.c_str()));
  ScopedAtom topic(GlobalAddAtomA(address.topic.c_str()));
  // Every server that answers acknowledges with a sent WM_DDE_ACK while this broadcast is
  // still going on; the first one is kept, the others are told to terminate.
  //
  // Hazard: the broadcast waits for each top-level window in turn. A DDEML client that is
  // itself waiting for this program's answer to an execute (SpotCollector handing over a
  // spot) does not handle a sent initiate until its own wait ends, so a long per-window
  // wait deadlocks the two programs until one side's time-out. A server answers an initiate
  // at once or not at all, so each window gets a short wait, never the whole link time-out.
  initiating_ = true;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window_->hwnd()),
                      MAKELPARAM(service.get(), topic.get()), SMTO_ABORTIFHUNG,
                      std::min<UINT>(timeout_, kInitiateWaitPerWindowMs), &ignored);
  initiating_ = false;
  if (!server_) throw RuntimeError(err::kNoDdeResponse);
}

std::uint64_t RawDdeConversation::post_transaction(Kind kind, UINT msg, HGLOBAL memory, ATOM item,
                                                   LPARAM lparam) {
  if (ended_ || !IsWindow(server_)) {
    server_gone();
    throw RuntimeError(err::kDdeNoChannel);
  }
  if (!PostMessageA(server_, msg, reinterpret_cast<WPARAM>(window_->hwnd()), lparam)) {
    server_gone();
    throw RuntimeError(err::kDdeNoChannel);
  }
  std::uint64_t id = next_id_++;
  pending_.push_back(Pending{id, kind, memory, item});
  return id;
}

// Waits for one answer, dispatching only this conversation's DDE messages: other tasks and
// timers do not run meanwhile (sent messages from other programs still arrive, as in every
// Windows wait). An execute that times out stays pending: its late answer is consumed, its
// memory freed, and the owner told through on_late_answer.
RawDdeConversation::Reply RawDdeConversation::await(std::uint64_t id) {
  awaited_ = id;
  reply_.reset();
  const DWORD start = timeGetTime();
  for (;;) {
    MSG msg;
    while (!reply_ && !ended_ &&
           PeekMessageA(&msg, window_->hwnd(), WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) {
      DispatchMessageA(&msg);
    }
    if (reply_) break;
    if (ended_) {
      // The server ended the conversation after the transaction was posted: it may have run
      // it, as after a time-out, so the caller must not take it as refused.
      awaited_ = 0;
      throw RuntimeError(err::kDdeTimeout);
    }
    DWORD elapsed = timeGetTime() - start;
    if (elapsed >= timeout_) {
      awaited_ = 0;
      throw RuntimeError(err::kDdeTimeout);
    }
    DWORD wait = std::min<DWORD>(timeout_ - elapsed, kWaitSlice);
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_POSTMESSAGE | QS_SENDMESSAGE, 0);
  }
  awaited_ = 0;
  Reply reply = std::move(*reply_);
  reply_.reset();
  return reply;
}

void RawDdeConversation::start_link(const std::string& item) {
  ScopedGlobal options(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEADVISE)));
  if (!options) throw RuntimeError(err::kAutomationError);
  {
    GlobalLock lock(options.get());
    DDEADVISE advise{};
    advise.fAckReq = 1;    // flow control: the server waits for our ack of each value
    advise.fDeferUpd = 0;  // hot link: the values themselves, not notices
    advise.cfFormat = CF_TEXT;
    std::memcpy(lock.data(), &advise, sizeof(advise));
  }
  ScopedAtom atom(GlobalAddAtomA(item.c_str()));
  LPARAM lparam =
      PackDDElParam(WM_DDE_ADVISE, reinterpret_cast<UINT_PTR>(options.get()), atom.get());
  std::uint64_t id;
  {
    const UndoOnFailure free_lparam([&] { FreeDDElParam(WM_DDE_ADVISE, lparam); });
    id = post_transaction(Kind::advise, WM_DDE_ADVISE, options.get(), atom.get(), lparam);
  }
  options.release();  // freed by the server on a positive ack, by on_ack otherwise
  atom.release();     // comes back in the ack
  if (await(id).outcome != Outcome::acked) throw RuntimeError(err::kDdeRefused);
}

std::string RawDdeConversation::request(const std::string& item) {
  ScopedAtom atom(GlobalAddAtomA(item.c_str()));
  std::uint64_t id = post_transaction(Kind::request, WM_DDE_REQUEST, nullptr, atom.get(),
                                      MAKELPARAM(CF_TEXT, atom.get()));
  atom.release();  // comes back in the data or the negative ack
  Reply reply = await(id);
  if (reply.outcome != Outcome::data) throw RuntimeError(err::kDdeRefused);
  return reply.value;
}

void RawDdeConversation::execute(std::string_view command) {
  ScopedGlobal commands(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, command.size() + 1));
  if (!commands) throw RuntimeError(err::kDdeRefused);
  {
    GlobalLock lock(commands.get());
    std::memcpy(lock.data(), command.data(), command.size());
    static_cast<char*>(lock.data())[command.size()] = '\0';
  }
  std::uint64_t id = post_transaction(Kind::execute, WM_DDE_EXECUTE, commands.get(), 0,
                                      reinterpret_cast<LPARAM>(commands.get()));
  commands.release();  // freed by on_ack when the server answers
  if (await(id).outcome != Outcome::acked) throw RuntimeError(err::kDdeRefused);
}

bool RawDdeConversation::server_exists() const {
  return !ended_ && server_ != nullptr && IsWindow(server_);
}

void RawDdeConversation::terminate() {
  if (!server_ || ended_ || terminate_sent_) return;
  terminate_sent_ = true;
  if (!PostMessageA(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_->hwnd()), 0)) {
    return;
  }
  // The server answers with its own WM_DDE_TERMINATE; until then it may still post data,
  // which on_data frees.
  const DWORD start = timeGetTime();
  while (!ended_ && IsWindow(server_)) {
    MSG msg;
    if (PeekMessageA(&msg, window_->hwnd(), WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) {
      DispatchMessageA(&msg);
      continue;
    }
    DWORD elapsed = timeGetTime() - start;
    if (elapsed >= kTerminateReplyTimeout) return;  // a hung server keeps what it holds
    MsgWaitForMultipleObjectsEx(0, nullptr,
                                std::min<DWORD>(kTerminateReplyTimeout - elapsed, kWaitSlice),
                                QS_POSTMESSAGE | QS_SENDMESSAGE, 0);
  }
  // The server has finished with the conversation: what it never answered is ours again.
  for (const Pending& pending : pending_) {
    if (pending.memory) GlobalFree(pending.memory);
  }
  pending_.clear();
}

std::optional<LRESULT> RawDdeConversation::on_message(UINT msg, WPARAM wparam, LPARAM lparam) {
  HWND from = reinterpret_cast<HWND>(wparam);
  switch (msg) {
    case WM_DDE_ACK:
      if (initiating_) {
        on_initiate_ack(from, lparam);
      } else if (from == server_) {
        on_ack(lparam);
      } else {
        FreeDDElParam(WM_DDE_ACK, lparam);  // a stranger's ack: not ours to act on
      }
      return 0;
    case WM_DDE_DATA:
      if (from == server_) {
        on_data(lparam);
      } else {
        FreeDDElParam(WM_DDE_DATA, lparam);
      }
      return 0;
    case WM_DDE_TERMINATE:
      on_terminate(from);
      return 0;
    default:
      return std::nullopt;
  }
}

void RawDdeConversation::on_initiate_ack(HWND server, LPARAM lparam) {
  GlobalDeleteAtom(LOWORD(lparam));
  GlobalDeleteAtom(HIWORD(lparam));
  if (server_) {
    // A second server for the same service|topic: one conversation is enough.
    PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_->hwnd()), 0);
    return;
  }
  server_ = server;
}

void RawDdeConversation::on_ack(LPARAM lparam) {
  UINT_PTR low = 0, high = 0;
  UnpackDDElParam(WM_DDE_ACK, lparam, &low, &high);
  FreeDDElParam(WM_DDE_ACK, lparam);
  if (pending_.empty()) return;
  const Pending front = pending_.front();
  const bool positive = (low & kAckPositive) != 0 && (low & kAckBusy) == 0;
  const bool answers_front =
      front.kind == Kind::execute
          ? reinterpret_cast<HGLOBAL>(high) == front.memory
          : static_cast<ATOM>(high) == front.item && (front.kind == Kind::advise || !positive);
  if (!answers_front) return;  // a stray: its atom may be the server's own, so keep it
  if (front.kind == Kind::execute) {
    GlobalFree(reinterpret_cast<HGLOBAL>(high));  // the command block, both ways
  } else {
    GlobalDeleteAtom(static_cast<ATOM>(high));
    if (front.kind == Kind::advise && !positive) GlobalFree(front.memory);
  }
  complete_front(positive ? Outcome::acked : Outcome::refused, {});
}

void RawDdeConversation::on_data(LPARAM lparam) {
  UINT_PTR low = 0, high = 0;
  UnpackDDElParam(WM_DDE_DATA, lparam, &low, &high);
  FreeDDElParam(WM_DDE_DATA, lparam);
  auto memory = reinterpret_cast<HGLOBAL>(low);
  auto atom = static_cast<ATOM>(high);
  bool ack_requested = false, release = false, response = false;
  std::string value = cf_text_of(memory, &ack_requested, &release, &response);
  if (memory && release) GlobalFree(memory);  // we always answer positively
  if (ack_requested && !ended_ && !terminate_sent_) {
    LPARAM ack = PackDDElParam(WM_DDE_ACK, kAckPositive, atom);
    if (!PostMessageA(server_, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_->hwnd()), ack)) {
      FreeDDElParam(WM_DDE_ACK, ack);
      GlobalDeleteAtom(atom);
    }
  } else {
    GlobalDeleteAtom(atom);
  }
  if (response && !pending_.empty() && pending_.front().kind == Kind::request) {
    complete_front(Outcome::data, std::move(value));
    return;
  }
  if (terminate_sent_) return;
  std::weak_ptr<Notices> notices = notices_;
  loop_.post([notices, value = std::move(value)] {
    auto alive = notices.lock();
    if (alive && alive->events.on_data) alive->events.on_data(value);
  });
}

void RawDdeConversation::on_terminate(HWND from) {
  if (from != server_ || ended_) return;
  ended_ = true;
  if (terminate_sent_) return;  // the reply to our own terminate
  PostMessageA(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_->hwnd()), 0);
  server_gone();
}

void RawDdeConversation::complete_front(Outcome outcome, std::string value) {
  const Pending front = pending_.front();
  pending_.pop_front();
  if (front.id == awaited_) {
    reply_ = Reply{outcome, std::move(value)};
    return;
  }
  // An execute whose wait timed out: a busy server ran it after all. The owner must hear
  // of it, or it would send the same command again and have it run twice.
  if (front.kind != Kind::execute || terminate_sent_) return;
  std::weak_ptr<Notices> notices = notices_;
  const bool accepted = outcome == Outcome::acked;
  loop_.post([notices, accepted] {
    auto alive = notices.lock();
    if (alive && alive->events.on_late_answer) alive->events.on_late_answer(accepted);
  });
}

void RawDdeConversation::server_gone() {
  ended_ = true;
  if (notices_->closed_reported) return;
  notices_->closed_reported = true;
  std::weak_ptr<Notices> notices = notices_;
  loop_.post([notices] {
    auto alive = notices.lock();
    if (alive && alive->events.on_closed) alive->events.on_closed();
  });
}

}  // namespace vav::win32
