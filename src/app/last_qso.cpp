#include "app/last_qso.h"

#include "app/pending_qsos.h"
#include "app/status_tab.h"

namespace vav {
namespace {

// "K1ABC 20M PSK31 04:44 UTC": what the operator needs to find the QSO in a log.
std::string qso_text(std::string_view execute) {
  const ListRows::Row row = waiting_qso_row(execute, "");
  std::string text = row[0];
  for (const std::size_t column : {3u, 4u}) {
    if (!row[column].empty()) text += " " + row[column];
  }
  const std::string& time_on = row[2];
  if (time_on.size() >= 4) text += " " + time_on.substr(0, 2) + ":" + time_on.substr(2, 2) + " UTC";
  return text;
}

}  // namespace

std::string last_qso_line(const LastQso& qso, std::string_view state) {
  switch (qso.fate) {
    case LastQso::Fate::none:
      return "none written since the start";
    case LastQso::Fate::not_logged:
      return qso.note;
    case LastQso::Fate::logged:
      return qso_text(qso.execute) + " - " +
             (qso.may_be_duplicate ? std::string("may be a duplicate: check DXKeeper")
                                   : "logged in DXKeeper " + qso.logged_at);
    case LastQso::Fate::removed:
      return qso_text(qso.execute) + " - removed: kept in " + kRemovedQsosFileName;
    case LastQso::Fate::in_outbox:
      break;
  }
  const bool waiting = !state.starts_with("set aside");
  return qso_text(qso.execute) + " - " + (waiting ? "waiting: " : "") + std::string(state);
}

std::string record_of(std::string_view execute) {
  const std::size_t first_field = execute.find('<');
  return std::string(first_field == std::string_view::npos ? execute
                                                           : execute.substr(first_field));
}

}  // namespace vav
