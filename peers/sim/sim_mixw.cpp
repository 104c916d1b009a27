#include "peers/sim/sim_mixw.h"

namespace vav::sim {

SimMixw::SimMixw(SimEventLoop& loop, SimDdeBus& bus, SimAutomation& automation)
    : bus_(bus), automation_(automation), tasks_(loop) {
  mixw_.set_item_sink(
      [this](const std::string& topic, const std::string& item, const std::string& value) {
        if (running_) bus_.advise(peers::kMixwService, topic, item, value);
      });
  mixw_.set_defer(tasks_.defer());
}

SimMixw::~SimMixw() {
  vanish();
  tasks_.cancel_all();
}

void SimMixw::start() {
  if (late_start_ != 0) tasks_.cancel(late_start_);
  late_start_ = 0;
  if (running_) return;
  running_ = true;
  ServerTopic topic;
  topic.on_link = [this](const std::string& item) { return mixw_.item(item); };
  // Nothing is executed on MixW's QSO topic.
  topic.on_execute = [](const std::string&) { return Reply::refuse; };
  bus_.start_server(peers::kMixwService, peers::kQsoTopic, std::move(topic));
  automation_.register_object(peers::kMixwProgId, mixw_.automation_object());
}

void SimMixw::start_after(Millis delay) {
  if (late_start_ != 0) tasks_.cancel(late_start_);
  late_start_ = tasks_.after(delay, [this] {
    late_start_ = 0;
    start();
  });
}

void SimMixw::vanish() {
  if (late_start_ != 0) tasks_.cancel(late_start_);
  late_start_ = 0;
  if (!running_) return;
  running_ = false;
  automation_.revoke(peers::kMixwProgId);
  mixw_.revoke_automation();
  bus_.stop_server(peers::kMixwService, peers::kQsoTopic);
}

}  // namespace vav::sim
