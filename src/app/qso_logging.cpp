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
  try {
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
    const std::string full =
        build_log_record(fields, settings, separators(), codec.code_page(), sink);
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
  // The waiting file failing to be rewritten (a read-only folder, a locked file) must not
  // hold the queue up: the entries in memory are right, so delivery goes on and the first
  // such failure is reported once.
  std::optional<RuntimeError> save_failure;
  const auto saving = [&](auto&& change) {
    try {
      change();
    } catch (const RuntimeError& e) {
      if (!save_failure) save_failure = e;
    }
  };
  while (!pending_qsos.empty() && clients.IsServerConnected(dxlab::kDXKeeper) &&
         !platform.loop.quitting()) {
    const PendingQso entry = pending_qsos.front();
    if (entry.uncertain && DebugMode()) debug("QSO sent again after a time-out", entry.execute);
    const SendResult result = senders.SendToDXKeeper(entry.execute);
    if (result == SendResult::delivered) {
      saving([&] { pending_qsos.RemoveFront(); });
    } else {
      if (result == SendResult::unknown) saving([&] { pending_qsos.MarkFrontUncertain(); });
      break;
    }
  }
  if (save_failure) report(*save_failure, "QuandrelMain.Log");
  delivering_ = false;
  common.RefreshCaption();
}

}  // namespace vav
