// Logging a QSO: the record is built from the window's fields and handed to the delivery,
// which keeps it in the program's own log and gets it to DXKeeper.
#include <string>

#include "app/log_builder.h"
#include "app/quandrel_main.h"
#include "common/conversions.h"
#include "hosts/dxlab.h"

namespace vav {
void QuandrelMain::Log() {
  Timer2.set_enabled(false);
  reporting_errors("QuandrelMain.Log", [this] {
    if (CurrentCallsign.find_first_not_of(' ') == std::string::npos) {
      note_qso_without_callsign();
      return;
    }
    // The record is built now, from the window as it is when the QSO is written, and kept
    // before anything is sent. A connection pass under way (it lets events run between its
    // stages) only delays the sending: it sends what waits when it ends.
    const LoggedQso qso = logged_qso();
    delivery.submit(qso.record, qso.execute, !ConnectingApps);
    if (DebugMode()) debug("ADIFLogSenttoDXK", qso.record);
    CurrentCallsign.clear();
    ClearInfo();
  });
  if (!unloaded_) Timer2.set_enabled(true);
}

void QuandrelMain::note_qso_without_callsign() {
  // A record without CALL is no QSO: DXKeeper would refuse it (holding back the QSOs behind
  // it) or log a contact with nobody, carrying the last QSO's reports and times. The fields
  // stay, so that the operator can add the callsign and save again.
  delivery.notice("", "not logged: no callsign",
                  "A QSO was written without a callsign and was not logged (date " +
                      qso.DateNow.text() + ", UTC " + qso.UTCStart.text() + ")");
}

QuandrelMain::LoggedQso QuandrelMain::logged_qso() {
  QsoLogFields fields;
  qso.fill(fields);
  fields.CurrentCallsign = CurrentCallsign;
  fields.RigFreq = RigFreq.text();
  fields.OpFreq = OpFreq.text();
  fields.ContestShown = setup.Frame3.visible();
  DebugEntrySink sink;
  if (DebugMode())
    sink = [this](std::string_view key, std::string_view value) { debug(key, value); };
  LoggedQso qso;
  qso.record = build_log_record(fields, setup.settings, separators(), codec.code_page(), sink);
  qso.execute = application_prefix(dxlab::kDXKeeper) +
                (setup.settings.SendToeQSL ? dxlab::kEqslLog : dxlab::kLog) + qso.record;
  return qso;
}

}  // namespace vav
