#pragma once
// COM automation: the running object of a ProgID (GetActiveObject, never CoCreateInstance)
// and its members called by name through IDispatch.
#include "platform/automation.h"

namespace vav::win32 {

class WinAutomation final : public Automation {
 public:
  // Joins the calling thread to a single-threaded apartment for the adapter's lifetime.
  WinAutomation();
  ~WinAutomation() override;
  WinAutomation(const WinAutomation&) = delete;
  WinAutomation& operator=(const WinAutomation&) = delete;

  std::shared_ptr<AutomationObject> get_active_object(const std::string& prog_id) override;

 private:
  bool uninitialize_ = false;
};

}  // namespace vav::win32
