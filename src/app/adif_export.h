#pragma once
// The record of a QSO as the program's own ADIF log writes it: the record DXKeeper is sent,
// turned into ADIF 3.1.4 where the two differ. DXKeeper's record names a mode the way MixW
// and the window do ("PSK31", "Thrb") and carries a contest exchange of any text in SRX and
// STX; ADIF 3.1.4 writes a mode and its submode by its Mode enumeration ("PSK" with "PSK31",
// "THRB") and keeps SRX and STX for whole numbers, other exchanges in SRX_STRING and
// STX_STRING. Pure.
#include <string>
#include <string_view>

namespace vav {

struct AdifMode {
  std::string mode;
  std::string submode;  // empty for a mode without one
  bool operator==(const AdifMode&) const = default;
};

// The ADIF 3.1.4 mode and submode of a mode name as MixW and the window give it (any letter
// case); a name the table does not know becomes the mode, upper-cased, with no submode.
AdifMode adif_mode(std::string_view name);

// The ADIF 3.1.4 record of a record in DXKeeper's form ("<NAME:len>value " fields, no "<"
// in a value, then "<EOR>"): MODE becomes MODE and SUBMODE, an SRX or STX that is no whole
// number becomes SRX_STRING or STX_STRING; every other field, its length and the order stay.
// A text that is not such a record comes back unchanged.
std::string adif_export(std::string_view dxlab_record);

}  // namespace vav
