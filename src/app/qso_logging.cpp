// Logging a QSO to DXKeeper. A QSO that cannot be delivered is kept in the waiting file and
// delivered, in order, as soon as DXKeeper accepts it: none is ever dropped.
#include <optional>
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
    keep_in_adif_log(qso.record);
    deliver_or_keep(qso.execute);
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
    keep_in_adif_log(qso.record);
    keep_for_later({qso.execute, false});
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
  last_delivery_result_ = result;
  if (result == SendResult::delivered) return;
  keep_for_later({execute, result == SendResult::unknown});
  // The queue was empty, so this QSO is now the oldest.
  front_refusals_ = 0;
  if (result == SendResult::refused) note_front_refused();
}

void QuandrelMain::keep_in_adif_log(const std::string& record) {
  // The program's own log never stands in the way of DXKeeper's: a failure is reported once,
  // and the next QSO tries again.
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!adif_log_failing_) report(e, procedure);
    adif_log_failing_ = true;
  };
  trapped(report_once, "QuandrelMain.AdifLog", [&] {
    adif_log.Append(record, common.Version(), platform.system.utc_now());
    adif_log_failing_ = false;
  });
}

void QuandrelMain::note_front_refused() {
  // DXKeeper keeps refusing the oldest QSO: the order is kept and it is tried again, but the
  // operator must be able to see why nothing after it arrives, and to log it by hand.
  if (++front_refusals_ != kRefusalsBeforeReport || pending_qsos.empty()) return;
  common.LogError("DXKeeper refused this QSO " + std::to_string(kRefusalsBeforeReport) +
                  " times; the QSOs written after it wait behind it in " + kPendingFileName + ": " +
                  pending_qsos.front().execute);
}

bool QuandrelMain::waiting_file_ready() {
  if (pending_qsos.ready()) return true;
  // Tried again at every connection pass; the trouble is reported once.
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!waiting_file_trouble_reported_) report(e, procedure);
    waiting_file_trouble_reported_ = true;
  };
  trapped(report_once, "QuandrelMain.LoadWaitingQsos", [this] { pending_qsos.Load(); });
  return pending_qsos.ready();
}

void QuandrelMain::keep_for_later(PendingQso entry) {
  // Kept in memory for this run all the same when the file fails.
  trap("QuandrelMain.Log", [&] { pending_qsos.Add(std::move(entry)); });
  common.RefreshCaption();
  RefreshStatus();
}

void QuandrelMain::DeliverWaitingQsos() {
  if (delivering_ || !waiting_file_ready() || pending_qsos.empty()) return;
  delivering_ = true;
  // The waiting file failing to be rewritten (a read-only folder, a locked file) must not
  // hold the queue up: the entries in memory are right, so delivery goes on and the first
  // such failure is reported once.
  std::optional<RuntimeError> save_failure;
  const auto keep_first = [&](const RuntimeError& e, std::string_view) {
    if (!save_failure) save_failure = e;
  };
  const auto saving = [&](auto&& change) { trapped(keep_first, "", change); };
  // A long queue (a weekend's QSOs) goes out in slices, with the event loop running in
  // between, so the window and the poll stay alive; what arrives meanwhile queues behind.
  int slice = kDeliverySlice;
  while (!pending_qsos.empty() && clients.IsServerConnected(dxlab::kDXKeeper) &&
         !platform.loop.quitting()) {
    if (slice-- == 0) {
      post_task([this] { DeliverWaitingQsos(); });
      break;
    }
    const PendingQso entry = pending_qsos.front();
    if (entry.uncertain && DebugMode()) debug("QSO sent again after a time-out", entry.execute);
    const SendResult result = senders.SendToDXKeeper(entry.execute);
    last_delivery_result_ = result;
    if (result == SendResult::delivered) {
      front_refusals_ = 0;
      saving([&] { pending_qsos.RemoveFront(); });
    } else {
      if (result == SendResult::unknown) saving([&] { pending_qsos.MarkFrontUncertain(); });
      if (result == SendResult::refused) note_front_refused();
      break;
    }
  }
  if (save_failure) report(*save_failure, "QuandrelMain.Log");
  delivering_ = false;
  common.RefreshCaption();
  RefreshStatus();
}

}  // namespace vav
