#pragma once
// The machine as a test sets it up: locale data (English (United States) and code page 1252
// by default), a UTC clock that runs with the loop's virtual time, the Windows version and
// the program's folder.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/sim/sim_event_loop.h"
#include "platform/system.h"

namespace vav::sim {

class SimSystem final : public System {
 public:
  // `program_folder` is a real directory (the test's temporary folder); the loop must
  // outlive this object.
  SimSystem(const SimEventLoop& loop, std::string program_folder);

  std::uint32_t user_default_lcid() override { return lcid_; }
  std::string locale_info(std::uint32_t lcid, std::uint32_t item) override;
  std::uint32_t ansi_code_page() override { return code_page_; }
  SystemTime utc_now() override;
  std::string local_time_text() override;
  OsVersion os_version() override;
  std::string program_folder() override { return folder_; }
  // The program folder's "LocalAppData\Vavizorur" unless set.
  std::string user_data_folder() override;
  void set_user_data_folder(std::string folder) { user_data_folder_ = std::move(folder); }
  std::string exe_name() override { return exe_name_; }
  // Claims are held per machine: a second program on it finds the name taken.
  std::unique_ptr<InstanceClaim> claim_instance(const std::string& name) override;
  void show_other_instance() override { ++other_instance_shown_; }
  int other_instance_shown() const { return other_instance_shown_; }

  // 0 means the user's locale cannot be determined.
  void set_user_default_lcid(std::uint32_t lcid) { lcid_ = lcid; }
  // Sets one locale item; "" removes it (the locale has no such value).
  void set_locale_item(std::uint32_t item, const std::string& value);
  void set_separators(const std::string& thousands, const std::string& decimal);
  // The ANSI code page, 1252 by default; set it before the program starts.
  void set_ansi_code_page(std::uint32_t code_page) { code_page_ = code_page; }
  // The UTC clock reads `now` at the loop's present moment and runs on with the loop.
  void set_utc(const SystemTime& now);
  // Local time is UTC plus this many minutes (0 by default).
  void set_utc_offset_minutes(int minutes) { offset_minutes_ = minutes; }
  // Tokens h hh H HH m mm s ss t tt, as in the Windows time format; default "h:mm:ss tt".
  void set_time_format(const std::string& format) { time_format_ = format; }
  void set_os_version(const OsVersion& version) { os_version_ = version; }
  // os_version() throws RuntimeError(error_number) from now on; 0 ends the failure.
  void fail_os_version(int error_number) { os_error_ = error_number; }
  void set_exe_name(const std::string& name) { exe_name_ = name; }

 private:
  std::int64_t utc_ms() const;

  const SimEventLoop& loop_;
  std::string folder_;
  std::string exe_name_ = "Vavizorur";
  std::uint32_t lcid_ = 0x0409;
  std::uint32_t code_page_ = 1252;
  std::map<std::uint32_t, std::string> locale_;
  std::int64_t base_utc_ms_ = 0;
  std::uint64_t base_loop_ms_ = 0;
  int offset_minutes_ = 0;
  std::string time_format_ = "h:mm:ss tt";
  OsVersion os_version_{2, 10, 0, 19045};
  int os_error_ = 0;
  std::shared_ptr<std::set<std::string>> claims_ = std::make_shared<std::set<std::string>>();
  int other_instance_shown_ = 0;
  std::string user_data_folder_;
};

}  // namespace vav::sim
