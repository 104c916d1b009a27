#include "app/pending_qsos.h"

#include <charconv>

namespace vav {

PendingQsos::PendingQsos(Files& files, std::string program_folder)
    : files_(files), folder_(std::move(program_folder)) {}

std::string PendingQsos::path() const { return folder_ + "\\" + kPendingFileName; }

std::string PendingQsos::Encode(const std::deque<PendingQso>& entries) {
  std::string out;
  for (const auto& entry : entries) {
    out += entry.uncertain ? 'U' : 'N';
    out += std::to_string(entry.execute.size());
    out += ':';
    out += entry.execute;
    out += "\r\n";
  }
  return out;
}

std::deque<PendingQso> PendingQsos::Decode(const std::string& content) {
  std::deque<PendingQso> entries;
  std::size_t pos = 0;
  while (pos < content.size()) {
    const char flag = content[pos];
    if (flag != 'N' && flag != 'U') break;
    const std::size_t colon = content.find(':', pos + 1);
    if (colon == std::string::npos) break;
    std::size_t length = 0;
    const char* first = content.data() + pos + 1;
    const char* last = content.data() + colon;
    const auto [end, ec] = std::from_chars(first, last, length);
    if (ec != std::errc{} || end != last || first == last) break;
    const std::size_t body = colon + 1;
    if (length > content.size() - body || content.size() - body - length < 2) break;
    if (content.compare(body + length, 2, "\r\n") != 0) break;
    entries.push_back({content.substr(body, length), flag == 'U'});
    pos = body + length + 2;
  }
  return entries;
}

void PendingQsos::Load() {
  const auto content = files_.read_all(path());
  entries_ = content ? Decode(*content) : std::deque<PendingQso>{};
}

void PendingQsos::Save() {
  if (entries_.empty()) {
    files_.remove(path());
  } else {
    files_.replace_atomically(path(), Encode(entries_));
  }
}

void PendingQsos::Add(PendingQso entry) {
  entries_.push_back(std::move(entry));
  Save();
}

void PendingQsos::RemoveFront() {
  entries_.pop_front();
  Save();
}

void PendingQsos::MarkFrontUncertain() {
  if (entries_.front().uncertain) return;
  entries_.front().uncertain = true;
  Save();
}

}  // namespace vav
