#pragma once
// MixW's stand-in as a Windows program: the DDE topic "MixW|QSO" (hot and warm links and
// requests on its items; executes refused) on DDEML or raw messages, and the automation object
// "MixW2.Application" in the running-object table.
//
// Journal lines (besides the DDE connect/link/request/disconnect/close notes):
//   "start MixW raw|ddeml", "registry failed <roots>", "rot failed <hresult>", "appear", "vanish",
//   "automation <call>" for every call that reached the object ("automation get Mode",
//   "automation put audiofq(1200)", "automation call ExecuteMacros(\"<CLEARQSO>\")"),
//   "automation failed <hresult hex> <member>" after a failed one,
//   "item QSO <item> <value>", "execute refused QSO <command>", "exit".
// Control commands: set <Item> <value> (the operator types; value may be empty), write,
//   clear, dial <hz>, audio <hz>, mode <mode>, vanish, appear, exit.
#include <memory>
#include <optional>
#include <string>

#include "peers/mixw.h"
#include "peers/win32/com_registration.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/ddeml_host.h"
#include "peers/win32/journal.h"
#include "peers/win32/task_queue.h"

namespace vav::peers::win32 {

// The stand-in's own class id for "MixW2.Application".
inline constexpr CLSID kMixwStandinClsid = {
    0x7c3e5a2b, 0x9d41, 0x4e6f, {0xa8, 0xb3, 0x2f, 0x5d, 0x6c, 0x7e, 0x8a, 0x91}};

class MixwStandin final : public ServedProgram {
 public:
  MixwStandin(Transport transport, DdemlHost& host, Journal& journal, TaskQueue& tasks);
  ~MixwStandin() override;

  // Publishes the QSO topic and the automation object; no-op while published.
  void appear();
  // Withdraws both: conversations end, held references fail from now on.
  void vanish();
  std::optional<ControlChannel::Action> control(const ControlCommand& command);

  bool has_topic(const std::string& topic) const override;
  std::optional<std::string> item(const std::string& topic, const std::string& item) const override;
  Answer execute(const std::string& topic, const std::string& command) override;
  void note(const std::string& line) override { journal_.write(line); }

 private:
  void journal_automation(const std::string& member_on_failure, long hresult);
  void quit();

  Transport transport_;
  DdemlHost& host_;
  Journal& journal_;
  TaskQueue& tasks_;
  Mixw mixw_;
  std::size_t journaled_calls_ = 0;
  std::unique_ptr<DdeService> service_;
  std::unique_ptr<ActiveObject> active_;
};

// The QSO item of that name in any letter case, spelled as MixW spells it.
std::optional<std::string> qso_item_named(const std::string& name);

}  // namespace vav::peers::win32
