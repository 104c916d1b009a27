#pragma once
// GetSetting / SaveSetting: REG_SZ values under
// HKCU\Software\VB and VBA Program Settings\<app>\<section>.
#include "platform/settings_store.h"

namespace vav::win32 {

class WinSettingsStore final : public SettingsStore {
 public:
  std::string get(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& default_value) override;
  bool save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;
};

}  // namespace vav::win32
