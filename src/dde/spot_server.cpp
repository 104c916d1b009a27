#include "dde/spot_server.h"

#include <string_view>

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

SpotServer::SpotServer(Dde& dde, EventLoop& loop, DdeCommon& codec)
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
  PendingSpot = {};
  if (!serving_) return;
  serving_ = false;
  dde_.stop_serving(kTopic);
}

bool SpotServer::Execute(const std::string& command) {
  if (!has_index(command)) return false;
  const std::string_view word = std::string_view(command).substr(kIndexLength);
  if (starts_with_word(word, dxlab::kSetScNewEntry)) {
    std::array<std::string, 9> spot;
    const bool read = passing_over_errors(false, [&] {
      codec_.ParseRecord(word.substr(std::string_view(dxlab::kSetScNewEntry).size()));
      const int count = codec_.ParsedTokenCount();
      for (int position = 1; position <= static_cast<int>(spot.size()); ++position) {
        if (position <= count) {
          spot[static_cast<std::size_t>(position - 1)] = codec_.GetToken(position).Value;
        }
      }
      return true;
    });
    if (!read) return false;  // a record that cannot be read changes nothing
    spot[2] = to_upper(spot[2]);
    // A spot that is still pending is replaced: only the newest is acted on.
    PendingSpot = std::move(spot);
    SpotCollectorCmdTimer.set_enabled(true);
    return true;
  }
  return starts_with_word(word, dxlab::kInvokeMacro);
}

void SpotServer::timer_fired() {
  SpotCollectorCmdTimer.set_enabled(false);
  SpotFields spot;
  spot.freq = trim_blanks(PendingSpot[0]);
  spot.qsx = PendingSpot[1];
  spot.mode = PendingSpot[2];
  spot.callsign = PendingSpot[3];
  spot.log_mode = PendingSpot[4];
  spot.search = PendingSpot[6];
  spot.prefix = PendingSpot[7];
  spot.grid = PendingSpot[8];
  if (!on_spot) return;
  // Spot handling abandons what is left of it on a failure; nothing is reported.
  passing_over_errors([&] { on_spot(spot); });
}

}  // namespace vav
