#pragma once
// What a stand-in needs from whoever runs it, as plain callables: the transport behind the
// items it serves, deferred work on its own thread, and its exit. The in-process binding
// wires these to the simulated bus and loop; a Windows peer program wires them to DDE and
// window timers.
#include <cstdint>
#include <functional>
#include <string>

namespace vav::peers {

// An item of one of the peer's topics has a new value (every change, never a repeat).
using ItemSink = std::function<void(const std::string& topic, const std::string& item,
                                    const std::string& value)>;

// Runs `task` once, `delay_ms` later, on the peer's thread; never after the peer is gone.
using Defer = std::function<void(std::uint32_t delay_ms, std::function<void()> task)>;

// The peer asked to close itself (a "shutdown" command). Runs inside the request; the
// runner ends the peer after the request has been answered.
using ExitRequest = std::function<void()>;

}  // namespace vav::peers
