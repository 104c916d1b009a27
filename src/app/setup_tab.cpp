// The Setup tab: loading every option at start-up and the handlers that apply and save each
// change at once.
//
// Hazard: ticking a box, choosing an option or selecting a list entry from code runs that
// control's handler, nested. The Commander box and the frequency-control option set each
// other; the chain ends because a control set to the state it already has runs nothing.
#include <iterator>
#include <string>

#include "app/frequency_text.h"
#include "app/quandrel_main.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr const char* kStoreApp = "Vavizorur";
constexpr const char* kStoreSection = "Settings";
constexpr const char* kStoreDebugMode = "DebugMode";

}  // namespace

// ---- loading --------------------------------------------------------------------------

namespace {

// The steps of loading that share the window and its helpers.
class SettingsLoader {
 public:
  explicit SettingsLoader(QuandrelMain& main) : m_(main) {}

  void run();

 private:
  void entry(const char* key, const std::string& value) {
    if (m_.DebugMode()) m_.debug(key, value);
  }
  std::string read(const char* key, const char* default_value) {
    return m_.settings_file.ReadSetting(key, default_value);
  }
  bool read_boolean(const char* key, const char* debug_key) {
    const bool value = to_boolean(read(key, "False"), m_.separators());
    entry(debug_key, boolean_text(value));
    return value;
  }
  // The on/off options loaded at this stage: each box is ticked when its option is on.
  void load_boxes(LoadedWith stage);
  std::int16_t read_number(const char* key, const char* default_value, const char* debug_key) {
    const std::int16_t value =
        round_to_int16(locale_number(read(key, default_value), m_.separators()));
    entry(debug_key, std::to_string(value));
    return value;
  }
  std::string mixw_ini(const char* key) {
    return ReadIniValue(m_.platform.files, mixw::kIniSection, key,
                        m_.settings_file.program_folder() + "\\" + mixw::kIniFile);
  }
  std::int16_t mixw_ini_number(const char* key, const char* debug_key) {
    const std::int16_t value = round_to_int16(leading_number(mixw_ini(key)));
    entry(debug_key, std::to_string(value));
    return value;
  }
  void frequency_options();
  void mixw_values();
  void spot_options();
  void debug_mode();
  void connections();

  QuandrelMain& m_;
};

void SettingsLoader::run() {
  m_.Timer1.set_enabled(true);
  m_.Timer3.set_enabled(true);
  frequency_options();
  load_boxes(LoadedWith::boxes);
  mixw_values();
  spot_options();
  debug_mode();
  connections();
  if (m_.DebugMode()) {
    entry("DdeMhzFormat", mixw_ini("DdeMhzFormat"));
    entry("DdeCatFormat", mixw_ini("DdeCatFormat"));
    entry("DdeKhzFormat", mixw_ini("DdeKhzFormat"));
    entry("MixWMode", m_.mixw().Mode());
  }
  m_.common.RefreshCaption();
}

void SettingsLoader::frequency_options() {
  Settings& s = m_.settings;
  s.FrequencyControl = read("FrequencyControl", "MixW");
  entry("FrequencyControlLoaded", s.FrequencyControl);
  m_.Option1.select(s.FrequencyControl != "MixW" ? 1 : 0);
  s.LoggedFrequency = read("LoggedFrequency", "Actual");
  entry("LoggedFrequencyLoaded", s.LoggedFrequency);
  m_.Option2.select(s.LoggedFrequency != "Rig" ? 1 : 0);
}

void SettingsLoader::load_boxes(LoadedWith stage) {
  for (const BoxOption& option : kBoxOptions) {
    if (option.loaded_with != stage) continue;
    bool& field = m_.settings.*option.field;
    field = read_boolean(option.key, option.debug_key);
    if (field) m_.check_box(option.check_box).set_checked(true);
    if (option.field == &Settings::AlwaysOnTop) m_.set_topmost_in_place(field);
    if (option.field == &Settings::ShowContest) m_.Frame3.set_visible(field);
  }
}

void SettingsLoader::mixw_values() {
  Settings& s = m_.settings;
  s.CWPitch = mixw_ini_number("m_iCWPitchHz", "CWPitchLoaded");
  s.FSKPitch = mixw_ini_number("m_iFSKPitchHz", "FSKPitchLoaded");
  const std::int16_t via_soundcard = mixw_ini_number("m_bFSKOutViaSoundcard", "aLoaded");
  if (via_soundcard == 0) s.HardwareFSK = true;
  if (via_soundcard == 1) s.HardwareFSK = false;
}

void SettingsLoader::spot_options() {
  Settings& s = m_.settings;
  s.RTTYRadioMode = read_number("RTTYRadioModeSetting", "0", "RTTYRadioModeLoaded");
  m_.Combo1.set_list_index(s.RTTYRadioMode);
  s.OptDigitalFrequency = read_number("OptiumDigitalFreq", "1500", "OptDigitalFrequencyLoaded");
  m_.OptDigitalFreq.set_text(std::to_string(s.OptDigitalFrequency));
  load_boxes(LoadedWith::spot_settings);
}

void SettingsLoader::debug_mode() {
  const bool on =
      to_boolean(m_.platform.settings_store.get(kStoreApp, kStoreSection, kStoreDebugMode, "False"),
                 m_.separators());
  m_.common.DebugMode = on;
  entry("DebugModeLoaded", boolean_text(on));
  if (on) m_.Check15.set_checked(true);
}

void SettingsLoader::connections() {
  const bool commander = read_boolean("ConnectCommander", "tempLoaded");
  if (commander) {
    m_.Check11.set_checked(true);
    m_.clients.ConnectServer(dxlab::kCommander);
  }
  m_.Frame6.set_visible(commander);
  m_.Check16.set_visible(commander);

  if (read_boolean("ConnectDXKeeper", "tempbPrevLoaded")) {
    m_.Check12.set_checked(true);
    m_.clients.ConnectServer(dxlab::kDXKeeper);
  }
  if (read_boolean("ConnectDXView", "tempcLoaded")) {
    m_.Check13.set_checked(true);
    m_.clients.ConnectServer(dxlab::kDXView);
  }
  if (read_boolean("ConnectPathFinder", "tempdLoaded")) {
    m_.Check14.set_checked(true);
    m_.clients.ConnectServer(dxlab::kPathfinder);
  }
}

}  // namespace

void QuandrelMain::LoadSettings() {
  trap("QuandrelMain.LoadSettings", [this] { SettingsLoader(*this).run(); });
}

// ---- the on/off options --------------------------------------------------------------

CheckBox& QuandrelMain::check_box(int number) {
  CheckBox* const boxes[] = {&Check1,  &Check2,  &Check3,  &Check4,  &Check5,  &Check6,
                             &Check7,  &Check8,  &Check9,  &Check10, &Check11, &Check12,
                             &Check13, &Check14, &Check15, &Check16, &Check17};
  if (number < 1 || number > static_cast<int>(std::size(boxes))) {
    throw RuntimeError(err::kSubscriptOutOfRange);
  }
  return *boxes[number - 1];
}

// A box of the options table: ticked saves True, unticked False, grayed does nothing.
void QuandrelMain::option_box_clicked(int number) {
  const BoxOption* option = box_option(number);
  const CheckBox& box = check_box(number);
  if (option == nullptr || box.value() == CheckValue::grayed) return;
  settings.*option->field = box.checked();
  settings_file.WriteSetting(option->key, boolean_text(box.checked()), false);
  if (option->field == &Settings::ShowContest) Frame3.set_visible(box.checked());
}

void QuandrelMain::Check1_Click() { option_box_clicked(1); }
void QuandrelMain::Check2_Click() { option_box_clicked(2); }
void QuandrelMain::Check3_Click() { option_box_clicked(3); }
void QuandrelMain::Check4_Click() { option_box_clicked(4); }
void QuandrelMain::Check5_Click() { option_box_clicked(5); }
void QuandrelMain::Check6_Click() { option_box_clicked(6); }
void QuandrelMain::Check7_Click() { option_box_clicked(7); }
void QuandrelMain::Check8_Click() { option_box_clicked(8); }
void QuandrelMain::Check9_Click() { option_box_clicked(9); }
void QuandrelMain::Check16_Click() { option_box_clicked(16); }
void QuandrelMain::Check17_Click() { option_box_clicked(17); }

// ---- boxes with more to do ------------------------------------------------------------

void QuandrelMain::Check15_Click() {
  if (Check15.value() == CheckValue::grayed) return;
  common.DebugMode = Check15.checked();
  platform.settings_store.save(kStoreApp, kStoreSection, kStoreDebugMode,
                               boolean_text(common.DebugMode));
}

void QuandrelMain::Check11_Click() {
  switch (Check11.value()) {
    case CheckValue::checked:
      clients.ConnectServer(dxlab::kCommander);
      settings_file.WriteSetting("ConnectCommander", boolean_text(true), false);
      Frame6.set_visible(true);
      Check16.set_visible(true);
      Option1.select(1);
      break;
    case CheckValue::unchecked:
      clients.DisconnectServer(dxlab::kCommander);
      settings_file.WriteSetting("ConnectCommander", boolean_text(false), false);
      Frame6.set_visible(false);
      Check16.set_visible(false);
      Option1.select(0);
      break;
    case CheckValue::grayed:
      break;
  }
}

namespace {

// A connection box: ticked connects and saves True, unticked disconnects and saves False.
// Returns whether it was unticked.
bool apply_connection_box(QuandrelMain& main, const CheckBox& box, int server, const char* key) {
  switch (box.value()) {
    case CheckValue::checked:
      main.clients.ConnectServer(server);
      main.settings_file.WriteSetting(key, boolean_text(true), false);
      return false;
    case CheckValue::unchecked:
      main.clients.DisconnectServer(server);
      main.settings_file.WriteSetting(key, boolean_text(false), false);
      return true;
    case CheckValue::grayed:
      break;
  }
  return false;
}

}  // namespace

void QuandrelMain::Check12_Click() {
  apply_connection_box(*this, Check12, dxlab::kDXKeeper, "ConnectDXKeeper");
}

void QuandrelMain::Check13_Click() {
  if (!apply_connection_box(*this, Check13, dxlab::kDXView, "ConnectDXView")) return;
  // Without DXView connected there is nobody to send callsigns to.
  settings.TickleDXView = false;
  settings_file.WriteSetting("TickleDXView", boolean_text(false), false);
  Check6.set_checked(false);
}

void QuandrelMain::Check14_Click() {
  apply_connection_box(*this, Check14, dxlab::kPathfinder, "ConnectPathFinder");
}

// ---- other controls -------------------------------------------------------------------

void QuandrelMain::Option1_Click(int index) {
  trap("QuandrelMain.Option1_Click", [this, index] {
    if (index != 0 && index != 1) return;
    const bool commander = index == 1;
    settings.FrequencyControl = commander ? "Commander" : "MixW";
    settings_file.WriteSetting("FrequencyControl", settings.FrequencyControl, false);
    Frame6.set_visible(commander);
    Check16.set_visible(commander);
    Check11.set_checked(commander);
  });
}

void QuandrelMain::Option2_Click(int index) {
  trap("QuandrelMain.Option2_Click", [this, index] {
    if (index != 0 && index != 1) return;
    settings.LoggedFrequency = index == 1 ? "Actual" : "Rig";
    settings_file.WriteSetting("LoggedFrequency", settings.LoggedFrequency, false);
  });
}

void QuandrelMain::Combo1_Click() {
  settings.RTTYRadioMode = static_cast<std::int16_t>(Combo1.list_index());
  settings_file.WriteSetting("RTTYRadioModeSetting", str_number(settings.RTTYRadioMode), false);
}

void QuandrelMain::OptDigitalFreq_Change() {
  // Only a whole 16-bit number is taken and saved, so the file always holds a value that
  // loads; while the user retypes the box the last valid value stays in force.
  const auto value = whole_int16(OptDigitalFreq.text());
  if (!value) return;
  settings.OptDigitalFrequency = *value;
  settings_file.WriteSetting("OptiumDigitalFreq", OptDigitalFreq.text(), false);
}

}  // namespace vav
