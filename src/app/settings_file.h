#pragma once
// The settings file "Vavizorur.ini" in the program's folder, and the reader of MixW's
// "Mixw2.ini".
#include <string>

#include "platform/files.h"
#include "platform/profile.h"

namespace vav {

inline constexpr const char* kSettingsFileName = "Vavizorur.ini";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kDebugSection = "Debug";

// The content of a new settings file: 24 lines, each ended by CR LF.
extern const char* const kDefaultSettingsFile;

class SettingsFile {
 public:
  SettingsFile(ProfileFiles& profile, Files& files, std::string program_folder);

  // Creates the file with its defaults when none exists; never rewrites one. Throws
  // RuntimeError when it cannot be created, or exists but cannot be read.
  void CheckforInIfile();
  // The value of Key in section "Settings"; Default when missing or empty. Reads the file
  // anew each time.
  std::string ReadSetting(const std::string& key, const std::string& default_value);
  // Writes Key=Value into "Settings", or into "Debug" when to_debug; failures are ignored.
  void WriteSetting(const std::string& key, const std::string& value, bool to_debug);

  std::string path() const;
  const std::string& program_folder() const { return folder_; }

 private:
  ProfileFiles& profile_;
  Files& files_;
  std::string folder_;
};

// The program's own reader of one value of a profile-style file (used for "Mixw2.ini"):
// "" when the file is missing, the section or the key is not found. Throws RuntimeError
// when the file exists but cannot be read.
std::string ReadIniValue(Files& files, const std::string& section, const std::string& key,
                         const std::string& file);

}  // namespace vav
