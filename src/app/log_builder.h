#pragma once
// The record of a logged QSO, built from the QSO fields and the settings exactly as
// DXKeeper's "log" command carries it. Pure: nothing is sent, nothing is kept.
#include <functional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "common/code_page.h"
#include "common/conversions.h"

namespace vav {

// The texts of the main window that a logged record is made of. The views must outlive the
// call to build_log_record.
struct QsoLogFields {
  std::string_view CurrentCallsign, RSTRcvd, RSTSnt, RigFreq, OpFreq, Mode, DateNow, UTCStart,
      UTCEnd, NameText, QSLInfo, Notes, State, QTH, County, GridSq, IOTA, CQZ, IRUZ, Prefix,
      ExchRcv, ExchSnt;
  bool ContestShown = false;  // the contest frame is visible
};

// Receives the debug entries of a build (key, value) in the order they arise; left empty when
// debug logging is off, so that no entry text is formed.
using DebugEntrySink = std::function<void(std::string_view key, std::string_view value)>;

// The fields of the record, each followed by one blank, then "<EOR>"; field lengths count
// characters of `code_page`, the ANSI code page of the texts. Throws RuntimeError
// when the QSO date ("27-Nov-2005") has fewer than three parts, a day or year that is no
// number, or names no existing date; the entries already passed to `debug` stay.
std::string build_log_record(const QsoLogFields& fields, const Settings& settings,
                             Separators separators, CodePage code_page,
                             const DebugEntrySink& debug = {});

}  // namespace vav
