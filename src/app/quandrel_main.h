#pragma once
// The main window "QuandrelMain": its controls and timers, with the event handlers of the
// program's behaviour. The handlers live in one file per concern (qso_window, qso_logging,
// lookups, frequency, spots, lifecycle, placement, setup_tab, status); the state of a concern
// is its own: the Setup options (`Settings`), the frequency tracking (`FrequencyTracking`),
// the delivery of QSOs to DXKeeper (`QsoDelivery`).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/frequency_tracking.h"
#include "app/qso_delivery.h"
#include "app/settings.h"
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

  // ---- lifecycle.cpp -------------------------------------------------------------------
  // Loads the window; when MixW is not running, shows the wait window and lets events run
  // until MixW is found or the user cancels. Returns false when start-up was cancelled.
  bool Form_Load();
  // The user closes the main window: the unload steps, then the end of the program. When
  // QSOs wait for DXKeeper, or exist in memory only and no file can take them, the user is
  // asked first and may keep the program running.
  void Close();
  // Windows ends the session: the same without asking.
  void EndSession();
  void Form_Unload();
  void Timer2_Timer();  // connection pass
  void Timer3_Timer();  // MixW watch
  void MixWLostCloseDown();
  bool EndTask(const std::string& title);
  RunEnd run_end() const { return run_end_; }

  // ---- qso_window.cpp ------------------------------------------------------------------
  void Initialize();
  void ClearInfo();
  void Command_Change();
  void Save_Click();

  // ---- qso_logging.cpp -----------------------------------------------------------------
  void Log();

  // ---- lookups.cpp ---------------------------------------------------------------------
  void Callsign_Change();

  // ---- frequency.cpp -------------------------------------------------------------------
  void Timer1_Timer();  // the 500 ms MixW poll and callsign catch-up
  void MixKhz_Change();
  void MixWRigFreq_Change();
  void RigFreq_Change();
  void AudioFreq_Change();
  void Mode_Change();

  // ---- spots.cpp -----------------------------------------------------------------------
  void RcvdSpotChange();

  // ---- status.cpp ----------------------------------------------------------------------
  void RefreshStatus();
  void SendNow_Click();
  void OpenErrorLog_Click();

  // ---- placement.cpp -------------------------------------------------------------------
  void RestoreWindowPosition();
  void SaveWindowPosition();
  void Form_Resize();
  bool IsSmallFonts();
  void Check10_Click();
  void SetTopMost(bool on_top, WindowRef window, int x, int y, int cx, int cy);
  // SetTopMost with the window's own place and size.
  void set_topmost_in_place(bool on_top);
  void SizeForStartUp();

  // ---- setup_tab.cpp -------------------------------------------------------------------
  void LoadSettings();
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  void Check6_Click();
  void Check7_Click();
  void Check8_Click();
  void Check9_Click();
  void Check11_Click();
  void Check12_Click();
  void Check13_Click();
  void Check14_Click();
  void Check15_Click();
  void Check16_Click();
  void Check17_Click();
  void Combo1_Click();
  // The check box `number` (1 to 17); throws kSubscriptOutOfRange for any other number.
  CheckBox& check_box(int number);
  void OptDigitalFreq_Change();
  void Option1_Click(int index);
  void Option2_Click(int index);

  // ---- the window's controls -----------------------------------------------------------
  // QSO fields linked to MixW's "QSO" topic.
  LinkedText Callsign, RSTRcvd, RSTSnt, Mode, NameText, QTH, State, DXCCPrefix, Country, QSLInfo,
      Notes, County, DateNow, UTCStart, UTCEnd, ExchRcv, ExchSnt;
  LinkedText Cont, CQZ, IRUZ, GridSq, IOTA;  // labels
  LinkedText Command, MixKhz;                // hidden
  Button Save{"Save"};                       // enabled while there is a callsign
  // Fields the program fills.
  TextControl RigFreq, AudioFreq, OpFreq, Prefix, MixWRigFreq;
  TextControl RcvdSpotPrefix, RcvdSpotGrid, RcvdSpotSearch, RcvdSpotLogMode, RcvdSpotQSX,
      RcvdSpotFreq, RcvdSpotMode, RcvdSpotCallsign;
  // Setup tab.
  CheckBox Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8, Check9, Check10, Check11,
      Check12, Check13, Check14, Check15, Check16, Check17;
  OptionGroup Option1;  // 0 "MixW", 1 "Commander"
  OptionGroup Option2;  // 0 "Rig Frequency", 1 "Actual Frequency"
  ComboList Combo1;     // RTTY radio mode
  TextControl OptDigitalFreq;
  Frame Frame3;  // contest exchange
  Frame Frame6;  // SpotCollector settings
  Timer Timer1, Timer2, Timer3;
  StatusTab status;

  // ---- state ---------------------------------------------------------------------------
  Settings settings;
  std::string CurrentCallsign;
  FrequencyTracking frequency;
  bool MixWRunning = false;
  bool MixWFound = false;
  bool ConnectingApps = false;
  std::optional<mixw::MixWApp> MixWApp;

  // ---- modules -------------------------------------------------------------------------
  Platform& platform;
  // Where the waiting QSOs, the ADIF log and the logs go (the program's folder, or the
  // user's when it cannot be written).
  std::string data_folder;
  LocaleInfo locale;
  Common common;
  DdeCommon codec;
  SettingsFile settings_file;
  DdeClientModule clients;
  DXLabControlModule senders;
  SpotServer spot_server;
  QsoDelivery delivery;

  // Helpers shared by the concerns.
  bool DebugMode() const { return common.DebugMode; }
  void debug(std::string_view key, std::string_view value) { common.DebugSettings(key, value); }
  void report(const RuntimeError& error, std::string_view procedure) {
    common.ReportError(error, procedure);
  }
  // Runs a handler's body, reporting what it throws under "QuandrelMain.Procedure".
  template <class Body>
  void trap(std::string_view procedure, Body&& body) {
    common.trap(procedure, std::forward<Body>(body));
  }
  // Takes the running MixW object into MixWApp; throws RuntimeError when none runs.
  void take_mixw();
  // take_mixw, false when MixW cannot be reached.
  bool try_take_mixw();
  mixw::MixWApp& mixw();  // throws kObjectNotSet when not taken
  Separators separators() const { return locale.separators(); }

 private:
  void set_qso_link_items();
  void wire_handlers();
  void spot_arrived(const SpotFields& spot);
  void continue_load();
  void WaitScreen_Timer1();
  void WaitScreen_Cancel();
  void end_program(RunEnd how);
  // Whether the user's close may go on: true unless QSOs wait or would be lost and the user
  // keeps the program running.
  bool may_close();
  // Writes the outbox wherever it can before the program ends.
  void keep_outbox_at_close();
  struct LoggedQso {
    std::string record;   // the fields and "<EOR>"
    std::string execute;  // what DXKeeper is sent
  };
  // Builds the record of the QSO in the window; throws RuntimeError (a date that cannot be
  // read, ...).
  LoggedQso logged_qso();
  // A QSO written with no callsign: nothing is logged, and the operator is told.
  void note_qso_without_callsign();
  void wire_status();
  // A click on a box of the on/off options table.
  void option_box_clicked(int number);
  void refresh_waiting_rows();
  void note_spot(const SpotFields& spot, std::string outcome);
  std::string status_time();
  // Runs `task` on the event loop later, unless this window is gone by then: work posted by
  // a window that was destroyed (a killed run, a new one started in its place) is dropped.
  void post_task(std::function<void()> task);

 public:
  void show_message(const std::string& text);

 private:
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
