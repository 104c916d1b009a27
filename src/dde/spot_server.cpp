#include "dde/spot_server.h"

#include <optional>
#include <string_view>
#include <utility>

#include "common/conversions.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr Millis kSpotDelayMs = 1;
constexpr std::size_t kIndexLength = 3;

// Case-insensitive over the word's own length; the words are ASCII, other bytes never match.
bool starts_with_word(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

// The first three characters are the sender's application index. A command that does not
// start with three digits comes from no DXLab program and is refused.
bool has_index(std::string_view command) {
  if (command.size() < kIndexLength) return false;
  for (std::size_t i = 0; i < kIndexLength; ++i) {
    if (command[i] < '0' || command[i] > '9') return false;
  }
  return true;
}

}  // namespace

SpotServer::SpotServer(Dde& dde, EventLoop& loop, DDECommon& codec)
    : dde_(dde), codec_(codec), SpotCollectorCmdTimer(loop, kSpotDelayMs) {
  SpotCollectorCmdTimer.on_tick = [this] { timer_fired(); };
}

SpotServer::~SpotServer() {
  // The platform is going away with the program; nothing is left to serve.
  passing_over_errors([this] { Unload(); });
}

void SpotServer::Load() {
  if (serving_) return;
  dde_.serve_topic(kTopic, [this](const std::string& command) { return Execute(command); });
  serving_ = true;
}

void SpotServer::Unload() {
  SpotCollectorCmdTimer.set_enabled(false);
  PendingSpot.reset();
  if (!serving_) return;
  serving_ = false;
  dde_.stop_serving(kTopic);
}

bool SpotServer::Execute(const std::string& command) {
  if (!has_index(command)) return false;
  const std::string_view word = std::string_view(command).substr(kIndexLength);
  if (starts_with_word(word, dxlab::kSetScNewEntry)) {
    std::optional<SpotFields> spot = passing_over_errors(std::optional<SpotFields>(), [&] {
      codec_.ParseRecord(word.substr(std::string_view(dxlab::kSetScNewEntry).size()));
      return read_spot_fields();
    });
    if (!spot) return false;  // a record that cannot be read changes nothing
    // A spot that is still pending is replaced: only the newest is acted on.
    PendingSpot = std::move(spot);
    SpotCollectorCmdTimer.set_enabled(true);
    return true;
  }
  return starts_with_word(word, dxlab::kInvokeMacro);
}

SpotFields SpotServer::read_spot_fields() {
  const int count = codec_.ParsedTokenCount();
  const auto token = [&](int position) {
    return position <= count ? codec_.GetToken(position).Value : std::string();
  };
  return {.freq = trim_blanks(token(1)),
          .qsx = token(2),
          .mode = to_upper(token(3)),
          .callsign = token(4),
          .log_mode = token(5),
          .search = token(7),
          .prefix = token(8),
          .grid = token(9)};
}

void SpotServer::timer_fired() {
  SpotCollectorCmdTimer.set_enabled(false);
  if (!PendingSpot || !on_spot) return;
  const SpotFields spot = *std::exchange(PendingSpot, std::nullopt);
  // Spot handling abandons what is left of it on a failure; nothing is reported.
  passing_over_errors([&] { on_spot(spot); });
}

}  // namespace vav
