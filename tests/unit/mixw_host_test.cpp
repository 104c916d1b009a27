#include "hosts/mixw.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "errors/runtime_error.h"

namespace vav {
namespace {

// An automation object whose every property reads as one value.
class OneValue : public AutomationObject {
 public:
  explicit OneValue(Variant value) : value_(std::move(value)) {}
  Variant get(const std::string&) override { return value_; }
  void put(const std::string&, const Variant&) override {}
  Variant call(const std::string&, const std::vector<Variant>&) override { return {}; }

 private:
  Variant value_;
};

TEST(MixWHostTest, AnAudioOffsetGivenAsTextIsReadByItsShape) {
  const std::pair<Variant, std::optional<double>> cases[] = {
      {Variant{1500.0}, 1500.0},
      {Variant{std::int32_t{1200}}, 1200.0},
      {Variant{std::string("1500")}, 1500.0},
      {Variant{std::string("1500,5")}, 1500.5},
      {Variant{std::string("1 500")}, 1500.0},
      {Variant{std::string("1,500")}, std::nullopt},  // 1500 or 1.5
      {Variant{std::string("abc")}, std::nullopt},
  };
  for (const auto& [value, offset] : cases) {
    mixw::MixWApp mixw(std::make_shared<OneValue>(value));
    if (offset) {
      EXPECT_EQ(mixw.audiofq(), *offset);
    } else {
      EXPECT_THROW(mixw.audiofq(), RuntimeError);
    }
  }
}

}  // namespace
}  // namespace vav
