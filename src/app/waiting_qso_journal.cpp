#include "app/waiting_qso_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace vav {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// One entry starting at `pos`, and the position after it; nullopt when the bytes there are
// no whole entry.
std::optional<std::pair<PendingQso, std::size_t>> entry_at(std::string_view content,
                                                           std::size_t pos) {
  const char flag = content[pos];
  if (flag != 'N' && flag != 'U' && flag != 'A') return std::nullopt;
  const std::size_t colon = content.find(':', pos + 1);
  if (colon == std::string_view::npos) return std::nullopt;
  std::size_t length = 0;
  const char* first = content.data() + pos + 1;
  const char* last = content.data() + colon;
  const auto [end, ec] = std::from_chars(first, last, length);
  if (ec != std::errc{} || end != last || first == last) return std::nullopt;
  const std::size_t body = colon + 1;
  if (length > content.size() - body || content.size() - body - length < kCrLf.size()) {
    return std::nullopt;
  }
  if (content.substr(body + length, kCrLf.size()) != kCrLf) return std::nullopt;
  return std::pair{PendingQso{std::string(content.substr(body, length)), flag == 'U', flag == 'A'},
                   body + length + kCrLf.size()};
}

// Applies one mark to the oldest entry of the queue (not set aside); false when `rest`
// starts with none. A mark with nothing waiting is left over from a queue that was written
// afresh: it changes nothing.
bool apply_mark(std::string_view rest, std::deque<PendingQso>& entries) {
  for (const std::string_view mark : {kJournalDelivered, kJournalTimedOut, kJournalSetAside}) {
    if (rest.substr(0, mark.size()) != mark) continue;
    const auto oldest = std::find_if(entries.begin(), entries.end(),
                                     [](const PendingQso& entry) { return !entry.set_aside; });
    if (oldest == entries.end()) return true;
    if (mark == kJournalDelivered) {
      entries.erase(oldest);
    } else if (mark == kJournalTimedOut) {
      oldest->uncertain = true;
    } else {
      oldest->set_aside = true;
    }
    return true;
  }
  return false;
}

// A merged-prefix line at `pos`, and the position after it.
std::optional<std::pair<MergedPrefix, std::size_t>> merged_at(std::string_view content,
                                                              std::size_t pos) {
  if (content[pos] != 'L') return std::nullopt;
  const std::size_t colon = content.find(':', pos + 1);
  const std::size_t end = colon == std::string_view::npos ? colon : colon + 1 + 16;
  if (end == std::string_view::npos || end + kCrLf.size() > content.size() ||
      content.substr(end, kCrLf.size()) != kCrLf) {
    return std::nullopt;
  }
  MergedPrefix prefix;
  const char* first = content.data() + pos + 1;
  const auto size = std::from_chars(first, content.data() + colon, prefix.size);
  const auto hash =
      std::from_chars(content.data() + colon + 1, content.data() + end, prefix.hash, 16);
  if (size.ec != std::errc{} || size.ptr != content.data() + colon || first == size.ptr ||
      hash.ec != std::errc{} || hash.ptr != content.data() + end) {
    return std::nullopt;
  }
  return std::pair{prefix, end + kCrLf.size()};
}

}  // namespace

std::uint64_t fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string merged_prefix_line(const MergedPrefix& prefix) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(prefix.hash));
  return "L" + std::to_string(prefix.size) + ":" + hex + std::string(kCrLf);
}

std::string journal_entry(const PendingQso& entry) {
  std::string out;
  out.reserve(entry.execute.size() + 16);
  out += entry.set_aside ? 'A' : entry.uncertain ? 'U' : 'N';
  out += std::to_string(entry.execute.size());
  out += ':';
  out += entry.execute;
  out += kCrLf;
  return out;
}

std::string journal_of(const std::deque<PendingQso>& entries) {
  std::string out;
  for (const auto& entry : entries) out += journal_entry(entry);
  return out;
}

JournalReplay replay_journal(std::string_view content) {
  JournalReplay replay;
  std::size_t pos = 0;
  while (pos < content.size()) {
    if (apply_mark(content.substr(pos), replay.entries)) {
      ++replay.marks;
      pos += kJournalDelivered.size();  // every mark is one letter and CR LF
    } else if (auto merged = merged_at(content, pos)) {
      replay.merged = merged->first;
      pos = merged->second;
    } else if (auto entry = entry_at(content, pos)) {
      replay.entries.push_back(std::move(entry->first));
      pos = entry->second;
    } else {
      replay.complete = false;
      break;
    }
  }
  replay.read_up_to = pos;
  return replay;
}

}  // namespace vav
