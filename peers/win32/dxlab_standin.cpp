#include "peers/win32/dxlab_standin.h"

#include <windows.h>

#include "peers/commander.h"
#include "peers/dxkeeper.h"
#include "peers/lookup_peers.h"
#include "peers/peer_text.h"
#include "peers/win32/ddeml_execute.h"
#include "peers/win32/raw_dde_service.h"

namespace vav::peers::win32 {
namespace {

constexpr std::uint32_t kStartNoticeTimeoutMs = 2000;

const char* answer_word(Answer answer) {
  switch (answer) {
    case Answer::accepted:
      return "accepted";
    case Answer::refused:
      return "refused";
    case Answer::none:
      break;
  }
  return "unanswered";
}

}  // namespace

std::unique_ptr<DxlabPeer> make_dxlab_peer(const std::string& program) {
  if (equals_ignoring_case(program, "Commander")) return std::make_unique<Commander>();
  if (equals_ignoring_case(program, "DXKeeper")) {
    // Field lengths count characters of this Windows' ANSI code page, as DXKeeper's do.
    auto keeper = std::make_unique<DxKeeper>();
    keeper->set_code_page(AnsiCodePage{GetACP()});
    return keeper;
  }
  if (equals_ignoring_case(program, "DXView")) return std::make_unique<DxView>();
  if (equals_ignoring_case(program, "Pathfinder")) return std::make_unique<Pathfinder>();
  if (equals_ignoring_case(program, "PropView")) return std::make_unique<PropView>();
  return nullptr;
}

Transport default_transport(const std::string& program) {
  const bool raw =
      equals_ignoring_case(program, "Commander") || equals_ignoring_case(program, "DXKeeper");
  return raw ? Transport::raw : Transport::ddeml;
}

DxlabStandin::DxlabStandin(std::unique_ptr<DxlabPeer> peer, Transport transport, DdemlHost& host,
                           Journal& journal, TaskQueue& tasks, std::string program_service)
    : peer_(std::move(peer)),
      journal_(journal),
      tasks_(tasks),
      program_service_(std::move(program_service)),
      transport_(transport) {
  peer_->set_item_sink(
      [this](const std::string& topic, const std::string& item, const std::string& value) {
        journal_.write("item " + topic + " " + item + " " + value);
        if (service_) service_->advise(topic, item);
      });
  // Runs inside the "shutdown" execute: the acknowledgement goes out before the program ends.
  peer_->set_exit_request([this] { tasks_.post([this] { quit(); }); });
  if (transport == Transport::raw) {
    service_ = std::make_unique<RawDdeService>(peer_->service(), peer_->topics(), *this);
  } else {
    service_ = std::make_unique<DdemlService>(host, peer_->service(), *this);
  }
  journal_.write("start " + peer_->service() + (transport == Transport::raw ? " raw" : " ddeml"));
}

DxlabStandin::~DxlabStandin() {
  service_.reset();
  peer_->set_item_sink(nullptr);
  peer_->set_exit_request(nullptr);
}

std::optional<std::string> DxlabStandin::topic_named(const std::string& topic) const {
  for (const auto& name : peer_->topics()) {
    if (equals_ignoring_case(name, topic)) return name;
  }
  return std::nullopt;
}

bool DxlabStandin::has_topic(const std::string& topic) const {
  return topic_named(topic).has_value();
}

std::optional<std::string> DxlabStandin::item(const std::string& topic,
                                              const std::string& item) const {
  const auto name = topic_named(topic);
  return name ? peer_->item(*name, item) : std::nullopt;
}

Answer DxlabStandin::execute(const std::string& topic, const std::string& command) {
  const std::int64_t received = Journal::now_us();  // before the work the command causes
  const Answer answer = peer_->execute(command);
  journal_.write_at(received, std::string("execute ") + answer_word(answer) + " " +
                                  topic_named(topic).value_or(topic) + " " + command);
  return answer;
}

void DxlabStandin::set_responsiveness(Responsiveness responsiveness) {
  peer_->set_responsiveness(responsiveness);
  if (responsiveness == Responsiveness::answering && service_) service_->resume();
}

void DxlabStandin::quit() {
  if (!service_) return;
  journal_.write("exit");
  service_.reset();
  PostQuitMessage(0);
}

std::optional<ControlChannel::Action> DxlabStandin::control(const ControlCommand& command) {
  const std::string& word = command.word;
  if (word == "answer" || word == "refuse" || word == "hang") {
    const Responsiveness wanted = word == "answer"   ? Responsiveness::answering
                                  : word == "refuse" ? Responsiveness::refusing
                                                     : Responsiveness::hung;
    return [this, wanted] { set_responsiveness(wanted); };
  }
  if (word == "close") {
    return [this] {
      if (service_) service_->close_conversations();
    };
  }
  if (word == "exit") return [this] { quit(); };
  if (word == "startnotice") {
    const std::string target = command.args.empty() ? program_service_ : command.args[0];
    return [this, target] {
      const auto result =
          execute_once(target, "DDEClient", peer_->start_notice(), kStartNoticeTimeoutMs);
      journal_.write(std::string("startnotice ") + outcome_word(result.outcome));
    };
  }
  if (word == "late") return late_control(command);
  return program_control(command);
}

std::optional<ControlChannel::Action> DxlabStandin::late_control(const ControlCommand& command) {
  if (transport_ != Transport::raw || command.args.empty() || command.args.size() > 2) {
    return std::nullopt;
  }
  const auto delay = parse_digits(command.args[0]);
  const auto period =
      command.args.size() == 2 ? parse_digits(command.args[1]) : std::optional<long long>(0);
  if (!delay || !period || *delay > 600000 || *period > 600000) return std::nullopt;
  return [this, delay = static_cast<std::uint32_t>(*delay),
          period = static_cast<std::uint32_t>(*period)] {
    if (!service_ || !service_->acknowledge_late(delay)) return;
    journal_.write("late " + std::to_string(delay));
    const std::uint64_t mine = ++late_period_;
    if (period == 0 || delay == 0) return;
    tasks_.after(period, [this, mine] {
      if (!service_ || mine != late_period_) return;  // stopped or superseded meanwhile
      service_->acknowledge_late(0);
      journal_.write("late ends");
    });
  };
}

std::optional<ControlChannel::Action> DxlabStandin::program_control(const ControlCommand& command) {
  if (auto* commander = dynamic_cast<Commander*>(peer_.get())) {
    if (command.word == "tune") {
      const auto hz = parse_digits(command.rest);
      if (!hz) return std::nullopt;
      return [commander, hz] { commander->tune(*hz); };
    }
    if (command.word == "radiomode" && !command.rest.empty()) {
      return [commander, mode = command.rest] { commander->set_radio_mode(mode); };
    }
  }
  if (auto* dxview = dynamic_cast<DxView*>(peer_.get())) {
    if (command.word == "spotprefix") {
      return [dxview, prefix = command.rest] { dxview->select_spot_prefix(prefix); };
    }
  }
  return std::nullopt;
}

}  // namespace vav::peers::win32
