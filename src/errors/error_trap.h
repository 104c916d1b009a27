#pragma once
// Runs a procedure that traps its own errors: a RuntimeError is reported under the
// procedure's "Module.Procedure" name and the procedure ends normally. Any other exception
// is a fault of the program itself; it is reported as "Out of memory" or "Internal error",
// so that nothing escapes into the event loop.
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "errors/runtime_error.h"

namespace vav {

inline constexpr int kOutOfMemory = 7;
inline constexpr int kInternalError = 51;

// The runtime error that stands for an exception that is not a RuntimeError.
inline RuntimeError as_runtime_error(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) return RuntimeError(kOutOfMemory);
  return RuntimeError(kInternalError);
}

// Inside a catch block: the exception being handled as the runtime error to report. A fault
// of the program itself keeps what it says about itself after the standard description.
inline RuntimeError escaped_error() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(kOutOfMemory);
  } catch (const std::exception& e) {
    return RuntimeError(kInternalError,
                        standard_description(kInternalError) + " (" + e.what() + ")");
  } catch (...) {
    return RuntimeError(kInternalError);
  }
}

// `report` is called as report(const RuntimeError&, std::string_view procedure).
template <class Report, class Body>
void trapped(Report&& report, std::string_view procedure, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (const RuntimeError& error) {
    report(error, procedure);
  } catch (const std::exception& e) {
    report(as_runtime_error(e), procedure);
  }
}

}  // namespace vav
