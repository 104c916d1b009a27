#pragma once
// What the program uses of the DXLab programs: their DDE services, topics and items, the
// command words, and the application indices of the message format.
#include <cstdint>

namespace vav::dxlab {

// Application index (ServerIndex).
inline constexpr int kCommander = 0;
inline constexpr int kDXKeeper = 1;
inline constexpr int kPathfinder = 2;
inline constexpr int kDXView = 3;
inline constexpr int kSpotCollector = 4;
inline constexpr int kPropView = 5;
inline constexpr int kNone = 6;
inline constexpr int kServerCount = 7;

inline constexpr const char* kCommanderUiLink = "CI-V Commander|CIV_CommanderUI";
inline constexpr const char* kCommanderLink = "CI-V Commander|DDEServer";
inline constexpr const char* kDXKeeperLink = "DXKeeper|DDEServer";
inline constexpr const char* kPathfinderLink = "Pathfinder|DDEServer";
inline constexpr const char* kDXViewLink = "DXView|DDEServer";
inline constexpr const char* kPropViewLink = "PropView|DDEServer";

inline constexpr const char* kFreqDisplayItem = "FreqDisplay";
inline constexpr const char* kModeItem = "Mode";
inline constexpr const char* kRadioModeItem = "RadioMode";
inline constexpr const char* kSpotPrefixItem = "SpotPrefix";
inline constexpr const char* kCommandItem = "DDECommand";

inline constexpr const char* kSpotCollectorWindowTitle = "SpotCollector";

// Command words.
inline constexpr const char* kLog = "log";
inline constexpr const char* kEqslLog = "eqsllog";
inline constexpr const char* kCheck = "check";
inline constexpr const char* kLookup = "lookup";
inline constexpr const char* kGetQslInfo = "getqslinfo";
inline constexpr const char* kCallsignField = "callsign";
inline constexpr const char* kXcvrFreqMode = "xcvrfreqmode";
inline constexpr const char* kXcvrFreqField = "xcvrfreq";
inline constexpr const char* kXcvrModeField = "xcvrmode";
inline constexpr const char* kShutdown = "shutdown";
inline constexpr const char* kStart = "start";
inline constexpr const char* kSetScNewEntry = "setscnewentry";
inline constexpr const char* kInvokeMacro = "invokemacro";
inline constexpr const char* kEndOfRecord = "<eor>";

// Link time-outs.
inline constexpr std::uint32_t kCommandLinkTimeoutMs = 2000;  // labels: command conversations
inline constexpr std::uint32_t kTextLinkTimeoutMs = 5000;     // text boxes: linked values

}  // namespace vav::dxlab
