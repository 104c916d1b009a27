#include "app/last_qso.h"

#include "app/pending_qsos.h"
#include "app/status_tab.h"

namespace vav {
namespace {

// "K1ABC 20M PSK31 04:44 UTC": what the operator needs to find the QSO in a log.
std::string qso_text(std::string_view execute) {
  std::string text = record_field(execute, "CALL");
  for (const char* name : {"BAND", "MODE"}) {
    const std::string value = record_field(execute, name);
    if (!value.empty()) text += " " + value;
  }
  const std::string time_on = time_on_text(execute);
  if (!time_on.empty()) text += " " + time_on + " UTC";
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
  return std::string(first_field == std::string_view::npos ? execute : execute.substr(first_field));
}

}  // namespace vav
