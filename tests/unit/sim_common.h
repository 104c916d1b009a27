#pragma once
// Common on the simulated platform, in a folder of its own, with its error log read back
// line by line.
#include <string>
#include <vector>

#include "common/common.h"
#include "common/locale_info.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window_frame.h"
#include "unit/sim_temp_folder.h"

namespace vav::testing {

struct SimCommon {
  // The lines of ErrorLog.txt, stamps included; a last line without its CR LF is marked.
  std::vector<std::string> error_lines() {
    const std::string text = files.read_all(folder + "\\ErrorLog.txt").value_or("");
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        lines.push_back("UNTERMINATED:" + text.substr(start));
        break;
      }
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  sim::testing::TempFolder temp;
  std::string folder = temp.path().string();
  sim::SimEventLoop loop;
  sim::SimSystem system{loop, folder};
  sim::SimFiles files;
  sim::SimDesktop desktop{loop};
  sim::SimWindowFrame frame{desktop.screens()};
  LocaleInfo locale{system};
  Common common{system, files, desktop, frame, locale};
};

}  // namespace vav::testing
