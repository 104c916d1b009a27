#include "platform/win32/ddeml_server.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vav::win32 {
namespace {

thread_local DdemlServer* t_server = nullptr;

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

}  // namespace

DdemlServer::DdemlServer(const std::string& service, const ErrorBoundary& boundary)
    : boundary_(boundary) {
  if (t_server) throw std::logic_error("one DDE server per thread");
  t_server = this;
  UINT result = DdeInitializeA(
      &instance_, &DdemlServer::callback,
      APPCLASS_STANDARD | CBF_FAIL_POKES | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0);
  if (result != DMLERR_NO_ERROR) {
    t_server = nullptr;
    throw std::runtime_error("DdeInitializeA failed");
  }
  service_ = DdeCreateStringHandleA(instance_, service.c_str(), CP_WINANSI);
}

DdemlServer::~DdemlServer() {
  if (registered_) DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
  if (service_) DdeFreeStringHandle(instance_, service_);
  DdeUninitialize(instance_);  // ends every open conversation
  t_server = nullptr;
}

void DdemlServer::serve(const std::string& topic, ExecuteHandler on_execute) {
  topics_[upper(topic)] = std::move(on_execute);
  register_service();
}

void DdemlServer::stop(const std::string& topic) {
  const std::string key = upper(topic);
  topics_.erase(key);
  std::vector<HCONV> ending;
  for (const auto& [conv, conv_topic] : conversations_) {
    if (conv_topic == key) ending.push_back(conv);
  }
  for (HCONV conv : ending) {
    conversations_.erase(conv);
    DdeDisconnect(conv);
  }
}

void DdemlServer::register_service() {
  if (registered_) return;
  registered_ = DdeNameService(instance_, service_, nullptr, DNS_REGISTER) != nullptr;
}

std::string DdemlServer::key_of(HSZ hsz) const {
  DWORD length = DdeQueryStringA(instance_, hsz, nullptr, 0, CP_WINANSI);
  std::string text(length + 1, '\0');
  DdeQueryStringA(instance_, hsz, text.data(), length + 1, CP_WINANSI);
  text.resize(length);
  return upper(std::move(text));
}

HDDEDATA CALLBACK DdemlServer::callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                        HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  if (!t_server) return nullptr;
  // Nothing may unwind through DDEML, nor vanish there: a failure is reported, and an
  // execute whose handler failed is refused.
  HDDEDATA result = nullptr;
  const auto procedure = [type] {
    char name[48];
    std::snprintf(name, sizeof name, "DDEServer.Callback(type 0x%04X)", type);
    return std::string(name);
  };
  if (t_server->boundary_.guard(procedure, [&] {
        result = t_server->on_transaction(type, format, conv, hsz1, hsz2, data);
      })) {
    return result;
  }
  return type == XTYP_EXECUTE ? reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED) : nullptr;
}

HDDEDATA DdemlServer::on_transaction(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                     HDDEDATA data) {
  switch (type) {
    case XTYP_CONNECT:  // hsz1 topic, hsz2 service
      return reinterpret_cast<HDDEDATA>(static_cast<UINT_PTR>(
          DdeCmpStringHandles(hsz2, service_) == 0 && topics_.count(key_of(hsz1)) > 0));
    case XTYP_CONNECT_CONFIRM:
      conversations_[conv] = key_of(hsz1);
      return nullptr;
    case XTYP_DISCONNECT:
      conversations_.erase(conv);
      return nullptr;
    case XTYP_EXECUTE:
      return on_execute(conv, data);
    case XTYP_ADVSTART:  // accepted; no value ever changes, so no data follows
      return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
      if (format != CF_TEXT) return nullptr;
      return DdeCreateDataHandle(instance_, reinterpret_cast<LPBYTE>(const_cast<char*>("")), 1, 0,
                                 hsz2, CF_TEXT, 0);
    default:
      return nullptr;
  }
}

HDDEDATA DdemlServer::on_execute(HCONV conv, HDDEDATA data) {
  auto refused = reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
  auto conversation = conversations_.find(conv);
  if (conversation == conversations_.end()) return refused;
  auto topic = topics_.find(conversation->second);
  if (topic == topics_.end() || !topic->second) return refused;
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string command(size, '\0');
  if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(command.data()), size, 0);
  command.resize(std::strlen(command.c_str()));  // the terminating zero, and padding after it
  ExecuteHandler handler = topic->second;        // the handler may stop serving its own topic
  return handler(command) ? reinterpret_cast<HDDEDATA>(DDE_FACK) : refused;
}

}  // namespace vav::win32
