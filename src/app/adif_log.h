#pragma once
// The program's own ADIF log, VavizorurLog.adi beside it: every QSO it builds a record for,
// whether DXKeeper takes it now, later or never. A standard ADIF file that any logging
// program, LoTW's signing tool or a contest checker can read: a header the first time, then
// one record per line, the same fields as the record sent to DXKeeper.
//
// Only ever appended to, never rewritten: a crash at any moment leaves every earlier record
// readable.
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/system.h"

namespace vav {

inline constexpr const char* kAdifLogFileName = "VavizorurLog.adi";

inline constexpr const char* kAdifLogTitle = "Vavizorur log of the QSOs handed to DXKeeper";

// The file's header: `title` on a line, ADIF_VER, PROGRAMID, PROGRAMVERSION,
// CREATED_TIMESTAMP ("YYYYMMDD HHMMSS", UTC) and EOH.
std::string adif_log_header(std::string_view version, const SystemTime& created,
                            std::string_view title = kAdifLogTitle);

// What goes before the first record a run appends to an existing log, so that it starts a
// line of its own after a torn last record: nothing, a line end, or "<EOR>" and a line end.
std::string adif_tail_repair(std::string_view content);

class AdifLog {
 public:
  AdifLog(Files& files, std::string program_folder);

  // Appends one record (fields and "<EOR>", as DXKeeper is sent it) and CR LF, after the
  // header when the file does not exist yet; the first append of a run reads the file once
  // to close a torn last record, and keeps it open. Throws RuntimeError when it cannot be
  // written (the next call opens it again).
  void Append(std::string_view record, std::string_view version, const SystemTime& now);
  std::string path() const;

 private:
  Files& files_;
  std::string folder_;
  std::unique_ptr<AppendFile> file_;  // open from the first QSO of the run on
};

}  // namespace vav
