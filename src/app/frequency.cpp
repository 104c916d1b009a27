// Frequency and mode tracking: MixW's poll, the rig, audio and operating frequencies under
// "MixW" or "Commander" frequency control, and the mode name shown.
//
// Hazard: every write of a field below runs that field's change handler at once, nested.
// The chains end because a write of the text a field already holds raises nothing.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "app/frequency_text.h"
#include "app/quandrel_main.h"
#include "common/neighbour_number.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr const char* kMixW = "MixW";

// The text of an audio offset in kHz: 1500 Hz gives "1.5".
std::string khz_text(double hz, Separators separators) {
  return number_text(hz / 1000, separators);
}

// The dial frequency in Commander's display (kHz, in the number format of Commander's PC):
// what the mirror holds under Commander frequency control.
std::optional<std::int64_t> display_hz(const std::string& display) {
  return read_frequency_hz(display, FrequencyUnit::kilohertz);
}

// MixW's macro that sets its dial, in kHz: 14070150 Hz gives "<ZFQ:14070.150>".
std::string zfq_macro(const std::string& hz_digits, char decimal) {
  const std::size_t khz = hz_digits.size() - 3;
  return "<ZFQ:" + hz_digits.substr(0, khz) + decimal + hz_digits.substr(khz) + ">";
}

double optimal_offset(const QuandrelMain& main) {
  return optimal_audio_offset(main.setup.OptDigitalFreq.text(), main.setup.settings.OptDigitalFrequency);
}

}  // namespace

void QuandrelMain::Timer1_Timer() {
  // MixW that cannot be reached ends the program: the MixW-lost close-down stops this timer
  // and the MixW watch, tells the user and ends the program.
  const auto mixw_lost = [this](const RuntimeError&, std::string_view) { MixWLostCloseDown(); };
  vav::reporting_errors(mixw_lost, "QuandrelMain.Timer1", [this] {
    const bool mixw_control = setup.settings.FrequencyControl == kMixW;
    if (!mixw_control || MixWRunning) {
      AudioFreq.set_text(khz_text(mixw().audiofq(), separators()));
      MixWRigFreq.set_text(mixw_control ? mixw().FqA() : clients.form().Freq.text());
    }
    if (qso.Callsign.text() != CurrentCallsign) Callsign_Change();
  });
}

void QuandrelMain::MixKhz_Change() {
  reporting_errors("QuandrelMain.MixKhz_Change", [this] {
    if (DebugMode()) settings_file.WriteSetting("MixKhz.Text", qso.MixKhz.text(), true);
    // MixW writes its operating frequency in kHz in a form of its own ("14070.150"),
    // whatever the user's number format.
    const auto hz = read_frequency_hz(qso.MixKhz.text(), FrequencyUnit::kilohertz);
    if (!hz) {
      if (DebugMode()) debug("MixKhz refused", qso.MixKhz.text());
      return;
    }
    if (auto text = khz_form(std::to_string(*hz), separators())) OpFreq.set_text(*text);
    if (DebugMode()) debug("OpFreq.Text", OpFreq.text());
  });
}

void QuandrelMain::MixWRigFreq_Change() {
  reporting_errors("QuandrelMain.MixWRigFreq_Change", [this] {
    take_mixw();
    const Separators s = separators();
    if (setup.settings.FrequencyControl != kMixW) {
      if (MixWRigFreq.text().empty()) return;
      // A display without a frequency in it (dashes while the radio is off) tells MixW
      // nothing.
      const auto dial = display_hz(MixWRigFreq.text());
      if (!dial) {
        if (DebugMode()) debug("Commander frequency refused", MixWRigFreq.text());
        return;
      }
      frequency.DialHz = *dial;
      const std::string digits = std::to_string(*dial);
      mixw().ExecuteMacros(zfq_macro(digits, s.decimal));
      if (auto text = mhz_form(digits, s)) RigFreq.set_text(*text);
      return;
    }
    // MixW's dial frequency in hertz.
    const auto dial = read_frequency_hz(MixWRigFreq.text(), FrequencyUnit::hertz);
    if (dial) {
      frequency.DialHz = *dial;
      if (auto text = khz_form(std::to_string(*dial), s)) RigFreq.set_text(*text);
    }
    if (DebugMode()) {
      debug(dial ? "MixWRigFreq.Text" : "MixWRigFreq refused", MixWRigFreq.text());
      debug("RigFreq.Text", RigFreq.text());
    }
  });
}

void QuandrelMain::RigFreq_Change() {
  if (setup.settings.FrequencyControl == kMixW) return;
  reporting_errors("QuandrelMain.RigFreq_Change", [this] {
    if (MixWRigFreq.text().empty()) return;
    // The dial the mirror's change handler has just read, the one that changed RigFreq.
    if (!frequency.DialHz) throw RuntimeError(err::kTypeMismatch);
    frequency.RigFrequencyHz = static_cast<double>(*frequency.DialHz);
    frequency.AudioOffsetHz = mixw().Mode() == "CW" ? 0.0 : mixw().audiofq();
    frequency.OperatingFrequencyHz = operating_frequency(
        frequency.RigFrequencyHz, frequency.AudioOffsetHz,
        sideband_of(clients.form().RadioMode.text()), frequency.OperatingFrequencyHz);
    const std::string digits = std::to_string(frequency.OperatingFrequencyHz);
    if (auto text = mhz_form(digits, separators())) OpFreq.set_text(*text);
    mixw().ExecuteMacros(mixw::kJumpToTxFq);
  });
}

void QuandrelMain::AudioFreq_Change() {
  reporting_errors("QuandrelMain.AudioFreq_Change", [this] {
    const Separators s = separators();
    if (setup.settings.FrequencyControl == kMixW) {
      AudioFreq.set_text(khz_text(mixw().audiofq(), s));
      if (DebugMode()) debug("AudioFreq.Text", AudioFreq.text());
      return;
    }
    if (MixWRigFreq.text().empty()) return;
    // The mirror holds Commander's display text; one that names no frequency is an error.
    const auto dial = display_hz(MixWRigFreq.text());
    if (!dial) throw RuntimeError(err::kTypeMismatch);
    frequency.RigFrequencyHz = static_cast<double>(*dial);
    const std::string mode = mixw().Mode();
    if (mode == "CW" || mode == "SSB" || mode == "AM" || mode == "FM") {
      frequency.AudioOffsetHz = 0;
    } else if (mode == "RTTY" && setup.settings.HardwareFSK) {
      frequency.AudioOffsetHz = setup.settings.FSKPitch;
    } else if (setup.settings.UseOptimal) {
      frequency.AudioOffsetHz = optimal_offset(*this);
    } else {
      frequency.AudioOffsetHz = mixw().audiofq();
    }
    mixw().set_audiofq(frequency.AudioOffsetHz);
    frequency.OperatingFrequencyHz = operating_frequency(
        frequency.RigFrequencyHz, frequency.AudioOffsetHz,
        sideband_of(clients.form().RadioMode.text()), frequency.OperatingFrequencyHz);
    const std::string digits = std::to_string(frequency.OperatingFrequencyHz);
    if (auto text = mhz_form(digits, s)) OpFreq.set_text(*text);
    AudioFreq.set_text(khz_text(mixw().audiofq(), s));
  });
}

void QuandrelMain::Mode_Change() { qso.Mode.set_text(display_mode_name(qso.Mode.text())); }

}  // namespace vav
