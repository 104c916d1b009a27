#include "ui_main_window_fixture.h"

#include "ui/win32/program.h"

namespace vav::ui::testing {

peers::Contact worked_station() {
  peers::Contact c;
  c.call = "JA1ABC";
  c.rst_sent = "599";
  c.rst_rcvd = "579";
  c.name = "Taro";
  c.qth = "Tokyo";
  c.domain = "13";
  c.county = "Chiyoda";
  c.country = "Japan";
  c.dxcc_prefix = "JA";
  c.manager = "JA1XYZ";
  c.notes = "Nice signal";
  c.loc = "PM95";
  c.iota = "AS-007";
  c.waz = "25";
  c.itu = "45";
  c.continent = "AS";
  c.exch_sent = "001";
  c.exch_rcv = "123";
  c.date = "27-Nov-2005";
  c.time = "04:44";
  c.end_time = "04:48";
  return c;
}

MainWindowTest::MainWindowTest()
    : system(loop, folder.path().string()), platform{loop,  dde,    automation, profile, store,
                                                     files, system, desktop,    frame} {
  init_common_controls();
}

MainWindowTest::~MainWindowTest() {
  binding.reset();
  app.reset();
}

void MainWindowTest::start(const std::vector<std::string>& settings_lines) {
  std::string text = "[Settings]\r\n";
  for (const auto& line : settings_lines) text += line + "\r\n";
  files.write_new(folder.windows_path("Vavizorur.ini"), text);
  station.mixw().start();
  station.mixw().work_station(worked_station());
  app = std::make_unique<QuandrelMain>(platform);
  binding = std::make_unique<MainWindowBinding>(window, *app);
  ASSERT_TRUE(app->Form_Load());
  loop.run_for(1000);
  window.show();
  SetForegroundWindow(window.hwnd());
  settle();
}

void MainWindowTest::settle() {
  loop.pump();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (window.pre_translate(msg)) continue;  // as the program's event loop does
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  RedrawWindow(window.hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

std::string MainWindowTest::text_of(int id) const {
  char buffer[512] = {};
  GetWindowTextA(window.control(id), buffer, sizeof buffer);
  return buffer;
}

std::string MainWindowTest::setting(const std::string& key) {
  return profile.read_string(folder.windows_path("Vavizorur.ini"), "Settings", key);
}

}  // namespace vav::ui::testing
