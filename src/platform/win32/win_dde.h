#pragma once
// The DDE port: client conversations on raw messages, the program's own topics on DDEML.
#include <memory>
#include <string>

#include "platform/dde.h"
#include "platform/event_loop.h"

namespace vav::win32 {

class DdemlServer;

class WinDde final : public Dde {
 public:
  // `service_name` is the executable's name without extension (WinSystem::exe_name()).
  WinDde(EventLoop& loop, std::string service_name);
  ~WinDde() override;

  OpenedConversation open(const LinkAddress& address, Millis timeout, LinkEvents events) override;
  void serve_topic(const std::string& topic, ExecuteHandler on_execute) override;
  void stop_serving(const std::string& topic) override;
  std::string service_name() const override { return service_name_; }

 private:
  EventLoop& loop_;
  std::string service_name_;
  std::unique_ptr<DdemlServer> server_;  // made at the first topic served
};

}  // namespace vav::win32
