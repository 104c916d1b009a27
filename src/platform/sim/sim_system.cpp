#include "platform/sim/sim_system.h"

#include <array>
#include <utility>

#include "errors/runtime_error.h"
#include "platform/sim/sim_civil_time.h"

namespace vav::sim {

namespace {

// 15 January 2024, 12:00:00 UTC: an ordinary day away from month and year ends.
constexpr SystemTime kDefaultUtc{2024, 1, 15, 12, 0, 0, 0};

std::string two_digits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

// The value of one format token (a run of one letter), or the run itself when unknown.
std::string format_token(char letter, std::size_t count, const SystemTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  const auto number = [count](int value) {
    return count >= 2 ? two_digits(value) : std::to_string(value);
  };
  switch (letter) {
    case 'h':
      return number(hour12);
    case 'H':
      return number(t.hour);
    case 'm':
      return number(t.minute);
    case 's':
      return number(t.second);
    case 't':
      return count >= 2 ? (t.hour < 12 ? "AM" : "PM") : (t.hour < 12 ? "A" : "P");
    default:
      return std::string(count, letter);
  }
}

std::string format_time(const std::string& format, const SystemTime& t) {
  std::string out;
  for (std::size_t i = 0; i < format.size();) {
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == format[i]) ++run;
    out += format_token(format[i], run, t);
    i += run;
  }
  return out;
}

}  // namespace

SimSystem::SimSystem(const SimEventLoop& loop, std::string program_folder)
    : loop_(loop), folder_(std::move(program_folder)) {
  while (folder_.size() > 1 && (folder_.back() == '/' || folder_.back() == '\\')) {
    folder_.pop_back();
  }
  static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  locale_[locale_item::kLanguageName] = "English (United States)";
  locale_[locale_item::kCountryName] = "United States";
  for (std::uint32_t i = 0; i < kMonths.size(); ++i) {
    locale_[locale_item::kAbbrevMonthName1 + i] = kMonths[i];
  }
  set_separators(",", ".");
  set_utc(kDefaultUtc);
}

std::string SimSystem::locale_info(std::uint32_t /*lcid*/, std::uint32_t item) {
  const auto found = locale_.find(item);
  return found == locale_.end() ? std::string() : found->second;
}

void SimSystem::set_locale_item(std::uint32_t item, const std::string& value) {
  if (value.empty()) {
    locale_.erase(item);
  } else {
    locale_[item] = value;
  }
}

void SimSystem::set_separators(const std::string& thousands, const std::string& decimal) {
  set_locale_item(locale_item::kThousandsSeparator, thousands);
  set_locale_item(locale_item::kDecimalSeparator, decimal);
}

void SimSystem::set_utc(const SystemTime& now) {
  base_utc_ms_ = to_epoch_ms(now);
  base_loop_ms_ = loop_.now();
}

std::int64_t SimSystem::utc_ms() const {
  return base_utc_ms_ + static_cast<std::int64_t>(loop_.now() - base_loop_ms_);
}

SystemTime SimSystem::utc_now() { return from_epoch_ms(utc_ms()); }

std::string SimSystem::local_time_text() {
  return format_time(time_format_, from_epoch_ms(utc_ms() + offset_minutes_ * 60'000LL));
}

OsVersion SimSystem::os_version() {
  if (os_error_ != 0) throw RuntimeError(os_error_);
  return os_version_;
}

namespace {

class SimInstanceClaim final : public InstanceClaim {
 public:
  SimInstanceClaim(std::weak_ptr<std::set<std::string>> claims, std::string name)
      : claims_(std::move(claims)), name_(std::move(name)) {}
  ~SimInstanceClaim() override {
    if (const auto claims = claims_.lock()) claims->erase(name_);
  }

 private:
  std::weak_ptr<std::set<std::string>> claims_;
  std::string name_;
};

}  // namespace

std::unique_ptr<InstanceClaim> SimSystem::claim_instance(const std::string& name) {
  if (!claims_->insert(name).second) return nullptr;
  return std::make_unique<SimInstanceClaim>(claims_, name);
}

std::string SimSystem::user_data_folder() {
  return user_data_folder_.empty() ? folder_ + "\\LocalAppData\\Vavizorur" : user_data_folder_;
}

}  // namespace vav::sim
