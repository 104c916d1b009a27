#pragma once
// The controls model: the semantics of form controls that the program's behaviour relies
// on, in one place. The logic reads and writes these; the Windows UI binds them to real
// windows in both directions and never holds state of its own.
//
// - Setting a text from code raises its change handler synchronously, nested, before the
//   setter returns, exactly when the text differs; the same text raises nothing.
// - Setting a check box's value, an option group's or a list's index from code raises its
//   click handler, as a user's click does, exactly when the value differs.
// - Every control has a visibility flag; a frame is nothing more.
// - `on_view` is the UI's observer: it repaints after any change and never runs logic.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dde.h"
#include "platform/event_loop.h"

namespace vav {

class Control {
 public:
  bool visible() const { return visible_; }
  void set_visible(bool visible);
  std::function<void()> on_view;

 protected:
  void notify_view() const {
    if (on_view) on_view();
  }

 private:
  bool visible_ = true;
};

using Frame = Control;

// A text box or a label (its text is the caption).
class TextControl : public Control {
 public:
  TextControl() = default;
  explicit TextControl(std::string design_text) : text_(std::move(design_text)) {}
  const std::string& text() const { return text_; }
  void set_text(std::string text);
  std::function<void()> on_change;

 private:
  std::string text_;
};

enum class LinkMode { none = 0, automatic = 1 };

// A text box or label that is also the client end of one DDE conversation: link topic
// ("service|topic"), link item, link mode, link time-out. Setting the mode to automatic
// opens the conversation and takes the item's value; every new value of the item replaces
// the text (raising on_change when it differs). Setting it to none ends the conversation.
// Asking again for the link that is open keeps it while its server exists, and opens it
// anew when the server has vanished.
class LinkedText : public TextControl {
 public:
  LinkedText(Dde& dde, Millis link_timeout, std::string design_text = {});

  void set_link_topic(std::string service_and_topic) { link_topic_ = std::move(service_and_topic); }
  void set_link_item(std::string item) { link_item_ = std::move(item); }
  const std::string& link_topic() const { return link_topic_; }
  const std::string& link_item() const { return link_item_; }

  // Throws RuntimeError when the conversation cannot be opened (kNoDdeResponse, ...); the
  // mode is then none.
  void set_link_mode(LinkMode mode);
  LinkMode link_mode() const { return mode_; }

  // Executes a command on the conversation. Throws RuntimeError (kDdeNoChannel when no
  // conversation is open, or what the conversation throws). A command whose wait timed out
  // on a conversation that is still open stays unanswered: the server may run it late, and
  // on_late_answer tells when it answers.
  void link_execute(std::string_view command);
  // Whether `command` timed out on the open conversation and has had no answer yet. False
  // once the conversation has ended: then nobody will ever answer it, and whether the
  // server ran it cannot be known.
  bool awaits_answer(std::string_view command) const;
  // A command that timed out was answered after all (true: accepted), oldest first.
  std::function<void(const std::string& command, bool accepted)> on_late_answer;

  // Ends the conversation when its server no longer exists: a program that crashed or was
  // killed never ends its conversations, so no link-close notice comes. Raises no notice;
  // returns whether the conversation was dead.
  bool drop_dead_link();

  // The server ended the conversation; the mode is none when this runs.
  std::function<void()> on_link_close;

 private:
  void end_link();
  LinkAddress address() const;

  void late_answer(bool accepted);

  Dde& dde_;
  Millis timeout_;
  std::string link_topic_;
  std::string link_item_;
  LinkMode mode_ = LinkMode::none;
  // Shared so that an execute's wait keeps it alive when a message dispatched inside the
  // wait (Windows ending the session) ends the link.
  std::shared_ptr<DdeConversation> conversation_;
  std::deque<std::string> unanswered_;  // timed out on the open conversation, oldest first
  std::string open_topic_;
  std::string open_item_;
  // Shared with the conversation's callbacks so a notice arriving after the link was ended
  // or the control destroyed is dropped.
  std::shared_ptr<LinkedText*> self_;
};

enum class CheckValue { unchecked = 0, checked = 1, grayed = 2 };

class CheckBox : public Control {
 public:
  explicit CheckBox(std::string caption = {}) : caption_(std::move(caption)) {}
  CheckValue value() const { return value_; }
  bool checked() const { return value_ == CheckValue::checked; }
  void set_value(CheckValue value);
  void set_checked(bool checked) {
    set_value(checked ? CheckValue::checked : CheckValue::unchecked);
  }
  const std::string& caption() const { return caption_; }
  std::function<void()> on_click;

 private:
  std::string caption_;
  CheckValue value_ = CheckValue::unchecked;
};

// A control array of option buttons: one selected index (or -1 before any is chosen).
class OptionGroup : public Control {
 public:
  explicit OptionGroup(std::vector<std::string> captions) : captions_(std::move(captions)) {}
  int selected() const { return selected_; }
  // Selecting the button already selected raises nothing.
  void select(int index);
  const std::vector<std::string>& captions() const { return captions_; }
  std::function<void(int index)> on_click;

 private:
  std::vector<std::string> captions_;
  int selected_ = -1;
};

// A drop-down list. The index is -1 (nothing selected) or a position in the list.
class ComboList : public Control {
 public:
  explicit ComboList(std::vector<std::string> items) : items_(std::move(items)) {}
  int list_index() const { return index_; }
  // Throws RuntimeError(kInvalidPropertyValue) for an index outside -1 .. count-1.
  void set_list_index(int index);
  const std::vector<std::string>& items() const { return items_; }
  std::function<void()> on_click;

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

// A list view in report style: column captions and rows of texts, replaced whole, each row
// with an optional state icon (an index the view maps to a picture; 0 for none). The view is
// told only when the rows differ. One row may be selected: the selection keeps its index
// while the rows change, unless the index is past the last row.
class ListRows : public Control {
 public:
  using Row = std::vector<std::string>;
  explicit ListRows(std::vector<std::string> columns) : columns_(std::move(columns)) {}
  const std::vector<std::string>& columns() const { return columns_; }
  const std::vector<Row>& rows() const { return rows_; }
  // One icon per row, or none at all.
  const std::vector<int>& icons() const { return icons_; }
  void set_rows(std::vector<Row> rows, std::vector<int> icons = {});
  // The selected row, or -1.
  int selected() const { return selected_; }
  // Selects a row (-1 for none; an index past the last row selects none), raising on_select
  // when the selection changes.
  void select(int index);
  std::function<void()> on_select;

 private:
  std::vector<std::string> columns_;
  std::vector<Row> rows_;
  std::vector<int> icons_;
  int selected_ = -1;
};

// A command button: a caption, an enabled flag and the click handler. click() runs the
// handler as a user's click does, and only while the button is enabled.
class Button : public Control {
 public:
  explicit Button(std::string caption) : caption_(std::move(caption)) {}
  const std::string& caption() const { return caption_; }
  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled);
  void click();
  std::function<void()> on_click;

 private:
  std::string caption_;
  bool enabled_ = true;
};

// A window timer: an interval and an enabled flag. Enabling, or changing the interval of an
// enabled timer, starts its count anew; a tick never re-enters the handler of the same timer
// (ticks that fall due while it runs are dropped). Stops when destroyed.
class Timer {
 public:
  Timer(EventLoop& loop, Millis interval);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled);
  Millis interval() const { return interval_; }
  void set_interval(Millis interval);
  std::function<void()> on_tick;

 private:
  void arm();
  void disarm();
  void fire();

  EventLoop& loop_;
  Millis interval_;
  bool enabled_ = false;
  bool in_handler_ = false;
  EventLoop::TaskId pending_ = 0;
};

}  // namespace vav
