#pragma once
// The options of the Setup tab, named by their keys in the settings file, and the table of
// the on/off options: one row per option says where it is stored, which field holds it,
// which check box shows it and what the debug log calls it when it is loaded.
#include <array>
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

// When an option is loaded: with the other boxes, or after the spot settings it belongs to.
enum class LoadedWith { boxes, spot_settings };

// An on/off option of the settings file shown by a check box of the Setup tab.
struct BoxOption {
  const char* key;        // in the settings file
  bool Settings::*field;  // what the program reads
  int check_box;          // the number of its CheckN box
  const char* debug_key;  // the debug log's entry when loaded
  LoadedWith loaded_with;
};

// In the order the options are loaded.
inline constexpr std::array<BoxOption, 12> kBoxOptions{{
    {"SendToeQSL", &Settings::SendToeQSL, 17, "SendToeQSLLoaded", LoadedWith::boxes},
    {"RequestQSL", &Settings::RequestQSL, 1, "RequestQSLLoaded", LoadedWith::boxes},
    {"LookupPrev", &Settings::LookupPrev, 2, "LookupPrevLoaded", LoadedWith::boxes},
    {"SaveGrid", &Settings::SaveGrid, 3, "SaveGridLoaded", LoadedWith::boxes},
    {"SaveIota", &Settings::SaveIota, 4, "SaveIotaLoaded", LoadedWith::boxes},
    {"SaveCounty", &Settings::SaveCounty, 5, "SaveCountyLoaded", LoadedWith::boxes},
    {"AlwaysOnTop", &Settings::AlwaysOnTop, 10, "TopMostLoaded", LoadedWith::boxes},
    {"ShowContest", &Settings::ShowContest, 7, "ShowContestLoaded", LoadedWith::boxes},
    {"TickleDXView", &Settings::TickleDXView, 6, "TickleDXViewLoaded", LoadedWith::boxes},
    {"TicklePathfinder", &Settings::TicklePathfinder, 8, "TicklePathfinderLoaded",
     LoadedWith::boxes},
    {"TerminateApps", &Settings::TerminateApps, 9, "TerminateAppsLoaded",
     LoadedWith::spot_settings},
    {"UseOptimal", &Settings::UseOptimal, 16, "UseOptimalLoaded", LoadedWith::spot_settings},
}};

// The row of check box `number`, or null when that box shows no such option.
constexpr const BoxOption* box_option(int number) {
  for (const BoxOption& option : kBoxOptions) {
    if (option.check_box == number) return &option;
  }
  return nullptr;
}

}  // namespace vav
