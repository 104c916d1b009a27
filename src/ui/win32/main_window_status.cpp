// The Status tab's binding: two report-style list views filled from the model's rows, the
// model's buttons, and the last spot.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/win_desktop.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/main_window_binding.h"

namespace vav::ui {
namespace {

void set_columns(HWND list, const std::vector<std::string>& columns) {
  RECT client{};
  GetClientRect(list, &client);
  const int count = static_cast<int>(columns.size());
  // Shared out evenly, the last column (a state, a reason) taking two shares, less a scroll
  // bar's width so that no horizontal bar appears.
  const int share = (client.right - GetSystemMetrics(SM_CXVSCROLL)) / (count + 1);
  for (int i = 0; i < count; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(columns[static_cast<std::size_t>(i)].c_str());
    column.cx = i + 1 == count ? 2 * share : share;
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&column));
  }
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

// Each column as wide as its widest text or its caption; the last fills what is left.
void fit_columns(HWND list, const std::vector<std::string>& captions) {
  const int count = static_cast<int>(captions.size());
  const int padding = 2 * GetSystemMetrics(SM_CXEDGE) + MulDiv(12, win32::window_dpi(list), 96);
  for (int i = 0; i + 1 < count; ++i) {
    SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), LVSCW_AUTOSIZE);
    const auto content = SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0);
    const auto caption =
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                     reinterpret_cast<LPARAM>(captions[static_cast<std::size_t>(i)].c_str())) +
        padding;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), std::max(content, caption));
  }
  if (count > 0) {
    SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(count - 1),
                 LVSCW_AUTOSIZE_USEHEADER);
  }
}

std::string cell_text(HWND list, int row, int column) {
  char text[512] = {};
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = text;
  cell.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return text;
}

void set_cell(HWND list, int row, int column, const std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// Only the cells that changed are written while the rows are as many as shown (the clock of
// a neighbour's last message moves every second); otherwise the list is filled afresh.
void set_rows(HWND list, const ListRows& model) {
  const std::vector<ListRows::Row>& rows = model.rows();
  const int shown = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (shown == static_cast<int>(rows.size())) {
    for (int r = 0; r < shown; ++r) {
      const ListRows::Row& row = rows[static_cast<std::size_t>(r)];
      for (int c = 0; c < static_cast<int>(row.size()); ++c) {
        const std::string& text = row[static_cast<std::size_t>(c)];
        if (cell_text(list, r, c) != text) set_cell(list, r, c, text);
      }
    }
    return;
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const ListRows::Row& row = rows[r];
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r);
    item.pszText = const_cast<char*>(row.empty() ? "" : row[0].c_str());
    const auto at = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (std::size_t c = 1; c < row.size(); ++c) {
      set_cell(list, static_cast<int>(at), static_cast<int>(c), row[c]);
    }
  }
  fit_columns(list, model.columns());
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

void MainWindowBinding::bind_status(StatusTab& status) {
  bind_list(status.Neighbours, kNeighbours);
  bind_list(status.WaitingQsos, kWaitingQsos);
  bind_model_button(status.SendNow, kSendNow);
  bind_model_button(status.OpenErrorLog, kOpenErrorLog);
  bind_text(status.LastSpot, kLastSpot);
}

void MainWindowBinding::bind_list(ListRows& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  set_columns(hwnd, model.columns());
  watch(model, [&model, hwnd] { set_rows(hwnd, model); });
}

void MainWindowBinding::bind_model_button(Button& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  SetWindowTextA(hwnd, model.caption().c_str());
  watch(model, [&model, hwnd] {
    if ((IsWindowEnabled(hwnd) != FALSE) != model.enabled()) EnableWindow(hwnd, model.enabled());
  });
  bind_button(id, [&model] { model.click(); });
}

}  // namespace vav::ui
