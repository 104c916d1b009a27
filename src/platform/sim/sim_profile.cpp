#include "platform/sim/sim_profile.h"

#include "errors/runtime_error.h"
#include "platform/sim/sim_profile_text.h"

namespace vav::sim {

std::string SimProfileFiles::read_string(const std::string& file, const std::string& section,
                                         const std::string& key) {
  const auto content = files_.read_all(file);
  if (!content) return {};
  return profile_text::read_value(*content, section, key, kMaxValue);
}

bool SimProfileFiles::write_string(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
  std::string content;
  try {
    // Like the real writer, which opens the file itself: a file that exists but cannot be
    // read is never replaced by one holding a single key.
    content = files_.read_existing(file).value_or("");
    files_.replace_atomically(file, profile_text::write_value(content, section, key, value));
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace vav::sim
