// Loading the options at start-up and the Setup-tab handlers that save each change at once.
#include <algorithm>

#include "station_fixture.h"

namespace vav::testing {
namespace {

class SetupTabTest : public StationTest {
 protected:
  void SetUp() override { station.mixw().start(); }
  std::string error_log() { return read_file("ErrorLog.txt"); }
  bool commander_connected() { return app->clients.IsServerConnected(dxlab::kCommander); }
  // Commander frequency control on or off everywhere: the option, the box, the link, the
  // Commander-only settings and the file.
  void expect_commander_control(bool on) {
    EXPECT_EQ(app->setup.Option1.selected(), on ? 1 : 0);
    EXPECT_EQ(app->setup.settings.FrequencyControl, on ? "Commander" : "MixW");
    EXPECT_EQ(app->setup.Check11.checked(), on);
    EXPECT_EQ(commander_connected(), on);
    EXPECT_EQ(app->setup.Frame6.visible(), on);
    EXPECT_EQ(app->setup.Check16.visible(), on);
    EXPECT_EQ(setting("FrequencyControl"), on ? "Commander" : "MixW");
    EXPECT_EQ(setting("ConnectCommander"), on ? "True" : "False");
  }
};

TEST_F(SetupTabTest, StartWithoutASettingsFileCreatesItWithTheDefaults) {
  station.commander().start();
  station.dxkeeper().start();
  start_program();
  const std::string file = read_file("Vavizorur.ini");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 24);
  EXPECT_EQ(file.substr(0, 35), "[Settings]\r\nFrequencyControl=MixW\r\n");
  expect_commander_control(false);
  const Settings& s = app->setup.settings;
  EXPECT_EQ(s.LoggedFrequency, "Actual");
  EXPECT_FALSE(s.SendToeQSL || s.RequestQSL || s.LookupPrev || s.SaveGrid || s.SaveIota ||
               s.SaveCounty || s.AlwaysOnTop || s.ShowContest || s.TickleDXView ||
               s.TicklePathfinder || s.TerminateApps || s.UseOptimal);
  EXPECT_EQ(s.RTTYRadioMode, 0);
  EXPECT_EQ(s.OptDigitalFrequency, 1500);
  EXPECT_EQ(app->setup.OptDigitalFreq.text(), "1500");
  EXPECT_EQ(app->setup.Option2.selected(), 1);
  EXPECT_EQ(app->setup.Combo1.list_index(), 0);
  EXPECT_FALSE(app->setup.Frame3.visible());
  EXPECT_EQ(station.commander().conversation_count(), 0u);
  EXPECT_EQ(station.dxkeeper().conversation_count(), 0u);
  EXPECT_TRUE(app->Timer1.enabled());
  EXPECT_TRUE(app->Timer3.enabled());
  // Without Mixw2.ini the FSK pitch is 0 and FSK is taken as keyed by hardware.
  EXPECT_EQ(s.FSKPitch, 0);
  EXPECT_TRUE(s.HardwareFSK);
  EXPECT_EQ(error_log(), "<missing>");
}

TEST_F(SetupTabTest, LoadingAppliesEveryOption) {
  write_settings({"FrequencyControl=Commander",
                  "LoggedFrequency=Rig",
                  "SendToeQSL=True",
                  "RequestQSL=true",
                  "LookupPrev=1",
                  "SaveGrid=True",
                  "SaveIota=True",
                  "SaveCounty=True",
                  "AlwaysOnTop=True",
                  "ShowContest=True",
                  "TickleDXView=True",
                  "TicklePathfinder=True",
                  "RTTYRadioModeSetting= 3",
                  "OptiumDigitalFreq=1000",
                  "TerminateApps=True",
                  "UseOptimal=True",
                  "ConnectCommander=True",
                  "ConnectDXKeeper=True",
                  "ConnectDXView=True",
                  "ConnectPathFinder=True"});
  write_file("Mixw2.ini",
             "[Cat]\r\nm_iCWPitchHz=800\r\nm_iFSKPitchHz=2125\r\n"
             "m_bFSKOutViaSoundcard=1\r\n");
  station.commander().start();
  station.dxkeeper().start();
  station.dxview().start();
  station.pathfinder().start();
  start_program();
  const Settings& s = app->setup.settings;
  EXPECT_EQ(s.FrequencyControl, "Commander");
  EXPECT_EQ(s.LoggedFrequency, "Rig");
  EXPECT_TRUE(s.SendToeQSL && s.RequestQSL && s.LookupPrev && s.SaveGrid && s.SaveIota &&
              s.SaveCounty && s.AlwaysOnTop && s.ShowContest && s.TickleDXView &&
              s.TicklePathfinder && s.TerminateApps && s.UseOptimal);
  for (const CheckBox* box :
       {&app->setup.Check1, &app->setup.Check2, &app->setup.Check3, &app->setup.Check4, &app->setup.Check5, &app->setup.Check6,
        &app->setup.Check7, &app->setup.Check8, &app->setup.Check9, &app->setup.Check10, &app->setup.Check11, &app->setup.Check12,
        &app->setup.Check13, &app->setup.Check14, &app->setup.Check16, &app->setup.Check17}) {
    EXPECT_TRUE(box->checked()) << box->caption();
  }
  EXPECT_EQ(app->setup.Option1.selected(), 1);
  EXPECT_EQ(app->setup.Option2.selected(), 0);
  EXPECT_EQ(app->setup.Combo1.list_index(), 3);
  EXPECT_EQ(app->setup.OptDigitalFreq.text(), "1000");
  EXPECT_TRUE(app->setup.Frame3.visible());
  EXPECT_TRUE(app->setup.Frame6.visible());
  EXPECT_TRUE(app->setup.Check16.visible());
  EXPECT_EQ(s.CWPitch, 800);
  EXPECT_EQ(s.FSKPitch, 2125);
  EXPECT_FALSE(s.HardwareFSK);
  for (int server : {dxlab::kCommander, dxlab::kDXKeeper, dxlab::kDXView, dxlab::kPathfinder}) {
    EXPECT_TRUE(app->clients.IsServerConnected(server)) << server;
  }
  ASSERT_FALSE(frame.topmost_calls().empty());
  EXPECT_TRUE(frame.topmost_calls().back().on_top);
  EXPECT_EQ(error_log(), "<missing>");
}

// Commander control without the Commander box, or the box under MixW control, loads as both.
class CommanderLoadTest : public SetupTabTest,
                          public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CommanderLoadTest, EndsAsCommanderControlEverywhere) {
  write_settings(GetParam());
  station.commander().start();
  start_program();
  expect_commander_control(true);
}

// "Key=value" as a test name: "Key_value", "Key_empty" for no value, "minus" for a "-".
std::string setting_name(const std::string& line) {
  const std::size_t eq = line.find('=');
  std::string value = line.substr(eq + 1);
  if (value.empty()) value = "empty";
  if (value.front() == '-') value.replace(0, 1, "minus");
  return line.substr(0, eq) + "_" + value;
}

INSTANTIATE_TEST_SUITE_P(Settings, CommanderLoadTest,
                         ::testing::Values(std::vector<std::string>{"FrequencyControl=MixW",
                                                                    "ConnectCommander=True"},
                                           std::vector<std::string>{"FrequencyControl=Commander",
                                                                    "ConnectCommander=False"}),
                         [](const auto& test) {
                           std::string name;
                           for (const std::string& line : test.param)
                             name += (name.empty() ? "" : "_") + setting_name(line);
                           return name;
                         });

TEST_F(SetupTabTest, FrequencyControlAndTheCommanderBoxKeepInStep) {
  station.commander().start();
  start_program();
  app->setup.Option1.select(1);
  expect_commander_control(true);
  app->setup.Option1.select(0);
  expect_commander_control(false);
  app->setup.Check11.set_checked(true);
  expect_commander_control(true);
  app->setup.Check11.set_checked(false);
  expect_commander_control(false);

  app->setup.Check11.set_value(CheckValue::grayed);
  EXPECT_EQ(app->setup.Option1.selected(), 0);
  EXPECT_EQ(setting("ConnectCommander"), "False");
}

TEST_F(SetupTabTest, PlainBoxesSaveTheirKeyAtOnce) {
  start_program();
  const struct {
    CheckBox* box;
    const char* key;
    bool* field;
  } boxes[] = {
      {&app->setup.Check1, "RequestQSL", &app->setup.settings.RequestQSL},
      {&app->setup.Check2, "LookupPrev", &app->setup.settings.LookupPrev},
      {&app->setup.Check3, "SaveGrid", &app->setup.settings.SaveGrid},
      {&app->setup.Check4, "SaveIota", &app->setup.settings.SaveIota},
      {&app->setup.Check5, "SaveCounty", &app->setup.settings.SaveCounty},
      {&app->setup.Check6, "TickleDXView", &app->setup.settings.TickleDXView},
      {&app->setup.Check7, "ShowContest", &app->setup.settings.ShowContest},
      {&app->setup.Check8, "TicklePathfinder", &app->setup.settings.TicklePathfinder},
      {&app->setup.Check9, "TerminateApps", &app->setup.settings.TerminateApps},
      {&app->setup.Check10, "AlwaysOnTop", &app->setup.settings.AlwaysOnTop},
      {&app->setup.Check16, "UseOptimal", &app->setup.settings.UseOptimal},
      {&app->setup.Check17, "SendToeQSL", &app->setup.settings.SendToeQSL},
  };
  for (const auto& b : boxes) {
    SCOPED_TRACE(b.key);
    b.box->set_checked(true);
    EXPECT_TRUE(*b.field);
    EXPECT_EQ(setting(b.key), "True");
    EXPECT_EQ(app->setup.Frame3.visible(), b.box == &app->setup.Check7);  // the contest exchange
    b.box->set_value(CheckValue::grayed);                     // grayed does nothing
    EXPECT_TRUE(*b.field);
    EXPECT_EQ(setting(b.key), "True");
    b.box->set_checked(false);
    EXPECT_FALSE(*b.field);
    EXPECT_EQ(setting(b.key), "False");
    EXPECT_FALSE(app->setup.Frame3.visible());
  }
}

TEST_F(SetupTabTest, UntickingDXViewSwitchesTheDXViewLookupOff) {
  write_settings({"ConnectDXView=True", "TickleDXView=True"});
  station.dxview().start();
  start_program();
  ASSERT_TRUE(app->clients.IsServerConnected(dxlab::kDXView));
  app->setup.Check13.set_checked(false);
  EXPECT_FALSE(app->clients.IsServerConnected(dxlab::kDXView));
  EXPECT_EQ(station.dxview().conversation_count(), 0u);
  EXPECT_FALSE(app->setup.settings.TickleDXView);
  EXPECT_FALSE(app->setup.Check6.checked());
  EXPECT_EQ(setting("TickleDXView"), "False");
  EXPECT_EQ(setting("ConnectDXView"), "False");
}

TEST_F(SetupTabTest, ConnectionBoxesConnectAndDisconnect) {
  station.dxkeeper().start();
  station.pathfinder().start();
  start_program();
  const struct {
    CheckBox* box;
    int server;
    const char* key;
  } boxes[] = {{&app->setup.Check12, dxlab::kDXKeeper, "ConnectDXKeeper"},
               {&app->setup.Check14, dxlab::kPathfinder, "ConnectPathFinder"}};
  for (const auto& b : boxes) {
    SCOPED_TRACE(b.key);
    b.box->set_checked(true);
    EXPECT_TRUE(app->clients.IsServerConnected(b.server));
    EXPECT_EQ(setting(b.key), "True");
    b.box->set_checked(false);
    EXPECT_FALSE(app->clients.IsServerConnected(b.server));
    EXPECT_EQ(setting(b.key), "False");
  }
}

TEST_F(SetupTabTest, RttyRadioModeIsSavedAsNumberTextAndReloaded) {
  start_program();
  app->setup.Combo1.set_list_index(3);
  EXPECT_EQ(app->setup.settings.RTTYRadioMode, 3);
  EXPECT_NE(read_file("Vavizorur.ini").find("RTTYRadioModeSetting= 3\r\n"), std::string::npos);
  restart_program();
  EXPECT_EQ(app->setup.settings.RTTYRadioMode, 3);
  EXPECT_EQ(app->setup.Combo1.list_index(), 3);
}

TEST_F(SetupTabTest, EachKeystrokeOfAWhole16BitOptimalFrequencyIsSaved) {
  start_program();
  std::vector<std::string> saved;
  for (const char* text : {"", "1", "12", "120", "1200"}) {
    app->setup.OptDigitalFreq.set_text(text);
    saved.push_back(setting("OptiumDigitalFreq"));
  }
  // The emptied box is not saved: the file keeps the last value that loads.
  EXPECT_EQ(saved, (std::vector<std::string>{"1500", "1", "12", "120", "1200"}));
  for (const char* text : {"", "abc", "12a", "99999", "-", "1200.5", " 1200", "1,200"}) {
    SCOPED_TRACE(text);
    app->setup.OptDigitalFreq.set_text(text);
    EXPECT_EQ(app->setup.OptDigitalFreq.text(), text);  // the box keeps what the user typed
    EXPECT_EQ(setting("OptiumDigitalFreq"), "1200");
    EXPECT_EQ(app->setup.settings.OptDigitalFrequency, 1200);
  }
  EXPECT_EQ(app->run_end(), RunEnd::running);
  app->setup.OptDigitalFreq.set_text("1800");  // still editable
  EXPECT_EQ(setting("OptiumDigitalFreq"), "1800");
  app->setup.OptDigitalFreq.set_text("oops");
  restart_program();
  EXPECT_EQ(app->setup.OptDigitalFreq.text(), "1800");
  EXPECT_EQ(error_log(), "<missing>");
}

TEST_F(SetupTabTest, DebugBoxStoresTheSwitchOutsideTheFile) {
  start_program();
  app->setup.Check15.set_checked(true);
  EXPECT_TRUE(app->DebugMode());
  EXPECT_EQ(store.value("Vavizorur", "Settings", "DebugMode"), "True");
  EXPECT_EQ(setting("DebugMode"), "");
  files.remove(path("Vavizorur.ini"));
  restart_program();
  EXPECT_TRUE(app->DebugMode());
  EXPECT_TRUE(app->setup.Check15.checked());
  app->setup.Check15.set_checked(false);
  EXPECT_EQ(store.value("Vavizorur", "Settings", "DebugMode"), "False");
}

TEST_F(SetupTabTest, DebugEntriesOfLoadingComeInOrder) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  start_program();
  const std::string log = read_file("VavizorurDebug.txt");
  std::size_t at = 0;
  for (const char* key : {"FrequencyControlLoaded = MixW",
                          "LoggedFrequencyLoaded = Actual",
                          "SendToeQSLLoaded = False",
                          "RequestQSLLoaded",
                          "LookupPrevLoaded",
                          "SaveGridLoaded",
                          "SaveIotaLoaded",
                          "SaveCountyLoaded",
                          "TopMostLoaded",
                          "ShowContestLoaded",
                          "TickleDXViewLoaded",
                          "TicklePathfinderLoaded",
                          "CWPitchLoaded = 0",
                          "FSKPitchLoaded = 0",
                          "aLoaded = 0",
                          "RTTYRadioModeLoaded = 0",
                          "OptDigitalFrequencyLoaded = 1500",
                          "TerminateAppsLoaded",
                          "UseOptimalLoaded",
                          "DebugModeLoaded = True",
                          "tempLoaded = False",
                          "tempbPrevLoaded",
                          "tempcLoaded",
                          "tempdLoaded",
                          "DdeMhzFormat",
                          "DdeCatFormat",
                          "DdeKhzFormat",
                          "MixWMode = BPSK31"}) {
    const std::size_t found = log.find(key, at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
}

struct BadValueCase {
  const char* line;
  bool loaded;  // whether loading ran to its end (the connections come last)
};

class BadValueTest : public SetupTabTest, public ::testing::WithParamInterface<BadValueCase> {};

TEST_P(BadValueTest, ABadValueEndsLoadingThereWithAnErrorEntry) {
  write_settings({GetParam().line, "ConnectDXKeeper=True"});
  station.dxkeeper().start();
  start_program();
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_EQ(app->clients.IsServerConnected(dxlab::kDXKeeper), GetParam().loaded);
  EXPECT_EQ(error_log().find("QuandrelMain.LoadSettings") == std::string::npos, GetParam().loaded);
  EXPECT_TRUE(app->Timer1.enabled());
}

INSTANTIATE_TEST_SUITE_P(Values, BadValueTest,
                         ::testing::Values(BadValueCase{"SaveGrid=maybe", false},
                                           BadValueCase{"RTTYRadioModeSetting=7", false},
                                           BadValueCase{"RTTYRadioModeSetting=abc", false},
                                           BadValueCase{"OptiumDigitalFreq=99999", false},
                                           BadValueCase{"OptiumDigitalFreq=", true},
                                           BadValueCase{"UseOptimal=", true},
                                           BadValueCase{"RTTYRadioModeSetting=-1", true}),
                         [](const auto& test) { return setting_name(test.param.line); });

TEST_F(SetupTabTest, LoggedFrequencyOption) {
  start_program();
  for (const auto& [index, value] : {std::pair{0, "Rig"}, std::pair{1, "Actual"}}) {
    app->setup.Option2.select(index);
    EXPECT_EQ(app->setup.settings.LoggedFrequency, value);
    EXPECT_EQ(setting("LoggedFrequency"), value);
  }
}

}  // namespace
}  // namespace vav::testing
