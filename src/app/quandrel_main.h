#pragma once
// The main window "QuandrelMain": its rooms, controls and timers, with the event handlers of
// the program's behaviour. A room owns its controls and its state: the QSO fields
// (`QsoForm`), the Setup tab (`SetupTab`, with `Settings`), the Status tab (`StatusTab`),
// the spot last received (`ReceivedSpot`); the delivery of QSOs to DXKeeper is `QsoDelivery`.
// The handlers live in one file per concern (qso_window, qso_logging, lookups, frequency,
// spots, lifecycle, placement, status) and forward to the rooms.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/frequency_tracking.h"
#include "app/qso_delivery.h"
#include "app/qso_form.h"
#include "app/received_spot.h"
#include "app/setup_tab.h"
#include "app/settings_file.h"
#include "app/status_tab.h"
#include "common/common.h"
#include "common/locale_info.h"
#include "controls/controls.h"
#include "dde/dde_client_module.h"
#include "dde/dde_common.h"
#include "dde/dxlab_senders.h"
#include "dde/spot_server.h"
#include "hosts/mixw.h"
#include "platform/platform.h"

namespace vav {

// How the program's run ended, for the shell that runs the event loop.
enum class RunEnd { running, closed, cancelled, mixw_lost, second_copy };

class QuandrelMain {
 public:
  explicit QuandrelMain(Platform& platform);
  ~QuandrelMain();
  QuandrelMain(const QuandrelMain&) = delete;
  QuandrelMain& operator=(const QuandrelMain&) = delete;

  // Loads the window; when MixW is not running, shows the wait window and lets events run
  // until MixW is found or the user cancels. Returns false when start-up was cancelled.
  bool Form_Load();
  // The user closes the main window: the unload steps, then the end of the program. When
  // QSOs wait for DXKeeper, or exist in memory only and no file can take them, the user is
  // asked first and may keep the program running.
  void Close();
  // Windows ends the session: the same without asking.
  void EndSession();
  RunEnd run_end() const { return run_end_; }
  // The controls' own handlers, for a click or a tick that a test makes without the window.
  void Save_Click();
  void Timer3_Timer();  // MixW watch
  bool IsSmallFonts();
  // Loads every option at start-up (also run on its own by the settings fuzz target).
  void LoadSettings();

  // ---- the window's rooms and controls ---------------------------------------------------
  QsoForm qso;  // the QSO fields linked to MixW's "QSO" topic
  // Fields the program fills.
  TextControl RigFreq, AudioFreq, OpFreq, MixWRigFreq;
  ReceivedSpot received_spot;
  Timer Timer1, Timer2, Timer3;
  StatusTab status;

  // ---- state ---------------------------------------------------------------------------
  std::string CurrentCallsign;
  FrequencyTracking frequency;
  bool MixWRunning = false;
  bool MixWFound = false;
  bool ConnectingApps = false;
  std::optional<mixw::Application> MixWApp;

  // ---- modules -------------------------------------------------------------------------
  Platform& platform;
  // Where the waiting QSOs, the ADIF log and the logs go (the program's folder, or the
  // user's when it cannot be written).
  std::string data_folder;
  LocaleInfo locale;
  Common common;
  DDECommon codec;
  SettingsFile settings_file;
  DDEClientModule clients;
  SetupTab setup;
  DXLabControlModule senders;
  SpotServer spot_server;
  QsoDelivery delivery;

  // Helpers shared by the concerns.
  bool DebugMode() const { return common.DebugMode; }
  mixw::Application& mixw();  // throws kObjectNotSet when not taken
  Separators separators() const { return locale.separators(); }
  void show_message(const std::string& text);
  // Fills the Status tab from what the program knows now.
  void RefreshStatus();

 private:
  // The handlers, one file per concern; each is wired to its control or timer.
  // ---- lifecycle.cpp -------------------------------------------------------------------
  void Form_Unload();
  void Timer2_Timer();  // connection pass
  void MixWLostCloseDown();
  bool EndTask(const std::string& title);
  void continue_load();
  void WaitScreen_Timer1();
  void WaitScreen_Cancel();
  void end_program(RunEnd how);
  // Whether the user's close may go on: true unless QSOs wait or would be lost and the user
  // keeps the program running.
  bool may_close();
  // Writes the outbox wherever it can before the program ends.
  void keep_outbox_at_close();

  // ---- qso_window.cpp, qso_logging.cpp, lookups.cpp -----------------------------------
  void Initialize();
  void ClearInfo();
  void Command_Change();
  void Log();
  void Callsign_Change();
  struct LoggedQso {
    std::string record;   // the fields and "<EOR>"
    std::string execute;  // what DXKeeper is sent
  };
  // Builds the record of the QSO in the window; throws RuntimeError (a date that cannot be
  // read, ...).
  LoggedQso logged_qso();
  // A QSO written with no callsign: nothing is logged, and the operator is told.
  void note_qso_without_callsign();

  // ---- frequency.cpp -------------------------------------------------------------------
  void Timer1_Timer();  // the 500 ms MixW poll and callsign catch-up
  void MixKhz_Change();
  void MixWRigFreq_Change();
  void RigFreq_Change();
  void AudioFreq_Change();
  void Mode_Change();

  // ---- spots.cpp -----------------------------------------------------------------------
  // A spot from SpotCollector: kept in the spot fields, tuned to, and noted with its outcome.
  void spot_arrived(const SpotFields& spot);
  // Tunes the station to the spot whose frequency reads as `spot_hz`; says what it did.
  SpotOutcome RcvdSpotChange(const SpotFields& spot, std::optional<std::int64_t> spot_hz);

  // ---- status.cpp ----------------------------------------------------------------------
  void SendNow_Click();
  void OpenErrorLog_Click();
  void wire_status();
  void refresh_waiting_rows();
  void note_spot(const SpotFields& spot, std::string outcome);
  std::string status_time();

  // ---- placement.cpp -------------------------------------------------------------------
  void RestoreWindowPosition();
  void SaveWindowPosition();
  void Form_Resize();
  void SetTopMost(bool on_top, WindowRef window, int x, int y, int cx, int cy);
  // SetTopMost with the window's own place and size.
  void set_topmost_in_place(bool on_top);
  void SizeForStartUp();

  // ---- quandrel_main.cpp ---------------------------------------------------------------
  void wire_handlers();
  void debug(std::string_view key, std::string_view value) { common.DebugSettings(key, value); }
  // Runs a handler's body, reporting what it throws under "QuandrelMain.Procedure".
  template <class Body>
  void reporting_errors(std::string_view procedure, Body&& body) {
    common.reporting_errors(procedure, std::forward<Body>(body));
  }
  // Takes the running MixW object into MixWApp; throws RuntimeError when none runs.
  void take_mixw();
  // take_mixw, false when MixW cannot be reached.
  bool try_take_mixw();
  // Runs `task` on the event loop later, unless this window is gone by then: work posted by
  // a window that was destroyed (a killed run, a new one started in its place) is dropped.
  void post_task(std::function<void()> task);

  RunEnd run_end_ = RunEnd::running;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool position_restored_ = false;
  bool restoring_position_ = false;
  std::string waiting_rows_key_;  // what the waiting list was last drawn from
  std::unique_ptr<WaitScreenView> wait_screen_;
  std::unique_ptr<InstanceClaim> instance_claim_;
  Timer WaitScreenTimer1;
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace vav
