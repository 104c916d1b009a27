#include "app/pending_qsos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_files.h"
#include "unit/sim_temp_folder.h"

namespace vav {
namespace {

// A MixW folder of its own for each test.
class PendingQsosTest : public ::testing::Test {
 protected:
  std::string read(const std::string& path) { return files.read_all(path).value_or("<missing>"); }
  sim::testing::TempFolder temp;
  std::string folder = temp.path().string();
  sim::SimFiles files;
};

std::vector<std::string> executes(const std::deque<PendingQso>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.execute);
  return out;
}

TEST(WaitingQsoJournal, ReplaysEntriesAndMarksAndDropsATornTail) {
  const std::string journal = journal_entry({"001log<CALL:2>Q1 <EOR>", false}) +
                              journal_entry({"001log<NOTES:3>a\r\nb <EOR>", false}) +
                              std::string(kJournalDelivered) + std::string(kJournalTimedOut) +
                              journal_entry({"001log<CALL:2>Q3 <EOR>", true});
  EXPECT_EQ(journal.substr(0, 28), "N22:001log<CALL:2>Q1 <EOR>\r\n");
  const JournalReplay replay = replay_journal(journal);
  EXPECT_TRUE(replay.complete);
  EXPECT_EQ(replay.marks, 2u);
  ASSERT_EQ(replay.entries.size(), 2u);
  EXPECT_EQ(replay.entries[0], (PendingQso{"001log<NOTES:3>a\r\nb <EOR>", true}));
  EXPECT_EQ(replay.entries[1], (PendingQso{"001log<CALL:2>Q3 <EOR>", true}));

  // What earlier versions wrote (entries only) reads the same; a torn or foreign tail stops
  // the replay with every entry before it kept.
  const std::string good = "N5:001lo\r\n";
  for (const std::string tail : {"N9:001log", "X3:abc\r\n", "N:abc\r\n", "N3x:abc\r\n", "N3:abc",
                                 "N99999999999999999999:a\r\n", "N3:abcd\r\n", "D\r", "T"}) {
    const JournalReplay torn = replay_journal(good + tail);
    EXPECT_FALSE(torn.complete) << tail;
    EXPECT_EQ(executes(torn.entries), std::vector<std::string>{"001lo"}) << tail;
  }
  // A delivered mark with nothing left waiting changes nothing.
  EXPECT_TRUE(replay_journal("D\r\nD\r\n").entries.empty());
}

TEST_F(PendingQsosTest, EachChangeAppendsAndAnEmptyQueueRemovesTheFile) {
  PendingQsos first(files, folder);
  ASSERT_TRUE(first.Load());
  std::string expected;
  for (int i = 0; i < 50; ++i) {
    const PendingQso entry{"001log<CALL:1>" + std::to_string(i % 10), false};
    first.Add(entry);
    expected += journal_entry(entry);
  }
  first.MarkFrontUncertain();
  first.RemoveFront();
  // Appended to, never rewritten: the marks follow the entries.
  EXPECT_EQ(read(first.path()),
            expected + std::string(kJournalTimedOut) + std::string(kJournalDelivered));

  // A restart replays the journal and writes it afresh, without the marks.
  PendingQsos second(files, folder);
  ASSERT_TRUE(second.Load());
  EXPECT_EQ(second.count(), 49u);
  EXPECT_EQ(read(second.path()).find("D\r\n"), std::string::npos);
  while (!second.empty()) second.RemoveFront();
  EXPECT_FALSE(files.exists(second.path()));
}

TEST_F(PendingQsosTest, AFailedWriteKeepsTheEntryAndTheNextWriteIsWhole) {
  PendingQsos pending(files, folder);
  pending.Load();
  files.make_read_only(folder);
  EXPECT_THROW(pending.Add({"001log<EOR>", false}), RuntimeError);
  EXPECT_EQ(pending.count(), 1u);
  files.clear_faults();
  pending.Add({"001log<CALL:1>Q <EOR>", false});
  EXPECT_EQ(executes(replay_journal(read(pending.path())).entries),
            (std::vector<std::string>{"001log<EOR>", "001log<CALL:1>Q <EOR>"}));
}

// The operator's changes reach any entry: the journal is written afresh, and what a restart
// replays is the queue as changed, set-aside entries counted.
TEST_F(PendingQsosTest, TheOperatorsRemovalAndRequeueAreWrittenWhole) {
  PendingQsos pending(files, folder);
  pending.Load();
  for (const char* call : {"A", "B", "C", "D"}) pending.Add({std::string("001log") + call});
  pending.SetAsideFront();  // A
  pending.RemoveAt(2);      // C
  pending.Requeue(0);       // A waits again, behind B and D
  EXPECT_EQ(pending.set_aside_count(), 0u);
  const auto expected = std::vector<std::string>{"001logB", "001logD", "001logA"};
  EXPECT_EQ(executes(pending.queued()), expected);
  PendingQsos again(files, folder);
  again.Load();
  EXPECT_EQ(executes(again.queued()), expected);

  // A failed write keeps the change in memory; the next write brings the file in step.
  again.SetAsideFront();  // B
  files.make_read_only(folder);
  EXPECT_THROW(again.RemoveAt(0), RuntimeError);
  EXPECT_EQ(again.set_aside_count(), 0u);
  EXPECT_FALSE(again.saved());
  files.clear_faults();
  again.Flush();
  EXPECT_EQ(executes(replay_journal(read(again.path())).entries),
            (std::vector<std::string>{"001logD", "001logA"}));
}

TEST_F(PendingQsosTest, UnreadableBytesAreKeptBesideBeforeTheJournalIsWrittenAfresh) {
  PendingQsos pending(files, folder);
  const std::string damaged =
      journal_entry({"ok", false}) + "garbage\r\n" + journal_entry({"after", false});
  files.write_new(pending.path(), damaged);
  ASSERT_TRUE(pending.Load());
  EXPECT_EQ(pending.count(), 1u);
  EXPECT_EQ(read(pending.damaged_path()), damaged);
  EXPECT_EQ(read(pending.path()), journal_entry({"ok", false}));
}

}  // namespace
}  // namespace vav
