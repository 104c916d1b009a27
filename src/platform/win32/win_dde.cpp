#include "platform/win32/win_dde.h"

#include "platform/win32/ddeml_server.h"
#include "platform/win32/raw_dde_conversation.h"

namespace vav::win32 {

WinDde::WinDde(EventLoop& loop, std::string service_name)
    : loop_(loop), service_name_(std::move(service_name)) {}

WinDde::~WinDde() = default;

OpenedConversation WinDde::open(const LinkAddress& address, Millis timeout, LinkEvents events) {
  return RawDdeConversation::open(loop_, address, timeout, std::move(events));
}

void WinDde::serve_topic(const std::string& topic, ExecuteHandler on_execute) {
  if (!server_) server_ = std::make_unique<DdemlServer>(service_name_, loop_.boundary());
  server_->serve(topic, std::move(on_execute));
}

void WinDde::stop_serving(const std::string& topic) {
  if (server_) server_->stop(topic);
}

}  // namespace vav::win32
