#include "platform/sim/sim_dde_bus.h"

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
  struct Server {
    ServerTopic topic;
    bool hanging = false;
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

  // An execute that reached a server; the server's answer decides the acknowledgement.
  void execute_on(const TopicKey& key, const std::string& command, Millis timeout) {
    Server* server = find(key);
    if (server == nullptr) throw RuntimeError(err::kDdeNoChannel);
    if (server->hanging) time_out(timeout);
    Reply reply = Reply::accept;
    if (server->topic.on_execute) {
      const auto on_execute = server->topic.on_execute;  // the handler may change the bus
      reply = on_execute(command);
    }
    if (reply == Reply::refuse) throw RuntimeError(err::kDdeRefused);
    if (reply == Reply::hang) time_out(timeout);
  }

  void execute_in(std::uint64_t id, const std::string& command) {
    const auto found = conversations.find(id);
    if (found == conversations.end() || !found->second.open) {
      throw RuntimeError(err::kDdeNoChannel);
    }
    const TopicKey key = found->second.topic;
    execute_on(key, command, found->second.timeout);
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
  impl_->servers[key_of(service, topic)] = Impl::Server{std::move(topic_impl), false};
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
  if (auto* server = impl_->find(key_of(service, topic))) server->hanging = hanging;
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
  impl_->execute_on(key, command, timeout);
}

}  // namespace vav::sim
