// The Status tab with an outbox in each state: pictures of it at the screen's resolution
// (status-outbox*.bmp, status-delivered*.bmp in $VAV_SCREENSHOTS), the state icons of the
// neighbours, and every line readable where it stands.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

#include "ui/win32/control_ids.h"
#include "ui_main_window_fixture.h"

namespace vav::ui::testing {
namespace {

std::string resolution_suffix(int dpi) {
  return dpi == kLayoutDpi ? "" : "-" + std::to_string(dpi) + "dpi";
}

int image_of_row(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

TEST_F(MainWindowTest, StatusTabScreenshotsOfTheOutbox) {
  station.dxkeeper().start();
  start({"ConnectDXKeeper=True", "ConnectCommander=True", "FrequencyControl=Commander"});
  fill_outbox();
  window.select_tab(2);
  settle();
  HWND waiting = window.control(kWaitingQsos);
  EXPECT_EQ(SendMessageA(waiting, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(text_of(kLastQso).rfind("K4WAIT ", 0), 0u) << text_of(kLastQso);
  // MixW connected, Commander not running, DXKeeper gone: three icons of their own.
  HWND neighbours = window.control(kNeighbours);
  EXPECT_EQ(image_of_row(neighbours, 0), 0);
  EXPECT_EQ(image_of_row(neighbours, 1), 1);
  EXPECT_NE(SendMessageA(neighbours, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
  const auto pictures = screenshot_folder();
  const std::string suffix = resolution_suffix(window.dpi());
  save_bmp(window.hwnd(), pictures / ("status-outbox" + suffix + ".bmp"));

  station.dxkeeper().start();
  loop.run_for(7100);
  settle();
  EXPECT_EQ(SendMessageA(waiting, LVM_GETITEMCOUNT, 0, 0), 1) << "the set-aside one stays";
  EXPECT_NE(text_of(kLastQso).find("logged in DXKeeper"), std::string::npos) << text_of(kLastQso);
  EXPECT_EQ(image_of_row(neighbours, 2), 0);
  save_bmp(window.hwnd(), pictures / ("status-delivered" + suffix + ".bmp"));
  EXPECT_GT(std::filesystem::file_size(pictures / ("status-delivered" + suffix + ".bmp")), 1000u);
}

}  // namespace
}  // namespace vav::ui::testing
