#include "app/adif_log.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/adif_export.h"
#include "errors/error_trap.h"

namespace vav {
namespace {

std::string field(std::string_view name, std::string_view value) {
  return "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + std::string(value);
}

std::string timestamp(const SystemTime& t) {
  char text[32];
  std::snprintf(text, sizeof(text), "%04d%02d%02d %02d%02d%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

}  // namespace

std::string adif_log_header(std::string_view version, const SystemTime& created,
                            std::string_view title) {
  // Header values are plain ASCII, so their lengths count characters on every code page.
  return std::string(title) + "\r\n" + field("ADIF_VER", "3.1.4") + "\r\n" +
         field("PROGRAMID", "Vavizorur") + "\r\n" + field("PROGRAMVERSION", version) + "\r\n" +
         field("CREATED_TIMESTAMP", timestamp(created)) + "\r\n<EOH>\r\n";
}

AdifLog::AdifLog(Files& files, std::string program_folder)
    : files_(files), folder_(std::move(program_folder)) {}

std::string AdifLog::path() const { return folder_ + "\\" + kAdifLogFileName; }

void AdifLog::Append(std::string_view record, std::string_view version, const SystemTime& now) {
  std::string line = adif_export(record) + "\r\n";
  if (!file_) {
    // The header goes in only when the file is created, in the same step as the creation: a
    // file that exists (even one that cannot be opened now) never gets a second header. An
    // existing file's end is looked at once, to close a record torn by a crash.
    if (!files_.create_new(path(), adif_log_header(version, now))) {
      line = adif_tail_repair(files_.read_all(path()).value_or("")) + line;
    }
    // Kept open for the run: each QSO then costs one write, not an open and a close.
    file_ = files_.open_for_append(path());
  }
  // A file that failed is reopened, and its end looked at again, for the next QSO.
  const UndoOnFailure reopen_next_time([this] { file_.reset(); });
  file_->append(line);
}

std::string adif_tail_repair(std::string_view content) {
  // A run that crashed in the middle of an append leaves a torn last record. It is closed
  // before the next one, or a reader would take the torn fields as part of the next QSO.
  if (content.empty() || content.ends_with("\r\n")) return {};
  if (content.ends_with("\r")) return "\n";
  std::string tail(content.substr(content.size() - std::min<std::size_t>(5, content.size())));
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == "<EOR>" ? "\r\n" : "<EOR>\r\n";
}

}  // namespace vav
