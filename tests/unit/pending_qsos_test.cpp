#include "app/pending_qsos.h"

#include <gtest/gtest.h>

#include <map>

#include "common/runtime_error.h"

namespace vav {
namespace {

// Files in memory; "atomic" replacement is a plain assignment here, which is what it looks
// like from outside.
class MemoryFiles final : public Files {
 public:
  bool exists(const std::string& path) override { return content.count(path) != 0; }
  std::optional<std::string> read_all(const std::string& path) override {
    if (!exists(path)) return std::nullopt;
    return content[path];
  }
  void write_new(const std::string& path, const std::string& text) override { put(path, text); }
  void append(const std::string& path, const std::string& text) override {
    put(path, content[path] + text);
  }
  void replace_atomically(const std::string& path, const std::string& text) override {
    put(path, text);
  }
  void remove(const std::string& path) override { content.erase(path); }
  void put(const std::string& path, const std::string& text) {
    if (failing) throw RuntimeError(err::kPermissionDenied);
    content[path] = text;
  }
  std::map<std::string, std::string> content;
  bool failing = false;
};

TEST(PendingQsos, EntriesSurviveARestartInOrderWithAnyBytes) {
  MemoryFiles files;
  PendingQsos first(files, "C:\\MixW");
  first.Add({"001log<CALL:5>Q1ABC <EOR>", false});
  first.Add({"001log<NOTES:3>a\r\nb <EOR>", true});
  EXPECT_EQ(files.content.at(first.path()),
            "N25:001log<CALL:5>Q1ABC <EOR>\r\nU25:001log<NOTES:3>a\r\nb <EOR>\r\n");

  PendingQsos second(files, "C:\\MixW");
  second.Load();
  ASSERT_EQ(second.count(), 2u);
  EXPECT_EQ(second.front().execute, "001log<CALL:5>Q1ABC <EOR>");
  second.RemoveFront();
  EXPECT_TRUE(second.front().uncertain);
  second.RemoveFront();
  EXPECT_TRUE(second.empty());
  EXPECT_FALSE(files.exists(second.path()));
}

TEST(PendingQsos, ADamagedTailIsDroppedAndTheEntriesBeforeItKept) {
  const std::string good = "N5:001lo\r\n";
  for (const std::string tail : {"N9:001log", "X3:abc\r\n", "N:abc\r\n", "N3x:abc\r\n", "N3:abc",
                                 "N99999999999999999999:a\r\n", "N3:abcd\r\n"}) {
    const auto entries = PendingQsos::Decode(good + tail);
    ASSERT_EQ(entries.size(), 1u) << tail;
    EXPECT_EQ(entries.front().execute, "001lo");
  }
}

TEST(PendingQsos, AnEntryThatCannotBeWrittenIsStillKeptForThisRun) {
  MemoryFiles files;
  files.failing = true;
  PendingQsos pending(files, "C:\\MixW");
  EXPECT_THROW(pending.Add({"001log<EOR>", false}), RuntimeError);
  EXPECT_EQ(pending.count(), 1u);
  files.failing = false;
  pending.Add({"001log<CALL:1>Q <EOR>", false});
  EXPECT_EQ(PendingQsos::Decode(files.content.at(pending.path())).size(), 2u);
}

}  // namespace
}  // namespace vav
