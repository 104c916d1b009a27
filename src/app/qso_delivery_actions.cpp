// The operator's actions on the outbox: send a QSO again, remove one, export them all.
#include <string>

#include "app/adif_export.h"
#include "app/qso_delivery.h"
#include "hosts/dxlab.h"

namespace vav {

QsoDelivery::Refusal QsoDelivery::send_again(std::size_t index) {
  if (delivering_) return Refusal::busy;
  if (!pending_qsos.ready()) return Refusal::not_ready;
  if (index >= pending_qsos.queued().size()) return Refusal::gone;
  const PendingQso& entry = pending_qsos.queued()[index];
  if (awaits_answer(entry)) return Refusal::awaits_answer;
  // Behind the QSOs that wait now: they were written after it but have not been held up by
  // it since it was set aside, and the oldest of them may be on its way to DXKeeper.
  if (entry.set_aside) {
    saving([&] { pending_qsos.Requeue(index); });
    queue_changed();
  }
  if (!clients_.IsServerConnected(dxlab::kDXKeeper)) clients_.ConnectServer(dxlab::kDXKeeper);
  deliver_waiting_qsos();
  return Refusal::none;
}

QsoDelivery::Refusal QsoDelivery::remove(std::size_t index) {
  if (delivering_) return Refusal::busy;
  if (!pending_qsos.ready()) return Refusal::not_ready;
  if (index >= pending_qsos.queued().size()) return Refusal::gone;
  const PendingQso entry = pending_qsos.queued()[index];
  if (awaits_answer(entry)) return Refusal::awaits_answer;
  const bool front =
      !pending_qsos.empty() && &pending_qsos.front() == &pending_qsos.queued()[index];
  // Into the removed file first: until that holds it, the QSO stays in the outbox.
  keep_removed(entry.execute);
  saving([&] { pending_qsos.RemoveAt(index); });
  if (front) front_replaced();
  if (last_qso_.fate == LastQso::Fate::in_outbox && last_qso_.execute == entry.execute) {
    last_qso_.fate = LastQso::Fate::removed;
  }
  queue_changed();
  if (front) deliver_waiting_qsos();
  return Refusal::none;
}

void QsoDelivery::keep_removed(const std::string& execute) {
  // Written afresh and atomically, never appended to: a full disk or a held file leaves the
  // file as it was and the QSO in the outbox, never a torn record that reads as another QSO.
  const std::string path = removed_path();
  std::string text = platform_.files.read_existing(path).value_or("");
  if (text.empty()) {
    text =
        adif_log_header(common_.Version(), platform_.system.utc_now(),
                        "QSOs the operator took out of Vavizorur's outbox, not sent to DXKeeper");
  }
  text += adif_tail_repair(text) + adif_export(record_of(execute)) + "\r\n";
  platform_.files.replace_atomically(path, text);
}

void QsoDelivery::front_replaced() {
  // What was counted of the old front says nothing of the new one.
  front_refusals_ = 0;
  front_sent_again_ = false;
  last_delivery_result_ = SendResult::not_connected;
}

std::size_t QsoDelivery::export_to(const std::string& path) {
  std::string text = adif_log_header(common_.Version(), platform_.system.utc_now(),
                                     "QSOs of Vavizorur's outbox, not yet in DXKeeper");
  for (const PendingQso& entry : pending_qsos.queued()) {
    text += adif_export(record_of(entry.execute)) + "\r\n";
  }
  platform_.files.replace_atomically(path, text);
  return pending_qsos.queued().size();
}

std::string QsoDelivery::close_question() const {
  const std::size_t waiting = pending_qsos.count();
  if (waiting == 0) return {};
  std::string text = waiting == 1 ? "1 QSO is waiting for DXKeeper."
                                  : std::to_string(waiting) + " QSOs are waiting for DXKeeper.";
  text += waiting == 1 ? " It is kept, and sent when Vavizorur starts again."
                       : " They are kept, and sent when Vavizorur starts again.";
  if (const std::size_t aside = pending_qsos.set_aside_count(); aside > 0) {
    text += "\r\r" + std::to_string(aside) +
            (aside == 1 ? " set-aside QSO stays" : " set-aside QSOs stay") +
            " in the Status tab's list.";
  }
  return text + "\r\rClose Vavizorur now?";
}

}  // namespace vav
