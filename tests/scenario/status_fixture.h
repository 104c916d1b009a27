#pragma once
// The Status tab over the outbox: DXKeeper linked, rows picked by their call, the tab's lines.
#include <string>
#include <vector>

#include "outbox_fixture.h"
#include "support/adif_reader.h"

namespace vav::testing {

class StatusOutboxTest : public OutboxTest {
 protected:
  // The calls of the outbox's rows, and their states, top to bottom.
  std::vector<std::string> column(std::size_t n) {
    std::vector<std::string> out;
    for (const auto& row : app->status.WaitingQsos.rows()) out.push_back(row.at(n));
    return out;
  }
  std::vector<std::string> rows_calls() { return column(0); }
  std::vector<std::string> rows_states() { return column(4); }
  // Selects the row of `call`, as the operator's click does; false when no row has it.
  bool select(const std::string& call) {
    const auto calls = rows_calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
      if (calls[i] == call) {
        app->status.WaitingQsos.select(static_cast<int>(i));
        return true;
      }
    }
    return false;
  }
  std::string last_qso() { return app->status.LastQso.text(); }
  std::vector<std::string> shown_messages() {
    std::vector<std::string> out;
    for (const auto& box : desktop.message_boxes()) out.push_back(box.text);
    return out;
  }
  // The calls of the records of an ADIF file.
  static std::vector<std::string> adif_calls(const std::string& text) {
    std::vector<std::string> calls;
    for (const auto& record : read_adif(text).records) calls.push_back(adif_value(record, "CALL"));
    return calls;
  }
};

}  // namespace vav::testing
