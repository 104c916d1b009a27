#pragma once
// The per-user application settings store (GetSetting / SaveSetting of classic Windows
// programs: HKCU\Software\VB and VBA Program Settings\<app>\<section>, string values).
#include <string>

namespace vav {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string get(const std::string& app, const std::string& section,
                          const std::string& key, const std::string& default_value) = 0;
  // Returns false when the value could not be stored.
  virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) = 0;
};

}  // namespace vav
