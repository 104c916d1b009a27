#include "platform/sim/sim_settings_store.h"

#include "platform/sim/sim_text.h"

namespace vav::sim {

std::string SimSettingsStore::key_of(const std::string& app, const std::string& section,
                                     const std::string& key) {
  return ascii_lower(app) + '\\' + ascii_lower(section) + '\\' + ascii_lower(key);
}

std::string SimSettingsStore::get(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& default_value) {
  return value(app, section, key).value_or(default_value);
}

bool SimSettingsStore::save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
  if (failing_) return false;
  values_[key_of(app, section, key)] = value;
  return true;
}

std::optional<std::string> SimSettingsStore::value(const std::string& app,
                                                   const std::string& section,
                                                   const std::string& key) const {
  const auto found = values_.find(key_of(app, section, key));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

}  // namespace vav::sim
