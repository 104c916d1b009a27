#pragma once
// The program's four ways of trapping an error, each named for what it does:
//
//   reporting_errors     runs a procedure's body; what it throws is reported under the
//                        procedure's "Module.Procedure" name, and the procedure ends normally
//   passing_over_errors  runs a step whose failure is of no consequence: the step is
//                        abandoned at its first error and the caller goes on (with a fallback
//                        value, for a step that computes one)
//   ErrorBoundary::guard (platform/error_boundary.h) the edge of the event loop and of the
//                        window procedures: what escapes a handler is reported there
//   UndoOnFailure        undoes a step when the scope it guards is left by an exception,
//                        which then goes on its way
//
// Whatever is thrown becomes a RuntimeError; a fault of the program itself is "Out of memory"
// or "Internal error". Apart from the catch blocks of the adapters that turn a system's
// failure into a RuntimeError, this file and the boundary hold the program's only catch-alls.
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "errors/runtime_error.h"

namespace vav {
namespace detail {

// Inside a catch block: the exception being handled as the runtime error to report. A fault
// of the program itself keeps what it says about itself after the standard description.
inline RuntimeError current_error() {
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

}  // namespace detail

// Runs `body`; what it throws is handed to report(const RuntimeError&, procedure).
template <class Report, class Body>
void reporting_errors(Report&& report, std::string_view procedure, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    report(detail::current_error(), procedure);
  }
}

// Runs `body` and passes over whatever it throws.
template <class Body>
void passing_over_errors(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

// The value `body` returns, or `fallback` when it throws.
template <class T, class Body>
T passing_over_errors(T fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

// Runs `undo` when the scope it guards is left by an exception, which then goes on its way.
template <class Undo>
class UndoOnFailure {
 public:
  explicit UndoOnFailure(Undo undo) : undo_(std::move(undo)) {}
  ~UndoOnFailure() {
    if (std::uncaught_exceptions() > exceptions_at_start_) undo_();
  }
  UndoOnFailure(const UndoOnFailure&) = delete;
  UndoOnFailure& operator=(const UndoOnFailure&) = delete;

 private:
  Undo undo_;
  int exceptions_at_start_ = std::uncaught_exceptions();
};

}  // namespace vav
