#include "ui/win32/show_when_loaded.h"

namespace vav::ui {
namespace {

constexpr Millis kCheckInterval = 100;

}  // namespace

ShowWhenLoaded::ShowWhenLoaded(EventLoop& loop, MainWindow& window, QuandrelMain& app)
    : loop_(loop), window_(window), app_(app) {}

ShowWhenLoaded::~ShowWhenLoaded() {
  if (pending_) loop_.cancel(pending_);
}

void ShowWhenLoaded::start(bool loaded) {
  if (loaded) {
    window_.show();
    return;
  }
  pending_ = loop_.call_after(kCheckInterval, [this] { check(); });
}

void ShowWhenLoaded::check() {
  pending_ = 0;
  if (app_.run_end() != RunEnd::running || loop_.quitting()) return;
  if (app_.MixWFound) {
    window_.show();
    return;
  }
  pending_ = loop_.call_after(kCheckInterval, [this] { check(); });
}

}  // namespace vav::ui
