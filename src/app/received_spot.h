#pragma once
// The spot last received from SpotCollector, kept in the main window's hidden spot fields,
// and what became of it.
#include "controls/controls.h"
#include "dde/spot_server.h"

namespace vav {

struct ReceivedSpot {
  TextControl RcvdSpotPrefix, RcvdSpotGrid, RcvdSpotSearch, RcvdSpotLogMode, RcvdSpotQSX,
      RcvdSpotFreq, RcvdSpotMode, RcvdSpotCallsign;

  // Keeps the spot's fields as received.
  void store(const SpotFields& spot) {
    RcvdSpotCallsign.set_text(spot.callsign);
    RcvdSpotMode.set_text(spot.mode);
    RcvdSpotFreq.set_text(spot.freq);
    RcvdSpotQSX.set_text(spot.qsx);
    RcvdSpotLogMode.set_text(spot.log_mode);
    RcvdSpotPrefix.set_text(spot.prefix);
    RcvdSpotSearch.set_text(spot.search);
    RcvdSpotGrid.set_text(spot.grid);
  }
};

// What tuning to a spot came to.
enum class SpotOutcome { tuned, no_commander, unreadable_frequency, mixw_not_running, step_failed };

// As the Status tab shows it.
constexpr const char* spot_outcome_text(SpotOutcome outcome) {
  switch (outcome) {
    case SpotOutcome::tuned:
      return "tuned";
    case SpotOutcome::no_commander:
      return "refused: Commander is not connected";
    case SpotOutcome::unreadable_frequency:
      return "refused: the frequency cannot be read";
    case SpotOutcome::mixw_not_running:
      return "not tuned: MixW is not running";
    case SpotOutcome::step_failed:
      break;
  }
  return "abandoned: a step failed";
}

}  // namespace vav
