#pragma once
// The options of the Setup tab, named by their keys in the settings file.
#include <cstdint>
#include <string>

namespace vav {

struct Settings {
  std::string FrequencyControl;  // "MixW" or "Commander"
  std::string LoggedFrequency;   // "Actual" or "Rig"
  bool SendToeQSL = false;
  bool RequestQSL = false;
  bool LookupPrev = false;
  bool SaveGrid = false;
  bool SaveIota = false;
  bool SaveCounty = false;
  bool AlwaysOnTop = false;
  bool ShowContest = false;
  bool TickleDXView = false;
  bool TicklePathfinder = false;
  std::int16_t RTTYRadioMode = 0;        // key RTTYRadioModeSetting
  std::int16_t OptDigitalFrequency = 0;  // key OptiumDigitalFreq
  bool TerminateApps = false;
  bool UseOptimal = false;
  // From MixW's "Mixw2.ini".
  std::int16_t CWPitch = 0;
  std::int16_t FSKPitch = 0;
  bool HardwareFSK = false;
};

// Where the debug switch is kept: the application settings store, not the settings file.
inline constexpr const char* kSettingsStoreApp = "Vavizorur";
inline constexpr const char* kSettingsStoreSection = "Settings";
inline constexpr const char* kDebugModeKey = "DebugMode";

}  // namespace vav
