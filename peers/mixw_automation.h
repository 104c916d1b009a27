#pragma once
// "MixW2.Application" of the stand-in: properties audiofq (Hz), FqA (dial, Hz, read only)
// and Mode; methods ExecuteMacros(text) and SetQsoData(0, call). Member names match in any
// letter case, as IDispatch matches them. Once detached (MixW gone) every member throws
// kServerUnavailable.
#include <string>
#include <vector>

#include "platform/automation.h"

namespace vav::peers {

class Mixw;

class MixwAutomation final : public AutomationObject {
 public:
  explicit MixwAutomation(Mixw& mixw) : mixw_(&mixw) {}

  Variant get(const std::string& member) override;
  void put(const std::string& member, const Variant& value) override;
  Variant call(const std::string& member, const std::vector<Variant>& args) override;

  void detach() { mixw_ = nullptr; }

 private:
  Mixw& live();

  Mixw* mixw_;
};

}  // namespace vav::peers
