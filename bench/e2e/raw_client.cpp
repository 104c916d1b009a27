#include "bench/e2e/raw_client.h"

#include <dde.h>

#include <cstring>

namespace vav::bench {
namespace {
constexpr DWORD kInitiateTimeoutMs = 5000;
constexpr WORD kAckPositive = 0x8000;
}  // namespace

RawClient::RawClient(const std::string& service, const std::string& topic)
    : window_(peers::win32::PeerWindow::Kind::message_only,
              [this](UINT msg, WPARAM wparam, LPARAM lparam) {
                return on_message(msg, wparam, lparam);
              }) {
  const ATOM service_atom = GlobalAddAtomA(service.c_str());
  const ATOM topic_atom = GlobalAddAtomA(topic.c_str());
  initiating_ = true;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window_.hwnd()),
                      MAKELPARAM(service_atom, topic_atom), SMTO_ABORTIFHUNG, kInitiateTimeoutMs,
                      &ignored);
  initiating_ = false;
  GlobalDeleteAtom(service_atom);
  GlobalDeleteAtom(topic_atom);
}

RawClient::~RawClient() {
  if (server_ && IsWindow(server_)) {
    PostMessageA(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_.hwnd()), 0);
  }
}

void RawClient::advise(const std::string& item, OnData on_data) {
  on_data_ = std::move(on_data);
  HGLOBAL options = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEADVISE));
  auto* advise = static_cast<DDEADVISE*>(GlobalLock(options));
  *advise = DDEADVISE{};
  advise->fAckReq = 1;
  advise->cfFormat = CF_TEXT;
  GlobalUnlock(options);
  const LPARAM lparam = PackDDElParam(WM_DDE_ADVISE, reinterpret_cast<UINT_PTR>(options),
                                      GlobalAddAtomA(item.c_str()));
  PostMessageA(server_, WM_DDE_ADVISE, reinterpret_cast<WPARAM>(window_.hwnd()), lparam);
}

bool RawClient::execute(const std::string& command) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, command.size() + 1);
  std::memcpy(GlobalLock(block), command.c_str(), command.size() + 1);
  GlobalUnlock(block);
  if (PostMessageA(server_, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window_.hwnd()),
                   reinterpret_cast<LPARAM>(block))) {
    executes_.insert(block);
    return true;
  }
  GlobalFree(block);
  return false;
}

std::optional<LRESULT> RawClient::on_message(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_DDE_ACK:
      if (initiating_) {
        GlobalDeleteAtom(LOWORD(lparam));
        GlobalDeleteAtom(HIWORD(lparam));
        if (!server_) server_ = reinterpret_cast<HWND>(wparam);
      } else {
        on_ack(lparam);
      }
      return 0;
    case WM_DDE_DATA:
      on_data(lparam);
      return 0;
    case WM_DDE_TERMINATE:
      server_ = nullptr;
      return 0;
    default:
      return std::nullopt;
  }
}

// The acknowledgement of an advise carries the item's atom; that of an execute, the command
// block. Whichever it is goes back to the system.
void RawClient::on_ack(LPARAM lparam) {
  UINT_PTR low = 0, high = 0;
  UnpackDDElParam(WM_DDE_ACK, lparam, &low, &high);
  FreeDDElParam(WM_DDE_ACK, lparam);
  if (const auto block = executes_.find(reinterpret_cast<HGLOBAL>(high));
      block != executes_.end()) {
    GlobalFree(*block);
    executes_.erase(block);
  } else {
    GlobalDeleteAtom(static_cast<ATOM>(high));
  }
}

void RawClient::on_data(LPARAM lparam) {
  UINT_PTR low = 0, high = 0;
  UnpackDDElParam(WM_DDE_DATA, lparam, &low, &high);
  FreeDDElParam(WM_DDE_DATA, lparam);
  auto memory = reinterpret_cast<HGLOBAL>(low);
  const auto atom = static_cast<ATOM>(high);
  std::string value;
  bool ack = false;
  if (auto* data = static_cast<DDEDATA*>(GlobalLock(memory))) {
    ack = data->fAckReq;
    const bool release = data->fRelease;
    const SIZE_T room = GlobalSize(memory) - offsetof(DDEDATA, Value);
    const char* text = reinterpret_cast<const char*>(data->Value);
    value.assign(text, strnlen(text, room));
    GlobalUnlock(memory);
    if (release) GlobalFree(memory);
  }
  if (ack) {
    PostMessageA(server_, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_.hwnd()),
                 PackDDElParam(WM_DDE_ACK, kAckPositive, atom));
  } else {
    GlobalDeleteAtom(atom);
  }
  if (on_data_) on_data_(value);
}

}  // namespace vav::bench
