#pragma once
// The seam between a stand-in and the DDE transport that serves it. A stand-in is a
// ServedProgram (its topics, items and executes); a DdeService publishes one service name
// for it, on raw WM_DDE_* messages or on DDEML, until destroyed. All text is ANSI.
#include <cstdint>
#include <optional>
#include <string>

#include "peers/dxlab_peer.h"

namespace vav::peers::win32 {

enum class Transport { raw, ddeml };

class ServedProgram {
 public:
  virtual ~ServedProgram() = default;
  // Topic names compare without regard to letter case, as DDE names do.
  virtual bool has_topic(const std::string& topic) const = 0;
  // The item's text; nullopt when the topic does not offer it (a link is refused).
  virtual std::optional<std::string> item(const std::string& topic,
                                          const std::string& item) const = 0;
  // none: the execute is left unanswered.
  virtual Answer execute(const std::string& topic, const std::string& command) = 0;
  // A conversation event for the journal ("connect DDEServer", "link DDEServer DDECommand").
  virtual void note(const std::string& line) = 0;
};

class DdeService {
 public:
  virtual ~DdeService() = default;  // ends every conversation and withdraws the name
  // The item has a new value: every link on it hears of it (hot links with the value, warm
  // links with a notice).
  virtual void advise(const std::string& topic, const std::string& item) = 0;
  // Ends every conversation; the service keeps answering new initiates.
  virtual void close_conversations() = 0;
  // Executes left unanswered may be answered again (a hung program recovered).
  virtual void resume() = 0;
  // From now on every execute is run at once and acknowledged `delay_ms` after it arrived,
  // and never before the one before it: a busy program. 0 acknowledges at once again (after
  // any acknowledgement still owed). False when the transport cannot hold an acknowledgement
  // back (DDEML answers within its callback).
  virtual bool acknowledge_late(std::uint32_t delay_ms) = 0;
};

}  // namespace vav::peers::win32
