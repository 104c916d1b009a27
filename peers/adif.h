#pragma once
// ADIF text as DXKeeper's stand-in keeps its log: a header closed by "<EOH>", then one line
// per QSO of "<NAME:length>value" fields (names in upper case, lengths recounted) closed by
// "<EOR>".
#include <string>
#include <vector>

#include "peers/dxlab_text.h"

namespace vav::peers {

std::string adif_header();
std::string adif_record(const std::vector<DxlabField>& fields);

}  // namespace vav::peers
