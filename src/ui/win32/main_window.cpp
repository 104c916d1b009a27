#include "ui/win32/main_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/win32/win_desktop.h"
#include "platform/win32/window_classes.h"
#include "ui/win32/resource_ids.h"

namespace vav::ui {
namespace {

using win32::window_dpi;

constexpr char kContainerClass[] = "VavizorurPanel";
constexpr char kDesignCaption[] = "Vavizorur";
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kTabMargin = 3;
// The design size, in twips, until the logic sizes the window.
constexpr int kDesignWidthTwips = 4815;
constexpr int kDesignHeightTwips = 5595;
constexpr int kTwipsPerInch = 1440;

void register_classes(HINSTANCE instance, WNDPROC frame_proc, WNDPROC container_proc) {
  WNDCLASSEXA frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = frame_proc;
  frame.hInstance = instance;
  frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frame.lpszClassName = win32::kMainWindowClass;
  frame.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIconId));
  if (!frame.hIcon) frame.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  frame.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kAppIconId), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0));
  RegisterClassExA(&frame);  // fails harmlessly when already registered

  WNDCLASSEXA container{};
  container.cbSize = sizeof container;
  container.lpfnWndProc = container_proc;
  container.hInstance = instance;
  container.hCursor = LoadCursor(nullptr, IDC_ARROW);
  container.lpszClassName = kContainerClass;
  RegisterClassExA(&container);
}

struct WindowClass {
  const char* name;
  DWORD style;
  DWORD ex_style;
};

WindowClass window_class_of(const ControlPlace& place) {
  switch (place.kind) {
    case Kind::caption:
    case Kind::name_label:
      return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::data_label:
      // A read-only box, not a static: a screen reader takes a static's text as its name, an
      // edit box's text as its value (and its name from the caption before it), and the
      // keyboard reaches it.
      return {"EDIT", ES_CENTER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::data_block:  // main_window_access.cpp keeps Tab and Enter out of it
      return {"EDIT", ES_MULTILINE | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::edit:
      return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    // A button or check box is a group of its own, so the arrow keys move only within the
    // option groups.
    case Kind::button:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    case Kind::check:
      // Not automatic: the model decides the state, a click only asks for the next one.
      return {"BUTTON", BS_3STATE | WS_TABSTOP | WS_GROUP, 0};
    case Kind::option: {
      // The binding puts the tab stop on the chosen button.
      const bool first = place.id == kOption1 || place.id == kOption2;
      return {"BUTTON", BS_RADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0u), 0};
    }
    case Kind::combo:
      return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case Kind::group:
      return {"BUTTON", BS_GROUPBOX, 0};
    case Kind::panel:
      return {kContainerClass, 0, WS_EX_CONTROLPARENT};
    case Kind::list:
      return {
          WC_LISTVIEWA,
          LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP | WS_GROUP,
          WS_EX_CLIENTEDGE};
  }
  return {"STATIC", 0, 0};
}

// The procedure an exception escaping a message is reported under: what is known of it.
std::string procedure_of(UINT msg, WPARAM wparam) {
  char name[96];
  switch (msg) {
    case WM_COMMAND:
      std::snprintf(name, sizeof name, "MainWindow.WM_COMMAND(control %u, notification %u)",
                    static_cast<unsigned>(LOWORD(wparam)), static_cast<unsigned>(HIWORD(wparam)));
      break;
    case WM_CLOSE:
      return "MainWindow.WM_CLOSE";
    case WM_ENDSESSION:
      return "MainWindow.WM_ENDSESSION";
    default:
      std::snprintf(name, sizeof name, "MainWindow.WindowProc(message 0x%04X)", msg);
      break;
  }
  return name;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const ErrorBoundary& boundary)
    : instance_(instance), boundary_(boundary) {
  register_classes(instance, &MainWindow::frame_proc, &MainWindow::container_proc);
  const int screen = window_dpi(nullptr);
  hwnd_ = CreateWindowExA(
      WS_EX_CONTROLPARENT, win32::kMainWindowClass, kDesignCaption, kFrameStyle, CW_USEDEFAULT,
      CW_USEDEFAULT, MulDiv(kDesignWidthTwips, screen, kTwipsPerInch),
      MulDiv(kDesignHeightTwips, screen, kTwipsPerInch), nullptr, nullptr, instance, this);
  if (!hwnd_) return;
  dpi_ = window_dpi(hwnd_);
  create_tabs();
  containers_[Container::main_page] = create_container(hwnd_, kMainPage, true);
  containers_[Container::setup_page] = create_container(hwnd_, kSetupPage, false);
  containers_[Container::status_page] = create_container(hwnd_, kStatusPage, false);
  create_controls(main_tab_layout());
  create_controls(setup_tab_layout());
  create_controls(status_tab_layout());
  // The pages lie on the tab control, which must never paint over them; a frame's border
  // likewise lies beneath the controls it holds.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  send_to_bottom_groups();
  apply_dpi(dpi_);
  create_tooltips();
}

MainWindow::~MainWindow() {
  if (tooltips_ && IsWindow(tooltips_)) DestroyWindow(tooltips_);
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

MainWindow* MainWindow::from(HWND hwnd) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HWND MainWindow::control(int id) const {
  const auto found = by_id_.find(id);
  return found == by_id_.end() ? nullptr : found->second;
}

HWND MainWindow::container(Container which) const {
  const auto found = containers_.find(which);
  return found == containers_.end() ? nullptr : found->second;
}

void MainWindow::create_tabs() {
  tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", kChildStyle | WS_TABSTOP, 0, 0, 0, 0, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabs)), instance_, nullptr);
  const char* names[] = {"Main", "Setup", "Status"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

HWND MainWindow::create_container(HWND parent, int id, bool visible) {
  // No WS_CLIPCHILDREN: a frame (group box) paints only its border and caption and relies on
  // its container having painted the background beneath it.
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
  HWND hwnd =
      CreateWindowExA(WS_EX_CONTROLPARENT, kContainerClass, "", style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  // Until this is set the container's messages take the default course.
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return hwnd;
}

void MainWindow::create_controls(std::span<const ControlPlace> layout) {
  for (const ControlPlace& place : layout) {
    HWND hwnd = place.kind == Kind::panel
                    ? create_container(container(place.container), place.id, true)
                    : create_control(place);
    if (place.kind == Kind::panel) containers_[container_of_panel(place.id)] = hwnd;
    children_.push_back({&place, hwnd});
    if (place.id != kStaticText) by_id_[place.id] = hwnd;
  }
}

HWND MainWindow::create_control(const ControlPlace& place) {
  const WindowClass type = window_class_of(place);
  const DWORD shown = place.kind == Kind::name_label ? 0 : WS_VISIBLE;
  return CreateWindowExA(
      type.ex_style, type.name, place.caption ? place.caption : "",
      (kChildStyle & ~WS_VISIBLE) | shown | type.style, 0, 0, 0, 0, container(place.container),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance_, nullptr);
}

void MainWindow::send_to_bottom_groups() {
  // The outermost frame lowest.
  for (auto child = children_.rbegin(); child != children_.rend(); ++child) {
    if (child->place->kind != Kind::group) continue;
    SetWindowPos(child->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void MainWindow::apply_dpi(int dpi) {
  dpi_ = dpi;
  // Every child has the new font before the old one is deleted, as it leaves font_.
  auto font = std::make_unique<DialogFont>(dpi);
  const auto handle = reinterpret_cast<WPARAM>(font->handle());
  SendMessageA(tabs_, WM_SETFONT, handle, FALSE);
  for (const ChildWindow& child : children_) SendMessageA(child.hwnd, WM_SETFONT, handle, FALSE);
  font_ = std::move(font);
  place_pages();
  place_controls();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::place_pages() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int margin = scale(kTabMargin, dpi_);
  RECT area{client.left + margin, client.top + margin, client.right - margin,
            client.bottom - margin};
  MoveWindow(tabs_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (Container page : kPages) {
    MoveWindow(container(page), area.left, area.top, area.right - area.left, area.bottom - area.top,
               TRUE);
  }
}

void MainWindow::place_controls() {
  // Edges are scaled in page coordinates, not origin and size in the container's: rows that
  // touch at 96 dots per inch still touch at any other resolution, never overlapping by a
  // rounded pixel, and a frame's controls stay inside it.
  std::map<Container, POINT> origins;  // of the frames, in their page
  for (const ChildWindow& child : children_) {
    if (child.place->kind != Kind::panel) continue;
    origins[container_of_panel(child.place->id)] = {child.place->box.x, child.place->box.y};
  }
  for (const ChildWindow& child : children_) {
    const Box& box = child.place->box;
    const auto found = origins.find(child.place->container);
    const POINT origin = found == origins.end() ? POINT{0, 0} : found->second;
    const auto edge = [this](int in_page, int page_origin) {
      return scale(in_page, dpi_) - scale(page_origin, dpi_);
    };
    const int left = edge(origin.x + box.x, origin.x), top = edge(origin.y + box.y, origin.y);
    MoveWindow(child.hwnd, left, top, edge(origin.x + box.x + box.width, origin.x) - left,
               edge(origin.y + box.y + box.height, origin.y) - top, TRUE);
  }
}

void MainWindow::show() {
  if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
  // Hazard: the window may first be shown in the middle of the load, whose DDE waits let
  // only part of the painting through; under Wine the controls then stayed blank. Everything
  // is painted once more when the load is done.
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

HBRUSH MainWindow::page_brush() const {
  // Under visual styles the tab pane is the window colour; the classic pane is the face colour.
  const bool themed = IsThemeActive() && IsAppThemed();
  return GetSysColorBrush(themed ? COLOR_WINDOW : COLOR_BTNFACE);
}

void MainWindow::dispatch_command(WPARAM wparam) {
  if (on_command) on_command(LOWORD(wparam), HIWORD(wparam));
}

std::optional<LRESULT> MainWindow::on_shared_message(HWND hwnd, UINT msg, WPARAM wparam,
                                                     LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      if (lparam != 0) dispatch_command(wparam);
      return 0;
    case WM_NOTIFY:  // from a page's list view; the frame's own come from the tab control
      if (hwnd == hwnd_) return std::nullopt;
      forward_list_notification(*reinterpret_cast<const NMHDR*>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      const bool themed = page_brush() == GetSysColorBrush(COLOR_WINDOW);
      SetBkColor(dc, GetSysColor(themed ? COLOR_WINDOW : COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(page_brush());
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:  // a themed frame asks for the background behind it
      if (hwnd == hwnd_) return std::nullopt;
      {
        RECT rect{};
        GetClientRect(hwnd, &rect);
        FillRect(reinterpret_cast<HDC>(wparam), &rect, page_brush());
      }
      return 1;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> MainWindow::guarded(UINT msg, WPARAM wparam,
                                           const std::function<std::optional<LRESULT>()>& body) const {
  std::optional<LRESULT> result;
  const bool ran = boundary_.guard([msg, wparam] { return procedure_of(msg, wparam); },
                                   [&] { result = body(); });
  // A failed message is taken as handled: the default course of WM_CLOSE would destroy the
  // window.
  return ran ? result : std::optional<LRESULT>(0);
}

LRESULT CALLBACK MainWindow::container_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  MainWindow* self = from(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wparam, lparam);
  // Nothing may unwind through the system's dispatch, nor vanish there.
  const auto result = self->guarded(
      msg, wparam, [&] { return self->on_shared_message(hwnd, msg, wparam, lparam); });
  return result ? *result : DefWindowProcA(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK MainWindow::frame_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  MainWindow* self = from(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
  return *self->guarded(msg, wparam, [&] {
    return std::optional<LRESULT>(self->on_frame_message(msg, wparam, lparam));
  });
}

LRESULT MainWindow::on_frame_message(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (auto result = on_shared_message(hwnd_, msg, wparam, lparam)) return *result;
  switch (msg) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        select_tab(selected_tab());
      }
      return 0;
    }
    case WM_SIZE:
      if (tabs_) place_pages();
      return 0;
    case WM_ACTIVATE:
      on_activate(LOWORD(wparam) != WA_INACTIVE, HIWORD(wparam) != 0);
      return 0;
    case 0x02E0: {  // WM_DPICHANGED: the window moved to a screen of another resolution
      apply_dpi(HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (on_close) {
        on_close();
        return 0;
      }
      break;
    case WM_ENDSESSION:
      if (wparam && on_end_session) on_end_session();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

}  // namespace vav::ui
