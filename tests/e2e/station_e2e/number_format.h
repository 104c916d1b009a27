#pragma once
// The user's number format as Windows keeps it: the thousands and decimal separators under
// HKCU\Control Panel\International (sThousand, sDecimal), which GetLocaleInfoA gives a
// program that starts afterwards in place of its locale's own. A test sets them for the
// programs it starts and puts the earlier values back when it ends.
#include <optional>
#include <string>

namespace vav::e2e {

class ScopedNumberFormat {
 public:
  ScopedNumberFormat(const std::string& thousands, const std::string& decimal);
  ~ScopedNumberFormat();
  ScopedNumberFormat(const ScopedNumberFormat&) = delete;
  ScopedNumberFormat& operator=(const ScopedNumberFormat&) = delete;

  // Whether both values were written.
  bool set() const { return set_; }

 private:
  std::optional<std::string> earlier_thousands_;
  std::optional<std::string> earlier_decimal_;
  bool set_ = false;
};

}  // namespace vav::e2e
