// The Setup tab's handlers: each change is applied and saved at once.
#include "app/setup_tab.h"

#include <iterator>
#include <string>

#include "app/frequency_text.h"
#include "common/conversions.h"
#include "errors/error_trap.h"

namespace vav {

const BoxOption& box_option(int number) {
  for (const BoxOption& option : kBoxOptions) {
    if (option.number == number) return option;
  }
  throw RuntimeError(err::kSubscriptOutOfRange);
}

SetupTab::SetupTab(Services services) : services_(std::move(services)) {
  for (int number = 1; number <= static_cast<int>(kBoxOptions.size()); ++number) {
    check_box(number).on_click = [this, number] { box_clicked(number); };
  }
  Option1.on_click = [this](int index) { Option1_Click(index); };
  Option2.on_click = [this](int index) { Option2_Click(index); };
  Combo1.on_click = [this] { Combo1_Click(); };
  OptDigitalFreq.on_change = [this] { OptDigitalFreq_Change(); };
}

CheckBox& SetupTab::check_box(int number) {
  CheckBox* const boxes[] = {&Check1,  &Check2,  &Check3,  &Check4,  &Check5,  &Check6,
                             &Check7,  &Check8,  &Check9,  &Check10, &Check11, &Check12,
                             &Check13, &Check14, &Check15, &Check16, &Check17};
  if (number < 1 || number > static_cast<int>(std::size(boxes))) {
    throw RuntimeError(err::kSubscriptOutOfRange);
  }
  return *boxes[number - 1];
}

// Ticked keeps True, unticked False; a grayed box does nothing.
void SetupTab::box_clicked(int number) {
  const std::string procedure = "QuandrelMain.Check" + std::to_string(number) + "_Click";
  services_.common.reporting_errors(procedure, [&] {
    const BoxOption& option = box_option(number);
    const CheckBox& box = check_box(number);
    if (box.value() == CheckValue::grayed) return;
    const bool on = box.checked();
    if (option.field != nullptr) settings.*option.field = on;
    switch (option.after) {
      case AfterChange::always_on_top:
        services_.set_always_on_top(on);
        break;
      case AfterChange::debug_mode:
        services_.common.DebugMode = on;
        break;
      case AfterChange::commander_link:
      case AfterChange::server_link:
      case AfterChange::dxview_link:
        link(option.server, on);
        break;
      default:
        break;
    }
    save(option, on);
    switch (option.after) {
      case AfterChange::contest_frame:
        Frame3.set_visible(on);
        break;
      case AfterChange::commander_link:
        show_commander_settings(on);
        Option1.select(on ? 1 : 0);
        break;
      case AfterChange::dxview_link:
        // Without DXView linked there is nobody to send callsigns to.
        if (!on) {
          settings.TickleDXView = false;
          services_.settings_file.WriteSetting("TickleDXView", boolean_text(false), false);
          Check6.set_checked(false);
        }
        break;
      default:
        break;
    }
  });
}

void SetupTab::save(const BoxOption& option, bool on) {
  if (option.after == AfterChange::debug_mode) {
    services_.settings_store.save(kSettingsStoreApp, kSettingsStoreSection, option.key,
                                  boolean_text(on));
  } else {
    services_.settings_file.WriteSetting(option.key, boolean_text(on), false);
  }
}

void SetupTab::link(int server, bool on) {
  if (on) {
    services_.clients.ConnectServer(server);
  } else {
    services_.clients.DisconnectServer(server);
  }
}

void SetupTab::show_commander_settings(bool shown) {
  Frame6.set_visible(shown);
  Check16.set_visible(shown);
}

void SetupTab::Option1_Click(int index) {
  services_.common.reporting_errors("QuandrelMain.Option1_Click", [this, index] {
    if (index != 0 && index != 1) return;
    const bool commander = index == 1;
    settings.FrequencyControl = commander ? "Commander" : "MixW";
    services_.settings_file.WriteSetting("FrequencyControl", settings.FrequencyControl, false);
    show_commander_settings(commander);
    Check11.set_checked(commander);
  });
}

void SetupTab::Option2_Click(int index) {
  services_.common.reporting_errors("QuandrelMain.Option2_Click", [this, index] {
    if (index != 0 && index != 1) return;
    settings.LoggedFrequency = index == 1 ? "Actual" : "Rig";
    services_.settings_file.WriteSetting("LoggedFrequency", settings.LoggedFrequency, false);
  });
}

void SetupTab::Combo1_Click() {
  settings.RTTYRadioMode = static_cast<std::int16_t>(Combo1.list_index());
  services_.settings_file.WriteSetting("RTTYRadioModeSetting", str_number(settings.RTTYRadioMode),
                                       false);
}

void SetupTab::OptDigitalFreq_Change() {
  // Only a whole 16-bit number is taken and saved, so the file always holds a value that
  // loads; while the user retypes the box the last valid value stays in force.
  const auto value = whole_int16(OptDigitalFreq.text());
  if (!value) return;
  settings.OptDigitalFrequency = *value;
  services_.settings_file.WriteSetting("OptiumDigitalFreq", OptDigitalFreq.text(), false);
}

}  // namespace vav
