// Callsign lookups: every new callsign gets its WPX prefix and is looked up in DXView,
// DXKeeper and Pathfinder.
#include "app/quandrel_main.h"
#include "app/wpx_prefix.h"
#include "hosts/dxlab.h"

namespace vav {

void QuandrelMain::Callsign_Change() {
  Timer2.set_enabled(false);
  reporting_errors("QuandrelMain.Callsign_Change", [this] {
    CurrentCallsign = qso.Callsign.text();
    qso.Prefix.set_text(WpxPrefixFromCall(qso.Callsign.text()));
    qso.UTCStart.set_text(qso.UTCEnd.text());
    if (DebugMode()) debug("CallsignChange", qso.Callsign.text());
    // Each lookup reads the field afresh: a callsign that changed while events ran is the
    // one the later lookups send.
    if (clients.IsServerConnected(dxlab::kDXView) && setup.settings.TickleDXView) {
      senders.SendLookup(qso.Callsign.text());
    }
    platform.loop.pump();
    if (clients.IsServerConnected(dxlab::kDXKeeper) && setup.settings.LookupPrev) {
      senders.SendCheck(qso.Callsign.text());
    }
    platform.loop.pump();
    if (clients.IsServerConnected(dxlab::kPathfinder) && setup.settings.TicklePathfinder) {
      senders.SendGetQslInfo(qso.Callsign.text());
    }
    platform.loop.pump();
  });
  if (!unloaded_) Timer2.set_enabled(true);
}

}  // namespace vav
