// What escapes a handler into the event loop: written to the error log under the loop's
// name, and the program goes on.
#include <new>
#include <stdexcept>
#include <string>

#include "station_fixture.h"

namespace vav::testing {
namespace {

using ErrorBoundaryTest = StationTest;

TEST_F(ErrorBoundaryTest, AnExceptionEscapingAHandlerIsLoggedAndTheProgramGoesOn) {
  station.mixw().start();
  start_program();
  const struct {
    std::function<void()> fault;
    std::string line;
  } cases[] = {
      {[] { throw RuntimeError(err::kDdeTimeout); },
       "program error 286 in module EventLoop.Task: " + standard_description(286)},
      {[] { throw std::bad_alloc(); },
       "program error 7 in module EventLoop.Task: " + standard_description(7)},
      {[] { throw std::logic_error("no prefix table"); },
       "program error 51 in module EventLoop.Task: " + standard_description(51) +
           " (no prefix table)"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    app->qso.Callsign.on_change = c.fault;
    station.mixw().operator_types("Call", "DL" + std::to_string(++n) + "ABC");
    run_for(100);
    EXPECT_NE(read_file("ErrorLog.txt").find(c.line + "\r\n"), std::string::npos)
        << read_file("ErrorLog.txt");
  }
  EXPECT_NE(frame.caption().find(" - see ErrorLog in "), std::string::npos);
  EXPECT_EQ(app->run_end(), RunEnd::running);

  // The next event is handled as ever.
  station.mixw().operator_types("Name", "Hans");
  run_for(100);
  EXPECT_EQ(app->qso.NameText.text(), "Hans");
  escapes_expected = 3;
}

}  // namespace
}  // namespace vav::testing
