#pragma once
// Windows profile ("ini") files: GetPrivateProfileStringA / WritePrivateProfileStringA.
#include <string>

namespace vav {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;

  // Section and key names match without regard to letter case; blanks around the value are
  // stripped; at most kMaxValue characters come back; "" when the file, section or key is
  // missing.
  static constexpr std::size_t kMaxValue = 254;
  virtual std::string read_string(const std::string& file, const std::string& section,
                                  const std::string& key) = 0;

  // Replaces the value in place when the key exists in the section, otherwise adds it,
  // creating the section and the file as needed. Returns false when the file cannot be
  // written.
  virtual bool write_string(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) = 0;
};

}  // namespace vav
