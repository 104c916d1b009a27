#include "station_e2e/number_format.h"

#include <windows.h>

namespace vav::e2e {
namespace {

constexpr char kInternational[] = "Control Panel\\International";
constexpr char kThousand[] = "sThousand";
constexpr char kDecimal[] = "sDecimal";

std::optional<std::string> read_value(const char* name) {
  char value[80] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

bool write_value(const char* name, const std::optional<std::string>& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternational, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status = ERROR_SUCCESS;
  if (value) {
    status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                            static_cast<DWORD>(value->size() + 1));
  } else {
    RegDeleteValueA(key, name);
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace

ScopedNumberFormat::ScopedNumberFormat(const std::string& thousands, const std::string& decimal)
    : earlier_thousands_(read_value(kThousand)), earlier_decimal_(read_value(kDecimal)) {
  set_ = write_value(kThousand, thousands) && write_value(kDecimal, decimal);
}

ScopedNumberFormat::~ScopedNumberFormat() {
  write_value(kThousand, earlier_thousands_);
  write_value(kDecimal, earlier_decimal_);
}

}  // namespace vav::e2e
