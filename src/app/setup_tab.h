#pragma once
// The "Setup" tab: its 17 check boxes, the two option groups, the RTTY radio-mode list, the
// optimal-frequency box and the two frames, with the options they stand for (`Settings`),
// loaded once at start-up and saved at every change.
//
// Hazard: ticking a box, choosing an option or selecting a list entry from code runs that
// control's handler, nested. The Commander box and the frequency-control option set each
// other; the chain ends because a control set to the state it already has runs nothing.
#include <functional>
#include <string>

#include "app/settings.h"
#include "app/settings_file.h"
#include "app/setup_boxes.h"
#include "common/common.h"
#include "common/locale_info.h"
#include "controls/controls.h"
#include "dde/dde_client_module.h"
#include "platform/files.h"
#include "platform/settings_store.h"

namespace vav {

class SetupTab {
 public:
  // What the tab reads, saves and links.
  struct Services {
    SettingsFile& settings_file;
    SettingsStore& settings_store;
    Files& files;
    Common& common;
    LocaleInfo& locale;
    DDEClientModule& clients;
    // Keeps the main window above the others, or not.
    std::function<void(bool on_top)> set_always_on_top;
  };

  explicit SetupTab(Services services);
  SetupTab(const SetupTab&) = delete;
  SetupTab& operator=(const SetupTab&) = delete;

  // Reads every option, in order, ticking the boxes of the options that are on and opening
  // the connections asked for. Throws RuntimeError at the first option that cannot be read;
  // the options after it keep their start values.
  void load();
  // The debug switch as the settings store holds it.
  bool stored_debug_mode() const;

  // Check box `number` (1 to 17); throws kSubscriptOutOfRange for any other number.
  CheckBox& check_box(int number);
  // A click on box `number`: keeps the option and does what follows a change of it. Reported
  // as "QuandrelMain.Check<number>_Click".
  void box_clicked(int number);
  void Option1_Click(int index);
  void Option2_Click(int index);
  void Combo1_Click();
  void OptDigitalFreq_Change();

  Settings settings;
  CheckBox Check1{caption(1)}, Check2{caption(2)}, Check3{caption(3)}, Check4{caption(4)},
      Check5{caption(5)}, Check6{caption(6)}, Check7{caption(7)}, Check8{caption(8)},
      Check9{caption(9)}, Check10{caption(10)}, Check11{caption(11)}, Check12{caption(12)},
      Check13{caption(13)}, Check14{caption(14)}, Check15{caption(15)}, Check16{caption(16)},
      Check17{caption(17)};
  OptionGroup Option1{{"MixW", "Commander"}};
  OptionGroup Option2{{"Rig Frequency", "Actual Frequency"}};
  ComboList Combo1{{"LSB", "USB", "RTTY", "RTTY-R", "PKT"}};  // RTTY radio mode
  TextControl OptDigitalFreq{"1500"};
  Frame Frame3;  // contest exchange
  Frame Frame6;  // SpotCollector settings

 private:
  static const char* caption(int number) { return box_option(number).caption; }
  void load_boxes(LoadStage stage);
  void loaded(const BoxOption& option, bool on);
  void save(const BoxOption& option, bool on);
  void link(int server, bool on);
  void show_commander_settings(bool shown);
  bool read_boolean(const char* key, const char* debug_key);
  void debug_entry(const char* key, const std::string& value);
  void frequency_options();
  void mixw_values();
  void spot_options();

  Services services_;
};

}  // namespace vav
