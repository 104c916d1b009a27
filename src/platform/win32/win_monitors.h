#pragma once
// The desktop's monitors as screen_position.h counts them: each one's area in desktop
// pixels and its own pixels per inch.
#include <windows.h>

#include <vector>

#include "platform/screen_position.h"

namespace vav::win32 {

// Every monitor of the desktop, the primary first (EnumDisplayMonitors). Never empty: with
// no monitor to enumerate, the primary screen's size at the desktop's resolution.
std::vector<Monitor> desktop_monitors();

// The effective pixels per inch of a monitor (GetDpiForMonitor, Windows 8.1 and later,
// loaded at run time); where the system lacks it, the desktop's. Never less than 1.
int monitor_dpi(HMONITOR monitor);

}  // namespace vav::win32
