// The "Status" tab: filled from what the program knows of its neighbours, the outbox and the
// last spot; its buttons "Send now" and "Open ErrorLog.txt" (the outbox's own actions are in
// outbox_actions.cpp).
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/outbox_actions.h"
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
  wire_outbox_actions(*this);
  senders.on_result = [this](int server, SendResult result) {
    const char* name = name_of_server(server);
    status.set_not_answering(name, result == SendResult::unknown);
    if (result != SendResult::unknown) status.heard(name, status_time());
  };
}

void QuandrelMain::RefreshStatus() {
  std::vector<ListRows::Row> neighbours;
  std::vector<int> icons;
  const auto add = [&](const char* name, NeighbourState state, const char* text) {
    neighbours.push_back({name, text, status.last_heard(name)});
    icons.push_back(neighbour_state_icon(state));
  };
  const NeighbourState mixw = MixWRunning ? NeighbourState::connected : NeighbourState::not_running;
  add("MixW", mixw, neighbour_state_text(mixw));
  for (const auto& [name, server] : kDxlabPrograms) {
    const NeighbourState state = clients.IsServerConnected(server) ? NeighbourState::connected
                                 : status.not_answering(name)      ? NeighbourState::not_answering
                                                                   : NeighbourState::not_running;
    add(name, state, neighbour_state_text(state));
  }
  // SpotCollector is not linked: it runs or it does not.
  const bool spotcollector_runs =
      platform.desktop.find_window(dxlab::kSpotCollectorWindowTitle).has_value();
  add("SpotCollector", spotcollector_runs ? NeighbourState::connected : NeighbourState::not_running,
      spotcollector_runs ? "running" : "not running");
  status.Neighbours.set_rows(std::move(neighbours), std::move(icons));
  refresh_waiting_rows();
  refresh_outbox_view(*this);
  status.OpenErrorLog.set_enabled(platform.files.exists(common.error_log_path()));
}

void QuandrelMain::refresh_waiting_rows() {
  const PendingQsos& pending_qsos = delivery.pending_qsos;
  const QsoDelivery::Reasons reasons = delivery.waiting_reasons();
  const std::string key =
      std::to_string(pending_qsos.changes()) + "|" + reasons.first + "|" + reasons.rest;
  if (key == waiting_rows_key_) return;
  waiting_rows_key_ = key;

  std::vector<ListRows::Row> rows;
  const auto& queued = pending_qsos.queued();
  const std::size_t shown = std::min(queued.size(), kWaitingRowsShown);
  for (std::size_t i = 0; i < shown; ++i) {
    rows.push_back(waiting_qso_row(queued[i].execute, delivery.state_of(i, reasons)));
  }
  if (queued.size() > kWaitingRowsShown) {
    rows.push_back({"... " + std::to_string(queued.size() - kWaitingRowsShown) + " more", "", "",
                    "", reasons.rest});
  }
  // The selection stays on its QSO wherever the QSO now stands.
  const std::string selected = status.selected_execute;
  status.waiting_rows_changes = pending_qsos.changes();
  status.WaitingQsos.set_rows(std::move(rows));
  int row = -1;
  for (std::size_t i = 0; i < shown && !selected.empty(); ++i) {
    if (queued[i].execute == selected) {
      row = static_cast<int>(i);
      break;
    }
  }
  status.WaitingQsos.select(row);
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
