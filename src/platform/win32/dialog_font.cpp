#include "platform/win32/dialog_font.h"

namespace vav::win32 {
namespace {

constexpr int kPointSize = 8;
constexpr int kPointsPerInch = 72;

}  // namespace

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

}  // namespace vav::win32
