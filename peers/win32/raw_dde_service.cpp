#include "peers/win32/raw_dde_service.h"

#include <dde.h>

#include <algorithm>

#include "peers/peer_text.h"
#include "peers/win32/dde_memory.h"

namespace vav::peers::win32 {
namespace {

constexpr UINT kReap = WM_APP + 2;
constexpr UINT_PTR kAckTimer = 1;          // on the listener window
constexpr UINT_PTR kAckPositive = 0x8000;  // DDEACK.fAck
constexpr UINT_PTR kAckNegative = 0;

bool same(const std::string& a, const std::string& b) { return equals_ignoring_case(a, b); }

}  // namespace

RawDdeService::RawDdeService(std::string service, std::vector<std::string> topics,
                             ServedProgram& program)
    : service_(std::move(service)), topics_(std::move(topics)), program_(program) {
  listener_ = std::make_unique<PeerWindow>(
      PeerWindow::Kind::hidden_top_level,
      [this](UINT msg, WPARAM wparam, LPARAM lparam) { return on_listener(msg, wparam, lparam); },
      service_ + " DDE");
}

RawDdeService::~RawDdeService() {
  listener_.reset();  // no new conversations from here on
  for (auto& [hwnd, conv] : conversations_) {
    if (!conv->ending) PostMessageA(conv->client, WM_DDE_TERMINATE, (WPARAM)hwnd, 0);
    for (HGLOBAL data : conv->unacknowledged) GlobalFree(data);
  }
  conversations_.clear();
}

std::optional<LRESULT> RawDdeService::on_listener(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_DDE_INITIATE) {
    on_initiate(reinterpret_cast<HWND>(wparam), LOWORD(lparam), HIWORD(lparam));
    return 0;
  }
  if (msg == kReap) {
    reap();
    return 0;
  }
  if (msg == WM_TIMER && wparam == kAckTimer) {
    KillTimer(listener_->hwnd(), kAckTimer);
    send_due_acks();
    return 0;
  }
  return std::nullopt;
}

void RawDdeService::on_initiate(HWND client, ATOM service, ATOM topic) {
  if (service != 0 && !same(atom_name(service), service_)) return;
  const std::string wanted = atom_name(topic);
  for (const auto& name : topics_) {
    if (topic != 0 && !same(wanted, name)) continue;
    auto conv = std::make_unique<Conversation>();
    conv->topic = name;
    conv->client = client;
    Conversation* raw = conv.get();
    conv->window = std::make_unique<PeerWindow>(
        PeerWindow::Kind::message_only, [this, raw](UINT msg, WPARAM wparam, LPARAM lparam) {
          return on_conversation(raw->window->hwnd(), msg, wparam, lparam);
        });
    const HWND self = conv->window->hwnd();
    conversations_[self] = std::move(conv);
    program_.note("connect " + name);
    // Sent, not posted: the client counts the answers before its broadcast returns.
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
                 MAKELPARAM(GlobalAddAtomA(service_.c_str()), GlobalAddAtomA(name.c_str())));
  }
}

std::optional<LRESULT> RawDdeService::on_conversation(HWND self, UINT msg, WPARAM wparam,
                                                      LPARAM lparam) {
  if (msg < WM_DDE_FIRST || msg > WM_DDE_LAST) return std::nullopt;
  const auto found = conversations_.find(self);
  if (found == conversations_.end()) return 0;
  Conversation& conv = *found->second;
  if (reinterpret_cast<HWND>(wparam) != conv.client && msg != WM_DDE_TERMINATE) return 0;
  switch (msg) {
    case WM_DDE_ADVISE:
      on_advise(conv, lparam);
      break;
    case WM_DDE_UNADVISE:
      on_unadvise(conv, lparam);
      break;
    case WM_DDE_REQUEST:
      on_request(conv, lparam);
      break;
    case WM_DDE_EXECUTE:
      on_execute(conv, lparam);
      break;
    case WM_DDE_POKE:
      on_poke(conv, lparam);
      break;
    case WM_DDE_ACK:
      on_data_ack(conv, lparam);
      break;
    case WM_DDE_TERMINATE:
      on_terminate(conv);
      break;
    default:
      break;
  }
  return 0;
}

void RawDdeService::on_advise(Conversation& conv, LPARAM lparam) {
  UINT_PTR options_handle = 0;
  UINT_PTR item_atom = 0;
  UnpackDDElParam(WM_DDE_ADVISE, lparam, &options_handle, &item_atom);
  FreeDDElParam(WM_DDE_ADVISE, lparam);
  auto options = reinterpret_cast<HGLOBAL>(options_handle);
  const std::string item = atom_name(static_cast<ATOM>(item_atom));
  Link link{item};
  bool text = false;
  if (const auto* advise = static_cast<const DDEADVISE*>(GlobalLock(options))) {
    link.warm = advise->fDeferUpd != 0;
    link.ack_req = advise->fAckReq != 0;
    text = advise->cfFormat == CF_TEXT;
    GlobalUnlock(options);
  }
  if (!text || !program_.item(conv.topic, item)) {
    program_.note("link refused " + conv.topic + " " + item);
    post_ack(conv, false, item_atom);  // the client frees its options
    return;
  }
  GlobalFree(options);
  std::erase_if(conv.links, [&](const Link& l) { return same(l.item, item); });
  conv.links.push_back(link);
  program_.note(std::string(link.warm ? "warmlink " : "link ") + conv.topic + " " + item);
  post_ack(conv, true, item_atom);
}

void RawDdeService::on_unadvise(Conversation& conv, LPARAM lparam) {
  const ATOM item_atom = HIWORD(lparam);
  const std::string item = atom_name(item_atom);
  std::erase_if(conv.links, [&](const Link& l) { return item_atom == 0 || same(l.item, item); });
  program_.note("unlink " + conv.topic + " " + item);
  post_ack(conv, true, item_atom);
}

void RawDdeService::on_request(Conversation& conv, LPARAM lparam) {
  const UINT format = LOWORD(lparam);
  const ATOM item_atom = HIWORD(lparam);
  const std::string item = atom_name(item_atom);
  const auto value = program_.item(conv.topic, item);
  program_.note("request " + conv.topic + " " + item);
  if (format != CF_TEXT || !value) {
    post_ack(conv, false, item_atom);
    return;
  }
  HGLOBAL data = make_text_data(*value, true, false);
  const LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), item_atom);
  if (!PostMessageA(conv.client, WM_DDE_DATA, reinterpret_cast<WPARAM>(conv.window->hwnd()),
                    packed)) {
    FreeDDElParam(WM_DDE_DATA, packed);
    GlobalFree(data);
  }
}

void RawDdeService::on_execute(Conversation& conv, LPARAM lparam) {
  auto commands = reinterpret_cast<HGLOBAL>(lparam);
  const std::string command = global_text(commands);
  const Answer answer = program_.execute(conv.topic, command);
  if (answer == Answer::none) return;  // hung: the client waits in vain
  const auto handle = reinterpret_cast<UINT_PTR>(commands);
  if (ack_delay_ms_ == 0 && owed_acks_.empty()) {
    post_ack(conv, answer == Answer::accepted, handle);
    return;
  }
  owe_ack(conv, answer == Answer::accepted, handle, command);
}

bool RawDdeService::acknowledge_late(std::uint32_t delay_ms) {
  ack_delay_ms_ = delay_ms;
  return true;
}

void RawDdeService::owe_ack(const Conversation& conv, bool positive, UINT_PTR commands,
                            const std::string& command) {
  ULONGLONG due = GetTickCount64() + ack_delay_ms_;
  if (!owed_acks_.empty()) due = std::max(due, owed_acks_.back().due);
  owed_acks_.push_back({conv.window->hwnd(), positive, commands, conv.topic + " " + command, due});
  if (owed_acks_.size() == 1) arm_ack_timer();
}

void RawDdeService::send_due_acks() {
  const ULONGLONG now = GetTickCount64();
  while (!owed_acks_.empty() && owed_acks_.front().due <= now) {
    const LateAck ack = std::move(owed_acks_.front());
    owed_acks_.pop_front();
    const auto found = conversations_.find(ack.conversation);
    if (found == conversations_.end() || found->second->client == nullptr ||
        found->second->ending) {
      program_.note("acknowledgement dropped " + ack.line);
      continue;
    }
    post_ack(*found->second, ack.positive, ack.commands);
    program_.note("acknowledged late " + ack.line);
  }
  arm_ack_timer();
}

void RawDdeService::arm_ack_timer() {
  if (owed_acks_.empty()) return;
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG wait = owed_acks_.front().due > now ? owed_acks_.front().due - now : 0;
  // A timer of 0 ms fires as soon as the queue is idle, after messages already posted.
  SetTimer(listener_->hwnd(), kAckTimer, static_cast<UINT>(wait), nullptr);
}

void RawDdeService::on_poke(Conversation& conv, LPARAM lparam) {
  UINT_PTR data = 0;
  UINT_PTR item_atom = 0;
  UnpackDDElParam(WM_DDE_POKE, lparam, &data, &item_atom);
  FreeDDElParam(WM_DDE_POKE, lparam);
  program_.note("poke refused " + conv.topic + " " + atom_name(static_cast<ATOM>(item_atom)));
  post_ack(conv, false, item_atom);  // the client frees its data
}

void RawDdeService::on_data_ack(Conversation& conv, LPARAM lparam) {
  UINT_PTR status = 0;
  UINT_PTR item_atom = 0;
  UnpackDDElParam(WM_DDE_ACK, lparam, &status, &item_atom);
  FreeDDElParam(WM_DDE_ACK, lparam);
  if (item_atom != 0) GlobalDeleteAtom(static_cast<ATOM>(item_atom));
  if (conv.unacknowledged.empty()) return;
  HGLOBAL data = conv.unacknowledged.front();
  conv.unacknowledged.pop_front();
  if ((status & kAckPositive) == 0 && data != nullptr) GlobalFree(data);
}

void RawDdeService::on_terminate(Conversation& conv) {
  if (!conv.ending) {
    PostMessageA(conv.client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(conv.window->hwnd()), 0);
    conv.ending = true;
  }
  program_.note("disconnect " + conv.topic);
  conv.client = nullptr;  // nothing more goes out on it
  PostMessageA(listener_->hwnd(), kReap, 0, 0);
}

void RawDdeService::post_ack(const Conversation& conv, bool positive, UINT_PTR high) {
  const LPARAM packed = PackDDElParam(WM_DDE_ACK, positive ? kAckPositive : kAckNegative, high);
  if (!PostMessageA(conv.client, WM_DDE_ACK, reinterpret_cast<WPARAM>(conv.window->hwnd()),
                    packed)) {
    FreeDDElParam(WM_DDE_ACK, packed);
  }
}

void RawDdeService::send_data(Conversation& conv, const Link& link, const std::string& value,
                              bool response) {
  HGLOBAL data = link.warm ? nullptr : make_text_data(value, response, link.ack_req);
  if (!link.warm && data == nullptr) return;
  const ATOM item_atom = GlobalAddAtomA(link.item.c_str());
  const LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), item_atom);
  if (!PostMessageA(conv.client, WM_DDE_DATA, reinterpret_cast<WPARAM>(conv.window->hwnd()),
                    packed)) {
    FreeDDElParam(WM_DDE_DATA, packed);
    GlobalDeleteAtom(item_atom);
    if (data != nullptr) GlobalFree(data);
    return;
  }
  if (link.ack_req) conv.unacknowledged.push_back(data);
}

void RawDdeService::advise(const std::string& topic, const std::string& item) {
  for (auto& [hwnd, conv] : conversations_) {
    if (conv->ending || conv->client == nullptr || !same(conv->topic, topic)) continue;
    for (const Link& link : conv->links) {
      if (!same(link.item, item)) continue;
      send_data(*conv, link, program_.item(topic, link.item).value_or(""), false);
    }
  }
}

void RawDdeService::end(Conversation& conv) {
  if (conv.ending || conv.client == nullptr) return;
  conv.ending = true;
  // The conversation window waits for the client's WM_DDE_TERMINATE before it goes.
  PostMessageA(conv.client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(conv.window->hwnd()), 0);
  program_.note("close " + conv.topic);
}

void RawDdeService::close_conversations() {
  for (auto& [hwnd, conv] : conversations_) end(*conv);
}

void RawDdeService::reap() {
  for (auto it = conversations_.begin(); it != conversations_.end();) {
    if (it->second->client != nullptr) {
      ++it;
      continue;
    }
    for (HGLOBAL data : it->second->unacknowledged) GlobalFree(data);
    it = conversations_.erase(it);
  }
}

}  // namespace vav::peers::win32
