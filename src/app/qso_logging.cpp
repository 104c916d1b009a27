// Logging a QSO to DXKeeper. A QSO that cannot be delivered is kept in the waiting file and
// delivered, in order, as soon as DXKeeper accepts it: none is ever dropped.
#include <string>
#include <vector>

#include "app/log_record.h"
#include "app/quandrel_main.h"
#include "common/conversions.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

// DateNow is "27-Nov-2005": day, English month abbreviation, year.
std::vector<std::string> split_at_dashes(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t dash = text.find('-', start);
    parts.push_back(text.substr(start, dash - start));
    if (dash == std::string::npos) break;
    start = dash + 1;
  }
  return parts;
}

}  // namespace

void QuandrelMain::Log() {
  Timer2.set_enabled(false);
  if (ConnectingApps) {
    // The connection pass lets events run between its stages; the record is built when the
    // pass has finished (Timer2_Timer runs the waiting logs), never in the middle of it.
    ++logs_waiting_for_pass_;
    return;
  }
  try {
    const Separators seps = separators();
    if (DebugMode()) debug("Begin Date Array", DateNow.text());
    const auto parts = split_at_dashes(DateNow.text());
    if (parts.size() < 3) throw RuntimeError(err::kSubscriptOutOfRange);
    const std::int16_t day = round_to_int16(locale_number(parts[0], seps));
    if (DebugMode()) debug("Day", std::to_string(day));
    const std::int16_t month = Checkmonth(parts[1]);
    if (DebugMode()) debug("Month", parts[1]);
    const std::int16_t year = round_to_int16(locale_number(parts[2], seps));
    if (DebugMode()) debug("Year", std::to_string(year));
    const double theDate = LocalDate(month, day, year);
    if (DebugMode()) {
      debug("LocalDate", date_digits(theDate));
      debug("theDate", date_digits(theDate));
    }

    LogRecord record;
    record.ClearLogRecord();
    record.AddLogField("CALL", to_upper(CurrentCallsign));
    record.AddLogField("RST_RCVD", RSTRcvd.text());
    record.AddLogField("RST_SENT", RSTSnt.text());
    const std::string& logged = settings.LoggedFrequency;
    if (logged == "Rig" || logged == "Actual") {
      const bool rig = logged == "Rig";
      const std::string freq = ConvertedFrequency(rig ? RigFreq.text() : OpFreq.text(), seps);
      record.AddLogField("FREQ", freq);
      if (DebugMode()) {
        debug(rig ? "ActualLoggedRigFreq (0)" : "ActualLoggedOpFreq (0)", freq);
      }
    }
    record.AddLogField("BAND", BandFromFrequency(OpFreq.text(), seps));
    record.AddLogField("MODE", Mode.text());
    record.AddLogField("QSO_DATE", date_digits(theDate));
    record.AddLogField("TIME_ON", time_digits(UTCStart.text()));
    record.AddLogField("TIME_OFF", time_digits(UTCEnd.text()));
    record.AddLogField("NAME", NameText.text());
    record.AddLogField("QSL_VIA", QSLInfo.text());
    record.AddLogField("NOTES", Notes.text());
    record.AddLogField("STATE", State.text());
    record.AddLogField("QTH", QTH.text());
    if (!County.text().empty() && settings.SaveCounty) {
      record.AddLogField("CNTY", State.text() + "," + County.text());
    }
    if (settings.SaveGrid) record.AddLogField("GRIDSQUARE", GridSq.text());
    if (settings.SaveIota) record.AddLogField("IOTA", IOTA.text());
    record.AddLogField("CQZ", CQZ.text());
    record.AddLogField("ITUZ", IRUZ.text());
    record.AddLogField("PFX", Prefix.text());
    if (settings.RequestQSL) {
      record.AddLogField("QSL_RCVD", "R");
      record.AddLogField("QSL_SENT", "R");
    }
    if (Frame3.visible()) {
      record.AddLogField("SRX", ExchRcv.text());
      record.AddLogField("STX", ExchSnt.text());
    }
    const std::string full = record.GetLogRecord() + "<EOR>";
    const std::string execute = application_prefix(dxlab::kDXKeeper) +
                                (settings.SendToeQSL ? dxlab::kEqslLog : dxlab::kLog) + full;
    deliver_or_keep(execute);
    if (DebugMode()) debug("ADIFLogSenttoDXK", full);
    CurrentCallsign.clear();
    ClearInfo();
  } catch (const RuntimeError& e) {
    report(e, "QuandrelMain.Log");
  }
  if (!unloaded_) Timer2.set_enabled(true);
}

void QuandrelMain::deliver_or_keep(const std::string& execute) {
  // Earlier QSOs still waiting, or a delivery in progress further out (an execute lets
  // events run while it waits): this one queues behind them to keep the order.
  if (!pending_qsos.empty() || delivering_) {
    keep_for_later({execute, false});
    DeliverWaitingQsos();
    return;
  }
  delivering_ = true;
  const SendResult result = senders.SendToDXKeeper(execute);
  delivering_ = false;
  if (result == SendResult::delivered) return;
  keep_for_later({execute, result == SendResult::unknown});
}

void QuandrelMain::keep_for_later(PendingQso entry) {
  try {
    pending_qsos.Add(std::move(entry));
  } catch (const RuntimeError& e) {
    // Kept in memory for this run all the same.
    report(e, "QuandrelMain.Log");
  }
  common.RefreshCaption();
}

void QuandrelMain::DeliverWaitingQsos() {
  if (delivering_ || pending_qsos.empty()) return;
  delivering_ = true;
  try {
    while (!pending_qsos.empty() && clients.IsServerConnected(dxlab::kDXKeeper) &&
           !platform.loop.quitting()) {
      const PendingQso entry = pending_qsos.front();
      if (entry.uncertain && DebugMode()) debug("QSO sent again after a time-out", entry.execute);
      const SendResult result = senders.SendToDXKeeper(entry.execute);
      if (result == SendResult::delivered) {
        pending_qsos.RemoveFront();
      } else {
        if (result == SendResult::unknown) pending_qsos.MarkFrontUncertain();
        break;
      }
    }
  } catch (const RuntimeError& e) {
    report(e, "QuandrelMain.Log");
  }
  delivering_ = false;
  common.RefreshCaption();
}

}  // namespace vav
