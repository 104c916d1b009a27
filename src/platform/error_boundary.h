#pragma once
// The edge between the program's handlers and whatever dispatches them: the event loop's
// tasks, window procedures. Nothing may unwind through the system's dispatch, and nothing may
// vanish there either: an exception that reaches a boundary goes to the reporter the program
// installed (its error log) under the boundary's procedure name, and the dispatch goes on.
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace vav {

class ErrorBoundary {
 public:
  // Called inside the catch block, so it may rethrow to look at the exception. Whatever it
  // throws itself is dropped.
  using Reporter = std::function<void(std::string_view procedure)>;

  void set_reporter(Reporter reporter) { reporter_ = std::move(reporter); }
  bool has_reporter() const { return static_cast<bool>(reporter_); }

  // Call only inside a catch block: hands the exception being handled to the reporter.
  // `procedure` is "Module.Procedure", with what is known of the event in parentheses.
  void report_current(std::string_view procedure) const noexcept {
    try {
      if (!reporter_) return;
      const Reporter reporter = reporter_;  // the reporter may replace itself
      reporter(procedure);
    } catch (...) {
    }
  }
  // As report_current, the name made by `make_name()` only when there is something to report.
  template <class MakeName>
  void report_current_as(MakeName&& make_name) const noexcept {
    try {
      if (!reporter_) return;
      const std::string procedure = std::forward<MakeName>(make_name)();
      report_current(procedure);
    } catch (...) {
    }
  }

  // Runs `body`; an exception escaping it is reported and goes no further. False when one did.
  template <class Body>
  bool guard(std::string_view procedure, Body&& body) const noexcept {
    try {
      std::forward<Body>(body)();
      return true;
    } catch (...) {
      report_current(procedure);
      return false;
    }
  }

 private:
  Reporter reporter_;
};

}  // namespace vav
