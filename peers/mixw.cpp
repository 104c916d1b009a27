#include "peers/mixw.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "errors/runtime_error.h"
#include "peers/mixw_automation.h"
#include "peers/mixw_macros.h"
#include "peers/peer_text.h"

namespace vav::peers {
namespace {

constexpr const char* kKhz = "Khz";
constexpr const char* kMode = "Mode";
constexpr const char* kCommand = "Command";
constexpr const char* kWrite = "WRITE";

std::string variant_text(const Variant& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "Empty"; }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(std::int32_t i) const { return std::to_string(i); }
    std::string operator()(double d) const {
      char text[32];
      std::snprintf(text, sizeof text, "%.15g", d);
      return text;
    }
    std::string operator()(const std::string& s) const { return "\"" + s + "\""; }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace

const std::vector<std::string>& qso_items() {
  static const std::vector<std::string> items = {
      "Khz",     "Command", "DxccPrefix", "ExchRcv", "ExchSnt", "County", "Notes", "Manager",
      "Country", "Domain",  "Qth",        "Name",    "EndTime", "Time",   "Date",  "Mode",
      "RstSnt",  "RstRcv",  "Call",       "IOTA",    "Loc",     "ITU",    "WAZ",   "Continent"};
  return items;
}

std::string khz_item_text(double hz) {
  const long long whole = std::llround(hz < 0 ? 0 : hz);
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", whole / 1000, whole % 1000);
  return text;
}

std::string describe(const AutomationCall& call) {
  static const char* const kinds[] = {"get ", "put ", "call "};
  std::string out = kinds[static_cast<int>(call.kind)] + call.member;
  if (call.kind == AutomationCall::Kind::get) return out;
  out += '(';
  for (std::size_t i = 0; i < call.args.size(); ++i) {
    if (i > 0) out += ", ";
    out += variant_text(call.args[i]);
  }
  return out + ')';
}

Mixw::Mixw(double dial_hz, double audio_hz, std::string mode)
    : dial_hz_(dial_hz), audio_hz_(audio_hz), mode_(std::move(mode)) {
  for (const auto& name : qso_items()) items_[name];
  items_[kKhz] = khz_item_text(dial_hz_ + audio_hz_);
  items_[kMode] = mode_;
}

Mixw::~Mixw() { revoke_automation(); }

std::optional<std::string> Mixw::item(const std::string& name) const {
  const auto found = items_.find(name);
  if (found == items_.end()) return std::nullopt;
  return found->second;
}

void Mixw::set_item(const std::string& name, const std::string& value) {
  if (!items_.contains(name)) {
    throw RuntimeError(err::kInvalidProcedureCall, "MixW's QSO window has no item " + name);
  }
  show(name, value);
  if (name == kCommand && value == kWrite && defer_) {
    defer_(kCommandResetMs, [this] {
      if (items_[kCommand] == kWrite) show(kCommand, "");
    });
  }
}

void Mixw::clear_qso() {
  for (const auto& name : qso_items()) {
    if (name != kKhz && name != kMode) show(name, "");
  }
}

void Mixw::work_station(const Contact& contact) {
  const std::pair<const char*, const std::string*> fields[] = {{"Call", &contact.call},
                                                               {"RstSnt", &contact.rst_sent},
                                                               {"RstRcv", &contact.rst_rcvd},
                                                               {"Name", &contact.name},
                                                               {"Qth", &contact.qth},
                                                               {"Domain", &contact.domain},
                                                               {"County", &contact.county},
                                                               {"Country", &contact.country},
                                                               {"DxccPrefix", &contact.dxcc_prefix},
                                                               {"Manager", &contact.manager},
                                                               {"Notes", &contact.notes},
                                                               {"Loc", &contact.loc},
                                                               {"IOTA", &contact.iota},
                                                               {"WAZ", &contact.waz},
                                                               {"ITU", &contact.itu},
                                                               {"Continent", &contact.continent},
                                                               {"ExchSnt", &contact.exch_sent},
                                                               {"ExchRcv", &contact.exch_rcv},
                                                               {"Date", &contact.date},
                                                               {"Time", &contact.time},
                                                               {"EndTime", &contact.end_time}};
  for (const auto& [name, value] : fields) {
    if (!value->empty()) set_item(name, *value);
  }
}

void Mixw::set_dial_hz(double hz) {
  dial_hz_ = hz;
  show_khz();
}

void Mixw::set_audio_hz(double hz) {
  audio_hz_ = hz;
  show_khz();
}

void Mixw::set_mode(const std::string& mode) {
  mode_ = mode;
  show(kMode, mode_);
}

std::shared_ptr<AutomationObject> Mixw::automation_object() {
  if (!object_) object_ = std::make_shared<MixwAutomation>(*this);
  return object_;
}

void Mixw::revoke_automation() {
  if (object_) object_->detach();
  object_.reset();
}

std::vector<std::string> Mixw::journal_lines(bool with_gets) const {
  std::vector<std::string> out;
  for (const auto& call : journal_) {
    if (with_gets || call.kind != AutomationCall::Kind::get) out.push_back(describe(call));
  }
  return out;
}

std::vector<std::string> Mixw::macros() const {
  std::vector<std::string> out;
  for (const auto& call : journal_) {
    if (call.kind == AutomationCall::Kind::call &&
        equals_ignoring_case(call.member, "ExecuteMacros") && call.args.size() == 1 &&
        std::holds_alternative<std::string>(call.args[0])) {
      out.push_back(std::get<std::string>(call.args[0]));
    }
  }
  return out;
}

void Mixw::run_macros(const std::string& text) {
  for (const Macro& macro : parse_macros(text)) {
    const std::string name = ascii_upper(macro.name);
    const std::string argument = macro.argument.value_or("");
    if (name == "AUDIOFQ") {
      if (const auto hz = audiofq_hz(argument)) set_audio_hz(*hz);
    } else if (name == "ZFQ") {
      if (const auto hz = zfq_hz(argument)) set_dial_hz(*hz);
    } else if (name == "CLEARQSO") {
      clear_qso();
    } else if (name == "MODE") {
      set_mode(argument);
    } else if (name == "BAUDRATE") {
      baud_rate_ = argument;
    } else if (name == "JUMPTOTXFQ") {
      ++tx_jumps_;
    }
  }
}

void Mixw::show(const std::string& name, const std::string& value) {
  auto& current = items_[name];
  if (current == value) return;
  current = value;
  if (item_sink_) item_sink_(kQsoTopic, name, value);
}

void Mixw::show_khz() { show(kKhz, khz_item_text(dial_hz_ + audio_hz_)); }

}  // namespace vav::peers
