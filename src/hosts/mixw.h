#pragma once
// What the program uses of MixW: its automation object "MixW2.Application" (typed calls
// over the members called by name), its DDE topic "MixW|QSO" and its macros.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation.h"

namespace vav::mixw {

inline constexpr const char* kProgId = "MixW2.Application";
inline constexpr const char* kDdeService = "MixW";
inline constexpr const char* kQsoTopic = "QSO";
inline constexpr const char* kIniFile = "Mixw2.ini";
inline constexpr const char* kIniSection = "Cat";

// Macro texts run through ExecuteMacros.
inline constexpr const char* kJumpToTxFq = "<JUMPTOTXFQ>";
inline constexpr const char* kClearQso = "<CLEARQSO>";
inline constexpr const char* kBpsk63Macro = "<MODE:BPSK31><BAUDRATE:62.5>";

// A typed view of the running automation object. Every call throws RuntimeError when MixW
// cannot be reached.
class Application {
 public:
  explicit Application(std::shared_ptr<AutomationObject> object) : object_(std::move(object)) {}

  double audiofq();  // audio offset, Hz
  void set_audiofq(double hz);
  std::string FqA();  // dial frequency as whole-Hz digits
  std::string Mode();
  void set_Mode(const std::string& mode);
  void ExecuteMacros(const std::string& macros);
  void SetQsoData(std::int32_t what, const std::string& callsign);

 private:
  std::shared_ptr<AutomationObject> object_;
};

}  // namespace vav::mixw
