#include "platform/win32/wait_screen.h"

#include <utility>

#include "platform/win32/win_monitors.h"

namespace vav::win32 {
namespace {

constexpr char kCaption[] = "Waiting...";
constexpr char kLabel[] = "Waiting for MixW to load..";
constexpr char kCancel[] = "Cancel";
constexpr int kCancelId = 1;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The window and its controls at 96 dpi.
constexpr int kDesignDpi = 96;
constexpr int kWidth = 260;
constexpr int kHeight = 130;
constexpr int kMargin = 10;
constexpr int kLabelTop = 15;
constexpr int kLabelHeight = 20;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonBottom = 40;  // from the client area's bottom to the button's top

int scaled(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }

RECT work_area() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// The resolution of the monitor at the middle of the work area, where the window is shown.
int work_area_dpi() {
  const RECT work = work_area();
  const POINT middle{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
  return monitor_dpi(MonitorFromPoint(middle, MONITOR_DEFAULTTONEAREST));
}

MessageWindow::TopLevel centred(int dpi) {
  const RECT work = work_area();
  MessageWindow::TopLevel options;
  options.title = kCaption;
  options.style = kStyle;
  options.ex_style = WS_EX_DLGMODALFRAME;
  options.width = scaled(kWidth, dpi);
  options.height = scaled(kHeight, dpi);
  options.x = work.left + (work.right - work.left - options.width) / 2;
  options.y = work.top + (work.bottom - work.top - options.height) / 2;
  return options;
}

}  // namespace

WaitScreen::WaitScreen(EventLoop& loop, std::function<void()> on_cancel)
    : loop_(loop),
      on_cancel_(std::make_shared<std::function<void()>>(std::move(on_cancel))),
      dpi_(work_area_dpi()),
      font_(std::make_unique<DialogFont>(dpi_)),
      window_([this](UINT msg, WPARAM wparam,
                     LPARAM lparam) { return on_message(msg, wparam, lparam); },
              loop.boundary(), centred(dpi_)) {
  create_controls();
  ShowWindow(window_.hwnd(), SW_SHOWNORMAL);
  UpdateWindow(window_.hwnd());
}

WaitScreen::~WaitScreen() { on_cancel_.reset(); }

void WaitScreen::create_controls() {
  HWND parent = window_.hwnd();
  label_ = CreateWindowExA(0, "STATIC", kLabel, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  button_ =
      CreateWindowExA(0, "BUTTON", kCancel, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                      0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                      GetModuleHandleA(nullptr), nullptr);
  const auto font = reinterpret_cast<WPARAM>(font_->handle());
  SendMessageA(label_, WM_SETFONT, font, FALSE);
  SendMessageA(button_, WM_SETFONT, font, FALSE);
  lay_out();
}

void WaitScreen::lay_out() {
  if (!label_ || !button_) return;
  RECT client{};
  GetClientRect(window_.hwnd(), &client);
  const int margin = scaled(kMargin, dpi_);
  MoveWindow(label_, margin, scaled(kLabelTop, dpi_), client.right - 2 * margin,
             scaled(kLabelHeight, dpi_), TRUE);
  const int button_width = scaled(kButtonWidth, dpi_);
  MoveWindow(button_, (client.right - button_width) / 2,
             client.bottom - scaled(kButtonBottom, dpi_), button_width, scaled(kButtonHeight, dpi_),
             TRUE);
}

// Moved to a monitor of another resolution: the controls get the new font before the old
// one is deleted, and the window takes the size the system suggests.
void WaitScreen::apply_dpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  auto font = std::make_unique<DialogFont>(dpi);
  const auto handle = reinterpret_cast<WPARAM>(font->handle());
  if (label_) SendMessageA(label_, WM_SETFONT, handle, FALSE);
  if (button_) SendMessageA(button_, WM_SETFONT, handle, FALSE);
  font_ = std::move(font);
  SetWindowPos(window_.hwnd(), nullptr, suggested.left, suggested.top,
               suggested.right - suggested.left, suggested.bottom - suggested.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  lay_out();
  InvalidateRect(window_.hwnd(), nullptr, TRUE);
}

std::optional<LRESULT> WaitScreen::on_message(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_COMMAND && LOWORD(wparam) == kCancelId) {
    cancel();
    return 0;
  }
  if (msg == WM_CLOSE) {  // closing the window any other way also cancels the wait
    cancel();
    return 0;
  }
  if (msg == kDpiChanged && HIWORD(wparam) > 0 && lparam) {
    apply_dpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
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
