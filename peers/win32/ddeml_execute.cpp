#include "peers/win32/ddeml_execute.h"

#include <windows.h>
// windows.h first: the headers below need its types.
#include <ddeml.h>

#include "errors/runtime_error.h"

namespace vav::peers::win32 {
namespace {

HDDEDATA CALLBACK client_callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

class ClientInstance {
 public:
  ClientInstance() {
    ok_ = DdeInitializeA(&id_, &client_callback, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS,
                         0) == DMLERR_NO_ERROR;
  }
  ~ClientInstance() {
    if (ok_) DdeUninitialize(id_);
  }
  ClientInstance(const ClientInstance&) = delete;
  ClientInstance& operator=(const ClientInstance&) = delete;
  bool ok() const { return ok_; }
  DWORD id() const { return id_; }

 private:
  DWORD id_ = 0;
  bool ok_ = false;
};

class StringHandle {
 public:
  StringHandle(DWORD instance, const std::string& text)
      : instance_(instance), hsz_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
  ~StringHandle() {
    if (hsz_) DdeFreeStringHandle(instance_, hsz_);
  }
  StringHandle(const StringHandle&) = delete;
  StringHandle& operator=(const StringHandle&) = delete;
  HSZ get() const { return hsz_; }

 private:
  DWORD instance_;
  HSZ hsz_;
};

}  // namespace

ExecuteResult execute_once(const std::string& service, const std::string& topic,
                           const std::string& command, std::uint32_t timeout_ms) {
  ClientInstance instance;
  if (!instance.ok()) return {};
  StringHandle service_hsz(instance.id(), service);
  StringHandle topic_hsz(instance.id(), topic);
  HCONV conv = DdeConnect(instance.id(), service_hsz.get(), topic_hsz.get(), nullptr);
  if (conv == nullptr) {
    return {ExecuteOutcome::no_conversation, DdeGetLastError(instance.id())};
  }
  DWORD result = 0;
  const HDDEDATA done =
      DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(command.c_str())),
                           static_cast<DWORD>(command.size() + 1), conv, nullptr, CF_TEXT,
                           XTYP_EXECUTE, timeout_ms, &result);
  ExecuteResult out{ExecuteOutcome::accepted, 0};
  if (done == nullptr) {
    out.dde_error = DdeGetLastError(instance.id());
    out.outcome = out.dde_error == DMLERR_EXECACKTIMEOUT ? ExecuteOutcome::timeout
                  : out.dde_error == DMLERR_NOTPROCESSED ? ExecuteOutcome::refused
                                                         : ExecuteOutcome::failed;
  }
  DdeDisconnect(conv);
  return out;
}

const char* outcome_word(ExecuteOutcome outcome) {
  switch (outcome) {
    case ExecuteOutcome::accepted:
      return "accepted";
    case ExecuteOutcome::refused:
      return "refused";
    case ExecuteOutcome::timeout:
      return "timeout";
    case ExecuteOutcome::no_conversation:
      return "noconversation";
    case ExecuteOutcome::failed:
      break;
  }
  return "failed";
}

int runtime_error_of(ExecuteOutcome outcome) {
  switch (outcome) {
    case ExecuteOutcome::accepted:
      return 0;
    case ExecuteOutcome::refused:
      return err::kDdeRefused;
    case ExecuteOutcome::timeout:
      return err::kDdeTimeout;
    case ExecuteOutcome::no_conversation:
      return err::kNoDdeResponse;
    case ExecuteOutcome::failed:
      break;
  }
  return err::kDdeNoChannel;
}

}  // namespace vav::peers::win32
