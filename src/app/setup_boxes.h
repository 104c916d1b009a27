#pragma once
// The 17 check boxes of the Setup tab in one table: per box its caption, where its option is
// kept, the field that holds it, the debug log's entry when it is loaded, the stage of loading
// it belongs to, and what follows a change besides saving it.
#include <array>

#include "app/settings.h"
#include "hosts/dxlab.h"

namespace vav {

// When a box is loaded: with the other boxes, after the spot settings it belongs to, after
// the debug switch is read, or with the connections, last.
enum class LoadStage { boxes, spot_settings, debug, connections };

// What a change of the box does besides keeping the option.
enum class AfterChange {
  nothing,
  contest_frame,     // shows or hides the contest exchange frame
  always_on_top,     // keeps the window above the others, or not
  debug_mode,        // turns the debug log on or off
  commander_link,    // links or unlinks Commander, and follows with the frequency control
  server_link,       // links or unlinks `server`
  dxview_link,       // links or unlinks DXView; unlinked, no callsign is sent to it either
};

struct BoxOption {
  int number;             // the box is Check<number>
  const char* caption;
  const char* key;        // in the settings file (the settings store for the debug switch)
  bool Settings::*field;  // what the program reads, or none
  const char* debug_key;  // the debug log's entry when loaded
  LoadStage stage;
  AfterChange after;
  int server = -1;        // the DXLab program a link box links
};

// In the order the options are loaded.
inline constexpr std::array<BoxOption, 17> kBoxOptions{{
    {17, "Send QSO to eQSL", "SendToeQSL", &Settings::SendToeQSL, "SendToeQSLLoaded",
     LoadStage::boxes, AfterChange::nothing},
    {1, "Request QSL", "RequestQSL", &Settings::RequestQSL, "RequestQSLLoaded", LoadStage::boxes,
     AfterChange::nothing},
    {2, "Lookup Previous Contacts", "LookupPrev", &Settings::LookupPrev, "LookupPrevLoaded",
     LoadStage::boxes, AfterChange::nothing},
    {3, "Save Grid Square", "SaveGrid", &Settings::SaveGrid, "SaveGridLoaded", LoadStage::boxes,
     AfterChange::nothing},
    {4, "Save IOTA Info", "SaveIota", &Settings::SaveIota, "SaveIotaLoaded", LoadStage::boxes,
     AfterChange::nothing},
    {5, "Save County Info", "SaveCounty", &Settings::SaveCounty, "SaveCountyLoaded",
     LoadStage::boxes, AfterChange::nothing},
    {10, "Always on Top", "AlwaysOnTop", &Settings::AlwaysOnTop, "TopMostLoaded",
     LoadStage::boxes, AfterChange::always_on_top},
    {7, "Display Contest Exch", "ShowContest", &Settings::ShowContest, "ShowContestLoaded",
     LoadStage::boxes, AfterChange::contest_frame},
    {6, "Send Call to DXView if Loaded", "TickleDXView", &Settings::TickleDXView,
     "TickleDXViewLoaded", LoadStage::boxes, AfterChange::nothing},
    {8, "Send Call to Pathfinder if Loaded", "TicklePathfinder", &Settings::TicklePathfinder,
     "TicklePathfinderLoaded", LoadStage::boxes, AfterChange::nothing},
    {9, "Terminate All Connected Apps when closing", "TerminateApps", &Settings::TerminateApps,
     "TerminateAppsLoaded", LoadStage::spot_settings, AfterChange::nothing},
    {16, "Use Optimal Digital Freq", "UseOptimal", &Settings::UseOptimal, "UseOptimalLoaded",
     LoadStage::spot_settings, AfterChange::nothing},
    {15, "Turn DeBug On", kDebugModeKey, nullptr, "DebugModeLoaded", LoadStage::debug,
     AfterChange::debug_mode},
    {11, "Commander", "ConnectCommander", nullptr, "tempLoaded", LoadStage::connections,
     AfterChange::commander_link, dxlab::kCommander},
    {12, "DXKeeper", "ConnectDXKeeper", nullptr, "tempbPrevLoaded", LoadStage::connections,
     AfterChange::server_link, dxlab::kDXKeeper},
    {13, "DXView", "ConnectDXView", nullptr, "tempcLoaded", LoadStage::connections,
     AfterChange::dxview_link, dxlab::kDXView},
    {14, "Pathfinder", "ConnectPathFinder", nullptr, "tempdLoaded", LoadStage::connections,
     AfterChange::server_link, dxlab::kPathfinder},
}};

// The row of box `number`; throws RuntimeError (kSubscriptOutOfRange) for any number but 1
// to 17.
const BoxOption& box_option(int number);

}  // namespace vav
