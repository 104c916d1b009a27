#include "peers/win32/peer_window.h"

#include <stdexcept>

namespace vav::peers::win32 {
namespace {

constexpr const char* kClassName = "VavizorurPeerWindow";

void ensure_class() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;  // each window is subclassed once it exists
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  WNDCLASSA existing{};
  if (GetClassInfoA(wc.hInstance, kClassName, &existing)) return;
  RegisterClassA(&wc);
}

}  // namespace

PeerWindow::PeerWindow(Kind kind, Handler handler, const std::string& title)
    : handler_(std::move(handler)) {
  ensure_class();
  const bool top = kind != Kind::message_only;
  const DWORD style =
      kind == Kind::visible_top_level ? WS_OVERLAPPEDWINDOW | WS_VISIBLE : WS_OVERLAPPED;
  hwnd_ = CreateWindowExA(0, kClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                          top ? 320 : 0, top ? 120 : 0, top ? nullptr : HWND_MESSAGE, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("CreateWindowExA failed");
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&window_proc));
}

PeerWindow::~PeerWindow() {
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

LRESULT CALLBACK PeerWindow::window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<PeerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self != nullptr && self->handler_) {
    if (const auto result = self->handler_(msg, wparam, lparam)) return *result;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace vav::peers::win32
