#pragma once
// One ANSI DDEML instance per thread that serves any number of service names, each for a
// ServedProgram; DdemlService is the DdeService view of one of them. Hot and warm links,
// requests and executes are served; pokes are refused. An execute left unanswered is
// blocked (CBR_BLOCK) until resume().
//
// Hazard: DDEML callbacks carry no pointer of ours and do not name their instance, so the
// callback finds its host through the one thread-local pointer; hence one host per thread.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <ddeml.h>

#include <map>
#include <memory>
#include <string>

#include "peers/win32/dde_service.h"

namespace vav::peers::win32 {

class DdemlHost {
 public:
  DdemlHost();
  ~DdemlHost();
  DdemlHost(const DdemlHost&) = delete;
  DdemlHost& operator=(const DdemlHost&) = delete;

  void add_service(const std::string& service, ServedProgram& program);
  // Withdraws the name and ends its conversations.
  void remove_service(const std::string& service);
  void advise(const std::string& topic, const std::string& item);
  void close_conversations(const std::string& service);
  void resume();

 private:
  struct Served {
    std::string name;
    HSZ hsz = nullptr;
    ServedProgram* program = nullptr;
  };
  struct Conversation {
    std::string service_key;
    std::string topic;
  };

  static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
  HDDEDATA on_transaction(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data);
  HDDEDATA on_connect(HSZ topic, HSZ service);
  HDDEDATA on_execute(HCONV conv, const Conversation& where, HDDEDATA data);
  HDDEDATA text_data(HSZ item, const std::string& value);
  std::string text_of(HSZ hsz) const;
  Served* served(const std::string& service_key);

  DWORD instance_ = 0;
  std::map<std::string, Served> services_;       // by upper-case name
  std::map<HCONV, Conversation> conversations_;  // open server conversations
};

class DdemlService final : public DdeService {
 public:
  DdemlService(DdemlHost& host, std::string service, ServedProgram& program);
  ~DdemlService() override;

  void advise(const std::string& topic, const std::string& item) override;
  void close_conversations() override;
  void resume() override;
  bool acknowledge_late(std::uint32_t) override { return false; }

 private:
  DdemlHost& host_;
  std::string service_;
};

}  // namespace vav::peers::win32
