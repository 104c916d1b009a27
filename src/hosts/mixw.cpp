#include "hosts/mixw.h"

#include <cmath>
#include <cstdio>

#include "common/neighbour_number.h"
#include "errors/runtime_error.h"

namespace vav::mixw {
namespace {

double number_of(const Variant& v) {
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  // A number given as text is in MixW's own format, read by its shape.
  if (const auto* s = std::get_if<std::string>(&v)) {
    if (const auto d = read_plain_number(*s)) return *d;
  }
  throw RuntimeError(err::kTypeMismatch);
}

std::string text_of(const Variant& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v)) {
    // Whole numbers (the dial frequency in Hz) as plain digits.
    if (std::isfinite(*d) && *d == std::floor(*d) && std::fabs(*d) < 1e15) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.0f", *d);
      return buf;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", *d);
    return buf;
  }
  if (const auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
  return {};
}

}  // namespace

double Application::audiofq() { return number_of(object_->get("audiofq")); }
void Application::set_audiofq(double hz) { object_->put("audiofq", hz); }
std::string Application::FqA() { return text_of(object_->get("FqA")); }
std::string Application::Mode() { return text_of(object_->get("Mode")); }
void Application::set_Mode(const std::string& mode) { object_->put("Mode", mode); }
void Application::ExecuteMacros(const std::string& macros) { object_->call("ExecuteMacros", {macros}); }
void Application::SetQsoData(std::int32_t what, const std::string& callsign) {
  object_->call("SetQsoData", {what, callsign});
}

}  // namespace vav::mixw
