#include "app/settings_file.h"

#include <utility>

#include "common/conversions.h"
#include "errors/error_trap.h"
#include "errors/runtime_error.h"

namespace vav {

const char* const kDefaultSettingsFile =
    "[Settings]\r\n"
    "FrequencyControl=MixW\r\n"
    "LoggedFrequency=Actual\r\n"
    "RequestQSL=False\r\n"
    "LookupPrev=False\r\n"
    "SaveGrid=False\r\n"
    "SaveIota=False\r\n"
    "SaveCounty=False\r\n"
    "TickleDXView=False\r\n"
    "AlwaysOnTop=False\r\n"
    "ShowContest=False\r\n"
    "TicklePathfinder=False\r\n"
    "RTTYRadioModeSetting=0\r\n"
    "OptiumDigitalFreq=1500\r\n"
    "TerminateApps=False\r\n"
    "UseOptimal=False\r\n"
    "ConnectCommander=False\r\n"
    "ConnectDXKeeper=False\r\n"
    "ConnectDXView=False\r\n"
    "ConnectPathFinder=False\r\n"
    "SendToeQSL=False\r\n"
    "Top=0\r\n"
    "Left=0\r\n"
    "WindowState=0\r\n";

SettingsFile::SettingsFile(ProfileFiles& profile, Files& files, std::string program_folder)
    : profile_(profile), files_(files), folder_(std::move(program_folder)) {}

std::string SettingsFile::path() const { return folder_ + "\\" + kSettingsFileName; }

void SettingsFile::CheckforInIfile() {
  // Only a file that truly does not exist gets the defaults: one that another program holds,
  // or whose attributes cannot be read, keeps the operator's settings.
  if (files_.create_new(path(), kDefaultSettingsFile)) return;
  // It exists. When it cannot be read the program runs on what the profile functions can
  // read (the defaults of each key) and the caller reports the failure once.
  files_.read_existing(path());
}

std::string SettingsFile::ReadSetting(const std::string& key, const std::string& default_value) {
  // A key that cannot be read reads as its default.
  return passing_over_errors(default_value, [&] {
    std::string value = profile_.read_string(path(), kSettingsSection, key);
    return value.empty() ? default_value : value;
  });
}

void SettingsFile::WriteSetting(const std::string& key, const std::string& value, bool to_debug) {
  // A failed write is passed over; the next change tries again.
  passing_over_errors([&] {
    profile_.write_string(path(), to_debug ? kDebugSection : kSettingsSection, key, value);
  });
}

namespace {

// Splits text into lines at CR LF, CR or LF; a final line without an end is kept.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool at_end() const { return pos_ >= text_.size(); }
  std::string_view next() {
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    const std::string_view line = text_.substr(pos_, stop - pos_);
    pos_ = stop;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return line;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The name a section line carries: from just after its first "[", two characters shorter
// than the whole line.
std::string section_name(const std::string& line) {
  const std::size_t bracket = line.find('[');
  const std::size_t length = line.size() >= 2 ? line.size() - 2 : 0;
  return line.substr(bracket + 1, length);
}

enum class InnerResult { found, not_found, resume_outer };

InnerResult scan_section(LineReader& lines, const std::string& key, std::string& value) {
  while (!lines.at_end()) {
    const std::string line = trim_blanks(lines.next());
    if (line.find(']') != std::string::npos) return InnerResult::not_found;
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      if (to_lower(line.substr(0, equals)) == key) {
        value = trim_blanks(line.substr(equals + 1));
        return InnerResult::found;
      }
    } else if (line == "[") {
      return InnerResult::resume_outer;
    }
  }
  return InnerResult::not_found;
}

}  // namespace

std::string ReadIniValue(Files& files, const std::string& section, const std::string& key,
                         const std::string& file) {
  if (!files.exists(file)) return "";
  const std::optional<std::string> content = files.read_all(file);
  if (!content) throw RuntimeError(err::kPathFileAccess);
  const std::string wanted_section = to_lower(section);
  const std::string wanted_key = to_lower(key);
  LineReader lines(*content);
  while (!lines.at_end()) {
    const std::string line = to_lower(trim_blanks(lines.next()));
    if (line.find('[') == std::string::npos || section_name(line) != wanted_section) continue;
    std::string value;
    switch (scan_section(lines, wanted_key, value)) {
      case InnerResult::found:
        return value;
      case InnerResult::not_found:
        return "";
      case InnerResult::resume_outer:
        break;
    }
  }
  return "";
}

}  // namespace vav
