// ReadIniValue over an arbitrary file: the input is written to a temporary file and a few
// sections and keys are looked up. A value never carries a line end or surrounding blanks.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings_file.h"
#include "errors/runtime_error.h"
#include "platform/sim/sim_files.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// A memory-backed folder when there is one: the harness writes a file per input.
std::filesystem::path temp_folder() {
  const std::filesystem::path shm = "/dev/shm";
  std::error_code ignored;
  return std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
}

void remove_ini();

const std::string& ini_path() {
  static const std::string path =
      (temp_folder() / ("vav_fuzz_ini_" + std::to_string(::getpid()) + ".ini")).string();
  // Registered after `path` is built, so it runs before `path` is destroyed.
  static const int registered = std::atexit(remove_ini);
  static_cast<void>(registered);
  return path;
}

void remove_ini() {
  std::error_code ignored;
  std::filesystem::remove(ini_path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(ini_path(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  vav::sim::SimFiles files;
  static const std::pair<const char*, const char*> kLookups[] = {
      {"Cat", "m_iCWPitchHz"},
      {"cat", "M_IFSKPITCHHZ"},
      {"Settings", "Top"},
      {"", ""},
      {"[", "="},
      {"Cat", "m_bFSKOutViaSoundcard"},
  };
  for (const auto& [section, key] : kLookups) {
    std::string value;
    try {
      value = vav::ReadIniValue(files, section, key, ini_path());
    } catch (const vav::RuntimeError&) {
      std::abort();  // the file exists and is readable
    }
    check(value.size() <= size);
    check(value.find_first_of("\r\n") == std::string::npos);
    check(value.empty() || (value.front() != ' ' && value.back() != ' '));
  }
  return 0;
}
