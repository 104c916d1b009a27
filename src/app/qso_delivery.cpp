#include "app/qso_delivery.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "app/status_tab.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

// "K1ABC 20051127 044400": enough for the operator to find the QSO in DXKeeper's log.
std::string qso_summary(const std::string& execute) {
  return record_field(execute, "CALL") + " " + record_field(execute, "QSO_DATE") + " " +
         record_field(execute, "TIME_ON");
}

}  // namespace

QsoDelivery::QsoDelivery(Platform& platform, Common& common, DDEClientModule& clients,
                         DXLabControlModule& senders, const std::string& folder)
    : pending_qsos(platform.files, folder),
      adif_log(platform.files, folder),
      folder_(folder),
      platform_(platform),
      common_(common),
      clients_(clients),
      senders_(senders) {
  dxkeeper_conversation().on_late_answer = [this](const std::string& execute, bool accepted) {
    late_answer(execute, accepted);
  };
}

void QsoDelivery::submit(const std::string& record, const std::string& execute, bool send_now) {
  keep_in_adif_log(record);
  last_qso_ = LastQso{};
  last_qso_.execute = execute;
  last_qso_.fate = LastQso::Fate::in_outbox;
  keep_in_outbox({execute});
  if (send_now) deliver_waiting_qsos();
  // The window shows the new QSO once it has gone out: redrawing the caption and the Status
  // tab never stands between MixW's write and DXKeeper (a DDE wait repaints nothing anyway).
  queue_changed();
}

void QsoDelivery::keep_in_adif_log(const std::string& record) {
  // The program's own log never stands in the way of DXKeeper's: a failure is reported once,
  // and the next QSO tries again.
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!adif_log_failing_) common_.ReportError(e, procedure);
    adif_log_failing_ = true;
  };
  reporting_errors(report_once, "QuandrelMain.AdifLog", [&] {
    adif_log.Append(record, common_.Version(), platform_.system.utc_now());
    adif_log_failing_ = false;
  });
}

void QsoDelivery::keep_in_outbox(PendingQso entry) {
  // Kept in memory all the same when the file fails; the file is written again later.
  saving([&] { pending_qsos.Add(std::move(entry)); });
}

void QsoDelivery::saving(const std::function<void()>& change) {
  const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
    if (!save_failure_reported_) common_.ReportError(e, procedure);
    save_failure_reported_ = true;
  };
  reporting_errors(report_once, "QuandrelMain.Log", change);
  if (pending_qsos.saved()) save_failure_reported_ = false;
}

bool QsoDelivery::retry_saving() {
  saving([this] { pending_qsos.Flush(); });
  return pending_qsos.saved();
}

bool QsoDelivery::waiting_file_ready() {
  if (!pending_qsos.ready()) {
    // Tried again at every connection pass; the trouble is reported once.
    const auto report_once = [this](const RuntimeError& e, std::string_view procedure) {
      if (!waiting_file_trouble_reported_) common_.ReportError(e, procedure);
      waiting_file_trouble_reported_ = true;
    };
    reporting_errors(report_once, "QuandrelMain.LoadWaitingQsos", [this] { pending_qsos.Load(); });
  }
  if (pending_qsos.ready()) report_damaged_entries();
  return pending_qsos.ready();
}

void QsoDelivery::report_damaged_entries() {
  if (damaged_reported_ || pending_qsos.damaged().empty()) return;
  damaged_reported_ = true;
  notice("", "damaged entry in the waiting file: not sent",
         "The waiting file held bytes that are no whole QSO (in" + pending_qsos.damaged_files() +
             "); they are kept in " + kPendingDamagedFileName +
             " and were not sent to DXKeeper: " + pending_qsos.damaged());
}

void QsoDelivery::notice(const std::string& execute, const std::string& what,
                         const std::string& log_line) {
  common_.LogError(log_line);
  // A QSO written without a callsign is the last QSO all the same: nothing was logged.
  if (execute.empty() && what.starts_with("not logged")) {
    last_qso_ = LastQso{};
    last_qso_.fate = LastQso::Fate::not_logged;
    last_qso_.note = what;
  }
  notices_.push_back({execute, what});
  if (notices_.size() > kNoticesKept) notices_.pop_front();
  queue_changed();
}

void QsoDelivery::queue_changed() {
  common_.RefreshCaption();
  if (on_queue_changed) on_queue_changed();
}

void QsoDelivery::deliver_waiting_qsos() {
  if (delivering_ || !waiting_file_ready() || pending_qsos.empty()) return;
  delivering_ = true;
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
    if (!send_front()) break;
  }
  delivering_ = false;
  queue_changed();
}

bool QsoDelivery::send_front() {
  const PendingQso entry = pending_qsos.front();
  // Sent on the conversation that is still open and not answered yet: DXKeeper is busy and
  // will run it and answer late. Sent again, it would be logged twice.
  if (entry.uncertain && dxkeeper_conversation().awaits_answer(entry.execute)) return false;
  // Sent before on a conversation that ended without an answer: DXKeeper may have run it.
  if (entry.uncertain) front_sent_again_ = true;
  const SendResult result = senders_.SendToDXKeeper(entry.execute);
  last_delivery_result_ = result;
  switch (result) {
    case SendResult::delivered:
      front_delivered();
      return true;
    case SendResult::unknown:
      saving([this] { pending_qsos.MarkFrontUncertain(); });
      return false;
    case SendResult::refused:
      front_refused();
      return false;
    case SendResult::not_connected:
      break;
  }
  return false;
}

void QsoDelivery::front_delivered() {
  const std::string execute = pending_qsos.front().execute;
  const bool sent_again = front_sent_again_;
  front_refusals_ = 0;
  front_sent_again_ = false;
  saving([this] { pending_qsos.RemoveFront(); });
  if (last_qso_.fate == LastQso::Fate::in_outbox && last_qso_.execute == execute) {
    last_qso_.fate = LastQso::Fate::logged;
    last_qso_.logged_at = utc_time_text();
    last_qso_.may_be_duplicate = sent_again;
  }
  if (sent_again) {
    notice(execute, "may be a duplicate: check DXKeeper",
           "DXKeeper may have logged this QSO twice (its conversation ended before it "
           "answered, so the QSO was sent again): " +
               qso_summary(execute));
  }
}

void QsoDelivery::front_refused() {
  if (++front_refusals_ < kRefusalsBeforeSetAside) return;
  // The order is kept through a few refusals (DXKeeper may be busy re-sorting its log), but
  // a QSO it refuses for good must not hold back every QSO written after it.
  const std::string execute = pending_qsos.front().execute;
  // The refusals were of this QSO: the one behind it, now the oldest, is no refused QSO.
  front_replaced();
  saving([this] { pending_qsos.SetAsideFront(); });
  notice(execute, "set aside: DXKeeper refused it",
         "DXKeeper refused this QSO " + std::to_string(kRefusalsBeforeSetAside) +
             " times; it is set aside in " + kPendingFileName +
             " and the QSOs written after it go on: " + execute);
}

void QsoDelivery::late_answer(const std::string& execute, bool accepted) {
  if (pending_qsos.empty() || pending_qsos.front().execute != execute) return;
  if (accepted) {
    front_delivered();
    last_delivery_result_ = SendResult::delivered;
    platform_.loop.post([this, alive = std::weak_ptr<const bool>(alive_)] {
      if (alive.lock()) deliver_waiting_qsos();
    });
  } else {
    last_delivery_result_ = SendResult::refused;
    front_refused();
  }
  queue_changed();
}

std::string QsoDelivery::caption_note() const {
  // Short, for a narrow caption; the Status tab tells the rest.
  std::string note;
  const auto add = [&note](const std::string& part) {
    note += (note.empty() ? " - " : ", ") + part;
  };
  if (const std::size_t n = pending_qsos.count(); n > 0) add(std::to_string(n) + " waiting");
  if (const std::size_t aside = pending_qsos.set_aside_count(); aside > 0) {
    add(std::to_string(aside) + " set aside");
  }
  if (!pending_qsos.ready()) add("waiting file cannot be read yet");
  return note;
}

QsoDelivery::Reasons QsoDelivery::waiting_reasons() const {
  if (!pending_qsos.ready()) {
    const std::string why = std::string(kPendingFileName) + " cannot be read yet";
    return {why, why};
  }
  if (!pending_qsos.empty() && pending_qsos.front().uncertain &&
      clients_.form().DDELog.awaits_answer(pending_qsos.front().execute)) {
    return {"sent, no answer from DXKeeper yet", "behind a QSO without an answer"};
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
  return {"DXKeeper not running", "DXKeeper not running"};
}

std::string QsoDelivery::state_of(std::size_t index, const Reasons& reasons) const {
  const auto& queued = pending_qsos.queued();
  if (queued[index].set_aside) return "set aside: DXKeeper refused it";
  const bool front = !pending_qsos.empty() && &pending_qsos.front() == &queued[index];
  return front ? reasons.first : reasons.rest;
}

std::string QsoDelivery::utc_time_text() const {
  const SystemTime t = platform_.system.utc_now();
  char text[16];
  std::snprintf(text, sizeof(text), "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

}  // namespace vav
