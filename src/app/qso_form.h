#pragma once
// The QSO fields of the main window: the 24 fields linked to MixW's "QSO" topic, the WPX
// prefix the program fills, and the Save button. One table, kQsoFields, says of each linked
// field which item of MixW's it mirrors, whether a logged QSO empties it and which field of
// the log record it gives; linking, clearing and the record all read it.
#include <array>
#include <functional>
#include <string_view>

#include "app/log_builder.h"
#include "controls/controls.h"
#include "hosts/dxlab.h"
#include "platform/dde.h"

namespace vav {

class QsoForm {
 public:
  explicit QsoForm(Dde& dde) : dde_(dde) {}
  QsoForm(const QsoForm&) = delete;
  QsoForm& operator=(const QsoForm&) = delete;

  // Points every field at its item of MixW's "QSO" topic.
  void set_link_items();
  // Links every field, in the table's order; `linked(field)` runs after each.
  void link_all(const std::function<void(const LinkedText&)>& linked);
  // Empties the fields a logged QSO leaves empty (the callsign first, then the table's
  // order), and the prefix.
  void clear();
  // The fields of the log record that the window holds.
  void fill(QsoLogFields& fields) const;
  bool has_callsign() const;

 private:
  Dde& dde_;
  static constexpr Millis kText = dxlab::kTextLinkTimeoutMs;
  static constexpr Millis kLabel = dxlab::kCommandLinkTimeoutMs;

 public:
  LinkedText Callsign{dde_, kText}, RSTRcvd{dde_, kText}, RSTSnt{dde_, kText}, Mode{dde_, kText},
      NameText{dde_, kText}, QTH{dde_, kText}, State{dde_, kText}, DXCCPrefix{dde_, kText},
      Country{dde_, kText}, QSLInfo{dde_, kText}, Notes{dde_, kText}, County{dde_, kText},
      DateNow{dde_, kText}, UTCStart{dde_, kText}, UTCEnd{dde_, kText}, ExchRcv{dde_, kText},
      ExchSnt{dde_, kText};
  LinkedText Cont{dde_, kLabel}, CQZ{dde_, kLabel}, IRUZ{dde_, kLabel}, GridSq{dde_, kLabel},
      IOTA{dde_, kLabel};                                       // labels
  LinkedText Command{dde_, kText}, MixKhz{dde_, kText};        // hidden
  TextControl Prefix;                                           // the WPX prefix of the call
  Button Save{"Save"};                                          // enabled while there is a call
};

// A field linked to MixW's QSO window.
struct QsoField {
  LinkedText QsoForm::*control;
  const char* item;                         // MixW's item on the "QSO" topic
  bool cleared;                             // a logged QSO empties it
  std::string_view QsoLogFields::*logged;   // the record's field it gives, or none
};

// In the order the fields are linked. The callsign is logged as it was when it last changed
// (CurrentCallsign), and the mode is set afresh from MixW rather than emptied.
inline constexpr std::array<QsoField, 24> kQsoFields{{
    {&QsoForm::Mode, "Mode", false, &QsoLogFields::Mode},
    {&QsoForm::Callsign, "Call", true, nullptr},
    {&QsoForm::RSTRcvd, "RstRcv", false, &QsoLogFields::RSTRcvd},
    {&QsoForm::RSTSnt, "RstSnt", false, &QsoLogFields::RSTSnt},
    {&QsoForm::NameText, "Name", true, &QsoLogFields::NameText},
    {&QsoForm::QTH, "Qth", true, &QsoLogFields::QTH},
    {&QsoForm::Country, "Country", true, nullptr},
    {&QsoForm::DXCCPrefix, "DxccPrefix", true, nullptr},
    {&QsoForm::MixKhz, "Khz", false, nullptr},
    {&QsoForm::QSLInfo, "Manager", true, &QsoLogFields::QSLInfo},
    {&QsoForm::Notes, "Notes", true, &QsoLogFields::Notes},
    {&QsoForm::County, "County", true, &QsoLogFields::County},
    {&QsoForm::DateNow, "Date", false, &QsoLogFields::DateNow},
    {&QsoForm::UTCStart, "Time", true, &QsoLogFields::UTCStart},
    {&QsoForm::UTCEnd, "EndTime", false, &QsoLogFields::UTCEnd},
    {&QsoForm::State, "Domain", true, &QsoLogFields::State},
    {&QsoForm::Command, "Command", true, nullptr},
    {&QsoForm::Cont, "Continent", true, nullptr},
    {&QsoForm::CQZ, "WAZ", true, &QsoLogFields::CQZ},
    {&QsoForm::IRUZ, "ITU", true, &QsoLogFields::IRUZ},
    {&QsoForm::GridSq, "Loc", true, &QsoLogFields::GridSq},
    {&QsoForm::IOTA, "IOTA", true, &QsoLogFields::IOTA},
    {&QsoForm::ExchRcv, "ExchRcv", true, &QsoLogFields::ExchRcv},
    {&QsoForm::ExchSnt, "ExchSnt", true, &QsoLogFields::ExchSnt},
}};

}  // namespace vav
