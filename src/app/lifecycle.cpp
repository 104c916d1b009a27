// Start-up, the connection pass, the MixW watch and the unload.
#include <string>

#include "app/quandrel_main.h"
#include "common/conversions.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr const char* kMixWNotLoaded = "MixW2 IS NOT LOADED\rBecause of this I must close down";

}  // namespace

bool QuandrelMain::Form_Load() {
  // A second copy (the icon double-clicked again) would link MixW and log every QSO twice:
  // it shows the copy that runs and ends before it touches anything.
  bool alone = true;
  passing_over_errors([&] {
    instance_claim_ = platform.system.claim_instance(platform.dde.service_name());
    alone = instance_claim_ != nullptr;
  });
  if (!alone) {
    passing_over_errors([&] { platform.system.show_other_instance(); });
    end_program(RunEnd::second_copy);
    return false;
  }
  // The connection pass runs from the moment the window exists, also while waiting for MixW.
  Timer2.set_enabled(true);
  reporting_errors("QuandrelMain.CheckforInIfile", [this] { settings_file.CheckforInIfile(); });
  MixWRunning = true;
  if (!try_take_mixw()) {
    MixWFound = false;
    passing_over_errors(
        [&] { wait_screen_ = platform.desktop.show_wait_screen([this] { WaitScreen_Cancel(); }); });
    WaitScreenTimer1.set_enabled(true);
    return false;  // the load goes on when the wait window finds MixW
  }
  continue_load();
  return true;
}

void QuandrelMain::WaitScreen_Timer1() {
  if (!try_take_mixw()) {
    MixWFound = false;
    return;
  }
  MixWFound = true;
  WaitScreenTimer1.set_enabled(false);
  wait_screen_.reset();
  continue_load();
}

void QuandrelMain::WaitScreen_Cancel() {
  // Cancel, or the wait window closed any other way: the program ends at once, without the
  // unload steps and without a log entry.
  WaitScreenTimer1.set_enabled(false);
  wait_screen_.reset();
  Timer2.set_enabled(false);
  end_program(RunEnd::cancelled);
}

void QuandrelMain::LoadSettings() {
  reporting_errors("QuandrelMain.LoadSettings", [this] {
    Timer1.set_enabled(true);
    Timer3.set_enabled(true);
    setup.load();
    if (DebugMode()) {
      const std::string ini = settings_file.program_folder() + "\\" + mixw::kIniFile;
      for (const char* key : {"DdeMhzFormat", "DdeCatFormat", "DdeKhzFormat"}) {
        debug(key, ReadIniValue(platform.files, mixw::kIniSection, key, ini));
      }
      debug("MixWMode", mixw().Mode());
    }
    common.RefreshCaption();
  });
}

void QuandrelMain::continue_load() {
  if (platform.loop.quitting()) return;
  // Start-up goes on whatever a step throws; a step without a handler of its own is
  // abandoned at its first error.
  passing_over_errors([&] { SizeForStartUp(); });
  passing_over_errors([&] {
    common.DebugMode = setup.stored_debug_mode();
    if (common.DebugMode) {
      debug("DebugModeLoaded", "True");
      setup.Check15.set_checked(true);
    }
  });
  passing_over_errors([&] { RestoreWindowPosition(); });

  const Millis t0 = platform.loop.tick_count();
  const auto timing = [&](const char* key) {
    if (DebugMode()) debug(key, std::to_string(platform.loop.tick_count() - t0));
  };
  passing_over_errors([&] { common.Initialize(); });
  timing("Common.Initialize - ");
  passing_over_errors([&] { delivery.waiting_file_ready(); });
  passing_over_errors([&] { clients.Initialize([this] { spot_server.Load(); }); });
  timing("DDEClientModule.Initialize2 - ");
  passing_over_errors([&] { LoadSettings(); });
  timing("LoadSettings - ");
  passing_over_errors([&] { Initialize(); });
  timing("Initialize - ");
  passing_over_errors([&] { locale.Initialize(); });
  timing("LocaleInfo.Initialize - ");
  passing_over_errors([&] { common.RefreshCaption(); });
  timing("Form Load Complete - ");
  passing_over_errors([&] { MixKhz_Change(); });
  passing_over_errors([&] {
    platform.frame.install_hook(
        {[this] { SaveWindowPosition(); }, [this] { SaveWindowPosition(); }});
  });
  loaded_ = true;
  // QSOs a previous run could not deliver go out as soon as DXKeeper is there.
  if (!delivery.pending_qsos.empty()) post_task([this] { delivery.deliver_waiting_qsos(); });
}

void QuandrelMain::Timer2_Timer() {
  if (platform.loop.quitting()) return;
  const Millis t0 = platform.loop.tick_count();
  const auto timing = [&](const char* key) {
    if (DebugMode()) debug(key, std::to_string(platform.loop.tick_count() - t0));
  };
  // ConnectingApps is cleared on every way out of the pass, so a waiting Log always runs.
  struct PassGuard {
    bool& flag;
    explicit PassGuard(bool& f) : flag(f) { flag = true; }
    ~PassGuard() { flag = false; }
  };
  timing("Connect DXLApps Start Time");
  {
    PassGuard guard(ConnectingApps);
    reporting_errors("QuandrelMain.Timer2", [&] {
      const auto stage = [&](int server) {
        platform.loop.pump();
        if (platform.loop.quitting()) return false;
        clients.ConnectServer(server);
        return true;
      };
      // A program that crashed or was killed ended none of its conversations: they are
      // dropped here, and the program is tried below until it is back, even one this pass
      // would otherwise leave alone.
      clients.drop_vanished_servers();
      if ((setup.settings.FrequencyControl == "Commander" || clients.vanished(dxlab::kCommander)) &&
          !stage(dxlab::kCommander)) {
        return;
      }
      timing("Finish Commander StartDXView");
      if (!stage(dxlab::kDXView)) return;
      timing("Finish DXView Start Logserver");
      if (!stage(dxlab::kDXKeeper)) return;
      timing("Finish Logserver Start Pathfinder");
      if (!stage(dxlab::kPathfinder)) return;
      timing("Finish Pathfinder End Load");
      if (clients.vanished(dxlab::kPropView) && !stage(dxlab::kPropView)) return;
    });
  }
  if (!loaded_ || platform.loop.quitting()) return;
  // A write of the waiting file that failed is tried again; a waiting file that another
  // program held at start is read as soon as it is free; the QSOs written while the pass ran
  // go out now, in the order they came.
  delivery.retry_saving();
  const bool was_ready = delivery.pending_qsos.ready();
  if (delivery.waiting_file_ready() && !was_ready) common.RefreshCaption();
  delivery.deliver_waiting_qsos();
}

void QuandrelMain::Timer3_Timer() {
  if (!MixWRunning) return;
  if (!try_take_mixw()) MixWLostCloseDown();
}

void QuandrelMain::MixWLostCloseDown() {
  if (run_end_ != RunEnd::running) return;
  Timer1.set_enabled(false);
  Timer3.set_enabled(false);
  show_message(kMixWNotLoaded);
  MixWRunning = false;
  Form_Unload();
  end_program(RunEnd::mixw_lost);
}

void QuandrelMain::Close() {
  if (run_end_ != RunEnd::running) return;
  if (!may_close()) return;
  Form_Unload();
  end_program(RunEnd::closed);
}

void QuandrelMain::EndSession() {
  if (run_end_ != RunEnd::running) return;
  Form_Unload();
  end_program(RunEnd::closed);
}

bool QuandrelMain::may_close() {
  keep_outbox_at_close();
  const std::size_t lost = delivery.pending_qsos.at_risk();
  if (lost == 0) {
    // QSOs on disk still wait: the operator may rather start DXKeeper first.
    const std::string question = delivery.close_question();
    return question.empty() || platform.desktop.ask(question, kProductName, "Close");
  }
  const std::string count = std::to_string(lost) + (lost == 1 ? " QSO" : " QSOs");
  return platform.desktop.confirm(
      count + " could not be written to disk (" + data_folder +
          ") and will be lost if Vavizorur closes now.\r\rChoose Cancel to keep Vavizorur "
          "running until DXKeeper has them, or free the disk and close again.",
      kProductName);
}

void QuandrelMain::keep_outbox_at_close() {
  passing_over_errors([&] {
    if (delivery.retry_saving() || delivery.pending_qsos.rescued()) return;
    if (delivery.pending_qsos.Rescue()) {
      common.LogError("The waiting QSOs could not be written to " + data_folder +
                      "; they are kept in " + delivery.pending_qsos.rescue_path());
    }
  });
}

void QuandrelMain::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Timer1.set_enabled(false);
  Timer2.set_enabled(false);
  Timer3.set_enabled(false);
  WaitScreenTimer1.set_enabled(false);
  // Each step runs whatever the one before it threw.
  passing_over_errors([&] { platform.frame.remove_hook(); });
  passing_over_errors([&] { SaveWindowPosition(); });
  if (setup.settings.TerminateApps) {
    passing_over_errors([&] {
      if (clients.IsServerConnected(dxlab::kCommander)) senders.ShutdownCommander();
    });
    passing_over_errors([&] {
      if (clients.IsServerConnected(dxlab::kDXView)) senders.ShutdownDXView();
    });
    passing_over_errors([&] {
      if (clients.IsServerConnected(dxlab::kDXKeeper)) senders.ShutdownDXKeeper();
    });
    passing_over_errors([&] {
      if (clients.IsServerConnected(dxlab::kPathfinder)) senders.ShutdownPathfinder();
    });
    passing_over_errors([&] { EndTask(dxlab::kSpotCollectorWindowTitle); });
  }
  MixWApp.reset();
  MixWRunning = false;
  // The outbox's file is brought in step with memory one last time, or the outbox is kept
  // in the user's folder.
  keep_outbox_at_close();
  passing_over_errors([&] { common.Terminate(); });
  passing_over_errors([&] { clients.CloseLinks([this] { spot_server.Unload(); }); });
}

bool QuandrelMain::EndTask(const std::string& title) {
  const auto window = platform.desktop.find_window(title);
  if (!window) return false;
  if (platform.desktop.is_window(*window)) {
    platform.desktop.post_close(*window);
    platform.loop.pump();
    return true;
  }
  show_message("EndTask: cannot terminate " + title + " task");
  return false;
}

void QuandrelMain::end_program(RunEnd how) {
  if (run_end_ == RunEnd::running) run_end_ = how;
  platform.loop.quit();
}

}  // namespace vav
