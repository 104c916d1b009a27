#pragma once
// DXKeeper's stand-in: "log" and "eqsllog" add the QSO record to an ADIF log it keeps (and,
// when given a path, writes out after every QSO); "check" is noted; "shutdown" closes it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "peers/dxlab_peer.h"

namespace vav::peers {

inline constexpr const char* kDxKeeperService = "DXKeeper";

struct LoggedQso {
  std::vector<DxlabField> fields;  // as received, in order
  bool eqsl = false;               // sent with "eqsllog"
  // The value of a field (any letter case of its name); empty when the record lacks it.
  std::string value(std::string_view name) const;
  bool has(std::string_view name) const { return find_field(fields, name) != nullptr; }
};

// A QSO record as DXKeeper takes it: fields closed by "<EOR>", with a callsign, lengths in
// characters of `code_page`. nullopt for anything else (a length that runs past the end, no
// end marker, no "CALL").
std::optional<std::vector<DxlabField>> read_qso_record(std::string_view record,
                                                       AnsiCodePage code_page = {});

class DxKeeper final : public DxlabPeer {
 public:
  DxKeeper();

  // The code page of the Windows it runs on (1252 unless set).
  void set_code_page(AnsiCodePage code_page) { code_page_ = code_page; }

  const std::vector<LoggedQso>& logged() const { return logged_; }
  // The commands whose record could not be taken (nothing was logged for them).
  const std::vector<std::string>& malformed_records() const { return malformed_; }
  // Callsigns of "check" commands, in order.
  const std::vector<std::string>& checked() const { return checked_; }

  // The whole log as ADIF text; QSOs sent with "eqsllog" carry EQSL_QSL_SENT "Y".
  std::string adif() const;

  // After every logged QSO the ADIF text replaces the file's content; an empty path stops
  // writing. A failed write is noted, never thrown.
  void set_log_file(std::string path) { log_path_ = std::move(path); }
  bool log_file_failed() const { return log_file_failed_; }

 protected:
  void act(const DxlabCommand& command) override;

 private:
  void write_log_file();

  std::vector<LoggedQso> logged_;
  std::vector<std::string> malformed_;
  std::vector<std::string> checked_;
  std::string log_path_;
  bool log_file_failed_ = false;
  AnsiCodePage code_page_;
};

}  // namespace vav::peers
