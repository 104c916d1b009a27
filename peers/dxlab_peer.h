#pragma once
// What every DXLab stand-in shares: a DDE service with topics and items, an application
// index, executes recorded in order and acted on, and "shutdown" closing the program. A
// stand-in can be made to refuse executes or to hang, as a busy or broken program does.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "peers/dxlab_text.h"
#include "peers/peer_hooks.h"

namespace vav::peers {

enum class Responsiveness { answering, refusing, hung };
enum class Answer { accepted, refused, none };

inline constexpr const char* kDdeServerTopic = "DDEServer";
inline constexpr const char* kCommandItem = "DDECommand";

class DxlabPeer {
 public:
  virtual ~DxlabPeer() = default;
  DxlabPeer(const DxlabPeer&) = delete;
  DxlabPeer& operator=(const DxlabPeer&) = delete;

  const std::string& service() const { return service_; }
  int index() const { return index_; }
  std::vector<std::string> topics() const;

  // The item's current text; nullopt when the topic does not offer it (a link is refused).
  std::optional<std::string> item(const std::string& topic, const std::string& item) const;

  // An execute on one of the peer's topics. Answering: recorded in journal() and acted on.
  // Refusing or hung: recorded in unanswered() and not acted on.
  Answer execute(const std::string& command);

  void set_responsiveness(Responsiveness responsiveness) { responsiveness_ = responsiveness; }
  Responsiveness responsiveness() const { return responsiveness_; }

  const std::vector<std::string>& journal() const { return journal_; }
  const std::vector<std::string>& unanswered() const { return unanswered_; }
  void clear_journal();

  // The start notice this program sends to a neighbour's "DDEClient" topic: "001start".
  std::string start_notice() const;

  void set_item_sink(ItemSink sink) { item_sink_ = std::move(sink); }
  void set_exit_request(ExitRequest request) { exit_request_ = std::move(request); }

 protected:
  DxlabPeer(std::string service, int index, std::vector<std::string> words);

  // Offers an item on a topic (the topic is created with its first item).
  void add_item(const std::string& topic, const std::string& item, std::string initial = {});
  // Changes an item's text; the sink hears of every real change.
  void set_item(const std::string& topic, const std::string& item, const std::string& value);

  // Acts on an accepted command whose word is one of the peer's own (never "shutdown").
  virtual void act(const DxlabCommand& /*command*/) {}

 private:
  using ItemKey = std::pair<std::string, std::string>;

  std::string service_;
  int index_;
  std::vector<std::string> words_;
  std::map<ItemKey, std::string> items_;
  Responsiveness responsiveness_ = Responsiveness::answering;
  std::vector<std::string> journal_;
  std::vector<std::string> unanswered_;
  ItemSink item_sink_;
  ExitRequest exit_request_;
};

}  // namespace vav::peers
