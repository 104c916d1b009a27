#include "peers/commander.h"

#include <cmath>

#include "peers/peer_text.h"

namespace vav::peers {
namespace {

constexpr const char* kFreqDisplayItem = "FreqDisplay";
constexpr const char* kModeItem = "Mode";
constexpr const char* kRadioModeItem = "RadioMode";
constexpr const char* kXcvrFreqMode = "xcvrfreqmode";

std::string grouped(long long value) {
  std::string digits = std::to_string(value);
  std::string out;
  const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  out = digits.substr(0, lead);
  for (std::size_t i = lead; i < digits.size(); i += 3) out += "," + digits.substr(i, 3);
  return out;
}

}  // namespace

std::string freq_display_text(long long hz) {
  if (hz < 0) hz = 0;
  const long long tens = hz / 10;
  const long long hundredths = tens % 100;
  std::string out = grouped(tens / 100) + ".";
  out += static_cast<char>('0' + hundredths / 10);
  out += static_cast<char>('0' + hundredths % 10);
  return out;
}

std::optional<long long> khz_text_to_hz(std::string_view text) {
  const auto khz = parse_decimal(text);
  if (!khz || *khz <= 0.0 || *khz > 1e9) return std::nullopt;
  return std::llround(*khz * 1000.0);
}

XcvrFreqMode parse_xcvrfreqmode(std::string_view argument) {
  const FieldRun run = parse_fields(argument);
  XcvrFreqMode out;
  if (const std::string* freq = find_field(run.fields, "xcvrfreq")) out.hz = khz_text_to_hz(*freq);
  if (const std::string* mode = find_field(run.fields, "xcvrmode")) out.mode = *mode;
  return out;
}

Commander::Commander(long long hz, std::string radio_mode)
    : DxlabPeer(kCommanderService, 0, {kXcvrFreqMode}),
      hz_(hz),
      radio_mode_(std::move(radio_mode)) {
  add_item(kCommanderUiTopic, kFreqDisplayItem, freq_display_text(hz_));
  add_item(kDdeServerTopic, kModeItem, radio_mode_);
  add_item(kDdeServerTopic, kRadioModeItem, radio_mode_);
  add_item(kDdeServerTopic, kCommandItem);
}

void Commander::tune(long long hz) {
  hz_ = hz;
  show();
}

void Commander::set_radio_mode(const std::string& mode) {
  radio_mode_ = mode;
  show();
}

void Commander::act(const DxlabCommand& command) {
  if (command.word != kXcvrFreqMode) return;
  const XcvrFreqMode wanted = parse_xcvrfreqmode(command.argument);
  if (!wanted.hz) {
    unreadable_.push_back(command.text);
    return;
  }
  hz_ = *wanted.hz;
  if (!wanted.mode.empty()) radio_mode_ = wanted.mode;
  show();
}

void Commander::show() {
  set_item(kCommanderUiTopic, kFreqDisplayItem, freq_display_text(hz_));
  set_item(kDdeServerTopic, kModeItem, radio_mode_);
  set_item(kDdeServerTopic, kRadioModeItem, radio_mode_);
}

}  // namespace vav::peers
