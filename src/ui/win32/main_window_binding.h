#pragma once
// Binds the main window's controls to the logic's controls model, both ways:
// - the user's edits and clicks go into the model (set_text, set_value, select,
//   set_list_index, Save_Click), which raises the logic's handlers;
// - every model change repaints its window through on_view, which never runs logic.
// A repaint that makes a text box report a change of its own is not fed back.
//
// The binding owns every on_view it sets and clears them when destroyed; destroy it before
// the model or the window.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/quandrel_main.h"
#include "ui/win32/main_window.h"

namespace vav::ui {

class MainWindowBinding {
 public:
  MainWindowBinding(MainWindow& window, QuandrelMain& app);
  ~MainWindowBinding();
  MainWindowBinding(const MainWindowBinding&) = delete;
  MainWindowBinding& operator=(const MainWindowBinding&) = delete;

 private:
  void on_command(int id, int code);
  void bind_text(TextControl& model, int id);
  void bind_check(CheckBox& model, int id);
  void bind_options(OptionGroup& model, int first_id);
  void bind_combo(ComboList& model, int id);
  void bind_frame(Frame& model, int id);
  void bind_button(int id, std::function<void()> on_click);
  // The Status tab (main_window_status.cpp).
  void bind_status(StatusTab& status);
  void bind_list(ListRows& model, int id);
  void bind_model_button(Button& model, int id);
  void watch(Control& model, std::function<void()> repaint);

  MainWindow& window_;
  std::vector<Control*> watched_;
  std::map<std::pair<int, int>, std::function<void()>> commands_;  // (id, code) -> action
  bool repainting_ = false;
};

}  // namespace vav::ui
