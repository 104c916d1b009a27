#include "platform/win32/wait_screen.h"

namespace vav::win32 {
namespace {

constexpr char kCaption[] = "Waiting...";
constexpr char kLabel[] = "Waiting for MixW to load..";
constexpr char kCancel[] = "Cancel";
constexpr int kCancelId = 1;
constexpr int kWidth = 260;
constexpr int kHeight = 130;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

MessageWindow::TopLevel centred() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  MessageWindow::TopLevel options;
  options.title = kCaption;
  options.style = kStyle;
  options.ex_style = WS_EX_DLGMODALFRAME;
  options.width = kWidth;
  options.height = kHeight;
  options.x = work.left + (work.right - work.left - kWidth) / 2;
  options.y = work.top + (work.bottom - work.top - kHeight) / 2;
  return options;
}

}  // namespace

WaitScreen::WaitScreen(EventLoop& loop, std::function<void()> on_cancel)
    : loop_(loop),
      on_cancel_(std::make_shared<std::function<void()>>(std::move(on_cancel))),
      window_([this](UINT msg, WPARAM wparam,
                     LPARAM lparam) { return on_message(msg, wparam, lparam); },
              loop.boundary(), centred()) {
  create_controls();
  ShowWindow(window_.hwnd(), SW_SHOWNORMAL);
  UpdateWindow(window_.hwnd());
}

WaitScreen::~WaitScreen() { on_cancel_.reset(); }

void WaitScreen::create_controls() {
  HWND parent = window_.hwnd();
  RECT client{};
  GetClientRect(parent, &client);
  auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  HWND label =
      CreateWindowExA(0, "STATIC", kLabel, WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 15,
                      client.right - 20, 20, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND button = CreateWindowExA(
      0, "BUTTON", kCancel, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
      (client.right - 80) / 2, client.bottom - 40, 80, 26, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(label, WM_SETFONT, font, FALSE);
  SendMessageA(button, WM_SETFONT, font, FALSE);
}

std::optional<LRESULT> WaitScreen::on_message(UINT msg, WPARAM wparam, LPARAM) {
  if (msg == WM_COMMAND && LOWORD(wparam) == kCancelId) {
    cancel();
    return 0;
  }
  if (msg == WM_CLOSE) {  // closing the window any other way also cancels the wait
    cancel();
    return 0;
  }
  return std::nullopt;
}

// The handler may destroy this window, so it runs later as a task, never inside our message.
void WaitScreen::cancel() {
  std::weak_ptr<std::function<void()>> handler = on_cancel_;
  loop_.post([handler] {
    if (auto alive = handler.lock(); alive && *alive) (*alive)();
  });
}

}  // namespace vav::win32
