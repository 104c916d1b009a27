#pragma once
// Windows profile-file reading and writing on real files, through a Files port so that the
// faults a test injects there apply.
#include <string>

#include "platform/files.h"
#include "platform/profile.h"

namespace vav::sim {

class SimProfileFiles final : public ProfileFiles {
 public:
  explicit SimProfileFiles(Files& files) : files_(files) {}

  std::string read_string(const std::string& file, const std::string& section,
                          const std::string& key) override;
  // A file that exists but cannot be read is left alone (false), never overwritten.
  bool write_string(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) override;

 private:
  Files& files_;
};

}  // namespace vav::sim
