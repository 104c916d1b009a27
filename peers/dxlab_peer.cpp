#include "peers/dxlab_peer.h"

#include <algorithm>
#include <cstdio>

namespace vav::peers {
namespace {
constexpr const char* kShutdown = "shutdown";
}  // namespace

DxlabPeer::DxlabPeer(std::string service, int index, std::vector<std::string> words)
    : service_(std::move(service)), index_(index), words_(std::move(words)) {
  words_.emplace_back(kShutdown);
}

std::vector<std::string> DxlabPeer::topics() const {
  std::vector<std::string> out;
  for (const auto& [key, value] : items_) {
    if (std::find(out.begin(), out.end(), key.first) == out.end()) out.push_back(key.first);
  }
  return out;
}

std::optional<std::string> DxlabPeer::item(const std::string& topic,
                                           const std::string& item) const {
  const auto found = items_.find({topic, item});
  if (found == items_.end()) return std::nullopt;
  return found->second;
}

Answer DxlabPeer::execute(const std::string& command) {
  if (responsiveness_ != Responsiveness::answering) {
    unanswered_.push_back(command);
    return responsiveness_ == Responsiveness::refusing ? Answer::refused : Answer::none;
  }
  journal_.push_back(command);
  const DxlabCommand parsed = split_command(command, words_);
  if (parsed.word == kShutdown) {
    if (exit_request_) exit_request_();
  } else if (!parsed.word.empty()) {
    act(parsed);
  }
  return Answer::accepted;
}

void DxlabPeer::clear_journal() {
  journal_.clear();
  unanswered_.clear();
}

std::string DxlabPeer::start_notice() const {
  char index[8];
  std::snprintf(index, sizeof index, "%03d", index_);
  return std::string(index) + "start";
}

void DxlabPeer::add_item(const std::string& topic, const std::string& item, std::string initial) {
  items_[{topic, item}] = std::move(initial);
}

void DxlabPeer::set_item(const std::string& topic, const std::string& item,
                         const std::string& value) {
  auto& current = items_[{topic, item}];
  if (current == value) return;
  current = value;
  if (item_sink_) item_sink_(topic, item, value);
}

}  // namespace vav::peers
