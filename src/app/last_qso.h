#pragma once
// The QSO written last and what became of it, for the Status tab's "Last QSO" line:
// "K1ABC 20M PSK31 04:44 UTC - logged in DXKeeper 12:34:56".
#include <string>
#include <string_view>

namespace vav {

struct LastQso {
  enum class Fate { none, in_outbox, logged, removed, not_logged };
  std::string execute;  // as sent to DXKeeper; "" when no record was built
  Fate fate = Fate::none;
  std::string logged_at;          // "12:34:56" UTC, when DXKeeper took it
  bool may_be_duplicate = false;  // taken after it was sent again on a new conversation
  std::string note;               // why it was not logged
};

// The line the tab shows. `state` is the QSO's state in the outbox while it is there
// ("DXKeeper not running", "set aside: DXKeeper refused it").
std::string last_qso_line(const LastQso& qso, std::string_view state);

// The execute's record: its fields and "<EOR>", without the application and command word.
std::string record_of(std::string_view execute);

}  // namespace vav
