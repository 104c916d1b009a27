#include "app/quandrel_main.h"

#include "common/data_folder.h"
#include "common/neighbour_number.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr Millis kPollInterval = 500;
constexpr Millis kConnectionPassInterval = 7000;
constexpr Millis kMixWWatchInterval = 4000;
constexpr Millis kWaitScreenInterval = 1000;

}  // namespace

QuandrelMain::QuandrelMain(Platform& p)
    : qso(p.dde),
      Timer1(p.loop, kPollInterval),
      Timer2(p.loop, kConnectionPassInterval),
      Timer3(p.loop, kMixWWatchInterval),
      platform(p),
      data_folder(choose_data_folder(p.system, p.files)),
      locale(p.system),
      common(p.system, p.files, p.desktop, p.frame, locale),
      codec(&common, CodePage(p.system.ansi_code_page())),
      settings_file(p.profile, p.files, p.system.program_folder()),
      clients(p.dde, p.loop, common, codec),
      setup({.settings_file = settings_file,
             .settings_store = p.settings_store,
             .files = p.files,
             .common = common,
             .locale = locale,
             .clients = clients,
             .set_always_on_top = [this](bool on_top) { set_topmost_in_place(on_top); }}),
      senders(clients, codec, common),
      spot_server(p.dde, p.loop, codec),
      delivery(p, common, clients, senders, data_folder),
      WaitScreenTimer1(p.loop, kWaitScreenInterval) {
  locale.set_reporter(&common);
  common.set_data_folder(data_folder);
  // What the data folder cannot take at close goes to the user's folder, when that is
  // another one.
  const std::string user_folder =
      passing_over_errors(std::string(), [&] { return p.system.user_data_folder(); });
  if (user_folder != data_folder) delivery.pending_qsos.set_rescue_folder(user_folder);
  common.connected_list = [this] { return clients.ConnectedList(); };
  common.caption_note = [this] { return delivery.caption_note(); };
  delivery.on_queue_changed = [this] { RefreshStatus(); };
  qso.set_link_items();
  wire_handlers();
  // What escapes a handler into the event loop or a window procedure goes to the error log.
  p.loop.boundary().set_reporter(
      [this](const RuntimeError& error, std::string_view procedure) {
        common.ReportError(error, procedure);
      });
}

QuandrelMain::~QuandrelMain() {
  platform.loop.boundary().set_reporter(nullptr);
  platform.frame.set_resize_handler(nullptr);
}

void QuandrelMain::wire_handlers() {
  qso.Callsign.on_change = [this] {
    qso.Save.set_enabled(qso.has_callsign());
    Callsign_Change();
  };
  qso.Save.set_enabled(false);
  qso.Save.on_click = [this] { Save_Click(); };
  qso.Command.on_change = [this] { Command_Change(); };
  qso.Mode.on_change = [this] { Mode_Change(); };
  qso.MixKhz.on_change = [this] { MixKhz_Change(); };
  MixWRigFreq.on_change = [this] { MixWRigFreq_Change(); };
  RigFreq.on_change = [this] { RigFreq_Change(); };
  AudioFreq.on_change = [this] { AudioFreq_Change(); };


  Timer1.on_tick = [this] {
    Timer1_Timer();
    if (MixWRunning) status.heard("MixW", status_time());
    RefreshStatus();
  };
  Timer2.on_tick = [this] { Timer2_Timer(); };
  Timer3.on_tick = [this] { Timer3_Timer(); };
  WaitScreenTimer1.on_tick = [this] { WaitScreen_Timer1(); };

  clients.on_radio_mode_change = [this] { AudioFreq_Change(); };
  clients.on_dxkeeper_connected = [this] {
    // Not from inside the notice or the pass that connected it: the delivery executes on
    // DXKeeper's conversation and may take its whole time-out.
    post_task([this] { delivery.deliver_waiting_qsos(); });
  };
  clients.on_start_notice = [this] { post_task([this] { clients.ConnectNoticedServers(); }); };
  spot_server.on_spot = [this](const SpotFields& spot) { spot_arrived(spot); };
  platform.frame.set_resize_handler([this] { Form_Resize(); });
  wire_status();
}

void QuandrelMain::post_task(std::function<void()> task) {
  platform.loop.post([alive = std::weak_ptr<const bool>(alive_), task = std::move(task)] {
    if (alive.lock()) task();
  });
}

void QuandrelMain::take_mixw() {
  MixWApp.emplace(platform.automation.get_active_object(mixw::kProgId));
}

bool QuandrelMain::try_take_mixw() {
  return passing_over_errors(false, [this] {
    take_mixw();
    return true;
  });
}

mixw::Application& QuandrelMain::mixw() {
  if (!MixWApp) throw RuntimeError(err::kObjectNotSet);
  return *MixWApp;
}

void QuandrelMain::show_message(const std::string& text) {
  platform.desktop.message_box(text, kProductName);
}

}  // namespace vav
