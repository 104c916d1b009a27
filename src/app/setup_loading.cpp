// Loading the Setup tab at start-up: every option in its turn, the boxes ticked for the
// options that are on (which runs their handlers, nested), and the connections asked for.
#include <string>

#include "app/frequency_text.h"
#include "app/setup_tab.h"
#include "common/conversions.h"
#include "hosts/mixw.h"

namespace vav {

void SetupTab::load() {
  frequency_options();
  load_boxes(LoadStage::boxes);
  mixw_values();
  spot_options();
  load_boxes(LoadStage::debug);
  load_boxes(LoadStage::connections);
}

bool SetupTab::stored_debug_mode() const {
  return to_boolean(services_.settings_store.get(kSettingsStoreApp, kSettingsStoreSection,
                                                 kDebugModeKey, "False"),
                    services_.locale.separators());
}

void SetupTab::debug_entry(const char* key, const std::string& value) {
  if (services_.common.DebugMode) services_.common.DebugSettings(key, value);
}

bool SetupTab::read_boolean(const char* key, const char* debug_key) {
  const bool value = to_boolean(services_.settings_file.ReadSetting(key, "False"),
                                services_.locale.separators());
  debug_entry(debug_key, boolean_text(value));
  return value;
}

void SetupTab::load_boxes(LoadStage stage) {
  for (const BoxOption& option : kBoxOptions) {
    if (option.stage != stage) continue;
    bool on = false;
    if (option.after == AfterChange::debug_mode) {
      on = stored_debug_mode();
      services_.common.DebugMode = on;
      debug_entry(option.debug_key, boolean_text(on));
    } else {
      on = read_boolean(option.key, option.debug_key);
    }
    if (option.field != nullptr) settings.*option.field = on;
    if (on) check_box(option.number).set_checked(true);
    loaded(option, on);
  }
}

// What a loaded option does besides ticking its box.
void SetupTab::loaded(const BoxOption& option, bool on) {
  switch (option.after) {
    case AfterChange::always_on_top:
      services_.set_always_on_top(on);
      break;
    case AfterChange::contest_frame:
      Frame3.set_visible(on);
      break;
    case AfterChange::commander_link:
      if (on) services_.clients.ConnectServer(option.server);
      show_commander_settings(on);
      break;
    case AfterChange::server_link:
    case AfterChange::dxview_link:
      if (on) services_.clients.ConnectServer(option.server);
      break;
    default:
      break;
  }
}

void SetupTab::frequency_options() {
  SettingsFile& file = services_.settings_file;
  settings.FrequencyControl = file.ReadSetting("FrequencyControl", "MixW");
  debug_entry("FrequencyControlLoaded", settings.FrequencyControl);
  Option1.select(settings.FrequencyControl != "MixW" ? 1 : 0);
  settings.LoggedFrequency = file.ReadSetting("LoggedFrequency", "Actual");
  debug_entry("LoggedFrequencyLoaded", settings.LoggedFrequency);
  Option2.select(settings.LoggedFrequency != "Rig" ? 1 : 0);
}

void SetupTab::mixw_values() {
  const std::string ini = services_.settings_file.program_folder() + "\\" + mixw::kIniFile;
  const auto number = [&](const char* key, const char* debug_key) {
    const std::int16_t value =
        round_to_int16(leading_number(ReadIniValue(services_.files, mixw::kIniSection, key, ini)));
    debug_entry(debug_key, std::to_string(value));
    return value;
  };
  settings.CWPitch = number("m_iCWPitchHz", "CWPitchLoaded");
  settings.FSKPitch = number("m_iFSKPitchHz", "FSKPitchLoaded");
  const std::int16_t via_soundcard = number("m_bFSKOutViaSoundcard", "aLoaded");
  if (via_soundcard == 0) settings.HardwareFSK = true;
  if (via_soundcard == 1) settings.HardwareFSK = false;
}

void SetupTab::spot_options() {
  SettingsFile& file = services_.settings_file;
  const Separators s = services_.locale.separators();
  settings.RTTYRadioMode = round_to_int16(locale_number(file.ReadSetting("RTTYRadioModeSetting", "0"), s));
  debug_entry("RTTYRadioModeLoaded", std::to_string(settings.RTTYRadioMode));
  Combo1.set_list_index(settings.RTTYRadioMode);
  settings.OptDigitalFrequency =
      round_to_int16(locale_number(file.ReadSetting("OptiumDigitalFreq", "1500"), s));
  debug_entry("OptDigitalFrequencyLoaded", std::to_string(settings.OptDigitalFrequency));
  OptDigitalFreq.set_text(std::to_string(settings.OptDigitalFrequency));
  load_boxes(LoadStage::spot_settings);
}

}  // namespace vav
