#pragma once
// DPI and the dialog font of the main window. The layout is drawn at 96 dots per inch and
// scaled to the window's own DPI; the font follows it.
#include <windows.h>

namespace vav::ui {

constexpr int kLayoutDpi = 96;

constexpr int scale(int value, int dpi) {
  // MulDiv rounding: half away from zero.
  const long long scaled = static_cast<long long>(value) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kLayoutDpi / 2 : -kLayoutDpi / 2)) / kLayoutDpi);
}

// The dialog font ("MS Shell Dlg 2", 8 points) at a given DPI; owns the GDI object.
class DialogFont {
 public:
  explicit DialogFont(int dpi);
  ~DialogFont();
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;
  HFONT handle() const { return font_; }

 private:
  HFONT font_;
};

}  // namespace vav::ui
