#pragma once
// Global memory and atoms as the DDE protocol passes them between processes, ANSI text.
#include <windows.h>

#include <string>

namespace vav::peers::win32 {

// The name behind a global atom; "" for atom 0.
std::string atom_name(ATOM atom);

// The text of a block (up to its first zero, or its whole size); "" for a null block.
std::string global_text(HGLOBAL memory, std::size_t offset = 0);

// A DDEDATA block holding CF_TEXT `value` with its terminating zero; null on failure.
HGLOBAL make_text_data(const std::string& value, bool response, bool ack_req);

}  // namespace vav::peers::win32
