#pragma once
// The dialog font ("MS Shell Dlg 2", 8 points) at a given resolution; owns the GDI object.
// A window that changes its font must give its children the new one before this is
// destroyed: a control keeps drawing with the font it was last given.
#include <windows.h>

namespace vav::win32 {

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

}  // namespace vav::win32
