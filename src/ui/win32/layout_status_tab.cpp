// The Status tab: the neighbours, the QSOs waiting for DXKeeper with the two buttons, and
// the last spot, from top to bottom.
#include "ui/win32/layout.h"

namespace vav::ui {
namespace {

constexpr Container kPage = Container::status_page;
constexpr int kLeft = 4;
constexpr int kWidth = 284;
constexpr int kCaptionH = 14;
constexpr int kNeighboursY = 2 + kCaptionH;
constexpr int kNeighboursH = 126;  // the header and seven rows
constexpr int kWaitingCaptionY = kNeighboursY + kNeighboursH + 4;
constexpr int kWaitingY = kWaitingCaptionY + kCaptionH;
constexpr int kWaitingH = 96;
constexpr int kButtonsY = kWaitingY + kWaitingH + 4;
constexpr int kButtonH = 22;
constexpr int kSpotY = kButtonsY + kButtonH + 6;

constexpr ControlPlace caption(const char* text, int y, int x = kLeft, int w = kWidth) {
  return {kStaticText, Kind::caption, kPage, text, {x, y, w, kCaptionH}};
}

// Each caption stands just before its control, which a screen reader takes as the name.
constexpr ControlPlace kStatusTab[] = {
    caption("Neighbours", 2),
    {kNeighbours, Kind::list, kPage, nullptr, {kLeft, kNeighboursY, kWidth, kNeighboursH}},
    caption("QSOs waiting for DXKeeper", kWaitingCaptionY),
    {kWaitingQsos, Kind::list, kPage, nullptr, {kLeft, kWaitingY, kWidth, kWaitingH}},
    {kSendNow, Kind::button, kPage, nullptr, {kLeft, kButtonsY, 80, kButtonH}},
    {kOpenErrorLog, Kind::button, kPage, nullptr, {kLeft + 86, kButtonsY, 110, kButtonH}},
    caption("Last spot:", kSpotY + 3, kLeft, 50),
    {kLastSpot, Kind::data_label, kPage, nullptr, {kLeft + 52, kSpotY, kWidth - 52, 20}},
};

}  // namespace

std::span<const ControlPlace> status_tab_layout() { return kStatusTab; }

}  // namespace vav::ui
