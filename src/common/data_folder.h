#pragma once
// Where the program keeps the files it writes as it runs: the waiting QSOs, its ADIF log,
// the error and debug logs. Beside the program when its folder can be written; otherwise
// (MixW installed under "Program Files", a read-only share) in the user's own folder for the
// program, made when needed. The settings file stays beside the program either way.
#include <string>

#include "platform/files.h"
#include "platform/system.h"

namespace vav {

// The program's folder when a file can be made there, else the per-user folder (created);
// the program's folder again when neither can be used.
std::string choose_data_folder(System& system, Files& files);

}  // namespace vav
