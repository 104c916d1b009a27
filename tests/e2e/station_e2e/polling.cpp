#include "station_e2e/polling.h"

#include <algorithm>

namespace vav::e2e {
namespace {

void pause_slice(DWORD limit) {
  // Wakes early for this thread's messages, which it dispatches.
  MsgWaitForMultipleObjectsEx(0, nullptr, std::min(limit, kPollSlice), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

bool eventually(const std::function<bool()>& done, DWORD limit) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return false;
    pause_slice(limit - elapsed);
  }
}

bool never_within(const std::function<bool()>& happened, DWORD limit) {
  return !eventually(happened, limit);
}

}  // namespace vav::e2e
