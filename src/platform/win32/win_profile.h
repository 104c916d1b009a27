#pragma once
// Profile ("ini") files through the system's own reader and writer.
#include "platform/profile.h"

namespace vav::win32 {

class WinProfileFiles final : public ProfileFiles {
 public:
  std::string read_string(const std::string& file, const std::string& section,
                          const std::string& key) override;
  bool write_string(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) override;
};

}  // namespace vav::win32
