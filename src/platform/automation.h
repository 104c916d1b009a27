#pragma once
// COM automation as the program uses it: the running instance of a ProgID, its members
// called by name at run time with a small variant type.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace vav {

using Variant = std::variant<std::monostate, bool, std::int32_t, double, std::string>;

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Each throws RuntimeError: kMemberNotSupported for an unknown member, kServerUnavailable
  // when the server has gone, kAutomationError for any other failure.
  virtual Variant get(const std::string& member) = 0;
  virtual void put(const std::string& member, const Variant& value) = 0;
  virtual Variant call(const std::string& member, const std::vector<Variant>& args) = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;
  // The running object registered for prog_id; never starts a new instance.
  // Throws RuntimeError(kCannotCreateObject) when none runs.
  virtual std::shared_ptr<AutomationObject> get_active_object(const std::string& prog_id) = 0;
};

}  // namespace vav
