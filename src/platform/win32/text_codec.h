#pragma once
// ANSI code-page text (what CF_TEXT and the program's logic carry) to and from the UTF-16
// that COM speaks. Always CP_ACP, never UTF-8.
#include <string>
#include <string_view>

namespace vav::win32 {

std::wstring ansi_to_wide(std::string_view text);
std::string wide_to_ansi(std::wstring_view text);

}  // namespace vav::win32
