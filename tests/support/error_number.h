#pragma once
// The runtime number an action fails with, or 0 when it succeeds.
#include <functional>

#include "errors/runtime_error.h"

namespace vav::testing {

inline int error_number_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace vav::testing
