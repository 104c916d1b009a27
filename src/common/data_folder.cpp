#include "common/data_folder.h"

#include "errors/error_trap.h"

namespace vav {

std::string choose_data_folder(System& system, Files& files) {
  const std::string program =
      passing_over_errors(std::string(), [&] { return system.program_folder(); });
  if (files.can_create_in(program)) return program;
  return passing_over_errors(program, [&] {
    const std::string user = system.user_data_folder();
    files.create_folder(user);
    return files.can_create_in(user) ? user : program;
  });
}

}  // namespace vav
