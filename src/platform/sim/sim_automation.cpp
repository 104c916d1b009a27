#include "platform/sim/sim_automation.h"

#include <utility>

#include "errors/runtime_error.h"
#include "platform/sim/sim_text.h"

namespace vav::sim {

// ProgIDs are registry key names: matched without regard to letter case.
std::shared_ptr<AutomationObject> SimAutomation::get_active_object(const std::string& prog_id) {
  const auto found = objects_.find(ascii_lower(prog_id));
  if (found == objects_.end()) throw RuntimeError(err::kCannotCreateObject);
  return found->second;
}

void SimAutomation::register_object(const std::string& prog_id,
                                    std::shared_ptr<AutomationObject> object) {
  objects_[ascii_lower(prog_id)] = std::move(object);
}

void SimAutomation::revoke(const std::string& prog_id) { objects_.erase(ascii_lower(prog_id)); }

bool SimAutomation::registered(const std::string& prog_id) const {
  return objects_.count(ascii_lower(prog_id)) != 0;
}

}  // namespace vav::sim
