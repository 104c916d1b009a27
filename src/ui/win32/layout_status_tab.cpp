// The Status tab, from top to bottom: the neighbours, the last QSO, the outbox (the QSOs not
// yet in DXKeeper) with its buttons, the last spot, and where the files are.
#include "ui/win32/layout.h"

namespace vav::ui {
namespace {

constexpr Container kPage = Container::status_page;
constexpr int kLeft = 4;
constexpr int kWidth = 293;
constexpr int kRight = kLeft + kWidth;
constexpr int kCaptionH = 14;
constexpr int kLineH = 20;   // a data label
constexpr int kBlockH = 30;  // two lines of text
constexpr int kButtonH = 22;
constexpr int kGap = 2;
constexpr int kCaptionDrop = 3;  // a caption's top below its line's top
constexpr int kLineCaptionW = 54;

constexpr int kNeighboursY = 2 + kCaptionH;
constexpr int kNeighboursH = 116;  // the header and seven rows
constexpr int kLastQsoY = kNeighboursY + kNeighboursH + kGap;
constexpr int kWaitingCaptionY = kLastQsoY + kBlockH + kGap;
constexpr int kWaitingY = kWaitingCaptionY + kCaptionH;
constexpr int kWaitingH = 64;  // the header and three rows
constexpr int kButtonsY = kWaitingY + kWaitingH + kGap;
constexpr int kSpotY = kButtonsY + kButtonH + kGap;
constexpr int kFilesY = kSpotY + kLineH + kGap + 1;
constexpr int kErrorLogW = 104;

constexpr ControlPlace caption(const char* text, int y, int x = kLeft, int w = kWidth) {
  return {kStaticText, Kind::caption, kPage, text, {x, y, w, kCaptionH}};
}
// A caption and the data label it names, on one line.
constexpr ControlPlace line_caption(const char* text, int y) {
  return caption(text, y + kCaptionDrop, kLeft, kLineCaptionW);
}
constexpr ControlPlace line_value(int id, int y, int right = kRight, Kind kind = Kind::data_label,
                                  int height = kLineH) {
  constexpr int x = kLeft + kLineCaptionW + 2;
  return {id, kind, kPage, nullptr, {x, y, right - x, height}};
}
constexpr ControlPlace button(int id, int x, int w) {
  return {id, Kind::button, kPage, nullptr, {x, kButtonsY, w, kButtonH}};
}

// Each caption stands just before its control, which a screen reader takes as the name;
// a button is named by its own caption.
constexpr ControlPlace kStatusTab[] = {
    caption("Neighbours", 2),
    {kNeighbours, Kind::list, kPage, nullptr, {kLeft, kNeighboursY, kWidth, kNeighboursH}},
    line_caption("Last QSO:", kLastQsoY),
    line_value(kLastQso, kLastQsoY, kRight, Kind::data_block, kBlockH),
    caption("QSOs not yet in DXKeeper", kWaitingCaptionY),
    {kWaitingQsos, Kind::list, kPage, nullptr, {kLeft, kWaitingY, kWidth, kWaitingH}},
    button(kSendNow, kLeft, 66),
    button(kSendAgain, kLeft + 70, 72),
    button(kRemove, kLeft + 146, 66),
    button(kExport, kLeft + 216, kWidth - 216),
    line_caption("Last spot:", kSpotY),
    line_value(kLastSpot, kSpotY),
    line_caption("Files:", kFilesY),
    line_value(kFiles, kFilesY, kRight - kErrorLogW - 4),
    {kOpenErrorLog,
     Kind::button,
     kPage,
     nullptr,
     {kRight - kErrorLogW, kFilesY - 1, kErrorLogW, kButtonH}},
};

}  // namespace

std::span<const ControlPlace> status_tab_layout() { return kStatusTab; }

}  // namespace vav::ui
