// The binding of the main window to the controls model: the model's state shows in the
// windows, and the user's edits, clicks and choices go into the model and run the logic.
#include <stdexcept>
#include <string>

#include "ui/win32/control_ids.h"
#include "ui_main_window_fixture.h"

namespace vav::ui::testing {
namespace {

bool shown(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

LRESULT check_state(HWND hwnd) { return SendMessageA(hwnd, BM_GETCHECK, 0, 0); }

TEST_F(MainWindowTest, FieldsShowWhatMixWHolds) {
  start({"ShowContest=True"});
  const struct {
    int id;
    const char* expected;
  } fields[] = {
      {kCallsign, "JA1ABC"}, {kRSTRcvd, "579"},
      {kRSTSnt, "599"},      {kNameText, "Taro"},
      {kQTH, "Tokyo"},       {kState, "13"},
      {kDXCCPrefix, "JA"},   {kCountry, "Japan"},
      {kQSLInfo, "JA1XYZ"},  {kNotes, "Nice signal"},
      {kCounty, "Chiyoda"},  {kDateNow, "27-Nov-2005"},
      {kUTCEnd, "04:48"},    {kExchSnt, "001"},
      {kExchRcv, "123"},     {kCont, "AS"},
      {kCQZ, "25"},          {kIRUZ, "45"},
      {kGridSq, "PM95"},     {kIOTA, "AS-007"},
      {kPrefix, "JA1"},      {kOptDigitalFreq, "1500"},
  };
  for (const auto& field : fields) {
    EXPECT_EQ(text_of(field.id), field.expected) << "control " << field.id;
  }
  EXPECT_EQ(text_of(kMode), app->qso.Mode.text());
  EXPECT_FALSE(app->qso.Mode.text().empty());
  EXPECT_EQ(text_of(kOpFreq), app->OpFreq.text());
}

TEST_F(MainWindowTest, ModelChangesRepaintTheirWindows) {
  start({});
  app->setup.Check5.set_value(CheckValue::checked);
  EXPECT_EQ(check_state(window.control(check_id(5))), BST_CHECKED);
  app->setup.Check5.set_value(CheckValue::grayed);
  EXPECT_EQ(check_state(window.control(check_id(5))), BST_INDETERMINATE);
  app->setup.Option2.select(0);
  EXPECT_EQ(check_state(window.control(kOption2 + 0)), BST_CHECKED);
  EXPECT_EQ(check_state(window.control(kOption2 + 1)), BST_UNCHECKED);
  app->setup.Combo1.set_list_index(4);
  EXPECT_EQ(SendMessageA(window.control(kCombo1), CB_GETCURSEL, 0, 0), 4);
  app->qso.NameText.set_text("Hanako");
  EXPECT_EQ(text_of(kNameText), "Hanako");
  // The frames and the Commander-only box follow their visibility flags.
  EXPECT_FALSE(shown(window.control(kFrame3)));
  EXPECT_FALSE(shown(window.control(kFrame6)));
  EXPECT_FALSE(shown(window.control(check_id(16))));
  app->setup.Frame3.set_visible(true);
  app->setup.Check16.set_visible(true);
  EXPECT_TRUE(shown(window.control(kFrame3)));
  EXPECT_TRUE(shown(window.control(check_id(16))));
}

TEST_F(MainWindowTest, TypingGoesIntoTheModelAndRunsItsHandler) {
  start({});
  SetWindowTextA(window.control(kCallsign), "DL1XYZ");  // raises EN_CHANGE, as typing does
  settle();
  EXPECT_EQ(app->qso.Callsign.text(), "DL1XYZ");
  EXPECT_EQ(app->qso.Prefix.text(), "DL1");
  EXPECT_EQ(text_of(kPrefix), "DL1");

  SetWindowTextA(window.control(kOptDigitalFreq), "1000");
  settle();
  EXPECT_EQ(app->setup.OptDigitalFreq.text(), "1000");
  EXPECT_EQ(setting("OptiumDigitalFreq"), "1000");
}

TEST_F(MainWindowTest, ClicksGoIntoTheModelAndRunTheirHandlers) {
  start({});
  window.select_tab(1);
  settle();

  SendMessageA(window.control(check_id(7)), BM_CLICK, 0, 0);
  settle();
  EXPECT_TRUE(app->setup.Check7.checked());
  EXPECT_EQ(check_state(window.control(check_id(7))), BST_CHECKED);
  EXPECT_TRUE(shown(window.control(kFrame3)));
  EXPECT_EQ(setting("ShowContest"), "True");

  SendMessageA(window.control(check_id(7)), BM_CLICK, 0, 0);
  settle();
  EXPECT_FALSE(app->setup.Check7.checked());
  EXPECT_FALSE(shown(window.control(kFrame3)));
  EXPECT_EQ(setting("ShowContest"), "False");

  // Choosing Commander frequency control ticks the Commander box and shows its settings.
  SendMessageA(window.control(kOption1 + 1), BM_CLICK, 0, 0);
  settle();
  EXPECT_EQ(app->setup.Option1.selected(), 1);
  EXPECT_TRUE(app->setup.Check11.checked());
  EXPECT_EQ(check_state(window.control(check_id(11))), BST_CHECKED);
  EXPECT_TRUE(shown(window.control(kFrame6)));
  EXPECT_EQ(setting("FrequencyControl"), "Commander");

  // A choice in the list: the window selects, then notifies its parent.
  HWND combo = window.control(kCombo1);
  SendMessageA(combo, CB_SETCURSEL, 3, 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(kCombo1, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  settle();
  EXPECT_EQ(app->setup.Combo1.list_index(), 3);
  // Saved as number text with its leading blank, which the profile reader would trim.
  const auto file = files.read_all(folder.windows_path("Vavizorur.ini")).value_or("");
  EXPECT_NE(file.find("RTTYRadioModeSetting= 3\r\n"), std::string::npos) << file;
}

TEST_F(MainWindowTest, AnExceptionFromAClickHandlerReachesTheErrorLog) {
  start({});
  window.select_tab(1);
  settle();
  app->setup.Check7.on_click = [] { throw std::logic_error("click fault"); };
  SendMessageA(window.control(check_id(7)), BM_CLICK, 0, 0);
  settle();
  const std::string log = files.read_all(folder.windows_path("ErrorLog.txt")).value_or("");
  EXPECT_NE(log.find("program error 51 in module MainWindow.WM_COMMAND(control 407, "
                     "notification 0): Internal error (click fault)\r\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST_F(MainWindowTest, UnbindingLeavesTheModelWithoutObservers) {
  start({});
  binding.reset();
  app->qso.NameText.set_text("Hanako");
  EXPECT_NE(text_of(kNameText), "Hanako");
  SetWindowTextA(window.control(kNameText), "Jiro");
  settle();
  EXPECT_EQ(app->qso.NameText.text(), "Hanako");
}

}  // namespace
}  // namespace vav::ui::testing
