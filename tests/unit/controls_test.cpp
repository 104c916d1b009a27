#include "controls/controls.h"

#include <gtest/gtest.h>

#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_event_loop.h"

namespace vav {
namespace {

TEST(Controls, ChangeAndClickHandlersRunOnlyWhenTheValueChanges) {
  std::vector<std::string> seen;
  TextControl text;
  text.on_change = [&] { seen.push_back("text:" + text.text()); };
  text.set_text("A");
  text.set_text("A");
  text.set_text("");

  CheckBox box;
  box.on_click = [&] { seen.push_back("box"); };
  box.set_checked(true);
  box.set_checked(true);
  box.set_value(CheckValue::grayed);

  OptionGroup options({"MixW", "Commander"});
  options.on_click = [&](int index) { seen.push_back("option:" + std::to_string(index)); };
  options.select(1);
  options.select(1);
  options.select(0);

  ComboList list({"LSB", "USB"});
  list.on_click = [&] { seen.push_back("list"); };
  list.set_list_index(1);
  list.set_list_index(1);
  EXPECT_THROW(list.set_list_index(2), RuntimeError);
  EXPECT_THROW(list.set_list_index(-2), RuntimeError);

  EXPECT_EQ(seen, (std::vector<std::string>{"text:A", "text:", "box", "box", "option:1", "option:0",
                                            "list"}));
}

TEST(Controls, AListKeepsItsSelectionWhileTheRowStillExists) {
  ListRows list({"Call"});
  int selections = 0, views = 0;
  list.on_select = [&] { ++selections; };
  list.on_view = [&] { ++views; };
  list.set_rows({{"A"}, {"B"}, {"C"}}, {1, 2, 3});
  list.select(2);
  list.select(2);  // no change
  EXPECT_EQ(selections, 1);
  list.set_rows({{"A"}, {"B"}, {"D"}});  // the icons alone differ too: drawn again
  EXPECT_EQ(list.selected(), 2);
  EXPECT_TRUE(list.icons().empty());
  list.set_rows({{"A"}});  // the selected row is gone
  EXPECT_EQ(list.selected(), -1);
  EXPECT_EQ(selections, 2);
  list.select(5);  // past the last row: none
  EXPECT_EQ(list.selected(), -1);
  EXPECT_EQ(selections, 2);
  EXPECT_EQ(views, 4);
}

TEST(Controls, NestedWritesFinishBeforeTheWriterContinues) {
  TextControl a, b;
  std::vector<std::string> order;
  a.on_change = [&] {
    order.push_back("a begins");
    b.set_text(a.text() + "!");
    order.push_back("a ends");
  };
  b.on_change = [&] { order.push_back("b:" + b.text()); };
  a.set_text("x");
  EXPECT_EQ(order, (std::vector<std::string>{"a begins", "b:x!", "a ends"}));
}

TEST(Controls, TimerTicksAtItsIntervalRestartsWhenEnabledAndNeverReenters) {
  sim::SimEventLoop loop;
  Timer timer(loop, 500);
  int ticks = 0;
  timer.on_tick = [&] {
    ++ticks;
    loop.advance_blocked(1200);  // a handler that waits past later ticks
    loop.pump();                 // and lets events run meanwhile
  };
  loop.run_for(499);
  EXPECT_EQ(ticks, 0);
  timer.set_enabled(true);
  loop.run_for(499);
  EXPECT_EQ(ticks, 0);
  loop.run_for(1);
  EXPECT_EQ(ticks, 1);
  timer.set_enabled(false);
  loop.run_for(5000);
  EXPECT_EQ(ticks, 1);
}

TEST(Controls, LinkedTextFollowsItsItemAndReportsTheServerClosing) {
  sim::SimEventLoop loop;
  sim::SimDdeBus bus(loop);
  sim::SimDde dde(bus);
  bus.start_server("MixW", "QSO", {[](const std::string&) { return std::string("Q1ABC"); }, {}});

  LinkedText call(dde, 5000);
  std::vector<std::string> changes;
  int closes = 0;
  call.on_change = [&] { changes.push_back(call.text()); };
  call.on_link_close = [&] { ++closes; };
  call.set_link_topic("MixW|QSO");
  call.set_link_item("Call");
  call.set_link_mode(LinkMode::automatic);
  EXPECT_EQ(call.text(), "Q1ABC");

  bus.advise("MixW", "QSO", "Call", "Q2XYZ");
  EXPECT_EQ(call.text(), "Q1ABC");  // data arrives through the loop
  loop.pump();
  EXPECT_EQ(call.text(), "Q2XYZ");

  call.set_link_mode(LinkMode::automatic);  // asking again keeps the open conversation
  EXPECT_EQ(bus.conversation_count("MixW", "QSO"), 1u);

  bus.stop_server("MixW", "QSO");
  loop.pump();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(call.link_mode(), LinkMode::none);
  EXPECT_THROW(call.link_execute("x"), RuntimeError);
  EXPECT_THROW(call.set_link_mode(LinkMode::automatic), RuntimeError);
  EXPECT_EQ(changes, (std::vector<std::string>{"Q1ABC", "Q2XYZ"}));
}

}  // namespace
}  // namespace vav
