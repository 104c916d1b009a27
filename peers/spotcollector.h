#pragma once
// SpotCollector's stand-in: turns the spot the operator picks into a "setscnewentry"
// command for the program's "DDEServer" topic, and keeps what it sent and how it was
// answered. Its top-level window is titled "SpotCollector".
#include <string>
#include <string_view>
#include <vector>

namespace vav::peers {

inline constexpr const char* kSpotCollectorTitle = "SpotCollector";
inline constexpr const char* kDefaultProgramService = "Vavizorur";
inline constexpr const char* kProgramSpotTopic = "DDEServer";
inline constexpr int kSpotCollectorIndex = 4;

// One spot, field by field in the order of the command (positions 1 to 9).
struct Spot {
  std::string frequency_khz{};  // 1, e.g. "14070.15"
  std::string qsx{};            // 2
  std::string mode{};           // 3, e.g. "psk31"
  std::string callsign{};       // 4
  std::string log_mode{};       // 5, e.g. "PSK31"
  std::string spare{};          // 6, unused by the receiver
  std::string search{};         // 7
  std::string prefix{};         // 8
  std::string grid{};           // 9
};

// The names SpotCollector gives the nine fields, in position order.
const std::vector<std::string>& spot_field_names();

// "004setscnewentry" followed by the nine fields.
std::string setscnewentry_command(const Spot& spot);
// "004invokemacro" followed by a "macro" field.
std::string invokemacro_command(std::string_view macro);

struct SentCommand {
  std::string command;
  bool accepted = false;
  int error = 0;  // the runtime error number of a failed execute, 0 when accepted
};

class SpotCollector {
 public:
  explicit SpotCollector(std::string program_service = kDefaultProgramService)
      : program_service_(std::move(program_service)) {}

  const std::string& program_service() const { return program_service_; }

  void note_sent(SentCommand sent) { sent_.push_back(std::move(sent)); }
  const std::vector<SentCommand>& sent() const { return sent_; }

 private:
  std::string program_service_;
  std::vector<SentCommand> sent_;
};

}  // namespace vav::peers
