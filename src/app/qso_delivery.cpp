#include "app/qso_delivery.h"

#include <optional>
#include <utility>

#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {

QsoDelivery::QsoDelivery(Platform& platform, Common& common, DdeClientModule& clients,
                         DXLabControlModule& senders)
    : pending_qsos(platform.files, platform.system.program_folder()),
      adif_log(platform.files, platform.system.program_folder()),
      platform_(platform),
      common_(common),
      clients_(clients),
      senders_(senders) {}

void QsoDelivery::deliver_or_keep(const std::string& execute) {
  // Earlier QSOs still waiting, or a delivery in progress further out (an execute lets
  // events run while it waits): this one queues behind them to keep the order.
  if (!pending_qsos.empty() || delivering_) {
    keep_for_later({execute, false});
    deliver_waiting_qsos();
    return;
  }
  delivering_ = true;
  const SendResult result = senders_.SendToDXKeeper(execute);
  delivering_ = false;
  last_delivery_result_ = result;
  if (result == SendResult::delivered) return;
  keep_for_later({execute, result == SendResult::unknown});
  // The queue was empty, so this QSO is now the oldest.
  front_refusals_ = 0;
  if (result == SendResult::refused) note_front_refused();
}

void QsoDelivery::keep_in_adif_log(const std::string& record) {
  // The program's own log never stands in the way of DXKeeper's: a failure is reported once,
  // and the next QSO tries again.
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!adif_log_failing_) common_.ReportError(e, procedure);
    adif_log_failing_ = true;
  };
  trapped(report_once, "QuandrelMain.AdifLog", [&] {
    adif_log.Append(record, common_.Version(), platform_.system.utc_now());
    adif_log_failing_ = false;
  });
}

void QsoDelivery::note_front_refused() {
  // DXKeeper keeps refusing the oldest QSO: the order is kept and it is tried again, but the
  // operator must be able to see why nothing after it arrives, and to log it by hand.
  if (++front_refusals_ != kRefusalsBeforeReport || pending_qsos.empty()) return;
  common_.LogError("DXKeeper refused this QSO " + std::to_string(kRefusalsBeforeReport) +
                   " times; the QSOs written after it wait behind it in " + kPendingFileName +
                   ": " + pending_qsos.front().execute);
}

bool QsoDelivery::waiting_file_ready() {
  if (pending_qsos.ready()) return true;
  // Tried again at every connection pass; the trouble is reported once.
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!waiting_file_trouble_reported_) common_.ReportError(e, procedure);
    waiting_file_trouble_reported_ = true;
  };
  trapped(report_once, "QuandrelMain.LoadWaitingQsos", [this] { pending_qsos.Load(); });
  return pending_qsos.ready();
}

void QsoDelivery::keep_for_later(PendingQso entry) {
  // Kept in memory for this run all the same when the file fails.
  common_.trap("QuandrelMain.Log", [&] { pending_qsos.Add(std::move(entry)); });
  queue_changed();
}

void QsoDelivery::queue_changed() {
  common_.RefreshCaption();
  if (on_queue_changed) on_queue_changed();
}

void QsoDelivery::deliver_waiting_qsos() {
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
  while (!pending_qsos.empty() && clients_.IsServerConnected(dxlab::kDXKeeper) &&
         !platform_.loop.quitting()) {
    if (slice-- == 0) {
      platform_.loop.post([this, alive = std::weak_ptr<const bool>(alive_)] {
        if (alive.lock()) deliver_waiting_qsos();
      });
      break;
    }
    const PendingQso entry = pending_qsos.front();
    if (entry.uncertain && common_.DebugMode) {
      common_.DebugSettings("QSO sent again after a time-out", entry.execute);
    }
    const SendResult result = senders_.SendToDXKeeper(entry.execute);
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
  if (save_failure) common_.ReportError(*save_failure, "QuandrelMain.Log");
  delivering_ = false;
  queue_changed();
}

std::string QsoDelivery::caption_note() const {
  const std::size_t n = pending_qsos.count();
  std::string note;
  if (n > 0)
    note = " - " + std::to_string(n) + (n == 1 ? " QSO" : " QSOs") + " waiting for DXKeeper";
  if (!pending_qsos.ready()) {
    note += std::string(" - ") + kPendingFileName + " cannot be read yet";
  } else if (front_refusals_ >= kRefusalsBeforeReport && n > 0) {
    note += ", held by a QSO DXKeeper refuses";
  }
  return note;
}

QsoDelivery::Reasons QsoDelivery::waiting_reasons() const {
  if (!pending_qsos.ready()) {
    const std::string why = std::string(kPendingFileName) + " cannot be read yet";
    return {why, why};
  }
  if (last_delivery_result_ == SendResult::refused) {
    // The last attempt is the latest word on the oldest QSO (a refusal also marks DXKeeper
    // disconnected until the next pass).
    return {"refused by DXKeeper (" + std::to_string(front_refusals_) + ")",
            "behind a refused QSO"};
  }
  if (last_delivery_result_ == SendResult::unknown) {
    return {"no answer from DXKeeper", "behind a QSO without an answer"};
  }
  if (clients_.IsServerConnected(dxlab::kDXKeeper)) return {"being sent", "being sent"};
  return {"DXKeeper absent", "DXKeeper absent"};
}

}  // namespace vav
