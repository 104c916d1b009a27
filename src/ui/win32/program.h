#pragma once
// The Windows program: the Win32 adapters, the main window and its logic, the event loop.
#include <windows.h>

namespace vav::ui {

// Runs the program to its end; the process exit code.
int run_program(HINSTANCE instance);

// Loads the common controls (version 6 through the manifest) that the window uses.
void init_common_controls();

}  // namespace vav::ui
