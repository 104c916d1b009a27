// Spot handling: tunes MixW and, through Commander, the transceiver to the spot the user
// picked in SpotCollector. Runs from the spot server's one-shot timer, never inside a DDE
// transaction. Traps nothing: a failing step abandons the rest, and the spot server passes
// over the failure.
#include <cstdint>
#include <optional>
#include <string>

#include "app/frequency_text.h"
#include "app/quandrel_main.h"
#include "common/neighbour_number.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr const char* kCommanderNeeded =
    "Commander needs to be used for Transciever Control when Using SpotCollector";

// The audio offset MixW works at after it has been set to the spot's mode.
double spot_audio_offset(QuandrelMain& main, const std::string& mixw_mode) {
  if (mixw_mode == "CW" || mixw_mode == "SSB" || mixw_mode == "AM" || mixw_mode == "FM") {
    return 0;
  }
  if (mixw_mode == "RTTY") {
    return main.setup.settings.HardwareFSK ? main.setup.settings.FSKPitch : main.mixw().audiofq();
  }
  const double offset =
      optimal_audio_offset(main.setup.OptDigitalFreq.text(), main.setup.settings.OptDigitalFrequency);
  main.mixw().ExecuteMacros("<AUDIOFQ:" + str_number(static_cast<long long>(offset)) + ">");
  return offset;
}

}  // namespace

void QuandrelMain::RcvdSpotChange() {
  if (!clients.IsServerConnected(dxlab::kCommander)) {
    show_message(kCommanderNeeded);
    return;
  }
  if (RcvdSpotLogMode.text() == "PSK31") RcvdSpotLogMode.set_text("BPSK31");
  if (RcvdSpotLogMode.text() == "PSK63") RcvdSpotLogMode.set_text("BPSK63");

  const Separators s = separators();
  // SpotCollector writes the frequency with its own PC's decimal mark; one that cannot be
  // read is no place to send a transmitter, and a message box would stop the operator
  // mid-QSO, so the spot only leaves a trace in the debug log.
  const std::optional<std::int64_t> spot_hz =
      read_frequency_hz(RcvdSpotFreq.text(), FrequencyUnit::kilohertz);
  if (!spot_hz) {
    if (DebugMode()) debug("Spot frequency refused", RcvdSpotFreq.text());
    return;
  }
  frequency.FrequencyDigits = std::to_string(*spot_hz);
  if (auto text = spot_hz_text(frequency.FrequencyDigits, s)) RcvdSpotFreq.set_text(*text);
  if (!MixWRunning) return;

  mixw().ExecuteMacros(mixw::kClearQso);
  mixw().set_Mode(RcvdSpotLogMode.text());
  frequency.AudioOffsetHz = spot_audio_offset(*this, mixw().Mode());

  // Commander puts the radio in this mode with the dial: the dial lies the audio offset above
  // the spot in a mode that receives below its dial (LSB, RTTY, PKT ...), below it otherwise.
  const std::string radio_mode = RcvdSpotLogMode.text() == "RTTY"
                                     ? rtty_radio_mode(setup.settings.RTTYRadioMode)
                                     : RcvdSpotMode.text();
  const std::int64_t dial_hz =
      spot_dial_hz(*spot_hz, frequency.AudioOffsetHz, sideband_of(radio_mode));
  const std::string dial_digits = std::to_string(dial_hz);
  const std::optional<std::string> dial_khz = khz_two_decimals(dial_digits, s);
  if (setup.settings.FrequencyControl == "MixW") {
    MixWRigFreq.set_text(dial_digits);
  } else if (dial_khz) {
    // Under Commander frequency control the mirror holds Commander's display, in kHz.
    MixWRigFreq.set_text(*dial_khz);
  }
  if (dial_khz) RcvdSpotFreq.set_text(*dial_khz);

  senders.SendXcvrFreqMode(xcvr_khz_text(dial_hz, s), radio_mode);
  if (RcvdSpotLogMode.text() == "BPSK63") mixw().ExecuteMacros(mixw::kBpsk63Macro);
  AudioFreq.set_text(number_text(mixw().audiofq() / 1000, s));
  mixw().ExecuteMacros(mixw::kJumpToTxFq);
  mixw().SetQsoData(0, RcvdSpotCallsign.text());
}

}  // namespace vav
