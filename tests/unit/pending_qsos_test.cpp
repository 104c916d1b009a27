#include "app/pending_qsos.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "errors/runtime_error.h"

namespace vav {
namespace {

// Files in memory; "atomic" replacement is a plain assignment here, which is what it looks
// like from outside. A held file is there but cannot be read or written.
class MemoryFiles final : public Files {
 public:
  bool exists(const std::string& path) override { return content.count(path) != 0; }
  std::optional<std::string> read_all(const std::string& path) override {
    if (!exists(path) || held.count(path)) return std::nullopt;
    return content[path];
  }
  std::optional<std::string> read_existing(const std::string& path) override {
    if (!exists(path)) return std::nullopt;
    if (held.count(path)) throw RuntimeError(err::kPermissionDenied);
    return content[path];
  }
  bool create_new(const std::string& path, const std::string& text) override {
    if (exists(path)) return false;
    put(path, text);
    return true;
  }
  void write_new(const std::string& path, const std::string& text) override { put(path, text); }
  void append(const std::string& path, const std::string& text) override {
    ++appends;
    put(path, content[path] + text);
  }
  std::unique_ptr<AppendFile> open_for_append(const std::string&) override { return nullptr; }
  void replace_atomically(const std::string& path, const std::string& text) override {
    ++rewrites;
    put(path, text);
  }
  void remove(const std::string& path) override {
    if (held.count(path)) throw RuntimeError(err::kPermissionDenied);
    content.erase(path);
  }
  void put(const std::string& path, const std::string& text) {
    if (failing || held.count(path)) throw RuntimeError(err::kPermissionDenied);
    content[path] = text;
  }
  std::map<std::string, std::string> content;
  std::set<std::string> held;
  bool failing = false;
  int appends = 0;
  int rewrites = 0;
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

TEST(PendingQsos, EachChangeAppendsAndAnEmptyQueueRemovesTheFile) {
  MemoryFiles files;
  PendingQsos first(files, "C:\\MixW");
  ASSERT_TRUE(first.Load());
  for (int i = 0; i < 50; ++i) first.Add({"001log<CALL:1>" + std::to_string(i % 10), false});
  first.MarkFrontUncertain();
  first.RemoveFront();
  EXPECT_EQ(files.rewrites, 0);
  EXPECT_EQ(files.appends, 52);

  // A restart replays the journal and writes it afresh, without the marks.
  PendingQsos second(files, "C:\\MixW");
  ASSERT_TRUE(second.Load());
  EXPECT_EQ(second.count(), 49u);
  EXPECT_EQ(files.content.at(second.path()).find("D\r\n"), std::string::npos);
  while (!second.empty()) second.RemoveFront();
  EXPECT_FALSE(files.exists(second.path()));
}

TEST(PendingQsos, AFailedWriteKeepsTheEntryAndTheNextWriteIsWhole) {
  MemoryFiles files;
  PendingQsos pending(files, "C:\\MixW");
  pending.Load();
  files.failing = true;
  EXPECT_THROW(pending.Add({"001log<EOR>", false}), RuntimeError);
  EXPECT_EQ(pending.count(), 1u);
  files.failing = false;
  pending.Add({"001log<CALL:1>Q <EOR>", false});
  EXPECT_EQ(files.rewrites, 1);
  EXPECT_EQ(executes(replay_journal(files.content.at(pending.path())).entries),
            (std::vector<std::string>{"001log<EOR>", "001log<CALL:1>Q <EOR>"}));
}

TEST(PendingQsos, UnreadableBytesAreKeptBesideBeforeTheJournalIsWrittenAfresh) {
  MemoryFiles files;
  const std::string path = "C:\\MixW\\VavizorurWaitingQSOs.txt";
  const std::string damaged =
      journal_entry({"ok", false}) + "garbage\r\n" + journal_entry({"after", false});
  files.content[path] = damaged;
  PendingQsos pending(files, "C:\\MixW");
  ASSERT_TRUE(pending.Load());
  EXPECT_EQ(pending.count(), 1u);
  EXPECT_EQ(files.content.at(pending.damaged_path()), damaged);
  EXPECT_EQ(files.content.at(path), journal_entry({"ok", false}));
}

}  // namespace
}  // namespace vav
