#include "app/outbox_actions.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/quandrel_main.h"
#include "errors/error_trap.h"

namespace vav {
namespace {

using Refusal = QsoDelivery::Refusal;

constexpr const char* kExportName = "VavizorurOutbox.adi";

// The outbox entry that the selected row shows, when the row still shows it.
std::optional<std::size_t> selected_entry(const QuandrelMain& app) {
  const int row = app.status.WaitingQsos.selected();
  const PendingQsos& pending_qsos = app.delivery.pending_qsos;
  if (row < 0 || app.status.selected_execute.empty()) return std::nullopt;
  const auto index = static_cast<std::size_t>(row);
  if (app.status.waiting_rows_changes != pending_qsos.changes() ||
      index >= pending_qsos.queued().size() ||
      pending_qsos.queued()[index].execute != app.status.selected_execute) {
    return std::nullopt;
  }
  return index;
}

void selection_changed(QuandrelMain& app) {
  const int row = app.status.WaitingQsos.selected();
  const auto& queued = app.delivery.pending_qsos.queued();
  const bool drawn = app.status.waiting_rows_changes == app.delivery.pending_qsos.changes();
  const bool qso_row = row >= 0 && static_cast<std::size_t>(row) < queued.size() &&
                       static_cast<std::size_t>(row) < kWaitingRowsShown;
  app.status.selected_execute =
      drawn && qso_row ? queued[static_cast<std::size_t>(row)].execute : std::string();
  refresh_outbox_view(app);
}

std::string refusal_text(Refusal refusal) {
  switch (refusal) {
    case Refusal::busy:
      return "Vavizorur is handing QSOs to DXKeeper at this moment. Try again in a moment.";
    case Refusal::not_ready:
      return std::string(kPendingFileName) +
             " cannot be read yet, so the QSOs in it cannot be changed. Try again once "
             "another program has let go of it.";
    case Refusal::awaits_answer:
      return "DXKeeper has this QSO and has not answered yet: it may still log it. The QSO "
             "can be sent again or removed once DXKeeper answers, or once Vavizorur's "
             "conversation with DXKeeper ends.";
    case Refusal::gone:
    case Refusal::none:
      break;
  }
  return "That QSO is no longer in the list.";
}

// Runs an action on the selected QSO; a refusal is explained, and a failure reported and
// shown with what became of the QSO.
void on_selected(QuandrelMain& app, const char* procedure, const std::string& on_failure,
                 Refusal (QsoDelivery::*action)(std::size_t)) {
  const std::optional<std::size_t> index = selected_entry(app);
  Refusal refusal = Refusal::gone;
  std::string failure;
  const auto report = [&](const RuntimeError& e, std::string_view name) {
    app.common.ReportError(e, name);
    failure = e.description();
  };
  if (index) reporting_errors(report, procedure, [&] { refusal = (app.delivery.*action)(*index); });
  app.RefreshStatus();
  if (!failure.empty()) {
    app.show_message(on_failure + " (" + failure + ").");
  } else if (refusal != Refusal::none) {
    app.show_message(refusal_text(refusal));
  }
}

void export_outbox(QuandrelMain& app) {
  std::optional<std::string> path;
  passing_over_errors([&] {
    path = app.platform.desktop.ask_save_path("Export the QSOs not yet in DXKeeper", kExportName);
  });
  if (!path) return;
  std::size_t written = 0;
  std::string failure;
  const auto report = [&](const RuntimeError& e, std::string_view name) {
    app.common.ReportError(e, name);
    failure = e.description();
  };
  reporting_errors(report, "QuandrelMain.Export_Click", [&] { written = app.delivery.export_to(*path); });
  if (!failure.empty()) {
    app.show_message(*path + " could not be written (" + failure + ").");
    return;
  }
  app.show_message(std::to_string(written) + (written == 1 ? " QSO" : " QSOs") + " written to " +
                   *path +
                   ". They stay in the list: once DXKeeper has imported them, remove them "
                   "here, or DXKeeper is sent them again when it answers.");
}

std::string files_text(const QuandrelMain& app) {
  const std::string program_folder =
      passing_over_errors(std::string(), [&] { return app.platform.system.program_folder(); });
  std::string text = app.data_folder;
  if (app.data_folder != program_folder) text += " (the program's folder cannot be written)";
  return text;
}

}  // namespace

void wire_outbox_actions(QuandrelMain& app) {
  StatusTab& status = app.status;
  status.WaitingQsos.on_select = [&app] { selection_changed(app); };
  status.SendAgain.on_click = [&app] {
    on_selected(app, "QuandrelMain.SendAgain_Click", "The QSO could not be sent again",
                &QsoDelivery::send_again);
  };
  status.Remove.on_click = [&app] {
    on_selected(
        app, "QuandrelMain.Remove_Click",
        "The QSO stays in the list: it could not be written to " + app.delivery.removed_path(),
        &QsoDelivery::remove);
  };
  status.Export.on_click = [&app] { export_outbox(app); };
}

void refresh_outbox_view(QuandrelMain& app) {
  QsoDelivery& delivery = app.delivery;
  const PendingQsos& pending_qsos = delivery.pending_qsos;
  const LastQso& last = delivery.last_qso();
  std::string state;
  if (last.fate == LastQso::Fate::in_outbox) {
    // The last QSO written is the newest in the outbox, unless one has been sent again since.
    const auto& queued = pending_qsos.queued();
    for (std::size_t i = queued.size(); i-- > 0;) {
      if (queued[i].execute != last.execute) continue;
      state = delivery.state_of(i, delivery.waiting_reasons());
      break;
    }
  }
  StatusTab& status = app.status;
  status.LastQso.set_text(last_qso_line(last, state));
  status.Files.set_text(files_text(app));
  const bool selected = !status.selected_execute.empty();
  status.SendAgain.set_enabled(selected);
  status.Remove.set_enabled(selected);
  status.Export.set_enabled(!pending_qsos.queued().empty());
  status.SendNow.set_enabled(!pending_qsos.empty());
}

}  // namespace vav
