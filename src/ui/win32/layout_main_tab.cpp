// The Main tab: the QSO fields in two columns, full-width rows, the contest exchange with
// the Save button, and the row of data labels.
#include "ui/win32/layout.h"

namespace vav::ui {
namespace {

constexpr Container kPage = Container::main_page;
constexpr int kRowPitch = 23;
constexpr int kFieldHeight = 20;
constexpr int kLabelDrop = 3;  // a caption's top below its field's top
constexpr int kLabelHeight = 14;

constexpr int row(int n) { return 5 + n * kRowPitch; }

// Left column: caption, then field; right column likewise.
constexpr int kLeftLabelX = 4, kLeftLabelW = 52;
constexpr int kLeftFieldX = 58, kLeftFieldW = 66;
constexpr int kRightLabelX = 128, kRightLabelW = 76;
constexpr int kRightFieldX = 206, kRightFieldW = 82;
constexpr int kUtcW = 40;
constexpr int kRightEdge = kRightFieldX + kRightFieldW;

constexpr ControlPlace label(const char* text, int x, int w, int r) {
  return {kStaticText, Kind::caption, kPage, text, {x, row(r) + kLabelDrop, w, kLabelHeight}};
}
constexpr ControlPlace field(int id, int x, int w, int r) {
  return {id, Kind::edit, kPage, nullptr, {x, row(r), w, kFieldHeight}};
}
constexpr ControlPlace left_field(int id, int r) { return field(id, kLeftFieldX, kLeftFieldW, r); }
// Names the control that follows it; never shown.
constexpr ControlPlace name(const char* text) {
  return {kStaticText, Kind::name_label, kPage, text, {0, 0, 0, 0}};
}

constexpr int kFrame3Row = 10;
constexpr int kFrame3Y = row(kFrame3Row);
constexpr int kFrame3H = kLabelHeight + 1 + kFieldHeight;
constexpr int kExchW = 96;
constexpr int kDataY = kFrame3Y + kFrame3H + 5;
constexpr int kDataH = 16;

constexpr ControlPlace kMainTab[] = {
    label("CallSign", kLeftLabelX, kLeftLabelW, 0),
    left_field(kCallsign, 0),
    label("Rig Freq", kRightLabelX, kRightLabelW, 0),
    field(kRigFreq, kRightFieldX, kRightFieldW, 0),

    label("RST Rcvd", kLeftLabelX, kLeftLabelW, 1),
    left_field(kRSTRcvd, 1),
    label("Audio Freq", kRightLabelX, kRightLabelW, 1),
    field(kAudioFreq, kRightFieldX, kRightFieldW, 1),

    label("RST Snt", kLeftLabelX, kLeftLabelW, 2),
    left_field(kRSTSnt, 2),
    label("Operating Freq", kRightLabelX, kRightLabelW, 2),
    field(kOpFreq, kRightFieldX, kRightFieldW, 2),

    label("Mode", kLeftLabelX, kLeftLabelW, 3),
    left_field(kMode, 3),
    label("Date", kRightLabelX, kRightLabelW, 3),
    field(kDateNow, kRightFieldX, kRightFieldW, 3),

    label("Name", kLeftLabelX, kLeftLabelW, 4),
    left_field(kNameText, 4),
    label("UTC", kRightLabelX, kRightLabelW, 4),
    name("UTC start time:"),
    field(kUTCStart, kRightFieldX, kUtcW, 4),
    name("UTC end time:"),
    field(kUTCEnd, kRightEdge - kUtcW, kUtcW, 4),

    label("QTH", kLeftLabelX, kLeftLabelW, 5),
    left_field(kQTH, 5),
    label("State", kRightLabelX, kRightLabelW, 5),
    field(kState, kRightFieldX, kRightFieldW, 5),

    label("Country", kLeftLabelX, kLeftLabelW, 6),
    field(kDXCCPrefix, kLeftFieldX, 40, 6),
    field(kCountry, kLeftFieldX + 42, kRightEdge - kLeftFieldX - 42, 6),

    label("QSL Info", kLeftLabelX, kLeftLabelW, 7),
    field(kQSLInfo, kLeftFieldX, kRightEdge - kLeftFieldX, 7),
    label("Notes", kLeftLabelX, kLeftLabelW, 8),
    field(kNotes, kLeftFieldX, kRightEdge - kLeftFieldX, 8),
    label("County", kLeftLabelX, kLeftLabelW, 9),
    field(kCounty, kLeftFieldX, kRightEdge - kLeftFieldX, 9),

    // The contest exchange, a borderless frame the logic shows and hides.
    {kFrame3, Kind::panel, kPage, nullptr, {kLeftLabelX, kFrame3Y, 2 * kExchW + 6, kFrame3H}},
    {kStaticText, Kind::caption, Container::frame3, "Exch Sent", {0, 0, kExchW, kLabelHeight}},
    {kExchSnt, Kind::edit, Container::frame3, nullptr, {0, kLabelHeight + 1, kExchW, kFieldHeight}},
    {kStaticText,
     Kind::caption,
     Container::frame3,
     "Exch Rcvd",
     {kExchW + 6, 0, kExchW, kLabelHeight}},
    {kExchRcv,
     Kind::edit,
     Container::frame3,
     nullptr,
     {kExchW + 6, kLabelHeight + 1, kExchW, kFieldHeight}},
    {kSave,
     Kind::button,
     kPage,
     "Save",
     {kRightFieldX, kFrame3Y + kLabelHeight - 1, kRightFieldW, kFieldHeight + 3}},

    // The data labels along the bottom.
    name("Continent:"),
    {kCont, Kind::data_label, kPage, nullptr, {kLeftLabelX, kDataY, 34, kDataH}},
    name("CQ zone:"),
    {kCQZ, Kind::data_label, kPage, nullptr, {40, kDataY, 34, kDataH}},
    name("ITU zone:"),
    {kIRUZ, Kind::data_label, kPage, nullptr, {76, kDataY, 34, kDataH}},
    name("WPX prefix:"),
    {kPrefix, Kind::data_label, kPage, nullptr, {112, kDataY, 56, kDataH}},
    name("Grid square:"),
    {kGridSq, Kind::data_label, kPage, nullptr, {170, kDataY, 56, kDataH}},
    name("IOTA reference:"),
    {kIOTA, Kind::data_label, kPage, nullptr, {228, kDataY, kRightEdge - 228, kDataH}},
};

}  // namespace

std::span<const ControlPlace> main_tab_layout() { return kMainTab; }

Container container_of_panel(int panel_id) {
  return panel_id == kFrame3 ? Container::frame3 : Container::frame6;
}

}  // namespace vav::ui
