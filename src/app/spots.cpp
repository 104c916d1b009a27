// Spot handling: tunes MixW and, through Commander, the transceiver to the spot the user
// picked in SpotCollector. Runs from the spot server's one-shot timer, never inside a DDE
// transaction. RcvdSpotChange traps nothing: a failing step abandons the rest, and
// spot_arrived passes over the failure and notes what became of the spot.
#include <cstdint>
#include <optional>
#include <string>

#include "app/frequency_text.h"
#include "app/quandrel_main.h"
#include "errors/error_trap.h"
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

void QuandrelMain::spot_arrived(const SpotFields& spot) {
  received_spot.store(spot);
  const std::optional<std::int64_t> spot_hz =
      read_frequency_hz(spot.freq, FrequencyUnit::kilohertz);
  const SpotOutcome outcome = passing_over_errors(SpotOutcome::step_failed,
                                                  [&] { return RcvdSpotChange(spot, spot_hz); });
  note_spot(spot, spot_outcome_text(outcome));
  RefreshStatus();
}

SpotOutcome QuandrelMain::RcvdSpotChange(const SpotFields& spot,
                                         std::optional<std::int64_t> spot_hz) {
  if (!clients.IsServerConnected(dxlab::kCommander)) {
    show_message(kCommanderNeeded);
    return SpotOutcome::no_commander;
  }
  ReceivedSpot& fields = received_spot;
  if (spot.log_mode == "PSK31") fields.RcvdSpotLogMode.set_text("BPSK31");
  if (spot.log_mode == "PSK63") fields.RcvdSpotLogMode.set_text("BPSK63");
  const std::string log_mode = fields.RcvdSpotLogMode.text();

  // SpotCollector writes the frequency with its own PC's decimal mark; one that cannot be
  // read is no place to send a transmitter, and a message box would stop the operator
  // mid-QSO, so the spot only leaves a trace in the debug log.
  if (!spot_hz) {
    if (DebugMode()) debug("Spot frequency refused", spot.freq);
    return SpotOutcome::unreadable_frequency;
  }
  if (!MixWRunning) return SpotOutcome::mixw_not_running;

  mixw().ExecuteMacros(mixw::kClearQso);
  mixw().set_Mode(log_mode);
  frequency.AudioOffsetHz = spot_audio_offset(*this, mixw().Mode());

  // Commander puts the radio in this mode with the dial: the dial lies the audio offset above
  // the spot in a mode that receives below its dial (LSB, RTTY, PKT ...), below it otherwise.
  const std::string radio_mode =
      log_mode == "RTTY" ? rtty_radio_mode(setup.settings.RTTYRadioMode) : spot.mode;
  const std::int64_t dial_hz =
      spot_dial_hz(*spot_hz, frequency.AudioOffsetHz, sideband_of(radio_mode));
  const Separators s = separators();
  const std::string dial_digits = std::to_string(dial_hz);
  const std::optional<std::string> dial_khz = khz_two_decimals(dial_digits, s);
  // MixW follows the new dial through the mirror's change handler, as it follows any other.
  if (setup.settings.FrequencyControl == "MixW") {
    MixWRigFreq.set_text(dial_digits);
  } else if (dial_khz) {
    // Under Commander frequency control the mirror holds Commander's display, in kHz.
    MixWRigFreq.set_text(*dial_khz);
  }
  if (dial_khz) fields.RcvdSpotFreq.set_text(*dial_khz);

  senders.SendXcvrFreqMode(xcvr_khz_text(dial_hz, s), radio_mode);
  if (log_mode == "BPSK63") mixw().ExecuteMacros(mixw::kBpsk63Macro);
  AudioFreq.set_text(number_text(mixw().audiofq() / 1000, s));
  mixw().ExecuteMacros(mixw::kJumpToTxFq);
  mixw().SetQsoData(0, spot.callsign);
  return SpotOutcome::tuned;
}

}  // namespace vav
