// The QSO fields mirrored from MixW's QSO window, and the triggers of logging.
#include <cmath>

#include "app/quandrel_main.h"
#include "common/conversions.h"

namespace vav {

void QuandrelMain::Initialize() {
  ClearInfo();
  Mode.set_link_mode(LinkMode::automatic);
  Mode_Change();
  LinkedText* const in_order[] = {&Callsign,   &RSTRcvd, &RSTSnt,  &NameText, &QTH,    &Country,
                                  &DXCCPrefix, &MixKhz,  &QSLInfo, &Notes,    &County, &DateNow,
                                  &UTCStart,   &UTCEnd,  &State,   &Command,  &Cont,   &CQZ,
                                  &IRUZ,       &GridSq,  &IOTA,    &ExchRcv,  &ExchSnt};
  for (LinkedText* field : in_order) field->set_link_mode(LinkMode::automatic);
  Command.set_text("");
  // Nudging MixW's audio offset by 1 Hz makes it send its frequency items afresh.
  const std::int32_t offset = round_to_int32(mixw().audiofq());
  mixw().ExecuteMacros("<AUDIOFQ:" + std::to_string(static_cast<long long>(offset) + 1) + ">");
}

void QuandrelMain::ClearInfo() {
  trap("QuandrelMain.ClearInfo", [this] {
    Callsign.set_text("");
    Mode.set_text("");
    Mode.set_text(mixw().Mode());
    for (TextControl* field :
         {static_cast<TextControl*>(&NameText), static_cast<TextControl*>(&QTH),
          static_cast<TextControl*>(&Country), static_cast<TextControl*>(&DXCCPrefix),
          static_cast<TextControl*>(&QSLInfo), static_cast<TextControl*>(&Notes),
          static_cast<TextControl*>(&County), static_cast<TextControl*>(&UTCStart),
          static_cast<TextControl*>(&State), static_cast<TextControl*>(&Cont),
          static_cast<TextControl*>(&CQZ), static_cast<TextControl*>(&IRUZ), &Prefix,
          static_cast<TextControl*>(&GridSq), static_cast<TextControl*>(&IOTA),
          static_cast<TextControl*>(&ExchSnt), static_cast<TextControl*>(&ExchRcv),
          static_cast<TextControl*>(&Command)}) {
      field->set_text("");
    }
  });
}

void QuandrelMain::Command_Change() {
  trap("QuandrelMain.Command_Change", [this] {
    const std::string text = Command.text();
    if (text == " " || text.empty()) return;
    if (text == "WRITE") Log();
    if (Command.text() == "Save") Log();
  });
}

void QuandrelMain::Save_Click() {
  trap("QuandrelMain.Save_Click", [this] { Log(); });
}

}  // namespace vav
