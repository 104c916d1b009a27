#include "peers/lookup_peers.h"

namespace vav::peers {
namespace {
constexpr const char* kLookup = "lookup";
constexpr const char* kGetQslInfo = "getqslinfo";
constexpr const char* kSpotPrefixItem = "SpotPrefix";
}  // namespace

DxView::DxView() : DxlabPeer(kDxViewService, 3, {kLookup}) {
  add_item(kDdeServerTopic, kSpotPrefixItem);
  add_item(kDdeServerTopic, kCommandItem);
}

void DxView::select_spot_prefix(const std::string& prefix) {
  set_item(kDdeServerTopic, kSpotPrefixItem, prefix);
}

void DxView::act(const DxlabCommand& command) { looked_up_.push_back(command.argument); }

Pathfinder::Pathfinder() : DxlabPeer(kPathfinderService, 2, {kGetQslInfo}) {
  add_item(kDdeServerTopic, kCommandItem);
}

void Pathfinder::act(const DxlabCommand& command) {
  const FieldRun run = parse_fields(command.argument);
  const std::string* call = find_field(run.fields, "callsign");
  queried_.push_back(call ? *call : std::string());
}

PropView::PropView() : DxlabPeer(kPropViewService, 5, {}) {
  add_item(kDdeServerTopic, kCommandItem);
}

}  // namespace vav::peers
