#include "app/adif_export.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/conversions.h"

namespace vav {
namespace {

// MixW's and ADIF's names that are an ADIF submode, with the mode they belong to.
struct SubmodeOf {
  std::string_view name, mode, submode;
};

constexpr std::array<SubmodeOf, 49> kSubmodes{{
    {"PSK31", "PSK", "PSK31"},
    {"BPSK31", "PSK", "PSK31"},
    {"PSK63", "PSK", "PSK63"},
    {"BPSK63", "PSK", "PSK63"},
    {"PSK63F", "PSK", "PSK63F"},
    {"PSK125", "PSK", "PSK125"},
    {"BPSK125", "PSK", "PSK125"},
    {"PSK250", "PSK", "PSK250"},
    {"PSK500", "PSK", "PSK500"},
    {"PSK1000", "PSK", "PSK1000"},
    {"PSK10", "PSK", "PSK10"},
    {"PSKFEC31", "PSK", "PSKFEC31"},
    {"QPSK31", "PSK", "QPSK31"},
    {"QPSK63", "PSK", "QPSK63"},
    {"QPSK125", "PSK", "QPSK125"},
    {"QPSK250", "PSK", "QPSK250"},
    {"QPSK500", "PSK", "QPSK500"},
    {"FSK31", "PSK", "FSK31"},
    {"MFSK4", "MFSK", "MFSK4"},
    {"MFSK8", "MFSK", "MFSK8"},
    {"MFSK11", "MFSK", "MFSK11"},
    {"MFSK16", "MFSK", "MFSK16"},
    {"MFSK22", "MFSK", "MFSK22"},
    {"MFSK31", "MFSK", "MFSK31"},
    {"MFSK32", "MFSK", "MFSK32"},
    {"MFSK64", "MFSK", "MFSK64"},
    {"MFSK128", "MFSK", "MFSK128"},
    {"THRBX", "THRB", "THRBX"},
    {"THROBX", "THRB", "THRBX"},
    {"FMHELL", "HELL", "FMHELL"},
    {"FM-HELL", "HELL", "FMHELL"},
    {"FSKHELL", "HELL", "FSKHELL"},
    {"HELL80", "HELL", "HELL80"},
    {"HELLX5", "HELL", "HELLX5"},
    {"HELLX9", "HELL", "HELLX9"},
    {"HFSK", "HELL", "HFSK"},
    {"PSKHELL", "HELL", "PSKHELL"},
    {"SLOWHELL", "HELL", "SLOWHELL"},
    {"DOMINOEX", "DOMINO", "DOMINOEX"},
    {"DOMINOF", "DOMINO", "DOMINOF"},
    {"PAC2", "PAC", "PAC2"},
    {"PAC3", "PAC", "PAC3"},
    {"PAC4", "PAC", "PAC4"},
    {"AMTORFEC", "TOR", "AMTORFEC"},
    {"GTOR", "TOR", "GTOR"},
    {"CHIP64", "CHIP", "CHIP64"},
    {"CHIP128", "CHIP", "CHIP128"},
    {"USB", "SSB", "USB"},
    {"LSB", "SSB", "LSB"},
}};

// MixW's names of modes that ADIF names otherwise, without a submode.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kModeNames{{
    {"THROB", "THRB"},
    {"PACTOR", "PAC"},
    {"AMTOR", "TOR"},
    {"PACKET", "PKT"},
    {"CONTESTIA", "CONTESTI"},
    {"FELDHELL", "HELL"},
}};

struct Field {
  std::string name;
  std::string length;  // as written: the characters of the value on its code page
  std::string value;
};

std::string field_text(const Field& f) {
  return "<" + f.name + ":" + f.length + ">" + f.value + " ";
}

Field ascii_field(std::string name, std::string value) {
  return {std::move(name), std::to_string(value.size()), std::move(value)};
}

// The fields of a record in DXKeeper's form, up to "<EOR>"; nullopt for any other text.
std::optional<std::vector<Field>> fields_of(std::string_view record) {
  std::vector<Field> fields;
  std::size_t at = 0;
  while (at < record.size() && record[at] == '<') {
    const std::size_t close = record.find('>', at);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view tag = record.substr(at + 1, close - at - 1);
    if (to_upper(tag) == "EOR")
      return close + 1 == record.size() ? std::optional(fields) : std::nullopt;
    const std::size_t colon = tag.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::size_t next = std::min(record.find('<', close), record.size());
    std::string_view value = record.substr(close + 1, next - close - 1);
    if (value.ends_with(' ')) value.remove_suffix(1);
    fields.push_back({std::string(tag.substr(0, colon)), std::string(tag.substr(colon + 1)),
                      std::string(value)});
    at = next;
  }
  return std::nullopt;
}

bool whole_number(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

AdifMode adif_mode(std::string_view name) {
  const std::string upper = to_upper(name);
  for (const SubmodeOf& s : kSubmodes) {
    if (s.name == upper) return {std::string(s.mode), std::string(s.submode)};
  }
  for (const auto& [mixw, adif] : kModeNames) {
    if (mixw == upper) return {std::string(adif), {}};
  }
  return {upper, {}};
}

std::string adif_export(std::string_view dxlab_record) {
  const auto fields = fields_of(dxlab_record);
  if (!fields) return std::string(dxlab_record);
  std::string out;
  for (const Field& f : *fields) {
    if (f.name == "MODE") {
      const AdifMode m = adif_mode(f.value);
      out += field_text(ascii_field("MODE", m.mode));
      if (!m.submode.empty()) out += field_text(ascii_field("SUBMODE", m.submode));
    } else if ((f.name == "SRX" || f.name == "STX") && !whole_number(f.value)) {
      out += field_text({f.name + "_STRING", f.length, f.value});
    } else {
      out += field_text(f);
    }
  }
  return out + "<EOR>";
}

}  // namespace vav
