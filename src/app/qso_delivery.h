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
#include "app/last_qso.h"
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

  // " - 3 waiting, 1 set aside" for the caption, right after the version; "" when the
  // outbox is empty and its file read.
  std::string caption_note() const;
  // Why the oldest waiting QSO waits, and why the ones behind it do.
  struct Reasons {
    std::string first;
    std::string rest;
  };
  Reasons waiting_reasons() const;
  // The state of entry `index` of the outbox for the operator: set aside, or why it waits.
  std::string state_of(std::size_t index, const Reasons& reasons) const;
  // The latest notices, newest last.
  const std::deque<QsoNotice>& notices() const { return notices_; }
  const LastQso& last_qso() const { return last_qso_; }

  // ---- the operator's actions (qso_delivery_actions.cpp) -------------------------------
  // On entry `index` of pending_qsos.queued(). An action is refused while the outbox is
  // being sent (a click inside a delivery), while the waiting file has not been read, and
  // for a QSO sent on a conversation that is still open and not answered yet: DXKeeper may
  // still log it, so it can be neither sent again nor removed before its answer comes.
  enum class Refusal { none, busy, not_ready, gone, awaits_answer };
  // A set-aside QSO waits again, behind the QSOs that wait now; then the outbox is sent.
  Refusal send_again(std::size_t index);
  // The QSO leaves the outbox once the removed-QSOs file holds it. Throws RuntimeError when
  // that file cannot be written; the QSO then stays.
  Refusal remove(std::size_t index);
  // Writes every QSO of the outbox, set-aside ones included, to a new ADIF file at `path`
  // (for DXKeeper's own import); the count. Throws RuntimeError when it cannot be written.
  std::size_t export_to(const std::string& path);
  // The question to ask before the operator's close while QSOs wait ("" when none waits).
  std::string close_question() const;

  // The ADIF file of the QSOs the operator removed (kRemovedQsosFileName).
  std::string removed_path() const { return folder_ + "\\" + kRemovedQsosFileName; }

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
  bool awaits_answer(const PendingQso& entry) {
    return entry.uncertain && dxkeeper_conversation().awaits_answer(entry.execute);
  }
  // The oldest waiting QSO changed other than by its own delivery or setting aside.
  void front_replaced();
  // Adds the QSO's record to the removed-QSOs file, whole or not at all; throws RuntimeError.
  void keep_removed(const std::string& execute);
  std::string utc_time_text() const;
  LinkedText& dxkeeper_conversation() { return clients_.form().DDELog; }

  static constexpr int kRefusalsBeforeSetAside = 3;
  static constexpr int kDeliverySlice = 50;  // waiting QSOs delivered per turn of the loop
  static constexpr std::size_t kNoticesKept = 50;

  std::string folder_;
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
  LastQso last_qso_;
  // Work posted by a delivery that no longer exists (a run killed and started afresh) is
  // dropped.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace vav
