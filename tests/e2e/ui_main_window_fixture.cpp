#include "ui_main_window_fixture.h"

#include <cstdlib>
#include <fstream>

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

void save_bmp(HWND window, const std::filesystem::path& file) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // The window's own DC reads what the window painted, children included, whatever the
  // display has shown of it yet.
  HDC screen = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  // GDI leaves the alpha byte as it finds it; the file is an opaque picture.
  auto* pixels = static_cast<unsigned char*>(bits);
  for (std::size_t i = 3; i < static_cast<std::size_t>(width) * height * 4; i += 4) pixels[i] = 255;
  const DWORD image_size = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + image_size;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), image_size);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
}

std::filesystem::path screenshot_folder() {
  const char* folder = std::getenv("VAV_SCREENSHOTS");
  std::filesystem::path path = folder && *folder ? folder : "screenshots";
  std::filesystem::create_directories(path);
  return path;
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

void MainWindowTest::write_qso(const std::string& call) {
  peers::Contact contact = worked_station();
  contact.call = call;
  station.mixw().work_station(contact);
  station.mixw().write_qso();
  loop.run_for(101);  // MixW empties its "Command" item before the next write
}

void MainWindowTest::fill_outbox() {
  auto& dxkeeper = station.dxkeeper();
  dxkeeper.refuse_executes();
  write_qso("K1SET");
  for (int pass = 0; pass < 3; ++pass) loop.run_for(7000);
  dxkeeper.answer();
  write_qso("K2LOG");
  dxkeeper.stop();
  write_qso("K3WAIT");
  write_qso("K4WAIT");
  settle();
}

}  // namespace vav::ui::testing
