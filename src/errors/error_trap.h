#pragma once
// The program's one way of trapping errors. A procedure that traps its errors runs its body
// through `trapped`: whatever the body throws becomes a RuntimeError (a fault of the
// program itself is "Out of memory" or "Internal error") and is reported under the
// procedure's "Module.Procedure" name; the procedure then ends normally, so nothing escapes
// into the event loop. Where an error is passed over on purpose, the helper says so by its
// name (`passing_over_errors`), and a step that must undo something when it fails uses
// `OnFailure` rather than catching and rethrowing.
//
// Apart from the boundaries of the event loop and the window procedures, this file holds
// the program's only catch-all handlers.
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "errors/runtime_error.h"

namespace vav {

// Inside a catch block: the exception being handled as the runtime error to report. A fault
// of the program itself keeps what it says about itself after the standard description.
inline RuntimeError escaped_error() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(err::kOutOfMemory);
  } catch (const std::exception& e) {
    return RuntimeError(err::kInternalError,
                        standard_description(err::kInternalError) + " (" + e.what() + ")");
  } catch (...) {
    return RuntimeError(err::kInternalError);
  }
}

// Runs `body`; what it throws is reported as report(const RuntimeError&, procedure).
template <class Report, class Body>
void trapped(Report&& report, std::string_view procedure, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    report(escaped_error(), procedure);
  }
}

// Runs `body` and passes over whatever it throws: the step is abandoned at its first error
// and the caller goes on. For steps whose failure is of no consequence to what follows.
template <class Body>
void passing_over_errors(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

// The value `body` returns, or `fallback` when it throws.
template <class T, class Body>
T value_or_fallback(T fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

// Runs `undo` when the scope it guards is left by an exception, which then goes on its way.
template <class Undo>
class OnFailure {
 public:
  explicit OnFailure(Undo undo) : undo_(std::move(undo)) {}
  ~OnFailure() {
    if (std::uncaught_exceptions() > exceptions_at_start_) undo_();
  }
  OnFailure(const OnFailure&) = delete;
  OnFailure& operator=(const OnFailure&) = delete;

 private:
  Undo undo_;
  int exceptions_at_start_ = std::uncaught_exceptions();
};

}  // namespace vav
