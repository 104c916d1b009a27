#pragma once
// The "Status" tab: the neighbours and what they last did, the QSOs waiting for DXKeeper and
// the last spot received. The controls and the small record of what was heard from whom;
// QuandrelMain fills them (status.cpp) and the Windows window only shows them.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "controls/controls.h"
#include "app/waiting_qso_journal.h"

namespace vav {

enum class NeighbourState { connected, not_running, not_answering };
const char* neighbour_state_text(NeighbourState state);

// The neighbours in the order the tab lists them.
inline constexpr std::array<const char*, 7> kNeighbourNames = {
    "MixW", "Commander", "DXKeeper", "DXView", "Pathfinder", "PropView", "SpotCollector"};

// A waiting QSO as the list shows it: call, date, time on, band and mode read from its
// record, then why it waits.
ListRows::Row waiting_qso_row(std::string_view execute, std::string why);

// The list shows at most this many waiting QSOs, oldest first, and then one row that counts
// the rest: a weekend's queue must not cost the window a second on every change.
inline constexpr std::size_t kWaitingRowsShown = 200;

class StatusTab {
 public:
  ListRows Neighbours{{"Program", "State", "Last message"}};
  ListRows WaitingQsos{{"Call", "Date", "Time on", "Band", "Mode", "Why it waits"}};
  TextControl LastSpot;
  Button SendNow{"Send now"};
  Button OpenErrorLog{"Open ErrorLog.txt"};

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
