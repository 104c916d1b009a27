#pragma once
// Commander's stand-in: a transceiver with a frequency and a radio mode, shown on the
// "CIV_CommanderUI" topic ("FreqDisplay") and the "DDEServer" topic ("Mode", "RadioMode"),
// retuned by "xcvrfreqmode" and closed by "shutdown".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "peers/dxlab_peer.h"

namespace vav::peers {

inline constexpr const char* kCommanderService = "CI-V Commander";
inline constexpr const char* kCommanderUiTopic = "CIV_CommanderUI";

// The frequency display: kHz grouped by ",", then "." and the tens of hertz (14070150 Hz
// gives "14,070.15"); with the separators removed the digits count tens of hertz. The
// display truncates to its 10 Hz resolution, as the radio's does.
std::string freq_display_text(long long hz);

// A frequency in kHz as DXLab programs write it ("14068.65"; "," is read as the decimal
// separator too), in whole hertz, rounded; nullopt when it is no number or not positive.
std::optional<long long> khz_text_to_hz(std::string_view text);

struct XcvrFreqMode {
  std::optional<long long> hz;  // nullopt when "xcvrfreq" is missing or unreadable
  std::string mode;             // "xcvrmode" as sent; empty keeps the radio's mode
};
XcvrFreqMode parse_xcvrfreqmode(std::string_view argument);

class Commander final : public DxlabPeer {
 public:
  explicit Commander(long long hz = 14'070'000, std::string radio_mode = "USB");

  long long frequency_hz() const { return hz_; }
  const std::string& radio_mode() const { return radio_mode_; }

  // The operator turns the knob or picks a mode on the radio.
  void tune(long long hz);
  void set_radio_mode(const std::string& mode);

  // "xcvrfreqmode" commands whose frequency could not be read (the radio did not move).
  const std::vector<std::string>& unreadable() const { return unreadable_; }

 protected:
  void act(const DxlabCommand& command) override;

 private:
  void show();

  long long hz_;
  std::string radio_mode_;
  std::vector<std::string> unreadable_;
};

}  // namespace vav::peers
