#include "peers/win32/mixw_standin.h"

#include <cstdio>

#include "peers/peer_text.h"
#include "peers/win32/mixw_dispatch.h"
#include "peers/win32/raw_dde_service.h"

namespace vav::peers::win32 {

std::optional<std::string> qso_item_named(const std::string& name) {
  for (const auto& item : qso_items()) {
    if (equals_ignoring_case(item, name)) return item;
  }
  return std::nullopt;
}

MixwStandin::MixwStandin(Transport transport, DdemlHost& host, Journal& journal, TaskQueue& tasks)
    : transport_(transport), host_(host), journal_(journal), tasks_(tasks) {
  mixw_.set_defer(tasks_.defer());
  mixw_.set_item_sink(
      [this](const std::string& topic, const std::string& item, const std::string& value) {
        journal_.write("item " + topic + " " + item + " " + value);
        if (service_) service_->advise(topic, item);
      });
  journal_.write(transport_ == Transport::raw ? "start MixW raw" : "start MixW ddeml");
  if (const std::string failed = register_prog_id(kMixwProgId, kMixwStandinClsid);
      !failed.empty()) {
    journal_.write("registry failed " + failed);
  }
  appear();
}

MixwStandin::~MixwStandin() {
  vanish();
  mixw_.set_item_sink(nullptr);
}

void MixwStandin::appear() {
  if (service_) return;
  if (transport_ == Transport::raw) {
    service_ =
        std::make_unique<RawDdeService>(kMixwService, std::vector<std::string>{kQsoTopic}, *this);
  } else {
    service_ = std::make_unique<DdemlService>(host_, kMixwService, *this);
  }
  auto* dispatch = new MixwDispatch(  // COM reference counting owns it
      mixw_.automation_object(),
      [this](const std::string& member, HRESULT outcome) { journal_automation(member, outcome); });
  active_ = std::make_unique<ActiveObject>(dispatch, kMixwStandinClsid);
  dispatch->Release();  // the running-object entry holds it now
  if (FAILED(active_->status())) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(active_->status()));
    journal_.write(std::string("rot failed ") + text);
  }
  journal_.write("appear");
}

void MixwStandin::vanish() {
  if (!service_) return;
  active_.reset();
  mixw_.revoke_automation();
  service_.reset();
  journal_.write("vanish");
}

void MixwStandin::journal_automation(const std::string& member, long hresult) {
  const auto& calls = mixw_.journal();
  for (; journaled_calls_ < calls.size(); ++journaled_calls_) {
    journal_.write("automation " + describe(calls[journaled_calls_]));
  }
  if (hresult < 0) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(hresult));
    journal_.write(std::string("automation failed ") + text + " " + member);
  }
}

bool MixwStandin::has_topic(const std::string& topic) const {
  return equals_ignoring_case(topic, kQsoTopic);
}

std::optional<std::string> MixwStandin::item(const std::string& topic,
                                             const std::string& item) const {
  if (!has_topic(topic)) return std::nullopt;
  const auto name = qso_item_named(item);
  return name ? mixw_.item(*name) : std::nullopt;
}

Answer MixwStandin::execute(const std::string&, const std::string& command) {
  journal_.write("execute refused QSO " + command);  // nothing is executed on MixW's topic
  return Answer::refused;
}

void MixwStandin::quit() {
  journal_.write("exit");
  vanish();
  PostQuitMessage(0);
}

std::optional<ControlChannel::Action> MixwStandin::control(const ControlCommand& command) {
  const std::string& word = command.word;
  if (word == "set" && !command.args.empty()) {
    const auto name = qso_item_named(command.args[0]);
    if (!name) return std::nullopt;
    const auto blank = command.rest.find(' ');
    const std::string value = blank == std::string::npos ? "" : command.rest.substr(blank + 1);
    return [this, name = *name, value] { mixw_.set_item(name, value); };
  }
  if (word == "write") return [this] { mixw_.write_qso(); };
  if (word == "clear") return [this] { mixw_.clear_qso(); };
  if (word == "dial" || word == "audio") {
    const auto hz = parse_decimal(command.rest);
    if (!hz) return std::nullopt;
    if (word == "dial") return [this, hz] { mixw_.set_dial_hz(*hz); };
    return [this, hz] { mixw_.set_audio_hz(*hz); };
  }
  if (word == "mode" && !command.rest.empty()) {
    return [this, mode = command.rest] { mixw_.set_mode(mode); };
  }
  if (word == "vanish") return [this] { vanish(); };
  if (word == "appear") return [this] { appear(); };
  if (word == "exit") return [this] { quit(); };
  return std::nullopt;
}

}  // namespace vav::peers::win32
