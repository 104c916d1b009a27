#pragma once
// The Status tab's view of the outbox and the operator's actions on it: the "Last QSO" line,
// where the files are, and the buttons "Send again" and "Remove" (on the selected QSO) and
// "Export..." (all of them).
namespace vav {

class QuandrelMain;

// Sets the buttons' and the selection's handlers.
void wire_outbox_actions(QuandrelMain& app);
// The "Last QSO" line, the files line and the buttons' enabled states, from the outbox.
void refresh_outbox_view(QuandrelMain& app);

}  // namespace vav
