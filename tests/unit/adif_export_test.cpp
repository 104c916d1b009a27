#include "app/adif_export.h"

#include <gtest/gtest.h>

#include <string>

namespace vav {
namespace {

TEST(AdifExportTest, ModesAndSubmodesOfTheAdifModeTable) {
  const std::pair<const char*, AdifMode> cases[] = {
      {"PSK31", {"PSK", "PSK31"}},
      {"psk63", {"PSK", "PSK63"}},
      {"BPSK31", {"PSK", "PSK31"}},
      {"QPSK31", {"PSK", "QPSK31"}},
      {"PSK125", {"PSK", "PSK125"}},
      {"FSK31", {"PSK", "FSK31"}},
      {"Thrb", {"THRB", ""}},
      {"THROB", {"THRB", ""}},
      {"ThrobX", {"THRB", "THRBX"}},
      {"MFSK16", {"MFSK", "MFSK16"}},
      {"FMHELL", {"HELL", "FMHELL"}},
      {"PACTOR", {"PAC", ""}},
      {"AMTOR", {"TOR", ""}},
      {"Packet", {"PKT", ""}},
      {"USB", {"SSB", "USB"}},
      {"RTTY", {"RTTY", ""}},
      {"CW", {"CW", ""}},
      {"MT63", {"MT63", ""}},
      {"SSB", {"SSB", ""}},
      {"Olivia", {"OLIVIA", ""}},
  };
  for (const auto& [name, mode] : cases) EXPECT_EQ(adif_mode(name), mode) << name;
}

TEST(AdifExportTest, RecordFields) {
  const std::pair<const char*, const char*> cases[] = {
      {"<CALL:5>Q1ABC <MODE:5>PSK31 <QSO_DATE:8>20051127 <EOR>",
       "<CALL:5>Q1ABC <MODE:3>PSK <SUBMODE:5>PSK31 <QSO_DATE:8>20051127 <EOR>"},
      {"<MODE:4>Thrb <EOR>", "<MODE:4>THRB <EOR>"},
      {"<MODE:4>RTTY <SRX:3>001 <STX:3>599 <EOR>", "<MODE:4>RTTY <SRX:3>001 <STX:3>599 <EOR>"},
      {"<SRX:6>599 NY <STX:5>5NN 7 <EOR>", "<SRX_STRING:6>599 NY <STX_STRING:5>5NN 7 <EOR>"},
      // Lengths of the other fields stay as they were counted (characters of the code page).
      {"<NAME:2>\x82\xa0\x82\xa2 <MODE:2>CW <EOR>", "<NAME:2>\x82\xa0\x82\xa2 <MODE:2>CW <EOR>"},
      {"<NOTES:3>a>b <EOR>", "<NOTES:3>a>b <EOR>"},
      {"<EOR>", "<EOR>"},
      // What is no record in DXKeeper's form stays as it is.
      {"<MODE:5>PSK31 ", "<MODE:5>PSK31 "},
      {"MODE PSK31<EOR>", "MODE PSK31<EOR>"},
      {"<MODE5>PSK31 <EOR>", "<MODE5>PSK31 <EOR>"},
      {"<MODE:5>PSK31 <EOR>trailing", "<MODE:5>PSK31 <EOR>trailing"},
  };
  for (const auto& [record, adif] : cases) EXPECT_EQ(adif_export(record), adif) << record;
}

}  // namespace
}  // namespace vav
