#include "platform/sim/sim_desktop.h"

#include <utility>

#include "platform/sim/sim_text.h"

namespace vav::sim {

struct SimDesktop::WaitState {
  int generation = 0;  // the view shown last; an older view's end changes nothing
  bool shown = false;
  std::function<void()> on_cancel;
};

namespace {

class SimWaitScreen final : public WaitScreenView {
 public:
  SimWaitScreen(std::shared_ptr<SimDesktop::WaitState> state, int generation)
      : state_(std::move(state)), generation_(generation) {}
  ~SimWaitScreen() override {
    if (state_->generation != generation_) return;
    state_->shown = false;
    state_->on_cancel = nullptr;
  }
  SimWaitScreen(const SimWaitScreen&) = delete;
  SimWaitScreen& operator=(const SimWaitScreen&) = delete;

 private:
  std::shared_ptr<SimDesktop::WaitState> state_;
  int generation_;
};

}  // namespace

SimDesktop::SimDesktop(SimEventLoop& loop)
    : loop_(loop), wait_(std::make_shared<WaitState>()), alive_(std::make_shared<bool>(true)) {}

SimDesktop::~SimDesktop() = default;

void SimDesktop::message_box(const std::string& text, const std::string& title) {
  message_boxes_.push_back({text, title});
  if (!on_message_box_) return;
  const auto on_shown = on_message_box_;
  on_shown(MessageBoxShown{text, title});
}

bool SimDesktop::confirm(const std::string& text, const std::string& title) {
  message_boxes_.push_back({text, title});
  return confirm_answer_;
}

bool SimDesktop::ask(const std::string& text, const std::string&, const std::string& action) {
  questions_.push_back({text, action});
  return question_answer_;
}

std::optional<std::string> SimDesktop::ask_save_path(const std::string& title, const std::string&) {
  save_dialogs_.push_back(title);
  return save_path_;
}

void SimDesktop::set_on_message_box(std::function<void(const MessageBoxShown&)> on_shown) {
  on_message_box_ = std::move(on_shown);
}

std::optional<WindowRef> SimDesktop::find_window(const std::string& title) {
  for (const auto& [ref, window] : windows_) {
    if (iequals(window.title, title)) return ref;
  }
  return std::nullopt;
}

bool SimDesktop::post_close(WindowRef window) {
  if (post_fails_ || windows_.count(window) == 0) return false;
  posted_closes_.push_back(window);
  loop_.post([this, alive = std::weak_ptr<bool>(alive_), window] {
    if (alive.expired()) return;
    const auto found = windows_.find(window);
    if (found == windows_.end() || !found->second.on_close) return;
    const auto on_close = found->second.on_close;  // it may remove the window
    on_close();
  });
  return true;
}

WindowRef SimDesktop::add_window(const std::string& title, std::function<void()> on_close) {
  const WindowRef ref = next_window_;
  next_window_ += 0x10;
  windows_[ref] = Window{title, std::move(on_close)};
  return ref;
}

void SimDesktop::remove_window(WindowRef window) { windows_.erase(window); }

std::unique_ptr<WaitScreenView> SimDesktop::show_wait_screen(std::function<void()> on_cancel) {
  ++wait_->generation;
  wait_->shown = true;
  wait_->on_cancel = std::move(on_cancel);
  return std::make_unique<SimWaitScreen>(wait_, wait_->generation);
}

bool SimDesktop::wait_screen_shown() const { return wait_->shown; }
int SimDesktop::wait_screens_shown() const { return wait_->generation; }

bool SimDesktop::press_wait_cancel() {
  if (!wait_->shown) return false;
  const auto on_cancel = wait_->on_cancel;  // it may close the view
  if (on_cancel) on_cancel();
  return true;
}

// Unlike Cancel, the window is gone afterwards whatever the program does about it.
bool SimDesktop::close_wait_screen() {
  if (!press_wait_cancel()) return false;
  wait_->shown = false;
  wait_->on_cancel = nullptr;
  return true;
}

bool SimDesktop::open_document(const std::string& path) {
  opened_documents_.push_back(path);
  return true;
}

}  // namespace vav::sim
