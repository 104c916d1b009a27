// Whole sessions at random: every QSO the program saw written reaches DXKeeper, once, in the
// order written; twice only where the program said it may have, or where it was killed or
// closed while its waiting file could not be written. Session n plays seed VAV_SESSION_SEED + n
// (the first seed, 1 by default), VAV_SESSIONS of them (100 by default); a failing one prints
// the command that replays it alone. scripts/sessions plays many more.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "random_session.h"

namespace vav::testing {
namespace {

std::uint64_t env_number(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

const std::uint64_t kFirstSeed = env_number("VAV_SESSION_SEED", 1);
const int kSessions = static_cast<int>(env_number("VAV_SESSIONS", 100));
constexpr int kEventsPerSession = 80;

class RandomSessions : public RandomSession, public ::testing::WithParamInterface<int> {
 protected:
  static void TearDownTestSuite() {
    const SessionFigures& t = total();
    std::printf(
        "RELIABILITY random_sessions sessions=%llu qsos=%llu faults=%llu lost=%llu "
        "lost_at_kill=%llu set_aside=%llu duplicates_reported=%llu "
        "duplicates_stale_file=%llu duplicates_unexplained=%llu\n",
        static_cast<unsigned long long>(t.sessions), static_cast<unsigned long long>(t.qsos),
        static_cast<unsigned long long>(t.faults), static_cast<unsigned long long>(t.lost),
        static_cast<unsigned long long>(t.lost_at_kill),
        static_cast<unsigned long long>(t.set_aside),
        static_cast<unsigned long long>(t.duplicates_reported),
        static_cast<unsigned long long>(t.duplicates_stale_file),
        static_cast<unsigned long long>(t.duplicates_unexplained));
  }
  static SessionFigures& total() {
    static SessionFigures figures;
    return figures;
  }
};

TEST_P(RandomSessions, EveryQsoReachesDXKeeperOnce) {
  const std::uint64_t seed = kFirstSeed + static_cast<std::uint64_t>(GetParam());
  total().add(play(seed, kEventsPerSession));
  if (HasFailure()) {
    std::printf(
        "replay: VAV_SESSION_SEED=%llu VAV_SESSIONS=1 scenario_tests "
        "--gtest_filter='Seeds/RandomSessions.*/n0'\n",
        static_cast<unsigned long long>(seed));
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSessions, ::testing::Range(0, kSessions),
                         // Named by position, not seed, so that ctest finds a test whatever
                         // first seed the environment gives at run time.
                         [](const ::testing::TestParamInfo<int>& param_info) {
                           return "n" + std::to_string(param_info.param);
                         });

}  // namespace
}  // namespace vav::testing
