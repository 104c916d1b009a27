#pragma once
// One sender per command that the program sends to a DXLab program. Each asks whether its
// target is connected, executes the command on the target's command conversation and, when
// the execute fails, marks the target disconnected. Senders never throw.
#include <functional>
#include <string>

#include "dde/dde_client_module.h"

namespace vav {

class Common;

// How an execute ended.
enum class SendResult {
  not_connected,  // nothing was sent
  delivered,      // the program acknowledged it
  refused,        // certainly not performed (refused, or no conversation)
  unknown,        // no answer within the time-out: it may or may not have been performed
};

class DXLabControlModule {
 public:
  DXLabControlModule(DDEClientModule& clients, DDECommon& codec, Common& common);

  SendResult SendXcvrFreqMode(const std::string& frequency, const std::string& mode);
  SendResult SendCheck(const std::string& callsign);
  SendResult SendLookup(const std::string& callsign);
  SendResult SendGetQslInfo(const std::string& callsign);
  // A "log" or "eqsllog" command to DXKeeper, built by the QSO logging (which may keep it
  // waiting first).
  SendResult SendToDXKeeper(const std::string& execute_string);
  SendResult ShutdownCommander();
  SendResult ShutdownDXView();
  SendResult ShutdownDXKeeper();
  SendResult ShutdownPathfinder();

  // Told the outcome of every execute that was tried (a target not connected is not tried).
  std::function<void(int server, SendResult result)> on_result;

 private:
  SendResult send(int server, LinkedText& conversation, const std::string& command,
                  const char* debug_key);

  DDEClientModule& clients_;
  DDECommon& codec_;
  Common& common_;
};

}  // namespace vav
