#pragma once
// Child-window identifiers of the main window. One per window; an option group has one per
// button, its index added to the group's first id.
namespace vav::ui {

enum ControlId : int {
  kNoId = 0,
  // Containers.
  kTabs = 100,
  kMainPage,
  kSetupPage,
  kFrame3,
  kFrame6,
  kStatusPage,
  // Main tab: QSO fields.
  kCallsign = 200,
  kRSTRcvd,
  kRSTSnt,
  kMode,
  kNameText,
  kQTH,
  kState,
  kDXCCPrefix,
  kCountry,
  kQSLInfo,
  kNotes,
  kCounty,
  kDateNow,
  kUTCStart,
  kUTCEnd,
  kExchRcv,
  kExchSnt,
  kRigFreq,
  kAudioFreq,
  kOpFreq,
  kSave,
  // Main tab: data labels.
  kCont = 300,
  kCQZ,
  kIRUZ,
  kPrefix,
  kGridSq,
  kIOTA,
  // Setup tab.
  kCheck1 = 401,  // kCheck1 + n - 1 is Check<n>
  kCheck17 = 417,
  kOption1 = 420,  // + index
  kOption2 = 430,  // + index
  kCombo1 = 440,
  kOptDigitalFreq,
  // Status tab.
  kNeighbours = 500,
  kWaitingQsos,
  kSendNow,
  kOpenErrorLog,
  kLastSpot,
  kLastQso,
  kSendAgain,
  kRemove,
  kExport,
  kFiles,
  // Captions: labels, frames and notes that nothing binds to.
  kStaticText = 900,
};

constexpr int check_id(int n) { return kCheck1 + n - 1; }

}  // namespace vav::ui
