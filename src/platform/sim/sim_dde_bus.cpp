#include "platform/sim/sim_dde_bus.h"

#include <algorithm>
#include <utility>

#include "errors/runtime_error.h"
#include "platform/sim/sim_text.h"

namespace vav::sim {

namespace {
// Service and topic names match without regard to letter case, as DDE string handles do.
using TopicKey = std::pair<std::string, std::string>;
TopicKey key_of(const std::string& service, const std::string& topic) {
  return {ascii_lower(service), ascii_lower(topic)};
}
}  // namespace

struct SimDdeBus::Impl : std::enable_shared_from_this<Impl> {
  struct Held {
    std::string command;
    std::uint64_t from;  // the conversation that sent it; 0 for a one-off execute
  };
  struct Server {
    ServerTopic topic;
    bool hanging = false;          // initiates and executes get no answer
    bool holding = false;          // executes wait in the queue, unanswered
    Millis answer_delay = 0;       // each execute runs this long after it arrives
    std::uint64_t busy_until = 0;  // when the last execute queued runs
    std::vector<Held> held;        // executes waiting while the server hangs or holds them
  };
  struct Conversation {
    TopicKey topic;
    std::string item;
    Millis timeout = 0;
    LinkEvents events;
    bool open = true;
    bool close_noticed = false;
  };

  explicit Impl(SimEventLoop& l) : loop(l) {}

  Server* find(const TopicKey& key) {
    const auto found = servers.find(key);
    return found == servers.end() ? nullptr : &found->second;
  }

  [[noreturn]] void time_out(Millis timeout) {
    loop.advance_blocked(timeout);
    throw RuntimeError(err::kDdeTimeout);
  }

  // The server runs one execute; its answer decides the acknowledgement.
  Reply run(const TopicKey& key, const std::string& command) {
    Server* server = find(key);
    if (server == nullptr || !server->topic.on_execute) return Reply::accept;
    const auto on_execute = server->topic.on_execute;  // the handler may change the bus
    return on_execute(command);
  }

  // An execute that reached a server. A busy server queues it and runs it later; when that
  // is past the client's time-out the client gives up waiting, and the late answer reaches
  // the conversation if it is still open, as on Windows.
  void execute_on(const TopicKey& key, const std::string& command, Millis timeout,
                  std::uint64_t from) {
    if (during_next_wait) {
      const auto during = std::move(during_next_wait);
      during_next_wait = nullptr;
      during();
    }
    Server* server = find(key);
    // Gone while the client waited (the wait's own messages ended it): no answer will come,
    // and the client cannot know whether it ran the command.
    if (server == nullptr) time_out(timeout);
    if (server->hanging || server->holding) {
      server->held.push_back({command, from});
      time_out(timeout);
    }
    const std::uint64_t arrived = loop.now();
    const std::uint64_t runs_at = std::max(arrived + server->answer_delay, server->busy_until);
    server->busy_until = runs_at;
    if (runs_at > arrived + timeout) {
      loop.advance_blocked(timeout);
      loop.call_after(static_cast<Millis>(runs_at - loop.now()),
                      [weak = weak_from_this(), key, command, from] {
                        if (const auto self = weak.lock()) self->run_late(key, command, from);
                      });
      throw RuntimeError(err::kDdeTimeout);
    }
    loop.advance_blocked(static_cast<Millis>(runs_at - arrived));
    const Reply reply = run(key, command);
    if (reply == Reply::refuse) throw RuntimeError(err::kDdeRefused);
    if (reply == Reply::hang) time_out(timeout - static_cast<Millis>(runs_at - arrived));
  }

  // A queued execute runs after its client stopped waiting. A server that has gone since
  // never runs it.
  void run_late(const TopicKey& key, const std::string& command, std::uint64_t from) {
    if (find(key) == nullptr) return;
    const Reply reply = run(key, command);
    if (reply == Reply::hang || from == 0) return;
    const bool accepted = reply == Reply::accept;
    post_to(from, [accepted](Impl& self, std::uint64_t target) {
      self.deliver_late_answer(target, accepted);
    });
  }

  // The server answers again: what it held runs, in the order it arrived.
  void release_held(const TopicKey& key) {
    Server* server = find(key);
    if (server == nullptr || server->hanging || server->holding) return;
    std::vector<Held> held = std::move(server->held);
    server->held.clear();
    for (auto& execute : held) {
      loop.post([weak = weak_from_this(), key, execute = std::move(execute)] {
        if (const auto self = weak.lock()) self->run_late(key, execute.command, execute.from);
      });
    }
  }

  void execute_in(std::uint64_t id, const std::string& command) {
    const auto found = conversations.find(id);
    if (found == conversations.end() || !found->second.open) {
      throw RuntimeError(err::kDdeNoChannel);
    }
    const TopicKey key = found->second.topic;
    execute_on(key, command, found->second.timeout, id);
  }

  // Notices run later on the loop and find their conversation by id: one the client has
  // ended meanwhile (or a bus that is gone) drops them.
  void post_to(std::uint64_t id, std::function<void(Impl&, std::uint64_t)> deliver) {
    loop.post([weak = weak_from_this(), id, deliver = std::move(deliver)] {
      if (const auto self = weak.lock()) deliver(*self, id);
    });
  }

  void deliver_data(std::uint64_t id, const std::string& value) {
    const auto found = conversations.find(id);
    if (found == conversations.end() || !found->second.events.on_data) return;
    const auto on_data = found->second.events.on_data;
    on_data(value);
  }

  void deliver_late_answer(std::uint64_t id, bool accepted) {
    const auto found = conversations.find(id);
    if (found == conversations.end() || !found->second.open) return;
    if (!found->second.events.on_late_answer) return;
    const auto on_late_answer = found->second.events.on_late_answer;
    on_late_answer(accepted);
  }

  void deliver_close(std::uint64_t id) {
    const auto found = conversations.find(id);
    if (found == conversations.end() || found->second.close_noticed) return;
    found->second.close_noticed = true;
    if (!found->second.events.on_closed) return;
    const auto on_closed = found->second.events.on_closed;
    on_closed();
  }

  // Ends the topic's conversations; a server that ends them politely tells each client.
  void end_conversations(const TopicKey& key, bool notify) {
    for (auto& [id, conversation] : conversations) {
      if (conversation.topic != key || !conversation.open) continue;
      conversation.open = false;
      if (notify) post_to(id, [](Impl& self, std::uint64_t target) { self.deliver_close(target); });
    }
  }

  bool open(std::uint64_t id) const {
    const auto found = conversations.find(id);
    return found != conversations.end() && found->second.open;
  }

  SimEventLoop& loop;
  std::map<TopicKey, Server> servers;
  std::map<std::uint64_t, Conversation> conversations;
  std::uint64_t next_id = 1;
  std::function<void()> during_next_wait;
};

// Destroying it ends the conversation without a notice; it outlives the bus harmlessly.
class SimDdeBus::Conversation final : public DdeConversation {
 public:
  Conversation(std::weak_ptr<Impl> bus, std::uint64_t id) : bus_(std::move(bus)), id_(id) {}
  ~Conversation() override {
    if (const auto bus = bus_.lock()) bus->conversations.erase(id_);
  }
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  void execute(std::string_view command) override {
    const auto bus = bus_.lock();
    if (!bus) throw RuntimeError(err::kDdeNoChannel);
    bus->execute_in(id_, std::string(command));
  }

  bool server_exists() const override {
    const auto bus = bus_.lock();
    return bus && bus->open(id_);
  }

 private:
  std::weak_ptr<Impl> bus_;
  std::uint64_t id_;
};

SimDdeBus::SimDdeBus(SimEventLoop& loop) : impl_(std::make_shared<Impl>(loop)), loop_(loop) {}

SimDdeBus::~SimDdeBus() = default;

void SimDdeBus::start_server(const std::string& service, const std::string& topic,
                             ServerTopic topic_impl) {
  Impl::Server server;
  server.topic = std::move(topic_impl);
  impl_->servers[key_of(service, topic)] = std::move(server);
}

void SimDdeBus::stop_server(const std::string& service, const std::string& topic) {
  const TopicKey key = key_of(service, topic);
  impl_->end_conversations(key, true);
  impl_->servers.erase(key);
}

void SimDdeBus::crash_server(const std::string& service, const std::string& topic) {
  const TopicKey key = key_of(service, topic);
  impl_->end_conversations(key, false);
  impl_->servers.erase(key);
}

void SimDdeBus::close_conversations(const std::string& service, const std::string& topic) {
  impl_->end_conversations(key_of(service, topic), true);
}

void SimDdeBus::set_hanging(const std::string& service, const std::string& topic, bool hanging) {
  const TopicKey key = key_of(service, topic);
  if (auto* server = impl_->find(key)) server->hanging = hanging;
  impl_->release_held(key);
}

void SimDdeBus::set_holding(const std::string& service, const std::string& topic, bool holding) {
  const TopicKey key = key_of(service, topic);
  if (auto* server = impl_->find(key)) server->holding = holding;
  impl_->release_held(key);
}

void SimDdeBus::set_answer_delay(const std::string& service, const std::string& topic,
                                 Millis delay) {
  if (auto* server = impl_->find(key_of(service, topic))) server->answer_delay = delay;
}

std::size_t SimDdeBus::held_count(const std::string& service, const std::string& topic) const {
  const auto found = impl_->servers.find(key_of(service, topic));
  return found == impl_->servers.end() ? 0 : found->second.held.size();
}

void SimDdeBus::during_next_wait(std::function<void()> what) {
  impl_->during_next_wait = std::move(what);
}

void SimDdeBus::advise(const std::string& service, const std::string& topic,
                       const std::string& item, const std::string& value) {
  const TopicKey key = key_of(service, topic);
  for (const auto& [id, conversation] : impl_->conversations) {
    if (!conversation.open || conversation.topic != key || !iequals(conversation.item, item)) {
      continue;
    }
    impl_->post_to(id,
                   [value](Impl& self, std::uint64_t target) { self.deliver_data(target, value); });
  }
}

bool SimDdeBus::serving(const std::string& service, const std::string& topic) const {
  return impl_->servers.count(key_of(service, topic)) != 0;
}

std::size_t SimDdeBus::conversation_count(const std::string& service,
                                          const std::string& topic) const {
  const TopicKey key = key_of(service, topic);
  std::size_t count = 0;
  for (const auto& entry : impl_->conversations) {
    if (entry.second.open && entry.second.topic == key) ++count;
  }
  return count;
}

OpenedConversation SimDdeBus::open(const LinkAddress& address, Millis timeout, LinkEvents events) {
  const TopicKey key = key_of(address.service, address.topic);
  Impl::Server* server = impl_->find(key);
  if (server == nullptr) throw RuntimeError(err::kNoDdeResponse);
  if (server->hanging) impl_->time_out(timeout);
  std::optional<std::string> value = std::string();
  if (server->topic.on_link) {
    const auto on_link = server->topic.on_link;
    value = on_link(address.item);
  }
  if (!value) throw RuntimeError(err::kDdeRefused);
  if (impl_->find(key) == nullptr) throw RuntimeError(err::kNoDdeResponse);
  const std::uint64_t id = impl_->next_id++;
  impl_->conversations.emplace(
      id, Impl::Conversation{key, address.item, timeout, std::move(events), true, false});
  return OpenedConversation{std::make_unique<Conversation>(impl_, id), std::move(*value)};
}

void SimDdeBus::execute(const std::string& service, const std::string& topic,
                        const std::string& command, Millis timeout) {
  const TopicKey key = key_of(service, topic);
  Impl::Server* server = impl_->find(key);
  if (server == nullptr) throw RuntimeError(err::kNoDdeResponse);
  if (server->hanging) impl_->time_out(timeout);
  impl_->execute_on(key, command, timeout, 0);
}

}  // namespace vav::sim
