#pragma once
// What the program reads from the machine: locale data, clocks, the Windows version and
// where it was started from.
#include <cstdint>
#include <memory>
#include <string>

namespace vav {

struct SystemTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

struct OsVersion {
  std::uint32_t platform_id = 0;  // 2 for every NT-based Windows
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

// Locale item codes of GetLocaleInfoA.
namespace locale_item {
inline constexpr std::uint32_t kLanguageName = 2;         // LOCALE_SLANGUAGE
inline constexpr std::uint32_t kCountryName = 6;          // LOCALE_SCOUNTRY
inline constexpr std::uint32_t kDecimalSeparator = 14;    // LOCALE_SDECIMAL
inline constexpr std::uint32_t kThousandsSeparator = 15;  // LOCALE_STHOUSAND
inline constexpr std::uint32_t kAbbrevMonthName1 = 0x44;  // LOCALE_SABBREVMONTHNAME1 .. +11
}  // namespace locale_item

// A program's claim to be the only copy running under its name; given up when destroyed.
class InstanceClaim {
 public:
  virtual ~InstanceClaim() = default;
};

class System {
 public:
  virtual ~System() = default;

  // Claims `name` for this copy of the program (a named mutex on Windows, for the user's
  // session). nullptr when another copy holds it.
  virtual std::unique_ptr<InstanceClaim> claim_instance(const std::string& name) = 0;
  // Brings the main window of the other copy of the program to the front.
  virtual void show_other_instance() = 0;

  // GetUserDefaultLCID; 0 when the user's locale cannot be determined.
  virtual std::uint32_t user_default_lcid() = 0;
  // GetLocaleInfoA of one item; "" when the locale has no such value.
  virtual std::string locale_info(std::uint32_t lcid, std::uint32_t item) = 0;
  // GetACP: the ANSI code page that the program's text is in (1252 on Western European
  // Windows, 932 on Japanese).
  virtual std::uint32_t ansi_code_page() = 0;

  // GetSystemTime: now, in UTC.
  virtual SystemTime utc_now() = 0;
  // The current local time as text in the user's time format.
  virtual std::string local_time_text() = 0;

  // The real Windows version (not the compatibility answer). Throws RuntimeError on failure.
  virtual OsVersion os_version() = 0;

  // The program's folder for its own files in the user's profile when its folder cannot be
  // written: "%LOCALAPPDATA%\Vavizorur" (it may not exist yet).
  virtual std::string user_data_folder() = 0;
  // The folder of the running executable, without a trailing "\", and the executable's
  // name without extension.
  virtual std::string program_folder() = 0;
  virtual std::string exe_name() = 0;
};

}  // namespace vav
