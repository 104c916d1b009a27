#include "dde/dde_client_module.h"

#include <cctype>
#include <vector>

#include "common/common.h"
#include "common/conversions.h"
#include "errors/error_trap.h"

namespace vav {
namespace {

constexpr Millis kServerRetryInterval = 5000;

}  // namespace

DdeClientForm::DdeClientForm(Dde& dde, EventLoop& loop)
    : Freq(dde, dxlab::kTextLinkTimeoutMs),
      Mode(dde, dxlab::kTextLinkTimeoutMs),
      RadioMode(dde, dxlab::kTextLinkTimeoutMs),
      DDETransceiverControl(dde, dxlab::kCommandLinkTimeoutMs),
      DDELog(dde, dxlab::kCommandLinkTimeoutMs),
      PathfinderDDECommand(dde, dxlab::kCommandLinkTimeoutMs),
      SpotPrefix(dde, dxlab::kTextLinkTimeoutMs),
      DDELookup(dde, dxlab::kCommandLinkTimeoutMs),
      PropViewDDECommand(dde, dxlab::kCommandLinkTimeoutMs),
      ServerRetryTimer(loop, kServerRetryInterval) {}

DDEClientModule::DDEClientModule(Dde& dde, EventLoop& loop, Common& common, DDECommon& codec)
    : dde_(dde), common_(common), codec_(codec), form_(dde, loop) {
  form_.Freq.on_link_close = [this] { SetServerConnect(dxlab::kCommander, false); };
  form_.Mode.on_link_close = [this] { SetServerConnect(dxlab::kCommander, false); };
  form_.DDETransceiverControl.on_link_close = [this] {
    SetServerConnect(dxlab::kCommander, false);
  };
  form_.DDELog.on_link_close = [this] { SetServerConnect(dxlab::kDXKeeper, false); };
  form_.SpotPrefix.on_link_close = [this] { SetServerConnect(dxlab::kDXView, false); };
  form_.RadioMode.on_change = [this] {
    if (on_radio_mode_change) on_radio_mode_change();
  };
  form_.ServerRetryTimer.on_tick = [this] { RetryServers(); };
}

DDEClientModule::~DDEClientModule() {
  if (serving_) dde_.stop_serving(kTopic);
}

void DDEClientModule::Initialize(const std::function<void()>& load_server_form) {
  common_.reporting_errors("DDEClientmodule.Initialize", [&] {
    if (load_server_form) load_server_form();
    if (!serving_) {
      dde_.serve_topic(kTopic, [this](const std::string& command) { return StartNotice(command); });
      serving_ = true;
    }
    ServerConnected.fill(false);
    RetryPending.fill(false);
    RetryInProgress.fill(false);
    vanished_.fill(false);
    connected_list_.clear();
  });
}

void DDEClientModule::check_index(int server) const {
  if (server < 0 || server >= dxlab::kServerCount) throw RuntimeError(err::kSubscriptOutOfRange);
}

namespace {

struct LinkPlan {
  LinkedText* control;
  const char* topic;
  const char* item;
};

}  // namespace

void DDEClientModule::set_links(int server, LinkMode mode) {
  std::vector<LinkPlan> plan;
  switch (server) {
    case dxlab::kCommander:
      plan = {{&form_.Freq, dxlab::kCommanderUiLink, dxlab::kFreqDisplayItem},
              {&form_.Mode, dxlab::kCommanderLink, dxlab::kModeItem}};
      // The radio-mode link stays open when Commander is disconnected, so radio-mode
      // changes keep reaching the frequency tracking.
      if (mode == LinkMode::automatic) {
        plan.push_back({&form_.RadioMode, dxlab::kCommanderLink, dxlab::kRadioModeItem});
      }
      plan.push_back({&form_.DDETransceiverControl, dxlab::kCommanderLink, dxlab::kCommandItem});
      break;
    case dxlab::kDXKeeper:
      plan = {{&form_.DDELog, dxlab::kDXKeeperLink, dxlab::kCommandItem}};
      break;
    case dxlab::kPathfinder:
      plan = {{&form_.PathfinderDDECommand, dxlab::kPathfinderLink, dxlab::kCommandItem}};
      break;
    case dxlab::kDXView:
      plan = {{&form_.SpotPrefix, dxlab::kDXViewLink, dxlab::kSpotPrefixItem},
              {&form_.DDELookup, dxlab::kDXViewLink, dxlab::kCommandItem}};
      break;
    case dxlab::kPropView:
      plan = {{&form_.PropViewDDECommand, dxlab::kPropViewLink, dxlab::kCommandItem}};
      break;
    default:
      return;
  }
  for (const auto& link : plan) {
    link.control->set_link_item(link.item);
    link.control->set_link_topic(link.topic);
    link.control->set_link_mode(mode);
  }
}

void DDEClientModule::ConnectServer(int server) {
  check_index(server);
  if (server == dxlab::kSpotCollector || server == dxlab::kNone) return;
  // A program that is not running answers nothing: it is marked disconnected, and nothing is
  // shown or logged.
  const bool linked = passing_over_errors(false, [&] {
    set_links(server, LinkMode::automatic);
    return true;
  });
  SetServerConnect(server, linked);
}

void DDEClientModule::DisconnectServer(int server) {
  check_index(server);
  if (server == dxlab::kSpotCollector || server == dxlab::kNone) return;
  passing_over_errors([&] { set_links(server, LinkMode::none); });
  vanished_[server] = false;  // the user does not want it back
  SetServerConnect(server, false);
}

std::vector<LinkedText*> DDEClientModule::links_of(int server) {
  switch (server) {
    case dxlab::kCommander:
      return {&form_.Freq, &form_.Mode, &form_.RadioMode, &form_.DDETransceiverControl};
    case dxlab::kDXKeeper:
      return {&form_.DDELog};
    case dxlab::kPathfinder:
      return {&form_.PathfinderDDECommand};
    case dxlab::kDXView:
      return {&form_.SpotPrefix, &form_.DDELookup};
    case dxlab::kPropView:
      return {&form_.PropViewDDECommand};
    default:
      return {};
  }
}

bool DDEClientModule::drop_dead_links(int server) {
  check_index(server);
  bool dropped = false;
  for (LinkedText* link : links_of(server)) dropped = link->drop_dead_link() || dropped;
  if (dropped && ServerConnected[server]) vanished_[server] = true;
  return dropped;
}

void DDEClientModule::drop_vanished_servers() {
  for (int server = 0; server < dxlab::kServerCount; ++server) {
    if (drop_dead_links(server) && ServerConnected[server]) SetServerConnect(server, false);
  }
}

bool DDEClientModule::vanished(int server) const {
  check_index(server);
  return vanished_[server];
}

void DDEClientModule::SetServerConnect(int server, bool connected) {
  common_.reporting_errors("DDEClientModule.SetServerConnect", [&] {
    check_index(server);
    ServerConnected[server] = connected;
    std::string list;
    for (int i = 0; i < dxlab::kServerCount; ++i) {
      if (ServerConnected[i]) list += codec_.ServerNickName(i) + ",";
    }
    if (!list.empty()) list.pop_back();
    connected_list_ = list;
    if (connected) {
      RetryInProgress[server] = false;
      vanished_[server] = false;
    } else if (RetryInProgress[server]) {
      RetryInProgress[server] = false;  // a failed reconnection is not tried again
    } else {
      RetryPending[server] = true;
    }
    common_.RefreshCaption();
    if (connected && server == dxlab::kDXKeeper && on_dxkeeper_connected) {
      on_dxkeeper_connected();
    }
  });
}

bool DDEClientModule::IsServerConnected(int server) const {
  check_index(server);
  return ServerConnected[server];
}

void DDEClientModule::RetryServers() {
  form_.ServerRetryTimer.set_enabled(false);
  for (int i = 0; i < dxlab::kServerCount; ++i) {
    if (!RetryPending[i]) continue;
    RetryPending[i] = false;
    RetryInProgress[i] = true;
    ConnectServer(i);
  }
}

void DDEClientModule::CloseLinks(const std::function<void()>& unload_server_form) {
  for (LinkedText* control :
       {&form_.Freq, &form_.Mode, &form_.RadioMode, &form_.DDETransceiverControl, &form_.DDELog,
        &form_.PathfinderDDECommand, &form_.SpotPrefix, &form_.DDELookup,
        &form_.PropViewDDECommand}) {
    passing_over_errors([&] { control->set_link_mode(LinkMode::none); });
  }
  form_.ServerRetryTimer.set_enabled(false);
  if (serving_) {
    dde_.stop_serving(kTopic);
    serving_ = false;
  }
  if (unload_server_form) unload_server_form();
}

bool DDEClientModule::StartNotice(const std::string& command) {
  if (command.size() < 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(command[i]))) return false;
  }
  const int server = std::stoi(command.substr(0, 3));
  if (to_lower(command.substr(3)) != dxlab::kStart) return false;
  // An index no program has cannot be connected: the notice is refused, not an error.
  if (server >= dxlab::kServerCount) return false;
  // Connecting opens conversations and waits for their answers; that must not happen inside
  // the execute transaction that brought the notice.
  pending_starts_.push_back(server);
  if (on_start_notice) on_start_notice();
  return true;
}

void DDEClientModule::ConnectNoticedServers() {
  while (!pending_starts_.empty()) {
    const int server = pending_starts_.front();
    pending_starts_.erase(pending_starts_.begin());
    ConnectServer(server);
  }
}

}  // namespace vav
