#pragma once
// MixW's stand-in: the QSO window behind the DDE topic "MixW|QSO", the radio state (dial,
// audio offset, mode, shown in the "Khz" and "Mode" items) and the automation object
// "MixW2.Application" that drives them. Every automation call is journaled in order.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "peers/peer_hooks.h"
#include "platform/automation.h"

namespace vav::peers {

inline constexpr const char* kMixwService = "MixW";
inline constexpr const char* kQsoTopic = "QSO";
inline constexpr const char* kMixwProgId = "MixW2.Application";
// How long "Command" says "WRITE" before MixW empties it again.
inline constexpr std::uint32_t kCommandResetMs = 100;

// The items of the QSO topic.
const std::vector<std::string>& qso_items();

// The "Khz" item: hertz as kHz with three decimals and "." ("14070.150").
std::string khz_item_text(double hz);

struct AutomationCall {
  enum class Kind { get, put, call };
  Kind kind = Kind::call;
  std::string member;         // as the caller spelled it
  std::vector<Variant> args;  // the value of a put; the arguments of a call
};
// "get FqA", "put Mode(\"CW\")", "call SetQsoData(0, \"Q1ABC\")".
std::string describe(const AutomationCall& call);

// What an operator types into MixW's QSO window; empty fields are left alone.
struct Contact {
  std::string call{};
  std::string rst_sent{};
  std::string rst_rcvd{};
  std::string name{};
  std::string qth{};
  std::string domain{};
  std::string county{};
  std::string country{};
  std::string dxcc_prefix{};
  std::string manager{};
  std::string notes{};
  std::string loc{};
  std::string iota{};
  std::string waz{};
  std::string itu{};
  std::string continent{};
  std::string exch_sent{};
  std::string exch_rcv{};
  std::string date{};
  std::string time{};
  std::string end_time{};
};

class MixwAutomation;

class Mixw {
 public:
  explicit Mixw(double dial_hz = 14'070'000, double audio_hz = 1000, std::string mode = "BPSK31");
  ~Mixw();
  Mixw(const Mixw&) = delete;
  Mixw& operator=(const Mixw&) = delete;

  void set_item_sink(ItemSink sink) { item_sink_ = std::move(sink); }
  void set_defer(Defer defer) { defer_ = std::move(defer); }

  // --- the QSO window ---
  // The item's text; nullopt for an item the topic does not have.
  std::optional<std::string> item(const std::string& name) const;
  // As the operator typing: the sink hears of every change. "Command" set to "WRITE" is
  // emptied again kCommandResetMs later by MixW itself. Throws RuntimeError
  // (kInvalidProcedureCall) for an item the topic does not have.
  void set_item(const std::string& name, const std::string& value);
  // Empties the operator's fields; "Khz" and "Mode" show the radio and stay.
  void clear_qso();
  void work_station(const Contact& contact);
  void write_qso() { set_item("Command", "WRITE"); }

  // --- the radio ---
  double dial_hz() const { return dial_hz_; }
  double audio_hz() const { return audio_hz_; }
  const std::string& mode() const { return mode_; }
  void set_dial_hz(double hz);
  void set_audio_hz(double hz);
  void set_mode(const std::string& mode);
  const std::string& baud_rate() const { return baud_rate_; }  // last "<BAUDRATE:x>"
  int tx_jumps() const { return tx_jumps_; }                   // "<JUMPTOTXFQ>" count

  // --- automation ---
  // The live automation object, made on first use.
  std::shared_ptr<AutomationObject> automation_object();
  // MixW went away: references held to the object fail from now on (kServerUnavailable);
  // the next automation_object() is a new instance.
  void revoke_automation();

  const std::vector<AutomationCall>& journal() const { return journal_; }
  // The journal as describe() lines; gets are left out unless asked for.
  std::vector<std::string> journal_lines(bool with_gets = false) const;
  // The texts passed to ExecuteMacros, in order.
  std::vector<std::string> macros() const;
  void clear_journal() { journal_.clear(); }

  // Used by the automation object.
  void record(AutomationCall call) { journal_.push_back(std::move(call)); }
  void run_macros(const std::string& text);

 private:
  void show(const std::string& name, const std::string& value);
  void show_khz();

  std::map<std::string, std::string> items_;
  double dial_hz_;
  double audio_hz_;
  std::string mode_;
  std::string baud_rate_;
  int tx_jumps_ = 0;
  std::vector<AutomationCall> journal_;
  std::shared_ptr<MixwAutomation> object_;
  ItemSink item_sink_;
  Defer defer_;
};

}  // namespace vav::peers
