#pragma once
// Where every child window of the main window sits. Positions are in pixels at 96 dots per
// inch, relative to the container named; the window scales them by its own DPI.
#include <span>

#include "ui/win32/control_ids.h"

namespace vav::ui {

enum class Container { main_page, setup_page, status_page, frame3, frame6 };

// The tab pages, in the order of their tabs.
inline constexpr Container kPages[] = {Container::main_page, Container::setup_page,
                                       Container::status_page};

enum class Kind {
  caption,     // a static caption: label, note
  name_label,  // an invisible caption that names the control after it (see below)
  data_label,  // a read-only text box showing a field's text
  data_block,  // the same on two lines, wrapped at words
  edit,        // a single-line text box
  button,      // a push button
  check,       // a check box (caption from the model)
  option,      // one button of an option group (caption from the model)
  combo,       // a drop-down list (entries from the model)
  group,       // a frame with a caption (group box)
  panel,       // a frame the logic shows and hides: a container of its own
  list,        // a list view in report style (columns and rows from the model)
};

struct Box {
  int x, y, width, height;
};

struct ControlPlace {
  int id;
  Kind kind;
  Container container;
  const char* caption;  // nullptr when the model supplies it
  Box box;
};

// A control without a caption of its own is named, for screen readers, by the caption just
// before it in Z order (which is layout order): Active Accessibility takes the nearest
// preceding static text as an edit box's or list's name, an invisible one too. Where no
// visible caption stands right before a control, a name_label ("Continent:") precedes it;
// the same words, without the colon, are the control's tooltip.
std::span<const ControlPlace> main_tab_layout();
std::span<const ControlPlace> setup_tab_layout();
std::span<const ControlPlace> status_tab_layout();

// The containers a panel place opens.
Container container_of_panel(int panel_id);

}  // namespace vav::ui
