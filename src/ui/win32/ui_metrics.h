#pragma once
// DPI and the dialog font of the main window. The layout is drawn at 96 dots per inch and
// scaled to the window's own DPI; the font follows it.
#include <windows.h>

#include "platform/win32/dialog_font.h"

namespace vav::ui {

constexpr int kLayoutDpi = 96;

constexpr int scale(int value, int dpi) {
  // MulDiv rounding: half away from zero.
  const long long scaled = static_cast<long long>(value) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kLayoutDpi / 2 : -kLayoutDpi / 2)) / kLayoutDpi);
}

using win32::DialogFont;

}  // namespace vav::ui
