#pragma once
// The running-object table in process: peers register automation objects under a ProgID;
// the program takes them with get_active_object.
#include <map>
#include <memory>
#include <string>

#include "platform/automation.h"

namespace vav::sim {

class SimAutomation final : public Automation {
 public:
  std::shared_ptr<AutomationObject> get_active_object(const std::string& prog_id) override;

  void register_object(const std::string& prog_id, std::shared_ptr<AutomationObject> object);
  void revoke(const std::string& prog_id);
  bool registered(const std::string& prog_id) const;

 private:
  std::map<std::string, std::shared_ptr<AutomationObject>> objects_;
};

}  // namespace vav::sim
