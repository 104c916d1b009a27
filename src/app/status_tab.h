#pragma once
// The "Status" tab: the neighbours and what they last did, the last QSO and its fate, the
// outbox (the QSOs not yet in DXKeeper, with the operator's actions on them), the last spot
// received and where the files are. The controls and the small record of what was heard
// from whom; QuandrelMain fills them (status.cpp, outbox_actions.cpp) and the Windows window
// only shows them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/waiting_qso_journal.h"
#include "controls/controls.h"

namespace vav {

enum class NeighbourState { connected, not_running, not_answering };
const char* neighbour_state_text(NeighbourState state);
// The state icons of the neighbours' list (ListRows::icons); 0 is none.
enum StateIcon : int { kNoIcon = 0, kConnectedIcon, kNotRunningIcon, kNotAnsweringIcon };
int neighbour_state_icon(NeighbourState state);

// The neighbours in the order the tab lists them.
inline constexpr std::array<const char*, 7> kNeighbourNames = {
    "MixW", "Commander", "DXKeeper", "DXView", "Pathfinder", "PropView", "SpotCollector"};

// The value of the first field `name` of a logged record ("" when it has none). Only for the
// fields before any free text (call, band, mode, date, time), which are plain ASCII.
std::string record_field(std::string_view record, std::string_view name);
// "04:44" from the record's TIME_ON ("044400"); "" when it has none.
std::string time_on_text(std::string_view record);

// A QSO of the outbox as the list shows it: call, time on, band and mode read from its
// record, then its state.
ListRows::Row waiting_qso_row(std::string_view execute, std::string state);

// The list shows at most this many waiting QSOs, oldest first, and then one row that counts
// the rest: a weekend's queue must not cost the window a second on every change.
inline constexpr std::size_t kWaitingRowsShown = 200;

class StatusTab {
 public:
  ListRows Neighbours{{"Program", "State", "Last message"}};
  TextControl LastQso{"none written since the start"};
  // Every QSO of the outbox, waiting or set aside, oldest first.
  ListRows WaitingQsos{{"Call", "Time", "Band", "Mode", "State"}};
  Button SendNow{"Send now"};
  Button SendAgain{"Send again"};
  Button Remove{"Remove"};
  Button Export{"Export..."};
  TextControl LastSpot;
  TextControl Files;  // where the files are
  Button OpenErrorLog{"Open ErrorLog.txt"};

  // The QSO of the selected row, as the row was drawn ("" for none): the row must still
  // show that QSO when an action runs.
  std::string selected_execute;
  std::uint64_t waiting_rows_changes = ~std::uint64_t{0};  // the outbox's changes() drawn

  // What was heard from a neighbour (by its name in kNeighbourNames), and when.
  void heard(std::string_view name, std::string time_text);
  void set_not_answering(std::string_view name, bool not_answering);
  const std::string& last_heard(std::string_view name) const;
  bool not_answering(std::string_view name) const;

 private:
  static std::size_t index_of(std::string_view name);
  std::array<std::string, kNeighbourNames.size()> last_heard_;
  std::array<bool, kNeighbourNames.size()> not_answering_{};
};

}  // namespace vav
