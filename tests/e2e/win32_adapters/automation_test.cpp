#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "platform/win32/win_automation.h"

namespace vav::e2e {
namespace {

TEST(WinAutomation, NoRunningObjectThrowsCannotCreateObject) {
  win32::WinAutomation automation;
  for (const char* prog_id : {"Vavizorur.NoSuchObject", "MixW2.Application"}) {
    try {
      automation.get_active_object(prog_id);
      ADD_FAILURE() << prog_id;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::kCannotCreateObject) << prog_id;
    }
  }
}

}  // namespace
}  // namespace vav::e2e
