#include "app/status_tab.h"

#include <charconv>

namespace vav {

// The fields read here come before any free text in a logged record and are plain ASCII, so
// their lengths count bytes whatever the code page.
std::string record_field(std::string_view record, std::string_view name) {
  std::size_t pos = 0;
  while ((pos = record.find('<', pos)) != std::string_view::npos) {
    const std::size_t close = record.find('>', pos);
    if (close == std::string_view::npos) break;
    const std::string_view tag = record.substr(pos + 1, close - pos - 1);
    const std::size_t colon = tag.find(':');
    if (colon == std::string_view::npos) break;
    std::size_t length = 0;
    const auto digits = tag.substr(colon + 1);
    std::from_chars(digits.data(), digits.data() + digits.size(), length);
    length = std::min(length, record.size() - close - 1);
    if (tag.substr(0, colon) == name) return std::string(record.substr(close + 1, length));
    pos = close + 1 + length;
  }
  return {};
}

std::string time_on_text(std::string_view record) {
  const std::string time_on = record_field(record, "TIME_ON");
  return time_on.size() >= 4 ? time_on.substr(0, 2) + ":" + time_on.substr(2, 2) : time_on;
}

const char* neighbour_state_text(NeighbourState state) {
  switch (state) {
    case NeighbourState::connected:
      return "connected";
    case NeighbourState::not_answering:
      return "not answering";
    case NeighbourState::not_running:
      break;
  }
  return "not running";
}

int neighbour_state_icon(NeighbourState state) {
  switch (state) {
    case NeighbourState::connected:
      return kConnectedIcon;
    case NeighbourState::not_answering:
      return kNotAnsweringIcon;
    case NeighbourState::not_running:
      break;
  }
  return kNotRunningIcon;
}

ListRows::Row waiting_qso_row(std::string_view execute, std::string state) {
  return {record_field(execute, "CALL"), time_on_text(execute), record_field(execute, "BAND"),
          record_field(execute, "MODE"), std::move(state)};
}

std::size_t StatusTab::index_of(std::string_view name) {
  for (std::size_t i = 0; i < kNeighbourNames.size(); ++i) {
    if (name == kNeighbourNames[i]) return i;
  }
  return kNeighbourNames.size();
}

void StatusTab::heard(std::string_view name, std::string time_text) {
  const std::size_t i = index_of(name);
  if (i < last_heard_.size()) last_heard_[i] = std::move(time_text);
}

void StatusTab::set_not_answering(std::string_view name, bool value) {
  const std::size_t i = index_of(name);
  if (i < not_answering_.size()) not_answering_[i] = value;
}

const std::string& StatusTab::last_heard(std::string_view name) const {
  static const std::string kNever;
  const std::size_t i = index_of(name);
  return i < last_heard_.size() ? last_heard_[i] : kNever;
}

bool StatusTab::not_answering(std::string_view name) const {
  const std::size_t i = index_of(name);
  return i < not_answering_.size() && not_answering_[i];
}

}  // namespace vav
