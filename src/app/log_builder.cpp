#include "app/log_builder.h"

#include <cstdint>

#include "app/log_record.h"
#include "app/settings.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

struct QsoDate {
  std::string_view day, month, year;
};

// DateNow is "27-Nov-2005": day, English month abbreviation, year; parts after the third
// are ignored.
QsoDate split_date(std::string_view text) {
  std::string_view parts[3];
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < 3) {
    const std::size_t dash = text.find('-', start);
    parts[count++] = text.substr(start, dash == std::string_view::npos ? dash : dash - start);
    if (dash == std::string_view::npos) break;
    start = dash + 1;
  }
  if (count < 3) throw RuntimeError(err::kSubscriptOutOfRange);
  return {parts[0], parts[1], parts[2]};
}

double qso_date(std::string_view date_now, Separators seps, const DebugEntrySink& debug) {
  if (debug) debug("Begin Date Array", date_now);
  const QsoDate parts = split_date(date_now);
  const std::int16_t day = round_to_int16(locale_number(parts.day, seps));
  if (debug) debug("Day", std::to_string(day));
  const std::int16_t month = Checkmonth(parts.month);
  if (debug) debug("Month", parts.month);
  const std::int16_t year = round_to_int16(locale_number(parts.year, seps));
  if (debug) debug("Year", std::to_string(year));
  const double date = LocalDate(month, day, year);
  if (debug) {
    debug("LocalDate", date_digits(date));
    debug("theDate", date_digits(date));
  }
  return date;
}

}  // namespace

std::string build_log_record(const QsoLogFields& f, const Settings& settings, Separators seps,
                             CodePage code_page, const DebugEntrySink& debug) {
  const double date = qso_date(f.DateNow, seps, debug);

  LogRecord record(code_page);
  record.ClearLogRecord();
  record.AddLogField("CALL", to_upper(f.CurrentCallsign));
  record.AddLogField("RST_RCVD", f.RSTRcvd);
  record.AddLogField("RST_SENT", f.RSTSnt);
  const std::string& logged = settings.LoggedFrequency;
  if (logged == "Rig" || logged == "Actual") {
    const bool rig = logged == "Rig";
    const std::string freq = ConvertedFrequency(rig ? f.RigFreq : f.OpFreq, seps);
    record.AddLogField("FREQ", freq);
    if (debug) debug(rig ? "ActualLoggedRigFreq (0)" : "ActualLoggedOpFreq (0)", freq);
  }
  record.AddLogField("BAND", BandFromFrequency(f.OpFreq, seps));
  record.AddLogField("MODE", f.Mode);
  record.AddLogField("QSO_DATE", date_digits(date));
  record.AddLogField("TIME_ON", time_digits(f.UTCStart));
  record.AddLogField("TIME_OFF", time_digits(f.UTCEnd));
  record.AddLogField("NAME", f.NameText);
  record.AddLogField("QSL_VIA", f.QSLInfo);
  record.AddLogField("NOTES", f.Notes);
  record.AddLogField("STATE", f.State);
  record.AddLogField("QTH", f.QTH);
  if (!f.County.empty() && settings.SaveCounty) {
    std::string county;
    county.reserve(f.State.size() + 1 + f.County.size());
    county.append(f.State).append(1, ',').append(f.County);
    record.AddLogField("CNTY", county);
  }
  if (settings.SaveGrid) record.AddLogField("GRIDSQUARE", f.GridSq);
  if (settings.SaveIota) record.AddLogField("IOTA", f.IOTA);
  record.AddLogField("CQZ", f.CQZ);
  record.AddLogField("ITUZ", f.IRUZ);
  record.AddLogField("PFX", f.Prefix);
  if (settings.RequestQSL) {
    record.AddLogField("QSL_RCVD", "R");
    record.AddLogField("QSL_SENT", "R");
  }
  if (f.ContestShown) {
    record.AddLogField("SRX", f.ExchRcv);
    record.AddLogField("STX", f.ExchSnt);
  }
  return record.GetLogRecord() + "<EOR>";
}

}  // namespace vav
