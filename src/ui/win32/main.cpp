// Vavizorur.exe: the bridge between MixW and the DXLab suite.
#include <windows.h>

#include <exception>

#include "ui/win32/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  try {
    return vav::ui::run_program(instance);
  } catch (const std::exception& e) {
    // Only the adapters' construction can get here: the logic traps its own errors.
    MessageBoxA(nullptr, e.what(), "Vavizorur", MB_OK | MB_ICONERROR);
  }
  return 0;
}
