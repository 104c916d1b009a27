#pragma once
// The desktop as a test sees it: message boxes recorded, other programs' top-level windows
// registered by title, the monitors and the desktop's DPI, and the wait window a test can
// cancel or close.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_screens.h"

namespace vav::sim {

struct MessageBoxShown {
  std::string text;
  std::string title;
  bool operator==(const MessageBoxShown&) const = default;
};

class SimDesktop final : public Desktop {
 public:
  // The loop must outlive this object.
  explicit SimDesktop(SimEventLoop& loop);
  ~SimDesktop() override;
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  void message_box(const std::string& text, const std::string& title) override;
  // Recorded with the message boxes; answered as set_confirm_answer says (Cancel unless set).
  bool confirm(const std::string& text, const std::string& title) override;
  void set_confirm_answer(bool ok) { confirm_answer_ = ok; }
  // Recorded apart from the message boxes; answered as set_question_answer says (the
  // action unless set).
  bool ask(const std::string& text, const std::string& title, const std::string& action) override;
  void set_question_answer(bool act) { question_answer_ = act; }
  struct Question {
    std::string text;
    std::string action;
  };
  const std::vector<Question>& questions() const { return questions_; }
  // Answered with set_save_path's path (cancelled unless set); the titles are recorded.
  std::optional<std::string> ask_save_path(const std::string& title,
                                           const std::string& suggested_name) override;
  void set_save_path(std::optional<std::string> path) { save_path_ = std::move(path); }
  const std::vector<std::string>& save_dialogs() const { return save_dialogs_; }
  // Titles match without regard to letter case, as FindWindowA matches them.
  std::optional<WindowRef> find_window(const std::string& title) override;
  bool is_window(WindowRef window) override { return windows_.count(window) != 0; }
  // The window's close callback runs later, on the loop, if the window still exists then.
  bool post_close(WindowRef window) override;
  int screen_logical_dpi() override { return dpi_; }
  std::unique_ptr<WaitScreenView> show_wait_screen(std::function<void()> on_cancel) override;

  // --- message boxes ---
  bool open_document(const std::string& path) override;
  // The documents opened, in order.
  const std::vector<std::string>& opened_documents() const { return opened_documents_; }
  const std::vector<MessageBoxShown>& message_boxes() const { return message_boxes_; }
  void clear_message_boxes() { message_boxes_.clear(); }
  // Runs while a box is up, before the user presses OK (a test may run the loop there, as
  // events keep running under a modal box).
  void set_on_message_box(std::function<void(const MessageBoxShown&)> on_shown);

  // --- other programs' windows ---
  WindowRef add_window(const std::string& title, std::function<void()> on_close);
  void remove_window(WindowRef window);
  // While set, post_close fails (returns false) and posts nothing.
  void set_post_fails(bool fails) { post_fails_ = fails; }
  // Every window a close request was posted to, in order.
  const std::vector<WindowRef>& posted_closes() const { return posted_closes_; }

  // The primary monitor's resolution, which the desktop's device context also has (the
  // system's resolution, as at the user's sign-in).
  void set_dpi(int dpi) {
    dpi_ = dpi;
    screens_.set_primary_dpi(dpi);
  }
  // The monitors, the primary first; the desktop's resolution becomes the primary's.
  void set_monitors(std::vector<Monitor> monitors) {
    screens_.set_monitors(std::move(monitors));
    dpi_ = screens_.primary().dpi;
  }
  const SimScreens& screens() const { return screens_; }

  // --- the wait window ---
  bool wait_screen_shown() const;
  int wait_screens_shown() const;  // how many times it has been shown
  // The user presses Cancel / closes the window another way: the program's on_cancel runs.
  // False when no wait window is shown.
  bool press_wait_cancel();
  bool close_wait_screen();

  struct WaitState;

 private:
  SimEventLoop& loop_;
  std::vector<MessageBoxShown> message_boxes_;
  std::vector<std::string> opened_documents_;
  std::function<void(const MessageBoxShown&)> on_message_box_;
  struct Window {
    std::string title;
    std::function<void()> on_close;
  };
  std::map<WindowRef, Window> windows_;
  WindowRef next_window_ = 0x20000;
  bool post_fails_ = false;
  std::vector<WindowRef> posted_closes_;
  int dpi_ = 96;
  bool confirm_answer_ = false;
  bool question_answer_ = true;
  std::vector<Question> questions_;
  std::optional<std::string> save_path_;
  std::vector<std::string> save_dialogs_;
  SimScreens screens_;
  std::shared_ptr<WaitState> wait_;
  std::shared_ptr<bool> alive_;
};

}  // namespace vav::sim
