#pragma once
// The program's DDE endpoint on the in-process bus: its conversations go to the bus and
// its own topics are servers on the bus under its service name. The bus must outlive it.
#include <set>
#include <string>

#include "platform/dde.h"
#include "platform/sim/sim_dde_bus.h"

namespace vav::sim {

class SimDde final : public Dde {
 public:
  explicit SimDde(SimDdeBus& bus, std::string service_name = "Vavizorur");
  // Stops serving every topic it still offers.
  ~SimDde() override;
  SimDde(const SimDde&) = delete;
  SimDde& operator=(const SimDde&) = delete;

  OpenedConversation open(const LinkAddress& address, Millis timeout, LinkEvents events) override;
  // A peer's execute reaches `on_execute`; false refuses it. Links on the topic start with
  // the empty value.
  void serve_topic(const std::string& topic, ExecuteHandler on_execute) override;
  void stop_serving(const std::string& topic) override;
  std::string service_name() const override { return service_; }

 private:
  SimDdeBus& bus_;
  std::string service_;
  std::set<std::string> topics_;
};

}  // namespace vav::sim
