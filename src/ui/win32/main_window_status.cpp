// The Status tab's binding: two report-style list views filled from the model's rows (the
// neighbours with a state icon each, the outbox with the selection both ways), the model's
// buttons, and its lines of text.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/win_desktop.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/main_window_binding.h"
#include "ui/win32/ui_metrics.h"

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
  const int padding = 2 * GetSystemMetrics(SM_CXEDGE) + MulDiv(8, win32::window_dpi(list), 96);
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

int image_of(const ListRows& model, std::size_t row) {
  const std::vector<int>& icons = model.icons();
  return row < icons.size() && icons[row] > 0 ? icons[row] - 1 : I_IMAGENONE;
}

void set_image(HWND list, int row, int image) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  if (item.iImage == image) return;
  item.iImage = image;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Only the cells that changed are written while the rows are as many as shown (the clock of
// a neighbour's last message moves every second); otherwise the list is filled afresh.
void set_rows(HWND list, const ListRows& model) {
  const std::vector<ListRows::Row>& rows = model.rows();
  const int shown = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (shown == static_cast<int>(rows.size())) {
    for (int r = 0; r < shown; ++r) {
      const ListRows::Row& row = rows[static_cast<std::size_t>(r)];
      if (!model.icons().empty()) set_image(list, r, image_of(model, static_cast<std::size_t>(r)));
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
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(r);
    item.iImage = image_of(model, r);
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

// One picture per state icon (StateIcon less one), each of a shape of its own so that the
// colour is not the only difference: connected a green disc, not running a grey ring, not
// answering a red square.
void add_state_icons(HWND list) {
  const int size = MulDiv(12, win32::window_dpi(list), kLayoutDpi);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 3, 0);
  if (!images) return;
  constexpr COLORREF kKey = RGB(255, 0, 255);
  HDC screen = GetDC(list);
  HDC dc = CreateCompatibleDC(screen);
  const int inset = std::max(1, size / 8);
  const struct {
    COLORREF colour;
    bool ring;
    bool square;
  } shapes[] = {{RGB(0, 150, 0), false, false},
                {RGB(128, 128, 128), true, false},
                {RGB(200, 0, 0), false, true}};
  for (const auto& shape : shapes) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    HBRUSH key = CreateSolidBrush(kKey);
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, key);
    DeleteObject(key);
    HPEN pen = CreatePen(PS_SOLID, std::max(1, size / 6), shape.colour);
    HBRUSH fill = shape.ring ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                             : CreateSolidBrush(shape.colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, fill);
    if (shape.square) {
      Rectangle(dc, inset, inset, size - inset, size - inset);
    } else {
      Ellipse(dc, inset, inset, size - inset, size - inset);
    }
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    if (!shape.ring) DeleteObject(fill);
    SelectObject(dc, old_bitmap);
    ImageList_AddMasked(images, bitmap, kKey);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(list, screen);
  // The list view destroys it with itself.
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

// The model's selection, shown; the focus follows it so that the arrow keys go on from there.
void show_selection(HWND list, const ListRows& model) {
  const auto shown =
      static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (shown == model.selected()) return;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (model.selected() < 0) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(model.selected()),
               reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(model.selected()), FALSE);
}

}  // namespace

void MainWindowBinding::bind_status(StatusTab& status) {
  if (HWND neighbours = window_.control(kNeighbours)) add_state_icons(neighbours);
  bind_list(status.Neighbours, kNeighbours);
  bind_text(status.LastQso, kLastQso);
  bind_list(status.WaitingQsos, kWaitingQsos);
  bind_model_button(status.SendNow, kSendNow);
  bind_model_button(status.SendAgain, kSendAgain);
  bind_model_button(status.Remove, kRemove);
  bind_model_button(status.Export, kExport);
  bind_text(status.LastSpot, kLastSpot);
  bind_text(status.Files, kFiles);
  bind_model_button(status.OpenErrorLog, kOpenErrorLog);
}

void MainWindowBinding::bind_list(ListRows& model, int id) {
  HWND hwnd = window_.control(id);
  if (!hwnd) return;
  set_columns(hwnd, model.columns());
  watch(model, [&model, hwnd] {
    set_rows(hwnd, model);
    show_selection(hwnd, model);
  });
  commands_[{id, kListSelectionChanged}] = [&model, hwnd] {
    model.select(static_cast<int>(
        SendMessageA(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
  };
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
