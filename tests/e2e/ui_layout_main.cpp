// The main window's layout on both tabs: every control inside its container, no two
// controls on top of each other, every caption readable in full; and a screenshot of each
// tab for a person to look at (BMP files in $VAV_SCREENSHOTS, default ./screenshots).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/win32/control_ids.h"
#include "ui_main_window_fixture.h"

namespace vav::ui::testing {
namespace {

RECT rect_in_parent(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Frames enclose other controls and captions sit beside them; everything else takes room
// of its own.
bool takes_room(Kind kind) { return kind != Kind::group && kind != Kind::caption; }

// The room a caption needs: its text, plus the box or circle and the frame's corner.
int needed_width(HWND hwnd, HFONT font, Kind kind, int dpi) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  const int glyph =
      (kind == Kind::check || kind == Kind::option || kind == Kind::group) ? scale(16, dpi) : 0;
  return extent.cx + glyph;
}

bool overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != 0;
}

class LayoutTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(LayoutTest, EveryControlFitsItsContainerWithoutOverlap) {
  start(kEverythingShown);
  const int tab = GetParam();
  window.select_tab(tab);
  settle();
  const HWND page = window.container(kPages[tab]);

  std::vector<ChildWindow> shown;
  for (const ChildWindow& child : window.children()) {
    if (!IsWindowVisible(child.hwnd)) continue;
    if (!IsChild(page, child.hwnd)) continue;
    shown.push_back(child);
  }
  ASSERT_GT(shown.size(), 5u);

  for (const ChildWindow& child : shown) {
    RECT parent{};
    GetClientRect(GetParent(child.hwnd), &parent);
    const RECT r = rect_in_parent(child.hwnd);
    const int id = child.place->id;
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= parent.right && r.bottom <= parent.bottom)
        << "control " << id << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
        << " outside " << parent.right << "x" << parent.bottom;
    if (child.place->kind != Kind::edit && child.place->kind != Kind::combo &&
        child.place->kind != Kind::data_label && child.place->kind != Kind::data_block &&
        child.place->kind != Kind::panel && child.place->kind != Kind::list) {
      EXPECT_LE(needed_width(child.hwnd, window.font(), child.place->kind, window.dpi()),
                r.right - r.left)
          << "caption of control " << id << " is cut off";
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (!takes_room(shown[i].place->kind) || !takes_room(shown[j].place->kind)) continue;
      if (GetParent(shown[i].hwnd) != GetParent(shown[j].hwnd)) continue;
      EXPECT_FALSE(overlap(rect_in_parent(shown[i].hwnd), rect_in_parent(shown[j].hwnd)))
          << "controls " << shown[i].place->id << " and " << shown[j].place->id << " overlap";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tabs, LayoutTest, ::testing::Values(0, 1, 2));

// WM_DPICHANGED, as Windows sends it when the window is dragged to a screen of another
// resolution: the controls are laid out at that resolution with a font of its own (the old
// one released only after they have the new one) and the window takes its size in twips
// there.
TEST_F(MainWindowTest, OnAScreenOfAnotherResolutionTheWindowIsLaidOutAndSizedForIt) {
  start({});
  const int before = window.dpi();
  const HFONT old_font = window.font();
  const int after = before * 3 / 2;
  RECT rect{};
  GetWindowRect(window.hwnd(), &rect);
  RECT suggested{rect.left, rect.top, rect.left + MulDiv(rect.right - rect.left, after, before),
                 rect.top + MulDiv(rect.bottom - rect.top, after, before)};
  SendMessageA(window.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(after, after),
               reinterpret_cast<LPARAM>(&suggested));
  settle();
  EXPECT_EQ(window.dpi(), after);
  EXPECT_EQ(frame.dpi(), after);
  GetWindowRect(window.hwnd(), &rect);
  EXPECT_EQ(rect.right - rect.left, MulDiv(4815, after, 1440));
  EXPECT_EQ(rect.bottom - rect.top, MulDiv(app->IsSmallFonts() ? 5595 : 5682, after, 1440));
  RECT callsign = rect_in_parent(window.control(kCallsign));
  EXPECT_EQ(callsign.right - callsign.left, scale(66, after));
  EXPECT_EQ(SendMessageA(window.control(kCallsign), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(window.font()));
  EXPECT_NE(window.font(), old_font);
  EXPECT_EQ(GetObjectType(old_font), 0u);
  // The message was sent, not caused by a move: the monitor that holds the window still has
  // the resolution it had, and the position is counted at that one.
  EXPECT_EQ(setting("Left"), std::to_string(MulDiv(rect.left, 1440, before)));
}

TEST_F(MainWindowTest, AlwaysOnTopKeepsTheWindowOnTopWhereItStands) {
  start({"AlwaysOnTop=True", "Top=1234", "Left=2345"});
  const auto topmost = [&] {
    return (GetWindowLongA(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  RECT before{};
  GetWindowRect(window.hwnd(), &before);
  EXPECT_TRUE(topmost());
  for (const bool on : {false, true}) {
    app->setup.Check10.set_checked(on);
    settle();
    EXPECT_EQ(topmost(), on);
    RECT now{};
    GetWindowRect(window.hwnd(), &now);
    EXPECT_TRUE(EqualRect(&now, &before)) << now.left << "," << now.top;
  }
  EXPECT_EQ(setting("Left"), "2345");
}

TEST_F(MainWindowTest, ScreenshotsOfEveryTab) {
  start(kEverythingShown);
  const auto out_folder = screenshot_folder();
  // main-tab.bmp at 96 dots per inch, main-tab-144dpi.bmp at 144, to be seen side by side.
  std::string resolution;
  if (window.dpi() != kLayoutDpi)
    resolution.append("-").append(std::to_string(window.dpi())).append("dpi");
  const std::pair<int, const char*> tabs[] = {{0, "main-tab"}, {1, "setup-tab"}, {2, "status-tab"}};
  for (const auto& [tab, stem] : tabs) {
    const std::string name = stem + resolution + ".bmp";
    window.select_tab(tab);
    settle();
    save_bmp(window.hwnd(), out_folder / name);
    EXPECT_GT(std::filesystem::file_size(out_folder / name), 1000u) << name;
  }
}

}  // namespace
}  // namespace vav::ui::testing
