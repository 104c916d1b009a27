#pragma once
// The per-user settings store in memory. It outlives a simulated restart of the program when
// the test keeps the object; names match without regard to letter case, as registry keys do.
#include <map>
#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace vav::sim {

class SimSettingsStore final : public SettingsStore {
 public:
  std::string get(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& default_value) override;
  bool save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;

  // While failing, save() stores nothing and returns false.
  void set_failing(bool failing) { failing_ = failing; }
  // The stored value, if any.
  std::optional<std::string> value(const std::string& app, const std::string& section,
                                   const std::string& key) const;
  void clear() { values_.clear(); }

 private:
  static std::string key_of(const std::string& app, const std::string& section,
                            const std::string& key);
  std::map<std::string, std::string> values_;
  bool failing_ = false;
};

}  // namespace vav::sim
