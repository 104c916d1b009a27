// Callsign lookups: every new callsign gets its WPX prefix and is looked up in DXView,
// DXKeeper and Pathfinder.
#include "app/quandrel_main.h"
#include "app/wpx_prefix.h"
#include "hosts/dxlab.h"

namespace vav {

void QuandrelMain::Callsign_Change() {
  Timer2.set_enabled(false);
  trap("QuandrelMain.Callsign_Change", [this] {
    CurrentCallsign = Callsign.text();
    Prefix.set_text(WpxPrefixFromCall(Callsign.text()));
    UTCStart.set_text(UTCEnd.text());
    if (DebugMode()) debug("CallsignChange", Callsign.text());
    // Each lookup reads the field afresh: a callsign that changed while events ran is the
    // one the later lookups send.
    if (clients.IsServerConnected(dxlab::kDXView) && settings.TickleDXView) {
      senders.SendLookup(Callsign.text());
    }
    platform.loop.pump();
    if (clients.IsServerConnected(dxlab::kDXKeeper) && settings.LookupPrev) {
      senders.SendCheck(Callsign.text());
    }
    platform.loop.pump();
    if (clients.IsServerConnected(dxlab::kPathfinder) && settings.TicklePathfinder) {
      senders.SendGetQslInfo(Callsign.text());
    }
    platform.loop.pump();
  });
  if (!unloaded_) Timer2.set_enabled(true);
}

}  // namespace vav
