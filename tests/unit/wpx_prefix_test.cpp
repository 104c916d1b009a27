#include "app/wpx_prefix.h"

#include <gtest/gtest.h>

#include "common/conversions.h"

#include <string>
#include <vector>

namespace vav {
namespace {

struct PrefixCase {
  std::string call;
  std::string exceptions;  // CallExceptions of the call in capitals
  std::string prefix;
};

TEST(WpxPrefix, Table) {
  const std::vector<PrefixCase> cases = {
      {"Q1ABC", "Q1ABC", "Q1"},
      {"q1abc", "Q1ABC", "Q1"},
      {"Q100AB", "Q100AB", "Q100"},
      {"QH6XYZ", "QH6XYZ", "QH6"},
      {"0Q0ABC", "0Q0ABC", "0Q0"},
      {"QRAB", "QRAB", "QR0"},
      {"Q1ABC/P", "Q1ABC", "Q1"},
      {"Q1ABC/QRP", "Q1ABC", "Q1"},
      {"Q1ABC/MM", "Q1ABC", "Q1"},
      {"Q1ABC/AM", "Q1ABC", "Q1"},
      {"Q1ABC/3", "Q1ABC/Q3", "Q3"},
      {"QH6XYZ/7", "QH6XYZ/QH7", "QH7"},
      {"Q100AB/3", "Q100AB/Q3", "Q3"},
      {"0Q0ABC/2", "0Q0ABC/0Q2", "0Q2"},
      {"QRAB/3", "QRAB/3", "Q3"},
      {"QX/Q1ABC", "QX/Q1ABC", "QX0"},
      {"Q1ABC/QX", "Q1ABC/QX", "QX0"},
      {"QP2E/Q1ABC", "QP2E/Q1ABC", "QP2"},
      {"Q1ABC/QP2E", "Q1ABC/QP2E", "QP2"},
      {"QB0/Q1ABC", "QB0/Q1ABC", "QB0"},
      {"QAB/12", "QAB/12", "QA0"},
      {"Q1ABC/P/M", "Q1ABC/P", ""},
      {"Q1ABC/", "Q1ABC/", ""},
      {"Q/3", "Q/3", ""},
      // The other suffixes, and calls that merely end like one.
      {"Q1ABC/B", "Q1ABC", "Q1"},
      {"Q1ABC/A", "Q1ABC", "Q1"},
      {"Q1ABC/E", "Q1ABC", "Q1"},
      {"Q1ABC/J", "Q1ABC", "Q1"},
      {"Q1ABC/M", "Q1ABC", "Q1"},
      {"Q1ABC/N", "Q1ABC", "Q1"},
      {"Q1ABC/T", "Q1ABC", "Q1"},
      {"Q1ABC/BCN", "Q1ABC", "Q1"},
      {"Q1ABM", "Q1ABM", "Q1"},
      {"QAAAAA/AB/C", "QAAAAA/AB/C", "AB0"},  // a second slash after the prefix letters
      {"Q1/QA1AA/3", "Q1/QA1AA/Q3", "Q1"},
      // A shorter right part is the prefix unless it reads as a number.
      {"Q1ABC/E7", "Q1ABC/E7", "E7"},
      {"Q1ABC/1E1", "Q1ABC/1E1", "Q1"},
      {"QQ111AAA/3", "QQ111AAA/QQ3", "QQ3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CallExceptions(to_upper(c.call)), c.exceptions) << c.call;
    EXPECT_EQ(WpxPrefixFromCall(c.call), c.prefix) << c.call;
  }
}

TEST(WpxPrefix, TooShortForAPrefix) {
  for (const char* call : {"", "Q", "/", "1"}) EXPECT_EQ(WpxPrefixFromCall(call), "") << call;
  EXPECT_EQ(WpxPrefixFromCall("QA"), "QA0");
  EXPECT_EQ(WpxPrefixFromCall("Q1"), "Q1");
  EXPECT_EQ(CallExceptions("/3"), "/3");
  EXPECT_EQ(CallExceptions("3"), "3");
}

}  // namespace
}  // namespace vav
