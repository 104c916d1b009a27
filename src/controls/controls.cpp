#include "controls/controls.h"

#include "errors/runtime_error.h"

namespace vav {

void Control::set_visible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  notify_view();
}

void TextControl::set_text(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  notify_view();
  if (on_change) on_change();
}

void ListRows::set_rows(std::vector<Row> rows, std::vector<int> icons) {
  if (rows == rows_ && icons == icons_) return;
  rows_ = std::move(rows);
  icons_ = std::move(icons);
  const bool selection_lost = selected_ >= static_cast<int>(rows_.size());
  if (selection_lost) selected_ = -1;
  notify_view();
  if (selection_lost && on_select) on_select();
}

void ListRows::select(int index) {
  if (index < 0 || index >= static_cast<int>(rows_.size())) index = -1;
  if (index == selected_) return;
  selected_ = index;
  notify_view();
  if (on_select) on_select();
}

void Button::set_enabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notify_view();
}

void Button::click() {
  if (enabled_ && on_click) on_click();
}

LinkedText::LinkedText(Dde& dde, Millis link_timeout, std::string design_text)
    : TextControl(std::move(design_text)), dde_(dde), timeout_(link_timeout) {}

LinkAddress LinkedText::address() const {
  const auto bar = link_topic_.find('|');
  if (bar == std::string::npos) throw RuntimeError(err::kNoDdeResponse);
  return {link_topic_.substr(0, bar), link_topic_.substr(bar + 1), link_item_};
}

void LinkedText::end_link() {
  if (self_) *self_ = nullptr;
  self_.reset();
  conversation_.reset();
  unanswered_.clear();  // nobody will answer them now
  mode_ = LinkMode::none;
}

void LinkedText::set_link_mode(LinkMode mode) {
  // Asking again for the link that is open keeps it: the periodic connection pass sets the
  // same topics and modes every few seconds and must not churn live conversations. One
  // whose server has gone without a word is opened anew.
  if (mode == LinkMode::automatic && conversation_ && link_topic_ == open_topic_ &&
      link_item_ == open_item_ && conversation_->server_exists()) {
    return;
  }
  end_link();
  if (mode == LinkMode::none) return;

  auto self = std::make_shared<LinkedText*>(this);
  LinkEvents events;
  events.on_data = [self](const std::string& value) {
    if (*self) (*self)->set_text(value);
  };
  events.on_late_answer = [self](bool accepted) {
    if (*self) (*self)->late_answer(accepted);
  };
  events.on_closed = [self] {
    LinkedText* control = *self;
    if (!control) return;
    control->end_link();
    if (control->on_link_close) control->on_link_close();
  };
  OpenedConversation opened = dde_.open(address(), timeout_, std::move(events));
  conversation_ = std::move(opened.conversation);
  self_ = std::move(self);
  mode_ = LinkMode::automatic;
  open_topic_ = link_topic_;
  open_item_ = link_item_;
  set_text(std::move(opened.value));
}

bool LinkedText::drop_dead_link() {
  if (!conversation_ || conversation_->server_exists()) return false;
  end_link();
  return true;
}

void LinkedText::link_execute(std::string_view command) {
  if (!conversation_) throw RuntimeError(err::kDdeNoChannel);
  const std::shared_ptr<DdeConversation> conversation = conversation_;
  try {
    conversation->execute(command);
  } catch (const RuntimeError& e) {
    // Still open after the wait: the server may run the command late.
    if (e.number() == err::kDdeTimeout && conversation_ == conversation) {
      unanswered_.emplace_back(command);
    }
    throw;
  }
}

bool LinkedText::awaits_answer(std::string_view command) const {
  for (const auto& unanswered : unanswered_) {
    if (unanswered == command) return true;
  }
  return false;
}

void LinkedText::late_answer(bool accepted) {
  if (unanswered_.empty()) return;
  std::string command = std::move(unanswered_.front());
  unanswered_.pop_front();
  if (on_late_answer) on_late_answer(command, accepted);
}

void CheckBox::set_value(CheckValue value) {
  if (value == value_) return;
  value_ = value;
  notify_view();
  if (on_click) on_click();
}

void OptionGroup::select(int index) {
  if (index == selected_) return;
  selected_ = index;
  notify_view();
  if (on_click) on_click(index);
}

void ComboList::set_list_index(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) {
    throw RuntimeError(err::kInvalidPropertyValue);
  }
  if (index == index_) return;
  index_ = index;
  notify_view();
  if (on_click) on_click();
}

Timer::Timer(EventLoop& loop, Millis interval) : loop_(loop), interval_(interval) {}

Timer::~Timer() { disarm(); }

void Timer::set_enabled(bool enabled) {
  disarm();
  enabled_ = enabled;
  if (enabled_) arm();
}

void Timer::set_interval(Millis interval) {
  interval_ = interval;
  if (enabled_) {
    disarm();
    arm();
  }
}

void Timer::arm() {
  if (interval_ == 0) return;  // a zero interval never ticks, as with window timers
  pending_ = loop_.call_after(interval_, [this] { fire(); });
}

void Timer::disarm() {
  if (pending_ != 0) loop_.cancel(pending_);
  pending_ = 0;
}

void Timer::fire() {
  pending_ = 0;
  if (!enabled_) return;
  arm();  // the next tick counts from this one, whatever the handler takes
  if (in_handler_ || !on_tick) return;
  in_handler_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_handler_};
  on_tick();
}

}  // namespace vav
