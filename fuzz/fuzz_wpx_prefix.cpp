// WpxPrefixFromCall and CallExceptions over arbitrary text: a prefix is either empty or at
// least two characters ending in a digit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/wpx_prefix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string call(reinterpret_cast<const char*>(data), size);
  const std::string prefix = vav::WpxPrefixFromCall(call);
  if (!prefix.empty()) {
    if (prefix.size() < 2) std::abort();
    if (prefix.back() < '0' || prefix.back() > '9') std::abort();
  }
  const std::string folded = vav::CallExceptions(call);
  if (folded.size() > 2 * call.size() + 1) std::abort();
  return 0;
}
