// The main window without a mouse: Tab and Shift+Tab through the visible tab's controls in
// reading order, Ctrl+Tab between the tabs, Enter and Escape harmless; and the names a screen
// reader finds for the controls that have no caption of their own.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/win32/control_ids.h"
#include "ui_main_window_fixture.h"

namespace vav::ui::testing {
namespace {

// The focus order of each tab, from its first control round to the tab strip.
const std::vector<int> kMainTabOrder = {
    kCallsign, kRigFreq,  kRSTRcvd,  kAudioFreq, kRSTSnt,  kOpFreq,  kMode,
    kDateNow,  kNameText, kUTCStart, kUTCEnd,    kQTH,     kState,   kDXCCPrefix,
    kCountry,  kQSLInfo,  kNotes,    kCounty,    kExchSnt, kExchRcv, kSave,
    kCont,     kCQZ,      kIRUZ,     kPrefix,    kGridSq,  kIOTA,    kTabs};
// The option groups are entered at the chosen button: Commander, Actual Frequency.
const std::vector<int> kSetupTabOrder = {
    check_id(17), check_id(1),  check_id(3),     check_id(4),  check_id(5),  check_id(7),
    check_id(10), check_id(15), kOption1 + 1,    kOption2 + 1, check_id(11), check_id(12),
    check_id(13), check_id(14), kOptDigitalFreq, kCombo1,      check_id(16), check_id(2),
    check_id(6),  check_id(8),  check_id(9),     kTabs};

int focused_id() { return GetDlgCtrlID(GetFocus()); }

class KeyboardTest : public MainWindowTest {
 protected:
  // Holds Shift and Ctrl down or up for this thread, as the key messages would leave them.
  void hold(bool shift, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  // A key pressed in the focused control, as the keyboard posts it.
  void press(WPARAM key, bool shift = false, bool control = false) {
    hold(shift, control);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    settle();
    hold(false, false);
  }
};

TEST_F(KeyboardTest, TabAndShiftTabGoThroughTheVisibleTabInReadingOrder) {
  start(kEverythingShown);
  struct Tab {
    int tab;
    const std::vector<int>& order;
  };
  // On the Status tab a button is a stop only while it is enabled (there are QSOs to send or
  // one is selected, there is an error log to open).
  std::vector<int> status_order = {kNeighbours, kLastQso, kWaitingQsos};
  const auto enabled = [&](std::initializer_list<int> buttons) {
    for (const int button : buttons) {
      if (IsWindowEnabled(window.control(button))) status_order.push_back(button);
    }
  };
  enabled({kSendNow, kSendAgain, kRemove, kExport});
  status_order.insert(status_order.end(), {kLastSpot, kFiles});
  enabled({kOpenErrorLog});
  status_order.push_back(kTabs);
  const Tab tabs[] = {{0, kMainTabOrder}, {1, kSetupTabOrder}, {2, status_order}};
  for (const auto& t : tabs) {
    SCOPED_TRACE(t.tab);
    window.select_tab(t.tab);
    SetFocus(window.control(t.order.front()));
    settle();
    ASSERT_EQ(focused_id(), t.order.front());
    for (std::size_t i = 1; i <= t.order.size(); ++i) {
      press(VK_TAB);
      EXPECT_EQ(focused_id(), t.order[i % t.order.size()]) << "Tab " << i;
    }
    for (std::size_t i = t.order.size(); i > 0; --i) {
      press(VK_TAB, true);
      EXPECT_EQ(focused_id(), t.order[i - 1]) << "Shift+Tab " << i;
    }
  }
  // Walking through the option groups chose nothing.
  EXPECT_EQ(setting("FrequencyControl"), "Commander");
  EXPECT_EQ(app->setup.Option2.selected(), 1);
}

TEST_F(KeyboardTest, CtrlTabSwitchesTabsAndTakesTheFocusAlong) {
  start({});
  SetFocus(window.control(kCallsign));
  press(VK_TAB, false, true);
  EXPECT_EQ(window.selected_tab(), 1);
  EXPECT_TRUE(IsWindowVisible(window.container(Container::setup_page)));
  EXPECT_FALSE(IsWindowVisible(window.container(Container::main_page)));
  EXPECT_EQ(focused_id(), check_id(17));
  press(VK_TAB, true, true);
  EXPECT_EQ(window.selected_tab(), 0);
  EXPECT_EQ(focused_id(), kCallsign);
}

TEST_F(KeyboardTest, EnterAndEscapeInTheFieldsDoNothingAndEnterPressesSave) {
  start({});
  for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    SetFocus(window.control(kNameText));
    press(key);
    EXPECT_EQ(focused_id(), kNameText);
    EXPECT_EQ(text_of(kNameText), "Taro");
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
  }
  EXPECT_EQ(app->delivery.pending_qsos.count(), 0u);
  SetFocus(window.control(kSave));
  press(VK_RETURN);
  EXPECT_EQ(app->delivery.pending_qsos.count(), 1u);  // logged, and waiting for DXKeeper
}

// The operator at the Status tab without a mouse: the arrow keys pick a QSO of the outbox,
// Tab reaches "Send again" and "Remove", Enter presses them.
TEST_F(KeyboardTest, SendAgainAndRemoveFromTheKeyboard) {
  station.dxkeeper().start();
  start({"ConnectDXKeeper=True"});
  fill_outbox();
  window.select_tab(2);
  HWND list = window.control(kWaitingQsos);
  SetFocus(list);
  press(VK_DOWN);
  ASSERT_EQ(app->status.WaitingQsos.selected(), 0);
  EXPECT_NE(app->status.selected_execute.find("<CALL:5>K1SET"), std::string::npos);
  for (const int next : {kSendNow, kSendAgain}) {
    press(VK_TAB);
    ASSERT_EQ(focused_id(), next);
  }
  press(VK_RETURN);  // the set-aside QSO waits again, last; DXKeeper is not running
  EXPECT_EQ(app->delivery.pending_qsos.set_aside_count(), 0u);
  EXPECT_EQ(app->status.WaitingQsos.rows().back().at(0), "K1SET");
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2)
      << "the selection went with it";

  SetFocus(list);
  press(VK_HOME);
  ASSERT_EQ(app->status.WaitingQsos.selected(), 0);
  for (const int next : {kSendNow, kSendAgain, kRemove}) {
    press(VK_TAB);
    ASSERT_EQ(focused_id(), next);
  }
  press(VK_RETURN);
  std::vector<std::string> calls;
  for (const auto& row : app->status.WaitingQsos.rows()) calls.push_back(row.at(0));
  EXPECT_EQ(calls, (std::vector<std::string>{"K4WAIT", "K1SET"}));
  const auto removed = files.read_all(folder.windows_path("VavizorurRemovedQSOs.adi"));
  ASSERT_TRUE(removed.has_value());
  EXPECT_NE(removed->find("<CALL:6>K3WAIT"), std::string::npos);
}

// The name Active Accessibility gives an edit box: the nearest static text before it in Z
// order, the search ending at a control that starts a group and is a tab stop.
std::string accessible_name(HWND control) {
  for (HWND w = GetWindow(control, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    char class_name[32] = {};
    GetClassNameA(w, class_name, sizeof class_name);
    if (lstrcmpiA(class_name, "Static") == 0) {
      char text[128] = {};
      GetWindowTextA(w, text, sizeof text);
      return text;
    }
    const auto style = GetWindowLongPtrA(w, GWL_STYLE);
    if ((style & WS_GROUP) && (style & WS_TABSTOP)) break;
  }
  return {};
}

std::string tooltip_of(HWND tooltips, HWND owner, HWND control) {
  char text[128] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  SendMessageA(tooltips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(KeyboardTest, BoxesWithoutCaptionsHaveNamesAndTooltips) {
  start(kEverythingShown);
  const struct {
    int id;
    const char* name;
  } boxes[] = {{kCont, "Continent"},
               {kCQZ, "CQ zone"},
               {kIRUZ, "ITU zone"},
               {kPrefix, "WPX prefix"},
               {kGridSq, "Grid square"},
               {kIOTA, "IOTA reference"},
               {kUTCStart, "UTC start time"},
               {kUTCEnd, "UTC end time"},
               {kOptDigitalFreq, "Optimal digital frequency"},
               {kCombo1, "RTTY radio mode"}};
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.name);
    HWND control = window.control(box.id);
    EXPECT_EQ(accessible_name(control), std::string(box.name) + ":");
    EXPECT_EQ(tooltip_of(window.tooltips(), window.hwnd(), control), box.name);
  }
  // The Status tab's lists and lines are named by the caption before each.
  const std::pair<int, const char*> status_names[] = {{kNeighbours, "Neighbours"},
                                                      {kLastQso, "Last QSO:"},
                                                      {kWaitingQsos, "QSOs not yet in DXKeeper"},
                                                      {kLastSpot, "Last spot:"},
                                                      {kFiles, "Files:"}};
  for (const auto& [id, name] : status_names) {
    EXPECT_EQ(accessible_name(window.control(id)), name);
  }
  // The captions on screen are as they were; a screen reader reads the boxes' values.
  EXPECT_EQ(accessible_name(window.control(kCallsign)), "CallSign");
  EXPECT_EQ(text_of(kCont), "AS");
  EXPECT_TRUE(SendMessageA(window.control(kCont), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
}

}  // namespace
}  // namespace vav::ui::testing
