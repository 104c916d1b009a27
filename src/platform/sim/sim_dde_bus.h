#pragma once
// An in-process DDE "wire" between the program and the simulated peers. Servers register
// topics; clients open conversations with an automatic link on one item, get the item's
// new values and link-close notices through the event loop, and execute commands that the
// server accepts, refuses, answers late or leaves hanging past the client's time-out. A test
// can start, stop, crash, refuse, hang, slow down or close any server.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dde.h"
#include "platform/sim/sim_event_loop.h"

namespace vav::sim {

enum class Reply { accept, refuse, hang };

// What a server topic does. Every member may be left empty: then links start with the
// empty value and executes are accepted.
struct ServerTopic {
  // Current value of an item when a client starts a link on it; nullopt refuses the link.
  std::function<std::optional<std::string>(const std::string& item)> on_link;
  // An execute from a client.
  std::function<Reply(const std::string& command)> on_execute;
};

class SimDdeBus {
 public:
  explicit SimDdeBus(SimEventLoop& loop);
  ~SimDdeBus();
  SimDdeBus(const SimDdeBus&) = delete;
  SimDdeBus& operator=(const SimDdeBus&) = delete;

  // --- server side (peers, the program's own topics) ---
  void start_server(const std::string& service, const std::string& topic, ServerTopic topic_impl);
  // The server goes away: its conversations end (clients get their link-close notice) and
  // new initiates find nobody.
  void stop_server(const std::string& service, const std::string& topic);
  // The server vanishes without ending its conversations, as a program that crashed or was
  // killed: clients get no link-close notice, their conversations report that the server no
  // longer exists and executes on them fail; new initiates find nobody.
  void crash_server(const std::string& service, const std::string& topic);
  // The server ends every conversation on the topic but keeps serving.
  void close_conversations(const std::string& service, const std::string& topic);
  // The server stops answering: initiates time out, executes time out and wait in its
  // queue. When it answers again the waiting executes run, in order, and their late answers
  // reach the conversations still open (a busy or frozen program on Windows does the same).
  void set_hanging(const std::string& service, const std::string& topic, bool hanging);
  // Only executes wait, as above; links still open.
  void set_holding(const std::string& service, const std::string& topic, bool holding);
  // Each execute runs `delay` ms after it arrives, and none before the one sent ahead of it.
  // Past the client's time-out the client stops waiting; the server runs it all the same and
  // the answer comes late.
  void set_answer_delay(const std::string& service, const std::string& topic, Millis delay);
  // Executes received and not yet run while the server hangs or holds them.
  std::size_t held_count(const std::string& service, const std::string& topic) const;
  // Runs `what` inside the next execute's wait, as Windows dispatches a message sent to the
  // program (the session ending) while it waits for an answer.
  void during_next_wait(std::function<void()> what);
  // Pushes a new value of an item to every client linked to it (through the event loop).
  void advise(const std::string& service, const std::string& topic, const std::string& item,
              const std::string& value);
  bool serving(const std::string& service, const std::string& topic) const;
  // Number of open client conversations on a topic.
  std::size_t conversation_count(const std::string& service, const std::string& topic) const;

  // --- client side ---
  // As Dde::open (throws RuntimeError on failure).
  OpenedConversation open(const LinkAddress& address, Millis timeout, LinkEvents events);
  // A one-off execute from outside a conversation, as a peer program sends one: connect,
  // execute, disconnect. Throws RuntimeError like DdeConversation::execute, or
  // kNoDdeResponse when nobody serves the topic.
  void execute(const std::string& service, const std::string& topic, const std::string& command,
               Millis timeout);

  SimEventLoop& loop() { return loop_; }

 private:
  struct Impl;
  class Conversation;
  std::shared_ptr<Impl> impl_;
  SimEventLoop& loop_;
};

}  // namespace vav::sim
