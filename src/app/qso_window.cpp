// The QSO fields mirrored from MixW's QSO window, and the triggers of logging.
#include <cmath>

#include "app/quandrel_main.h"
#include "common/conversions.h"

namespace vav {

void QuandrelMain::Initialize() {
  ClearInfo();
  // MixW's mode shows by its display name from the moment it is linked.
  qso.link_all([this](const LinkedText& field) {
    if (&field == &qso.Mode) Mode_Change();
  });
  qso.Command.set_text("");
  // Nudging MixW's audio offset by 1 Hz makes it send its frequency items afresh.
  const std::int32_t offset = round_to_int32(mixw().audiofq());
  mixw().ExecuteMacros("<AUDIOFQ:" + std::to_string(static_cast<long long>(offset) + 1) + ">");
}

void QuandrelMain::ClearInfo() {
  reporting_errors("QuandrelMain.ClearInfo", [this] {
    qso.Callsign.set_text("");
    qso.Mode.set_text("");
    qso.Mode.set_text(mixw().Mode());
    qso.clear();
  });
}

void QuandrelMain::Command_Change() {
  reporting_errors("QuandrelMain.Command_Change", [this] {
    const std::string text = qso.Command.text();
    if (text == " " || text.empty()) return;
    if (text == "WRITE") Log();
    if (qso.Command.text() == "Save") Log();
  });
}

void QuandrelMain::Save_Click() {
  reporting_errors("QuandrelMain.Save_Click", [this] { Log(); });
}

}  // namespace vav
