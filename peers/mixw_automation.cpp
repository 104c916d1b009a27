#include "peers/mixw_automation.h"

#include "errors/runtime_error.h"
#include "peers/mixw.h"
#include "peers/peer_text.h"

namespace vav::peers {
namespace {

bool is(const std::string& member, const char* name) { return equals_ignoring_case(member, name); }

// A numeric argument as IDispatch would coerce it; text is read with "." or ",".
double number(const Variant& value) {
  if (const auto* i = std::get_if<std::int32_t>(&value)) return *i;
  if (const auto* d = std::get_if<double>(&value)) return *d;
  if (const auto* s = std::get_if<std::string>(&value)) {
    if (const auto parsed = parse_decimal(*s)) return *parsed;
  }
  throw RuntimeError(err::kTypeMismatch);
}

std::string text(const Variant& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* i = std::get_if<std::int32_t>(&value)) return std::to_string(*i);
  throw RuntimeError(err::kTypeMismatch);
}

}  // namespace

Mixw& MixwAutomation::live() {
  if (mixw_ == nullptr) throw RuntimeError(err::kServerUnavailable);
  return *mixw_;
}

Variant MixwAutomation::get(const std::string& member) {
  Mixw& mixw = live();
  mixw.record({AutomationCall::Kind::get, member, {}});
  if (is(member, "audiofq")) return mixw.audio_hz();
  if (is(member, "FqA")) return mixw.dial_hz();
  if (is(member, "Mode")) return mixw.mode();
  throw RuntimeError(err::kMemberNotSupported);
}

void MixwAutomation::put(const std::string& member, const Variant& value) {
  Mixw& mixw = live();
  mixw.record({AutomationCall::Kind::put, member, {value}});
  if (is(member, "audiofq")) {
    mixw.set_audio_hz(number(value));
  } else if (is(member, "Mode")) {
    mixw.set_mode(text(value));
  } else {
    throw RuntimeError(err::kMemberNotSupported);
  }
}

Variant MixwAutomation::call(const std::string& member, const std::vector<Variant>& args) {
  Mixw& mixw = live();
  mixw.record({AutomationCall::Kind::call, member, args});
  if (is(member, "ExecuteMacros")) {
    if (args.size() != 1) throw RuntimeError(err::kAutomationError);
    mixw.run_macros(text(args[0]));
    return {};
  }
  if (is(member, "SetQsoData")) {
    if (args.size() != 2) throw RuntimeError(err::kAutomationError);
    // Only field 0, the callsign, is known to the program; others are MixW's business.
    if (number(args[0]) != 0) throw RuntimeError(err::kInvalidProcedureCall);
    mixw.set_item("Call", text(args[1]));
    return {};
  }
  throw RuntimeError(err::kMemberNotSupported);
}

}  // namespace vav::peers
