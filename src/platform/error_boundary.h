#pragma once
// The edge between the program's handlers and whatever dispatches them: the event loop's
// tasks, window procedures, the DDE server's callback. Nothing may unwind through the
// system's dispatch, and nothing may vanish there either: an exception that reaches a
// boundary goes to the reporter the program installed (its error log) under the boundary's
// procedure name, and the dispatch goes on.
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "errors/error_trap.h"

namespace vav {

class ErrorBoundary {
 public:
  // Whatever the reporter throws itself is dropped.
  using Reporter = std::function<void(const RuntimeError& error, std::string_view procedure)>;

  void set_reporter(Reporter reporter) { reporter_ = std::move(reporter); }
  bool has_reporter() const { return static_cast<bool>(reporter_); }

  // Runs `body`; an exception escaping it is reported and goes no further. False when one
  // did. `procedure` is "Module.Procedure", with what is known of the event in parentheses:
  // a text, or a callable that makes it only when there is something to report.
  template <class Procedure, class Body>
  bool guard(Procedure&& procedure, Body&& body) const noexcept {
    try {
      std::forward<Body>(body)();
      return true;
    } catch (...) {
      const RuntimeError error = detail::current_error();
      passing_over_errors([&] {
        if (!reporter_) return;
        const Reporter reporter = reporter_;  // the reporter may replace itself
        reporter(error, name_of(std::forward<Procedure>(procedure)));
      });
      return false;
    }
  }

 private:
  template <class Procedure>
  static std::string name_of(Procedure&& procedure) {
    if constexpr (std::is_invocable_v<Procedure>) {
      return std::string(procedure());
    } else {
      return std::string(std::string_view(procedure));
    }
  }

  Reporter reporter_;
};

}  // namespace vav
