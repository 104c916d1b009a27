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
  if (ConnectingApps) {
    // The connection pass lets events run between its stages; the record is built when the
    // pass has finished (Timer2_Timer runs the waiting logs), never in the middle of it.
    ++logs_waiting_for_pass_;
    return;
  }
  trap("QuandrelMain.Log", [this] {
    const LoggedQso qso = logged_qso();
    delivery.keep_in_adif_log(qso.record);
    delivery.deliver_or_keep(qso.execute);
    if (DebugMode()) debug("ADIFLogSenttoDXK", qso.record);
    CurrentCallsign.clear();
    ClearInfo();
  });
  if (!unloaded_) Timer2.set_enabled(true);
}

void QuandrelMain::keep_logs_waiting_for_pass() {
  // The run ends inside a connection pass: the QSOs written during it are not built by the
  // pass any more, so they are built now and kept for the next run rather than lost.
  if (logs_waiting_for_pass_ == 0) return;
  logs_waiting_for_pass_ = 0;
  trap("QuandrelMain.Log", [this] {
    const LoggedQso qso = logged_qso();
    delivery.keep_in_adif_log(qso.record);
    delivery.keep_for_later({qso.execute, false});
    CurrentCallsign.clear();
    ClearInfo();
  });
}

QuandrelMain::LoggedQso QuandrelMain::logged_qso() {
  const QsoLogFields fields{.CurrentCallsign = CurrentCallsign,
                            .RSTRcvd = RSTRcvd.text(),
                            .RSTSnt = RSTSnt.text(),
                            .RigFreq = RigFreq.text(),
                            .OpFreq = OpFreq.text(),
                            .Mode = Mode.text(),
                            .DateNow = DateNow.text(),
                            .UTCStart = UTCStart.text(),
                            .UTCEnd = UTCEnd.text(),
                            .NameText = NameText.text(),
                            .QSLInfo = QSLInfo.text(),
                            .Notes = Notes.text(),
                            .State = State.text(),
                            .QTH = QTH.text(),
                            .County = County.text(),
                            .GridSq = GridSq.text(),
                            .IOTA = IOTA.text(),
                            .CQZ = CQZ.text(),
                            .IRUZ = IRUZ.text(),
                            .Prefix = Prefix.text(),
                            .ExchRcv = ExchRcv.text(),
                            .ExchSnt = ExchSnt.text(),
                            .ContestShown = Frame3.visible()};
  DebugEntrySink sink;
  if (DebugMode())
    sink = [this](std::string_view key, std::string_view value) { debug(key, value); };
  LoggedQso qso;
  qso.record = build_log_record(fields, settings, separators(), codec.code_page(), sink);
  qso.execute = application_prefix(dxlab::kDXKeeper) +
                (settings.SendToeQSL ? dxlab::kEqslLog : dxlab::kLog) + qso.record;
  return qso;
}

}  // namespace vav
