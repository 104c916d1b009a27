#pragma once
// Delivery of logged QSOs to DXKeeper. A QSO goes straight to DXKeeper when nothing waits
// before it; one that cannot be delivered (DXKeeper absent, refusing, or silent past the
// time-out) waits in the waiting file and goes out, in order, as soon as DXKeeper accepts
// it: none is ever dropped. Every record is first kept in the program's own ADIF log.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "app/adif_log.h"
#include "app/pending_qsos.h"
#include "common/common.h"
#include "dde/dde_client_module.h"
#include "dde/dxlab_senders.h"
#include "platform/platform.h"

namespace vav {

class QsoDelivery {
 public:
  QsoDelivery(Platform& platform, Common& common, DdeClientModule& clients,
              DXLabControlModule& senders);
  QsoDelivery(const QsoDelivery&) = delete;
  QsoDelivery& operator=(const QsoDelivery&) = delete;

  // Called after the queue changed, for the views that show it.
  std::function<void()> on_queue_changed;

  // Sends `execute` to DXKeeper, or keeps it behind the QSOs already waiting.
  void deliver_or_keep(const std::string& execute);
  // Keeps `entry` in the waiting file without trying DXKeeper.
  void keep_for_later(PendingQso entry);
  // Appends the record to the program's own log; a failure is reported once.
  void keep_in_adif_log(const std::string& record);
  // Delivers the QSOs waiting for DXKeeper, oldest first, while DXKeeper accepts them; a
  // long queue goes out in slices with the event loop running in between.
  void deliver_waiting_qsos();
  // Reads the waiting file when that has not succeeded yet; true once it has.
  bool waiting_file_ready();

  // " - N QSOs waiting for DXKeeper", and why they are held, for the caption.
  std::string caption_note() const;
  // Why the oldest waiting QSO waits, and why the ones behind it do.
  struct Reasons {
    std::string first;
    std::string rest;
  };
  Reasons waiting_reasons() const;

  PendingQsos pending_qsos;
  AdifLog adif_log;

 private:
  void note_front_refused();
  void queue_changed();

  static constexpr int kRefusalsBeforeReport = 3;
  static constexpr int kDeliverySlice = 50;  // waiting QSOs delivered per turn of the loop

  Platform& platform_;
  Common& common_;
  DdeClientModule& clients_;
  DXLabControlModule& senders_;
  bool delivering_ = false;
  int front_refusals_ = 0;  // times DXKeeper refused the oldest waiting QSO in a row
  bool waiting_file_trouble_reported_ = false;
  bool adif_log_failing_ = false;
  SendResult last_delivery_result_ = SendResult::not_connected;  // of the oldest waiting QSO
  // Work posted by a delivery that no longer exists (a run killed and started afresh) is
  // dropped.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace vav
