#pragma once
// Locale, clocks, the Windows version and the program's own location.
#include "platform/system.h"

namespace vav::win32 {

class WinSystem final : public System {
 public:
  std::uint32_t user_default_lcid() override;
  std::string locale_info(std::uint32_t lcid, std::uint32_t item) override;
  std::uint32_t ansi_code_page() override;
  SystemTime utc_now() override;
  std::string local_time_text() override;
  // RtlGetVersion, loaded from ntdll at run time: GetVersionExA answers with the version
  // the executable's manifest declares, not the one that runs.
  OsVersion os_version() override;
  std::string program_folder() override;
  // %LOCALAPPDATA% (SHGetFolderPathA, CSIDL_LOCAL_APPDATA) and "\Vavizorur".
  std::string user_data_folder() override;
  std::string exe_name() override;
  std::unique_ptr<InstanceClaim> claim_instance(const std::string& name) override;
  // The other copy's main window is found by its class (window_classes.h).
  void show_other_instance() override;

 private:
  std::string module_path();
};

}  // namespace vav::win32
