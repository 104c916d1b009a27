#include "ui/win32/main_window_binding.h"

#include <utility>

#include "ui/win32/control_ids.h"

namespace vav::ui {
namespace {

std::string window_text(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void set_window_visible(HWND hwnd, bool visible) {
  // The window's own flag, not IsWindowVisible: a control on the hidden tab stays shown.
  const bool shown = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != visible) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void set_style(HWND hwnd, LONG_PTR bits, bool on) {
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  const LONG_PTR wanted = on ? (style | bits) : (style & ~bits);
  if (wanted != style) SetWindowLongPtrA(hwnd, GWL_STYLE, wanted);
}

WPARAM check_state(CheckValue value) {
  switch (value) {
    case CheckValue::checked:
      return BST_CHECKED;
    case CheckValue::grayed:
      return BST_INDETERMINATE;
    case CheckValue::unchecked:
      break;
  }
  return BST_UNCHECKED;
}

// A user's click ticks an unticked or grayed box and clears a ticked one.
CheckValue clicked(CheckValue value) {
  return value == CheckValue::checked ? CheckValue::unchecked : CheckValue::checked;
}

// The window that shows the QSO field mirroring MixW's `item`; the hidden ones have none.
int qso_field_id(std::string_view item) {
  static constexpr std::pair<std::string_view, int> kIds[] = {
      {"Call", kCallsign},    {"RstRcv", kRSTRcvd},   {"RstSnt", kRSTSnt},
      {"Mode", kMode},        {"Name", kNameText},    {"Qth", kQTH},
      {"Domain", kState},     {"DxccPrefix", kDXCCPrefix}, {"Country", kCountry},
      {"Manager", kQSLInfo},  {"Notes", kNotes},      {"County", kCounty},
      {"Date", kDateNow},     {"Time", kUTCStart},    {"EndTime", kUTCEnd},
      {"ExchRcv", kExchRcv},  {"ExchSnt", kExchSnt},  {"Continent", kCont},
      {"WAZ", kCQZ},          {"ITU", kIRUZ},         {"Loc", kGridSq},
      {"IOTA", kIOTA},
  };
  for (const auto& [name, id] : kIds) {
    if (name == item) return id;
  }
  return kNoId;
}

}  // namespace

MainWindowBinding::MainWindowBinding(MainWindow& window, QuandrelMain& app) : window_(window) {
  for (const QsoField& field : kQsoFields) {
    if (const int id = qso_field_id(field.item); id != kNoId) bind_text(app.qso.*field.control, id);
  }
  const std::pair<TextControl*, int> texts[] = {
      {&app.RigFreq, kRigFreq},     {&app.AudioFreq, kAudioFreq},
      {&app.OpFreq, kOpFreq},       {&app.qso.Prefix, kPrefix},
      {&app.setup.OptDigitalFreq, kOptDigitalFreq},
  };
  for (const auto& [model, id] : texts) bind_text(*model, id);

  for (const BoxOption& option : kBoxOptions) {
    bind_check(app.setup.check_box(option.number), check_id(option.number));
  }

  bind_options(app.setup.Option1, kOption1);
  bind_options(app.setup.Option2, kOption2);
  bind_combo(app.setup.Combo1, kCombo1);
  bind_frame(app.setup.Frame3, kFrame3);
  bind_frame(app.setup.Frame6, kFrame6);
  bind_model_button(app.qso.Save, kSave);
  bind_status(app.status);

  window_.on_command = [this](int id, int code) { on_command(id, code); };
}

MainWindowBinding::~MainWindowBinding() {
  window_.on_command = nullptr;
  for (Control* model : watched_) model->on_view = nullptr;
}

void MainWindowBinding::on_command(int id, int code) {
  if (repainting_) return;
  const auto found = commands_.find({id, code});
  if (found != commands_.end()) found->second();
}

void MainWindowBinding::watch(Control& model, std::function<void()> repaint) {
  model.on_view = [this, repaint = std::move(repaint)] {
    // The notifications a repaint raises (EN_CHANGE of SetWindowText) are ours, not the
    // user's; nested repaints keep the flag until the outermost ends.
    const bool outer = !repainting_;
    repainting_ = true;
    repaint();
    if (outer) repainting_ = false;
  };
  watched_.push_back(&model);
  model.on_view();
}

void MainWindowBinding::bind_text(TextControl& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  watch(model, [&model, hwnd] {
    if (window_text(hwnd) != model.text()) SetWindowTextA(hwnd, model.text().c_str());
    set_window_visible(hwnd, model.visible());
  });
  commands_[{id, EN_CHANGE}] = [&model, hwnd] { model.set_text(window_text(hwnd)); };
}

void MainWindowBinding::bind_check(CheckBox& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  SetWindowTextA(hwnd, model.caption().c_str());
  watch(model, [&model, hwnd] {
    SendMessageA(hwnd, BM_SETCHECK, check_state(model.value()), 0);
    set_window_visible(hwnd, model.visible());
  });
  commands_[{id, BN_CLICKED}] = [&model] { model.set_value(clicked(model.value())); };
}

void MainWindowBinding::bind_options(OptionGroup& model, int first_id) {
  std::vector<HWND> buttons;
  for (std::size_t i = 0; i < model.captions().size(); ++i) {
    const int id = first_id + static_cast<int>(i);
    HWND hwnd = window_.control(id);
    if (!hwnd) continue;
    SetWindowTextA(hwnd, model.captions()[i].c_str());
    buttons.push_back(hwnd);
    commands_[{id, BN_CLICKED}] = [&model, i] { model.select(static_cast<int>(i)); };
  }
  watch(model, [&model, buttons] {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const bool selected = model.selected() == static_cast<int>(i);
      SendMessageA(buttons[i], BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
      // Tab enters the group at the chosen button. An unchosen radio button that takes the
      // focus from the keyboard reports a click, so entering at another would change the
      // choice.
      const bool stop = selected || (model.selected() < 0 && i == 0);
      set_style(buttons[i], WS_TABSTOP, stop);
      set_window_visible(buttons[i], model.visible());
    }
  });
}

void MainWindowBinding::bind_combo(ComboList& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  for (const std::string& item : model.items()) {
    SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  watch(model, [&model, hwnd] {
    SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(model.list_index()), 0);
    set_window_visible(hwnd, model.visible());
  });
  commands_[{id, CBN_SELCHANGE}] = [&model, hwnd] {
    const auto index = static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0));
    model.set_list_index(index);
  };
}

void MainWindowBinding::bind_frame(Frame& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  watch(model, [&model, hwnd] { set_window_visible(hwnd, model.visible()); });
}

void MainWindowBinding::bind_button(int id, std::function<void()> on_click) {
  commands_[{id, BN_CLICKED}] = std::move(on_click);
}

}  // namespace vav::ui
