#pragma once
// Waiting for other processes under Wine: every wait has an upper bound, reached only on
// failure, and re-checks its condition every kPollSlice ms. Nothing waits a fixed time.
#include <windows.h>

#include <functional>

namespace vav::e2e {

// Upper bound of a wait for another process to react.
inline constexpr DWORD kDeadline = 20000;
inline constexpr DWORD kPollSlice = 50;

// Re-checks `done` until it holds or `limit` ms pass; returns whether it held. The test's
// own thread keeps handling its messages while it waits.
bool eventually(const std::function<bool()>& done, DWORD limit = kDeadline);

// Re-checks `happened` for `limit` ms; true when it never held (for "nothing happens").
bool never_within(const std::function<bool()>& happened, DWORD limit);

}  // namespace vav::e2e
