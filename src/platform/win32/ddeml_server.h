#pragma once
// Topics of the program's own DDE service, on one ANSI DDEML instance (an ANSI raw client's
// execute would reach a Unicode instance as UTF-16). Executes go to the topic's handler and
// are acknowledged or refused by its answer; links and requests are accepted harmlessly with
// an empty value; pokes are refused.
//
// Hazard: DDEML callbacks carry no pointer of ours, so the callback finds its server through
// the one thread-local pointer below. One server per thread; DDEML calls the callback only on
// the thread that made the instance.
#include <windows.h>
// after windows.h, which it needs
#include <ddeml.h>

#include <map>
#include <string>

#include "platform/dde.h"
#include "platform/error_boundary.h"

namespace vav::win32 {

class DdemlServer {
 public:
  // What escapes a handler is reported at `boundary` (the event loop's) and refused.
  DdemlServer(const std::string& service, const ErrorBoundary& boundary);
  ~DdemlServer();
  DdemlServer(const DdemlServer&) = delete;
  DdemlServer& operator=(const DdemlServer&) = delete;

  void serve(const std::string& topic, ExecuteHandler on_execute);
  // Ends the topic's conversations; later initiates on it find nobody.
  void stop(const std::string& topic);

 private:
  static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
  HDDEDATA on_transaction(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data);
  HDDEDATA on_execute(HCONV conv, HDDEDATA data);
  std::string key_of(HSZ hsz) const;
  void register_service();

  const ErrorBoundary& boundary_;
  DWORD instance_ = 0;
  HSZ service_ = nullptr;
  bool registered_ = false;
  std::map<std::string, ExecuteHandler> topics_;  // by upper-case name: DDE names ignore case
  std::map<HCONV, std::string> conversations_;    // open conversations and their topic keys
};

}  // namespace vav::win32
