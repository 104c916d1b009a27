#include "dde/dxlab_senders.h"

#include "common/common.h"

namespace vav {

DXLabControlModule::DXLabControlModule(DDEClientModule& clients, DDECommon& codec, Common& common)
    : clients_(clients), codec_(codec), common_(common) {}

SendResult DXLabControlModule::send(int server, LinkedText& conversation,
                                    const std::string& command, const char* debug_key) {
  if (!clients_.IsServerConnected(server)) return SendResult::not_connected;
  SendResult result = SendResult::delivered;
  try {
    conversation.link_execute(command);
  } catch (const RuntimeError& e) {
    // A failed command only marks its program disconnected: no message, no log entry. A
    // program that crashed leaves dead conversations behind; they go with it, so the next
    // connection pass links it afresh once it is back.
    clients_.drop_dead_links(server);
    clients_.SetServerConnect(server, false);
    result = e.number() == err::kDdeTimeout ? SendResult::unknown : SendResult::refused;
  }
  if (result == SendResult::delivered && debug_key != nullptr && common_.DebugMode) {
    common_.DebugSettings(debug_key, command);
  }
  if (on_result) on_result(server, result);
  return result;
}

SendResult DXLabControlModule::SendXcvrFreqMode(const std::string& frequency,
                                                const std::string& mode) {
  return send(dxlab::kCommander, clients_.form().DDETransceiverControl,
              application_prefix(dxlab::kCommander) + dxlab::kXcvrFreqMode +
                  codec_.EncodeField(dxlab::kXcvrFreqField, frequency) +
                  codec_.EncodeField(dxlab::kXcvrModeField, mode),
              nullptr);
}

SendResult DXLabControlModule::SendCheck(const std::string& callsign) {
  return send(dxlab::kDXKeeper, clients_.form().DDELog,
              application_prefix(dxlab::kDXKeeper) + dxlab::kCheck + callsign,
              "DXKeeperLookupTickleSentString");
}

SendResult DXLabControlModule::SendLookup(const std::string& callsign) {
  return send(dxlab::kDXView, clients_.form().DDELookup,
              application_prefix(dxlab::kDXView) + dxlab::kLookup + callsign,
              "DXViewTickleSentString");
}

SendResult DXLabControlModule::SendGetQslInfo(const std::string& callsign) {
  return send(dxlab::kPathfinder, clients_.form().PathfinderDDECommand,
              application_prefix(dxlab::kPathfinder) + dxlab::kGetQslInfo +
                  codec_.EncodeField(dxlab::kCallsignField, callsign),
              "PathfinderLookupTickleSentString");
}

SendResult DXLabControlModule::SendToDXKeeper(const std::string& execute_string) {
  return send(dxlab::kDXKeeper, clients_.form().DDELog, execute_string, nullptr);
}

SendResult DXLabControlModule::ShutdownCommander() {
  return send(dxlab::kCommander, clients_.form().DDETransceiverControl,
              application_prefix(dxlab::kCommander) + dxlab::kShutdown, nullptr);
}

SendResult DXLabControlModule::ShutdownDXView() {
  return send(dxlab::kDXView, clients_.form().DDELookup,
              application_prefix(dxlab::kDXView) + dxlab::kShutdown, nullptr);
}

SendResult DXLabControlModule::ShutdownDXKeeper() {
  return send(dxlab::kDXKeeper, clients_.form().DDELog,
              application_prefix(dxlab::kDXKeeper) + dxlab::kShutdown, nullptr);
}

SendResult DXLabControlModule::ShutdownPathfinder() {
  return send(dxlab::kPathfinder, clients_.form().PathfinderDDECommand,
              application_prefix(dxlab::kPathfinder) + dxlab::kShutdown, nullptr);
}

}  // namespace vav
