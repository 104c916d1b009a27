// The Setup tab: short check boxes and the frequency frames on the left, the connections and
// the SpotCollector settings on the right, the long check boxes across the bottom.
#include "ui/win32/layout.h"

namespace vav::ui {
namespace {

constexpr Container kPage = Container::setup_page;
constexpr Container kSpot = Container::frame6;
constexpr int kPitch = 15;
constexpr int kBoxH = 15;
constexpr int kLeftX = 4, kRightX = 148, kColumnW = 140;
constexpr int kInset = 8;      // a frame's buttons from its left edge
constexpr int kGroupTop = 14;  // a frame's first row below its top
constexpr int kFullW = kRightX + kColumnW - kLeftX;

constexpr int left_row(int n) { return 2 + n * kPitch; }

constexpr ControlPlace check(int n, int x, int y, int w) {
  return {check_id(n), Kind::check, kPage, nullptr, {x, y, w, kBoxH}};
}
constexpr ControlPlace group(const char* caption, Box box, Container in = kPage) {
  return {kStaticText, Kind::group, in, caption, box};
}

constexpr int kFreqControlY = left_row(8) + 2;
constexpr int kFreqToLogY = kFreqControlY + 38;
constexpr int kAppsH = kGroupTop + 4 * kPitch + 4;
constexpr int kFrame6Y = kAppsH + 2;
constexpr int kFrame6H = 98;
constexpr int kCheck16Y = kFrame6Y + kFrame6H + 2;
constexpr int kBottomY = kFreqToLogY + 64;

constexpr ControlPlace kSetupTab[] = {
    check(17, kLeftX, left_row(0), kColumnW),
    check(1, kLeftX, left_row(1), kColumnW),
    check(3, kLeftX, left_row(2), kColumnW),
    check(4, kLeftX, left_row(3), kColumnW),
    check(5, kLeftX, left_row(4), kColumnW),
    check(7, kLeftX, left_row(5), kColumnW),
    check(10, kLeftX, left_row(6), kColumnW),
    check(15, kLeftX, left_row(7), kColumnW),

    group("Frequency Control", {kLeftX, kFreqControlY, kColumnW, 36}),
    {kOption1 + 0, Kind::option, kPage, nullptr, {kLeftX + 6, kFreqControlY + 15, 48, kBoxH}},
    {kOption1 + 1,
     Kind::option,
     kPage,
     nullptr,
     {kLeftX + 54, kFreqControlY + 15, kColumnW - 58, kBoxH}},

    group("Frequency To Log", {kLeftX, kFreqToLogY, kColumnW, 62}),
    {kOption2 + 0,
     Kind::option,
     kPage,
     nullptr,
     {kLeftX + kInset, kFreqToLogY + kGroupTop, kColumnW - 2 * kInset, kBoxH}},
    {kOption2 + 1,
     Kind::option,
     kPage,
     nullptr,
     {kLeftX + kInset, kFreqToLogY + kGroupTop + kPitch, kColumnW - 2 * kInset, kBoxH}},
    {kStaticText,
     Kind::caption,
     kPage,
     "(Rig + Audio)",
     {kLeftX + kInset + 18, kFreqToLogY + kGroupTop + 2 * kPitch + 1, 100, 13}},

    group("App's To Connect To", {kRightX, 0, kColumnW, kAppsH}),
    check(11, kRightX + kInset, kGroupTop + 0 * kPitch, kColumnW - 2 * kInset),
    check(12, kRightX + kInset, kGroupTop + 1 * kPitch, kColumnW - 2 * kInset),
    check(13, kRightX + kInset, kGroupTop + 2 * kPitch, kColumnW - 2 * kInset),
    check(14, kRightX + kInset, kGroupTop + 3 * kPitch, kColumnW - 2 * kInset),

    // The SpotCollector settings, a frame the logic shows and hides.
    {kFrame6, Kind::panel, kPage, nullptr, {kRightX, kFrame6Y, kColumnW, kFrame6H}},
    group("SpotCollector Settings", {0, 0, kColumnW, kFrame6H}, kSpot),
    group("Optimal Digital Freq", {6, 14, kColumnW - 12, 39}, kSpot),
    // The frames' captions are no names for screen readers; invisible captions are.
    {kStaticText, Kind::name_label, kSpot, "Optimal digital frequency:", {0, 0, 0, 0}},
    {kOptDigitalFreq, Kind::edit, kSpot, nullptr, {14, 29, 56, 20}},
    group("RTTY Radio Mode", {6, 55, kColumnW - 12, 39}, kSpot),
    {kStaticText, Kind::name_label, kSpot, "RTTY radio mode:", {0, 0, 0, 0}},
    {kCombo1, Kind::combo, kSpot, nullptr, {14, 70, 90, 120}},

    check(16, kRightX + 2, kCheck16Y, kColumnW - 2),

    check(2, kLeftX, kBottomY + 0 * kPitch, kFullW),
    check(6, kLeftX, kBottomY + 1 * kPitch, kFullW),
    check(8, kLeftX, kBottomY + 2 * kPitch, kFullW),
    check(9, kLeftX, kBottomY + 3 * kPitch, kFullW),
};

}  // namespace

std::span<const ControlPlace> setup_tab_layout() { return kSetupTab; }

}  // namespace vav::ui
