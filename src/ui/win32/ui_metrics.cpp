#include "ui/win32/ui_metrics.h"

namespace vav::ui {
namespace {

constexpr int kPointSize = 8;
constexpr int kPointsPerInch = 72;

int screen_dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kLayoutDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kLayoutDpi;
}

}  // namespace

int window_dpi(HWND window) {
  // Windows 10 1607 and later; loaded at run time so older systems still start.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window && window) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return screen_dpi();
}

DialogFont::DialogFont(int dpi) {
  LOGFONTA font{};
  font.lfHeight = -MulDiv(kPointSize, dpi, kPointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(font.lfFaceName, "MS Shell Dlg 2", LF_FACESIZE);
  font_ = CreateFontIndirectA(&font);
  if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

DialogFont::~DialogFont() {
  // The stock font of the fallback may be deleted harmlessly: DeleteObject ignores stock objects.
  DeleteObject(font_);
}

}  // namespace vav::ui
