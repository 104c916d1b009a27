#include "platform/sim/sim_dde.h"

#include <utility>

namespace vav::sim {

SimDde::SimDde(SimDdeBus& bus, std::string service_name)
    : bus_(bus), service_(std::move(service_name)) {}

SimDde::~SimDde() {
  for (const auto& topic : topics_) bus_.stop_server(service_, topic);
}

OpenedConversation SimDde::open(const LinkAddress& address, Millis timeout, LinkEvents events) {
  return bus_.open(address, timeout, std::move(events));
}

void SimDde::serve_topic(const std::string& topic, ExecuteHandler on_execute) {
  ServerTopic server;
  // As DDEML's callback: a handler's failure is reported at the loop's boundary and the
  // execute refused.
  server.on_execute = [&boundary = bus_.loop().boundary(), procedure = "DDEServer.Execute(" + topic + ")",
                       handler = std::move(on_execute)](const std::string& command) {
    if (!handler) return Reply::accept;
    bool accepted = false;
    boundary.guard(procedure, [&] { accepted = handler(command); });
    return accepted ? Reply::accept : Reply::refuse;
  };
  bus_.start_server(service_, topic, std::move(server));
  topics_.insert(topic);
}

void SimDde::stop_serving(const std::string& topic) {
  bus_.stop_server(service_, topic);
  topics_.erase(topic);
}

}  // namespace vav::sim
