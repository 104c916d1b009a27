#pragma once
// Delivery of logged QSOs to DXKeeper through one outbox. A QSO is kept in the program's own
// ADIF log and appended to the outbox the moment it is written, before anything is sent; it
// leaves the outbox when DXKeeper acknowledges it. Nothing is ever dropped, and nothing is
// sent twice on a conversation that may still run it:
// - an execute that times out stays sent: a busy DXKeeper runs it late and acknowledges it
//   late, and that acknowledgement completes it;
// - only when the conversation it was sent on has gone (DXKeeper crashed, closed or was
//   restarted) is it sent again, and then it is reported as possibly logged twice;
// - a QSO that DXKeeper refuses at three attempts is set aside, so that the ones behind it
//   go on, and reported whole.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "app/adif_log.h"
#include "app/pending_qsos.h"
#include "common/common.h"
#include "controls/controls.h"
#include "dde/dde_client_module.h"
#include "dde/dxlab_senders.h"
#include "platform/platform.h"

namespace vav {

// A QSO whose fate the operator should look at: possibly logged twice, set aside, not logged.
struct QsoNotice {
  std::string execute;  // the QSO as sent ("" when none was built)
  std::string what;     // "may be a duplicate: check DXKeeper", ...
};

class QsoDelivery {
 public:
  // The waiting file and the ADIF log are kept in `folder` (choose_data_folder).
  QsoDelivery(Platform& platform, Common& common, DDEClientModule& clients,
              DXLabControlModule& senders, const std::string& folder);
  QsoDelivery(const QsoDelivery&) = delete;
  QsoDelivery& operator=(const QsoDelivery&) = delete;

  // Called after the outbox changed, for the views that show it.
  std::function<void()> on_queue_changed;

  // A QSO was written: kept in the program's own log and in the outbox, then sent unless
  // `send_now` is false (a connection pass is under way; it sends when it ends).
  void submit(const std::string& record, const std::string& execute, bool send_now);
  // Sends the QSOs of the outbox, oldest first, while DXKeeper takes them; a long queue
  // goes out in slices with the event loop running in between.
  void deliver_waiting_qsos();
  // An execute that timed out on DXKeeper's conversation was answered after all.
  void late_answer(const std::string& execute, bool accepted);
  // Reads the waiting file when that has not succeeded yet; true once it has.
  bool waiting_file_ready();
  // Writes the outbox's file again after a failed write; true when the file is in step.
  bool retry_saving();
  // Something the operator should know of a QSO, in the error log and the Status tab.
  void notice(const std::string& execute, const std::string& what, const std::string& log_line);

  // " - N QSOs waiting for DXKeeper", and why they are held, for the caption.
  std::string caption_note() const;
  // Why the oldest waiting QSO waits, and why the ones behind it do.
  struct Reasons {
    std::string first;
    std::string rest;
  };
  Reasons waiting_reasons() const;
  // The latest notices, newest last.
  const std::deque<QsoNotice>& notices() const { return notices_; }

  PendingQsos pending_qsos;
  AdifLog adif_log;

 private:
  void keep_in_adif_log(const std::string& record);
  void keep_in_outbox(PendingQso entry);
  // One attempt at the oldest QSO; false when the delivery must stop for now.
  bool send_front();
  void front_delivered();
  void front_refused();
  void report_damaged_entries();
  // Runs a change of the outbox's file; a failure is reported once until a write works.
  void saving(const std::function<void()>& change);
  void queue_changed();
  LinkedText& dxkeeper_conversation() { return clients_.form().DDELog; }

  static constexpr int kRefusalsBeforeSetAside = 3;
  static constexpr int kDeliverySlice = 50;  // waiting QSOs delivered per turn of the loop
  static constexpr std::size_t kNoticesKept = 50;

  Platform& platform_;
  Common& common_;
  DDEClientModule& clients_;
  DXLabControlModule& senders_;
  bool delivering_ = false;
  int front_refusals_ = 0;  // times DXKeeper refused the oldest waiting QSO in a row
  // The oldest QSO was sent again after a conversation ended without answering it: if
  // DXKeeper takes it now, it may hold it twice.
  bool front_sent_again_ = false;
  bool waiting_file_trouble_reported_ = false;
  bool save_failure_reported_ = false;
  bool damaged_reported_ = false;
  bool adif_log_failing_ = false;
  SendResult last_delivery_result_ = SendResult::not_connected;  // of the oldest waiting QSO
  std::deque<QsoNotice> notices_;
  // Work posted by a delivery that no longer exists (a run killed and started afresh) is
  // dropped.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace vav
