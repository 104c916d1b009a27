#include "peers/adif.h"

#include "peers/peer_text.h"

namespace vav::peers {

std::string adif_header() {
  return "DXKeeper stand-in log\n" + encode_field("ADIF_VER", "3.1.4") + " " +
         encode_field("PROGRAMID", "DXKeeperStandIn") + " <EOH>\n";
}

std::string adif_record(const std::vector<DxlabField>& fields) {
  std::string out;
  for (const auto& field : fields) {
    out += encode_field(ascii_upper(field.name), field.value);
    out += ' ';
  }
  out += "<EOR>\n";
  return out;
}

}  // namespace vav::peers
