#pragma once
// A plain ADIF reader for checking a log file from outside: the header up to "<EOH>", then
// records closed by "<EOR>", each a run of "<NAME:length>value" fields.
#include <string>
#include <string_view>
#include <vector>

#include "peers/dxlab_text.h"

namespace vav::testing {

struct AdifFile {
  std::vector<peers::DxlabField> header;
  std::vector<std::vector<peers::DxlabField>> records;
};

inline AdifFile read_adif(const std::string& text) {
  AdifFile file;
  const std::size_t eoh = text.find("<EOH>");
  std::string_view rest(text);
  if (eoh != std::string::npos) {
    file.header = peers::parse_fields(rest.substr(0, eoh)).fields;
    rest = rest.substr(eoh + 5);
  }
  for (std::size_t end = rest.find("<EOR>"); end != std::string_view::npos;
       end = rest.find("<EOR>")) {
    file.records.push_back(peers::parse_fields(rest.substr(0, end)).fields);
    rest = rest.substr(end + 5);
  }
  return file;
}

// The field's value, or "<none>" when the record has no such field.
inline std::string adif_value(const std::vector<peers::DxlabField>& fields,
                              const std::string& name) {
  const std::string* v = peers::find_field(fields, name);
  return v ? *v : "<none>";
}

}  // namespace vav::testing
