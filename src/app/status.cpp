// The "Status" tab: filled from what the program knows of its neighbours, the waiting QSOs
// and the last spot; its two buttons.
#include <cstdio>
#include <string>

#include "app/quandrel_main.h"
#include "hosts/dxlab.h"

namespace vav {
namespace {

constexpr std::pair<const char*, int> kDxlabPrograms[] = {
    {"Commander", dxlab::kCommander},   {"DXKeeper", dxlab::kDXKeeper}, {"DXView", dxlab::kDXView},
    {"Pathfinder", dxlab::kPathfinder}, {"PropView", dxlab::kPropView},
};

const char* name_of_server(int server) {
  for (const auto& [name, index] : kDxlabPrograms) {
    if (index == server) return name;
  }
  return "";
}

}  // namespace

std::string QuandrelMain::status_time() {
  const SystemTime t = platform.system.utc_now();
  char text[16];
  std::snprintf(text, sizeof(text), "%02d:%02d:%02d UTC", t.hour % 100, t.minute % 100,
                t.second % 100);
  return text;
}

void QuandrelMain::wire_status() {
  status.SendNow.on_click = [this] { SendNow_Click(); };
  status.OpenErrorLog.on_click = [this] { OpenErrorLog_Click(); };
  senders.on_result = [this](int server, SendResult result) {
    const char* name = name_of_server(server);
    status.set_not_answering(name, result == SendResult::unknown);
    if (result != SendResult::unknown) status.heard(name, status_time());
  };
}

void QuandrelMain::RefreshStatus() {
  std::vector<ListRows::Row> neighbours;
  neighbours.push_back(
      {"MixW",
       neighbour_state_text(MixWRunning ? NeighbourState::connected : NeighbourState::not_running),
       status.last_heard("MixW")});
  for (const auto& [name, server] : kDxlabPrograms) {
    const NeighbourState state = clients.IsServerConnected(server) ? NeighbourState::connected
                                 : status.not_answering(name)      ? NeighbourState::not_answering
                                                                   : NeighbourState::not_running;
    neighbours.push_back({name, neighbour_state_text(state), status.last_heard(name)});
  }
  const bool spotcollector_runs =
      platform.desktop.find_window(dxlab::kSpotCollectorWindowTitle).has_value();
  neighbours.push_back({"SpotCollector", spotcollector_runs ? "running" : "not running",
                        status.last_heard("SpotCollector")});
  status.Neighbours.set_rows(std::move(neighbours));
  refresh_waiting_rows();
  status.OpenErrorLog.set_enabled(platform.files.exists(common.error_log_path()));
  status.SendNow.set_enabled(!delivery.pending_qsos.empty());
}

void QuandrelMain::refresh_waiting_rows() {
  const PendingQsos& pending_qsos = delivery.pending_qsos;
  const auto [first_why, rest_why] = delivery.waiting_reasons();
  const std::string key = std::to_string(pending_qsos.changes()) + "|" + first_why;
  if (key == waiting_rows_key_) return;
  waiting_rows_key_ = key;

  std::vector<ListRows::Row> rows;
  const auto& queued = pending_qsos.queued();
  for (std::size_t i = 0; i < queued.size() && i < kWaitingRowsShown; ++i) {
    rows.push_back(waiting_qso_row(queued[i].execute, i == 0 ? first_why : rest_why));
  }
  if (queued.size() > kWaitingRowsShown) {
    rows.push_back({"... " + std::to_string(queued.size() - kWaitingRowsShown) + " more", "", "",
                    "", "", rest_why});
  }
  status.WaitingQsos.set_rows(std::move(rows));
}

void QuandrelMain::note_spot(const SpotFields& spot, std::string outcome) {
  status.heard("SpotCollector", status_time());
  status.LastSpot.set_text(spot.callsign + "  " + spot.freq + " kHz  " + spot.mode + "  - " +
                           outcome);
}

void QuandrelMain::SendNow_Click() {
  reporting_errors("QuandrelMain.SendNow_Click", [this] {
    if (!clients.IsServerConnected(dxlab::kDXKeeper)) clients.ConnectServer(dxlab::kDXKeeper);
    delivery.deliver_waiting_qsos();
  });
  RefreshStatus();
}

void QuandrelMain::OpenErrorLog_Click() {
  const std::string path = common.error_log_path();
  if (platform.files.exists(path)) platform.desktop.open_document(path);
}

}  // namespace vav
