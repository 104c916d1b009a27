#include "app/quandrel_main.h"

#include "common/data_folder.h"
#include "common/neighbour_number.h"
#include "errors/error_trap.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr Millis kTextLink = dxlab::kTextLinkTimeoutMs;
constexpr Millis kLabelLink = dxlab::kCommandLinkTimeoutMs;
constexpr Millis kPollInterval = 500;
constexpr Millis kConnectionPassInterval = 7000;
constexpr Millis kMixWWatchInterval = 4000;
constexpr Millis kWaitScreenInterval = 1000;

}  // namespace

QuandrelMain::QuandrelMain(Platform& p)
    : Callsign(p.dde, kTextLink),
      RSTRcvd(p.dde, kTextLink),
      RSTSnt(p.dde, kTextLink),
      Mode(p.dde, kTextLink),
      NameText(p.dde, kTextLink),
      QTH(p.dde, kTextLink),
      State(p.dde, kTextLink),
      DXCCPrefix(p.dde, kTextLink),
      Country(p.dde, kTextLink),
      QSLInfo(p.dde, kTextLink),
      Notes(p.dde, kTextLink),
      County(p.dde, kTextLink),
      DateNow(p.dde, kTextLink),
      UTCStart(p.dde, kTextLink),
      UTCEnd(p.dde, kTextLink),
      ExchRcv(p.dde, kTextLink),
      ExchSnt(p.dde, kTextLink),
      Cont(p.dde, kLabelLink),
      CQZ(p.dde, kLabelLink),
      IRUZ(p.dde, kLabelLink),
      GridSq(p.dde, kLabelLink),
      IOTA(p.dde, kLabelLink),
      Command(p.dde, kTextLink),
      MixKhz(p.dde, kTextLink),
      Check1("Request QSL"),
      Check2("Lookup Previous Contacts"),
      Check3("Save Grid Square"),
      Check4("Save IOTA Info"),
      Check5("Save County Info"),
      Check6("Send Call to DXView if Loaded"),
      Check7("Display Contest Exch"),
      Check8("Send Call to Pathfinder if Loaded"),
      Check9("Terminate All Connected Apps when closing"),
      Check10("Always on Top"),
      Check11("Commander"),
      Check12("DXKeeper"),
      Check13("DXView"),
      Check14("Pathfinder"),
      Check15("Turn DeBug On"),
      Check16("Use Optimal Digital Freq"),
      Check17("Send QSO to eQSL"),
      Option1({"MixW", "Commander"}),
      Option2({"Rig Frequency", "Actual Frequency"}),
      Combo1({"LSB", "USB", "RTTY", "RTTY-R", "PKT"}),
      OptDigitalFreq("1500"),
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
      senders(clients, codec, common),
      spot_server(p.dde, p.loop, codec),
      delivery(p, common, clients, senders, data_folder),
      WaitScreenTimer1(p.loop, kWaitScreenInterval) {
  locale.set_reporter(&common);
  common.set_data_folder(data_folder);
  // What the data folder cannot take at close goes to the user's folder, when that is
  // another one.
  const std::string user_folder =
      value_or_fallback(std::string(), [&] { return p.system.user_data_folder(); });
  if (user_folder != data_folder) delivery.pending_qsos.set_rescue_folder(user_folder);
  common.connected_list = [this] { return clients.ConnectedList(); };
  common.caption_note = [this] { return delivery.caption_note(); };
  delivery.on_queue_changed = [this] { RefreshStatus(); };
  set_qso_link_items();
  wire_handlers();
  // What escapes a handler into the event loop or a window procedure goes to the error log.
  p.loop.boundary().set_reporter(
      [this](std::string_view procedure) { common.ReportError(escaped_error(), procedure); });
}

QuandrelMain::~QuandrelMain() {
  platform.loop.boundary().set_reporter(nullptr);
  platform.frame.set_resize_handler(nullptr);
}

void QuandrelMain::set_qso_link_items() {
  const std::string topic = std::string(mixw::kDdeService) + "|" + mixw::kQsoTopic;
  const std::pair<LinkedText*, const char*> links[] = {
      {&Callsign, "Call"},   {&RSTRcvd, "RstRcv"},
      {&RSTSnt, "RstSnt"},   {&Mode, "Mode"},
      {&NameText, "Name"},   {&QTH, "Qth"},
      {&State, "Domain"},    {&DXCCPrefix, "DxccPrefix"},
      {&Country, "Country"}, {&QSLInfo, "Manager"},
      {&Notes, "Notes"},     {&County, "County"},
      {&DateNow, "Date"},    {&UTCStart, "Time"},
      {&UTCEnd, "EndTime"},  {&ExchRcv, "ExchRcv"},
      {&ExchSnt, "ExchSnt"}, {&Cont, "Continent"},
      {&CQZ, "WAZ"},         {&IRUZ, "ITU"},
      {&GridSq, "Loc"},      {&IOTA, "IOTA"},
      {&Command, "Command"}, {&MixKhz, "Khz"},
  };
  for (const auto& [control, item] : links) {
    control->set_link_topic(topic);
    control->set_link_item(item);
  }
}

void QuandrelMain::wire_handlers() {
  Callsign.on_change = [this] {
    Save.set_enabled(Callsign.text().find_first_not_of(' ') != std::string::npos);
    Callsign_Change();
  };
  Save.set_enabled(false);
  Save.on_click = [this] { Save_Click(); };
  Command.on_change = [this] { Command_Change(); };
  Mode.on_change = [this] { Mode_Change(); };
  MixKhz.on_change = [this] { MixKhz_Change(); };
  MixWRigFreq.on_change = [this] { MixWRigFreq_Change(); };
  RigFreq.on_change = [this] { RigFreq_Change(); };
  AudioFreq.on_change = [this] { AudioFreq_Change(); };
  OptDigitalFreq.on_change = [this] { OptDigitalFreq_Change(); };

  const std::pair<CheckBox*, void (QuandrelMain::*)()> boxes[] = {
      {&Check1, &QuandrelMain::Check1_Click},   {&Check2, &QuandrelMain::Check2_Click},
      {&Check3, &QuandrelMain::Check3_Click},   {&Check4, &QuandrelMain::Check4_Click},
      {&Check5, &QuandrelMain::Check5_Click},   {&Check6, &QuandrelMain::Check6_Click},
      {&Check7, &QuandrelMain::Check7_Click},   {&Check8, &QuandrelMain::Check8_Click},
      {&Check9, &QuandrelMain::Check9_Click},   {&Check10, &QuandrelMain::Check10_Click},
      {&Check11, &QuandrelMain::Check11_Click}, {&Check12, &QuandrelMain::Check12_Click},
      {&Check13, &QuandrelMain::Check13_Click}, {&Check14, &QuandrelMain::Check14_Click},
      {&Check15, &QuandrelMain::Check15_Click}, {&Check16, &QuandrelMain::Check16_Click},
      {&Check17, &QuandrelMain::Check17_Click},
  };
  for (const auto& [box, handler] : boxes) {
    box->on_click = [this, handler = handler] { (this->*handler)(); };
  }
  Option1.on_click = [this](int index) { Option1_Click(index); };
  Option2.on_click = [this](int index) { Option2_Click(index); };
  Combo1.on_click = [this] { Combo1_Click(); };

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

void QuandrelMain::spot_arrived(const SpotFields& spot) {
  // Spot handling runs outside the DDE transaction, and a failing step only abandons the
  // rest of it.
  passing_over_errors([&] { RcvdSpotCallsign.set_text(spot.callsign); });
  passing_over_errors([&] { RcvdSpotMode.set_text(spot.mode); });
  passing_over_errors([&] { RcvdSpotFreq.set_text(spot.freq); });
  passing_over_errors([&] { RcvdSpotQSX.set_text(spot.qsx); });
  passing_over_errors([&] { RcvdSpotLogMode.set_text(spot.log_mode); });
  passing_over_errors([&] { RcvdSpotPrefix.set_text(spot.prefix); });
  passing_over_errors([&] { RcvdSpotSearch.set_text(spot.search); });
  passing_over_errors([&] { RcvdSpotGrid.set_text(spot.grid); });
  const bool commander = clients.IsServerConnected(dxlab::kCommander);
  const bool readable = read_frequency_hz(spot.freq, FrequencyUnit::kilohertz).has_value();
  const bool mixw_runs = MixWRunning;
  bool tuned = false;
  passing_over_errors([&] {
    RcvdSpotChange();
    tuned = true;
  });
  note_spot(spot, !commander   ? "refused: Commander is not connected"
                  : !readable  ? "refused: the frequency cannot be read"
                  : !mixw_runs ? "not tuned: MixW is not running"
                  : tuned      ? "tuned"
                               : "abandoned: a step failed");
  RefreshStatus();
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
  return value_or_fallback(false, [this] {
    take_mixw();
    return true;
  });
}

mixw::MixWApp& QuandrelMain::mixw() {
  if (!MixWApp) throw RuntimeError(err::kObjectNotSet);
  return *MixWApp;
}

void QuandrelMain::show_message(const std::string& text) {
  platform.desktop.message_box(text, kProductName);
}

}  // namespace vav
