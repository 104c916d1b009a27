#include "peers/dxkeeper.h"

#include <fstream>

#include "peers/adif.h"

namespace vav::peers {
namespace {
constexpr const char* kLog = "log";
constexpr const char* kEqslLog = "eqsllog";
constexpr const char* kCheck = "check";
}  // namespace

std::string LoggedQso::value(std::string_view name) const {
  const std::string* found = find_field(fields, name);
  return found ? *found : std::string();
}

std::optional<std::vector<DxlabField>> read_qso_record(std::string_view record,
                                                       AnsiCodePage code_page) {
  FieldRun run = parse_fields(record, code_page);
  if (run.malformed || !run.end_marker || !find_field(run.fields, "CALL")) return std::nullopt;
  return std::move(run.fields);
}

DxKeeper::DxKeeper() : DxlabPeer(kDxKeeperService, 1, {kLog, kEqslLog, kCheck}) {
  add_item(kDdeServerTopic, kCommandItem);
}

namespace {

std::string record_text(const LoggedQso& qso) {
  if (!qso.eqsl) return adif_record(qso.fields);
  auto fields = qso.fields;
  fields.push_back({"EQSL_QSL_SENT", "Y"});
  return adif_record(fields);
}

}  // namespace

std::string DxKeeper::adif() const {
  std::string out = adif_header();
  for (const auto& qso : logged_) out += record_text(qso);
  return out;
}

void DxKeeper::act(const DxlabCommand& command) {
  if (command.word == kCheck) {
    checked_.push_back(command.argument);
    return;
  }
  auto fields = read_qso_record(command.argument, code_page_);
  if (!fields) {
    malformed_.push_back(command.text);
    return;
  }
  logged_.push_back(LoggedQso{std::move(*fields), command.word == kEqslLog});
  write_log_file();
}

void DxKeeper::write_log_file() {
  if (log_path_.empty() || logged_.empty()) return;
  // The log grows record by record, as a real one does: rewriting it whole for every QSO
  // would make a long delivery cost time quadratic in its length.
  const bool first = logged_.size() == 1;
  std::ofstream file(log_path_, std::ios::binary | (first ? std::ios::trunc : std::ios::app));
  if (first) file << adif_header();
  file << record_text(logged_.back());
  file.close();
  if (!file) log_file_failed_ = true;
}

}  // namespace vav::peers
