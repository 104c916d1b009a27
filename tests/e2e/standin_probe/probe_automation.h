#pragma once
// The automation checks of standin_probe on "MixW2.Application", taken with GetActiveObject
// as the bridge takes it. Each prints what it sees and returns the program's exit code.
#include "tests/e2e/standin_probe/probe_dde.h"

namespace vav::peers::win32 {

// The object is running; Mode reads, audiofq writes and reads back, ExecuteMacros runs a
// macro whose effect shows in Mode, an unknown member is refused by name. 0 when all hold.
int probe_automation();

// No object is running: GetActiveObject fails. 0 when it does.
int probe_automation_gone();

// A reference held while the trigger (e.g. MixW's "vanish") runs fails afterwards, and
// GetActiveObject fails. 0 when both hold.
int probe_automation_vanish(const ProbeOptions& options);

}  // namespace vav::peers::win32
