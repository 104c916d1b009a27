#include "peers/win32/ddeml_host.h"

#include <dde.h>

#include <stdexcept>
#include <vector>

#include "peers/peer_text.h"

namespace vav::peers::win32 {
namespace {

thread_local DdemlHost* t_host = nullptr;

HDDEDATA flag(bool value) { return reinterpret_cast<HDDEDATA>(static_cast<UINT_PTR>(value)); }
HDDEDATA ack(UINT_PTR value) { return reinterpret_cast<HDDEDATA>(value); }

}  // namespace

DdemlHost::DdemlHost() {
  if (t_host != nullptr) throw std::logic_error("one DDEML host per thread");
  const UINT result = DdeInitializeA(
      &instance_, &DdemlHost::callback,
      APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS | CBF_FAIL_POKES, 0);
  if (result != DMLERR_NO_ERROR) throw std::runtime_error("DdeInitializeA failed");
  t_host = this;
}

DdemlHost::~DdemlHost() {
  for (auto& [key, served] : services_) {
    DdeNameService(instance_, served.hsz, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance_, served.hsz);
  }
  DdeUninitialize(instance_);  // ends every conversation
  t_host = nullptr;
}

void DdemlHost::add_service(const std::string& service, ServedProgram& program) {
  Served entry{service, DdeCreateStringHandleA(instance_, service.c_str(), CP_WINANSI), &program};
  if (!DdeNameService(instance_, entry.hsz, nullptr, DNS_REGISTER)) {
    DdeFreeStringHandle(instance_, entry.hsz);
    throw std::runtime_error("DdeNameService failed for " + service);
  }
  services_[ascii_upper(service)] = entry;
}

void DdemlHost::remove_service(const std::string& service) {
  const auto found = services_.find(ascii_upper(service));
  if (found == services_.end()) return;
  DdeNameService(instance_, found->second.hsz, nullptr, DNS_UNREGISTER);
  close_conversations(service);
  DdeFreeStringHandle(instance_, found->second.hsz);
  services_.erase(found);
}

void DdemlHost::advise(const std::string& topic, const std::string& item) {
  HSZ topic_hsz = DdeCreateStringHandleA(instance_, topic.c_str(), CP_WINANSI);
  HSZ item_hsz = DdeCreateStringHandleA(instance_, item.c_str(), CP_WINANSI);
  DdePostAdvise(instance_, topic_hsz, item_hsz);
  DdeFreeStringHandle(instance_, item_hsz);
  DdeFreeStringHandle(instance_, topic_hsz);
}

void DdemlHost::close_conversations(const std::string& service) {
  const std::string key = ascii_upper(service);
  std::vector<HCONV> ending;
  for (const auto& [conv, where] : conversations_) {
    if (where.service_key == key) ending.push_back(conv);
  }
  for (HCONV conv : ending) {
    if (Served* s = served(key)) s->program->note("close " + conversations_[conv].topic);
    // Wine's DdeDisconnect does nothing for a server's conversation, so the terminate goes
    // out as DdeDisconnect would send it; the client's answer ends the conversation
    // (XTYP_DISCONNECT).
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(conv, QID_SYNC, &info) != 0 && info.hwndPartner != nullptr) {
      PostMessageA(info.hwndPartner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(info.hwnd), 0);
    }
  }
}

void DdemlHost::resume() { DdeEnableCallback(instance_, nullptr, EC_ENABLEALL); }

DdemlHost::Served* DdemlHost::served(const std::string& service_key) {
  const auto found = services_.find(service_key);
  return found == services_.end() ? nullptr : &found->second;
}

std::string DdemlHost::text_of(HSZ hsz) const {
  char text[256] = {};
  const DWORD length = DdeQueryStringA(instance_, hsz, text, sizeof text, CP_WINANSI);
  return std::string(text, length);
}

HDDEDATA CALLBACK DdemlHost::callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  if (t_host == nullptr) return nullptr;
  return t_host->on_transaction(type, format, conv, hsz1, hsz2, data);
}

HDDEDATA DdemlHost::on_connect(HSZ topic, HSZ service) {
  Served* s = served(ascii_upper(text_of(service)));
  return flag(s != nullptr && s->program->has_topic(text_of(topic)));
}

HDDEDATA DdemlHost::on_transaction(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                   HDDEDATA data) {
  if (type == XTYP_CONNECT) return on_connect(hsz1, hsz2);
  if (type == XTYP_CONNECT_CONFIRM) {
    Conversation where{ascii_upper(text_of(hsz2)), text_of(hsz1)};
    if (Served* s = served(where.service_key)) s->program->note("connect " + where.topic);
    conversations_[conv] = where;
    return nullptr;
  }
  const auto found = conversations_.find(conv);
  if (found == conversations_.end()) return nullptr;
  const Conversation where = found->second;
  if (type == XTYP_DISCONNECT) conversations_.erase(found);
  Served* s = served(where.service_key);
  if (s == nullptr) return nullptr;
  ServedProgram& program = *s->program;
  switch (type) {
    case XTYP_DISCONNECT:
      program.note("disconnect " + where.topic);
      return nullptr;
    case XTYP_ADVSTART: {
      const std::string item = text_of(hsz2);
      const bool ok = format == CF_TEXT && program.item(where.topic, item).has_value();
      program.note(std::string(ok ? "link " : "link refused ") + where.topic + " " + item);
      return flag(ok);
    }
    case XTYP_ADVSTOP:
      program.note("unlink " + where.topic + " " + text_of(hsz2));
      return nullptr;
    case XTYP_REQUEST:
    case XTYP_ADVREQ: {
      const std::string item = text_of(hsz2);
      if (type == XTYP_REQUEST) program.note("request " + where.topic + " " + item);
      const auto value = program.item(where.topic, item);
      if (format != CF_TEXT || !value) return nullptr;
      return text_data(hsz2, *value);
    }
    case XTYP_EXECUTE:
      return on_execute(conv, where, data);
    default:
      return nullptr;
  }
}

HDDEDATA DdemlHost::on_execute(HCONV, const Conversation& where, HDDEDATA data) {
  const DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  Served* s = served(where.service_key);
  if (s == nullptr) return ack(DDE_FNOTPROCESSED);
  switch (s->program->execute(where.topic, text)) {
    case Answer::accepted:
      return ack(DDE_FACK);
    case Answer::refused:
      return ack(DDE_FNOTPROCESSED);
    case Answer::none:
      break;
  }
  return CBR_BLOCK;
}

HDDEDATA DdemlHost::text_data(HSZ item, const std::string& value) {
  return DdeCreateDataHandle(instance_, reinterpret_cast<LPBYTE>(const_cast<char*>(value.c_str())),
                             static_cast<DWORD>(value.size() + 1), 0, item, CF_TEXT, 0);
}

DdemlService::DdemlService(DdemlHost& host, std::string service, ServedProgram& program)
    : host_(host), service_(std::move(service)) {
  host_.add_service(service_, program);
}

DdemlService::~DdemlService() { host_.remove_service(service_); }

void DdemlService::advise(const std::string& topic, const std::string& item) {
  host_.advise(topic, item);
}

void DdemlService::close_conversations() { host_.close_conversations(service_); }

void DdemlService::resume() { host_.resume(); }

}  // namespace vav::peers::win32
