#pragma once
// Shows the main window once the logic's load has gone past the wait for MixW. The load may
// complete inside Form_Load or later, from the wait window's timer; the logic offers no
// notice of that, so this looks at MixWFound on the loop until it is set or the run ends.
#include "app/quandrel_main.h"
#include "platform/event_loop.h"
#include "ui/win32/main_window.h"

namespace vav::ui {

class ShowWhenLoaded {
 public:
  ShowWhenLoaded(EventLoop& loop, MainWindow& window, QuandrelMain& app);
  ~ShowWhenLoaded();
  ShowWhenLoaded(const ShowWhenLoaded&) = delete;
  ShowWhenLoaded& operator=(const ShowWhenLoaded&) = delete;

  // `loaded` is what Form_Load returned.
  void start(bool loaded);

 private:
  void check();

  EventLoop& loop_;
  MainWindow& window_;
  QuandrelMain& app_;
  EventLoop::TaskId pending_ = 0;
};

}  // namespace vav::ui
